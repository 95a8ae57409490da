// The Qt adapter: forms built from layouts, message boxes, the frame and
// its menu, the picture of the main window — offscreen.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <clocale>
#include <cstdio>

#include "analysis/materialy.h"
#include "app/liczby.h"
#include "app/rekordy.h"
#include "app/formy.h"
#include "app/okno.h"
#include "app/qt/dialog_formularza.h"
#include "app/qt/qt_canvas.h"
#include "app/qt/qt_platform.h"
#include "app/qt/rama.h"
#include "model_builders.h"

namespace {

struct Rekord {
  Pole nr, x, ro;
  int ch = 1;
};

::Formularz formularz(Rekord& r) {
  ::Formularz f;
  f.zasob = 3020;
  f.tytul = "Współrzędne węzłów";
  const int g = f.ramka("Ramka");
  f.edycja(8004, "Węzeł", "ro", &r.ro, -1, true, true, true);
  f.edycja(8500, "Współrzędna X", "x", &r.x, g);
  f.edycja(8501, "Numer", "nr", &r.nr, g, true);
  f.wybor(8600, "w kierunku X", "ch", &r.ch, g);
  return f;
}

void wpisz(QWidget* w, const QString& tekst) {
  for (QChar ch : tekst) QTest::sendKeyEvent(QTest::Click, w, Qt::Key_unknown, QString(ch), Qt::NoModifier);
}

}  // namespace

TEST(QtFormularz, EditsHoldSevenCharactersAndDigitsOnlyRefusesOthers) {
  Rekord r;
  ustaw(r.x, "0.0000");
  ustaw(r.nr, "1");
  ustaw(r.ro, "5");
  ::Formularz f = formularz(r);
  DialogFormularza d(f, nullptr);
  QLineEdit* x = d.edycja(8500);
  QLineEdit* nr = d.edycja(8501);
  ASSERT_TRUE(x && nr);
  EXPECT_EQ(x->text(), "0.0000");
  x->clear();
  wpisz(x, "123456789");
  EXPECT_EQ(x->text(), "1234567");
  nr->clear();
  wpisz(nr, "+1a2-3ż");
  EXPECT_EQ(nr->text(), "123");
  EXPECT_TRUE(d.edycja(8004)->isReadOnly());
  EXPECT_EQ(d.edycja(8004)->alignment() & Qt::AlignRight, Qt::AlignRight);
  d.wybor(8600)->setChecked(false);
  d.przenies();
  EXPECT_STREQ(r.x.t, "1234567");
  EXPECT_STREQ(r.nr.t, "123");
  EXPECT_EQ(r.ch, 0);
}

TEST(QtFormularz, LongPresetIsShownWholeAndReadBackAsSevenCharacters) {
  Rekord r;
  ustaw(r.x, "%8.1f", 200000.0);
  ::Formularz f = formularz(r);
  DialogFormularza d(f, nullptr);
  EXPECT_EQ(d.edycja(8500)->text(), "200000.0");
  d.przenies();
  EXPECT_STREQ(r.x.t, "200000.");
  EXPECT_DOUBLE_EQ(atof_pola(r.x.t), 200000.0);
}

TEST(QtFormularz, ButtonsAndTextsArePolish) {
  Rekord r;
  ::Formularz f = formularz(r);
  DialogFormularza d(f, nullptr);
  EXPECT_EQ(d.windowTitle(), QString::fromUtf8("Współrzędne węzłów"));
  QStringList teksty;
  for (auto* b : d.findChildren<QPushButton*>()) teksty << b->text();
  teksty.sort();
  EXPECT_EQ(teksty, (QStringList{"Anuluj", "OK"}));
  QStringList etykiety;
  for (auto* l : d.findChildren<QLabel*>()) etykiety << l->text();
  EXPECT_TRUE(etykiety.contains(QString::fromUtf8("Współrzędna X")));

  auto box = zbuduj_komunikat("Utworzyć nowe dane ?", "VELDO SKORBA N", Ikona::Pytanie, Przyciski::TakNie, nullptr);
  EXPECT_EQ(box->button(QMessageBox::Yes)->text(), "&Tak");
  EXPECT_EQ(box->button(QMessageBox::No)->text(), "&Nie");
  EXPECT_EQ(box->icon(), QMessageBox::Question);
  EXPECT_EQ(box->windowTitle(), "VELDO SKORBA N");
}

TEST(QtFormularz, EveryLabelStandsClearOfItsField) {
  d_wymusz w{};
  d_dane_Y y{};
  for (::Formularz f : {uklad_D_DANE_WYM(w), uklad_D_DANE_Y(y)}) {
    DialogFormularza d(f, nullptr);
    d.show();
    const int znak = d.fontMetrics().horizontalAdvance(QLatin1Char('0'));
    for (const Kontrolka& k : f.kontrolki) {
      if (k.rodzaj != Rodzaj::Edycja || k.tekst.empty()) continue;
      QLineEdit* e = d.edycja(k.id);
      QLabel* l = nullptr;
      for (auto* c : d.findChildren<QLabel*>())
        if (c->text() == QString::fromUtf8(k.tekst.c_str())) l = c;
      ASSERT_TRUE(e && l) << k.tekst;
      const int koniec = l->mapTo(&d, l->contentsRect().topLeft()).x() + l->fontMetrics().horizontalAdvance(l->text());
      EXPECT_GE(e->mapTo(&d, QPoint(0, 0)).x() - koniec, znak) << k.tekst;
    }
  }
}

TEST(QtFormularz, CancelLeavesTheRecordAndOkWritesIt) {
  Rekord r;
  ustaw(r.x, "1.5");
  ::Formularz f = formularz(r);
  QTimer::singleShot(0, [] {
    auto* d = qobject_cast<DialogFormularza*>(QApplication::activeModalWidget());
    ASSERT_TRUE(d);
    d->edycja(8500)->setText("9");
    d->reject();
  });
  EXPECT_EQ(wykonaj_formularz(f, nullptr), IDCANCEL);
  EXPECT_STREQ(r.x.t, "1.5");
  QTimer::singleShot(0, [] {
    auto* d = qobject_cast<DialogFormularza*>(QApplication::activeModalWidget());
    ASSERT_TRUE(d);
    d->edycja(8500)->setText("9");
    QTest::keyClick(d, Qt::Key_Return);
  });
  EXPECT_EQ(wykonaj_formularz(f, nullptr), IDOK);
  EXPECT_STREQ(r.x.t, "9");
}

TEST(QtFormularz, FileFilterOffersBothCases) {
  EXPECT_EQ(filtr_qt("Pliki SKORBA N (*.SKD)|*.SKD|"), "Pliki SKORBA N (*.SKD *.skd)");
  EXPECT_EQ(filtr_qt("Pliki wyników SKORBA N (*.txt)|*.txt|"), QString::fromUtf8("Pliki wyników SKORBA N (*.txt)"));
}

// A file whose name does not tell its type would be read by Qt's own icon
// provider to guess one; a file of /proc then blocks the dialog for good.
// The dialog names the type of such a file without opening it.
TEST(QtFormularz, FileDialogStartsAtTheLastFileAndReadsNoFile) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  QFile pdf(dir.filePath("bez_rozszerzenia"));
  ASSERT_TRUE(pdf.open(QIODevice::WriteOnly));
  pdf.write("%PDF-1.4\n%\xe2\xe3\xcf\xd3\n1 0 obj\n<< /Type /Catalog >>\nendobj\n");
  pdf.close();
  OpisPliku opis;
  opis.filtr = "Pliki SKORBA N (*.SKD)|*.SKD|";
  opis.sciezka = dir.filePath("model.SKD").toStdString();
  const auto d = utworz_dialog_pliku(nullptr, opis, true);
  EXPECT_EQ(d->directory().absolutePath(), QDir(dir.path()).absolutePath());
  EXPECT_TRUE(d->testOption(QFileDialog::DontUseNativeDialog));
  auto* model = d->findChild<QFileSystemModel*>();
  ASSERT_TRUE(model);
  const QModelIndex i = model->index(pdf.fileName());
  ASSERT_TRUE(i.isValid());
  QTRY_VERIFY_WITH_TIMEOUT(!model->type(i).isEmpty(), 5000);
  EXPECT_FALSE(model->type(i).contains("PDF", Qt::CaseInsensitive)) << model->type(i).toStdString();
}

TEST(QtRama, FrameMenuAndTitle) {
  Model m;
  QtPlatform p;
  RamaOkna rama;
  p.ustawRame(&rama);
  _OKNO_ okno(m, p);
  rama.ustawOkno(&okno);
  p.UstawTytul(kTytulPusty);
  rama.show();
  EXPECT_EQ(rama.windowTitle(), "VELDO SKORBA N - Beznazwy.SKD");
  QStringList popupy;
  for (QAction* a : rama.menuBar()->actions()) popupy << a->text();
  EXPECT_EQ(popupy, (QStringList{"&Plik", "&Edycja", "&Dodaj", QString::fromUtf8("&Zmień"),
                                 QString::fromUtf8("&Usuń"), "&Grupa", "&Obliczenia", "&Widok", "Us&tawienia",
                                 "P&omoc"}));
  QMenu* plik = rama.menuBar()->actions().at(0)->menu();
  rama.aktualizujMenu(plik);
  QStringList wlaczone, wszystkie;
  for (QAction* a : plik->actions()) {
    if (!a->isVisible()) continue;  // the places of recent files, while there are none
    if (a->isSeparator()) {
      // the menu shows consecutive separators as one
      if (plik->separatorsCollapsible() && !wszystkie.isEmpty() && wszystkie.back() == "-") continue;
      wszystkie << "-";
      continue;
    }
    wszystkie << a->text();
    if (a->isEnabled()) wlaczone << a->text();
  }
  const QString import = QString::fromUtf8("&Importuj siatkę…");
  EXPECT_EQ(wszystkie, (QStringList{"&Nowy", QString::fromUtf8("&Otwórz"), import, "Zapisz &Jako", "Z&amknij", "-",
                                    "Zapisz &wyniki do pliku ", QString::fromUtf8("Eksportuj do &ParaView…"),
                                    QString::fromUtf8("Zapisz &rysunek…"), "-", "&Kreator", "-", "&Koniec"}));
  EXPECT_EQ(wlaczone, (QStringList{"&Nowy", QString::fromUtf8("&Otwórz"), import, "&Kreator", "&Koniec"}));
  okno.Cm_Nowy();
  rama.aktualizujMenu(plik);
  EXPECT_TRUE(plik->actions().at(2)->isEnabled());  // "Zapisz &Jako" with a model
  // After a command every title of the bar still opens its popup, also
  // those that once did not fit the bar.
  rama.resize(200, 300);
  QApplication::processEvents();
  rama.aktualizujWszystkieMenu();
  for (QAction* a : rama.menuBar()->actions()) EXPECT_TRUE(a->isEnabled()) << a->text().toStdString();
  auto* wsp = rama.findChild<QLabel*>("xx");
  ASSERT_TRUE(wsp);
  EXPECT_EQ(wsp->text(), "x=0,       y=0");
  rama.ustawOkno(nullptr);
  p.ustawRame(nullptr);
}

TEST(QtRama, ClosingAsksAndNoKeepsTheWindowOpen) {
  Model m;
  QtPlatform p;
  RamaOkna rama;
  p.ustawRame(&rama);
  _OKNO_ okno(m, p);
  rama.ustawOkno(&okno);
  rama.show();
  QString pytanie;
  QTimer::singleShot(0, [&] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    ASSERT_TRUE(box);
    pytanie = box->text();
    box->button(QMessageBox::No)->click();
  });
  EXPECT_FALSE(rama.close());
  EXPECT_EQ(pytanie, QString::fromUtf8("Zakończyć działanie programu ?"));
  EXPECT_TRUE(rama.isVisible());
  rama.ustawOkno(nullptr);
  p.ustawRame(nullptr);
}

TEST(QtRama, NumericLocaleStaysC) {
  char bufor[32];
  std::snprintf(bufor, sizeof bufor, "%f", 0.3);
  EXPECT_STREQ(bufor, "0.300000");
  EXPECT_DOUBLE_EQ(atof_pola("0.3"), 0.3);
}

TEST(QtCanvas, LinesLeaveOutTheirLastPixelAndRectanglesTheirRightAndBottomEdges) {
  QImage img(40, 40, QImage::Format_RGB32);
  img.fill(Qt::white);
  {
    QtCanvas c(img);
    c.Pioro(Kolor(0, 0, 0), 1, StylPiora::Ciagly);
    c.MoveTo(5, 5);
    c.LineTo(15, 5);
    c.Pioro(Kolor(255, 0, 0), 1, StylPiora::Ciagly);
    c.Pedzel(Kolor(0, 0, 255));
    c.Prostokat(20, 20, 30, 30);
  }
  EXPECT_EQ(img.pixel(5, 5), qRgb(0, 0, 0));
  EXPECT_EQ(img.pixel(14, 5), qRgb(0, 0, 0));
  EXPECT_EQ(img.pixel(15, 5), qRgb(255, 255, 255));
  EXPECT_EQ(img.pixel(20, 20), qRgb(255, 0, 0));  // outline
  EXPECT_EQ(img.pixel(29, 29), qRgb(255, 0, 0));
  EXPECT_EQ(img.pixel(25, 25), qRgb(0, 0, 255));  // fill
  EXPECT_EQ(img.pixel(30, 25), qRgb(255, 255, 255));
  EXPECT_EQ(img.pixel(25, 30), qRgb(255, 255, 255));
}

TEST(QtRama, TheCoordinatesWindowHidesThePictureUnderIt) {
  Model m;
  QtPlatform p;
  RamaOkna rama;
  p.ustawRame(&rama);
  _OKNO_ okno(m, p);
  rama.ustawOkno(&okno);
  zbuduj(m, prostokat(60, 30, 60, 30));  // mesh lines everywhere
  rama.resize(800, 500);
  rama.show();
  OknoWspolrzednych* wsp = rama.wspolrzedne();
  const QRect r(wsp->mapTo(&rama, QPoint(0, 0)), wsp->size());
  const QImage obraz = rama.grab().toImage().copy(r);
  int siatka = 0;
  for (int y = 0; y < obraz.height(); ++y)
    for (int x = 0; x < obraz.width(); ++x) siatka += obraz.pixel(x, y) == qRgb(0, 255, 255);
  EXPECT_EQ(siatka, 0);
  rama.ustawOkno(nullptr);
  p.ustawRame(nullptr);
}
