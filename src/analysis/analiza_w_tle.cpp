#include "analysis/analiza_w_tle.h"

#include <utility>

AnalizaWTle::AnalizaWTle(const Model& m, const Iteracja& it, std::function<void()> obudz,
                         MetodaRozwiazania metoda)
    : m_(kopia_modelu(m)), it_(it), obudz_(std::move(obudz)), metoda_(metoda) {
  watek_ = std::thread([this] { praca(); });
}

AnalizaWTle::~AnalizaWTle() {
  {
    std::lock_guard l(mx_);
    przerwij_.store(true);
  }
  cv_.notify_all();
  dolacz();
}

void AnalizaWTle::dolacz() {
  if (watek_.joinable()) watek_.join();
}

AnalizaWTle::Wiadomosci AnalizaWTle::odbierz(std::chrono::milliseconds czas) {
  std::unique_lock l(mx_);
  cv_.wait_for(l, czas, [this] { return !raporty_.empty() || koniec_; });
  Wiadomosci w;
  w.raporty.swap(raporty_);
  w.koniec = koniec_;
  return w;
}

void AnalizaWTle::odpowiedz(int krok, bool przerwij) {
  {
    std::lock_guard l(mx_);
    odpowiedziano_ = std::max(odpowiedziano_, krok);
    if (przerwij) przerwij_.store(true);
  }
  cv_.notify_all();
}

Model& AnalizaWTle::model() {
  dolacz();
  return m_;
}

const Iteracja& AnalizaWTle::iteracja() {
  dolacz();
  return it_;
}

bool AnalizaWTle::przerwana() {
  dolacz();
  return przerwana_;
}

int AnalizaWTle::ukonczone() {
  dolacz();
  return ukonczone_;
}

MetodaRozwiazania AnalizaWTle::metoda() {
  dolacz();
  return metoda_;
}

// Waits for the answer to the report of step `krok`; true to go on.
bool AnalizaWTle::dalej(int krok) {
  std::unique_lock l(mx_);
  cv_.wait(l, [&] { return odpowiedziano_ >= krok || przerwij_.load(); });
  return !przerwij_.load();
}

void AnalizaWTle::zglos(const Raport* r, bool koniec) {
  {
    std::lock_guard l(mx_);
    if (r) raporty_.push_back(*r);
    if (koniec) koniec_ = true;
  }
  cv_.notify_all();
  if (obudz_) obudz_();
}

void AnalizaWTle::praca() {
  Model& m = m_;
  Iteracja& it = it_;
  PracaAnalizy w;
  start_analizy(m, w, it, metoda_);
  metoda_ = w.rzadki ? MetodaRozwiazania::Rzadka : MetodaRozwiazania::Pasmowa;
  // The solution of the last completed step, kept while the next one is
  // solved in the other vector.
  Wektor<double> poprzednie;
  if (w.fd.istnieje()) poprzednie.przydziel(w.fd.lo(), w.fd.hi());
  w.przerwij = &przerwij_;
  while (it.krok <= it.lprz) {
    std::swap(w.fd, poprzednie);
    const int blad1 = m.blad1;
    rozwiazanie_kroku(m, w, it);
    if (w.przerwany || !dalej(it.ikr - 1)) {
      // Back to the end of the last completed step: its solution, and the
      // displacements stored from it as the solution stores them.
      std::swap(w.fd, poprzednie);
      --it.ikr;
      m.blad = 0;
      m.blad1 = blad1;
      if (it.ikr > 0)
        for (int i = 1; i <= m.nq; ++i) m.f[i] = static_cast<float>(w.fd[i]);
      przerwana_ = true;
      break;
    }
    Raport r;
    r.wynik = koniec_kroku(m, w, it);
    r.krok = it.ikr;
    r.dumax = it.dumax;
    if (r.wynik.blad && m.blad == kBladDanych) {
      int b1 = 0;
      r.opis_bledu = blad_danych(m, b1);
    }
    if (!r.wynik.blad) ukonczone_ = it.ikr;
    zglos(&r, false);
    ++it.krok;
  }
  w.przerwij = nullptr;
  poprzednie.zwolnij();
  // The moduli of the last step stay with the results (the exports show
  // them); the old ones go with them.
  m.EE = std::move(w.EE);
  if (m.blad == 0 && ukonczone_ > 0) Reakcje(m, w);
  if (m.blad == 0 && ukonczone_ > 0) Wart_wez(m, w);
  w.zwolnij();
  zglos(nullptr, true);
}
