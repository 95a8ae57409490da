#include "app/formularz.h"

#include <cstdio>

void ustaw(Pole& p, const char* fmt, ...) {
  va_list ap;
  va_start(ap, fmt);
  std::vsnprintf(p.t, sizeof p.t, fmt, ap);
  va_end(ap);
}

int Formularz::napis(int id, const std::string& tekst, Pole* pole, bool prawo, int r) {
  Kontrolka k;
  k.rodzaj = Rodzaj::Napis;
  k.id = id;
  k.tekst = tekst;
  k.pole = pole;
  k.do_prawej = prawo;
  k.ramka = r;
  kontrolki.push_back(k);
  return static_cast<int>(kontrolki.size()) - 1;
}

int Formularz::ramka(const std::string& t) {
  Kontrolka k;
  k.rodzaj = Rodzaj::Ramka;
  k.tekst = t;
  kontrolki.push_back(k);
  return static_cast<int>(kontrolki.size()) - 1;
}

int Formularz::edycja(int id, const std::string& etykieta, const std::string& nazwa, Pole* pole, int r,
                      bool cyfry, bool odczyt, bool prawo, int limit) {
  Kontrolka k;
  k.rodzaj = Rodzaj::Edycja;
  k.id = id;
  k.tekst = etykieta;
  k.nazwa = nazwa;
  k.pole = pole;
  k.ramka = r;
  k.tylko_cyfry = cyfry;
  k.tylko_odczyt = odczyt;
  k.do_prawej = prawo;
  k.limit = limit;
  kontrolki.push_back(k);
  return static_cast<int>(kontrolki.size()) - 1;
}

int Formularz::wybor(int id, const std::string& tekst, const std::string& nazwa, int* stan, int r) {
  Kontrolka k;
  k.rodzaj = Rodzaj::Wybor;
  k.id = id;
  k.tekst = tekst;
  k.nazwa = nazwa;
  k.stan = stan;
  k.ramka = r;
  kontrolki.push_back(k);
  return static_cast<int>(kontrolki.size()) - 1;
}

int Formularz::lista(int id, const std::string& etykieta, const std::string& nazwa,
                     std::vector<std::string> pozycje, int* stan, int r) {
  Kontrolka k;
  k.rodzaj = Rodzaj::Lista;
  k.id = id;
  k.tekst = etykieta;
  k.nazwa = nazwa;
  k.pozycje = std::move(pozycje);
  k.stan = stan;
  k.ramka = r;
  kontrolki.push_back(k);
  return static_cast<int>(kontrolki.size()) - 1;
}

Kontrolka* Formularz::znajdz(const std::string& nazwa) {
  for (auto& k : kontrolki)
    if (!k.nazwa.empty() && k.nazwa == nazwa) return &k;
  return nullptr;
}

const Kontrolka* Formularz::znajdz(const std::string& nazwa) const {
  for (const auto& k : kontrolki)
    if (!k.nazwa.empty() && k.nazwa == nazwa) return &k;
  return nullptr;
}

std::string odczyt_pola(const std::string& wpisany, int limit) {
  // Count characters, not bytes: a Polish letter is one character of the
  // edit field but two bytes of UTF-8.
  std::size_t i = 0;
  int znaki = 0;
  while (i < wpisany.size() && znaki < limit) {
    const auto c = static_cast<unsigned char>(wpisany[i]);
    std::size_t len = c < 0x80 ? 1 : c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1;
    i += len;
    ++znaki;
  }
  if (i > wpisany.size()) i = wpisany.size();
  return wpisany.substr(0, i);
}

void zastosuj_odpowiedz(::Formularz& f, const std::map<std::string, std::string>& teksty,
                        const std::map<std::string, int>& stany) {
  for (auto& k : f.kontrolki) {
    if (k.rodzaj == Rodzaj::Edycja && k.pole) {
      std::string t = k.pole->t;
      if (!k.tylko_odczyt) {
        auto it = teksty.find(k.nazwa);
        if (it != teksty.end()) t = it->second;
      }
      ustaw(*k.pole, "%s", odczyt_pola(t, k.limit).c_str());
    } else if (k.rodzaj == Rodzaj::Wybor && k.stan) {
      auto it = stany.find(k.nazwa);
      if (it != stany.end()) *k.stan = it->second ? 1 : 0;
    } else if (k.rodzaj == Rodzaj::Lista && k.stan) {
      auto it = stany.find(k.nazwa);
      if (it != stany.end() && it->second >= 0 && it->second < static_cast<int>(k.pozycje.size()))
        *k.stan = it->second;
    }
  }
}
