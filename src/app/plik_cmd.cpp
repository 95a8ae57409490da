// "&Otwórz" and "Zapisz &Jako": the project file commands of the main window.
#include <cstdint>
#include <vector>

#include "app/okno.h"
#include "model/plik.h"

namespace {
constexpr const char* kGlowny = "VELDO SKORBA N";
constexpr const char* kDysk = "Błąd operacji dyskowej";
}  // namespace

void _OKNO_::Cm_Otworz() {
  if (M.Pusty == 0) {
    if (P.MessageBox("Otwarcie nowego pliku spowoduje utrate danych\n\nJesteś pewien ?", kGlowny,
                     Ikona::Pytanie, Przyciski::TakNie) != IDYES)
      return;
    Zwol_pam();
  }
  if (!P.OtworzPlik(_plik_)) return;

  P.UstawKursor(Kursor::Czekaj);
  std::vector<std::uint8_t> dane;
  if (!czytaj_plik(_plik_.sciezka, dane)) {
    P.MessageBox("Nie można otworzyć pliku", kDysk, Ikona::Wykrzyknik, Przyciski::OK);
    P.UstawKursor(Kursor::Normalny);
    return;
  }
  // The file is checked completely before anything of it reaches the store:
  // a refused file leaves the store empty, with no half-filled arrays.
  if (!wczytaj_model(dane.data(), dane.size(), M)) {
    P.MessageBox("Błędny plik z danymi", kDysk, Ikona::Wykrzyknik, Przyciski::OK);
    P.UstawKursor(Kursor::Normalny);
    return;
  }
  P.UstawTytul(std::string(kTytulPrefiks) + _plik_.sciezka);
  M.Pusty = 0;
  p_napr = 0;
  p_n_pola = 0;
  PoZmianie({.przelicz = true});
  P.UstawKursor(Kursor::Normalny);
}

void _OKNO_::Cm_Zapisz() {
  if (M.Pusty != 0) return;
  if (!P.ZapiszPlik(_plik_)) return;
  P.UstawKursor(Kursor::Czekaj);
  const std::vector<std::uint8_t> dane = zapisz_model(M);
  if (!zapisz_plik_atomowo(_plik_.sciezka, dane.data(), dane.size())) {
    P.UstawKursor(Kursor::Normalny);
    P.MessageBox("Nie można zapisać do pliku", kDysk, Ikona::Wykrzyknik, Przyciski::OK);
    return;
  }
  P.UstawTytul(std::string(kTytulPrefiks) + _plik_.sciezka);
  P.UstawKursor(Kursor::Normalny);
  P.MessageBox("Plik zapisano poprawnie", kGlowny, Ikona::Brak, Przyciski::OK);
}
