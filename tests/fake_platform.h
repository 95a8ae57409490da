// A scripted platform for the tests.  It answers message boxes, forms and
// file dialogs from queues and records everything it was asked to show, so a
// test reads like what the user saw: "asks 'Utworzyć nowe dane ?',
// answered No, nothing changed".
#pragma once

#include <deque>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/platform.h"

struct FakePlatform : Platform {
  struct Komunikat {
    std::string tekst, tytul;
    Ikona ikona;
    Przyciski przyciski;
  };
  struct Pokaz {  // a form as it was shown: its presets
    int zasob;
    std::string tytul;
    std::map<std::string, std::string> pola;
    std::map<std::string, int> stany;
    std::string pole(const std::string& n) const {
      auto it = pola.find(n);
      return it == pola.end() ? "<brak pola " + n + ">" : it->second;
    }
  };
  struct Odpowiedz {
    int przycisk = IDOK;
    std::map<std::string, std::string> pola;
    std::map<std::string, int> stany;
    int zasob = 0;  // the form expected (0 = any)
  };

  // --- script ---
  // Answer of the next Yes/No box.
  FakePlatform& tak() { pytania.push_back(IDYES); return *this; }
  FakePlatform& nie() { pytania.push_back(IDNO); return *this; }
  // "Anuluj" of the next Yes/No/Cancel box.
  FakePlatform& anuluj_pytanie() { pytania.push_back(IDCANCEL); return *this; }
  // Answer of the next form: OK with these texts (and check boxes).
  FakePlatform& ok(std::map<std::string, std::string> pola = {}, std::map<std::string, int> stany = {},
                   int zasob = 0) {
    formy.push_back({IDOK, std::move(pola), std::move(stany), zasob});
    return *this;
  }
  FakePlatform& anuluj(int zasob = 0) {
    formy.push_back({IDCANCEL, {}, {}, zasob});
    return *this;
  }
  // Answer of the next file dialog (std::nullopt = cancelled).
  FakePlatform& plik(std::optional<std::string> sciezka) {
    pliki.push_back(std::move(sciezka));
    return *this;
  }

  // Answer of the next list (the index chosen, -1 = cancelled).
  FakePlatform& wybierz(int indeks) {
    wybory.push_back(indeks);
    return *this;
  }

  std::deque<int> pytania;
  std::deque<int> wybory;
  std::deque<Odpowiedz> formy;
  std::deque<std::optional<std::string>> pliki;

  // --- record ---
  std::vector<Komunikat> komunikaty;
  std::vector<Pokaz> pokazane;
  std::vector<std::vector<std::string>> listy;  // entries of every list shown
  std::string tytul;
  Kursor kursor = Kursor::Normalny;
  int odswiezenia = 0;
  int zamkniecia = 0;
  std::vector<std::string> dokumenty;
  std::string wspolrzedne;
  std::vector<int> zegary;  // every timer asked for, in milliseconds
  std::map<int, std::unique_ptr<OknoTabeli>> okna;
  std::vector<int> zniszczone;
  int nastepne_okno = 1;

  // Texts of all message boxes, in order.
  std::vector<std::string> teksty() const;
  // Forgets what was recorded (not the script).
  void wyczysc();
  // Fails the running test when script answers are left over.
  void sprawdz_zuzyte() const;

  int MessageBox(const std::string& tekst, const std::string& tytul, Ikona ikona,
                 Przyciski przyciski) override;
  int Formularz(::Formularz& f) override;
  bool OtworzPlik(OpisPliku& opis) override;
  bool ZapiszPlik(OpisPliku& opis) override;
  int WybierzZListy(const std::string& tytul, const std::string& napis,
                    const std::vector<std::string>& pozycje) override;
  void UstawTytul(const std::string& t) override { tytul = t; }
  void UstawKursor(Kursor k) override { kursor = k; }
  void Odswiez() override { ++odswiezenia; }
  void Zamknij() override { ++zamkniecia; }
  void OtworzDokument(const std::string& s) override { dokumenty.push_back(s); }
  int PokazOkno(std::unique_ptr<OknoTabeli> okno) override;
  void ZniszczOkno(int uchwyt) override;
  bool OknoOtwarte(int uchwyt) const override { return okna.count(uchwyt) > 0; }
  void UstawWspolrzedne(const std::string& t) override { wspolrzedne = t; }
  void UstawZegar(int ms) override { zegary.push_back(ms); }
  std::string Ustawienie(const std::string& k) const override {
    auto it = ustawienia.find(k);
    return it == ustawienia.end() ? std::string() : it->second;
  }
  void ZapiszUstawienie(const std::string& k, const std::string& w) override { ustawienia[k] = w; }
  // Settings the program stored (the scripted platform's "between sessions").
  std::map<std::string, std::string> ustawienia;

  // Pictures: the window's size, and what was asked to be saved or copied.
  // `obrazy_udane` decides whether those requests succeed.
  int widok_szer = 800, widok_wys = 600;
  struct ObrazZadany {
    std::string sciezka;  // "" for the clipboard
    int szer, wys, skala;
  };
  std::vector<ObrazZadany> obrazy;
  bool obrazy_udane = true;
  bool RozmiarWidoku(int& szer, int& wys) const override {
    szer = widok_szer;
    wys = widok_wys;
    return true;
  }
  bool ZapiszObrazPNG(const std::string& sciezka, int szer, int wys, int skala,
                      const std::function<void(Canvas&)>&) override {
    obrazy.push_back({sciezka, szer, wys, skala});
    return obrazy_udane;
  }
  bool KopiujObraz(int szer, int wys, const std::function<void(Canvas&)>&) override {
    obrazy.push_back({"", szer, wys, 1});
    return obrazy_udane;
  }

  // The progress window: every state it was given, and the steps completed
  // when the user presses "Przerwij" (-1 never, 0 before the first ends).
  bool PokazPostep(const Postep& p) override {
    postepy.push_back(p);
    return przerwij_po >= 0 && p.wartosc >= przerwij_po;
  }
  void ZakonczPostep() override { ++konce_postepu; }
  int przerwij_po = -1;
  std::vector<Postep> postepy;
  int konce_postepu = 0;

  // The user closes a table window: its CanClose is asked; true when it closed.
  bool zamknij_okno(int uchwyt);
};
