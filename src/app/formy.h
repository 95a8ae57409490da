// The forms shared by the commands of several parts of the program: the
// layouts of the node, element, support, force and thickness forms bound to
// their field records, the checks of their answers (the editing commands,
// the group commands and the wizard use them), and the message boxes that
// go with them.
#pragma once

#include <string>

#include "app/formularz.h"
#include "app/platform.h"
#include "app/rekordy.h"
#include "model/model.h"

namespace formy {

inline constexpr const char* kBladDanych = "Błąd danych";

// An error box (stop icon, "OK").
inline void blad(Platform& P, const std::string& tekst, const char* tytul = kBladDanych) {
  P.MessageBox(tekst, tytul, Ikona::Blad, Przyciski::OK);
}
// A Yes/No question without an icon; true for Yes.
inline bool pytanie(Platform& P, const std::string& tekst, const char* tytul) {
  return P.MessageBox(tekst, tytul, Ikona::Brak, Przyciski::TakNie) == IDYES;
}
// printf into a std::string.
std::string tekst(const char* fmt, ...) __attribute__((format(printf, 1, 2)));

}  // namespace formy

// "Wymuszone przesuniecia" (3030): the restraints of one node or of a group.
::Formularz uklad_D_DANE_WYM(d_wymusz& r);
// "Obciążenie węzłów siłami" (3040): the forces of one node or of a group.
::Formularz uklad_D_DANE_SIL(d_sily& r);
// "Współrzędne węzłów" (3020): the coordinates of one node.
::Formularz uklad_D_DANE_WSP(d_wsp& r);
// "Parametry elementów trójkątnych" (3010): the nodes and material of one element.
::Formularz uklad_D_DANE_PRZ(d_dane_przek& r);
// "Grubosc tarczy" (3160): the plate thickness.
::Formularz uklad_D_DANE_GRUBOSC(da_grubosc& r);

// Writes a stored value into a field as a preset in the given printf
// format.  The field gives back only its first 7 characters, so a value
// that this reading would change by more than 1 % (a modulus of 2.1e11 as
// "210000000000.0" reads back as 2100000, a force of -0.00001 as "-0.000010"
// reads back as 0) is written instead as the most precise text of at most
// 7 characters ("2.1e11", "-1e-5"): confirming a form unchanged never
// changes the model by more than that.
void ustaw_wartosc(Pole& p, const char* fmt, double v);

// --- checks of answers ----------------------------------------------------------------
// Each shows its error boxes ("Błąd danych") one after the other, in the
// order the checks run, and tells whether the answer is accepted.

struct Trojkat {
  int k1 = 0, k2 = 0, k3 = 0, m = 0;
};
// The element form.  The editing commands refuse two equal node numbers
// other than k1 = k2 silently; the wizard gives every refusal its message.
bool sprawdz_element(Platform& P, const d_dane_przek& r, int nn, int nm, bool kreator, Trojkat& t);
// Element e's nodes and material into the form, and back from a checked
// form into the store.
void pokaz_element(d_dane_przek& r, const Model& m, int e);
void zapisz_element(Model& m, int e, const Trojkat& t);
// The node form: both coordinates must be 0 or more.
bool sprawdz_wezel(Platform& P, const d_wsp& r, float& x, float& y);
// The support form: the typed node number must lie in 1..zakres to pass
// without a message, and in 1..nn to be accepted; at least one direction
// must be ticked.  Returns the typed node number when accepted, else 0.
int sprawdz_podpore(Platform& P, const d_wymusz& r, int zakres, int nn);
// The force form: returns the typed node number when it lies in 1..nn,
// 0 for a number 0 (refused without a message) and -1 for one below 0 or
// above nn (refused with "Zły numer węzła").
int sprawdz_sile(Platform& P, const d_sily& r, int nn);
