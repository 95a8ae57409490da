// The main window on a screen of device-pixel ratio 2: the same picture,
// twice as sharp.  Every pixel of the ratio-1 picture that lies inside one
// colour (away from lines, letters and colour jumps) has that colour at
// its place in the ratio-2 picture; thin lines stay one device pixel wide.
#include <QImage>

#include "analysis/silnik.h"
#include "test_rysunek_pomoc.h"

namespace {

class Skala : public Obrazek {
 protected:
  // A 12 x 6 cantilever with the results of its linear analysis.
  void wspornik() {
    OpisModelu o = prostokat(12, 6, 12.0f, 6.0f, 200000.0f, 0.3f);
    o.materialy[0].przedzialy = {{200000.0f, 40.0f}};  // part of the map above the limit
    for (int r = 0; r <= 6; ++r) {
      const int k = 1 + r * 13;
      o.podpory.push_back({2 * k - 1, 0});
      o.podpory.push_back({2 * k, 0});
    }
    o.sily = {{2 * 13 * 7, -600.0f}};
    zbuduj(m, o);
    PracaAnalizy w;
    Iteracja it;
    it.lprz = 1;
    start_analizy(m, w, it);
    krok_iteracji(m, w, it);
    ASSERT_EQ(m.blad, 0);
    Reakcje(m, w);
    Wart_wez(m, w);
    ASSERT_EQ(m.blad, 0);
    m.obliczono = 1;
  }

  QImage maluj2(int w, int h) {
    QImage obraz(2 * w, 2 * h, QImage::Format_RGB32);
    obraz.fill(qRgb(kTlo.r, kTlo.g, kTlo.b));
    obraz.setDevicePixelRatio(2.0);
    QtCanvas c(obraz);
    okno.Paint(c);
    return obraz;
  }

  // Pixels of img (ratio 1) inside one colour that differ at (2x, 2y) of
  // the ratio-2 picture; `zbadane` counts those looked at.
  int rozne(const QImage& d, int& zbadane, int dol) const {
    int n = 0;
    zbadane = 0;
    for (int y = 1; y + 1 < img.height() - dol; ++y)
      for (int x = 1; x + 1 < img.width(); ++x) {
        const QRgb c = img.pixel(x, y);
        bool jednolity = true;
        for (int j = -1; j <= 1 && jednolity; ++j)
          for (int i = -1; i <= 1 && jednolity; ++i) jednolity = img.pixel(x + i, y + j) == c;
        if (!jednolity) continue;
        ++zbadane;
        n += d.pixel(2 * x, 2 * y) != c;
      }
    return n;
  }
};

}  // namespace

TEST_F(Skala, TheStressMapAndTheMeshAtRatioTwoAreThePictureOfRatioOne) {
  wspornik();
  okno.p_napr = 1;
  okno.p_rn = 4;
  okno.p_n_wezl = 0;  // the letters of a font twice the size differ in shape
  okno.p_sily_nr = 0;
  for (int poziomy : {200, 7, 1}) {
    okno.iizol = poziomy;
    maluj(420, 260);
    const QImage d = maluj2(420, 260);
    int zbadane = 0;
    // The colour scale with its labels along the bottom is left out.
    EXPECT_EQ(rozne(d, zbadane, 30), 0) << poziomy;
    EXPECT_GT(zbadane, 420 * 200 / 2) << poziomy;
  }
}

TEST_F(Skala, ThinLinesAreOneDevicePixelWideAndWidePensTwiceTheirWidth) {
  zbuduj(m, prostokat4(10, 5));  // at 400 x 300: nodes (25,260) (375,260) (375,85) (25,85)
  nic_poza_siatka();
  const QImage d = maluj2(400, 300);
  // The bottom edge of the mesh, from node 1 to node 2: device row 520 only.
  EXPECT_EQ(d.pixel(400, 520), qRgb(0, 255, 255));
  EXPECT_EQ(d.pixel(400, 519), qRgb(255, 255, 255));
  EXPECT_EQ(d.pixel(400, 521), qRgb(255, 255, 255));
  // Node marks: width 2, four device pixels across, around node 2.
  okno.p_wez = 1;
  const QImage d2 = maluj2(400, 300);
  int rozowe = 0;
  for (int x = 730; x < 770; ++x) rozowe += d2.pixel(x, 520) == qRgb(255, 128, 128);
  EXPECT_GE(rozowe, 6);
  EXPECT_LE(rozowe, 10);
  EXPECT_EQ(okno.maxx, 400.0f);  // the window keeps its size in drawing units
  EXPECT_EQ(okno.hmax, 300);
}
