// The mouse on the real main window (offscreen): synthetic presses, moves
// and releases select nodes, draw and erase the rubber band on the picture,
// and write the coordinates window.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include "app/okno.h"
#include "app/qt/dialog_formularza.h"
#include "app/qt/qt_platform.h"
#include "app/qt/rama.h"
#include "edit/grupa.h"
#include "model_builders.h"

namespace {

class QtGrupa : public testing::Test {
 protected:
  void SetUp() override {
    p.ustawRame(&rama);
    rama.ustawOkno(&okno);
    rama.show();
    // 4 x 2 cells, 10 x 5 units, nodes 1..5 along the bottom, 11..15 on top
    zbuduj(m, prostokat(4, 2, 10, 5));
    p.Odswiez();
    widok()->odrysuj();
    if (okno.hmax == 0) {
      // a picture without the model view: the transform a paint would leave
      okno.ax = okno.aa = 0.0f;
      okno.sx = okno.sa = 40.0f;
      okno.hmax = widok()->height();
    }
  }
  void TearDown() override {
    rama.ustawOkno(nullptr);
    p.ustawRame(nullptr);
  }
  WidokOkna* widok() { return rama.widok(); }
  QPoint piksel(int k) {
    int x = 0, y = 0;
    EXPECT_TRUE(wezel_na_piksel(okno, k, x, y));
    return {x, y};
  }
  std::vector<int> grupa() const {
    std::vector<int> g;
    if (m.j_grupa == 1)
      for (int j = 1; j <= m.i_grp; ++j) g.push_back(m.s_grp[j]);
    return g;
  }
  void wcisnij(QPoint a) { QTest::mousePress(widok(), Qt::LeftButton, Qt::NoModifier, a); }
  void przesun(QPoint a) { QTest::mouseMove(widok(), a); }
  void pusc(QPoint a) { QTest::mouseRelease(widok(), Qt::LeftButton, Qt::NoModifier, a); }

  Model m;
  QtPlatform p;
  RamaOkna rama;
  _OKNO_ okno{m, p};
};

}  // namespace

TEST_F(QtGrupa, DragSelectsTheNodesInsideAndTheBandLeavesNoTrace) {
  const QImage przed = widok()->obraz().copy();
  // around nodes 2, 3 (bottom row) and 7, 8 (middle row), from lower right to upper left
  const QPoint a = piksel(3) + QPoint(3, 3), b = piksel(7) - QPoint(3, 3);
  wcisnij(a);
  EXPECT_EQ(widok()->cursor().shape(), Qt::CrossCursor);
  przesun((a + b) / 2);
  przesun(b);
  {
    const QImage w = widok()->obraz();
    int czarne = 0;
    for (int x = b.x(); x <= a.x(); ++x)
      if (w.pixel(x, a.y()) == qRgb(0, 0, 0)) ++czarne;
    const int dlugosc = a.x() - b.x() + 1;
    EXPECT_GT(czarne, dlugosc / 3);  // a dotted line along the bottom edge
    EXPECT_LT(czarne, dlugosc);
  }
  pusc(b);
  EXPECT_EQ(grupa(), (std::vector<int>{2, 3, 7, 8}));
  EXPECT_EQ(widok()->cursor().shape(), Qt::ArrowCursor);
  // what changed on the picture are the orange group marks, nothing else
  const QImage po = widok()->obraz();
  int pomaranczowe = 0;
  for (int y = 0; y < po.height(); ++y)
    for (int x = 0; x < po.width(); ++x)
      if (po.pixel(x, y) != przed.pixel(x, y)) {
        ASSERT_EQ(po.pixel(x, y), qRgb(255, 128, 0)) << x << "," << y;
        ++pomaranczowe;
      }
  EXPECT_GT(pomaranczowe, 4 * 10);
  const QPoint s = piksel(7);
  EXPECT_EQ(po.pixel(s.x() + 2, s.y()), qRgb(255, 128, 0));
}

TEST_F(QtGrupa, CoordinatesWindowFollowsThePointer) {
  const QPoint w = piksel(9);
  przesun(w + QPoint(1, -1));
  const QString t = rama.wspolrzedne()->tekst();
  EXPECT_TRUE(t.startsWith("x= 7.5")) << t.toStdString();
  EXPECT_TRUE(t.endsWith(QString::fromUtf8("węz. 9"))) << t.toStdString();
  przesun(QPoint(2, 2));  // left of the model
  EXPECT_EQ(rama.wspolrzedne()->tekst(), "x=,          y=,        ");
  // the longest readout: a large nodal stress
  m.obliczono = 1;
  okno.p_napr = 1;
  m.ww[9][4] = 123456.5f;
  przesun(w);
  EXPECT_TRUE(rama.wspolrzedne()->tekst().endsWith("n=123456.500000")) << rama.wspolrzedne()->tekst().toStdString();
  const QFontMetrics fm(rama.wspolrzedne()->findChild<QLabel*>("xx")->font());
  EXPECT_GT(rama.wspolrzedne()->width(), fm.horizontalAdvance("n=123456.500000"));
  if (!qgetenv("SKORBA_ZRZUTY").isEmpty())
    rama.wspolrzedne()->grab().save(QString::fromUtf8(qgetenv("SKORBA_ZRZUTY")) + "/wsp.png");
}

TEST_F(QtGrupa, ADragFarOutsideTheWindowIsHarmless) {
  const QImage przed = widok()->obraz().copy();
  wcisnij(QPoint(5, 5));
  for (QPoint q : {QPoint(-30000, 40000), QPoint(30000, -30000), QPoint(widok()->width() + 5000, 3)}) {
    przesun(q);
    EXPECT_LE(okno.tkre.size(), static_cast<std::size_t>(2 * (widok()->width() + widok()->height())));
  }
  pusc(QPoint(widok()->width() + 5000, 3));
  EXPECT_EQ(m.j_grupa, 0);
  EXPECT_EQ(widok()->obraz(), przed);
}

TEST_F(QtGrupa, ANewDragRepaintsAwayTheOldMarks) {
  wcisnij(piksel(1) + QPoint(-2, 2));
  przesun(piksel(15) + QPoint(2, -2));
  pusc(piksel(15) + QPoint(2, -2));
  EXPECT_EQ(grupa().size(), 15u);
  const QPoint s = piksel(1);
  EXPECT_EQ(widok()->obraz().pixel(s.x() + 2, s.y()), qRgb(255, 128, 0));
  // a click on an empty spot drops the group; the repaint takes its marks away
  wcisnij(piksel(1) + QPoint(10, -10));
  pusc(piksel(1) + QPoint(10, -10));
  EXPECT_EQ(m.j_grupa, 0);
  widok()->odrysuj();
  EXPECT_NE(widok()->obraz().pixel(s.x() + 2, s.y()), qRgb(255, 128, 0));
}

// The group forms as real dialogs: their fields, check boxes and the texts
// the user reads.
TEST(QtGrupaFormy, CopyDeleteAndMoveForms) {
  d_dane_kop k;
  ustaw(k.px, "0.00");
  ustaw(k.py, "0.00");
  k.wezly = k.elementy = k.sily = k.podpory = 1;
  ::Formularz fk = uklad_D_DANE_KOP(k);
  DialogFormularza dk(fk, nullptr);
  EXPECT_EQ(dk.windowTitle(), QString::fromUtf8("Kopiuj grupę z przemieszczeniem"));
  ASSERT_TRUE(dk.edycja(8500) && dk.edycja(8501));
  EXPECT_EQ(dk.edycja(8500)->text(), "0.00");
  for (int id : {8600, 8610, 101, 102}) {
    ASSERT_TRUE(dk.wybor(id)) << id;
    EXPECT_TRUE(dk.wybor(id)->isChecked()) << id;
  }
  EXPECT_EQ(dk.wybor(8600)->text(), QString::fromUtf8("Węzły"));
  dk.wybor(8600)->setChecked(false);
  dk.edycja(8501)->setText("-2.5");
  dk.przenies();
  EXPECT_EQ(k.wezly, 0);
  EXPECT_STREQ(k.py.t, "-2.5");

  d_dane_doom d;
  ustaw(d.we, "3");
  ustaw(d.el, "1");
  ustaw(d.po, "2");
  ustaw(d.si, "0");
  ::Formularz fd = uklad_D_DANE_DOOM(d);
  DialogFormularza dd(fd, nullptr);
  EXPECT_EQ(dd.windowTitle(), "Kasowanie grupy");
  for (int id : {8500, 8501, 8502, 8503}) {
    ASSERT_TRUE(dd.edycja(id)) << id;
    EXPECT_TRUE(dd.edycja(id)->isReadOnly()) << id;
  }
  EXPECT_EQ(dd.edycja(8502)->text(), "2");

  d_dane_prz r;
  ::Formularz fr = uklad_D_DANE_PRZ_GRUPY(r);
  DialogFormularza dr(fr, nullptr);
  EXPECT_EQ(dr.windowTitle(), "Przemieszczenie grupy");
  EXPECT_TRUE(dr.edycja(8500) && dr.edycja(8501));

  if (!qgetenv("SKORBA_ZRZUTY").isEmpty()) {
    const QString dir = QString::fromUtf8(qgetenv("SKORBA_ZRZUTY"));
    dk.grab().save(dir + "/kopiuj.png");
    dd.grab().save(dir + "/kasuj.png");
    dr.grab().save(dir + "/przesun.png");
  }
}
