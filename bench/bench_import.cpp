// Benchmark of the Gmsh mesh import on a plate of about 100,000 nodes: a
// 316 x 316 grid of nodes with shaken inner nodes, two triangles per cell,
// node tags in random order (so the renumbering has work to do), the left
// edge clamped, a force on the right edge, one physical surface; written
// as MSH 4.1 text and binary.  Measured: the whole import (reading,
// checks, reverse Cuthill-McKee, the model), and the reading and the
// building on their own.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <numeric>
#include <random>
#include <string>
#include <vector>

#include "io/import_siatki.h"

namespace {

constexpr int kBok = 316;  // nodes per side: 99,856 nodes, 198,450 triangles

struct Plyta {
  std::vector<double> x, y;                  // by node index
  std::vector<std::uint64_t> tag;            // by node index
  std::vector<std::array<int, 3>> trojkaty;  // node indexes
  std::vector<std::array<int, 2>> lewa, prawa;
};

Plyta plyta() {
  Plyta p;
  std::mt19937_64 los(12345);
  std::uniform_real_distribution<double> drgnij(-0.3, 0.3);
  const double h = 100.0 / (kBok - 1);
  for (int j = 0; j < kBok; ++j)
    for (int i = 0; i < kBok; ++i) {
      const bool brzeg = i == 0 || j == 0 || i == kBok - 1 || j == kBok - 1;
      p.x.push_back(h * (i + (brzeg ? 0 : drgnij(los))));
      p.y.push_back(h * (j + (brzeg ? 0 : drgnij(los))));
    }
  p.tag.resize(p.x.size());
  std::iota(p.tag.begin(), p.tag.end(), 1);
  std::shuffle(p.tag.begin(), p.tag.end(), los);
  auto w = [](int i, int j) { return j * kBok + i; };
  for (int j = 0; j + 1 < kBok; ++j)
    for (int i = 0; i + 1 < kBok; ++i) {
      p.trojkaty.push_back({w(i, j), w(i + 1, j), w(i + 1, j + 1)});
      p.trojkaty.push_back({w(i, j), w(i + 1, j + 1), w(i, j + 1)});
    }
  for (int j = 0; j + 1 < kBok; ++j) {
    p.lewa.push_back({w(0, j), w(0, j + 1)});
    p.prawa.push_back({w(kBok - 1, j), w(kBok - 1, j + 1)});
  }
  return p;
}

class Pisarz {
 public:
  explicit Pisarz(bool bin) : bin_(bin) {}
  void tekst(const std::string& t) { s_ += t; }
  void rozmiar(std::uint64_t v) { bin_ ? surowe(v) : liczba(std::to_string(v)); }
  void calkowita(std::int32_t v) { bin_ ? surowe(v) : liczba(std::to_string(v)); }
  void rzeczywista(double v) {
    if (bin_) return surowe(v);
    char b[32];
    std::snprintf(b, sizeof b, "%.16g", v);
    liczba(b);
  }
  void wiersz() {
    if (!bin_) s_ += '\n';
  }
  std::string wynik() { return std::move(s_); }

 private:
  template <class T>
  void surowe(T v) {
    s_.append(reinterpret_cast<const char*>(&v), sizeof v);
  }
  void liczba(const std::string& t) {
    if (!s_.empty() && s_.back() != '\n') s_ += ' ';
    s_ += t;
  }
  bool bin_;
  std::string s_;
};

std::string msh41(const Plyta& p, bool bin) {
  Pisarz w(bin);
  w.tekst(bin ? "$MeshFormat\n4.1 1 8\n" : "$MeshFormat\n4.1 0 8\n");
  if (bin) w.calkowita(1);
  w.tekst(std::string(bin ? "\n" : "") + "$EndMeshFormat\n");
  w.tekst("$PhysicalNames\n3\n1 1 \"XY\"\n1 2 \"FX=1000\"\n2 3 \"stal\"\n$EndPhysicalNames\n$Entities\n");
  for (std::uint64_t n : {0, 2, 1, 0}) w.rozmiar(n);
  w.wiersz();
  const double pudla[3][6] = {{0, 0, 0, 0, 100, 0}, {100, 0, 0, 100, 100, 0}, {0, 0, 0, 100, 100, 0}};
  for (int e = 0; e < 3; ++e) {
    w.calkowita(e < 2 ? e + 1 : 1);
    for (double v : pudla[e]) w.rzeczywista(v);
    w.rozmiar(1);
    w.calkowita(e + 1);
    w.rozmiar(0);
    w.wiersz();
  }
  w.tekst(std::string(bin ? "\n" : "") + "$EndEntities\n$Nodes\n");
  const std::uint64_t n = p.x.size();
  for (std::uint64_t v : {std::uint64_t{1}, n, std::uint64_t{1}, n}) w.rozmiar(v);
  w.wiersz();
  w.calkowita(2);
  w.calkowita(1);
  w.calkowita(0);
  w.rozmiar(n);
  w.wiersz();
  for (std::uint64_t t : p.tag) {
    w.rozmiar(t);
    w.wiersz();
  }
  for (std::size_t i = 0; i < n; ++i) {
    w.rzeczywista(p.x[i]);
    w.rzeczywista(p.y[i]);
    w.rzeczywista(0);
    w.wiersz();
  }
  w.tekst(std::string(bin ? "\n" : "") + "$EndNodes\n$Elements\n");
  const std::uint64_t ne = p.trojkaty.size() + p.lewa.size() + p.prawa.size();
  for (std::uint64_t v : {std::uint64_t{3}, ne, std::uint64_t{1}, ne}) w.rozmiar(v);
  w.wiersz();
  std::uint64_t numer = 1;
  auto blok = [&](int wym, int encja, int typ, const auto& elementy) {
    w.calkowita(wym);
    w.calkowita(encja);
    w.calkowita(typ);
    w.rozmiar(elementy.size());
    w.wiersz();
    for (const auto& e : elementy) {
      w.rozmiar(numer++);
      for (int k : e) w.rozmiar(p.tag[static_cast<std::size_t>(k)]);
      w.wiersz();
    }
  };
  blok(1, 1, 1, p.lewa);
  blok(1, 2, 1, p.prawa);
  blok(2, 1, 2, p.trojkaty);
  w.tekst(std::string(bin ? "\n" : "") + "$EndElements\n");
  return w.wynik();
}

const std::string& plik(bool bin) {
  static const Plyta p = plyta();
  static const std::string tekst = msh41(p, false), binarny = msh41(p, true);
  return bin ? binarny : tekst;
}

const std::uint8_t* bajty(const std::string& s) { return reinterpret_cast<const std::uint8_t*>(s.data()); }

void BM_Import(benchmark::State& st) {
  const std::string& d = plik(st.range(0) != 0);
  for (auto _ : st) {
    Model m;
    WynikImportu w;
    std::string blad;
    if (!importuj_siatke(bajty(d), d.size(), m, w, blad)) st.SkipWithError(blad.c_str());
    st.counters["wezly"] = w.wezly;
    st.counters["pasmo"] = w.pasmo;
    st.counters["pasmo_pliku"] = w.pasmo_gmsh;
  }
  st.counters["MB"] = static_cast<double>(d.size()) / 1e6;
}
BENCHMARK(BM_Import)->ArgName("binarny")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_Czytanie(benchmark::State& st) {
  const std::string& d = plik(st.range(0) != 0);
  for (auto _ : st) {
    gmsh::Siatka s;
    std::string blad;
    if (!gmsh::czytaj(bajty(d), d.size(), s, blad)) st.SkipWithError(blad.c_str());
  }
}
BENCHMARK(BM_Czytanie)->ArgName("binarny")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_Budowa_modelu(benchmark::State& st) {
  const std::string& d = plik(true);
  gmsh::Siatka s;
  std::string blad;
  gmsh::czytaj(bajty(d), d.size(), s, blad);
  for (auto _ : st) {
    Model m;
    WynikImportu w;
    if (!zbuduj_model(s, m, w, blad)) st.SkipWithError(blad.c_str());
  }
}
BENCHMARK(BM_Budowa_modelu)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
