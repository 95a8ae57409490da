// A small fixed pool of threads for the numerical kernels, and the barrier
// they meet at.
//
// The pool holds at most kMaksWatkow threads counting the caller (never more
// than the machine has cores), started on first use and kept until the end
// of the program, so a solve pays no thread start-up and never runs more
// threads than there are cores.  A job runs part 0 on the calling thread and
// parts 1..n-1 on the workers.  Idle workers sleep; they spin only for a few
// microseconds after a job, when the next one usually follows at once.
#pragma once

#include <atomic>
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

// A reusable barrier for the n threads of one job.  Waiting spins briefly,
// then sleeps.
class Bariera {
 public:
  explicit Bariera(int n) : n_(n) {}
  void czekaj();

 private:
  const int n_;
  std::atomic<int> przybyli_{0};
  std::atomic<unsigned> pokolenie_{0};
};

// Waits (spinning briefly, then sleeping) until a >= cel.  The thread that
// raises a calls a.notify_all() afterwards.
void czekaj_co_najmniej(const std::atomic<int>& a, int cel);

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
  std::atomic<unsigned> pokolenie_{0};  // advanced once per job
  std::atomic<int> pozostali_{0};       // workers that have not finished the job
  std::atomic<bool> koniec_{false};
};
