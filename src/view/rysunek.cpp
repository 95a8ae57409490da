// The paint of the main window: the model view with the mesh, the deformed
// shape, labels, node marks, supports and forces; the stress map and the
// material plot come from mapa.cpp and wykres.cpp.
//
// Everything is recomputed from the store on every paint.  Float screen
// coordinates become pixels by truncation toward zero through
// rysunek::piksel, which survives infinite and NaN values.
#include <algorithm>
#include <cmath>
#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <vector>

#include "app/okno.h"
#include "view/canvas.h"
#include "view/rysowanie.h"

namespace rysunek {

std::string tekst(const char* format, double v) {
  char b[128];
  std::snprintf(b, sizeof b, format, v);
  return b;
}

std::string tekst(const char* format, int v) {
  char b[32];
  std::snprintf(b, sizeof b, format, v);
  return b;
}

void napis_w_oknie(Canvas& dc, int x, int y, const std::string& tekst) {
  const Wymiary r = dc.WymiaryTekstu(tekst);
  const long long prawa = static_cast<long long>(x) + r.szer, dol = static_cast<long long>(y) + r.wys;
  if (prawa > dc.Szerokosc()) x = std::max(0, dc.Szerokosc() - r.szer);
  if (dol > dc.Wysokosc()) y = std::max(0, dc.Wysokosc() - r.wys);
  dc.TextOut(x, y, tekst);
}

Rzut rzut_okna(const _OKNO_& o) { return Rzut{o.ax, o.aa, o.sx, o.sa, static_cast<float>(o.hmax)}; }

}  // namespace rysunek

using rysunek::piksel;

namespace {

constexpr Kolor kBialy(255, 255, 255), kCzarny(0, 0, 0), kSiatka(0, 255, 255), kWezel(255, 128, 128),
    kGrupa(255, 128, 0), kCzerwony(255, 0, 0), kNiebieski(0, 0, 255);

bool wezel_ok(const Model& m, int n) { return n >= 1 && n <= m.nn; }

bool element_ok(const Model& m, int e) {
  return wezel_ok(m, m.noc[e][1]) && wezel_ok(m, m.noc[e][2]) && wezel_ok(m, m.noc[e][3]);
}

// Label anchor of element i: the intersection of the median from corner 1
// with the median from corner 3.  Where the medians do not meet in a single
// point inside the element (a degenerate, collinear element, or rounding in
// an extremely flat one), the mean of the corners stands in for it.
void srodek(const Model& m, int i, float& X, float& Y) {
  X = Y = 0.0f;
  if (i < 1 || i > m.ne || !element_ok(m, i)) return;
  const int n1 = m.noc[i][1], n2 = m.noc[i][2], n3 = m.noc[i][3];
  const float x1 = m.x[n1][1], y1 = m.x[n1][2], x2 = m.x[n2][1], y2 = m.x[n2][2], x3 = m.x[n3][1],
              y3 = m.x[n3][2];
  const float xp1 = (x2 - x1) * 0.5f + x1, yp1 = (y2 - y1) * 0.5f + y1;
  const float xp2 = (x3 - x2) * 0.5f + x2, yp2 = (y3 - y2) * 0.5f + y2;
  if (xp2 - x1 == 0.0f) {
    const float a2 = (yp1 - y3) / (xp1 - x3), b2 = y3 - a2 * x3;
    X = x1;
    Y = a2 * X + b2;
  } else if (xp1 - x3 == 0.0f) {
    const float a1 = (yp2 - y1) / (xp2 - x1), b1 = y1 - a1 * x1;
    X = x3;
    Y = a1 * X + b1;
  } else {
    const float a1 = (yp2 - y1) / (xp2 - x1), a2 = (yp1 - y3) / (xp1 - x3);
    const float b1 = y1 - a1 * x1, b2 = y3 - a2 * x3;
    X = (b2 - b1) / (a1 - a2);
    Y = a1 * X + b1;
  }
  const bool wewnatrz = std::isfinite(X) && std::isfinite(Y) && X >= std::min({x1, x2, x3}) &&
                        X <= std::max({x1, x2, x3}) && Y >= std::min({y1, y2, y3}) && Y <= std::max({y1, y2, y3});
  if (!wewnatrz) {
    X = static_cast<float>((static_cast<double>(x1) + x2 + x3) / 3.0);
    Y = static_cast<float>((static_cast<double>(y1) + y2 + y3) / 3.0);
  }
}

// Scale along one axis: pixels available over the model's extent.  An
// extent that is zero or too small for a finite scale (all nodes on one
// line) counts as 1e-6 model units, so the other axis decides; an extent
// that overflows a float is taken in double.
float skala(float dostepne, float mn, float mx) {
  float s = dostepne / (mx - mn);
  if (std::isfinite(s) && s > 0.0f) return s;
  const double zakres = static_cast<double>(mx) - mn;
  if (zakres > 0.0 && std::isfinite(zakres)) s = static_cast<float>(dostepne / zakres);
  if (std::isfinite(s) && s > 0.0f) return s;
  return static_cast<float>(dostepne / 1.0e-6);
}

// The boxes of the numbers written so far in one paint, a bit per pixel of
// the window: in a dense mesh a number is written only where it covers none
// written before, so that those shown stay legible.
class Zajete {
 public:
  Zajete(int w, int h) : w_(std::max(w, 0)), h_(std::max(h, 0)), slowa_((static_cast<std::size_t>(w_) + 63) / 64) {}
  void wyczysc() { std::fill(bity_.begin(), bity_.end(), 0); }
  // Takes the box l..r-1 x t..b-1 when none of its pixels in the window is
  // taken yet (a box wholly outside the window is always free).
  bool zajmij(int l, int t, int r, int b) {
    l = std::max(l, 0);
    t = std::max(t, 0);
    r = std::min(r, w_);
    b = std::min(b, h_);
    if (l >= r || t >= b) return true;
    if (bity_.empty()) bity_.assign(slowa_ * static_cast<std::size_t>(h_), 0);
    const std::size_t s0 = static_cast<std::size_t>(l) / 64, s1 = static_cast<std::size_t>(r - 1) / 64;
    const auto maska = [&](std::size_t s) {
      const int od = std::max(l - static_cast<int>(s * 64), 0), do_ = std::min(r - static_cast<int>(s * 64), 64);
      const std::uint64_t gora = do_ == 64 ? ~std::uint64_t{0} : (std::uint64_t{1} << do_) - 1;
      return gora & ~((std::uint64_t{1} << od) - 1);
    };
    for (int y = t; y < b; ++y)
      for (std::size_t s = s0; s <= s1; ++s)
        if (bity_[static_cast<std::size_t>(y) * slowa_ + s] & maska(s)) return false;
    for (int y = t; y < b; ++y)
      for (std::size_t s = s0; s <= s1; ++s) bity_[static_cast<std::size_t>(y) * slowa_ + s] |= maska(s);
    return true;
  }

 private:
  int w_, h_;
  std::size_t slowa_;
  std::vector<std::uint64_t> bity_;
};

// A number at (x, y) unless it would cover one written before.  Each
// takes a little room on either side too, so that two numbers in a row
// stay apart instead of reading as one.
void liczba(Canvas& dc, Zajete& z, int x, int y, int v) {
  const std::string t = rysunek::tekst("%d", v);
  const Wymiary r = dc.WymiaryTekstu(t);
  const int obok = std::max(1, r.wys / 6);
  if (r.szer > 0 && !z.zajmij(x - obok, y, x + r.szer + obok, y + r.wys)) return;
  dc.TextOut(x, y, t);
}

void pioro_i_pedzel(Canvas& dc, Kolor k) {
  dc.Pioro(k, 1, StylPiora::Ciagly);
  dc.Pedzel(k);
}

void linia(Canvas& dc, float x1, float y1, float x2, float y2) {
  dc.MoveTo(piksel(x1), piksel(y1));
  dc.LineTo(piksel(x2), piksel(y2));
}

// Support symbols at a corner's screen point (X, Y).
// The triangle under a support whose apex is (X, Y).
void trojkat_podpory(Canvas& dc, float X, float Y) {
  dc.MoveTo(piksel(X), piksel(Y));
  dc.LineTo(piksel(X - 8.0f), piksel(Y + 8.0f));
  dc.LineTo(piksel(X + 8.0f), piksel(Y + 8.0f));
  dc.LineTo(piksel(X), piksel(Y));
}

void podpora_xy(Canvas& dc, float X, float Y) {
  Y = Y + 1.0f;
  trojkat_podpory(dc, X, Y);
  for (int k = 0; k <= 4; ++k) linia(dc, X - 8.0f + 4.0f * k, Y + 8.0f, X - 14.0f + 4.0f * k, Y + 12.0f);
}

void podpora_y(Canvas& dc, float X, float Y) {
  Y = Y + 1.0f;
  trojkat_podpory(dc, X, Y);
  linia(dc, X - 8.0f, Y + 12.0f, X + 8.0f, Y + 12.0f);
  for (int k = 0; k <= 4; ++k) linia(dc, X - 8.0f + 4.0f * k, Y + 12.0f, X - 14.0f + 4.0f * k, Y + 16.0f);
}

void podpora_x(Canvas& dc, float X, float Y) {
  X = X + 1.0f;
  dc.MoveTo(piksel(X), piksel(Y));
  dc.LineTo(piksel(X + 8.0f), piksel(Y + 8.0f));
  dc.LineTo(piksel(X + 8.0f), piksel(Y - 8.0f));
  dc.LineTo(piksel(X), piksel(Y));
  linia(dc, X + 12.0f, Y - 8.0f, X + 12.0f, Y + 8.0f);
  for (int k = 0; k <= 4; ++k) linia(dc, X + 12.0f, Y - 8.0f + 4.0f * k, X + 16.0f, Y - 14.0f + 4.0f * k);
}

}  // namespace

float _OKNO_::sciezx(int i) const {
  float X, Y;
  srodek(M, i, X, Y);
  return X;
}

float _OKNO_::sciezy(int i) const {
  float X, Y;
  srodek(M, i, X, Y);
  return Y;
}

void _OKNO_::Paint(Canvas& dc) {
  dc.WskaznikZajety(true);
  const int i_izo = std::clamp(iizol, 1, 200);

  if (SHOWGRAPH == 1 && M.nm > 0) rysunek::rysuj_wykres(*this, dc);
  if (SHOWGRAPH != 0 || M.Pusty == 1) {
    dc.WskaznikZajety(false);
    return;
  }

  const float w = static_cast<float>(dc.Szerokosc()), h = static_cast<float>(dc.Wysokosc());
  maxx = w;
  hmax = static_cast<int>(h);
  pioro_i_pedzel(dc, kBialy);
  dc.Prostokat(0, 0, static_cast<int>(w), static_cast<int>(h));
  if (M.nn <= 0) {
    dc.WskaznikZajety(false);
    return;
  }
  if (h <= 150.0f || w <= 150.0f) {
    dc.CzcionkaDomyslna();
    dc.KolorTekstu(kCzarny);
    dc.TextOut(10, 10, "Zbyt małe okno aby wyświetlić projekt");
    dc.WskaznikZajety(false);
    return;
  }

  // --- the transform ------------------------------------------------------------
  float mx = M.x[1][1], ma = M.x[1][2];
  ax = mx;
  aa = ma;
  for (int i = 2; i <= M.nn; ++i) {
    const float X = M.x[i][1], Y = M.x[i][2];
    if (X < ax) ax = X;
    if (X > mx) mx = X;
    if (Y < aa) aa = Y;
    if (Y > ma) ma = Y;
  }
  x0 = std::isfinite(ax) ? static_cast<int>(std::clamp(ax, -2147483520.0f, 2147483520.0f)) : 0;
  sx = skala(w - 50.0f, ax, mx);
  sa = skala(h - 50.0f, aa, ma);
  if (sx * asp_r < sa)
    sa = sx * asp_r;
  else
    sx = sa / asp_r;

  rysunek::Ekran ek;
  ek.rzut = rysunek::rzut_okna(*this);
  ek.X.resize(static_cast<std::size_t>(M.nn) + 1);
  ek.Y.resize(static_cast<std::size_t>(M.nn) + 1);
  for (int i = 1; i <= M.nn; ++i) {
    ek.X[static_cast<std::size_t>(i)] = ek.rzut.X(M.x[i][1]);
    ek.Y[static_cast<std::size_t>(i)] = ek.rzut.Y(M.x[i][2]);
  }
  const auto SX = [&](int n) { return ek.X[static_cast<std::size_t>(n)]; };
  const auto SY = [&](int n) { return ek.Y[static_cast<std::size_t>(n)]; };

  dc.KolorTekstu(kCzarny);
  dc.Czcionka("Arial", 12, 400);

  const bool wyniki = M.obliczono == 1;
  if (M.ne > 0 && p_napr == 1 && wyniki) rysunek::rysuj_mape(*this, dc, ek, w, h, i_izo);

  // The deformed shape: the largest displacement component is drawn as 10
  // pixels.  With no displacement at all (or none that is a number) there is
  // no scale, and the outline and its scale bar are left out.
  float fskala = 0.0f;
  bool pole = false;
  if (p_n_pola == 1 && wyniki) {
    float fmax = 0.0f;
    for (int i = 1; i <= M.nq; ++i) fmax = std::max(fmax, std::fabs(M.f[i]));
    fskala = -10.0f / fmax;
    pole = fmax > 0.0f && std::isfinite(fmax) && std::isfinite(fskala) && fskala != 0.0f;
  }

  // --- elements: mesh, deformed outline, labels ------------------------------------
  Zajete zajete(dc.Szerokosc(), dc.Wysokosc());
  for (int e = 1; e <= M.ne; ++e) {
    if (!element_ok(M, e)) continue;
    const int n[3] = {M.noc[e][1], M.noc[e][2], M.noc[e][3]};
    if (p_siatka == 1) {
      Punkt p[4];
      for (int k = 0; k < 3; ++k) p[k] = Punkt{piksel(SX(n[k])), piksel(SY(n[k]))};
      p[3] = p[0];
      dc.Pioro(kSiatka, 1, StylPiora::Ciagly);
      dc.Polyline(p, 4);
    }
    if (pole) {
      Punkt p[4];
      bool liczby = true;
      for (int k = 0; k < 3; ++k) {
        const float X = SX(n[k]) - fskala * M.f[2 * n[k] - 1];
        const float Y = SY(n[k]) + fskala * M.f[2 * n[k]];
        liczby = liczby && std::isfinite(X) && std::isfinite(Y);
        p[k] = Punkt{piksel(X), piksel(Y)};
      }
      p[3] = p[0];
      if (liczby) {
        dc.Pioro(kCzarny, 1, StylPiora::Ciagly);
        dc.Polyline(p, 4);
      }
    }
    if (p_n_ele == 1 || p_n_mat == 1) {
      float X, Y;
      srodek(M, e, X, Y);
      const int px = piksel(ek.rzut.X(X)), py = piksel(ek.rzut.Y(Y));
      if (p_n_ele == 1) liczba(dc, zajete, px, py, e);
      if (p_n_mat == 1) liczba(dc, zajete, px, py, M.mat[e]);
    }
  }

  // --- node marks, group marks, supports ------------------------------------------------
  if (p_wez == 1) {
    dc.Pioro(kWezel, 2, StylPiora::Ciagly);
    for (int i = 1; i <= M.nn; ++i) {
      const float X = SX(i), Y = SY(i);
      linia(dc, X - 1.0f, Y, X + 1.0f, Y);
      linia(dc, X, Y - 1.0f, X, Y + 1.0f);
    }
  }
  if (M.j_grupa == 1 && M.s_grp.istnieje()) {
    dc.Pioro(kGrupa, 3, StylPiora::Ciagly);
    for (int j = 1; j <= M.i_grp && j <= M.s_grp.hi(); ++j) {
      const int i = M.s_grp[j];
      if (!wezel_ok(M, i)) continue;
      const float X = SX(i), Y = SY(i);
      linia(dc, X - 3.0f, Y, X + 3.0f, Y);
      linia(dc, X, Y - 3.0f, X, Y + 3.0f);
    }
  }
  if (p_podp == 1 && M.nd > 0) {
    // Restrained directions per degree of freedom, from the support table.
    std::vector<unsigned char> podparty(static_cast<std::size_t>(M.nq) + 1, 0);
    for (int j = 1; j <= M.nd; ++j)
      if (M.nu[j] >= 1 && M.nu[j] <= M.nq) podparty[static_cast<std::size_t>(M.nu[j])] = 1;
    dc.Pioro(kCzarny, 1, StylPiora::Ciagly);
    for (int e = 1; e <= M.ne; ++e) {
      if (!element_ok(M, e)) continue;
      bool fx[3], fy[3];
      for (int k = 0; k < 3; ++k) {
        const int n = M.noc[e][k + 1];
        fx[k] = podparty[static_cast<std::size_t>(2 * n - 1)];
        fy[k] = podparty[static_cast<std::size_t>(2 * n)];
      }
      for (int k = 0; k < 3; ++k)
        if (fx[k] && fy[k]) podpora_xy(dc, SX(M.noc[e][k + 1]), SY(M.noc[e][k + 1]));
      for (int k = 0; k < 3; ++k)
        if (fy[k] && !fx[k]) podpora_y(dc, SX(M.noc[e][k + 1]), SY(M.noc[e][k + 1]));
      for (int k = 0; k < 3; ++k)
        if (fx[k] && !fy[k]) podpora_x(dc, SX(M.noc[e][k + 1]), SY(M.noc[e][k + 1]));
    }
  }

  // --- node numbers ----------------------------------------------------------------------
  dc.KolorTekstu(kNiebieski);
  if (p_n_wezl == 1) {
    // Node numbers give way only to node numbers: next to an element number
    // each is still written as before.
    zajete.wyczysc();
    for (int i = 1; i <= M.nn; ++i)
      liczba(dc, zajete, piksel(ek.rzut.X(M.x[i][1], 28.0f)), piksel(ek.rzut.Y(M.x[i][2], 35.0f)), i);
  }

  // --- forces ------------------------------------------------------------------------------
  dc.KolorTekstu(kCzerwony);
  if (p_sily == 1) {
    dc.Pioro(kCzerwony, 3, StylPiora::Ciagly);
    int c = 0;
    for (int i = 1; i <= M.nq; ++i) {
      const float s = M.si[i];
      if (s == 0.0f) continue;
      ++c;
      const int wezel = i % 2 ? (i + 1) / 2 : i / 2;
      float X = SX(wezel), Y = SY(wezel);
      if (i % 2 == 0 && s < 0.0f) {  // downward
        if (Y + 25.0f >= h) Y = Y - 25.0f;
        linia(dc, X, Y, X, Y + 25.0f);
        linia(dc, X, Y + 25.0f, X - 4.0f, Y + 19.0f);
        linia(dc, X, Y + 25.0f, X + 4.0f, Y + 19.0f);
      } else if (i % 2 == 0 && s > 0.0f) {  // upward
        if (Y - 25.0f <= 1.0f) Y = Y + 25.0f;
        linia(dc, X, Y, X, Y - 25.0f);
        linia(dc, X, Y - 25.0f, X - 4.0f, Y - 19.0f);
        linia(dc, X, Y - 25.0f, X + 4.0f, Y - 19.0f);
      } else if (s > 0.0f) {  // to the right
        if (X + 25.0f >= w) X = X - 25.0f;
        linia(dc, X, Y, X + 25.0f, Y);
        linia(dc, X + 25.0f, Y, X + 19.0f, Y + 4.0f);
        linia(dc, X + 25.0f, Y, X + 19.0f, Y - 4.0f);
      } else if (s < 0.0f) {  // to the left
        if (X - 25.0f <= 1.0f) X = X + 25.0f;
        linia(dc, X, Y, X - 25.0f, Y);
        linia(dc, X - 25.0f, Y, X - 19.0f, Y + 4.0f);
        linia(dc, X - 25.0f, Y, X - 19.0f, Y - 4.0f);
      }
      if (p_sily_nr == 1) dc.TextOut(piksel(X), piksel(Y), rysunek::tekst("%d", c));
    }
  }

  // --- the displacement scale bar: 20 pixels stand for 2*fmax -------------------------------
  if (pole) {
    const float dlugosc = std::fabs(20.0f / fskala);
    dc.Pioro(kBialy, 2, StylPiora::Kreskowany);
    dc.Pedzel(kBialy);
    dc.Prostokat(0, 0, 40, 30);
    dc.Pioro(kCzarny, 1, StylPiora::Ciagly);
    linia(dc, 2, 10, 22, 10);
    linia(dc, 2, 8, 2, 12);
    linia(dc, 22, 8, 22, 12);
    dc.TextOut(3, 14, rysunek::tekst("%2.8f", static_cast<double>(dlugosc)));
  }
  dc.WskaznikZajety(false);
}
