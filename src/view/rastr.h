// A small software rasteriser over 32-bit pixels (0xffRRGGBB), with the
// conventions of the Canvas: integer coordinates at pixel positions, thin
// lines that leave out their last pixel, wide lines with round ends that
// keep both, rectangles that fill l..r-1 x t..b-1 and polygons filled with
// the alternating rule (a pixel is inside when its position is, left and
// top edges inclusive, right and bottom edges exclusive).
//
// Every operation clips to the image and accepts any int coordinates:
// lines and polygons far outside the image cost no more than their visible
// part, so a degenerate picture cannot stall or overflow the drawing.
#pragma once

#include <cstdint>
#include <vector>

#include "view/canvas.h"

class Rastr {
 public:
  Rastr() = default;
  // `krok` is the distance between rows, in pixels.
  Rastr(std::uint32_t* piksele, int szer, int wys, int krok);

  bool gotowy() const { return p_ != nullptr; }
  int szer() const { return w_; }
  int wys() const { return h_; }

  static std::uint32_t kolor(Kolor k) {
    return 0xff000000u | (std::uint32_t{k.r} << 16) | (std::uint32_t{k.g} << 8) | k.b;
  }

  void punkt(int x, int y, std::uint32_t c) {
    if (x >= 0 && y >= 0 && x < w_ && y < h_) p_[static_cast<std::size_t>(y) * krok_ + x] = c;
  }
  // Colour at (x, y); white outside the image.
  std::uint32_t odczyt(int x, int y) const {
    if (x >= 0 && y >= 0 && x < w_ && y < h_) return p_[static_cast<std::size_t>(y) * krok_ + x];
    return 0xffffffffu;
  }

  // A one-pixel line from (x0, y0) up to, not including, (x1, y1).
  void odcinek(int x0, int y0, int x1, int y1, std::uint32_t c);
  // A line `szer` pixels wide with round ends, both end points included.
  void gruby_odcinek(int x0, int y0, int x1, int y1, int szer, std::uint32_t c);
  // Fills l..r-1 x t..b-1 (corners in any order).
  void wypelnij(int l, int t, int r, int b, std::uint32_t c);
  // The outline of a rectangle filled by wypelnij, one pixel wide.
  void ramka(int l, int t, int r, int b, std::uint32_t c);
  // Fills the polygon with the alternating rule (no outline).
  void wielokat(const Punkt* p, int n, std::uint32_t c);
  // One-pixel lines through the points; a closed outline returns to the
  // first point, an open one leaves out the last point like odcinek.
  void obrys(const Punkt* p, int n, bool zamkniety, std::uint32_t c);

  // Coordinates are limited to +-kZasieg before any arithmetic.
  static constexpr int kZasieg = 1 << 28;

 private:
  void przygotuj_pedzel(int szer);
  std::uint32_t* p_ = nullptr;
  int w_ = 0, h_ = 0;
  std::size_t krok_ = 0;
  // offsets of the round pen tip for the width in pedzel_szer_
  int pedzel_szer_ = 0;
  std::vector<std::pair<int, int>> pedzel_;
  std::vector<std::int64_t> przeciecia_;
};
