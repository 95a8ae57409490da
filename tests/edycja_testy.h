// Shared pieces of the tests of the editing commands, the materials, the
// rectangle generator and the wizard: a main window over a scripted
// platform, a few small models, and the check that the analysis (run by the
// commands when automatic recalculation is on) is there to be tested.
#pragma once

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <memory>
#include <string>

#include "app/okno.h"
#include "fake_platform.h"
#include "model_builders.h"

namespace edycja_testy {

// A table window that only exists, for the commands that close them.
struct PustaTabela : OknoTabeli {
  std::string Tytul() const override { return "tabela"; }
  bool MaRodzica() const override { return true; }
  int X() const override { return 0; }
  int Y() const override { return 0; }
  int Szer() const override { return 10; }
  int Wys() const override { return 10; }
  int ZakresX() const override { return 0; }
  int ZakresY() const override { return 0; }
  void Paint(Canvas&) override {}
  bool CanClose() override { return true; }
};

// Whether "Oblicz" has its analysis yet: on a model with elements and a
// support the analysis opens its form "Dane obliczeń" (3200) first.  Tests of the automatic recalculation are
// skipped until it does.
inline bool analiza_gotowa() {
  Model m;
  FakePlatform fp;
  _OKNO_ okno(m, fp);
  OpisModelu o = prostokat(1, 1, 1, 1);
  o.podpory = {{1, 0.0f}};
  zbuduj(m, o);
  fp.anuluj(3200);
  okno.Obliczenia();
  return !fp.pokazane.empty() && fp.pokazane[0].zasob == 3200;
}

#define WYMAGA_ANALIZY() \
  if (!edycja_testy::analiza_gotowa()) GTEST_SKIP() << "czeka na analizę (formularz 3200)"

class Edycja : public testing::Test {
 protected:
  Edycja() {
    // the convergence log of the analyses that commands run, one per test
    dziennik = std::filesystem::temp_directory_path() /
               ("skorba_edycja_" + std::to_string(::getpid()) + "_" +
                testing::UnitTest::GetInstance()->current_test_info()->name() + "_DR.txt");
    okno.plik_dr = dziennik.string();
  }
  ~Edycja() override { std::filesystem::remove(dziennik); }
  void TearDown() override {
    fp.sprawdz_zuzyte();
    std::string powod;
    EXPECT_TRUE(sprawdz_niezmienniki(m, &powod)) << powod;
  }
  // Answers the number-entry form with n.
  FakePlatform& numer(int n) { return fp.ok({{"i", std::to_string(n)}}, {}, 3100); }
  // Both table windows open.
  void otworz_tabele() {
    okno.dd = fp.PokazOkno(std::make_unique<PustaTabela>());
    okno.id = 1;
    okno.oo = fp.PokazOkno(std::make_unique<PustaTabela>());
    okno.iw = 1;
  }
  bool tabele_zamkniete() const { return okno.id == 0 && okno.iw == 0 && fp.okna.empty(); }
  // A group of the given nodes.
  void grupa(std::initializer_list<int> wezly) {
    m.i_grp = static_cast<int>(wezly.size());
    m.s_grp.przydziel(1, m.i_grp);
    int i = 0;
    for (int k : wezly) m.s_grp[++i] = k;
    m.j_grupa = 1;
  }
  // Forms shown, by resource number.
  std::vector<int> zasoby() const {
    std::vector<int> z;
    for (const auto& p : fp.pokazane) z.push_back(p.zasob);
    return z;
  }

  Model m;
  FakePlatform fp;
  _OKNO_ okno{m, fp};
  std::filesystem::path dziennik;
};

}  // namespace edycja_testy
