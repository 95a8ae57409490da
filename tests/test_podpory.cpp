// Supports, forces and the plate thickness, edited one node at a time.
#include <gtest/gtest.h>

#include <utility>

#include "edycja_testy.h"
#include "model/przebuduj.h"

namespace {

using edycja_testy::Edycja;

class Podpory : public Edycja {
 public:
  // Four nodes of one square element pair, with the given supports.
  void zaladuj(std::vector<std::pair<int, float>> podpory = {}, std::vector<std::pair<int, float>> sily = {}) {
    OpisModelu o;
    o.wezly = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
    o.elementy = {{1, 2, 3}, {1, 3, 4}};
    o.materialy.push_back({});
    o.podpory = std::move(podpory);
    o.sily = std::move(sily);
    zbuduj(m, o);
  }
  std::vector<std::pair<int, float>> lista() const {
    std::vector<std::pair<int, float>> l;
    for (int j = 1; j <= m.nd; ++j) l.emplace_back(m.nu[j], m.u[j]);
    return l;
  }
  Podpory& podpora(const char* wezel, int chx, int chy, const char* x = "0.0", const char* y = "0.0") {
    fp.ok({{"nu", wezel}, {"x", x}, {"y", y}}, {{"chx", chx}, {"chy", chy}}, 3030);
    return *this;
  }
  Podpory& sila(const char* wezel, const char* fx, const char* fy) {
    fp.ok({{"nr", wezel}, {"fx", fx}, {"fy", fy}}, {}, 3040);
    return *this;
  }
};

using Sily = Podpory;
using Grubosc = Podpory;

}  // namespace

TEST_F(Podpory, AddingAnXSupportWithADisplacement) {
  zaladuj();
  m.obliczono = 1;
  otworz_tabele();
  numer(3);
  podpora("3", 1, 0, "0.001");
  okno.Cm_d_podp();
  ASSERT_EQ(fp.pokazane.size(), 2u);
  const auto& p = fp.pokazane[1];
  EXPECT_EQ(p.tytul, "Wymuszone przesuniecia");
  EXPECT_EQ(p.pole("i"), "3");
  EXPECT_EQ(p.pole("nu"), "3");
  EXPECT_EQ(p.pole("x"), "0.0");
  EXPECT_EQ(p.pole("y"), "0.0");
  EXPECT_EQ(p.stany.at("chx") + p.stany.at("chy"), 0);
  EXPECT_EQ(lista(), (std::vector<std::pair<int, float>>{{5, 0.001f}}));
  EXPECT_EQ(m.react.hi(), 1);
  EXPECT_EQ(m.obliczono, 0);
  EXPECT_EQ(m.Pusty, 0);
  EXPECT_TRUE(tabele_zamkniete());
  EXPECT_EQ(fp.odswiezenia, 1);
}

TEST_F(Podpory, ChangingToBothDirectionsGivesTwoEntriesInOrder) {
  zaladuj({{1, 0.0f}, {5, 0.001f}, {8, 0.0f}});
  numer(3);
  podpora("3", 1, 1, "0.00100", "-0.25");
  okno.Cm_z_podp();
  const auto& p = fp.pokazane.at(1);
  EXPECT_EQ(p.stany.at("chx"), 1);
  EXPECT_EQ(p.stany.at("chy"), 0);
  EXPECT_EQ(p.pole("x"), "0.00100");
  EXPECT_EQ(p.pole("y"), "0.0");
  EXPECT_EQ(lista(), (std::vector<std::pair<int, float>>{{1, 0.0f}, {5, 0.001f}, {6, -0.25f}, {8, 0.0f}}));
}

TEST_F(Podpory, ClearingOneBoxFreesThatDirection) {
  zaladuj({{5, 0.0f}, {6, 0.0f}});
  numer(3);
  podpora("3", 0, 1);
  okno.Cm_z_podp();
  EXPECT_EQ(lista(), (std::vector<std::pair<int, float>>{{6, 0.0f}}));
}

TEST_F(Podpory, CancelKeepsTheRestraintsButRebuildsTheList) {
  // an unsorted list with a repeated degree of freedom, as a wizard may leave it
  zaladuj({{8, 0.0f}, {5, 0.1f}, {8, 0.2f}});
  m.obliczono = 1;
  numer(3).anuluj(3030);
  okno.Cm_d_podp();
  EXPECT_EQ(lista(), (std::vector<std::pair<int, float>>{{5, 0.1f}, {8, 0.2f}}));
  EXPECT_EQ(m.obliczono, 0);
  EXPECT_EQ(fp.odswiezenia, 1);
}

TEST_F(Podpory, RefusedAnswersComeBackWithBothBoxesClear) {
  zaladuj({{5, 0.5f}});
  numer(3);
  podpora("9", 1, 0).podpora("2", 0, 0).podpora("0", 0, 0).podpora("3", 0, 1, "0.0", "0.75");
  okno.Cm_d_podp();
  EXPECT_EQ(fp.teksty(), (std::vector<std::string>{"Zły numer węzła", "Nie zaznaczono sposobu utwierdzenia",
                                                   "Zły numer węzła", "Nie zaznaczono sposobu utwierdzenia"}));
  for (const auto& k : fp.komunikaty) EXPECT_EQ(k.tytul, "Błąd danych");
  ASSERT_EQ(fp.pokazane.size(), 5u);
  EXPECT_EQ(fp.pokazane[1].stany.at("chx"), 1);  // first showing: the present restraint
  EXPECT_EQ(fp.pokazane[1].pole("x"), "0.50000");
  for (std::size_t i = 2; i < 5; ++i) {
    EXPECT_EQ(fp.pokazane[i].stany.at("chx"), 0);
    EXPECT_EQ(fp.pokazane[i].pole("x"), "0.0");
    EXPECT_EQ(fp.pokazane[i].pole("nu"), "3");
  }
  EXPECT_EQ(lista(), (std::vector<std::pair<int, float>>{{6, 0.75f}}));
}

TEST_F(Podpory, TheTypedNodeOnlyPassesTheCheckTheRestraintGoesToTheAskedNode) {
  zaladuj();
  numer(2);
  podpora("4", 1, 1);
  okno.Cm_d_podp();
  EXPECT_EQ(lista(), (std::vector<std::pair<int, float>>{{3, 0.0f}, {4, 0.0f}}));
}

TEST_F(Podpory, ChangingAcceptsTypedNumbersUpToNqWithoutAMessageButNotBeyondNn) {
  zaladuj({{3, 0.0f}});
  numer(2);
  podpora("6", 1, 0).podpora("9", 1, 0).podpora("2", 0, 1);
  okno.Cm_z_podp();
  // 6 lies within 1..nq = 8: no message, but it is no node, so the form comes back
  EXPECT_EQ(fp.teksty(), std::vector<std::string>{"Zły numer węzła"});
  EXPECT_EQ(fp.pokazane.size(), 4u);
  EXPECT_EQ(lista(), (std::vector<std::pair<int, float>>{{4, 0.0f}}));
}

TEST_F(Podpory, GuardsAndNodeNumbersOutOfRange) {
  okno.Cm_Nowy();
  okno.Cm_d_podp();  // no node
  okno.Cm_z_podp();  // no support
  okno.Cm_u_podp();
  EXPECT_TRUE(fp.pokazane.empty());
  zaladuj({{1, 0.0f}});
  m.obliczono = 1;
  numer(5);
  okno.Cm_d_podp();
  numer(0);
  okno.Cm_z_podp();
  EXPECT_EQ(zasoby(), (std::vector<int>{3100, 3100}));
  EXPECT_EQ(m.obliczono, 1);
  EXPECT_EQ(fp.odswiezenia, 0);
}

TEST_F(Podpory, DeletingBothRestraintsOfANodeKeepsTheOthersInOrder) {
  zaladuj({{8, 0.0f}, {5, 0.1f}, {1, 0.0f}, {6, 0.2f}});
  m.obliczono = 1;
  otworz_tabele();
  grupa({1});
  numer(3).tak();
  okno.Cm_u_podp();
  ASSERT_EQ(fp.komunikaty.size(), 1u);
  EXPECT_EQ(fp.komunikaty[0].tekst, "Usunąć podpore w węźle 3 ?");
  EXPECT_EQ(fp.komunikaty[0].tytul, "Usuwanie podpory");
  EXPECT_EQ(fp.komunikaty[0].przyciski, Przyciski::TakNie);
  EXPECT_EQ(lista(), (std::vector<std::pair<int, float>>{{8, 0.0f}, {1, 0.0f}}));
  EXPECT_EQ(m.react.hi(), 2);
  EXPECT_EQ(m.obliczono, 0);
  EXPECT_EQ(m.j_grupa, 0);
  EXPECT_TRUE(tabele_zamkniete());
}

TEST_F(Podpory, DeletingTheOnlySupportLeavesNone) {
  zaladuj({{2, 0.0f}});
  numer(1).tak();
  okno.Cm_u_podp();
  EXPECT_EQ(m.nd, 0);
  EXPECT_FALSE(m.nu.istnieje());
  EXPECT_FALSE(m.react.istnieje());
}

TEST_F(Podpory, DeletingARepeatedDegreeOfFreedomTakesItsLastEntry) {
  zaladuj({{5, 0.1f}, {2, 0.0f}, {5, 0.3f}});
  numer(3).tak();
  okno.Cm_u_podp();
  EXPECT_EQ(lista(), (std::vector<std::pair<int, float>>{{5, 0.1f}, {2, 0.0f}}));
}

TEST_F(Podpory, DeletingWhereThereIsNoSupport) {
  zaladuj({{1, 0.0f}});
  m.obliczono = 1;
  numer(2);
  okno.Cm_u_podp();
  numer(9);  // outside 1..nn gives the same message
  okno.Cm_u_podp();
  numer(1).nie();
  okno.Cm_u_podp();
  ASSERT_EQ(fp.komunikaty.size(), 3u);
  for (int i = 0; i < 2; ++i) {
    EXPECT_EQ(fp.komunikaty[i].tekst, "W tym węźle nie ma podpory !");
    EXPECT_EQ(fp.komunikaty[i].tytul, "Usuwanie podpory");
    EXPECT_EQ(fp.komunikaty[i].ikona, Ikona::Blad);
  }
  EXPECT_EQ(m.nd, 1);
  EXPECT_EQ(m.obliczono, 1);
}

TEST_F(Podpory, OnlyDeletingASupportRecalculates) {
  WYMAGA_ANALIZY();
  zaladuj({{1, 0.0f}, {2, 0.0f}, {4, 0.0f}});
  okno.a_licz = 1;
  numer(3);
  podpora("3", 1, 0);
  okno.Cm_d_podp();
  numer(3);
  podpora("3", 1, 1);
  okno.Cm_z_podp();
  numer(3).tak().anuluj(3200);
  okno.Cm_u_podp();
  EXPECT_EQ(zasoby(), (std::vector<int>{3100, 3030, 3100, 3030, 3100, 3200}));
}

// --- forces ---------------------------------------------------------------------------------------

TEST_F(Sily, AddAndChangeShowThePresentForceInTheirFormats) {
  zaladuj({}, {{5, 12.5f}});
  numer(3);
  sila("3", "12.5", "0");
  okno.Cm_d_sile();
  numer(3);
  sila("3", "12.5000", "-3");  // 12.500000 read back as its first 7 characters
  okno.Cm_z_sily();
  ASSERT_EQ(fp.pokazane.size(), 4u);
  EXPECT_EQ(fp.pokazane[1].tytul, "Obciążenie węzłów siłami");
  EXPECT_EQ(fp.pokazane[1].pole("i"), "3");
  EXPECT_EQ(fp.pokazane[1].pole("nr"), "3");
  EXPECT_EQ(fp.pokazane[1].pole("fx"), " 12.5");
  EXPECT_EQ(fp.pokazane[1].pole("fy"), "0.0");
  EXPECT_EQ(fp.pokazane[3].pole("fx"), "12.500000");
  EXPECT_EQ(m.si[5], 12.5f);
  EXPECT_EQ(m.si[6], -3.0f);
  EXPECT_EQ(m.f[6], -3.0f);
}

TEST_F(Sily, ALongPresetReadBackAsSevenCharactersKeepsTheValue) {
  zaladuj({}, {{5, 12.5f}});
  m.obliczono = 1;
  numer(3);
  fp.ok({}, {}, 3040);  // OK without typing
  okno.Cm_z_sily();
  EXPECT_STREQ(okno.danes.fx.t, "12.5000");
  EXPECT_EQ(m.si[5], 12.5f);
  EXPECT_EQ(m.obliczono, 0);
}

TEST_F(Sily, TheTypedNodeDecidesWhereTheForcesGo) {
  zaladuj({}, {{1, 7.0f}});
  m.obliczono = 1;
  otworz_tabele();
  numer(1);
  sila("4", "100", "-50");
  okno.Cm_d_sile();
  EXPECT_EQ(m.si[1], 7.0f);
  EXPECT_EQ(m.si[7], 100.0f);
  EXPECT_EQ(m.si[8], -50.0f);
  EXPECT_EQ(m.f[7], 100.0f);
  EXPECT_EQ(m.obliczono, 0);
  EXPECT_TRUE(tabele_zamkniete());
  EXPECT_EQ(fp.odswiezenia, 1);
}

TEST_F(Sily, BadTypedNodesAreRefusedZeroSilently) {
  zaladuj();
  numer(2);
  sila("5", "1", "1").sila("0", "1", "1").sila("-1", "1", "1");
  fp.anuluj(3040);
  okno.Cm_z_sily();
  // "-1" cannot be typed into the digits-only field; read as -1 it is refused too
  EXPECT_EQ(fp.teksty(), (std::vector<std::string>{"Zły numer węzła", "Zły numer węzła"}));
  for (int i = 1; i <= m.nq; ++i) EXPECT_EQ(m.si[i], 0.0f);
  EXPECT_EQ(fp.odswiezenia, 0);
}

TEST_F(Sily, ZeroAndZeroLeaveTheNodeWithoutForces) {
  zaladuj({}, {{3, 5.0f}, {4, 6.0f}});
  numer(2);
  sila("2", "0", "0.0");
  okno.Cm_z_sily();
  EXPECT_EQ(m.si[3], 0.0f);
  EXPECT_EQ(m.si[4], 0.0f);
}

TEST_F(Sily, DeletingTheForcesOfANodeWithOnlyAYForce) {
  zaladuj({}, {{4, -9.0f}, {5, 1.0f}});
  m.obliczono = 1;
  grupa({2});
  otworz_tabele();
  numer(2).tak();
  okno.Cm_u_sile();
  ASSERT_EQ(fp.komunikaty.size(), 1u);
  EXPECT_EQ(fp.komunikaty[0].tekst, "Usunąć siły w węźle 2 ?");
  EXPECT_EQ(fp.komunikaty[0].tytul, "Usuwanie sił");
  EXPECT_EQ(m.si[4], 0.0f);
  EXPECT_EQ(m.f[4], 0.0f);
  EXPECT_EQ(m.si[5], 1.0f);
  EXPECT_EQ(m.obliczono, 0);
  EXPECT_EQ(m.j_grupa, 0);
  EXPECT_TRUE(tabele_zamkniete());
}

TEST_F(Sily, DeletingWhereThereAreNoForces) {
  zaladuj({}, {{1, 2.0f}});
  numer(2);
  okno.Cm_u_sile();
  numer(5);  // out of range: nothing at all
  okno.Cm_u_sile();
  numer(1).nie();
  okno.Cm_u_sile();
  ASSERT_EQ(fp.komunikaty.size(), 2u);
  EXPECT_EQ(fp.komunikaty[0].tekst, "W tym węźle nie ma sił !");
  EXPECT_EQ(fp.komunikaty[0].tytul, "Usuwanie sił");
  EXPECT_EQ(fp.komunikaty[0].ikona, Ikona::Blad);
  EXPECT_EQ(m.si[1], 2.0f);
}

TEST_F(Sily, OnlyDeletingForcesRecalculates) {
  WYMAGA_ANALIZY();
  zaladuj({{2, 0.0f}}, {{1, 2.0f}});
  okno.a_licz = 1;
  numer(1);
  sila("1", "3", "3");
  okno.Cm_d_sile();
  numer(1);
  sila("1", "4", "4");
  okno.Cm_z_sily();
  numer(1).tak().anuluj(3200);
  okno.Cm_u_sile();
  EXPECT_EQ(zasoby(), (std::vector<int>{3100, 3040, 3100, 3040, 3100, 3200}));
}

// --- thickness ---------------------------------------------------------------------------------------

TEST_F(Grubosc, PositiveThicknessIsTakenOthersRefused) {
  zaladuj();
  m.obliczono = 1;
  fp.ok({{"gr", "0"}}, {}, 3160).ok({{"gr", "-1"}}).ok({{"gr", "abc"}}).ok({{"gr", "1e-60"}});
  for (int i = 0; i < 4; ++i) okno.Cm_z_grubosc();
  ASSERT_EQ(fp.komunikaty.size(), 4u);
  for (const auto& k : fp.komunikaty) {
    EXPECT_EQ(k.tekst, "Grubość musi mieć wartość dodatnią");
    EXPECT_EQ(k.tytul, "Zmiana grubości");
  }
  EXPECT_EQ(m.th, 1.0f);
  EXPECT_EQ(m.obliczono, 1);
  EXPECT_EQ(fp.pokazane.at(0).pole("gr"), "1.000000");
  EXPECT_EQ(fp.pokazane.at(0).tytul, "Grubosc tarczy");

  otworz_tabele();
  fp.ok({{"gr", ".5"}});
  okno.Cm_z_grubosc();
  EXPECT_EQ(m.th, 0.5f);
  EXPECT_EQ(m.obliczono, 0);
  EXPECT_EQ(okno.id, 1);  // the data table stays
  EXPECT_EQ(okno.iw, 0);  // the results, which no longer belong to the model, close
  EXPECT_EQ(fp.okna.size(), 1u);
  fp.anuluj(3160);
  okno.Cm_z_grubosc();
  EXPECT_EQ(m.th, 0.5f);
  EXPECT_EQ(fp.odswiezenia, 6);  // every time, Cancel included
  fp.ok({{"gr", "0,25"}});  // as typed under a Polish locale
  okno.Cm_z_grubosc();
  EXPECT_EQ(m.th, 0.25f);
}

// --- the mechanism under the commands ------------------------------------------------------------

TEST(PrzebudowaPodpor, SpreadingAndGatheringSortsAndMerges) {
  Model m;
  zbuduj(m, prostokat(1, 1, 1, 1));
  const int j = dodaj_podpory(m, 3);
  EXPECT_EQ(j, 1);
  m.nu[1] = 8;
  m.u[1] = 1.0f;
  m.nu[2] = 3;
  m.nu[3] = 8;
  m.u[3] = 2.0f;
  PodporyStopni p = rozloz_podpory(m);
  EXPECT_TRUE(p.jest[8]);
  EXPECT_EQ(p.u[8], 2.0f);  // the later entry wins
  p.jest[1] = 1;
  zloz_podpory(m, p);
  ASSERT_EQ(m.nd, 3);
  EXPECT_EQ(m.nu[1], 1);
  EXPECT_EQ(m.nu[2], 3);
  EXPECT_EQ(m.nu[3], 8);
  EXPECT_EQ(m.u[3], 2.0f);
  p.jest.assign(p.jest.size(), 0);
  zloz_podpory(m, p);
  EXPECT_EQ(m.nd, 0);
  EXPECT_FALSE(m.u.istnieje());
  EXPECT_TRUE(sprawdz_niezmienniki(m));
}
