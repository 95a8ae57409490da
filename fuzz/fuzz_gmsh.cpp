// Fuzzes the Gmsh mesh import: whatever the bytes, reading and building must
// not crash and must allocate no more than the file backs, and a mesh it
// accepts must give a consistent store whose triangles run counter-clockwise
// with non-negative, finite coordinates.
#include <cmath>
#include <cstdint>
#include <cstdlib>

#include "io/import_siatki.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* dane, std::size_t rozmiar) {
  Model m;
  WynikImportu w;
  std::string blad;
  if (!importuj_siatke(dane, rozmiar, m, w, blad)) {
    if (blad.empty() || m.Pusty != 1) std::abort();
    return 0;
  }
  if (!sprawdz_niezmienniki(m) || m.nn != w.wezly || m.ne != w.elementy) std::abort();
  for (int k = 1; k <= m.nn; ++k)
    if (!(m.x[k][1] >= 0) || !(m.x[k][2] >= 0) || !std::isfinite(m.x[k][1]) || !std::isfinite(m.x[k][2]))
      std::abort();
  for (int e = 1; e <= m.ne; ++e) {
    const double x1 = m.x[m.noc[e][1]][1], y1 = m.x[m.noc[e][1]][2];
    const double x2 = m.x[m.noc[e][2]][1], y2 = m.x[m.noc[e][2]][2];
    const double x3 = m.x[m.noc[e][3]][1], y3 = m.x[m.noc[e][3]][2];
    if (!((x1 - x3) * (y2 - y3) - (x3 - x2) * (y3 - y1) > 0)) std::abort();
  }
  return 0;
}
