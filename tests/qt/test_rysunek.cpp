// The model view as a user sees it: where the model lands in the window,
// the mesh, labels, node and group marks, support symbols, force arrows,
// the deformed shape with its scale bar, and the transform left for the
// mouse handling.
#include <QApplication>

#include "app/qt/qt_platform.h"
#include "app/qt/rama.h"
#include "test_rysunek_pomoc.h"

namespace {

class Widok : public Obrazek {};

}  // namespace

TEST_F(Widok, NoModelLeavesTheWindowAsItWasAndNoNodesOnlyTheWhiteBackground) {
  maluj(300, 200);
  EXPECT_EQ(ile(kTlo), 300 * 200);

  okno.Cm_Nowy();
  maluj(300, 200);
  EXPECT_EQ(ile(kBialy), 300 * 200);
  EXPECT_EQ(okno.maxx, 300.0f);
  EXPECT_EQ(okno.hmax, 200);
}

TEST_F(Widok, AWindowOf150PixelsOrLessShowsTheMessageInsteadOfTheModel) {
  zbuduj(m, prostokat4(10, 5));
  okno.ax = 123.0f;
  maluj(150, 400);
  EXPECT_TRUE(napis(10, 10, "Zbyt małe okno aby wyświetlić projekt", kCzarny, true));
  EXPECT_EQ(ile(kCyjan), 0);
  EXPECT_EQ(okno.maxx, 150.0f);
  EXPECT_EQ(okno.hmax, 400);
  EXPECT_EQ(okno.ax, 123.0f);  // the transform of the last drawn model stays

  maluj(400, 150);
  EXPECT_EQ(ile(kCyjan), 0);
  maluj(151, 151);
  EXPECT_GT(ile(kCyjan), 0);
  EXPECT_EQ(okno.ax, 0.0f);
}

TEST_F(Widok, AWideModelInASquareWindowSpans25PixelsFromBothSidesAnd40AboveTheBottom) {
  zbuduj(m, prostokat4(2, 1));
  nic_poza_siatka();
  maluj(400, 400);
  // both scales are the X scale: 350 pixels for 2 units
  EXPECT_EQ(okno.sx, 175.0f);
  EXPECT_EQ(okno.sa, 175.0f);
  EXPECT_EQ(okno.ax, 0.0f);
  EXPECT_EQ(okno.aa, 0.0f);
  EXPECT_EQ(okno.hmax, 400);
  EXPECT_EQ(okno.maxx, 400.0f);
  // bottom edge at 400 - 40, top edge at 360 - 175
  EXPECT_EQ(px(200, 360), kCyjan);
  EXPECT_EQ(px(200, 361), kBialy);
  EXPECT_EQ(px(200, 185), kCyjan);
  EXPECT_EQ(px(200, 184), kBialy);
  EXPECT_EQ(px(25, 300), kCyjan);
  EXPECT_EQ(px(24, 300), kBialy);
  EXPECT_EQ(px(375, 300), kCyjan);
  EXPECT_EQ(px(376, 300), kBialy);
}

TEST_F(Widok, ATallModelReachesTenPixelsFromTheTopAndTheTransformFollowsTheSmallestCoordinates) {
  OpisModelu o = prostokat4(1, 4);
  for (auto& w : o.wezly) {
    w[0] -= 2.75f;
    w[1] += 100.0f;
  }
  zbuduj(m, o);
  nic_poza_siatka();
  maluj(600, 450);
  EXPECT_EQ(okno.ax, -2.75f);
  EXPECT_EQ(okno.aa, 100.0f);
  EXPECT_EQ(okno.x0, -2);  // truncated toward zero
  EXPECT_EQ(okno.sa, 100.0f);
  EXPECT_EQ(okno.sx, 100.0f);
  EXPECT_EQ(px(25, 200), kCyjan);    // left edge
  EXPECT_EQ(px(125, 200), kCyjan);   // right edge: 1 unit = 100 pixels
  EXPECT_EQ(px(75, 10), kCyjan);     // top edge
  EXPECT_EQ(px(75, 9), kBialy);
  EXPECT_EQ(px(75, 410), kCyjan);    // bottom edge
  EXPECT_EQ(px(126, 200), kBialy);
}

TEST_F(Widok, TheWindowSizeChangesTheScaleAtTheNextPaint) {
  zbuduj(m, prostokat4(10, 5));
  maluj(400, 300);
  EXPECT_EQ(okno.sx, 35.0f);
  maluj(800, 600);
  EXPECT_EQ(okno.sx, 75.0f);
  EXPECT_EQ(okno.hmax, 600);
}

TEST_F(Widok, SupportSymbolsStandUnderAndBesideTheirNodes) {
  OpisModelu o = prostokat4(10, 5);          // screen: 1 (25,260) 2 (375,260) 3 (375,85) 4 (25,85)
  o.wezly.push_back({5.0f, 2.5f});          // node 5 at (200,172.5), in no element
  o.podpory = {{1, 0}, {2, 0}, {4, 0}, {7, 0}, {9, 0}, {10, 0}};
  zbuduj(m, o);
  nic_poza_siatka();
  okno.p_podp = 1;
  maluj(400, 300);
  // fixed support of node 1: apex one pixel under the node, base 8 lower
  EXPECT_EQ(px(25, 261), kCzarny);
  EXPECT_EQ(px(25, 269), kCzarny);
  EXPECT_EQ(px(18, 269), kCzarny);
  EXPECT_EQ(px(25, 273), kBialy);  // no base line: that is the roller's
  EXPECT_EQ(px(11, 273), kBialy);  // hatch strokes leave out their last pixel
  EXPECT_EQ(px(12, 272), kCzarny);
  // roller of node 2 (Y only): the same triangle and a base line 12 lower
  EXPECT_EQ(px(375, 261), kCzarny);
  EXPECT_EQ(px(375, 273), kCzarny);
  EXPECT_EQ(px(370, 273), kCzarny);
  // node 4 restrained in X: the triangle to its right and a wall 12 to the right
  EXPECT_EQ(px(26, 85), kCzarny);
  EXPECT_EQ(px(34, 85), kCzarny);
  EXPECT_EQ(px(38, 85), kCzarny);
  EXPECT_EQ(px(38, 80), kCzarny);
  // node 5 belongs to no element: no symbol
  EXPECT_EQ(ile(kCzarny, 185, 165, 215, 195), 0);

  okno.Cm_Podp();
  maluj(400, 300);
  EXPECT_EQ(ile(kCzarny), 0);
}

TEST_F(Widok, ANodeOfThreeElementsShowsOneFixedSymbolDrawnOverItself) {
  OpisModelu o;
  o.wezly = {{0, 0}, {2, 0}, {2, 2}, {0, 2}, {1, 1}};
  o.elementy = {{5, 1, 2}, {5, 2, 3}, {5, 3, 4}};
  o.materialy.push_back({});
  o.podpory = {{9, 0}, {10, 0}};
  zbuduj(m, o);
  nic();
  okno.p_podp = 1;
  maluj(300, 300);
  const QImage trzy = img;
  EXPECT_EQ(px(150, 136), kCzarny);  // apex under the centre node (150,135)
  o.elementy = {{5, 1, 2}};
  zbuduj(m, o);
  maluj(300, 300);
  EXPECT_EQ(img, trzy);
}

TEST_F(Widok, ForceArrowsPointTheirWayAndMoveInsideAtTheWindowEdges) {
  OpisModelu o = prostokat4(10, 10);  // 400x300: 1 (25,260) 2 (275,260) 3 (275,10) 4 (25,10)
  o.sily = {{2, -5}, {3, 5}, {6, 5}, {7, -5}};
  zbuduj(m, o);
  nic();
  okno.p_sily = 1;
  okno.p_sily_nr = 0;
  maluj(400, 300);
  // downward at node 1: shaft to (25,285), head strokes back up to y 279
  EXPECT_EQ(px(25, 270), kCzerwony);
  EXPECT_EQ(px(25, 285), kCzerwony);
  EXPECT_EQ(px(25, 288), kBialy);
  EXPECT_EQ(px(21, 279), kCzerwony);
  EXPECT_EQ(px(29, 279), kCzerwony);
  // to the right at node 2: 25 pixels long
  EXPECT_EQ(px(290, 260), kCzerwony);
  EXPECT_EQ(px(300, 260), kCzerwony);
  EXPECT_EQ(px(303, 260), kBialy);
  // upward at node 3 would leave the window: the tail moves 25 down, the tip is at the node
  EXPECT_EQ(px(275, 30), kCzerwony);
  EXPECT_EQ(px(275, 10), kCzerwony);
  EXPECT_EQ(px(275, 6), kBialy);
  EXPECT_EQ(px(271, 16), kCzerwony);
  // to the left at node 4: the tail moves 25 right, the tip is at the node
  EXPECT_EQ(px(40, 10), kCzerwony);
  EXPECT_EQ(px(25, 10), kCzerwony);
  EXPECT_EQ(px(20, 10), kBialy);

  okno.Cm_Sily();
  maluj(400, 300);
  EXPECT_EQ(ile(kCzerwony), 0);
}

TEST_F(Widok, AForceToTheRightAtTheRightEdgeEndsAtItsNode) {
  OpisModelu o = prostokat4(10, 5);  // node 3 at (375,85), 25 pixels from the right edge
  o.sily = {{5, 1}};
  zbuduj(m, o);
  nic();
  okno.p_sily = 1;
  maluj(400, 300);
  EXPECT_EQ(px(362, 85), kCzerwony);
  EXPECT_EQ(px(375, 85), kCzerwony);
  EXPECT_EQ(px(380, 85), kBialy);
  EXPECT_TRUE(napis(350, 85, "1", kCzerwony));
}

TEST_F(Widok, ForceNumbersCountTheNonzeroComponentsInDofOrderAtTheTails) {
  OpisModelu o = prostokat4(10, 10);
  o.sily = {{7, -5}, {8, 5}, {4, -3}, {3, 0}};  // node 4 both ways, node 2 down
  zbuduj(m, o);
  nic();
  okno.p_sily = 1;
  maluj(400, 300);
  EXPECT_TRUE(napis(275, 260, "1", kCzerwony));  // DOF 4
  EXPECT_TRUE(napis(50, 10, "2", kCzerwony));    // DOF 7, tail moved right
  EXPECT_TRUE(napis(25, 35, "3", kCzerwony));    // DOF 8, tail moved down
}

TEST_F(Widok, TheDeformedShapeMovesTheLargestComponentTenPixelsAndTheBarReadsTwiceIt) {
  zbuduj(m, prostokat4(10, 5));  // node 3 at (375,85)
  m.f[5] = 0.1f;
  m.f[6] = -0.5f;
  m.f[1] = 0.05f;
  m.obliczono = 1;
  nic_poza_siatka();
  okno.Cm_n_pola();
  maluj(400, 300);
  // node 3 drawn 10 pixels lower (downward displacement) and 2 to the right
  EXPECT_EQ(px(377, 95), kCzarny);
  EXPECT_EQ(px(375, 85), kCyjan);
  // node 1 moved 1 pixel to the right: the outline starts at (26,260)
  EXPECT_EQ(px(26, 260), kCzarny);
  // the scale bar: 20 pixels for 2 * 0.5
  EXPECT_EQ(px(2, 10), kCzarny);
  EXPECT_EQ(px(21, 10), kCzarny);
  EXPECT_EQ(px(2, 8), kCzarny);
  EXPECT_EQ(px(22, 11), kCzarny);
  EXPECT_TRUE(napis(3, 14, "1.00000000", kCzerwony));

  m.obliczono = 0;  // results of another model
  maluj(400, 300);
  EXPECT_EQ(ile(kCzarny), 0);
}

TEST_F(Widok, WithoutAnyDisplacementTheDeformedShapeAndItsBarAreLeftOut) {
  zbuduj(m, prostokat4(10, 5));
  for (int i = 1; i <= m.nq; ++i) m.f[i] = 0.0f;
  m.obliczono = 1;
  nic_poza_siatka();
  okno.Cm_n_pola();
  maluj(400, 300);
  EXPECT_EQ(ile(kCzarny), 0);
  EXPECT_EQ(ile(kCzerwony), 0);
  EXPECT_GT(ile(kCyjan), 0);
}

TEST_F(Widok, NodeNumbersStandRightBelowTheirNodesAndMarksOnThem) {
  zbuduj(m, prostokat4(10, 5));
  nic();
  okno.p_n_wezl = 1;
  maluj(400, 300);
  EXPECT_TRUE(napis(28, 265, "1", kNiebieski));
  EXPECT_TRUE(napis(378, 265, "2", kNiebieski));
  EXPECT_TRUE(napis(378, 90, "3", kNiebieski));

  okno.p_n_wezl = 0;
  okno.p_wez = 1;
  maluj(400, 300);
  EXPECT_EQ(px(25, 260), Kolor(255, 128, 128));
  EXPECT_EQ(px(375, 85), Kolor(255, 128, 128));
  EXPECT_EQ(px(200, 172), kBialy);
  EXPECT_EQ(ile(Kolor(255, 128, 128)), 4 * 12);  // four crosses of a 2-pixel pen

  // the group marks: orange crosses of 3-pixel arms, only for the selected nodes
  m.s_grp.przydziel(1, 1);
  m.s_grp[1] = 3;
  m.i_grp = 1;
  m.j_grupa = 1;
  maluj(400, 300);
  EXPECT_EQ(px(375, 85), Kolor(255, 128, 0));
  EXPECT_EQ(px(378, 85), Kolor(255, 128, 0));
  EXPECT_EQ(px(375, 82), Kolor(255, 128, 0));
  EXPECT_EQ(px(25, 260), Kolor(255, 128, 128));
}

TEST_F(Widok, InADenseMeshANodeNumberIsWrittenOnlyWhereItCoversNoOther) {
  // The numbers written, with their boxes.
  struct Zapis : QtCanvas {
    using QtCanvas::QtCanvas;
    std::vector<std::pair<QRect, std::string>> napisy;
    void TextOut(int x, int y, const std::string& t) override {
      const Wymiary r = WymiaryTekstu(t);
      napisy.push_back({QRect(x, y, r.szer, r.wys), t});
      QtCanvas::TextOut(x, y, t);
    }
  };
  nic();
  okno.p_n_wezl = 1;
  img = QImage(400, 300, QImage::Format_RGB32);
  for (int n : {100, 4}) {
    zbuduj(m, prostokat(n, n / 2, 100, 50));
    Zapis c(img);
    okno.Paint(c);
    // no two touch, and two side by side stand apart
    for (std::size_t i = 0; i < c.napisy.size(); ++i)
      for (std::size_t j = i + 1; j < c.napisy.size(); ++j)
        EXPECT_FALSE(c.napisy[i].first.adjusted(-2, 0, 2, 0).intersects(c.napisy[j].first))
            << c.napisy[i].second << " " << c.napisy[j].second;
    ASSERT_FALSE(c.napisy.empty());
    EXPECT_EQ(c.napisy.front().second, "1");
    if (n == 100) {
      EXPECT_GT(c.napisy.size(), 100u);  // still a number wherever one fits
    } else {
      EXPECT_EQ(c.napisy.size(), 15u);  // all of them where they fit
    }
  }
}

TEST_F(Widok, ElementAndMaterialNumbersStandAtTheCentroids) {
  OpisModelu o = prostokat4(10, 5);
  o.materialy_el = {1, 7};
  o.materialy.push_back({});
  o.materialy.resize(7);
  zbuduj(m, o);
  nic();
  okno.Cm_n_ele();
  maluj(400, 300);
  // element 1: centroid (6.67, 1.67) -> (258.3, 201.7); element 2: (3.33, 3.33) -> (141.7, 143.3)
  EXPECT_TRUE(napis(258, 201, "1", kCzarny));
  EXPECT_TRUE(napis(141, 143, "2", kCzarny));
  okno.Cm_n_mat();
  EXPECT_EQ(okno.p_n_ele, 0);
  maluj(400, 300);
  EXPECT_TRUE(napis(258, 201, "1", kCzarny));
  EXPECT_TRUE(napis(141, 143, "7", kCzarny));
}

TEST_F(Widok, LabelAnchorsAreCentroidsAlsoWithAVerticalMedianOrADegenerateElement) {
  OpisModelu o;
  o.wezly = {{0, 0}, {-1, 3}, {1, 0}, {2, 0}, {1, 5}, {0, 0}, {1, 1}, {2, 2}, {0.3f, 0.1f}, {4.1f, 0.7f},
             {1.9f, 3.3f}};
  o.elementy = {{1, 2, 3}, {1, 4, 5}, {6, 7, 8}, {9, 10, 11}};
  o.materialy.push_back({});
  zbuduj(m, o);
  EXPECT_FLOAT_EQ(okno.sciezx(1), 0.0f);  // median from corner 1 is vertical
  EXPECT_FLOAT_EQ(okno.sciezy(1), 1.0f);
  EXPECT_FLOAT_EQ(okno.sciezx(2), 1.0f);  // median from corner 3 is vertical
  EXPECT_FLOAT_EQ(okno.sciezy(2), 5.0f / 3.0f);
  EXPECT_FLOAT_EQ(okno.sciezx(3), 1.0f);  // all corners on a line: their mean
  EXPECT_FLOAT_EQ(okno.sciezy(3), 1.0f);
  EXPECT_NEAR(okno.sciezx(4), (0.3f + 4.1f + 1.9f) / 3.0f, 1e-5);
  EXPECT_NEAR(okno.sciezy(4), (0.1f + 0.7f + 3.3f) / 3.0f, 1e-5);
}

TEST_F(Widok, TheMeshTakesTheMeshColourAndCanBeSwitchedOff) {
  zbuduj(m, prostokat4(10, 5));
  nic_poza_siatka();
  maluj(400, 300);
  EXPECT_EQ(px(200, 172), kCyjan);  // on the diagonal of the rectangle (1 -> 3)
  okno.Cm_siatka();
  maluj(400, 300);
  EXPECT_EQ(ile(kBialy), 400 * 300);
}

TEST_F(Widok, NodesOnOneLineOrOnOnePointStillGetAFiniteTransform) {
  OpisModelu o;
  o.wezly = {{5, 0}, {5, 2}, {5, 4}};
  o.elementy = {{1, 2, 3}};
  o.materialy.push_back({});
  zbuduj(m, o);
  maluj(300, 300);
  EXPECT_TRUE(std::isfinite(okno.sx) && okno.sx > 0);
  EXPECT_EQ(okno.sx, okno.sa);
  EXPECT_EQ(okno.sa, 62.5f);  // the Y extent decides
  EXPECT_EQ(px(25, 150), kCyjan);

  o.wezly = {{7, 7}, {7, 7}, {7, 7}};
  zbuduj(m, o);
  maluj(300, 300);
  EXPECT_TRUE(std::isfinite(okno.sx) && okno.sx > 0);
  EXPECT_EQ(px(25, 260), Kolor(255, 128, 128));  // the single point at the origin corner
}

TEST_F(Widok, CoordinatesNearTheFloatLimitsStayInTheWindow) {
  OpisModelu o;
  o.wezly = {{-3.0e38f, -3.0e38f}, {3.0e38f, -3.0e38f}, {3.0e38f, 3.0e38f}};
  o.elementy = {{1, 2, 3}};
  o.materialy.push_back({});
  zbuduj(m, o);
  nic_poza_siatka();
  maluj(400, 400);
  EXPECT_TRUE(std::isfinite(okno.sx) && okno.sx > 0);
  EXPECT_EQ(px(200, 360), kCyjan);  // the bottom edge across the window
  EXPECT_EQ(px(375, 200), kCyjan);  // the right edge
}

TEST(WidokOknaRysunek, TheWindowPaintsTheModelIntoItsPictureAndGivesThePointerBack) {
  Model m;
  QtPlatform p;
  RamaOkna rama;
  p.ustawRame(&rama);
  {
    _OKNO_ okno(m, p);
    rama.ustawOkno(&okno);
    rama.resize(500, 400);
    rama.show();
    QApplication::processEvents();
    zbuduj(m, prostokat4(10, 5));
    rama.widok()->setCursor(Qt::CrossCursor);
    okno.Cm_siatka();  // a view switch asks for a repaint
    okno.Cm_siatka();
    rama.widok()->odrysuj();
    const QImage& obraz = rama.widok()->obraz();
    int cyjan = 0;
    for (int y = 0; y < obraz.height(); ++y)
      for (int x = 0; x < obraz.width(); ++x) cyjan += obraz.pixel(x, y) == qRgb(0, 255, 255);
    EXPECT_GT(cyjan, 100);
    EXPECT_EQ(okno.hmax, rama.widok()->height());
    EXPECT_EQ(rama.widok()->cursor().shape(), Qt::CrossCursor);
    rama.ustawOkno(nullptr);
  }
  p.ustawRame(nullptr);
}
