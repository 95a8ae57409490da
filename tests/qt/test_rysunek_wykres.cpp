// The stress-strain plot of a material, drawn instead of the model.
#include "test_rysunek_pomoc.h"

namespace {

constexpr Kolor kZielony(0, 255, 0);

class Wykres : public Obrazek {
 protected:
  void material(std::vector<std::pair<float, float>> przedzialy) {
    OpisModelu o = prostokat4(10, 5);
    o.materialy[0].przedzialy = std::move(przedzialy);
    zbuduj(m, o);
    okno.SHOWGRAPH = 1;
    okno.nrma = 1;
  }
};

}  // namespace

TEST_F(Wykres, OneIntervalIsAStraightLineFromTheOriginToTheTopRightCorner) {
  material({{200000.0f, 200.0f}});
  maluj(400, 300);
  EXPECT_EQ(okno.maxx, 400.0f);
  EXPECT_EQ(okno.hmax, 300);
  EXPECT_NEAR(okno.sx, 350000.0f, 1.0f);  // the plot takes over the X scale
  EXPECT_EQ(ile(kCyjan), 0);              // nothing of the model
  // axes, black and 2 pixels wide, from the origin (25, 275)
  EXPECT_EQ(px(25, 150), kCzarny);
  EXPECT_EQ(px(200, 275), kCzarny);
  EXPECT_EQ(px(200, 278 - 5), kBialy);
  // the blue curve: origin, middle, end 25 pixels in from the right and the top
  EXPECT_EQ(px(200, 150), kNiebieski);
  EXPECT_EQ(px(374, 25), kNiebieski);
  EXPECT_EQ(px(305, 75), kNiebieski);
  EXPECT_EQ(px(378, 22), kBialy);
  // labels: strains at 0 and at the end (moved in to end at the window's
  // edge), the one stress limit, the title in the free corner above
  EXPECT_TRUE(napis(20, 278, "0.00000", kCzarny));
  EXPECT_TRUE(napis(z_prawej("0.00100"), 278, "0.00100", kCzarny));
  EXPECT_TRUE(napis(1, 25, "200.0", kCzarny));
  EXPECT_TRUE(napis(1, 4, "Materiał nr 1", kCzarny));
  // the dashed green grid at the end of the interval
  EXPECT_GT(ile(kZielony, 370, 30, 380, 270), 50);
  EXPECT_GT(ile(kZielony, 30, 20, 370, 30), 100);
}

TEST_F(Wykres, ThreeIntervalsGiveThreeGridLinesEachWayAndFourStrainLabels) {
  material({{200000.0f, 150.0f}, {100000.0f, 250.0f}, {50000.0f, 300.0f}});
  maluj(400, 300);
  // interval ends at strains 0.00075, 0.00175, 0.00275 -> x 120, 247, 375
  for (int x : {120, 247}) EXPECT_GT(ile(kZielony, x, 40, x + 1, 270), 100) << x;
  EXPECT_GT(ile(kZielony, 374, 40, 377, 270), 100);
  // limits 150, 250, 300 -> y 150, 66, 25
  for (int y : {150, 66, 25}) EXPECT_GT(ile(kZielony, 40, y, 360, y + 1), 100) << y;
  EXPECT_EQ(ile(kZielony, 130, 40, 240, 60), 0);  // nothing between the lines
  EXPECT_TRUE(napis(20, 278, "0.00000", kCzarny));
  EXPECT_TRUE(napis(115, 278, "0.00075", kCzarny));
  EXPECT_TRUE(napis(242, 278, "0.00175", kCzarny));
  EXPECT_TRUE(napis(1, 150, "150.0", kCzarny));
  EXPECT_TRUE(napis(1, 66, "250.0", kCzarny));
  EXPECT_TRUE(napis(1, 25, "300.0", kCzarny));
  // the curve breaks at the interval ends: steeper first, flatter last
  EXPECT_EQ(px(120, 150), kNiebieski);
  EXPECT_EQ(px(247, 66), kNiebieski);
}

TEST_F(Wykres, AnotherMaterialIsChosenByItsNumber) {
  OpisModelu o = prostokat4(10, 5);
  o.materialy.push_back({});
  o.materialy[1].przedzialy = {{100000.0f, 400.0f}};
  zbuduj(m, o);
  okno.SHOWGRAPH = 1;
  okno.nrma = 2;
  maluj(400, 300);
  EXPECT_TRUE(napis(1, 4, "Materiał nr 2", kCzarny));
  EXPECT_TRUE(napis(1, 25, "400.0", kCzarny));
  EXPECT_TRUE(napis(z_prawej("0.00400"), 278, "0.00400", kCzarny));
}

TEST_F(Wykres, WithNoMaterialNothingIsDrawnAndTheModelStaysHidden) {
  zbuduj(m, prostokat4(10, 5));
  m.Prz.zwolnij();
  m.Ez.zwolnij();
  m.Sprz.zwolnij();
  m.pm.zwolnij();
  m.nm = 0;
  okno.SHOWGRAPH = 1;
  maluj(400, 300);
  EXPECT_EQ(ile(kTlo), 400 * 300);
}

TEST_F(Wykres, AZeroModulusEndsTheCurveBeforeItsInterval) {
  material({{200000.0f, 150.0f}, {0.0f, 250.0f}, {50000.0f, 300.0f}});
  maluj(400, 300);
  // only the first interval can be placed: it fills the plot
  EXPECT_TRUE(napis(1, 25, "150.0", kCzarny));
  EXPECT_EQ(px(200, 150), kNiebieski);
  EXPECT_EQ(ile(kNiebieski, 0, 0, 400, 20), 0);
}

TEST_F(Wykres, AMaterialNumberOutsideTheModelLeavesAnEmptyPlot) {
  material({{200000.0f, 200.0f}});
  okno.nrma = 4;
  maluj(400, 300);
  EXPECT_EQ(ile(kBialy), 400 * 300);
  okno.nrma = 0;
  maluj(400, 300);
  EXPECT_EQ(ile(kBialy), 400 * 300);
}

TEST_F(Wykres, AWindowTooSmallForTheModelStillShowsThePlot) {
  material({{200000.0f, 200.0f}});
  maluj(120, 100);
  EXPECT_GT(ile(kNiebieski), 20);
}
