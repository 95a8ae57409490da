// What the tests of "&Oblicz" share: the main window on the scripted
// platform, run in a temporary folder of its own (the convergence log
// "DR.txt" goes to the current folder), and a cantilever that yields.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "app/okno.h"
#include "fake_platform.h"
#include "model_builders.h"

// A cantilever of 20 x 4 cells with a hardening material; the load 60 takes
// the root beyond its first limit, and the secant iteration settles slowly.
inline OpisModelu plastyczny_wspornik(float hartowanie = 100000.0f) {
  const auto wezel = [](int c, int r) { return 1 + c + r * 21; };
  OpisModelu o = prostokat(20, 4, 20, 4, 200000.0f, 0.3f);
  o.materialy[0].przedzialy = {{200000.0f, 300.0f}, {hartowanie, 1.0e30f}};
  for (int r = 0; r <= 4; ++r) {
    const int k = wezel(0, r);
    o.podpory.push_back({2 * k - 1, 0});
    o.podpory.push_back({2 * k, 0});
  }
  for (int r = 0; r <= 4; ++r) o.sily.push_back({2 * wezel(20, r), -12.0f});
  return o;
}

class OknoObliczen : public testing::Test {
 protected:
  void SetUp() override {
    dir = std::filesystem::temp_directory_path() /
          ("skorba_obl_" + std::to_string(::getpid()) + "_" +
           testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::create_directories(dir);
    stary = std::filesystem::current_path();
    std::filesystem::current_path(dir);
  }
  void TearDown() override {
    fp.sprawdz_zuzyte();
    std::filesystem::current_path(stary);
    std::filesystem::remove_all(dir);
  }
  // The convergence log as written, byte for byte.
  std::string dr_calosc() const {
    std::ifstream in(dir / "DR.txt", std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }
  // Runs the analysis with the form answered with these limits.
  void licz(const std::string& kroki, const std::string& blad) {
    fp.ok({{"ik", kroki}, {"pocz", blad}}, {}, 3200);
    okno.Obliczenia();
  }

  Model m;
  FakePlatform fp;
  _OKNO_ okno{m, fp};
  std::filesystem::path dir, stary;
};
