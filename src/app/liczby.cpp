#include "app/liczby.h"

#include <charconv>
#include <climits>
#include <cmath>
#include <cstring>
#include <string>

namespace {
bool cyfra(char c) { return c >= '0' && c <= '9'; }
bool bialy(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v'; }
}  // namespace

int atoi_pola(const char* s) {
  if (!s) return 0;
  while (bialy(*s)) ++s;
  bool minus = false;
  if (*s == '+' || *s == '-') minus = *s++ == '-';
  long long v = 0;
  for (; cyfra(*s); ++s) {
    v = v * 10 + (*s - '0');
    if (v > static_cast<long long>(INT_MAX) + 1) v = static_cast<long long>(INT_MAX) + 1;
  }
  if (minus) v = -v;
  if (v > INT_MAX) v = INT_MAX;
  if (v < INT_MIN) v = INT_MIN;
  return static_cast<int>(v);
}

double atof_pola(const char* s) {
  if (!s) return 0.0;
  while (bialy(*s)) ++s;
  const char* p = s;
  bool minus = false;
  if (*p == '+' || *p == '-') minus = *p++ == '-';
  const char* poczatek = p;
  int cyfr = 0;
  while (cyfra(*p)) ++p, ++cyfr;
  // Under a Polish locale people type a decimal comma ("0,25"): the comma
  // is read as the point.
  if (*p == '.' || *p == ',') {
    ++p;
    while (cyfra(*p)) ++p, ++cyfr;
  }
  if (cyfr == 0) return 0.0;
  if (*p == 'e' || *p == 'E') {
    const char* w = p + 1;
    if (*w == '+' || *w == '-') ++w;
    if (cyfra(*w)) {
      while (cyfra(*w)) ++w;
      p = w;
    }
  }
  std::string liczba(poczatek, p);
  for (char& c : liczba)
    if (c == ',') c = '.';
  double v = 0.0;
  const auto wynik = std::from_chars(liczba.data(), liczba.data() + liczba.size(), v, std::chars_format::general);
  if (wynik.ec != std::errc()) return 0.0;
  if (!std::isfinite(v) || !std::isfinite(static_cast<float>(v))) return 0.0;
  return minus ? -v : v;
}
