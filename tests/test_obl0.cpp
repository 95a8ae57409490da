// The blocked, vectorised, threaded elimination against the literal one:
// byte for byte in s and f, and the same blad / blad1, for every kernel,
// thread count and block threshold, on random band systems of awkward
// sizes, penalty systems of real meshes, and zero pivots placed at the
// edges of the panels.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "analysis/obl0.h"
#include "analysis/pula.h"
#include "analysis/silnik.h"
#include "model_builders.h"

namespace {

// A band system in the solver's layout together with its copy.
struct Uklad {
  int nq = 0, nbw = 0;
  Macierz<double> s;
  Wektor<double> f;

  Uklad(int nq_, int nbw_) : nq(nq_), nbw(nbw_), s(1, std::max(nq_, 1), 1, std::max(nbw_, 1)), f(1, std::max(nq_, 1)) {}
  Uklad(const Uklad& o) : Uklad(o.nq, o.nbw) {
    std::memcpy(&s[1][1], &o.s[1][1], sizeof(double) * s.rh() * s.ch());
    std::memcpy(&f[1], &o.f[1], sizeof(double) * f.hi());
  }
};

// Random symmetric band: exact zeros inside the band (also -0), mixed signs,
// a dominant diagonal, some penalty rows.
Uklad losowy(int nq, int nbw, unsigned ziarno) {
  Uklad u(nq, nbw);
  std::mt19937 g(ziarno);
  std::uniform_real_distribution<double> r(-1, 1);
  std::uniform_int_distribution<int> rodzaj(0, 5);
  for (int i = 1; i <= nq; ++i) {
    double suma = 0;
    for (int j = 2; j <= nbw && i + j - 1 <= nq; ++j) {
      const int k = rodzaj(g);
      u.s[i][j] = k == 0 ? 0.0 : k == 1 ? -0.0 : r(g) * 1e5;
      suma += std::fabs(u.s[i][j]);
    }
    u.s[i][1] = 2 * suma + 1e5 + (i % 7 == 0 ? 1e12 : 0);
    u.f[i] = i % 3 == 0 ? 0.0 : i % 11 == 0 ? -0.0 : r(g) * 1e3;
  }
  return u;
}

// The penalty system of a cantilever mesh of nx x ny cells as the engine
// assembles it.
Uklad plyta(int nx, int ny) {
  OpisModelu o = prostokat(nx, ny, static_cast<float>(nx), static_cast<float>(ny), 200000.0f, 0.3f);
  for (int r = 0; r <= ny; ++r) {
    const int k = 1 + r * (nx + 1);
    o.podpory.push_back({2 * k - 1, 0});
    o.podpory.push_back({2 * k, 0});
  }
  for (int r = 0; r <= ny; ++r) o.sily.push_back({2 * (1 + nx + r * (nx + 1)), -100.0f});
  Model m;
  zbuduj(m, o);
  PracaAnalizy w;
  Iteracja it;
  start_analizy(m, w, it);
  for (int i = 1; i <= m.nq; ++i) w.fd[i] = m.si[i];
  Przemieszcz(m, w);
  Uklad u(m.nq, m.nbw);
  std::memcpy(&u.s[1][1], &w.s[1][1], sizeof(double) * m.nq * m.nbw);
  std::memcpy(&u.f[1], &w.fd[1], sizeof(double) * m.nq);
  return u;
}

struct Wynik {
  int blad = 0, blad1 = 0;
};

Wynik wzorzec(Uklad& u) {
  Wynik w;
  Obl0_wzorcowy<double>(u.s.dane(), u.f.dane(), u.nq, u.nbw, w.blad, w.blad1);
  return w;
}

// Every way the solver can run on this machine.
std::vector<UstawieniaObl0> warianty() {
  std::vector<UstawieniaObl0> v;
  for (JadroObl0 j : {JadroObl0::Podstawowe, JadroObl0::Avx2, JadroObl0::Avx512}) {
    if (!jadro_dostepne(j)) continue;
    for (int watki : {1, 2})
      for (int min_blok : {0, 24})
        for (int panel : {0, 13, 48}) {
          if (min_blok != 0 && panel != 0) continue;
          UstawieniaObl0 u;
          u.jadro = j;
          u.watki = watki;
          u.min_blok = min_blok;
          u.min_watki = 0;  // threads even for narrow bands
          u.panel = panel;
          v.push_back(u);
        }
  }
  return v;
}

std::string opis(const UstawieniaObl0& u) {
  return std::string(nazwa_jadra(u.jadro)) + " watki=" + std::to_string(u.watki) +
         " min_blok=" + std::to_string(u.min_blok) + " panel=" + std::to_string(u.panel);
}

// Solves copies of `u` in every variant and compares each with the literal
// elimination, byte for byte.
void porownaj(const Uklad& u, const std::string& nazwa, int blad_oczekiwany = -1) {
  Uklad wz(u);
  const Wynik w0 = wzorzec(wz);
  if (blad_oczekiwany >= 0) {
    ASSERT_EQ(w0.blad, blad_oczekiwany) << nazwa;
  }
  for (const UstawieniaObl0& ust : warianty()) {
    Uklad k(u);
    Wynik w;
    Obl0_z(k.s.dane(), k.f.dane(), k.nq, k.nbw, w.blad, w.blad1, ust);
    EXPECT_EQ(w.blad, w0.blad) << nazwa << " " << opis(ust);
    EXPECT_EQ(w.blad1, w0.blad1) << nazwa << " " << opis(ust);
    if (k.nq < 1) continue;
    EXPECT_EQ(std::memcmp(&k.f[1], &wz.f[1], sizeof(double) * k.nq), 0) << nazwa << " " << opis(ust);
    EXPECT_EQ(std::memcmp(&k.s[1][1], &wz.s[1][1], sizeof(double) * k.nq * k.nbw), 0)
        << nazwa << " " << opis(ust);
  }
}

}  // namespace

TEST(Obl0Blokowo, RandomBandsOfAwkwardSizesAreBitIdentical) {
  // Sizes around the panels (13, 16, 32, 48) and the vector widths (2, 4):
  // bands narrower than, equal to and wider than a panel, systems shorter
  // than their band, counts that leave a partial last panel.
  struct P {
    int nq, nbw;
  };
  unsigned ziarno = 1;
  for (const P p : {P{1, 1}, P{2, 2}, P{3, 7}, P{17, 1}, P{40, 2}, P{50, 3}, P{64, 5}, P{97, 97}, P{33, 16},
                    P{200, 15}, P{200, 16}, P{200, 17}, P{161, 31}, P{333, 40}, P{300, 63}, P{257, 101},
                    P{1000, 130}, P{517, 257}}) {
    porownaj(losowy(p.nq, p.nbw, ziarno++), "losowy " + std::to_string(p.nq) + "x" + std::to_string(p.nbw), 0);
  }
}

TEST(Obl0Blokowo, PlatePenaltySystemsAreBitIdentical) {
  // Band widths 2*(nx+3): 26 (a row-by-row band for the default settings),
  // 106 and 166 (blocked, on two threads by default).
  for (auto [nx, ny] : {std::pair{10, 30}, std::pair{50, 12}, std::pair{80, 8}}) {
    const Uklad u = plyta(nx, ny);
    porownaj(u, "plyta " + std::to_string(nx) + "x" + std::to_string(ny), 0);
  }
}

TEST(Obl0Blokowo, ZeroPivotsAtPanelEdgesGiveTheSameErrorAndBits) {
  // A zero pivot is skipped: its row is neither used nor scaled.  Put them
  // on the first and last rows of panels (16 rows for this band, 13 and 48
  // in the variants, 32 for the wider band below) and next to them, on the
  // last pivot and on the last row, alone and together, and a whole panel
  // of them.  A pivot stays exactly zero when its diagonal is zero and so
  // is its column above the diagonal (nothing can fill it in).
  const auto zeruj = [](Uklad& u, int r) {
    u.s[r][1] = 0;
    for (int i = std::max(1, r - u.nbw + 1); i < r; ++i) u.s[i][r - i + 1] = 0;
  };
  struct Przypadek {
    int nq, nbw;
    std::vector<int> zera;
  };
  const std::vector<Przypadek> przypadki = {
      {160, 37, {1}},         {160, 37, {16}},           {160, 37, {17}},         {160, 37, {32, 33}},
      {160, 37, {159}},       {160, 37, {160}},          {160, 37, {13, 14, 26, 27}}, {160, 37, {15, 16, 17, 48, 49}},
      {160, 37, {96, 97}},    {160, 37, {158, 159, 160}}, {300, 120, {32, 33, 64, 65}}, {300, 120, {96, 97, 299, 300}}};
  unsigned ziarno = 100;
  for (const Przypadek& p : przypadki) {
    Uklad u = losowy(p.nq, p.nbw, ziarno++);
    std::string nazwa = "zera w " + std::to_string(p.nq) + "x" + std::to_string(p.nbw) + ":";
    for (int r : p.zera) {
      zeruj(u, r);
      nazwa += ' ';
      nazwa += std::to_string(r);
    }
    porownaj(u, nazwa, 1);
  }
  const int nq = 160, nbw = 37;
  // Rows 33..48, a whole panel: the trailing band gets nothing from it.
  Uklad u = losowy(nq, nbw, 7);
  for (int r = 33; r <= 48; ++r) zeruj(u, r);
  porownaj(u, "panel zer", 1);
  // An unknown that nothing holds, in the middle of a panel: its row and
  // column are empty, the pivot comes out exactly zero.
  Uklad v = losowy(nq, nbw, 8);
  for (int j = 1; j <= nbw; ++j) v.s[70][j] = 0;
  for (int r = 70 - nbw + 1; r < 70; ++r) v.s[r][70 - r + 1] = 0;
  porownaj(v, "pusty wiersz 70", 1);
  Uklad v2(v);
  Wynik w;
  Obl0(v2.s.dane(), v2.f.dane(), nq, nbw, w.blad, w.blad1);
  EXPECT_EQ(w.blad, 1);
  EXPECT_EQ(w.blad1, 70);
}

TEST(Obl0Blokowo, ValuesBeyondFloatRangeAndNaNKeepTheirBits) {
  // Infinite and NaN entries (a singular element gone through the
  // assembly) spread the same way as in the literal loops; every product is
  // formed even when a multiplier is zero.
  Uklad u = losowy(300, 70, 55);
  u.s[40][5] = std::numeric_limits<double>::infinity();
  u.s[90][1] = std::numeric_limits<double>::infinity();
  u.s[130][9] = std::numeric_limits<double>::quiet_NaN();
  porownaj(u, "inf/nan");
}

TEST(Obl0Blokowo, DefaultSolverOnASmallerCountLeavesTheRestAlone) {
  // The nodal projection solves the first nn rows with half the band in
  // arrays made for nq rows of the full band.
  Uklad u = losowy(400, 120, 9);
  Uklad wz(u);
  Wynik w, w0;
  Obl0(u.s.dane(), u.f.dane(), 250, 60, w.blad, w.blad1);
  Obl0_wzorcowy<double>(wz.s.dane(), wz.f.dane(), 250, 60, w0.blad, w0.blad1);
  EXPECT_EQ(w.blad, 0);
  EXPECT_EQ(std::memcmp(&u.f[1], &wz.f[1], sizeof(double) * 400), 0);
  EXPECT_EQ(std::memcmp(&u.s[1][1], &wz.s[1][1], sizeof(double) * 400 * 120), 0);
  const Uklad zrodlo = losowy(400, 120, 9);
  for (int r = 251; r <= 400; ++r) EXPECT_EQ(std::memcmp(&u.s[r][1], &zrodlo.s[r][1], sizeof(double) * 120), 0) << r;
}

TEST(Obl0Blokowo, ThreadsCanBeSwitchedOffAndTheResultStays) {
  const int przed = watki_obliczen();
  EXPECT_GE(przed, 1);
  EXPECT_LE(przed, kMaksWatkow);
  const Uklad u = losowy(700, 150, 21);
  Uklad a(u), b(u);
  Wynik wa, wb;
  ustaw_watki_obliczen(1);
  EXPECT_EQ(watki_obliczen(), 1);
  EXPECT_EQ(ustawienia_obl0().watki, 1);
  Obl0(a.s.dane(), a.f.dane(), a.nq, a.nbw, wa.blad, wa.blad1);
  ustaw_watki_obliczen(99);
  EXPECT_EQ(watki_obliczen(), PulaWatkow::globalna().rozmiar());
  Obl0(b.s.dane(), b.f.dane(), b.nq, b.nbw, wb.blad, wb.blad1);
  ustaw_watki_obliczen(przed);
  EXPECT_EQ(std::memcmp(&a.f[1], &b.f[1], sizeof(double) * u.nq), 0);
  EXPECT_EQ(std::memcmp(&a.s[1][1], &b.s[1][1], sizeof(double) * u.nq * u.nbw), 0);
}

TEST(Obl0Blokowo, SolvesFromSeveralThreadsAtOnceAreEachExact) {
  // The pool runs one job at a time; a solve that finds it busy runs alone
  // on its own thread and still gives the same bits.
  const Uklad u = losowy(600, 140, 31);
  Uklad wz(u);
  wzorzec(wz);
  std::vector<Uklad> kopie(4, u);
  std::vector<std::thread> t;
  UstawieniaObl0 ust = ustawienia_obl0();
  ust.watki = 2;
  ust.min_watki = 0;
  for (auto& k : kopie)
    t.emplace_back([&k, ust] {
      int b = 0, b1 = 0;
      for (int i = 0; i < 2; ++i) {
        Uklad z(k);
        Obl0_z(z.s.dane(), z.f.dane(), z.nq, z.nbw, b, b1, ust);
      }
      Obl0_z(k.s.dane(), k.f.dane(), k.nq, k.nbw, b, b1, ust);
    });
  for (auto& th : t) th.join();
  for (const auto& k : kopie) {
    EXPECT_EQ(std::memcmp(&k.f[1], &wz.f[1], sizeof(double) * u.nq), 0);
    EXPECT_EQ(std::memcmp(&k.s[1][1], &wz.s[1][1], sizeof(double) * u.nq * u.nbw), 0);
  }
}
