// The list window of the Qt platform: it shows the entries and returns the
// one chosen, or -1 when cancelled.
#include <gtest/gtest.h>

#include <QApplication>
#include <QListWidget>
#include <QTimer>
#include <functional>

#include "app/qt/dialog_listy.h"
#include "app/qt/qt_platform.h"

namespace {

// Answers the next list window that opens.
void gdy_otwarta(std::function<void(DialogListy&)> krok) {
  auto* zegar = new QTimer;
  QObject::connect(zegar, &QTimer::timeout, [zegar, krok] {
    auto* d = qobject_cast<DialogListy*>(QApplication::activeModalWidget());
    if (!d) return;
    zegar->stop();
    zegar->deleteLater();
    krok(*d);
  });
  zegar->start(5);
}

}  // namespace

TEST(QtLista, ReturnsTheChosenEntryOrMinusOne) {
  QtPlatform p;
  const std::vector<std::string> pozycje = {"XY (krzywe, 5 węzłów)", "otwór (krzywe, 32 węzły)"};
  gdy_otwarta([](DialogListy& d) {
    EXPECT_EQ(d.windowTitle(), QString::fromUtf8("Zaznacz grupę z siatki"));
    ASSERT_EQ(d.lista()->count(), 2);
    EXPECT_EQ(d.lista()->item(1)->text(), QString::fromUtf8("otwór (krzywe, 32 węzły)"));
    EXPECT_EQ(d.lista()->currentRow(), 0);
    d.lista()->setCurrentRow(1);
    d.accept();
  });
  EXPECT_EQ(p.WybierzZListy("Zaznacz grupę z siatki", "Grupy:", pozycje), 1);
  gdy_otwarta([](DialogListy& d) { d.reject(); });
  EXPECT_EQ(p.WybierzZListy("Zaznacz grupę z siatki", "Grupy:", pozycje), -1);
}
