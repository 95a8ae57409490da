// Shared pieces of the painting of the main window: the safe conversion of
// screen coordinates to pixels, the view transform, and the layers drawn by
// _OKNO_::Paint that live in their own files.
#pragma once

#include <cmath>
#include <string>
#include <vector>

class _OKNO_;
class Canvas;

namespace rysunek {

// Pixel coordinates are limited to +-2^28: far beyond any window, yet small
// enough for all the integer arithmetic of the drawing.
inline constexpr double kZasiegPikseli = 268435456.0;

// A float screen coordinate as a pixel: truncation toward zero.  Values
// beyond the range are limited to it and NaN lands far off the image, so no
// conversion can overflow whatever the model holds.
inline int piksel(double v) {
  if (v >= -kZasiegPikseli && v <= kZasiegPikseli) return static_cast<int>(v);
  return v > 0 ? static_cast<int>(kZasiegPikseli) : -static_cast<int>(kZasiegPikseli);
}

// A float as an index: truncation toward zero, then limited to lo..hi;
// NaN gives lo.
inline int indeks(double v, int lo, int hi) {
  const int i = piksel(v);
  return i < lo ? lo : (i > hi ? hi : i);
}

// True when the float is a number (not infinite, not NaN).
inline bool skonczona(double v) { return std::isfinite(v); }

// printf-style formatting of one value into a std::string.
std::string tekst(const char* format, double v);
std::string tekst(const char* format, int v);

// Text at (x, y), moved left and up as far as it takes (never past the
// top-left corner) to keep a label near the right or the bottom edge whole.
void napis_w_oknie(Canvas& dc, int x, int y, const std::string& tekst);

// The view transform of the model view: model (X, Y) to the screen as floats,
// and back.  It is computed in float as the picture is defined; only where a
// float result would overflow (coordinates near the float limits) is the
// same formula evaluated in double.  The pointer handling reads the model
// point under a pixel with the inverse, so that the readout and the group
// selection refer to what the painter drew there.
struct Rzut {
  float ax = 0, aa = 0, sx = 1, sa = 1, h = 0;
  float X(float x, float przesuniecie = 25.0f) const {
    const float v = (x - ax) * sx + przesuniecie;
    if (std::isfinite(v) || !std::isfinite(x)) return v;
    return static_cast<float>((static_cast<double>(x) - ax) * sx + przesuniecie);
  }
  float Y(float y, float przesuniecie = 40.0f) const {
    const float v = h - ((y - aa) * sa + przesuniecie);
    if (std::isfinite(v) || !std::isfinite(y)) return v;
    return static_cast<float>(h - ((static_cast<double>(y) - aa) * sa + przesuniecie));
  }
  // The model X drawn at screen X px, and the model Y drawn at screen Y py.
  float modelX(float px) const { return (px - 25.0f) / sx + ax; }
  float modelY(float py) const { return (h - py - 40.0f) / sa + aa; }
};

// The transform the last paint of the model view left in the window.
Rzut rzut_okna(const _OKNO_& o);

// Node positions of one paint on the screen (index 1..nn).
struct Ekran {
  Rzut rzut;
  std::vector<float> X, Y;
};

// The stress map with its colour scale (drawn under the mesh).
void rysuj_mape(_OKNO_& o, Canvas& dc, const Ekran& e, float w, float h, int i_izo);
// The stress-strain curve of material nrma instead of the model.
void rysuj_wykres(_OKNO_& o, Canvas& dc);

}  // namespace rysunek
