// Adding, changing and deleting materials, and picking the material whose
// stress-strain curve is plotted.
#include "analysis/materialy.h"

#include <algorithm>

#include "app/formy.h"
#include "app/liczby.h"
#include "app/okno.h"
#include "model/przebuduj.h"

using formy::blad;

namespace {
constexpr const char* kMaterial = "Podaj numer materiału :";
constexpr const char* kUsuwanie = "Usuwanie materiałów";
// Every interval of a new material is proposed with these.
constexpr double kModul = 200000.0;
constexpr float kGranica = 300.0f;
}  // namespace

::Formularz uklad_D_DANE_Y_P(d_dane_Y_P& r) {
  ::Formularz f;
  f.zasob = 3190;
  f.tytul = "Zmiana m. Younga w f. naprężeń";
  f.szer = 128;
  f.wys = 122;
  f.napis(-1,
          "Liczba przedziałów jest liczbą różnych wartości modułu Younga dla różnych granicznych wartości "
          "naprężeń średnich w elemencie");
  const int g1 = f.ramka("");
  f.edycja(8500, "Numer materiału", "nr", &r.nr, g1, false, true);
  f.edycja(8501, "Liczba przedziałów", "lpr", &r.lpr, g1, true);
  const int g2 = f.ramka("");
  f.edycja(8502, "Wsp. Poissona", "pois", &r.pois, g2);
  return f;
}

::Formularz uklad_D_DANE_Y(d_dane_Y& r) {
  ::Formularz f;
  f.zasob = 3180;
  f.tytul = "Zmiana modułu Younga w funkcji naprężenia";
  f.szer = 178;
  f.wys = 118;
  const int g1 = f.ramka("");
  f.edycja(8500, "Numer materiału", "nr", &r.nr, g1, false, true);
  f.edycja(8501, "Numer przedziału", "nrp", &r.nrp, g1, false, true);
  f.edycja(8502, "Liczba przedziałów", "lpr", &r.lpr, g1, false, true);
  const int g2 = f.ramka("");
  f.edycja(8503, "Moduł Younga E", "e", &r.e, g2);
  f.edycja(8507, "Wartość maksymalna naprężenia", "sim", &r.sim, g2);
  return f;
}

::Formularz uklad_D_DANE_MAT(d_mat& r) {
  ::Formularz f;
  f.zasob = 3050;
  f.tytul = "Dane materiału";
  f.szer = 109;
  f.wys = 73;
  f.edycja(8004, "Materiał", "i", &r.i, -1, true, true);
  f.edycja(8501, "Wsp. Poissona", "pois", &r.pois);
  return f;
}

bool sprawdz_material(Platform& P, const d_dane_Y_P& r, int& przedzialy, float& pois) {
  przedzialy = atoi_pola(r.lpr.t);
  pois = static_cast<float>(atof_pola(r.pois.t));
  if (przedzialy < 1) blad(P, "Liczba przedziałów musi być większa lub równa 1");
  if (przedzialy > kMaksPrzedzialow)
    blad(P, formy::tekst("Liczba przedziałów nie może być większa od %d", kMaksPrzedzialow));
  if (pois < 0) blad(P, "Współczynnik Poissona <0");
  return przedzialy >= 1 && przedzialy <= kMaksPrzedzialow && pois > 0;
}

bool sprawdz_przedzial(Platform& P, const d_dane_Y& r, float& e, float& sim) {
  // Compared as they will be stored: a tiny positive text may round to 0.
  e = static_cast<float>(atof_pola(r.e.t));
  sim = static_cast<float>(atof_pola(r.sim.t));
  if (e <= 0) blad(P, "Modul Younga musi być większy od zera");
  if (sim <= 0) blad(P, "Naprężenie graniczne musi być większe od zera");
  return e > 0 && sim > 0;
}

void _OKNO_::Cm_d_mat() {
  if (M.Pusty || M.nm >= kMaksMaterialow) return;
  const int maxpr = M.maxpr;
  d_dane_Y_P r;
  int lp = 0;
  float pois = 0;
  for (;;) {
    ustaw(r.nr, "%d", M.nm + 1);
    ustaw(r.lpr, "2");
    ustaw(r.pois, "%2.5f", 0.3);
    ::Formularz f = uklad_D_DANE_Y_P(r);
    if (P.Formularz(f) != IDOK) return;
    if (sprawdz_material(P, r, lp, pois)) break;
  }

  zmien_szerokosc_materialow(M, std::max(M.maxpr, lp));
  const int n = dodaj_materialy(M, 1);
  M.Prz[n] = lp;
  M.pm[n][2] = pois;
  // Until its forms are answered the new material holds the proposed
  // curve, so that nothing drawn meanwhile meets a zero modulus.
  for (int j = 1; j <= lp; ++j) {
    M.Ez[n][j] = static_cast<float>(kModul);
    M.Sprz[n][j] = kGranica;
  }

  d_dane_Y y;
  for (int j = 1; j <= lp; ++j) {
    ustaw(y.nr, "%d", n);
    ustaw(y.nrp, "%d", j);
    ustaw(y.lpr, "%d", lp);
    ustaw(y.e, "%6.1f", kModul);
    ustaw(y.sim, "300");
    for (;;) {  // shown again with the texts as entered
      ::Formularz f = uklad_D_DANE_Y(y);
      const int w = P.Formularz(f);
      float e, sim;
      const bool dobry = sprawdz_przedzial(P, y, e, sim);  // checked whatever the button
      if (w != IDOK) {
        // The material is taken away again, and the interval tables get
        // back their width: the model is as it was.
        usun_materialy(M, maska(M.nm, {n}));
        zmien_szerokosc_materialow(M, maxpr);
        return;
      }
      if (dobry) {
        M.Ez[n][j] = e;
        M.Sprz[n][j] = sim;
        break;
      }
    }
  }
  // The nominal modulus (kept in the project file) is the initial one.
  M.pm[n][1] = M.Ez[n][1];
  PoZmianie({.nazwa = "Dodaj materiał", .przelicz = true});
}

void _OKNO_::Cm_z_mat() {
  if (M.Pusty || M.nm < 1) return;
  const int n = PodajNumer(kMaterial);
  if (n < 1 || n > M.nm) return;
  d_dane_Y_P r;
  int lp = 0;
  float pois = 0;
  for (;;) {
    ustaw(r.nr, "%d", n);
    ustaw(r.lpr, "%d", M.Prz[n]);
    ustaw_wartosc(r.pois, "%5.3f", static_cast<double>(M.pm[n][2]));
    ::Formularz f = uklad_D_DANE_Y_P(r);
    if (P.Formularz(f) != IDOK) return;
    if (sprawdz_material(P, r, lp, pois)) break;
  }

  M.Prz[n] = lp;
  zmien_szerokosc_materialow(M, najwiecej_przedzialow(M));
  M.pm[n][2] = pois;

  // Every interval must be given: "Anuluj" shows the form again.
  d_dane_Y y;
  for (int j = 1; j <= lp; ++j) {
    ustaw(y.nr, "%d", n);
    ustaw(y.nrp, "%d", j);
    ustaw(y.lpr, "%d", lp);
    ustaw_wartosc(y.e, "%8.1f", static_cast<double>(M.Ez[n][j]));
    ustaw_wartosc(y.sim, "%4.1f", static_cast<double>(M.Sprz[n][j]));
    for (;;) {
      ::Formularz f = uklad_D_DANE_Y(y);
      const int w = P.Formularz(f);
      float e, sim;
      const bool dobry = sprawdz_przedzial(P, y, e, sim);
      if (w == IDOK && dobry) {
        M.Ez[n][j] = e;
        M.Sprz[n][j] = sim;
        break;
      }
    }
  }
  PoZmianie({.nazwa = "Zmień materiał", .przelicz = true});
}

void _OKNO_::Cm_u_mat() {
  if (M.Pusty || M.nm < 1) return;
  const int n = PodajNumer(kMaterial);
  for (int e = 1; e <= M.ne; ++e)
    if (M.mat[e] == n) {
      blad(P, "Materiał jest używany przez element !", kUsuwanie);
      return;
    }
  if (n < 1 || n > M.nm) return;
  if (!formy::pytanie(P, formy::tekst("Usunąć materiał %d ?", n), kUsuwanie)) return;

  usun_materialy(M, maska(M.nm, {n}));
  // The plot follows its material; a plot of the deleted one is closed.
  if (nrma == n) {
    SHOWGRAPH = 0;
    nrma = 1;
  } else if (nrma > n) {
    --nrma;
  }
  PoZmianie({.nazwa = "Usuń materiał", .przelicz = true, .bez_grupy = true});
}

void _OKNO_::Cm_CHARAK() {
  if (SHOWGRAPH == 1) {
    SHOWGRAPH = 0;
    P.Odswiez();
    return;
  }
  if (M.Pusty) return;
  const int n = PodajNumer(kMaterial);
  if (n < 1 || n > M.nm) return;
  nrma = n;
  SHOWGRAPH = 1;
  P.Odswiez();
}
