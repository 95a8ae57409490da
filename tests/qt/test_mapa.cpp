// Stress maps as a user sees them: the colours of the sub-triangles for
// known values, the bands between isolines in the colour of their upper
// level, the colour scale with its cells and labels, the part above the
// limit of material 1, and maps that cannot have a limit.
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
  EXPECT_TRUE(napis(1056, 278, "0.0000", kCzarny));  // cell 200: miw
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
  EXPECT_TRUE(napis(1056, 278, "-500.0000", kCzarny));   // only values above 9 switch format
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
  EXPECT_TRUE(napis(1056, 278, "9.0000", kCzarny));  // miw = L - 1
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
  EXPECT_TRUE(napis(1056, 278, "7.0000", kCzarny));
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
