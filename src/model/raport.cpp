// The results report: its text and its code page.
#include "model/raport.h"

#include <charconv>

int policz_sily(const Model& m) {
  int n = 0;
  for (int i = 1; i <= m.nq; ++i)
    if (m.si[i] != 0) ++n;
  return n;
}

std::string liczba_raportu(float v) {
  char bufor[64];
  auto [p, ec] = std::to_chars(bufor, bufor + sizeof bufor, static_cast<double>(v), std::chars_format::general, 6);
  if (ec != std::errc()) return "?";
  return std::string(bufor, p);
}

std::string tekst_raportu(const Model& m, const std::string& plik, int nl) {
  std::string t;
  t.reserve(static_cast<std::size_t>(m.nn) * 120 + static_cast<std::size_t>(m.ne) * 80 + 1024);
  auto linia = [&t](const std::string& s) {
    t += s;
    t += "\r\n";
  };
  auto g = liczba_raportu;
  auto n = [](long v) { return std::to_string(v); };
  linia("Wyniki obliczeń programu SKORBA N VELDO");
  linia("");
  linia("Plik :" + plik);
  linia("");
  linia("Liczba elementów               : " + n(m.ne));
  linia("Liczba węzłów                  : " + n(m.nn));
  linia("Liczba materiałów              : " + n(m.nm));
  linia("Liczba odjętych stopni swobody : " + n(m.nd));
  linia("Liczba sił obciążających       : " + n(nl));
  linia("Grubość tarczy                 : " + g(m.th));
  linia("");
  linia("Przemieszczenia węzłów");
  linia("");
  linia("węzeł\tx\t\ty");
  for (int k = 1; k <= m.nn; ++k) linia(n(k) + "\t" + g(m.f[2 * k - 1]) + "\t" + g(m.f[2 * k]));
  linia("");
  linia("Naprężenia w elementach");
  linia("");
  linia("węzeł\t\tx\t\ty\tstyczne\t\tHubera");
  for (int e = 1; e <= m.ne; ++e)
    linia(n(e) + "\t\t" + g(m.napr[e][1]) + "\t\t" + g(m.napr[e][2]) + "\t\t" + g(m.napr[e][3]) + "\t\t" +
          g(m.napr[e][4]));
  linia("");
  linia("Naprężenia w węzłach");
  linia("");
  linia("węzeł\tx\ty\tstyczne\tHubera");
  for (int k = 1; k <= m.nn; ++k)
    linia(n(k) + "\t" + g(m.ww[k][1]) + "\t" + g(m.ww[k][2]) + "\t" + g(m.ww[k][3]) + "\t" + g(m.ww[k][4]));
  linia("");
  linia("Reakcje w podporach");
  linia("");
  for (int j = 1; j <= m.nd; ++j) {
    // The node number goes through the real-number format, as it always did.
    const int dof = m.nu[j];
    if (dof % 2 == 1)
      linia(g(static_cast<float>((dof + 1) / 2)) + "X\t" + g(m.react[j]));
    else
      linia(g(static_cast<float>(dof / 2)) + "Y\t" + g(m.react[j]));
  }
  linia("");
  linia("");
  linia("Koniec pliku");
  return t;
}

namespace {

// Code page 1250, bytes 0x80..0xFF (0 where the byte is undefined).
constexpr char16_t kCp1250[128] = {
    0x20AC, 0,      0x201A, 0,      0x201E, 0x2026, 0x2020, 0x2021, 0,      0x2030, 0x0160, 0x2039, 0x015A,
    0x0164, 0x017D, 0x0179, 0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0,      0x2122,
    0x0161, 0x203A, 0x015B, 0x0165, 0x017E, 0x017A, 0x00A0, 0x02C7, 0x02D8, 0x0141, 0x00A4, 0x0104, 0x00A6,
    0x00A7, 0x00A8, 0x00A9, 0x015E, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x017B, 0x00B0, 0x00B1, 0x02DB, 0x0142,
    0x00B4, 0x00B5, 0x00B6, 0x00B7, 0x00B8, 0x0105, 0x015F, 0x00BB, 0x013D, 0x02DD, 0x013E, 0x017C, 0x0154,
    0x00C1, 0x00C2, 0x0102, 0x00C4, 0x0139, 0x0106, 0x00C7, 0x010C, 0x00C9, 0x0118, 0x00CB, 0x011A, 0x00CD,
    0x00CE, 0x010E, 0x0110, 0x0143, 0x0147, 0x00D3, 0x00D4, 0x0150, 0x00D6, 0x00D7, 0x0158, 0x016E, 0x00DA,
    0x0170, 0x00DC, 0x00DD, 0x0162, 0x00DF, 0x0155, 0x00E1, 0x00E2, 0x0103, 0x00E4, 0x013A, 0x0107, 0x00E7,
    0x010D, 0x00E9, 0x0119, 0x00EB, 0x011B, 0x00ED, 0x00EE, 0x010F, 0x0111, 0x0144, 0x0148, 0x00F3, 0x00F4,
    0x0151, 0x00F6, 0x00F7, 0x0159, 0x016F, 0x00FA, 0x0171, 0x00FC, 0x00FD, 0x0163, 0x02D9};

char bajt_cp1250(char32_t u) {
  if (u < 0x80) return static_cast<char>(u);
  for (int i = 0; i < 128; ++i)
    if (kCp1250[i] != 0 && kCp1250[i] == u) return static_cast<char>(0x80 + i);
  return '?';
}

}  // namespace

std::string na_cp1250(const std::string& utf8) {
  std::string out;
  out.reserve(utf8.size());
  const auto* s = reinterpret_cast<const unsigned char*>(utf8.data());
  const std::size_t n = utf8.size();
  std::size_t i = 0;
  while (i < n) {
    const unsigned char c = s[i];
    if (c < 0x80) {
      out += static_cast<char>(c);
      ++i;
      continue;
    }
    int len = c >= 0xF0 && c < 0xF8 ? 4 : c >= 0xE0 ? 3 : c >= 0xC2 && c < 0xE0 ? 2 : 0;
    if (c >= 0xF8) len = 0;
    char32_t u = len == 4 ? c & 0x07 : len == 3 ? c & 0x0F : c & 0x1F;
    bool ok = len > 0 && i + static_cast<std::size_t>(len) <= n;
    for (int k = 1; ok && k < len; ++k) {
      if ((s[i + k] & 0xC0) != 0x80) ok = false;
      else u = (u << 6) | (s[i + k] & 0x3F);
    }
    if (!ok) {  // not UTF-8: one '?' for the stray byte
      out += '?';
      ++i;
      continue;
    }
    out += bajt_cp1250(u);
    i += static_cast<std::size_t>(len);
  }
  return out;
}
