// A Canvas that writes an SVG picture instead of pixels: the pictures of the
// main window as vectors, sharp at any zoom, for reports.
//
// Every primitive becomes SVG with the same coordinates and colours; the
// whole picture is shifted by half a pixel, so that a renderer sampling at
// pixel centres fills the pixels the program's rasteriser fills (which
// samples at pixel corners) and thin lines run through pixel centres.
//
// What can be merged is merged, so that a stress map of tens of thousands
// of tiny polygons stays a file of reasonable size.  Every primitive gets a
// layer: one above the highest layer of the earlier primitives it overlaps
// (the same layer for those of its own colour and kind).  Within a layer,
// fills of one colour become one <path>, lines of one pen one <path>, texts
// of one font and colour one <g>, and the layers are written bottom up; so
// whatever overlaps keeps the order in which it was drawn, while the
// hundreds of thousands of polygons of a map become a few hundred paths
// (the sub-triangles of all elements share one layer, the bands above them
// the next).  One liberty is taken: a line may pass below another line that
// crosses it, which changes at most the pixel where they cross.
//
// Fills are drawn without anti-aliasing (shape-rendering="crispEdges"):
// neighbouring polygons then meet without hairline seams.  Text is set in
// the font asked for; its opaque white background needs the text's width,
// which comes from the advance widths of Liberation Sans (the metrics of
// Arial), so the picture is the same on every machine and needs no fonts.
#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "view/canvas.h"

class SvgCanvas : public Canvas {
 public:
  SvgCanvas(int szer, int wys);

  // The finished document (UTF-8).
  std::string dokument() const;

  struct Krawedz {  // a side of an outline, from (ax, ay) to (bx, by)
    int ax, ay, bx, by;
  };
  // The outlines of one fill colour as path data.  Sides that two outlines
  // share, running both ways, are left out and the rest is joined into
  // closed outlines again: polygons that tile a region become the outline
  // of the region.  Under the non-zero rule every point keeps its winding
  // number, so the path fills exactly what the polygons filled.
  static std::string scal_krawedzie(std::vector<Krawedz> k);
  // Segments of one solid pen as path data: each drawn segment once,
  // joined into lines as long as they can be.
  static std::string polacz_odcinki(std::vector<Krawedz> k);

  int Szerokosc() const override { return w_; }
  int Wysokosc() const override { return h_; }
  void Pioro(Kolor k, int szerokosc, StylPiora styl) override;
  void Pedzel(Kolor k) override { pedzel_ = k; }
  void Prostokat(int l, int t, int r, int b) override;
  void MoveTo(int x, int y) override;
  void LineTo(int x, int y) override;
  void Polyline(const Punkt* p, int n) override;
  void Polygon(const Punkt* p, int n) override;
  void Wypelnij(const Punkt* p, int n) override;
  void KolorTekstu(Kolor k) override { tekst_kolor_ = k; }
  void Czcionka(const std::string& kroj, int wysokosc_px, int waga) override;
  void CzcionkaDomyslna() override;
  void TextOut(int x, int y, const std::string& tekst) override;
  // A vector picture has no pixels to read: white, the background.
  Kolor GetPixel(int, int) const override { return Kolor(255, 255, 255); }
  void SetPixel(int x, int y, Kolor k) override;

  // Width in pixels of a text in a font, as the background behind it is
  // drawn; `domyslna` for the window's default font.
  static int szerokosc_tekstu(const std::string& tekst, int wysokosc_px, int waga, bool domyslna = false);

 private:
  enum class Rodzaj : std::uint8_t { Wypelnienie, WypelnienieParzyste, Linia, Tekst };
  struct Grupa {
    Rodzaj rodzaj;
    Kolor kolor;
    int szer = 1;  // pen width
    StylPiora styl = StylPiora::Ciagly;
    int czcionka = 0;
    int warstwa = 0;
    std::string d;             // path data, or the elements of a text group
    std::vector<Krawedz> krawedzie;  // outlines of a fill, segments of a solid line; written at the end
  };
  struct Ramka {  // bounding box: the area l..r x t..b, pixels l..r-1 x t..b-1
    long long l, t, r, b;
  };
  // What was drawn where, for the test whether a later primitive may join
  // an earlier group: the group, the box, and the outline (a convex
  // polygon; none for a box-shaped or concave primitive).
  struct Slad {
    std::uint64_t klucz;
    int warstwa;
    bool linia;
    Ramka b;
    int p0, n;  // points in punkty_
  };
  struct Czcionka_ {
    std::string kroj;
    int px = 12, waga = 400;
    bool domyslna = false;
  };

  // The group a new primitive with this key, box and outline goes into:
  // that of its key in its layer.  Records where it was drawn.
  Grupa& grupa(Rodzaj r, std::uint64_t k_grupy, const Ramka& b, const Punkt* ksztalt, int n, Kolor k);
  // The layer of a new primitive: above everything earlier that it shares
  // area with (lines need not be above lines).
  int warstwa(Rodzaj r, std::uint64_t k_grupy, const Ramka& b, const Punkt* ksztalt, int n);
  // The key under which groups that may merge are found: kind, colour and
  // what else must agree (pen width and style, font).
  static std::uint64_t klucz(Rodzaj r, std::uint64_t cechy);
  bool widoczna(const Ramka& b) const;
  void wypelnienie(const Punkt* p, int n);
  void linia(const Punkt* p, int n, bool zamknieta);
  void odcinek_przyciety(long long x0, long long y0, long long x1, long long y1);
  void dopisz_linie(const Punkt* p, int n, bool zamknieta, const Ramka& b);

  int w_, h_;
  Kolor pioro_{0, 0, 0}, pedzel_{255, 255, 255}, tekst_kolor_{0, 0, 0};
  int pioro_szer_ = 1;
  StylPiora styl_ = StylPiora::Ciagly;
  int cx_ = 0, cy_ = 0;
  std::vector<Czcionka_> czcionki_;
  int czcionka_ = 0;

  std::vector<Grupa> grupy_;
  std::vector<std::unordered_map<std::uint64_t, int>> w_warstwie_;  // per layer: key -> group
  std::uint64_t pojedyncze_ = 0;  // keys of fills that merge with nothing
  std::unordered_map<std::uint64_t, int> najwyzsza_klucza_;  // highest layer of a line or text key
  // A grid over the picture: per cell what was drawn in it, and the highest
  // layer among that; [0] for opaque things (fills, texts), [1] for lines.
  int komorka_ = 8, gx_ = 1, gy_ = 1;
  std::vector<std::vector<int>> komorki_[2];
  std::vector<int> najwyzsza_[2];
  std::vector<Slad> slady_;
  std::vector<Punkt> punkty_;
  std::vector<unsigned> znacznik_;
  unsigned runda_ = 0;
};
