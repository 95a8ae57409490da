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
#include "analysis/obl0_wektor_avx2.h"

}  // namespace

void obl0_pas_avx2(const PanelObl0& p, int r_od, int r_do) { JadroPasma<WektorAVX2>::pas<3, 3>(p, r_od, r_do); }

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
