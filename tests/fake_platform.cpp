#include "fake_platform.h"

#include <gtest/gtest.h>

std::vector<std::string> FakePlatform::teksty() const {
  std::vector<std::string> t;
  for (const auto& k : komunikaty) t.push_back(k.tekst);
  return t;
}

void FakePlatform::wyczysc() {
  komunikaty.clear();
  pokazane.clear();
  listy.clear();
  odswiezenia = 0;
}

void FakePlatform::sprawdz_zuzyte() const {
  EXPECT_TRUE(pytania.empty()) << pytania.size() << " niewykorzystanych odpowiedzi na pytania";
  EXPECT_TRUE(formy.empty()) << formy.size() << " niewykorzystanych odpowiedzi formularzy";
  EXPECT_TRUE(pliki.empty()) << pliki.size() << " niewykorzystanych odpowiedzi dialogów plików";
  EXPECT_TRUE(wybory.empty()) << wybory.size() << " niewykorzystanych wyborów z listy";
}

int FakePlatform::MessageBox(const std::string& tekst, const std::string& tytul, Ikona ikona,
                             Przyciski przyciski) {
  komunikaty.push_back({tekst, tytul, ikona, przyciski});
  if (przyciski == Przyciski::OK) return IDOK;
  if (pytania.empty()) {
    ADD_FAILURE() << "pytanie bez odpowiedzi w scenariuszu: \"" << tekst << "\"";
    return IDNO;
  }
  const int r = pytania.front();
  pytania.pop_front();
  if (r == IDCANCEL && przyciski != Przyciski::TakNieAnuluj)
    ADD_FAILURE() << "\"Anuluj\" dla pytania bez tego przycisku: \"" << tekst << "\"";
  return r;
}

int FakePlatform::Formularz(::Formularz& f) {
  Pokaz p{f.zasob, f.tytul, {}, {}};
  for (const auto& k : f.kontrolki) {
    if (k.nazwa.empty()) continue;
    if (k.pole) p.pola[k.nazwa] = k.pole->t;
    if (k.stan) p.stany[k.nazwa] = *k.stan;
  }
  pokazane.push_back(p);
  if (formy.empty()) {
    ADD_FAILURE() << "formularz \"" << f.tytul << "\" (" << f.zasob << ") bez odpowiedzi w scenariuszu";
    return IDCANCEL;
  }
  Odpowiedz o = formy.front();
  formy.pop_front();
  if (o.zasob != 0) {
    EXPECT_EQ(o.zasob, f.zasob) << "pokazano inny formularz: \"" << f.tytul << "\"";
  }
  for (const auto& [n, t] : o.pola) {
    const Kontrolka* k = f.znajdz(n);
    if (!k) {
      ADD_FAILURE() << "formularz \"" << f.tytul << "\" nie ma pola " << n;
    } else if (k->tylko_odczyt) {
      ADD_FAILURE() << "pole " << n << " jest tylko do odczytu";
    }
  }
  for (const auto& [n, s] : o.stany)
    if (!f.znajdz(n)) ADD_FAILURE() << "formularz \"" << f.tytul << "\" nie ma pola wyboru " << n;
  if (o.przycisk != IDOK) return o.przycisk;
  zastosuj_odpowiedz(f, o.pola, o.stany);
  return IDOK;
}

bool FakePlatform::OtworzPlik(OpisPliku& opis) {
  if (pliki.empty()) {
    ADD_FAILURE() << "dialog otwarcia pliku bez odpowiedzi w scenariuszu";
    return false;
  }
  auto s = pliki.front();
  pliki.pop_front();
  if (!s) return false;
  opis.sciezka = *s;
  return true;
}

bool FakePlatform::ZapiszPlik(OpisPliku& opis) {
  if (pliki.empty()) {
    ADD_FAILURE() << "dialog zapisu pliku bez odpowiedzi w scenariuszu";
    return false;
  }
  auto s = pliki.front();
  pliki.pop_front();
  if (!s) return false;
  opis.sciezka = *s;
  return true;
}

int FakePlatform::WybierzZListy(const std::string& tytul, const std::string&,
                                const std::vector<std::string>& pozycje) {
  listy.push_back(pozycje);
  if (wybory.empty()) {
    ADD_FAILURE() << "lista \"" << tytul << "\" bez odpowiedzi w scenariuszu";
    return -1;
  }
  const int r = wybory.front();
  wybory.pop_front();
  return r;
}

int FakePlatform::PokazOkno(std::unique_ptr<OknoTabeli> okno) {
  const int u = nastepne_okno++;
  okna[u] = std::move(okno);
  return u;
}

void FakePlatform::ZniszczOkno(int uchwyt) {
  auto it = okna.find(uchwyt);
  if (it == okna.end()) return;
  okna.erase(it);
  zniszczone.push_back(uchwyt);
}

bool FakePlatform::zamknij_okno(int uchwyt) {
  auto it = okna.find(uchwyt);
  if (it == okna.end()) return false;
  if (!it->second->CanClose()) return false;
  okna.erase(it);
  return true;
}
