// Random small models, sound and degenerate (nodes on a line or on one
// point, coordinates near the float limits, elements with repeated nodes,
// no displacement, no material, zero moduli, values that are no numbers),
// painted with random view switches at random window sizes, as pixels and
// as SVG.  Nothing may fault; in the sanitizer build every float-to-int
// conversion is checked.
#include <cmath>
#include <limits>
#include <random>

#include "test_rysunek_pomoc.h"
#include "view/svg.h"

namespace {

class Losowo {
 public:
  explicit Losowo(unsigned ziarno) : g_(ziarno) {}
  int cal(int a, int b) { return std::uniform_int_distribution<int>(a, b)(g_); }
  bool rzut(double p = 0.5) { return std::bernoulli_distribution(p)(g_); }
  float rz(float a, float b) { return std::uniform_real_distribution<float>(a, b)(g_); }
  template <class T>
  T z(std::initializer_list<T> l) {
    return *(l.begin() + cal(0, static_cast<int>(l.size()) - 1));
  }
  // A value of a kind a careless model or a broken analysis could hold.
  float wartosc() {
    switch (cal(0, 9)) {
      case 0: return 0.0f;
      case 1: return z({1e30f, -1e30f, 3.0e38f, -3.0e38f});
      case 2: return z({1e-38f, -1e-38f, 1e-44f});
      case 3: return z({std::numeric_limits<float>::infinity(), -std::numeric_limits<float>::infinity(),
                        std::numeric_limits<float>::quiet_NaN()});
      case 4: return 7.0f;
      default: return rz(-500.0f, 500.0f);
    }
  }

 private:
  std::mt19937 g_;
};

OpisModelu losowy_model(Losowo& L) {
  OpisModelu o;
  const int nn = L.cal(1, 7);
  const int styl = L.cal(0, 6);
  const float stale = L.rz(-5, 5);
  for (int i = 0; i < nn; ++i) {
    float x = L.rz(-10, 10), y = L.rz(-10, 10);
    switch (styl) {
      case 1: x = stale; break;                      // all on a vertical line
      case 2: y = stale; break;                      // all on a horizontal line
      case 3: x = y = stale; break;                  // all on one point
      case 4: x *= 3.0e37f; y *= 3.0e37f; break;     // near the float limits
      case 5: x = stale + i * 1e-38f; y = stale; break;  // a tiny but nonzero extent
      case 6: x = L.wartosc(); y = L.wartosc(); break;
      default: break;
    }
    o.wezly.push_back({x, y});
  }
  const int ne = L.cal(0, 6);
  for (int e = 0; e < ne; ++e) o.elementy.push_back({L.cal(1, nn), L.cal(1, nn), L.cal(1, nn)});
  const int nm = L.cal(0, 3);
  for (int k = 0; k < nm; ++k) {
    OpisModelu::Material mt;
    mt.przedzialy.clear();
    const int n = L.cal(1, 4);
    for (int j = 0; j < n; ++j)
      mt.przedzialy.push_back({L.z({200000.0f, 0.0f, -1000.0f, 1e-30f, 1e30f, L.wartosc()}),
                               L.z({0.0f, 100.0f, 150.0f * (j + 1), -50.0f, 1e30f, L.wartosc()})});
    o.materialy.push_back(mt);
  }
  for (int e = 0; e < ne; ++e) o.materialy_el.push_back(L.cal(1, std::max(nm, 1)));
  const int nd = L.cal(0, 4);
  for (int j = 0; j < nd; ++j) o.podpory.push_back({L.cal(1, 2 * nn), 0.0f});
  const int ns = L.cal(0, 4);
  for (int j = 0; j < ns; ++j) o.sily.push_back({L.cal(1, 2 * nn), L.z({-5.0f, 5.0f, L.wartosc()})});
  return o;
}

}  // namespace

TEST(RysunekLosowo, RandomModelsPaintWithoutAFaultAtAnyWindowSize) {
  const int przebiegi = qEnvironmentVariableIntValue("SKORBA_FUZZ_PRZEBIEGI") > 0
                            ? qEnvironmentVariableIntValue("SKORBA_FUZZ_PRZEBIEGI")
                            : 5000;
  for (int p = 0; p < przebiegi; ++p) {
    SCOPED_TRACE(p);
    Losowo L(static_cast<unsigned>(p) * 2654435761u + 17u);
    Model m;
    FakePlatform fp;
    _OKNO_ okno(m, fp);
    const bool pusty = L.rzut(0.05);
    OpisModelu o = losowy_model(L);
    if (!pusty) zbuduj(m, o);
    if (!pusty && L.rzut(0.1)) {  // nodes without elements or no nodes at all
      m.ne = 0;
      if (L.rzut()) m.nn = m.nq = 0;
    }
    if (!pusty && L.rzut(0.7)) {
      const int rodzaj = L.cal(0, 3);
      for (int i = 1; i <= m.nq; ++i) m.f[i] = rodzaj == 0 ? 0.0f : (rodzaj == 1 ? L.wartosc() : L.rz(-1, 1));
      for (int e = 1; e <= m.ne; ++e)
        for (int k = 1; k <= 4; ++k) m.napr[e][k] = rodzaj == 0 ? 3.0f : L.wartosc();
      for (int i = 1; i <= m.nn; ++i)
        for (int k = 1; k <= 4; ++k) m.ww[i][k] = rodzaj == 0 ? 3.0f : L.wartosc();
      m.obliczono = 1;
    }
    if (!pusty && m.nn > 0 && L.rzut(0.3)) {
      const int ile = L.cal(1, m.nn);
      m.s_grp.przydziel(1, ile);
      for (int j = 1; j <= ile; ++j) m.s_grp[j] = j;
      m.i_grp = ile;
      m.j_grupa = 1;
    }
    for (int* s : {&okno.p_napr, &okno.p_n_mat, &okno.p_n_pola, &okno.p_podp, &okno.p_sily, &okno.p_sily_nr,
                   &okno.p_siatka, &okno.p_wez, &okno.p_n_wezl, &okno.p_n_ele})
      *s = L.rzut(0.6) ? 1 : 0;
    okno.p_rn = L.cal(1, 4);
    okno.iizol = L.z({-5, 0, 1, 2, 3, 4, 5, 50, 200, 1000});
    okno.p_skok = L.cal(0, 1);
    okno.Pasek_kol();
    okno.SHOWGRAPH = L.rzut(0.2) ? L.cal(1, 2) : 0;
    okno.nrma = L.cal(-1, 4);

    const int w = L.z({1, 2, 60, 150, 151, L.cal(1, 640)}), h = L.z({1, 2, 60, 150, 151, L.cal(1, 480)});
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(Qt::white);
    {
      QtCanvas c(img);
      okno.Paint(c);
    }
    {  // the same picture as SVG
      SvgCanvas svg(w, h);
      okno.Paint(svg);
      EXPECT_NE(svg.dokument().find("</svg>"), std::string::npos);
    }
    // a drawn model always leaves a finite, positive scale for the mouse
    bool skonczone = true;
    for (int i = 1; i <= m.nn; ++i) skonczone = skonczone && std::isfinite(m.x[i][1]) && std::isfinite(m.x[i][2]);
    if (!pusty && okno.SHOWGRAPH == 0 && m.nn > 0 && w > 150 && h > 150 && skonczone) {
      EXPECT_TRUE(std::isfinite(okno.sx) && okno.sx > 0) << okno.sx;
      EXPECT_TRUE(std::isfinite(okno.sa) && okno.sa > 0) << okno.sa;
    }
  }
}
