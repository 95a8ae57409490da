// The model wizard, and whole models built the three ways a user builds
// them (by hand, by the generator, by the wizard) carried on to the
// project file and the analysis.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>

#include "app/komendy.h"
#include "edycja_testy.h"
#include "mesh/formy_siatki.h"
#include "model/plik.h"

namespace {

using edycja_testy::Edycja;

class Kreator : public Edycja {
 public:
  Kreator& liczby(std::map<std::string, std::string> pola = {}) {
    fp.ok(std::move(pola), {}, 3000);
    return *this;
  }
  Kreator& element(const char* a, const char* b, const char* c, const char* mat = "1") {
    fp.ok({{"w1", a}, {"w2", b}, {"w3", c}, {"mat", mat}}, {}, 3010);
    return *this;
  }
  Kreator& wezel(const char* x, const char* y) {
    fp.ok({{"x", x}, {"y", y}}, {}, 3020);
    return *this;
  }
  Kreator& material(const char* pois = "0.30000") {
    fp.ok({{"pois", pois}}, {}, 3050);
    return *this;
  }
  Kreator& podpora(const char* wezel, int chx, int chy, const char* x = "0.0", const char* y = "0.0") {
    fp.ok({{"nu", wezel}, {"x", x}, {"y", y}}, {{"chx", chx}, {"chy", chy}}, 3030);
    return *this;
  }
  Kreator& sila(const char* wezel, const char* fx, const char* fy) {
    fp.ok({{"nr", wezel}, {"fx", fx}, {"fy", fy}}, {}, 3040);
    return *this;
  }
  // The answers of a whole wizard over the presets: a unit square of two
  // elements, supported statically determinate, pulled at node 3.
  void kwadrat() {
    liczby();
    element("1", "2", "3").element("1", "3", "4");
    wezel("0", "0").wezel("1", "0").wezel("1", "1").wezel("0", "1");
    material();
    podpora("1", 1, 0).podpora("1", 0, 1).podpora("2", 0, 1).podpora("4", 1, 0, "0.001");
    sila("3", "10", "-5");
  }
  void bez_modelu() {
    EXPECT_EQ(m.Pusty, 1);
    EXPECT_EQ(m.ne + m.nn + m.nq + m.nd + m.nm, 0);
    EXPECT_FALSE(m.x.istnieje());
    EXPECT_FALSE(m.noc.istnieje());
    EXPECT_FALSE(m.pm.istnieje());
    EXPECT_FALSE(m.d.istnieje());
    EXPECT_FALSE(komenda_wlaczona(okno, 51688));
    EXPECT_TRUE(komenda_wlaczona(okno, 51695));
  }
};

}  // namespace

TEST_F(Kreator, AcceptedPresetsLeadThroughTwelveForms) {
  kwadrat();
  okno.Cm_kreator();
  EXPECT_EQ(zasoby(), (std::vector<int>{3000, 3010, 3010, 3020, 3020, 3020, 3020, 3050, 3030, 3030, 3030, 3030, 3040}));
  EXPECT_TRUE(fp.komunikaty.empty());
  const auto& l = fp.pokazane[0];
  EXPECT_EQ(l.tytul, "Dane podstawowe");
  EXPECT_EQ(l.pole("ne") + l.pole("nn") + l.pole("nd") + l.pole("nl") + l.pole("nm"), "24411");
  EXPECT_EQ(l.pole("th"), "1.00");
  EXPECT_EQ(fp.pokazane[2].pole("ee"), "2");
  EXPECT_EQ(fp.pokazane[2].pole("w1") + fp.pokazane[2].pole("w2") + fp.pokazane[2].pole("w3"), "111");
  EXPECT_EQ(fp.pokazane[3].pole("i"), "1");
  EXPECT_EQ(fp.pokazane[3].pole("x"), "0.0000");
  EXPECT_EQ(fp.pokazane[7].tytul, "Dane materiału");
  EXPECT_EQ(fp.pokazane[7].pole("i"), "1");
  EXPECT_EQ(fp.pokazane[7].pole("pois"), "0.30000");
  EXPECT_EQ(fp.pokazane[9].pole("i"), "2");
  EXPECT_EQ(fp.pokazane[9].pole("nu"), "0");
  EXPECT_EQ(fp.pokazane[9].stany.at("chx"), 0);
  EXPECT_EQ(fp.pokazane[12].pole("nr"), "0");
  EXPECT_EQ(fp.pokazane[12].pole("fx"), "0.0");

  EXPECT_EQ(m.Pusty, 0);
  EXPECT_EQ(m.obliczono, 0);
  EXPECT_EQ(m.ne, 2);
  EXPECT_EQ(m.nn, 4);
  EXPECT_EQ(m.nq, 8);
  EXPECT_EQ(m.nl, 1);
  EXPECT_EQ(m.nbw, 0);
  EXPECT_EQ(m.th, 1.0f);
  EXPECT_EQ(m.noc[2][3], 4);
  EXPECT_EQ(m.x[3][2], 1.0f);
  // supports in the order entered
  ASSERT_EQ(m.nd, 4);
  EXPECT_EQ((std::vector<int>{m.nu[1], m.nu[2], m.nu[3], m.nu[4]}), (std::vector<int>{1, 2, 4, 7}));
  EXPECT_EQ(m.u[4], 0.001f);
  EXPECT_EQ(m.si[5], 10.0f);
  EXPECT_EQ(m.f[6], -5.0f);
  // the material: nominal modulus, ratio and a one-interval curve
  EXPECT_EQ(m.pm[1][1], 200000.0f);
  EXPECT_EQ(m.pm[1][2], 0.3f);
  EXPECT_EQ(m.Prz[1], 1);
  EXPECT_EQ(m.maxpr, 1);
  EXPECT_EQ(m.Ez[1][1], 200000.0f);
  EXPECT_GT(m.Sprz[1][1], 0.0f);
  EXPECT_EQ(fp.odswiezenia, 1);
}

TEST_F(Kreator, AWizardModelSavesAndReopensWithItsCurves) {
  kwadrat();
  okno.Cm_kreator();
  const auto bajty = zapisz_model(m);
  Model drugi;
  ASSERT_TRUE(wczytaj_model(bajty.data(), bajty.size(), drugi));
  EXPECT_EQ(drugi.Prz[1], 1);
  EXPECT_EQ(drugi.Ez[1][1], m.Ez[1][1]);
  EXPECT_EQ(drugi.Sprz[1][1], m.Sprz[1][1]);
  EXPECT_EQ(zapisz_model(drugi), bajty);
}

TEST_F(Kreator, AnExistingModelIsReplacedOnlyOnYes) {
  zbuduj(m, prostokat(1, 1, 1, 1));
  fp.nie();
  okno.Cm_kreator();
  EXPECT_EQ(m.nn, 4);
  EXPECT_TRUE(fp.pokazane.empty());
  ASSERT_EQ(fp.komunikaty.size(), 1u);
  EXPECT_EQ(fp.komunikaty[0].tekst, "Utworzyć nowe dane ?");
  EXPECT_EQ(fp.komunikaty[0].tytul, "VELDO SKORBA N");
  EXPECT_EQ(fp.komunikaty[0].ikona, Ikona::Pytanie);
  m.maxpr = 3;
  fp.tak();
  kwadrat();
  okno.Cm_kreator();
  EXPECT_EQ(m.nn, 4);
  EXPECT_EQ(m.nd, 4);
  EXPECT_EQ(fp.tytul, kTytulPusty);
  EXPECT_EQ(m.maxpr, 3);  // the curve fits the width the tables already had
  EXPECT_EQ(m.Ez[1][2], 0.0f);
}

TEST_F(Kreator, CountsThatEndTheWizard) {
  liczby({{"ne", "1"}});
  okno.Cm_kreator();
  EXPECT_EQ(fp.teksty(), std::vector<std::string>{"Zbyt mała liczba elementów"});
  EXPECT_EQ(fp.komunikaty[0].tytul, "Błąd danych");
  for (auto [pole, tekst] : std::vector<std::pair<std::string, std::string>>{
           {"nn", "2"}, {"nl", "0"}, {"nd", "0"}, {"th", "0"}, {"th", "-1"}, {"nm", "0"}}) {
    liczby({{pole, tekst}});
    okno.Cm_kreator();
  }
  EXPECT_EQ(fp.komunikaty.size(), 1u);  // the others end silently
  fp.anuluj(3000);
  okno.Cm_kreator();
  bez_modelu();
}

TEST_F(Kreator, CountsTooLargeForMemoryAreRefused) {
  liczby({{"nn", "9999999"}});
  okno.Cm_kreator();
  liczby({{"ne", "9999999"}});
  okno.Cm_kreator();
  EXPECT_EQ(fp.teksty(), (std::vector<std::string>{"Zbyt duża liczba węzłów", "Zbyt duża liczba elementów"}));
  bez_modelu();
}

TEST_F(Kreator, CancellingTheThirdNodeLeavesNoModel) {
  liczby({{"th", "0.5"}, {"nl", "3"}});
  element("1", "2", "3").element("1", "3", "4");
  wezel("0", "0").wezel("1", "0");
  fp.anuluj(3020);
  okno.Cm_kreator();
  bez_modelu();
  EXPECT_EQ(m.th, 0.5f);  // taken from the counts
  EXPECT_EQ(m.nl, 3);
  // the commands that need a model do nothing
  okno.Cm_d_wez();
  okno.Cm_prost();
  EXPECT_EQ(fp.pokazane.size(), 6u);
}

TEST_F(Kreator, CancelInEveryStageLeavesNoModel) {
  for (int etap = 1; etap <= 5; ++etap) {
    fp.wyczysc();
    liczby({{"ne", "2"}, {"nn", "3"}, {"nd", "1"}, {"nl", "1"}});
    if (etap > 1) element("1", "2", "3").element("3", "2", "1");
    if (etap > 2) wezel("0", "0").wezel("1", "0").wezel("0", "1");
    if (etap > 3) material();
    if (etap > 4) podpora("1", 1, 1);
    fp.anuluj();
    okno.Cm_kreator();
    bez_modelu();
  }
}

TEST_F(Kreator, ElementAnswersAllHaveMessages) {
  liczby();
  element("1", "2", "1").element("1", "2", "2").element("5", "0", "2", "2").element("1", "2", "3");
  element("2", "3", "4");
  wezel("0", "0").wezel("1", "0").wezel("1", "1").wezel("0", "1");
  material();
  podpora("1", 1, 1).podpora("2", 1, 1).podpora("3", 1, 1).podpora("4", 1, 1);
  sila("2", "1", "1");
  okno.Cm_kreator();
  EXPECT_EQ(fp.teksty(), (std::vector<std::string>{"Zły numer węzła 1", "Zły numer węzła 2", "Zły numer węzła 1",
                                                   "Zły numer węzła 2", "Zły numer materiału"}));
  // the same item comes back with its preset
  EXPECT_EQ(fp.pokazane.at(4).pole("ee"), "1");
  EXPECT_EQ(fp.pokazane.at(4).pole("w3"), "1");
  EXPECT_EQ(fp.pokazane.at(5).pole("ee"), "2");
  EXPECT_EQ(m.Pusty, 0);
  EXPECT_EQ(m.noc[2][1], 2);
}

TEST_F(Kreator, NodeAndMaterialChecks) {
  liczby();
  element("1", "2", "3").element("1", "3", "4");
  wezel("-1", "-1").wezel("0", "0").wezel("1", "0").wezel("1", "1").wezel("0", "1");
  material("-0.1").material("0").material("0.2");
  podpora("1", 1, 1).podpora("2", 1, 1).podpora("3", 1, 1).podpora("4", 1, 1);
  sila("2", "1", "1");
  okno.Cm_kreator();
  EXPECT_EQ(fp.teksty(), (std::vector<std::string>{"Współrzędna X<0", "Współrzędna Y<0", "Wsp. Poissona <=0"}));
  EXPECT_EQ(fp.pokazane.at(4).pole("i"), "1");
  EXPECT_EQ(fp.pokazane.at(4).pole("x"), "0.0000");
  EXPECT_EQ(m.pm[1][2], 0.2f);
  EXPECT_EQ(m.pm[1][1], 200000.0f);
}

TEST_F(Kreator, SupportAnswers) {
  liczby({{"nn", "3"}, {"nd", "2"}});
  element("1", "2", "3").element("3", "2", "1");
  wezel("0", "0").wezel("1", "0").wezel("0", "1");
  material();
  podpora("0", 1, 0).podpora("7", 0, 0).podpora("5", 1, 0).podpora("3", 1, 1, "0.5", "-0.5");
  podpora("3", 0, 1, "0", "0.25");  // the same node again: no check prevents it
  sila("1", "0", "0");
  okno.Cm_kreator();
  EXPECT_EQ(fp.teksty(), (std::vector<std::string>{"Zły numer węzła", "Zły numer węzła",
                                                   "Nie zaznaczono sposobu utwierdzenia"}));
  // 5 is within 1..nq: no message, but no node either, so the form came back
  ASSERT_EQ(m.nd, 3);
  EXPECT_EQ((std::vector<int>{m.nu[1], m.nu[2], m.nu[3]}), (std::vector<int>{5, 6, 6}));
  EXPECT_EQ(m.u[1], 0.5f);
  EXPECT_EQ(m.u[3], 0.25f);
}

TEST_F(Kreator, MoreRestrainedDirectionsThanTheListsWereMeantFor) {
  liczby({{"nn", "3"}, {"nd", "7"}});
  element("1", "2", "3").element("3", "2", "1");
  wezel("0", "0").wezel("1", "0").wezel("0", "1");
  material();
  for (int i = 0; i < 7; ++i) podpora(i % 2 ? "2" : "1", 1, 1);
  sila("3", "1", "0");
  okno.Cm_kreator();
  ASSERT_EQ(m.nd, 14);  // 2 * nd_t entries, more than nq = 6
  EXPECT_EQ(m.nu[14], 2);
  EXPECT_EQ(m.nu[13], 1);
  EXPECT_EQ(m.react.hi(), 14);
}

TEST_F(Kreator, ForceAnswers) {
  liczby({{"nl", "2"}});
  element("1", "2", "3").element("1", "3", "4");
  wezel("0", "0").wezel("1", "0").wezel("1", "1").wezel("0", "1");
  material();
  podpora("1", 1, 1).podpora("2", 1, 1).podpora("3", 1, 1).podpora("4", 1, 1);
  sila("0", "5", "5").sila("5", "1", "1").sila("2", "10", "0").sila("2", "7", "8");
  okno.Cm_kreator();
  EXPECT_EQ(fp.teksty(), std::vector<std::string>{"Zły numer węzła"});
  EXPECT_EQ(m.si[3], 7.0f);  // entering the node again replaced its forces
  EXPECT_EQ(m.si[4], 8.0f);
  EXPECT_EQ(m.nl, 2);
}

TEST_F(Kreator, ForceAtNodeTwoIsInSi3) {
  liczby();
  element("1", "2", "3").element("1", "3", "4");
  wezel("0", "0").wezel("1", "0").wezel("1", "1").wezel("0", "1");
  material();
  podpora("1", 1, 1).podpora("2", 1, 1).podpora("3", 1, 1).podpora("4", 1, 1);
  sila("2", "10", "0");
  okno.Cm_kreator();
  EXPECT_EQ(m.si[3], 10.0f);
  EXPECT_EQ(m.si[4], 0.0f);
  EXPECT_EQ(m.nd, 8);
}

TEST_F(Kreator, RecalculatesAtTheEnd) {
  WYMAGA_ANALIZY();
  okno.a_licz = 1;
  kwadrat();
  fp.anuluj(3200);
  okno.Cm_kreator();
  EXPECT_EQ(zasoby().back(), 3200);
}

// --- whole models --------------------------------------------------------------------------

namespace {

class CalyModel : public Kreator {
 protected:
  void SetUp() override {
    dir = std::filesystem::temp_directory_path() /
          ("skorba_caly_" + std::to_string(::getpid()) + "_" +
           testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::create_directories(dir);
  }
  void TearDown() override {
    Kreator::TearDown();
    std::filesystem::remove_all(dir);
  }
  // Saves through "Zapisz Jako", reopens through "Otwórz", and checks that
  // the reopened model writes the same bytes.
  void zapisz_i_otworz() {
    const std::string plik = (dir / "model.SKD").string();
    const auto przed = zapisz_model(m);
    fp.plik(plik);
    okno.Cm_Zapisz();
    EXPECT_EQ(fp.komunikaty.back().tekst, "Plik zapisano poprawnie");
    fp.tak().plik(plik);
    okno.Cm_Otworz();
    EXPECT_EQ(m.Pusty, 0);
    EXPECT_EQ(zapisz_model(m), przed);
  }
  // Runs "Oblicz" with the proposed limits; true when results came.
  bool oblicz() {
    fp.ok({}, {}, 3200);
    okno.Cm_ODSWIEZ();
    return m.obliczono == 1;
  }
  std::filesystem::path dir;
};

}  // namespace

TEST_F(CalyModel, BuiltByHand) {
  okno.Cm_Nowy();
  for (auto [x, y] : std::vector<std::pair<const char*, const char*>>{{"0", "0"}, {"2", "0"}, {"2", "1"}, {"0", "1"}}) {
    wezel(x, y);
    okno.Cm_d_wez();
  }
  fp.ok({{"lpr", "2"}, {"pois", "0.3"}}, {}, 3190).ok({{"e", "200000"}, {"sim", "200"}}, {}, 3180);
  fp.ok({{"e", "50000"}, {"sim", "400"}}, {}, 3180);
  okno.Cm_d_mat();
  element("1", "2", "3");
  okno.Cm_d_ele();
  element("1", "3", "4");
  okno.Cm_d_ele();
  numer(1);
  podpora("1", 1, 1);
  okno.Cm_d_podp();
  numer(4);
  podpora("4", 1, 0);
  okno.Cm_d_podp();
  numer(3);
  sila("3", "100", "-50");
  okno.Cm_d_sile();
  EXPECT_TRUE(fp.komunikaty.empty());
  EXPECT_EQ(m.ne, 2);
  EXPECT_EQ(m.nd, 3);
  EXPECT_EQ(m.Prz[1], 2);
  zapisz_i_otworz();
  WYMAGA_ANALIZY();
  EXPECT_TRUE(oblicz());
}

TEST_F(CalyModel, GeneratedByTheRectangle) {
  okno.Cm_Nowy();
  fp.ok({{"lpr", "1"}, {"pois", "0.3"}}, {}, 3190).ok({}, {}, 3180);
  okno.Cm_d_mat();
  fp.ok({{"dx", "10"}, {"dy", "2"}, {"ix", "10"}, {"iy", "2"}}, {{"p4", 1}}, 3150);
  okno.Cm_prost();
  for (int k : {1, 12, 23}) {  // the left edge
    numer(k);
    podpora(std::to_string(k).c_str(), 1, 1);
    okno.Cm_d_podp();
  }
  numer(22);
  sila("22", "0", "-10");
  okno.Cm_d_sile();
  EXPECT_EQ(m.nn, 33 + 20);
  EXPECT_EQ(m.ne, 80);
  EXPECT_EQ(m.nd, 6);
  zapisz_i_otworz();
  WYMAGA_ANALIZY();
  EXPECT_TRUE(oblicz());
}

TEST_F(CalyModel, BuiltByTheWizard) {
  kwadrat();
  okno.Cm_kreator();
  zapisz_i_otworz();
  WYMAGA_ANALIZY();
  EXPECT_TRUE(oblicz());
}

TEST(Formularze, CountsLayout) {
  d_dane_pods r;
  ::Formularz f = uklad_D_DANE_PODS(r);
  EXPECT_EQ(f.zasob, 3000);
  std::vector<int> ids;
  std::vector<bool> cyfry;
  for (const auto& k : f.kontrolki) {
    ids.push_back(k.id);
    cyfry.push_back(k.tylko_cyfry);
  }
  EXPECT_EQ(ids, (std::vector<int>{3001, 3002, 3003, 3004, 3005, 3006}));
  EXPECT_EQ(cyfry, (std::vector<bool>{true, true, true, false, false, false}));
  EXPECT_EQ(f.znajdz("nd")->tekst, "Ilość utwierdzonych węzłów");
}
