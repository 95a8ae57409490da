// The exports of a large model: a cantilever of 223 x 223 cells (99,458
// elements, 50,176 nodes) with results, written as a .vtu file, and its
// Huber map (with the default view and alone) as an SVG picture of a
// 1280 x 800 window (100 x 100 cells too, the size a report would show).
// Each case includes writing the file; the sizes are reported as counters.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <map>
#include <memory>
#include <string>

#include "app/okno.h"
#include "cicha_platforma.h"
#include "io/vtu.h"
#include "model/plik.h"
#include "view/svg.h"
#include "wspornik_wyniki.h"

namespace {

struct Stanowisko {
  Model m;
  CichaPlatforma p;
  _OKNO_ okno{m, p};
  explicit Stanowisko(int n) { wspornik_z_wynikami(m, n, n, 10.0f, 10.0f); }
};

Stanowisko& stanowisko(int n) {
  static std::map<int, std::unique_ptr<Stanowisko>> s;
  auto& w = s[n];
  if (!w) w = std::make_unique<Stanowisko>(n);
  return *w;
}

std::string plik(const char* nazwa) { return "/tmp/skorba_bench_" + std::to_string(::getpid()) + nazwa; }

void BM_Vtu(benchmark::State& st) {
  auto& s = stanowisko(static_cast<int>(st.range(0)));
  const PrzebiegVtu p{7, 1.5f};
  const std::string cel = plik(".vtu");
  std::size_t rozmiar = 0;
  for (auto _ : st) {
    const std::string t = tekst_vtu(s.m, &p);
    if (!zapisz_plik_atomowo(cel, t.data(), t.size())) st.SkipWithError("zapis");
    rozmiar = t.size();
  }
  ::unlink(cel.c_str());
  st.counters["bajty"] = static_cast<double>(rozmiar);
}
BENCHMARK(BM_Vtu)->Arg(223)->Unit(benchmark::kMillisecond);

// The Huber map at 200 levels; range(1) = 1 with the default view (mesh,
// node marks and numbers, supports, forces), 0 the map alone.
void BM_Svg_mapa_Hubera(benchmark::State& st) {
  auto& s = stanowisko(static_cast<int>(st.range(0)));
  _OKNO_& o = s.okno;
  o.p_napr = 1;
  o.p_rn = 4;
  o.iizol = 200;
  const bool widok = st.range(1) != 0;
  o.p_siatka = o.p_wez = o.p_n_wezl = o.p_podp = o.p_sily = widok ? 1 : 0;
  const std::string cel = plik(".svg");
  std::size_t rozmiar = 0;
  for (auto _ : st) {
    SvgCanvas c(1280, 800);
    o.Paint(c);
    const std::string d = c.dokument();
    if (!zapisz_plik_atomowo(cel, d.data(), d.size())) st.SkipWithError("zapis");
    rozmiar = d.size();
  }
  ::unlink(cel.c_str());
  st.counters["bajty"] = static_cast<double>(rozmiar);
}
BENCHMARK(BM_Svg_mapa_Hubera)
    ->Args({223, 0})
    ->Args({223, 1})
    ->Args({100, 0})
    ->Args({100, 1})
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
