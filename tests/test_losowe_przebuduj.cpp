// The resize-by-copy mechanism against a plain reference: random additions
// and removals of nodes, elements, materials and supports, random width
// changes of the interval tables, and after each step the store must equal
// the reference entry by entry and hold its invariants.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <map>
#include <random>
#include <vector>

#include "model/przebuduj.h"
#include "model_builders.h"

namespace {

struct Wzor {
  struct Material {
    float p1, p2;
    int prz;
    std::vector<float> ez, sprz;  // maxpr entries each
  };
  std::vector<std::array<float, 4>> wezly;  // x, y, si X, si Y
  std::vector<std::array<int, 4>> elementy;  // nodes, material
  std::vector<Material> materialy;
  std::vector<std::pair<int, float>> podpory;
  int maxpr = 0;
};

void porownaj(const Model& m, const Wzor& w, int krok) {
  SCOPED_TRACE("krok " + std::to_string(krok));
  std::string powod;
  ASSERT_TRUE(sprawdz_niezmienniki(m, &powod)) << powod;
  ASSERT_EQ(m.nn, static_cast<int>(w.wezly.size()));
  ASSERT_EQ(m.ne, static_cast<int>(w.elementy.size()));
  ASSERT_EQ(m.nm, static_cast<int>(w.materialy.size()));
  ASSERT_EQ(m.nd, static_cast<int>(w.podpory.size()));
  ASSERT_EQ(m.maxpr, w.maxpr);
  for (int k = 1; k <= m.nn; ++k) {
    const auto& n = w.wezly[static_cast<std::size_t>(k - 1)];
    ASSERT_EQ(m.x[k][1], n[0]);
    ASSERT_EQ(m.x[k][2], n[1]);
    ASSERT_EQ(m.si[2 * k - 1], n[2]);
    ASSERT_EQ(m.si[2 * k], n[3]);
    ASSERT_EQ(m.f[2 * k], n[3]);
  }
  for (int e = 1; e <= m.ne; ++e) {
    const auto& el = w.elementy[static_cast<std::size_t>(e - 1)];
    for (int c = 1; c <= 3; ++c) ASSERT_EQ(m.noc[e][c], el[static_cast<std::size_t>(c - 1)]);
    ASSERT_EQ(m.mat[e], el[3]);
  }
  for (int i = 1; i <= m.nm; ++i) {
    const auto& mt = w.materialy[static_cast<std::size_t>(i - 1)];
    ASSERT_EQ(m.pm[i][1], mt.p1);
    ASSERT_EQ(m.pm[i][2], mt.p2);
    ASSERT_EQ(m.Prz[i], mt.prz);
    for (int j = 1; j <= m.maxpr; ++j) {
      ASSERT_EQ(m.Ez[i][j], mt.ez[static_cast<std::size_t>(j - 1)]);
      ASSERT_EQ(m.Sprz[i][j], mt.sprz[static_cast<std::size_t>(j - 1)]);
    }
  }
  for (int j = 1; j <= m.nd; ++j) {
    ASSERT_EQ(m.nu[j], w.podpory[static_cast<std::size_t>(j - 1)].first);
    ASSERT_EQ(m.u[j], w.podpory[static_cast<std::size_t>(j - 1)].second);
  }
}

}  // namespace

TEST(LosowaPrzebudowa, EveryOperationMatchesAPlainReference) {
  std::mt19937 los(20240611u);
  auto z = [&](int n) { return n <= 0 ? 0 : static_cast<int>(los() % static_cast<unsigned>(n)); };
  auto liczba = [&] { return static_cast<float>(z(2001) - 1000) / 8.0f; };
  Model m;
  zbuduj(m, OpisModelu{});
  Wzor w;
  for (int krok = 0; krok < 3000; ++krok) {
    auto losowa_maska = [&](int n) {
      Maska mk = maska(n);
      for (int i = 1; i <= n; ++i) mk[static_cast<std::size_t>(i)] = z(4) == 0;
      return mk;
    };
    switch (z(10)) {
      case 0: {  // nodes in
        const int ile = 1 + z(4);
        const int k0 = dodaj_wezly(m, ile);
        for (int k = k0; k < k0 + ile; ++k) {
          const std::array<float, 4> n = {liczba(), liczba(), z(2) ? liczba() : 0.0f, liczba()};
          m.x[k][1] = n[0];
          m.x[k][2] = n[1];
          m.si[2 * k - 1] = m.f[2 * k - 1] = n[2];
          m.si[2 * k] = m.f[2 * k] = n[3];
          w.wezly.push_back(n);
        }
        break;
      }
      case 1: {  // nodes out, and what hangs on them
        if (m.nn == 0) break;
        const Maska mk = losowa_maska(m.nn);
        const Przenumerowanie p = usun_wezly(m, mk);
        std::vector<int> nowy(w.wezly.size() + 1, 0);
        decltype(w.wezly) wezly;
        for (std::size_t k = 1; k <= w.wezly.size(); ++k)
          if (!mk[k]) {
            wezly.push_back(w.wezly[k - 1]);
            nowy[k] = static_cast<int>(wezly.size());
          }
        for (std::size_t k = 1; k < nowy.size(); ++k) ASSERT_EQ(p(static_cast<int>(k)), nowy[k]);
        w.wezly = wezly;
        decltype(w.elementy) el;
        for (auto e : w.elementy)
          if (nowy[static_cast<std::size_t>(e[0])] && nowy[static_cast<std::size_t>(e[1])] &&
              nowy[static_cast<std::size_t>(e[2])]) {
            for (int c = 0; c < 3; ++c) e[static_cast<std::size_t>(c)] = nowy[static_cast<std::size_t>(e[static_cast<std::size_t>(c)])];
            el.push_back(e);
          }
        w.elementy = el;
        decltype(w.podpory) pd;
        for (auto [s, u] : w.podpory) {
          const int k = (s + 1) / 2;
          if (nowy[static_cast<std::size_t>(k)]) pd.push_back({s + 2 * (nowy[static_cast<std::size_t>(k)] - k), u});
        }
        w.podpory = pd;
        break;
      }
      case 2: {  // elements in
        if (m.nn == 0 || m.nm == 0) break;
        const int ile = 1 + z(3);
        const int e0 = dodaj_elementy(m, ile);
        for (int e = e0; e < e0 + ile; ++e) {
          const std::array<int, 4> el = {1 + z(m.nn), 1 + z(m.nn), 1 + z(m.nn), 1 + z(m.nm)};
          for (int c = 1; c <= 3; ++c) m.noc[e][c] = el[static_cast<std::size_t>(c - 1)];
          m.mat[e] = el[3];
          w.elementy.push_back(el);
        }
        break;
      }
      case 3: {  // elements out
        const Maska mk = losowa_maska(m.ne);
        usun_elementy(m, mk);
        decltype(w.elementy) el;
        for (std::size_t e = 1; e <= w.elementy.size(); ++e)
          if (!mk[e]) el.push_back(w.elementy[e - 1]);
        w.elementy = el;
        break;
      }
      case 4: {  // materials in
        if (m.maxpr == 0) {
          zmien_szerokosc_materialow(m, 1);
          w.maxpr = 1;
        }
        const int i = dodaj_materialy(m, 1);
        Wzor::Material mt{liczba(), 0.3f, 1 + z(m.maxpr), std::vector<float>(static_cast<std::size_t>(m.maxpr), 0.0f),
                          std::vector<float>(static_cast<std::size_t>(m.maxpr), 0.0f)};
        m.pm[i][1] = mt.p1;
        m.pm[i][2] = mt.p2;
        m.Prz[i] = mt.prz;
        for (int j = 1; j <= mt.prz; ++j) {
          mt.ez[static_cast<std::size_t>(j - 1)] = m.Ez[i][j] = 1000.0f + static_cast<float>(z(1000));
          mt.sprz[static_cast<std::size_t>(j - 1)] = m.Sprz[i][j] = 1.0f + static_cast<float>(z(100));
        }
        w.materialy.push_back(mt);
        break;
      }
      case 5: {  // materials out, with their elements
        if (m.nm == 0) break;
        const Maska mk = losowa_maska(m.nm);
        usun_materialy(m, mk);
        std::vector<int> nowy(w.materialy.size() + 1, 0);
        decltype(w.materialy) mats;
        for (std::size_t i = 1; i <= w.materialy.size(); ++i)
          if (!mk[i]) {
            mats.push_back(w.materialy[i - 1]);
            nowy[i] = static_cast<int>(mats.size());
          }
        w.materialy = mats;
        decltype(w.elementy) el;
        for (auto e : w.elementy)
          if (nowy[static_cast<std::size_t>(e[3])]) {
            e[3] = nowy[static_cast<std::size_t>(e[3])];
            el.push_back(e);
          }
        w.elementy = el;
        break;
      }
      case 6: {  // width of the interval tables
        const int szer = std::max(najwiecej_przedzialow(m), z(6));
        zmien_szerokosc_materialow(m, szer);
        for (auto& mt : w.materialy) {
          mt.ez.resize(static_cast<std::size_t>(szer), 0.0f);
          mt.sprz.resize(static_cast<std::size_t>(szer), 0.0f);
        }
        w.maxpr = szer;
        break;
      }
      case 7: {  // supports in
        if (m.nn == 0) break;
        const int ile = 1 + z(3);
        const int j0 = dodaj_podpory(m, ile);
        for (int j = j0; j < j0 + ile; ++j) {
          const std::pair<int, float> p = {1 + z(m.nq), liczba()};
          m.nu[j] = p.first;
          m.u[j] = p.second;
          w.podpory.push_back(p);
        }
        break;
      }
      case 8: {  // supports out
        const Maska mk = losowa_maska(m.nd);
        usun_podpory(m, mk);
        decltype(w.podpory) pd;
        for (std::size_t j = 1; j <= w.podpory.size(); ++j)
          if (!mk[j]) pd.push_back(w.podpory[j - 1]);
        w.podpory = pd;
        break;
      }
      case 9: {  // supports spread and gathered: sorted, one entry per degree of freedom
        zloz_podpory(m, rozloz_podpory(m));
        std::map<int, float> po;
        for (auto [s, u] : w.podpory) po[s] = u;
        w.podpory.assign(po.begin(), po.end());
        break;
      }
    }
    porownaj(m, w, krok);
    if (HasFatalFailure()) return;
  }
}

TEST(LosowaPrzebudowa, SingleArraysGrowShrinkAndCompact) {
  Wektor<int> v(1, 5);
  for (int i = 1; i <= 5; ++i) v[i] = i * 10;
  przebuduj::zmien(v, 7);
  EXPECT_EQ(v.hi(), 7);
  EXPECT_EQ(v[5], 50);
  EXPECT_EQ(v[7], 0);
  przebuduj::zmien(v, 2);
  EXPECT_EQ(v.hi(), 2);
  EXPECT_EQ(v[2], 20);
  przebuduj::zmien(v, 0);
  EXPECT_FALSE(v.istnieje());

  Macierz<float> a(1, 3, 1, 2);
  for (int i = 1; i <= 3; ++i)
    for (int j = 1; j <= 2; ++j) a[i][j] = static_cast<float>(10 * i + j);
  przebuduj::zmien(a, 2, 4);
  EXPECT_EQ(a[2][2], 22.0f);
  EXPECT_EQ(a[2][4], 0.0f);
  const Przenumerowanie p = przenumeruj(maska(2, {1}), 2);
  przebuduj::zachowaj_wiersze(a, p);
  EXPECT_EQ(a.rh(), 1);
  EXPECT_EQ(a[1][1], 21.0f);

  Wektor<float> pary(1, 6);
  for (int i = 1; i <= 6; ++i) pary[i] = static_cast<float>(i);
  przebuduj::zachowaj_pary(pary, przenumeruj(maska(3, {2}), 3));
  EXPECT_EQ(pary.hi(), 4);
  EXPECT_EQ(pary[3], 5.0f);
  EXPECT_EQ(pary[4], 6.0f);
  przebuduj::zachowaj_pary(pary, przenumeruj(maska(2, {1, 2}), 2));
  EXPECT_FALSE(pary.istnieje());
}
