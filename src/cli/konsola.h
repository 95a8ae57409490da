// The Platform of the batch tool: message boxes go to standard error in the
// words the program would show, questions are answered Yes (also the
// three-button ones), forms are
// answered from the command line (or cancelled), and file dialogs return the
// paths the tool was given.  The progress of a long analysis is one line on
// standard error that rewrites itself, when that is a terminal; a flag (set
// by the tool on Ctrl+C) asks to stop it.
#pragma once

#include <atomic>
#include <cstdio>
#include <map>
#include <string>

#include "app/platform.h"

class Konsola : public Platform {
 public:
  explicit Konsola(std::FILE* err = stderr);

  // Answers for forms by resource number: field name -> text.  A form
  // without answers is cancelled.
  std::map<int, std::map<std::string, std::string>> odpowiedzi;
  // When set, each form is answered only the first time it is shown and
  // cancelled after that: a form that refuses its answer and opens again
  // would otherwise be answered the same way for ever.
  bool jednokrotnie = false;
  // Path returned by the next open / save dialog ("" = cancel).
  std::string sciezka_otwarcia;
  std::string sciezka_zapisu;

  // Index returned by the next list (-1 = cancel).
  int wybor_z_listy = -1;

  // Message boxes shown so far, and how many of them reported an error.
  // The size of the pictures (there is no window to take it from).
  int widok_szer = 1280, widok_wys = 800;
  bool RozmiarWidoku(int& szer, int& wys) const override {
    szer = widok_szer;
    wys = widok_wys;
    return true;
  }

  int komunikaty = 0;
  int bledy = 0;
  // Text of the last message box.
  std::string ostatni_komunikat;
  // How many times each form (by resource number) was shown.
  std::map<int, int> pokazy;
  // Whether the progress line is shown (standard error is a terminal).
  bool terminal;
  // When set and true, a running analysis is asked to stop.
  const std::atomic<bool>* przerwanie = nullptr;

  int MessageBox(const std::string& tekst, const std::string& tytul, Ikona ikona,
                 Przyciski przyciski) override;
  int Formularz(::Formularz& f) override;
  bool OtworzPlik(OpisPliku& opis) override;
  bool ZapiszPlik(OpisPliku& opis) override;
  int WybierzZListy(const std::string& tytul, const std::string& napis,
                    const std::vector<std::string>& pozycje) override;
  void UstawTytul(const std::string&) override {}
  void UstawKursor(Kursor) override {}
  void Odswiez() override {}
  void Zamknij() override {}
  void OtworzDokument(const std::string&) override {}
  int PokazOkno(std::unique_ptr<OknoTabeli>) override { return 0; }
  void ZniszczOkno(int) override {}
  bool OknoOtwarte(int) const override { return false; }
  void UstawWspolrzedne(const std::string&) override {}
  bool PokazPostep(const Postep& p) override;
  void ZakonczPostep() override;

 private:
  void usun_linie();
  std::FILE* err_;
  bool linia_ = false;  // a progress line is on the terminal
  std::string ostatnia_linia_;
};
