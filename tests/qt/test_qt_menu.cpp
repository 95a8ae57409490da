// The menu bar keeps every popup usable after a command, also when the
// frame was once too narrow for all the popup titles.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>

#include "app/okno.h"
#include "app/qt/qt_platform.h"
#include "app/qt/rama.h"

TEST(QtMenu, ANarrowFrameKeepsItsPopupsAfterACommand) {
  Model m;
  QtPlatform p;
  RamaOkna rama;
  p.ustawRame(&rama);
  _OKNO_ okno(m, p);
  rama.ustawOkno(&okno);
  rama.resize(160, 300);  // the titles overflow into the bar's extension menu
  rama.show();
  QApplication::processEvents();
  rama.aktualizujWszystkieMenu();  // as after every command
  rama.resize(1000, 300);
  QApplication::processEvents();
  for (QAction* a : rama.menuBar()->actions())
    EXPECT_TRUE(a->isEnabled()) << a->text().toStdString();
}
