// Canvas on a QImage, drawn with QPainter.  The main window and the table
// windows paint into images through it, and the tests inspect the images.
#pragma once

#include <QFont>
#include <QImage>
#include <QPainter>
#include <QPen>

#include "view/canvas.h"

class QtCanvas : public Canvas {
 public:
  // Draws onto `obraz`; the drawing coordinates are shifted by (-dx, -dy)
  // (the scroll position of a table window).  Szerokosc/Wysokosc report the
  // image size, or the given client size when it is positive.
  explicit QtCanvas(QImage& obraz, int dx = 0, int dy = 0);
  ~QtCanvas() override;

  int Szerokosc() const override;
  int Wysokosc() const override;
  void Pioro(Kolor k, int szerokosc, StylPiora styl) override;
  void Pedzel(Kolor k) override;
  void Prostokat(int l, int t, int r, int b) override;
  void MoveTo(int x, int y) override;
  void LineTo(int x, int y) override;
  void Polyline(const Punkt* p, int n) override;
  void Polygon(const Punkt* p, int n) override;
  void KolorTekstu(Kolor k) override;
  void Czcionka(const std::string& kroj, int wysokosc_px, int waga) override;
  void CzcionkaDomyslna() override;
  void TextOut(int x, int y, const std::string& tekst) override;
  Kolor GetPixel(int x, int y) const override;
  void SetPixel(int x, int y, Kolor k) override;

  QPainter& painter() { return p_; }

 private:
  void linia(int x1, int y1, int x2, int y2);
  QImage& obraz_;
  QPainter p_;
  int dx_, dy_;
  QPen pioro_;
  int szer_pior_ = 1;
  QColor kolor_tekstu_{0, 0, 0};
  int cx_ = 0, cy_ = 0;  // current point
};
