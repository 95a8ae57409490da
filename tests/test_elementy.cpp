// Element commands: adding, changing and deleting one triangle, with the
// checks of the element form.
#include <gtest/gtest.h>

#include <array>

#include "edycja_testy.h"
#include "model/przebuduj.h"

namespace {

using edycja_testy::Edycja;

class Elementy : public Edycja {
 public:
  // Four nodes, one material; elements as given.
  void zaladuj(std::vector<std::array<int, 3>> elementy = {}, int materialy = 1) {
    OpisModelu o;
    o.wezly = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
    o.elementy = std::move(elementy);
    for (int i = 0; i < materialy; ++i) o.materialy.push_back({});
    o.materialy_el.assign(o.elementy.size(), 1);
    zbuduj(m, o);
  }
  std::array<int, 4> element(int e) const { return {m.noc[e][1], m.noc[e][2], m.noc[e][3], m.mat[e]}; }
  Elementy& trojkat(const char* a, const char* b, const char* c, const char* mat = "1") {
    fp.ok({{"w1", a}, {"w2", b}, {"w3", c}, {"mat", mat}}, {}, 3010);
    return *this;
  }
};

}  // namespace

TEST_F(Elementy, AddingTheFirstElement) {
  zaladuj();
  m.obliczono = 1;
  otworz_tabele();
  trojkat("1", "2", "3");
  okno.Cm_d_ele();
  ASSERT_EQ(fp.pokazane.size(), 1u);
  const auto& p = fp.pokazane[0];
  EXPECT_EQ(p.tytul, "Parametry elementów trójkątnych");
  EXPECT_EQ(p.pole("ee"), "1");
  EXPECT_EQ(p.pole("w1") + p.pole("w2") + p.pole("w3") + p.pole("mat"), "0001");
  ASSERT_EQ(m.ne, 1);
  EXPECT_EQ(element(1), (std::array<int, 4>{1, 2, 3, 1}));
  EXPECT_EQ(m.napr.rh(), 1);
  EXPECT_EQ(m.obliczono, 0);
  EXPECT_TRUE(tabele_zamkniete());
  EXPECT_EQ(fp.odswiezenia, 1);
}

TEST_F(Elementy, NodeOrderIsKeptAndCollinearNodesPass) {
  zaladuj({{1, 2, 3}});
  trojkat("3", "2", "1");
  okno.Cm_d_ele();
  OpisModelu o;
  o.wezly = {{0, 0}, {1, 0}, {2, 0}};
  o.materialy.push_back({});
  zbuduj(m, o);
  trojkat("1", "2", "3");
  okno.Cm_d_ele();
  EXPECT_EQ(m.ne, 1);
  EXPECT_TRUE(fp.komunikaty.empty());
}

TEST_F(Elementy, EqualFirstTwoNodesGiveOneMessageOtherEqualitiesNone) {
  zaladuj();
  trojkat("1", "1", "2").trojkat("1", "2", "2").trojkat("2", "1", "2").trojkat("1", "2", "4");
  okno.Cm_d_ele();
  EXPECT_EQ(fp.teksty(), std::vector<std::string>{"Zły numer węzła 1"});
  EXPECT_EQ(fp.komunikaty.at(0).tytul, "Błąd danych");
  EXPECT_EQ(fp.komunikaty.at(0).ikona, Ikona::Blad);
  ASSERT_EQ(fp.pokazane.size(), 4u);
  for (const auto& p : fp.pokazane) EXPECT_EQ(p.pole("w1"), "0");  // presets, not the typed values
  ASSERT_EQ(m.ne, 1);
  EXPECT_EQ(element(1), (std::array<int, 4>{1, 2, 4, 1}));
}

TEST_F(Elementy, EveryBadNumberHasItsMessageInOrder) {
  zaladuj({}, 2);
  trojkat("0", "9", "-1", "3").trojkat("2", "3", "4", "0");
  fp.anuluj(3010);
  okno.Cm_d_ele();
  EXPECT_EQ(fp.teksty(), (std::vector<std::string>{"Zły numer węzła 1", "Zły numer węzła 2", "Zły numer węzła 3",
                                                   "Zły numer materiału", "Zły numer materiału"}));
  EXPECT_EQ(m.ne, 0);
  trojkat("2", "3", "4", "2");
  okno.Cm_d_ele();
  EXPECT_EQ(element(1), (std::array<int, 4>{2, 3, 4, 2}));
}

TEST_F(Elementy, AddingNeedsThreeNodesAndAMaterial) {
  okno.Cm_Nowy();
  okno.Cm_d_ele();
  zaladuj({}, 0);
  okno.Cm_d_ele();
  EXPECT_TRUE(fp.pokazane.empty());
}

TEST_F(Elementy, ChangingAnElement) {
  zaladuj({{1, 2, 3}, {1, 3, 4}}, 2);
  m.obliczono = 1;
  otworz_tabele();
  numer(2);
  trojkat("4", "3", "2", "2");
  okno.Cm_z_pret();
  ASSERT_EQ(fp.pokazane.size(), 2u);
  EXPECT_EQ(fp.pokazane[0].pole("i"), "0");
  EXPECT_STREQ(okno.danenr.nap.t, "Podaj numer elementu :");
  const auto& p = fp.pokazane[1];
  EXPECT_EQ(p.pole("ee"), "2");
  EXPECT_EQ(p.pole("w1") + p.pole("w2") + p.pole("w3") + p.pole("mat"), "1341");
  EXPECT_EQ(element(2), (std::array<int, 4>{4, 3, 2, 2}));
  EXPECT_EQ(element(1), (std::array<int, 4>{1, 2, 3, 1}));
  EXPECT_EQ(m.obliczono, 0);
  EXPECT_TRUE(tabele_zamkniete());
  EXPECT_EQ(fp.odswiezenia, 1);
}

TEST_F(Elementy, ARefusedChangeEndsTheCommandAndAlwaysRepaints) {
  zaladuj({{1, 2, 3}});
  m.obliczono = 1;
  numer(1);
  trojkat("1", "2", "7");
  okno.Cm_z_pret();
  EXPECT_EQ(fp.teksty(), std::vector<std::string>{"Zły numer węzła 3"});
  EXPECT_EQ(element(1), (std::array<int, 4>{1, 2, 3, 1}));
  EXPECT_EQ(m.obliczono, 1);
  EXPECT_EQ(fp.odswiezenia, 1);
  numer(5);
  okno.Cm_z_pret();
  numer(1).anuluj(3010);
  okno.Cm_z_pret();
  EXPECT_EQ(fp.odswiezenia, 3);
  EXPECT_EQ(m.obliczono, 1);
}

TEST_F(Elementy, DeletingTheFirstOfThreeShiftsTheOthers) {
  zaladuj({{1, 2, 3}, {1, 3, 4}, {2, 3, 4}}, 2);
  m.mat[3] = 2;
  m.obliczono = 1;
  grupa({1});
  otworz_tabele();
  numer(1).tak();
  okno.Cm_u_ele();
  ASSERT_EQ(fp.komunikaty.size(), 1u);
  EXPECT_EQ(fp.komunikaty[0].tekst, "Usunąć element 1 ?");
  EXPECT_EQ(fp.komunikaty[0].tytul, "Usuwanie elementu");
  EXPECT_EQ(fp.komunikaty[0].ikona, Ikona::Brak);
  ASSERT_EQ(m.ne, 2);
  EXPECT_EQ(element(1), (std::array<int, 4>{1, 3, 4, 1}));
  EXPECT_EQ(element(2), (std::array<int, 4>{2, 3, 4, 2}));
  EXPECT_EQ(m.napr.rh(), 2);
  EXPECT_EQ(m.nn, 4);  // nodes stay
  EXPECT_EQ(m.j_grupa, 0);
  EXPECT_EQ(m.obliczono, 0);
  EXPECT_TRUE(tabele_zamkniete());
}

TEST_F(Elementy, DeletingTheOnlyElementKeepsTheNodes) {
  zaladuj({{1, 2, 3}});
  m.si[5] = 4.0f;
  numer(1).tak();
  okno.Cm_u_ele();
  EXPECT_EQ(m.ne, 0);
  EXPECT_FALSE(m.noc.istnieje());
  EXPECT_FALSE(m.napr.istnieje());
  EXPECT_EQ(m.nn, 4);
  EXPECT_EQ(m.si[5], 4.0f);
}

TEST_F(Elementy, DeletingOutOfRangeOrAnsweredNoChangesNothing) {
  zaladuj({{1, 2, 3}});
  m.obliczono = 1;
  grupa({2});
  numer(2);
  okno.Cm_u_ele();
  numer(0);
  okno.Cm_u_ele();
  EXPECT_TRUE(fp.komunikaty.empty());
  numer(1).nie();
  okno.Cm_u_ele();
  EXPECT_EQ(m.ne, 1);
  EXPECT_EQ(m.obliczono, 1);
  EXPECT_EQ(m.j_grupa, 1);
  EXPECT_EQ(fp.odswiezenia, 0);
}

TEST_F(Elementy, AutomaticRecalculation) {
  WYMAGA_ANALIZY();
  zaladuj({{1, 2, 3}});
  dodaj_podpory(m, 1);  // the analysis needs a support to get as far as its form
  m.nu[1] = 1;
  okno.a_licz = 1;
  trojkat("1", "3", "4");
  fp.anuluj(3200);
  okno.Cm_d_ele();
  numer(2);
  trojkat("4", "3", "1");
  fp.anuluj(3200);
  okno.Cm_z_pret();
  numer(2).tak().anuluj(3200);
  okno.Cm_u_ele();
  EXPECT_EQ(zasoby(), (std::vector<int>{3010, 3200, 3100, 3010, 3200, 3100, 3200}));
}

TEST(PrzebudowaElementow, RemovingElementsKeepsTheOrderOfTheRest) {
  Model m;
  zbuduj(m, prostokat(3, 1, 3, 1));  // 6 elements
  for (int e = 1; e <= 6; ++e) m.mat[e] = 1;
  const int przed[] = {m.noc[2][1], m.noc[4][2], m.noc[6][3]};
  const Przenumerowanie p = usun_elementy(m, maska(6, {1, 3, 5}));
  EXPECT_EQ(p.nowe, 3);
  EXPECT_EQ(p(4), 2);
  EXPECT_EQ(m.noc[1][1], przed[0]);
  EXPECT_EQ(m.noc[2][2], przed[1]);
  EXPECT_EQ(m.noc[3][3], przed[2]);
  // appending after a removal
  const int e = dodaj_elementy(m, 2);
  EXPECT_EQ(e, 4);
  EXPECT_EQ(m.ne, 5);
  EXPECT_EQ(m.noc[1][1], przed[0]);
  EXPECT_EQ(m.napr.rh(), 5);
}
