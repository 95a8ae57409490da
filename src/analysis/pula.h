// A small fixed pool of threads for the numerical kernels, and the counter
// their threads wait on.
//
// The pool holds at most kMaksWatkow threads counting the caller (never more
// than the machine has cores), started on first use and kept until the end
// of the program, so a solve pays no thread start-up and never runs more
// threads than there are cores.  A job runs part 0 on the calling thread and
// parts 1..n-1 on the workers.  Idle workers sleep; they spin for up to 100
// microseconds after a job, when the next one usually follows at once.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>
#include <type_traits>
#include <vector>

inline constexpr int kMaksWatkow = 2;

// The number of threads the solver uses: min(kMaksWatkow, cores) unless set
// otherwise, by ustaw_watki_obliczen or by the environment variable
// SKORBA_WATKI (read once, at the first call).  1 switches the threads off.
int watki_obliczen();
// Sets the thread count of the solver; values below 1 mean 1, values above
// the pool's size mean its size.
void ustaw_watki_obliczen(int n);

// A counter that threads wait on: a waiter spins for some microseconds,
// then sleeps on a condition variable.  Every change is made under the
// mutex and followed by a wake-up, so a waiter that has checked the value
// under the mutex cannot miss it.  (A solve built on std::atomic::wait and
// notify_all of GCC 12's library hung now and then, once in some hundred
// thousand solves, with both threads asleep and the awaited value there.)
class Licznik {
 public:
  explicit Licznik(std::int64_t v = 0) : v_(v) {}
  Licznik(const Licznik&) = delete;
  Licznik& operator=(const Licznik&) = delete;

  std::int64_t wartosc() const { return v_.load(std::memory_order_acquire); }
  void ustaw(std::int64_t v);
  // Adds d and returns the value before.
  std::int64_t dodaj(std::int64_t d);
  // Waits until the value is at least cel, spinning at most `spin` first.
  void czekaj_co_najmniej(std::int64_t cel, std::chrono::microseconds spin = kSpin) const;
  // Waits until the value differs from stara; returns it.
  std::int64_t czekaj_na_zmiane(std::int64_t stara, std::chrono::microseconds spin = kSpin) const;

  // Waking a sleeping thread costs some ten microseconds, far more when the
  // machine is busy; a wait that usually ends sooner should spin.
  static constexpr std::chrono::microseconds kSpin{100};

 private:
  template <class Warunek>
  void czekaj(Warunek w, std::chrono::microseconds spin) const;

  std::atomic<std::int64_t> v_;
  mutable std::mutex m_;
  mutable std::condition_variable cv_;
};

class PulaWatkow {
 public:
  // The program's pool, started at the first call.
  static PulaWatkow& globalna();

  explicit PulaWatkow(int watki);
  ~PulaWatkow();
  PulaWatkow(const PulaWatkow&) = delete;
  PulaWatkow& operator=(const PulaWatkow&) = delete;

  // Threads of the pool, the caller included.
  int rozmiar() const { return static_cast<int>(robotnicy_.size()) + 1; }

  // Runs zadanie(i, n) for i = 0..n-1 with n = min(watki, rozmiar()) and
  // returns when every part has ended; part 0 runs on the calling thread.
  // One job at a time: a call while the pool is busy (from another thread,
  // or from inside a job) runs the job alone on the caller, with n = 1.
  template <class F>
  void wykonaj(int watki, F&& zadanie) {
    using Typ = std::remove_reference_t<F>;
    uruchom(watki, [](void* z, int i, int n) { (*static_cast<Typ*>(z))(i, n); }, &zadanie);
  }

 private:
  using Funkcja = void (*)(void*, int, int);
  void uruchom(int watki, Funkcja fn, void* dane);
  void robotnik(int id);

  std::vector<std::thread> robotnicy_;
  std::mutex zajeta_;  // held by the caller of the running job

  // The job being run (written by the caller before pokolenie_ moves on).
  Funkcja fn_ = nullptr;
  void* dane_ = nullptr;
  int n_ = 1;
  Licznik pokolenie_;  // advanced once per job
  Licznik ukonczone_;  // parts the workers have ended, all jobs counted
  std::atomic<bool> koniec_{false};
};
