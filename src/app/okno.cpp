// The main window: construction with the program-wide defaults, release of
// the model, the shell commands and the view switches.
#include "app/okno.h"

#include "app/liczby.h"
#include "wersja.h"

namespace {
constexpr const char* kGlowny = "VELDO SKORBA N";

OpisPliku opis_pliku(const char* filtr, const char* rozszerzenie, bool musi_istniec) {
  OpisPliku o;
  o.filtr = filtr;
  o.rozszerzenie = rozszerzenie;
  o.musi_istniec = musi_istniec;
  return o;
}
}  // namespace

_OKNO_::_OKNO_(Model& model, Platform& platform) : M(model), P(platform) {
  M.obliczono = 0;
  M.j_grupa = 0;
  M.maxpr = 0;
  M.Pusty = 1;
  // The file dialogs: filter, extension given to a typed name, whether the file must exist.
  _plik_ = opis_pliku("Pliki SKORBA N (*.SKD)|*.SKD|", "SKD", true);
  _pliktxt_ = opis_pliku("Pliki wyników SKORBA N (*.txt)|*.txt|", "txt", true);
  _siatka_ = opis_pliku("Siatki Gmsh (*.msh)|*.msh|", "msh", true);
  _plikvtu_ = opis_pliku("Pliki ParaView (*.vtu)|*.vtu|", "vtu", false);
  _plikrys_ = opis_pliku("Rysunek PNG (*.png)|*.png|Rysunek SVG (*.svg)|*.svg|", "png", false);
  P.UstawWspolrzedne("x=0,       y=0");
  metoda = metoda_z_nazwy(P.Ustawienie(kUstawienieMetody).c_str());
  Pasek_kol();
  NowaHistoria(true);
  CzytajOstatnie();
}

_OKNO_::~_OKNO_() {
  if (M.Pusty == 0) Zwol_pam();
  ZamknijTabele();
  id = iw = 0;
}

void _OKNO_::Zwol_pam() {
  if (M.Pusty != 0) {
    P.MessageBox("Program nie zwolnił pamięci!!", "UWAGA", Ikona::Blad, Przyciski::TakNie);
    P.Odswiez();
    return;
  }
  ZamknijTabele();
  id = iw = 0;
  M.obliczono = 0;
  M.Pusty = 1;
  P.UstawTytul(kTytulPusty);
  zwolnij_tablice(M);
  // Nothing is left to undo or to save.
  plik_projektu.clear();
  NowaHistoria(true);
  P.Odswiez();
}

void _OKNO_::Cm_Nowy() {
  if (!MoznaPorzucic("Utworzyć nowe dane ?")) return;
  if (M.Pusty == 0) Zwol_pam();
  przydziel_robocze(M);
  M.ne = M.nq = M.nn = M.nd = M.nm = 0;
  M.th = 1.0f;
  M.Pusty = 0;
  NowaHistoria(true);
}

void _OKNO_::Cm_zamknij() {
  if (M.Pusty == 0 && MoznaPorzucic("Zamykając projekt utracisz dane.\n\nCzy jesteś pewien ?")) Zwol_pam();
  P.Odswiez();
}

void _OKNO_::Cm_Koniec() { P.Zamknij(); }

bool _OKNO_::CanClose() {
  if (P.MessageBox("Zakończyć działanie programu ?", kGlowny, Ikona::Pytanie, Przyciski::TakNie) != IDYES)
    return false;
  return MoznaPorzucic(nullptr);
}

void _OKNO_::Cm_POMOC() { P.OtworzDokument("skorban.chm"); }

void _OKNO_::Cm_opro() {
  P.MessageBox(
      "VELDO Skorba nieliniowa\n"
      "Wersja " SKORBA_WERSJA "\n\n"
      "Program metody elementów skończonych do obliczania tarcz\n"
      "z uwzględnieniem nieliniowości materiałowej.\n\n"
      "Opracowanie: zespół programu SKORBA N",
      "O programie", Ikona::Program, Przyciski::OK);
}

namespace {
void przelacz(int& flaga) { flaga = flaga == 1 ? 0 : 1; }
}  // namespace

void _OKNO_::Cm_Napr1() {
  p_napr = (p_napr == 1 && p_rn == 1) ? 0 : 1;
  p_rn = 1;
  P.Odswiez();
}
void _OKNO_::Cm_Napr2() {
  p_napr = (p_napr == 1 && p_rn == 2) ? 0 : 1;
  p_rn = 2;
  P.Odswiez();
}
void _OKNO_::Cm_Napr3() {
  p_napr = (p_napr == 1 && p_rn == 3) ? 0 : 1;
  p_rn = 3;
  P.Odswiez();
}
void _OKNO_::Cm_Napr4() {
  p_napr = (p_napr == 1 && p_rn == 4) ? 0 : 1;
  p_rn = 4;
  P.Odswiez();
}

void _OKNO_::Cm_Podp() {
  przelacz(p_podp);
  P.Odswiez();
}
void _OKNO_::Cm_Sily() {
  przelacz(p_sily);
  P.Odswiez();
}
void _OKNO_::Cm_siatka() {
  przelacz(p_siatka);
  P.Odswiez();
}
void _OKNO_::Cm_n_wez() {
  przelacz(p_n_wezl);
  P.Odswiez();
}
void _OKNO_::Cm_p_wez() {
  przelacz(p_wez);
  P.Odswiez();
}

// Element numbers, material numbers and the deformed shape exclude each other.
void _OKNO_::Cm_n_ele() {
  if (p_n_ele == 1) {
    p_n_ele = 0;
  } else {
    p_n_ele = 1;
    p_n_mat = p_n_pola = 0;
  }
  P.Odswiez();
}
void _OKNO_::Cm_n_mat() {
  if (p_n_mat == 1) {
    p_n_mat = 0;
  } else {
    p_n_mat = 1;
    p_n_ele = p_n_pola = 0;
  }
  P.Odswiez();
}
void _OKNO_::Cm_n_pola() {
  if (p_n_pola == 1) {
    p_n_pola = 0;
  } else {
    p_n_pola = 1;
    p_n_ele = p_n_mat = 0;
  }
  P.Odswiez();
}

void _OKNO_::EvSize() { P.Odswiez(); }

int _OKNO_::PodajNumer(const char* zacheta) {
  ustaw(danenr.i, "0");
  ustaw(danenr.nap, "%s", zacheta);
  ::Formularz f;
  f.zasob = 3100;
  f.tytul = "Wprowadź numer";
  f.ma_anuluj = false;
  f.napis(8700, "Numer", &danenr.nap, true);
  f.edycja(8004, "", "i", &danenr.i, -1, true, false, true);
  P.Formularz(f);  // the result is never examined: Escape leaves "0"
  return atoi_pola(danenr.i.t);
}
