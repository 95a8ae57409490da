// The kernels of the blocked elimination for processors with AVX2: four
// doubles per vector, masked loads and stores at the edges of the band.
// Only the code below the target switch is AVX2 (the standard headers above
// it keep the baseline target, so none of their inline functions can leak
// AVX2 instructions into the rest of the program); no FMA.
#include "analysis/obl0_jadro.h"

#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>

#pragma GCC push_options
#pragma GCC target("avx2")

namespace {

#include "analysis/obl0_jadro_wzor.h"

struct WektorAVX2 {
  using V = __m256d;
  using M = __m256i;
  static constexpr int L = 4;
  static V wczytaj(const double* p) { return _mm256_loadu_pd(p); }
  static void zapisz(double* p, V x) { _mm256_storeu_pd(p, x); }
  static V rozglos(const double* c) { return _mm256_broadcast_sd(c); }
  static V mnoz(V a, V b) { return _mm256_mul_pd(a, b); }
  static V odejmij(V a, V b) { return _mm256_sub_pd(a, b); }
  static V dziel(V a, V b) { return _mm256_div_pd(a, b); }
  // Lanes a..b-1 (lane i is on when i > a - 1 and b > i).
  static M maska(int a, int b) {
    const __m256i i = _mm256_set_epi64x(3, 2, 1, 0);
    return _mm256_and_si256(_mm256_cmpgt_epi64(i, _mm256_set1_epi64x(a - 1)),
                            _mm256_cmpgt_epi64(_mm256_set1_epi64x(b), i));
  }
  static V wczytaj_m(const double* p, M m) { return _mm256_maskload_pd(p, m); }
  static void zapisz_m(double* p, M m, V x) { _mm256_maskstore_pd(p, m, x); }
  static V wybierz(V x, V t, M m) { return _mm256_blendv_pd(x, t, _mm256_castsi256_pd(m)); }
};

}  // namespace

void obl0_pas_avx2(const PanelObl0& p, int r_od, int r_do) { JadroPasma<WektorAVX2>::pas(p, r_od, r_do); }

void obl0_wiersz_avx2(double* dst, const double* src, int len, double c) {
  JadroPasma<WektorAVX2>::wiersz(dst, src, len, c);
}

void obl0_dziel_avx2(double* dst, const double* src, int len, double d) {
  JadroPasma<WektorAVX2>::dziel(dst, src, len, d);
}

#pragma GCC pop_options

#else

// Not an x86-64 build: the baseline kernels stand in (never chosen, since
// the processor check says no).
void obl0_pas_avx2(const PanelObl0& p, int r_od, int r_do) { obl0_pas_podstawowy(p, r_od, r_do); }
void obl0_wiersz_avx2(double* dst, const double* src, int len, double c) {
  obl0_wiersz_podstawowy(dst, src, len, c);
}
void obl0_dziel_avx2(double* dst, const double* src, int len, double d) { obl0_dziel_podstawowy(dst, src, len, d); }

#endif
