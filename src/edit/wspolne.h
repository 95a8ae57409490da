// Small pieces shared by the editing commands of the main window.
#pragma once

#include <cstdarg>
#include <string>

#include "app/okno.h"

namespace edycja {

inline constexpr const char* kBladDanych = "Błąd danych";

// An error box (stop icon, "OK").
inline void blad(Platform& P, const std::string& tekst, const char* tytul = kBladDanych) {
  P.MessageBox(tekst, tytul, Ikona::Blad, Przyciski::OK);
}
// A Yes/No question without an icon; true for Yes.
inline bool pytanie(Platform& P, const std::string& tekst, const char* tytul) {
  return P.MessageBox(tekst, tytul, Ikona::Brak, Przyciski::TakNie) == IDYES;
}
// Destroys the open table windows; they are closed from then on.
inline void zamknij_tabele(_OKNO_& o) {
  o.ZamknijTabele();
  o.id = o.iw = 0;
}
// printf into a std::string.
std::string tekst(const char* fmt, ...) __attribute__((format(printf, 1, 2)));

}  // namespace edycja
