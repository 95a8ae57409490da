// Materials: adding one with its intervals, changing, deleting, and picking
// the material of the characteristic plot.
#include <gtest/gtest.h>

#include <sstream>

#include "analysis/materialy.h"
#include "app/komendy.h"
#include "edycja_testy.h"
#include "model/przebuduj.h"

namespace {

using edycja_testy::Edycja;

class Materialy : public Edycja {
 public:
  // Three nodes, elements using the given materials; material m (1-based)
  // has Poisson's ratio 0.1*m and intervals (1000*m*j, 10*m*j), j = 1..counts[m-1].
  void zaladuj(std::vector<int> przedzialy, std::vector<int> materialy_el = {}, int maxpr = 0) {
    OpisModelu o;
    o.wezly = {{0, 0}, {1, 0}, {0, 1}};
    for (std::size_t e = 0; e < materialy_el.size(); ++e) o.elementy.push_back({1, 2, 3});
    o.materialy_el = materialy_el;
    for (std::size_t i = 0; i < przedzialy.size(); ++i) {
      OpisModelu::Material mt;
      const auto n = static_cast<float>(i + 1);
      mt.pois = 0.1f * n;
      mt.nominalny = 5.0f * n;
      mt.przedzialy.clear();
      for (int j = 1; j <= przedzialy[i]; ++j)
        mt.przedzialy.push_back({1000.0f * n * static_cast<float>(j), 10.0f * n * static_cast<float>(j)});
      o.materialy.push_back(mt);
    }
    o.maxpr = maxpr;
    zbuduj(m, o);
  }
  Materialy& material(const char* lpr, const char* pois) {
    fp.ok({{"lpr", lpr}, {"pois", pois}}, {}, 3190);
    return *this;
  }
  Materialy& przedzial(const char* e, const char* sim) {
    fp.ok({{"e", e}, {"sim", sim}}, {}, 3180);
    return *this;
  }
  // Everything of material i.
  std::string opis(int i) const {
    std::ostringstream s;
    s << m.pm[i][1] << "/" << m.pm[i][2] << ":";
    for (int j = 1; j <= m.Prz[i]; ++j) s << " " << m.Ez[i][j] << "," << m.Sprz[i][j];
    return s.str();
  }
};

}  // namespace

TEST_F(Materialy, AddingAThirdMaterialProposesItsDefaults) {
  zaladuj({1, 2}, {1, 2});
  m.obliczono = 1;
  otworz_tabele();
  material("2", "0.25").przedzial("210000", "250").przedzial("70000", "400");
  okno.Cm_d_mat();
  ASSERT_EQ(zasoby(), (std::vector<int>{3190, 3180, 3180}));
  const auto& f = fp.pokazane[0];
  EXPECT_EQ(f.tytul, "Zmiana m. Younga w f. naprężeń");
  EXPECT_EQ(f.pole("nr"), "3");
  EXPECT_EQ(f.pole("lpr"), "2");
  EXPECT_EQ(f.pole("pois"), "0.30000");
  for (int j = 1; j <= 2; ++j) {
    const auto& p = fp.pokazane[static_cast<std::size_t>(j)];
    EXPECT_EQ(p.tytul, "Zmiana modułu Younga w funkcji naprężenia");
    EXPECT_EQ(p.pole("nr"), "3");
    EXPECT_EQ(p.pole("nrp"), std::to_string(j));
    EXPECT_EQ(p.pole("lpr"), "2");
    EXPECT_EQ(p.pole("e"), "200000.0");
    EXPECT_EQ(p.pole("sim"), "300");
  }
  ASSERT_EQ(m.nm, 3);
  EXPECT_EQ(m.maxpr, 2);
  EXPECT_EQ(m.Prz[3], 2);
  EXPECT_EQ(m.pm[3][2], 0.25f);
  EXPECT_EQ(m.pm[3][1], 210000.0f);  // nominal modulus: the initial one
  EXPECT_EQ(m.Ez[3][1], 210000.0f);
  EXPECT_EQ(m.Sprz[3][2], 400.0f);
  EXPECT_EQ(m.Ez[1][1], 1000.0f);
  EXPECT_EQ(m.Sprz[2][2], 40.0f);
  EXPECT_EQ(m.obliczono, 0);
  EXPECT_TRUE(tabele_zamkniete());
  EXPECT_EQ(fp.odswiezenia, 1);
}

TEST_F(Materialy, ThePresetModulusReadsBackAsItsFirstSevenCharacters) {
  okno.Cm_Nowy();
  fp.ok({}, {}, 3190).ok({}, {}, 3180).ok({}, {}, 3180);  // OK to everything proposed
  okno.Cm_d_mat();
  ASSERT_EQ(m.nm, 1);
  EXPECT_EQ(m.Prz[1], 2);
  EXPECT_EQ(m.Ez[1][1], 200000.0f);  // "200000." of "200000.0"
  EXPECT_EQ(m.Sprz[1][2], 300.0f);
  EXPECT_EQ(m.pm[1][2], 0.3f);
}

TEST_F(Materialy, MaterialFormRefusesBadCountsAndRatios) {
  okno.Cm_Nowy();
  material("2", "0").material("2", "-0.1").material("0", "0.2").material("1001", "0.2").material("1", "abc");
  fp.anuluj(3190);
  okno.Cm_d_mat();
  EXPECT_EQ(fp.teksty(), (std::vector<std::string>{"Współczynnik Poissona <0", "Liczba przedziałów musi być większa lub równa 1",
                                                   "Liczba przedziałów nie może być większa od 1000"}));
  for (const auto& k : fp.komunikaty) {
    EXPECT_EQ(k.tytul, "Błąd danych");
    EXPECT_EQ(k.ikona, Ikona::Blad);
  }
  for (const auto& p : fp.pokazane) EXPECT_EQ(p.pole("pois"), "0.30000");  // reopened with the defaults
  EXPECT_EQ(m.nm, 0);
}

TEST_F(Materialy, IntervalFormRefusesZeroModulusAndLimitAndKeepsTheTypedTexts) {
  okno.Cm_Nowy();
  material("1", "0.2").przedzial("0", "-5").przedzial("-1", "100").przedzial("1e-60", "100").przedzial("5", "7");
  okno.Cm_d_mat();
  EXPECT_EQ(fp.teksty(), (std::vector<std::string>{"Modul Younga musi być większy od zera",
                                                   "Naprężenie graniczne musi być większe od zera",
                                                   "Modul Younga musi być większy od zera",
                                                   "Modul Younga musi być większy od zera"}));
  EXPECT_EQ(fp.pokazane.at(2).pole("e"), "0");  // the texts as entered
  EXPECT_EQ(fp.pokazane.at(2).pole("sim"), "-5");
  EXPECT_EQ(m.Ez[1][1], 5.0f);
  EXPECT_EQ(m.Sprz[1][1], 7.0f);
}

TEST_F(Materialy, CancellingTheSecondIntervalLeavesEverythingAsBefore) {
  zaladuj({2, 1}, {1, 2});
  m.obliczono = 1;
  const std::string przed = opis(1) + opis(2);
  material("3", "0.3").przedzial("1000", "10");
  fp.anuluj(3180);
  okno.Cm_d_mat();
  EXPECT_EQ(m.nm, 2);
  EXPECT_EQ(m.maxpr, 2);
  EXPECT_EQ(opis(1) + opis(2), przed);
  EXPECT_EQ(m.obliczono, 1);
  EXPECT_EQ(fp.odswiezenia, 0);  // no repaint
}

TEST_F(Materialy, CancellingTheOnlyMaterialsIntervalLeavesNoMaterial) {
  okno.Cm_Nowy();
  material("2", "0.3");
  fp.anuluj(3180);
  okno.Cm_d_mat();
  EXPECT_EQ(m.nm, 0);
  EXPECT_EQ(m.maxpr, 0);
  EXPECT_FALSE(m.Ez.istnieje());
}

TEST_F(Materialy, CancelAfterARefusedIntervalStillShowsItsMessages) {
  okno.Cm_Nowy();
  material("1", "0.3").przedzial("-2", "5");
  fp.anuluj(3180);
  okno.Cm_d_mat();
  // the checks run on the texts in the form whatever the button
  EXPECT_EQ(fp.teksty(), (std::vector<std::string>{"Modul Younga musi być większy od zera",
                                                   "Modul Younga musi być większy od zera"}));
  EXPECT_EQ(m.nm, 0);
}

TEST_F(Materialy, AddingWidensTheTablesWithZeroColumns) {
  zaladuj({1}, {1});
  material("3", "0.2").przedzial("1", "1").przedzial("2", "2").przedzial("3", "3");
  okno.Cm_d_mat();
  EXPECT_EQ(m.maxpr, 3);
  EXPECT_EQ(m.Ez.ch(), 3);
  EXPECT_EQ(m.Ez[1][1], 1000.0f);
  EXPECT_EQ(m.Ez[1][2], 0.0f);
  EXPECT_EQ(m.Sprz[1][3], 0.0f);
  EXPECT_EQ(m.Sprz[2][3], 3.0f);
}

TEST_F(Materialy, ChangingFromTwoToFourIntervalsWidensToFourColumns) {
  zaladuj({2, 3}, {1, 2});
  m.obliczono = 1;
  otworz_tabele();
  numer(1);
  material("4", "0.15");
  przedzial("11", "1").przedzial("12", "2").przedzial("13", "3").przedzial("14", "4");
  okno.Cm_z_mat();
  ASSERT_EQ(zasoby(), (std::vector<int>{3100, 3190, 3180, 3180, 3180, 3180}));
  EXPECT_STREQ(okno.danenr.nap.t, "Podaj numer materiału :");
  EXPECT_EQ(fp.pokazane[1].pole("nr"), "1");
  EXPECT_EQ(fp.pokazane[1].pole("lpr"), "2");
  EXPECT_EQ(fp.pokazane[1].pole("pois"), "0.100");
  EXPECT_EQ(fp.pokazane[2].pole("e"), "  1000.0");
  EXPECT_EQ(fp.pokazane[2].pole("sim"), "10.0");
  EXPECT_EQ(fp.pokazane[3].pole("e"), "  2000.0");
  EXPECT_EQ(fp.pokazane[4].pole("e"), "     0.0");  // what the table holds beyond the old count
  EXPECT_EQ(fp.pokazane[5].pole("e"), "     0.0");  // the new fourth column
  EXPECT_EQ(fp.pokazane[5].pole("sim"), " 0.0");
  EXPECT_EQ(fp.pokazane[5].pole("lpr"), "4");
  EXPECT_EQ(m.maxpr, 4);
  EXPECT_EQ(m.Ez.ch(), 4);
  EXPECT_EQ(m.Prz[1], 4);
  EXPECT_EQ(m.pm[1][2], 0.15f);
  EXPECT_EQ(m.pm[1][1], 5.0f);  // the nominal modulus is carried along
  EXPECT_EQ(m.Ez[1][4], 14.0f);
  EXPECT_EQ(m.Sprz[2][3], 60.0f);  // other materials keep their values
  EXPECT_EQ(m.Ez[2][4], 0.0f);
  EXPECT_EQ(m.obliczono, 0);
  EXPECT_TRUE(tabele_zamkniete());
}

TEST_F(Materialy, ChangingShowsTheCurrentValuesAgainAndIntervalsCannotBeCancelled) {
  zaladuj({1}, {1});
  numer(1);
  material("0", "0.5").material("1", "0.05");
  fp.anuluj(3180);
  przedzial("0", "1");
  fp.anuluj(3180);
  przedzial("3e5", "450");
  okno.Cm_z_mat();
  EXPECT_EQ(fp.pokazane.at(2).pole("lpr"), "1");  // current values, not the typed ones
  EXPECT_EQ(fp.pokazane.at(2).pole("pois"), "0.100");
  EXPECT_EQ(fp.pokazane.at(4).pole("e"), "  1000.0");  // "Anuluj" keeps the texts
  EXPECT_EQ(fp.pokazane.at(5).pole("e"), "0");          // the typed text stays after a refusal
  EXPECT_EQ(fp.pokazane.at(6).pole("e"), "0");
  EXPECT_EQ(fp.teksty(), (std::vector<std::string>{"Liczba przedziałów musi być większa lub równa 1",
                                                   "Modul Younga musi być większy od zera",
                                                   "Modul Younga musi być większy od zera"}));
  EXPECT_EQ(m.Ez[1][1], 300000.0f);
  EXPECT_EQ(m.pm[1][2], 0.05f);
}

TEST_F(Materialy, ChangingToFewerIntervalsNarrowsTheTables) {
  zaladuj({3, 1}, {1, 2}, 5);
  numer(1);
  material("2", "0.1").przedzial("1", "1").przedzial("2", "2");
  okno.Cm_z_mat();
  EXPECT_EQ(m.maxpr, 2);
  EXPECT_EQ(m.Ez.ch(), 2);
  EXPECT_EQ(m.Ez[2][1], 2000.0f);
}

TEST_F(Materialy, ChangingNeedsAMaterialInRange) {
  zaladuj({1}, {1});
  m.obliczono = 1;
  numer(2);
  okno.Cm_z_mat();
  numer(1).anuluj(3190);
  okno.Cm_z_mat();
  EXPECT_EQ(zasoby(), (std::vector<int>{3100, 3100, 3190}));
  EXPECT_EQ(m.obliczono, 1);
}

TEST_F(Materialy, DeletingTheMiddleMaterialRenumbersTheLater) {
  zaladuj({1, 2, 3}, {1, 3, 3}, 4);
  m.obliczono = 1;
  grupa({1});
  otworz_tabele();
  const std::string trzeci = opis(3);
  numer(2).tak();
  okno.Cm_u_mat();
  ASSERT_EQ(fp.komunikaty.size(), 1u);
  EXPECT_EQ(fp.komunikaty[0].tekst, "Usunąć materiał 2 ?");
  EXPECT_EQ(fp.komunikaty[0].tytul, "Usuwanie materiałów");
  EXPECT_EQ(fp.komunikaty[0].ikona, Ikona::Brak);
  ASSERT_EQ(m.nm, 2);
  EXPECT_EQ(opis(2), trzeci);
  EXPECT_EQ(m.Prz[2], 3);
  EXPECT_EQ(m.mat[1], 1);
  EXPECT_EQ(m.mat[2], 2);
  EXPECT_EQ(m.mat[3], 2);
  EXPECT_EQ(m.maxpr, 4);  // left as it was
  EXPECT_EQ(m.j_grupa, 0);
  EXPECT_EQ(m.obliczono, 0);
  EXPECT_TRUE(tabele_zamkniete());
}

TEST_F(Materialy, AMaterialInUseIsNotDeleted) {
  zaladuj({1, 1}, {2});
  m.obliczono = 1;
  numer(2);
  okno.Cm_u_mat();
  ASSERT_EQ(fp.komunikaty.size(), 1u);
  EXPECT_EQ(fp.komunikaty[0].tekst, "Materiał jest używany przez element !");
  EXPECT_EQ(fp.komunikaty[0].tytul, "Usuwanie materiałów");
  EXPECT_EQ(fp.komunikaty[0].ikona, Ikona::Blad);
  EXPECT_EQ(m.nm, 2);
  numer(3);
  okno.Cm_u_mat();
  numer(1).nie();
  okno.Cm_u_mat();
  EXPECT_EQ(fp.komunikaty.size(), 2u);
  EXPECT_EQ(m.nm, 2);
  EXPECT_EQ(m.obliczono, 1);
}

TEST_F(Materialy, DeletingTheLastMaterialKeepsMaxpr) {
  zaladuj({3});
  numer(1).tak();
  okno.Cm_u_mat();
  EXPECT_EQ(m.nm, 0);
  EXPECT_EQ(m.maxpr, 3);
  EXPECT_FALSE(m.pm.istnieje());
  EXPECT_FALSE(m.Sprz.istnieje());
  // a new material after that has the old width
  material("1", "0.3").przedzial("5", "5");
  okno.Cm_d_mat();
  EXPECT_EQ(m.Ez.ch(), 3);
}

TEST_F(Materialy, TheCharacteristicIsShownAndHidden) {
  zaladuj({1, 2});
  numer(2);
  okno.Cm_CHARAK();
  EXPECT_EQ(okno.SHOWGRAPH, 1);
  EXPECT_EQ(okno.nrma, 2);
  EXPECT_TRUE(komenda_zaznaczona(okno, 51706));
  okno.Cm_CHARAK();  // asks nothing
  EXPECT_EQ(okno.SHOWGRAPH, 0);
  EXPECT_EQ(fp.odswiezenia, 2);
  numer(3);
  okno.Cm_CHARAK();
  numer(0);
  okno.Cm_CHARAK();
  EXPECT_EQ(okno.SHOWGRAPH, 0);
  EXPECT_EQ(okno.nrma, 2);
  EXPECT_EQ(fp.odswiezenia, 2);
}

TEST_F(Materialy, ThePlotFollowsItsMaterialWhenAnotherIsDeleted) {
  zaladuj({1, 1, 1}, {3});
  okno.SHOWGRAPH = 1;
  okno.nrma = 3;
  numer(1).tak();
  okno.Cm_u_mat();
  EXPECT_EQ(okno.nrma, 2);
  EXPECT_EQ(okno.SHOWGRAPH, 1);
  numer(1).tak();
  okno.nrma = 1;
  okno.Cm_u_mat();
  EXPECT_EQ(okno.SHOWGRAPH, 0);  // its material is gone
  EXPECT_EQ(okno.nrma, 1);
}

TEST_F(Materialy, CommandsDoNothingWithoutAModel) {
  okno.Cm_d_mat();
  okno.Cm_z_mat();
  okno.Cm_u_mat();
  okno.Cm_CHARAK();
  EXPECT_TRUE(fp.pokazane.empty());
  okno.Cm_Nowy();
  okno.Cm_z_mat();
  okno.Cm_u_mat();
  EXPECT_TRUE(fp.pokazane.empty());
  EXPECT_FALSE(komenda_wlaczona(okno, 51706));
}

TEST_F(Materialy, AddingChangingAndDeletingRecalculate) {
  WYMAGA_ANALIZY();
  zaladuj({1, 1}, {1});
  dodaj_podpory(m, 1);  // the analysis needs a support to get as far as its form
  m.nu[1] = 1;
  okno.a_licz = 1;
  material("1", "0.3").przedzial("5", "5");
  fp.anuluj(3200);
  okno.Cm_d_mat();
  numer(3);
  material("1", "0.3").przedzial("6", "6");
  fp.anuluj(3200);
  okno.Cm_z_mat();
  numer(2).tak().anuluj(3200);
  okno.Cm_u_mat();
  EXPECT_EQ(zasoby(), (std::vector<int>{3190, 3180, 3200, 3100, 3190, 3180, 3200, 3100, 3200}));
}

TEST(Formularze, MaterialLayouts) {
  d_dane_Y_P a;
  ::Formularz f = uklad_D_DANE_Y_P(a);
  EXPECT_EQ(f.zasob, 3190);
  EXPECT_EQ(f.szer, 128);
  EXPECT_EQ(f.wys, 122);
  EXPECT_TRUE(f.znajdz("nr")->tylko_odczyt);
  EXPECT_TRUE(f.znajdz("lpr")->tylko_cyfry);
  EXPECT_EQ(f.znajdz("pois")->id, 8502);
  EXPECT_NE(f.znajdz("lpr")->ramka, f.znajdz("pois")->ramka);

  d_dane_Y b;
  f = uklad_D_DANE_Y(b);
  EXPECT_EQ(f.zasob, 3180);
  for (const char* n : {"nr", "nrp", "lpr"}) EXPECT_TRUE(f.znajdz(n)->tylko_odczyt) << n;
  EXPECT_EQ(f.znajdz("sim")->id, 8507);
  EXPECT_EQ(f.znajdz("e")->tekst, "Moduł Younga E");

  d_mat c;
  f = uklad_D_DANE_MAT(c);
  EXPECT_EQ(f.zasob, 3050);
  EXPECT_EQ(f.tytul, "Dane materiału");
  EXPECT_EQ(f.znajdz("e"), nullptr);  // passes through the form untouched
  EXPECT_EQ(f.znajdz("i")->id, 8004);
  EXPECT_EQ(f.znajdz("pois")->id, 8501);
}

TEST(PrzebudowaMaterialow, RemovingAMaterialTakesItsElementsAndRenumbersTheRest) {
  Model m;
  OpisModelu o = prostokat(2, 1, 2, 1);  // 4 elements
  o.materialy.push_back({});
  o.materialy.push_back({});
  o.materialy_el = {1, 2, 3, 2};
  zbuduj(m, o);
  usun_materialy(m, maska(3, {2}));
  EXPECT_EQ(m.nm, 2);
  ASSERT_EQ(m.ne, 2);
  EXPECT_EQ(m.mat[1], 1);
  EXPECT_EQ(m.mat[2], 2);
  EXPECT_TRUE(sprawdz_niezmienniki(m));
  zmien_szerokosc_materialow(m, 3);
  EXPECT_EQ(m.Ez[2][1], 200000.0f);
  EXPECT_EQ(m.Ez[2][3], 0.0f);
  EXPECT_EQ(najwiecej_przedzialow(m), 1);
}

TEST_F(Materialy, ALargeModulusSurvivesConfirmingTheFormsUnchanged) {
  OpisModelu o;
  o.wezly = {{0, 0}, {1, 0}, {0, 1}};
  OpisModelu::Material mt;
  mt.przedzialy = {{2.1e11f, 2.5e8f}};
  o.materialy.push_back(mt);
  zbuduj(m, o);
  numer(1);
  fp.ok({}, {}, 3190).ok({}, {}, 3180);
  okno.Cm_z_mat();
  EXPECT_EQ(fp.pokazane.at(2).pole("e"), "2.1e11");
  EXPECT_EQ(fp.pokazane.at(2).pole("sim"), "2.5e8");
  EXPECT_EQ(m.Ez[1][1], 2.1e11f);
  EXPECT_EQ(m.Sprz[1][1], 2.5e8f);
}
