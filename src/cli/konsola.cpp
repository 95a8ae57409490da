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

