// The main window's shell: new / open / save / close, the command table,
// enabling, view switches, exit, help and about — driven through the
// scripted platform as a user would.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "app/komendy.h"
#include "app/okno.h"
#include "fake_platform.h"
#include "model/plik.h"
#include "model_builders.h"
#include "wersja.h"

namespace {

namespace fs = std::filesystem;

class Powloka : public testing::Test {
 protected:
  void SetUp() override {
    dir = fs::temp_directory_path() / ("skorba_powloka_" + std::to_string(::getpid()) + "_" +
                                       testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::create_directories(dir);
  }
  void TearDown() override {
    fp.sprawdz_zuzyte();
    fs::remove_all(dir);
  }
  // A small model as if loaded, for commands that need one.
  void zaladuj() {
    OpisModelu o;
    o.wezly = {{0, 0}, {2, 0}, {0, 1}, {2, 1}};
    o.elementy = {{1, 2, 4}, {1, 3, 4}};
    o.materialy.push_back({});
    o.podpory = {{1, 0}, {2, 0}, {6, 0}};
    o.sily = {{8, -100}};
    zbuduj(m, o);
  }
  std::string sciezka(const char* nazwa) const { return (dir / nazwa).string(); }

  Model m;
  FakePlatform fp;
  _OKNO_ okno{m, fp};
  fs::path dir;
};

}  // namespace

TEST_F(Powloka, StartsEmptyWithItsDefaults) {
  EXPECT_EQ(m.Pusty, 1);
  EXPECT_EQ(m.obliczono, 0);
  EXPECT_EQ(m.maxpr, 0);
  EXPECT_EQ(okno.p_rn, 4);
  EXPECT_EQ(okno.iizol, 200);
  EXPECT_EQ(okno.p_skok, 1);
  EXPECT_EQ(okno.a_licz, 0);
  EXPECT_EQ(okno.p_podp + okno.p_sily + okno.p_sily_nr + okno.p_siatka + okno.p_wez + okno.p_n_wezl, 6);
  EXPECT_EQ(okno.p_napr + okno.p_n_mat + okno.p_n_pola + okno.p_n_ele, 0);
  EXPECT_EQ(okno.sx, 1.0f);
  EXPECT_EQ(okno.sa, 1.0f);
  EXPECT_EQ(okno.x0, 0);
  EXPECT_EQ(okno.asp_r, 1.0f);
  EXPECT_EQ(fp.wspolrzedne, "x=0,       y=0");
  EXPECT_EQ(okno._plik_.filtr, "Pliki SKORBA N (*.SKD)|*.SKD|");
  EXPECT_EQ(okno._pliktxt_.rozszerzenie, "txt");

  std::vector<int> wlaczone;
  for (const auto& k : tablica_komend())
    if (komenda_wlaczona(okno, k.id)) wlaczone.push_back(k.id);
  EXPECT_EQ(wlaczone, (std::vector<int>{1070, 1020, 52140, 51695, 1040, 1010, 51696, 51705, 1240}));
}

TEST_F(Powloka, MenuHasItsPopupsEntriesAndSeparators) {
  std::vector<std::string> popupy(menu_popupy().begin(), menu_popupy().end());
  EXPECT_EQ(popupy, (std::vector<std::string>{"&Plik", "&Edycja", "&Dodaj", "&Zmień", "&Usuń", "&Grupa",
                                              "&Obliczenia", "&Widok", "Us&tawienia", "P&omoc"}));
  std::vector<int> po;
  for (const auto& k : tablica_komend())
    if (k.separator_po) po.push_back(k.id);
  EXPECT_EQ(po, (std::vector<int>{51703, 51761, 51695, 51734, 51684, 1010, 51706, 1123, 1230, 1220, 1210, 1250, 1260,
                                  51705}));
  EXPECT_EQ(tablica_komend().size(), 59u);
  EXPECT_STREQ(znajdz_komende(51702)->tekst, "Zapisz &wyniki do pliku ");
  EXPECT_STREQ(znajdz_komende(1200)->tekst, "Numery &elmentów");
}

TEST_F(Powloka, NewOnAnEmptyStoreAsksNothing) {
  m.maxpr = 3;
  m.nl = 5;
  okno.Cm_Nowy();
  EXPECT_TRUE(fp.komunikaty.empty());
  EXPECT_EQ(m.Pusty, 0);
  EXPECT_EQ(m.ne + m.nn + m.nd + m.nm + m.nq, 0);
  EXPECT_EQ(m.th, 1.0f);
  EXPECT_EQ(m.maxpr, 3);  // survives
  EXPECT_EQ(m.nl, 5);
  EXPECT_TRUE(m.se.istnieje());
  EXPECT_TRUE(sprawdz_niezmienniki(m));
  // now a model exists: the menu offers what a model allows
  EXPECT_TRUE(komenda_wlaczona(okno, 51688));   // add node
  EXPECT_FALSE(komenda_wlaczona(okno, 51687));  // add element needs nodes and a material
  EXPECT_FALSE(komenda_wlaczona(okno, 51695));  // the wizard needs no model
}

TEST_F(Powloka, NewOnAModelAsksAndNoKeepsEverything) {
  zaladuj();
  fp.UstawTytul("VELDO SKORBA N - /x/a.SKD");
  m.obliczono = 1;
  fp.nie();
  okno.Cm_Nowy();
  ASSERT_EQ(fp.komunikaty.size(), 1u);
  EXPECT_EQ(fp.komunikaty[0].tekst, "Utworzyć nowe dane ?");
  EXPECT_EQ(fp.komunikaty[0].tytul, "VELDO SKORBA N");
  EXPECT_EQ(fp.komunikaty[0].ikona, Ikona::Pytanie);
  EXPECT_EQ(m.nn, 4);
  EXPECT_EQ(m.obliczono, 1);
  EXPECT_EQ(fp.tytul, "VELDO SKORBA N - /x/a.SKD");

  fp.tak();
  okno.Cm_Nowy();
  EXPECT_EQ(m.nn, 0);
  EXPECT_EQ(m.Pusty, 0);
  EXPECT_EQ(m.obliczono, 0);
  EXPECT_EQ(fp.tytul, kTytulPusty);
  EXPECT_TRUE(sprawdz_niezmienniki(m));
}

TEST_F(Powloka, ReleaseDropsTheGroupAndTablesButKeepsSettings) {
  zaladuj();
  m.j_grupa = 1;
  m.i_grp = 2;
  m.s_grp.przydziel(1, 2);
  m.s_grp[1] = 1;
  m.s_grp[2] = 3;
  okno.id = 1;
  okno.dd = 42;
  m.th = 2.5f;
  m.maxpr = 4;
  okno.Zwol_pam();
  EXPECT_EQ(m.j_grupa, 0);
  EXPECT_FALSE(m.s_grp.istnieje());
  EXPECT_EQ(okno.id, 0);
  EXPECT_EQ(m.Pusty, 1);
  EXPECT_EQ(m.th, 2.5f);
  EXPECT_EQ(m.maxpr, 4);
  EXPECT_EQ(fp.odswiezenia, 1);
  EXPECT_FALSE(m.d.istnieje());

  // releasing again warns and releases nothing
  fp.tak();
  okno.Zwol_pam();
  ASSERT_EQ(fp.komunikaty.size(), 1u);
  EXPECT_EQ(fp.komunikaty[0].tekst, "Program nie zwolnił pamięci!!");
  EXPECT_EQ(fp.komunikaty[0].tytul, "UWAGA");
  EXPECT_EQ(fp.komunikaty[0].ikona, Ikona::Blad);
}

TEST_F(Powloka, CloseAsksAndAlwaysRepaints) {
  zaladuj();
  fp.nie();
  okno.Cm_zamknij();
  EXPECT_EQ(fp.komunikaty.at(0).tekst, "Zamykając projekt utracisz dane.\n\nCzy jesteś pewien ?");
  EXPECT_EQ(m.Pusty, 0);
  EXPECT_EQ(fp.odswiezenia, 1);
  fp.tak();
  okno.Cm_zamknij();
  EXPECT_EQ(m.Pusty, 1);
  EXPECT_EQ(fp.tytul, kTytulPusty);
  // nothing to close: no question, still a repaint
  fp.wyczysc();
  okno.Cm_zamknij();
  EXPECT_TRUE(fp.komunikaty.empty());
  EXPECT_EQ(fp.odswiezenia, 1);
}

TEST_F(Powloka, SaveThenOpenGivesTheSameModelAndTitles) {
  zaladuj();
  const auto plik = sciezka("model.SKD");
  fp.plik(plik);
  okno.Cm_Zapisz();
  EXPECT_EQ(fp.tytul, "VELDO SKORBA N - " + plik);
  ASSERT_EQ(fp.komunikaty.size(), 1u);
  EXPECT_EQ(fp.komunikaty[0].tekst, "Plik zapisano poprawnie");
  EXPECT_EQ(fp.komunikaty[0].tytul, "VELDO SKORBA N");
  EXPECT_EQ(fp.komunikaty[0].ikona, Ikona::Brak);
  const auto zapisane = zapisz_model(m);

  fp.wyczysc();
  okno.p_napr = 1;
  okno.p_n_pola = 1;
  fp.tak().plik(plik);
  okno.Cm_Otworz();
  EXPECT_EQ(fp.komunikaty.at(0).tekst, "Otwarcie nowego pliku spowoduje utrate danych\n\nJesteś pewien ?");
  EXPECT_EQ(m.Pusty, 0);
  EXPECT_EQ(m.obliczono, 0);
  EXPECT_EQ(zapisz_model(m), zapisane);
  EXPECT_EQ(fp.tytul, "VELDO SKORBA N - " + plik);
  EXPECT_EQ(okno.p_napr, 0);
  EXPECT_EQ(okno.p_n_pola, 0);
  EXPECT_EQ(okno._plik_.sciezka, plik);  // the next dialog starts there
  EXPECT_EQ(fp.kursor, Kursor::Normalny);
  for (int i = 1; i <= m.nq; ++i) EXPECT_EQ(m.f[i], m.si[i]);
  EXPECT_TRUE(sprawdz_niezmienniki(m));
}

TEST_F(Powloka, OpenAnsweredNoOrCancelledKeepsTheModel) {
  zaladuj();
  fp.UstawTytul("VELDO SKORBA N - /x/a.SKD");
  fp.nie();
  okno.Cm_Otworz();
  EXPECT_EQ(m.nn, 4);
  fp.tak().plik(std::nullopt);
  okno.Cm_Otworz();
  EXPECT_EQ(m.Pusty, 0);  // released only once a new file has been accepted
  EXPECT_EQ(m.nn, 4);
  EXPECT_EQ(fp.tytul, "VELDO SKORBA N - /x/a.SKD");
}

TEST_F(Powloka, OpenReportsMissingAndBadFiles) {
  fp.plik(sciezka("nie_ma.SKD"));
  okno.Cm_Otworz();
  ASSERT_EQ(fp.komunikaty.size(), 1u);
  EXPECT_EQ(fp.komunikaty[0].tekst, "Nie można otworzyć pliku");
  EXPECT_EQ(fp.komunikaty[0].tytul, "Błąd operacji dyskowej");
  EXPECT_EQ(fp.komunikaty[0].ikona, Ikona::Wykrzyknik);
  EXPECT_EQ(m.Pusty, 1);
  EXPECT_EQ(fp.kursor, Kursor::Normalny);

  const auto zly = sciezka("zly.SKD");
  const std::uint8_t naglowek[28] = {};  // nn = 0
  ASSERT_TRUE(zapisz_plik_atomowo(zly, naglowek, sizeof naglowek));
  fp.wyczysc();
  fp.plik(zly);
  okno.Cm_Otworz();
  ASSERT_EQ(fp.komunikaty.size(), 1u);
  EXPECT_EQ(fp.komunikaty[0].tekst, "Błędny plik z danymi");
  EXPECT_EQ(fp.komunikaty[0].tytul, "Błąd operacji dyskowej");
  EXPECT_EQ(m.Pusty, 1);
  EXPECT_EQ(fp.tytul, "");  // the title never showed the refused file
  EXPECT_FALSE(komenda_wlaczona(okno, 51688));
  EXPECT_EQ(fp.kursor, Kursor::Normalny);
}

TEST_F(Powloka, FailedSaveIsReportedAndKeepsTitleAndOldFile) {
  zaladuj();
  fp.UstawTytul("VELDO SKORBA N - stary");
  // a path below a regular file can never be written, even by root
  const auto zwykly = sciezka("zwykly");
  ASSERT_TRUE(zapisz_plik_atomowo(zwykly, "x", 1));
  okno._plik_.sciezka = sciezka("ostatni.SKD");  // saved there before
  fp.plik(zwykly + "/model.SKD");
  okno.Cm_Zapisz();
  // the next dialog opens where the last save succeeded, not where this one failed
  EXPECT_EQ(okno._plik_.sciezka, sciezka("ostatni.SKD"));
  ASSERT_EQ(fp.komunikaty.size(), 1u);
  EXPECT_EQ(fp.komunikaty[0].tekst, "Nie można zapisać do pliku");
  EXPECT_EQ(fp.komunikaty[0].tytul, "Błąd operacji dyskowej");
  EXPECT_EQ(fp.komunikaty[0].ikona, Ikona::Wykrzyknik);
  EXPECT_EQ(fp.tytul, "VELDO SKORBA N - stary");
  EXPECT_EQ(fp.kursor, Kursor::Normalny);
  std::vector<std::uint8_t> b;
  ASSERT_TRUE(czytaj_plik(zwykly, b));
  EXPECT_EQ(b.size(), 1u);

  fp.wyczysc();
  fp.plik(std::nullopt);
  okno.Cm_Zapisz();  // cancelled
  EXPECT_TRUE(fp.komunikaty.empty());
}

TEST_F(Powloka, ExitAsksBeforeClosing) {
  okno.Cm_Koniec();
  EXPECT_EQ(fp.zamkniecia, 1);  // the platform then asks CanClose
  fp.nie().tak();
  EXPECT_FALSE(okno.CanClose());
  EXPECT_TRUE(okno.CanClose());
  ASSERT_EQ(fp.komunikaty.size(), 2u);
  EXPECT_EQ(fp.komunikaty[0].tekst, "Zakończyć działanie programu ?");
  EXPECT_EQ(fp.komunikaty[0].tytul, "VELDO SKORBA N");
  EXPECT_EQ(fp.komunikaty[0].ikona, Ikona::Pytanie);
}

TEST_F(Powloka, HelpAndAbout) {
  okno.Cm_POMOC();
  EXPECT_EQ(fp.dokumenty, std::vector<std::string>{"skorban.chm"});
  okno.Cm_opro();
  ASSERT_EQ(fp.komunikaty.size(), 1u);
  EXPECT_EQ(fp.komunikaty[0].tytul, "O programie");
  EXPECT_EQ(fp.komunikaty[0].ikona, Ikona::Program);
  EXPECT_NE(fp.komunikaty[0].tekst.find("VELDO Skorba nieliniowa"), std::string::npos);
  EXPECT_NE(fp.komunikaty[0].tekst.find("Wersja " SKORBA_WERSJA "\n"), std::string::npos);
}

TEST_F(Powloka, StressMapSwitchesAndExclusiveLabels) {
  zaladuj();
  m.obliczono = 1;
  ASSERT_TRUE(wykonaj_komende(okno, 1120));
  EXPECT_TRUE(komenda_zaznaczona(okno, 1120));
  wykonaj_komende(okno, 1120);
  EXPECT_EQ(okno.p_napr, 0);
  EXPECT_FALSE(komenda_zaznaczona(okno, 1120));
  wykonaj_komende(okno, 1120);
  wykonaj_komende(okno, 1121);
  EXPECT_EQ(okno.p_napr, 1);
  EXPECT_EQ(okno.p_rn, 2);
  EXPECT_TRUE(komenda_zaznaczona(okno, 1121));
  EXPECT_FALSE(komenda_zaznaczona(okno, 1120));

  wykonaj_komende(okno, 1200);  // element numbers on
  wykonaj_komende(okno, 1220);  // material numbers switch them off
  EXPECT_EQ(okno.p_n_ele, 0);
  EXPECT_EQ(okno.p_n_mat, 1);
  wykonaj_komende(okno, 1230);
  EXPECT_EQ(okno.p_n_mat, 0);
  EXPECT_EQ(okno.p_n_pola, 1);
  wykonaj_komende(okno, 1230);
  EXPECT_EQ(okno.p_n_pola + okno.p_n_mat + okno.p_n_ele, 0);

  okno.p_siatka = 7;  // anything but 1 becomes 1
  wykonaj_komende(okno, 1275);
  EXPECT_EQ(okno.p_siatka, 1);
  wykonaj_komende(okno, 1275);
  EXPECT_EQ(okno.p_siatka, 0);

  // without results the map entries are disabled
  m.obliczono = 0;
  EXPECT_FALSE(wykonaj_komende(okno, 1123));
  EXPECT_FALSE(komenda_wlaczona(okno, 1230));
}
