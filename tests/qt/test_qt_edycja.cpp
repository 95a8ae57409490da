// Editing commands through the real Qt forms: the layouts become dialogs
// with their frames, flags and presets, and what a user types there reaches
// the model.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <deque>
#include <functional>

#include "app/okno.h"
#include "app/qt/dialog_formularza.h"
#include "app/qt/qt_platform.h"

namespace {

// A user in front of the screen: each modal form that opens is handed to
// the next step of the script, which looks at it and answers it.
class Uzytkownik {
 public:
  using Krok = std::function<void(DialogFormularza&)>;
  explicit Uzytkownik(std::deque<Krok> kroki) : kroki_(std::move(kroki)) {
    QObject::connect(&zegar_, &QTimer::timeout, [this] {
      auto* d = qobject_cast<DialogFormularza*>(QApplication::activeModalWidget());
      if (!d || d == ostatni_) return;
      ostatni_ = d;
      if (kroki_.empty()) {
        ADD_FAILURE() << "a form the script did not expect: " << d->windowTitle().toStdString();
        d->reject();
        return;
      }
      Krok k = std::move(kroki_.front());
      kroki_.pop_front();
      k(*d);
    });
    zegar_.start(5);
  }
  ~Uzytkownik() { EXPECT_TRUE(kroki_.empty()) << kroki_.size() << " steps left"; }

 private:
  std::deque<Krok> kroki_;
  QTimer zegar_;
  QPointer<DialogFormularza> ostatni_;
};

void wpisz(QLineEdit* e, const QString& t) {
  e->setFocus();
  e->selectAll();
  QTest::keyClick(e, Qt::Key_Backspace);
  for (QChar ch : t) QTest::sendKeyEvent(QTest::Click, e, Qt::Key_unknown, QString(ch), Qt::NoModifier);
}

void ok(DialogFormularza& d) { QTest::keyClick(&d, Qt::Key_Return); }

QStringList ramki(DialogFormularza& d) {
  QStringList t;
  for (auto* g : d.findChildren<QGroupBox*>()) t << g->title();
  return t;
}

}  // namespace

TEST(QtEdycja, ANewMaterialThroughTheRealForms) {
  Model m;
  QtPlatform p;
  _OKNO_ okno(m, p);
  okno.Cm_Nowy();
  Uzytkownik u({
      [](DialogFormularza& d) {
        EXPECT_EQ(d.windowTitle(), QString::fromUtf8("Zmiana m. Younga w f. naprężeń"));
        EXPECT_TRUE(d.edycja(8500)->isReadOnly());
        EXPECT_EQ(d.edycja(8500)->text(), "1");
        EXPECT_EQ(d.edycja(8502)->text(), "0.30000");
        EXPECT_EQ(ramki(d).size(), 2);
        bool opis = false;
        for (auto* l : d.findChildren<QLabel*>()) opis |= l->text().startsWith(QString::fromUtf8("Liczba przedziałów jest"));
        EXPECT_TRUE(opis);
        wpisz(d.edycja(8501), "1x");  // digits only: the x is not taken
        EXPECT_EQ(d.edycja(8501)->text(), "1");
        ok(d);
      },
      [](DialogFormularza& d) {
        EXPECT_EQ(d.edycja(8503)->text(), "200000.0");  // the long preset is shown whole
        EXPECT_TRUE(d.edycja(8501)->isReadOnly());
        EXPECT_EQ(d.edycja(8501)->text(), "1");
        wpisz(d.edycja(8507), "12345678");  // seven characters at most
        EXPECT_EQ(d.edycja(8507)->text(), "1234567");
        ok(d);
      },
  });
  okno.Cm_d_mat();
  ASSERT_EQ(m.nm, 1);
  EXPECT_EQ(m.Prz[1], 1);
  EXPECT_EQ(m.Ez[1][1], 200000.0f);  // read back as "200000."
  EXPECT_EQ(m.Sprz[1][1], 1234567.0f);
}

TEST(QtEdycja, ARectangleThroughItsForm) {
  Model m;
  QtPlatform p;
  _OKNO_ okno(m, p);
  okno.Cm_Nowy();
  m.nm = 1;  // a material without curve is enough for the generator
  m.maxpr = 1;
  m.pm.przydziel(1, 1, 1, 2);
  m.Prz.przydziel(1, 1);
  m.Prz[1] = 1;
  m.Ez.przydziel(1, 1, 1, 1);
  m.Sprz.przydziel(1, 1, 1, 1);
  Uzytkownik u({[](DialogFormularza& d) {
    EXPECT_EQ(d.windowTitle(), QString::fromUtf8("Macierz elementów"));
    EXPECT_TRUE(ramki(d).contains(QString::fromUtf8("Punkt początkowy obszaru")));
    EXPECT_TRUE(ramki(d).contains(QString::fromUtf8("Liczba składowych prostokątów")));
    EXPECT_TRUE(d.wybor(8600)->isChecked());
    EXPECT_FALSE(d.wybor(8610)->isChecked());
    EXPECT_EQ(d.edycja(8500)->alignment() & Qt::AlignRight, Qt::AlignRight);
    wpisz(d.edycja(8502), "3");
    wpisz(d.edycja(8503), "2");
    wpisz(d.edycja(8507), "3");
    wpisz(d.edycja(8506), "2");
    d.wybor(8610)->setChecked(true);
    ok(d);
  }});
  okno.Cm_prost();
  EXPECT_EQ(m.nn, 12 + 6);
  EXPECT_EQ(m.ne, 24);
  EXPECT_EQ(m.x[12][1], 3.0f);
  EXPECT_EQ(m.x[12][2], 2.0f);
}

TEST(QtEdycja, TheNumberFormHasNoCancelAndEscapeLeavesZero) {
  Model m;
  QtPlatform p;
  _OKNO_ okno(m, p);
  okno.Cm_Nowy();
  Uzytkownik u({[](DialogFormularza& d) {
    EXPECT_EQ(d.windowTitle(), QString::fromUtf8("Wprowadź numer"));
    QTest::keyClick(&d, Qt::Key_Escape);
  }});
  m.nn = 0;
  okno.Cm_u_wez();  // asks for the number; 0 ends the command
  EXPECT_STREQ(okno.danenr.i.t, "0");
}

TEST(QtEdycja, TheSolutionMethodIsAListOfTheSettingsFormAndOutlivesTheWindow) {
  Model m;
  {
    QtPlatform p;
    p.ZapiszUstawienie(kUstawienieMetody, "");
    _OKNO_ okno(m, p);
    Uzytkownik u({[](DialogFormularza& d) {
      QComboBox* l = d.lista(8620);
      ASSERT_TRUE(l);
      ASSERT_EQ(l->count(), 3);
      EXPECT_EQ(l->itemText(0), QString::fromUtf8("automatycznie"));
      EXPECT_EQ(l->itemText(1), QString::fromUtf8("pasmowa"));
      EXPECT_EQ(l->itemText(2), QString::fromUtf8("rzadka"));
      EXPECT_EQ(l->currentIndex(), 0);
      l->setCurrentIndex(2);
      ok(d);
    }});
    okno.Cm_u_graf();
    EXPECT_EQ(okno.metoda, MetodaRozwiazania::Rzadka);
  }
  QtPlatform p;
  _OKNO_ okno(m, p);
  EXPECT_EQ(okno.metoda, MetodaRozwiazania::Rzadka);
  p.ZapiszUstawienie(kUstawienieMetody, "");
}
