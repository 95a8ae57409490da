#include "analysis/silnik.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

#include "analysis/obl0.h"

namespace {

// Whether a double survives rounding to the float in which results are
// stored: it must be finite, and stay so once rounded (a finite double
// beyond float's range becomes infinite).
bool skonczona(double v) { return std::isfinite(v) && std::isfinite(static_cast<float>(v)); }

// Asks the kernel to back a large fresh array with 2 MB pages where it can:
// the first touch of the band then costs a few hundred faults instead of a
// quarter of a million, and the elimination fewer TLB misses.  Only the
// whole 2 MB pages inside the block are marked; a refusal changes nothing.
void duze_strony(void* p, std::size_t bajty) {
#if defined(MADV_HUGEPAGE)
  constexpr std::uintptr_t k2MB = std::uintptr_t{1} << 21;
  const std::uintptr_t a = (reinterpret_cast<std::uintptr_t>(p) + k2MB - 1) & ~(k2MB - 1);
  const std::uintptr_t b = (reinterpret_cast<std::uintptr_t>(p) + bajty) & ~(k2MB - 1);
  if (b > a) madvise(reinterpret_cast<void*>(a), b - a, MADV_HUGEPAGE);
#else
  (void)p;
  (void)bajty;
#endif
}

}  // namespace

void PracaAnalizy::przydziel(const Model& m) {
  s.przydziel(1, m.nq, 1, m.nbw);
  if (m.nq > 0 && m.nbw > 0)
    duze_strony(&s[1][1], sizeof(double) * static_cast<std::size_t>(m.nq) * static_cast<std::size_t>(m.nbw));
  fd.przydziel(1, m.nq);
  EE.przydziel(1, m.ne);
}

void PracaAnalizy::przydziel_bez_pasma(const Model& m) {
  s.zwolnij();
  fd.przydziel(1, m.nq);
  EE.przydziel(1, m.ne);
}

void PracaAnalizy::zwolnij() {
  rzadki.reset();
  s.zwolnij();
  fd.zwolnij();
  EE.zwolnij();
}

int szerokosc_pasma(const Model& m) {
  int nbw = 0;
  for (int e = 1; e <= m.ne; ++e) {
    const int a = m.noc[e][1], b = m.noc[e][2], c = m.noc[e][3];
    const int w = 2 * (std::max({a, b, c}) - std::min({a, b, c}) + 1);
    nbw = std::max(nbw, w);
  }
  return nbw;
}

void Szt_el(Model& m, PracaAnalizy& w, int n) {
  const int mt = m.mat[n];
  const double E = w.EE[n];
  const double nu = m.pm[mt][2];
  if (nu >= 0.5) {
    m.blad = 10;
    m.blad1 = mt;
  }
  const double c1 = E / (1 - nu * nu);
  const double c2 = c1 * nu;
  const double c3 = 0.5 * E / (1 + nu);
  auto& d = w.d;
  d[1][1] = c1, d[1][2] = c2, d[1][3] = 0;
  d[2][1] = c2, d[2][2] = c1, d[2][3] = 0;
  d[3][1] = 0, d[3][2] = 0, d[3][3] = c3;

  const int k1 = m.noc[n][1], k2 = m.noc[n][2], k3 = m.noc[n][3];
  const double x1 = m.x[k1][1], y1 = m.x[k1][2];
  const double x2 = m.x[k2][1], y2 = m.x[k2][2];
  const double x3 = m.x[k3][1], y3 = m.x[k3][2];
  const double x21 = x2 - x1, x32 = x3 - x2, x13 = x1 - x3;
  const double y12 = y1 - y2, y23 = y2 - y3, y31 = y3 - y1;
  const double dj = x13 * y23 - x32 * y31;
  w.dj = dj;
  if (dj == 0) {
    // The Poisson's ratio of this element, checked first, keeps its code.
    if (m.blad == 0) {
      m.blad = 2;
      m.blad1 = n;
    }
    return;
  }
  auto& b = w.b;
  b[1][1] = y23 / dj, b[1][2] = 0, b[1][3] = y31 / dj, b[1][4] = 0, b[1][5] = y12 / dj, b[1][6] = 0;
  b[2][1] = 0, b[2][2] = x32 / dj, b[2][3] = 0, b[2][4] = x13 / dj, b[2][5] = 0, b[2][6] = x21 / dj;
  b[3][1] = x32 / dj, b[3][2] = y23 / dj, b[3][3] = x13 / dj, b[3][4] = y31 / dj, b[3][5] = x21 / dj,
  b[3][6] = y12 / dj;
  for (int i = 1; i <= 3; ++i)
    for (int j = 1; j <= 6; ++j) {
      double t = 0;
      for (int k = 1; k <= 3; ++k) t += d[i][k] * b[k][j];
      w.db[i][j] = t;
    }
}

bool sztywnosc_elementu(Model& m, PracaAnalizy& w, int n) {
  Szt_el(m, w, n);
  if (m.blad != 0) return false;
  const double a = 0.5 * std::fabs(w.dj);
  const double th = m.th;
  for (int i = 1; i <= 6; ++i)
    for (int j = 1; j <= 6; ++j) {
      double t = 0;
      for (int k = 1; k <= 3; ++k) t += a * w.b[k][i] * w.db[k][j] * th;
      w.se[i][j] = t;
    }
  return true;
}

void Przemieszcz(Model& m, PracaAnalizy& w) {
  if (w.rzadki) {
    w.rzadki->montuj(m, w);
    return;
  }
  const int nq = m.nq, nbw = m.nbw;
  if (nq > 0 && nbw > 0)
    std::memset(&w.s[1][1], 0, sizeof(double) * static_cast<std::size_t>(nq) * static_cast<std::size_t>(nbw));
  for (int e = 1; e <= m.ne; ++e) {
    if (!sztywnosc_elementu(m, w, e)) break;
    for (int p = 1; p <= 3; ++p)
      for (int t = 1; t <= 2; ++t) {
        const int nr = 2 * (m.noc[e][p] - 1) + t;
        const int i = 2 * (p - 1) + t;
        auto wiersz = w.s[nr];
        for (int p2 = 1; p2 <= 3; ++p2)
          for (int t2 = 1; t2 <= 2; ++t2) {
            const int j = 2 * (p2 - 1) + t2;
            const int nc = 2 * (m.noc[e][p2] - 1) + t2 - nr + 1;
            if (nc > 0) wiersz[nc] += w.se[i][j];
          }
      }
  }
  // The penalty constant is fixed once for the life of the program.
  if (m.cnst == 0) m.cnst = 1.0e12f;
  if (m.blad != 0) return;
  const double cnst = m.cnst;
  for (int j = 1; j <= m.nd; ++j) {
    const int k = m.nu[j];
    w.s[k][1] += cnst;
    w.fd[k] += cnst * static_cast<double>(m.u[j]);
  }
}

void rozwiaz_uklad(Model& m, PracaAnalizy& w) {
  if (w.rzadki) {
    // The sparse factorisation is not stopped on the way: a request to stop
    // ends the analysis after this step.
    w.rzadki->rozwiaz(m, w);
  } else {
    UstawieniaObl0 u = ustawienia_obl0();
    u.przerwij = w.przerwij;
    if (!Obl0_z(w.s.dane(), w.fd.dane(), m.nq, m.nbw, m.blad, m.blad1, u)) {
      w.przerwany = true;
      return;
    }
  }
  if (m.blad != 0) return;
  // A singular system that escaped the exact zero-pivot test (a modulus or
  // Poisson's ratio that makes the elasticity matrix infinite, a secant
  // modulus divided by zero) shows up as a solution that is not a number or
  // does not fit a float; it is refused like a zero pivot.
  for (int i = 1; i <= m.nq; ++i) {
    const float v = static_cast<float>(w.fd[i]);
    if (!std::isfinite(v)) {
      m.blad = 1;
      m.blad1 = i;
      return;
    }
  }
  for (int i = 1; i <= m.nq; ++i) m.f[i] = static_cast<float>(w.fd[i]);
}

double huber(double sx, double sy, double txy) {
  return std::sqrt(std::fabs(sx * sx + sy * sy - sx * sy + 3 * txy * txy));
}

void Naprezenia(Model& m, PracaAnalizy& w) {
  if (m.blad != 0) return;
  for (int e = 1; e <= m.ne; ++e) {
    Szt_el(m, w, e);
    for (int p = 1; p <= 3; ++p) {
      const int k = m.noc[e][p];
      w.q[2 * p - 1] = w.fd[2 * k - 1];
      w.q[2 * p] = w.fd[2 * k];
    }
    for (int i = 1; i <= 3; ++i) {
      double t = 0;
      for (int j = 1; j <= 6; ++j) t += w.db[i][j] * w.q[j];
      w.str[i] = t;
    }
    // Huge displacements or a tiny element overflow the stresses; the Huber
    // value of finite stresses near float's limit overflows on its own.
    auto ne = m.napr[e];
    bool dobre = skonczona(w.str[1]) && skonczona(w.str[2]) && skonczona(w.str[3]);
    if (dobre) {
      ne[1] = static_cast<float>(w.str[1]);
      ne[2] = static_cast<float>(w.str[2]);
      ne[3] = static_cast<float>(w.str[3]);
      const double h = huber(ne[1], ne[2], ne[3]);
      dobre = skonczona(h);
      if (dobre) ne[4] = static_cast<float>(h);
    }
    if (!dobre) {
      m.blad = kBladNieskonczony;
      m.blad1 = e;
      return;
    }
  }
}

float modul_sieczny(const Model& m, int mt, float sigma, float stary, int& zc) {
  const int P = m.Prz[mt];
  auto Ez = m.Ez[mt];
  auto Sprz = m.Sprz[mt];
  float E = stary;
  // The strain of the curve at sigma, accumulated piece by piece; it starts
  // from nothing for every element.
  float epsa = 0.0f;
  if (sigma >= Sprz[1]) {
    epsa = Sprz[1] / Ez[1];
    zc = 1;
  } else {
    E = Ez[1];
  }
  for (int j = 2; j <= P; ++j) {
    if (!(sigma > Sprz[j - 1])) continue;
    if (sigma >= Sprz[j] && j < P)
      epsa += (Sprz[j] - Sprz[j - 1]) / Ez[j];
    else
      epsa += (sigma - Sprz[j - 1]) / Ez[j];
    E = sigma / epsa;
  }
  return E;
}

void Sieczne(Model& m, PracaAnalizy& w, int& zc) {
  for (int e = 1; e <= m.ne; ++e) {
    w.EE[e] = modul_sieczny(m, m.mat[e], m.napr[e][4], w.EE[e], zc);
    // The float strain of the curve can vanish (or overflow) at extreme
    // stresses and moduli; the next step would assemble an infinite stiffness.
    if (!std::isfinite(w.EE[e])) {
      m.blad = kBladNieskonczony;
      m.blad1 = e;
      return;
    }
  }
}

void Reakcje(Model& m, const PracaAnalizy& w) {
  const double cnst = m.cnst;
  for (int j = 1; j <= m.nd; ++j) {
    const double r = (static_cast<double>(m.u[j]) - w.fd[m.nu[j]]) * cnst;
    if (!skonczona(r)) {
      m.blad = kBladNieskonczony;
      m.blad1 = j;
      return;
    }
    m.react[j] = static_cast<float>(r);
  }
}

namespace {

// The nodal-value system of component c in the band w.s, solved by Obl0:
// the solution goes into f[1..nn].
void wezlowe_pasmem(Model& m, PracaAnalizy& w, int c, double* f) {
  const int nn = m.nn, nq = m.nq, nbw = m.nbw;
  // The system has one row per node; the rows beyond nn are never read.
  for (int i = 1; i <= nq; ++i) f[i] = 0;
  std::memset(&w.s[1][1], 0, sizeof(double) * static_cast<std::size_t>(nn) * static_cast<std::size_t>(nbw));
  for (int e = 1; e <= m.ne; ++e) {
    int k[4];
    for (int p = 1; p <= 3; ++p) k[p] = m.noc[e][p];
    const double dj = podwojne_pole(m, k);
    const double a1 = std::fabs(dj) / 24;
    const double ae = std::fabs(dj) * static_cast<double>(m.napr[e][c]) / 6;
    for (int p = 1; p <= 3; ++p) {
      const int nr = k[p];
      f[nr] += ae;
      auto wiersz = w.s[nr];
      for (int p2 = 1; p2 <= 3; ++p2) {
        const int nc = k[p2] - nr + 1;
        if (nc > 0) wiersz[nc] += a1 * (p == p2 ? 2 : 1);
      }
    }
  }
  // A node of no element would stop the solver; it gets the value 0.
  for (int i = 1; i <= nn; ++i)
    if (w.s[i][1] == 0) w.s[i][1] = 1e-38;
  // Nodes, not degrees of freedom, number this system: its band is half
  // of nbw.  The columns beyond it stay +0 throughout, so eliminating
  // over them would change no bit of the result, only cost time.
  Obl0(w.s.dane(), f, nn, nbw / 2, m.blad, m.blad1);
}

}  // namespace

void Wart_wez(Model& m, PracaAnalizy& w) {
  if (m.blad != 0) return;
  const int nn = m.nn;
  double* f = w.fd.dane();
  for (int c = 1; c <= 3; ++c) {
    if (w.rzadki)
      w.rzadki->wartosci_wezlowe(m, c, f);
    else
      wezlowe_pasmem(m, w, c, f);
    if (m.blad != 0) return;
    for (int i = 1; i <= nn; ++i) {
      if (!skonczona(f[i])) {
        m.blad = kBladNieskonczony;
        m.blad1 = i;
        return;
      }
      m.ww[i][c] = static_cast<float>(f[i]);
    }
  }
  for (int i = 1; i <= nn; ++i) {
    auto wi = m.ww[i];
    const double h = huber(wi[1], wi[2], wi[3]);
    if (!skonczona(h)) {
      m.blad = kBladNieskonczony;
      m.blad1 = i;
      return;
    }
    wi[4] = static_cast<float>(h);
  }
}

bool materialy_kompletne(const Model& m, int& blad1) {
  for (int e = 1; e <= m.ne; ++e) {
    const int mt = m.mat[e];
    if (!m.Prz.istnieje() || !m.Ez.istnieje() || !m.Sprz.istnieje() || m.Prz[mt] < 1 ||
        m.Prz[mt] > m.Ez.ch() || m.Prz[mt] > m.Sprz.ch()) {
      blad1 = mt;
      return false;
    }
  }
  return true;
}

std::string blad_danych(const Model& m, int& blad1) {
  blad1 = 0;
  if (!(m.th > 0)) return "Grubość musi mieć wartość dodatnią";
  std::vector<char> uzyty(static_cast<std::size_t>(m.nm) + 1, 0);
  for (int e = 1; e <= m.ne; ++e) uzyty[static_cast<std::size_t>(m.mat[e])] = 1;
  for (int mt = 1; mt <= m.nm; ++mt) {
    if (!uzyty[static_cast<std::size_t>(mt)]) continue;
    blad1 = mt;
    const std::string nazwa = "Materiał " + std::to_string(mt) + ": ";
    const auto przedzial = [](int j) { return " w przedziale " + std::to_string(j); };
    // -1 makes the shear modulus E / (2 (1 + nu)) infinite; below it, and
    // with a modulus of 0 or less, the stiffness loses its sign.
    if (!(m.pm[mt][2] > -1.0f)) return nazwa + "współczynnik Poissona musi być większy od -1";
    const int P = m.Prz[mt];
    for (int j = 1; j <= P; ++j)
      if (!(m.Ez[mt][j] > 0)) return nazwa + "moduł Younga" + przedzial(j) + " musi być większy od zera";
    // A first limit of 0 or less counts every element as plastic from the
    // start; a limit that does not rise makes a piece of the curve run
    // backwards and the secant modulus negative or infinite.
    if (!(m.Sprz[mt][1] > 0)) return nazwa + "naprężenie graniczne" + przedzial(1) + " musi być większe od zera";
    for (int j = 2; j < P; ++j)
      if (!(m.Sprz[mt][j] > m.Sprz[mt][j - 1]))
        return nazwa + "naprężenie graniczne" + przedzial(j) + " musi być większe niż" + przedzial(j - 1);
  }
  blad1 = 0;
  return "";
}

namespace {

// Whether the work arrays of an analysis fit in the machine's memory at all.
// Beyond it the allocation would either end the program or, with memory
// overcommitted, let it be killed half way through the solution.
bool miesci_sie(const Model& m) {
  const double bajty = (static_cast<double>(m.nq) * m.nbw + 2.0 * m.nq + m.ne) * sizeof(double);
  const long strony = sysconf(_SC_PHYS_PAGES), rozmiar = sysconf(_SC_PAGE_SIZE);
  if (strony <= 0 || rozmiar <= 0) return true;
  return bajty < static_cast<double>(strony) * static_cast<double>(rozmiar);
}

}  // namespace

void start_analizy(Model& m, PracaAnalizy& w, Iteracja& it, MetodaRozwiazania metoda) {
  m.nbw = szerokosc_pasma(m);
  m.blad = 0;
  m.blad1 = 0;
  it.krok = 1;
  it.ikr = 0;
  it.zc = 0;
  it.normaa = it.normaf = it.dumax = 0.0;
  const bool pasmo_miesci_sie = miesci_sie(m);
  if (wybierz_metode(metoda, m.nq, m.nbw, pasmo_miesci_sie) == MetodaRozwiazania::Rzadka) {
    w.przydziel_bez_pasma(m);
    w.rzadki = std::make_unique<UkladRzadki>();
  } else if (!pasmo_miesci_sie) {
    m.blad = kBladPamieci;
    return;
  } else {
    w.przydziel(m);
  }
  int b1 = 0;
  if (!materialy_kompletne(m, b1)) {
    m.blad = kBladBrakPrzedzialow;
    m.blad1 = b1;
    return;
  }
  if (!blad_danych(m, b1).empty()) {
    m.blad = kBladDanych;
    m.blad1 = b1;
    return;
  }
  for (int e = 1; e <= m.ne; ++e) w.EE[e] = m.Ez[m.mat[e]][1];
  if (w.rzadki) w.rzadki->przygotuj(m);
}

WynikKroku krok_iteracji(Model& m, PracaAnalizy& w, Iteracja& it) {
  rozwiazanie_kroku(m, w, it);
  return koniec_kroku(m, w, it);
}

void rozwiazanie_kroku(Model& m, PracaAnalizy& w, Iteracja& it) {
  ++it.ikr;
  w.przerwany = false;
  if (w.fd.istnieje())
    for (int i = 1; i <= m.nq; ++i) w.fd[i] = m.si[i];
  for (int i = 1; i <= m.nq; ++i) m.f[i] = m.si[i];
  if (m.blad == 0) {
    Przemieszcz(m, w);
    if (m.blad == 0) rozwiaz_uklad(m, w);
  }
}

WynikKroku koniec_kroku(Model& m, PracaAnalizy& w, Iteracja& it) {
  WynikKroku r;
  if (m.blad == 0) Naprezenia(m, w);
  if (m.blad == 0) Sieczne(m, w, it.zc);
  if (m.blad == 0) {
    it.normaf = it.normaa;
    double suma = 0.0;
    for (int i = 1; i <= m.nq; ++i) suma += static_cast<double>(m.f[i]) * m.f[i];
    it.normaa = suma;
    if (it.normaf == 0) it.normaf = 1;
    it.dumax = std::fabs(1 - it.normaa / it.normaf) * 100;
    if (!std::isfinite(it.dumax)) {
      m.blad = kBladNieskonczony;
      m.blad1 = 0;
    }
  }
  if (m.blad == 0) {
    if (it.dumax < it.epsdR && it.krok > 1) {
      it.krok = it.lprz + 1;
      r.zbiezna = true;
    }
    if (it.zc == 0) {
      it.krok = it.lprz + 1;
      r.brak_plastycznych = true;
    }
    if (it.krok > 1) {
      r.linia_logu = true;
      r.krok_logu = it.krok;
      r.dumax = it.dumax;
    }
  }
  if (m.blad != 0) {
    it.krok = it.lprz + 1;
    r.blad = true;
  }
  return r;
}
