#include "analysis/pula.h"

#include <algorithm>
#include <cstdlib>

namespace {

inline void pauza() {
#if defined(__x86_64__) || defined(__i386__)
  __builtin_ia32_pause();
#else
  std::this_thread::yield();
#endif
}

// Spins while the value stays `stara` for some tens of microseconds, then
// sleeps on it.  Returns the new value.
template <class T>
T czekaj_na_zmiane(const std::atomic<T>& a, T stara) {
  for (int i = 0; i < 1024; ++i) {
    const T v = a.load(std::memory_order_acquire);
    if (v != stara) return v;
    pauza();
  }
  T v;
  while ((v = a.load(std::memory_order_acquire)) == stara) a.wait(stara, std::memory_order_acquire);
  return v;
}

int rdzenie() {
  const unsigned n = std::thread::hardware_concurrency();
  return n == 0 ? 1 : static_cast<int>(std::min<unsigned>(n, 1024));
}

// Set on every thread while it runs a part of a job: a job that asks the
// pool for more threads gets none.
thread_local bool w_zadaniu = false;

int rozmiar_puli() { return std::max(1, std::min(kMaksWatkow, rdzenie())); }

std::atomic<int>& liczba_watkow() {
  static std::atomic<int> n = [] {
    int w = rozmiar_puli();
    if (const char* e = std::getenv("SKORBA_WATKI"); e && *e) w = std::atoi(e);
    return std::clamp(w, 1, rozmiar_puli());
  }();
  return n;
}

}  // namespace

int watki_obliczen() { return liczba_watkow().load(std::memory_order_relaxed); }

void ustaw_watki_obliczen(int n) {
  liczba_watkow().store(std::clamp(n, 1, rozmiar_puli()), std::memory_order_relaxed);
}

void Bariera::czekaj() {
  const unsigned g = pokolenie_.load(std::memory_order_acquire);
  if (przybyli_.fetch_add(1, std::memory_order_acq_rel) == n_ - 1) {
    // The last one in opens the next round.  The count is reset before the
    // generation moves, and nobody can arrive again before it moves.
    przybyli_.store(0, std::memory_order_relaxed);
    pokolenie_.fetch_add(1, std::memory_order_acq_rel);
    pokolenie_.notify_all();
    return;
  }
  czekaj_na_zmiane(pokolenie_, g);
}

void czekaj_co_najmniej(const std::atomic<int>& a, int cel) {
  int v = a.load(std::memory_order_acquire);
  for (int i = 0; v < cel && i < 1024; ++i) {
    pauza();
    v = a.load(std::memory_order_acquire);
  }
  while (v < cel) {
    a.wait(v, std::memory_order_acquire);
    v = a.load(std::memory_order_acquire);
  }
}

PulaWatkow& PulaWatkow::globalna() {
  static PulaWatkow pula(rozmiar_puli());
  return pula;
}

PulaWatkow::PulaWatkow(int watki) {
  for (int i = 1; i < watki; ++i) robotnicy_.emplace_back([this, i] { robotnik(i); });
}

PulaWatkow::~PulaWatkow() {
  koniec_.store(true, std::memory_order_relaxed);
  pokolenie_.fetch_add(1, std::memory_order_acq_rel);
  pokolenie_.notify_all();
  for (auto& t : robotnicy_) t.join();
}

void PulaWatkow::robotnik(int id) {
  unsigned widziane = 0;
  for (;;) {
    widziane = czekaj_na_zmiane(pokolenie_, widziane);
    if (koniec_.load(std::memory_order_relaxed)) return;
    if (id < n_) {
      w_zadaniu = true;
      fn_(dane_, id, n_);
      w_zadaniu = false;
    }
    if (pozostali_.fetch_sub(1, std::memory_order_acq_rel) == 1) pozostali_.notify_one();
  }
}

void PulaWatkow::uruchom(int watki, Funkcja fn, void* dane) {
  const int n = std::clamp(watki, 1, rozmiar());
  std::unique_lock<std::mutex> zamek(zajeta_, std::defer_lock);
  if (n == 1 || w_zadaniu || !zamek.try_lock()) {
    fn(dane, 0, 1);
    return;
  }
  w_zadaniu = true;
  fn_ = fn;
  dane_ = dane;
  n_ = n;
  pozostali_.store(static_cast<int>(robotnicy_.size()), std::memory_order_relaxed);
  pokolenie_.fetch_add(1, std::memory_order_acq_rel);
  pokolenie_.notify_all();
  fn(dane, 0, n);
  w_zadaniu = false;
  int p;
  while ((p = pozostali_.load(std::memory_order_acquire)) != 0) czekaj_na_zmiane(pozostali_, p);
}
