// Four doubles per vector for the kernels of obl0_jadro_wzor.h; included
// (inside an unnamed namespace) by files compiled for a target with AVX2,
// after their target switch.  No FMA.

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
