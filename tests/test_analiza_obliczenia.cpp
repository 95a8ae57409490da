// "&Oblicz" as the user sees it: the form "Dane obliczeń", the message
// boxes in their order, the three stop rules and the convergence log
// "DR.txt".  Each test runs in its own temporary folder, since the log goes
// to the current one.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "analysis/obliczenia.h"
#include "analysis/silnik.h"
#include "app/komendy.h"
#include "app/okno.h"
#include "fake_platform.h"
#include "okno_obliczen.h"
#include "model/plik.h"
#include "model_builders.h"

namespace {

namespace fs = std::filesystem;

const std::string kPlast = "Nie wystąpiy naprężenia plastyczne";
const std::string kBlad = "Błąd podczas obliczeń";
const std::string kLimit = "Wykorzystano maksymalną liczbę kroków\nPonów obliczenia z większą liczbą kroków";

int wezel(int nx, int c, int r) { return 1 + c + r * (nx + 1); }

// The same cantilever far below its limit: linear.
OpisModelu sprezysty_wspornik() {
  OpisModelu o = plastyczny_wspornik();
  for (auto& s : o.sily) s.second = -1.0f;
  return o;
}

class Obliczenia : public OknoObliczen {
 protected:
  std::vector<std::string> dr() const {
    std::ifstream in(dir / "DR.txt");
    std::vector<std::string> linie;
    for (std::string l; std::getline(in, l);) linie.push_back(l);
    return linie;
  }
};

}  // namespace

TEST_F(Obliczenia, FormLayoutAndPresets) {
  d_dane_obl r;
  ::Formularz f = uklad_D_DANE_OBL(r);
  EXPECT_EQ(f.zasob, 3200);
  EXPECT_EQ(f.tytul, "Dane obliczeń");
  EXPECT_EQ(f.szer, 142);
  EXPECT_EQ(f.wys, 65);
  ASSERT_NE(f.znajdz("ik"), nullptr);
  ASSERT_NE(f.znajdz("pocz"), nullptr);
  EXPECT_EQ(f.znajdz("ik")->id, 8500);
  EXPECT_TRUE(f.znajdz("ik")->tylko_cyfry);
  EXPECT_EQ(f.znajdz("ik")->tekst, "Maksymalna liczba kroków ");
  EXPECT_EQ(f.znajdz("pocz")->id, 8501);
  EXPECT_FALSE(f.znajdz("pocz")->tylko_cyfry);
  EXPECT_EQ(f.znajdz("pocz")->tekst, "Bład maksymalny w %");
  EXPECT_EQ(f.znajdz("ik")->limit, 7);
  EXPECT_GE(f.znajdz("ik")->ramka, 0);
  EXPECT_EQ(f.znajdz("ik")->ramka, f.znajdz("pocz")->ramka);
  EXPECT_TRUE(f.ma_anuluj);

  // The presets come back at every analysis, whatever was typed before.
  zbuduj(m, sprezysty_wspornik());
  licz("7", "2.5");
  licz("50", "5");
  ASSERT_EQ(fp.pokazane.size(), 2u);
  for (const auto& p : fp.pokazane) {
    EXPECT_EQ(p.zasob, 3200);
    EXPECT_EQ(p.pole("ik"), "50");
    EXPECT_EQ(p.pole("pocz"), "5");
  }
}

TEST_F(Obliczenia, NoModelOrAnIncompleteOneAsksNothing) {
  okno.Obliczenia();
  ASSERT_EQ(fp.komunikaty.size(), 1u);
  EXPECT_EQ(fp.komunikaty[0].tekst, "Błąd obliczeń - projekt nie istnieje");
  EXPECT_EQ(fp.komunikaty[0].tytul, "VELDO SKORBA N");
  EXPECT_EQ(fp.komunikaty[0].ikona, Ikona::Brak);
  EXPECT_EQ(fp.kursor, Kursor::Normalny);

  for (int brak = 0; brak < 3; ++brak) {
    OpisModelu o = sprezysty_wspornik();
    if (brak == 0) o.podpory.clear();
    if (brak == 1) o.elementy.clear();
    if (brak == 2) {
      o.wezly.resize(2);
      o.elementy.clear();
      o.podpory = {{1, 0}};
      o.sily.clear();
    }
    zbuduj(m, o);
    fp.wyczysc();
    okno.Obliczenia();
    EXPECT_EQ(fp.teksty(), std::vector<std::string>{"Niezdefiniowano podpór,węzłów lub elementów"}) << brak;
    EXPECT_TRUE(fp.pokazane.empty());
    EXPECT_EQ(m.obliczono, 0);
  }
  EXPECT_FALSE(fs::exists(dir / "DR.txt"));
}

TEST_F(Obliczenia, RefusedLimitsReopenTheFormWithTheTypedTexts) {
  zbuduj(m, sprezysty_wspornik());
  fp.ok({{"ik", "0"}, {"pocz", "-1"}}, {}, 3200);
  fp.ok({{"ik", "3"}, {"pocz", "100"}}, {}, 3200);  // 100 or more: silently again
  fp.ok({{"ik", "abc"}, {"pocz", "5"}}, {}, 3200);
  fp.ok({{"ik", "3"}, {"pocz", "99.9"}}, {}, 3200);
  okno.Obliczenia();
  ASSERT_EQ(fp.pokazane.size(), 4u);
  EXPECT_EQ(fp.pokazane[1].pole("ik"), "0");
  EXPECT_EQ(fp.pokazane[1].pole("pocz"), "-1");
  EXPECT_EQ(fp.pokazane[2].pole("pocz"), "100");
  EXPECT_EQ(fp.pokazane[3].pole("ik"), "abc");
  ASSERT_GE(fp.komunikaty.size(), 3u);
  EXPECT_EQ(fp.komunikaty[0].tekst, "Ilość kroków musi być większa od 0");
  EXPECT_EQ(fp.komunikaty[1].tekst, "Maksymalny błąd musi być większy lub równy 0");
  EXPECT_EQ(fp.komunikaty[2].tekst, "Ilość kroków musi być większa od 0");
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(fp.komunikaty[i].tytul, "SKORBA N obliczenia");
    EXPECT_EQ(fp.komunikaty[i].ikona, Ikona::Blad);
  }
  EXPECT_EQ(fp.komunikaty.back().tekst, kPlast);
  EXPECT_EQ(m.obliczono, 1);
}

TEST_F(Obliczenia, CancelLeavesNoResults) {
  zbuduj(m, sprezysty_wspornik());
  licz("50", "5");
  ASSERT_EQ(m.obliczono, 1);
  fp.wyczysc();
  fp.anuluj(3200);
  okno.Obliczenia();
  EXPECT_EQ(m.obliczono, 0);
  EXPECT_TRUE(fp.komunikaty.empty());
  EXPECT_EQ(fp.kursor, Kursor::Normalny);
  EXPECT_EQ(okno.przebieg.koniec, _OKNO_::Przebieg::Anulowana);
}

TEST_F(Obliczenia, LinearModelEndsAfterOneStep) {
  zbuduj(m, sprezysty_wspornik());
  licz("50", "5");
  EXPECT_EQ(fp.teksty(), std::vector<std::string>{kPlast});
  EXPECT_EQ(fp.komunikaty[0].tytul, "Obliczenia");
  EXPECT_EQ(fp.komunikaty[0].ikona, Ikona::Wykrzyknik);
  EXPECT_EQ(m.obliczono, 1);
  EXPECT_EQ(fp.kursor, Kursor::Normalny);
  EXPECT_GE(fp.odswiezenia, 1);
  // One line with the counter already past the limit; the change compares
  // the sum of squares with 1.
  const auto linie = dr();
  ASSERT_EQ(linie.size(), 1u);
  EXPECT_EQ(linie[0].rfind("51 ", 0), 0u) << linie[0];
  double suma = 0;
  for (int i = 1; i <= m.nq; ++i) suma += static_cast<double>(m.f[i]) * m.f[i];
  EXPECT_NEAR(std::stod(linie[0].substr(3)), std::fabs(1 - suma) * 100, 1e-3);
  EXPECT_EQ(okno.przebieg.koniec, _OKNO_::Przebieg::BrakPlastycznych);
  EXPECT_EQ(okno.przebieg.kroki, 1);
}

TEST_F(Obliczenia, ZeroErrorLimitRunsEveryStep) {
  zbuduj(m, plastyczny_wspornik());
  licz("6", "0");
  EXPECT_EQ(fp.teksty(), std::vector<std::string>{kLimit});
  EXPECT_EQ(fp.komunikaty[0].ikona, Ikona::Wykrzyknik);
  const auto linie = dr();
  ASSERT_EQ(linie.size(), 5u);
  for (int k = 2; k <= 6; ++k) EXPECT_EQ(linie[k - 2].rfind(std::to_string(k) + " ", 0), 0u) << linie[k - 2];
  EXPECT_EQ(m.obliczono, 1);
  EXPECT_EQ(okno.przebieg.koniec, _OKNO_::Przebieg::LimitKrokow);
  EXPECT_EQ(okno.przebieg.kroki, 6);
  // "%d %f\n": six decimals, a line feed only.
  EXPECT_EQ(dr_calosc().find('\r'), std::string::npos);
  const std::string l = linie[0];
  EXPECT_EQ(l.size() - l.find('.') - 1, 6u) << l;
}

TEST_F(Obliczenia, SettlingInStepFiveEndsTheLogWithTheLimitPlusOne) {
  // First the changes of every step, then a limit between those of steps 4
  // and 5.
  zbuduj(m, plastyczny_wspornik());
  licz("8", "0");
  auto linie = dr();
  ASSERT_EQ(linie.size(), 7u);
  const double d4 = std::stod(linie[2].substr(2)), d5 = std::stod(linie[3].substr(2));
  ASSERT_GT(d4, d5);
  char limit[16];
  std::snprintf(limit, sizeof limit, "%.5f", (d4 + d5) / 2);
  fp.wyczysc();
  licz("50", limit);
  EXPECT_TRUE(fp.komunikaty.empty()) << fp.teksty()[0];
  linie = dr();
  ASSERT_EQ(linie.size(), 4u);
  EXPECT_EQ(linie[0].rfind("2 ", 0), 0u);
  EXPECT_EQ(linie[1].rfind("3 ", 0), 0u);
  EXPECT_EQ(linie[2].rfind("4 ", 0), 0u);
  EXPECT_EQ(linie[3].rfind("51 ", 0), 0u);
  EXPECT_EQ(m.obliczono, 1);
  EXPECT_EQ(okno.przebieg.koniec, _OKNO_::Przebieg::Zbiezna);
  EXPECT_EQ(okno.przebieg.kroki, 5);

  // Settling exactly in the last permitted step still tells of the limit.
  fp.wyczysc();
  licz("5", limit);
  EXPECT_EQ(fp.teksty(), std::vector<std::string>{kLimit});
  EXPECT_EQ(dr().back().rfind("6 ", 0), 0u);
}

TEST_F(Obliczenia, OneStepWithPlasticElementsLeavesAnEmptyLog) {
  zbuduj(m, plastyczny_wspornik());
  licz("1", "5");
  EXPECT_EQ(fp.teksty(), std::vector<std::string>{kLimit});
  EXPECT_TRUE(fs::exists(dir / "DR.txt"));
  EXPECT_EQ(dr_calosc(), "");
  EXPECT_EQ(m.obliczono, 1);
}

TEST_F(Obliczenia, EngineErrorsAreReportedTwice) {
  OpisModelu o = sprezysty_wspornik();
  o.wezly.push_back({50, 50});  // a node of no element and no support
  zbuduj(m, o);
  licz("50", "5");
  ASSERT_EQ(fp.teksty(), (std::vector<std::string>{kBlad, kBlad}));
  EXPECT_EQ(fp.komunikaty[0].tytul, "Obliczenia");
  EXPECT_EQ(fp.komunikaty[0].ikona, Ikona::Blad);
  EXPECT_EQ(fp.komunikaty[1].tytul, "VELDO SKORBA N");
  EXPECT_EQ(fp.komunikaty[1].ikona, Ikona::Brak);
  EXPECT_EQ(m.obliczono, 0);
  EXPECT_EQ(m.blad, 1);
  EXPECT_EQ(dr_calosc(), "");
  EXPECT_EQ(okno.przebieg.koniec, _OKNO_::Przebieg::Blad);

  // In the last permitted step the limit message comes in between.
  fp.wyczysc();
  licz("1", "5");
  EXPECT_EQ(fp.teksty(), (std::vector<std::string>{kBlad, kLimit, kBlad}));
}

TEST_F(Obliczenia, MaterialsWithoutIntervalsFailCleanly) {
  zbuduj(m, sprezysty_wspornik());
  m.Prz.zwolnij();
  m.Ez.zwolnij();
  m.Sprz.zwolnij();
  licz("50", "5");
  EXPECT_EQ(fp.teksty(), (std::vector<std::string>{kBlad, kBlad}));
  EXPECT_EQ(m.obliczono, 0);
}

TEST_F(Obliczenia, ResultsDoNotDependOnTheLog) {
  zbuduj(m, plastyczny_wspornik());
  licz("50", "1");
  ASSERT_EQ(m.obliczono, 1);
  std::vector<float> f(m.f.dane() + 1, m.f.dane() + 1 + m.nq);
  ASSERT_TRUE(okno.przebieg.log_zapisany);

  okno.plik_dr = (dir / "brak" / "DR.txt").string();
  fp.wyczysc();
  licz("50", "1");
  EXPECT_EQ(m.obliczono, 1);
  EXPECT_FALSE(okno.przebieg.log_zapisany);
  EXPECT_TRUE(fp.komunikaty.empty());
  EXPECT_EQ(std::vector<float>(m.f.dane() + 1, m.f.dane() + 1 + m.nq), f);
}

TEST_F(Obliczenia, RepeatedAnalysesGiveIdenticalResults) {
  zbuduj(m, plastyczny_wspornik());
  licz("50", "0.5");
  const float cnst = m.cnst;
  EXPECT_EQ(cnst, 1.0e12f);
  std::vector<float> f(m.f.dane() + 1, m.f.dane() + 1 + m.nq);
  std::vector<float> r(m.react.dane() + 1, m.react.dane() + 1 + m.nd);
  std::vector<float> w;
  for (int k = 1; k <= m.nn; ++k)
    for (int c = 1; c <= 4; ++c) w.push_back(m.ww[k][c]);
  licz("50", "0.5");
  EXPECT_EQ(std::vector<float>(m.f.dane() + 1, m.f.dane() + 1 + m.nq), f);
  EXPECT_EQ(std::vector<float>(m.react.dane() + 1, m.react.dane() + 1 + m.nd), r);
  std::vector<float> w2;
  for (int k = 1; k <= m.nn; ++k)
    for (int c = 1; c <= 4; ++c) w2.push_back(m.ww[k][c]);
  EXPECT_EQ(w2, w);
  // Plastic elements have softened: the root carries less than the
  // linear solution would have put there, but the reactions still balance.
  double ry = 0;
  for (int j = 1; j <= m.nd; ++j)
    if (m.nu[j] % 2 == 0) ry += m.react[j];
  EXPECT_NEAR(ry, 60.0, 1e-3);
}

TEST_F(Obliczenia, CommandRunsTheAnalysisAndRepaints) {
  zbuduj(m, sprezysty_wspornik());
  EXPECT_TRUE(komenda_wlaczona(okno, 1010));
  EXPECT_FALSE(komenda_wlaczona(okno, 51702));
  fp.ok({{"ik", "50"}, {"pocz", "5"}}, {}, 3200);
  ASSERT_TRUE(wykonaj_komende(okno, 1010));
  EXPECT_EQ(m.obliczono, 1);
  EXPECT_GE(fp.odswiezenia, 2);
  EXPECT_TRUE(komenda_wlaczona(okno, 51702));
  EXPECT_TRUE(komenda_wlaczona(okno, 1130));
}

TEST_F(Obliczenia, LogLineFormat) {
  EXPECT_EQ(linia_logu(51, 12.5f), "51 12.500000\n");
  EXPECT_EQ(linia_logu(2, 0.0f), "2 0.000000\n");
  EXPECT_EQ(linia_logu(3, 1.0f / 3.0f), "3 0.333333\n");
  EXPECT_EQ(linia_logu(7, 123456.789f), "7 123456.789062\n");
}

TEST_F(Obliczenia, BandBeyondTheMachinesMemoryIsAnErrorNotACrash) {
  // An element joining node 2 with node 2,000,000: a band of 4,000,000
  // columns for 4,000,000 rows would need more than a hundred terabytes.
  OpisModelu o;
  o.wezly.resize(2000000, {0, 0});
  o.wezly[1] = {1, 0};
  o.wezly[2] = {0, 1};
  o.wezly.back() = {1, 1};
  o.elementy = {{1, 2, 3}, {2, 3, 2000000}};
  o.materialy.push_back({});
  o.podpory = {{1, 0}};
  zbuduj(m, o);
  licz("50", "5");
  EXPECT_EQ(fp.teksty(), (std::vector<std::string>{kBlad, kBlad}));
  EXPECT_EQ(m.obliczono, 0);
  EXPECT_EQ(m.nbw, 2 * (2000000 - 2 + 1));
}

TEST_F(Obliczenia, ResultsBeyondAFloatAreAnErrorNotAnAnswer) {
  // A plate clamped along one edge whose displacements fit a float while its
  // stresses, reactions, nodal values or a secant modulus do not.
  struct Przypadek {
    const char* opis;
    float bok, przemieszczenie, gora, dol, granica;  // forces along Y at the free corners
  };
  const Przypadek przypadki[] = {
      {"stresses of a prescribed displacement of 3.4e38", 1, 3.4e38f, 0, 0, 1e30f},
      {"stresses of forces of 1e38", 1, 0, 1e38f, 1e38f, 1e30f},
      {"stresses of coordinates of 1e-38", 1e-38f, 0, 1000, 0, 1e30f},
      {"reactions of a prescribed displacement of 3.4e38", 1e6f, 3.4e38f, 0, 0, 1e30f},
      {"nodal values beyond element stresses of 2.5e38", 1, 0, -1.3e38f, 1.3e38f, 1e30f},
      {"secant modulus of a strain that underflows", 1, 0, 1e-40f, 0, 1e-40f},
  };
  for (const auto& p : przypadki) {
    SCOPED_TRACE(p.opis);
    OpisModelu o = prostokat(4, 2, 4 * p.bok, 2 * p.bok);
    o.materialy[0].przedzialy = {{1e6f, p.granica}, {1e6f, 1e30f}};
    for (int r = 0; r <= 2; ++r) o.podpory.insert(o.podpory.end(), {{2 * wezel(4, 0, r) - 1, 0}, {2 * wezel(4, 0, r), 0}});
    if (p.przemieszczenie != 0) o.podpory.push_back({2 * wezel(4, 4, 2), p.przemieszczenie});
    o.sily = {{2 * wezel(4, 4, 2), p.gora}, {2 * wezel(4, 4, 0), p.dol}};
    zbuduj(m, o);
    fp.wyczysc();
    licz("50", "5");
    EXPECT_EQ(m.blad, kBladNieskonczony);
    EXPECT_EQ(m.obliczono, 0);
    EXPECT_EQ(fp.teksty().back(), kBlad);
    EXPECT_EQ(dr_calosc().find("nan"), std::string::npos);
  }
}

TEST_F(Obliczenia, HugeDisplacementsIterateAsTheirOrdinaryCounterparts) {
  // A thickness of 1e-30, or forces of 1e30, with the first limit raised
  // alike: the same iteration with displacements 1e30 times larger, far
  // beyond where a float sum of their squares overflows.
  zbuduj(m, plastyczny_wspornik());
  licz("50", "1");
  const int kroki = okno.przebieg.kroki;
  const double zmiana = okno.przebieg.dumax, ugiecie = m.f[2 * wezel(20, 20, 0)];
  for (int wariant = 0; wariant < 2; ++wariant) {
    OpisModelu o = plastyczny_wspornik();
    o.materialy[0].przedzialy[0].second *= 1e30f;
    if (wariant == 0) o.th = 1e-30f;
    for (auto& s : o.sily) s.second *= wariant == 1 ? 1e30f : 1.0f;
    zbuduj(m, o);
    licz("50", "1");
    EXPECT_EQ(okno.przebieg.koniec, _OKNO_::Przebieg::Zbiezna) << wariant;
    EXPECT_EQ(okno.przebieg.kroki, kroki) << wariant;
    EXPECT_NEAR(okno.przebieg.dumax, zmiana, 1e-3) << wariant;
    EXPECT_NEAR(m.f[2 * wezel(20, 20, 0)] / ugiecie, 1e30, 1e25) << wariant;
  }
}

TEST_F(Obliczenia, MaterialsAndThicknessTheAnalysisCannotUseAreNamed) {
  // Material 2 on every third element, material 3 on none.
  OpisModelu wzor = plastyczny_wspornik();
  wzor.materialy.push_back({0.3f, {{200000.0f, 250.0f}, {150000.0f, 350.0f}, {50000.0f, 1e30f}}});
  wzor.materialy.push_back({-1.5f, {{-1.0f, -1.0f}}});
  for (std::size_t e = 0; e < wzor.elementy.size(); ++e) wzor.materialy_el.push_back(e % 3 ? 1 : 2);
  const std::pair<void (*)(OpisModelu&), const char*> przypadki[] = {
      {[](OpisModelu& o) { o.th = -1; }, "Grubość musi mieć wartość dodatnią"},
      {[](OpisModelu& o) { o.th = 0; }, "Grubość musi mieć wartość dodatnią"},
      {[](OpisModelu& o) { o.materialy[1].pois = -1; }, "Materiał 2: współczynnik Poissona musi być większy od -1"},
      {[](OpisModelu& o) { o.materialy[0].przedzialy[0].first = -2e5f; },
       "Materiał 1: moduł Younga w przedziale 1 musi być większy od zera"},
      {[](OpisModelu& o) { o.materialy[1].przedzialy[2].first = 0; },
       "Materiał 2: moduł Younga w przedziale 3 musi być większy od zera"},
      {[](OpisModelu& o) { o.materialy[0].przedzialy[0].second = 0; },
       "Materiał 1: naprężenie graniczne w przedziale 1 musi być większe od zera"},
      {[](OpisModelu& o) { o.materialy[1].przedzialy[1].second = 250; },
       "Materiał 2: naprężenie graniczne w przedziale 2 musi być większe niż w przedziale 1"},
  };
  for (const auto& [zmien, komunikat] : przypadki) {
    OpisModelu o = wzor;
    zmien(o);
    zbuduj(m, o);
    fp.wyczysc();
    licz("50", "5");
    EXPECT_EQ(fp.teksty(), (std::vector<std::string>{komunikat, kBlad}));
    EXPECT_EQ(m.obliczono, 0);
  }
  // The project itself is not refused: it loads and saves as it is.
  const auto bajty = zapisz_model(m);
  Model wczytany;
  ASSERT_TRUE(wczytaj_model(bajty.data(), bajty.size(), wczytany));
  EXPECT_EQ(zapisz_model(wczytany), bajty);
  // What the analysis never reads may hold anything: the unused material 3,
  // the last limit of a material and the columns beyond its intervals.
  wzor.materialy[0].przedzialy[1].second = 100;
  wzor.maxpr = 5;
  zbuduj(m, wzor);
  m.Ez[1][4] = -1;
  m.Sprz[2][5] = 0;
  licz("50", "5");
  EXPECT_EQ(m.obliczono, 1);
}
