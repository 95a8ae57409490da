#include "view/svg.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <tuple>

namespace {

using i64 = long long;

// Advance widths of Liberation Sans (the metrics of Arial) in units of
// 1/2048 em, characters 32..126, regular and bold.
constexpr std::uint16_t kZwykle[95] = {
    569,  569,  727,  1139, 1139, 1821, 1366, 391,  682,  682,  797,  1196, 569,  682,  569,  569,
    1139, 1139, 1139, 1139, 1139, 1139, 1139, 1139, 1139, 1139, 569,  569,  1196, 1196, 1196, 1139,
    2079, 1366, 1366, 1479, 1479, 1366, 1251, 1593, 1479, 569,  1024, 1366, 1139, 1706, 1479, 1593,
    1366, 1593, 1479, 1366, 1251, 1479, 1366, 1933, 1366, 1366, 1251, 569,  569,  569,  961,  1139,
    682,  1139, 1139, 1024, 1139, 1139, 569,  1139, 1139, 455,  455,  1024, 455,  1706, 1139, 1139,
    1139, 1139, 682,  1024, 569,  1139, 1024, 1479, 1024, 1024, 1024, 684,  532,  684,  1196};
constexpr std::uint16_t kPogrubione[95] = {
    569,  682,  971,  1139, 1139, 1821, 1479, 487,  682,  682,  797,  1196, 569,  682,  569,  569,
    1139, 1139, 1139, 1139, 1139, 1139, 1139, 1139, 1139, 1139, 682,  682,  1196, 1196, 1196, 1251,
    1997, 1479, 1479, 1479, 1479, 1366, 1251, 1593, 1479, 569,  1139, 1479, 1251, 1706, 1479, 1593,
    1366, 1593, 1479, 1366, 1251, 1479, 1366, 1933, 1366, 1366, 1251, 682,  569,  682,  1196, 1139,
    682,  1139, 1251, 1139, 1251, 1139, 682,  1251, 1251, 569,  569,  1139, 569,  1821, 1251, 1251,
    1251, 1251, 797,  1139, 682,  1251, 1139, 1593, 1139, 1139, 1024, 797,  573,  797,  1196};
// The Polish letters and a few signs the program writes: (character,
// regular, bold).
struct Znak {
  char32_t c;
  std::uint16_t zwykly, gruby;
};
constexpr Znak kInne[] = {
    {U'ą', 1139, 1139}, {U'ć', 1024, 1139}, {U'ę', 1139, 1139}, {U'ł', 455, 569},   {U'ń', 1139, 1251},
    {U'ó', 1139, 1251}, {U'ś', 1024, 1139}, {U'ź', 1024, 1024}, {U'ż', 1024, 1024}, {U'Ą', 1366, 1479},
    {U'Ć', 1479, 1479}, {U'Ę', 1366, 1366}, {U'Ł', 1139, 1251}, {U'Ń', 1479, 1479}, {U'Ó', 1593, 1593},
    {U'Ś', 1366, 1366}, {U'Ź', 1251, 1251}, {U'Ż', 1251, 1251}, {U'…', 2048, 2048}, {U'°', 819, 819},
    {U'σ', 1264, 1401}, {U'τ', 809, 914},   {U'–', 1139, 1139}, {U'—', 2048, 2048}};
constexpr int kEm = 2048, kWznios = 1854, kZejscie = 434;
// The window's default font (a sans-serif face such as DejaVu Sans) runs
// wider than Arial by about this much.
constexpr double kDomyslnaSzersza = 1.15;

int postep(char32_t c, bool gruby) {
  if (c >= 32 && c <= 126) return (gruby ? kPogrubione : kZwykle)[c - 32];
  for (const Znak& z : kInne)
    if (z.c == c) return gruby ? z.gruby : z.zwykly;
  return 1139;  // the width of a digit stands in for what the table lacks
}

// Decodes UTF-8; bytes that are not UTF-8 become U+FFFD.  Calls f(c) per
// character.
template <class F>
void znaki(const std::string& s, F&& f) {
  const auto* p = reinterpret_cast<const unsigned char*>(s.data());
  const std::size_t n = s.size();
  for (std::size_t i = 0; i < n;) {
    const unsigned c = p[i];
    int len = c < 0x80 ? 1 : c >= 0xC2 && c < 0xE0 ? 2 : c >= 0xE0 && c < 0xF0 ? 3 : c >= 0xF0 && c < 0xF5 ? 4 : 0;
    char32_t u = len == 1 ? c : len == 2 ? c & 0x1F : len == 3 ? c & 0x0F : c & 0x07;
    bool ok = len > 0 && i + static_cast<std::size_t>(len) <= n;
    for (int k = 1; ok && k < len; ++k) {
      if ((p[i + k] & 0xC0) != 0x80) ok = false;
      u = (u << 6) | (p[i + k] & 0x3F);
    }
    if (ok && ((len == 3 && (u < 0x800 || (u >= 0xD800 && u < 0xE000))) || (len == 4 && (u < 0x10000 || u > 0x10FFFF))))
      ok = false;
    if (!ok) {
      f(char32_t{0xFFFD});
      ++i;
      continue;
    }
    f(u);
    i += static_cast<std::size_t>(len);
  }
}

void utf8(char32_t u, std::string& out) {
  if (u < 0x80) {
    out += static_cast<char>(u);
  } else if (u < 0x800) {
    out += static_cast<char>(0xC0 | (u >> 6));
    out += static_cast<char>(0x80 | (u & 0x3F));
  } else if (u < 0x10000) {
    out += static_cast<char>(0xE0 | (u >> 12));
    out += static_cast<char>(0x80 | ((u >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (u & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (u >> 18));
    out += static_cast<char>(0x80 | ((u >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((u >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (u & 0x3F));
  }
}

// Text as XML character data: markup escaped, characters XML cannot hold
// (controls) left out.
std::string xml(const std::string& s) {
  std::string out;
  out.reserve(s.size());
  znaki(s, [&out](char32_t c) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      default:
        if (c < 0x20 && c != '\t') return;
        if (c == 0xFFFE || c == 0xFFFF) return;
        utf8(c, out);
    }
  });
  return out;
}

void liczba(std::string& d, i64 v) {
  char b[24];
  auto [p, ec] = std::to_chars(b, b + sizeof b, v);
  d.append(b, p);
}

// A number of path data after another number: a space unless the sign
// separates them.
void kolejna(std::string& d, i64 v) {
  if (v >= 0) d += ' ';
  liczba(d, v);
}

std::string kolor(Kolor k) {
  static constexpr char kHex[] = "0123456789abcdef";
  std::string s = "#";
  for (std::uint8_t v : {k.r, k.g, k.b}) {
    s += kHex[v >> 4];
    s += kHex[v & 15];
  }
  return s;
}

std::uint32_t rgb(Kolor k) { return std::uint32_t{k.r} << 16 | std::uint32_t{k.g} << 8 | k.b; }

// Coordinates beyond this distance from the picture are clipped first: SVG
// renderers compute in limited precision.
constexpr i64 kZapas = 1 << 16;

i64 pole2(const Punkt* p, int n) {
  i64 s = 0;
  for (int i = 0; i < n; ++i) {
    const Punkt& a = p[i];
    const Punkt& b = p[(i + 1) % n];
    s += static_cast<i64>(a.x) * b.y - static_cast<i64>(b.x) * a.y;
  }
  return s;
}

int znak(i64 v) { return (v > 0) - (v < 0); }

i64 iloczyn(const Punkt& a, const Punkt& b, const Punkt& c) {
  return (static_cast<i64>(b.x) - a.x) * (static_cast<i64>(c.y) - a.y) -
         (static_cast<i64>(b.y) - a.y) * (static_cast<i64>(c.x) - a.x);
}

bool na_odcinku(const Punkt& a, const Punkt& b, const Punkt& c) {
  return std::min(a.x, b.x) <= c.x && c.x <= std::max(a.x, b.x) && std::min(a.y, b.y) <= c.y &&
         c.y <= std::max(a.y, b.y);
}

bool przecinaja(const Punkt& a, const Punkt& b, const Punkt& c, const Punkt& d) {
  const int d1 = znak(iloczyn(c, d, a)), d2 = znak(iloczyn(c, d, b)), d3 = znak(iloczyn(a, b, c)),
            d4 = znak(iloczyn(a, b, d));
  if (d1 * d2 < 0 && d3 * d4 < 0) return true;
  return (d1 == 0 && na_odcinku(c, d, a)) || (d2 == 0 && na_odcinku(c, d, b)) || (d3 == 0 && na_odcinku(a, b, c)) ||
         (d4 == 0 && na_odcinku(a, b, d));
}

// Whether the closed outline crosses or touches itself (other than at the
// joints of neighbouring sides).  Large outlines count as crossing.
bool samoprzeciecie(const Punkt* p, int n) {
  if (n <= 3) return false;
  if (n > 64) return true;
  for (int i = 0; i < n; ++i)
    for (int j = i + 2; j < n; ++j) {
      if (i == 0 && j == n - 1) continue;
      if (przecinaja(p[i], p[(i + 1) % n], p[j], p[(j + 1) % n])) return true;
    }
  return false;
}


// Path data of outlines and lines: each starts with a move relative to the
// point where the previous one ended, then relative steps (h and v where
// they are straight across or down), with the points inside a straight run
// left out.
class Pisak {
 public:
  explicit Pisak(std::string& d) : d_(d) {}
  void obrys(const Punkt* p, int n, bool zamkniety) {
    if (jest_) {
      d_ += 'm';
      liczba(d_, p[0].x - x_);
      kolejna(d_, p[0].y - y_);
    } else {
      d_ += 'M';
      liczba(d_, p[0].x);
      kolejna(d_, p[0].y);
    }
    char ostatni = 0;
    int kroki = 0;
    for (int i = 1; i < n; ++i) {
      const i64 dx = static_cast<i64>(p[i].x) - p[i - 1].x, dy = static_cast<i64>(p[i].y) - p[i - 1].y;
      if (dx == 0 && dy == 0) continue;
      ++kroki;
      const char c = dy == 0 ? 'h' : dx == 0 ? 'v' : 'l';
      if (c != ostatni) d_ += c;
      if (c == 'h' || c == 'v') {
        if (c == ostatni) kolejna(d_, c == 'h' ? dx : dy);
        else liczba(d_, c == 'h' ? dx : dy);
      } else {
        if (c == ostatni) kolejna(d_, dx);
        else liczba(d_, dx);
        kolejna(d_, dy);
      }
      ostatni = c;
    }
    if (kroki == 0) d_ += "h0";  // a dot (drawn by the round end of a wide pen)
    jest_ = true;
    if (zamkniety) {
      d_ += 'z';
      x_ = p[0].x;
      y_ = p[0].y;
    } else {
      x_ = p[n - 1].x;
      y_ = p[n - 1].y;
    }
  }

 private:
  std::string& d_;
  bool jest_ = false;
  i64 x_ = 0, y_ = 0;
};

// Drops the points inside straight runs of a closed (or open) outline;
// returns the number left.
int bez_prostych(Punkt* p, int n, bool zamkniety) {
  int m = 0;
  for (int j = 0; j < n; ++j) {
    if (!zamkniety && (j == 0 || j == n - 1)) {
      p[m++] = p[j];
      continue;
    }
    const Punkt& a = j == 0 ? p[n - 1] : p[m - 1];
    const Punkt& b = p[j];
    const Punkt& c = p[(j + 1) % n];
    const i64 dx1 = static_cast<i64>(b.x) - a.x, dy1 = static_cast<i64>(b.y) - a.y;
    const i64 dx2 = static_cast<i64>(c.x) - b.x, dy2 = static_cast<i64>(c.y) - b.y;
    if (dx1 * dy2 - dy1 * dx2 == 0 && dx1 * dx2 + dy1 * dy2 > 0) continue;
    p[m++] = b;
  }
  return m;
}

}  // namespace

SvgCanvas::SvgCanvas(int szer, int wys) : w_(std::max(szer, 1)), h_(std::max(wys, 1)) {
  komorka_ = std::max(8, (std::max(w_, h_) + 1023) / 1024);
  gx_ = (w_ + komorka_ - 1) / komorka_;
  gy_ = (h_ + komorka_ - 1) / komorka_;
  for (int k = 0; k < 2; ++k) {
    komorki_[k].resize(static_cast<std::size_t>(gx_) * gy_);
    najwyzsza_[k].assign(static_cast<std::size_t>(gx_) * gy_, -1);
  }
  CzcionkaDomyslna();
}

void SvgCanvas::Pioro(Kolor k, int szerokosc, StylPiora styl) {
  pioro_ = k;
  pioro_szer_ = std::clamp(szerokosc, 1, 64);
  styl_ = styl;
}

std::uint64_t SvgCanvas::klucz(Rodzaj r, std::uint64_t cechy) {
  return cechy | std::uint64_t(static_cast<int>(r)) << 56;
}

bool SvgCanvas::widoczna(const Ramka& b) const { return b.r > 0 && b.b > 0 && b.l < w_ && b.t < h_; }

namespace {

bool wypukly(const Punkt* p, int n) {
  int kierunek = 0;
  for (int i = 0; i < n; ++i) {
    const int z = znak(iloczyn(p[i], p[(i + 1) % n], p[(i + 2) % n]));
    if (z == 0) continue;
    if (kierunek != 0 && z != kierunek) return false;
    kierunek = z;
  }
  return true;
}

// Whether two convex outlines share area (touching does not count): no
// side of either separates them.
bool wspolne_pole(const Punkt* a, int na, const Punkt* b, int nb) {
  for (int k = 0; k < 2; ++k) {
    const Punkt* p = k ? b : a;
    const int n = k ? nb : na;
    for (int i = 0; i < n; ++i) {
      const i64 nx = static_cast<i64>(p[(i + 1) % n].y) - p[i].y, ny = static_cast<i64>(p[i].x) - p[(i + 1) % n].x;
      if (nx == 0 && ny == 0) continue;
      i64 amin = INT64_MAX, amax = INT64_MIN, bmin = INT64_MAX, bmax = INT64_MIN;
      for (int j = 0; j < na; ++j) {
        const i64 v = nx * a[j].x + ny * a[j].y;
        amin = std::min(amin, v);
        amax = std::max(amax, v);
      }
      for (int j = 0; j < nb; ++j) {
        const i64 v = nx * b[j].x + ny * b[j].y;
        bmin = std::min(bmin, v);
        bmax = std::max(bmax, v);
      }
      if (amax <= bmin || bmax <= amin) return false;
    }
  }
  return true;
}

}  // namespace

int SvgCanvas::warstwa(Rodzaj rodzaj, std::uint64_t k_grupy, const Ramka& b, const Punkt* ksztalt, int n) {
  const int l = static_cast<int>(std::clamp<i64>(b.l, 0, w_ - 1) / komorka_);
  const int r = static_cast<int>(std::clamp<i64>(b.r - 1, 0, w_ - 1) / komorka_);
  const int t = static_cast<int>(std::clamp<i64>(b.t, 0, h_ - 1) / komorka_);
  const int d = static_cast<int>(std::clamp<i64>(b.b - 1, 0, h_ - 1) / komorka_);
  if (++runda_ == 0) {
    std::fill(znacznik_.begin(), znacznik_.end(), 0u);
    runda_ = 1;
  }
  const auto prostokat = [](const Ramka& q, Punkt* p) {
    p[0] = Punkt{static_cast<int>(q.l), static_cast<int>(q.t)};
    p[1] = Punkt{static_cast<int>(q.r), static_cast<int>(q.t)};
    p[2] = Punkt{static_cast<int>(q.r), static_cast<int>(q.b)};
    p[3] = Punkt{static_cast<int>(q.l), static_cast<int>(q.b)};
  };
  Punkt wlasny[4];
  if (n == 0) {
    prostokat(b, wlasny);
    ksztalt = wlasny;
    n = 4;
  }
  // Fills and lines of its own colour set no order (their union is the
  // same either way); texts of its own font and colour go into the same
  // group, after what they overlap; a line passes under lines.
  const bool tekst = rodzaj == Rodzaj::Tekst;
  const int kategorie = rodzaj == Rodzaj::Linia ? 1 : 2;
  int wynik = 0;
  for (int y = t; y <= d; ++y)
    for (int x = l; x <= r; ++x) {
      const std::size_t c = static_cast<std::size_t>(y) * gx_ + x;
      for (int kat = 0; kat < kategorie; ++kat) {
        const int najw = najwyzsza_[kat][c] + 1;
        if (najw <= wynik) continue;  // nothing here can raise it
        const std::vector<int>& lista = komorki_[kat][c];
        // The newest first: they tend to lie highest.
        for (auto it = lista.rbegin(); it != lista.rend() && wynik < najw; ++it) {
          const int id = *it;
          if (znacznik_[static_cast<std::size_t>(id)] == runda_) continue;
          znacznik_[static_cast<std::size_t>(id)] = runda_;
          const Slad& s = slady_[static_cast<std::size_t>(id)];
          const bool swoj = s.klucz == k_grupy;
          if (swoj && !tekst) continue;
          const int w = s.warstwa + (swoj ? 0 : 1);
          if (w <= wynik) continue;
          if (s.b.r <= b.l || b.r <= s.b.l || s.b.b <= b.t || b.b <= s.b.t) continue;
          Punkt jego[4];
          const Punkt* q = punkty_.data() + s.p0;
          int nq = s.n;
          if (nq == 0) {
            prostokat(s.b, jego);
            q = jego;
            nq = 4;
          }
          if (wspolne_pole(ksztalt, n, q, nq)) wynik = w;
        }
      }
    }
  return wynik;
}

SvgCanvas::Grupa& SvgCanvas::grupa(Rodzaj r, std::uint64_t k_grupy, const Ramka& b, const Punkt* ksztalt, int n,
                                   Kolor k) {
  // An outline that is not convex (or too long to bother) counts as its box.
  if (n > 8 || (n > 0 && !wypukly(ksztalt, n))) n = 0;
  // A fill with the alternating rule merges with nothing.
  if (r == Rodzaj::WypelnienieParzyste) k_grupy = klucz(r, ++pojedyncze_);
  int war = warstwa(r, k_grupy, b, ksztalt, n);
  // A line or a text may as well lie higher than it must, in the highest
  // group of its pen or font: whatever of that layer it overlaps would have
  // put it higher still.  (Fills stay as low as they can: the bands of a
  // map then share one layer above its sub-triangles.)
  if (r == Rodzaj::Linia || r == Rodzaj::Tekst) {
    int& najwyzsza = najwyzsza_klucza_[k_grupy];
    war = std::max(war, najwyzsza);
    najwyzsza = war;
  }
  if (static_cast<std::size_t>(war) >= w_warstwie_.size()) w_warstwie_.resize(static_cast<std::size_t>(war) + 1);
  auto [it, nowa] = w_warstwie_[static_cast<std::size_t>(war)].try_emplace(k_grupy, static_cast<int>(grupy_.size()));
  if (nowa) {
    Grupa g;
    g.rodzaj = r;
    g.kolor = k;
    g.szer = pioro_szer_;
    g.styl = styl_;
    g.czcionka = czcionka_;
    g.warstwa = war;
    grupy_.push_back(std::move(g));
  }
  const int id = static_cast<int>(slady_.size());
  slady_.push_back(Slad{k_grupy, war, r == Rodzaj::Linia, b, static_cast<int>(punkty_.size()), n});
  punkty_.insert(punkty_.end(), ksztalt, ksztalt + n);
  znacznik_.push_back(0);
  const int l = static_cast<int>(std::clamp<i64>(b.l, 0, w_ - 1) / komorka_);
  const int rr = static_cast<int>(std::clamp<i64>(b.r - 1, 0, w_ - 1) / komorka_);
  const int t = static_cast<int>(std::clamp<i64>(b.t, 0, h_ - 1) / komorka_);
  const int d = static_cast<int>(std::clamp<i64>(b.b - 1, 0, h_ - 1) / komorka_);
  const int kat = r == Rodzaj::Linia ? 1 : 0;
  for (int y = t; y <= d; ++y)
    for (int x = l; x <= rr; ++x) {
      const std::size_t c = static_cast<std::size_t>(y) * gx_ + x;
      komorki_[kat][c].push_back(id);
      najwyzsza_[kat][c] = std::max(najwyzsza_[kat][c], war);
    }
  return grupy_[static_cast<std::size_t>(it->second)];
}

// --- fills ------------------------------------------------------------------------------

void SvgCanvas::Wypelnij(const Punkt* p, int n) {
  if (n >= 3) wypelnienie(p, n);
}

void SvgCanvas::wypelnienie(const Punkt* p, int n) {
  Ramka b{p[0].x, p[0].y, p[0].x, p[0].y};
  for (int i = 1; i < n; ++i) {
    b.l = std::min<i64>(b.l, p[i].x);
    b.r = std::max<i64>(b.r, p[i].x);
    b.t = std::min<i64>(b.t, p[i].y);
    b.b = std::max<i64>(b.b, p[i].y);
  }
  if (!widoczna(b)) return;
  std::vector<Punkt> przyciety;
  if (b.l < -kZapas || b.t < -kZapas || b.r > w_ + kZapas || b.b > h_ + kZapas) {
    // Clipped to a rectangle just around the picture, one side at a time.
    std::vector<std::pair<double, double>> we, wy;
    for (int i = 0; i < n; ++i) we.push_back({static_cast<double>(p[i].x), static_cast<double>(p[i].y)});
    const double gr[4] = {-2.0, -2.0, w_ + 2.0, h_ + 2.0};
    for (int s = 0; s < 4; ++s) {
      wy.clear();
      const auto wewnatrz = [&](const std::pair<double, double>& q) {
        return s == 0 ? q.first >= gr[0] : s == 1 ? q.second >= gr[1] : s == 2 ? q.first <= gr[2] : q.second <= gr[3];
      };
      for (std::size_t i = 0; i < we.size(); ++i) {
        const auto a = we[i], c = we[(i + 1) % we.size()];
        const bool wa = wewnatrz(a), wc = wewnatrz(c);
        if (wa) wy.push_back(a);
        if (wa != wc) {
          const double g = gr[s];
          const double t = s % 2 == 0 ? (g - a.first) / (c.first - a.first) : (g - a.second) / (c.second - a.second);
          wy.push_back({a.first + t * (c.first - a.first), a.second + t * (c.second - a.second)});
        }
      }
      we.swap(wy);
      if (we.size() < 3) return;
    }
    for (const auto& q : we) przyciety.push_back(Punkt{static_cast<int>(std::lround(q.first)), static_cast<int>(std::lround(q.second))});
    p = przyciety.data();
    n = static_cast<int>(przyciety.size());
  }
  // Repeated points say nothing; a polygon whose points all lie on one line
  // has no area and no pixel.
  Punkt stos[16];
  std::vector<Punkt> sterta;
  Punkt* q = stos;
  if (n > 16) {
    sterta.resize(static_cast<std::size_t>(n));
    q = sterta.data();
  }
  int m = 0;
  for (int i = 0; i < n; ++i)
    if (m == 0 || p[i].x != q[m - 1].x || p[i].y != q[m - 1].y) q[m++] = p[i];
  while (m > 1 && q[m - 1].x == q[0].x && q[m - 1].y == q[0].y) --m;
  p = q;
  n = m;
  if (n < 3) return;
  const i64 pole = pole2(p, n);
  if (pole == 0) {
    bool prosta = true;
    for (int i = 2; i < n && prosta; ++i) prosta = iloczyn(p[0], p[1], p[i]) == 0;
    if (prosta) return;
  }
  const bool parzyste = samoprzeciecie(p, n);
  if (pole == 0 && !parzyste) return;  // no area, no pixel
  const Rodzaj r = parzyste ? Rodzaj::WypelnienieParzyste : Rodzaj::Wypelnienie;
  b = Ramka{p[0].x, p[0].y, p[0].x, p[0].y};
  for (int i = 1; i < n; ++i) {
    b.l = std::min<i64>(b.l, p[i].x);
    b.r = std::max<i64>(b.r, p[i].x);
    b.t = std::min<i64>(b.t, p[i].y);
    b.b = std::max<i64>(b.b, p[i].y);
  }
  Grupa& g = grupa(r, klucz(r, rgb(pedzel_)), b, p, n, pedzel_);
  if (parzyste) {
    Pisak(g.d).obrys(p, n, true);
    return;
  }
  // One orientation for all outlines of a group: under the non-zero rule
  // overlapping outlines of one colour then add up instead of cancelling,
  // and a side shared by two outlines runs both ways (see scal_krawedzie).
  const bool odwrotnie = pole < 0;
  for (int i = 0; i < n; ++i) {
    const Punkt& a = p[odwrotnie ? n - 1 - i : i];
    const Punkt& c = p[odwrotnie ? (2 * n - 2 - i) % n : (i + 1) % n];
    g.krawedzie.push_back(Krawedz{a.x, a.y, c.x, c.y});
  }
}

void SvgCanvas::Prostokat(int l, int t, int r, int b) {
  if (r < l) std::swap(l, r);
  if (b < t) std::swap(t, b);
  if (static_cast<i64>(r) - l < 1 || static_cast<i64>(b) - t < 1) return;
  const Punkt p[4] = {{l, t}, {r, t}, {r, b}, {l, b}};
  wypelnienie(p, 4);
  // The outline lies on the rectangle's edge pixels (a wide pen inside
  // them); in the colour of the fill it changes nothing.
  if (pioro_ == pedzel_) return;
  const int o = (pioro_szer_ - 1) / 2;
  const Punkt q[4] = {{l + o, t + o}, {r - 1 - o, t + o}, {r - 1 - o, b - 1 - o}, {l + o, b - 1 - o}};
  linia(q, 4, true);
}

void SvgCanvas::Polygon(const Punkt* p, int n) {
  if (n < 2) return;
  if (n >= 3) wypelnienie(p, n);
  linia(p, n, true);
}

void SvgCanvas::SetPixel(int x, int y, Kolor k) {
  const Kolor stary = pedzel_;
  pedzel_ = k;
  const Punkt p[4] = {{x, y}, {x + 1, y}, {x + 1, y + 1}, {x, y + 1}};
  wypelnienie(p, 4);
  pedzel_ = stary;
}

// --- lines ---------------------------------------------------------------------------------

void SvgCanvas::MoveTo(int x, int y) {
  cx_ = x;
  cy_ = y;
}

void SvgCanvas::LineTo(int x, int y) {
  const Punkt p[2] = {{cx_, cy_}, {x, y}};
  cx_ = x;
  cy_ = y;
  linia(p, 2, false);
}

void SvgCanvas::Polyline(const Punkt* p, int n) {
  if (n >= 2) linia(p, n, false);
}

void SvgCanvas::linia(const Punkt* p, int n, bool zamknieta) {
  // A thin line of no length draws nothing; a wide one a dot.
  bool dlugosc = false;
  for (int i = 1; i < n && !dlugosc; ++i) dlugosc = p[i].x != p[0].x || p[i].y != p[0].y;
  if (!dlugosc && pioro_szer_ == 1) return;
  Ramka b{p[0].x, p[0].y, p[0].x, p[0].y};
  for (int i = 1; i < n; ++i) {
    b.l = std::min<i64>(b.l, p[i].x);
    b.r = std::max<i64>(b.r, p[i].x);
    b.t = std::min<i64>(b.t, p[i].y);
    b.b = std::max<i64>(b.b, p[i].y);
  }
  const int m = pioro_szer_ / 2 + 1;
  const Ramka piksele{b.l - m, b.t - m, b.r + m + 1, b.b + m + 1};
  if (!widoczna(piksele)) return;
  if (b.l < -kZapas || b.t < -kZapas || b.r > w_ + kZapas || b.b > h_ + kZapas) {
    for (int i = 0; i + 1 < n; ++i) odcinek_przyciety(p[i].x, p[i].y, p[i + 1].x, p[i + 1].y);
    if (zamknieta) odcinek_przyciety(p[n - 1].x, p[n - 1].y, p[0].x, p[0].y);
    return;
  }
  dopisz_linie(p, n, zamknieta, piksele);
}

// A segment reaching far beyond the picture: only its part near the picture.
void SvgCanvas::odcinek_przyciety(i64 x0, i64 y0, i64 x1, i64 y1) {
  const double m = pioro_szer_ + 2.0;
  const double xmin = -m, ymin = -m, xmax = w_ + m, ymax = h_ + m;
  double t0 = 0.0, t1 = 1.0;
  const double dx = static_cast<double>(x1 - x0), dy = static_cast<double>(y1 - y0);
  const double p[4] = {-dx, dx, -dy, dy};
  const double q[4] = {x0 - xmin, xmax - x0, y0 - ymin, ymax - y0};
  for (int i = 0; i < 4; ++i) {
    if (p[i] == 0.0) {
      if (q[i] < 0.0) return;
      continue;
    }
    const double r = q[i] / p[i];
    if (p[i] < 0.0) t0 = std::max(t0, r);
    else t1 = std::min(t1, r);
    if (t0 > t1) return;
  }
  const Punkt s[2] = {{static_cast<int>(std::lround(x0 + t0 * dx)), static_cast<int>(std::lround(y0 + t0 * dy))},
                      {static_cast<int>(std::lround(x0 + t1 * dx)), static_cast<int>(std::lround(y0 + t1 * dy))}};
  const int mm = pioro_szer_ / 2 + 1;
  const Ramka b{std::min(s[0].x, s[1].x) - mm, std::min(s[0].y, s[1].y) - mm, std::max(s[0].x, s[1].x) + mm + 1,
                std::max(s[0].y, s[1].y) + mm + 1};
  if (widoczna(b)) dopisz_linie(s, 2, false, b);
}

void SvgCanvas::dopisz_linie(const Punkt* p, int n, bool zamknieta, const Ramka& b) {
  const std::uint64_t k =
      klucz(Rodzaj::Linia, rgb(pioro_) | std::uint64_t(pioro_szer_) << 24 | std::uint64_t(static_cast<int>(styl_)) << 32);
  Grupa& g = grupa(Rodzaj::Linia, k, b, nullptr, 0, pioro_);
  if (styl_ != StylPiora::Ciagly) {
    // The dashes run on along the line as it was drawn.
    Pisak(g.d).obrys(p, n, zamknieta);
    return;
  }
  // A solid line is kept as its segments, joined at the end.
  bool kropka = true;
  for (int i = 0; i + 1 < n; ++i)
    if (p[i].x != p[i + 1].x || p[i].y != p[i + 1].y) {
      g.krawedzie.push_back(Krawedz{p[i].x, p[i].y, p[i + 1].x, p[i + 1].y});
      kropka = false;
    }
  if (zamknieta && n > 2 && (p[n - 1].x != p[0].x || p[n - 1].y != p[0].y))
    g.krawedzie.push_back(Krawedz{p[n - 1].x, p[n - 1].y, p[0].x, p[0].y});
  if (kropka) g.krawedzie.push_back(Krawedz{p[0].x, p[0].y, p[0].x, p[0].y});
}

std::string SvgCanvas::polacz_odcinki(std::vector<Krawedz> k) {
  // Each segment once, whichever way and however often it was drawn.
  for (Krawedz& e : k)
    if (e.bx < e.ax || (e.bx == e.ax && e.by < e.ay)) e = Krawedz{e.bx, e.by, e.ax, e.ay};
  const auto mniejsza = [](const Krawedz& a, const Krawedz& b) {
    return std::tie(a.ax, a.ay, a.bx, a.by) < std::tie(b.ax, b.ay, b.bx, b.by);
  };
  std::sort(k.begin(), k.end(), mniejsza);
  k.erase(std::unique(k.begin(), k.end(),
                      [](const Krawedz& a, const Krawedz& b) {
                        return a.ax == b.ax && a.ay == b.ay && a.bx == b.bx && a.by == b.by;
                      }),
          k.end());
  // The ends of the segments, by point.
  struct Koniec {
    int x, y;
    std::size_t odcinek;
  };
  std::vector<Koniec> konce;
  konce.reserve(2 * k.size());
  for (std::size_t i = 0; i < k.size(); ++i) {
    konce.push_back({k[i].ax, k[i].ay, i});
    if (k[i].bx != k[i].ax || k[i].by != k[i].ay) konce.push_back({k[i].bx, k[i].by, i});
  }
  std::sort(konce.begin(), konce.end(),
            [](const Koniec& a, const Koniec& b) { return std::tie(a.x, a.y, a.odcinek) < std::tie(b.x, b.y, b.odcinek); });
  const auto przy = [&](int x, int y) {
    auto lo = std::lower_bound(konce.begin(), konce.end(), Koniec{x, y, 0},
                               [](const Koniec& a, const Koniec& b) { return std::tie(a.x, a.y) < std::tie(b.x, b.y); });
    auto hi = lo;
    while (hi != konce.end() && hi->x == x && hi->y == y) ++hi;
    return std::pair{lo, hi};
  };
  std::vector<char> uzyty(k.size(), 0);
  std::vector<int> wolne(konce.size());  // unused segments at the point of each end
  for (std::size_t i = 0; i < konce.size();) {
    std::size_t j = i;
    while (j < konce.size() && konce[j].x == konce[i].x && konce[j].y == konce[i].y) ++j;
    for (std::size_t q = i; q < j; ++q) wolne[q] = static_cast<int>(j - i);
    i = j;
  }
  std::string d;
  d.reserve(k.size() * 6);
  Pisak pisak(d);
  std::vector<Punkt> linia;
  // Lines are walked from points where an odd number of segments meet
  // first (the ends of open lines), then whatever is left (closed ones); at
  // each point on along the straight continuation where there is one.
  for (int przebieg = 0; przebieg < 2; ++przebieg)
    for (std::size_t s = 0; s < konce.size(); ++s) {
      if (przebieg == 0 && wolne[s] % 2 == 0) continue;
      if (uzyty[konce[s].odcinek]) continue;
      linia.clear();
      int x = konce[s].x, y = konce[s].y;
      linia.push_back(Punkt{x, y});
      i64 kx = 0, ky = 0;  // direction of the last step
      for (;;) {
        auto [lo, hi] = przy(x, y);
        std::size_t wybrany = k.size();
        for (auto it = lo; it != hi; ++it) {
          if (uzyty[it->odcinek]) continue;
          const Krawedz& e = k[it->odcinek];
          const int nx = e.ax == x && e.ay == y ? e.bx : e.ax, ny = e.ax == x && e.ay == y ? e.by : e.ay;
          const i64 dx = nx - x, dy = ny - y;
          if (wybrany == k.size()) wybrany = it->odcinek;
          if (dx * ky - dy * kx == 0 && dx * kx + dy * ky > 0) {
            wybrany = it->odcinek;
            break;
          }
        }
        if (wybrany == k.size()) break;
        uzyty[wybrany] = 1;
        for (auto it = przy(k[wybrany].ax, k[wybrany].ay); it.first != it.second; ++it.first) --wolne[static_cast<std::size_t>(it.first - konce.begin())];
        if (k[wybrany].bx != k[wybrany].ax || k[wybrany].by != k[wybrany].ay)
          for (auto it = przy(k[wybrany].bx, k[wybrany].by); it.first != it.second; ++it.first)
            --wolne[static_cast<std::size_t>(it.first - konce.begin())];
        const Krawedz& e = k[wybrany];
        const bool od_a = e.ax == x && e.ay == y;
        const int nx = od_a ? e.bx : e.ax, ny = od_a ? e.by : e.ay;
        kx = nx - x;
        ky = ny - y;
        x = nx;
        y = ny;
        linia.push_back(Punkt{x, y});
      }
      const int m = bez_prostych(linia.data(), static_cast<int>(linia.size()), false);
      pisak.obrys(linia.data(), m, false);
    }
  return d;
}

// --- text -----------------------------------------------------------------------------------

void SvgCanvas::Czcionka(const std::string& kroj, int wysokosc_px, int waga) {
  Czcionka_ c{kroj, wysokosc_px > 0 ? std::min(wysokosc_px, 1000) : 12, waga >= 700 ? 700 : 400, false};
  for (std::size_t i = 0; i < czcionki_.size(); ++i)
    if (czcionki_[i].kroj == c.kroj && czcionki_[i].px == c.px && czcionki_[i].waga == c.waga &&
        !czcionki_[i].domyslna) {
      czcionka_ = static_cast<int>(i);
      return;
    }
  czcionki_.push_back(c);
  czcionka_ = static_cast<int>(czcionki_.size()) - 1;
}

void SvgCanvas::CzcionkaDomyslna() {
  for (std::size_t i = 0; i < czcionki_.size(); ++i)
    if (czcionki_[i].domyslna) {
      czcionka_ = static_cast<int>(i);
      return;
    }
  czcionki_.push_back(Czcionka_{"", 12, 400, true});
  czcionka_ = static_cast<int>(czcionki_.size()) - 1;
}

int SvgCanvas::szerokosc_tekstu(const std::string& tekst, int wysokosc_px, int waga, bool domyslna) {
  long suma = 0;
  znaki(tekst, [&](char32_t c) { suma += postep(c, waga >= 700); });
  const double w = static_cast<double>(suma) * wysokosc_px / kEm * (domyslna ? kDomyslnaSzersza : 1.0);
  return static_cast<int>(std::lround(w));
}

void SvgCanvas::TextOut(int x, int y, const std::string& tekst) {
  if (tekst.empty()) return;
  const Czcionka_& c = czcionki_[static_cast<std::size_t>(czcionka_)];
  const int szer = szerokosc_tekstu(tekst, c.px, c.waga, c.domyslna);
  const int wznios = static_cast<int>(std::lround(static_cast<double>(c.px) * kWznios / kEm));
  const int wys = wznios + static_cast<int>(std::lround(static_cast<double>(c.px) * kZejscie / kEm));
  const Ramka b{x, y, static_cast<i64>(x) + szer, static_cast<i64>(y) + wys};
  if (!widoczna(b)) return;
  Grupa& g = grupa(Rodzaj::Tekst, klucz(Rodzaj::Tekst, rgb(tekst_kolor_) | std::uint64_t(czcionka_) << 24), b,
                   nullptr, 0, tekst_kolor_);
  std::string& d = g.d;
  // The background, then the text on its baseline.
  d += "<path fill=\"#fff\" d=\"M";
  liczba(d, x);
  kolejna(d, y);
  d += 'h';
  liczba(d, szer);
  d += 'v';
  liczba(d, wys);
  d += 'h';
  liczba(d, -szer);
  d += "z\"/><text x=\"";
  liczba(d, x);
  d += "\" y=\"";
  liczba(d, static_cast<i64>(y) + wznios);
  d += "\">";
  d += xml(tekst);
  d += "</text>\n";
}

std::string SvgCanvas::scal_krawedzie(std::vector<Krawedz> k) {
  // Each side by its two ends in a fixed order, then the sides that run
  // both ways between the same ends cancel in pairs.
  const auto przed = [](const Krawedz& e) {
    return e.ax < e.bx || (e.ax == e.bx && e.ay < e.by);
  };
  const auto klucz_boku = [&](const Krawedz& e) {
    return przed(e) ? std::array<int, 4>{e.ax, e.ay, e.bx, e.by} : std::array<int, 4>{e.bx, e.by, e.ax, e.ay};
  };
  std::sort(k.begin(), k.end(), [&](const Krawedz& a, const Krawedz& b) { return klucz_boku(a) < klucz_boku(b); });
  std::vector<Krawedz> zostaja;
  zostaja.reserve(k.size());
  for (std::size_t i = 0; i < k.size();) {
    std::size_t j = i;
    int naprzod = 0, wstecz = 0;
    const auto kl = klucz_boku(k[i]);
    for (; j < k.size() && klucz_boku(k[j]) == kl; ++j) (przed(k[j]) ? naprzod : wstecz)++;
    const int zostaje = naprzod - wstecz;
    const Krawedz e = przed(k[i]) ? k[i] : Krawedz{k[i].bx, k[i].by, k[i].ax, k[i].ay};
    for (int r = 0; r < std::abs(zostaje); ++r)
      zostaja.push_back(zostaje > 0 ? e : Krawedz{e.bx, e.by, e.ax, e.ay});
    i = j;
  }
  // Joined into closed outlines: from any side, on along any unused side
  // leaving its end, until the start is reached again.  Every point has as
  // many sides in as out, so a walk can only end where it began.
  std::sort(zostaja.begin(), zostaja.end(), [](const Krawedz& a, const Krawedz& b) {
    return a.ax < b.ax || (a.ax == b.ax && a.ay < b.ay);
  });
  std::vector<char> uzyta(zostaja.size(), 0);
  // The first side leaving a point not used yet.
  std::vector<std::size_t> nastepna(zostaja.size());
  for (std::size_t i = 0; i < zostaja.size(); ++i) nastepna[i] = i;
  const auto wychodzaca = [&](int x, int y) -> std::size_t {
    auto it = std::lower_bound(zostaja.begin(), zostaja.end(), Krawedz{x, y, 0, 0}, [](const Krawedz& a, const Krawedz& b) {
      return a.ax < b.ax || (a.ax == b.ax && a.ay < b.ay);
    });
    std::size_t i = static_cast<std::size_t>(it - zostaja.begin());
    const std::size_t poczatek = i;
    while (i < zostaja.size() && zostaja[i].ax == x && zostaja[i].ay == y && uzyta[i]) i = std::max(i + 1, nastepna[i]);
    nastepna[poczatek] = i;
    return i < zostaja.size() && zostaja[i].ax == x && zostaja[i].ay == y ? i : zostaja.size();
  };
  std::string d;
  d.reserve(zostaja.size() * 5);
  Pisak pisak(d);
  std::vector<Punkt> petla;
  for (std::size_t s = 0; s < zostaja.size(); ++s) {
    if (uzyta[s]) continue;
    petla.clear();
    std::size_t i = s;
    while (i < zostaja.size()) {
      uzyta[i] = 1;
      petla.push_back(Punkt{zostaja[i].ax, zostaja[i].ay});
      if (zostaja[i].bx == zostaja[s].ax && zostaja[i].by == zostaja[s].ay) break;
      i = wychodzaca(zostaja[i].bx, zostaja[i].by);
    }
    const int m = bez_prostych(petla.data(), static_cast<int>(petla.size()), true);
    if (m >= 3) pisak.obrys(petla.data(), m, true);
  }
  return d;
}

// --- the document ---------------------------------------------------------------------------

std::string SvgCanvas::dokument() const {
  std::size_t rozmiar = 1024;
  for (const Grupa& g : grupy_) rozmiar += g.d.size() + 5 * g.krawedzie.size() + 160;
  std::string s;
  s.reserve(rozmiar);
  const std::string W = std::to_string(w_), H = std::to_string(h_);
  s += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
       "<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.1\" width=\"" +
       W + "\" height=\"" + H + "\" viewBox=\"0 0 " + W + " " + H +
       "\">\n"
       "<rect width=\"" +
       W + "\" height=\"" + H +
       "\" fill=\"#fff\"/>\n"
       "<g transform=\"translate(.5 .5)\">\n";
  // Layer by layer, bottom up; within a layer in the order the groups began.
  std::vector<int> kolejnosc(grupy_.size());
  for (std::size_t i = 0; i < kolejnosc.size(); ++i) kolejnosc[i] = static_cast<int>(i);
  std::stable_sort(kolejnosc.begin(), kolejnosc.end(), [this](int a, int b) {
    return grupy_[static_cast<std::size_t>(a)].warstwa < grupy_[static_cast<std::size_t>(b)].warstwa;
  });
  for (int i : kolejnosc) {
    const Grupa& g = grupy_[static_cast<std::size_t>(i)];
    if (g.d.empty() && g.krawedzie.empty()) continue;
    switch (g.rodzaj) {
      case Rodzaj::Wypelnienie:
      case Rodzaj::WypelnienieParzyste:
        s += "<path shape-rendering=\"crispEdges\" fill=\"" + kolor(g.kolor) + "\"";
        if (g.rodzaj == Rodzaj::WypelnienieParzyste) s += " fill-rule=\"evenodd\"";
        s += " d=\"";
        s += g.rodzaj == Rodzaj::Wypelnienie ? scal_krawedzie(g.krawedzie) : g.d;
        s += "\"/>\n";
        break;
      case Rodzaj::Linia: {
        s += "<path fill=\"none\" stroke=\"" + kolor(g.kolor) + "\"";
        if (g.szer == 1) s += " stroke-linecap=\"square\"";
        if (g.szer > 1) {
          s += " stroke-width=\"" + std::to_string(g.szer) + "\" stroke-linecap=\"round\" stroke-linejoin=\"round\"";
          // A pen of an even width is centred on a pixel corner.
          if (g.szer % 2 == 0) s += " transform=\"translate(-.5 -.5)\"";
        }
        if (g.styl == StylPiora::Kreskowany)
          s += " stroke-dasharray=\"" + std::to_string(4 * g.szer) + " " + std::to_string(2 * g.szer) + "\"";
        else if (g.styl == StylPiora::Kropkowany)
          s += " stroke-dasharray=\"" + std::to_string(g.szer) + " " + std::to_string(2 * g.szer) + "\"";
        s += " d=\"";
        s += g.krawedzie.empty() ? g.d : polacz_odcinki(g.krawedzie);
        s += "\"/>\n";
        break;
      }
      case Rodzaj::Tekst: {
        const Czcionka_& c = czcionki_[static_cast<std::size_t>(g.czcionka)];
        std::string kroj;
        if (c.domyslna)
          kroj = "sans-serif";
        else if (c.kroj == "Arial")
          kroj = "Arial,'Liberation Sans',Helvetica,sans-serif";
        else
          kroj = "'" + xml(c.kroj) + "',sans-serif";
        s += "<g xml:space=\"preserve\" fill=\"" + kolor(g.kolor) + "\" font-family=\"" + kroj + "\" font-size=\"" +
             std::to_string(c.px) + "\"";
        if (c.waga >= 700) s += " font-weight=\"bold\"";
        s += ">\n";
        s += g.d;
        s += "</g>\n";
        break;
      }
    }
  }
  s += "</g>\n</svg>\n";
  return s;
}
