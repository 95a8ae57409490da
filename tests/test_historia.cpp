// No work is lost: undo and redo through the menu, the question about
// unsaved changes before every command that drops the model, the recovery
// file, and opening files from the command line and the recent-files list.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "app/komendy.h"
#include "app/okno.h"
#include "fake_platform.h"
#include "model/plik.h"
#include "model_builders.h"

namespace {

namespace fs = std::filesystem;

constexpr int kCofnij = 51720, kPonow = 51721;
constexpr const char* kZapisac = "Zapisać zmiany w projekcie?";

class Historia_ : public testing::Test {
 protected:
  void SetUp() override {
    dir = fs::temp_directory_path() / ("skorba_historia_" + std::to_string(::getpid()) + "_" +
                                       testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::create_directories(dir);
    okno.plik_dr = (dir / "DR.txt").string();
  }
  void TearDown() override {
    fp.sprawdz_zuzyte();
    fs::remove_all(dir);
  }
  std::string sciezka(const char* nazwa) const { return (dir / nazwa).string(); }
  // A project file with a small model, opened as a user would.
  std::string otworz_model(const char* nazwa = "model.SKD") {
    Model t;
    zbuduj(t, prostokat(2, 1, 2, 1));
    const auto b = zapisz_model(t);
    const std::string p = sciezka(nazwa);
    EXPECT_TRUE(zapisz_plik_atomowo(p, b.data(), b.size()));
    fp.plik(p);
    okno.Cm_Otworz();
    EXPECT_EQ(m.Pusty, 0);
    return p;
  }
  // Adds a node at (x, 0) through its form.
  void dodaj_wezel(const char* x) { fp.ok({{"x", x}, {"y", "0"}}, {}, 3020); okno.Cm_d_wez(); }
  std::vector<std::uint8_t> plik(const std::string& p) const {
    std::vector<std::uint8_t> b;
    EXPECT_TRUE(czytaj_plik(p, b));
    return b;
  }

  Model m;
  FakePlatform fp;
  _OKNO_ okno{m, fp};
  fs::path dir;
};

}  // namespace

TEST_F(Historia_, UndoAndRedoNameTheirStepAndFollowTheSavedState) {
  EXPECT_FALSE(komenda_wlaczona(okno, kCofnij));
  EXPECT_EQ(tekst_komendy(okno, kCofnij), "&Cofnij");
  EXPECT_STREQ(znajdz_komende(kPonow)->skroty, "Ctrl+Y;Ctrl+Shift+Z");

  const std::string p = otworz_model();
  const auto otwarty = zapisz_model(m);
  EXPECT_FALSE(okno.Zmieniony());
  EXPECT_FALSE(komenda_wlaczona(okno, kCofnij));  // opening starts a new history

  dodaj_wezel("5");
  fp.ok({{"i", "7"}}, {}, 3100).tak();
  okno.Cm_u_wez();  // the new node
  EXPECT_EQ(zapisz_model(m), otwarty);
  // back at the bytes of the file: nothing to save, yet two steps to undo
  EXPECT_FALSE(okno.Zmieniony());
  EXPECT_EQ(tekst_komendy(okno, kCofnij), "&Cofnij: Usuń węzeł");
  EXPECT_EQ(tekst_komendy(okno, kPonow), "&Ponów");

  m.obliczono = 1;
  ASSERT_TRUE(wykonaj_komende(okno, kCofnij));
  EXPECT_EQ(m.nn, 7);
  EXPECT_EQ(m.obliczono, 0);  // as after any edit
  EXPECT_TRUE(okno.Zmieniony());
  EXPECT_EQ(tekst_komendy(okno, kCofnij), "&Cofnij: Dodaj węzeł");
  EXPECT_EQ(tekst_komendy(okno, kPonow), "&Ponów: Usuń węzeł");

  // a cancelled command leaves no step and keeps the steps to redo
  fp.anuluj(3020);
  okno.Cm_d_wez();
  EXPECT_TRUE(komenda_wlaczona(okno, kPonow));
  // a command that changes nothing is no step either
  fp.ok({{"i", "1"}}, {}, 3100).ok({}, {}, 3020);
  okno.Cm_z_wez();
  EXPECT_EQ(tekst_komendy(okno, kCofnij), "&Cofnij: Dodaj węzeł");

  // saving makes the present state the saved one
  fp.plik(sciezka("drugi.SKD"));
  okno.Cm_Zapisz();
  EXPECT_FALSE(okno.Zmieniony());
  wykonaj_komende(okno, kCofnij);
  EXPECT_TRUE(okno.Zmieniony());
  EXPECT_EQ(zapisz_model(m), otwarty);
  EXPECT_FALSE(komenda_wlaczona(okno, kCofnij));
  wykonaj_komende(okno, kPonow);
  EXPECT_EQ(zapisz_model(m), plik(sciezka("drugi.SKD")));
  EXPECT_FALSE(okno.Zmieniony());

  // "Nowy" starts a new history; the model it makes counts as saved
  fp.tak();
  okno.Cm_Nowy();
  EXPECT_FALSE(komenda_wlaczona(okno, kCofnij));
  EXPECT_FALSE(komenda_wlaczona(okno, kPonow));
  EXPECT_FALSE(okno.Zmieniony());
  dodaj_wezel("1");
  EXPECT_TRUE(okno.Zmieniony());
}

// "Nowy", "Otwórz", "Kreator", "Zamknij" and the close box, with unsaved
// changes: after the command's own question, "Zapisać zmiany w projekcie?"
// with its three answers.
TEST_F(Historia_, EveryCommandThatDropsTheModelAsksToSaveItsChanges) {
  struct Przypadek {
    const char* nazwa;
    const char* pytanie;  // the command's own question
    bool (*uruchom)(_OKNO_&);
  };
  const Przypadek komendy[] = {
      {"Nowy", "Utworzyć nowe dane ?", [](_OKNO_& o) { o.Cm_Nowy(); return o.M.nn == 0; }},
      {"Otwórz", "Otwarcie nowego pliku spowoduje utrate danych\n\nJesteś pewien ?",
       [](_OKNO_& o) { o.Cm_Otworz(); return !o.Zmieniony(); }},
      {"Kreator", "Utworzyć nowe dane ?", [](_OKNO_& o) { o.Cm_kreator(); return o.M.Pusty == 1; }},
      {"Zamknij", "Zamykając projekt utracisz dane.\n\nCzy jesteś pewien ?",
       [](_OKNO_& o) { o.Cm_zamknij(); return o.M.Pusty == 1; }},
      {"Koniec", "Zakończyć działanie programu ?", [](_OKNO_& o) { return o.CanClose(); }},
  };
  for (const Przypadek& k : komendy) {
    for (int odpowiedz : {IDYES, IDNO, IDCANCEL}) {
      SCOPED_TRACE(std::string(k.nazwa) + " " + std::to_string(odpowiedz));
      const std::string p = otworz_model();
      dodaj_wezel("9");
      const auto zmieniony = zapisz_model(m);
      fp.wyczysc();
      fp.tak();
      fp.pytania.push_back(odpowiedz);
      if (odpowiedz != IDCANCEL && std::string(k.nazwa) == "Otwórz") fp.plik(p);
      if (odpowiedz != IDCANCEL && std::string(k.nazwa) == "Kreator") fp.anuluj(3000);
      const bool wykonana = k.uruchom(okno);
      ASSERT_GE(fp.komunikaty.size(), 2u);
      EXPECT_EQ(fp.komunikaty[0].tekst, k.pytanie);
      EXPECT_EQ(fp.komunikaty[1].tekst, kZapisac);
      EXPECT_EQ(fp.komunikaty[1].tytul, "VELDO SKORBA N");
      EXPECT_EQ(fp.komunikaty[1].przyciski, Przyciski::TakNieAnuluj);
      // "Tak" saves to the model's file without a dialog, then the command goes on
      EXPECT_EQ(plik(p) == zmieniony, odpowiedz == IDYES);
      EXPECT_EQ(wykonana, odpowiedz != IDCANCEL);
      if (odpowiedz == IDCANCEL) {
        EXPECT_EQ(zapisz_model(m), zmieniony);  // everything as it was
        EXPECT_TRUE(okno.Zmieniony());
      }
      fp.sprawdz_zuzyte();
      if (m.Pusty == 0) {  // for the next round
        fp.tak();
        if (okno.Zmieniony()) fp.nie();
        okno.Cm_zamknij();
      }
    }
  }

  // without a file, "Tak" goes through the save dialog; a cancelled or
  // failed save cancels the command and keeps the model
  ASSERT_EQ(m.Pusty, 1);
  okno.Cm_Nowy();
  dodaj_wezel("1");
  fp.tak().tak().plik(std::nullopt);
  okno.Cm_Nowy();
  EXPECT_EQ(m.nn, 1);
  const std::string zwykly = sciezka("zwykly");
  ASSERT_TRUE(zapisz_plik_atomowo(zwykly, "x", 1));
  fp.tak().tak().plik(zwykly + "/a.SKD");
  okno.Cm_Nowy();
  EXPECT_EQ(fp.teksty().back(), "Nie można zapisać do pliku");
  EXPECT_EQ(m.nn, 1);
  fp.tak().tak().plik(sciezka("nowy.SKD"));
  okno.Cm_Nowy();
  EXPECT_EQ(m.nn, 0);
  EXPECT_EQ(plik(sciezka("nowy.SKD")).size(), 28u + 16u);  // the one node
}

TEST_F(Historia_, ARefusedFileLeavesTheModelAsItWas) {
  otworz_model();
  dodaj_wezel("3");
  const auto przed = zapisz_model(m);
  const std::string zly = sciezka("zly.SKD");
  ASSERT_TRUE(zapisz_plik_atomowo(zly, "krotki", 6));
  fp.wyczysc();
  fp.tak().nie().plik(zly);
  okno.Cm_Otworz();
  EXPECT_EQ(fp.teksty().back(), "Błędny plik z danymi");
  EXPECT_EQ(zapisz_model(m), przed);
  EXPECT_TRUE(okno.Zmieniony());
  EXPECT_EQ(tekst_komendy(okno, kCofnij), "&Cofnij: Dodaj węzeł");
}
