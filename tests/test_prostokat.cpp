// The rectangle mesh generator: node and element numbering of both splits,
// appending to a model, and the answers that do nothing.
#include <gtest/gtest.h>

#include <array>
#include <cfloat>
#include <map>

#include "edycja_testy.h"
#include "mesh/formy_siatki.h"

namespace {

using edycja_testy::Edycja;
using Trojkat = std::array<int, 3>;

class Prostokat : public Edycja {
 public:
  // An empty model with one material, or the given one.
  void pusty(int materialy = 1) {
    OpisModelu o;
    for (int i = 0; i < materialy; ++i) o.materialy.push_back({});
    zbuduj(m, o);
  }
  void generuj(std::map<std::string, std::string> pola, int p4 = 0) {
    fp.ok(std::move(pola), {{"p4", p4}}, 3150);
    okno.Cm_prost();
  }
  std::vector<std::array<float, 2>> wezly(int od = 1) const {
    std::vector<std::array<float, 2>> w;
    for (int k = od; k <= m.nn; ++k) w.push_back({m.x[k][1], m.x[k][2]});
    return w;
  }
  std::vector<Trojkat> elementy(int od = 1) const {
    std::vector<Trojkat> t;
    for (int e = od; e <= m.ne; ++e) t.push_back({m.noc[e][1], m.noc[e][2], m.noc[e][3]});
    return t;
  }
};

}  // namespace

TEST_F(Prostokat, OneCellTwoTriangles) {
  pusty();
  m.obliczono = 1;
  otworz_tabele();
  generuj({{"dx", "2"}, {"dy", "1"}, {"ix", "1"}, {"iy", "1"}});
  const auto& p = fp.pokazane.at(0);
  EXPECT_EQ(p.tytul, "Macierz elementów");
  for (const char* n : {"px", "py", "dx", "dy", "ix", "iy"}) EXPECT_EQ(p.pole(n), "0") << n;
  EXPECT_EQ(p.pole("ma"), "1");
  EXPECT_EQ(p.stany.at("opt"), 1);
  EXPECT_EQ(p.stany.at("p4"), 0);
  EXPECT_EQ(wezly(), (std::vector<std::array<float, 2>>{{0, 0}, {2, 0}, {0, 1}, {2, 1}}));
  EXPECT_EQ(elementy(), (std::vector<Trojkat>{{1, 2, 4}, {1, 3, 4}}));
  EXPECT_EQ(m.mat[1] + m.mat[2], 2);
  EXPECT_EQ(m.nq, 8);
  for (int i = 1; i <= 8; ++i) EXPECT_EQ(m.si[i], 0.0f);
  EXPECT_EQ(m.napr.rh(), 2);
  EXPECT_EQ(m.obliczono, 0);
  EXPECT_EQ(m.Pusty, 0);
  EXPECT_TRUE(tabele_zamkniete());
  EXPECT_EQ(fp.odswiezenia, 1);
}

TEST_F(Prostokat, OneCellFourTriangles) {
  pusty();
  generuj({{"dx", "2"}, {"dy", "1"}, {"ix", "1"}, {"iy", "1"}}, 1);
  EXPECT_EQ(wezly(), (std::vector<std::array<float, 2>>{{0, 0}, {2, 0}, {0, 1}, {2, 1}, {1, 0.5f}}));
  EXPECT_EQ(elementy(), (std::vector<Trojkat>{{1, 2, 5}, {5, 3, 4}, {1, 3, 5}, {2, 4, 5}}));
}

TEST_F(Prostokat, TwoCellsAlongXNumberTheRowsFromTheBottom) {
  pusty();
  generuj({{"px", "1"}, {"py", "2"}, {"dx", "4"}, {"dy", "1"}, {"ix", "2"}, {"iy", "1"}});
  EXPECT_EQ(wezly(), (std::vector<std::array<float, 2>>{{1, 2}, {3, 2}, {5, 2}, {1, 3}, {3, 3}, {5, 3}}));
  EXPECT_EQ(elementy(), (std::vector<Trojkat>{{1, 2, 5}, {1, 4, 5}, {2, 3, 6}, {2, 5, 6}}));
}

TEST_F(Prostokat, TwoCellsAlongYWalkUpTheColumnFirst) {
  pusty();
  generuj({{"dx", "1"}, {"dy", "2"}, {"ix", "1"}, {"iy", "2"}});
  EXPECT_EQ(elementy(), (std::vector<Trojkat>{{1, 2, 4}, {1, 3, 4}, {3, 4, 6}, {3, 5, 6}}));
  EXPECT_EQ(m.x[6][2], 2.0f);
}

TEST_F(Prostokat, FourTrianglesOverTwoByTwoCells) {
  pusty();
  generuj({{"dx", "2"}, {"dy", "2"}, {"ix", "2"}, {"iy", "2"}}, 1);
  ASSERT_EQ(m.nn, 13);
  ASSERT_EQ(m.ne, 16);
  // centre nodes 10..13 row by row
  EXPECT_EQ(wezly(10), (std::vector<std::array<float, 2>>{{0.5f, 0.5f}, {1.5f, 0.5f}, {0.5f, 1.5f}, {1.5f, 1.5f}}));
  // cell (c=1, r=2) is the second cell: A=4, B=5, C=7, D=8, centre 12
  EXPECT_EQ(elementy(5), (std::vector<Trojkat>{{4, 5, 12}, {12, 7, 8}, {4, 7, 12}, {5, 8, 12},
                                               {2, 3, 11}, {11, 5, 6}, {2, 5, 11}, {3, 6, 11},
                                               {5, 6, 13}, {13, 8, 9}, {5, 8, 13}, {6, 9, 13}}));
}

TEST_F(Prostokat, AppendingToAModelLeavesTheOldOneAlone) {
  OpisModelu o = prostokat(4, 1, 4, 1);  // 10 nodes, 8 elements
  o.elementy.resize(4);
  o.materialy.push_back({});
  o.materialy_el = {1, 1, 1, 1};
  o.podpory = {{1, 0.0f}, {20, 0.5f}};
  o.sily = {{19, 3.0f}};
  zbuduj(m, o);
  const auto stare = elementy();
  generuj({{"px", "1"}, {"dx", "1"}, {"dy", "1"}, {"ix", "1"}, {"iy", "1"}, {"ma", "2"}});
  ASSERT_EQ(m.nn, 14);
  ASSERT_EQ(m.ne, 6);
  EXPECT_EQ(elementy(1), (std::vector<Trojkat>{stare[0], stare[1], stare[2], stare[3], {11, 12, 14}, {11, 13, 14}}));
  // new nodes on top of old ones are new nodes all the same
  EXPECT_EQ(wezly(11), (std::vector<std::array<float, 2>>{{1, 0}, {2, 0}, {1, 1}, {2, 1}}));
  EXPECT_EQ(m.mat[5], 2);
  EXPECT_EQ(m.mat[4], 1);
  EXPECT_EQ(m.si[19], 3.0f);
  EXPECT_EQ(m.si[21], 0.0f);
  EXPECT_EQ(m.nd, 2);
  EXPECT_EQ(m.nu[2], 20);
}

TEST_F(Prostokat, CoordinatesAreOriginPlusWholeFloatSteps) {
  pusty();
  generuj({{"px", "0.1"}, {"dx", "1"}, {"dy", "1"}, {"ix", "3"}, {"iy", "1"}});
  const float krok = static_cast<float>(1.0 / 3);
  EXPECT_EQ(m.x[3][1], static_cast<float>(0.1 + static_cast<float>(2) * krok));
  EXPECT_EQ(m.x[4][1], static_cast<float>(0.1 + static_cast<float>(3) * krok));
}

TEST_F(Prostokat, NegativeAndZeroSizesGoIntoTheFormulas) {
  pusty();
  generuj({{"px", "5"}, {"dx", "-2"}, {"dy", "0"}, {"ix", "1"}, {"iy", "1"}});
  EXPECT_EQ(wezly(), (std::vector<std::array<float, 2>>{{5, 0}, {3, 0}, {5, 0}, {3, 0}}));
}

TEST_F(Prostokat, AnswersThatDoNothing) {
  pusty(2);
  m.obliczono = 1;
  fp.ok({}, {}, 3150);  // presets: ix = iy = 0
  okno.Cm_prost();
  for (const char* ma : {"0", "3"}) generuj({{"ix", "1"}, {"iy", "1"}, {"ma", ma}});
  generuj({{"px", "-1"}, {"ix", "1"}, {"iy", "1"}});
  generuj({{"py", "-0.1"}, {"ix", "1"}, {"iy", "1"}});
  generuj({{"ix", "1"}, {"iy", "-2"}});
  generuj({{"dx", "3e38"}, {"px", "3e38"}, {"ix", "1"}, {"iy", "1"}});  // beyond the float range
  fp.anuluj(3150);
  okno.Cm_prost();
  EXPECT_TRUE(fp.komunikaty.empty());
  EXPECT_EQ(m.nn, 0);
  EXPECT_EQ(m.obliczono, 1);
  EXPECT_EQ(fp.odswiezenia, 8);  // a repaint every time
}

TEST_F(Prostokat, TheOptimisationBoxChangesNothing) {
  pusty();
  fp.ok({{"dx", "1"}, {"dy", "1"}, {"ix", "2"}, {"iy", "2"}}, {{"opt", 0}}, 3150);
  okno.Cm_prost();
  const auto a = elementy();
  pusty();
  generuj({{"dx", "1"}, {"dy", "1"}, {"ix", "2"}, {"iy", "2"}});
  EXPECT_EQ(elementy(), a);
}

TEST_F(Prostokat, AMeshTooLargeIsRefusedWithAMessage) {
  pusty();
  generuj({{"dx", "1"}, {"dy", "1"}, {"ix", "9999999"}, {"iy", "9999999"}});
  generuj({{"dx", "1"}, {"dy", "1"}, {"ix", "2000"}, {"iy", "1000"}}, 1);
  EXPECT_EQ(fp.teksty(), (std::vector<std::string>{"Zbyt duża liczba elementów", "Zbyt duża liczba elementów"}));
  EXPECT_EQ(m.nn, 0);
}

TEST_F(Prostokat, NeedsAModelWithAMaterial) {
  okno.Cm_prost();
  pusty(0);
  okno.Cm_prost();
  EXPECT_TRUE(fp.pokazane.empty());
  EXPECT_EQ(fp.odswiezenia, 2);
}

TEST_F(Prostokat, RecalculatesAfterGenerating) {
  WYMAGA_ANALIZY();
  // the analysis needs a support to get as far as its form
  OpisModelu o;
  o.wezly = {{5, 5}};
  o.podpory = {{1, 0.0f}};
  o.materialy.push_back({});
  zbuduj(m, o);
  okno.a_licz = 1;
  fp.ok({{"dx", "1"}, {"dy", "1"}, {"ix", "1"}, {"iy", "1"}}, {}, 3150).anuluj(3200);
  okno.Cm_prost();
  EXPECT_EQ(zasoby(), (std::vector<int>{3150, 3200}));
}

TEST(Formularze, RectangleLayoutHasItsControlsInOrder) {
  d_dane_mac r;
  ::Formularz f = uklad_D_DANE_MACELE(r);
  EXPECT_EQ(f.zasob, 3150);
  std::vector<int> ids;
  for (const auto& k : f.kontrolki)
    if (k.rodzaj != Rodzaj::Ramka) ids.push_back(k.id);
  EXPECT_EQ(ids, (std::vector<int>{8500, 8501, 8502, 8503, 8507, 8506, 8505, 8600, 8610}));
  EXPECT_TRUE(f.znajdz("px")->do_prawej);
  EXPECT_FALSE(f.znajdz("ix")->do_prawej);
  EXPECT_EQ(f.kontrolki[static_cast<std::size_t>(f.znajdz("dy")->ramka)].tekst, "Wymiary obszaru");
  EXPECT_EQ(f.znajdz("p4")->tekst, "Podział na 4 elementy");
}
