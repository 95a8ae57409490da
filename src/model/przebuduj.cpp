#include "model/przebuduj.h"

#include <cstddef>

Maska maska(int n, std::initializer_list<int> numery) {
  Maska m(static_cast<std::size_t>(std::max(n, 0)) + 1, 0);
  for (int k : numery)
    if (k >= 1 && k <= n) m[static_cast<std::size_t>(k)] = 1;
  return m;
}

Przenumerowanie przenumeruj(const Maska& usun, int n) {
  Przenumerowanie p;
  p.stare = std::max(n, 0);
  p.nowy.assign(static_cast<std::size_t>(p.stare) + 1, 0);
  for (int i = 1; i <= p.stare; ++i) {
    const bool precz = static_cast<std::size_t>(i) < usun.size() && usun[static_cast<std::size_t>(i)];
    if (!precz) p.nowy[static_cast<std::size_t>(i)] = ++p.nowe;
  }
  return p;
}

namespace {

// f is the load vector of the next analysis: outside an analysis it holds
// the forces.
void odnow_wyniki_wezlow(Model& m) {
  przebuduj::odnow(m.f, m.nq);
  for (int i = 1; i <= m.nq; ++i) m.f[i] = m.si[i];
  przebuduj::odnow(m.ww, m.nq, 4);
}

}  // namespace

// --- nodes ---------------------------------------------------------------------------------

int dodaj_wezly(Model& m, int ile) {
  const int pierwszy = m.nn + 1;
  if (ile <= 0) return pierwszy;
  m.nn += ile;
  m.nq = 2 * m.nn;
  przebuduj::zmien(m.x, m.nn, 2);
  przebuduj::zmien(m.si, m.nq);
  odnow_wyniki_wezlow(m);
  return pierwszy;
}

Przenumerowanie usun_wezly(Model& m, const Maska& usun) {
  const Przenumerowanie p = przenumeruj(usun, m.nn);
  if (p.nowe == p.stare) return p;
  zwolnij_grupe(m);

  // What cannot exist without its nodes goes first.
  Maska el = maska(m.ne);
  bool sa_elementy = false;
  for (int e = 1; e <= m.ne; ++e)
    for (int k = 1; k <= 3; ++k)
      if (!p(m.noc[e][k])) el[static_cast<std::size_t>(e)] = 1, sa_elementy = true;
  if (sa_elementy) usun_elementy(m, el);
  Maska pd = maska(m.nd);
  bool sa_podpory = false;
  for (int j = 1; j <= m.nd; ++j)
    if (!p((m.nu[j] + 1) / 2)) pd[static_cast<std::size_t>(j)] = 1, sa_podpory = true;
  if (sa_podpory) usun_podpory(m, pd);

  przebuduj::zachowaj_wiersze(m.x, p);
  przebuduj::zachowaj_pary(m.si, p);
  m.nn = p.nowe;
  m.nq = 2 * m.nn;
  odnow_wyniki_wezlow(m);
  for (int e = 1; e <= m.ne; ++e)
    for (int k = 1; k <= 3; ++k) m.noc[e][k] = p(m.noc[e][k]);
  for (int j = 1; j <= m.nd; ++j) {
    const int stary = (m.nu[j] + 1) / 2;
    const int x_czy_y = m.nu[j] - (2 * stary - 1);  // 0 for X, 1 for Y
    m.nu[j] = 2 * p(stary) - 1 + x_czy_y;
  }
  return p;
}

// --- elements -------------------------------------------------------------------------------

int dodaj_elementy(Model& m, int ile) {
  const int pierwszy = m.ne + 1;
  if (ile <= 0) return pierwszy;
  m.ne += ile;
  przebuduj::zmien(m.noc, m.ne, 3);
  przebuduj::zmien(m.mat, m.ne);
  przebuduj::odnow(m.napr, m.ne, 4);
  return pierwszy;
}

Przenumerowanie usun_elementy(Model& m, const Maska& usun) {
  const Przenumerowanie p = przenumeruj(usun, m.ne);
  if (p.nowe == p.stare) return p;
  przebuduj::zachowaj_wiersze(m.noc, p);
  przebuduj::zachowaj(m.mat, p);
  m.ne = p.nowe;
  przebuduj::odnow(m.napr, m.ne, 4);
  return p;
}

// --- materials ------------------------------------------------------------------------------

int dodaj_materialy(Model& m, int ile) {
  const int pierwszy = m.nm + 1;
  if (ile <= 0) return pierwszy;
  m.nm += ile;
  przebuduj::zmien(m.pm, m.nm, 2);
  przebuduj::zmien(m.Prz, m.nm);
  przebuduj::zmien(m.Ez, m.nm, m.maxpr);
  przebuduj::zmien(m.Sprz, m.nm, m.maxpr);
  return pierwszy;
}

Przenumerowanie usun_materialy(Model& m, const Maska& usun) {
  const Przenumerowanie p = przenumeruj(usun, m.nm);
  if (p.nowe == p.stare) return p;
  Maska el = maska(m.ne);
  bool sa_elementy = false;
  for (int e = 1; e <= m.ne; ++e)
    if (!p(m.mat[e])) el[static_cast<std::size_t>(e)] = 1, sa_elementy = true;
  if (sa_elementy) usun_elementy(m, el);

  przebuduj::zachowaj_wiersze(m.pm, p);
  przebuduj::zachowaj(m.Prz, p);
  przebuduj::zachowaj_wiersze(m.Ez, p);
  przebuduj::zachowaj_wiersze(m.Sprz, p);
  m.nm = p.nowe;
  for (int e = 1; e <= m.ne; ++e) m.mat[e] = p(m.mat[e]);
  return p;
}

void zmien_szerokosc_materialow(Model& m, int maxpr) {
  m.maxpr = std::max(maxpr, 0);
  przebuduj::zmien(m.Ez, m.nm, m.maxpr);
  przebuduj::zmien(m.Sprz, m.nm, m.maxpr);
}

int najwiecej_przedzialow(const Model& m) {
  int w = 0;
  for (int i = 1; i <= m.nm; ++i) w = std::max(w, m.Prz[i]);
  return w;
}

// --- supports --------------------------------------------------------------------------------

int dodaj_podpory(Model& m, int ile) {
  const int pierwszy = m.nd + 1;
  if (ile <= 0) return pierwszy;
  m.nd += ile;
  przebuduj::zmien(m.nu, m.nd);
  przebuduj::zmien(m.u, m.nd);
  przebuduj::odnow(m.react, m.nd);
  return pierwszy;
}

Przenumerowanie usun_podpory(Model& m, const Maska& usun) {
  const Przenumerowanie p = przenumeruj(usun, m.nd);
  if (p.nowe == p.stare) return p;
  przebuduj::zachowaj(m.nu, p);
  przebuduj::zachowaj(m.u, p);
  m.nd = p.nowe;
  przebuduj::odnow(m.react, m.nd);
  return p;
}

PodporyStopni rozloz_podpory(const Model& m) {
  PodporyStopni p;
  p.jest.assign(static_cast<std::size_t>(m.nq) + 1, 0);
  p.u.assign(static_cast<std::size_t>(m.nq) + 1, 0.0f);
  for (int j = 1; j <= m.nd; ++j) {
    const int s = m.nu[j];
    if (s < 1 || s > m.nq) continue;
    p.jest[static_cast<std::size_t>(s)] = 1;
    p.u[static_cast<std::size_t>(s)] = m.u[j];
  }
  return p;
}

void zloz_podpory(Model& m, const PodporyStopni& p) {
  const int stopnie = std::min(m.nq, static_cast<int>(p.jest.size()) - 1);
  int ile = 0;
  for (int s = 1; s <= stopnie; ++s) ile += p.jest[static_cast<std::size_t>(s)] ? 1 : 0;
  m.nd = ile;
  przebuduj::odnow(m.nu, ile);
  przebuduj::odnow(m.u, ile);
  przebuduj::odnow(m.react, ile);
  int l = 0;
  for (int s = 1; s <= stopnie; ++s)
    if (p.jest[static_cast<std::size_t>(s)]) {
      ++l;
      m.nu[l] = s;
      m.u[l] = static_cast<std::size_t>(s) < p.u.size() ? p.u[static_cast<std::size_t>(s)] : 0.0f;
    }
}

// --- group selection -----------------------------------------------------------------------

void zwolnij_grupe(Model& m) {
  m.s_grp.zwolnij();
  m.j_grupa = 0;
  m.i_grp = 0;
}
