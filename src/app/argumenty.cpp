#include "app/argumenty.h"

ArgumentyProgramu czytaj_argumenty(int argc, const char* const* argv) {
  ArgumentyProgramu a;
  bool opcje = true;
  for (int i = 1; i < argc; ++i) {
    const std::string s = argv[i];
    if (opcje && s == "--") {
      opcje = false;
    } else if (opcje && s.size() > 1 && s[0] == '-') {
      a.blad = "nieznana opcja " + s;
      return a;
    } else if (a.plik.empty()) {
      a.plik = s;
    } else {
      a.blad = "podano więcej niż jeden plik";
      return a;
    }
  }
  return a;
}
