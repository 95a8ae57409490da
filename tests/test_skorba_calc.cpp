// The batch tool, run as a user runs it.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <string>

#include "model/plik.h"
#include "model_builders.h"

namespace {

namespace fs = std::filesystem;

struct Wynik {
  int kod;
  std::string wyjscie;  // stdout and stderr together
};

Wynik uruchom(const std::string& argumenty) {
  const std::string polecenie = std::string(SKORBA_CALC) + " " + argumenty + " 2>&1";
  Wynik w{-1, {}};
  FILE* p = popen(polecenie.c_str(), "r");
  if (!p) return w;
  std::array<char, 4096> bufor{};
  while (fgets(bufor.data(), bufor.size(), p)) w.wyjscie += bufor.data();
  const int status = pclose(p);
  w.kod = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return w;
}

class SkorbaCalc : public testing::Test {
 protected:
  void SetUp() override {
    dir = fs::temp_directory_path() / ("skorba_calc_" + std::to_string(::getpid()) + "_" +
                                       testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::create_directories(dir);
  }
  void TearDown() override { fs::remove_all(dir); }
  fs::path dir;
};

}  // namespace

TEST_F(SkorbaCalc, LoadsAndSavesTheSameBytes) {
  Model m;
  OpisModelu o = prostokat(2, 1, 2, 1);
  o.podpory = {{1, 0}, {2, 0}};
  o.sily = {{6, -5}};
  zbuduj(m, o);
  const auto bajty = zapisz_model(m);
  const auto we = (dir / "we.SKD").string(), wy = (dir / "wy.SKD").string();
  ASSERT_TRUE(zapisz_plik_atomowo(we, bajty.data(), bajty.size()));
  const Wynik w = uruchom(we + " --save " + wy);
  EXPECT_EQ(w.kod, 0) << w.wyjscie;
  std::vector<std::uint8_t> zapisane;
  ASSERT_TRUE(czytaj_plik(wy, zapisane));
  EXPECT_EQ(zapisane, bajty);
  EXPECT_NE(w.wyjscie.find("Plik zapisano poprawnie"), std::string::npos);
}

TEST_F(SkorbaCalc, RefusedFilesAndArgumentsExitWithTwo) {
  const auto zly = (dir / "zly.SKD").string();
  const std::uint8_t zera[28] = {};
  ASSERT_TRUE(zapisz_plik_atomowo(zly, zera, sizeof zera));
  Wynik w = uruchom(zly);
  EXPECT_EQ(w.kod, 2);
  EXPECT_NE(w.wyjscie.find("Błędny plik z danymi"), std::string::npos) << w.wyjscie;

  w = uruchom((dir / "brak.SKD").string());
  EXPECT_EQ(w.kod, 2);
  EXPECT_NE(w.wyjscie.find("Nie można otworzyć pliku"), std::string::npos) << w.wyjscie;

  EXPECT_EQ(uruchom("").kod, 2);
  EXPECT_EQ(uruchom("--nieznana x.SKD").kod, 2);
  EXPECT_EQ(uruchom("a.SKD b.SKD").kod, 2);
  EXPECT_EQ(uruchom("a.SKD --save").kod, 2);
}

TEST_F(SkorbaCalc, UnwritableOutputIsAFailure) {
  Model m;
  zbuduj(m, prostokat(1, 1, 1, 1));
  const auto bajty = zapisz_model(m);
  const auto we = (dir / "we.SKD").string();
  ASSERT_TRUE(zapisz_plik_atomowo(we, bajty.data(), bajty.size()));
  const Wynik w = uruchom(we + " --save " + we + "/x.SKD");
  EXPECT_EQ(w.kod, 3);
  EXPECT_NE(w.wyjscie.find("Nie można zapisać do pliku"), std::string::npos) << w.wyjscie;
  EXPECT_EQ(w.wyjscie.find("Plik zapisano poprawnie"), std::string::npos);
}
