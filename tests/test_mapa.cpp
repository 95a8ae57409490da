// The colour tables of the stress maps and the settings form "Ustawienia".
#include <gtest/gtest.h>

#include "app/okno.h"
#include "fake_platform.h"

namespace {

class Ustawienia : public testing::Test {
 protected:
  void TearDown() override { fp.sprawdz_zuzyte(); }
  Model m;
  FakePlatform fp;
  _OKNO_ okno{m, fp};
};

bool jak(const Kolor& k, int r, int g, int b) { return k == Kolor(r, g, b); }

}  // namespace

TEST_F(Ustawienia, TheSteppedTablesJumpAtTheMiddleAndRunFromDarkToLightRed) {
  ASSERT_EQ(okno.p_skok, 1);  // built by the constructor
  EXPECT_TRUE(jak(okno.knapr[0], 0, 105, 0));
  EXPECT_TRUE(jak(okno.knapr[99], 0, 204, 0));
  EXPECT_TRUE(jak(okno.knapr[100], 0, 1, 121));
  EXPECT_TRUE(jak(okno.knapr[200], 0, 101, 221));
  EXPECT_TRUE(jak(okno.knapp[0], 135, 0, 0));
  EXPECT_TRUE(jak(okno.knapp[25], 172, 0, 0));
  EXPECT_TRUE(jak(okno.knapp[50], 210, 0, 0));
  EXPECT_TRUE(jak(okno.knapp[51], 211, 0, 0));
}

TEST_F(Ustawienia, TheContinuousTablesRunWithoutAJumpFromRedToBlue) {
  okno.p_skok = 0;
  okno.Pasek_kol();
  EXPECT_TRUE(jak(okno.knapr[0], 255, 0, 0));
  EXPECT_TRUE(jak(okno.knapr[32], 159, 0, 0));
  EXPECT_TRUE(jak(okno.knapr[33], 159, 4, 0));
  EXPECT_TRUE(jak(okno.knapr[64], 159, 128, 0));
  EXPECT_TRUE(jak(okno.knapr[115], 57, 128, 0));
  EXPECT_TRUE(jak(okno.knapr[116], 55, 128, 4));
  EXPECT_TRUE(jak(okno.knapr[160], 55, 128, 180));
  EXPECT_TRUE(jak(okno.knapr[200], 55, 8, 220));
  EXPECT_TRUE(jak(okno.knapp[0], 255, 105, 0));
  EXPECT_TRUE(jak(okno.knapp[50], 255, 105, 150));
  // neighbours never differ by much: no visible jump anywhere
  for (int i = 1; i <= 200; ++i) {
    const Kolor a = okno.knapr[i - 1], b = okno.knapr[i];
    EXPECT_LE(std::abs(a.r - b.r) + std::abs(a.g - b.g) + std::abs(a.b - b.b), 8) << i;
  }
  // entries the variant does not list keep what the other one put there
  EXPECT_TRUE(jak(okno.knapp[51], 211, 0, 0));
}

TEST_F(Ustawienia, TheFormShowsThePresentSettings) {
  okno.iizol = 37;
  okno.a_licz = 1;
  fp.anuluj(3110);
  okno.Cm_u_graf();
  ASSERT_EQ(fp.pokazane.size(), 1u);
  const auto& f = fp.pokazane[0];
  EXPECT_EQ(f.zasob, 3110);
  EXPECT_EQ(f.tytul, "Ustawienia");
  EXPECT_EQ(f.pole("iizo"), "37");
  EXPECT_EQ(f.stany.at("ladne"), 1);
  EXPECT_EQ(f.stany.at("przelicz"), 1);
  EXPECT_EQ(fp.odswiezenia, 0);  // "Anuluj" changes nothing

  okno.p_skok = 0;
  okno.a_licz = 0;
  fp.anuluj(3110);
  okno.Cm_u_graf();
  EXPECT_EQ(fp.pokazane[1].stany.at("ladne"), 0);
  EXPECT_EQ(fp.pokazane[1].stany.at("przelicz"), 0);
}

TEST_F(Ustawienia, OkTakesTheCountTheColoursAndTheRecalculationAndRepaints) {
  fp.ok({{"iizo", "12"}}, {{"ladne", 0}, {"przelicz", 1}}, 3110);
  okno.Cm_u_graf();
  EXPECT_EQ(okno.iizol, 12);
  EXPECT_EQ(okno.p_skok, 0);
  EXPECT_EQ(okno.a_licz, 1);
  EXPECT_TRUE(jak(okno.knapr[0], 255, 0, 0));  // the tables follow at once
  EXPECT_EQ(fp.odswiezenia, 1);

  fp.ok({}, {{"ladne", 1}, {"przelicz", 0}}, 3110);
  okno.Cm_u_graf();
  EXPECT_EQ(okno.p_skok, 1);
  EXPECT_EQ(okno.a_licz, 0);
  EXPECT_TRUE(jak(okno.knapr[99], 0, 204, 0));
  EXPECT_TRUE(jak(okno.knapr[100], 0, 1, 121));
}

TEST_F(Ustawienia, ACountOutside1To200IsIgnoredWithoutAWordAndTheLeadingNumberCounts) {
  for (const char* zly : {"250", "0", "-5", "abc", "201"}) {
    fp.ok({{"iizo", zly}}, {}, 3110);
    okno.Cm_u_graf();
    EXPECT_EQ(okno.iizol, 200) << zly;
  }
  EXPECT_TRUE(fp.komunikaty.empty());
  EXPECT_EQ(fp.odswiezenia, 5);  // the other settings are still taken

  fp.ok({{"iizo", " 12abc"}}, {}, 3110);
  okno.Cm_u_graf();
  EXPECT_EQ(okno.iizol, 12);
  fp.ok({{"iizo", "+1"}}, {}, 3110);
  okno.Cm_u_graf();
  EXPECT_EQ(okno.iizol, 1);
  fp.ok({{"iizo", "200"}}, {}, 3110);
  okno.Cm_u_graf();
  EXPECT_EQ(okno.iizol, 200);
}
