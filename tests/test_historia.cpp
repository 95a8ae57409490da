// No work is lost: the undo menu, the question about unsaved changes before
// every command that drops the model, the recovery file, and opening files
// from the command line and the recent-files list.  (Undo and redo against
// random editing: test_losowe.cpp.)
#include <gtest/gtest.h>
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>

#include "app/argumenty.h"
#include "app/komendy.h"
#include "app/okno.h"
#include "fake_platform.h"
#include "model/plik.h"
#include "model_builders.h"

namespace {

namespace fs = std::filesystem;
using Bajty = std::vector<std::uint8_t>;

constexpr int kCofnij = 51720;

class Historia_ : public testing::Test {
 protected:
  void SetUp() override {
    dir = fs::temp_directory_path() / ("skorba_historia_" + std::to_string(::getpid()) + "_" +
                                       testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::create_directories(dir);
  }
  void TearDown() override {
    fp.sprawdz_zuzyte();
    fs::remove_all(dir);
  }
  std::string sciezka(const char* nazwa) const { return (dir / nazwa).string(); }
  // Writes a small model as a project file and opens it as a user would.
  std::string otworz_model(const char* nazwa = "model.SKD") {
    Model t;
    zbuduj(t, prostokat(2, 1, 2, 1));
    const Bajty b = zapisz_model(t);
    const std::string p = sciezka(nazwa);
    EXPECT_TRUE(zapisz_plik_atomowo(p, b.data(), b.size()));
    fp.plik(p);
    okno.Cm_Otworz();
    return p;
  }
  void dodaj_wezel(const char* x) {
    fp.ok({{"x", x}, {"y", "0"}}, {}, 3020);
    okno.Cm_d_wez();
  }
  static Bajty plik(const std::string& p) {
    Bajty b;
    czytaj_plik(p, b);
    return b;
  }

  Model m;
  FakePlatform fp;
  _OKNO_ okno{m, fp};
  fs::path dir;
};

}  // namespace

// "Nowy", "Otwórz", "Kreator", "Zamknij" and the close box ask, after their
// own question, "Zapisać zmiany w projekcie?" about unsaved changes; all but
// the close box then start a new history.
TEST_F(Historia_, EveryCommandThatDropsTheModelAsksToSaveItsChanges) {
  struct Przypadek {
    std::string nazwa, pytanie;
    bool (*uruchom)(_OKNO_&);  // whether the command went on
  };
  const Przypadek komendy[] = {
      {"Nowy", "Utworzyć nowe dane ?", [](_OKNO_& o) { return o.Cm_Nowy(), o.M.nn == 0; }},
      {"Otwórz", "Otwarcie nowego pliku spowoduje utrate danych\n\nJesteś pewien ?",
       [](_OKNO_& o) { return o.Cm_Otworz(), !o.Zmieniony(); }},
      {"Kreator", "Utworzyć nowe dane ?", [](_OKNO_& o) { return o.Cm_kreator(), o.M.Pusty == 1; }},
      {"Zamknij", "Zamykając projekt utracisz dane.\n\nCzy jesteś pewien ?",
       [](_OKNO_& o) { return o.Cm_zamknij(), o.M.Pusty == 1; }},
      {"Koniec", "Zakończyć działanie programu ?", [](_OKNO_& o) { return o.CanClose(); }},
  };
  for (const Przypadek& k : komendy)
    for (int odpowiedz : {IDYES, IDNO, IDCANCEL}) {
      SCOPED_TRACE(k.nazwa + " " + std::to_string(odpowiedz));
      const std::string p = otworz_model();
      dodaj_wezel("9");
      const Bajty zmieniony = zapisz_model(m);
      fp.wyczysc();
      fp.tak().pytania.push_back(odpowiedz);
      if (odpowiedz != IDCANCEL && k.nazwa == "Otwórz") fp.plik(p);
      if (odpowiedz != IDCANCEL && k.nazwa == "Kreator") fp.anuluj(3000);
      EXPECT_EQ(k.uruchom(okno), odpowiedz != IDCANCEL);
      EXPECT_EQ(fp.teksty().at(0), k.pytanie);
      EXPECT_EQ(fp.teksty().at(1), "Zapisać zmiany w projekcie?");
      EXPECT_EQ(fp.komunikaty[1].przyciski, Przyciski::TakNieAnuluj);
      // "Tak" saves to the model's file, without a dialog
      EXPECT_EQ(plik(p) == zmieniony, odpowiedz == IDYES);
      if (odpowiedz == IDCANCEL) EXPECT_EQ(zapisz_model(m), zmieniony);
      // the commands that drop the model start a new history
      if (k.nazwa != "Koniec") EXPECT_EQ(komenda_wlaczona(okno, kCofnij), odpowiedz == IDCANCEL);
      fp.sprawdz_zuzyte();
      if (m.Pusty == 0) {
        fp.tak();
        if (okno.Zmieniony()) fp.nie();
        okno.Cm_zamknij();
      }
    }

  // without a file "Tak" goes through the save dialog; a cancelled or
  // failed save cancels the command
  okno.Cm_Nowy();
  dodaj_wezel("1");
  fp.tak().tak().plik(std::nullopt);
  okno.Cm_Nowy();
  ASSERT_TRUE(zapisz_plik_atomowo(sciezka("zwykly"), "x", 1));
  fp.tak().tak().plik(sciezka("zwykly") + "/a.SKD");
  okno.Cm_Nowy();
  EXPECT_EQ(fp.teksty().back(), "Nie można zapisać do pliku");
  EXPECT_EQ(m.nn, 1);
  EXPECT_TRUE(okno.Zmieniony());
  fp.tak().tak().plik(sciezka("nowy.SKD"));
  okno.Cm_Nowy();
  EXPECT_EQ(m.nn, 0);
  EXPECT_EQ(plik(sciezka("nowy.SKD")).size(), 28u + 16u);  // the one node
}

// --- the recovery file ---------------------------------------------------------------------

TEST_F(Historia_, TheRecoveryFileFollowsTheUnsavedChanges) {
  const fs::path katalog = dir / "stan" / "skorba-n";
  ASSERT_TRUE(okno.WlaczOdzysk(katalog.string()));
  EXPECT_EQ(fs::status(katalog).permissions() & fs::perms::all, fs::perms::owner_all);
  const std::string kopia = okno.odzysk->Sciezka();
  otworz_model();
  // the first change asks for the timer, the next ones wait for it
  dodaj_wezel("5");
  dodaj_wezel("6");
  EXPECT_EQ(fp.zegary, std::vector<int>{30000});
  EXPECT_FALSE(fs::exists(kopia));
  okno.EvTimer();
  EXPECT_EQ(plik(kopia), zapisz_model(m));
  okno.Cm_Cofnij();
  okno.Cm_Cofnij();  // back at the file: nothing unsaved, no copy
  EXPECT_FALSE(fs::exists(kopia));
  okno.Cm_Ponow();
  okno.EvTimer();
  fp.tak().nie();  // discarded
  okno.Cm_zamknij();
  EXPECT_FALSE(fs::exists(kopia));

  ASSERT_TRUE(zapisz_plik_atomowo(sciezka("zwykly"), "x", 1));
  EXPECT_FALSE(PlikOdzysku().Otworz(sciezka("zwykly") + "/skorba-n"));  // the program goes on without
  okno.odzysk.reset();  // a normal exit
  EXPECT_TRUE(fs::is_empty(katalog));
}

// A program killed after a change leaves its copy, which the next start
// offers, restores and takes over; the copy of a program that still runs is
// never offered.
TEST_F(Historia_, AProgramKilledAfterAChangeLeavesACopyTheNextStartRestores) {
  const std::string katalog = sciezka("skorba-n");
  int rura[2];
  ASSERT_EQ(::pipe2(rura, O_CLOEXEC), 0);
  posix_spawn_file_actions_t akcje;
  posix_spawn_file_actions_init(&akcje);
  posix_spawn_file_actions_adddup2(&akcje, rura[1], STDOUT_FILENO);
  char* argv[] = {const_cast<char*>(SKORBA_PROGRAM_ODZYSKU), const_cast<char*>(katalog.c_str()), nullptr};
  pid_t dziecko = 0;
  ASSERT_EQ(::posix_spawn(&dziecko, argv[0], &akcje, nullptr, argv, environ), 0);
  posix_spawn_file_actions_destroy(&akcje);
  ::close(rura[1]);
  char gotowe = 0;  // the program says when its copy is written
  const bool odebrano = ::read(rura[0], &gotowe, 1) == 1;
  ::kill(dziecko, SIGKILL);
  int stan = 0;
  ::waitpid(dziecko, &stan, 0);
  ::close(rura[0]);
  ASSERT_TRUE(odebrano);
  ASSERT_TRUE(WIFSIGNALED(stan) && WTERMSIG(stan) == SIGKILL);
  // its model: a new one with a node where the form's presets put it
  Model wm;
  FakePlatform wp;
  _OKNO_ w(wm, wp);
  w.Cm_Nowy();
  wp.ok({}, {}, 3020);
  w.Cm_d_wez();
  const Bajty wzor = zapisz_model(wm);

  Model m2;
  FakePlatform f2;
  _OKNO_ biezace(m2, f2);  // runs meanwhile, with a copy of its own
  ASSERT_TRUE(biezace.WlaczOdzysk(katalog));
  f2.ok({{"x", "7"}}, {}, 3020);
  biezace.Cm_Nowy();
  biezace.Cm_d_wez();
  biezace.EvTimer();

  ASSERT_TRUE(okno.WlaczOdzysk(katalog));
  fp.tak();
  okno.ZaproponujOdzysk();
  ASSERT_EQ(fp.komunikaty.size(), 1u);  // only the killed program's copy
  const std::string& t = fp.komunikaty[0].tekst;
  EXPECT_TRUE(t.starts_with("Znaleziono niezapisany projekt z ") && t.ends_with(". Przywrócić?")) << t;
  EXPECT_EQ(t.size(), std::string("Znaleziono niezapisany projekt z 12.06.2024 14:35. Przywrócić?").size()) << t;
  EXPECT_EQ(zapisz_model(m), wzor);
  EXPECT_TRUE(okno.Zmieniony() && okno.plik_projektu.empty());  // unsaved, without a file
  EXPECT_EQ(fp.tytul, kTytulPusty);
  EXPECT_EQ(plik(okno.odzysk->Sciezka()), wzor);  // taken over
  fp.plik(sciezka("odzyskany.SKD"));
  okno.Cm_Zapisz();
  EXPECT_FALSE(fs::exists(okno.odzysk->Sciezka()));
}

// --- the command line and the recent files ---------------------------------------------------

TEST_F(Historia_, TheCommandLineAndTheRecentFilesOpenAsOtworzDoes) {
  const char* a[] = {"skorba_n", "--", "-a.SKD", "b"};
  EXPECT_EQ(czytaj_argumenty(3, a).plik, "-a.SKD");
  EXPECT_EQ(czytaj_argumenty(2, a + 1).blad, "nieznana opcja -a.SKD");

  okno.OtworzPlikProjektu(sciezka("nie_ma.SKD"));
  EXPECT_EQ(fp.teksty(), std::vector<std::string>{"Nie można otworzyć pliku"});
  EXPECT_EQ(m.Pusty, 1);

  // files opened or saved go to the top of the list, four at most
  std::vector<std::string> p;
  for (const char* n : {"a.SKD", "b.SKD", "c&d.SKD", "d.SKD"}) {
    if (m.Pusty == 0) fp.tak();
    p.push_back(otworz_model(n));
  }
  p.push_back(sciezka("e.SKD"));
  fp.plik(p.back());
  okno.Cm_Zapisz();
  EXPECT_EQ(okno.ostatnie, (std::vector<std::string>{p[4], p[3], p[2], p[1]}));
  EXPECT_EQ(tekst_komendy(okno, 51733), "&3 " + sciezka("c&&d.SKD"));
  EXPECT_EQ(fp.ustawienia["ostatnie/1"], p[4]);

  // chosen from the menu: opened with the questions of "Otwórz"
  fp.tak();
  ASSERT_TRUE(wykonaj_komende(okno, 51733));
  EXPECT_EQ(okno.plik_projektu, p[2]);
  EXPECT_EQ(okno.ostatnie.front(), p[2]);
  // one that no longer exists is said so and dropped
  fs::remove(p[1]);
  fp.wyczysc();
  ASSERT_TRUE(wykonaj_komende(okno, 51734));
  EXPECT_EQ(fp.teksty(), std::vector<std::string>{"Plik nie istnieje:\n" + p[1]});
  EXPECT_EQ(okno.ostatnie, (std::vector<std::string>{p[2], p[4], p[3]}));
  EXPECT_FALSE(komenda_widoczna(okno, 51734) || komenda_wlaczona(okno, 51734));
}
