// The kernels of the blocked elimination (obl0.h), one set per instruction
// set, each compiled in its own file for its own target.
#pragma once

// One panel's pivots, ready for the update of the trailing band.
struct PanelObl0 {
  double* const* s;  // the band, s[r][c - r + 1] = K(r, c)
  int nbw;           // band width
  int p1;            // the first row below the panel
  int jmax;          // the last row and column the panel's pivots reach
  int m;             // the panel's pivots that are not zero, ...
  const int* nr;     // ... their row numbers, ascending, ...
  const double* const* wiersz;  // ... and their rows from the diagonal on: wiersz[a][J - nr[a]] = K(nr[a], J)
  const double* C;   // multipliers K(n, r) / K(n, n): C[a * W + r - p1] (0 beyond the pivot's reach)
  int W;
};

// K(r, J) -= C(n, r) * K(n, J) for the rows r in [r_od, r_do] of the
// trailing band, every column J in r..jmax, and every pivot n of the panel
// that reaches J, in pivot order; each product and each difference rounded
// once, exactly as the row-by-row elimination does it.
void obl0_pas_podstawowy(const PanelObl0& p, int r_od, int r_do);
void obl0_pas_avx2(const PanelObl0& p, int r_od, int r_do);

// dst[k] -= c * src[k] for k in [0, len).
void obl0_wiersz_podstawowy(double* dst, const double* src, int len, double c);
void obl0_wiersz_avx2(double* dst, const double* src, int len, double c);
