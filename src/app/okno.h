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

#include <string>
#include <utility>
#include <vector>

#include "analysis/rzadki.h"
#include "app/platform.h"
#include "app/rekordy.h"
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
  // The pixels under the band's outline (position and colour), written back
  // to erase it; as long as the outline's part inside the picture.
  std::vector<std::pair<Punkt, Kolor>> tkre;

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
    enum Koniec { NieRozpoczeta, Anulowana, BrakPlastycznych, Zbiezna, LimitKrokow, Blad };
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
