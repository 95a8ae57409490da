// The sparse solution path against the band path: the same matrix, the
// same results to rounding, the same errors; the same bits run after run;
// the automatic choice of the path.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <vector>

#include "analysis/silnik.h"
#include "app/okno.h"
#include "fake_platform.h"
#include "model_builders.h"

namespace {

int wezel(int nx, int c, int r) { return 1 + c + r * (nx + 1); }

// A cantilever of nx x ny cells, clamped at x = 0, loaded down at its tip;
// with `granica` the first limit of a hardening material.
OpisModelu wspornik(int nx, int ny, float granica = 1.0e30f) {
  OpisModelu o = prostokat(nx, ny, static_cast<float>(nx), static_cast<float>(ny));
  o.materialy[0].przedzialy = {{200000.0f, granica}, {50000.0f, 1.0e30f}};
  o.maxpr = 2;
  for (int r = 0; r <= ny; ++r) {
    const int k = wezel(nx, 0, r);
    o.podpory.push_back({2 * k - 1, 0});
    o.podpory.push_back({2 * k, 0});
    o.sily.push_back({2 * wezel(nx, nx, r), -30.0f / static_cast<float>(ny + 1)});
  }
  return o;
}

// The whole analysis as the driver runs it, on the given path.
struct Przebieg {
  int blad = 0, blad1 = 0, kroki = 0;
  std::vector<double> q;  // the double solution of the last step
};
Przebieg analiza(Model& m, MetodaRozwiazania metoda, int lprz = 50, float eps = 0.5f) {
  PracaAnalizy w;
  Iteracja it;
  it.lprz = lprz;
  it.epsdR = eps;
  start_analizy(m, w, it, metoda);
  EXPECT_EQ(static_cast<bool>(w.rzadki), metoda == MetodaRozwiazania::Rzadka);
  while (it.krok <= it.lprz) {
    krok_iteracji(m, w, it);
    ++it.krok;
  }
  Przebieg p{m.blad, m.blad1, it.ikr, {}};
  if (m.blad == 0) {
    p.q.assign(&w.fd[1], &w.fd[1] + m.nq);
    Reakcje(m, w);
    Wart_wez(m, w);
    p.blad = m.blad;
  }
  return p;
}

double najwieksza(const float* a, int n) {
  double s = 0;
  for (int i = 0; i < n; ++i) s = std::max(s, std::fabs(static_cast<double>(a[i])));
  return s;
}

// Every value of the two stores within `wzgl` of the largest of its kind.
void zgodne(const Model& a, const Model& b, double wzgl) {
  ASSERT_EQ(a.nq, b.nq);
  const double sf = najwieksza(&a.f[1], a.nq);
  for (int i = 1; i <= a.nq; ++i) EXPECT_NEAR(a.f[i], b.f[i], wzgl * sf) << "f " << i;
  for (int c = 1; c <= 4; ++c) {
    double sn = 0, sw = 0;
    for (int e = 1; e <= a.ne; ++e) sn = std::max(sn, std::fabs(static_cast<double>(a.napr[e][c])));
    for (int k = 1; k <= a.nn; ++k) sw = std::max(sw, std::fabs(static_cast<double>(a.ww[k][c])));
    for (int e = 1; e <= a.ne; ++e) EXPECT_NEAR(a.napr[e][c], b.napr[e][c], wzgl * sn) << "napr " << e << " " << c;
    for (int k = 1; k <= a.nn; ++k) EXPECT_NEAR(a.ww[k][c], b.ww[k][c], wzgl * sw) << "ww " << k << " " << c;
  }
  const double sr = najwieksza(&a.react[1], a.nd);
  for (int j = 1; j <= a.nd; ++j) EXPECT_NEAR(a.react[j], b.react[j], wzgl * sr) << "react " << j;
}

}  // namespace

TEST(Rzadki, TheSameMatrixAndTheSameSolutionAsTheBand) {
  Model m;
  zbuduj(m, wspornik(30, 6));
  PracaAnalizy pas, rz;
  Iteracja it;
  start_analizy(m, pas, it, MetodaRozwiazania::Pasmowa);
  start_analizy(m, rz, it, MetodaRozwiazania::Rzadka);
  ASSERT_EQ(m.blad, 0);
  for (int i = 1; i <= m.nq; ++i) pas.fd[i] = rz.fd[i] = m.si[i];
  Przemieszcz(m, pas);
  Przemieszcz(m, rz);
  // Every entry is the same sum of the same terms in the same order.
  for (int r = 1; r <= m.nq; ++r)
    for (int c = 1; c <= m.nbw && r + c - 1 <= m.nq; ++c) {
      const double a = pas.s[r][c], b = rz.rzadki->wartosc(r, r + c - 1);
      ASSERT_EQ(std::memcmp(&a, &b, sizeof a), 0) << r << " " << c;
    }
  for (int i = 1; i <= m.nq; ++i) ASSERT_EQ(pas.fd[i], rz.fd[i]);
  rozwiaz_uklad(m, pas);
  rozwiaz_uklad(m, rz);
  ASSERT_EQ(m.blad, 0);
  double skala = 0, roznica = 0;
  for (int i = 1; i <= m.nq; ++i) {
    skala = std::max(skala, std::fabs(pas.fd[i]));
    roznica = std::max(roznica, std::fabs(pas.fd[i] - rz.fd[i]));
  }
  EXPECT_LT(roznica, 1e-9 * skala);
}

TEST(Rzadki, YieldingAnalysisAgreesWithTheBand) {
  Model a, b;
  zbuduj(a, wspornik(24, 6, 60.0f));
  zbuduj(b, wspornik(24, 6, 60.0f));
  const Przebieg pa = analiza(a, MetodaRozwiazania::Pasmowa);
  const Przebieg pb = analiza(b, MetodaRozwiazania::Rzadka);
  ASSERT_EQ(pa.blad, 0);
  ASSERT_EQ(pb.blad, 0);
  EXPECT_GT(pa.kroki, 3);
  EXPECT_EQ(pa.kroki, pb.kroki);
  zgodne(a, b, 1e-5);
}

TEST(Rzadki, NodalValuesOfAStrayNumberingAndANodeOfNoElementAgree) {
  // Two materials, two nodes trading numbers, a reversed triangle and a
  // supported node that belongs to no element (its nodal values are 0).
  const OpisModelu o = plyta_z_pulapkami();
  const int sam = static_cast<int>(o.wezly.size());  // the node of no element
  Model a, b;
  zbuduj(a, o);
  zbuduj(b, o);
  ASSERT_EQ(analiza(a, MetodaRozwiazania::Pasmowa).blad, 0);
  ASSERT_EQ(analiza(b, MetodaRozwiazania::Rzadka).blad, 0);
  zgodne(a, b, 1e-6);
  for (int c = 1; c <= 4; ++c) EXPECT_EQ(b.ww[sam][c], 0.0f);
}

TEST(Rzadki, NotPositiveDefiniteEndsLikeAZeroPivot) {
  // A node of no element without supports: both paths name its last row.
  OpisModelu wolny = wspornik(4, 2);
  wolny.wezly.push_back({30, 30});
  // A triangle of its own, held by nothing: a mechanism.
  OpisModelu mechanizm = wspornik(4, 2);
  const int n0 = static_cast<int>(mechanizm.wezly.size());
  mechanizm.wezly.insert(mechanizm.wezly.end(), {{10, 10}, {11, 10}, {10, 11}});
  mechanizm.elementy.push_back({n0 + 1, n0 + 2, n0 + 3});
  for (auto metoda : {MetodaRozwiazania::Pasmowa, MetodaRozwiazania::Rzadka}) {
    Model m;
    zbuduj(m, wolny);
    Przebieg p = analiza(m, metoda);
    EXPECT_EQ(p.blad, 1);
    EXPECT_EQ(p.blad1, 2 * m.nn);
    EXPECT_EQ(p.kroki, 1);
    zbuduj(m, mechanizm);
    p = analiza(m, metoda);
    EXPECT_EQ(p.blad, 1);
    EXPECT_GE(p.blad1, 2 * n0 + 1);
    EXPECT_LE(p.blad1, 2 * n0 + 6);
  }
  // Poisson's ratio -1 (an infinite elasticity matrix): the same error on
  // either path, and nothing that is not a number in the store.
  int kody[2] = {0, 0};
  for (auto metoda : {MetodaRozwiazania::Pasmowa, MetodaRozwiazania::Rzadka}) {
    OpisModelu o = wspornik(4, 2);
    o.materialy[0].pois = -1.0f;
    Model m;
    zbuduj(m, o);
    kody[metoda == MetodaRozwiazania::Rzadka] = analiza(m, metoda).blad;
    for (int i = 1; i <= m.nq; ++i) ASSERT_TRUE(std::isfinite(m.f[i]));
  }
  EXPECT_NE(kody[0], 0);
  EXPECT_EQ(kody[0], kody[1]);
  // An element error still comes first, as the assembly finds it.
  OpisModelu oba = wolny;
  oba.materialy[0].pois = 0.5f;
  Model m;
  zbuduj(m, oba);
  EXPECT_EQ(analiza(m, MetodaRozwiazania::Rzadka).blad, 10);
}

TEST(Rzadki, TheAutomaticChoice) {
  const bool miesci = true;
  // What is asked for is taken.
  EXPECT_EQ(wybierz_metode(MetodaRozwiazania::Pasmowa, 1002528, 1420, miesci), MetodaRozwiazania::Pasmowa);
  EXPECT_EQ(wybierz_metode(MetodaRozwiazania::Rzadka, 8, 6, miesci), MetodaRozwiazania::Rzadka);
  auto wybor = [&](int nx, int ny) {
    Model m;
    zbuduj(m, prostokat(nx, ny, 1, 1));
    return wybierz_metode(MetodaRozwiazania::Automatyczna, m.nq, szerokosc_pasma(m), miesci);
  };
  // Small squares and long strips numbered across: the band; large
  // squares, and strips numbered along: sparse.
  EXPECT_EQ(wybor(10, 10), MetodaRozwiazania::Pasmowa);
  EXPECT_EQ(wybor(60, 60), MetodaRozwiazania::Pasmowa);
  EXPECT_EQ(wybor(100, 100), MetodaRozwiazania::Rzadka);
  EXPECT_EQ(wybor(20, 2000), MetodaRozwiazania::Pasmowa);
  EXPECT_EQ(wybor(2000, 20), MetodaRozwiazania::Rzadka);
  EXPECT_EQ(wybor(223, 223), MetodaRozwiazania::Rzadka);
  EXPECT_EQ(wybierz_metode(MetodaRozwiazania::Automatyczna, 1002528, 1420, miesci), MetodaRozwiazania::Rzadka);
  // A band that does not fit in memory: sparse, however small the model.
  EXPECT_EQ(wybierz_metode(MetodaRozwiazania::Automatyczna, 8, 6, false), MetodaRozwiazania::Rzadka);
  // A numbering that spreads the band over the whole model.
  EXPECT_EQ(wybierz_metode(MetodaRozwiazania::Automatyczna, 40000, 40000, miesci), MetodaRozwiazania::Rzadka);
}

TEST(Rzadki, TheSettingsFormChoosesTheMethodAndKeepsItBetweenSessions) {
  FakePlatform fp;
  Model m;
  {
    _OKNO_ okno(m, fp);
    EXPECT_EQ(okno.metoda, MetodaRozwiazania::Automatyczna);
    fp.ok({}, {{"metoda", 2}}, 3110);
    okno.Cm_u_graf();
    EXPECT_EQ(fp.pokazane.at(0).stany.at("metoda"), 0);
    EXPECT_EQ(okno.metoda, MetodaRozwiazania::Rzadka);
    EXPECT_EQ(fp.ustawienia.at(kUstawienieMetody), "rzadka");
    // "Anuluj" and entries beyond the list change nothing.
    fp.anuluj(3110);
    okno.Cm_u_graf();
    fp.ok({}, {{"metoda", 3}}, 3110);
    okno.Cm_u_graf();
    EXPECT_EQ(okno.metoda, MetodaRozwiazania::Rzadka);
  }
  // The next session starts with it, and the analysis takes that path.
  _OKNO_ okno(m, fp);
  EXPECT_EQ(okno.metoda, MetodaRozwiazania::Rzadka);
  zbuduj(m, wspornik(8, 2));
  okno.plik_dr = ::testing::TempDir() + "skorba_rzadki_dr.txt";
  fp.ok({}, {}, 3200);
  okno.Obliczenia();
  EXPECT_EQ(m.obliczono, 1);
  EXPECT_EQ(okno.przebieg.metoda, MetodaRozwiazania::Rzadka);
  fp.ok({}, {{"metoda", 1}}, 3110);
  okno.Cm_u_graf();
  EXPECT_EQ(fp.ustawienia.at(kUstawienieMetody), "pasmowa");
  fp.ok({}, {}, 3200);
  okno.Obliczenia();
  EXPECT_EQ(okno.przebieg.metoda, MetodaRozwiazania::Pasmowa);
  fp.sprawdz_zuzyte();
  std::remove(okno.plik_dr.c_str());
}
