// "Zapisz &wyniki do pliku ": the results report of the main window.
#include <filesystem>
#include <string>

#include "app/okno.h"
#include "model/plik.h"
#include "model/raport.h"

void _OKNO_::Cm_zap_wyn() {
  // Only results of the present model are reported (the menu entry is
  // disabled otherwise).
  if (M.Pusty != 0 || M.obliczono == 0) return;
  WyborPliku wybor(_pliktxt_);
  if (!P.ZapiszPlik(_pliktxt_)) return;
  P.UstawKursor(Kursor::Czekaj);
  const int nl = policz_sily(M);
  std::string pelna = _pliktxt_.sciezka;
  std::error_code ec;
  const auto abs = std::filesystem::absolute(pelna, ec);
  if (!ec) pelna = abs.string();
  const std::string tekst = na_cp1250(tekst_raportu(M, pelna, nl));
  // Written whole or not at all; nl changes only with a written report.
  if (!zapisz_plik_atomowo(_pliktxt_.sciezka, tekst.data(), tekst.size())) {
    P.UstawKursor(Kursor::Normalny);
    P.MessageBox("Nie można zapisać danych do pliku", "Błąd operacji dyskowej", Ikona::Wykrzyknik, Przyciski::OK);
    return;
  }
  wybor.udany();
  // The count is part of the project file: the present state changes
  // with it, as no step of its own.
  if (M.nl != nl) {
    M.nl = nl;
    ZmianaBezKroku();
  }
  P.UstawKursor(Kursor::Normalny);
  P.MessageBox("Plik zapisano poprawnie", "VELDO SKORBA N", Ikona::Brak, Przyciski::OK);
}
