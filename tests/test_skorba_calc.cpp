// The batch tool, run as a user runs it, each run in its own folder (the
// analysis writes its log "DR.txt" into the current one).
#include <fcntl.h>
#include <gtest/gtest.h>
#include <pty.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <thread>

#include "model/plik.h"
#include "model_builders.h"
#include "wersja.h"

namespace {

namespace fs = std::filesystem;

struct Wynik {
  int kod;
  std::string wyjscie;  // standard output
  std::string bledy;    // standard error
  std::string wszystko() const { return wyjscie + bledy; }
};

std::string czytaj_tekst(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

int wezel(int nx, int c, int r) { return 1 + c + r * (nx + 1); }

// A cantilever of nx x ny unit cells, left edge clamped, load p down at the tip.
OpisModelu wspornik(int nx, int ny, float p,
                    std::vector<std::pair<float, float>> przedzialy = {{200000.0f, 1e30f}}) {
  OpisModelu o = prostokat(nx, ny, static_cast<float>(nx), static_cast<float>(ny));
  o.materialy[0].przedzialy = std::move(przedzialy);
  for (int r = 0; r <= ny; ++r) {
    o.podpory.push_back({2 * wezel(nx, 0, r) - 1, 0});
    o.podpory.push_back({2 * wezel(nx, 0, r), 0});
  }
  for (int r = 0; r <= ny; ++r) o.sily.push_back({2 * wezel(nx, nx, r), -p / static_cast<float>(ny + 1)});
  return o;
}

OpisModelu plastyczny() { return wspornik(20, 4, 60.0f, {{200000.0f, 300.0f}, {100000.0f, 1e30f}}); }

class SkorbaCalc : public testing::Test {
 protected:
  void SetUp() override {
    dir = fs::temp_directory_path() / ("skorba_calc_" + std::to_string(::getpid()) + "_" +
                                       testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::create_directories(dir);
  }
  void TearDown() override { fs::remove_all(dir); }

  // Runs the tool in the test's folder.
  Wynik uruchom(const std::string& argumenty) {
    const fs::path err = dir / ".stderr";
    const std::string polecenie =
        "cd '" + dir.string() + "' && " + std::string(SKORBA_CALC) + " " + argumenty + " 2>'" + err.string() + "'";
    Wynik w{-1, {}, {}};
    FILE* p = popen(polecenie.c_str(), "r");
    if (!p) return w;
    std::array<char, 4096> bufor{};
    while (fgets(bufor.data(), bufor.size(), p)) w.wyjscie += bufor.data();
    const int status = pclose(p);
    w.kod = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    w.bledy = czytaj_tekst(err);
    fs::remove(err);
    return w;
  }
  // Writes a model as a project file in the test's folder; returns its name.
  std::string zapisz(const OpisModelu& o, const char* nazwa = "model.SKD") {
    Model m;
    zbuduj(m, o);
    const auto bajty = zapisz_model(m);
    EXPECT_TRUE(zapisz_plik_atomowo((dir / nazwa).string(), bajty.data(), bajty.size()));
    return nazwa;
  }

  fs::path dir;
};

}  // namespace

TEST_F(SkorbaCalc, LoadsAndSavesTheSameBytes) {
  Model m;
  OpisModelu o = prostokat(2, 1, 2, 1);
  o.podpory = {{1, 0}, {2, 0}};
  o.sily = {{6, -5}};
  zbuduj(m, o);
  const auto bajty = zapisz_model(m);
  const auto we = (dir / "we.SKD").string(), wy = (dir / "wy.SKD").string();
  ASSERT_TRUE(zapisz_plik_atomowo(we, bajty.data(), bajty.size()));
  const Wynik w = uruchom(we + " --save " + wy);
  EXPECT_EQ(w.kod, 0) << w.wszystko();
  std::vector<std::uint8_t> zapisane;
  ASSERT_TRUE(czytaj_plik(wy, zapisane));
  EXPECT_EQ(zapisane, bajty);
  EXPECT_NE(w.wszystko().find("Plik zapisano poprawnie"), std::string::npos);
}

TEST_F(SkorbaCalc, RefusedFilesAndArgumentsExitWithTwo) {
  const auto zly = (dir / "zly.SKD").string();
  const std::uint8_t zera[28] = {};
  ASSERT_TRUE(zapisz_plik_atomowo(zly, zera, sizeof zera));
  Wynik w = uruchom(zly);
  EXPECT_EQ(w.kod, 2);
  EXPECT_NE(w.wszystko().find("Błędny plik z danymi"), std::string::npos) << w.wszystko();

  w = uruchom((dir / "brak.SKD").string());
  EXPECT_EQ(w.kod, 2);
  EXPECT_NE(w.wszystko().find("Nie można otworzyć pliku"), std::string::npos) << w.wszystko();

  EXPECT_EQ(uruchom("").kod, 2);
  EXPECT_EQ(uruchom("--nieznana x.SKD").kod, 2);
  EXPECT_EQ(uruchom("a.SKD b.SKD").kod, 2);
  EXPECT_EQ(uruchom("a.SKD --save").kod, 2);
}

TEST_F(SkorbaCalc, HelpAndVersionGoToStandardOutputAndSucceed) {
  Wynik w = uruchom("--version");
  EXPECT_EQ(w.kod, 0);
  EXPECT_EQ(w.wyjscie, "skorba_calc (SKORBA N) " SKORBA_WERSJA "\n");
  EXPECT_EQ(w.bledy, "");
  w = uruchom("--help");
  EXPECT_EQ(w.kod, 0);
  EXPECT_NE(w.wyjscie.find("--version"), std::string::npos);
  EXPECT_EQ(w.bledy, "");
}

TEST_F(SkorbaCalc, UnwritableOutputIsAFailure) {
  Model m;
  zbuduj(m, prostokat(1, 1, 1, 1));
  const auto bajty = zapisz_model(m);
  const auto we = (dir / "we.SKD").string();
  ASSERT_TRUE(zapisz_plik_atomowo(we, bajty.data(), bajty.size()));
  const Wynik w = uruchom(we + " --save " + we + "/x.SKD");
  EXPECT_EQ(w.kod, 3);
  EXPECT_NE(w.wszystko().find("Nie można zapisać do pliku"), std::string::npos) << w.wszystko();
  EXPECT_EQ(w.wszystko().find("Plik zapisano poprawnie"), std::string::npos);
}

TEST_F(SkorbaCalc, AnalysesAndSummarises) {
  const Wynik w = uruchom(zapisz(wspornik(20, 4, 10.0f)));
  EXPECT_EQ(w.kod, 0) << w.wszystko();
  EXPECT_NE(w.wyjscie.find("analiza: bez naprężeń plastycznych (rozwiązanie liniowe), kroków 1"), std::string::npos)
      << w.wyjscie;
  EXPECT_NE(w.wyjscie.find("największe przemieszczenie: "), std::string::npos);
  EXPECT_NE(w.wyjscie.find(" w węźle 21 "), std::string::npos) << w.wyjscie;  // the tip's lower corner
  EXPECT_NE(w.wyjscie.find("największe naprężenie wg Hubera: "), std::string::npos);
  EXPECT_EQ(w.bledy, "Obliczenia: Nie wystąpiy naprężenia plastyczne\n");
  // The log goes to the current folder, like the desktop program's.
  EXPECT_EQ(czytaj_tekst(dir / "DR.txt").rfind("51 ", 0), 0u);
}

TEST_F(SkorbaCalc, LimitsLogAndReportFromTheCommandLine) {
  const std::string model = zapisz(plastyczny());
  fs::create_directories(dir / "wyniki");
  Wynik w = uruchom("--steps 3 --error 0 --log wyniki/przebieg.txt --report wyniki/r.txt " + model);
  EXPECT_EQ(w.kod, 0) << w.wszystko();
  EXPECT_NE(w.bledy.find("Obliczenia: Wykorzystano maksymalną liczbę kroków\n"), std::string::npos) << w.bledy;
  EXPECT_NE(w.bledy.find("VELDO SKORBA N: Plik zapisano poprawnie"), std::string::npos);
  EXPECT_NE(w.wyjscie.find("analiza: wykorzystano maksymalną liczbę kroków"), std::string::npos) << w.wyjscie;
  EXPECT_NE(w.wyjscie.find("kroków 3"), std::string::npos);
  EXPECT_FALSE(fs::exists(dir / "DR.txt"));
  const std::string log = czytaj_tekst(dir / "wyniki" / "przebieg.txt");
  EXPECT_EQ(log.rfind("2 ", 0), 0u) << log;
  EXPECT_NE(log.find("\n3 "), std::string::npos) << log;
  const std::string raport = czytaj_tekst(dir / "wyniki" / "r.txt");
  EXPECT_EQ(raport.rfind("Wyniki oblicze\xF1 programu SKORBA N VELDO\r\n\r\nPlik :/", 0), 0u);
  EXPECT_NE(raport.find("wyniki/r.txt\r\n"), std::string::npos);
  EXPECT_NE(raport.find("Liczba si\xB3 obci\xB9\xBF" "aj\xB9" "cych       : 5\r\n"), std::string::npos);

  // Settling: with the default limits this model stops well before 50 steps.
  w = uruchom(model);
  EXPECT_EQ(w.kod, 0);
  EXPECT_NE(w.wyjscie.find("analiza: zbieżna (zmiana "), std::string::npos) << w.wyjscie;
  EXPECT_EQ(w.bledy, "");
}

TEST_F(SkorbaCalc, RefusedLimitsAreReportedAsTheFormWould) {
  const std::string model = zapisz(plastyczny());
  Wynik w = uruchom("--steps 0 " + model);
  EXPECT_EQ(w.kod, 2);
  EXPECT_EQ(w.bledy, "SKORBA N obliczenia: Ilość kroków musi być większa od 0\n");
  w = uruchom("--error -1 --steps 0 " + model);
  EXPECT_EQ(w.kod, 2);
  EXPECT_EQ(w.bledy,
            "SKORBA N obliczenia: Ilość kroków musi być większa od 0\n"
            "SKORBA N obliczenia: Maksymalny błąd musi być większy lub równy 0\n");
  w = uruchom("--error 100 " + model);
  EXPECT_EQ(w.kod, 2);
  EXPECT_NE(w.bledy.find("mniejszy od 100"), std::string::npos) << w.bledy;
  EXPECT_EQ(w.wyjscie.find("analiza:"), std::string::npos);
  EXPECT_EQ(uruchom("--steps").kod, 2);
  EXPECT_EQ(uruchom("--no-analysis --report r.txt " + model).kod, 2);
}

TEST_F(SkorbaCalc, LimitsTheFormWouldReadOtherwiseAreRefused) {
  // The form's fields take 7 characters and read the leading number, a word
  // or a value beyond a float as 0.
  const std::string model = zapisz(plastyczny());
  const std::pair<const char*, const char*> odmowy[] = {
      {"--error 1e39", "błąd maksymalny musi być mniejszy od 100"},
      {"--error -1e39", "błąd maksymalny musi być większy lub równy 0"},
      {"--error nan", "--error wymaga liczby, podano \"nan\""},
      {"--error inf", "--error wymaga liczby, podano \"inf\""},
      {"--error 3.14159265", "błąd maksymalny 3.14159265 nie daje się zapisać w 7 znakach pola formularza"},
      {"--error 1e-50", "błąd maksymalny 1e-50 nie daje się zapisać w 7 znakach pola formularza"},
      {"--error 1e999", "--error 1e999: liczba poza zakresem"},
      {"--steps 2147483647", "liczba kroków nie może być większa od 9999999"},
      {"--steps 2.5", "--steps wymaga liczby całkowitej, podano \"2.5\""},
      {"--steps x", "--steps wymaga liczby całkowitej, podano \"x\""},
  };
  for (const auto& [argumenty, komunikat] : odmowy) {
    const Wynik w = uruchom(std::string(argumenty) + " " + model);
    EXPECT_EQ(w.kod, 2) << argumenty;
    EXPECT_EQ(w.bledy, "skorba_calc: " + std::string(komunikat) + "\n") << argumenty;
  }

  // Given exactly in other words: leading zeros, a decimal comma, more
  // characters than the field holds for a value it holds.
  Wynik w = uruchom("--steps 000000003 --error 0,00000100 " + model);
  EXPECT_EQ(w.kod, 0) << w.wszystko();
  EXPECT_NE(w.wyjscie.find("kroków 3\n"), std::string::npos) << w.wyjscie;
  w = uruchom("--error 2,5 " + model);
  EXPECT_NE(w.wyjscie.find(" % < 2.5 %)"), std::string::npos) << w.wyjscie;
}

TEST_F(SkorbaCalc, AnalysisWithoutResultsExitsWithOne) {
  OpisModelu o = wspornik(4, 2, 10.0f);
  o.podpory.clear();
  Wynik w = uruchom(zapisz(o) + " --report r.txt");
  EXPECT_EQ(w.kod, 1);
  EXPECT_NE(w.bledy.find("VELDO SKORBA N: Niezdefiniowano podpór,węzłów lub elementów"), std::string::npos);
  EXPECT_NE(w.bledy.find("brak wyników"), std::string::npos);
  EXPECT_FALSE(fs::exists(dir / "r.txt"));

  o = wspornik(4, 2, 10.0f);
  o.wezly.push_back({40, 40});  // a node of no element
  w = uruchom(zapisz(o));
  EXPECT_EQ(w.kod, 1);
  EXPECT_EQ(w.bledy, "Obliczenia: Błąd podczas obliczeń\nVELDO SKORBA N: Błąd podczas obliczeń\n");
  EXPECT_NE(w.wyjscie.find("analiza: błąd obliczeń"), std::string::npos);
}

TEST_F(SkorbaCalc, NoAnalysisOnlyLoads) {
  const Wynik w = uruchom("--no-analysis " + zapisz(wspornik(4, 2, 10.0f)));
  EXPECT_EQ(w.kod, 0);
  EXPECT_EQ(w.bledy, "");
  EXPECT_EQ(w.wyjscie, "węzłów 15, elementów 16, materiałów 1, podpór 6\n");
  EXPECT_FALSE(fs::exists(dir / "DR.txt"));
}

TEST_F(SkorbaCalc, UnwritableLogIsReported) {
  const std::string model = zapisz(wspornik(4, 2, 10.0f));
  // Asked for by name: a failure of the run.
  Wynik w = uruchom("--log brak/log.txt " + model);
  EXPECT_EQ(w.kod, 3);
  EXPECT_NE(w.bledy.find("nie można zapisać pliku brak/log.txt"), std::string::npos) << w.bledy;
  EXPECT_NE(w.wyjscie.find("największe przemieszczenie"), std::string::npos);
  // The default log cannot replace a folder of that name: only a warning.
  fs::create_directories(dir / "DR.txt");
  w = uruchom(model);
  EXPECT_EQ(w.kod, 0);
  EXPECT_NE(w.bledy.find("nie można zapisać pliku DR.txt"), std::string::npos) << w.bledy;
}

TEST_F(SkorbaCalc, ExportsTheResultsAndPicturesOfEveryView) {
  const std::string model = zapisz(plastyczny());
  Wynik w = uruchom("--vtu w.vtu --picture h.svg --view huber --size 640x480 --levels 20 --colors continuous " + model);
  EXPECT_EQ(w.kod, 0) << w.wszystko();
  EXPECT_NE(czytaj_tekst(dir / "w.vtu").find("Name=\"Naprezenia_w_elementach_Hubera\""), std::string::npos);
  std::string svg = czytaj_tekst(dir / "h.svg");
  const auto teksty = [](const std::string& s) {
    int n = 0;
    for (std::size_t p = 0; (p = s.find("<text ", p)) != std::string::npos; ++p) ++n;
    return n;
  };
  EXPECT_GT(teksty(svg), 105);  // the node numbers among them
  EXPECT_EQ(uruchom("--picture n.svg --view huber --no-numbers " + model).kod, 0);
  EXPECT_EQ(teksty(czytaj_tekst(dir / "n.svg")), 12);  // only the labels of the colour scale
  svg = czytaj_tekst(dir / "h.svg");
  EXPECT_NE(svg.find("width=\"640\" height=\"480\""), std::string::npos);
  EXPECT_NE(svg.find("fill=\"#ff0000\""), std::string::npos) << "the top of the continuous colours";
  for (const char* v : {"model", "deformed", "sx", "sy", "txy", "material:1"}) {
    w = uruchom(std::string("--picture ") + v + ".svg --view " + v + " " + model);
    EXPECT_EQ(w.kod, 0) << v << w.wszystko();
    EXPECT_NE(czytaj_tekst(dir / (std::string(v) + ".svg")).find("</svg>"), std::string::npos) << v;
  }
  // Without results: the model's file and picture, no map.
  w = uruchom("--no-analysis --vtu m.vtu --picture m.svg " + model);
  EXPECT_EQ(w.kod, 0) << w.wszystko();
  EXPECT_EQ(czytaj_tekst(dir / "m.vtu").find("Naprezenia"), std::string::npos);
  for (const char* zle : {"--no-analysis --picture a.svg --view huber", "--picture a.png", "--picture a.svg --view xx",
                          "--picture a.svg --view material:2", "--picture a.svg --size 0x10", "--picture a.svg --levels 201",
                          "--picture a.svg --colors red"})
    EXPECT_EQ(uruchom(std::string(zle) + " " + model).kod, 2) << zle;
  EXPECT_FALSE(fs::exists(dir / "a.svg"));
  EXPECT_EQ(uruchom("--vtu brak/w.vtu " + model).kod, 3);
}

// Its speed is measured by bench/bench_analiza.cpp; here only that a model
// of about 20,000 unknowns with a half band of 206 goes through.
TEST_F(SkorbaCalc, HundredByHundredRectangle) {
  const std::string model = zapisz(wspornik(100, 100, 1000.0f));
  const Wynik w = uruchom(model);
  EXPECT_EQ(w.kod, 0) << w.wszystko();
  EXPECT_NE(w.wyjscie.find("węzłów 10201"), std::string::npos);
}

// Ctrl+C during a long analysis, with standard error a pipe and then a
// terminal: the analysis stops after the step under way, the log and the
// report hold the last completed step, the tool says so and exits with 1.
// Only on the terminal does the progress line appear, and it is cleared
// before the message.
TEST_F(SkorbaCalc, CtrlCStopsTheAnalysisWithItsLogAndReport) {
  const std::string model = zapisz(plastyczny());
  const std::string katalog = dir.string(), program = SKORBA_CALC, bledy = (dir / ".stderr").string();
  for (const bool terminal : {false, true}) {
    fs::remove(dir / "r.txt");
    fs::remove(dir / "DR.txt");
    int wyjscie = -1;
    pid_t pid;
    if (terminal) {
      pid = forkpty(&wyjscie, nullptr, nullptr, nullptr);
    } else {
      int rura[2];
      ASSERT_EQ(pipe(rura), 0);
      pid = fork();
      if (pid == 0) {
        dup2(rura[1], 1);
        const int e = open(bledy.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        dup2(e, 2);
      }
      close(rura[1]);
      wyjscie = rura[0];
    }
    ASSERT_GE(pid, 0);
    if (pid == 0) {
      if (chdir(katalog.c_str()) == 0)
        execl(program.c_str(), "skorba_calc", "--steps", "9999999", "--error", "0", "--report", "r.txt",
              model.c_str(), static_cast<char*>(nullptr));
      _exit(127);
    }
    // The first line comes once the model is loaded and Ctrl+C is taken
    // over; then some steps run.
    std::string tekst;
    char c;
    while (tekst.find('\n') == std::string::npos && read(wyjscie, &c, 1) == 1) tekst += c;
    std::this_thread::sleep_for(std::chrono::milliseconds(800));
    kill(pid, SIGINT);
    for (ssize_t n; (n = read(wyjscie, &c, 1)) == 1;) tekst += c;
    close(wyjscie);
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    ASSERT_TRUE(WIFEXITED(status)) << tekst;
    EXPECT_EQ(WEXITSTATUS(status), 1) << tekst;
    if (!terminal) tekst += czytaj_tekst(bledy);

    std::smatch m;
    ASSERT_TRUE(std::regex_search(tekst, m, std::regex("Obliczenia: Obliczenia przerwane po ([0-9]+) krokach")))
        << tekst;
    const int n = std::stoi(m[1]);
    ASSERT_GE(n, 2) << tekst;
    EXPECT_NE(tekst.find("analiza: przerwana, kroków " + std::to_string(n)), std::string::npos) << tekst;
    const std::string log = czytaj_tekst(dir / "DR.txt");
    EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), n - 1) << log;
    EXPECT_NE(log.find("\n" + std::to_string(n) + " "), std::string::npos) << log;
    EXPECT_TRUE(fs::exists(dir / "r.txt"));
    if (terminal) {
      EXPECT_NE(tekst.find("\rkrok "), std::string::npos) << tekst;
      EXPECT_NE(tekst.find(", zmiana "), std::string::npos) << tekst;
      EXPECT_NE(tekst.find("\033[K\r\033[KObliczenia: Obliczenia przerwane"), std::string::npos) << tekst;
    } else {
      EXPECT_EQ(czytaj_tekst(bledy), "Obliczenia: Obliczenia przerwane po " + std::to_string(n) +
                                          " krokach\nVELDO SKORBA N: Plik zapisano poprawnie\n");
    }
  }
}

TEST_F(SkorbaCalc, SolverChoiceAndTheSameBitsWhateverTheThreadsAsked) {
  Wynik w = uruchom("--solver band " + zapisz(wspornik(4, 2, 10.0f), "maly.SKD"));
  EXPECT_EQ(w.kod, 0) << w.wszystko();
  EXPECT_NE(w.wyjscie.find("metoda rozwiązania: pasmowa\n"), std::string::npos) << w.wyjscie;
  // The sparse path twice, the second time with one thread asked of every
  // library and of the program: the same report to the last byte.  (Blocks
  // of this model's factor are large enough for the library to share them
  // between threads.)
  const std::string model = zapisz(wspornik(100, 100, 1000.0f));
  w = uruchom("--solver sparse --report r.txt " + model);
  EXPECT_EQ(w.kod, 0) << w.wszystko();
  EXPECT_NE(w.wyjscie.find("metoda rozwiązania: rzadka\n"), std::string::npos) << w.wyjscie;
  const std::string pierwszy = czytaj_tekst(dir / "r.txt");
  for (const char* zmienna : {"OPENBLAS_NUM_THREADS", "OMP_NUM_THREADS", "SKORBA_WATKI"}) setenv(zmienna, "1", 1);
  w = uruchom("--solver sparse --report r.txt " + model);
  for (const char* zmienna : {"OPENBLAS_NUM_THREADS", "OMP_NUM_THREADS", "SKORBA_WATKI"}) unsetenv(zmienna);
  EXPECT_EQ(w.kod, 0) << w.wszystko();
  EXPECT_GT(pierwszy.size(), 100000u);
  EXPECT_TRUE(czytaj_tekst(dir / "r.txt") == pierwszy);

  w = uruchom("--solver pasmo " + model);
  EXPECT_EQ(w.kod, 2);
  EXPECT_NE(w.bledy.find("nieznana metoda rozwiązania pasmo"), std::string::npos) << w.bledy;
  EXPECT_EQ(uruchom(model + " --solver").kod, 2);
}
