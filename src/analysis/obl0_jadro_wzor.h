// The kernels of obl0_jadro.h written once over a vector type T; included
// (inside an unnamed namespace) by one file per instruction set, after that
// file has chosen its target.
//
// T provides: V (a vector of L doubles), M (a mask of lanes a..b-1),
// wczytaj/zapisz (unaligned), rozglos (one double to every lane), mnoz,
// odejmij, dziel, maska(a, b), wczytaj_m/zapisz_m (only the lanes of the mask are
// read or written), wybierz(x, t, m) (t in the lanes of m, x elsewhere).
//
// Rounding: every update is t = x - (c * y) with one rounding for the
// product and one for the difference, never fused, in pivot order; lanes
// outside a pivot's reach keep their bits through wybierz.

inline int najmniej(int a, int b) { return a < b ? a : b; }
inline int najwiecej(int a, int b) { return a > b ? a : b; }

template <class T>
struct JadroPasma {
  using V = typename T::V;
  using M = typename T::M;
  static constexpr int L = T::L;

  // Rows r0..r0+R-1, columns J..J+H*L-1, every entry of which exists (J is
  // at or right of the last row's diagonal, J+H*L-1 at most jmax).  The
  // first pivots of the panel may not reach the last columns: lanes beyond
  // a pivot's band keep their value.
  template <int R, int H>
  static void pelne(const PanelObl0& p, int r0, int J) {
    constexpr int S = H * L;
    V x[R][H];
    double* d[R];
#pragma GCC unroll 8
    for (int q = 0; q < R; ++q) {
      d[q] = p.s[r0 + q] + 1 + (J - r0 - q);
#pragma GCC unroll 4
      for (int h = 0; h < H; ++h) x[q][h] = T::wczytaj(d[q] + h * L);
    }
    const double* c = p.C + (r0 - p.p1);
    int a = 0;
    // Pivots that reach none of the columns, then those that reach only the
    // first ones (at most S - 1 of them, pivot rows being distinct).
    while (a < p.m && p.nr[a] + p.nbw - 1 < J) ++a;
    c += static_cast<long>(a) * p.W;
    for (; a < p.m && p.nr[a] + p.nbw - 1 < J + S - 1; ++a, c += p.W) {
      const int bn = p.nr[a] + p.nbw - J;  // lanes J..J+bn-1 lie within the pivot's band
      const double* y = p.element(a, J);
#pragma GCC unroll 4
      for (int h = 0; h < H; ++h) {
        const int ile = bn - h * L;
        if (ile <= 0) break;
        const M mn = T::maska(0, ile);
        const V yv = ile >= L ? T::wczytaj(y + h * L) : T::wczytaj_m(y + h * L, mn);
#pragma GCC unroll 8
        for (int q = 0; q < R; ++q) {
          const V t = T::odejmij(x[q][h], T::mnoz(T::rozglos(c + q), yv));
          x[q][h] = ile >= L ? t : T::wybierz(x[q][h], t, mn);
        }
      }
    }
    // Pivots that reach every column.
    for (; a < p.m; ++a, c += p.W) {
      const double* y = p.element(a, J);
      V yv[H];
#pragma GCC unroll 4
      for (int h = 0; h < H; ++h) yv[h] = T::wczytaj(y + h * L);
#pragma GCC unroll 8
      for (int q = 0; q < R; ++q) {
        const V cq = T::rozglos(c + q);
#pragma GCC unroll 4
        for (int h = 0; h < H; ++h) x[q][h] = T::odejmij(x[q][h], T::mnoz(cq, yv[h]));
      }
    }
#pragma GCC unroll 8
    for (int q = 0; q < R; ++q)
#pragma GCC unroll 4
      for (int h = 0; h < H; ++h) T::zapisz(d[q] + h * L, x[q][h]);
  }

  // Rows r0..r0+R-1, the L columns from J on, where some entries do not
  // exist (left of a row's diagonal, beyond jmax) or some pivots do not
  // reach every column.  Lanes that do not exist are neither read nor
  // written; lanes a pivot does not reach keep their value.
  template <int R>
  static void brzeg(const PanelObl0& p, int r0, int J) {
    const int b = najmniej(L, p.jmax - J + 1);
    M mw[R];
    V x[R];
    double* d[R];
#pragma GCC unroll 8
    for (int q = 0; q < R; ++q) {
      mw[q] = T::maska(najwiecej(0, r0 + q - J), b);
      // Points at column J of row r0+q; lanes left of the diagonal lie
      // before the row and are masked off.
      d[q] = p.s[r0 + q] + 1 + (J - r0 - q);
      x[q] = T::wczytaj_m(d[q], mw[q]);
    }
    const double* c = p.C + (r0 - p.p1);
    for (int a = 0; a < p.m; ++a, c += p.W) {
      const int n = p.nr[a];
      const int bn = najmniej(b, n + p.nbw - J);  // lanes J..J+bn-1 lie within pivot n's band
      if (bn <= 0) continue;
      const double* y = p.element(a, J);
      const M mn = T::maska(0, bn);
      const V yv = T::wczytaj_m(y, mn);
      if (bn == b) {
        // Every lane that will be stored is reached.
#pragma GCC unroll 8
        for (int q = 0; q < R; ++q) x[q] = T::odejmij(x[q], T::mnoz(T::rozglos(c + q), yv));
      } else {
#pragma GCC unroll 8
        for (int q = 0; q < R; ++q) x[q] = T::wybierz(x[q], T::odejmij(x[q], T::mnoz(T::rozglos(c + q), yv)), mn);
      }
    }
#pragma GCC unroll 8
    for (int q = 0; q < R; ++q) T::zapisz_m(d[q], mw[q], x[q]);
  }

  // The R rows from r0 on, all their columns: the first chunk(s) where the
  // lower rows have not begun, full chunks of H vectors, then of one, and
  // the chunk that crosses jmax.
  template <int R, int H>
  static void wiersze(const PanelObl0& p, int r0) {
    int J = r0;
    for (; J < r0 + R - 1 && J <= p.jmax; J += L) brzeg<R>(p, r0, J);
    for (; J + H * L - 1 <= p.jmax; J += H * L) pelne<R, H>(p, r0, J);
    if constexpr (H > 1)
      for (; J + L - 1 <= p.jmax; J += L) pelne<R, 1>(p, r0, J);
    if (J <= p.jmax) brzeg<R>(p, r0, J);
  }

  // R rows by H vectors at a time: R * H accumulators, H pivot-row
  // vectors, a multiplier and a product must fit in the registers (3 x 3
  // fills 14 of 16, 4 x 4 fills 22 of 32).
  template <int R, int H>
  static void pas(const PanelObl0& p, int r_od, int r_do) {
    if (p.m == 0) return;
    int r = r_od;
    for (; r + R - 1 <= r_do; r += R) wiersze<R, H>(p, r);
    for (; r <= r_do; ++r) wiersze<1, H>(p, r);
  }

  static void wiersz(double* dst, const double* src, int len, double c) {
    int k = 0;
    if (len >= L) {
      const V cv = T::rozglos(&c);
      for (; k + L <= len; k += L) T::zapisz(dst + k, T::odejmij(T::wczytaj(dst + k), T::mnoz(cv, T::wczytaj(src + k))));
    }
    for (; k < len; ++k) dst[k] -= c * src[k];
  }

  static void dziel(double* dst, const double* src, int len, double d) {
    int k = 0;
    if (len >= L) {
      const V dv = T::rozglos(&d);
      for (; k + L <= len; k += L) T::zapisz(dst + k, T::dziel(T::wczytaj(src + k), dv));
    }
    for (; k < len; ++k) dst[k] = src[k] / d;
  }
};
