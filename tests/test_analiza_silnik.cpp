// The analysis engine on its own: element stiffness, band width, solver,
// stresses, nodal values, secant moduli and reactions, checked against
// hand results, mechanics (patch test, equilibrium, beam theory) and the
// literal reference of the solver.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>
#include <vector>

#include "analysis/silnik.h"
#include "model_builders.h"

namespace {

// One linear solution with reactions and nodal values, as the analysis
// does it when no element reaches its first limit.  Returns blad.
int liniowo(Model& m) {
  PracaAnalizy w;
  Iteracja it;
  it.lprz = 1;
  start_analizy(m, w, it);
  krok_iteracji(m, w, it);
  if (m.blad == 0) {
    Reakcje(m, w);
    Wart_wez(m, w);
  }
  return m.blad;
}

OpisModelu trojkat(std::array<int, 3> wezly = {1, 2, 3}) {
  OpisModelu o;
  o.wezly = {{0, 0}, {1, 0}, {0, 1}};
  o.elementy = {wezly};
  o.materialy.push_back({});
  o.materialy[0].przedzialy = {{200000.0f, 1.0e30f}};
  o.podpory = {{1, 0}, {2, 0}, {4, 0}};  // node 1 in X and Y, node 2 in Y
  o.sily = {{3, 1000.0f}};               // along X at node 2
  return o;
}

// Node number of column c, row r (from 0) of a prostokat() mesh with nx cells along X.
int wezel(int nx, int c, int r) { return 1 + c + r * (nx + 1); }

// A cantilever of nx x ny cells over lx x ly: left edge clamped, a total
// load p along -Y spread evenly over the tip nodes.
OpisModelu wspornik(int nx, int ny, float lx, float ly, float p) {
  OpisModelu o = prostokat(nx, ny, lx, ly, 200000.0f, 0.3f);
  for (int r = 0; r <= ny; ++r) {
    const int k = wezel(nx, 0, r);
    o.podpory.push_back({2 * k - 1, 0});
    o.podpory.push_back({2 * k, 0});
  }
  for (int r = 0; r <= ny; ++r) o.sily.push_back({2 * wezel(nx, nx, r), -p / static_cast<float>(ny + 1)});
  return o;
}

double ugiecie_konca(const Model& m, int nx, int ny) {
  double s = 0;
  for (int r = 0; r <= ny; ++r) s += m.f[2 * wezel(nx, nx, r)];
  return s / (ny + 1);
}

}  // namespace

TEST(Silnik, UnitTriangleStiffness) {
  Model m;
  OpisModelu o = trojkat();
  o.materialy[0].pois = 0.0f;
  o.materialy[0].przedzialy = {{1.0f, 1.0e30f}};
  zbuduj(m, o);
  m.nbw = szerokosc_pasma(m);
  PracaAnalizy w;
  w.przydziel(m);
  w.EE[1] = 1.0f;
  ASSERT_TRUE(sztywnosc_elementu(m, w, 1));
  EXPECT_EQ(w.dj, 1.0);
  const double przekatna[7] = {0, 0.75, 0.75, 0.5, 0.25, 0.25, 0.5};
  for (int i = 1; i <= 6; ++i) EXPECT_DOUBLE_EQ(w.se[i][i], przekatna[i]) << i;
  EXPECT_DOUBLE_EQ(w.se[1][3], -0.5);
  for (int i = 1; i <= 6; ++i)
    for (int j = 1; j <= 6; ++j) EXPECT_DOUBLE_EQ(w.se[i][j], w.se[j][i]);
  // Every row of an element stiffness sums to zero (rigid translation).
  for (int i = 1; i <= 6; ++i) {
    EXPECT_NEAR(w.se[i][1] + w.se[i][3] + w.se[i][5], 0, 1e-15);
    EXPECT_NEAR(w.se[i][2] + w.se[i][4] + w.se[i][6], 0, 1e-15);
  }
}

TEST(Silnik, BandWidthFollowsTheNodeNumbering) {
  Model m;
  OpisModelu o;
  o.wezly.resize(50, {0, 0});
  o.materialy.push_back({});
  o.elementy = {{1, 2, 3}};
  zbuduj(m, o);
  EXPECT_EQ(szerokosc_pasma(m), 6);
  o.elementy = {{1, 2, 3}, {1, 2, 50}};
  zbuduj(m, o);
  EXPECT_EQ(szerokosc_pasma(m), 100);
  // A rectangle of the generator: lower left to upper right of one cell.
  zbuduj(m, prostokat(100, 10, 100, 10));
  EXPECT_EQ(szerokosc_pasma(m), 2 * (101 + 2));
}

TEST(Silnik, ElementErrorsStopTheAssembly) {
  Model m;
  OpisModelu o = trojkat();
  o.materialy[0].pois = 0.5f;
  zbuduj(m, o);
  EXPECT_EQ(liniowo(m), 10);
  EXPECT_EQ(m.blad1, 1);

  o.materialy[0].pois = 0.4999f;
  zbuduj(m, o);
  EXPECT_EQ(liniowo(m), 0);

  // Collinear nodes: zero area, the element is named.
  o = trojkat();
  o.wezly.push_back({0.5f, 0.5f});
  o.elementy = {{1, 2, 3}, {2, 4, 3}};
  zbuduj(m, o);
  EXPECT_EQ(liniowo(m), 2);
  EXPECT_EQ(m.blad1, 2);

  // Both faults in one element: the Poisson's ratio is checked first.
  o.materialy.push_back({});
  o.materialy[1].pois = 0.6f;
  o.materialy_el = {1, 2};
  zbuduj(m, o);
  EXPECT_EQ(liniowo(m), 10);
  EXPECT_EQ(m.blad1, 2);
}

TEST(Silnik, ClockwiseAndCounterClockwiseAgree) {
  Model a, b;
  zbuduj(a, trojkat({1, 2, 3}));
  zbuduj(b, trojkat({1, 3, 2}));
  ASSERT_EQ(liniowo(a), 0);
  ASSERT_EQ(liniowo(b), 0);
  for (int i = 1; i <= a.nq; ++i) EXPECT_NEAR(a.f[i], b.f[i], 1e-6 * std::fabs(a.f[3])) << i;
  for (int c = 1; c <= 4; ++c) EXPECT_NEAR(a.napr[1][c], b.napr[1][c], 1e-6 * a.napr[1][4]) << c;
  for (int j = 1; j <= a.nd; ++j) EXPECT_NEAR(a.react[j], b.react[j], 1e-3) << j;
}

TEST(Silnik, ThicknessScalesTheStiffness) {
  OpisModelu o = wspornik(8, 2, 8, 2, 100.0f);
  Model a, b;
  zbuduj(a, o);
  o.th = 2.0f;
  zbuduj(b, o);
  ASSERT_EQ(liniowo(a), 0);
  ASSERT_EQ(liniowo(b), 0);
  for (int i = 1; i <= a.nq; ++i) EXPECT_NEAR(b.f[i], 0.5 * a.f[i], 1e-6 * std::fabs(a.f[a.nq])) << i;
  // The same loads on a plate twice as thick: half the stresses.
  for (int e = 1; e <= a.ne; ++e) EXPECT_NEAR(b.napr[e][4], 0.5 * a.napr[e][4], 1e-4 * a.napr[1][4]) << e;
}

TEST(Silnik, SingleTriangleReactionsBalanceTheLoad) {
  Model m;
  zbuduj(m, trojkat());
  ASSERT_EQ(liniowo(m), 0);
  // Supports: X and Y of node 1, Y of node 2; 1000 along X at node 2.
  EXPECT_NEAR(m.react[1], -1000.0f, 1e-3);
  EXPECT_NEAR(m.react[2] + m.react[3], 0.0f, 1e-3);
  // Restrained displacements stay at zero to the penalty's precision:
  // the support yields by reaction / penalty.
  EXPECT_NEAR(m.f[1], 1000.0 / 1e12, 1e-12);
  EXPECT_LT(std::fabs(m.f[4]), 1e-9);
  // The free end moves away from the support, by F*L/(E*A) in a bar sense.
  EXPECT_GT(m.f[3], 0.0f);
}

TEST(Silnik, PrescribedDisplacementIsMetToSixDigits) {
  Model m;
  OpisModelu o = trojkat();
  o.sily.clear();
  o.podpory = {{1, 0}, {2, 0}, {3, 0.01f}, {4, 0}};
  zbuduj(m, o);
  ASSERT_EQ(liniowo(m), 0);
  EXPECT_NEAR(m.f[3], 0.01f, 0.01f * 2e-6);
  // A stretched triangle pulls on its supports in equal and opposite ways.
  EXPECT_NEAR(m.react[1] + m.react[3], 0.0f, 1e-3f * std::fabs(m.react[3]));
  EXPECT_GT(m.react[3], 0.0f);
}

TEST(Silnik, SecantModuliOnAChainOfPieces) {
  Model m;
  OpisModelu o = trojkat();
  o.materialy[0].przedzialy = {{200000.0f, 300.0f}, {20000.0f, 400.0f}};
  o.materialy.push_back({});
  o.materialy[1].przedzialy = {{70000.0f, 100.0f}};
  zbuduj(m, o);
  int zc = 0;
  EXPECT_FLOAT_EQ(modul_sieczny(m, 1, 250.0f, 123.0f, zc), 200000.0f);
  EXPECT_EQ(zc, 0);
  EXPECT_FLOAT_EQ(modul_sieczny(m, 1, 350.0f, 123.0f, zc), 87500.0f);
  EXPECT_EQ(zc, 1);
  EXPECT_NEAR(modul_sieczny(m, 1, 500.0f, 123.0f, zc), 43478.3f, 0.05f);
  // Exactly at the first limit: the first piece still holds.
  zc = 0;
  EXPECT_FLOAT_EQ(modul_sieczny(m, 1, 300.0f, 200000.0f, zc), 200000.0f);
  EXPECT_EQ(zc, 1);
  // One interval: the modulus never changes, reaching the limit only flags it.
  zc = 0;
  EXPECT_FLOAT_EQ(modul_sieczny(m, 2, 5000.0f, 70000.0f, zc), 70000.0f);
  EXPECT_EQ(zc, 1);
}

TEST(Silnik, HuberOfBasicStates) {
  EXPECT_DOUBLE_EQ(huber(0, 0, 7), std::sqrt(3.0) * 7);
  EXPECT_DOUBLE_EQ(huber(0, 0, -7), std::sqrt(3.0) * 7);
  EXPECT_DOUBLE_EQ(huber(-120, 0, 0), 120);
  EXPECT_DOUBLE_EQ(huber(50, 50, 0), 50);  // equal biaxial
}

TEST(Silnik, SingleTriangleNodalValuesEqualItsStress) {
  Model m;
  zbuduj(m, trojkat());
  ASSERT_EQ(liniowo(m), 0);
  for (int k = 1; k <= 3; ++k)
    for (int c = 1; c <= 4; ++c)
      EXPECT_NEAR(m.ww[k][c], m.napr[1][c], 1e-5 * std::fabs(m.napr[1][4])) << k << "," << c;
}

TEST(Silnik, FreeNodeFailsWithZeroPivot) {
  Model m;
  OpisModelu o = trojkat();
  o.wezly.push_back({3, 3});  // node 4 belongs to no element and has no support
  zbuduj(m, o);
  // Both of its rows have a zero pivot; the elimination goes on past the
  // first and names the last.
  EXPECT_EQ(liniowo(m), 1);
  EXPECT_EQ(m.blad1, 8);
}

TEST(Silnik, SupportedNodeOfNoElementGetsZeroNodalValues) {
  Model m;
  OpisModelu o = trojkat();
  o.wezly.push_back({3, 3});
  o.podpory.push_back({7, 0});
  o.podpory.push_back({8, 0});
  zbuduj(m, o);
  ASSERT_EQ(liniowo(m), 0);
  for (int c = 1; c <= 4; ++c) EXPECT_EQ(m.ww[4][c], 0.0f);
}

TEST(Silnik, PatchTestReproducesALinearField) {
  // An irregular 4 x 3 mesh; the boundary nodes follow a linear field, the
  // interior nodes are free.  Every element and every node must carry the
  // one stress state of that field.
  OpisModelu o = prostokat(4, 3, 4, 3, 200000.0f, 0.25f);
  const int wew[] = {wezel(4, 1, 1), wezel(4, 2, 1), wezel(4, 3, 1), wezel(4, 1, 2), wezel(4, 2, 2), wezel(4, 3, 2)};
  const float przes[][2] = {{0.21f, 0.13f}, {-0.17f, 0.22f}, {0.1f, -0.2f}, {-0.25f, -0.1f}, {0.15f, 0.17f}, {0.0f, -0.23f}};
  for (int i = 0; i < 6; ++i) {
    o.wezly[wew[i] - 1][0] += przes[i][0];
    o.wezly[wew[i] - 1][1] += przes[i][1];
  }
  const double a = 1e-3, bb = -4e-4, c = 2.5e-4, dd = 6e-4;  // u = a x + c y, v = dd x + bb y
  for (int k = 1; k <= static_cast<int>(o.wezly.size()); ++k) {
    bool brzeg = true;
    for (int i : wew) brzeg = brzeg && i != k;
    if (!brzeg) continue;
    const double x = o.wezly[k - 1][0], y = o.wezly[k - 1][1];
    o.podpory.push_back({2 * k - 1, static_cast<float>(a * x + c * y)});
    o.podpory.push_back({2 * k, static_cast<float>(dd * x + bb * y)});
  }
  Model m;
  zbuduj(m, o);
  ASSERT_EQ(liniowo(m), 0);
  const double E = 200000, nu = 0.25, c1 = E / (1 - nu * nu);
  const double sx = c1 * (a + nu * bb), sy = c1 * (bb + nu * a), txy = E / (2 * (1 + nu)) * (c + dd);
  const double tol = 1e-4 * std::fabs(sx);
  for (int e = 1; e <= m.ne; ++e) {
    EXPECT_NEAR(m.napr[e][1], sx, tol) << e;
    EXPECT_NEAR(m.napr[e][2], sy, tol) << e;
    EXPECT_NEAR(m.napr[e][3], txy, tol) << e;
    EXPECT_NEAR(m.napr[e][4], huber(sx, sy, txy), tol) << e;
  }
  for (int k = 1; k <= m.nn; ++k) {
    EXPECT_NEAR(m.ww[k][1], sx, tol) << k;
    EXPECT_NEAR(m.ww[k][2], sy, tol) << k;
    EXPECT_NEAR(m.ww[k][3], txy, tol) << k;
  }
  // The free interior nodes land on the field itself.
  for (int k : wew) {
    const double x = m.x[k][1], y = m.x[k][2];
    EXPECT_NEAR(m.f[2 * k - 1], a * x + c * y, 1e-8) << k;
    EXPECT_NEAR(m.f[2 * k], dd * x + bb * y, 1e-8) << k;
  }
}

TEST(Silnik, ReactionsBalanceLoadsAndMoments) {
  // A deep plate on three supports with loads in both directions and a
  // prescribed settlement: forces and moments of loads and reactions sum to 0.
  OpisModelu o = prostokat(12, 5, 6, 2.5f, 30000.0f, 0.2f);
  const int lewy = wezel(12, 0, 0), srodek = wezel(12, 6, 0), prawy = wezel(12, 12, 0);
  o.podpory = {{2 * lewy - 1, 0}, {2 * lewy, 0}, {2 * srodek, -0.002f}, {2 * prawy, 0}};
  for (int c = 0; c <= 12; ++c) o.sily.push_back({2 * wezel(12, c, 5), -250.0f});
  o.sily.push_back({2 * wezel(12, 0, 5) - 1, 400.0f});
  o.sily.push_back({2 * wezel(12, 9, 3) - 1, -125.5f});
  Model m;
  zbuduj(m, o);
  ASSERT_EQ(liniowo(m), 0);
  double fx = 0, fy = 0, mom = 0, skala = 0;
  for (int i = 1; i <= m.nq; ++i) {
    const int k = (i + 1) / 2;
    const double s = m.si[i];
    if (i % 2) fx += s, mom -= m.x[k][2] * s;
    else fy += s, mom += m.x[k][1] * s;
    skala += std::fabs(s);
  }
  for (int j = 1; j <= m.nd; ++j) {
    const int i = m.nu[j], k = (i + 1) / 2;
    const double r = m.react[j];
    if (i % 2) fx += r, mom -= m.x[k][2] * r;
    else fy += r, mom += m.x[k][1] * r;
  }
  EXPECT_NEAR(fx, 0, 1e-5 * skala);
  EXPECT_NEAR(fy, 0, 1e-5 * skala);
  EXPECT_NEAR(mom, 0, 1e-5 * skala * 6);
  EXPECT_NEAR(m.f[2 * srodek], -0.002f, 1e-8);
}

TEST(Silnik, SlenderCantileverMatchesBeamTheory) {
  // 100 x 10 cells over 100 x 10, E = 200000, nu = 0.3, thickness 1, 1000
  // down at the tip: P L^3 / (3 E I) + P L / (kappa G A) = 20.156.
  const double P = 1000, L = 100, h = 10, E = 200000, nu = 0.3;
  const double I = h * h * h / 12, G = E / (2 * (1 + nu)), A = h;
  const double teoria = P * L * L * L / (3 * E * I) + P * L / (5.0 / 6.0 * G * A);
  Model m;
  zbuduj(m, wspornik(100, 10, 100, 10, 1000.0f));
  PracaAnalizy w;
  Iteracja it;
  it.lprz = 1;
  start_analizy(m, w, it);
  ASSERT_EQ(m.blad, 0);
  for (int i = 1; i <= m.nq; ++i) w.fd[i] = m.si[i];
  Przemieszcz(m, w);
  ASSERT_EQ(m.blad, 0);
  // The very same banded system, kept for a float32 elimination below.
  Macierz<float> sf(1, m.nq, 1, m.nbw);
  Wektor<float> ff(1, m.nq);
  for (int i = 1; i <= m.nq; ++i) {
    ff[i] = static_cast<float>(w.fd[i]);
    for (int j = 1; j <= m.nbw; ++j) sf[i][j] = static_cast<float>(w.s[i][j]);
  }
  rozwiaz_uklad(m, w);
  ASSERT_EQ(m.blad, 0);
  const double ugiecie = -ugiecie_konca(m, 100, 10);
  EXPECT_NEAR(ugiecie, teoria, 0.05 * teoria) << "double: " << ugiecie;

  int blad = 0, blad1 = 0;
  Obl0_wzorcowy<float>(sf.dane(), ff.dane(), m.nq, m.nbw, blad, blad1);
  double s = 0;
  for (int r = 0; r <= 10; ++r) s += ff[2 * wezel(100, 100, r)];
  const double ugiecie_float = -s / 11;
  EXPECT_TRUE(blad != 0 || std::fabs(ugiecie_float - teoria) > 0.05 * teoria)
      << "float32 gave " << ugiecie_float << ", theory " << teoria;
}

namespace {

// A random symmetric band system with many exact zeros inside the band and
// a dominant diagonal, in the layout of the solver.
void losowy_uklad(int nq, int nbw, unsigned ziarno, Macierz<double>& s, Wektor<double>& f) {
  std::mt19937 g(ziarno);
  std::uniform_real_distribution<double> u(-1, 1);
  std::uniform_int_distribution<int> zero(0, 2);
  s.przydziel(1, nq, 1, nbw);
  f.przydziel(1, nq);
  for (int r = 1; r <= nq; ++r) {
    double suma = 0;
    for (int j = 2; j <= nbw && r + j - 1 <= nq; ++j) {
      s[r][j] = zero(g) == 0 ? 0.0 : u(g) * 1e5;
      suma += std::fabs(s[r][j]);
    }
    s[r][1] = 2 * suma + 1e5 + (r % 7 == 0 ? 1e12 : 0);  // some penalty rows
    f[r] = r % 3 == 0 ? 0.0 : u(g) * 1e3;
  }
}

}  // namespace

TEST(Silnik, SolverIsBitIdenticalToTheLiteralElimination) {
  struct Przypadek {
    int nq, nbw;
    unsigned ziarno;
  };
  for (const Przypadek p : {Przypadek{1, 1, 1}, {2, 2, 2}, {50, 6, 3}, {333, 40, 4}, {1000, 130, 5}, {97, 97, 6}}) {
    Macierz<double> s1, s2;
    Wektor<double> f1, f2;
    losowy_uklad(p.nq, p.nbw, p.ziarno, s1, f1);
    losowy_uklad(p.nq, p.nbw, p.ziarno, s2, f2);
    int b1 = 0, b11 = 0, b2 = 0, b21 = 0;
    Obl0(s1.dane(), f1.dane(), p.nq, p.nbw, b1, b11);
    Obl0_wzorcowy<double>(s2.dane(), f2.dane(), p.nq, p.nbw, b2, b21);
    ASSERT_EQ(b1, 0);
    EXPECT_EQ(b2, 0);
    EXPECT_EQ(std::memcmp(&f1[1], &f2[1], sizeof(double) * p.nq), 0) << p.nq;
    EXPECT_EQ(std::memcmp(&s1[1][1], &s2[1][1], sizeof(double) * p.nq * p.nbw), 0) << p.nq;
  }
  // A real penalty system: a cantilever mesh assembled by the engine.
  Model m;
  zbuduj(m, wspornik(40, 6, 40, 6, 100.0f));
  PracaAnalizy w;
  Iteracja it;
  start_analizy(m, w, it);
  for (int i = 1; i <= m.nq; ++i) w.fd[i] = m.si[i];
  Przemieszcz(m, w);
  Macierz<double> s2(1, m.nq, 1, m.nbw);
  Wektor<double> f2(1, m.nq);
  std::memcpy(&s2[1][1], &w.s[1][1], sizeof(double) * m.nq * m.nbw);
  std::memcpy(&f2[1], &w.fd[1], sizeof(double) * m.nq);
  int b1 = 0, b11 = 0, b2 = 0, b21 = 0;
  Obl0(w.s.dane(), w.fd.dane(), m.nq, m.nbw, b1, b11);
  Obl0_wzorcowy<double>(s2.dane(), f2.dane(), m.nq, m.nbw, b2, b21);
  EXPECT_EQ(b1, 0);
  EXPECT_EQ(std::memcmp(&w.fd[1], &f2[1], sizeof(double) * m.nq), 0);
}

TEST(Silnik, SolverReportsZeroPivotsLikeTheLiteralOne) {
  Macierz<double> s1, s2;
  Wektor<double> f1, f2;
  losowy_uklad(60, 8, 11, s1, f1);
  losowy_uklad(60, 8, 11, s2, f2);
  // Row 20 empty: an unknown that nothing holds.
  for (auto* s : {&s1, &s2}) {
    for (int j = 1; j <= 8; ++j) (*s)[20][j] = 0;
    for (int r = 13; r < 20; ++r) (*s)[r][20 - r + 1] = 0;
  }
  int b1 = 0, b11 = 0, b2 = 0, b21 = 0;
  Obl0(s1.dane(), f1.dane(), 60, 8, b1, b11);
  Obl0_wzorcowy<double>(s2.dane(), f2.dane(), 60, 8, b2, b21);
  EXPECT_EQ(b1, 1);
  EXPECT_EQ(b11, 20);
  EXPECT_EQ(b2, 1);
  EXPECT_EQ(b21, 20);
}

TEST(Silnik, SolverOnASmallerCountLeavesTheRestAlone) {
  Macierz<double> s;
  Wektor<double> f;
  losowy_uklad(40, 5, 7, s, f);
  Macierz<double> s0;
  Wektor<double> f0;
  losowy_uklad(40, 5, 7, s0, f0);
  int b = 0, b1 = 0;
  Obl0(s.dane(), f.dane(), 25, 5, b, b1);
  EXPECT_EQ(b, 0);
  for (int r = 26; r <= 40; ++r) {
    EXPECT_EQ(f[r], f0[r]) << r;
    for (int j = 1; j <= 5; ++j) EXPECT_EQ(s[r][j], s0[r][j]) << r;
  }
  EXPECT_NE(f[1], f0[1]);
}

TEST(Silnik, MaterialWithoutIntervalsIsRefused) {
  // As the wizard leaves a model: materials with a Poisson's ratio only.
  Model m;
  zbuduj(m, trojkat());
  m.Prz.zwolnij();
  m.Ez.zwolnij();
  m.Sprz.zwolnij();
  EXPECT_EQ(liniowo(m), kBladBrakPrzedzialow);
  EXPECT_EQ(m.blad1, 1);
}

TEST(Silnik, InfiniteElasticityIsAnErrorNotANumber) {
  // Poisson's ratio -1 makes E / (1 - nu^2) infinite; the solution would be
  // NaN throughout.  The material is refused before anything is assembled.
  Model m;
  OpisModelu o = trojkat();
  o.materialy[0].pois = -1.0f;
  zbuduj(m, o);
  EXPECT_EQ(liniowo(m), kBladDanych);
  EXPECT_EQ(m.obliczono, 0);
}

TEST(Silnik, NodalValuesAreThoseOfTheLiteralProjection) {
  // The projection as written out plainly: the full band nbw, the literal
  // elimination.  A mesh with a stray numbering, two materials, and a
  // supported node that belongs to no element.
  const OpisModelu o = plyta_z_pulapkami();
  const int sam = static_cast<int>(o.wezly.size());  // the node of no element
  Model m;
  zbuduj(m, o);
  ASSERT_EQ(liniowo(m), 0);

  const int nn = m.nn, nbw = m.nbw;
  Macierz<double> s(1, m.nq, 1, nbw);
  Wektor<double> f(1, m.nq);
  for (int c = 1; c <= 3; ++c) {
    for (int i = 1; i <= m.nq; ++i) {
      f[i] = 0;
      for (int j = 1; j <= nbw; ++j) s[i][j] = 0;
    }
    for (int e = 1; e <= m.ne; ++e) {
      const int k1 = m.noc[e][1], k2 = m.noc[e][2], k3 = m.noc[e][3];
      const double x1 = m.x[k1][1], y1 = m.x[k1][2], x2 = m.x[k2][1], y2 = m.x[k2][2], x3 = m.x[k3][1],
                   y3 = m.x[k3][2];
      const double dj = (x1 - x3) * (y2 - y3) - (x3 - x2) * (y3 - y1);
      const double a1 = std::fabs(dj) / 24, ae = std::fabs(dj) * static_cast<double>(m.napr[e][c]) / 6;
      const int k[3] = {k1, k2, k3};
      for (int p = 0; p < 3; ++p) {
        f[k[p]] += ae;
        for (int p2 = 0; p2 < 3; ++p2) {
          const int nc = k[p2] - k[p] + 1;
          if (nc > 0) s[k[p]][nc] += a1 * (p == p2 ? 2 : 1);
        }
      }
    }
    for (int i = 1; i <= nn; ++i)
      if (s[i][1] == 0) s[i][1] = 1e-38;
    int b = 0, b1 = 0;
    Obl0_wzorcowy<double>(s.dane(), f.dane(), nn, nbw, b, b1);
    ASSERT_EQ(b, 0);
    for (int i = 1; i <= nn; ++i) EXPECT_EQ(m.ww[i][c], static_cast<float>(f[i])) << i << "," << c;
  }
  for (int c = 1; c <= 4; ++c) EXPECT_EQ(m.ww[sam][c], 0.0f);
}
