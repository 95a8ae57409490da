// The analysis on its own thread: the same results as the iteration run
// directly, "Przerwij" at a chosen step leaving that step's results as the
// step limit would, and the solver giving up between panels.
#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <thread>

#include "analysis/obl0.h"
#include "analysis/obliczenia.h"
#include "analysis/silnik.h"
#include "app/okno.h"
#include "fake_platform.h"
#include "okno_obliczen.h"
#include "model_builders.h"

namespace {

namespace fs = std::filesystem;

const std::string kLimit = "Wykorzystano maksymalną liczbę kroków\nPonów obliczenia z większą liczbą kroków";

// The iteration as the window ran it before it had a thread: on this
// thread, straight on the store.
void licz_wprost(Model& m, int lprz, float epsdR) {
  PracaAnalizy w;
  Iteracja it;
  it.lprz = lprz;
  it.epsdR = epsdR;
  start_analizy(m, w, it);
  while (it.krok <= it.lprz) {
    krok_iteracji(m, w, it);
    ++it.krok;
  }
  w.EE.zwolnij();
  if (m.blad == 0) {
    Reakcje(m, w);
    Wart_wez(m, w);
  }
}

template <class T>
std::string bajty(const Wektor<T>& v) {
  return v.istnieje() ? std::string(reinterpret_cast<const char*>(&v[v.lo()]), (v.hi() - v.lo() + 1) * sizeof(T))
                      : std::string();
}
template <class T>
std::string bajty(const Macierz<T>& a) {
  return a.istnieje() ? std::string(reinterpret_cast<const char*>(&a[a.rl()][a.cl()]),
                                    (a.rh() - a.rl() + 1) * (a.ch() - a.cl() + 1) * sizeof(T))
                      : std::string();
}

// Every result of the store, bit for bit.
void te_same_wyniki(const Model& a, const Model& b) {
  EXPECT_EQ(bajty(a.f), bajty(b.f));
  EXPECT_EQ(bajty(a.napr), bajty(b.napr));
  EXPECT_EQ(bajty(a.ww), bajty(b.ww));
  EXPECT_EQ(bajty(a.react), bajty(b.react));
  EXPECT_EQ(a.nbw, b.nbw);
  EXPECT_EQ(a.cnst, b.cnst);
  EXPECT_EQ(a.blad, b.blad);
}

class AnalizaWTle : public OknoObliczen {};

}  // namespace

TEST_F(AnalizaWTle, ResultsThroughTheThreadAreThoseOfTheDirectIteration) {
  for (const char* blad : {"0.5", "0"}) {
    zbuduj(m, plastyczny_wspornik());
    fp.wyczysc();
    licz("12", blad);
    ASSERT_EQ(m.obliczono, 1);
    Model wprost;
    zbuduj(wprost, plastyczny_wspornik());
    licz_wprost(wprost, 12, static_cast<float>(std::atof(blad)));
    te_same_wyniki(m, wprost);
    // The progress went step by step up to the last, and its window was closed.
    ASSERT_FALSE(fp.postepy.empty());
    for (std::size_t i = 1; i < fp.postepy.size(); ++i) EXPECT_GE(fp.postepy[i].wartosc, fp.postepy[i - 1].wartosc);
    EXPECT_EQ(fp.postepy.front().wartosc, 0);
    EXPECT_EQ(fp.postepy.back().wartosc, okno.przebieg.kroki);
    EXPECT_EQ(fp.postepy.back().zakres, 12);
    EXPECT_EQ(fp.konce_postepu, 1);
    fp.postepy.clear();
    fp.konce_postepu = 0;
  }
}

TEST_F(AnalizaWTle, StopAtAStepLeavesItsResultsAsTheStepLimitWould) {
  // On both solution paths (the sparse one is stopped between steps only).
  for (const MetodaRozwiazania metoda : {MetodaRozwiazania::Pasmowa, MetodaRozwiazania::Rzadka}) {
    okno.metoda = metoda;
    fp.wyczysc();
    fp.przerwij_po = -1;
    // What the step limit leaves after 1 and after 3 steps: results, log.
    struct Limit {
      Model m;
      std::string log;
    } po[4];
    for (int k : {1, 3}) {
      zbuduj(m, plastyczny_wspornik());
      licz(std::to_string(k), "0");
      EXPECT_EQ(fp.teksty(), std::vector<std::string>{kLimit});
      po[k].m = kopia_modelu(m);
      po[k].log = dr_calosc();
      fp.wyczysc();
    }
    zbuduj(m, plastyczny_wspornik());
    for (int k : {1, 3}) {
      fp.wyczysc();
      fp.przerwij_po = k;
      licz("50", "0");
      EXPECT_EQ(fp.teksty(), std::vector<std::string>{"Obliczenia przerwane po " + std::to_string(k) + " krokach"});
      EXPECT_EQ(fp.komunikaty[0].tytul, "Obliczenia");
      EXPECT_EQ(fp.komunikaty[0].ikona, Ikona::Wykrzyknik);
      EXPECT_EQ(m.obliczono, 1);
      EXPECT_EQ(okno.przebieg.koniec, _OKNO_::Przebieg::Przerwana);
      EXPECT_EQ(okno.przebieg.kroki, k);
      EXPECT_TRUE(okno.przebieg.log_zapisany);
      EXPECT_EQ(dr_calosc(), po[k].log) << k;
      te_same_wyniki(m, po[k].m);
      EXPECT_EQ(fp.kursor, Kursor::Normalny);
    }
    EXPECT_EQ(okno.przebieg.metoda, metoda);
  }
}

TEST_F(AnalizaWTle, StopBeforeTheFirstStepChangesNothing) {
  zbuduj(m, plastyczny_wspornik());
  licz("3", "0");
  ASSERT_EQ(m.obliczono, 1);
  const std::string f = bajty(m.f), napr = bajty(m.napr), log = dr_calosc();
  fp.wyczysc();
  fp.przerwij_po = 0;
  licz("50", "0");
  EXPECT_EQ(fp.teksty(), std::vector<std::string>{"Obliczenia przerwane po 0 krokach"});
  EXPECT_EQ(m.obliczono, 0);
  EXPECT_EQ(bajty(m.f), f);
  EXPECT_EQ(bajty(m.napr), napr);
  EXPECT_EQ(dr_calosc(), log);
  EXPECT_EQ(okno.przebieg.koniec, _OKNO_::Przebieg::Przerwana);
  EXPECT_EQ(okno.przebieg.kroki, 0);
  EXPECT_EQ(fp.kursor, Kursor::Normalny);
}

TEST_F(AnalizaWTle, StopAfterTheLastStepIsTooLateToChangeAnything) {
  // The step limit, and an iteration that settles, each ended by its own
  // rule in the step at which the button comes.
  Model wprost;
  zbuduj(wprost, plastyczny_wspornik());
  licz_wprost(wprost, 4, 0.0f);
  zbuduj(m, plastyczny_wspornik());
  fp.przerwij_po = 4;
  licz("4", "0");
  EXPECT_EQ(fp.teksty(), std::vector<std::string>{kLimit});
  EXPECT_EQ(okno.przebieg.koniec, _OKNO_::Przebieg::LimitKrokow);
  te_same_wyniki(m, wprost);

  fp.wyczysc();
  fp.przerwij_po = 2;
  licz("50", "99");  // settles in step 2
  EXPECT_TRUE(fp.komunikaty.empty()) << fp.teksty()[0];
  EXPECT_EQ(okno.przebieg.koniec, _OKNO_::Przebieg::Zbiezna);
  EXPECT_EQ(okno.przebieg.kroki, 2);
}

TEST_F(AnalizaWTle, ALinearModelStoppedAtItsOnlyStepStillTellsWhy) {
  OpisModelu o = plastyczny_wspornik();
  for (auto& s : o.sily) s.second = -1.0f;
  zbuduj(m, o);
  fp.przerwij_po = 1;
  licz("50", "5");
  EXPECT_EQ(fp.teksty(), std::vector<std::string>{"Nie wystąpiy naprężenia plastyczne"});
  EXPECT_EQ(okno.przebieg.koniec, _OKNO_::Przebieg::BrakPlastycznych);
  EXPECT_EQ(m.obliczono, 1);
}

TEST(PostepObliczen, WhatTheWindowAndTheTerminalShow) {
  Postep p = postep_obliczen(0, 50, false, 0.0f, 5.0f, 0.4);
  EXPECT_EQ(p.tytul, "Obliczenia");
  EXPECT_EQ(p.przycisk, "Przerwij");
  EXPECT_EQ(p.wiersze, (std::vector<std::string>{"Krok 1 z 50", "Zmiana przemieszczeń: – (błąd maksymalny 5 %)",
                                                  "Czas obliczeń: 0:00"}));
  EXPECT_EQ(p.linia, "krok 1/50");
  EXPECT_EQ(p.wartosc, 0);
  EXPECT_EQ(p.zakres, 50);
  p = postep_obliczen(2, 50, true, 2.1234f, 0.25f, 75.9);
  EXPECT_EQ(p.wiersze, (std::vector<std::string>{"Krok 3 z 50", "Zmiana przemieszczeń: 2.12 % (błąd maksymalny 0.25 %)",
                                                  "Czas obliczeń: 1:15"}));
  EXPECT_EQ(p.linia, "krok 3/50, zmiana 2.12 %");
  EXPECT_EQ(postep_obliczen(50, 50, true, 1234.5f, 5, 0).linia, "krok 50/50, zmiana 1234 %");
}

// The solver asked to stop from another thread at any moment: it gives up
// (both threads of the blocked elimination, with no one left waiting) or
// ends with the very solution it gives without the request.
TEST(Obl0Przerwanie, GivesUpBetweenPanelsOrFinishesExactly) {
  const int nq = 2500;
  for (int nbw : {12, 160}) {
    std::mt19937 los(nbw);
    std::uniform_real_distribution<double> r(-1, 1);
    Macierz<double> s0(1, nq, 1, nbw);
    Wektor<double> f0(1, nq);
    for (int i = 1; i <= nq; ++i) {
      for (int j = 2; j <= nbw; ++j) s0[i][j] = r(los);
      s0[i][1] = 4.0 * nbw;
      f0[i] = r(los);
    }
    Macierz<double> s = s0.kopia();
    Wektor<double> f = f0.kopia();
    int b = 0, b1 = 0;
    Obl0(s.dane(), f.dane(), nq, nbw, b, b1);
    const std::string wzor = bajty(f);

    UstawieniaObl0 u = ustawienia_obl0();
    u.watki = 2;
    std::atomic<bool> stop{true};
    u.przerwij = &stop;
    s = s0.kopia();
    f = f0.kopia();
    EXPECT_FALSE(Obl0_z(s.dane(), f.dane(), nq, nbw, b, b1, u)) << nbw;
    for (int proba = 0; proba < 10; ++proba) {
      s = s0.kopia();
      f = f0.kopia();
      stop = false;
      std::thread t([&] {
        std::this_thread::sleep_for(std::chrono::microseconds(proba * 300));
        stop = true;
      });
      b = b1 = 0;
      const bool cale = Obl0_z(s.dane(), f.dane(), nq, nbw, b, b1, u);
      t.join();
      if (cale) {
        EXPECT_EQ(bajty(f), wzor) << nbw << " " << proba;
      }
    }
  }
}
