#include "analysis/obl0.h"

#include <algorithm>
#include <vector>

#include "analysis/obl0_jadro.h"
#include "analysis/pula.h"
#include "analysis/silnik.h"

namespace {

using FunkcjaPasa = void (*)(const PanelObl0&, int, int);
using FunkcjaWiersza = void (*)(double*, const double*, int, double);

struct Funkcje {
  FunkcjaPasa pas;
  FunkcjaWiersza wiersz;
};

Funkcje funkcje(JadroObl0 j) {
  if (j == JadroObl0::Avx2 && jadro_dostepne(JadroObl0::Avx2)) return {obl0_pas_avx2, obl0_wiersz_avx2};
  return {obl0_pas_podstawowy, obl0_wiersz_podstawowy};
}

// The forward elimination row by row, as literally as the reference, with
// the row update in the vector kernel.
void wprzod_wierszami(double* const* s, double* f, int nq, int nbw, int& blad, int& blad1, FunkcjaWiersza wiersz) {
  for (int n = 1; n <= nq - 1; ++n) {
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
}

// One panel's pivots and multipliers.
struct Panel {
  std::vector<int> nr;
  std::vector<const double*> wiersz;
  std::vector<double> C;
  PanelObl0 widok{};
};

class Eliminacja {
 public:
  Eliminacja(double* const* s, double* f, int nq, int nbw, Funkcje fn)
      : s_(s), f_(f), nq_(nq), nbw_(nbw), W_(std::max(1, nbw - 1)), fn_(fn) {
    for (Panel& p : panele_) {
      p.nr.resize(kPanel);
      p.wiersz.resize(kPanel);
      p.C.resize(static_cast<std::size_t>(kPanel) * static_cast<std::size_t>(W_));
    }
  }

  // The whole forward elimination on `watki` threads of the pool.
  void wprzod(int watki, int& blad, int& blad1) {
    if (nq_ < 2) return;
    rozloz(1, panele_[0]);
    watki = std::clamp(watki, 1, PulaWatkow::globalna().rozmiar());
    Bariera bariera(watki);
    PulaWatkow::globalna().wykonaj(watki, [&](int id, int n) {
      if (n != watki) {
        // The pool could not give the threads (it is busy): one thread.
        if (id == 0) przebieg(0, 1, nullptr);
        return;
      }
      przebieg(id, n, &bariera);
    });
    if (blad_ != 0) {
      blad = blad_;
      blad1 = blad1_;
    }
  }

 private:
  // Eliminates the panel of pivots p0..p1-1 within itself (row by row, the
  // literal order) and records its multipliers for the rows below it.
  // Also applies its pivots to f.
  void rozloz(int p0, Panel& P) {
    const int p1 = std::min(p0 + kPanel, nq_);
    int m = 0;
    for (int n = p0; n < p1; ++n) {
      const int nk = std::min(nq_ - n + 1, nbw_);
      const double* sn = s_[n];
      const double piv = sn[1];
      if (piv == 0) {
        blad_ = 1;
        blad1_ = n;
        continue;
      }
      P.nr[m] = n;
      P.wiersz[m] = sn + 1;
      double* C = &P.C[static_cast<std::size_t>(m) * W_];
      ++m;
      const double fn = f_[n];
      int i = 2;
      for (; i <= nk && n + i - 1 < p1; ++i) {
        const double c = sn[i] / piv;
        const int r = n + i - 1;
        fn_.wiersz(&s_[r][1], &sn[i], nk - i + 1, c);
        f_[r] -= c * fn;
      }
      for (; i <= nk; ++i) {
        const double c = sn[i] / piv;
        const int r = n + i - 1;
        C[r - p1] = c;
        f_[r] -= c * fn;
      }
      std::fill(C + std::max(0, n + nk - p1), C + W_, 0.0);
    }
    P.widok = PanelObl0{s_, nbw_, p1, m > 0 ? std::min(nq_, P.nr[m - 1] + nbw_ - 1) : 0, m, P.nr.data(),
                        P.wiersz.data(), P.C.data(), W_};
  }

  // The first row of the second thread's share of the trailing rows
  // p1..r_do: the first thread also eliminates the next panel (whose rows
  // must be its own), so it takes fewer rows.  Cost of a row: its columns;
  // of the next panel: about half a panel's square of row updates over the
  // band, at a lower rate than the blocked kernel.
  int podzial(const PanelObl0& p) const {
    const int L = p.jmax - p.p1 + 1;
    const double kolumny = 0.5 * L * (L + 1.0);
    const double panel = 1.5 * 0.5 * kPanel * (kPanel - 1.0) * nbw_ / std::max(1, p.m);
    const double cel = 0.5 * (kolumny - panel);
    int x = 0;
    double suma = 0;
    while (x < L && suma + (L - x) <= cel) suma += L - x++;
    return p.p1 + std::max(x, std::min(kPanel, L));
  }

  void przebieg(int id, int n, Bariera* bariera) {
    int k = 0;
    for (int p0 = 1; p0 < nq_; p0 += kPanel, ++k) {
      Panel& P = panele_[k & 1];
      const int p1 = std::min(p0 + kPanel, nq_);
      const PanelObl0& p = P.widok;
      if (p.m > 0) {
        const int r_do = p.jmax;
        const int dziel = n > 1 ? podzial(p) : r_do + 1;
        if (id == 0)
          fn_.pas(p, p1, std::min(r_do, dziel - 1));
        else
          fn_.pas(p, dziel, r_do);
      }
      if (id == 0 && p1 < nq_) rozloz(p1, panele_[(k + 1) & 1]);
      if (n > 1) bariera->czekaj();
    }
  }

  double* const* s_;
  double* f_;
  const int nq_, nbw_, W_;
  const Funkcje fn_;
  Panel panele_[2];
  int blad_ = 0, blad1_ = 0;
};

}  // namespace

bool jadro_dostepne(JadroObl0 j) {
  if (j == JadroObl0::Podstawowe) return true;
#if defined(__x86_64__) && defined(__GNUC__)
  static const bool avx2 = __builtin_cpu_supports("avx2");
  return avx2;
#else
  return false;
#endif
}

JadroObl0 jadro_domyslne() {
  return jadro_dostepne(JadroObl0::Avx2) ? JadroObl0::Avx2 : JadroObl0::Podstawowe;
}

UstawieniaObl0 ustawienia_obl0() {
  UstawieniaObl0 u;
  u.jadro = jadro_domyslne();
  u.watki = watki_obliczen();
  return u;
}

void Obl0_z(double* const* s, double* f, int nq, int nbw, int& blad, int& blad1, const UstawieniaObl0& u) {
  const Funkcje fn = funkcje(u.jadro);
  if (nbw < u.min_blok) {
    wprzod_wierszami(s, f, nq, nbw, blad, blad1, fn.wiersz);
  } else {
    Eliminacja e(s, f, nq, nbw, fn);
    e.wprzod(nbw >= u.min_watki ? std::max(1, u.watki) : 1, blad, blad1);
  }
  if (nq < 1) return;
  if (s[nq][1] == 0) {
    blad = 1;
    blad1 = nq;
  } else {
    f[nq] = f[nq] / s[nq][1];
  }
  if (blad != 0) return;
  // Back substitution: each f[n] is a sequential sum, kept in its order.
  for (int n = nq - 1; n >= 1; --n) {
    const double* sn = s[n];
    if (sn[1] == 0) {
      blad = 1;
      blad1 = n;
      return;
    }
    const double c = 1 / sn[1];
    double fn = c * f[n];
    const int nk = std::min(nq - n + 1, nbw);
    for (int k = 2; k <= nk; ++k) fn -= c * sn[k] * f[n + k - 1];
    f[n] = fn;
  }
}

void Obl0(double* const* s, double* f, int nq, int nbw, int& blad, int& blad1) {
  Obl0_z(s, f, nq, nbw, blad, blad1, ustawienia_obl0());
}
