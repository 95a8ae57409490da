// The thread pool of the solver and its barrier.
#include <gtest/gtest.h>

#include <atomic>
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

TEST(Pula, BarrierSeparatesRounds) {
  // Each round every thread writes its slot, meets the others, then reads
  // all slots of that round; a thread running ahead would be seen.
  PulaWatkow pula(2);
  constexpr int kRundy = 2000;
  std::vector<int> sloty(2, -1);
  std::atomic<int> bledy{0};
  Bariera b(2);
  pula.wykonaj(2, [&](int i, int n) {
    ASSERT_EQ(n, 2);
    for (int r = 0; r < kRundy; ++r) {
      sloty[i] = r;
      b.czekaj();
      if (sloty[0] != r || sloty[1] != r) bledy.fetch_add(1);
      b.czekaj();
    }
  });
  EXPECT_EQ(bledy.load(), 0);
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
