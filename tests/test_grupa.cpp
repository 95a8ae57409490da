// Group selection with the mouse, the coordinates readout and the group
// commands, driven through the scripted platform as a user would.
#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <vector>

#include "app/komendy.h"
#include "app/okno.h"
#include "edit/grupa.h"
#include "fake_platform.h"
#include "model_builders.h"
#include "view/canvas.h"

namespace {

// A picture in memory: pixels, and the lines the band and the marks need
// (horizontal and vertical, the last pixel left out; dotted pens draw
// every other pixel).
struct Obraz : Canvas {
  Obraz(int w, int h) : W(w), H(h), pix(static_cast<std::size_t>(w * h), Kolor(255, 255, 255)) {}
  int W, H;
  std::vector<Kolor> pix;
  Kolor pioro;
  int szer = 1;
  StylPiora styl = StylPiora::Ciagly;
  int cx = 0, cy = 0;
  long odczyty = 0;

  int Szerokosc() const override { return W; }
  int Wysokosc() const override { return H; }
  void Pioro(Kolor k, int s, StylPiora st) override {
    pioro = k;
    szer = s;
    styl = st;
  }
  void Pedzel(Kolor) override {}
  void Prostokat(int, int, int, int) override {}
  void MoveTo(int x, int y) override {
    cx = x;
    cy = y;
  }
  void LineTo(int x, int y) override {
    const int dx = (x > cx) - (x < cx), dy = (y > cy) - (y < cy);
    int i = 0;
    for (int px = cx, py = cy; px != x || py != y; px += dx, py += dy, ++i) {
      if (styl == StylPiora::Kropkowany && i % 2) continue;
      SetPixel(px, py, pioro);
      if (dx == 0 && dy == 0) break;
    }
    cx = x;
    cy = y;
  }
  void Polyline(const Punkt*, int) override {}
  void Polygon(const Punkt*, int) override {}
  void KolorTekstu(Kolor) override {}
  void Czcionka(const std::string&, int, int) override {}
  void CzcionkaDomyslna() override {}
  void TextOut(int, int, const std::string&) override {}
  Kolor GetPixel(int x, int y) const override {
    const_cast<Obraz*>(this)->odczyty++;
    if (x < 0 || y < 0 || x >= W || y >= H) return Kolor(255, 255, 255);
    return pix[static_cast<std::size_t>(y * W + x)];
  }
  void SetPixel(int x, int y, Kolor k) override {
    if (x >= 0 && y >= 0 && x < W && y < H) pix[static_cast<std::size_t>(y * W + x)] = k;
  }
  int ile(Kolor k) const { return static_cast<int>(std::count(pix.begin(), pix.end(), k)); }
};

// The scripted platform with a picture of the main window.
struct PlatformaZObrazem : FakePlatform {
  Obraz obraz{400, 300};
  int pokazania = 0;
  Canvas* CanvasOkna() override { return &obraz; }
  void PokazRysunek() override { ++pokazania; }
};

constexpr Kolor kBialy(255, 255, 255);
constexpr Kolor kCzarny(0, 0, 0);
constexpr Kolor kPomaranczowy(255, 128, 0);

class Grupa : public testing::Test {
 protected:
  void TearDown() override { fp.sprawdz_zuzyte(); }

  // A 3 x 2 grid of nodes 10 apart, numbered row by row from the bottom,
  // shown as a paint of a 400 x 300 window would leave the transform:
  // 10 pixels per unit, node (0, 0) at pixel (25, 260).
  void siatka() {
    OpisModelu o = prostokat(2, 1, 20, 10);  // nodes 1 2 3 / 4 5 6
    zbuduj(m, o);
    widok(0.0f, 0.0f, 1.0f, 300);
  }
  void widok(float ax, float aa, float skala, int hmax) {
    okno.ax = ax;
    okno.aa = aa;
    okno.x0 = static_cast<int>(ax);
    okno.sx = okno.sa = skala;
    okno.hmax = hmax;
  }
  void przeciagnij(int x1, int y1, int x2, int y2) {
    okno.EvLButtonDown(x1, y1);
    okno.EvMouseMove((x1 + x2) / 2, (y1 + y2) / 2);
    okno.EvMouseMove(x2, y2);
    okno.EvLButtonUp(x2, y2);
  }
  std::vector<int> grupa() const {
    std::vector<int> g;
    if (m.j_grupa == 1)
      for (int j = 1; j <= m.i_grp; ++j) g.push_back(m.s_grp[j]);
    return g;
  }
  void wybierz(std::vector<int> w) {
    m.i_grp = static_cast<int>(w.size());
    m.s_grp.przydziel(1, m.i_grp);
    for (int j = 1; j <= m.i_grp; ++j) m.s_grp[j] = w[static_cast<std::size_t>(j - 1)];
    m.j_grupa = 1;
  }

  Model m;
  PlatformaZObrazem fp;
  _OKNO_ okno{m, fp};
};

}  // namespace

// --- the view transform ---------------------------------------------------------------------

TEST_F(Grupa, PointerReadsBackTheModelPointDrawnUnderIt) {
  zbuduj(m, prostokat(1, 1, 3.5f, 2.0f));
  widok(0.75f, -1.25f, 40.0f, 300);  // a fractional left edge
  for (int k = 1; k <= m.nn; ++k) {
    int px, py;
    ASSERT_TRUE(wezel_na_piksel(okno, k, px, py));
    float X, Y;
    piksel_na_model(okno, px, py, X, Y);
    // the pixel holds the node within one pixel's worth of model units
    EXPECT_NEAR(X, m.x[k][1], 1.0f / 40.0f) << k;
    EXPECT_NEAR(Y, m.x[k][2], 1.0f / 40.0f) << k;
  }
  float X, Y;
  piksel_na_model(okno, 25, 300 - 40, X, Y);
  EXPECT_FLOAT_EQ(X, 0.75f);  // the left margin is ax itself, not its integer part
  EXPECT_FLOAT_EQ(Y, -1.25f);
  piksel_na_model(okno, 25 + 80, 300 - 40 - 120, X, Y);
  EXPECT_FLOAT_EQ(X, 2.75f);
  EXPECT_FLOAT_EQ(Y, 1.75f);
}

TEST_F(Grupa, NodesFarOutsideAnyPictureHaveNoPixel) {
  zbuduj(m, prostokat(1, 1, 1, 1));
  m.x[2][1] = 3.0e38f;
  m.x[3][2] = std::numeric_limits<float>::quiet_NaN();
  widok(0, 0, 100, 300);
  int px, py;
  EXPECT_TRUE(wezel_na_piksel(okno, 1, px, py));
  EXPECT_FALSE(wezel_na_piksel(okno, 2, px, py));
  EXPECT_FALSE(wezel_na_piksel(okno, 3, px, py));
  // a drag over the whole window selects only what has a pixel in it
  przeciagnij(0, 0, 399, 299);
  EXPECT_EQ(grupa(), (std::vector<int>{1, 4}));
}

// --- the readout ----------------------------------------------------------------------------

TEST_F(Grupa, ReadoutFormats) {
  siatka();
  widok(0, 0, 10, 300);
  okno.EvMouseMove(25 + 53, 260 - 21);  // (5.3, 2.1): no node within 5 pixels
  EXPECT_EQ(fp.wspolrzedne, "x= 5.30, y= 2.10");
  okno.EvMouseMove(25 + 102, 260 - 97);  // (10.2, 9.7): node 5 at (10, 10)
  EXPECT_EQ(fp.wspolrzedne, "x=10.20, y= 9.70, węz. 5");
  okno.EvMouseMove(25 + 105, 260 - 105);  // 5 pixels off still counts
  EXPECT_EQ(fp.wspolrzedne, "x=10.50, y=10.50, węz. 5");
  okno.EvMouseMove(25 + 106, 260 - 100);
  EXPECT_EQ(fp.wspolrzedne, "x=10.60, y=10.00");
  okno.EvMouseMove(20, 100);  // left of the model's origin
  EXPECT_EQ(fp.wspolrzedne, "x=,          y=,        ");
  okno.EvMouseMove(100, 270);  // below it
  EXPECT_EQ(fp.wspolrzedne, "x=,          y=,        ");
}

TEST_F(Grupa, ReadoutShowsTheNodalStressOfTheMapInThreeFormats) {
  siatka();
  widok(0, 0, 10, 300);
  m.obliczono = 1;
  okno.p_napr = 1;
  okno.p_rn = 4;
  m.ww[5][4] = 0.25f;
  m.ww[5][1] = 77.0f;
  okno.EvMouseMove(125, 160);
  EXPECT_EQ(fp.wspolrzedne, "x=10.00, y=10.00, n=0.2500");
  m.ww[5][4] = 12.345f;
  okno.EvMouseMove(125, 160);
  EXPECT_EQ(fp.wspolrzedne, "x=10.00, y=10.00, n=12.35");
  m.ww[5][4] = 1500.0f;
  okno.EvMouseMove(125, 160);
  EXPECT_EQ(fp.wspolrzedne, "x=10.00, y=    10, n=1500.000000");
  okno.p_rn = 1;  // the component shown decides
  okno.EvMouseMove(125, 160);
  EXPECT_EQ(fp.wspolrzedne, "x=10.00, y=10.00, n=77.00");
  // map off, or results gone: the node number
  okno.p_napr = 0;
  okno.EvMouseMove(125, 160);
  EXPECT_EQ(fp.wspolrzedne, "x=10.00, y=10.00, węz. 5");
  okno.p_napr = 1;
  m.obliczono = 0;
  okno.EvMouseMove(125, 160);
  EXPECT_EQ(fp.wspolrzedne, "x=10.00, y=10.00, węz. 5");
}

TEST_F(Grupa, ACommandThatClearsTheResultsTakesTheStressOffTheReadoutAtOnce) {
  siatka();
  widok(0, 0, 10, 300);
  m.obliczono = 1;
  okno.p_napr = 1;
  m.ww[5][4] = 917.28f;
  okno.EvMouseMove(125, 160);
  EXPECT_EQ(fp.wspolrzedne, "x=10.00, y=10.00, n=917.28");
  fp.ok({{"gr", "2"}}, {}, 3160);
  ASSERT_TRUE(wykonaj_komende(okno, 51701));  // a new thickness, the pointer still
  EXPECT_EQ(m.obliczono, 0);
  EXPECT_EQ(fp.wspolrzedne, "x=10.00, y=10.00, węz. 5");
}

TEST_F(Grupa, ReadoutWithOneNodeOrNoModel) {
  okno.EvMouseMove(45, 230);  // no model and no paint yet: hmax is 0, so Y < 0
  EXPECT_EQ(fp.wspolrzedne, "x=,          y=,        ");
  okno.hmax = 300;
  okno.EvMouseMove(45, 230);  // the transform the constructor sets, 1 pixel per unit
  EXPECT_EQ(fp.wspolrzedne, "x=20.00, y=30.00");
  OpisModelu o;
  o.wezly = {{1, 1}};
  zbuduj(m, o);
  widok(1, 1, 10, 300);
  okno.EvMouseMove(25, 260);
  EXPECT_EQ(fp.wspolrzedne, "x= 1.00, y= 1.00");  // a lone node is never reported
}

// --- selection --------------------------------------------------------------------------------

TEST_F(Grupa, DraggingSelectsTheNodesInsideBordersIncludedEitherWay) {
  siatka();
  widok(0, 0, 10, 300);
  // nodes at x 25, 125, 225 and y 260 (bottom row), 160 (top row)
  przeciagnij(20, 150, 125, 265);  // node 5 on the right border
  EXPECT_EQ(grupa(), (std::vector<int>{1, 2, 4, 5}));
  EXPECT_EQ(fp.kursor, Kursor::Normalny);
  przeciagnij(125, 265, 20, 150);  // the other way round
  EXPECT_EQ(grupa(), (std::vector<int>{1, 2, 4, 5}));
  przeciagnij(226, 160, 124, 160);  // a flat band through the top row
  EXPECT_EQ(grupa(), (std::vector<int>{5, 6}));
  przeciagnij(130, 100, 220, 150);  // nothing inside: no group
  EXPECT_EQ(m.j_grupa, 0);
  EXPECT_FALSE(m.s_grp.istnieje());
  EXPECT_FALSE(komenda_wlaczona(okno, 51698));
}

TEST_F(Grupa, PressShowsTheCrossAndAPlainClickSelectsTheNodeUnderIt) {
  siatka();
  widok(0, 0, 10, 300);
  okno.EvLButtonDown(125, 160);
  EXPECT_EQ(fp.kursor, Kursor::Krzyz);
  EXPECT_EQ(okno.w_grup, 1);
  okno.EvLButtonUp(125, 160);
  EXPECT_EQ(okno.w_grup, 0);
  EXPECT_EQ(grupa(), std::vector<int>{5});
  EXPECT_TRUE(komenda_wlaczona(okno, 51698));
  okno.EvLButtonDown(126, 161);  // a pixel off: the node is outside the 1-pixel rectangle
  okno.EvLButtonUp(126, 161);
  EXPECT_EQ(m.j_grupa, 0);
}

TEST_F(Grupa, EachReleaseDropsTheOldGroupAndRepaintsOnlyThen) {
  siatka();
  widok(0, 0, 10, 300);
  przeciagnij(0, 0, 399, 299);
  EXPECT_EQ(grupa().size(), 6u);
  EXPECT_EQ(fp.odswiezenia, 0);  // the marks are drawn on the picture directly
  przeciagnij(200, 150, 230, 170);
  EXPECT_EQ(grupa(), std::vector<int>{6});
  EXPECT_EQ(fp.odswiezenia, 1);  // the old marks go with a repaint
  EXPECT_TRUE(sprawdz_niezmienniki(m));
  // a release that had no press in the view changes nothing
  okno.EvLButtonUp(25, 260);
  EXPECT_EQ(grupa(), std::vector<int>{6});
}

TEST_F(Grupa, ReleasingTheModelDropsTheGroup) {
  siatka();
  przeciagnij(0, 0, 399, 299);
  okno.Zwol_pam();
  EXPECT_EQ(m.j_grupa, 0);
  okno.EvLButtonDown(10, 10);  // works without a model too
  okno.EvMouseMove(50, 50);
  okno.EvLButtonUp(50, 50);
  EXPECT_EQ(m.j_grupa, 0);
}

// --- the rubber band --------------------------------------------------------------------------

TEST_F(Grupa, BandFollowsThePointerAndLeavesNoTrace) {
  siatka();
  widok(0, 0, 10, 300);
  // something on the picture under the band
  for (int x = 0; x < 400; ++x) fp.obraz.SetPixel(x, 100, Kolor(0, 255, 255));
  const std::vector<Kolor> przed = fp.obraz.pix;
  okno.EvLButtonDown(50, 50);
  EXPECT_EQ(fp.obraz.pix, przed);  // the press draws nothing yet
  okno.EvMouseMove(150, 120);
  EXPECT_GT(fp.obraz.ile(kCzarny), 100);
  EXPECT_EQ(fp.obraz.GetPixel(50, 50), kCzarny);   // the dotted outline
  EXPECT_EQ(fp.obraz.GetPixel(51, 50), kBialy);
  EXPECT_EQ(fp.obraz.GetPixel(100, 80), kBialy);   // inside is untouched
  okno.EvMouseMove(10, 10);  // back over the start: the old outline is gone
  EXPECT_EQ(fp.obraz.GetPixel(150, 100), Kolor(0, 255, 255));
  EXPECT_EQ(fp.obraz.GetPixel(100, 120), kBialy);
  EXPECT_EQ(fp.obraz.GetPixel(10, 10), kCzarny);
  okno.EvLButtonUp(10, 10);  // no node inside: the picture is as before
  EXPECT_EQ(fp.obraz.pix, przed);
}

TEST_F(Grupa, BandOfAnySizeKeepsOnlyThePictureUnderIt) {
  siatka();
  widok(0, 0, 10, 300);
  const std::vector<Kolor> przed = fp.obraz.pix;
  okno.EvLButtonDown(0, 0);
  okno.EvMouseMove(-100000, 100000);  // the pointer far outside the window
  EXPECT_LE(okno.tkre.size(), static_cast<std::size_t>(2 * (400 + 300)));
  okno.EvMouseMove(100000, 100000);
  EXPECT_LE(okno.tkre.size(), static_cast<std::size_t>(2 * (400 + 300)));
  okno.EvMouseMove(399, 299);  // the outline along the picture's edges
  EXPECT_EQ(okno.tkre.size(), static_cast<std::size_t>(2 * 400 + 2 * 300));
  okno.EvLButtonUp(399, 299);
  // every node is inside: only the orange marks stay, of arms 3 wide 3
  int zmienione = 0;
  for (std::size_t i = 0; i < przed.size(); ++i)
    if (fp.obraz.pix[i] != przed[i]) {
      EXPECT_EQ(fp.obraz.pix[i], kPomaranczowy);
      ++zmienione;
    }
  EXPECT_GT(zmienione, 0);
  EXPECT_EQ(fp.obraz.GetPixel(125, 160), kPomaranczowy);
  EXPECT_EQ(fp.obraz.GetPixel(122, 160), kPomaranczowy);
  EXPECT_EQ(fp.obraz.GetPixel(125, 157), kPomaranczowy);
  EXPECT_EQ(fp.obraz.GetPixel(121, 160), kBialy);
}

// --- move -----------------------------------------------------------------------------------

TEST_F(Grupa, MoveShiftsTheGroupAndKeepsIt) {
  siatka();
  m.obliczono = 1;
  okno.Cm_Dane();
  okno.Cm_Wyniki();
  const int dane = okno.dd;
  wybierz({2, 5});
  fp.ok({{"px", "10"}, {"py", "-2.5"}}, {}, 3130);
  ASSERT_TRUE(wykonaj_komende(okno, 51698));
  ASSERT_EQ(fp.pokazane.size(), 1u);
  EXPECT_EQ(fp.pokazane[0].tytul, "Przemieszczenie grupy");
  EXPECT_EQ(fp.pokazane[0].pole("px"), "0.00");
  EXPECT_EQ(fp.pokazane[0].pole("py"), "0.00");
  EXPECT_EQ(m.x[2][1], 20.0f);
  EXPECT_EQ(m.x[2][2], -2.5f);
  EXPECT_EQ(m.x[5][1], 20.0f);
  EXPECT_EQ(m.x[5][2], 7.5f);
  EXPECT_EQ(m.x[3][1], 20.0f);  // others stay
  EXPECT_EQ(m.x[3][2], 0.0f);
  EXPECT_EQ(grupa(), (std::vector<int>{2, 5}));
  EXPECT_EQ(m.obliczono, 0);
  EXPECT_EQ(m.Pusty, 0);
  EXPECT_EQ(fp.odswiezenia, 1);
  // the results window closes, the data window stays and shows the move
  EXPECT_EQ(fp.okna.size(), 1u);
  EXPECT_EQ(fp.okna.count(dane), 1u);

  fp.anuluj();
  okno.Cm_Grupa_prz();
  EXPECT_EQ(m.x[2][1], 20.0f);
  fp.ok({{"px", "abc"}, {"py", ".5x"}});  // text without a number is 0
  okno.Cm_Grupa_prz();
  EXPECT_EQ(m.x[2][1], 20.0f);
  EXPECT_EQ(m.x[2][2], -2.0f);
}

TEST_F(Grupa, CommandsNeedAGroup) {
  siatka();
  for (int id : {51698, 51697, 51699, 51707, 51709}) EXPECT_FALSE(komenda_wlaczona(okno, id)) << id;
  okno.Cm_Grupa_prz();
  okno.Cm_Grupa_kop_prz();
  okno.Cm_Grupa_doom();
  okno.Cm_G_PODP();
  okno.Cm_G_SILA();
  EXPECT_TRUE(fp.pokazane.empty());
  EXPECT_TRUE(fp.komunikaty.empty());
  wybierz({1});
  for (int id : {51698, 51697, 51699, 51707, 51709}) EXPECT_TRUE(komenda_wlaczona(okno, id)) << id;
}

// --- forces ------------------------------------------------------------------------------------

TEST_F(Grupa, ForcesReplaceThoseOfEveryGroupNode) {
  OpisModelu o = prostokat(2, 1, 20, 10);
  o.sily = {{3, 5.0f}, {4, 6.0f}, {9, 1.0f}};
  zbuduj(m, o);
  wybierz({2, 3});
  okno.Cm_Dane();
  fp.anuluj(3040);
  okno.Cm_G_SILA();
  ASSERT_EQ(fp.pokazane.size(), 1u);
  EXPECT_EQ(fp.pokazane[0].tytul, "Obciążenie węzłów siłami");
  EXPECT_EQ(fp.pokazane[0].pole("i"), "GRP");
  EXPECT_EQ(fp.pokazane[0].pole("nr"), "GRP");
  EXPECT_EQ(fp.pokazane[0].pole("fx"), "0.0");
  EXPECT_EQ(fp.pokazane[0].pole("fy"), "0.0");
  EXPECT_EQ(m.si[3], 5.0f);  // "Anuluj": nothing changes, the group stays
  EXPECT_EQ(grupa(), (std::vector<int>{2, 3}));
  EXPECT_EQ(fp.okna.size(), 1u);

  fp.ok({{"fx", "-1.5"}, {"fy", "0"}});
  okno.Cm_G_SILA();
  EXPECT_EQ(m.si[3], -1.5f);
  EXPECT_EQ(m.si[4], 0.0f);  // replaced, not added
  EXPECT_EQ(m.si[5], -1.5f);
  EXPECT_EQ(m.si[6], 0.0f);
  EXPECT_EQ(m.f[5], -1.5f);
  EXPECT_EQ(m.si[9], 1.0f);  // node 5 is not in the group
  EXPECT_EQ(m.j_grupa, 0);
  EXPECT_TRUE(fp.okna.empty());
  EXPECT_EQ(m.obliczono, 0);
  EXPECT_TRUE(sprawdz_niezmienniki(m));
}

// --- supports -----------------------------------------------------------------------------------

TEST_F(Grupa, SupportsWithTheXBoxUncheckedRemoveTheGroupsXSupports) {
  OpisModelu o = prostokat(2, 1, 20, 10);
  // node 1 X and Y, node 2 X (twice, the later wins), node 4 Y, unsorted
  o.podpory = {{8, 0.0f}, {3, 0.5f}, {1, 0.0f}, {2, 0.0f}, {3, 0.25f}};
  zbuduj(m, o);
  wybierz({1, 2, 3});
  fp.ok({{"y", "-0.01"}}, {{"chx", 0}, {"chy", 1}}, 3030);
  ASSERT_TRUE(wykonaj_komende(okno, 51707));
  ASSERT_EQ(fp.pokazane.size(), 1u);
  EXPECT_EQ(fp.pokazane[0].tytul, "Wymuszone przesuniecia");
  EXPECT_EQ(fp.pokazane[0].pole("i"), "GRP");
  EXPECT_EQ(fp.pokazane[0].pole("nu"), "GRP");
  EXPECT_EQ(fp.pokazane[0].pole("x"), "0.0");
  EXPECT_EQ(fp.pokazane[0].pole("y"), "0.0");
  EXPECT_EQ(fp.pokazane[0].stany.at("chx"), 1);
  EXPECT_EQ(fp.pokazane[0].stany.at("chy"), 1);
  // Y of nodes 1..3 with -0.01, node 4 Y kept, no X left in the group
  ASSERT_EQ(m.nd, 4);
  const std::vector<int> nu = {m.nu[1], m.nu[2], m.nu[3], m.nu[4]};
  EXPECT_EQ(nu, (std::vector<int>{2, 4, 6, 8}));
  EXPECT_EQ(m.u[1], -0.01f);
  EXPECT_EQ(m.u[3], -0.01f);
  EXPECT_EQ(m.u[4], 0.0f);
  EXPECT_EQ(m.j_grupa, 0);
  EXPECT_EQ(m.obliczono, 0);
  EXPECT_TRUE(sprawdz_niezmienniki(m));
}

TEST_F(Grupa, SupportsCancelledStillSortTheListAndDropTheGroup) {
  OpisModelu o = prostokat(2, 1, 20, 10);
  o.podpory = {{8, 0.0f}, {3, 0.5f}, {1, 0.0f}, {3, 0.25f}};
  zbuduj(m, o);
  m.obliczono = 1;
  wybierz({6});
  fp.anuluj();
  okno.Cm_G_PODP();
  ASSERT_EQ(m.nd, 3);
  EXPECT_EQ((std::vector<int>{m.nu[1], m.nu[2], m.nu[3]}), (std::vector<int>{1, 3, 8}));
  EXPECT_EQ(m.u[2], 0.25f);
  EXPECT_EQ(m.j_grupa, 0);
  EXPECT_EQ(m.obliczono, 0);
  EXPECT_EQ(fp.odswiezenia, 1);

  // both boxes checked with values: the group node gets both
  wybierz({6});
  fp.ok({{"x", "1"}, {"y", "2"}});
  okno.Cm_G_PODP();
  ASSERT_EQ(m.nd, 5);
  EXPECT_EQ(m.nu[4], 11);
  EXPECT_EQ(m.u[4], 1.0f);
  EXPECT_EQ(m.nu[5], 12);
  EXPECT_EQ(m.u[5], 2.0f);
  EXPECT_EQ(m.react.hi(), 5);

  // both unchecked on every node: no supports left at all
  wybierz({1, 2, 3, 4, 5, 6});
  fp.ok({}, {{"chx", 0}, {"chy", 0}});
  okno.Cm_G_PODP();
  EXPECT_EQ(m.nd, 0);
  EXPECT_FALSE(m.nu.istnieje());
  EXPECT_TRUE(sprawdz_niezmienniki(m));
}

// --- copy ------------------------------------------------------------------------------------

namespace {

// One element (2, 3, 1) of material 2 on nodes 1..3 and a free node 4;
// forces on nodes 2, 3 and 4; node 1 fixed, node 4 held in X.
OpisModelu element_z_sasiadem() {
  OpisModelu o;
  o.wezly = {{0, 0}, {4, 0}, {0, 3}, {9, 9}};
  o.elementy = {{2, 3, 1}};
  o.materialy_el = {2};
  o.materialy = {{}, {0.2f, {{30000.0f, 20.0f}}, 0}};
  o.sily = {{3, 5.0f}, {6, -7.0f}, {8, 1.0f}};
  o.podpory = {{1, 0.0f}, {2, 0.0f}, {7, 0.5f}};
  return o;
}

std::vector<int> lista(const Wektor<int>& v, int n) {
  std::vector<int> r;
  for (int i = 1; i <= n; ++i) r.push_back(v[i]);
  return r;
}

}  // namespace

TEST_F(Grupa, CopyOfAnElementGroupAddsNodesElementForcesAndSupports) {
  zbuduj(m, element_z_sasiadem());
  m.obliczono = 1;
  okno.Cm_Dane();
  okno.Cm_Wyniki();
  wybierz({1, 2, 3});
  fp.ok({{"px", "10"}}, {}, 3120);
  ASSERT_TRUE(wykonaj_komende(okno, 51697));
  ASSERT_EQ(fp.pokazane.size(), 1u);
  EXPECT_EQ(fp.pokazane[0].tytul, "Kopiuj grupę z przemieszczeniem");
  EXPECT_EQ(fp.pokazane[0].pole("px"), "0.00");
  EXPECT_EQ(fp.pokazane[0].pole("py"), "0.00");
  for (const char* c : {"wezly", "elementy", "sily", "podpory"}) EXPECT_EQ(fp.pokazane[0].stany.at(c), 1) << c;

  ASSERT_EQ(m.nn, 7);
  EXPECT_EQ(m.nq, 14);
  EXPECT_EQ(m.x[5][1], 10.0f);
  EXPECT_EQ(m.x[6][1], 14.0f);
  EXPECT_EQ(m.x[7][1], 10.0f);
  EXPECT_EQ(m.x[7][2], 3.0f);
  EXPECT_EQ(m.x[4][1], 9.0f);  // the node outside the group is not copied
  // the copies carry their sources' forces
  EXPECT_EQ(m.si[11], 5.0f);
  EXPECT_EQ(m.si[14], -7.0f);
  EXPECT_EQ(m.si[9] + m.si[10] + m.si[12] + m.si[13], 0.0f);
  EXPECT_EQ(m.f[11], 5.0f);
  // one more element of the same material, its corners in the group's order
  ASSERT_EQ(m.ne, 2);
  EXPECT_EQ((std::vector<int>{m.noc[2][1], m.noc[2][2], m.noc[2][3]}), (std::vector<int>{5, 6, 7}));
  EXPECT_EQ(m.mat[2], 2);
  EXPECT_EQ((std::vector<int>{m.noc[1][1], m.noc[1][2], m.noc[1][3]}), (std::vector<int>{2, 3, 1}));
  // node 5 is fixed like node 1
  EXPECT_EQ(lista(m.nu, m.nd), (std::vector<int>{1, 2, 7, 9, 10}));
  EXPECT_EQ(m.react.hi(), 5);
  // the source nodes stay selected; tables closed, results gone
  EXPECT_EQ(grupa(), (std::vector<int>{1, 2, 3}));
  EXPECT_TRUE(fp.okna.empty());
  EXPECT_EQ(m.obliczono, 0);
  EXPECT_EQ(fp.odswiezenia, 1);
  EXPECT_TRUE(sprawdz_niezmienniki(m));
}

TEST_F(Grupa, CopyOfNodesOnlyAndWithoutNodes) {
  zbuduj(m, element_z_sasiadem());
  wybierz({2, 3, 4});
  fp.ok({{"px", "-1"}, {"py", "0.5"}}, {{"elementy", 0}, {"sily", 0}, {"podpory", 0}});
  okno.Cm_Grupa_kop_prz();
  ASSERT_EQ(m.nn, 7);
  EXPECT_EQ(m.ne, 1);  // node 1 is not in the group: its element is not copied
  EXPECT_EQ(m.nd, 3);
  for (int d = 9; d <= 14; ++d) EXPECT_EQ(m.si[d], 0.0f) << d;
  EXPECT_EQ(m.x[7][1], 8.0f);
  EXPECT_EQ(m.x[7][2], 9.5f);
  // a copy of the copy: supports from node 4 (X held, 0.5) go to node 8
  wybierz({4});
  fp.ok({}, {{"elementy", 0}, {"sily", 0}});
  okno.Cm_Grupa_kop_prz();
  EXPECT_EQ(m.nn, 8);
  EXPECT_EQ(lista(m.nu, m.nd), (std::vector<int>{1, 2, 7, 15}));
  EXPECT_EQ(m.u[4], 0.5f);
  EXPECT_TRUE(sprawdz_niezmienniki(m));

  fp.wyczysc();
  fp.ok({}, {{"wezly", 0}});
  okno.Cm_Grupa_kop_prz();
  ASSERT_EQ(fp.komunikaty.size(), 1u);
  EXPECT_EQ(fp.komunikaty[0].tekst, "Nie można przeprowadzić kopiowania, jeśli nie zaznaczono węzłów jako obiektów");
  EXPECT_EQ(fp.komunikaty[0].tytul, "Błąd podczas kopiowania");
  EXPECT_EQ(fp.komunikaty[0].ikona, Ikona::Brak);
  EXPECT_EQ(fp.komunikaty[0].przyciski, Przyciski::OK);
  EXPECT_EQ(m.nn, 8);
  EXPECT_EQ(fp.odswiezenia, 0);
  fp.anuluj();
  okno.Cm_Grupa_kop_prz();
  EXPECT_EQ(m.nn, 8);
}

// --- delete -----------------------------------------------------------------------------------

TEST_F(Grupa, DeleteKeepsAnElementWithOneCornerInTheGroup) {
  OpisModelu o = prostokat(1, 1, 1, 1);  // elements (1 2 4), (1 3 4)
  o.wezly.push_back({2, 2});             // a free node 5
  o.podpory = {{1, 0.0f}, {3, 0.0f}, {4, 0.1f}};
  o.sily = {{4, -3.0f}, {9, 2.0f}, {7, 1.0f}};
  zbuduj(m, o);
  m.obliczono = 1;
  okno.Cm_Dane();
  okno.Cm_Wyniki();
  wybierz({2, 5});
  fp.tak().ok({}, {}, 3140);
  ASSERT_TRUE(wykonaj_komende(okno, 51699));
  ASSERT_EQ(fp.komunikaty.size(), 1u);
  EXPECT_EQ(fp.komunikaty[0].tekst, "Czy jesteś pewien ?");
  EXPECT_EQ(fp.komunikaty[0].tytul, "Kasowanie grupy");
  EXPECT_EQ(fp.komunikaty[0].ikona, Ikona::Pytanie);
  ASSERT_EQ(fp.pokazane.size(), 1u);
  EXPECT_EQ(fp.pokazane[0].tytul, "Kasowanie grupy");
  EXPECT_EQ(fp.pokazane[0].pole("we"), "2");
  EXPECT_EQ(fp.pokazane[0].pole("el"), "0");
  EXPECT_EQ(fp.pokazane[0].pole("po"), "2");
  EXPECT_EQ(fp.pokazane[0].pole("si"), "2");

  // node 2 stays for element 1, without forces and supports; node 5 goes
  EXPECT_EQ(m.nn, 4);
  EXPECT_EQ(m.nq, 8);
  EXPECT_EQ(m.ne, 2);
  EXPECT_EQ(m.x[2][1], 1.0f);
  EXPECT_EQ(m.si[3], 0.0f);
  EXPECT_EQ(m.si[4], 0.0f);
  EXPECT_EQ(m.si[7], 1.0f);
  EXPECT_EQ(lista(m.nu, m.nd), std::vector<int>{1});
  EXPECT_EQ(m.j_grupa, 0);
  EXPECT_TRUE(fp.okna.empty());
  EXPECT_EQ(m.obliczono, 0);
  EXPECT_EQ(m.Pusty, 0);
  EXPECT_TRUE(sprawdz_niezmienniki(m));
}

TEST_F(Grupa, DeleteRenumbersTheKeptNodesEverywhere) {
  OpisModelu o = prostokat(2, 1, 2, 1);  // (1 2 5) (1 4 5) (2 3 6) (2 5 6)
  o.podpory = {{8, 0.0f}, {12, 0.0f}, {9, 0.25f}};
  o.sily = {{9, 4.0f}, {12, 6.0f}};
  zbuduj(m, o);
  wybierz({2, 3, 6});
  fp.tak().ok();
  okno.Cm_Grupa_doom();
  // element (2 3 6) goes; node 3 with it; 2 and 6 stay for the other elements
  ASSERT_EQ(m.nn, 5);
  ASSERT_EQ(m.ne, 3);
  std::vector<int> noc;
  for (int e = 1; e <= m.ne; ++e)
    for (int k = 1; k <= 3; ++k) noc.push_back(m.noc[e][k]);
  EXPECT_EQ(noc, (std::vector<int>{1, 2, 4, 1, 3, 4, 2, 4, 5}));
  EXPECT_EQ(m.x[3][1], 0.0f);  // old node 4 at (0, 1)
  EXPECT_EQ(m.x[5][1], 2.0f);  // old node 6 at (2, 1)
  // node 4 Y and node 5 X keep their supports under the new numbers
  EXPECT_EQ(lista(m.nu, m.nd), (std::vector<int>{6, 7}));
  EXPECT_EQ(m.u[2], 0.25f);
  EXPECT_EQ(m.si[7], 4.0f);
  EXPECT_EQ(m.si[10], 0.0f);  // the kept group node 6 lost its force
  EXPECT_TRUE(sprawdz_niezmienniki(m));
}

TEST_F(Grupa, DeletingEveryNodeLeavesAnEmptyModel) {
  OpisModelu o = prostokat(1, 1, 1, 1);
  o.podpory = {{1, 0.0f}, {2, 0.0f}};
  o.sily = {{8, -1.0f}};
  zbuduj(m, o);
  wybierz({1, 2, 3, 4});
  fp.tak().ok();
  okno.Cm_Grupa_doom();
  EXPECT_EQ(fp.pokazane.at(0).pole("el"), "2");
  EXPECT_EQ(m.nn + m.ne + m.nd + m.nq, 0);
  EXPECT_EQ(m.Pusty, 0);
  EXPECT_EQ(m.nm, 1);
  EXPECT_FALSE(m.x.istnieje());
  EXPECT_FALSE(m.noc.istnieje());
  EXPECT_FALSE(m.nu.istnieje());
  EXPECT_TRUE(sprawdz_niezmienniki(m));
  EXPECT_TRUE(komenda_wlaczona(okno, 51688));  // nodes can be added again
  EXPECT_FALSE(komenda_wlaczona(okno, 51699));
}

TEST_F(Grupa, DeleteAnsweredNoOrCancelledChangesNothing) {
  zbuduj(m, prostokat(1, 1, 1, 1));
  wybierz({1});
  fp.nie();
  okno.Cm_Grupa_doom();
  EXPECT_TRUE(fp.pokazane.empty());
  fp.tak().anuluj();
  okno.Cm_Grupa_doom();
  EXPECT_EQ(m.nn, 4);
  EXPECT_EQ(grupa(), std::vector<int>{1});
  EXPECT_EQ(fp.odswiezenia, 0);
}
