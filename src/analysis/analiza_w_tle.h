// The nonlinear iteration on a thread of its own.
//
// The thread works on its own copy of the model store, so the window's
// thread can go on painting the store (and the tables reading it) while the
// iteration runs; the caller moves the results into the store once the
// thread has ended.  Nothing but the copy is written by the thread.
//
// After each step the thread leaves a report; the window's thread answers
// every report with "go on" or "stop".  The thread solves the next step
// before it looks at the answer to the previous report, and gives that step
// up when the answer (or any later request) says stop; the solver also
// gives up between panels once asked.  The results are then those of the
// last completed step, exactly as if the step limit had been reached
// there.  The answer, not the moment of the request, decides which step
// that is, so a scripted answer stops at a chosen step.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "analysis/silnik.h"
#include "model/model.h"

class AnalizaWTle {
 public:
  struct Raport {
    int krok = 0;            // the step's number (steps started)
    WynikKroku wynik;        // what it asks to report
    double dumax = 0.0;      // its change in percent
    std::string opis_bledu;  // the data the analysis refused, named (see blad_danych)
  };
  struct Wiadomosci {
    std::vector<Raport> raporty;  // new reports, in order
    bool koniec = false;          // the iteration, reactions and nodal values have ended
  };

  // Starts the thread on a copy of m with the limits it.lprz and it.epsdR,
  // solving with the method asked for (see wybierz_metode).  obudz is
  // called on the thread whenever it leaves news.
  AnalizaWTle(const Model& m, const Iteracja& it, std::function<void()> obudz,
              MetodaRozwiazania metoda = MetodaRozwiazania::Pasmowa);
  // Asks the thread to stop and waits for it.
  ~AnalizaWTle();
  AnalizaWTle(const AnalizaWTle&) = delete;
  AnalizaWTle& operator=(const AnalizaWTle&) = delete;

  // What came since the last call; waits at most `czas` when nothing has.
  Wiadomosci odbierz(std::chrono::milliseconds czas);
  // The answer to the reports up to the step `krok` (0 before the first):
  // go on, or stop.  A request to stop cannot be taken back.
  void odpowiedz(int krok, bool przerwij);

  // After the end was received: waits for the thread, then gives the copy
  // with its results and the state of the iteration.
  Model& model();
  const Iteracja& iteracja();
  // Whether the iteration was stopped on request, and the steps completed.
  bool przerwana();
  int ukonczone();
  // The solution path the analysis took.
  MetodaRozwiazania metoda();

 private:
  void praca();
  bool dalej(int krok);
  void zglos(const Raport* r, bool koniec);
  void dolacz();

  Model m_;
  Iteracja it_;
  std::function<void()> obudz_;
  MetodaRozwiazania metoda_;
  bool przerwana_ = false;
  int ukonczone_ = 0;

  std::mutex mx_;
  std::condition_variable cv_;
  std::vector<Raport> raporty_;  // not yet received
  bool koniec_ = false;
  int odpowiedziano_ = -1;       // the last step answered
  std::atomic<bool> przerwij_{false};

  std::thread watek_;
};
