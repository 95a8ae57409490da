// Benchmark of the two solution paths on square plates as the rectangle
// generator numbers them (two triangles per cell, clamped along the left
// edge, loaded along the right one), from 100 x 100 to 707 x 707 cells
// (about a million unknowns).
//
// Every measurement runs in a child process of its own, so the peak memory
// (the child's maximum resident set) belongs to that one analysis and a
// path that runs out of memory ends only its child.
//
//   bench_rzadki [sizes...]            the table of both paths and the automatic
//                                      choice, linear and yielding (default
//                                      100 223 500 707)
//   bench_rzadki porzadki [sizes...]   the orderings compared (default 100 223 500 707)
//   bench_rzadki przeciecie [NXxNY...] the crossover of the two paths on squares and
//                                      rectangles (numbered along X, like the generator),
//                                      against the automatic rule
//   bench_rzadki zgodnosc [sizes...]   how far the results of the two paths differ, in
//                                      double and in the float store (default 100 223 500)
//
// Linear: one step, then the reactions and the nodal values, as "Oblicz"
// runs it.  Yielding: the same square with a material that yields near the
// clamped edge, three steps whatever the change (error limit 0), so the
// time per step is that of a step of the secant iteration.
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "analysis/pula.h"
#include "analysis/rzadki.h"
#include "analysis/silnik.h"
#include "model_builders.h"

namespace {

using Zegar = std::chrono::steady_clock;

double sekundy(Zegar::time_point t0) { return std::chrono::duration<double>(Zegar::now() - t0).count(); }

// An nx x ny cell rectangle of 100 x 100 per 100 cells, clamped along its left edge, a
// load of 1000 down spread over the right edge; one material, linear or
// yielding (the clamped edge carries about 60).
void plyta(Model& m, int nx, int ny, bool plastyczny) {
  OpisModelu o = prostokat(nx, ny, static_cast<float>(nx), static_cast<float>(ny));
  if (plastyczny) o.materialy[0].przedzialy = {{200000.0f, 15.0f}, {20000.0f, 1.0e30f}};
  o.maxpr = 2;
  const int lwx = nx + 1;
  for (int r = 1; r <= ny + 1; ++r) {
    const int k = (r - 1) * lwx + 1;
    o.podpory.push_back({2 * k - 1, 0.0f});
    o.podpory.push_back({2 * k, 0.0f});
    o.sily.push_back({2 * (r * lwx), -1000.0f * static_cast<float>(ny) / 100.0f / static_cast<float>(ny + 1)});
  }
  zbuduj(m, o);
}

double szczyt_mb() {
  rusage u{};
  getrusage(RUSAGE_SELF, &u);
  return static_cast<double>(u.ru_maxrss) / 1024.0;
}

// Processor time of the process so far (all its threads), in s.
double procesor() {
  rusage u{};
  getrusage(RUSAGE_SELF, &u);
  return static_cast<double>(u.ru_utime.tv_sec + u.ru_stime.tv_sec) +
         1e-6 * static_cast<double>(u.ru_utime.tv_usec + u.ru_stime.tv_usec);
}

// What one analysis in a child reports.
struct Wynik {
  int ok = 0;            // 1 when the child finished with results
  int nq = 0, nbw = 0;
  int metoda = 0;        // the path taken
  int kroki = 0;
  double przygotowanie = 0;  // start_analizy (band allocation / patterns, ordering, analysis)
  double krok = 0;           // median time of a step
  double wezlowe = 0;        // reactions and nodal values
  double calosc = 0;
  double rss = 0;            // peak resident set, MB
  double niezerowe_L = 0, operacje = 0;
  double s_porzadek = 0, s_analiza = 0, s_wzor = 0;
  double rozklad = 0;        // one numeric factorisation and solve (orderings table)
  double cpu = 0;            // processor time of the analysis (all threads)
  double cpu_rozklad = 0;    // ... of the factorisation and solve (orderings table)
};

// Runs f in a child process and returns what it wrote into its Wynik.
template <class F>
Wynik w_dziecku(F f) {
  int rura[2];
  if (pipe(rura) != 0) return {};
  std::fflush(stdout);
  const pid_t pid = fork();
  if (pid == 0) {
    close(rura[0]);
    Wynik w = f();
    w.rss = szczyt_mb();
    const ssize_t n = write(rura[1], &w, sizeof w);
    _exit(n == static_cast<ssize_t>(sizeof w) ? 0 : 1);
  }
  close(rura[1]);
  Wynik w{};
  const ssize_t n = read(rura[0], &w, sizeof w);
  close(rura[0]);
  int status = 0;
  waitpid(pid, &status, 0);
  if (n != static_cast<ssize_t>(sizeof w)) w = Wynik{};
  return w;
}

// One analysis of the driver: start, lprz steps (error limit 0 makes every
// step run), reactions and nodal values.
Wynik analiza(int nx, int ny, bool plastyczny, MetodaRozwiazania metoda, int lprz) {
  Model m;
  plyta(m, nx, ny, plastyczny);
  Wynik r;
  r.nq = m.nq;
  const double c0 = procesor();
  const auto t0 = Zegar::now();
  PracaAnalizy w;
  Iteracja it;
  it.lprz = lprz;
  it.epsdR = 0.0f;
  start_analizy(m, w, it, metoda);
  r.przygotowanie = sekundy(t0);
  r.nbw = m.nbw;
  r.metoda = static_cast<int>(w.rzadki ? MetodaRozwiazania::Rzadka : MetodaRozwiazania::Pasmowa);
  std::vector<double> kroki;
  while (it.krok <= it.lprz && m.blad == 0) {
    const auto t1 = Zegar::now();
    krok_iteracji(m, w, it);
    kroki.push_back(sekundy(t1));
    ++it.krok;
  }
  const auto t2 = Zegar::now();
  if (m.blad == 0) {
    Reakcje(m, w);
    Wart_wez(m, w);
  }
  r.wezlowe = sekundy(t2);
  w.zwolnij();
  r.calosc = sekundy(t0);
  r.cpu = procesor() - c0;
  r.kroki = static_cast<int>(kroki.size());
  std::sort(kroki.begin(), kroki.end());
  r.krok = kroki.empty() ? 0 : kroki[kroki.size() / 2];
  r.ok = m.blad == 0 ? 1 : 0;
  return r;
}

const char* nazwa(int metoda) { return metoda == static_cast<int>(MetodaRozwiazania::Rzadka) ? "rzadka" : "pasmowa"; }


// --- the table of the two paths ------------------------------------------------------------

// Memory the system can still give, in bytes (MemAvailable), or -1.
double dostepna_pamiec() {
  std::FILE* f = std::fopen("/proc/meminfo", "r");
  if (!f) return -1;
  char linia[256];
  double kb = -1;
  while (std::fgets(linia, sizeof linia, f))
    if (std::sscanf(linia, "MemAvailable: %lf kB", &kb) == 1) break;
  std::fclose(f);
  return kb < 0 ? -1 : kb * 1024.0;
}

void tabela(const std::vector<int>& rozmiary) {
  // SKORBA_BENCH_METODY="rzadka,automatycznie" runs only the paths named;
  // SKORBA_BENCH_PASMO_PLAST=N runs the band's yielding analysis only up to
  // N x N cells (default 500): beyond it a step costs what the linear
  // analysis's step cost (the same assembly and elimination whatever the
  // moduli), and the row is worked out from it (marked *).
  const char* t = std::getenv("SKORBA_BENCH_METODY");
  const std::string tylko = t ? t : "";
  const char* pp = std::getenv("SKORBA_BENCH_PASMO_PLAST");
  const int pasmo_plast = pp ? std::atoi(pp) : 500;
  std::printf("times in s (one run each: the large ones take minutes); CPU = processor time of all threads;\n"
              "RSS = peak resident set of the child process that ran the analysis; BLAS threads %d, band\n"
              "solver threads %d; yielding: 3 steps\n\n",
              watki_blas(), watki_obliczen());
  std::printf("%-8s %-8s %8s %5s %-14s %8s %6s %8s %8s %8s %8s %9s\n", "siatka", "rodzaj", "nq", "nbw", "metoda",
              "przygot", "kroki", "na krok", "wezlowe", "calosc", "CPU", "RSS [MB]");
  struct Wiersz {
    int n;
    bool plast;
    Wynik pas, rz, aut;
  };
  std::vector<Wiersz> wiersze;
  for (int n : rozmiary)
    for (bool plast : {false, true}) {
      Wiersz wr{n, plast, {}, {}, {}};
      const int lprz = plast ? 3 : 1;
      for (auto metoda : {MetodaRozwiazania::Pasmowa, MetodaRozwiazania::Rzadka, MetodaRozwiazania::Automatyczna}) {
        if (!tylko.empty() && tylko.find(nazwa_metody(metoda)) == std::string::npos) continue;
        const std::string siatka = std::to_string(n) + "x" + std::to_string(n);
        Wynik w;
        std::string uwaga;
        if (metoda == MetodaRozwiazania::Pasmowa) {
          // nq * nbw doubles of the band: 2(n+1)^2 rows, 2(n+2) columns.
          const double pasmo = 8.0 * 2.0 * (n + 1) * (n + 1) * 2.0 * (n + 2), wolna = dostepna_pamiec();
          if (wolna > 0 && pasmo > 0.9 * wolna) {
            std::printf("%-8s %-8s band of %.1f GB, %.1f GB available: not run\n", siatka.c_str(),
                        plast ? "plast" : "liniowy", pasmo / 1e9, wolna / 1e9);
            continue;
          }
          if (plast && n > pasmo_plast && !wiersze.empty() && wiersze.back().n == n && wiersze.back().pas.ok) {
            w = wiersze.back().pas;
            w.kroki = lprz;
            w.calosc = w.przygotowanie + lprz * w.krok + w.wezlowe;
            w.cpu = 0;
            uwaga = " *";
          }
        }
        if (uwaga.empty()) w = w_dziecku([&] { return analiza(n, n, plast, metoda, lprz); });
        std::string opis = metoda == MetodaRozwiazania::Automatyczna ? std::string("auto->") + nazwa(w.metoda)
                                                                      : nazwa(w.metoda);
        if (!w.ok) opis += " (!)";
        std::printf("%-8s %-8s %8d %5d %-14s %8.3f %6d %8.3f %8.3f %8.3f %8.3f %9.0f%s\n", siatka.c_str(),
                    plast ? "plast" : "liniowy", w.nq, w.nbw, (opis + uwaga).c_str(), w.przygotowanie, w.kroki, w.krok,
                    w.wezlowe, w.calosc, w.cpu, w.rss, uwaga.c_str());
        (metoda == MetodaRozwiazania::Pasmowa ? wr.pas : metoda == MetodaRozwiazania::Rzadka ? wr.rz : wr.aut) = w;
      }
      wiersze.push_back(wr);
    }
  std::printf("\nratios band / sparse (above 1: sparse faster or smaller); auto / best: the automatic choice\n"
              "over the faster path\n");
  std::printf("%-8s %-8s %10s %10s %10s %12s\n", "siatka", "rodzaj", "calosc", "na krok", "RSS", "auto/lepsza");
  for (const Wiersz& w : wiersze) {
    if (!w.pas.ok || !w.rz.ok) continue;
    const double lepsza = std::min(w.pas.calosc, w.rz.calosc);
    std::printf("%-8s %-8s %10.2f %10.2f %10.2f %12.2f\n",
                (std::to_string(w.n) + "x" + std::to_string(w.n)).c_str(), w.plast ? "plast" : "liniowy",
                w.pas.calosc / w.rz.calosc, w.pas.krok / w.rz.krok, w.pas.rss / w.rz.rss,
                w.aut.ok ? w.aut.calosc / lepsza : 0.0);
  }
}

// --- the orderings -----------------------------------------------------------------------------

void porzadki(const std::vector<int>& rozmiary) {
  std::printf("the sparse preparation (patterns, ordering, symbolic analysis) and one factorisation + solve\n"
              "per ordering, in s of wall time and of processor time; nnz(L) in millions, flops of one\n"
              "factorisation in GFlop; BLAS threads %d\n\n", watki_blas());
  std::printf("%-8s %8s %-18s %7s %8s %8s %8s %9s %9s %9s %9s %9s\n", "siatka", "nq", "porzadek", "wzor", "porzadek",
              "analiza", "CPU", "nnz(L) M", "GFlop", "rozklad", "CPU", "RSS [MB]");
  const char* nazwy[] = {"METIS wezlow", "AMD wezlow", "METIS niewiadomych", "AMD niewiadomych"};
  for (int n : rozmiary)
    for (int p = 0; p < 4; ++p) {
      Wynik w = w_dziecku([&] {
        Model m;
        plyta(m, n, n, false);
        PracaAnalizy pw;
        pw.przydziel_bez_pasma(m);
        for (int e = 1; e <= m.ne; ++e) pw.EE[e] = m.Ez[m.mat[e]][1];
        for (int i = 1; i <= m.nq; ++i) pw.fd[i] = m.si[i];
        UkladRzadki u;
        u.porzadek = static_cast<UkladRzadki::Porzadek>(p);
        Wynik r;
        r.nq = m.nq;
        double c0 = procesor();
        if (!u.przygotuj(m)) return r;
        r.cpu = procesor() - c0;
        const auto s = u.statystyka();
        r.s_wzor = s.s_wzor;
        r.s_porzadek = s.s_porzadek;
        r.s_analiza = s.s_analiza;
        r.niezerowe_L = s.niezerowe_L;
        r.operacje = s.operacje;
        u.montuj(m, pw);
        const auto t0 = Zegar::now();
        c0 = procesor();
        u.rozwiaz(m, pw);
        r.rozklad = sekundy(t0);
        r.cpu_rozklad = procesor() - c0;
        r.ok = m.blad == 0;
        return r;
      });
      std::printf("%-8s %8d %-18s %7.3f %8.3f %8.3f %8.3f %9.1f %9.2f %9.3f %9.3f %9.0f%s\n",
                  (std::to_string(n) + "x" + std::to_string(n)).c_str(), w.nq, nazwy[p], w.s_wzor, w.s_porzadek,
                  w.s_analiza, w.cpu, w.niezerowe_L / 1e6, w.operacje / 1e9, w.rozklad, w.cpu_rozklad, w.rss,
                  w.ok ? "" : " (!)");
    }
}

// --- the crossover -----------------------------------------------------------------------------

void przeciecie(std::vector<std::pair<int, int>> siatki) {
  std::printf("linear analysis (start, one step, nodal values), the shortest of 3 runs (the machine is\n"
              "shared: the shortest is the one least disturbed), in s; the rule's choice and the faster path\n\n");
  std::printf("%-10s %8s %5s %9s %9s %9s %8s %8s %-8s %-8s\n", "siatka", "nq", "nbw", "pasmowa", "rzadka", "p/r",
              "CPU p", "CPU r", "regula", "szybsza");
  if (siatki.empty())
    siatki = {{40, 40},   {60, 60},   {80, 80},   {100, 100}, {120, 120}, {140, 140}, {160, 160},
              {180, 180}, {25, 400},  {25, 800},  {50, 800},  {50, 1600}, {100, 500}, {100, 1000},
              {200, 400}, {150, 300}, {30, 2000}, {70, 1000}, {400, 25},  {125, 250}};
  for (auto [nx, ny] : siatki) {
    double t[2], c[2];
    int nq = 0, nbw = 0;
    for (int k = 0; k < 2; ++k) {
      std::vector<double> razy, cpu;
      for (int r = 0; r < 3; ++r) {
        Wynik w = w_dziecku([&] {
          return analiza(nx, ny, false, k == 0 ? MetodaRozwiazania::Pasmowa : MetodaRozwiazania::Rzadka, 1);
        });
        razy.push_back(w.calosc);
        cpu.push_back(w.cpu);
        nq = w.nq;
        nbw = w.nbw;
      }
      t[k] = *std::min_element(razy.begin(), razy.end());
      c[k] = *std::min_element(cpu.begin(), cpu.end());
    }
    const bool pasmo = pasmo_nie_wolniejsze(nq, nbw);
    std::printf("%-10s %8d %5d %9.3f %9.3f %9.2f %8.3f %8.3f %-8s %-8s%s\n",
                (std::to_string(nx) + "x" + std::to_string(ny)).c_str(), nq, nbw, t[0], t[1], t[0] / t[1], c[0], c[1],
                pasmo ? "pasmowa" : "rzadka", t[0] <= t[1] ? "pasmowa" : "rzadka",
                (pasmo ? t[0] : t[1]) > 1.1 * std::min(t[0], t[1]) ? "  !!" : "");
  }
}

// --- agreement of the two paths ----------------------------------------------------------------

// Distance in units of the last place between two floats (0 for equal
// values, including +0 and -0).
long long ulp(float a, float b) {
  auto porzadek = [](float v) {
    std::int32_t i;
    std::memcpy(&i, &v, sizeof i);
    return i < 0 ? -static_cast<long long>(i & 0x7fffffff) : static_cast<long long>(i);
  };
  return std::llabs(porzadek(a) - porzadek(b));
}

void zgodnosc(const std::vector<int>& rozmiary) {
  std::printf("both paths on the same model: the largest difference of the double displacements over the\n"
              "largest displacement, and of the float store (f, napr, ww, react) the share of values that\n"
              "differ in the last bit only, by more, and the largest difference in units of the last place\n\n");
  std::printf("%-8s %-8s %6s %12s %10s %10s %10s %8s\n", "siatka", "rodzaj", "kroki", "max |dq|/|q|", "wartosci",
              "1 ulp [%]", ">1 ulp [%]", "max ulp");
  for (int n : rozmiary)
    for (bool plast : {false, true}) {
      Model m[2];
      std::vector<double> q[2];
      int kroki[2] = {0, 0};
      for (int k = 0; k < 2; ++k) {
        plyta(m[k], n, n, plast);
        PracaAnalizy w;
        Iteracja it;
        it.lprz = plast ? 3 : 1;
        it.epsdR = 0.0f;
        start_analizy(m[k], w, it, k == 0 ? MetodaRozwiazania::Pasmowa : MetodaRozwiazania::Rzadka);
        while (it.krok <= it.lprz && m[k].blad == 0) {
          krok_iteracji(m[k], w, it);
          ++it.krok;
        }
        kroki[k] = it.ikr;
        if (m[k].blad == 0) {
          q[k].assign(&w.fd[1], &w.fd[1] + m[k].nq);
          Reakcje(m[k], w);
          Wart_wez(m[k], w);
        }
      }
      if (m[0].blad != 0 || m[1].blad != 0) {
        std::printf("%dx%d: analysis failed (%d, %d)\n", n, n, m[0].blad, m[1].blad);
        continue;
      }
      double skala = 0, roznica = 0;
      for (std::size_t i = 0; i < q[0].size(); ++i) {
        skala = std::max(skala, std::fabs(q[0][i]));
        roznica = std::max(roznica, std::fabs(q[0][i] - q[1][i]));
      }
      long long wartosci = 0, jeden = 0, wiecej = 0, najwiecej = 0;
      auto porownaj = [&](float a, float b) {
        const long long d = ulp(a, b);
        ++wartosci;
        jeden += d == 1;
        wiecej += d > 1;
        najwiecej = std::max(najwiecej, d);
      };
      const Model &a = m[0], &b = m[1];
      for (int i = 1; i <= a.nq; ++i) porownaj(a.f[i], b.f[i]);
      for (int e = 1; e <= a.ne; ++e)
        for (int c = 1; c <= 4; ++c) porownaj(a.napr[e][c], b.napr[e][c]);
      for (int k = 1; k <= a.nn; ++k)
        for (int c = 1; c <= 4; ++c) porownaj(a.ww[k][c], b.ww[k][c]);
      for (int j = 1; j <= a.nd; ++j) porownaj(a.react[j], b.react[j]);
      std::printf("%-8s %-8s %3d/%-2d %12.1e %10lld %10.2f %10.2f %8lld\n",
                  (std::to_string(n) + "x" + std::to_string(n)).c_str(), plast ? "plast" : "liniowy", kroki[0],
                  kroki[1], roznica / skala, wartosci,
                  100.0 * static_cast<double>(jeden) / static_cast<double>(wartosci),
                  100.0 * static_cast<double>(wiecej) / static_cast<double>(wartosci), najwiecej);
      std::fflush(stdout);
    }
}

std::vector<int> rozmiary_z(int argc, char** argv, int od) {
  std::vector<int> r;
  for (int i = od; i < argc; ++i) r.push_back(std::atoi(argv[i]));
  if (r.empty()) r = {100, 223, 500, 707};
  return r;
}

}  // namespace

int main(int argc, char** argv) {
  // SKORBA_BENCH_WATKI=N: both paths on N threads (the band solver's pool
  // and the sparse path's BLAS), to compare work rather than wall time on a
  // busy machine.
  if (const char* w = std::getenv("SKORBA_BENCH_WATKI")) {
    ustaw_watki_obliczen(std::atoi(w));
    ustaw_watki_blas(std::atoi(w));
  }
  if (argc > 1 && !std::strcmp(argv[1], "porzadki")) {
    porzadki(rozmiary_z(argc, argv, 2));
  } else if (argc > 1 && !std::strcmp(argv[1], "zgodnosc")) {
    std::vector<int> r = rozmiary_z(argc, argv, 2);
    if (argc == 2) r = {100, 223, 500};
    zgodnosc(r);
  } else if (argc > 1 && !std::strcmp(argv[1], "przeciecie")) {
    std::vector<std::pair<int, int>> siatki;
    for (int i = 2; i < argc; ++i) {
      int nx = 0, ny = 0;
      if (std::sscanf(argv[i], "%dx%d", &nx, &ny) == 2 && nx > 0 && ny > 0) siatki.push_back({nx, ny});
    }
    przeciecie(siatki);
  } else {
    tabela(rozmiary_z(argc, argv, 1));
  }
  return 0;
}
