// The QImage canvas: the drawing conventions the pictures rely on (thin
// lines without their last pixel, wide round lines with both ends, polygons
// filled by the alternating rule with their outline), clipping of absurd
// coordinates, the scroll offset of table windows, text with its opaque
// background, and the pointer while a paint runs.
#include <gtest/gtest.h>

#include <QImage>
#include <QWidget>
#include <climits>

#include "app/qt/qt_canvas.h"

namespace {

constexpr QRgb kBialy = 0xffffffff;

QImage obraz(int w = 40, int h = 40) {
  QImage img(w, h, QImage::Format_RGB32);
  img.fill(Qt::white);
  return img;
}

int ile(const QImage& img, QRgb c) {
  int n = 0;
  for (int y = 0; y < img.height(); ++y)
    for (int x = 0; x < img.width(); ++x) n += img.pixel(x, y) == c;
  return n;
}

QRgb rgb(int r, int g, int b) { return qRgb(r, g, b); }

}  // namespace

TEST(QtCanvasRastr, ThinLinesKeepTheirStartAndLeaveOutTheirEndInEveryDirection) {
  QImage img = obraz();
  {
    QtCanvas c(img);
    ASSERT_TRUE(c.szybki());
    c.Pioro(Kolor(0, 0, 0), 1, StylPiora::Ciagly);
    c.MoveTo(30, 5);
    c.LineTo(20, 5);  // leftwards
    c.MoveTo(5, 30);
    c.LineTo(5, 20);  // upwards
    c.MoveTo(10, 10);
    c.LineTo(16, 16);  // diagonal
    c.MoveTo(1, 1);
    c.LineTo(1, 1);  // nothing
  }
  EXPECT_EQ(img.pixel(30, 5), rgb(0, 0, 0));
  EXPECT_EQ(img.pixel(21, 5), rgb(0, 0, 0));
  EXPECT_EQ(img.pixel(20, 5), kBialy);
  EXPECT_EQ(img.pixel(5, 21), rgb(0, 0, 0));
  EXPECT_EQ(img.pixel(5, 20), kBialy);
  for (int i = 10; i < 16; ++i) EXPECT_EQ(img.pixel(i, i), rgb(0, 0, 0)) << i;
  EXPECT_EQ(img.pixel(16, 16), kBialy);
  EXPECT_EQ(img.pixel(1, 1), kBialy);
  EXPECT_EQ(ile(img, rgb(0, 0, 0)), 10 + 10 + 6);
}

TEST(QtCanvasRastr, AClosedPolylineDrawsEveryCornerAndAnOpenOneLeavesOutItsLastPoint) {
  QImage img = obraz();
  {
    QtCanvas c(img);
    c.Pioro(Kolor(0, 255, 255), 1, StylPiora::Ciagly);
    const Punkt zamknieta[4] = {{5, 5}, {15, 5}, {15, 15}, {5, 5}};
    c.Polyline(zamknieta, 4);
    const Punkt otwarta[3] = {{20, 30}, {30, 30}, {30, 35}};
    c.Polyline(otwarta, 3);
  }
  const QRgb cyan = rgb(0, 255, 255);
  EXPECT_EQ(img.pixel(5, 5), cyan);
  EXPECT_EQ(img.pixel(15, 5), cyan);
  EXPECT_EQ(img.pixel(15, 15), cyan);
  EXPECT_EQ(img.pixel(10, 10), cyan);  // on the diagonal back to the start
  EXPECT_EQ(img.pixel(30, 30), cyan);
  EXPECT_EQ(img.pixel(30, 34), cyan);
  EXPECT_EQ(img.pixel(30, 35), kBialy);
}

TEST(QtCanvasRastr, PolygonsFillTheirInsideWithTheBrushAndTheirEdgesWithThePen) {
  QImage img = obraz();
  {
    QtCanvas c(img);
    c.Pioro(Kolor(255, 0, 0), 1, StylPiora::Ciagly);
    c.Pedzel(Kolor(0, 0, 255));
    const Punkt kw[4] = {{10, 10}, {20, 10}, {20, 20}, {10, 20}};
    c.Polygon(kw, 4);
  }
  EXPECT_EQ(img.pixel(15, 15), rgb(0, 0, 255));
  EXPECT_EQ(img.pixel(11, 11), rgb(0, 0, 255));
  EXPECT_EQ(img.pixel(19, 19), rgb(0, 0, 255));
  for (int i = 10; i <= 20; ++i) {
    EXPECT_EQ(img.pixel(i, 10), rgb(255, 0, 0)) << i;
    EXPECT_EQ(img.pixel(i, 20), rgb(255, 0, 0)) << i;
    EXPECT_EQ(img.pixel(10, i), rgb(255, 0, 0)) << i;
    EXPECT_EQ(img.pixel(20, i), rgb(255, 0, 0)) << i;
  }
  EXPECT_EQ(img.pixel(21, 15), kBialy);
  EXPECT_EQ(img.pixel(15, 21), kBialy);
  EXPECT_EQ(ile(img, rgb(0, 0, 255)), 81);
}

TEST(QtCanvasRastr, TheAlternatingRuleLeavesTheOverlapOfASelfCrossingPolygonEmpty) {
  // A pentagram drawn in one stroke: its centre is covered twice.
  QImage img = obraz(100, 100);
  {
    QtCanvas c(img);
    c.Pioro(Kolor(0, 0, 0), 1, StylPiora::Ciagly);
    c.Pedzel(Kolor(0, 200, 0));
    const Punkt gw[5] = {{50, 5}, {80, 95}, {5, 35}, {95, 35}, {20, 95}};
    c.Polygon(gw, 5);
    // A bow tie: the two lobes are filled.
    const Punkt kokarda[4] = {{0, 0}, {20, 20}, {20, 0}, {0, 20}};
    c.Polygon(kokarda, 4);
  }
  EXPECT_EQ(img.pixel(50, 55), kBialy);            // centre of the star
  EXPECT_EQ(img.pixel(50, 20), rgb(0, 200, 0));    // top spike
  EXPECT_EQ(img.pixel(12, 37), rgb(0, 200, 0));    // left spike
  EXPECT_EQ(img.pixel(10, 3), kBialy);             // between the lobes (above the crossing)
  EXPECT_EQ(img.pixel(3, 10), rgb(0, 200, 0));     // left lobe
  EXPECT_EQ(img.pixel(17, 10), rgb(0, 200, 0));    // right lobe
}

TEST(QtCanvasRastr, TrianglesDrawnWithPenAndBrushOfOneColourTileWithoutGaps) {
  // As the stress map draws them: any split of a square into triangles
  // covers all of it, whatever the slopes of the shared edges.
  QImage img = obraz(60, 60);
  {
    QtCanvas c(img);
    const auto trojkat = [&](Kolor k, Punkt a, Punkt b, Punkt d) {
      c.Pioro(k, 1, StylPiora::Ciagly);
      c.Pedzel(k);
      const Punkt t[3] = {a, b, d};
      c.Polygon(t, 3);
    };
    trojkat(Kolor(10, 20, 30), {3, 3}, {53, 3}, {31, 17});
    trojkat(Kolor(40, 50, 60), {53, 3}, {53, 47}, {31, 17});
    trojkat(Kolor(70, 80, 90), {53, 47}, {3, 47}, {31, 17});
    trojkat(Kolor(100, 110, 120), {3, 47}, {3, 3}, {31, 17});
  }
  for (int y = 3; y <= 47; ++y)
    for (int x = 3; x <= 53; ++x) ASSERT_NE(img.pixel(x, y), kBialy) << x << "," << y;
  EXPECT_EQ(img.pixel(2, 10), kBialy);
  EXPECT_EQ(img.pixel(54, 10), kBialy);
  EXPECT_EQ(img.pixel(30, 48), kBialy);
}

TEST(QtCanvasRastr, WidePensHaveRoundEndsThatIncludeBothEndPoints) {
  QImage img = obraz();
  {
    QtCanvas c(img);
    c.Pioro(Kolor(255, 0, 0), 3, StylPiora::Ciagly);
    c.MoveTo(10, 10);
    c.LineTo(20, 10);
    c.Pioro(Kolor(0, 0, 255), 2, StylPiora::Ciagly);
    c.MoveTo(10, 30);
    c.LineTo(10, 30);  // a dot
  }
  for (int x = 9; x <= 21; ++x)
    for (int y = 9; y <= 11; ++y) EXPECT_EQ(img.pixel(x, y), rgb(255, 0, 0)) << x << "," << y;
  EXPECT_EQ(img.pixel(22, 10), kBialy);
  EXPECT_EQ(img.pixel(15, 12), kBialy);
  EXPECT_EQ(ile(img, rgb(0, 0, 255)), 4);
}

TEST(QtCanvasRastr, AbsurdCoordinatesAreClippedWithoutCostOrFault) {
  QImage img = obraz(64, 48);
  {
    QtCanvas c(img);
    c.Pioro(Kolor(0, 0, 0), 1, StylPiora::Ciagly);
    c.MoveTo(INT_MIN, 20);
    c.LineTo(INT_MAX, 20);  // a horizontal line across the whole image
    c.MoveTo(-2000000000, -2000000000);
    c.LineTo(2000000000, 2000000000);  // the diagonal through the image
    c.Pioro(Kolor(0, 0, 255), 3, StylPiora::Ciagly);
    c.MoveTo(INT_MIN, INT_MIN);
    c.LineTo(INT_MIN + 5, INT_MAX);  // far outside: nothing
    c.Pedzel(Kolor(255, 0, 0));
    const Punkt ogromny[3] = {{INT_MIN, INT_MIN}, {INT_MAX, INT_MIN}, {INT_MIN, INT_MAX}};
    c.Pioro(Kolor(255, 0, 0), 1, StylPiora::Ciagly);
    c.Polygon(ogromny, 3);  // covers the top-left half of the image
    c.Prostokat(INT_MIN, INT_MIN, INT_MAX, 2);
    c.SetPixel(INT_MAX, INT_MIN, Kolor(1, 1, 1));
    EXPECT_EQ(c.GetPixel(INT_MIN, 5), Kolor(255, 255, 255));
  }
  EXPECT_EQ(img.pixel(0, 0), rgb(255, 0, 0));
  EXPECT_EQ(img.pixel(63, 47), kBialy);
  EXPECT_EQ(img.pixel(60, 20), rgb(0, 0, 0));
  EXPECT_EQ(img.pixel(40, 40), rgb(0, 0, 0));
  EXPECT_EQ(ile(img, rgb(0, 0, 255)), 0);
}

TEST(QtCanvasRastr, TheScrollOffsetMovesEveryPrimitiveAlike) {
  QImage a = obraz(), b = obraz();
  const auto rysuj = [](Canvas& c, int d) {
    c.Pioro(Kolor(0, 0, 0), 1, StylPiora::Ciagly);
    c.Pedzel(Kolor(0, 128, 0));
    c.Prostokat(5 + d, 5 + d, 15 + d, 12 + d);
    const Punkt t[3] = {{20 + d, 20 + d}, {35 + d, 22 + d}, {25 + d, 35 + d}};
    c.Polygon(t, 3);
    c.MoveTo(2 + d, 30 + d);
    c.LineTo(18 + d, 38 + d);
    c.SetPixel(1 + d, 1 + d, Kolor(9, 9, 9));
    c.TextOut(22 + d, 2 + d, "12");
  };
  {
    QtCanvas c(a);
    rysuj(c, 0);
  }
  {
    QtCanvas c(b, 100, 100);
    rysuj(c, 100);
    EXPECT_EQ(c.GetPixel(101, 101), Kolor(9, 9, 9));
  }
  EXPECT_EQ(a, b);
}

TEST(QtCanvasRastr, TextHasAnOpaqueWhiteBackgroundAndItsColour) {
  QImage img(80, 30, QImage::Format_RGB32);
  img.fill(qRgb(0, 0, 0));
  {
    QtCanvas c(img);
    c.Czcionka("Arial", 12, 400);
    c.KolorTekstu(Kolor(0, 0, 255));
    c.TextOut(5, 5, "1234");
  }
  EXPECT_EQ(img.pixel(5, 5), kBialy);  // top-left corner of the background
  EXPECT_EQ(img.pixel(4, 5), rgb(0, 0, 0));
  EXPECT_EQ(img.pixel(5, 4), rgb(0, 0, 0));
  bool niebieski = false;
  for (int y = 5; y < 20; ++y)
    for (int x = 5; x < 40; ++x) niebieski = niebieski || img.pixel(x, y) == rgb(0, 0, 255);
  EXPECT_TRUE(niebieski);
  // Nothing but white, blue and their mixtures inside.
  for (int y = 5; y < 18; ++y)
    for (int x = 5; x < 28; ++x) {
      const QRgb p = img.pixel(x, y);
      EXPECT_EQ(qRed(p), qGreen(p)) << x << "," << y;
      EXPECT_EQ(qBlue(p), 255) << x << "," << y;
    }
}

TEST(QtCanvasRastr, KernedPairsAreSetAsTheTextLayoutSetsThem) {
  // "11" is kerned in the usual sans fonts: the glyphs composed one by one
  // must land where the text layout puts them (within the rounding to pixels).
  QImage a(80, 20, QImage::Format_RGB32), b(80, 20, QImage::Format_RGB32);
  a.fill(Qt::white);
  b.fill(Qt::white);
  for (const char* s : {"11", "10201", "AV", "Materiał"}) {
    a.fill(Qt::white);
    b.fill(Qt::white);
    {
      QtCanvas c(a);
      c.Czcionka("Arial", 12, 400);
      c.TextOut(3, 2, s);
    }
    {
      QPainter p(&b);
      QFont f("Arial");
      f.setPixelSize(12);
      p.setFont(f);
      p.drawText(3, 2 + QFontMetrics(f).ascent(), QString::fromUtf8(s));
    }
    // compare the horizontal extent of the ink
    const auto zasieg = [](const QImage& i) {
      int l = 1000, r = -1;
      for (int y = 0; y < i.height(); ++y)
        for (int x = 0; x < i.width(); ++x)
          if (qGray(i.pixel(x, y)) < 128) {
            l = std::min(l, x);
            r = std::max(r, x);
          }
      return std::pair(l, r);
    };
    const auto [la, ra] = zasieg(a);
    const auto [lb, rb] = zasieg(b);
    EXPECT_NEAR(la, lb, 1) << s;
    EXPECT_NEAR(ra, rb, 1) << s;
  }
}

TEST(QtCanvasRastr, DashedAndDottedPensStillGoThroughThePainter) {
  QImage img = obraz(60, 10);
  {
    QtCanvas c(img);
    c.Pioro(Kolor(0, 255, 0), 1, StylPiora::Kreskowany);
    c.MoveTo(0, 5);
    c.LineTo(60, 5);
  }
  const int zielone = ile(img, rgb(0, 255, 0));
  EXPECT_GT(zielone, 20);
  EXPECT_LT(zielone, 60);  // there are gaps
}

TEST(QtCanvasRastr, ImagesWithAnotherPixelRatioAreDrawnInDevicePixels) {
  // At ratio 2 every drawing unit is two device pixels: fills and wide pens
  // scale, one-pixel pens stay one device pixel wide, as cosmetic pens do.
  QImage img(80, 80, QImage::Format_RGB32);
  img.fill(Qt::white);
  img.setDevicePixelRatio(2.0);
  {
    QtCanvas c(img);
    EXPECT_TRUE(c.szybki());
    EXPECT_EQ(c.Szerokosc(), 40);
    EXPECT_EQ(c.Wysokosc(), 40);
    c.Pioro(Kolor(0, 0, 0), 1, StylPiora::Ciagly);
    c.Pedzel(Kolor(255, 0, 0));
    const Punkt t[3] = {{5, 5}, {30, 5}, {5, 30}};
    c.Polygon(t, 3);
    c.Prostokat(31, 31, 39, 39);
    c.Pioro(Kolor(0, 0, 255), 3, StylPiora::Ciagly);
    c.MoveTo(32, 10);
    c.LineTo(38, 10);
    c.SetPixel(35, 25, Kolor(0, 255, 0));
    EXPECT_EQ(c.GetPixel(35, 25), Kolor(0, 255, 0));
    c.KolorTekstu(Kolor(0, 0, 0));
    c.Czcionka("Arial", 12, 400);
    c.TextOut(1, 33, "7");
  }
  EXPECT_EQ(img.pixel(20, 20), rgb(255, 0, 0));  // inside the triangle, in device pixels
  EXPECT_EQ(img.pixel(20, 10), rgb(0, 0, 0));    // its top edge, one device pixel ...
  EXPECT_EQ(img.pixel(20, 11), rgb(255, 0, 0));  // ... wide
  EXPECT_EQ(img.pixel(9, 9), kBialy);
  // The rectangle fills device pixels 62..77, outlined by its outermost ones.
  EXPECT_EQ(img.pixel(62, 70), rgb(0, 0, 0));
  EXPECT_EQ(img.pixel(63, 70), rgb(255, 0, 0));
  EXPECT_EQ(img.pixel(77, 70), rgb(0, 0, 0));
  EXPECT_EQ(img.pixel(78, 70), kBialy);
  // A pen three units wide is six device pixels wide.
  int niebieskie = 0;
  for (int y = 10; y < 30; ++y) niebieskie += img.pixel(70, y) == rgb(0, 0, 255);
  EXPECT_EQ(niebieskie, 6);
  for (int y : {50, 51})
    for (int x : {70, 71}) EXPECT_EQ(img.pixel(x, y), rgb(0, 255, 0)) << x << "," << y;
  int ciemne = 0;
  for (int y = 66; y < 80; ++y)
    for (int x = 0; x < 30; ++x) ciemne += qGray(img.pixel(x, y)) < 128;
  EXPECT_GT(ciemne, 10);  // the digit, drawn from the font at 24 device pixels
}

TEST(QtCanvasRastr, TheBusyPointerLastsWhileThePaintAndThenTheOldOneReturns) {
  QWidget w;
  w.setCursor(Qt::CrossCursor);
  QImage img = obraz();
  {
    QtCanvas c(img);
    c.ustawWidzet(&w);
    c.WskaznikZajety(true);
    EXPECT_EQ(w.cursor().shape(), Qt::WaitCursor);
    c.WskaznikZajety(false);
    EXPECT_EQ(w.cursor().shape(), Qt::CrossCursor);
    c.WskaznikZajety(true);
  }  // a canvas that ends while busy gives the pointer back too
  EXPECT_EQ(w.cursor().shape(), Qt::CrossCursor);
}
