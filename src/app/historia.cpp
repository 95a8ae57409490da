#include "app/historia.h"

#include <utility>

bool rowne(const ObrazModelu& a, const ObrazModelu& b) {
  if (a == b) return true;
  return a && b && *a == *b;
}

void Historia::Zacznij(ObrazModelu stan) {
  stany_.clear();
  bajty_ = rozmiar(stan);
  stany_.push_back({std::move(stan), {}});
  biezacy_ = 0;
}

bool Historia::Dodaj(ObrazModelu stan, std::string nazwa) {
  if (rowne(stan, Biezacy())) return false;
  while (stany_.size() > biezacy_ + 1) {
    bajty_ -= rozmiar(stany_.back().obraz);
    stany_.pop_back();
  }
  bajty_ += rozmiar(stan);
  stany_.push_back({std::move(stan), std::move(nazwa)});
  ++biezacy_;
  while (biezacy_ > 0 && (Kroki() > limit_krokow_ || bajty_ > limit_bajtow_)) {
    bajty_ -= rozmiar(stany_.front().obraz);
    stany_.pop_front();
    --biezacy_;
  }
  return true;
}

void Historia::Zastap(ObrazModelu stan) {
  Stan& s = stany_[biezacy_];
  bajty_ = bajty_ - rozmiar(s.obraz) + rozmiar(stan);
  s.obraz = std::move(stan);
}

const ObrazModelu& Historia::Cofnij() {
  if (MoznaCofnac()) --biezacy_;
  return Biezacy();
}

const ObrazModelu& Historia::Ponow() {
  if (MoznaPonowic()) ++biezacy_;
  return Biezacy();
}
