#include "analysis/pula.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>

namespace {

inline void pauza() {
#if defined(__x86_64__) || defined(__i386__)
  __builtin_ia32_pause();
#else
  std::this_thread::yield();
#endif
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

template <class Warunek>
void Licznik::czekaj(Warunek w, std::chrono::microseconds spin) const {
  const auto koniec = std::chrono::steady_clock::now() + spin;
  for (int i = 1;; ++i) {
    if (w(v_.load(std::memory_order_acquire))) return;
    pauza();
    if (i % 64 == 0 && std::chrono::steady_clock::now() > koniec) break;
  }
  std::unique_lock<std::mutex> zamek(m_);
  cv_.wait(zamek, [&] { return w(v_.load(std::memory_order_relaxed)); });
}

void Licznik::ustaw(std::int64_t v) {
  {
    std::lock_guard<std::mutex> zamek(m_);
    v_.store(v, std::memory_order_release);
  }
  cv_.notify_all();
}

std::int64_t Licznik::dodaj(std::int64_t d) {
  std::int64_t przed;
  {
    std::lock_guard<std::mutex> zamek(m_);
    przed = v_.fetch_add(d, std::memory_order_acq_rel);
  }
  cv_.notify_all();
  return przed;
}

void Licznik::czekaj_co_najmniej(std::int64_t cel, std::chrono::microseconds spin) const {
  czekaj([cel](std::int64_t v) { return v >= cel; }, spin);
}

std::int64_t Licznik::czekaj_na_zmiane(std::int64_t stara, std::chrono::microseconds spin) const {
  std::int64_t nowa = stara;
  czekaj([&](std::int64_t v) {
    nowa = v;
    return v != stara;
  }, spin);
  return nowa;
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
  pokolenie_.dodaj(1);
  for (auto& t : robotnicy_) t.join();
}

void PulaWatkow::robotnik(int id) {
  std::int64_t widziane = 0;
  for (;;) {
    widziane = pokolenie_.czekaj_na_zmiane(widziane);
    if (koniec_.load(std::memory_order_relaxed)) return;
    if (id < n_) {
      w_zadaniu = true;
      fn_(dane_, id, n_);
      w_zadaniu = false;
    }
    ukonczone_.dodaj(1);
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
  // Every worker has ended the previous job: the count is exact.
  const std::int64_t cel = ukonczone_.wartosc() + static_cast<std::int64_t>(robotnicy_.size());
  pokolenie_.dodaj(1);
  fn(dane, 0, n);
  w_zadaniu = false;
  ukonczone_.czekaj_co_najmniej(cel);
}
