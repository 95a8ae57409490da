#include "cli/konsola.h"

#include <unistd.h>

Konsola::Konsola(std::FILE* err) : terminal(isatty(fileno(err)) == 1), err_(err) {}

int Konsola::MessageBox(const std::string& tekst, const std::string& tytul, Ikona ikona,
                        Przyciski przyciski) {
  usun_linie();
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

bool Konsola::PokazPostep(const Postep& p) {
  if (p.widoczny && terminal && (!linia_ || p.linia != ostatnia_linia_)) {
    // Back to the start of the line, the text, the rest of the old line cleared.
    std::fprintf(err_, "\r%s\033[K", p.linia.c_str());
    std::fflush(err_);
    linia_ = true;
    ostatnia_linia_ = p.linia;
  }
  return przerwanie && przerwanie->load();
}

void Konsola::ZakonczPostep() { usun_linie(); }

void Konsola::usun_linie() {
  if (!linia_) return;
  std::fprintf(err_, "\r\033[K");
  std::fflush(err_);
  linia_ = false;
}
