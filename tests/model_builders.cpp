#include "model_builders.h"

#include <algorithm>
#include <utility>

void zbuduj(Model& m, const OpisModelu& o) {
  zwolnij_tablice(m);
  m.nn = static_cast<int>(o.wezly.size());
  m.nq = 2 * m.nn;
  m.ne = static_cast<int>(o.elementy.size());
  m.nm = static_cast<int>(o.materialy.size());
  m.nd = static_cast<int>(o.podpory.size());
  m.nl = o.nl;
  m.th = o.th;
  int maxpr = o.maxpr;
  for (const auto& mt : o.materialy) maxpr = std::max(maxpr, static_cast<int>(mt.przedzialy.size()));
  m.maxpr = maxpr;
  if (m.nn > 0) {
    m.x.przydziel(1, m.nn, 1, 2);
    m.si.przydziel(1, m.nq);
    m.f.przydziel(1, m.nq);
    m.ww.przydziel(1, m.nq, 1, 4);
    for (int k = 1; k <= m.nn; ++k) {
      m.x[k][1] = o.wezly[k - 1][0];
      m.x[k][2] = o.wezly[k - 1][1];
    }
  }
  if (m.ne > 0) {
    m.noc.przydziel(1, m.ne, 1, 3);
    m.mat.przydziel(1, m.ne);
    m.napr.przydziel(1, m.ne, 1, 4);
    for (int e = 1; e <= m.ne; ++e) {
      for (int k = 1; k <= 3; ++k) m.noc[e][k] = o.elementy[e - 1][k - 1];
      m.mat[e] = e - 1 < static_cast<int>(o.materialy_el.size()) ? o.materialy_el[e - 1] : 1;
    }
  }
  if (m.nm > 0) {
    m.pm.przydziel(1, m.nm, 1, 2);
    m.Prz.przydziel(1, m.nm);
    m.Ez.przydziel(1, m.nm, 1, maxpr);
    m.Sprz.przydziel(1, m.nm, 1, maxpr);
    for (int i = 1; i <= m.nm; ++i) {
      const auto& mt = o.materialy[i - 1];
      m.pm[i][1] = mt.nominalny;
      m.pm[i][2] = mt.pois;
      m.Prz[i] = static_cast<int>(mt.przedzialy.size());
      for (int j = 1; j <= m.Prz[i]; ++j) {
        m.Ez[i][j] = mt.przedzialy[j - 1].first;
        m.Sprz[i][j] = mt.przedzialy[j - 1].second;
      }
    }
  }
  if (m.nd > 0) {
    m.nu.przydziel(1, m.nd);
    m.u.przydziel(1, m.nd);
    m.react.przydziel(1, m.nd);
    for (int j = 1; j <= m.nd; ++j) {
      m.nu[j] = o.podpory[j - 1].first;
      m.u[j] = o.podpory[j - 1].second;
    }
  }
  for (const auto& [dof, v] : o.sily) m.si[dof] = v;
  for (int i = 1; i <= m.nq; ++i) m.f[i] = m.si[i];
  przydziel_robocze(m);
  m.nbw = 0;
  m.Pusty = 0;
  m.obliczono = 0;
}

OpisModelu prostokat(int nx, int ny, float lx, float ly, float E, float pois) {
  OpisModelu o;
  const float dx = lx / static_cast<float>(nx), dy = ly / static_cast<float>(ny);
  for (int r = 0; r <= ny; ++r)
    for (int c = 0; c <= nx; ++c) o.wezly.push_back({static_cast<float>(c) * dx, static_cast<float>(r) * dy});
  const int lwx = nx + 1;
  for (int c = 1; c <= nx; ++c)
    for (int r = 1; r <= ny; ++r) {
      const int a = c + (r - 1) * lwx, b = a + 1, cc = a + lwx, d = a + lwx + 1;
      o.elementy.push_back({a, b, d});
      o.elementy.push_back({a, cc, d});
    }
  OpisModelu::Material mt;
  mt.pois = pois;
  mt.przedzialy = {{E, 1.0e30f}};
  o.materialy.push_back(mt);
  return o;
}

OpisModelu plyta_z_pulapkami() {
  OpisModelu o = prostokat(9, 4, 9, 4, 200000.0f, 0.3f);
  std::swap(o.wezly[6], o.wezly[29]);  // nodes 7 and 30 trade numbers
  for (auto& el : o.elementy)
    for (int& k : el) k = k == 7 ? 30 : k == 30 ? 7 : k;
  std::swap(o.elementy[3][0], o.elementy[3][2]);
  o.materialy.push_back(o.materialy[0]);
  o.materialy[1].przedzialy = {{70000.0f, 1e30f}};
  o.materialy_el.assign(o.elementy.size(), 1);
  for (std::size_t e = 0; e < o.elementy.size(); e += 3) o.materialy_el[e] = 2;
  o.wezly.push_back({20, 20});
  const int sam = static_cast<int>(o.wezly.size());
  o.podpory = {{1, 0}, {2, 0}, {2 * 10, 0}, {2 * sam - 1, 0}, {2 * sam, 0}};
  o.sily = {{2 * 50, -300.0f}, {2 * 45 - 1, 120.0f}};
  return o;
}
