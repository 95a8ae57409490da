// "&Oblicz": the nonlinear analysis of the main window.  The engine
// (analysis/silnik.h) does the numbers; this file asks for the limits,
// reports through message boxes and writes the convergence log.
#include "analysis/obliczenia.h"

#include <charconv>

#include "analysis/silnik.h"
#include "app/liczby.h"
#include "app/okno.h"
#include "model/plik.h"

namespace {
constexpr const char* kGlowny = "VELDO SKORBA N";
constexpr const char* kObliczenia = "Obliczenia";
constexpr const char* kBladObliczen = "Błąd podczas obliczeń";
}  // namespace

::Formularz uklad_D_DANE_OBL(d_dane_obl& r) {
  ::Formularz f;
  f.zasob = 3200;
  f.tytul = "Dane obliczeń";
  f.szer = 142;
  f.wys = 65;
  const int g = f.ramka("");
  f.edycja(8500, "Maksymalna liczba kroków ", "ik", &r.ik, g, true);
  f.edycja(8501, "Bład maksymalny w %", "pocz", &r.pocz, g);
  return f;
}

std::string linia_logu(int krok, double dumax) {
  char bufor[512];
  auto [p, ec] = std::to_chars(bufor, bufor + sizeof bufor, krok);
  *p++ = ' ';
  auto [q, ec2] = std::to_chars(p, bufor + sizeof bufor - 1, dumax, std::chars_format::fixed, 6);
  if (ec2 != std::errc()) return std::to_string(krok) + " ?\n";
  *q++ = '\n';
  return std::string(bufor, q);
}

void _OKNO_::Cm_ODSWIEZ() {
  Obliczenia();
  P.Odswiez();
}

void _OKNO_::Obliczenia() {
  P.UstawKursor(Kursor::Czekaj);
  M.obliczono = 0;
  M.blad = 0;
  przebieg = {};
  auto zakoncz = [this] {
    P.UstawKursor(Kursor::Normalny);
    P.Odswiez();
  };
  if (M.Pusty == 1) {
    P.MessageBox("Błąd obliczeń - projekt nie istnieje", kGlowny, Ikona::Brak, Przyciski::OK);
    zakoncz();
    return;
  }
  if (M.nd < 1 || M.ne < 1 || M.nn < 3) {
    P.MessageBox("Niezdefiniowano podpór,węzłów lub elementów", kGlowny, Ikona::Brak, Przyciski::OK);
    zakoncz();
    return;
  }

  // The limits, with the same presets at every analysis; refused entries
  // reopen the form with the texts as typed.
  Iteracja it;
  ustaw(dane_obl.ik, "50");
  ustaw(dane_obl.pocz, "5");
  for (;;) {
    ::Formularz f = uklad_D_DANE_OBL(dane_obl);
    ++przebieg.formularze;
    if (P.Formularz(f) != IDOK) {
      przebieg.koniec = Przebieg::Anulowana;
      P.UstawKursor(Kursor::Normalny);
      return;
    }
    const int k = atoi_pola(dane_obl.ik.t);
    const double e = atof_pola(dane_obl.pocz.t);
    if (k >= 1 && e >= 0 && e < 100) {
      it.lprz = k;
      it.epsdR = static_cast<float>(e);
      break;
    }
    if (k < 1) P.MessageBox("Ilość kroków musi być większa od 0", "SKORBA N obliczenia", Ikona::Blad, Przyciski::OK);
    if (e < 0)
      P.MessageBox("Maksymalny błąd musi być większy lub równy 0", "SKORBA N obliczenia", Ikona::Blad,
                   Przyciski::OK);
  }

  PracaAnalizy w;
  start_analizy(M, w, it, metoda);
  przebieg.metoda = w.rzadki ? MetodaRozwiazania::Rzadka : MetodaRozwiazania::Pasmowa;
  std::string log;
  bool zbiezna = false, bez_plastycznych = false;
  while (it.krok <= it.lprz) {
    const WynikKroku r = krok_iteracji(M, w, it);
    if (r.brak_plastycznych) {
      bez_plastycznych = true;
      P.MessageBox("Nie wystąpiy naprężenia plastyczne", kObliczenia, Ikona::Wykrzyknik, Przyciski::OK);
    }
    if (r.linia_logu) log += linia_logu(r.krok_logu, r.dumax);
    if (r.zbiezna) zbiezna = true;
    if (r.blad) {
      // Data the analysis refuses is named, so that the user knows what to mend.
      int b1 = 0;
      const std::string opis = M.blad == kBladDanych ? blad_danych(M, b1) : std::string();
      P.MessageBox(opis.empty() ? kBladObliczen : opis, kObliczenia, Ikona::Blad, Przyciski::OK);
    }
    ++it.krok;
  }
  // The log is written whole at the end; the analysis does not depend on
  // it, so a folder that cannot take it costs only the log.
  przebieg.log_zapisany = zapisz_plik_atomowo(plik_dr, log.data(), log.size());
  if (it.ikr >= it.lprz)
    P.MessageBox("Wykorzystano maksymalną liczbę kroków\nPonów obliczenia z większą liczbą kroków", kObliczenia,
                 Ikona::Wykrzyknik, Przyciski::OK);
  w.EE.zwolnij();
  if (M.blad == 0) Reakcje(M, w);
  if (M.blad == 0) Wart_wez(M, w);
  przebieg.kroki = it.ikr;
  przebieg.dumax = it.dumax;
  if (M.blad != 0) {
    P.MessageBox(kBladObliczen, kGlowny, Ikona::Brak, Przyciski::OK);
    przebieg.koniec = Przebieg::Blad;
  } else {
    M.obliczono = 1;
    przebieg.koniec = bez_plastycznych ? Przebieg::BrakPlastycznych
                      : zbiezna        ? Przebieg::Zbiezna
                                       : Przebieg::LimitKrokow;
  }
  w.zwolnij();
  zakoncz();
}
