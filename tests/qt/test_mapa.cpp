// Stress maps as a user sees them: the colours of the sub-triangles for
// known values, the bands between isolines in the colour of their upper
// level, the colour scale with its cells and labels, the part above the
// limit of material 1, and maps that cannot have a limit.
#include <unistd.h>

#include <array>
#include <filesystem>

#include "test_rysunek_pomoc.h"

namespace {

std::string rysunek_tekst(float v) {
  char b[64];
  std::snprintf(b, sizeof b, "%3.1f", static_cast<double>(v));
  return b;
}

// One triangle (0,0) (10,0) (5,8); in a window 300 high its corners land at
// N1 (25,260), N2 (337.5,260), N3 (181.25,10) (31.25 pixels per unit).
class Mapa : public Obrazek {
 protected:
  void trojkat(float w1, float w2, float w3, float element, float L = 300.0f) {
    OpisModelu o;
    o.wezly = {{0, 0}, {10, 0}, {5, 8}};
    o.elementy = {{1, 2, 3}};
    o.materialy.push_back({});
    o.materialy[0].przedzialy = {{200000.0f, L}};
    zbuduj(m, o);
    ustaw(4, w1, w2, w3, element);
    m.obliczono = 1;
    nic();
    okno.Cm_Napr4();
  }
  void ustaw(int k, float w1, float w2, float w3, float element) {
    m.ww[1][k] = w1;
    m.ww[2][k] = w2;
    m.ww[3][k] = w3;
    m.napr[1][k] = element;
  }
  // Screen point of the model point with barycentric weights of corners 2 and 3.
  static std::pair<int, int> punkt(float l2, float l3) {
    const float x = 10.0f * l2 + 5.0f * l3, y = 8.0f * l3;
    return {static_cast<int>(31.25f * x + 25.0f), static_cast<int>(260.0f - 31.25f * y)};
  }
  Kolor w(float l2, float l3) const {
    const auto [x, y] = punkt(l2, l3);
    return px(x, y);
  }
};

}  // namespace

TEST_F(Mapa, FourSubTrianglesTakeTheColoursOfTheCornerValuesAndOfTheElement) {
  okno.iizol = 2;  // sub-triangles only, no bands up to the limit
  trojkat(0, 50, 100, 50);
  maluj(400, 300);
  // range 0..100, 2 cells per stress unit
  EXPECT_EQ(w(0.05f, 0.05f), okno.knapr[200]);  // corner 1: value 0 is the bottom of the range
  EXPECT_EQ(w(0.9f, 0.05f), okno.knapr[100]);   // corner 2: 50
  EXPECT_EQ(w(0.05f, 0.9f), okno.knapr[0]);     // corner 3: 100, the top
  EXPECT_EQ(w(0.33f, 0.33f), okno.knapr[100]);  // centre: the element's 50
  EXPECT_EQ(okno.knapr[200], Kolor(0, 101, 221));
  EXPECT_EQ(okno.knapr[0], Kolor(0, 105, 0));
}

TEST_F(Mapa, WithOneLevelEveryElementHasTheColourOfItsOwnStress) {
  okno.iizol = 1;
  trojkat(0, 50, 100, 75);
  maluj(400, 300);
  for (auto [l2, l3] : {std::pair(0.05f, 0.05f), std::pair(0.9f, 0.05f), std::pair(0.05f, 0.9f), std::pair(0.3f, 0.3f)})
    EXPECT_EQ(w(l2, l3), okno.knapr[50]) << l2 << "," << l3;
}

TEST_F(Mapa, BandsBetweenIsolinesTakeTheColourOfTheirUpperLevel) {
  okno.iizol = 5;  // levels 0, 25, 50, 75, 100
  trojkat(0, 50, 100, 50);
  maluj(400, 300);
  EXPECT_EQ(w(0.09f, 0.04f), okno.knapr[150]);  // value 8.6: band 0..25 in the colour of 25
  EXPECT_EQ(w(0.34f, 0.2f), okno.knapr[100]);   // 37: 25..50 in the colour of 50
  EXPECT_EQ(w(0.25f, 0.5f), okno.knapr[50]);    // 62.5: 50..75 in the colour of 75
  EXPECT_EQ(w(0.04f, 0.92f), okno.knapr[0]);    // 94: above the last line the sub-triangle stays

  // A corner between two lines belongs to their band: near corner 2 (60)
  // the band 50..75 in the colour of 75, not the corner's own colour.
  ustaw(4, 0, 60, 100, 50);
  maluj(400, 300);
  EXPECT_EQ(w(0.9f, 0.05f), okno.knapr[50]);
  EXPECT_EQ(w(0.7f, 0.25f), okno.knapr[50]);
}

TEST_F(Mapa, TheScaleShowsTheCellsOfBothTablesAndTheirLabels) {
  okno.iizol = 2;
  trojkat(0, 50, 100, 50);
  maluj(1090, 300);  // cells 4 pixels wide
  for (int i : {1, 2, 100, 150, 200}) EXPECT_EQ(px(4 * i + 262, 294), okno.knapr[i]) << i;
  for (int i : {1, 25, 50}) EXPECT_EQ(px(4 * i + 22, 294), okno.knapp[i]) << i;
  EXPECT_EQ(px(240, 294), kBialy);  // the gap of ten cells
  EXPECT_EQ(px(500, 299), kCzarny);  // the frame lines
  EXPECT_EQ(px(500, 290), kCzarny);
  EXPECT_TRUE(napis(260, 278, "100.00", kCzarny));   // cell 1: miw + 200/ss
  EXPECT_TRUE(napis(356, 278, "87.50", kCzarny));    // cell 25
  EXPECT_TRUE(napis(656, 278, "50.00", kCzarny));    // cell 100
  EXPECT_TRUE(napis(z_prawej("0.0000"), 278, "0.0000", kCzarny));  // cell 200: miw, moved in from the edge
  // nothing above the limit 300: the left part still reads L + 49, L + 25, L
  EXPECT_TRUE(napis(20, 278, "349.0", kCzarny));
  EXPECT_TRUE(napis(116, 278, "325.0", kCzarny));
  EXPECT_TRUE(napis(216, 278, "300.0", kCzarny));
}

TEST_F(Mapa, AllNegativeValuesGiveAPositiveTopFromTheFirstNodeAndAPlainBottomLabel) {
  okno.iizol = 2;
  trojkat(-500, -300, -100, -300, 1000.0f);
  maluj(1090, 300);
  EXPECT_TRUE(napis(260, 278, "500.00", kCzarny));       // |ww[1]| is the top of the range
  EXPECT_TRUE(napis(z_prawej("-500.0000"), 278, "-500.0000", kCzarny));  // only values above 9 switch format
  EXPECT_EQ(w(0.05f, 0.05f), okno.knapr[200]);
}

TEST_F(Mapa, ValuesAboveTheLimitOfMaterialOneTakeTheSecondTable) {
  okno.iizol = 2;
  trojkat(50, 100, 150, 100, 100.0f);
  maluj(1090, 300);
  EXPECT_EQ(okno.spl, 1.0f);  // 50 cells over 50 stress units
  EXPECT_FLOAT_EQ(okno.stpp, 50.0f / 49.0f);
  const Kolor gora = w(0.04f, 0.94f);  // near corner 3: about 147
  EXPECT_EQ(gora.g, 0);
  EXPECT_EQ(gora.b, 0);
  EXPECT_GE(gora.r, 135);
  EXPECT_LE(gora.r, 145);
  EXPECT_EQ(w(0.05f, 0.05f), okno.knapr[200]);  // near corner 1 (50): below the limit
  EXPECT_TRUE(napis(20, 278, "149.0", kCzarny));
  EXPECT_TRUE(napis(116, 278, "125.0", kCzarny));
  EXPECT_TRUE(napis(216, 278, "100.0", kCzarny));
  EXPECT_TRUE(napis(1056, 278, "50.00", kCzarny));
}

TEST_F(Mapa, WhenEveryValueExceedsTheLimitThePartUpToItCoversOneStressUnit) {
  okno.iizol = 2;
  trojkat(50, 100, 150, 100, 10.0f);
  maluj(1090, 300);
  EXPECT_TRUE(napis(z_prawej("9.0000"), 278, "9.0000", kCzarny));  // miw = L - 1
  EXPECT_TRUE(napis(260, 278, "10.00", kCzarny));
  const float spl = 50.0f / (150.0f - 10.0f);
  EXPECT_EQ(okno.spl, spl);
  EXPECT_TRUE(napis(20, 278, rysunek_tekst(10.0f + 49.0f / spl), kCzarny));
}

TEST_F(Mapa, TheSmallestValueRightAtTheLimitStillGivesAFiniteScale) {
  okno.iizol = 5;
  trojkat(100, 100, 150, 120, 100.0f);
  maluj(1090, 300);
  EXPECT_TRUE(napis(1056, 278, "99.00", kCzarny));  // miw moved one unit below the limit
}

TEST_F(Mapa, EqualValuesEverywhereRaiseTheTopByOne) {
  okno.iizol = 200;
  trojkat(7, 7, 7, 7);
  maluj(1090, 300);
  EXPECT_TRUE(napis(260, 278, "8.0000", kCzarny));
  EXPECT_TRUE(napis(z_prawej("7.0000"), 278, "7.0000", kCzarny));
  EXPECT_EQ(w(0.3f, 0.3f), okno.knapr[200]);
}

TEST_F(Mapa, WithoutAnyMaterialTheMapHasNoLimitAndNoPartAboveIt) {
  okno.iizol = 2;
  trojkat(0, 50, 100, 50);
  m.Prz.zwolnij();
  m.Ez.zwolnij();
  m.Sprz.zwolnij();
  m.pm.zwolnij();
  m.nm = 0;
  maluj(1090, 300);
  EXPECT_EQ(ile(kBialy, 25, 291, 225, 297), 200 * 6);  // no cells left of the gap
  EXPECT_EQ(px(4 * 100 + 262, 294), okno.knapr[100]);
  EXPECT_EQ(w(0.05f, 0.9f), okno.knapr[0]);
}

TEST_F(Mapa, TheContinuousTableColoursTheSameValuesOtherwise) {
  okno.iizol = 2;
  okno.p_skok = 0;
  okno.Pasek_kol();
  trojkat(0, 50, 100, 50);
  maluj(400, 300);
  EXPECT_EQ(w(0.05f, 0.9f), Kolor(255, 0, 0));
  EXPECT_EQ(w(0.05f, 0.05f), Kolor(55, 8, 220));
}

TEST_F(Mapa, TheMapLiesUnderTheMeshAndNeedsValidResults) {
  okno.iizol = 2;
  trojkat(0, 50, 100, 50);
  okno.p_siatka = 1;
  maluj(400, 300);
  EXPECT_EQ(px(181, 260), kCyjan);  // the bottom edge on top of the colours
  EXPECT_EQ(w(0.05f, 0.9f), okno.knapr[0]);

  m.obliczono = 0;
  maluj(400, 300);
  EXPECT_EQ(ile(okno.knapr[0]), 0);
  EXPECT_EQ(ile(okno.knapr[200]), 0);

  m.obliczono = 1;
  okno.Cm_Napr4();  // the same component again switches the map off
  EXPECT_EQ(okno.p_napr, 0);
  maluj(400, 300);
  EXPECT_EQ(ile(okno.knapr[0]), 0);
}

TEST_F(Mapa, EachComponentHasItsOwnMap) {
  okno.iizol = 2;
  trojkat(0, 50, 100, 50);
  ustaw(1, 100, 50, 0, 50);  // sigma x the other way round
  okno.Cm_Napr1();
  EXPECT_EQ(okno.p_rn, 1);
  maluj(400, 300);
  EXPECT_EQ(w(0.05f, 0.05f), okno.knapr[0]);
  EXPECT_EQ(w(0.05f, 0.9f), okno.knapr[200]);
}

TEST_F(Mapa, ALevelCountOutsideTheRangeIsLimitedByThePaint) {
  trojkat(0, 50, 100, 50);
  okno.iizol = 5000;
  maluj(400, 300);
  const QImage duzo = img;
  okno.iizol = 200;
  maluj(400, 300);
  EXPECT_EQ(img, duzo);
  okno.iizol = -3;
  maluj(400, 300);
  const QImage malo = img;
  okno.iizol = 1;
  maluj(400, 300);
  EXPECT_EQ(img, malo);
}

namespace {

// Maps of analysed models, looked at element by element.
class MapaModelu : public Obrazek {
 protected:
  void SetUp() override { okno.plik_dr = (std::filesystem::temp_directory_path() / dziennik).string(); }
  void TearDown() override {
    Obrazek::TearDown();
    std::filesystem::remove(okno.plik_dr);
  }
  void licz(const OpisModelu& o) {
    zbuduj(m, o);
    fp.ok({}, {}, 3200);
    okno.Obliczenia();
    ASSERT_EQ(m.obliczono, 1);
    nic();
    okno.p_napr = 1;
    okno.p_rn = 4;
  }
  // Position of a colour on the colour scale, growing with the value: knapr
  // from index 200 (0) to 0 (200), then knapp from 50 (200) to 0 (250).
  int pozycja(Kolor k) const {
    for (int p = 0; p <= 50; ++p)
      if (okno.knapp[p] == k) return 250 - p;
    for (int r = 0; r <= 200; ++r)
      if (okno.knapr[r] == k) return 200 - r;
    return -1;
  }
  // Position of the colour of value v, on the map's range from the smallest
  // to the largest of |ww[1]|, the element stresses and the nodal values.
  int pozycja(float v) const {
    float maw = std::fabs(m.ww[1][4]), miw = maw;
    for (int e = 1; e <= m.ne; ++e)
      for (float u : {m.napr[e][4], m.ww[m.noc[e][1]][4], m.ww[m.noc[e][2]][4], m.ww[m.noc[e][3]][4]}) {
        maw = std::max(maw, u);
        miw = std::min(miw, u);
      }
    const float L = m.Sprz[1][1];
    if (v > L) return 250 - std::clamp(static_cast<int>(50.0f - (v - L) * okno.spl), 0, 50);
    return 200 - std::clamp(static_cast<int>(200.0f - (v - miw) * 200.0f / (std::min(maw, L) - miw)), 0, 200);
  }
  // With each level count every pixel more than two pixels inside an element
  // shows the colour of a value between the element's smallest and largest
  // nodal value (give or take one cell of the scale for rounding).
  void sprawdz(int w, int h, std::initializer_list<int> poziomy) {
    for (int poz : poziomy) {
      okno.iizol = poz;
      maluj(w, h);
      for (int e = 1; e <= m.ne; ++e) {
        float X[3], Y[3], v[3];
        for (int k = 0; k < 3; ++k) {
          const int n = m.noc[e][k + 1];
          X[k] = (m.x[n][1] - okno.ax) * okno.sx + 25.0f;
          Y[k] = static_cast<float>(okno.hmax) - ((m.x[n][2] - okno.aa) * okno.sa + 40.0f);
          v[k] = m.ww[n][4];
        }
        const int lo = pozycja(std::min({v[0], v[1], v[2]})) - 1, hi = pozycja(std::max({v[0], v[1], v[2]})) + 1;
        const float znak = (X[1] - X[0]) * (Y[2] - Y[0]) - (Y[1] - Y[0]) * (X[2] - X[0]) > 0 ? 1.0f : -1.0f;
        int zle = 0;
        const auto [x0, x1] = std::minmax({X[0], X[1], X[2]});
        const auto [y0, y1] = std::minmax({Y[0], Y[1], Y[2]});
        for (int y = std::max(0, static_cast<int>(y0)); y < std::min(h, static_cast<int>(y1)); ++y)
          for (int x = std::max(0, static_cast<int>(x0)); x < std::min(w, static_cast<int>(x1)); ++x) {
            bool wewnatrz = true;
            for (int k = 0; k < 3 && wewnatrz; ++k) {
              const float dx = X[(k + 1) % 3] - X[k], dy = Y[(k + 1) % 3] - Y[k];
              wewnatrz = znak * (dx * (y - Y[k]) - dy * (x - X[k])) > 2.0f * std::hypot(dx, dy);
            }
            const int p = wewnatrz ? pozycja(px(x, y)) : lo;
            zle += p < lo || p > hi;
          }
        EXPECT_EQ(zle, 0) << poz << " levels, element " << e;
      }
    }
  }
  const std::string dziennik = "skorba_mapa_" + std::to_string(::getpid()) + "_DR.txt";
};

}  // namespace

TEST_F(MapaModelu, EveryPixelOfAnElementShowsAValueBetweenItsNodalValues) {
  // A generated 8 x 2 cantilever, fixed at x = 0 and loaded at its free end:
  // bands that hold a corner of their element.
  OpisModelu o = prostokat(8, 2, 8.0f, 2.0f);
  o.materialy[0].przedzialy = {{200000.0f, 300.0f}};
  for (int r = 0; r <= 2; ++r) o.podpory.insert(o.podpory.end(), {{18 * r + 1, 0.0f}, {18 * r + 2, 0.0f}});
  o.sily.push_back({2 * 27, -100.0f});
  licz(o);
  sprawdz(640, 300, {200, 20, 4});

  // A square of two elements as the wizard builds it: element 1 has the
  // nodal values 388 to 400 and the element stress 60.
  o = prostokat4(1.0f, 1.0f);
  o.podpory = {{1, 0.0f}, {2, 0.0f}, {7, 0.0f}};
  o.sily = {{5, 300.0f}, {6, -100.0f}};
  licz(o);
  sprawdz(400, 400, {200, 4});
}
