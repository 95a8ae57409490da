// Resizing the model's arrays by copy.
//
// Arrays of the store are never resized in place: a change of a count
// allocates the array again with the new bounds, copies the entries that
// survive (moving later entries down where some are removed) and releases
// the old one.  Every command that adds or removes nodes, elements,
// materials or support entries goes through the operations below, so the
// arrays that belong to one count always change together:
//
//   nodes      x, si (kept), f (re-made as a copy of si), ww (re-made empty)
//   elements   noc, mat (kept), napr (re-made empty)
//   materials  pm, Prz, Ez, Sprz (kept; Ez and Sprz are maxpr columns wide)
//   supports   nu, u (kept), react (re-made empty)
//
// and references follow the items they point to: node numbers in noc,
// degrees of freedom in nu, material numbers in mat.  A count that drops to
// 0 releases its arrays.  New entries start as zero.
//
// The operations keep the store consistent as far as the store alone can:
// removing an item also removes what cannot exist without it (the elements
// on a removed node, the support entries of a removed node, the elements of
// a removed material).  Appended elements, materials and support entries
// are zero rows that the caller fills before its command ends.  The flags
// (Pusty, obliczono) and the table windows are the caller's business.
#pragma once

#include <algorithm>
#include <initializer_list>
#include <vector>

#include "model/model.h"

// Upper limits of what a command may create.  They keep every count and
// 2*nn well inside an int and the arrays within a sane amount of memory, so
// that a mistyped number is refused instead of ending the process.
inline constexpr int kMaksWezlow = 2'000'000;
inline constexpr int kMaksElementow = 4'000'000;
inline constexpr int kMaksMaterialow = 10'000;
inline constexpr int kMaksPrzedzialow = 1'000;

// A selection of items numbered 1..n: zaznaczone[i] != 0 for the selected
// ones (index 0 is not used).
using Maska = std::vector<char>;
// A mask of n items with the listed items selected (numbers outside 1..n
// are ignored).
Maska maska(int n, std::initializer_list<int> numery = {});

// Numbers of items after a removal: nowy[i] is the new number of old item i
// (0 when it was removed); index 0 is not used.
struct Przenumerowanie {
  std::vector<int> nowy;
  int stare = 0;  // count before
  int nowe = 0;   // count after
  int operator()(int stary) const {
    return stary >= 1 && stary <= stare ? nowy[static_cast<std::size_t>(stary)] : 0;
  }
};
// The renumbering that removes the selected items of 1..n.
Przenumerowanie przenumeruj(const Maska& usun, int n);

namespace przebuduj {

// --- single arrays ---------------------------------------------------------------------
// All of them leave the array with low bound 1 (absent when the new size is 0).

// 1..n, keeping entries 1..min(old, n); new entries 0.
template <class T>
void zmien(Wektor<T>& v, long n) {
  if (n <= 0) {
    v.zwolnij();
    return;
  }
  Wektor<T> t(1, n);
  if (v.istnieje()) {
    const long k = std::min(n, v.hi());
    for (long i = std::max(1L, v.lo()); i <= k; ++i) t[i] = v[i];
  }
  v = std::move(t);
}

// [1..w][1..k], keeping the block the old and the new bounds share; the
// rest 0.
template <class T>
void zmien(Macierz<T>& a, long w, long k) {
  if (w <= 0 || k <= 0) {
    a.zwolnij();
    return;
  }
  Macierz<T> t(1, w, 1, k);
  if (a.istnieje()) {
    const long wk = std::min(w, a.rh()), kk = std::min(k, a.ch());
    for (long i = std::max(1L, a.rl()); i <= wk; ++i)
      for (long j = std::max(1L, a.cl()); j <= kk; ++j) t[i][j] = a[i][j];
  }
  a = std::move(t);
}

// Re-made with n entries (w x k) without keeping anything: arrays that hold
// results.
template <class T>
void odnow(Wektor<T>& v, long n) {
  if (n <= 0)
    v.zwolnij();
  else
    v.przydziel(1, n);
}
template <class T>
void odnow(Macierz<T>& a, long w, long k) {
  if (w <= 0 || k <= 0)
    a.zwolnij();
  else
    a.przydziel(1, w, 1, k);
}

// Keeps entry i at p.nowy[i] for every surviving i; p.nowe entries.
template <class T>
void zachowaj(Wektor<T>& v, const Przenumerowanie& p) {
  if (p.nowe <= 0) {
    v.zwolnij();
    return;
  }
  Wektor<T> t(1, p.nowe);
  for (int i = 1; i <= p.stare; ++i)
    if (p(i)) t[p(i)] = v[i];
  v = std::move(t);
}
// Keeps row i as row p.nowy[i]; the columns stay.
template <class T>
void zachowaj_wiersze(Macierz<T>& a, const Przenumerowanie& p) {
  const long k = a.ch();
  if (p.nowe <= 0 || k <= 0) {
    a.zwolnij();
    return;
  }
  Macierz<T> t(1, p.nowe, 1, k);
  for (int i = 1; i <= p.stare; ++i)
    if (p(i))
      for (long j = 1; j <= k; ++j) t[p(i)][j] = a[i][j];
  a = std::move(t);
}
// A vector with two entries per node (2i-1, 2i): keeps both entries of
// node i at node p.nowy[i].
template <class T>
void zachowaj_pary(Wektor<T>& v, const Przenumerowanie& p) {
  if (p.nowe <= 0) {
    v.zwolnij();
    return;
  }
  Wektor<T> t(1, 2L * p.nowe);
  for (int i = 1; i <= p.stare; ++i)
    if (const int n = p(i)) {
      t[2L * n - 1] = v[2L * i - 1];
      t[2L * n] = v[2L * i];
    }
  v = std::move(t);
}

}  // namespace przebuduj

// --- nodes -------------------------------------------------------------------------------
// Appends `ile` nodes at (0, 0) without forces; returns the number of the
// first new node.
int dodaj_wezly(Model& m, int ile);
// Removes the selected nodes of 1..nn: coordinates and forces move with
// their nodes, later node numbers in noc and degrees of freedom in nu move
// down; elements that use a removed node and the support entries of removed
// nodes go with them.  The group selection is dropped (its node numbers
// would no longer be right).  Returns the node renumbering.
Przenumerowanie usun_wezly(Model& m, const Maska& usun);

// --- elements ------------------------------------------------------------------------------
// Appends `ile` elements (zero rows, to be filled by the caller); returns
// the number of the first new element.
int dodaj_elementy(Model& m, int ile);
// Removes the selected elements of 1..ne; later elements move down.
Przenumerowanie usun_elementy(Model& m, const Maska& usun);

// --- materials -------------------------------------------------------------------------------
// Appends `ile` materials (zero rows, to be filled by the caller: Prz at
// least 1, pm, Ez, Sprz); returns the number of the first new material.
int dodaj_materialy(Model& m, int ile);
// Removes the selected materials of 1..nm together with the elements that
// use them; later material numbers in mat move down.  maxpr stays.
Przenumerowanie usun_materialy(Model& m, const Maska& usun);
// Makes Ez and Sprz `maxpr` columns wide, keeping the columns the old and
// the new width share (new columns 0), and sets m.maxpr.
void zmien_szerokosc_materialow(Model& m, int maxpr);
// The largest interval count of the materials (0 when there is none).
int najwiecej_przedzialow(const Model& m);

// --- supports ---------------------------------------------------------------------------------
// Appends `ile` support entries (zero rows, to be filled by the caller);
// returns the number of the first new entry.
int dodaj_podpory(Model& m, int ile);
// Removes the selected entries of 1..nd; the others keep their order.
Przenumerowanie usun_podpory(Model& m, const Maska& usun);

// The supports spread over the degrees of freedom 1..nq: jest[j] != 0 when
// j is restrained, u[j] its prescribed displacement (index 0 unused).
struct PodporyStopni {
  std::vector<char> jest;
  std::vector<float> u;
};
// From the support list; a later entry of the same degree of freedom
// overrides an earlier one.
PodporyStopni rozloz_podpory(const Model& m);
// Rebuilds the support list from the spread form: one entry per restrained
// degree of freedom, in ascending order; react re-made empty.
void zloz_podpory(Model& m, const PodporyStopni& p);

// --- group selection -------------------------------------------------------------------------
// Drops the group selection (j_grupa = 0, s_grp released).
void zwolnij_grupe(Model& m);
