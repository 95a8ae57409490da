#include "app/qt/opcje.h"

#include <cstring>

#include "wersja.h"

int odpowiedz_na_opcje(int argc, char** argv, std::FILE* wyjscie) {
  for (int i = 1; i < argc; ++i) {
    if (!std::strcmp(argv[i], "--version")) {
      std::fprintf(wyjscie, "skorba_n (SKORBA N) %s\n", SKORBA_WERSJA);
      return 0;
    }
    if (!std::strcmp(argv[i], "--help") || !std::strcmp(argv[i], "-h")) {
      std::fprintf(wyjscie,
                   "użycie: skorba_n [OPCJE-QT] [PLIK.SKD | SIATKA.msh]\n"
                   "        skorba_n --help | --version\n"
                   "Obliczanie tarcz metodą elementów skończonych z uwzględnieniem nieliniowości\n"
                   "materiałowej (wersja %s).\n"
                   "  PLIK.SKD       projekt otwierany po uruchomieniu\n"
                   "  SIATKA.msh     siatka Gmsh (lub geometria .geo) importowana po uruchomieniu\n"
                   "  -h, --help     pokaż ten opis i zakończ\n"
                   "  --version      pokaż wersję programu i zakończ\n"
                   "Pozostałe opcje przyjmuje biblioteka Qt (np. -platform NAZWA).\n"
                   "Obliczenia bez okna: skorba_calc --help; opis: man skorba_n.\n"
                   "Podręcznik użytkownika (\"Pomoc\" w menu): %s/podrecznik/index.html\n",
                   SKORBA_WERSJA, SKORBA_KATALOG_DOKUMENTOW);
      return 0;
    }
  }
  return -1;
}
