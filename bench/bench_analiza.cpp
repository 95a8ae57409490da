// Benchmark of the analysis on rectangle meshes as the generator numbers
// them (row by row from the bottom, two triangles per cell), from about
// 1,000 to 100,000 unknowns.
//
// The solver: the literal reference elimination, the row-by-row vectorised
// elimination, the blocked elimination with the baseline kernel and with
// the AVX2 kernel and the AVX-512VL one (the AVX2 arithmetic in a larger
// register block) on one thread, and Obl0 as the program runs it (the best
// kernel of the machine on the pool's threads), against single-threaded
// LAPACK dpbtrf + dpbtrs on the identical band system (when OpenBLAS is
// there).  Times are medians; "L/x" is LAPACK's time over x's (above 1, x
// is faster); every variant is checked bit for bit against Obl0.
//
// The analysis: assembly, the whole analysis through the main window of a
// linear model (one step, reactions, nodal values, fresh band), and of a
// model that yields (several steps), per step.
//
//   bench_analiza [largest number of cells per side, default 223]
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "analysis/obl0.h"
#include "analysis/pula.h"
#include "analysis/silnik.h"
#include "app/okno.h"
#include "cicha_platforma.h"
#include "model_builders.h"

#ifdef SKORBA_HAVE_OPENBLAS
extern "C" {
void dpbtrf_(const char* uplo, const int* n, const int* kd, double* ab, const int* ldab, int* info,
             std::size_t uplo_len);
void dpbtrs_(const char* uplo, const int* n, const int* kd, const int* nrhs, const double* ab, const int* ldab,
             double* b, const int* ldb, int* info, std::size_t uplo_len);
void openblas_set_num_threads(int n);
}
#endif

namespace {

using Zegar = std::chrono::steady_clock;

double sekundy(Zegar::time_point t0) { return std::chrono::duration<double>(Zegar::now() - t0).count(); }

// An n x n cell square of 100 x 100, clamped along its left edge, a load of
// 1000 down spread over the right edge; one material, linear or yielding
// (the clamped edge carries about 60).
void kwadrat(Model& m, int n, bool plastyczny = false) {
  OpisModelu o = prostokat(n, n, 100.0f, 100.0f);
  if (plastyczny) o.materialy[0].przedzialy = {{200000.0f, 15.0f}, {20000.0f, 1.0e30f}};
  o.maxpr = 2;
  const int lwx = n + 1;
  for (int r = 1; r <= lwx; ++r) {
    const int k = (r - 1) * lwx + 1;
    o.podpory.push_back({2 * k - 1, 0.0f});
    o.podpory.push_back({2 * k, 0.0f});
    o.sily.push_back({2 * (r * lwx), -1000.0f / static_cast<float>(lwx)});
  }
  zbuduj(m, o);
}

double szczyt_mb() {
  rusage u{};
  getrusage(RUSAGE_SELF, &u);
  return static_cast<double>(u.ru_maxrss) / 1024.0;
}

// The median time of `razy` runs of f (each run gets fresh data from
// `przygotuj`).
template <class P, class F>
double mediana(int razy, P przygotuj, F f) {
  std::vector<double> t;
  for (int i = 0; i < razy; ++i) {
    przygotuj();
    const auto t0 = Zegar::now();
    f();
    t.push_back(sekundy(t0));
  }
  std::sort(t.begin(), t.end());
  return t[t.size() / 2];
}

std::string ms(double t) {
  char b[32];
  if (t < 0) return "-";
  std::snprintf(b, sizeof b, "%.1f", t * 1e3);
  return b;
}

std::string iloraz(double a, double b) {
  char t[32];
  if (a < 0 || b <= 0) return "-";
  std::snprintf(t, sizeof t, "%.2f", a / b);
  return t;
}

}  // namespace

int main(int argc, char** argv) {
  const int najwiekszy = argc > 1 ? std::atoi(argv[1]) : 223;
#ifdef SKORBA_HAVE_OPENBLAS
  openblas_set_num_threads(1);
#endif
  const std::string log = "/tmp/skorba_bench_dr_" + std::to_string(::getpid()) + ".txt";
  std::printf("Obl0: %s kernel, %d thread(s) (pool of %d)\n", nazwa_jadra(jadro_domyslne()), watki_obliczen(),
              PulaWatkow::globalna().rozmiar());
  std::printf("times in ms, medians; L/x = LAPACK time / x time\n");
  std::printf("%-8s %6s %4s %7s %7s %8s %8s %8s %8s %8s %8s %8s %6s %6s %6s %6s %6s %6s %8s\n", "siatka", "nq",
              "nbw", "s [MB]", "montaz", "wzorzec", "wiersze", "SSE2 1w", "AVX2 1w", "512VL 1w", "Obl0", "LAPACK",
              "L/wzr", "L/wrs", "L/SSE2", "L/AVX2", "L/512", "L/Obl0", "roznica");
  struct Analiza {
    int n, nq, nbw;
    double liniowa, nieliniowa;
    int kroki;
    double rss;
  };
  std::vector<Analiza> analizy;
  for (int n : {22, 50, 70, 100, 158, 223}) {
    if (n > najwiekszy) break;
    // The window first: its constructor starts from an empty store.
    Model m;
    CichaPlatforma platforma;
    _OKNO_ okno(m, platforma);
    okno.plik_dr = log;
    kwadrat(m, n);
    PracaAnalizy w;
    Iteracja it;
    start_analizy(m, w, it);
    for (int e = 1; e <= m.ne; ++e) w.EE[e] = 200000.0f;
    const int nq = m.nq, nbw = m.nbw;
    const std::size_t pasmo = static_cast<std::size_t>(nq) * static_cast<std::size_t>(nbw);
    const int razy = n <= 70 ? 7 : n <= 100 ? 5 : 3;

    auto laduj = [&] {
      for (int i = 1; i <= nq; ++i) w.fd[i] = m.si[i];
    };
    // At least two assemblies: the first one also maps the fresh band.
    const double t_montaz = mediana(std::max(razy, 3), laduj, [&] { Przemieszcz(m, w); });
    std::vector<double> s0(&w.s[1][1], &w.s[1][1] + pasmo), f0(&w.fd[1], &w.fd[1] + nq);
    auto odtworz = [&] {
      std::memcpy(&w.s[1][1], s0.data(), pasmo * sizeof(double));
      std::memcpy(&w.fd[1], f0.data(), static_cast<std::size_t>(nq) * sizeof(double));
    };
    int b = 0, b1 = 0;
    const double t_obl0 = mediana(razy, odtworz, [&] { Obl0(w.s.dane(), w.fd.dane(), nq, nbw, b, b1); });
    std::vector<double> q(&w.fd[1], &w.fd[1] + nq), sq(&w.s[1][1], &w.s[1][1] + pasmo);
    auto sprawdz = [&](const char* co) {
      if (std::memcmp(q.data(), &w.fd[1], static_cast<std::size_t>(nq) * sizeof(double)) != 0 ||
          std::memcmp(sq.data(), &w.s[1][1], pasmo * sizeof(double)) != 0)
        std::printf("!! %s differs from Obl0\n", co);
    };
    auto wariant = [&](JadroObl0 j, int watki, int min_blok, const char* co) {
      if (!jadro_dostepne(j)) return -1.0;
      UstawieniaObl0 u;
      u.jadro = j;
      u.watki = watki;
      u.min_blok = min_blok;
      const double t = mediana(razy, odtworz, [&] { Obl0_z(w.s.dane(), w.fd.dane(), nq, nbw, b, b1, u); });
      sprawdz(co);
      return t;
    };
    const double t_wiersze = wariant(jadro_domyslne(), 1, 1 << 30, "row by row");
    const double t_sse2 = wariant(JadroObl0::Podstawowe, 1, 0, "baseline");
    const double t_avx2 = wariant(JadroObl0::Avx2, 1, 0, "AVX2");
    const double t_avx512 = wariant(JadroObl0::Avx512, 1, 0, "AVX-512VL");

    double t_wzorzec = -1;
    if (n <= 100) {
      t_wzorzec = mediana(1, odtworz, [&] { Obl0_wzorcowy<double>(w.s.dane(), w.fd.dane(), nq, nbw, b, b1); });
      sprawdz("the literal elimination");
    }

    double t_lapack = -1, roznica = -1;
#ifdef SKORBA_HAVE_OPENBLAS
    {
      // Upper band storage of LAPACK, column major: AB(kd + 1 + i - j, j) = K(i, j).
      const int kd = nbw - 1, ldab = nbw, jeden = 1;
      std::vector<double> ab(pasmo), rhs(static_cast<std::size_t>(nq));
      auto do_lapacka = [&] {
        std::fill(ab.begin(), ab.end(), 0.0);
        for (int r = 1; r <= nq; ++r)
          for (int c = 1; c <= nbw && r + c - 1 <= nq; ++c) {
            const int j = r + c - 1;  // column of K
            ab[static_cast<std::size_t>(j - 1) * ldab + (kd + r - j)] = s0[static_cast<std::size_t>(r - 1) * nbw + c - 1];
          }
        std::copy(f0.begin(), f0.end(), rhs.begin());
      };
      int info = 0;
      t_lapack = mediana(razy, do_lapacka, [&] {
        dpbtrf_("U", &nq, &kd, ab.data(), &ldab, &info, 1);
        dpbtrs_("U", &nq, &kd, &jeden, ab.data(), &ldab, rhs.data(), &nq, &info, 1);
      });
      double skala = 0;
      roznica = 0;
      for (int i = 0; i < nq; ++i) {
        skala = std::max(skala, std::fabs(q[static_cast<std::size_t>(i)]));
        roznica = std::max(roznica, std::fabs(q[static_cast<std::size_t>(i)] - rhs[static_cast<std::size_t>(i)]));
      }
      roznica = info != 0 ? -info : roznica / skala;
    }
#endif
    w.zwolnij();
    s0.clear();
    s0.shrink_to_fit();
    sq.clear();
    sq.shrink_to_fit();

    char siatka[16], rz[16] = "-";
    std::snprintf(siatka, sizeof siatka, "%dx%d", n, n);
    if (t_lapack >= 0) std::snprintf(rz, sizeof rz, "%.1e", roznica);
    std::printf("%-8s %6d %4d %7.1f %7s %8s %8s %8s %8s %8s %8s %8s %6s %6s %6s %6s %6s %6s %8s\n", siatka, nq,
                nbw, static_cast<double>(pasmo) * 8 / 1e6, ms(t_montaz).c_str(), ms(t_wzorzec).c_str(),
                ms(t_wiersze).c_str(), ms(t_sse2).c_str(), ms(t_avx2).c_str(), ms(t_avx512).c_str(),
                ms(t_obl0).c_str(), ms(t_lapack).c_str(), iloraz(t_lapack, t_wzorzec).c_str(),
                iloraz(t_lapack, t_wiersze).c_str(), iloraz(t_lapack, t_sse2).c_str(), iloraz(t_lapack, t_avx2).c_str(),
                iloraz(t_lapack, t_avx512).c_str(), iloraz(t_lapack, t_obl0).c_str(), rz);
    std::fflush(stdout);

    // The whole analysis as the user runs it, linear and yielding.
    Analiza a{n, nq, nbw, 0, 0, 0, 0};
    {
      const auto t0 = Zegar::now();
      okno.Obliczenia();
      a.liniowa = sekundy(t0);
      if (m.obliczono != 1) std::printf("!! analysis failed\n");
    }
    if (n <= 158) {
      kwadrat(m, n, true);
      const auto t0 = Zegar::now();
      okno.Obliczenia();
      a.nieliniowa = sekundy(t0);
      a.kroki = okno.przebieg.kroki;
      if (m.obliczono != 1) std::printf("!! analysis failed\n");
    }
    a.rss = szczyt_mb();
    analizy.push_back(a);
  }
  std::printf("\nwhole analysis (fresh band, reactions, nodal values)\n");
  std::printf("%-8s %6s %4s %10s %12s %6s %10s %8s\n", "siatka", "nq", "nbw", "liniowa", "nieliniowa", "kroki",
              "na krok", "RSS [MB]");
  for (const Analiza& a : analizy) {
    char siatka[16];
    std::snprintf(siatka, sizeof siatka, "%dx%d", a.n, a.n);
    std::printf("%-8s %6d %4d %7.1f ms %9s ms %6s %7s ms %8.0f\n", siatka, a.nq, a.nbw, a.liniowa * 1e3,
                a.kroki ? ms(a.nieliniowa).c_str() : "-", a.kroki ? std::to_string(a.kroki).c_str() : "-",
                a.kroki ? ms(a.nieliniowa / a.kroki).c_str() : "-", a.rss);
  }
  std::remove(log.c_str());
  return 0;
}
