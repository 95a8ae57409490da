// The analysis on its own thread, measured on an n x n cell square that
// yields (bench_analiza's model; n = 223 gives about 100,000 unknowns):
//
// - the cost of the thread and of the progress reports: the copy of the
//   store, the report and answer of every step (on a small model of many
//   short steps, where they would show most), and the whole analysis run
//   through the window against the same iteration run directly;
// - how soon "Przerwij" ends the analysis, pressed half way through a step;
// - with the Qt program: how soon the main window repaints while the
//   analysis runs, when it is uncovered (the picture as it was) and when it
//   is resized (the whole picture painted anew from the store).
//
//   bench_postep [cells per side, default 223] [steps, default 3]
//
// Every analysis takes the band path, which the direct runs use too (and
// whose solver can be stopped between panels), whatever the automatic
// choice would take for the size.
//
// Times are medians unless said otherwise; the machine's other load shows
// in every figure, so the percentages are worth more than the seconds.
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "analysis/obl0.h"
#include "analysis/silnik.h"
#include "app/okno.h"
#include "cicha_platforma.h"
#include "model_builders.h"

#ifdef SKORBA_HAVE_QT
#include <QApplication>
#include <QTimer>

#include "app/qt/qt_platform.h"
#include "app/qt/rama.h"
#endif

namespace {

using Zegar = std::chrono::steady_clock;
double sekundy(Zegar::time_point t0) { return std::chrono::duration<double>(Zegar::now() - t0).count(); }

// Processor time of the whole process (every thread), in seconds: less
// disturbed by the machine's other load than the time on the clock.
double procesor() {
  rusage u{};
  getrusage(RUSAGE_SELF, &u);
  return static_cast<double>(u.ru_utime.tv_sec + u.ru_stime.tv_sec) +
         static_cast<double>(u.ru_utime.tv_usec + u.ru_stime.tv_usec) * 1e-6;
}

// Clock and processor time of f.
struct Czas {
  double zegar, cpu;
};
template <class F>
Czas zmierz(F f) {
  const auto t0 = Zegar::now();
  const double c0 = procesor();
  f();
  return {sekundy(t0), procesor() - c0};
}

// bench_analiza's square: clamped on the left, loaded down on the right,
// yielding from a stress of 15.
void kwadrat(Model& m, int n) {
  OpisModelu o = prostokat(n, n, 100.0f, 100.0f);
  o.materialy[0].przedzialy = {{200000.0f, 15.0f}, {20000.0f, 1.0e30f}};
  o.maxpr = 2;
  const int lwx = n + 1;
  for (int r = 1; r <= lwx; ++r) {
    const int k = (r - 1) * lwx + 1;
    o.podpory.push_back({2 * k - 1, 0.0f});
    o.podpory.push_back({2 * k, 0.0f});
    o.sily.push_back({2 * (r * lwx), -1000.0f / static_cast<float>(lwx)});
  }
  zbuduj(m, o);
}

// A cantilever of 20 x 4 cells beyond its first limit: steps of a fraction
// of a millisecond.
void maly(Model& m) {
  OpisModelu o = prostokat(20, 4, 20, 4);
  o.materialy[0].przedzialy = {{200000.0f, 300.0f}, {100000.0f, 1.0e30f}};
  for (int r = 0; r <= 4; ++r) {
    const int k = 1 + r * 21;
    o.podpory.push_back({2 * k - 1, 0});
    o.podpory.push_back({2 * k, 0});
    o.sily.push_back({2 * (k + 20), -12.0f});
  }
  zbuduj(m, o);
}

// The iteration as the window ran it before it had a thread.  Returns the
// time of the reactions and nodal values in *koniec.
void wprost(Model& m, int lprz, Czas* koniec = nullptr) {
  PracaAnalizy w;
  Iteracja it;
  it.lprz = lprz;
  it.epsdR = 0.0f;
  start_analizy(m, w, it);
  while (it.krok <= it.lprz) {
    krok_iteracji(m, w, it);
    ++it.krok;
  }
  w.EE.zwolnij();
  const Czas k = zmierz([&] {
    if (m.blad == 0) {
      Reakcje(m, w);
      Wart_wez(m, w);
    }
  });
  if (koniec) *koniec = k;
}

// A quiet platform that answers "Dane obliczeń" with the step limit and a
// zero error limit, and presses "Przerwij" when `przerwij` says so.
struct Platforma : CichaPlatforma {
  std::string kroki = "3";
  std::function<bool(const Postep&)> przerwij;
  int Formularz(::Formularz& f) override {
    zastosuj_odpowiedz(f, {{"ik", kroki}, {"pocz", "0"}});
    return IDOK;
  }
  bool PokazPostep(const Postep& p) override { return przerwij && przerwij(p); }
};

double mediana(std::vector<double> t) {
  std::sort(t.begin(), t.end());
  return t[t.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  const int n = argc > 1 ? std::atoi(argv[1]) : 223;
  const int kroki = argc > 2 ? std::atoi(argv[2]) : 3;
  chdir("/tmp");  // the convergence log "DR.txt"

  // --- the thread's own costs ----------------------------------------------------
  double na_krok = 0;
  {
    Model m;
    Platforma p;
    _OKNO_ okno(m, p);
    okno.metoda = MetodaRozwiazania::Pasmowa;
    const int razy = 2000;
    p.kroki = std::to_string(razy);
    std::vector<double> tw, tp, cw, cp;
    for (int i = 0; i < 7; ++i) {
      maly(m);
      const Czas a = zmierz([&] { okno.Obliczenia(); });
      maly(m);
      const Czas b = zmierz([&] { wprost(m, razy); });
      tw.push_back(a.zegar), cw.push_back(a.cpu), tp.push_back(b.zegar), cp.push_back(b.cpu);
    }
    std::printf("short steps (20 x 4 cells, %d steps): through the thread %.1f ms (processor %.1f ms), directly "
                "%.1f ms (%.1f ms): %+.1f us a step (processor %+.1f us)\n",
                razy, mediana(tw) * 1e3, mediana(cw) * 1e3, mediana(tp) * 1e3, mediana(cp) * 1e3,
                (mediana(tw) - mediana(tp)) / razy * 1e6, (mediana(cw) - mediana(cp)) / razy * 1e6);
    na_krok = std::max(0.0, (mediana(tw) - mediana(tp)) / razy);
  }

  Model m;
  Platforma p;
  _OKNO_ okno(m, p);
  okno.metoda = MetodaRozwiazania::Pasmowa;
  kwadrat(m, n);
  std::printf("%d x %d cells: %d unknowns, %d elements\n", n, n, m.nq, m.ne);
  std::vector<double> tk;
  for (int i = 0; i < 5; ++i) {
    const auto t0 = Zegar::now();
    Model k = kopia_modelu(m);
    tk.push_back(sekundy(t0));
  }
  const double t_kopia = mediana(tk);
  std::printf("copy of the store: %.1f ms\n", t_kopia * 1e3);

  // --- the whole analysis: directly and through the window -------------------
  p.kroki = std::to_string(kroki);
  std::vector<double> tw, tp, cw, cp, tkon, ckon;
  for (int i = 0; i < 3; ++i) {
    kwadrat(m, n);
    const Czas a = zmierz([&] { okno.Obliczenia(); });
    if (m.obliczono != 1) std::printf("!! the analysis failed\n");
    kwadrat(m, n);
    Czas koniec{};
    const Czas b = zmierz([&] { wprost(m, kroki, &koniec); });
    tw.push_back(a.zegar), cw.push_back(a.cpu), tp.push_back(b.zegar), cp.push_back(b.cpu);
    tkon.push_back(koniec.zegar), ckon.push_back(koniec.cpu);
  }
  const double t_w = mediana(tw), t_p = mediana(tp), t_koniec = mediana(tkon);
  const double krok = (t_p - t_koniec) / kroki, krok_cpu = (mediana(cp) - mediana(ckon)) / kroki;
  std::printf("analysis of %d steps: through the window %.2f s (processor %.2f s), directly %.2f s (%.2f s): "
              "%+.2f %% (processor %+.2f %%); a step %.2f s (processor %.2f s), reactions and nodal values "
              "%.2f s (%.2f s)\n",
              kroki, t_w, mediana(cw), t_p, mediana(cp), (t_w - t_p) / t_p * 100,
              (mediana(cw) - mediana(cp)) / mediana(cp) * 100, krok, krok_cpu, t_koniec, mediana(ckon));
  std::printf("  runs through the window:");
  for (double t : tw) std::printf(" %.2f", t);
  std::printf(" s; directly:");
  for (double t : tp) std::printf(" %.2f", t);
  std::printf(" s\n");
  std::printf("  the copy and the reports of %d steps: %.2f ms, %.4f %% of the analysis\n", kroki,
              (t_kopia + kroki * na_krok) * 1e3, (t_kopia + kroki * na_krok) / t_p * 100);

  // --- "Przerwij" half way through the second step ---------------------------
  {
    // The solver alone: asked to stop half way through the elimination.
    PracaAnalizy w;
    Iteracja it;
    kwadrat(m, n);
    start_analizy(m, w, it);
    std::vector<double> ts;
    for (int i = 0; i < 3; ++i) {
      for (int k = 1; k <= m.nq; ++k) w.fd[k] = m.si[k];
      Przemieszcz(m, w);
      std::atomic<bool> stop{false};
      UstawieniaObl0 u = ustawienia_obl0();
      u.przerwij = &stop;
      Zegar::time_point nacisk;
      std::thread t([&] {
        std::this_thread::sleep_for(std::chrono::duration<double>(krok / 3));
        nacisk = Zegar::now();
        stop = true;
      });
      int b = 0, b1 = 0;
      const bool cale = Obl0_z(w.s.dane(), w.fd.dane(), m.nq, m.nbw, b, b1, u);
      const auto koniec = Zegar::now();
      t.join();
      if (cale) std::printf("!! the solver ended before it was asked to stop\n");
      ts.push_back(std::chrono::duration<double>(koniec - nacisk).count());
    }
    std::printf("the solver asked to stop during the elimination gives up %.1f ms later\n", mediana(ts) * 1e3);
  }
  {
    std::vector<double> tz, cz;
    for (int i = 0; i < 3; ++i) {
      kwadrat(m, n);
      Zegar::time_point nacisk{}, start = Zegar::now();
      double c0 = 0;
      p.kroki = "50";
      p.przerwij = [&](const Postep& s) {
        if (s.wartosc >= 1 && nacisk == Zegar::time_point{})
          nacisk = Zegar::now() + std::chrono::duration_cast<Zegar::duration>(std::chrono::duration<double>(krok / 2));
        if (nacisk == Zegar::time_point{} || Zegar::now() < nacisk) return false;
        if (c0 == 0) c0 = procesor();
        return true;
      };
      okno.Obliczenia();
      tz.push_back(sekundy(nacisk));
      cz.push_back(procesor() - c0);
      if (okno.przebieg.koniec != _OKNO_::Przebieg::Przerwana || okno.przebieg.kroki != 1)
        std::printf("!! stopped after %d steps (%.2f s in all)\n", okno.przebieg.kroki, sekundy(start));
    }
    p.przerwij = nullptr;
    std::printf("\"Przerwij\" half way through step 2: stopped after step 1; the analysis ends %.3f s later "
                "(processor %.3f s), of which the reactions and nodal values of step 1 take %.2f s (%.2f s); "
                "a step takes %.2f s (%.2f s)\n",
                mediana(tz), mediana(cz), t_koniec, mediana(ckon), krok, krok_cpu);
  }

#ifdef SKORBA_HAVE_QT
  // --- the main window during the analysis ------------------------------------
  {
    if (!std::getenv("DISPLAY")) setenv("QT_QPA_PLATFORM", "offscreen", 0);
    int argc_qt = 1;
    char nazwa[] = "bench_postep";
    char* argv_qt[] = {nazwa, nullptr};
    QApplication app(argc_qt, argv_qt);
    struct PlatformaQt : QtPlatform {
      std::atomic<bool> stop{false};
      std::atomic<int> krokow{0};
      int Formularz(::Formularz& f) override {
        zastosuj_odpowiedz(f, {{"ik", "50"}, {"pocz", "0"}});
        return IDOK;
      }
      int MessageBox(const std::string&, const std::string&, Ikona, Przyciski) override { return IDOK; }
      bool PokazPostep(const Postep& s) override {
        krokow = s.wartosc;
        return QtPlatform::PokazPostep(s) || stop;
      }
    } pq;
    Model mq;
    RamaOkna rama;
    pq.ustawRame(&rama);
    _OKNO_ oq(mq, pq);
    oq.metoda = MetodaRozwiazania::Pasmowa;
    rama.ustawOkno(&oq);
    rama.resize(1280, 800);
    rama.show();
    kwadrat(mq, n);
    for (int i = 0; i < 20 && !rama.widok()->isVisible(); ++i) QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    // The whole picture painted anew (as at a new size), with nothing else running.
    std::vector<double> sam;
    for (int i = 0; i < 5; ++i) {
      const auto t0 = Zegar::now();
      rama.widok()->uniewaznij();
      rama.widok()->repaint();
      sam.push_back(sekundy(t0));
    }

    // Another program's window leaves ours every 300 ms: the window system
    // asks it to repaint (alternately as it was, and painted anew as after a
    // change of size).
    std::vector<double> odslon, rozmiar;
    std::atomic<bool> koniec{false};
    // Each request waits for the last to be done, so that a long paint does
    // not delay the next one.
    std::atomic<bool> zrobione{true};
    std::thread okna([&] {
      for (int i = 0; !koniec; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        while (!zrobione && !koniec) std::this_thread::sleep_for(std::chrono::milliseconds(5));
        if (koniec) break;
        zrobione = false;
        const auto wyslano = Zegar::now();
        QMetaObject::invokeMethod(
            rama.widok(),
            [&, i, wyslano] {
              if (pq.postep() != nullptr) {  // only while the analysis runs
                // A new size makes the picture stale: it is painted anew.
                if (i % 2 == 1) rama.widok()->uniewaznij();
                rama.widok()->repaint();
                (i % 2 == 1 ? rozmiar : odslon).push_back(sekundy(wyslano));
                if (odslon.size() >= 10 && rozmiar.size() >= 10) pq.stop = true;
              }
              zrobione = true;
            },
            Qt::QueuedConnection);
      }
    });
    const auto t0 = Zegar::now();
    oq.Obliczenia();
    koniec = true;
    okna.join();
    std::printf("main window: painted anew without an analysis: median %.1f ms\n", mediana(sam) * 1e3);
    std::printf("main window during the analysis (%s, %.1f s, %d steps): uncovered: repainted after median %.1f ms, "
                "at most %.1f ms (%zu times); painted anew: median %.1f ms, at most %.1f ms (%zu times)\n",
                qPrintable(QGuiApplication::platformName()), sekundy(t0), oq.przebieg.kroki,
                odslon.empty() ? -1.0 : mediana(odslon) * 1e3,
                odslon.empty() ? -1.0 : *std::max_element(odslon.begin(), odslon.end()) * 1e3, odslon.size(),
                rozmiar.empty() ? -1.0 : mediana(rozmiar) * 1e3,
                rozmiar.empty() ? -1.0 : *std::max_element(rozmiar.begin(), rozmiar.end()) * 1e3, rozmiar.size());
    rama.ustawOkno(nullptr);
    pq.ustawRame(nullptr);
  }
#endif
  return 0;
}
