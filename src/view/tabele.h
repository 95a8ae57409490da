// The two table windows: the input data ("Dane do obliczeń") and the
// results ("Wyniki obliczeń").
//
// Each is a scrollable window that writes fixed columns of formatted numbers
// at fixed pixel positions, one row of 20 pixels per item, section after
// section.  They keep no copy of the model: every paint reads the store
// again, so a window shows the model as it is when it is painted.  The
// platform owns the window; the main window keeps its handle (dd / oo) and
// the program closes the windows when the model changes.
#pragma once

#include <string>

#include "app/platform.h"

class _OKNO_;
struct Model;

// Rows of the material section of the data table: one per modulus interval
// of every material (intervals beyond the allocated columns are not counted).
int wiersze_materialow(const Model& m);
// Rows of the force section: nonzero force components.
int sily_niezerowe(const Model& m);

// Height in pixels of each table drawn for the model (down to the bottom of
// its last row, with a small margin).
long long wysokosc_danych(const Model& m);
long long wysokosc_wynikow(const Model& m);

class _DANE_ : public OknoTabeli {
 public:
  explicit _DANE_(_OKNO_& okno) : O(okno) {}
  std::string Tytul() const override { return "Dane do obliczeń"; }
  bool MaRodzica() const override { return true; }
  int X() const override { return 20; }
  int Y() const override { return 20; }
  int Szer() const override { return 450; }
  int Wys() const override { return 400; }
  int ZakresX() const override;
  int ZakresY() const override;
  void Paint(Canvas& dc) override;
  bool CanClose() override;

 private:
  _OKNO_& O;
  int prawa_ = 0;  // right edge of the widest section of the last paint
};

class _WYNIKI_ : public OknoTabeli {
 public:
  explicit _WYNIKI_(_OKNO_& okno) : O(okno) {}
  std::string Tytul() const override { return "Wyniki obliczeń"; }
  bool MaRodzica() const override { return false; }
  int X() const override { return 20; }
  int Y() const override { return 20; }
  int Szer() const override { return 500; }
  int Wys() const override { return 400; }
  int ZakresX() const override;
  int ZakresY() const override;
  void Paint(Canvas& dc) override;
  bool CanClose() override;

 private:
  _OKNO_& O;
  bool zgloszono_ = false;  // the "no model" message was shown once already
  int prawa_ = 0;           // right edge of the widest section of the last paint
};
