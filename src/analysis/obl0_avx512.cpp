// The band update kernel for processors with AVX-512VL: the same four-double
// vectors and instructions as the AVX2 kernel, compiled where the processor
// has 32 vector registers instead of 16, which holds a block of 4 rows by 4
// vectors (16 accumulators) instead of 3 by 3: fewer loads of the pivot
// rows and multipliers per product.  The arithmetic of every entry is that
// of the other kernels, product and difference rounded once, in pivot
// order; no FMA.  The row kernels (wiersz, dziel) are the AVX2 ones.
#include "analysis/obl0_jadro.h"

#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>

#pragma GCC push_options
#pragma GCC target("avx2,avx512f,avx512vl")

namespace {

#include "analysis/obl0_jadro_wzor.h"
#include "analysis/obl0_wektor_avx2.h"

}  // namespace

void obl0_pas_avx512(const PanelObl0& p, int r_od, int r_do) { JadroPasma<WektorAVX2>::pas<4, 4>(p, r_od, r_do); }

#pragma GCC pop_options

#else

void obl0_pas_avx512(const PanelObl0& p, int r_od, int r_do) { obl0_pas_podstawowy(p, r_od, r_do); }

#endif
