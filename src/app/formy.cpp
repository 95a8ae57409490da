#include "app/formy.h"

#include <cstdarg>
#include <cmath>
#include <cstdio>
#include <string>

#include "app/liczby.h"

std::string formy::tekst(const char* fmt, ...) {
  char buf[256];
  va_list ap;
  va_start(ap, fmt);
  std::vsnprintf(buf, sizeof buf, fmt, ap);
  va_end(ap);
  return buf;
}

namespace {

// "2.1e+11" -> "2.1e11", "1e-05" -> "1e-5".
std::string krotki_wykladnik(std::string t) {
  const auto e = t.find('e');
  if (e == std::string::npos) return t;
  std::string wyk = t.substr(e + 1);
  const bool minus = !wyk.empty() && wyk[0] == '-';
  if (!wyk.empty() && (wyk[0] == '+' || wyk[0] == '-')) wyk.erase(0, 1);
  while (wyk.size() > 1 && wyk[0] == '0') wyk.erase(0, 1);
  return t.substr(0, e) + "e" + (minus ? "-" : "") + wyk;
}

bool blisko(const std::string& t, double v) {
  return std::fabs(atof_pola(t.c_str()) - v) <= 0.01 * std::fabs(v);
}

// A text of at most 7 characters for v: the most precise "%g" form that
// fits ("0.0001", "2.1e11", "-1e-5"), or, when that is more than 1 % off,
// the closest of all forms, a whole-number mantissa included ("-25e-31").
std::string zwiezle(double v) {
  char buf[64];
  std::string pierwszy;
  for (int p = 7; p >= 1 && pierwszy.empty(); --p) {
    std::snprintf(buf, sizeof buf, "%.*g", p, v);
    const std::string t = krotki_wykladnik(buf);
    if (t.size() <= 7) pierwszy = t;
  }
  if (blisko(pierwszy, v) || v == 0) return pierwszy;
  std::string najlepszy = pierwszy;
  double blad = std::fabs(atof_pola(pierwszy.c_str()) - v);
  const int w = static_cast<int>(std::floor(std::log10(std::fabs(v))));
  for (int cyfry = 1; cyfry <= 6; ++cyfry) {
    const int k = w - cyfry + 1;
    std::snprintf(buf, sizeof buf, "%.0fe%d", v / std::pow(10.0, k), k);
    const std::string t = buf;
    const double b = std::fabs(atof_pola(t.c_str()) - v);
    if (t.size() <= 7 && b < blad) {
      najlepszy = t;
      blad = b;
    }
  }
  return najlepszy;
}

}  // namespace

void ustaw_wartosc(Pole& p, const char* fmt, double v) {
  char buf[512];
  std::snprintf(buf, sizeof buf, fmt, v);
  const std::string odczyt = odczyt_pola(buf, 7);
  const bool zle = v != 0 ? !blisko(odczyt, v) : atof_pola(odczyt.c_str()) != 0;
  ustaw(p, "%s", zle ? zwiezle(v).c_str() : buf);
}

::Formularz uklad_D_DANE_WYM(d_wymusz& r) {
  ::Formularz f;
  f.zasob = 3030;
  f.tytul = "Wymuszone przesuniecia";
  f.edycja(8004, "Numer podpory", "i", &r.i, -1, true, true, true);
  f.edycja(8500, "Numer węzła", "nu", &r.nu, -1, true);
  const int g1 = f.ramka("Maksymalne przemieszczenie");
  f.edycja(8501, "w kierunku X", "x", &r.x, g1);
  f.edycja(8502, "w kierunku Y", "y", &r.y, g1);
  const int g2 = f.ramka("Utwierdzenie");
  f.wybor(8600, "w kierunku X", "chx", &r.chx, g2);
  f.wybor(8610, "w kierunku Y", "chy", &r.chy, g2);
  return f;
}

::Formularz uklad_D_DANE_SIL(d_sily& r) {
  ::Formularz f;
  f.zasob = 3040;
  f.tytul = "Obciążenie węzłów siłami";
  f.edycja(8004, "Numer kolejny węzła z siłą", "i", &r.i, -1, true, true, true);
  f.edycja(8500, "Numer węzła", "nr", &r.nr, -1, true);
  f.edycja(8501, "Wartość siły w kierunku X", "fx", &r.fx);
  f.edycja(8502, "Wartość siły w kierunku Y", "fy", &r.fy);
  return f;
}

::Formularz uklad_D_DANE_WSP(d_wsp& r) {
  ::Formularz f;
  f.zasob = 3020;
  f.tytul = "Współrzędne węzłów";
  f.edycja(8004, "Węzeł", "i", &r.i, -1, true, true, true);
  f.edycja(8500, "Współrzędna X", "x", &r.x);
  f.edycja(8501, "Współrzędna Y", "y", &r.y);
  return f;
}

::Formularz uklad_D_DANE_PRZ(d_dane_przek& r) {
  ::Formularz f;
  f.zasob = 3010;
  f.tytul = "Parametry elementów trójkątnych";
  f.edycja(8004, "Numer elementu", "ee", &r.ee, -1, true, true, true);
  f.edycja(8500, "Węzeł 1", "w1", &r.w1);
  f.edycja(8501, "Węzeł 2", "w2", &r.w2);
  f.edycja(8502, "Węzeł 3", "w3", &r.w3);
  f.edycja(8503, "Materiał nr", "mat", &r.mat);
  return f;
}

::Formularz uklad_D_DANE_GRUBOSC(da_grubosc& r) {
  ::Formularz f;
  f.zasob = 3160;
  f.tytul = "Grubosc tarczy";
  f.edycja(8500, "Grubość tarczy", "gr", &r.gr);
  return f;
}

void pokaz_element(d_dane_przek& r, const Model& m, int e) {
  ustaw(r.ee, "%d", e);
  ustaw(r.w1, "%d", m.noc[e][1]);
  ustaw(r.w2, "%d", m.noc[e][2]);
  ustaw(r.w3, "%d", m.noc[e][3]);
  ustaw(r.mat, "%d", m.mat[e]);
}

void zapisz_element(Model& m, int e, const Trojkat& t) {
  m.noc[e][1] = t.k1;
  m.noc[e][2] = t.k2;
  m.noc[e][3] = t.k3;
  m.mat[e] = t.m;
}

bool sprawdz_element(Platform& P, const d_dane_przek& r, int nn, int nm, bool kreator, Trojkat& t) {
  t.k1 = atoi_pola(r.w1.t);
  t.k2 = atoi_pola(r.w2.t);
  t.k3 = atoi_pola(r.w3.t);
  t.m = atoi_pola(r.mat.t);
  auto poza = [nn](int k) { return k < 1 || k > nn; };
  // The wizard also names k1 = k3 and k2 = k3; the editing commands refuse
  // them without a word.
  if (poza(t.k1) || t.k1 == t.k2 || (kreator && t.k1 == t.k3)) formy::blad(P, "Zły numer węzła 1");
  if (poza(t.k2) || (kreator && t.k2 == t.k3)) formy::blad(P, "Zły numer węzła 2");
  if (poza(t.k3)) formy::blad(P, "Zły numer węzła 3");
  if (t.m < 1 || t.m > nm) formy::blad(P, "Zły numer materiału");
  return !poza(t.k1) && !poza(t.k2) && !poza(t.k3) && t.k1 != t.k2 && t.k2 != t.k3 && t.k1 != t.k3 &&
         t.m >= 1 && t.m <= nm;
}

bool sprawdz_wezel(Platform& P, const d_wsp& r, float& x, float& y) {
  const double dx = atof_pola(r.x.t), dy = atof_pola(r.y.t);
  if (dx < 0) formy::blad(P, "Współrzędna X<0");
  if (dy < 0) formy::blad(P, "Współrzędna Y<0");
  x = static_cast<float>(dx);
  y = static_cast<float>(dy);
  return dx >= 0 && dy >= 0;
}

int sprawdz_podpore(Platform& P, const d_wymusz& r, int zakres, int nn) {
  const int k = atoi_pola(r.nu.t);
  if (k < 1 || k > zakres) formy::blad(P, "Zły numer węzła");
  if (!r.chx && !r.chy) formy::blad(P, "Nie zaznaczono sposobu utwierdzenia");
  return k >= 1 && k <= nn && (r.chx || r.chy) ? k : 0;
}

int sprawdz_sile(Platform& P, const d_sily& r, int nn) {
  const int k = atoi_pola(r.nr.t);
  if (k < 0 || k > nn) {
    formy::blad(P, "Zły numer węzła");
    return -1;
  }
  return k;
}
