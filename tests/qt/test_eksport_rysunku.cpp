// Pictures saved for reports: the SVG of every kind of view, drawn by an
// independent renderer, looks like the PNG of the same view; a PNG at twice
// the size keeps sharp one-pixel lines; the clipboard gets the picture.
#include <QBuffer>
#include <QClipboard>
#include <QGuiApplication>
#include <QImageReader>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "app/qt/qt_platform.h"
#include "model/plik.h"
#include "test_rysunek_pomoc.h"
#include "view/svg.h"

namespace {

namespace fs = std::filesystem;

bool jest_program(const std::string& nazwa) {
  return std::system(("command -v " + nazwa + " >/dev/null 2>&1").c_str()) == 0;
}

int wezel(int nx, int c, int r) { return 1 + c + r * (nx + 1); }

class Rysunki : public Obrazek {
 protected:
  void SetUp() override {
    dir = fs::temp_directory_path() /
          ("skorba_rys_" + std::to_string(::getpid()) + "_" + testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::create_directories(dir);
  }
  void TearDown() override {
    Obrazek::TearDown();
    fs::remove_all(dir);
  }
  // A cantilever of 24 x 8 cells that yields near its root, analysed.
  void wspornik() {
    OpisModelu o = prostokat(24, 8, 24, 8, 200000.0f, 0.3f);
    o.materialy[0].przedzialy = {{200000.0f, 300.0f}, {100000.0f, 1.0e30f}};
    for (int r = 0; r <= 8; ++r) {
      o.podpory.push_back({2 * wezel(24, 0, r) - 1, 0});
      o.podpory.push_back({2 * wezel(24, 0, r), 0});
    }
    for (int r = 0; r <= 8; ++r) o.sily.push_back({2 * wezel(24, 24, r), -25.0f});
    zbuduj(m, o);
    okno.plik_dr = (dir / "DR.txt").string();
    fp.ok({{"ik", "50"}, {"pocz", "5"}}, {}, 3200);
    okno.Obliczenia();
    ASSERT_EQ(m.obliczono, 1);
    fp.wyczysc();
  }
  QImage png(int w, int h, int skala = 1) {
    return obraz_rysunku(w, h, skala, [this](Canvas& c) { okno.Paint(c); });
  }
  std::string svg(int w, int h) {
    SvgCanvas c(w, h);
    okno.Paint(c);
    return c.dokument();
  }
  // The SVG drawn by rsvg-convert.
  QImage narysuj(const std::string& s, const std::string& nazwa) {
    const fs::path wej = dir / (nazwa + ".svg"), wyj = dir / (nazwa + ".png");
    std::ofstream(wej, std::ios::binary) << s;
    const std::string pol = "rsvg-convert '" + wej.string() + "' -o '" + wyj.string() + "'";
    if (std::system(pol.c_str()) != 0) return {};
    return QImage(QString::fromStdString(wyj.string())).convertToFormat(QImage::Format_RGB32);
  }
  fs::path dir;
};

// Among the pixels whose neighbourhood of 5 x 5 pixels has one colour in the
// PNG (away from every edge, line and letter), the share whose colour
// differs in the other picture.
double roznica(const QImage& a, const QImage& b, int* porownane = nullptr) {
  if (a.size() != b.size() || a.format() != QImage::Format_RGB32 || b.format() != QImage::Format_RGB32) return 1.0;
  const auto px = [](const QImage& o, int x, int y) { return reinterpret_cast<const QRgb*>(o.constScanLine(y))[x]; };
  long rowne = 0, rozne = 0;
  for (int y = 2; y + 2 < a.height(); ++y)
    for (int x = 2; x + 2 < a.width(); ++x) {
      const QRgb c = px(a, x, y);
      bool jednolity = true;
      for (int j = -2; j <= 2 && jednolity; ++j)
        for (int i = -2; i <= 2 && jednolity; ++i) jednolity = px(a, x + i, y + j) == c;
      if (!jednolity) continue;
      (px(b, x, y) == c ? rowne : rozne)++;
    }
  if (porownane) *porownane = static_cast<int>(rowne + rozne);
  return rowne + rozne ? static_cast<double>(rozne) / static_cast<double>(rowne + rozne) : 1.0;
}

}  // namespace

TEST_F(Rysunki, SvgOfEveryViewDrawnByAnotherRendererMatchesThePng) {
  if (!jest_program("rsvg-convert")) GTEST_SKIP() << "rsvg-convert (Debian librsvg2-bin) is not installed";
  wspornik();
  struct Widok {
    const char* nazwa;
    std::function<void()> ustaw;
  };
  const std::vector<Widok> widoki = {
      {"model", [] {}},
      {"huber", [this] { okno.Cm_Napr4(); }},
      {"sx_ciagle_20", [this] {
         okno.p_skok = 0;
         okno.iizol = 20;
         okno.Pasek_kol();
         okno.Cm_Napr1();
       }},
      {"przemieszczenia", [this] {
         okno.p_napr = 0;
         okno.Cm_n_pola();
       }},
      {"material", [this] { okno.Cm_CHARAK(); }},
  };
  fp.ok({{"i", "1"}});  // the material asked for by the plot
  for (const Widok& v : widoki) {
    v.ustaw();
    const QImage a = png(900, 500);
    const QImage b = narysuj(svg(900, 500), v.nazwa);
    ASSERT_FALSE(b.isNull()) << v.nazwa;
    int ile = 0;
    const double r = roznica(a, b, &ile);
    EXPECT_LT(r, 0.002) << v.nazwa << ": " << r * 100 << " % of " << ile << " pixels differ";
    if (std::getenv("SKORBA_ROZNICE")) std::printf("%s: %.4f %% of %d pixels differ\n", v.nazwa, r * 100, ile);
    EXPECT_GT(ile, 900 * 500 / 3) << v.nazwa;
    if (const QString d = qEnvironmentVariable("SKORBA_OBRAZKI"); !d.isEmpty()) {
      a.save(QDir(d).filePath(QString("eksport.%1.png").arg(v.nazwa)));
      b.save(QDir(d).filePath(QString("eksport.%1.svg.png").arg(v.nazwa)));
    }
  }
}

TEST_F(Rysunki, PngAtTwiceTheSizeKeepsOnePixelLinesAndGoesToTheClipboard) {
  wspornik();
  okno.p_n_wezl = 0;
  QtPlatform p;
  const std::string plik = (dir / "w.png").string();
  ASSERT_TRUE(p.ZapiszObrazPNG(plik, 600, 300, 2, [this](Canvas& c) { okno.Paint(c); }));
  QImageReader czytnik(QString::fromStdString(plik));
  EXPECT_EQ(czytnik.format(), "png");
  const QImage duzy = czytnik.read().convertToFormat(QImage::Format_RGB32);
  ASSERT_EQ(duzy.size(), QSize(1200, 600));
  EXPECT_NEAR(duzy.dotsPerMeterX(), 2 * 3780, 1);  // same size on paper
  // The mesh line along the bottom edge of the cantilever: one image pixel
  // of cyan with no cyan directly above or below it.
  const QImage maly = png(600, 300);
  const QRgb cyjan = qRgb(0, 255, 255);
  int x1 = -1, y1 = -1;
  for (int y = 298; y > 0 && y1 < 0; --y)
    for (int x = 100; x < 500 && y1 < 0; ++x)
      if (maly.pixel(x, y) == cyjan && maly.pixel(x - 1, y) == cyjan && maly.pixel(x + 1, y) == cyjan &&
          maly.pixel(x, y - 1) != cyjan && maly.pixel(x, y + 1) != cyjan)
        x1 = x, y1 = y;
  ASSERT_GE(y1, 0);
  EXPECT_EQ(duzy.pixel(2 * x1, 2 * y1), cyjan);
  EXPECT_NE(duzy.pixel(2 * x1, 2 * y1 + 1), cyjan);
  EXPECT_NE(duzy.pixel(2 * x1, 2 * y1 - 1), cyjan);

  // Nothing is left behind by a write that fails, and it says so.
  EXPECT_FALSE(p.ZapiszObrazPNG((dir / "brak" / "w.png").string(), 600, 300, 1, [this](Canvas& c) { okno.Paint(c); }));
  EXPECT_FALSE(fs::exists(dir / "brak"));

  QGuiApplication::clipboard()->clear();
  ASSERT_TRUE(p.KopiujObraz(600, 300, [this](Canvas& c) { okno.Paint(c); }));
  const QImage schowek = QGuiApplication::clipboard()->image().convertToFormat(QImage::Format_RGB32);
  EXPECT_EQ(schowek, maly);
}
