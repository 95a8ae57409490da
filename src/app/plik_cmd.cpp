// "&Otwórz" and "Zapisz &Jako": the project file commands of the main
// window, and the list of the files opened or saved last.
#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <vector>

#include "app/okno.h"
#include "model/plik.h"

namespace {
constexpr const char* kGlowny = "VELDO SKORBA N";
constexpr const char* kDysk = "Błąd operacji dyskowej";
constexpr const char* kPytanie = "Otwarcie nowego pliku spowoduje utrate danych\n\nJesteś pewien ?";

std::string klucz_ostatniego(int n) { return "ostatnie/" + std::to_string(n); }

void zapisz_ostatnie(Platform& P, const std::vector<std::string>& lista) {
  for (int n = 1; n <= _OKNO_::kOstatnich; ++n)
    P.ZapiszUstawienie(klucz_ostatniego(n), n <= static_cast<int>(lista.size()) ? lista[n - 1] : "");
}
}  // namespace

void _OKNO_::CzytajOstatnie() {
  ostatnie.clear();
  for (int n = 1; n <= kOstatnich; ++n)
    if (std::string s = P.Ustawienie(klucz_ostatniego(n));
        !s.empty() && std::find(ostatnie.begin(), ostatnie.end(), s) == ostatnie.end())
      ostatnie.push_back(std::move(s));
}

void _OKNO_::Cm_Otworz() {
  if (!MoznaPorzucic(kPytanie)) return;
  WyborPliku wybor(_plik_);
  if (!P.OtworzPlik(_plik_)) return;
  if (Wczytaj(_plik_.sciezka)) wybor.udany();
}

void _OKNO_::OtworzPlikProjektu(const std::string& sciezka) {
  if (JestSiatka(sciezka)) return ImportujPlik(sciezka);
  if (MoznaPorzucic(kPytanie)) Wczytaj(sciezka);
}

void _OKNO_::OtworzOstatni(int n) {
  if (n < 1 || n > static_cast<int>(ostatnie.size())) return;
  const std::string sciezka = ostatnie[static_cast<std::size_t>(n - 1)];
  std::error_code ec;
  if (!std::filesystem::exists(sciezka, ec)) {
    P.MessageBox("Plik nie istnieje:\n" + sciezka, kDysk, Ikona::Wykrzyknik, Przyciski::OK);
    // Another program may have changed the list meanwhile: the stored one counts.
    CzytajOstatnie();
    std::erase(ostatnie, sciezka);
    zapisz_ostatnie(P, ostatnie);
    return;
  }
  OtworzPlikProjektu(sciezka);
}

void _OKNO_::ZapamietajOstatni(const std::string& sciezka) {
  std::error_code ec;
  auto pelna = std::filesystem::absolute(sciezka, ec);
  const std::string s = ec ? sciezka : pelna.lexically_normal().string();
  CzytajOstatnie();
  std::erase(ostatnie, s);
  ostatnie.insert(ostatnie.begin(), s);
  if (ostatnie.size() > static_cast<std::size_t>(kOstatnich)) ostatnie.resize(kOstatnich);
  zapisz_ostatnie(P, ostatnie);
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
  ZapamietajOstatni(sciezka);
  // The next file dialog starts at the file opened last.
  _plik_.sciezka = plik_projektu;
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
  WyborPliku wybor(_plik_);
  if (!P.ZapiszPlik(_plik_)) return;
  if (!ZapiszDo(_plik_.sciezka)) return;
  wybor.udany();
  P.MessageBox("Plik zapisano poprawnie", kGlowny, Ikona::Brak, Przyciski::OK);
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
  _plik_.sciezka = plik_projektu;
  ZapamietajZapis(dane);
  ZapamietajOstatni(sciezka);
  P.UstawKursor(Kursor::Normalny);
  return true;
}
