#include "model/model.h"

#include <string>

Model kopia_modelu(const Model& m) {
  // A member added to Model must be copied here as well.
  static_assert(sizeof(Model) == 776, "Model changed: copy the new member in kopia_modelu");
  Model k;
  k.ne = m.ne;
  k.nn = m.nn;
  k.nq = m.nq;
  k.nd = m.nd;
  k.nl = m.nl;
  k.nm = m.nm;
  k.maxpr = m.maxpr;
  k.nbw = m.nbw;
  k.th = m.th;
  k.x = m.x.kopia();
  k.noc = m.noc.kopia();
  k.mat = m.mat.kopia();
  k.pm = m.pm.kopia();
  k.Prz = m.Prz.kopia();
  k.Ez = m.Ez.kopia();
  k.Sprz = m.Sprz.kopia();
  k.nu = m.nu.kopia();
  k.u = m.u.kopia();
  k.si = m.si.kopia();
  k.f = m.f.kopia();
  k.react = m.react.kopia();
  k.napr = m.napr.kopia();
  k.ww = m.ww.kopia();
  k.d = m.d.kopia();
  k.b = m.b.kopia();
  k.db = m.db.kopia();
  k.se = m.se.kopia();
  k.q = m.q.kopia();
  k.str = m.str.kopia();
  k.EE = m.EE.kopia();
  k.Pusty = m.Pusty;
  k.obliczono = m.obliczono;
  k.j_grupa = m.j_grupa;
  k.s_grp = m.s_grp.kopia();
  k.i_grp = m.i_grp;
  k.cnst = m.cnst;
  k.blad = m.blad;
  k.blad1 = m.blad1;
  return k;
}

void przydziel_robocze(Model& m) {
  m.d.przydziel(1, 3, 1, 3);
  m.b.przydziel(1, 3, 1, 6);
  m.db.przydziel(1, 3, 1, 6);
  m.se.przydziel(1, 6, 1, 6);
  m.q.przydziel(1, 6);
  m.str.przydziel(1, 3);
}

void zwolnij_robocze(Model& m) {
  m.d.zwolnij();
  m.b.zwolnij();
  m.db.zwolnij();
  m.se.zwolnij();
  m.q.zwolnij();
  m.str.zwolnij();
}

void zwolnij_tablice(Model& m) {
  if (m.j_grupa == 1) m.s_grp.zwolnij();
  m.j_grupa = 0;
  m.i_grp = 0;
  m.x.zwolnij();
  m.f.zwolnij();
  m.si.zwolnij();
  m.ww.zwolnij();
  m.nn = m.nq = 0;
  m.noc.zwolnij();
  m.mat.zwolnij();
  m.napr.zwolnij();
  m.EE.zwolnij();
  m.ne = 0;
  m.pm.zwolnij();
  m.Ez.zwolnij();
  m.Sprz.zwolnij();
  m.Prz.zwolnij();
  m.nm = 0;
  m.nu.zwolnij();
  m.u.zwolnij();
  m.react.zwolnij();
  m.nd = 0;
  zwolnij_robocze(m);
}

namespace {

template <class T>
bool wektor_ok(const Wektor<T>& v, long n) {
  return n <= 0 || (v.istnieje() && v.lo() == 1 && v.hi() == n);
}

template <class T>
bool macierz_ok(const Macierz<T>& a, long rows, long cols) {
  return rows <= 0 || (a.istnieje() && a.rl() == 1 && a.rh() == rows && a.cl() == 1 && a.ch() == cols);
}

}  // namespace

bool sprawdz_niezmienniki(const Model& m, std::string* powod) {
  auto zle = [&](const std::string& p) {
    if (powod) *powod = p;
    return false;
  };
  if (m.ne < 0 || m.nn < 0 || m.nd < 0 || m.nm < 0 || m.maxpr < 0) return zle("ujemny licznik");
  if (m.nq != 2 * m.nn) return zle("nq != 2*nn");
  if (m.Pusty == 1) {
    if (m.obliczono == 1) return zle("obliczono przy Pusty");
    if (m.j_grupa == 1) return zle("grupa bez modelu");
    return true;
  }
  if (!macierz_ok(m.x, m.nn, 2)) return zle("x");
  if (!wektor_ok(m.si, m.nq)) return zle("si");
  if (!wektor_ok(m.f, m.nq)) return zle("f");
  if (!macierz_ok(m.ww, m.nq, 4)) return zle("ww");
  if (!macierz_ok(m.noc, m.ne, 3)) return zle("noc");
  if (!wektor_ok(m.mat, m.ne)) return zle("mat");
  if (!macierz_ok(m.napr, m.ne, 4)) return zle("napr");
  if (!macierz_ok(m.pm, m.nm, 2)) return zle("pm");
  if (!wektor_ok(m.nu, m.nd)) return zle("nu");
  if (!wektor_ok(m.u, m.nd)) return zle("u");
  if (!wektor_ok(m.react, m.nd)) return zle("react");
  if (m.nm > 0) {
    if (!wektor_ok(m.Prz, m.nm)) return zle("Prz");
    if (!macierz_ok(m.Ez, m.nm, m.maxpr)) return zle("Ez");
    if (!macierz_ok(m.Sprz, m.nm, m.maxpr)) return zle("Sprz");
    for (int i = 1; i <= m.nm; ++i)
      if (m.Prz[i] < 1 || m.Prz[i] > m.maxpr) return zle("Prz[" + std::to_string(i) + "] poza 1..maxpr");
  }
  if (!m.d.istnieje() || !m.b.istnieje() || !m.db.istnieje() || !m.se.istnieje() || !m.q.istnieje() ||
      !m.str.istnieje())
    return zle("brak tablic roboczych elementu");
  for (int e = 1; e <= m.ne; ++e) {
    for (int k = 1; k <= 3; ++k)
      if (m.noc[e][k] < 1 || m.noc[e][k] > m.nn) return zle("noc[" + std::to_string(e) + "] poza 1..nn");
    if (m.mat[e] < 1 || m.mat[e] > m.nm) return zle("mat[" + std::to_string(e) + "] poza 1..nm");
  }
  for (int j = 1; j <= m.nd; ++j)
    if (m.nu[j] < 1 || m.nu[j] > m.nq) return zle("nu[" + std::to_string(j) + "] poza 1..nq");
  if (m.j_grupa == 1) {
    if (m.i_grp < 1 || !wektor_ok(m.s_grp, m.i_grp)) return zle("s_grp");
    for (int j = 1; j <= m.i_grp; ++j)
      if (m.s_grp[j] < 1 || m.s_grp[j] > m.nn) return zle("s_grp poza 1..nn");
  }
  return true;
}
