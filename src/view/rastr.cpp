#include "view/rastr.h"

#include <algorithm>
#include <cstdlib>

namespace {

using i64 = std::int64_t;

int ogranicz(int v) { return std::clamp(v, -Rastr::kZasieg, Rastr::kZasieg); }

// Walks the pixels of the line (x0, y0) -> (x1, y1): the major coordinate
// steps by one, the minor one is the exact position rounded half up.  Only
// the steps whose major coordinate lies within `margines` pixels of the
// image are visited, so the cost is bounded by the image size.  The end
// point is visited when `z_koncem`.
template <class F>
void kroki(int x0, int y0, int x1, int y1, bool z_koncem, int szer, int wys, int margines, F&& rysuj) {
  x0 = ogranicz(x0);
  y0 = ogranicz(y0);
  x1 = ogranicz(x1);
  y1 = ogranicz(y1);
  const i64 dx = i64{x1} - x0, dy = i64{y1} - y0;
  const i64 adx = std::abs(dx), ady = std::abs(dy);
  if (adx == 0 && ady == 0 && !z_koncem) return;
  if (std::max(x0, x1) < -margines || std::min(x0, x1) >= szer + margines ||
      std::max(y0, y1) < -margines || std::min(y0, y1) >= wys + margines)
    return;
  const bool poziomo = adx >= ady;
  const i64 dl = poziomo ? adx : ady;      // steps along the major axis
  const i64 po = poziomo ? ady : adx;      // along the minor one
  const int sg = poziomo ? (dx < 0 ? -1 : 1) : (dy < 0 ? -1 : 1);
  const int sm = poziomo ? (dy < 0 ? -1 : 1) : (dx < 0 ? -1 : 1);
  const i64 g0 = poziomo ? x0 : y0;        // major start
  const i64 m0 = poziomo ? y0 : x0;        // minor start
  const i64 zakres = poziomo ? szer : wys;
  i64 od = 0, doo = z_koncem ? dl : dl - 1;
  // major coordinate g0 + sg*i must lie in [-margines, zakres - 1 + margines]
  if (sg > 0) {
    od = std::max(od, -margines - g0);
    doo = std::min(doo, zakres - 1 + margines - g0);
  } else {
    od = std::max(od, g0 - (zakres - 1 + margines));
    doo = std::min(doo, g0 + margines);
  }
  if (od > doo) return;
  const i64 mian = 2 * std::max<i64>(dl, 1);
  i64 licz = 2 * od * po + dl;  // minor offset = floor(licz / mian)
  i64 q = licz / mian, r = licz % mian;
  const i64 krok = 2 * po;
  for (i64 i = od; i <= doo; ++i) {
    const i64 g = g0 + sg * i, m = m0 + sm * q;
    if (poziomo)
      rysuj(static_cast<int>(g), static_cast<int>(m));
    else
      rysuj(static_cast<int>(m), static_cast<int>(g));
    r += krok;
    if (r >= mian) {
      r -= mian;
      ++q;
    }
  }
}

// ceil(a / b) for b > 0.
i64 sufit(i64 a, i64 b) { return a >= 0 ? (a + b - 1) / b : -((-a) / b); }

}  // namespace

Rastr::Rastr(std::uint32_t* piksele, int szer, int wys, int krok)
    : p_(piksele), w_(std::max(szer, 0)), h_(std::max(wys, 0)), krok_(static_cast<std::size_t>(std::max(krok, 0))) {}

void Rastr::odcinek(int x0, int y0, int x1, int y1, std::uint32_t c) {
  if (!p_) return;
  kroki(x0, y0, x1, y1, false, w_, h_, 0, [&](int x, int y) { punkt(x, y, c); });
}

void Rastr::przygotuj_pedzel(int szer) {
  if (pedzel_szer_ == szer) return;
  pedzel_szer_ = szer;
  pedzel_.clear();
  // A disc of diameter `szer`: centred on the pixel for odd widths, on the
  // pixel's top-left corner for even ones.
  const int lo = -(szer / 2), hi = (szer - 1) / 2;
  const double srodek = szer % 2 ? 0.0 : 0.5, r2 = szer * szer / 4.0;
  for (int j = lo; j <= hi; ++j)
    for (int i = lo; i <= hi; ++i) {
      const double a = i + srodek, b = j + srodek;
      if (a * a + b * b <= r2 + 1e-9) pedzel_.push_back({i, j});
    }
}

void Rastr::gruby_odcinek(int x0, int y0, int x1, int y1, int szer, std::uint32_t c) {
  if (!p_) return;
  if (szer <= 1) {
    kroki(x0, y0, x1, y1, true, w_, h_, 0, [&](int x, int y) { punkt(x, y, c); });
    return;
  }
  szer = std::min(szer, 64);
  przygotuj_pedzel(szer);
  const int m = szer / 2 + 1;
  kroki(x0, y0, x1, y1, true, w_, h_, m, [&](int x, int y) {
    if (x >= m && y >= m && x < w_ - m && y < h_ - m) {
      std::uint32_t* w = p_ + static_cast<std::size_t>(y) * krok_ + x;
      for (const auto& [i, j] : pedzel_) w[static_cast<std::ptrdiff_t>(j) * static_cast<std::ptrdiff_t>(krok_) + i] = c;
    } else {
      for (const auto& [i, j] : pedzel_) punkt(x + i, y + j, c);
    }
  });
}

void Rastr::wypelnij(int l, int t, int r, int b, std::uint32_t c) {
  if (!p_) return;
  if (r < l) std::swap(l, r);
  if (b < t) std::swap(t, b);
  l = std::max(l, 0);
  t = std::max(t, 0);
  r = std::min(r, w_);
  b = std::min(b, h_);
  for (int y = t; y < b; ++y) std::fill_n(p_ + static_cast<std::size_t>(y) * krok_ + l, std::max(r - l, 0), c);
}

void Rastr::ramka(int l, int t, int r, int b, std::uint32_t c) {
  if (!p_) return;
  l = ogranicz(l);
  t = ogranicz(t);
  r = ogranicz(r);
  b = ogranicz(b);
  if (r < l) std::swap(l, r);
  if (b < t) std::swap(t, b);
  if (r - l < 1 || b - t < 1) return;
  wypelnij(l, t, r, t + 1, c);
  wypelnij(l, b - 1, r, b, c);
  wypelnij(l, t, l + 1, b, c);
  wypelnij(r - 1, t, r, b, c);
}

void Rastr::obrys(const Punkt* p, int n, bool zamkniety, std::uint32_t c) {
  if (!p_ || n < 2) return;
  for (int i = 0; i + 1 < n; ++i) odcinek(p[i].x, p[i].y, p[i + 1].x, p[i + 1].y, c);
  if (zamkniety) odcinek(p[n - 1].x, p[n - 1].y, p[0].x, p[0].y, c);
}

void Rastr::wielokat(const Punkt* p, int n, std::uint32_t c) {
  if (!p_ || n < 3) return;
  int ymin = kZasieg, ymax = -kZasieg, xmin = kZasieg, xmax = -kZasieg;
  for (int i = 0; i < n; ++i) {
    const int x = ogranicz(p[i].x), y = ogranicz(p[i].y);
    ymin = std::min(ymin, y);
    ymax = std::max(ymax, y);
    xmin = std::min(xmin, x);
    xmax = std::max(xmax, x);
  }
  const int ys = std::max(ymin, 0), ye = std::min(ymax, h_);  // rows ys..ye-1
  if (ys >= ye || xmax < 0 || xmin >= w_) return;

  // Edges as x(y) = ceil((xa*den + (y - ya)*dx) / den), stepped row by row:
  // the position is q - r/den with 0 <= r < den, so ceil() is q.
  struct Krawedz {
    i64 ya, yb, den, q, r, Q, R;
  };
  Krawedz stos[8];
  std::vector<Krawedz> sterta;
  Krawedz* kr = stos;
  if (n > 8) {
    sterta.resize(static_cast<std::size_t>(n));
    kr = sterta.data();
  }
  int ile = 0;
  for (int i = 0; i < n; ++i) {
    const Punkt& a0 = p[i];
    const Punkt& b0 = p[(i + 1) % n];
    i64 xa = ogranicz(a0.x), ya = ogranicz(a0.y), xb = ogranicz(b0.x), yb = ogranicz(b0.y);
    if (ya == yb) continue;
    if (ya > yb) {
      std::swap(xa, xb);
      std::swap(ya, yb);
    }
    if (yb <= ys || ya >= ye) continue;
    Krawedz& k = kr[ile++];
    k.ya = ya;
    k.yb = yb;
    k.den = yb - ya;
    const i64 dx = xb - xa;
    const i64 y0 = std::max<i64>(ya, ys);
    const i64 v = xa * k.den + (y0 - ya) * dx;
    k.q = sufit(v, k.den);
    k.r = k.q * k.den - v;
    k.Q = sufit(dx, k.den);
    k.R = k.Q * k.den - dx;
  }
  if (ile < 2) return;
  przeciecia_.resize(static_cast<std::size_t>(ile));
  i64* xs = przeciecia_.data();
  for (int y = ys; y < ye; ++y) {
    int m = 0;
    for (int i = 0; i < ile; ++i) {
      Krawedz& k = kr[i];
      if (y < k.ya || y >= k.yb) continue;
      // insertion into the sorted crossings
      int j = m++;
      while (j > 0 && xs[j - 1] > k.q) {
        xs[j] = xs[j - 1];
        --j;
      }
      xs[j] = k.q;
      k.q += k.Q;
      k.r += k.R;
      if (k.r >= k.den) {
        k.r -= k.den;
        --k.q;
      }
    }
    std::uint32_t* wiersz = p_ + static_cast<std::size_t>(y) * krok_;
    for (int j = 0; j + 1 < m; j += 2) {
      const i64 l = std::max<i64>(xs[j], 0), r = std::min<i64>(xs[j + 1], w_);
      if (l < r) std::fill(wiersz + l, wiersz + r, c);
    }
  }
}
