// Canvas on a QImage.  The main window and the table windows paint into
// images through it, and the tests inspect the images.
//
// Thin solid lines, wide solid lines, fills, polygons and pixels are drawn
// by the software rasteriser straight into the image's memory, with exactly
// the conventions of the Canvas and at a small fraction of QPainter's cost
// per primitive (a stress map is hundreds of thousands of tiny polygons).
// Text is composed from glyphs that QPainter renders once per font and
// character (kerning included), so the thousands of numbers of a large mesh
// cost no text layout each.  Dashed and dotted lines go through QPainter.
// At a device-pixel ratio other than 1 the rasteriser draws in device
// pixels: coordinates and wide pens are scaled, thin lines stay one device
// pixel wide (as cosmetic pens), text comes from the font at the device's
// size.  Images that the rasteriser cannot address (other pixel formats)
// are drawn entirely with QPainter.
#pragma once

#include <QCursor>
#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QPen>
#include <QPointer>
#include <QWidget>
#include <optional>

#include "view/canvas.h"
#include "view/rastr.h"

class Pismo;

class QtCanvas : public Canvas {
 public:
  // Draws onto `obraz`; the drawing coordinates are shifted by (-dx, -dy)
  // (the scroll position of a table window).  Szerokosc/Wysokosc report the
  // image size.
  explicit QtCanvas(QImage& obraz, int dx = 0, int dy = 0);
  ~QtCanvas() override;

  // The widget whose pointer WskaznikZajety changes (none by default).
  void ustawWidzet(QWidget* w) { widzet_ = w; }

  int Szerokosc() const override;
  int Wysokosc() const override;
  void Pioro(Kolor k, int szerokosc, StylPiora styl) override;
  void Pedzel(Kolor k) override;
  void Prostokat(int l, int t, int r, int b) override;
  void MoveTo(int x, int y) override;
  void LineTo(int x, int y) override;
  void Polyline(const Punkt* p, int n) override;
  void Polygon(const Punkt* p, int n) override;
  void Wypelnij(const Punkt* p, int n) override;
  void KolorTekstu(Kolor k) override;
  void Czcionka(const std::string& kroj, int wysokosc_px, int waga) override;
  void CzcionkaDomyslna() override;
  void TextOut(int x, int y, const std::string& tekst) override;
  Wymiary WymiaryTekstu(const std::string& tekst) override;
  Kolor GetPixel(int x, int y) const override;
  void SetPixel(int x, int y, Kolor k) override;
  void WskaznikZajety(bool zajety) override;

  QPainter& painter() { return p_; }
  // Whether the software rasteriser draws (false: everything via QPainter).
  bool szybki() const { return r_.gotowy(); }

 private:
  // Whether the present pen is drawn by the rasteriser.
  bool pioro_rastra() const { return r_.gotowy() && styl_ == StylPiora::Ciagly; }
  // Drawing coordinates as device pixels of the rasteriser.
  int X(int x) const;
  int Y(int y) const;
  // The pen width in device pixels.
  int szerokosc_urzadzenia() const;
  QFont czcionka_urzadzenia(const QFont& f) const;
  void linia(int x1, int y1, int x2, int y2);
  void ustaw_qpen();
  QImage& obraz_;
  QPainter p_;
  Rastr r_;
  std::uint32_t* bity_ = nullptr;  // the rasteriser's pixels, krok_ per row
  std::size_t krok_ = 0;
  std::uint32_t lut_kolor_ = 0;    // text colour of lut_ (0: none yet)
  std::uint32_t lut_[256] = {};    // that colour at each coverage over white
  int dx_, dy_;
  double dpr_ = 1.0;  // device pixels per drawing unit
  Kolor pioro_kolor_{0, 0, 0};
  Kolor pedzel_kolor_{255, 255, 255};
  std::uint32_t pioro_c_ = 0xff000000u, pedzel_c_ = 0xffffffffu;
  StylPiora styl_ = StylPiora::Ciagly;
  int szer_pior_ = 1;
  bool qpen_aktualne_ = false;
  QColor kolor_tekstu_{0, 0, 0};
  std::optional<QFontMetrics> metryka_;
  Pismo* pismo_ = nullptr;  // glyphs of the present font
  int cx_ = 0, cy_ = 0;  // current point
  QPointer<QWidget> widzet_;
  std::optional<QCursor> poprzedni_wskaznik_;
};
