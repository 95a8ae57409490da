// What an installation relies on: the help found beside the program and in
// the installed documentation folder, the icon, and the options that answer
// without a display.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QTemporaryDir>
#include <array>
#include <cstdio>
#include <string>

#include "app/qt/dialog_formularza.h"
#include "app/qt/ikona.h"
#include "app/qt/qt_platform.h"
#include "wersja.h"

namespace {

void utworz(const QString& sciezka) {
  ASSERT_TRUE(QDir().mkpath(QFileInfo(sciezka).path()));
  QFile f(sciezka);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write("<html></html>");
}

struct Wynik {
  int kod = -1;
  std::string wyjscie;
};

// Runs a command through the shell; standard output is returned.
Wynik uruchom(const std::string& polecenie) {
  Wynik w;
  FILE* p = popen(polecenie.c_str(), "r");
  if (!p) return w;
  std::array<char, 4096> bufor{};
  while (fgets(bufor.data(), bufor.size(), p)) w.wyjscie += bufor.data();
  const int status = pclose(p);
  w.kod = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return w;
}

// The document found for the help, from a current folder without one.
std::string pomoc(const QString& bin) {
  const QString cwd = QDir::currentPath();
  QDir::setCurrent(QDir::tempPath());
  const QString d = znajdz_dokument("skorban.chm", bin);
  QDir::setCurrent(cwd);
  return d.toStdString();
}

}  // namespace

TEST(Instalacja, HelpIsTheManualWhereThereIsOneBesideTheProgramOrInstalled) {
  QTemporaryDir tmp;
  ASSERT_TRUE(tmp.isValid());
  // An installation: programs in bin/, documents in share/doc/skorba-n/.
  const QString bin = tmp.path() + "/usr/bin";
  const QString doc = QDir::cleanPath(bin + "/" SKORBA_DOKUMENTY_OD_PROGRAMU);
  ASSERT_TRUE(QDir().mkpath(bin));
  utworz(doc + "/skorban.html");
  EXPECT_EQ(pomoc(bin), (doc + "/skorban.html").toStdString());
  utworz(doc + "/podrecznik/index.html");
  EXPECT_EQ(pomoc(bin), (doc + "/podrecznik/index.html").toStdString());
  // A build folder: the documents next to the program come first.
  utworz(bin + "/skorban.html");
  EXPECT_EQ(pomoc(bin), (bin + "/skorban.html").toStdString());
  utworz(bin + "/podrecznik/index.html");
  EXPECT_EQ(pomoc(bin), (bin + "/podrecznik/index.html").toStdString());
  // Another document is never replaced by the manual.
  utworz(doc + "/inny.html");
  EXPECT_EQ(znajdz_dokument("inny.chm", bin).toStdString(), (doc + "/inny.html").toStdString());
}

TEST(Instalacja, TheIconIsBuiltInAndShownInTheAboutBox) {
  const QIcon ikona = ikona_programu();
  ASSERT_FALSE(ikona.isNull());
  EXPECT_EQ(ikona.pixmap(16, 16).size(), QSize(16, 16));
  EXPECT_EQ(ikona.pixmap(256, 256).size(), QSize(256, 256));
  auto box = zbuduj_komunikat("VELDO Skorba nieliniowa", "O programie", Ikona::Program, Przyciski::OK, nullptr);
  EXPECT_FALSE(box->iconPixmap().isNull());
}

TEST(Instalacja, HelpAndVersionAnswerWithoutADisplay) {
  const std::string program = "env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM " + std::string(SKORBA_N);
  Wynik w = uruchom(program + " --version 2>&1");
  EXPECT_EQ(w.kod, 0);
  EXPECT_EQ(w.wyjscie, "skorba_n (SKORBA N) " SKORBA_WERSJA "\n");
  w = uruchom(program + " --help 2>&1");
  EXPECT_EQ(w.kod, 0);
  EXPECT_EQ(w.wyjscie.rfind("użycie: skorba_n", 0), 0u) << w.wyjscie;
}
