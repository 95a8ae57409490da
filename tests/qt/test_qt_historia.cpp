// The Qt adapter's part in keeping work: the three-button save question,
// the "&Edycja" menu and the timer of the recovery file — offscreen.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QAbstractButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <filesystem>

#include "app/okno.h"
#include "app/qt/dialog_formularza.h"
#include "app/qt/qt_platform.h"
#include "app/qt/rama.h"
#include "model/przebuduj.h"

TEST(QtHistoria, SaveQuestionEditMenuAndTimer) {
  auto box = zbuduj_komunikat("Zapisać zmiany w projekcie?", "VELDO SKORBA N", Ikona::Pytanie,
                              Przyciski::TakNieAnuluj, nullptr);
  EXPECT_EQ(box->button(QMessageBox::Cancel)->text(), "&Anuluj");
  EXPECT_EQ(box->escapeButton(), box->button(QMessageBox::Cancel));

  Model m;
  QtPlatform p;
  RamaOkna rama;
  p.ustawRame(&rama);
  _OKNO_ okno(m, p);
  rama.ustawOkno(&okno);
  okno.Cm_Nowy();
  dodaj_wezly(m, 1);
  okno.PoZmianie({.nazwa = "Dodaj węzeł"});
  QMenu* edycja = rama.menuBar()->actions().at(1)->menu();
  QAction* cofnij = edycja->actions().at(0);
  rama.aktualizujMenu(edycja);
  EXPECT_EQ(cofnij->text(), QString::fromUtf8("&Cofnij: Dodaj węzeł"));
  EXPECT_EQ(cofnij->shortcuts(), QList<QKeySequence>{QKeySequence("Ctrl+Z")});
  cofnij->trigger();
  EXPECT_EQ(m.nn, 0);
  EXPECT_FALSE(cofnij->isEnabled());  // the frame refreshes its menus after a command
  EXPECT_EQ(edycja->actions().at(1)->text(), QString::fromUtf8("&Ponów: Dodaj węzeł"));
  edycja->actions().at(1)->trigger();

  // the timer the window asks for through the platform writes the recovery file
  QTemporaryDir katalog;
  ASSERT_TRUE(okno.WlaczOdzysk(katalog.path().toStdString() + "/skorba-n"));
  p.UstawZegar(10);
  QTRY_VERIFY(std::filesystem::exists(okno.odzysk->Sciezka()));

  // the refresh leaves the popups' titles alone, also those that the menu
  // bar of a narrow frame keeps in its overflow popup
  rama.resize(200, 300);
  rama.show();
  rama.aktualizujWszystkieMenu();
  for (QAction* a : rama.menuBar()->actions()) EXPECT_TRUE(a->isVisible() && a->isEnabled()) << a->text().toStdString();
  rama.ustawOkno(nullptr);
  p.ustawRame(nullptr);
}
