// A cantilever of nx x ny cells over lx x ly, fixed at x = 0 and loaded down
// at the free end, with the results of beam theory filled in as if analysed
// (displacements, element and nodal stresses, a secant modulus per element):
// pictures and exports of a large model without the time of an analysis.
#pragma once

#include <cmath>

#include "model/model.h"
#include "model_builders.h"

inline void wspornik_z_wynikami(Model& m, int nx, int ny, float lx, float ly) {
  const float P = 1000.0f, I = ly * ly * ly / 12.0f;
  const auto wezel = [&](int c, int r) { return 1 + c + r * (nx + 1); };
  OpisModelu o = prostokat(nx, ny, lx, ly);
  o.materialy[0].przedzialy = {{200000.0f, 200.0f}};
  for (int r = 0; r <= ny; ++r) {
    o.podpory.push_back({2 * wezel(0, r) - 1, 0.0f});
    o.podpory.push_back({2 * wezel(0, r), 0.0f});
  }
  o.sily.push_back({2 * wezel(nx, ny), -P});
  zbuduj(m, o);
  for (int n = 1; n <= m.nn; ++n) {
    const float x = m.x[n][1], y = m.x[n][2] - ly / 2;
    const float sx = P * (lx - x) * y / I, t = 1.5f * P / ly * (1 - 4 * y * y / (ly * ly));
    m.ww[n][1] = sx;
    m.ww[n][2] = 0.0f;
    m.ww[n][3] = t;
    m.ww[n][4] = std::sqrt(std::fabs(sx * sx + 3 * t * t));
    m.f[2 * n - 1] = -P * y * x * (2 * lx - x) / (2 * 200000.0f * I);
    m.f[2 * n] = -P * x * x * (3 * lx - x) / (6 * 200000.0f * I);
  }
  m.EE.przydziel(1, m.ne);
  for (int e = 1; e <= m.ne; ++e) {
    for (int s = 1; s <= 4; ++s)
      m.napr[e][s] = (m.ww[m.noc[e][1]][s] + m.ww[m.noc[e][2]][s] + m.ww[m.noc[e][3]][s]) / 3.0f;
    m.EE[e] = 200000.0f;
  }
  for (int j = 1; j <= m.nd; ++j) m.react[j] = j % 2 ? 0.0f : P / static_cast<float>(ny + 1);
  m.obliczono = 1;
}
