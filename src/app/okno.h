// _OKNO_, the main window of the program.
//
// It owns everything of the user interface: the view switches, the colour
// tables, the file-dialog descriptions, the field records of the forms and
// the handles of the table windows.  Every menu command, the painting and
// the analysis are its operations; they work on the model store it was
// given and talk to the user only through the Platform.
//
// The operations are defined next to their subsystem (src/edit/wezly.cpp
// defines Cm_d_wez, src/analysis/obliczenia.cpp defines Obliczenia, ...).
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "analysis/rzadki.h"
#include "app/historia.h"
#include "app/odzysk.h"
#include "app/platform.h"
#include "app/rekordy.h"
#include "io/import_siatki.h"
#include "model/model.h"
#include "view/canvas.h"

inline constexpr const char* kTytulPusty = "VELDO SKORBA N - Beznazwy.SKD";
inline constexpr const char* kTytulPrefiks = "VELDO SKORBA N - ";
inline constexpr const char* kTytulAplikacji = "VELDO SKORBA NIELINIOWA";
inline constexpr const char* kUstawienieMetody = "metoda_rozwiazania";

class _OKNO_ {
 public:
  _OKNO_(Model& model, Platform& platform);
  ~_OKNO_();
  _OKNO_(const _OKNO_&) = delete;
  _OKNO_& operator=(const _OKNO_&) = delete;

  Model& M;
  Platform& P;

  // --- members in the order of the window's declaration ----------------------
  int dd = 0;  // handle of the data table window (valid while id = 1)
  int oo = 0;  // handle of the results table window (valid while iw = 1)
  Kolor knapr[201];
  Kolor knapp[201];
  int p_napr = 0;
  int p_n_mat = 0;
  int p_n_pola = 0;
  int p_podp = 1;
  int p_sily = 1;
  int p_sily_nr = 1;
  int p_siatka = 1;
  int p_wez = 1;
  int p_n_wezl = 1;
  int p_n_ele = 0;
  float maxx = 0.0f;
  OpisPliku _plik_;
  OpisPliku _pliktxt_;
  d_dane_graf daneg;
  d_dane_pods dane;
  d_dane_przek danep;
  d_mat danemat;
  d_nr danenr;
  d_sily danes;
  d_wymusz danewy;
  d_wsp danew;
  d_dane_obl dane_obl;

  // --- program state -----------------------------------------------------------
  int a_licz = 0;  // automatic recalculation after edits
  // The solution method of the analysis ("Metoda rozwiązania" of the
  // settings form), kept between sessions under kUstawienieMetody.
  MetodaRozwiazania metoda = MetodaRozwiazania::Automatyczna;
  int id = 0;      // data table window open
  int iw = 0;      // results table window open
  int nrma = 1;    // material of the characteristic plot

  // --- display state (Parts of the drawing) -------------------------------------
  int p_rn = 4;        // stress component of the map: 1 sx, 2 sy, 3 txy, 4 Huber
  int iizol = 200;     // number of stress levels
  int p_skok = 1;      // colour table variant
  int SHOWGRAPH = 0;   // 1 = material plot instead of the model
  int SHOWPLAST = 0;
  int x0 = 0;          // view transform left by the last paint
  int hmax = 0;
  float ax = 0.0f, aa = 0.0f;
  float sx = 1.0f, sa = 1.0f;
  float asp_r = 1.0f;
  float spl = 1.0f, stpp = 0.0f;

  // --- rubber band of the group selection ---------------------------------------
  int w_grup = 0;
  int pgx = 0, pgy = 0, pgxx = 0, pgyy = 0;
  // The pointer's last position over the view (none before it first moves).
  bool mysz = false;
  int mysz_x = 0, mysz_y = 0;
  // The pixels under the band's outline (position and colour), written back
  // to erase it; as long as the outline's part inside the picture.
  std::vector<std::pair<Punkt, Kolor>> tkre;

  // --- the after-change path, unsaved changes, undo and redo --------------------------
  // (src/app/zmiany.cpp)
  //
  // The history holds the store's project-file image after every step; its
  // present state is the image of the store as the last command left it.
  // The model has unsaved changes exactly when that image differs from the
  // one last opened or saved, i.e. when a save would write other bytes.

  // The table windows a change closes: all of them, or only the results.
  enum class Tabele { Wszystkie, Wyniki };
  // What varies between the changes of the model.
  struct Zmiana {
    const char* nazwa = nullptr;        // the undo step ("Usuń węzeł"); nullptr: no step
    Tabele tabele = Tabele::Wszystkie;  // the table windows closed
    bool przelicz = false;              // the analysis runs when automatic recalculation is on
    bool bez_grupy = false;             // the group selection is dropped
  };
  // Ends every command that changed the model: closes the table windows,
  // drops the group when asked, clears the results, records the undo step
  // (none when the model came out the same), keeps the recovery file, runs
  // the analysis when asked and automatic recalculation is on, and repaints.
  void PoZmianie(const Zmiana& z);
  // The present store starts a new history with nothing to undo.  With
  // `zapisany` it counts as saved (opened, new, a finished wizard); without,
  // it has unsaved changes until it is saved (a restored recovery file).
  void NowaHistoria(bool zapisany);
  // Whether a save would write other bytes than were last opened or saved.
  bool Zmieniony() const;
  // Whether the model may be replaced: asks `pytanie` (the command's own
  // question, when a model exists and it is not nullptr), then, while there
  // are unsaved changes, "Zapisać zmiany w projekcie?": "Tak" saves (to the
  // model's file, or through the save dialog when it has none) and goes on
  // only when the save succeeded, "Nie" goes on, "Anuluj" stops.
  bool MoznaPorzucic(const char* pytanie);
  // "&Cofnij" and "&Ponów": the model of the step before or after.
  void Cm_Cofnij();
  void Cm_Ponow();
  // The store's project-file image (nullptr without a model).
  ObrazModelu Obraz() const;
  // `dane` was written to the model's file: it is the present state and the
  // saved one.
  void ZapamietajZapis(const ObrazModelu& dane);
  // The store changed in the project file without an undo step of its own
  // (the report's recount of the forces).
  void ZmianaBezKroku();

  Historia historia;
  // The image last opened or saved (none after a restored recovery file).
  std::optional<ObrazModelu> zapisany;
  // The file the model was opened from or last saved to; "" for none.
  std::string plik_projektu;

  // --- the recovery file (src/app/zmiany.cpp) ------------------------------------------
  // While the model has unsaved changes, it is written to the recovery file
  // at most every kOdstepOdzysku after a change; the file goes as soon as
  // nothing is unsaved, and with the window.
  static constexpr int kOdstepOdzysku = 30000;  // milliseconds
  // Keeps a recovery file in `katalog` from now on; false when the folder
  // cannot be used (the program then works without one).
  bool WlaczOdzysk(const std::string& katalog);
  // Offers the recovery files left by programs that no longer run, newest
  // first: "Znaleziono niezapisany projekt z <data i godzina>. Przywrócić?".
  // "Tak" restores the model, with unsaved changes and without a file;
  // "Nie" deletes the file and goes on to the next.
  void ZaproponujOdzysk();
  // The timer asked for through Platform::UstawZegar has run out.
  void EvTimer();
  std::unique_ptr<PlikOdzysku> odzysk;
  bool zegar_odzysku = false;  // a timer is pending

  // --- model store: creation and release ----------------------------------------
  void Cm_Nowy();
  void Zwol_pam();
  // Destroys the open table windows (results first), leaving id/iw as they are.
  // Defined with the tables (src/view/tabele.cpp).
  void ZamknijTabele();

  // --- project file and report ---------------------------------------------------
  void Cm_Otworz();
  void Cm_Zapisz();
  void Cm_zap_wyn();
  // Opens the project file at `sciezka` as "&Otwórz" opens the file chosen
  // in its dialog: the same questions first, then the same checks and
  // messages (the command line, the recent files).  A Gmsh mesh or
  // geometry is imported instead.
  void OtworzPlikProjektu(const std::string& sciezka);
  // Reads the project file at `sciezka` with the checks and messages of
  // "&Otwórz"; the present model is replaced only once the file has been
  // read and accepted.  True when it was.
  bool Wczytaj(const std::string& sciezka);
  // Writes the model to `sciezka`; a failure is reported.  True when written.
  bool ZapiszDo(const std::string& sciezka);

  // --- the files opened or saved last, listed in "&Plik" ----------------------------
  static constexpr int kOstatnich = 4;
  // Full paths, the newest first; kept between sessions in the platform's
  // settings "ostatnie/1" .. "ostatnie/4".
  std::vector<std::string> ostatnie;
  // The n-th of them (1-based): opened, or, when it no longer exists, said
  // so and dropped from the list.
  void OtworzOstatni(int n);
  template <int N>
  void Cm_ostatni() { OtworzOstatni(N); }
  // Puts a file just opened or saved at the top of the list.
  void ZapamietajOstatni(const std::string& sciezka);
  // Reads the list from the settings (another program may have changed it).
  void CzytajOstatnie();

  // --- mesh import ---------------------------------------------------------------------
  void Cm_Importuj();
  void Cm_grupa_siatki();
  // Whether a path names a Gmsh mesh or geometry (by its extension).
  static bool JestSiatka(const std::string& sciezka);
  // Imports the mesh at `sciezka` with the questions of "Importuj siatkę…"
  // (a mesh given on the command line).
  void ImportujPlik(const std::string& sciezka);
  // Reads, checks and imports the mesh at `plik` (meshing a geometry with
  // gmsh first); a refused file is reported and changes nothing.
  void Importuj(const std::string& plik);
  OpisPliku _siatka_;                     // file dialog of the import (filter set when it opens)
  std::vector<GrupaSiatki> grupy_siatki;  // physical groups of the last import, for the session
  double limit_gmsh_s = 120;              // seconds gmsh may take to mesh a geometry file

  // --- exports: ParaView file, pictures ---------------------------------------------
  OpisPliku _plikvtu_;
  OpisPliku _plikrys_;
  d_rysunek dane_rys;
  void Cm_eksport_vtu();
  void Cm_zapisz_rysunek();
  void Cm_kopiuj_rysunek();

  // --- shell ------------------------------------------------------------------------
  void Cm_zamknij();
  void Cm_Koniec();
  bool CanClose();
  void Cm_POMOC();
  void Cm_opro();
  void Cm_Napr1();
  void Cm_Napr2();
  void Cm_Napr3();
  void Cm_Napr4();
  void Cm_siatka();
  void Cm_n_pola();
  void Cm_n_ele();
  void Cm_n_mat();
  void Cm_p_wez();
  void Cm_n_wez();
  void Cm_Podp();
  void Cm_Sily();
  void EvSize();

  // --- analysis -----------------------------------------------------------------------
  void Cm_ODSWIEZ();
  void Obliczenia();
  // The convergence log of the analysis: "DR.txt" in the current folder.
  std::string plik_dr = "DR.txt";
  // How the last analysis went (read by the batch tool's summary).
  struct Przebieg {
    enum Koniec { NieRozpoczeta, Anulowana, BrakPlastycznych, Zbiezna, LimitKrokow, Blad, Przerwana };
    Koniec koniec = NieRozpoczeta;
    int kroki = 0;               // steps started
    double dumax = 0.0;          // change of the last step in percent
    int formularze = 0;          // times the form "Dane obliczeń" was shown
    bool log_zapisany = false;   // the convergence log was written
    MetodaRozwiazania metoda = MetodaRozwiazania::Automatyczna;  // the path taken (band or sparse)
  } przebieg;

  // --- materials -----------------------------------------------------------------------
  void Cm_d_mat();
  void Cm_z_mat();
  void Cm_u_mat();
  void Cm_CHARAK();

  // --- nodes, elements, supports, forces, thickness ----------------------------------
  void Cm_d_wez();
  void Cm_z_wez();
  void Cm_u_wez();
  void Cm_d_ele();
  void Cm_z_pret();
  void Cm_u_ele();
  void Cm_d_podp();
  void Cm_z_podp();
  void Cm_u_podp();
  void Cm_d_sile();
  void Cm_z_sily();
  void Cm_u_sile();
  void Cm_z_grubosc();

  // --- mesh generation ------------------------------------------------------------------
  void Cm_prost();
  void Cm_kreator();

  // --- group selection -------------------------------------------------------------------
  void EvLButtonDown(int x, int y);
  void EvMouseMove(int x, int y);
  void EvLButtonUp(int x, int y);
  // Writes the readout of the coordinates window again for the pointer's
  // last position, from the model and the results as they are now (no
  // stress once the results are gone).  Called after every command.
  void OdswiezWspolrzedne();
  void zw_grp();
  void Cm_Grupa_prz();
  void Cm_Grupa_kop_prz();
  void Cm_Grupa_doom();
  void Cm_G_PODP();
  void Cm_G_SILA();

  // --- drawing ------------------------------------------------------------------------------
  void Paint(Canvas& dc);
  void Pasek_kol();
  void Cm_u_graf();
  float sciezx(int i) const;
  float sciezy(int i) const;

  // --- tables -------------------------------------------------------------------------------
  void Cm_Dane();
  void Cm_Wyniki();
  // Destroys the open results windows only (as ZamknijTabele does for both).
  void ZamknijWyniki();
  // Handles of every table window opened by Cm_Dane / Cm_Wyniki and not yet
  // destroyed by the program (dd and oo hold only the newest of each kind).
  std::vector<int> okna_danych, okna_wynikow;

  // Asks for an item number with the number-entry form "Wprowadź numer"
  // (preset "0" and the prompt); returns the number read from the field.
  int PodajNumer(const char* zacheta);
};
