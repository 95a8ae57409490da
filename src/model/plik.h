// The project file (.SKD): a little-endian dump of the model's counts and
// input arrays.  Header of 28 bytes (ne, nn, nd, nl, nm, th, maxpr), then
// noc, mat, x, pm, nu, u, Sprz, Ez, Prz, si; sections with a zero count are
// absent.  No magic number, no version, no results.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "model/model.h"

// Size in bytes of the file for the given counts (0 when a count is negative).
std::int64_t rozmiar_pliku_modelu(std::int64_t ne, std::int64_t nn, std::int64_t nd, std::int64_t nm,
                                  std::int64_t maxpr);

// The bytes of the project file of model m.
std::vector<std::uint8_t> zapisz_model(const Model& m);

// Reads a project file image into m.  On success m holds the file's counts
// and arrays (the old arrays of m are released first), nq = 2*nn, f = si,
// nbw = 0, napr/ww/react allocated without contents, the element work
// arrays allocated; flags are left to the caller.  A file that is truncated,
// has negative or oversized counts, references out of range or non-finite
// numbers is refused: false, and m is not touched at all.
bool wczytaj_model(const std::uint8_t* dane, std::size_t rozmiar, Model& m);

// Reads back an image that zapisz_model wrote of a model in the store, as
// wczytaj_model does, but also of a model a project file cannot hold: one
// without nodes, or with numbers that are not finite.  Counts, sizes and
// references are checked all the same; false leaves m untouched.
bool wczytaj_obraz_modelu(const std::uint8_t* dane, std::size_t rozmiar, Model& m);

// Reads a whole regular file into memory.  False when it cannot be opened
// or read, when it is not a regular file, and when reading it would wait
// (a file of /proc with nothing to read yet).
bool czytaj_plik(const std::string& sciezka, std::vector<std::uint8_t>& dane);

// Writes a file completely or not at all: the data goes to a temporary file
// in the same folder, which is then renamed over the file.  The previous
// file survives any failure.  A symbolic link stays a link: the file its
// chain of links finally names is replaced (or created).  A device or a pipe
// is written into, never replaced.  A file in a folder that takes no new
// files is written in place when the file itself is writable (then a
// failure can leave it damaged).  An existing file that is not writable is
// not replaced.  False on any error.
bool zapisz_plik_atomowo(const std::string& sciezka, const void* dane, std::size_t rozmiar);
