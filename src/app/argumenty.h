// The command line of the desktop program, once Qt has taken its own
// options and --help and --version have been answered:
//
//   skorba_n [PLIK.SKD | SIATKA.msh]
//
// The file is what a file manager passes on a double-click; it is opened at
// start as "&Otwórz" would.  "--" ends the options, so that a file whose name
// begins with '-' can be given.
#pragma once

#include <string>

struct ArgumentyProgramu {
  std::string plik;  // the project file to open at start, "" for none
  std::string blad;  // what was wrong with the command line, "" when nothing
};

ArgumentyProgramu czytaj_argumenty(int argc, const char* const* argv);

// The usage text printed with an error.
inline constexpr const char* kUzycieProgramu = "użycie: skorba_n [OPCJE-QT] [PLIK.SKD | SIATKA.msh]\n"
                                               "        skorba_n --help | --version\n";
