// The table windows on Qt (offscreen): what the pictures show, scrolling to
// the last row, and the windows' life through the platform.
#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QScrollBar>
#include <QTest>

#include "app/okno.h"
#include "app/qt/okno_tabeli.h"
#include "app/qt/qt_platform.h"
#include "app/qt/rama.h"
#include "model_builders.h"

namespace {

bool ciemny(QRgb c) { return qGray(c) < 110; }

// Dark pixels in the rectangle x0..x1-1, y0..y1-1.
// With SKORBA_ZRZUTY=DIR set, the pictures are also saved there to be looked at.
void zapisz(const QImage& img, const char* nazwa) {
  const QByteArray dir = qgetenv("SKORBA_ZRZUTY");
  if (!dir.isEmpty()) img.save(QString::fromUtf8(dir) + "/" + nazwa);
}

int ciemne(const QImage& img, int x0, int y0, int x1, int y1) {
  int n = 0;
  for (int y = std::max(0, y0); y < std::min(img.height(), y1); ++y)
    for (int x = std::max(0, x0); x < std::min(img.width(), x1); ++x)
      if (ciemny(img.pixel(x, y))) ++n;
  return n;
}

class QtTabele : public testing::Test {
 protected:
  void SetUp() override {
    p.ustawRame(&rama);
    rama.ustawOkno(&okno);
    rama.show();
  }
  void TearDown() override {
    rama.ustawOkno(nullptr);
    p.ustawRame(nullptr);
  }
  // 2 elements, 4 nodes, 1 material with 1 interval, 2 supports, 1 force.
  void przyklad() {
    OpisModelu o;
    o.wezly = {{0, 0}, {2, 0}, {0, 1.5f}, {2, 1.5f}};
    o.elementy = {{1, 2, 4}, {1, 4, 3}};
    o.materialy.push_back({0.3f, {{210000.0f, 235.0f}}, 210000.0f});
    o.podpory = {{1, 0.0f}, {6, 0.0f}};
    o.sily = {{8, -1000.0f}};
    zbuduj(m, o);
  }

  Model m;
  QtPlatform p;
  RamaOkna rama;
  _OKNO_ okno{m, p};
};

}  // namespace

TEST_F(QtTabele, DataWindowPictureHasItsRowsAndSeparators) {
  przyklad();
  okno.Cm_Dane();
  OknoTabeliQt* w = p.okno(okno.dd);
  ASSERT_TRUE(w);
  EXPECT_EQ(w->windowTitle(), QString::fromUtf8("Dane do obliczeń"));
  EXPECT_TRUE(w->isWindow());
  EXPECT_EQ(w->parentWidget(), &rama);  // owned by the main window
  EXPECT_EQ(w->size(), QSize(450, 400));
  EXPECT_EQ(w->verticalScrollBar()->singleStep(), 10);

  const QImage img = w->obraz_calosci();
  zapisz(img, "dane.png");
  EXPECT_EQ(img.pixel(430, 200), qRgb(192, 192, 192));
  // the separator above the supports (y = 365) and the one above the force (445)
  for (int y : {44, 365, 445}) {
    EXPECT_EQ(ciemne(img, 2, y, 410, y + 1), 408) << y;
    EXPECT_EQ(ciemne(img, 415, y - 1, 450, y + 2), 0) << y;
  }
  // support rows at 375 and 395, the force row at 455: text in its 20-pixel
  // band (label at x 5, value at x 100), nothing between the rows
  for (int y : {375, 395, 455}) {
    EXPECT_GT(ciemne(img, 5, y, 60, y + 18), 20) << y;
    EXPECT_GT(ciemne(img, 100, y, 180, y + 18), 20) << y;
  }
  EXPECT_EQ(ciemne(img, 0, 415, 450, 424), 0);
  EXPECT_EQ(ciemne(img, 0, 476, 450, img.height()), 0);
  // text is written on the window's grey, not on white
  int biale = 0;
  for (int y = 0; y < img.height(); ++y)
    for (int x = 0; x < img.width(); ++x)
      if (img.pixel(x, y) == qRgb(255, 255, 255)) ++biale;
  EXPECT_EQ(biale, 0);
}

TEST_F(QtTabele, ResultsWindowIsTopLevelAndShowsItsRows) {
  przyklad();
  m.obliczono = 1;
  m.napr[2][4] = 1234.5f;
  okno.Cm_Wyniki();
  OknoTabeliQt* w = p.okno(okno.oo);
  ASSERT_TRUE(w);
  EXPECT_EQ(w->windowTitle(), QString::fromUtf8("Wyniki obliczeń"));
  EXPECT_EQ(w->parentWidget(), nullptr);
  EXPECT_FALSE(w->testAttribute(Qt::WA_QuitOnClose));  // it does not keep the program running
  EXPECT_EQ(w->size(), QSize(500, 400));
  const QImage img = w->obraz_calosci();
  zapisz(img, "wyniki.png");
  for (int y : {48, 148, 298}) EXPECT_EQ(ciemne(img, 2, y, 450, y + 1), 448) << y;
  EXPECT_GT(ciemne(img, 340, 80, 420, 98), 20);  // Huber stress of element 2
  EXPECT_EQ(ciemne(img, 340, 60, 420, 78), ciemne(img, 260, 60, 340, 78));  // "    0.00" twice
}

TEST_F(QtTabele, ScrollingReachesTheLastRowOfABigTable) {
  OpisModelu o = prostokat(10, 10, 10, 10);
  for (int d = 1; d <= 2 * 121; d += 3) o.sily.push_back({d, 5.0f});
  zbuduj(m, o);
  okno.Cm_Dane();
  OknoTabeliQt* w = p.okno(okno.dd);
  ASSERT_TRUE(w);
  QScrollBar* v = w->verticalScrollBar();
  v->setValue(v->maximum());
  const QImage img = w->obraz();
  // the last force row ends inside the window, with the background below it
  const int ostatni = 20 * (200 + 121 + 1 + 0 + 81) + 255 - v->value();
  EXPECT_GT(ciemne(img, 5, ostatni, 60, ostatni + 18), 20);
  EXPECT_LT(ostatni + 20, img.height());
  EXPECT_EQ(ciemne(img, 0, ostatni + 21, img.width(), img.height()), 0);
  // and nothing is drawn beyond the bottom when the model shrinks
  zbuduj(m, prostokat(1, 1, 1, 1));
  p.Odswiez();
  EXPECT_LT(v->maximum(), 200);
}

TEST_F(QtTabele, UserClosingAndProgramDestroyingNeverMeet) {
  przyklad();
  m.obliczono = 1;
  okno.Cm_Dane();
  const int pierwsze = okno.dd;
  okno.Cm_Dane();
  okno.Cm_Wyniki();
  EXPECT_TRUE(p.OknoOtwarte(pierwsze));
  EXPECT_TRUE(p.okno(pierwsze)->close());  // the user closes the older window
  QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_EQ(okno.id, 0);
  EXPECT_FALSE(p.OknoOtwarte(pierwsze));
  EXPECT_EQ(p.okno(pierwsze), nullptr);
  // destroying it now, twice, and all the others as a command does
  p.ZniszczOkno(pierwsze);
  p.ZniszczOkno(pierwsze);
  okno.ZamknijTabele();
  okno.ZamknijTabele();
  EXPECT_FALSE(p.OknoOtwarte(okno.dd));
  EXPECT_FALSE(p.OknoOtwarte(okno.oo));
  int otwarte = 0;
  for (QWidget* t : QApplication::topLevelWidgets())
    if (qobject_cast<OknoTabeliQt*>(t) && t->isVisible()) ++otwarte;
  EXPECT_EQ(otwarte, 0);
}

TEST_F(QtTabele, ReleasingTheModelClosesTheWindows) {
  przyklad();
  m.obliczono = 1;
  okno.Cm_Dane();
  okno.Cm_Wyniki();
  const int d = okno.dd, w = okno.oo;
  okno.Zwol_pam();
  EXPECT_FALSE(p.OknoOtwarte(d));
  EXPECT_FALSE(p.OknoOtwarte(w));
  EXPECT_EQ(okno.id + okno.iw, 0);
}

// Every row of the table is written on every paint; the window only draws
// the rows it shows.  The time is printed for a look; speed is the
// benchmarks' business, so it is not asserted here.
TEST_F(QtTabele, PaintOfABigTable) {
  zbuduj(m, prostokat(100, 100, 100, 100));
  m.obliczono = 1;
  okno.Cm_Dane();
  okno.Cm_Wyniki();
  for (int u : {okno.dd, okno.oo}) {
    OknoTabeliQt* w = p.okno(u);
    ASSERT_TRUE(w);
    w->verticalScrollBar()->setValue(w->verticalScrollBar()->maximum() / 2);
    QElapsedTimer t;
    t.start();
    const int n = 5;
    for (int i = 0; i < n; ++i) (void)w->obraz();
    const double ms = static_cast<double>(t.nsecsElapsed()) / 1e6 / n;
    std::printf("[ pomiar  ] %s, 20000 elementów: %.1f ms na odmalowanie\n",
                w->windowTitle().toUtf8().constData(), ms);
    EXPECT_FALSE(w->obraz().isNull());
  }
}
