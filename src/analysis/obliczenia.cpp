// "&Oblicz": the nonlinear analysis of the main window.  The engine
// (analysis/silnik.h) does the numbers on a thread of its own
// (analysis/analiza_w_tle.h); this file asks for the limits, shows the
// progress, reports through message boxes, writes the convergence log and
// moves the results into the store.
#include "analysis/obliczenia.h"

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cstdio>
#include <utility>

#include "analysis/analiza_w_tle.h"
#include "analysis/silnik.h"
#include "app/liczby.h"
#include "app/okno.h"
#include "model/plik.h"

namespace {
constexpr const char* kGlowny = "VELDO SKORBA N";
constexpr const char* kObliczenia = "Obliczenia";
constexpr const char* kBladObliczen = "Błąd podczas obliczeń";

using Zegar = std::chrono::steady_clock;
// An analysis shorter than this shows no progress window, so that editing
// with automatic recalculation does not flicker.
constexpr auto kPokazPo = std::chrono::milliseconds(300);
// The progress window (its clock, its button) is looked after at least this often.
constexpr auto kOdswiezanie = std::chrono::milliseconds(100);

std::string zmiana_procent(double v) {
  char b[32];
  std::snprintf(b, sizeof b, v >= 100 ? "%.0f" : "%.3g", v);
  return b;
}

}  // namespace

Postep postep_obliczen(int ukonczone, int lprz, bool ze_zmiana, double dumax, float epsdR, double sekundy) {
  Postep p;
  p.tytul = kObliczenia;
  p.przycisk = "Przerwij";
  const int krok = std::min(ukonczone + 1, lprz);
  const std::string zmiana = ze_zmiana ? zmiana_procent(dumax) + " %" : "–";
  char limit[32];
  std::snprintf(limit, sizeof limit, "%g", static_cast<double>(epsdR));
  const long s = static_cast<long>(sekundy);
  char czas[32];
  std::snprintf(czas, sizeof czas, "%ld:%02ld", s / 60, s % 60);
  p.wiersze = {"Krok " + std::to_string(krok) + " z " + std::to_string(lprz),
               "Zmiana przemieszczeń: " + zmiana + " (błąd maksymalny " + limit + " %)",
               std::string("Czas obliczeń: ") + czas};
  p.linia = "krok " + std::to_string(krok) + "/" + std::to_string(lprz);
  if (ze_zmiana) p.linia += ", zmiana " + zmiana;
  p.wartosc = ukonczone;
  p.zakres = lprz;
  return p;
}

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

  // The iteration runs on its own copy of the store; meanwhile this thread
  // shows the progress (after a while) and answers each step's report.
  AnalizaWTle a(M, it, [this] { P.Obudz(); }, metoda);
  auto t0 = Zegar::now();
  std::string log;
  bool zbiezna = false, bez_plastycznych = false, przerwij = false;
  int krok = 0;
  bool ze_zmiana = false;
  double dumax = 0.0;
  bool widoczny = false;
  AnalizaWTle::Wiadomosci n;
  for (;;) {
    Postep p = postep_obliczen(krok, it.lprz, ze_zmiana, dumax, it.epsdR,
                               std::chrono::duration<double>(Zegar::now() - t0).count());
    widoczny = widoczny || Zegar::now() - t0 >= kPokazPo;
    p.widoczny = widoczny;
    przerwij = P.PokazPostep(p) || przerwij;
    a.odpowiedz(krok, przerwij);
    // The messages of the steps, in the order the iteration gives them.
    // The time the user spends reading one does not count towards the
    // analysis, so the progress window does not appear just for its end.
    const auto przed = Zegar::now();
    for (const auto& r : n.raporty) {
      if (r.wynik.brak_plastycznych)
        P.MessageBox("Nie wystąpiy naprężenia plastyczne", kObliczenia, Ikona::Wykrzyknik, Przyciski::OK);
      // Data the analysis refuses is named, so that the user knows what to mend.
      if (r.wynik.blad)
        P.MessageBox(r.opis_bledu.empty() ? kBladObliczen : r.opis_bledu, kObliczenia, Ikona::Blad, Przyciski::OK);
    }
    t0 += Zegar::now() - przed;
    if (n.koniec) break;
    // Wait for news: with the window shown, in the window system's loop
    // where the platform has one; before that, and otherwise, here.
    const auto czas = widoczny ? kOdswiezanie
                               : std::min<Zegar::duration>(kOdswiezanie, t0 + kPokazPo - Zegar::now());
    if (widoczny && P.Czekaj(static_cast<int>(kOdswiezanie.count())))
      n = a.odbierz(std::chrono::milliseconds(0));
    else
      n = a.odbierz(std::chrono::duration_cast<std::chrono::milliseconds>(czas) + std::chrono::milliseconds(1));
    for (const auto& r : n.raporty) {
      krok = r.krok;
      if (r.wynik.linia_logu) log += linia_logu(r.wynik.krok_logu, r.wynik.dumax);
      if (r.wynik.zbiezna) zbiezna = true;
      if (r.wynik.brak_plastycznych) bez_plastycznych = true;
      if (!r.wynik.blad && r.krok > 1) {
        ze_zmiana = true;
        dumax = r.dumax;
      }
    }
  }
  P.ZakonczPostep();

  const Iteracja& wynik = a.iteracja();
  przebieg.metoda = a.metoda();
  przebieg.kroki = wynik.ikr;
  przebieg.dumax = wynik.dumax;
  if (a.przerwana() && a.ukonczone() == 0) {
    // Stopped before the first step ended: nothing has changed.
    P.MessageBox("Obliczenia przerwane po 0 krokach", kObliczenia, Ikona::Wykrzyknik, Przyciski::OK);
    przebieg.koniec = Przebieg::Przerwana;
    zakoncz();
    return;
  }
  // The log is written whole at the end; the analysis does not depend on
  // it, so a folder that cannot take it costs only the log.
  przebieg.log_zapisany = zapisz_plik_atomowo(plik_dr, log.data(), log.size());
  if (a.przerwana())
    P.MessageBox("Obliczenia przerwane po " + std::to_string(a.ukonczone()) + " krokach", kObliczenia,
                 Ikona::Wykrzyknik, Przyciski::OK);
  else if (wynik.ikr >= wynik.lprz)
    P.MessageBox("Wykorzystano maksymalną liczbę kroków\nPonów obliczenia z większą liczbą kroków", kObliczenia,
                 Ikona::Wykrzyknik, Przyciski::OK);
  // The results (and the rest of the copy, which the window has not
  // changed meanwhile) become the store.
  M = std::move(a.model());
  if (M.blad != 0) {
    P.MessageBox(kBladObliczen, kGlowny, Ikona::Brak, Przyciski::OK);
    przebieg.koniec = Przebieg::Blad;
  } else {
    M.obliczono = 1;
    przebieg.koniec = a.przerwana()       ? Przebieg::Przerwana
                      : bez_plastycznych ? Przebieg::BrakPlastycznych
                      : zbiezna          ? Przebieg::Zbiezna
                                         : Przebieg::LimitKrokow;
  }
  zakoncz();
}
