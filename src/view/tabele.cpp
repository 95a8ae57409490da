// The data and results tables, and the commands that open them.
#include "view/tabele.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cstdarg>
#include <cstdio>
#include <memory>
#include <vector>

#include "app/okno.h"
#include "view/canvas.h"

namespace {

constexpr Kolor kCzarny(0, 0, 0);

// Pixel rows are computed in 64 bits: a huge model must not wrap around
// into rows drawn over the headers.
int piksel(long long y) { return static_cast<int>(std::clamp<long long>(y, INT_MIN / 2, INT_MAX / 2)); }

// Text at (x, y), formatted like printf.
void __attribute__((format(printf, 4, 5))) pisz(Canvas& dc, int x, long long y, const char* fmt, ...) {
  char bufor[160];
  va_list ap;
  va_start(ap, fmt);
  std::vsnprintf(bufor, sizeof bufor, fmt, ap);
  va_end(ap);
  dc.TextOut(x, piksel(y), bufor);
}

void linia(Canvas& dc, int do_x, long long y) {
  dc.MoveTo(2, piksel(y));
  dc.LineTo(do_x, piksel(y));
}

// The label of a degree of freedom: its node number printed as a float in
// four characters, followed by the direction (node 3 in X is "   3X").
void etykieta_dof(Canvas& dc, int x, long long y, int dof) {
  if (dof % 2 != 0)
    pisz(dc, x, y, "%4.0fX", static_cast<double>((dof + 1) / 2));
  else
    pisz(dc, x, y, "%4.0fY", static_cast<double>(dof / 2));
}

void czcionka_tabeli(Canvas& dc) {
  dc.Czcionka("Arial", 16, 400);
  dc.KolorTekstu(kCzarny);
}

// Gap between the texts of two neighbouring columns.
constexpr int kOdstep = 10;

// The smallest and the largest of the values of a column (NaN left out).
struct Skrajne {
  float lo = 0, hi = 0;
  bool sa = false;
  void dodaj(float v) {
    if (!(v == v)) return;
    if (!sa || v < lo) lo = v;
    if (!sa || v > hi) hi = v;
    sa = true;
  }
};

std::string sformatuj(const char* fmt, double v) {
  char bufor[160];
  std::snprintf(bufor, sizeof bufor, fmt, v);
  return bufor;
}

// Width of the widest of the texts of a column: its headers, and the
// values as the table formats them.  The widest value text is that of the
// smallest or of the largest value (digits are equally wide).
class Szerokosc {
 public:
  explicit Szerokosc(Canvas& dc) : dc_(dc) {}
  Szerokosc& operator()(const std::string& t) {
    w_ = std::max(w_, dc_.WymiaryTekstu(t).szer);
    return *this;
  }
  Szerokosc& operator()(const char* fmt, const Skrajne& z) {
    if (z.sa) (*this)(sformatuj(fmt, z.lo))(sformatuj(fmt, z.hi));
    return *this;
  }
  Szerokosc& calkowite(long long lo, long long hi) { return (*this)(std::to_string(lo))(std::to_string(hi)); }
  // The label of a degree of freedom of the node with the largest number.
  Szerokosc& dof(long long wezly) { return (*this)(sformatuj("%4.0fX", static_cast<double>(wezly))); }
  operator int() const { return w_; }

 private:
  Canvas& dc_;
  int w_ = 0;
};

// Left edges of the columns of one section: each column starts at its
// usual place or, when the widest text of the column before it would come
// closer than kOdstep, that far after it; the order stays.  `prawa` grows to
// the right edge of the last column.
template <std::size_t N>
std::array<int, N> kolumny(const std::array<int, N>& x, const std::array<int, N>& szer, int& prawa) {
  std::array<int, N> k = x;
  for (std::size_t i = 1; i < N; ++i) k[i] = std::max(x[i], k[i - 1] + szer[i - 1] + kOdstep);
  prawa = std::max(prawa, k[N - 1] + szer[N - 1]);
  return k;
}

// Scroll units of 10 pixels covering `piksele`.
int jednostki(long long piksele) { return static_cast<int>(std::min<long long>((piksele + 9) / 10, INT_MAX / 20)); }

}  // namespace

int wiersze_materialow(const Model& m) {
  int r = 0;
  if (m.Pusty == 1 || !m.Prz.istnieje()) return 0;
  for (int i = 1; i <= m.nm; ++i) r += std::clamp<int>(m.Prz[i], 0, static_cast<int>(m.Ez.ch()));
  return r;
}

int sily_niezerowe(const Model& m) {
  int c = 0;
  if (m.Pusty == 1 || !m.si.istnieje()) return 0;
  for (int i = 1; i <= m.nq; ++i)
    if (m.si[i] != 0.0f) ++c;
  return c;
}

long long wysokosc_danych(const Model& m) {
  if (m.Pusty == 1) return 0;
  const long long wiersze = static_cast<long long>(m.ne) + m.nn + wiersze_materialow(m) + m.nd + sily_niezerowe(m);
  return 20 * wiersze + 285;
}

long long wysokosc_wynikow(const Model& m) {
  if (m.Pusty == 1) return 0;
  return 20 * (static_cast<long long>(m.ne) + m.nn + m.nd) + 205;
}

// --- data table --------------------------------------------------------------------------

// As wide as the widest section of the last paint, at least 450 pixels.
int _DANE_::ZakresX() const { return std::max(45, jednostki(prawa_ + kOdstep)); }
int _DANE_::ZakresY() const { return jednostki(wysokosc_danych(O.M)); }

bool _DANE_::CanClose() {
  O.id = 0;
  return true;
}

void _DANE_::Paint(Canvas& dc) {
  const Model& m = O.M;
  if (m.Pusty == 1) return;
  czcionka_tabeli(dc);
  const long long ne = m.ne, nn = m.nn, nd = m.nd;
  const long long R = wiersze_materialow(m);
  const long long y_wez = 20 * ne, y_mat = 20 * (ne + nn), y_podp = 20 * (ne + nn + R),
                  y_sil = 20 * (ne + nn + R + nd);

  // Columns wide enough for their headers and values.
  Skrajne x[2], ez, pois, sprz, u, si;
  std::array<int, 4> lo{}, hi{};  // node numbers of the three corners, material numbers
  for (int i = 1; i <= m.ne; ++i)
    for (int k = 0; k < 4; ++k) {
      const int v = k < 3 ? m.noc[i][k + 1] : m.mat[i];
      lo[k] = i == 1 ? v : std::min(lo[k], v);
      hi[k] = i == 1 ? v : std::max(hi[k], v);
    }
  for (int i = 1; i <= m.nn; ++i)
    for (int k = 0; k < 2; ++k) x[k].dodaj(m.x[i][k + 1]);
  for (int mm = 1; mm <= m.nm && m.Prz.istnieje(); ++mm) {
    const int przedzialy = std::clamp<int>(m.Prz[mm], 0, static_cast<int>(m.Ez.ch()));
    for (int j = 1; j <= przedzialy; ++j) {
      ez.dodaj(m.Ez[mm][j]);
      pois.dodaj(m.pm[mm][2]);
      sprz.dodaj(m.Sprz[mm][j]);
    }
  }
  for (int j = 1; j <= m.nd; ++j) u.dodaj(m.u[j]);
  for (int i = 1; i <= m.nq; ++i)
    if (m.si[i] != 0.0f) si.dodaj(m.si[i]);
  const auto S = [&dc] { return Szerokosc(dc); };
  prawa_ = 0;
  const auto ke = kolumny<5>({5, 100, 190, 270, 350},
                             {S()("Element").calkowite(1, m.ne), S()("Węzeł 1").calkowite(lo[0], hi[0]),
                              S()("Węzeł 2").calkowite(lo[1], hi[1]), S()("Węzeł 3").calkowite(lo[2], hi[2]),
                              S()("Nr")("materiału").calkowite(lo[3], hi[3])},
                             prawa_);
  const auto kw = kolumny<3>({5, 100, 200}, {S()("Węzeł").calkowite(1, m.nn), S()("Wsp. X")("%8.3f", x[0]),
                                             S()("Y")("%8.3f", x[1])},
                             prawa_);
  const auto km = kolumny<4>({5, 100, 200, 300},
                             {S()("Nr materiału").calkowite(1, m.nm), S()("Moduł")("Younga")("%8.0f", ez),
                              S()("Wsp. Poissona")("%f", pois), S()("Napręż. graniczne")("%4.1f", sprz)},
                             prawa_);
  const auto kp = kolumny<2>(
      {5, 100}, {S()("Nr węzła").dof(m.nn), S()("Przemieszczenie max.")("%8.3f", u)}, prawa_);
  const auto ks = kolumny<2>({5, 100}, {S()("Nr węzła").dof(m.nn), S()("Siła")("%8.3f", si)}, prawa_);
  const int kreska = std::max(410, prawa_);

  pisz(dc, ke[0], 5, "Element");
  pisz(dc, ke[1], 5, "Węzeł 1");
  pisz(dc, ke[2], 5, "Węzeł 2");
  pisz(dc, ke[3], 5, "Węzeł 3");
  pisz(dc, ke[4], 5, "Nr");
  pisz(dc, ke[4], 25, "materiału");
  pisz(dc, kw[0], y_wez + 55, "Węzeł");
  pisz(dc, kw[1], y_wez + 55, "Wsp. X");
  pisz(dc, kw[2], y_wez + 55, "Y");
  pisz(dc, km[0], y_mat + 125, "Nr materiału");
  pisz(dc, km[1], y_mat + 125, "Moduł");
  pisz(dc, km[1], y_mat + 140, "Younga");
  pisz(dc, km[2], y_mat + 125, "Wsp. Poissona");
  pisz(dc, km[3], y_mat + 125, "Napręż. graniczne");
  pisz(dc, kp[0], y_podp + 205, "Nr węzła");
  pisz(dc, kp[1], y_podp + 205, "Przemieszczenie max.");
  pisz(dc, ks[0], y_sil + 245, "Nr węzła");
  pisz(dc, ks[1], y_sil + 245, "Siła");

  dc.Pioro(kCzarny, 3, StylPiora::Ciagly);
  linia(dc, kreska, 44);
  linia(dc, kreska, y_wez + 73);
  linia(dc, kreska, y_mat + 160);
  linia(dc, kreska, y_podp + 225);
  linia(dc, kreska, y_sil + 265);

  for (int i = 1; i <= m.ne; ++i) {
    const long long y = 20LL * i + 30;
    pisz(dc, ke[0], y, "%d", i);
    pisz(dc, ke[1], y, "%d", m.noc[i][1]);
    pisz(dc, ke[2], y, "%d", m.noc[i][2]);
    pisz(dc, ke[3], y, "%d", m.noc[i][3]);
    pisz(dc, ke[4], y, "%d", m.mat[i]);
  }
  for (int i = 1; i <= m.nn; ++i) {
    const long long y = y_wez + 20LL * i + 75;
    pisz(dc, kw[0], y, "%d", i);
    pisz(dc, kw[1], y, "%8.3f", static_cast<double>(m.x[i][1]));
    pisz(dc, kw[2], y, "%8.3f", static_cast<double>(m.x[i][2]));
  }
  // One row per modulus interval; the material number and Poisson's ratio
  // are repeated on every row of the material.
  long long k = 0;
  for (int mm = 1; mm <= m.nm && m.Prz.istnieje(); ++mm) {
    const int przedzialy = std::clamp<int>(m.Prz[mm], 0, static_cast<int>(m.Ez.ch()));
    for (int j = 1; j <= przedzialy; ++j) {
      const long long y = y_mat + 165 + 20 * k;
      pisz(dc, km[0], y, "%d", mm);
      pisz(dc, km[1], y, "%8.0f", static_cast<double>(m.Ez[mm][j]));
      pisz(dc, km[2], y, "%f", static_cast<double>(m.pm[mm][2]));
      pisz(dc, km[3], y, "%4.1f", static_cast<double>(m.Sprz[mm][j]));
      ++k;
    }
  }
  for (int j = 1; j <= m.nd; ++j) {
    const long long y = y_podp + 20LL * j + 215;
    etykieta_dof(dc, kp[0], y, m.nu[j]);
    pisz(dc, kp[1], y, "%8.3f", static_cast<double>(m.u[j]));
  }
  long long c = 0;
  for (int i = 1; i <= m.nq; ++i) {
    if (m.si[i] == 0.0f) continue;
    ++c;
    const long long y = y_sil + 20 * c + 255;
    etykieta_dof(dc, ks[0], y, i);
    pisz(dc, ks[1], y, "%8.3f", static_cast<double>(m.si[i]));
  }
}

// --- results table ---------------------------------------------------------------------------

int _WYNIKI_::ZakresX() const { return std::max(50, jednostki(prawa_ + kOdstep)); }
int _WYNIKI_::ZakresY() const { return jednostki(wysokosc_wynikow(O.M)); }

bool _WYNIKI_::CanClose() {
  O.iw = 0;
  return true;
}

void _WYNIKI_::Paint(Canvas& dc) {
  const Model& m = O.M;
  if (m.Pusty == 1) {
    // Said once per window: a message box shown from every repaint would
    // bring up the next one as soon as it is dismissed.
    if (!zgloszono_) {
      zgloszono_ = true;
      O.P.MessageBox("PUSTY jest 1 !", "Błąd wejścia do klasy WYNIKI", Ikona::Pytanie, Przyciski::TakNie);
    }
    return;
  }
  czcionka_tabeli(dc);
  const long long ne = m.ne, nn = m.nn;
  const long long y_wez = 20 * ne, y_podp = 20 * (ne + nn);

  // Columns wide enough for their headers and values.
  Skrajne napr[4], f[2], r;
  for (int i = 1; i <= m.ne; ++i)
    for (int k = 0; k < 4; ++k) napr[k].dodaj(m.napr[i][k + 1]);
  for (int i = 1; i <= m.nn; ++i)
    for (int k = 0; k < 2; ++k) f[k].dodaj(m.f[2 * i - 1 + k]);
  for (int j = 1; j <= m.nd; ++j) r.dodaj(m.react[j]);
  static const char* const drugie[4] = {"X", "Y", "styczne", "wg Hubera"};
  const auto S = [&dc] { return Szerokosc(dc); };
  const auto N = [&](int k) { return static_cast<int>(S()("Naprężenie")(drugie[k])("%8.2f", napr[k])); };
  prawa_ = 0;
  const auto ke = kolumny<5>({5, 100, 180, 260, 340}, {S()("Element").calkowite(1, m.ne), N(0), N(1), N(2), N(3)},
                             prawa_);
  const auto kw = kolumny<3>({5, 100, 250},
                             {S()("Węzeł").calkowite(1, m.nn), S()("Przemieszczenie X")("%2.15f", f[0]),
                              S()("Przemieszczenie Y")("%2.15f", f[1])},
                             prawa_);
  const auto kp = kolumny<2>(
      {5, 120}, {S()("Podpora w węźle").dof(m.nn), S()("Reakcja podpory")("%2.15f", r)}, prawa_);
  const int kreska = std::max(450, prawa_);

  pisz(dc, ke[0], 5, "Element");
  for (int k = 0; k < 4; ++k) {
    pisz(dc, ke[k + 1], 5, "Naprężenie");
    pisz(dc, ke[k + 1], 20, "%s", drugie[k]);
  }
  pisz(dc, kw[0], y_wez + 90, "Węzeł");
  pisz(dc, kw[1], y_wez + 90, "Przemieszczenie X");
  pisz(dc, kw[2], y_wez + 90, "Przemieszczenie Y");
  pisz(dc, kp[0], y_podp + 160, "Podpora w węźle");
  pisz(dc, kp[1], y_podp + 160, "Reakcja podpory");

  dc.Pioro(kCzarny, 3, StylPiora::Ciagly);
  linia(dc, kreska, 48);
  linia(dc, kreska, y_wez + 108);
  linia(dc, kreska, y_podp + 178);

  for (int i = 1; i <= m.ne; ++i) {
    const long long y = 20LL * i + 40;
    pisz(dc, ke[0], y, "%d", i);
    for (int k = 0; k < 4; ++k) pisz(dc, ke[k + 1], y, "%8.2f", static_cast<double>(m.napr[i][k + 1]));
  }
  for (int i = 1; i <= m.nn; ++i) {
    const long long y = y_wez + 20LL * i + 110;
    pisz(dc, kw[0], y, "%d", i);
    pisz(dc, kw[1], y, "%2.15f", static_cast<double>(m.f[2 * i - 1]));
    pisz(dc, kw[2], y, "%2.15f", static_cast<double>(m.f[2 * i]));
  }
  for (int j = 1; j <= m.nd; ++j) {
    const long long y = y_podp + 20LL * j + 175;
    etykieta_dof(dc, kp[0], y, m.nu[j]);
    pisz(dc, kp[1], y, "%2.15f", static_cast<double>(m.react[j]));
  }
}

// --- commands and the windows' lifecycle -------------------------------------------------------

void _OKNO_::Cm_Dane() {
  if (M.Pusty != 0) return;
  id = 1;
  dd = P.PokazOkno(std::make_unique<_DANE_>(*this));
  std::erase_if(okna_danych, [this](int u) { return !P.OknoOtwarte(u); });
  okna_danych.push_back(dd);
}

void _OKNO_::Cm_Wyniki() {
  if (M.Pusty != 0 || M.obliczono != 1) return;
  iw = 1;
  oo = P.PokazOkno(std::make_unique<_WYNIKI_>(*this));
  std::erase_if(okna_wynikow, [this](int u) { return !P.OknoOtwarte(u); });
  okna_wynikow.push_back(oo);
}

// The windows named by oo and dd go first, as the flags say; then every
// other table window still open.  A command may be called several times, and
// each call opens one more window while the member keeps only the newest, so
// older windows are remembered too: a model change closes all of them rather
// than leaving one that shows a model that no longer exists.  Handles of
// windows already closed are ignored by the platform.
void _OKNO_::ZamknijTabele() {
  ZamknijWyniki();
  if (id == 1) P.ZniszczOkno(dd);
  for (int u : okna_danych) P.ZniszczOkno(u);
  okna_danych.clear();
}

void _OKNO_::ZamknijWyniki() {
  if (iw == 1) P.ZniszczOkno(oo);
  for (int u : okna_wynikow) P.ZniszczOkno(u);
  okna_wynikow.clear();
}
