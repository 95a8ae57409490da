#include "cli/konsola.h"

int Konsola::MessageBox(const std::string& tekst, const std::string& tytul, Ikona ikona,
                        Przyciski przyciski) {
  ++komunikaty;
  if (ikona == Ikona::Blad || ikona == Ikona::Wykrzyknik) ++bledy;
  ostatni_komunikat = tekst;
  std::fprintf(err_, "%s: %s\n", tytul.c_str(), tekst.c_str());
  return przyciski == Przyciski::OK ? IDOK : IDYES;
}

int Konsola::Formularz(::Formularz& f) {
  const int razy = ++pokazy[f.zasob];
  auto it = odpowiedzi.find(f.zasob);
  if (it == odpowiedzi.end()) return IDCANCEL;
  if (jednokrotnie && razy > 1) return IDCANCEL;
  zastosuj_odpowiedz(f, it->second);
  return IDOK;
}

bool Konsola::OtworzPlik(OpisPliku& opis) {
  if (sciezka_otwarcia.empty()) return false;
  opis.sciezka = sciezka_otwarcia;
  return true;
}

bool Konsola::ZapiszPlik(OpisPliku& opis) {
  if (sciezka_zapisu.empty()) return false;
  opis.sciezka = sciezka_zapisu;
  return true;
}


int Konsola::WybierzZListy(const std::string& tytul, const std::string& napis,
                           const std::vector<std::string>& pozycje) {
  std::fprintf(err_, "%s: %s\n", tytul.c_str(), napis.c_str());
  for (std::size_t i = 0; i < pozycje.size(); ++i) std::fprintf(err_, "  %zu. %s\n", i + 1, pozycje[i].c_str());
  const int r = wybor_z_listy;
  wybor_z_listy = -1;
  return r >= 0 && r < static_cast<int>(pozycje.size()) ? r : -1;
}
