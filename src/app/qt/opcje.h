// The options the desktop program answers by itself, before Qt looks for a
// display, so that they work on a console and over ssh.
#pragma once

#include <cstdio>

// --help / -h prints the usage, --version the version, both to `wyjscie`.
// Returns the exit status when one of them was given, -1 to start the
// program (every other argument is left to Qt and the program).
int odpowiedz_na_opcje(int argc, char** argv, std::FILE* wyjscie = stdout);
