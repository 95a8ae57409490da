// Makes the example models of SKORBA N as project files:
//
//   wspornik.SKD      a steel cantilever plate under a tip load (linear)
//   belka_scienna.SKD a simply supported deep concrete beam with a stiffer
//                     bottom tie zone: two materials, cracking concrete
//   pasmo.SKD         an aluminium strip pulled beyond its first stress limit
//
//   przyklady [FOLDER]   (default: the current folder)
//
// Units: N, mm, MPa.  Meshes are numbered as the rectangle generator numbers
// them: nodes row by row from the bottom, cells column by column, two
// triangles per cell.
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "model/model.h"
#include "model/plik.h"

namespace {

struct Material {
  float pois;
  std::vector<std::pair<float, float>> przedzialy;  // (E, upper stress limit)
};

// A rectangle of nx x ny cells over lx x ly from the origin, all elements of
// material 1; materials, supports and forces are added afterwards.
void prostokat(Model& m, int nx, int ny, float lx, float ly, float th, const std::vector<Material>& materialy) {
  zwolnij_tablice(m);
  const int lwx = nx + 1;
  m.nn = lwx * (ny + 1);
  m.nq = 2 * m.nn;
  m.ne = 2 * nx * ny;
  m.nm = static_cast<int>(materialy.size());
  m.th = th;
  m.maxpr = 0;
  for (const auto& mt : materialy) m.maxpr = std::max(m.maxpr, static_cast<int>(mt.przedzialy.size()));
  m.x.przydziel(1, m.nn, 1, 2);
  m.si.przydziel(1, m.nq);
  m.f.przydziel(1, m.nq);
  m.ww.przydziel(1, m.nq, 1, 4);
  m.noc.przydziel(1, m.ne, 1, 3);
  m.mat.przydziel(1, m.ne);
  m.napr.przydziel(1, m.ne, 1, 4);
  m.pm.przydziel(1, m.nm, 1, 2);
  m.Prz.przydziel(1, m.nm);
  m.Ez.przydziel(1, m.nm, 1, m.maxpr);
  m.Sprz.przydziel(1, m.nm, 1, m.maxpr);
  const float dkx = lx / static_cast<float>(nx), dky = ly / static_cast<float>(ny);
  for (int r = 1; r <= ny + 1; ++r)
    for (int c = 1; c <= lwx; ++c) {
      const int k = (r - 1) * lwx + c;
      m.x[k][1] = static_cast<float>(c - 1) * dkx;
      m.x[k][2] = static_cast<float>(r - 1) * dky;
    }
  int e = 0;
  for (int c = 1; c <= nx; ++c)
    for (int r = 1; r <= ny; ++r) {
      const int a = c + (r - 1) * lwx, b = a + 1, cc = a + lwx, d = a + lwx + 1;
      ++e;
      m.noc[e][1] = a, m.noc[e][2] = b, m.noc[e][3] = d, m.mat[e] = 1;
      ++e;
      m.noc[e][1] = a, m.noc[e][2] = cc, m.noc[e][3] = d, m.mat[e] = 1;
    }
  for (int i = 1; i <= m.nm; ++i) {
    const auto& mt = materialy[static_cast<std::size_t>(i - 1)];
    m.pm[i][1] = mt.przedzialy[0].first;
    m.pm[i][2] = mt.pois;
    m.Prz[i] = static_cast<int>(mt.przedzialy.size());
    for (int j = 1; j <= m.Prz[i]; ++j) {
      m.Ez[i][j] = mt.przedzialy[static_cast<std::size_t>(j - 1)].first;
      m.Sprz[i][j] = mt.przedzialy[static_cast<std::size_t>(j - 1)].second;
    }
  }
  przydziel_robocze(m);
  m.Pusty = 0;
}

int wezel(int nx, int c, int r) { return 1 + c + r * (nx + 1); }

// Supports as (degree of freedom, prescribed displacement), kept in
// ascending order as the support commands keep them.
void podpory(Model& m, std::vector<std::pair<int, float>> p) {
  std::sort(p.begin(), p.end());
  m.nd = static_cast<int>(p.size());
  m.nu.przydziel(1, m.nd);
  m.u.przydziel(1, m.nd);
  m.react.przydziel(1, m.nd);
  for (int j = 1; j <= m.nd; ++j) {
    m.nu[j] = p[static_cast<std::size_t>(j - 1)].first;
    m.u[j] = p[static_cast<std::size_t>(j - 1)].second;
  }
}

// A total force spread over the nodes of a straight edge of n cells as a
// uniform traction does it: half shares at the two ends.
void krawedz(Model& m, const std::vector<int>& wezly, int kierunek, float razem) {
  const float n = static_cast<float>(wezly.size() - 1);
  for (std::size_t i = 0; i < wezly.size(); ++i) {
    const float udzial = (i == 0 || i + 1 == wezly.size()) ? 0.5f : 1.0f;
    m.si[2 * wezly[i] - 2 + kierunek] += razem * udzial / n;
  }
}

void zakoncz(Model& m) {
  m.nl = 0;
  for (int i = 1; i <= m.nq; ++i) m.nl += m.si[i] != 0;
}

bool zapisz(const Model& m, const std::string& sciezka) {
  const auto bajty = zapisz_model(m);
  if (!zapisz_plik_atomowo(sciezka, bajty.data(), bajty.size())) {
    std::fprintf(stderr, "przyklady: nie można zapisać %s\n", sciezka.c_str());
    return false;
  }
  std::printf("%s: węzłów %d, elementów %d, materiałów %d, podpór %d, sił %d\n", sciezka.c_str(), m.nn, m.ne, m.nm,
              m.nd, m.nl);
  return true;
}

// Steel plate 1000 x 200 x 10, clamped along the left edge, 8 kN down at the
// free end: a nominal bending stress of 120 MPa, well below the yield limit.
bool wspornik(const std::string& folder) {
  Model m;
  const int nx = 40, ny = 8;
  prostokat(m, nx, ny, 1000, 200, 10, {{0.3f, {{210000.0f, 235.0f}, {2100.0f, 360.0f}}}});
  std::vector<std::pair<int, float>> p;
  std::vector<int> koniec;
  for (int r = 0; r <= ny; ++r) {
    const int k = wezel(nx, 0, r);
    p.push_back({2 * k - 1, 0});
    p.push_back({2 * k, 0});
    koniec.push_back(wezel(nx, nx, r));
  }
  podpory(m, p);
  krawedz(m, koniec, 2, -8000.0f);
  zakoncz(m);
  return zapisz(m, folder + "/wspornik.SKD");
}

// Concrete wall beam 3000 x 1500 x 200 on two supports, 400 N/mm along the
// top.  Concrete softens in three pieces; the bottom 100 mm is a tie zone
// with reinforcement, much stiffer and linear.
bool belka(const std::string& folder) {
  Model m;
  const int nx = 30, ny = 15;
  prostokat(m, nx, ny, 3000, 1500, 200,
            {{0.2f, {{32000.0f, 3.0f}, {16000.0f, 8.0f}, {6000.0f, 30.0f}}}, {0.2f, {{60000.0f, 500.0f}}}});
  for (int e = 1; e <= m.ne; ++e) {
    const float y = (m.x[m.noc[e][1]][2] + m.x[m.noc[e][2]][2] + m.x[m.noc[e][3]][2]) / 3;
    if (y < 100) m.mat[e] = 2;
  }
  const int lewy = wezel(nx, 0, 0), prawy = wezel(nx, nx, 0);
  podpory(m, {{2 * lewy - 1, 0}, {2 * lewy, 0}, {2 * prawy, 0}});
  std::vector<int> gora;
  for (int c = 0; c <= nx; ++c) gora.push_back(wezel(nx, c, ny));
  krawedz(m, gora, 2, -400.0f * 3000);
  zakoncz(m);
  return zapisz(m, folder + "/belka_scienna.SKD");
}

// Aluminium strip 200 x 20 x 2 pulled with 8 kN: 200 MPa, beyond the first
// limit of 150 MPa.  The left end is held along X only (and one node along
// Y), so the strip contracts freely and the stress stays uniform.
bool pasmo(const std::string& folder) {
  Model m;
  const int nx = 20, ny = 4;
  prostokat(m, nx, ny, 200, 20, 2, {{0.33f, {{70000.0f, 150.0f}, {7000.0f, 250.0f}, {700.0f, 400.0f}}}});
  std::vector<std::pair<int, float>> p;
  std::vector<int> prawa;
  for (int r = 0; r <= ny; ++r) {
    p.push_back({2 * wezel(nx, 0, r) - 1, 0});
    prawa.push_back(wezel(nx, nx, r));
  }
  p.push_back({2 * wezel(nx, 0, 0), 0});
  podpory(m, p);
  krawedz(m, prawa, 1, 8000.0f);
  zakoncz(m);
  return zapisz(m, folder + "/pasmo.SKD");
}

}  // namespace

int main(int argc, char** argv) {
  const std::string folder = argc > 1 ? argv[1] : ".";
  const bool ok = wspornik(folder) & belka(folder) & pasmo(folder);
  return ok ? 0 : 1;
}
