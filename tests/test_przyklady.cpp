// The example models in examples/: they are what their program makes, they
// open in the program, and each analyses the way it is meant to.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "app/okno.h"
#include "fake_platform.h"
#include "model/plik.h"

namespace {

namespace fs = std::filesystem;

const fs::path kPrzyklady = SKORBA_EXAMPLES;

class Przyklady : public testing::Test {
 protected:
  void SetUp() override {
    dir = fs::temp_directory_path() / ("skorba_przyklady_" + std::to_string(::getpid()) + "_" +
                                       testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::create_directories(dir);
    stary = fs::current_path();
    fs::current_path(dir);
  }
  void TearDown() override {
    fp.sprawdz_zuzyte();
    fs::current_path(stary);
    fs::remove_all(dir);
  }
  // Opens the example and analyses it with the presets of the form.
  void licz(const char* nazwa) {
    fp.plik((kPrzyklady / nazwa).string());
    okno.Cm_Otworz();
    ASSERT_EQ(m.Pusty, 0) << nazwa;
    fp.ok({}, {}, 3200);
    okno.Obliczenia();
    ASSERT_EQ(m.obliczono, 1) << nazwa;
  }
  std::vector<std::string> dr() const {
    std::ifstream in(dir / "DR.txt");
    std::vector<std::string> l;
    for (std::string s; std::getline(in, s);) l.push_back(s);
    return l;
  }

  Model m;
  FakePlatform fp;
  _OKNO_ okno{m, fp};
  fs::path dir, stary;
};

}  // namespace

TEST_F(Przyklady, FilesAreWhatTheirProgramMakes) {
  ASSERT_EQ(std::system((std::string(SKORBA_PRZYKLADY) + " " + dir.string() + " >/dev/null").c_str()), 0);
  for (const char* nazwa : {"wspornik.SKD", "belka_scienna.SKD", "pasmo.SKD"}) {
    std::vector<std::uint8_t> a, b;
    ASSERT_TRUE(czytaj_plik((kPrzyklady / nazwa).string(), a)) << nazwa;
    ASSERT_TRUE(czytaj_plik((dir / nazwa).string(), b)) << nazwa;
    EXPECT_EQ(a, b) << nazwa;
  }
}

TEST_F(Przyklady, CantileverStaysElasticAndBendsAsABeam) {
  licz("wspornik.SKD");
  EXPECT_EQ(fp.teksty(), std::vector<std::string>{"Nie wystąpiy naprężenia plastyczne"});
  // 1000 x 200 x 10 steel, 8 kN at the tip: bending and shear give 1.96 mm;
  // triangles of constant strain are a little stiff.
  double ugiecie = 0;
  for (int r = 0; r <= 8; ++r) ugiecie += m.f[2 * (41 + r * 41)];
  ugiecie /= -9;
  EXPECT_NEAR(ugiecie, 1.96, 0.08 * 1.96);
  double ry = 0;
  for (int j = 1; j <= m.nd; ++j)
    if (m.nu[j] % 2 == 0) ry += m.react[j];
  EXPECT_NEAR(ry, 8000.0, 0.01);
}

TEST_F(Przyklady, DeepBeamSettlesWithCrackedConcrete) {
  licz("belka_scienna.SKD");
  EXPECT_TRUE(fp.komunikaty.empty()) << fp.teksty()[0];
  const auto l = dr();
  ASSERT_GE(l.size(), 2u);
  EXPECT_EQ(l.back().rfind("51 ", 0), 0u);
  // Some concrete has gone beyond its first limit, the tie zone has not.
  int miekkie = 0;
  for (int e = 1; e <= m.ne; ++e)
    if (m.mat[e] == 1 && m.napr[e][4] >= 3.0f) ++miekkie;
  EXPECT_GT(miekkie, 0);
  double ry = 0;
  for (int j = 1; j <= m.nd; ++j)
    if (m.nu[j] % 2 == 0) ry += m.react[j];
  EXPECT_NEAR(ry, 1.2e6, 1.0);
}

TEST_F(Przyklady, StripYieldsUniformly) {
  licz("pasmo.SKD");
  EXPECT_TRUE(fp.komunikaty.empty()) << fp.teksty()[0];
  const auto l = dr();
  ASSERT_EQ(l.size(), 2u);
  EXPECT_EQ(l[0].rfind("2 ", 0), 0u);
  EXPECT_EQ(l[1], "51 0.000000");
  for (int e = 1; e <= m.ne; ++e) {
    EXPECT_NEAR(m.napr[e][1], 200.0f, 0.01f) << e;
    EXPECT_NEAR(m.napr[e][4], 200.0f, 0.01f) << e;
  }
  // Strain on the chain: 150/70000 + 50/7000; 200 mm long.
  const double wydluzenie = 200 * (150.0 / 70000 + 50.0 / 7000);
  EXPECT_NEAR(m.f[2 * 21 - 1], wydluzenie, 1e-4 * wydluzenie);
}
