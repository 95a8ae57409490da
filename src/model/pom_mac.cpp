#include "model/pom_mac.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>

namespace pom_mac {

namespace {

// Number of elements of one dimension lo..hi, or -1 when the range is not
// allocatable (hi < lo - 1, or absurdly large).
long long liczba(long lo, long hi) {
  long long n = static_cast<long long>(hi) - static_cast<long long>(lo) + 1;
  if (n < 0) return -1;
  return n;
}

// calloc of `n` elements of `size` bytes with overflow checking; new
// elements start as zero bits so that nothing ever reads indeterminate
// memory, whatever a caller forgets to fill.
void* przydziel(long long n, std::size_t size) {
  if (n < 0) return nullptr;
  const auto max = static_cast<unsigned long long>(std::numeric_limits<std::ptrdiff_t>::max());
  if (static_cast<unsigned long long>(n) > max / size) return nullptr;
  return std::calloc(static_cast<std::size_t>(n), size);
}

template <class T>
T* wektor_t(long nl, long nh, const char* komunikat) {
  long long n = liczba(nl, nh);
  T* blok = n < 0 ? nullptr : static_cast<T*>(przydziel(n + 1, sizeof(T)));
  if (!blok) blad_alokacji(komunikat);
  // index nl is the block's second element
  return blok + 1 - nl;
}

template <class T>
void uwolnij_wektor_t(T* v, long nl) {
  if (v) std::free(v + nl - 1);
}

template <class T>
T** macierz_t(long nrl, long nrh, long ncl, long nch, const char* k1, const char* k2) {
  long long rows = liczba(nrl, nrh);
  long long cols = liczba(ncl, nch);
  if (rows < 0 || cols < 0) blad_alokacji(k1);
  // row table: a spare plus one handle per row (at least one, so that the
  // handle of row nrl always exists for the release)
  T** tab = static_cast<T**>(przydziel((rows > 0 ? rows : 1) + 1, sizeof(T*)));
  if (!tab) blad_alokacji(k1);
  if (cols > 0 && rows > std::numeric_limits<long long>::max() / cols) blad_alokacji(k2);
  T* dane = static_cast<T*>(przydziel(rows * cols + 1, sizeof(T)));
  if (!dane) blad_alokacji(k2);
  T** m = tab + 1 - nrl;
  m[nrl] = dane + 1 - ncl;
  for (long long i = 1; i < rows; ++i) m[nrl + i] = m[nrl + i - 1] + cols;
  return m;
}

template <class T>
void uwolnij_macierz_t(T** m, long nrl, long ncl) {
  if (!m) return;
  std::free(m[nrl] + ncl - 1);
  std::free(m + nrl - 1);
}

}  // namespace

float* wektor(long nl, long nh) { return wektor_t<float>(nl, nh, "błąd allokacji w vector()"); }
int* iwektor(long nl, long nh) { return wektor_t<int>(nl, nh, "błąd alokacji w ivector()"); }
unsigned char* cwektor(long nl, long nh) {
  return wektor_t<unsigned char>(nl, nh, "błąd alokacji w cvector()");
}
unsigned long* lwektor(long nl, long nh) {
  return wektor_t<unsigned long>(nl, nh, "błąd alokacji w lvektor()");
}
double* dwektor(long nl, long nh) { return wektor_t<double>(nl, nh, "błąd alokacjiw dvector()"); }

float** macierz(long nrl, long nrh, long ncl, long nch) {
  return macierz_t<float>(nrl, nrh, ncl, nch, "błąd alokacji 1 w macierz()",
                          "allocation failure 2 in matrix()");
}
int** imacierz(long nrl, long nrh, long ncl, long nch) {
  return macierz_t<int>(nrl, nrh, ncl, nch, "allocation failure 1 in matrix()",
                        "allocation failure 2 in matrix()");
}
double** dmacierz(long nrl, long nrh, long ncl, long nch) {
  return macierz_t<double>(nrl, nrh, ncl, nch, "allocation failure 1 in matrix()",
                           "allocation failure 2 in matrix()");
}

void uwolnij_wektor(float* v, long nl, long) { uwolnij_wektor_t(v, nl); }
void uwolnij_iwektor(int* v, long nl, long) { uwolnij_wektor_t(v, nl); }
void uwolnij_cwektor(unsigned char* v, long nl, long) { uwolnij_wektor_t(v, nl); }
void uwolnij_lwektor(unsigned long* v, long nl, long) { uwolnij_wektor_t(v, nl); }
void uwolnij_dwektor(double* v, long nl, long) { uwolnij_wektor_t(v, nl); }
void uwolnij_macierz(float** m, long nrl, long, long ncl, long) { uwolnij_macierz_t(m, nrl, ncl); }
void uwolnij_imacierz(int** m, long nrl, long, long ncl, long) { uwolnij_macierz_t(m, nrl, ncl); }
void uwolnij_dmacierz(double** m, long nrl, long, long ncl, long) { uwolnij_macierz_t(m, nrl, ncl); }

std::uint8_t* na_cp852(const char* utf8, std::uint8_t* out, int cap) {
  struct Znak { char32_t u; std::uint8_t c; };
  static const Znak tab[] = {
      {U'ą', 0xA5}, {U'ć', 0x86}, {U'ę', 0xA9}, {U'ł', 0x88}, {U'ń', 0xE4}, {U'ó', 0xA2},
      {U'ś', 0x98}, {U'ź', 0xAB}, {U'ż', 0xBE}, {U'Ą', 0xA4}, {U'Ć', 0x8F}, {U'Ę', 0xA8},
      {U'Ł', 0x9D}, {U'Ń', 0xE3}, {U'Ó', 0xE0}, {U'Ś', 0x97}, {U'Ź', 0x8D}, {U'Ż', 0xBD}};
  const auto* s = reinterpret_cast<const unsigned char*>(utf8);
  int n = 0;
  while (*s && n + 1 < cap) {
    char32_t u = *s;
    int len = 1;
    if (u >= 0xF0) { u &= 0x07; len = 4; }
    else if (u >= 0xE0) { u &= 0x0F; len = 3; }
    else if (u >= 0xC0) { u &= 0x1F; len = 2; }
    for (int i = 1; i < len && s[i]; ++i) u = (u << 6) | (s[i] & 0x3F);
    for (int i = 0; i < len && *s; ++i) ++s;
    std::uint8_t c = '?';
    if (u < 0x80) c = static_cast<std::uint8_t>(u);
    else
      for (const auto& z : tab)
        if (z.u == u) c = z.c;
    out[n++] = c;
  }
  out[n] = 0;
  return out;
}

void blad_alokacji(const char* komunikat) {
  std::uint8_t bufor[256];
  auto linia = [&](const char* t) {
    na_cp852(t, bufor, sizeof bufor);
    std::fputs(reinterpret_cast<const char*>(bufor), stderr);
    std::fputc('\n', stderr);
  };
  linia("Wystąpił bład podczas działania programu ");
  linia(komunikat);
  linia("...powrót do systemu...");
  std::fflush(stderr);
  std::exit(1);
}

}  // namespace pom_mac
