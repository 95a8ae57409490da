// The Qt adapter's part in keeping work: the three-button save question,
// the "&Edycja" menu and the timer of the recovery file — offscreen.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <filesystem>

#include "app/okno.h"
#include "app/qt/dialog_formularza.h"
#include "app/qt/qt_platform.h"
#include "app/qt/rama.h"
#include "model/przebuduj.h"

TEST(QtHistoria, SaveQuestionHasThreePolishButtonsAndEscapeCancels) {
  for (const auto& [klawisz, wynik] : {std::pair{Qt::Key_Escape, IDCANCEL}, std::pair{Qt::Key_Return, IDYES}}) {
    QStringList teksty;
    QTimer::singleShot(0, [&, k = klawisz] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      ASSERT_TRUE(box);
      for (auto* b : box->findChildren<QPushButton*>()) teksty << b->text();
      QTest::keyClick(box, k);
    });
    EXPECT_EQ(pokaz_komunikat("Zapisać zmiany w projekcie?", "VELDO SKORBA N", Ikona::Pytanie,
                              Przyciski::TakNieAnuluj, nullptr),
              wynik);
    teksty.sort();
    EXPECT_EQ(teksty, (QStringList{"&Anuluj", "&Nie", "&Tak"}));
  }
}

TEST(QtHistoria, EditMenuNamesTheStepAndTheTimerReachesTheWindow) {
  Model m;
  QtPlatform p;
  RamaOkna rama;
  p.ustawRame(&rama);
  _OKNO_ okno(m, p);
  rama.ustawOkno(&okno);
  okno.Cm_Nowy();
  QMenu* edycja = rama.menuBar()->actions().at(1)->menu();
  ASSERT_EQ(edycja->title(), "&Edycja");
  QAction* cofnij = edycja->actions().at(0);
  rama.aktualizujMenu(edycja);
  EXPECT_EQ(cofnij->text(), "&Cofnij");
  EXPECT_FALSE(cofnij->isEnabled());
  EXPECT_EQ(cofnij->shortcuts(), QList<QKeySequence>{QKeySequence("Ctrl+Z")});
  EXPECT_EQ(edycja->actions().at(1)->shortcuts().size(), 2);

  dodaj_wezly(m, 1);
  okno.PoZmianie({.nazwa = "Dodaj węzeł"});
  rama.aktualizujMenu(edycja);
  EXPECT_EQ(cofnij->text(), QString::fromUtf8("&Cofnij: Dodaj węzeł"));
  ASSERT_TRUE(cofnij->isEnabled());
  cofnij->trigger();
  EXPECT_EQ(m.nn, 0);
  EXPECT_EQ(cofnij->text(), "&Cofnij");  // the frame refreshed its menus after the command
  EXPECT_EQ(edycja->actions().at(1)->text(), QString::fromUtf8("&Ponów: Dodaj węzeł"));

  // the timer the window asks for through the platform writes the recovery file
  edycja->actions().at(1)->trigger();
  EXPECT_EQ(m.nn, 1);
  QTemporaryDir katalog;
  ASSERT_TRUE(okno.WlaczOdzysk(katalog.path().toStdString() + "/skorba-n"));
  ASSERT_TRUE(okno.Zmieniony());
  const std::filesystem::path kopia = okno.odzysk->Sciezka();
  p.UstawZegar(10);
  QTRY_VERIFY(std::filesystem::exists(kopia));


  // refreshing the entries leaves the popups' titles alone, also those that
  // the menu bar of a narrow frame moves into its overflow popup
  rama.resize(200, 300);
  rama.show();
  rama.aktualizujWszystkieMenu();
  for (QAction* a : rama.menuBar()->actions()) EXPECT_TRUE(a->isVisible() && a->isEnabled()) << a->text().toStdString();
  rama.ustawOkno(nullptr);
  p.ustawRame(nullptr);
}
