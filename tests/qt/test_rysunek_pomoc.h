// What the picture tests share: a main window over a model built directly
// in the store, a paint into a QImage, and questions a user would ask of
// the picture (the colour at a point, whether a text stands somewhere).
#pragma once

#include <gtest/gtest.h>

#include <QDir>
#include <QImage>
#include <ostream>
#include <string>

#include "app/okno.h"
#include "app/qt/qt_canvas.h"
#include "fake_platform.h"
#include "model_builders.h"

inline void PrintTo(const Kolor& k, std::ostream* os) {
  *os << "(" << int{k.r} << "," << int{k.g} << "," << int{k.b} << ")";
}

// A colour that the program never draws: whatever keeps it was not painted.
inline constexpr Kolor kTlo(1, 2, 3);
inline constexpr Kolor kBialy(255, 255, 255), kCzarny(0, 0, 0), kCyjan(0, 255, 255), kCzerwony(255, 0, 0),
    kNiebieski(0, 0, 255);

class Obrazek : public testing::Test {
 protected:
  void TearDown() override { fp.sprawdz_zuzyte(); }

  // Paints the main window into a w x h image filled with kTlo before.
  void maluj(int w, int h) {
    img = QImage(w, h, QImage::Format_RGB32);
    img.fill(qRgb(kTlo.r, kTlo.g, kTlo.b));
    {
      QtCanvas c(img);
      okno.Paint(c);
    }
    // SKORBA_OBRAZKI=DIR keeps every picture for a look.
    const QString dir = qEnvironmentVariable("SKORBA_OBRAZKI");
    if (!dir.isEmpty()) {
      const auto* t = testing::UnitTest::GetInstance()->current_test_info();
      img.save(QDir(dir).filePath(QString("%1.%2.png").arg(t->test_suite_name(), t->name())));
    }
  }

  Kolor px(int x, int y) const {
    const QRgb c = img.pixel(x, y);
    return Kolor(qRed(c), qGreen(c), qBlue(c));
  }

  // Pixels of colour k within the rectangle [l, r) x [t, b) (the whole image by default).
  int ile(Kolor k, int l = 0, int t = 0, int r = -1, int b = -1) const {
    if (r < 0) r = img.width();
    if (b < 0) b = img.height();
    int n = 0;
    for (int y = std::max(t, 0); y < std::min(b, img.height()); ++y)
      for (int x = std::max(l, 0); x < std::min(r, img.width()); ++x) n += px(x, y) == k;
    return n;
  }

  // Whether the text stands at (x, y) as TextOut draws it in colour k with
  // the font "Arial" 12 (or the default font): every pixel of its ink as in
  // a picture of the text alone on white, and its opaque background at its
  // top-left corner.
  ::testing::AssertionResult napis(int x, int y, const std::string& s, Kolor k, bool domyslna = false) const {
    QImage wzor(img.size(), QImage::Format_RGB32);
    wzor.fill(Qt::white);
    {
      QtCanvas c(wzor);
      if (domyslna)
        c.CzcionkaDomyslna();
      else
        c.Czcionka("Arial", 12, 400);
      c.KolorTekstu(k);
      c.TextOut(x, y, s);
    }
    int tusz = 0;
    for (int yy = 0; yy < wzor.height(); ++yy)
      for (int xx = 0; xx < wzor.width(); ++xx) {
        const QRgb w = wzor.pixel(xx, yy);
        if (w == qRgb(255, 255, 255)) continue;
        ++tusz;
        if (img.pixel(xx, yy) != w)
          return ::testing::AssertionFailure() << "\"" << s << "\" at (" << x << "," << y << ") differs at (" << xx
                                               << "," << yy << ")";
      }
    if (tusz == 0) return ::testing::AssertionFailure() << "\"" << s << "\" leaves no ink in the picture";
    if (x >= 0 && y >= 0 && x < img.width() && y < img.height() && img.pixel(x, y) != qRgb(255, 255, 255))
      return ::testing::AssertionFailure() << "\"" << s << "\" has no white background at (" << x << "," << y << ")";
    return ::testing::AssertionSuccess();
  }

  // The box of a text in the font "Arial" 12 as TextOut draws it.
  static Wymiary wymiary(const std::string& s) {
    QImage wzor(1, 1, QImage::Format_RGB32);
    QtCanvas c(wzor);
    c.Czcionka("Arial", 12, 400);
    return c.WymiaryTekstu(s);
  }
  // The x at which a label ends at the right edge of the picture.
  int z_prawej(const std::string& s) const { return img.width() - wymiary(s).szer; }

  // Only the layers a test asks for.
  void nic_poza_siatka() {
    okno.p_wez = okno.p_n_wezl = okno.p_podp = okno.p_sily = 0;
  }
  void nic() {
    nic_poza_siatka();
    okno.p_siatka = 0;
  }

  Model m;
  FakePlatform fp;
  _OKNO_ okno{m, fp};
  QImage img;
};

// Nodes in a rectangle lx x ly with corners 1 (0,0), 2 (lx,0), 3 (lx,ly),
// 4 (0,ly) and the elements (1,2,3), (1,3,4).
inline OpisModelu prostokat4(float lx, float ly) {
  OpisModelu o;
  o.wezly = {{0, 0}, {lx, 0}, {lx, ly}, {0, ly}};
  o.elementy = {{1, 2, 3}, {1, 3, 4}};
  o.materialy.push_back({});
  return o;
}
