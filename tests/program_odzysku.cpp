// The program that the recovery test kills: it keeps a recovery file in the
// folder it is given, adds a node to a new model, lets the timer write the
// copy, says so on standard output and waits.
#include <unistd.h>

#include <cstdio>

#include "app/okno.h"
#include "cicha_platforma.h"

int main(int argc, char** argv) {
  Model m;
  CichaPlatforma p;  // the node form keeps its presets
  _OKNO_ okno(m, p);
  if (argc != 2 || !okno.WlaczOdzysk(argv[1])) return 1;
  okno.Cm_Nowy();
  okno.Cm_d_wez();
  okno.EvTimer();
  std::fputc('1', stdout);
  std::fflush(stdout);
  for (;;) ::pause();
}
