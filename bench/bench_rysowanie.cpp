// Painting of the main window into a 1280 x 800 image (and the same window
// at device-pixel ratio 2, 2560 x 1600 pixels): a cantilever of 100 x 100
// cells (20,000 elements, 10,201 nodes) with the stress field of a beam
// under an end load, as the mesh with the default view switches, without
// the numbers, the mesh lines alone, and with the Huber map at 200 levels
// (and at other level counts, to show where the time goes), with the view
// and alone; the Huber map and the mesh of a square of 707 x 707 cells.
// Each paint starts from a white image, as in the window.
#include <benchmark/benchmark.h>

#ifndef SKORBA_HAVE_QT
// Painting is measured into a QImage: without the Qt program there is nothing to measure.
int main() { return 0; }
#else

#include <QApplication>
#include <QImage>
#include <cmath>

#include "app/okno.h"
#include "app/qt/qt_canvas.h"
#include "cicha_platforma.h"
#include "model_builders.h"
#include "wspornik_wyniki.h"

namespace {

struct Stanowisko {
  Model m;
  CichaPlatforma p;
  _OKNO_ okno{m, p};
  QImage obraz{1280, 800, QImage::Format_RGB32};
  QImage obraz2{2560, 1600, QImage::Format_RGB32};  // the same window at device-pixel ratio 2
  explicit Stanowisko(int n = 100) {
    wspornik_z_wynikami(m, n, n, 10.0f, 10.0f);
    obraz2.setDevicePixelRatio(2.0);
  }
  void maluj(int dpr = 1) {
    QImage& o = dpr == 2 ? obraz2 : obraz;
    // as the window does before every paint
    o.fill(Qt::white);
    QtCanvas c(o);
    okno.Paint(c);
  }
};

Stanowisko& stanowisko() {
  static Stanowisko s;
  return s;
}

void przywroc_domyslne(_OKNO_& o) {
  o.p_napr = o.p_n_mat = o.p_n_pola = o.p_n_ele = 0;
  o.p_podp = o.p_sily = o.p_sily_nr = o.p_siatka = o.p_wez = o.p_n_wezl = 1;
  o.iizol = 200;
}

// Every case at device-pixel ratio 1 and 2 (the argument).
void BM_Siatka_domyslny_widok(benchmark::State& st) {
  auto& s = stanowisko();
  przywroc_domyslne(s.okno);
  for (auto _ : st) s.maluj(static_cast<int>(st.range(0)));
}
BENCHMARK(BM_Siatka_domyslny_widok)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

void BM_Siatka_bez_numerow(benchmark::State& st) {
  auto& s = stanowisko();
  przywroc_domyslne(s.okno);
  s.okno.p_n_wezl = 0;
  s.okno.p_sily_nr = 0;
  for (auto _ : st) s.maluj(static_cast<int>(st.range(0)));
}
BENCHMARK(BM_Siatka_bez_numerow)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

// The mesh lines alone.
void BM_Siatka_sama(benchmark::State& st) {
  auto& s = stanowisko();
  przywroc_domyslne(s.okno);
  s.okno.p_wez = s.okno.p_n_wezl = s.okno.p_podp = s.okno.p_sily = s.okno.p_sily_nr = 0;
  for (auto _ : st) s.maluj(static_cast<int>(st.range(0)));
}
BENCHMARK(BM_Siatka_sama)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

// The default view with the Huber map at 200, 20 and 1 levels.
void BM_Mapa_Hubera(benchmark::State& st) {
  auto& s = stanowisko();
  przywroc_domyslne(s.okno);
  s.okno.p_napr = 1;
  s.okno.p_rn = 4;
  s.okno.iizol = static_cast<int>(st.range(0));
  for (auto _ : st) s.maluj(static_cast<int>(st.range(1)));
}
BENCHMARK(BM_Mapa_Hubera)
    ->Args({200, 1})
    ->Args({200, 2})
    ->Args({20, 1})
    ->Args({1, 1})
    ->Unit(benchmark::kMillisecond);

void BM_Mapa_Hubera_sama(benchmark::State& st) {
  auto& s = stanowisko();
  przywroc_domyslne(s.okno);
  s.okno.p_napr = 1;
  s.okno.p_rn = 4;
  s.okno.p_siatka = s.okno.p_wez = s.okno.p_n_wezl = s.okno.p_podp = s.okno.p_sily = 0;
  for (auto _ : st) s.maluj(static_cast<int>(st.range(0)));
}
BENCHMARK(BM_Mapa_Hubera_sama)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

// A square of 707 x 707 cells (999,698 elements, 501,264 nodes, about a
// million unknowns): the Huber map with the default view, and alone.
Stanowisko& duze() {
  static Stanowisko s(707);
  return s;
}

void BM_Duzy_Mapa_Hubera(benchmark::State& st) {
  auto& s = duze();
  przywroc_domyslne(s.okno);
  s.okno.p_napr = 1;
  s.okno.p_rn = 4;
  if (st.range(0) == 0) s.okno.p_siatka = s.okno.p_wez = s.okno.p_n_wezl = s.okno.p_podp = s.okno.p_sily = 0;
  for (auto _ : st) s.maluj();
}
BENCHMARK(BM_Duzy_Mapa_Hubera)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);

void BM_Duzy_Siatka_domyslny_widok(benchmark::State& st) {
  auto& s = duze();
  przywroc_domyslne(s.okno);
  for (auto _ : st) s.maluj();
}
BENCHMARK(BM_Duzy_Siatka_domyslny_widok)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  if (qEnvironmentVariableIsSet("SKORBA_BENCH_PNG")) {
    auto& s = stanowisko();
    przywroc_domyslne(s.okno);
    s.okno.p_napr = 1;
    s.okno.p_wez = s.okno.p_n_wezl = 0;
    s.maluj(1);
    s.obraz.save(qEnvironmentVariable("SKORBA_BENCH_PNG"));
    s.maluj(2);
    s.obraz2.save(qEnvironmentVariable("SKORBA_BENCH_PNG") + ".dpr2.png");
  }
  return 0;
}

#endif  // SKORBA_HAVE_QT
