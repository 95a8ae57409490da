// "Eksportuj do ParaView…", "Zapisz rysunek…" and "Kopiuj rysunek": the
// model and its results out of the program, as a .vtu file for
// post-processors and as the picture the window shows.
#include <cctype>
#include <string>

#include "app/okno.h"
#include "io/vtu.h"
#include "model/plik.h"
#include "view/svg.h"

namespace {
constexpr const char* kGlowny = "VELDO SKORBA N";
constexpr const char* kDysk = "Błąd operacji dyskowej";
constexpr const char* kNieZapisano = "Nie można zapisać danych do pliku";
constexpr const char* kUstawienieDwa = "rysunek/podwojny";

bool konczy_sie_na(const std::string& s, const char* koncowka) {
  const std::string k(koncowka);
  if (s.size() < k.size()) return false;
  for (std::size_t i = 0; i < k.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(s[s.size() - k.size() + i])) != k[i]) return false;
  return true;
}
}  // namespace

void _OKNO_::Cm_eksport_vtu() {
  if (M.Pusty != 0) return;
  if (!P.ZapiszPlik(_plikvtu_)) return;
  P.UstawKursor(Kursor::Czekaj);
  const PrzebiegVtu p{przebieg.kroki, static_cast<float>(przebieg.dumax)};
  const std::string tekst = tekst_vtu(M, M.obliczono == 1 ? &p : nullptr);
  const bool ok = zapisz_plik_atomowo(_plikvtu_.sciezka, tekst.data(), tekst.size());
  P.UstawKursor(Kursor::Normalny);
  if (!ok) {
    P.MessageBox(kNieZapisano, kDysk, Ikona::Wykrzyknik, Przyciski::OK);
    return;
  }
  P.MessageBox("Plik zapisano poprawnie", kGlowny, Ikona::Brak, Przyciski::OK);
}

// The picture the window shows now, at the window's size: a vector picture
// when the name ends in .svg (the SVG filter of the dialog adds it), PNG
// otherwise, optionally at twice the size for print.
void _OKNO_::Cm_zapisz_rysunek() {
  if (M.Pusty != 0) return;
  int w = 0, h = 0;
  if (!P.RozmiarWidoku(w, h) || w < 1 || h < 1) return;
  if (!P.ZapiszPlik(_plikrys_)) return;
  const std::string& plik = _plikrys_.sciezka;
  const auto maluj = [this](Canvas& c) { Paint(c); };
  bool ok;
  if (konczy_sie_na(plik, ".svg")) {
    P.UstawKursor(Kursor::Czekaj);
    SvgCanvas c(w, h);
    Paint(c);
    const std::string s = c.dokument();
    ok = zapisz_plik_atomowo(plik, s.data(), s.size());
  } else {
    dane_rys.podwojny = P.Ustawienie(kUstawienieDwa) == "1" ? 1 : 0;
    ustaw(dane_rys.rozmiar, "%d × %d", w, h);
    ::Formularz f;
    f.zasob = 3410;
    f.tytul = "Zapisz rysunek";
    f.napis(8710, "Rozmiar okna w pikselach:");
    f.napis(8711, "", &dane_rys.rozmiar);
    f.wybor(8620, "Podwójna wielkość (do druku)", "podwojny", &dane_rys.podwojny);
    if (P.Formularz(f) != IDOK) return;
    P.ZapiszUstawienie(kUstawienieDwa, dane_rys.podwojny ? "1" : "0");
    P.UstawKursor(Kursor::Czekaj);
    ok = P.ZapiszObrazPNG(plik, w, h, dane_rys.podwojny ? 2 : 1, maluj);
  }
  P.UstawKursor(Kursor::Normalny);
  if (!ok) {
    P.MessageBox(kNieZapisano, kDysk, Ikona::Wykrzyknik, Przyciski::OK);
    return;
  }
  P.MessageBox("Plik zapisano poprawnie", kGlowny, Ikona::Brak, Przyciski::OK);
}

void _OKNO_::Cm_kopiuj_rysunek() {
  if (M.Pusty != 0) return;
  int w = 0, h = 0;
  if (!P.RozmiarWidoku(w, h) || w < 1 || h < 1) return;
  if (!P.KopiujObraz(w, h, [this](Canvas& c) { Paint(c); }))
    P.MessageBox("Nie można skopiować rysunku do schowka", kGlowny, Ikona::Wykrzyknik, Przyciski::OK);
}
