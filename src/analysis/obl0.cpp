#include "analysis/obl0.h"

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <limits>
#include <vector>

#include "analysis/obl0_jadro.h"
#include "analysis/pula.h"
#include "analysis/silnik.h"

namespace {

using FunkcjaPasa = void (*)(const PanelObl0&, int, int);
using FunkcjaWiersza = void (*)(double*, const double*, int, double);

struct Funkcje {
  FunkcjaPasa pas;
  FunkcjaWiersza wiersz;  // dst -= c * src
  FunkcjaWiersza dziel;   // dst = src / d
};

Funkcje funkcje(JadroObl0 j) {
  if (j == JadroObl0::Avx512 && jadro_dostepne(JadroObl0::Avx512))
    return {obl0_pas_avx512, obl0_wiersz_avx2, obl0_dziel_avx2};
  if (j != JadroObl0::Podstawowe && jadro_dostepne(JadroObl0::Avx2))
    return {obl0_pas_avx2, obl0_wiersz_avx2, obl0_dziel_avx2};
  return {obl0_pas_podstawowy, obl0_wiersz_podstawowy, obl0_dziel_podstawowy};
}

// The forward elimination row by row, as literally as the reference, with
// the row update in the vector kernel.
// False when it gave up through `przerwij`.
bool wprzod_wierszami(double* const* s, double* f, int nq, int nbw, int& blad, int& blad1, FunkcjaWiersza wiersz,
                      const std::atomic<bool>* przerwij) {
  for (int n = 1; n <= nq - 1; ++n) {
    if (przerwij && n % 1024 == 0 && przerwij->load(std::memory_order_relaxed)) return false;
    const int nk = std::min(nq - n + 1, nbw);
    const double* sn = s[n];
    const double piv = sn[1];
    if (piv == 0) {
      blad = 1;
      blad1 = n;
      continue;
    }
    const double fn = f[n];
    for (int i = 2; i <= nk; ++i) {
      const double c = sn[i] / piv;
      const int r = n + i - 1;
      wiersz(&s[r][1], &sn[i], nk - i + 1, c);
      f[r] -= c * fn;
    }
  }
  return true;
}

// The address of column 0 of row n, &s[n][1] standing for column n.
std::uintptr_t kolumna_zero(const double* przekatna, int n) {
  return reinterpret_cast<std::uintptr_t>(przekatna) - static_cast<std::uintptr_t>(n) * sizeof(double);
}

// A panel's pivots that are not zero, and multipliers for some rows.  The
// pivot lists live in the structure (each thread's own cache lines), the
// multipliers and row copies in a heap block with a cache line of room on
// either side, so no thread's writes share a line with another's reads.
struct Piwoty {
  int nr[kMaksPanel];
  std::uintptr_t kolumna[kMaksPanel];
  std::vector<double> bufor;
  double* C = nullptr;
  double* wiersze = nullptr;
  int W = 0;

  void przydziel(int piwoty, int w, int kopie = 0) {
    W = w;
    const std::size_t nc = static_cast<std::size_t>(piwoty) * static_cast<std::size_t>(w);
    bufor.assign(nc + static_cast<std::size_t>(kopie) + 32, 0.0);
    C = bufor.data() + 8;
    wiersze = C + nc + 8;
  }
  PanelObl0 widok(double* const* s, int nbw, int nq, int p1, int m) const {
    const int jmax = m > 0 ? std::min(nq, nr[m - 1] + nbw - 1) : 0;
    return PanelObl0{s, nbw, p1, jmax, m, nr, kolumna, C, W};
  }
};

// The panel for a band: 16 pivots for narrow bands, 32 up to 255, 48
// beyond.
int panel_dla(int nbw) { return nbw < 96 ? 16 : nbw < 256 ? 32 : 48; }

// The forward elimination by panels of B pivots.  Panel k is block k of
// the rows, rows 1 + B*k .. B*(k+1), and its pivots are those of its rows
// below nq.  A block is eliminated within itself in steps of B/4 pivots
// (at most 8): each step row by row among its own rows, then with the
// blocked kernel on the rest of the block.  With n threads, block b belongs to thread b mod n: that thread
// applies every panel to the block's rows (and to their f), and eliminates
// the block within itself once every earlier panel has reached it; the
// block is then the next panel.  A thread reads the other thread's rows
// only as pivot rows, after their owner has published them, and works out
// the multipliers of its own rows itself.  So no thread writes what another
// one touches, and a thread waits only when it needs a panel its partner
// has not finished yet.
//
// A request to stop is looked at by each thread before each panel.  The
// thread that sees it first says so to its partner and publishes a panel
// number beyond the last, so that a partner waiting for one of its panels
// wakes up, sees the word and stops as well.  The partner may still
// publish a panel of its own after that, lowering the number again, but
// that panel is the next one it takes, without waiting, and it stops there.
class Eliminacja {
 public:
  Eliminacja(double* const* s, double* f, int nq, int nbw, int panel, Funkcje fn, const std::atomic<bool>* przerwij)
      : s_(s),
        f_(f),
        nq_(nq),
        nbw_(nbw),
        W_(std::max(1, nbw - 1)),
        B_(std::clamp(panel, 1, kMaksPanel)),
        krok_(std::clamp(B_ / 4, 1, 8)),
        fn_(fn),
        przerwij_(przerwij) {}

  // False when it gave up on a request to stop.
  bool wprzod(int watki, int& blad, int& blad1) {
    if (nq_ < 2) return true;
    fbufor_.resize(static_cast<std::size_t>(nq_) + 24);
    fz_ = fbufor_.data() + 8;
    while (reinterpret_cast<std::uintptr_t>(fz_) % 64 != 0) ++fz_;
    std::copy(f_ + 1, f_ + 1 + nq_, fz_);
    watki = std::clamp(watki, 1, std::min(PulaWatkow::globalna().rozmiar(), kMaksWatkow));
    for (int t = 0; t < watki; ++t) {
      stany_[t].panel.przydziel(B_, W_, watki > 1 ? B_ * nbw_ : 0);
      stany_[t].podpanel.przydziel(krok_, B_);
    }
    rozloz(0, stany_[0]);  // panel 0 is ready: gotowe_ starts at 0
    PulaWatkow::globalna().wykonaj(watki, [&](int id, int n) {
      if (n != watki) {
        // The pool is busy elsewhere: this thread does all blocks.
        if (id == 0) przebieg(0, 1);
        return;
      }
      przebieg(id, n);
    });
    if (zatrzymana_.load(std::memory_order_acquire)) return false;
    std::copy(fz_, fz_ + nq_, f_ + 1);
    // A zero pivot leaves the error of the last one, as the row-by-row
    // elimination does.
    int ostatni = 0;
    for (int t = 0; t < watki; ++t)
      if (stany_[t].blad != 0) ostatni = std::max(ostatni, stany_[t].blad1);
    if (ostatni != 0) {
      blad = 1;
      blad1 = ostatni;
    }
    return true;
  }

 private:
  struct alignas(64) Stan {
    Piwoty panel;     // the present panel, multipliers of this thread's rows
    Piwoty podpanel;  // a step of the block being eliminated
    int blad = 0, blad1 = 0;
  };

  int poczatek(int k) const { return 1 + B_ * k; }

  // Panel k's pivots that are not zero, into P; their number.  A thread
  // that does not own the panel's rows reads them from a copy: one
  // streaming pass over the other core's rows instead of scattered misses
  // in the kernel.
  int piwoty(int k, Piwoty& P, bool kopiuj) const {
    const int p0 = poczatek(k), p1 = std::min(p0 + B_, nq_);
    int m = 0;
    for (int n = p0; n < p1; ++n) {
      const double* w = &s_[n][1];
      if (kopiuj) {
        double* kopia = P.wiersze + static_cast<std::size_t>(n - p0) * static_cast<std::size_t>(nbw_);
        std::copy(w, w + std::min(nq_ - n + 1, nbw_), kopia);
        w = kopia;
      }
      if (w[0] != 0) {
        P.nr[m] = n;
        P.kolumna[m] = kolumna_zero(w, n);
        ++m;
      }
    }
    return m;
  }

  // Multipliers of the rows r0..r1 (below the panel) for every pivot of the
  // panel, into P.C, 0 where a pivot does not reach; then f of those rows.
  void mnozniki(const PanelObl0& p, Piwoty& P, int r0, int r1) {
    for (int a = 0; a < p.m; ++a) {
      const int n = p.nr[a];
      double* C = P.C + static_cast<std::size_t>(a) * P.W + (r0 - p.p1);
      const int koniec = std::min(r1, n + nbw_ - 1);
      const int ile = std::max(0, koniec - r0 + 1);
      if (ile > 0) {
        fn_.dziel(C, p.element(a, r0), ile, *p.element(a, n));
        // f[r] -= c * f[n]: the same product, the factors commuted.
        fn_.wiersz(&F(r0), C, ile, F(n));
      }
      std::fill(C + ile, C + (r1 - r0 + 1), 0.0);
    }
  }

  // Eliminates block k within itself with its own pivots (they have every
  // earlier panel's updates by now); f of its rows goes along.
  void rozloz(int k, Stan& st) {
    const int p0 = poczatek(k), b1 = std::min(p0 + B_ - 1, nq_);
    const int ostatni = std::min(b1, nq_ - 1);  // the last pivot
    Piwoty& P = st.podpanel;
    for (int q0 = p0; q0 <= ostatni; q0 += krok_) {
      const int q1 = std::min(q0 + krok_, b1 + 1);  // the step's rows are q0..q1-1
      int ms = 0;
      for (int n = q0; n < q1 && n <= ostatni; ++n) {
        const double* sn = s_[n];
        const double piv = sn[1];
        if (piv == 0) {
          st.blad = 1;
          st.blad1 = n;
          continue;
        }
        const int nk = std::min(nq_ - n + 1, nbw_);
        const int zasieg = std::min(b1, n + nk - 1);  // the last row of the block it reaches
        const double fn = F(n);
        int r = n + 1;
        for (; r <= zasieg && r < q1; ++r) {
          const int i = r - n + 1;
          const double c = sn[i] / piv;
          fn_.wiersz(&s_[r][1], &sn[i], nk - i + 1, c);
          F(r) -= c * fn;
        }
        if (q1 <= b1) {
          double* C = P.C + static_cast<std::size_t>(ms) * P.W;
          const int ile = std::max(0, zasieg - q1 + 1);
          if (ile > 0) {
            fn_.dziel(C, &sn[q1 - n + 1], ile, piv);
            fn_.wiersz(&F(q1), C, ile, fn);
          }
          std::fill(C + ile, C + (b1 - q1 + 1), 0.0);  // b1 - q1 < B_ = P.W
        }
        P.nr[ms] = n;
        P.kolumna[ms] = kolumna_zero(&sn[1], n);
        ++ms;
      }
      if (ms > 0 && q1 <= b1) {
        const PanelObl0 v = P.widok(s_, nbw_, nq_, q1, ms);
        if (q1 <= v.jmax) fn_.pas(v, q1, std::min(b1, v.jmax));
      }
    }
  }

  // Thread t of n: its blocks are t, t + n, t + 2n, ...
  void przebieg(int t, int n) {
    Stan& st = stany_[t];
    for (int k = 0; poczatek(k) <= nq_ - 1; ++k) {
      const int p1 = poczatek(k + 1);
      const bool moj = k % n == t;
      // The partner is at work on this panel: spin rather than sleep.
      if (!moj) gotowe_.czekaj_co_najmniej(k, std::chrono::milliseconds(1));
      if (zatrzymaj()) return;
      // Whether the next block has pivots and waits for this thread.
      bool nastepny = p1 <= nq_ - 1 && (k + 1) % n == t;
      const int m = piwoty(k, st.panel, !moj);
      const PanelObl0 p = st.panel.widok(s_, nbw_, nq_, p1, m);
      if (m > 0)
        for (int b = k + 1; poczatek(b) <= p.jmax; ++b) {
          if (b % n != t) continue;
          const int r0 = poczatek(b), r1 = std::min(p.jmax, r0 + B_ - 1);
          mnozniki(p, st.panel, r0, r1);
          fn_.pas(p, r0, r1);
          if (nastepny) {
            // b = k + 1: the next panel has all its updates, eliminate it
            // now for the partner to go on.
            rozloz(k + 1, st);
            opublikuj(k + 1);
            nastepny = false;
          }
        }
      if (nastepny) {
        // The next block, out of this panel's reach, has not been
        // eliminated yet.
        rozloz(k + 1, st);
        opublikuj(k + 1);
      }
    }
  }

  void opublikuj(int k) { gotowe_.ustaw(k); }

  // Whether to stop before the next panel: the partner has stopped, or the
  // request has come (then the partner is told).
  bool zatrzymaj() {
    if (zatrzymana_.load(std::memory_order_acquire)) return true;
    if (!przerwij_ || !przerwij_->load(std::memory_order_relaxed)) return false;
    zatrzymana_.store(true, std::memory_order_release);
    gotowe_.ustaw(std::numeric_limits<std::int64_t>::max());
    return true;
  }

  // f in a copy whose blocks start on cache lines, so that the two threads
  // never write the same line of it.
  double& F(int r) { return fz_[r - 1]; }

  double* const* s_;
  double* f_;
  std::vector<double> fbufor_;
  double* fz_ = nullptr;  // fz_[r - 1] = f[r], 64-byte aligned
  const int nq_, nbw_, W_;
  const int B_;     // pivots per panel, rows per block
  const int krok_;  // pivots per step within a block
  const Funkcje fn_;
  Stan stany_[kMaksWatkow];
  alignas(64) Licznik gotowe_;  // the last panel eliminated within its block
  const std::atomic<bool>* przerwij_;
  std::atomic<bool> zatrzymana_{false};
};

}  // namespace

bool jadro_dostepne(JadroObl0 j) {
  if (j == JadroObl0::Podstawowe) return true;
#if defined(__x86_64__) && defined(__GNUC__)
  // The processor check of the compiler's runtime also asks whether the
  // system saves the wider registers.
  static const bool avx2 = __builtin_cpu_supports("avx2");
  static const bool avx512 = avx2 && __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512vl");
  return j == JadroObl0::Avx2 ? avx2 : avx512;
#else
  return false;
#endif
}

JadroObl0 jadro_domyslne() {
  for (JadroObl0 j : {JadroObl0::Avx512, JadroObl0::Avx2})
    if (jadro_dostepne(j)) return j;
  return JadroObl0::Podstawowe;
}

const char* nazwa_jadra(JadroObl0 j) {
  switch (j) {
    case JadroObl0::Avx512:
      return "AVX-512VL";
    case JadroObl0::Avx2:
      return "AVX2";
    case JadroObl0::Podstawowe:
      break;
  }
  return "SSE2";
}

UstawieniaObl0 ustawienia_obl0() {
  UstawieniaObl0 u;
  u.jadro = jadro_domyslne();
  u.watki = watki_obliczen();
  return u;
}

bool Obl0_z(double* const* s, double* f, int nq, int nbw, int& blad, int& blad1, const UstawieniaObl0& u) {
  const Funkcje fn = funkcje(u.jadro);
  if (nbw < u.min_blok) {
    if (!wprzod_wierszami(s, f, nq, nbw, blad, blad1, fn.wiersz, u.przerwij)) return false;
  } else {
    Eliminacja e(s, f, nq, nbw, u.panel > 0 ? u.panel : panel_dla(nbw), fn, u.przerwij);
    if (!e.wprzod(nbw >= u.min_watki ? std::max(1, u.watki) : 1, blad, blad1)) return false;
  }
  if (nq < 1) return true;
  if (s[nq][1] == 0) {
    blad = 1;
    blad1 = nq;
  } else {
    f[nq] = f[nq] / s[nq][1];
  }
  if (blad != 0) return true;
  // Back substitution: each f[n] is a sequential sum, kept in its order.
  for (int n = nq - 1; n >= 1; --n) {
    const double* sn = s[n];
    if (sn[1] == 0) {
      blad = 1;
      blad1 = n;
      return true;
    }
    const double c = 1 / sn[1];
    double fn = c * f[n];
    const int nk = std::min(nq - n + 1, nbw);
    for (int k = 2; k <= nk; ++k) fn -= c * sn[k] * f[n + k - 1];
    f[n] = fn;
  }
  return true;
}

void Obl0(double* const* s, double* f, int nq, int nbw, int& blad, int& blad1) {
  Obl0_z(s, f, nq, nbw, blad, blad1, ustawienia_obl0());
}
