// Node commands: adding, changing and deleting one node, as a user does it
// through the forms; the renumbering that deleting a node brings.
#include <gtest/gtest.h>

#include <array>
#include <cmath>

#include "app/komendy.h"
#include "app/liczby.h"
#include "app/formy.h"
#include "edycja_testy.h"
#include "model/przebuduj.h"

namespace {

using edycja_testy::Edycja;

class Wezly : public Edycja {
 protected:
  // Five nodes, two elements on nodes 2..5, supports at nodes 4 and 5,
  // forces at nodes 1 and 4.
  void zaladuj() {
    OpisModelu o;
    o.wezly = {{0, 0}, {1, 0}, {2, 0}, {1, 1}, {2, 1}};
    o.elementy = {{2, 3, 5}, {2, 5, 4}};
    o.materialy.push_back({});
    o.podpory = {{7, 0.0f}, {9, 0.5f}, {10, 0.0f}};  // node 4 X, node 5 X and Y
    o.sily = {{1, 11.0f}, {2, 12.0f}, {8, -40.0f}};
    zbuduj(m, o);
  }
};

}  // namespace

TEST_F(Wezly, AddingTheFirstNodeOfANewModel) {
  okno.Cm_Nowy();
  fp.ok({{"x", "1.5"}, {"y", "2"}}, {}, 3020);
  okno.Cm_d_wez();
  ASSERT_EQ(fp.pokazane.size(), 1u);
  const auto& p = fp.pokazane[0];
  EXPECT_EQ(p.tytul, "Współrzędne węzłów");
  EXPECT_EQ(p.pole("i"), "1");
  EXPECT_EQ(p.pole("x"), "0.0000");
  EXPECT_EQ(p.pole("y"), "0.0000");
  EXPECT_EQ(m.nn, 1);
  EXPECT_EQ(m.nq, 2);
  EXPECT_EQ(m.x[1][1], 1.5f);
  EXPECT_EQ(m.x[1][2], 2.0f);
  EXPECT_EQ(m.si[1], 0.0f);
  EXPECT_EQ(m.si[2], 0.0f);
  EXPECT_EQ(m.Pusty, 0);
  EXPECT_EQ(fp.odswiezenia, 1);
  EXPECT_TRUE(fp.komunikaty.empty());
}

TEST_F(Wezly, AddingRefusesNegativeCoordinatesAndStartsAgainFromZero) {
  okno.Cm_Nowy();
  fp.ok({{"x", "-1"}, {"y", "-0.5"}}).ok({{"x", "3"}, {"y", "-2"}}).ok({{"x", "abc"}, {"y", "0"}});
  okno.Cm_d_wez();
  EXPECT_EQ(fp.teksty(), (std::vector<std::string>{"Współrzędna X<0", "Współrzędna Y<0", "Współrzędna Y<0"}));
  for (const auto& k : fp.komunikaty) {
    EXPECT_EQ(k.tytul, "Błąd danych");
    EXPECT_EQ(k.ikona, Ikona::Blad);
  }
  ASSERT_EQ(fp.pokazane.size(), 3u);
  EXPECT_EQ(fp.pokazane[1].pole("x"), "0.0000");  // the typed values are not kept
  EXPECT_EQ(fp.pokazane[2].pole("x"), "0.0000");
  ASSERT_EQ(m.nn, 1);
  EXPECT_EQ(m.x[1][1], 0.0f);  // "abc" reads as 0 and is accepted
}

TEST_F(Wezly, AddingKeepsOldNodesAndForcesClosesTablesAndClearsResults) {
  zaladuj();
  m.obliczono = 1;
  otworz_tabele();
  grupa({1, 2});
  fp.ok({{"x", "7.25"}, {"y", "0"}});
  okno.Cm_d_wez();
  EXPECT_EQ(fp.pokazane.at(0).pole("i"), "6");
  ASSERT_EQ(m.nn, 6);
  EXPECT_EQ(m.nq, 12);
  EXPECT_EQ(m.x[5][1], 2.0f);
  EXPECT_EQ(m.x[6][1], 7.25f);
  EXPECT_EQ(m.si[1], 11.0f);
  EXPECT_EQ(m.si[8], -40.0f);
  EXPECT_EQ(m.si[11], 0.0f);
  EXPECT_EQ(m.si[12], 0.0f);
  for (int i = 1; i <= m.nq; ++i) EXPECT_EQ(m.f[i], m.si[i]);
  EXPECT_EQ(m.obliczono, 0);
  EXPECT_TRUE(tabele_zamkniete());
  EXPECT_EQ(m.j_grupa, 1);  // adding keeps the group
}

TEST_F(Wezly, CancellingTheFormAddsNothing) {
  zaladuj();
  m.obliczono = 1;
  fp.anuluj(3020);
  okno.Cm_d_wez();
  EXPECT_EQ(m.nn, 5);
  EXPECT_EQ(m.obliczono, 1);
}

TEST_F(Wezly, ChangingANode) {
  zaladuj();
  m.obliczono = 1;
  otworz_tabele();
  numer(4).ok({{"x", "-3"}, {"y", "2"}}).ok({{"x", "1.125"}, {"y", "2.5"}});
  okno.Cm_z_wez();
  ASSERT_EQ(fp.pokazane.size(), 3u);
  EXPECT_EQ(fp.pokazane[0].tytul, "Wprowadź numer");
  EXPECT_EQ(fp.pokazane[0].pole("i"), "0");
  EXPECT_STREQ(okno.danenr.nap.t, "Podaj numer węzła :");
  EXPECT_EQ(fp.pokazane[1].pole("i"), "4");
  EXPECT_EQ(fp.pokazane[1].pole("x"), "1.0000");
  EXPECT_EQ(fp.pokazane[2].pole("y"), "1.0000");  // the stored coordinates again
  EXPECT_EQ(fp.teksty(), std::vector<std::string>{"Współrzędna X<0"});
  EXPECT_EQ(m.x[4][1], 1.125f);
  EXPECT_EQ(m.x[4][2], 2.5f);
  EXPECT_EQ(m.obliczono, 0);
  EXPECT_TRUE(tabele_zamkniete());
  EXPECT_EQ(fp.odswiezenia, 1);
}

TEST_F(Wezly, ChangingNeedsANodeNumberInRange) {
  okno.Cm_Nowy();
  okno.Cm_z_wez();  // no node: nothing is asked
  EXPECT_TRUE(fp.pokazane.empty());
  zaladuj();
  m.obliczono = 1;
  for (int k : {0, 6, -1}) {
    numer(k);
    okno.Cm_z_wez();
  }
  EXPECT_EQ(zasoby(), (std::vector<int>{3100, 3100, 3100}));
  EXPECT_TRUE(fp.komunikaty.empty());
  EXPECT_EQ(m.obliczono, 1);
  // Escape in the number form leaves "0"
  fp.anuluj(3100);
  okno.Cm_z_wez();
  EXPECT_EQ(m.obliczono, 1);
}

TEST_F(Wezly, DeletingANodeRenumbersElementsSupportsAndForces) {
  zaladuj();
  otworz_tabele();
  grupa({1, 3});
  m.obliczono = 1;
  numer(1).tak();
  okno.Cm_u_wez();
  ASSERT_EQ(fp.komunikaty.size(), 1u);
  EXPECT_EQ(fp.komunikaty[0].tekst, "Usunąć węzeł 1 ?");
  EXPECT_EQ(fp.komunikaty[0].tytul, "Usuwanie węzła");
  EXPECT_EQ(fp.komunikaty[0].ikona, Ikona::Brak);
  EXPECT_EQ(fp.komunikaty[0].przyciski, Przyciski::TakNie);
  ASSERT_EQ(m.nn, 4);
  EXPECT_EQ(m.nq, 8);
  EXPECT_EQ(m.x[1][1], 1.0f);  // the old node 2
  EXPECT_EQ(m.x[4][2], 1.0f);
  // elements follow their nodes
  EXPECT_EQ(m.noc[1][1], 1);
  EXPECT_EQ(m.noc[1][2], 2);
  EXPECT_EQ(m.noc[1][3], 4);
  EXPECT_EQ(m.noc[2][3], 3);
  // each restraint stays on its node: DOF 7, 9, 10 become 5, 7, 8
  ASSERT_EQ(m.nd, 3);
  EXPECT_EQ(m.nu[1], 5);
  EXPECT_EQ(m.nu[2], 7);
  EXPECT_EQ(m.nu[3], 8);
  EXPECT_EQ(m.u[2], 0.5f);
  // forces move with their nodes; those of node 1 are gone
  EXPECT_EQ(m.si[1], 0.0f);
  EXPECT_EQ(m.si[6], -40.0f);
  EXPECT_EQ(m.j_grupa, 0);
  EXPECT_EQ(m.obliczono, 0);
  EXPECT_TRUE(tabele_zamkniete());
  EXPECT_EQ(fp.odswiezenia, 1);
}

TEST_F(Wezly, DeletingRefusesNodesOfElementsAndSupportedNodes) {
  zaladuj();
  numer(2);
  okno.Cm_u_wez();
  numer(4);
  okno.Cm_u_wez();
  EXPECT_EQ(fp.teksty(), (std::vector<std::string>{"Nie można usunąć węzła, który jest składnikiem elementu",
                                                   "Nie można usunąć węzła, który jest składnikiem elementu"}));
  // an isolated supported node
  OpisModelu o;
  o.wezly = {{0, 0}, {1, 0}};
  o.podpory = {{4, 0.0f}};
  zbuduj(m, o);
  fp.wyczysc();
  numer(2);
  okno.Cm_u_wez();
  ASSERT_EQ(fp.komunikaty.size(), 1u);
  EXPECT_EQ(fp.komunikaty[0].tekst, "Nie można usunąć węzła, który jest podparty");
  EXPECT_EQ(fp.komunikaty[0].tytul, "Usuwanie węzła");
  EXPECT_EQ(fp.komunikaty[0].ikona, Ikona::Blad);
  EXPECT_EQ(m.nn, 2);
}

TEST_F(Wezly, DeletingOutOfRangeOrAnsweredNoChangesNothing) {
  zaladuj();
  m.obliczono = 1;
  grupa({2});
  numer(0);
  okno.Cm_u_wez();
  numer(6);
  okno.Cm_u_wez();
  EXPECT_TRUE(fp.komunikaty.empty());
  numer(1).nie();
  okno.Cm_u_wez();
  EXPECT_EQ(m.nn, 5);
  EXPECT_EQ(m.obliczono, 1);
  EXPECT_EQ(m.j_grupa, 1);
}

TEST_F(Wezly, DeletingTheLastNodeLeavesNoNodeArrays) {
  okno.Cm_Nowy();
  fp.ok({{"x", "1"}, {"y", "1"}});
  okno.Cm_d_wez();
  numer(1).tak();
  okno.Cm_u_wez();
  EXPECT_EQ(m.nn, 0);
  EXPECT_EQ(m.nq, 0);
  EXPECT_FALSE(m.x.istnieje());
  EXPECT_FALSE(m.si.istnieje());
  EXPECT_FALSE(m.f.istnieje());
  EXPECT_FALSE(m.ww.istnieje());
  EXPECT_EQ(m.Pusty, 0);
  // and a node can be added again
  fp.ok({{"x", "2"}, {"y", "3"}});
  okno.Cm_d_wez();
  EXPECT_EQ(m.nn, 1);
  EXPECT_EQ(m.x[1][2], 3.0f);
}

TEST_F(Wezly, DeletingTheLastOfManyKeepsTheOtherNumbers) {
  zbuduj(m, prostokat(2, 2, 2, 2));  // 9 nodes, elements use all
  dodaj_wezly(m, 1);
  m.x[10][1] = 5.0f;
  m.si[20] = 3.0f;
  numer(10).tak();
  okno.Cm_u_wez();
  EXPECT_EQ(m.nn, 9);
  EXPECT_EQ(m.ne, 8);
  EXPECT_EQ(m.noc[8][3], 9);
  EXPECT_EQ(m.x[9][1], 2.0f);
}

TEST_F(Wezly, CommandsDoNothingWithoutAModel) {
  okno.Cm_d_wez();
  okno.Cm_z_wez();
  okno.Cm_u_wez();
  EXPECT_TRUE(fp.pokazane.empty());
  EXPECT_EQ(fp.odswiezenia, 0);
  // and the menu offers only adding while no node exists
  okno.Cm_Nowy();
  EXPECT_TRUE(komenda_wlaczona(okno, 51688));
  EXPECT_FALSE(komenda_wlaczona(okno, 1191));
  EXPECT_FALSE(komenda_wlaczona(okno, 51689));
}

TEST_F(Wezly, AutomaticRecalculationAfterAddingChangingAndDeleting) {
  WYMAGA_ANALIZY();
  zaladuj();
  okno.a_licz = 1;
  fp.ok({{"x", "3"}, {"y", "3"}}).anuluj(3200);
  okno.Cm_d_wez();
  numer(6).ok({{"x", "4"}, {"y", "4"}}).anuluj(3200);
  okno.Cm_z_wez();
  numer(6).tak().anuluj(3200);
  okno.Cm_u_wez();
  EXPECT_EQ(zasoby(), (std::vector<int>{3020, 3200, 3100, 3020, 3200, 3100, 3200}));
  EXPECT_EQ(m.obliczono, 0);
}

// --- the mechanism under the commands ------------------------------------------------

TEST(PrzebudowaWezlow, RemovingSeveralNodesTakesWhatDependsOnThem) {
  Model m;
  zbuduj(m, prostokat(2, 1, 2, 1));  // nodes 1..6; elements (1,2,5) (1,4,5) (2,3,6) (2,5,6)
  dodaj_podpory(m, 4);
  const int dofs[] = {1, 6, 9, 12};  // node 1 X, node 3 Y, node 5 X, node 6 Y
  for (int j = 1; j <= 4; ++j) m.nu[j] = dofs[j - 1];
  for (int k = 1; k <= 6; ++k) m.si[2 * k] = static_cast<float>(k);
  const Przenumerowanie p = usun_wezly(m, maska(6, {3, 4}));
  EXPECT_EQ(p(1), 1);
  EXPECT_EQ(p(3), 0);
  EXPECT_EQ(p(5), 3);
  EXPECT_EQ(p(6), 4);
  ASSERT_EQ(m.nn, 4);
  // (1,4,5) and (2,3,6) used a removed node
  ASSERT_EQ(m.ne, 2);
  EXPECT_EQ((std::array<int, 3>{m.noc[1][1], m.noc[1][2], m.noc[1][3]}), (std::array<int, 3>{1, 2, 3}));
  EXPECT_EQ((std::array<int, 3>{m.noc[2][1], m.noc[2][2], m.noc[2][3]}), (std::array<int, 3>{2, 3, 4}));
  // the support of node 3 went with it; the others follow their nodes
  ASSERT_EQ(m.nd, 3);
  EXPECT_EQ(m.nu[1], 1);
  EXPECT_EQ(m.nu[2], 5);
  EXPECT_EQ(m.nu[3], 8);
  EXPECT_EQ(m.si[6], 5.0f);
  EXPECT_EQ(m.si[8], 6.0f);
  EXPECT_TRUE(sprawdz_niezmienniki(m));
}

TEST(Formularze, NodeAndElementAndThicknessLayouts) {
  d_wsp w;
  ::Formularz f = uklad_D_DANE_WSP(w);
  EXPECT_EQ(f.zasob, 3020);
  const Kontrolka* i = f.znajdz("i");
  ASSERT_TRUE(i);
  EXPECT_EQ(i->id, 8004);
  EXPECT_TRUE(i->tylko_odczyt && i->tylko_cyfry && i->do_prawej);
  EXPECT_EQ(f.znajdz("x")->id, 8500);
  EXPECT_EQ(f.znajdz("y")->tekst, "Współrzędna Y");
  for (const auto& k : f.kontrolki) EXPECT_EQ(k.limit, 7);

  d_dane_przek p;
  f = uklad_D_DANE_PRZ(p);
  EXPECT_EQ(f.tytul, "Parametry elementów trójkątnych");
  std::vector<int> ids;
  for (const auto& k : f.kontrolki) ids.push_back(k.id);
  EXPECT_EQ(ids, (std::vector<int>{8004, 8500, 8501, 8502, 8503}));
  EXPECT_EQ(f.znajdz("mat")->tekst, "Materiał nr");
  EXPECT_FALSE(f.znajdz("w1")->tylko_cyfry);

  da_grubosc g;
  f = uklad_D_DANE_GRUBOSC(g);
  EXPECT_EQ(f.zasob, 3160);
  EXPECT_EQ(f.tytul, "Grubosc tarczy");
  EXPECT_EQ(f.znajdz("gr")->tekst, "Grubość tarczy");
}

TEST(Formularze, PresetsKeepTheFormatUnlessSevenCharactersWouldChangeTheValue) {
  auto tekst = [](const char* fmt, double v) {
    Pole p;
    ustaw_wartosc(p, fmt, v);
    return std::string(p.t);
  };
  // the formats of the commands, read back to the same value
  EXPECT_EQ(tekst("%6f", 12.5), "12.500000");
  EXPECT_EQ(tekst("%5.1f", 12.5), " 12.5");
  EXPECT_EQ(tekst("%8.1f", 200000.0), "200000.0");
  EXPECT_EQ(tekst("%3.4f", 1.0), "1.0000");
  EXPECT_EQ(tekst("%6f", -0.001), "-0.001000");
  EXPECT_EQ(tekst("%4.1f", 0.0), " 0.0");
  EXPECT_EQ(tekst("%f", 1.0), "1.000000");
  EXPECT_EQ(tekst("%5.1f", 12.34), " 12.3");  // the format's own rounding stays
  // texts whose first seven characters would say something else
  EXPECT_EQ(tekst("%8.1f", 2.1e11), "2.1e11");
  EXPECT_EQ(tekst("%8.1f", 12345678.0), "1.235e7");
  EXPECT_EQ(tekst("%6f", -1e-5), "-1e-5");
  EXPECT_EQ(tekst("%5.3f", 0.0001), "0.0001");
  EXPECT_EQ(tekst("%5.1f", 0.04), "0.04");
  EXPECT_EQ(tekst("%f", 3.0e38), "3e38");
  for (double v : {2.1e11, 12345678.0, -1e-5, 0.0001, 0.04, 3.0e38, -2.5e-30, 7654321.9}) {
    const std::string t = tekst("%8.1f", v);
    const double z = atof_pola(odczyt_pola(t, 7).c_str());
    EXPECT_NEAR(z, v, 0.01 * std::fabs(v)) << t;
  }
}
