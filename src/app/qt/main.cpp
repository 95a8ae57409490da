// skorba_n: the desktop program.
#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <clocale>

#include "app/okno.h"
#include "app/qt/qt_platform.h"
#include "app/qt/rama.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  // QApplication takes the C locale from the environment; numbers in forms,
  // files and reports are always written and read with a decimal point.
  std::setlocale(LC_NUMERIC, "C");
  QTranslator tlumaczenie;
  if (tlumaczenie.load(QLocale(QLocale::Polish), "qtbase", "_",
                       QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
    app.installTranslator(&tlumaczenie);
  QApplication::setApplicationName(QString::fromUtf8(kTytulAplikacji));

  Model model;
  QtPlatform platforma;
  RamaOkna rama;
  platforma.ustawRame(&rama);
  int wynik;
  {
    _OKNO_ okno(model, platforma);
    rama.ustawOkno(&okno);
    platforma.UstawTytul(kTytulPusty);
    rama.showMaximized();
    wynik = app.exec();
    rama.ustawOkno(nullptr);
  }
  platforma.ustawRame(nullptr);
  return wynik;
}
