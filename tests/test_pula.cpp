// The thread pool of the solver and the counter its threads wait on.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <set>
#include <thread>
#include <vector>

#include "analysis/pula.h"

TEST(Pula, EveryPartRunsOnceAndTheCallerWaitsForAll) {
  PulaWatkow pula(2);
  ASSERT_EQ(pula.rozmiar(), 2);
  for (int proba = 0; proba < 200; ++proba) {
    std::atomic<int> czesci[4] = {};
    std::vector<std::thread::id> kto(2);
    int ile = 0;
    pula.wykonaj(2, [&](int i, int n) {
      if (i == 0) ile = n;
      czesci[i].fetch_add(1);
      kto[i] = std::this_thread::get_id();
    });
    EXPECT_EQ(ile, 2);
    EXPECT_EQ(czesci[0].load(), 1);
    EXPECT_EQ(czesci[1].load(), 1);
    EXPECT_EQ(kto[0], std::this_thread::get_id());
    EXPECT_NE(kto[1], std::this_thread::get_id());
  }
  // More threads than the pool has: as many as it has.
  int n_widziane = 0;
  pula.wykonaj(8, [&](int i, int n) {
    if (i == 0) n_widziane = n;
  });
  EXPECT_EQ(n_widziane, 2);
}

TEST(Pula, AJobInsideAJobOrFromAnotherThreadRunsAlone) {
  PulaWatkow pula(2);
  std::atomic<int> wewnetrzne{0}, n_wewnatrz{0};
  pula.wykonaj(2, [&](int, int) {
    pula.wykonaj(2, [&](int, int n) {
      wewnetrzne.fetch_add(1);
      n_wewnatrz.fetch_add(n);
    });
  });
  EXPECT_EQ(wewnetrzne.load(), 2);  // one inner job per outer part, alone
  EXPECT_EQ(n_wewnatrz.load(), 2);

  // Four threads share the pool: every job is done in full either way.
  std::atomic<int> suma{0};
  std::vector<std::thread> t;
  for (int k = 0; k < 4; ++k)
    t.emplace_back([&] {
      for (int j = 0; j < 100; ++j) pula.wykonaj(2, [&](int, int n) { suma.fetch_add(n == 2 ? 1 : 2); });
    });
  for (auto& th : t) th.join();
  EXPECT_EQ(suma.load(), 4 * 100 * 2);
}

// Two threads hand a counter back and forth; now and then one of them is
// late, so that the other one goes to sleep.  A lost wake-up hangs here.
TEST(Pula, CounterHandedBackAndForthWakesEveryWaiter) {
  constexpr int kRundy = 20000;
  Licznik a;
  std::thread drugi([&] {
    for (int r = 1; r < kRundy; r += 2) {
      a.czekaj_co_najmniej(r);
      if (r % 1001 == 0) std::this_thread::sleep_for(std::chrono::microseconds(200));
      a.ustaw(r + 1);
    }
  });
  for (int r = 0; r < kRundy; r += 2) {
    a.czekaj_co_najmniej(r);
    if (r % 500 == 0) std::this_thread::sleep_for(std::chrono::microseconds(200));
    a.ustaw(r + 1);
  }
  drugi.join();
  EXPECT_EQ(a.wartosc(), kRundy);

  // czekaj_na_zmiane returns the new value, also after a sleep.
  Licznik b(7);
  std::thread trzeci([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
    b.dodaj(5);
  });
  EXPECT_EQ(b.czekaj_na_zmiane(7), 12);
  trzeci.join();
}

TEST(Pula, SolverThreadCountIsBoundedByThePool) {
  const int przed = watki_obliczen();
  ustaw_watki_obliczen(0);
  EXPECT_EQ(watki_obliczen(), 1);
  ustaw_watki_obliczen(1000);
  EXPECT_EQ(watki_obliczen(), PulaWatkow::globalna().rozmiar());
  EXPECT_LE(PulaWatkow::globalna().rozmiar(), kMaksWatkow);
  EXPECT_LE(static_cast<unsigned>(PulaWatkow::globalna().rozmiar()),
            std::max(1u, std::thread::hardware_concurrency()));
  ustaw_watki_obliczen(przed);
}
