// The after-change path of the main window, unsaved changes, undo and redo.
#include <memory>

#include "app/okno.h"
#include "model/plik.h"

namespace {
constexpr const char* kGlowny = "VELDO SKORBA N";
}  // namespace

ObrazModelu _OKNO_::Obraz() const {
  if (M.Pusty != 0) return nullptr;
  return std::make_shared<const std::vector<std::uint8_t>>(zapisz_model(M));
}

void _OKNO_::PoZmianie(const Zmiana& z) {
  switch (z.tabele) {
    case Tabele::Wszystkie:
      ZamknijTabele();
      id = iw = 0;
      break;
    case Tabele::Wyniki:
      ZamknijWyniki();
      iw = 0;
      break;
  }
  if (z.bez_grupy) zw_grp();
  M.obliczono = 0;
  if (z.nazwa) historia.Dodaj(Obraz(), z.nazwa);
  if (z.przelicz && a_licz == 1 && M.Pusty == 0) Obliczenia();
  P.Odswiez();
}

void _OKNO_::NowaHistoria(bool zapis) {
  historia.Zacznij(Obraz());
  if (zapis)
    zapisany = historia.Biezacy();
  else
    zapisany.reset();
}

bool _OKNO_::Zmieniony() const { return !zapisany || !rowne(*zapisany, historia.Biezacy()); }

bool _OKNO_::MoznaPorzucic(const char* pytanie) {
  if (M.Pusty != 0) return true;
  if (pytanie && P.MessageBox(pytanie, kGlowny, Ikona::Pytanie, Przyciski::TakNie) != IDYES) return false;
  if (!Zmieniony()) return true;
  switch (P.MessageBox("Zapisać zmiany w projekcie?", kGlowny, Ikona::Pytanie, Przyciski::TakNieAnuluj)) {
    case IDYES:
      if (!plik_projektu.empty()) return ZapiszDo(plik_projektu);
      return P.ZapiszPlik(_plik_) && ZapiszDo(_plik_.sciezka);
    case IDNO:
      return true;
    default:
      return false;
  }
}

namespace {

// Puts a state of the history into the store.
void przywroc(_OKNO_& o, const ObrazModelu& stan) {
  Model& M = o.M;
  if (!stan) {
    if (M.Pusty == 0) {
      o.ZamknijTabele();
      zwolnij_tablice(M);
      M.Pusty = 1;
    }
  } else {
    // The image was written from the store itself, so the reader takes it.
    wczytaj_obraz_modelu(stan->data(), stan->size(), M);
    M.Pusty = 0;
  }
  // A plot of a material the model no longer has is closed.
  if (o.nrma > M.nm) {
    o.SHOWGRAPH = 0;
    o.nrma = 1;
  }
  o.PoZmianie({.przelicz = true, .bez_grupy = true});
}

}  // namespace

void _OKNO_::Cm_Cofnij() {
  if (historia.MoznaCofnac()) przywroc(*this, historia.Cofnij());
}

void _OKNO_::Cm_Ponow() {
  if (historia.MoznaPonowic()) przywroc(*this, historia.Ponow());
}
