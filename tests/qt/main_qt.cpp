// Test runner of the Qt adapter: one QApplication for all tests, with the
// same locale fix and translations as the program.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QStandardPaths>
#include <QTranslator>
#include <clocale>

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  // Tests never need a display.
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  // Settings the tests store go to a test folder, never to the user's.
  QStandardPaths::setTestModeEnabled(true);
  QApplication app(argc, argv);
  std::setlocale(LC_NUMERIC, "C");
  QTranslator tlumaczenie;
  if (tlumaczenie.load(QLocale(QLocale::Polish), "qtbase", "_",
                       QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
    app.installTranslator(&tlumaczenie);
  return RUN_ALL_TESTS();
}
