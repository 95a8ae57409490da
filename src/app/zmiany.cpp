// The after-change path of the main window, unsaved changes, undo and
// redo, and the recovery file.
#include <ctime>
#include <memory>

#include "app/okno.h"
#include "model/plik.h"

namespace {

constexpr const char* kGlowny = "VELDO SKORBA N";

// The recovery file follows the model: written (by the timer) while
// something is unsaved, gone as soon as nothing is.
void pilnuj_odzysku(_OKNO_& o) {
  if (!o.odzysk) return;
  if (!o.Zmieniony() || o.M.Pusty != 0) {
    o.odzysk->Usun();
    return;
  }
  if (!o.zegar_odzysku) {
    o.zegar_odzysku = true;
    o.P.UstawZegar(_OKNO_::kOdstepOdzysku);
  }
}

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
  pilnuj_odzysku(*this);
  if (z.przelicz && a_licz == 1 && M.Pusty == 0) Obliczenia();
  P.Odswiez();
}

void _OKNO_::NowaHistoria(bool zapis) {
  historia.Zacznij(Obraz());
  if (zapis)
    zapisany = historia.Biezacy();
  else
    zapisany.reset();
  pilnuj_odzysku(*this);
}

void _OKNO_::ZapamietajZapis(const ObrazModelu& dane) {
  if (!rowne(historia.Biezacy(), dane)) historia.Zastap(dane);
  zapisany = historia.Biezacy();
  pilnuj_odzysku(*this);
}

void _OKNO_::ZmianaBezKroku() {
  historia.Zastap(Obraz());
  pilnuj_odzysku(*this);
}

bool _OKNO_::Zmieniony() const { return !zapisany || !rowne(*zapisany, historia.Biezacy()); }

bool _OKNO_::MoznaPorzucic(const char* pytanie) {
  if (M.Pusty != 0) return true;
  if (pytanie && P.MessageBox(pytanie, kGlowny, Ikona::Pytanie, Przyciski::TakNie) != IDYES) return false;
  if (!Zmieniony()) return true;
  switch (P.MessageBox("Zapisać zmiany w projekcie?", kGlowny, Ikona::Pytanie, Przyciski::TakNieAnuluj)) {
    case IDYES:
      if (!plik_projektu.empty()) return ZapiszDo(plik_projektu);
      {
        WyborPliku wybor(_plik_);
        if (!P.ZapiszPlik(_plik_) || !ZapiszDo(_plik_.sciezka)) return false;
        wybor.udany();
        return true;
      }
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

// --- the recovery file ------------------------------------------------------------------

bool _OKNO_::WlaczOdzysk(const std::string& katalog) {
  auto o = std::make_unique<PlikOdzysku>();
  if (!o->Otworz(katalog)) return false;
  odzysk = std::move(o);
  pilnuj_odzysku(*this);
  return true;
}

void _OKNO_::EvTimer() {
  zegar_odzysku = false;
  if (!odzysk) return;
  // The present state of the history is the image of the store as the last
  // command left it, also while a command waits for a form.
  const ObrazModelu& b = historia.Biezacy();
  if (Zmieniony() && b)
    odzysk->Zapisz(b->data(), b->size());
  else
    odzysk->Usun();
}

namespace {

// "12.06.2024 14:35", local time.
std::string data_i_godzina(std::time_t t) {
  std::tm tm{};
  char b[64];
  if (!localtime_r(&t, &tm) || std::strftime(b, sizeof b, "%d.%m.%Y %H:%M", &tm) == 0) return "?";
  return b;
}

}  // namespace

void _OKNO_::ZaproponujOdzysk() {
  if (!odzysk) return;
  for (PlikOdzysku::Porzucony& p : odzysk->Porzucone()) {
    std::vector<std::uint8_t> dane;
    Model t;
    // A copy that cannot be read back holds nothing to restore.
    if (!czytaj_plik(p.plik, dane) || !wczytaj_obraz_modelu(dane.data(), dane.size(), t)) {
      PlikOdzysku::Odrzuc(p);
      continue;
    }
    const std::string pytanie = "Znaleziono niezapisany projekt z " + data_i_godzina(p.czas) + ". Przywrócić?";
    if (P.MessageBox(pytanie, kGlowny, Ikona::Pytanie, Przyciski::TakNie) != IDYES) {
      PlikOdzysku::Odrzuc(p);
      continue;
    }
    // Offered at start, into an empty store; a model there would go first.
    if (M.Pusty == 0) Zwol_pam();
    wczytaj_obraz_modelu(dane.data(), dane.size(), M);
    M.Pusty = 0;
    P.UstawTytul(kTytulPusty);
    plik_projektu.clear();
    odzysk->Przejmij(p);
    NowaHistoria(false);
    PoZmianie({.przelicz = true});
    return;
  }
}
