// The drawing surface of the program: a small GDI-like interface through
// which the model view, the stress maps, the material plot, the table
// windows and the rubber band draw.  Nothing in the core knows how pixels
// get to the screen; the Qt adapter implements it with QPainter, for the
// window and for a QImage that tests inspect.
//
// Conventions (those of the classic desktop drawing interface the pictures
// were designed for):
//  - integer pixel coordinates, origin at the top-left of the client area;
//  - LineTo draws from the current point up to, but not including, the end
//    point, and makes the end point current;
//  - Rectangle(l, t, r, b) outlines with the pen and fills with the brush the
//    area l..r-1, t..b-1;
//  - Polygon outlines with the pen and fills with the brush using the
//    alternating (odd-even) rule;
//  - TextOut anchors the text at its top-left corner and paints the text's
//    background opaque white;
//  - pens wider than one pixel draw both end points, with round ends.
#pragma once

#include <cstdint>
#include <string>

struct Kolor {
  std::uint8_t r = 0, g = 0, b = 0;
  constexpr Kolor() = default;
  constexpr Kolor(int cr, int cg, int cb)
      : r(static_cast<std::uint8_t>(cr)), g(static_cast<std::uint8_t>(cg)), b(static_cast<std::uint8_t>(cb)) {}
  friend constexpr bool operator==(const Kolor& a, const Kolor& c) {
    return a.r == c.r && a.g == c.g && a.b == c.b;
  }
};

struct Punkt {
  int x = 0, y = 0;
};

// Width and height of a text in pixels.
struct Wymiary {
  int szer = 0, wys = 0;
};

enum class StylPiora { Ciagly, Kreskowany, Kropkowany };

class Canvas {
 public:
  virtual ~Canvas() = default;

  // Client area size in pixels.
  virtual int Szerokosc() const = 0;
  virtual int Wysokosc() const = 0;

  virtual void Pioro(Kolor k, int szerokosc = 1, StylPiora styl = StylPiora::Ciagly) = 0;
  virtual void Pedzel(Kolor k) = 0;
  virtual void Prostokat(int l, int t, int r, int b) = 0;
  virtual void MoveTo(int x, int y) = 0;
  virtual void LineTo(int x, int y) = 0;
  virtual void Polyline(const Punkt* p, int n) = 0;
  virtual void Polygon(const Punkt* p, int n) = 0;
  // Fills the polygon with the brush (alternating rule) and leaves out the
  // outline; a surface that cannot leave it out outlines it with the pen.
  virtual void Wypelnij(const Punkt* p, int n) { Polygon(p, n); }

  virtual void KolorTekstu(Kolor k) = 0;
  // Selects a font by face, pixel height and weight (400 normal, 700 bold).
  virtual void Czcionka(const std::string& kroj, int wysokosc_px, int waga = 400) = 0;
  // Selects the window's default font (the one of a fresh drawing surface).
  virtual void CzcionkaDomyslna() = 0;
  // Text (UTF-8) with its top-left corner at (x, y), on an opaque white background.
  virtual void TextOut(int x, int y, const std::string& tekst) = 0;
  // The box TextOut would paint for the text in the present font; {0, 0}
  // on a surface that cannot measure text (pictures are then laid out
  // without regard to the width of their texts).
  virtual Wymiary WymiaryTekstu(const std::string& /*tekst*/) { return {}; }

  virtual Kolor GetPixel(int x, int y) const = 0;
  virtual void SetPixel(int x, int y, Kolor k) = 0;

  // The pointer over the surface: busy while a long drawing runs, back to
  // what it was afterwards.  Surfaces without a pointer ignore it.
  virtual void WskaznikZajety(bool /*zajety*/) {}
};
