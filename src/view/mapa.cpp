// Stress maps: the colour tables, the colour scale along the bottom edge,
// the filled sub-triangles and the bands between isolines of every element,
// and the settings form "Ustawienia".
//
// The map is split at L, the first stress limit of material 1: values up to
// L take the 200 colours of knapr, values above it the 50 colours of knapp.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <initializer_list>

#include "app/liczby.h"
#include "app/okno.h"
#include "view/rysowanie.h"

using rysunek::indeks;
using rysunek::napis_w_oknie;
using rysunek::piksel;

void _OKNO_::Pasek_kol() {
  if (p_skok == 1) {
    for (int i = 0; i <= 99; ++i) knapr[i] = Kolor(0, 105 + i, 0);
    for (int i = 100; i <= 200; ++i) knapr[i] = Kolor(0, i - 99, i + 21);
    for (int i = 0; i <= 51; ++i) knapp[i] = Kolor(static_cast<int>(1.5 * i + 135), 0, 0);
  } else {
    for (int i = 0; i <= 32; ++i) knapr[i] = Kolor(255 - 3 * i, 0, 0);
    for (int i = 33; i <= 64; ++i) knapr[i] = Kolor(159, 4 * (i - 32), 0);
    for (int i = 65; i <= 115; ++i) knapr[i] = Kolor(159 - 2 * (i - 64), 128, 0);
    for (int i = 116; i <= 160; ++i) knapr[i] = Kolor(55, 128, 4 * (i - 115));
    for (int i = 161; i <= 200; ++i) knapr[i] = Kolor(55, 128 - 3 * (i - 160), i + 20);
    for (int i = 0; i <= 50; ++i) knapp[i] = Kolor(255, 105, 3 * i);
  }
}

void _OKNO_::Cm_u_graf() {
  daneg.ladne = p_skok == 0 ? 0 : 1;
  daneg.przelicz = a_licz == 0 ? 0 : 1;
  ustaw(daneg.iizo, "%d", iizol);
  daneg.metoda = static_cast<int>(metoda);
  ::Formularz f;
  f.zasob = 3110;
  f.tytul = "Ustawienia";
  f.edycja(8500, "Liczba poziomów naprężeń (1-200)", "iizo", &daneg.iizo);
  f.wybor(8600, "Kolory ciągłe/skokowe", "ladne", &daneg.ladne);
  f.wybor(8610, "Automatyczne przeliczanie projektu", "przelicz", &daneg.przelicz);
  f.lista(8620, "Metoda rozwiązania", "metoda", {"automatycznie", "pasmowa", "rzadka"}, &daneg.metoda);
  if (P.Formularz(f) != IDOK) return;
  p_skok = daneg.ladne != 0 ? 1 : 0;
  a_licz = daneg.przelicz != 0 ? 1 : 0;
  if (daneg.metoda >= 0 && daneg.metoda <= 2 && daneg.metoda != static_cast<int>(metoda)) {
    metoda = static_cast<MetodaRozwiazania>(daneg.metoda);
    P.ZapiszUstawienie(kUstawienieMetody, nazwa_metody(metoda));
  }
  // A count outside 1..200 is ignored without a word; the old one stays.
  const int i = atoi_pola(daneg.iizo.t);
  if (i >= 1 && i <= 200) iizol = i;
  Pasek_kol();
  P.Odswiez();
}

namespace rysunek {

namespace {

// One paint of the map: its range, its scales and the line of the previous
// isoline, which carries over from element to element.
class Mapa {
 public:
  Mapa(_OKNO_& o, Canvas& dc, const Ekran& ek, int i_izo) : o_(o), M_(o.M), dc_(dc), ek_(ek), i_izo_(i_izo) {}

  // Computes the range and the scales; false when the map has nothing to
  // show (no component, no values that are numbers).
  bool zakres();
  void skala(float w, float h);
  void element(int e);

 private:
  float wartosc_w(int n) const { return M_.ww[n][k_]; }
  Kolor kolor(float v, bool srodkowy) const {
    if (granica_ && v > L_) return o_.knapp[indeks(50.0f - (v - L_) * spl_, 0, 50)];
    int r = piksel(200.0f - (v - miw_) * ss_);
    if (r > 200) r = 200;
    if (r < 0) r = srodkowy ? 1 : 0;
    return o_.knapr[r];
  }
  // A filled polygon without an outline: the sub-triangles and bands of an
  // element tile it, and outlines would only redraw the shared edges.  (A
  // surface that always outlines gets a pen of the fill's colour.)
  void wielokat(Kolor k, std::initializer_list<Punkt> p) {
    dc_.Pioro(k, 1, StylPiora::Ciagly);
    dc_.Pedzel(k);
    dc_.Wypelnij(p.begin(), static_cast<int>(p.size()));
  }
  Punkt ekran(int n) const {
    return Punkt{piksel(ek_.X[static_cast<std::size_t>(n)]), piksel(ek_.Y[static_cast<std::size_t>(n)])};
  }
  Punkt przeciecie(int a, int b, float f) const;
  bool przecina(int a, int b, float f) const;
  // Fills the part of element n whose values lie between od and do_.
  void pasmo(const int n[3], float od, float do_, Kolor k);
  // One isoline level fi of element e; `powyzej` for the pass above L.
  void poziom(const int n[3], float fi, bool pierwszy, bool powyzej);
  template <class Poziom>
  void przebieg(const int n[3], int ile, Poziom&& fi, bool powyzej);

  _OKNO_& o_;
  Model& M_;
  Canvas& dc_;
  const Ekran& ek_;
  int i_izo_;
  int k_ = 4;
  bool granica_ = false;  // a limit L exists (there is a material 1)
  float L_ = 0, maw_ = 0, miw_ = 0, ss_ = 1, spl_ = 1, stp_ = 0, stpp_ = 0;
  int pz_ = 0;
  Punkt q1_{}, q2_{};
  float fq_ = 0;  // the level of the line (q1_, q2_)
};

bool Mapa::zakres() {
  k_ = o_.p_rn;
  if (k_ < 1 || k_ > 4 || !M_.ww.istnieje() || !M_.napr.istnieje()) return false;
  maw_ = miw_ = std::fabs(wartosc_w(1));
  for (int e = 1; e <= M_.ne; ++e) {
    const float v = M_.napr[e][k_];
    if (v > maw_) maw_ = v;
    if (v < miw_) miw_ = v;
    for (int j = 1; j <= 3; ++j) {
      const int n = M_.noc[e][j];
      if (n < 1 || n > M_.nn) continue;
      const float u = wartosc_w(n);
      if (u > maw_) maw_ = u;
      if (u < miw_) miw_ = u;
    }
  }
  if (!std::isfinite(maw_) || !std::isfinite(miw_)) return false;
  if (maw_ == miw_) maw_ = miw_ + 1.0f;
  // Without a material there is no limit: the whole map takes knapr.
  granica_ = M_.nm > 0 && M_.Sprz.istnieje() && M_.maxpr >= 1 && std::isfinite(M_.Sprz[1][1]);
  L_ = granica_ ? M_.Sprz[1][1] : 0.0f;
  spl_ = 1.0f;
  if (granica_ && maw_ > L_) {
    spl_ = 50.0f / (maw_ - L_);
    ss_ = 200.0f / (L_ - miw_);
  } else {
    ss_ = 200.0f / (maw_ - miw_);
  }
  // All values above the limit (or the smallest right at it, which would
  // leave the part up to the limit no width): one stress unit below L.
  if (granica_ && miw_ >= L_) {
    miw_ = L_ - 1.0f;
    ss_ = 200.0f / (L_ - miw_);
  }
  o_.spl = spl_;
  stpp_ = granica_ ? (maw_ - L_) / 49.0f : 0.0f;
  o_.stpp = stpp_;
  if (i_izo_ > 3) stp_ = ((granica_ ? std::min(maw_, L_) : maw_) - miw_) / static_cast<float>(i_izo_ - 1);
  return true;
}

void Mapa::skala(float w, float h) {
  const float sp = (w - 50.0f) / 260.0f;
  const int koniec = piksel(260.0f * sp + 25.0f);
  dc_.Pioro(Kolor(0, 0, 0), 1, StylPiora::Ciagly);
  dc_.MoveTo(25, piksel(h - 1.0f));
  dc_.LineTo(koniec, piksel(h - 1.0f));
  dc_.MoveTo(25, piksel(h - 10.0f));
  dc_.LineTo(koniec, piksel(h - 10.0f));
  for (int i = 1; i <= 200; ++i) {
    const Kolor k = o_.knapr[i];
    dc_.Pioro(k, 1, StylPiora::Ciagly);
    dc_.Pedzel(k);
    dc_.Prostokat(piksel(static_cast<float>(i + 59) * sp + 25.0f), piksel(h - 9.0f),
                  piksel(static_cast<float>(i + 60) * sp + 25.0f), piksel(h - 2.0f));
    if (i == 1 || i % 25 == 0) {
      const float v = i == 1 ? miw_ + 200.0f / ss_ : miw_ + static_cast<float>(200 - i) / ss_;
      const char* f = v > 999.0f ? "%6.0f" : (v > 9.0f ? "%3.2f" : "%1.4f");
      napis_w_oknie(dc_, piksel(static_cast<float>(i + 59) * sp + 20.0f), piksel(h - 22.0f), tekst(f, v));
    }
  }
  if (!granica_) return;
  for (int i = 1; i <= 50; ++i) {
    const Kolor k = o_.knapp[i];
    dc_.Pioro(k, 1, StylPiora::Ciagly);
    dc_.Pedzel(k);
    dc_.Prostokat(piksel(static_cast<float>(i - 1) * sp + 25.0f), piksel(h - 9.0f),
                  piksel(static_cast<float>(i) * sp + 25.0f), piksel(h - 2.0f));
    if (i == 1 || i == 25 || i == 50) {
      const float v = L_ + static_cast<float>(50 - i) / spl_;
      napis_w_oknie(dc_, piksel(static_cast<float>(i - 1) * sp + 20.0f), piksel(h - 22.0f), tekst("%3.1f", v));
    }
  }
}

// The screen point where the level f crosses the edge a-b of the element:
// interpolated in model coordinates, then mapped and truncated, so that the
// same level on the same edge gives the same pixel in every band.
Punkt Mapa::przeciecie(int a, int b, float f) const {
  const float wa = wartosc_w(a), wb = wartosc_w(b);
  const float xi = (f - wa) / (wb - wa);
  const float x = (1.0f - xi) * M_.x[a][1] + xi * M_.x[b][1];
  const float y = (1.0f - xi) * M_.x[a][2] + xi * M_.x[b][2];
  return Punkt{piksel(ek_.rzut.X(x)), piksel(ek_.rzut.Y(y))};
}

// The edge a-b is crossed by level f when one end lies above f and the
// other at or below it.
bool Mapa::przecina(int a, int b, float f) const {
  const float wa = wartosc_w(a), wb = wartosc_w(b);
  return (wa > f && wb <= f) || (wb > f && wa <= f);
}

void Mapa::pasmo(const int n[3], float od, float do_, Kolor k) {
  // Walking round the triangle, each corner whose value lies in od..do_
  // and each point where an edge crosses od or do_ (in their order along
  // the edge) is a corner of the band: three to five of them, since the
  // part of a triangle between two parallel lines is convex.
  if (!(od < do_)) return;
  Punkt p[9];
  int ile = 0;
  for (int j = 0; j < 3; ++j) {
    const int a = n[j], b = n[(j + 1) % 3];
    const float wa = wartosc_w(a), wb = wartosc_w(b);
    if (wa >= od && wa <= do_) p[ile++] = ekran(a);
    const bool dolna = przecina(a, b, od), gorna = przecina(a, b, do_);
    // Along a rising edge the lower line comes first.
    if (wa <= wb) {
      if (dolna) p[ile++] = przeciecie(a, b, od);
      if (gorna) p[ile++] = przeciecie(a, b, do_);
    } else {
      if (gorna) p[ile++] = przeciecie(a, b, do_);
      if (dolna) p[ile++] = przeciecie(a, b, od);
    }
  }
  if (ile < 3) return;
  dc_.Pioro(k, 1, StylPiora::Ciagly);
  dc_.Pedzel(k);
  dc_.Wypelnij(p, ile);
}

void Mapa::poziom(const int n[3], float fi, bool pierwszy, bool powyzej) {
  static constexpr int kKrawedz[3][2] = {{0, 1}, {1, 2}, {2, 0}};
  Punkt s[2];
  int ile = 0;
  for (const auto& kr : kKrawedz) {
    const int a = n[kr[0]], b = n[kr[1]];
    if (!przecina(a, b, fi)) continue;
    s[ile] = przeciecie(a, b, fi);
    if (++ile == 2) break;
  }
  if (ile < 2) return;
  const Punkt s1 = s[0], s2 = s[1];
  // The distance is summed in 64 bits: off-image points may be far apart.
  const long long d = std::llabs(static_cast<long long>(q1_.x) - s1.x) + std::llabs(static_cast<long long>(q1_.y) - s1.y) +
                      std::llabs(static_cast<long long>(q2_.x) - s2.x) + std::llabs(static_cast<long long>(q2_.y) - s2.y);
  if (d <= 5 && !pierwszy) return;
  if (pz_ > 0) {
    Kolor k;
    if (powyzej) {
      k = o_.knapp[indeks(50.0f - (fi - L_) * spl_, 0, 50)];
    } else {
      int r = piksel(200.0f - (fi - miw_) * ss_);
      k = o_.knapr[std::clamp(r, 0, 200)];
    }
    // The band between the previous line and this one, corners of the
    // triangle that lie between them included.
    pasmo(n, fq_, fi, k);
  }
  q1_ = s1;
  q2_ = s2;
  fq_ = fi;
  ++pz_;
}

// Runs the levels fi(1..ile) over element n.  A level that lies outside the
// element's nodal values crosses no edge and changes nothing, so only the
// levels from the element's smallest to its largest value are visited; the
// levels grow with i, which makes them one run found from an estimate.
template <class Poziom>
void Mapa::przebieg(const int n[3], int ile, Poziom&& fi, bool powyzej) {
  const float a = wartosc_w(n[0]), b = wartosc_w(n[1]), c = wartosc_w(n[2]);
  const float wmin = std::min({a, b, c}), wmax = std::max({a, b, c});
  const float krok = fi(2) - fi(1);
  if (!std::isfinite(wmin) || !std::isfinite(wmax) || !(krok > 0.0f) || !std::isfinite(krok)) {
    for (int i = 1; i <= ile; ++i) poziom(n, fi(i), i == 1, powyzej);
    return;
  }
  int i = indeks((static_cast<double>(wmin) - fi(1)) / krok, 1, ile);
  while (i > 1 && fi(i - 1) >= wmin) --i;
  for (; i <= ile; ++i) {
    const float f = fi(i);
    if (f >= wmax) break;
    if (f >= wmin) poziom(n, f, i == 1, powyzej);
  }
}

void Mapa::element(int e) {
  const int n[3] = {M_.noc[e][1], M_.noc[e][2], M_.noc[e][3]};
  for (int k : n)
    if (k < 1 || k > M_.nn) return;
  const float X1 = ek_.X[static_cast<std::size_t>(n[0])], Y1 = ek_.Y[static_cast<std::size_t>(n[0])];
  const float X2 = ek_.X[static_cast<std::size_t>(n[1])], Y2 = ek_.Y[static_cast<std::size_t>(n[1])];
  const float X3 = ek_.X[static_cast<std::size_t>(n[2])], Y3 = ek_.Y[static_cast<std::size_t>(n[2])];
  const Punkt N1 = ekran(n[0]), N2 = ekran(n[1]), N3 = ekran(n[2]);
  float v = M_.napr[e][k_];
  if (i_izo_ <= 1) {
    wielokat(kolor(v, false), {N3, N1, N2});
  } else {
    // With bands the element shows the field of its nodal values.  Where
    // no band covers the centre sub-triangle (next to the lowest and the
    // highest corner, or all of it when at most one line crosses the
    // element) its element stress, which may lie far outside that field,
    // is limited to the smallest and the largest nodal value.
    if (i_izo_ > 3) {
      const float a = wartosc_w(n[0]), b = wartosc_w(n[1]), c = wartosc_w(n[2]);
      const float wmin = std::min({a, b, c}), wmax = std::max({a, b, c});
      if (v < wmin) v = wmin;
      if (v > wmax) v = wmax;
    }
    const Punkt M12{piksel((X2 - X1) * 0.5f + X1), piksel((Y2 - Y1) * 0.5f + Y1)};
    const Punkt M23{piksel((X3 - X2) * 0.5f + X2), piksel((Y3 - Y2) * 0.5f + Y2)};
    const Punkt M13{piksel((X3 - X1) * 0.5f + X1), piksel((Y3 - Y1) * 0.5f + Y1)};
    wielokat(kolor(v, true), {M13, M23, M12});
    wielokat(kolor(wartosc_w(n[0]), false), {M13, N1, M12});
    wielokat(kolor(wartosc_w(n[1]), false), {M23, N2, M12});
    wielokat(kolor(wartosc_w(n[2]), false), {M23, N3, M13});
  }
  pz_ = 0;
  if (i_izo_ > 3) {
    const float miw = miw_, stp = stp_;
    przebieg(n, i_izo_, [miw, stp](int i) { return miw + static_cast<float>(i - 1) * stp; }, false);
  }
  // Above the limit only when some value exceeds it: otherwise no level of
  // this pass lies within the values.
  if (granica_ && maw_ > L_) {
    const float L = L_, stpp = stpp_;
    przebieg(n, 50, [L, stpp](int i) { return L + static_cast<float>(i - 1) * stpp; }, true);
  }
}

}  // namespace

void rysuj_mape(_OKNO_& o, Canvas& dc, const Ekran& ek, float w, float h, int i_izo) {
  Mapa m(o, dc, ek, i_izo);
  if (!m.zakres()) return;
  m.skala(w, h);
  for (int e = 1; e <= o.M.ne; ++e) m.element(e);
}

}  // namespace rysunek
