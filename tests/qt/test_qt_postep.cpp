// A long analysis in the real frame: the progress window appears, the main
// window repaints meanwhile, "Przerwij" stops it and the message tells after
// how many steps; and the window and the wait of the platform on their own.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <chrono>
#include <filesystem>
#include <thread>

#include "app/okno.h"
#include "app/qt/dialog_formularza.h"
#include "app/qt/okno_postepu.h"
#include "app/qt/qt_platform.h"
#include "app/qt/rama.h"
#include "model_builders.h"

namespace {

Postep stan(bool widoczny, int wartosc) {
  Postep p;
  p.widoczny = widoczny;
  p.tytul = "Obliczenia";
  p.wiersze = {"Krok 3 z 50", "Zmiana przemieszczeń: 2.1 % (błąd maksymalny 5 %)"};
  p.wartosc = wartosc;
  p.zakres = 50;
  p.przycisk = "Przerwij";
  return p;
}

}  // namespace

TEST(QtPostep, TheWindowShowsWhatItIsGivenAndReportsItsButton) {
  QtPlatform p;
  EXPECT_FALSE(p.PokazPostep(stan(false, 0)));
  EXPECT_EQ(p.postep(), nullptr);
  EXPECT_FALSE(p.PokazPostep(stan(true, 2)));
  OknoPostepu* o = p.postep();
  ASSERT_NE(o, nullptr);
  EXPECT_TRUE(o->isVisible());
  EXPECT_TRUE(o->isModal());
  EXPECT_EQ(QApplication::activeModalWidget(), o);
  EXPECT_EQ(o->windowTitle(), "Obliczenia");
  EXPECT_EQ(o->wiersze(), (QStringList{QString::fromUtf8("Krok 3 z 50"),
                                       QString::fromUtf8("Zmiana przemieszczeń: 2.1 % (błąd maksymalny 5 %)")}));
  EXPECT_EQ(o->pasek()->value(), 2);
  EXPECT_EQ(o->pasek()->maximum(), 50);
  EXPECT_EQ(o->przycisk()->text(), "Przerwij");
  // Esc and the close box ask to stop like the button, and leave the
  // window where it is until the operation has ended.
  QTest::keyClick(o, Qt::Key_Escape);
  EXPECT_TRUE(o->isVisible());
  EXPECT_TRUE(p.PokazPostep(stan(true, 3)));
  EXPECT_FALSE(o->przycisk()->isEnabled());
  p.ZakonczPostep();
  EXPECT_EQ(p.postep(), nullptr);

  p.PokazPostep(stan(true, 0));
  ASSERT_NE(p.postep(), nullptr);
  QTest::mouseClick(p.postep()->przycisk(), Qt::LeftButton);
  EXPECT_TRUE(p.PokazPostep(stan(true, 1)));
  p.ZakonczPostep();

  // The wait for the window system ends at once when another thread wakes it.
  const auto t0 = std::chrono::steady_clock::now();
  std::thread t([&p] {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    p.Obudz();
  });
  EXPECT_TRUE(p.Czekaj(20000));
  t.join();
  EXPECT_LT(std::chrono::steady_clock::now() - t0, std::chrono::seconds(10));
}

TEST(QtPostep, StoppingALongAnalysisInTheFrame) {
  namespace fs = std::filesystem;
  const fs::path dir = fs::temp_directory_path() / ("skorba_qt_postep_" + std::to_string(::getpid()));
  fs::create_directories(dir);
  const fs::path stary = fs::current_path();
  fs::current_path(dir);
  {
    Model m;
    QtPlatform p;
    RamaOkna rama;
    p.ustawRame(&rama);
    _OKNO_ okno(m, p);
    rama.ustawOkno(&okno);
    rama.resize(800, 600);
    rama.show();
    // A cantilever that yields and never settles with a zero error limit.
    OpisModelu o = prostokat(40, 8, 40, 8);
    o.materialy[0].przedzialy = {{200000.0f, 300.0f}, {100000.0f, 1.0e30f}};
    for (int r = 0; r <= 8; ++r) {
      const int k = 1 + r * 41;
      o.podpory.push_back({2 * k - 1, 0});
      o.podpory.push_back({2 * k, 0});
      o.sily.push_back({2 * (k + 40), -30.0f});
    }
    zbuduj(m, o);

    // The user: answers the form, waits for some steps, repaints the main
    // window, presses "Przerwij", reads the message.
    QString komunikat;
    int odmalowane = 0, krokow_w_oknie = -1;
    QTimer zegar;
    QObject::connect(&zegar, &QTimer::timeout, [&] {
      QWidget* w = QApplication::activeModalWidget();
      if (auto* d = qobject_cast<DialogFormularza*>(w)) {
        d->edycja(8500)->setText("9999999");
        d->edycja(8501)->setText("0");
        QTest::keyClick(d, Qt::Key_Return);
      } else if (auto* pp = qobject_cast<OknoPostepu*>(w)) {
        if (pp->pasek()->value() < 2 || !pp->przycisk()->isEnabled()) return;
        // The main window paints from the store, which the analysis leaves
        // alone: the model without results.
        rama.widok()->uniewaznij();
        rama.widok()->repaint();
        ++odmalowane;
        krokow_w_oknie = pp->pasek()->value();
        QTest::mouseClick(pp->przycisk(), Qt::LeftButton);
      } else if (auto* mb = qobject_cast<QMessageBox*>(w)) {
        komunikat = mb->text();
        mb->accept();
      }
    });
    zegar.start(10);
    okno.Obliczenia();
    zegar.stop();

    EXPECT_EQ(odmalowane, 1);
    const std::string tekst = komunikat.toStdString();
    ASSERT_EQ(tekst.rfind("Obliczenia przerwane po ", 0), 0u) << tekst;
    // The last step completed when the press was taken: the one shown, or
    // the next if it ended meanwhile.
    EXPECT_EQ(tekst, "Obliczenia przerwane po " + std::to_string(okno.przebieg.kroki) + " krokach");
    EXPECT_GE(okno.przebieg.kroki, krokow_w_oknie);
    EXPECT_LE(okno.przebieg.kroki, krokow_w_oknie + 1);
    EXPECT_EQ(m.obliczono, 1);
    EXPECT_EQ(p.postep(), nullptr);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    rama.ustawOkno(nullptr);
  }
  fs::current_path(stary);
  fs::remove_all(dir);
}
