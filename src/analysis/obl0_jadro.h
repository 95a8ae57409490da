// The kernels of the blocked elimination (obl0.h), one set per instruction
// set, each compiled in its own file for its own target.
#pragma once

#include <cstdint>

// One panel's pivots, ready for the update of the trailing band.
struct PanelObl0 {
  double* const* s;  // the band, s[r][c - r + 1] = K(r, c)
  int nbw;           // band width
  int p1;            // the first row below the panel
  int jmax;          // the last row and column the panel's pivots reach
  int m;             // the panel's pivots that are not zero, ...
  const int* nr;     // ... their row numbers, ascending, ...
  // ... and their rows as addresses of column 0: K(nr[a], J) is the double
  // at kolumna[a] + 8 * J (an integer, since column 0 lies outside the row).
  const std::uintptr_t* kolumna;
  const double* C;   // multipliers K(n, r) / K(n, n): C[a * W + r - p1] (0 beyond the pivot's reach)
  int W;

  const double* element(int a, int J) const {
    return reinterpret_cast<const double*>(kolumna[a] + static_cast<std::uintptr_t>(J) * sizeof(double));
  }
};

// K(r, J) -= C(n, r) * K(n, J) for the rows r in [r_od, r_do] of the
// trailing band, every column J in r..jmax, and every pivot n of the panel
// that reaches J, in pivot order; each product and each difference rounded
// once, exactly as the row-by-row elimination does it.
void obl0_pas_podstawowy(const PanelObl0& p, int r_od, int r_do);
void obl0_pas_avx2(const PanelObl0& p, int r_od, int r_do);
// The AVX2 arithmetic in a larger register block (needs AVX-512VL).
void obl0_pas_avx512(const PanelObl0& p, int r_od, int r_do);

// dst[k] -= c * src[k] for k in [0, len).
void obl0_wiersz_podstawowy(double* dst, const double* src, int len, double c);
void obl0_wiersz_avx2(double* dst, const double* src, int len, double c);

// dst[k] = src[k] / d for k in [0, len).
void obl0_dziel_podstawowy(double* dst, const double* src, int len, double d);
void obl0_dziel_avx2(double* dst, const double* src, int len, double d);
