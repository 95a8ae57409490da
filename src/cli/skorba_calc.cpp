// skorba_calc: the batch tool.  It loads a project file through the same
// command code as the desktop program, with a console platform in place of
// the screen.
//
//   skorba_calc MODEL.SKD [--save OUT.SKD]
//
// Exit status: 0 done, 2 the file or the arguments were refused, 3 a file
// could not be written.
#include <cstdio>
#include <cstring>
#include <string>

#include "app/okno.h"
#include "cli/konsola.h"

namespace {

int uzycie(const char* blad) {
  if (blad) std::fprintf(stderr, "skorba_calc: %s\n", blad);
  std::fprintf(stderr, "użycie: skorba_calc MODEL.SKD [--save PLIK.SKD]\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  std::string model_plik, zapis;
  for (int i = 1; i < argc; ++i) {
    const char* a = argv[i];
    if (!std::strcmp(a, "--save")) {
      if (++i >= argc) return uzycie("--save wymaga nazwy pliku");
      zapis = argv[i];
    } else if (!std::strcmp(a, "-h") || !std::strcmp(a, "--help")) {
      uzycie(nullptr);
      return 0;
    } else if (a[0] == '-' && a[1] != '\0') {
      return uzycie((std::string("nieznana opcja ") + a).c_str());
    } else if (model_plik.empty()) {
      model_plik = a;
    } else {
      return uzycie("podano więcej niż jeden plik modelu");
    }
  }
  if (model_plik.empty()) return uzycie("brak pliku modelu");

  Model model;
  Konsola konsola;
  _OKNO_ okno(model, konsola);
  konsola.sciezka_otwarcia = model_plik;
  okno.Cm_Otworz();
  if (model.Pusty != 0) return 2;

  if (!zapis.empty()) {
    konsola.sciezka_zapisu = zapis;
    const int bledy = konsola.bledy;
    okno.Cm_Zapisz();
    if (konsola.bledy != bledy) return 3;
  }
  std::printf("węzłów %d, elementów %d, materiałów %d, podpór %d\n", model.nn, model.ne, model.nm, model.nd);
  return 0;
}
