// Painting of the main window into a 1280 x 800 image (and the same window
// at device-pixel ratio 2, 2560 x 1600 pixels): a cantilever of 100 x 100
// cells (20,000 elements, 10,201 nodes) with the stress field of a beam
// under an end load, as the mesh with the default view switches, without
// the numbers, the mesh lines alone, and with the Huber map at 200 levels
// (and at other level counts, to show where the time goes), with the view
// and alone.  Each paint starts from a white image, as in the window.
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

namespace {

// A platform that answers nothing: painting never asks.
struct CichaPlatforma : Platform {
  int MessageBox(const std::string&, const std::string&, Ikona, Przyciski) override { return IDOK; }
  int Formularz(::Formularz&) override { return IDCANCEL; }
  bool OtworzPlik(OpisPliku&) override { return false; }
  bool ZapiszPlik(OpisPliku&) override { return false; }
  void UstawTytul(const std::string&) override {}
  void UstawKursor(Kursor) override {}
  void Odswiez() override {}
  void Zamknij() override {}
  void OtworzDokument(const std::string&) override {}
  int PokazOkno(std::unique_ptr<OknoTabeli>) override { return 1; }
  void ZniszczOkno(int) override {}
  bool OknoOtwarte(int) const override { return false; }
  void UstawWspolrzedne(const std::string&) override {}
};

// nx x ny cells over lx x ly, two triangles per cell, fixed at x = 0,
// a downward force at the free end; results of a cantilever beam.
void wspornik(Model& m, int nx, int ny, float lx, float ly) {
  zwolnij_tablice(m);
  m.nn = (nx + 1) * (ny + 1);
  m.nq = 2 * m.nn;
  m.ne = 2 * nx * ny;
  m.nm = 1;
  m.maxpr = 1;
  m.nd = 2 * (ny + 1);
  m.x.przydziel(1, m.nn, 1, 2);
  m.si.przydziel(1, m.nq);
  m.f.przydziel(1, m.nq);
  m.ww.przydziel(1, m.nq, 1, 4);
  m.noc.przydziel(1, m.ne, 1, 3);
  m.mat.przydziel(1, m.ne);
  m.napr.przydziel(1, m.ne, 1, 4);
  m.pm.przydziel(1, 1, 1, 2);
  m.Prz.przydziel(1, 1);
  m.Ez.przydziel(1, 1, 1, 1);
  m.Sprz.przydziel(1, 1, 1, 1);
  m.nu.przydziel(1, m.nd);
  m.u.przydziel(1, m.nd);
  m.react.przydziel(1, m.nd);
  m.pm[1][2] = 0.3f;
  m.Prz[1] = 1;
  m.Ez[1][1] = 200000.0f;
  m.Sprz[1][1] = 200.0f;
  const float P = 1000.0f, I = ly * ly * ly / 12.0f;
  const auto wezel = [&](int c, int r) { return 1 + c + r * (nx + 1); };
  for (int r = 0; r <= ny; ++r)
    for (int c = 0; c <= nx; ++c) {
      const int n = wezel(c, r);
      const float x = lx * static_cast<float>(c) / static_cast<float>(nx);
      const float y = ly * static_cast<float>(r) / static_cast<float>(ny) - ly / 2;
      m.x[n][1] = x;
      m.x[n][2] = y + ly / 2;
      const float sx = P * (lx - x) * y / I, t = 1.5f * P / ly * (1 - 4 * y * y / (ly * ly));
      m.ww[n][1] = sx;
      m.ww[n][2] = 0.0f;
      m.ww[n][3] = t;
      m.ww[n][4] = std::sqrt(std::fabs(sx * sx + 3 * t * t));
      m.f[2 * n - 1] = -P * y * x * (2 * lx - x) / (2 * 200000.0f * I);
      m.f[2 * n] = -P * x * x * (3 * lx - x) / (6 * 200000.0f * I);
    }
  int e = 0;
  for (int c = 0; c < nx; ++c)
    for (int r = 0; r < ny; ++r) {
      const int a = wezel(c, r), b = a + 1, cc = wezel(c, r + 1), d = cc + 1;
      const int el[2][3] = {{a, b, d}, {a, cc, d}};
      for (const auto& t : el) {
        ++e;
        for (int k = 0; k < 3; ++k) m.noc[e][k + 1] = t[k];
        m.mat[e] = 1;
        for (int s = 1; s <= 4; ++s)
          m.napr[e][s] = (m.ww[t[0]][s] + m.ww[t[1]][s] + m.ww[t[2]][s]) / 3.0f;
      }
    }
  for (int r = 0; r <= ny; ++r) {
    m.nu[2 * r + 1] = 2 * wezel(0, r) - 1;
    m.nu[2 * r + 2] = 2 * wezel(0, r);
  }
  m.si[2 * wezel(nx, ny)] = -P;
  przydziel_robocze(m);
  m.Pusty = 0;
  m.obliczono = 1;
}

struct Stanowisko {
  Model m;
  CichaPlatforma p;
  _OKNO_ okno{m, p};
  QImage obraz{1280, 800, QImage::Format_RGB32};
  QImage obraz2{2560, 1600, QImage::Format_RGB32};  // the same window at device-pixel ratio 2
  Stanowisko() {
    wspornik(m, 100, 100, 10.0f, 10.0f);
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
