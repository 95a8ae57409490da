// "Zapisz &wyniki do pliku ": the report's lines, number format, code page,
// line ends, the recount of forces, and the handling of write errors.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/komendy.h"
#include "app/okno.h"
#include "fake_platform.h"
#include "model/raport.h"
#include "model_builders.h"

namespace {

namespace fs = std::filesystem;

std::string czytaj(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

std::string linie(std::initializer_list<std::string> l) {
  std::string t;
  for (const auto& s : l) t += s + "\r\n";
  return t;
}

class Raport : public testing::Test {
 protected:
  void SetUp() override {
    dir = fs::temp_directory_path() / ("skorba_raport_" + std::to_string(::getpid()) + "_" +
                                       testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::create_directories(dir);
  }
  void TearDown() override {
    fp.sprawdz_zuzyte();
    fs::remove_all(dir);
  }
  // One triangle with results set by hand, so that every number is known.
  void wyniki() {
    OpisModelu o;
    o.wezly = {{0, 0}, {1, 0}, {0, 1}};
    o.elementy = {{1, 2, 3}};
    o.materialy.push_back({});
    o.podpory = {{1, 0}, {5, 0}, {6, 0}};
    o.sily = {{3, 10.0f}, {4, -2.5f}, {2, 1e6f}};
    o.nl = 17;
    zbuduj(m, o);
    const float f[] = {0, 0.000012345678f, 1.0f, -3.5e-5f, 12.5f, 0.00125f, -1234567.0f};
    for (int i = 1; i <= 6; ++i) m.f[i] = f[i];
    const float n[] = {100.0f, -0.5f, 3.0f, 100.5f};
    for (int c = 1; c <= 4; ++c) m.napr[1][c] = n[c - 1];
    for (int k = 1; k <= 3; ++k)
      for (int c = 1; c <= 4; ++c) m.ww[k][c] = static_cast<float>(k * 10 + c);
    m.react[1] = -12.5f;
    m.react[2] = 0.0f;
    m.react[3] = 2.0f / 3.0f;
    m.obliczono = 1;
  }

  Model m;
  FakePlatform fp;
  _OKNO_ okno{m, fp};
  fs::path dir;
};

}  // namespace

TEST_F(Raport, EveryLineInItsPlace) {
  wyniki();
  const std::string sciezka = (dir / "wyniki.txt").string();
  fp.plik(sciezka);
  okno.Cm_zap_wyn();
  EXPECT_EQ(fp.teksty(), std::vector<std::string>{"Plik zapisano poprawnie"});
  EXPECT_EQ(fp.komunikaty[0].tytul, "VELDO SKORBA N");
  EXPECT_EQ(fp.komunikaty[0].ikona, Ikona::Brak);
  EXPECT_EQ(fp.kursor, Kursor::Normalny);
  const std::string oczekiwany = linie({
      "Wyniki obliczeń programu SKORBA N VELDO",
      "",
      "Plik :" + sciezka,
      "",
      "Liczba elementów               : 1",
      "Liczba węzłów                  : 3",
      "Liczba materiałów              : 1",
      "Liczba odjętych stopni swobody : 3",
      "Liczba sił obciążających       : 3",
      "Grubość tarczy                 : 1",
      "",
      "Przemieszczenia węzłów",
      "",
      "węzeł\tx\t\ty",
      "1\t1.23457e-05\t1",
      "2\t-3.5e-05\t12.5",
      "3\t0.00125\t-1.23457e+06",
      "",
      "Naprężenia w elementach",
      "",
      "węzeł\t\tx\t\ty\tstyczne\t\tHubera",
      "1\t\t100\t\t-0.5\t\t3\t\t100.5",
      "",
      "Naprężenia w węzłach",
      "",
      "węzeł\tx\ty\tstyczne\tHubera",
      "1\t11\t12\t13\t14",
      "2\t21\t22\t23\t24",
      "3\t31\t32\t33\t34",
      "",
      "Reakcje w podporach",
      "",
      "1X\t-12.5",
      "3X\t0",
      "3Y\t0.666667",
      "",
      "",
      "Koniec pliku",
  });
  const std::string plik = czytaj(sciezka);
  EXPECT_EQ(plik, na_cp1250(oczekiwany));
  // Code page 1250 bytes of "obliczeń" and "węzłów", and no UTF-8 left.
  EXPECT_NE(plik.find("oblicze\xF1"), std::string::npos);
  EXPECT_NE(plik.find("w\xEAz\xB3\xF3w"), std::string::npos);
  EXPECT_EQ(plik.find("\xC5"), std::string::npos);
  // The recount stays in the store.
  EXPECT_EQ(m.nl, 3);
}

TEST_F(Raport, NumbersInTheGeneralFormat) {
  EXPECT_EQ(liczba_raportu(1.0f), "1");
  EXPECT_EQ(liczba_raportu(0.000012345678f), "1.23457e-05");
  EXPECT_EQ(liczba_raportu(1e6f), "1e+06");
  EXPECT_EQ(liczba_raportu(999999.0f), "999999");
  EXPECT_EQ(liczba_raportu(0.0001f), "0.0001");
  EXPECT_EQ(liczba_raportu(-0.0f), "-0");
  EXPECT_EQ(liczba_raportu(1234.5678f), "1234.57");
}

TEST_F(Raport, WithoutSupportsTheReactionsBlockIsEmpty) {
  wyniki();
  const std::string t = tekst_raportu(m, "x", 0);
  Model bez;
  OpisModelu o;
  o.wezly = {{0, 0}, {1, 0}, {0, 1}};
  o.elementy = {{1, 2, 3}};
  o.materialy.push_back({});
  zbuduj(bez, o);
  const std::string t0 = tekst_raportu(bez, "x", 0);
  EXPECT_NE(t0.find("Liczba odjętych stopni swobody : 0\r\n"), std::string::npos);
  const std::string koniec = "Reakcje w podporach\r\n\r\n\r\n\r\nKoniec pliku\r\n";
  ASSERT_GE(t0.size(), koniec.size());
  EXPECT_EQ(t0.substr(t0.size() - koniec.size()), koniec);
  EXPECT_NE(t.substr(t.size() - koniec.size()), koniec);
}

TEST_F(Raport, OverwritesAnExistingReportCompletely) {
  wyniki();
  const auto sciezka = dir / "stary.txt";
  std::ofstream(sciezka) << std::string(100000, 'Q');
  fp.plik(sciezka.string());
  okno.Cm_zap_wyn();
  const std::string plik = czytaj(sciezka);
  EXPECT_EQ(plik.find('Q'), std::string::npos);
  EXPECT_EQ(plik.substr(plik.size() - 14), "Koniec pliku\r\n");
}

TEST_F(Raport, WriteErrorIsReportedAndKeepsTheCount) {
  wyniki();
  fp.plik((dir / "nie_ma" / "r.txt").string());
  okno.Cm_zap_wyn();
  ASSERT_EQ(fp.teksty(), std::vector<std::string>{"Nie można zapisać danych do pliku"});
  EXPECT_EQ(fp.komunikaty[0].tytul, "Błąd operacji dyskowej");
  EXPECT_EQ(fp.komunikaty[0].ikona, Ikona::Wykrzyknik);
  EXPECT_EQ(m.nl, 17);
  EXPECT_EQ(fp.kursor, Kursor::Normalny);
}

TEST_F(Raport, CancelledDialogWritesNothing) {
  wyniki();
  fp.plik(std::nullopt);
  okno.Cm_zap_wyn();
  EXPECT_TRUE(fp.komunikaty.empty());
  EXPECT_EQ(m.nl, 17);
}

TEST_F(Raport, OnlyResultsOfThePresentModelAreWritten) {
  EXPECT_FALSE(komenda_wlaczona(okno, 51702));
  okno.Cm_zap_wyn();  // no model: nothing, not even a dialog
  wyniki();
  m.obliczono = 0;
  EXPECT_FALSE(komenda_wlaczona(okno, 51702));
  okno.Cm_zap_wyn();
  EXPECT_TRUE(fp.komunikaty.empty());
  m.obliczono = 1;
  EXPECT_TRUE(komenda_wlaczona(okno, 51702));
}

TEST_F(Raport, AnalysedModelReportsItsResults) {
  // From the analysis to the file: the displacements and reactions of a
  // solved model appear as the store holds them.
  OpisModelu o;
  o.wezly = {{0, 0}, {1, 0}, {0, 1}};
  o.elementy = {{1, 2, 3}};
  o.materialy.push_back({});
  o.materialy[0].przedzialy = {{200000.0f, 1e30f}};
  o.podpory = {{1, 0}, {2, 0}, {4, 0}};
  o.sily = {{3, 1000.0f}};
  zbuduj(m, o);
  const auto stary = fs::current_path();
  fs::current_path(dir);
  fp.ok({{"ik", "50"}, {"pocz", "5"}}, {}, 3200);
  okno.Obliczenia();
  fs::current_path(stary);
  ASSERT_EQ(m.obliczono, 1);
  fp.wyczysc();
  fp.plik((dir / "r.txt").string());
  ASSERT_TRUE(wykonaj_komende(okno, 51702));
  const std::string plik = czytaj(dir / "r.txt");
  EXPECT_NE(plik.find("\r\n2\t" + liczba_raportu(m.f[3]) + "\t" + liczba_raportu(m.f[4]) + "\r\n"),
            std::string::npos);
  EXPECT_NE(plik.find("\r\n1X\t" + liczba_raportu(m.react[1]) + "\r\n"), std::string::npos);
  EXPECT_NE(plik.find("\r\n2Y\t"), std::string::npos);
  EXPECT_EQ(liczba_raportu(m.react[1]), "-1000");
}

TEST(Cp1250, PolishLettersAndStrangers) {
  EXPECT_EQ(na_cp1250("ąćęłńóśźż"), "\xB9\xE6\xEA\xB3\xF1\xF3\x9C\x9F\xBF");
  EXPECT_EQ(na_cp1250("ĄĆĘŁŃÓŚŹŻ"), "\xA5\xC6\xCA\xA3\xD1\xD3\x8C\x8F\xAF");
  EXPECT_EQ(na_cp1250("Grüße €"), "Gr\xFC\xDF" "e \x80");
  EXPECT_EQ(na_cp1250("日本"), "??");
  EXPECT_EQ(na_cp1250(std::string("a\xFF" "b\xC3", 4)), "a?b?");
  EXPECT_EQ(na_cp1250("tab\tCR\r\n"), "tab\tCR\r\n");
}
