// Fuzzes the project file reader: whatever the bytes, reading must not crash,
// must allocate no more than the file backs, and a file it accepts must give
// a consistent store that saves back to the file's own bytes.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "model/plik.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* dane, std::size_t rozmiar) {
  Model m;
  if (!wczytaj_model(dane, rozmiar, m)) return 0;
  m.Pusty = 0;
  if (!sprawdz_niezmienniki(m)) std::abort();
  const auto zapis = zapisz_model(m);
  if (zapis.size() > rozmiar || std::memcmp(zapis.data(), dane, zapis.size()) != 0) std::abort();
  return 0;
}
