// No work is lost: undo and redo through the menu, the question about
// unsaved changes before every command that drops the model, the recovery
// file, and opening files from the command line and the recent-files list.
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

  // The names of the files in a folder, sorted.
  static std::vector<std::string> pliki_w(const fs::path& katalog) {
    std::vector<std::string> n;
    for (const auto& e : fs::directory_iterator(katalog)) n.push_back(e.path().filename().string());
    std::sort(n.begin(), n.end());
    return n;
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

// --- the recovery file ---------------------------------------------------------------------

TEST_F(Historia_, TheRecoveryFileFollowsTheUnsavedChanges) {
  const fs::path katalog = dir / "stan" / "skorba-n";
  ASSERT_TRUE(okno.WlaczOdzysk(katalog.string()));
  const fs::path kopia = okno.odzysk->Sciezka();
  EXPECT_EQ(kopia.parent_path(), katalog);
  EXPECT_EQ(fs::status(katalog).permissions() & fs::perms::all, fs::perms::owner_all);
  otworz_model();
  EXPECT_TRUE(fp.zegary.empty());

  // the first change asks for the timer, the next ones wait for it
  dodaj_wezel("5");
  dodaj_wezel("6");
  EXPECT_EQ(fp.zegary, std::vector<int>{30000});
  EXPECT_FALSE(fs::exists(kopia));
  okno.EvTimer();
  EXPECT_EQ(plik(kopia.string()), zapisz_model(m));
  // undone back to the file: nothing unsaved, no copy
  okno.Cm_Cofnij();
  EXPECT_TRUE(fs::exists(kopia));
  okno.Cm_Cofnij();
  EXPECT_FALSE(fs::exists(kopia));
  okno.Cm_Ponow();
  EXPECT_EQ(fp.zegary.size(), 2u);
  okno.EvTimer();
  EXPECT_TRUE(fs::exists(kopia));
  // discarded
  fp.tak().nie();
  okno.Cm_zamknij();
  EXPECT_FALSE(fs::exists(kopia));
  okno.EvTimer();
  EXPECT_FALSE(fs::exists(kopia));

  // a folder that cannot be used costs the recovery, and nothing else
  const std::string zwykly = sciezka("zwykly");
  ASSERT_TRUE(zapisz_plik_atomowo(zwykly, "x", 1));
  Model m2;
  FakePlatform f2;
  {
    _OKNO_ drugie(m2, f2);
    EXPECT_FALSE(drugie.WlaczOdzysk(zwykly + "/skorba-n"));
    drugie.Cm_Nowy();
    f2.ok({{"x", "1"}, {"y", "1"}}, {}, 3020);
    drugie.Cm_d_wez();
    drugie.EvTimer();
    EXPECT_EQ(m2.nn, 1);
    EXPECT_TRUE(f2.komunikaty.empty());
  }
  okno.odzysk.reset();  // a normal exit
  EXPECT_TRUE(pliki_w(katalog).empty());
}

// A program killed after a change leaves its copy; the next start offers
// it, restores it on "Tak" and takes it over, and never touches the copy of
// a program that still runs.
TEST_F(Historia_, AProgramKilledAfterAChangeLeavesACopyTheNextStartRestores) {
  const std::string katalog = (dir / "skorba-n").string();
  // The program runs on its own and is killed once its copy is written.
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
  std::uint64_t n = 0;
  std::vector<std::uint8_t> wzor;
  bool odebrano = ::read(rura[0], &n, sizeof n) == sizeof n && n < 4096;
  if (odebrano) {
    wzor.resize(n);
    std::size_t mam = 0;
    while (mam < n) {
      const ssize_t r = ::read(rura[0], wzor.data() + mam, n - mam);
      if (r <= 0) break;
      mam += static_cast<std::size_t>(r);
    }
    odebrano = mam == n;
  }
  ::kill(dziecko, SIGKILL);
  int stan = 0;
  ::waitpid(dziecko, &stan, 0);
  ::close(rura[0]);
  ASSERT_TRUE(odebrano);
  ASSERT_TRUE(WIFSIGNALED(stan) && WTERMSIG(stan) == SIGKILL);

  // a program that runs meanwhile has a copy of its own, which is never offered
  Model m2;
  FakePlatform f2;
  _OKNO_ drugie(m2, f2);
  ASSERT_TRUE(drugie.WlaczOdzysk(katalog));
  drugie.Cm_Nowy();
  f2.ok({{"x", "7"}, {"y", "7"}}, {}, 3020);
  drugie.Cm_d_wez();
  drugie.EvTimer();
  ASSERT_TRUE(fs::exists(drugie.odzysk->Sciezka()));

  ASSERT_TRUE(okno.WlaczOdzysk(katalog));
  fp.tak();
  okno.ZaproponujOdzysk();
  ASSERT_EQ(fp.komunikaty.size(), 1u);
  const std::string& t = fp.komunikaty[0].tekst;
  EXPECT_EQ(t.rfind("Znaleziono niezapisany projekt z ", 0), 0u) << t;
  EXPECT_TRUE(t.ends_with(". Przywrócić?")) << t;
  EXPECT_EQ(t.size(), std::string("Znaleziono niezapisany projekt z 12.06.2024 14:35. Przywrócić?").size()) << t;
  EXPECT_EQ(fp.komunikaty[0].przyciski, Przyciski::TakNie);
  EXPECT_EQ(zapisz_model(m), wzor);
  EXPECT_TRUE(okno.Zmieniony());  // restored without a file, unsaved
  EXPECT_TRUE(okno.plik_projektu.empty());
  EXPECT_EQ(fp.tytul, kTytulPusty);
  EXPECT_FALSE(komenda_wlaczona(okno, kCofnij));
  EXPECT_EQ(plik(okno.odzysk->Sciezka()), wzor);  // taken over: the copy is this program's now
  EXPECT_EQ(pliki_w(katalog).size(), 4u);          // two programs, a copy and a lock each

  // the next start finds nothing left; "Nie" would have deleted the copy
  {
    Model m3;
    FakePlatform f3;
    _OKNO_ trzecie(m3, f3);
    ASSERT_TRUE(trzecie.WlaczOdzysk(katalog));
    trzecie.ZaproponujOdzysk();
    EXPECT_TRUE(f3.komunikaty.empty());
  }
  drugie.odzysk.reset();
  // saving the restored model removes its copy
  fp.plik(sciezka("odzyskany.SKD"));
  okno.Cm_Zapisz();
  EXPECT_EQ(plik(sciezka("odzyskany.SKD")), wzor);
  EXPECT_EQ(pliki_w(katalog).size(), 1u);  // this program's lock
}

// --- the command line and the recent files ---------------------------------------------------

TEST_F(Historia_, TheCommandLineAndTheRecentFilesOpenAsOtworzDoes) {
  auto argumenty = [](std::vector<const char*> a) {
    a.insert(a.begin(), "skorba_n");
    return czytaj_argumenty(static_cast<int>(a.size()), a.data());
  };
  EXPECT_EQ(argumenty({}).plik, "");
  EXPECT_EQ(argumenty({"/d/a.SKD"}).plik, "/d/a.SKD");
  EXPECT_EQ(argumenty({"--", "-a.SKD"}).plik, "-a.SKD");
  EXPECT_EQ(argumenty({"-x"}).blad, "nieznana opcja -x");
  EXPECT_EQ(argumenty({"a", "b"}).blad, "podano więcej niż jeden plik");

  // a missing file: the message of "Otwórz", and still no model
  okno.OtworzPlikProjektu(sciezka("nie_ma.SKD"));
  EXPECT_EQ(fp.teksty(), std::vector<std::string>{"Nie można otworzyć pliku"});
  EXPECT_EQ(m.Pusty, 1);
  EXPECT_TRUE(okno.ostatnie.empty());

  // files opened or saved go to the top of the list, four at most
  std::vector<std::string> p;
  for (const char* n : {"a.SKD", "b.SKD", "c&d.SKD", "d.SKD"}) {
    if (m.Pusty == 0) fp.tak();  // the question of "Otwórz"
    p.push_back(otworz_model(n));
  }
  fp.plik(sciezka("e.SKD"));
  okno.Cm_Zapisz();
  fp.wyczysc();
  p.push_back(sciezka("e.SKD"));
  EXPECT_EQ(okno.ostatnie, (std::vector<std::string>{p[4], p[3], p[2], p[1]}));
  EXPECT_EQ(fp.ustawienia["ostatnie/1"], p[4]);
  EXPECT_EQ(tekst_komendy(okno, 51731), "&1 " + p[4]);
  EXPECT_EQ(tekst_komendy(okno, 51733), "&3 " + (dir / "c&&d.SKD").string());
  EXPECT_TRUE(komenda_widoczna(okno, 51734));
  {  // the next session has the same list
    Model m2;
    FakePlatform f2;
    f2.ustawienia = fp.ustawienia;
    _OKNO_ drugie(m2, f2);
    EXPECT_EQ(drugie.ostatnie, okno.ostatnie);
  }

  // one chosen from the menu is opened with the questions of "Otwórz"
  dodaj_wezel("4");
  fp.tak().nie();
  ASSERT_TRUE(wykonaj_komende(okno, 51733));
  EXPECT_EQ(fp.teksty()[1], kZapisac);
  EXPECT_EQ(okno.plik_projektu, p[2]);
  EXPECT_EQ(okno.ostatnie.front(), p[2]);

  // one that no longer exists is said so and dropped
  fs::remove(p[1]);
  fp.wyczysc();
  ASSERT_TRUE(wykonaj_komende(okno, 51734));
  EXPECT_EQ(fp.teksty(), std::vector<std::string>{"Plik nie istnieje:\n" + p[1]});
  EXPECT_EQ(okno.ostatnie, (std::vector<std::string>{p[2], p[4], p[3]}));
  EXPECT_EQ(fp.ustawienia["ostatnie/4"], "");
  EXPECT_FALSE(komenda_widoczna(okno, 51734));
  EXPECT_FALSE(komenda_wlaczona(okno, 51734));
  EXPECT_EQ(okno.plik_projektu, p[2]);  // the model stays
}
