// The undo history of the model.
//
// A state of the model is its project-file image (zapisz_model), which the
// reader restores exactly; the history keeps the state after every step
// together with the step's name, and a position among them.  Undo moves one
// state back, redo one forward, and a new step forgets the states that could
// have been redone.  The oldest states go when the history holds more steps
// or more bytes than its limits; the present state always stays.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <vector>

// The project-file image of a model; nullptr stands for "no model".
using ObrazModelu = std::shared_ptr<const std::vector<std::uint8_t>>;

// Whether two images hold the same bytes (two "no model" images are equal).
bool rowne(const ObrazModelu& a, const ObrazModelu& b);

class Historia {
 public:
  static constexpr std::size_t kLimitBajtow = std::size_t{256} << 20;
  static constexpr int kLimitKrokow = 100;

  explicit Historia(std::size_t limit_bajtow = kLimitBajtow, int limit_krokow = kLimitKrokow)
      : limit_bajtow_(limit_bajtow), limit_krokow_(limit_krokow) {
    Zacznij(nullptr);
  }

  // Forgets every step: `stan` is the present state, with nothing to undo
  // or redo.
  void Zacznij(ObrazModelu stan);
  // The step `nazwa` led from the present state to `stan`.  A state equal to
  // the present one is no step (false).
  bool Dodaj(ObrazModelu stan, std::string nazwa);
  // The present state changed without a step of its own.
  void Zastap(ObrazModelu stan);

  const ObrazModelu& Biezacy() const { return stany_[biezacy_].obraz; }
  bool MoznaCofnac() const { return biezacy_ > 0; }
  bool MoznaPonowic() const { return biezacy_ + 1 < stany_.size(); }
  // The names of the steps that undo and redo would take back and repeat
  // ("" when there is none).
  std::string DoCofniecia() const { return MoznaCofnac() ? stany_[biezacy_].nazwa : std::string(); }
  std::string DoPonowienia() const { return MoznaPonowic() ? stany_[biezacy_ + 1].nazwa : std::string(); }
  // One step back or forward (when there is one); the state to restore.
  const ObrazModelu& Cofnij();
  const ObrazModelu& Ponow();

  int Kroki() const { return static_cast<int>(stany_.size()) - 1; }
  std::size_t Bajty() const { return bajty_; }

 private:
  struct Stan {
    ObrazModelu obraz;
    std::string nazwa;  // the step that led to this state
  };
  static std::size_t rozmiar(const ObrazModelu& o) { return o ? o->size() : 0; }

  std::deque<Stan> stany_;
  std::size_t biezacy_ = 0;
  std::size_t bajty_ = 0;
  std::size_t limit_bajtow_;
  int limit_krokow_;
};
