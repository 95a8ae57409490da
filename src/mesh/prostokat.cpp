// The rectangle mesh generator: a regular grid of triangles over an
// axis-parallel rectangle, appended to the model.
#include <cmath>

#include "app/formy.h"
#include "app/liczby.h"
#include "app/okno.h"
#include "mesh/formy_siatki.h"
#include "model/przebuduj.h"

void _OKNO_::Cm_prost() {
  if (M.Pusty || M.nm <= 0) {
    P.Odswiez();
    return;
  }
  d_dane_mac r;
  ustaw(r.px, "0");
  ustaw(r.py, "0");
  ustaw(r.dx, "0");
  ustaw(r.dy, "0");
  ustaw(r.ix, "0");
  ustaw(r.iy, "0");
  ustaw(r.ma, "1");
  r.opt = 1;  // offered, but the grid numbering is never changed
  r.p4 = 0;
  ::Formularz f = uklad_D_DANE_MACELE(r);
  const int w = P.Formularz(f);
  const double px = atof_pola(r.px.t), py = atof_pola(r.py.t);
  const double dx = atof_pola(r.dx.t), dy = atof_pola(r.dy.t);
  const int ix = atoi_pola(r.ix.t), iy = atoi_pola(r.iy.t), ma = atoi_pola(r.ma.t);
  if (w != IDOK || px < 0 || py < 0 || ix <= 0 || iy <= 0 || ma < 1 || ma > M.nm) {
    P.Odswiez();
    return;
  }
  const bool cztery = r.p4 != 0;
  const long long lw = (ix + 1LL) * (iy + 1LL) + (cztery ? static_cast<long long>(ix) * iy : 0);
  const long long le = (cztery ? 4LL : 2LL) * ix * iy;
  if (M.nn + lw > kMaksWezlow || M.ne + le > kMaksElementow) {
    formy::blad(P, "Zbyt duża liczba elementów");
    P.Odswiez();
    return;
  }
  // Node coordinates in single precision, as the grid has always been laid
  // out: origin (double) plus a whole number of float steps.
  const auto dkx = static_cast<float>(dx / ix);
  const auto dky = static_cast<float>(dy / iy);
  auto wx = [&](int c) { return static_cast<float>(px + static_cast<float>(c - 1) * dkx); };
  auto wy = [&](int rz) { return static_cast<float>(py + static_cast<float>(rz - 1) * dky); };
  // A rectangle reaching beyond the float range would give infinite
  // coordinates, which no project file can hold.
  if (!std::isfinite(wx(ix + 1)) || !std::isfinite(wy(iy + 1))) {
    P.Odswiez();
    return;
  }

  M.Pusty = 1;
  const int nn0 = M.nn;
  const int lwx = ix + 1;
  const int n0 = dodaj_wezly(M, static_cast<int>(lw));
  for (int rz = 1; rz <= iy + 1; ++rz)
    for (int c = 1; c <= ix + 1; ++c) {
      const int k = n0 + (rz - 1) * lwx + (c - 1);
      M.x[k][1] = wx(c);
      M.x[k][2] = wy(rz);
    }
  const int psro = nn0 + (ix + 1) * (iy + 1) + 1;
  if (cztery)
    for (int rz = 1; rz <= iy; ++rz)
      for (int c = 1; c <= ix; ++c) {
        const int k = psro + (rz - 1) * ix + (c - 1);
        M.x[k][1] = static_cast<float>(px + static_cast<float>(c - 1) * dkx + 0.5 * dkx);
        M.x[k][2] = static_cast<float>(py + static_cast<float>(rz - 1) * dky + 0.5 * dky);
      }

  int e = dodaj_elementy(M, static_cast<int>(le));
  auto trojkat = [&](int a, int b, int c) {
    M.noc[e][1] = a;
    M.noc[e][2] = b;
    M.noc[e][3] = c;
    M.mat[e] = ma;
    ++e;
  };
  for (int c = 1; c <= ix; ++c)
    for (int rz = 1; rz <= iy; ++rz) {
      const int A = nn0 + c + (rz - 1) * lwx, B = A + 1, C = A + lwx, D = A + lwx + 1;
      if (cztery) {
        const int S = psro + (rz - 1) * ix + (c - 1);
        trojkat(A, B, S);
        trojkat(S, C, D);
        trojkat(A, C, S);
        trojkat(B, D, S);
      } else {
        trojkat(A, B, D);
        trojkat(A, C, D);
      }
    }

  M.Pusty = 0;
  PoZmianie({.nazwa = "Dodaj prostokąt", .przelicz = true});
}
