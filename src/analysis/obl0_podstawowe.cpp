// The kernels of the blocked elimination for every x86-64 processor: SSE2,
// two doubles per vector.  (Elsewhere plain scalar code.)
#include "analysis/obl0_jadro.h"

#if defined(__x86_64__) && defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

#include "analysis/obl0_jadro_wzor.h"

#if defined(__x86_64__) && defined(__SSE2__)

struct WektorSSE2 {
  using V = __m128d;
  // SSE2 has no masked loads: the mask keeps its lane range for the loads
  // and stores, and its bits for the selection.
  struct M {
    int a, b;
    __m128d bity;
  };
  static constexpr int L = 2;
  static V wczytaj(const double* p) { return _mm_loadu_pd(p); }
  static void zapisz(double* p, V x) { _mm_storeu_pd(p, x); }
  static V rozglos(const double* c) { return _mm_load1_pd(c); }
  static V mnoz(V a, V b) { return _mm_mul_pd(a, b); }
  static V odejmij(V a, V b) { return _mm_sub_pd(a, b); }
  static V dziel(V a, V b) { return _mm_div_pd(a, b); }
  static M maska(int a, int b) {
    const bool l0 = a <= 0 && b > 0, l1 = a <= 1 && b > 1;
    const __m128i i = _mm_set_epi64x(l1 ? -1 : 0, l0 ? -1 : 0);
    return M{l0 ? 0 : l1 ? 1 : 2, l1 ? 2 : l0 ? 1 : 0, _mm_castsi128_pd(i)};
  }
  static V wczytaj_m(const double* p, const M& m) {
    if (m.a == 0 && m.b == 2) return _mm_loadu_pd(p);
    if (m.a == 0 && m.b == 1) return _mm_load_sd(p);
    if (m.a == 1 && m.b == 2) return _mm_loadh_pd(_mm_setzero_pd(), p + 1);
    return _mm_setzero_pd();
  }
  static void zapisz_m(double* p, const M& m, V x) {
    if (m.a == 0 && m.b == 2)
      _mm_storeu_pd(p, x);
    else if (m.a == 0 && m.b == 1)
      _mm_store_sd(p, x);
    else if (m.a == 1 && m.b == 2)
      _mm_storeh_pd(p + 1, x);
  }
  static V wybierz(V x, V t, const M& m) { return _mm_or_pd(_mm_and_pd(m.bity, t), _mm_andnot_pd(m.bity, x)); }
};
using Wektor = WektorSSE2;

#else

struct WektorSkalarny {
  using V = double;
  using M = bool;
  static constexpr int L = 1;
  static V wczytaj(const double* p) { return *p; }
  static void zapisz(double* p, V x) { *p = x; }
  static V rozglos(const double* c) { return *c; }
  static V mnoz(V a, V b) { return a * b; }
  static V odejmij(V a, V b) { return a - b; }
  static V dziel(V a, V b) { return a / b; }
  static M maska(int a, int b) { return a <= 0 && b > 0; }
  static V wczytaj_m(const double* p, M m) { return m ? *p : 0.0; }
  static void zapisz_m(double* p, M m, V x) {
    if (m) *p = x;
  }
  static V wybierz(V x, V t, M m) { return m ? t : x; }
};
using Wektor = WektorSkalarny;

#endif

}  // namespace

void obl0_pas_podstawowy(const PanelObl0& p, int r_od, int r_do) { JadroPasma<Wektor>::pas<3, 3>(p, r_od, r_do); }

void obl0_wiersz_podstawowy(double* dst, const double* src, int len, double c) {
  JadroPasma<Wektor>::wiersz(dst, src, len, c);
}

void obl0_dziel_podstawowy(double* dst, const double* src, int len, double d) {
  JadroPasma<Wektor>::dziel(dst, src, len, d);
}
