// skorba_n: the desktop program.
#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QScreen>
#include <QTimer>
#include <QTranslator>
#include <clocale>

#include "app/okno.h"
#include "app/qt/ikona.h"
#include "app/qt/opcje.h"
#include "app/qt/qt_platform.h"
#include "app/qt/rama.h"
#include "wersja.h"

int main(int argc, char** argv) {
  if (const int kod = odpowiedz_na_opcje(argc, argv); kod >= 0) return kod;
  QApplication app(argc, argv);
  // QApplication takes the C locale from the environment; numbers in forms,
  // files and reports are always written and read with a decimal point.
  std::setlocale(LC_NUMERIC, "C");
  QTranslator tlumaczenie;
  if (tlumaczenie.load(QLocale(QLocale::Polish), "qtbase", "_",
                       QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
    app.installTranslator(&tlumaczenie);
  QApplication::setApplicationName(QString::fromUtf8(kTytulAplikacji));
  QApplication::setApplicationVersion(QStringLiteral(SKORBA_WERSJA));
  QApplication::setWindowIcon(ikona_programu());
  // Lets a desktop match the windows to the menu entry and its icon.
  QGuiApplication::setDesktopFileName(QStringLiteral(SKORBA_ID));

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
    // Without a window manager (a bare X server) nothing maximises the
    // frame; it then takes the whole screen itself.
    QTimer::singleShot(300, &rama, [&rama] {
      if (rama.size() == QSize(640, 400) && rama.screen())
        rama.setGeometry(rama.screen()->availableGeometry());
    });
    wynik = app.exec();
    rama.ustawOkno(nullptr);
  }
  platforma.ustawRame(nullptr);
  return wynik;
}
