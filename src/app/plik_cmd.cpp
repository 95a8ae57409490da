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
  if (!MoznaPorzucic("Otwarcie nowego pliku spowoduje utrate danych\n\nJesteś pewien ?")) return;
  if (!P.OtworzPlik(_plik_)) return;
  Wczytaj(_plik_.sciezka);
}

bool _OKNO_::Wczytaj(const std::string& sciezka) {
  P.UstawKursor(Kursor::Czekaj);
  std::vector<std::uint8_t> dane;
  if (!czytaj_plik(sciezka, dane)) {
    P.MessageBox("Nie można otworzyć pliku", kDysk, Ikona::Wykrzyknik, Przyciski::OK);
    P.UstawKursor(Kursor::Normalny);
    return false;
  }
  // The file is checked completely before anything of it reaches the store:
  // a refused file leaves the present model as it was.
  if (!wczytaj_model(dane.data(), dane.size(), M)) {
    P.MessageBox("Błędny plik z danymi", kDysk, Ikona::Wykrzyknik, Przyciski::OK);
    P.UstawKursor(Kursor::Normalny);
    return false;
  }
  P.UstawTytul(std::string(kTytulPrefiks) + sciezka);
  plik_projektu = sciezka;
  M.Pusty = 0;
  p_napr = 0;
  p_n_pola = 0;
  NowaHistoria(true);
  PoZmianie({.przelicz = true});
  P.UstawKursor(Kursor::Normalny);
  return true;
}

void _OKNO_::Cm_Zapisz() {
  if (M.Pusty != 0) return;
  if (!P.ZapiszPlik(_plik_)) return;
  if (ZapiszDo(_plik_.sciezka)) P.MessageBox("Plik zapisano poprawnie", kGlowny, Ikona::Brak, Przyciski::OK);
}

bool _OKNO_::ZapiszDo(const std::string& sciezka) {
  P.UstawKursor(Kursor::Czekaj);
  const ObrazModelu dane = Obraz();
  if (!dane || !zapisz_plik_atomowo(sciezka, dane->data(), dane->size())) {
    P.UstawKursor(Kursor::Normalny);
    P.MessageBox("Nie można zapisać do pliku", kDysk, Ikona::Wykrzyknik, Przyciski::OK);
    return false;
  }
  P.UstawTytul(std::string(kTytulPrefiks) + sciezka);
  plik_projektu = sciezka;
  ZapamietajZapis(dane);
  P.UstawKursor(Kursor::Normalny);
  return true;
}
