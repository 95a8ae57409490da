// The data and results tables, and the commands that open them.
#include "view/tabele.h"

#include <algorithm>
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

int _DANE_::ZakresX() const { return 45; }
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

  pisz(dc, 5, 5, "Element");
  pisz(dc, 100, 5, "Węzeł 1");
  pisz(dc, 190, 5, "Węzeł 2");
  pisz(dc, 270, 5, "Węzeł 3");
  pisz(dc, 350, 5, "Nr");
  pisz(dc, 350, 25, "materiału");
  pisz(dc, 5, y_wez + 55, "Węzeł");
  pisz(dc, 100, y_wez + 55, "Wsp. X");
  pisz(dc, 200, y_wez + 55, "Y");
  pisz(dc, 5, y_mat + 125, "Nr materiału");
  pisz(dc, 100, y_mat + 125, "Moduł");
  pisz(dc, 100, y_mat + 140, "Younga");
  pisz(dc, 200, y_mat + 125, "Wsp. Poissona");
  pisz(dc, 300, y_mat + 125, "Napręż. graniczne");
  pisz(dc, 5, y_podp + 205, "Nr węzła");
  pisz(dc, 100, y_podp + 205, "Przemieszczenie max.");
  pisz(dc, 5, y_sil + 245, "Nr węzła");
  pisz(dc, 100, y_sil + 245, "Siła");

  dc.Pioro(kCzarny, 3, StylPiora::Ciagly);
  linia(dc, 410, 44);
  linia(dc, 410, y_wez + 73);
  linia(dc, 410, y_mat + 160);
  linia(dc, 410, y_podp + 225);
  linia(dc, 410, y_sil + 265);

  for (int i = 1; i <= m.ne; ++i) {
    const long long y = 20LL * i + 30;
    pisz(dc, 5, y, "%d", i);
    pisz(dc, 100, y, "%d", m.noc[i][1]);
    pisz(dc, 190, y, "%d", m.noc[i][2]);
    pisz(dc, 270, y, "%d", m.noc[i][3]);
    pisz(dc, 350, y, "%d", m.mat[i]);
  }
  for (int i = 1; i <= m.nn; ++i) {
    const long long y = y_wez + 20LL * i + 75;
    pisz(dc, 5, y, "%d", i);
    pisz(dc, 100, y, "%8.3f", static_cast<double>(m.x[i][1]));
    pisz(dc, 200, y, "%8.3f", static_cast<double>(m.x[i][2]));
  }
  // One row per modulus interval; the material number and Poisson's ratio
  // are repeated on every row of the material.
  long long k = 0;
  for (int mm = 1; mm <= m.nm && m.Prz.istnieje(); ++mm) {
    const int przedzialy = std::clamp<int>(m.Prz[mm], 0, static_cast<int>(m.Ez.ch()));
    for (int j = 1; j <= przedzialy; ++j) {
      const long long y = y_mat + 165 + 20 * k;
      pisz(dc, 5, y, "%d", mm);
      pisz(dc, 100, y, "%8.0f", static_cast<double>(m.Ez[mm][j]));
      pisz(dc, 200, y, "%f", static_cast<double>(m.pm[mm][2]));
      pisz(dc, 300, y, "%4.1f", static_cast<double>(m.Sprz[mm][j]));
      ++k;
    }
  }
  for (int j = 1; j <= m.nd; ++j) {
    const long long y = y_podp + 20LL * j + 215;
    etykieta_dof(dc, 5, y, m.nu[j]);
    pisz(dc, 100, y, "%8.3f", static_cast<double>(m.u[j]));
  }
  long long c = 0;
  for (int i = 1; i <= m.nq; ++i) {
    if (m.si[i] == 0.0f) continue;
    ++c;
    const long long y = y_sil + 20 * c + 255;
    etykieta_dof(dc, 5, y, i);
    pisz(dc, 100, y, "%8.3f", static_cast<double>(m.si[i]));
  }
}

// --- results table ---------------------------------------------------------------------------

int _WYNIKI_::ZakresX() const { return 50; }
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

  pisz(dc, 5, 5, "Element");
  static const int kolumny[4] = {100, 180, 260, 340};
  static const char* const drugie[4] = {"X", "Y", "styczne", "wg Hubera"};
  for (int k = 0; k < 4; ++k) {
    pisz(dc, kolumny[k], 5, "Naprężenie");
    pisz(dc, kolumny[k], 20, "%s", drugie[k]);
  }
  pisz(dc, 5, y_wez + 90, "Węzeł");
  pisz(dc, 100, y_wez + 90, "Przemieszczenie X");
  pisz(dc, 250, y_wez + 90, "Przemieszczenie Y");
  pisz(dc, 5, y_podp + 160, "Podpora w węźle");
  pisz(dc, 120, y_podp + 160, "Reakcja podpory");

  dc.Pioro(kCzarny, 3, StylPiora::Ciagly);
  linia(dc, 450, 48);
  linia(dc, 450, y_wez + 108);
  linia(dc, 450, y_podp + 178);

  for (int i = 1; i <= m.ne; ++i) {
    const long long y = 20LL * i + 40;
    pisz(dc, 5, y, "%d", i);
    for (int k = 0; k < 4; ++k) pisz(dc, kolumny[k], y, "%8.2f", static_cast<double>(m.napr[i][k + 1]));
  }
  for (int i = 1; i <= m.nn; ++i) {
    const long long y = y_wez + 20LL * i + 110;
    pisz(dc, 5, y, "%d", i);
    pisz(dc, 100, y, "%2.15f", static_cast<double>(m.f[2 * i - 1]));
    pisz(dc, 250, y, "%2.15f", static_cast<double>(m.f[2 * i]));
  }
  for (int j = 1; j <= m.nd; ++j) {
    const long long y = y_podp + 20LL * j + 175;
    etykieta_dof(dc, 5, y, m.nu[j]);
    pisz(dc, 120, y, "%2.15f", static_cast<double>(m.react[j]));
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
