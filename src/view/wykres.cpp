// The stress-strain curve of one material, drawn instead of the model:
// strain along the horizontal axis, stress along the vertical one, a dashed
// grid line at every interval end and every interval limit.
#include <algorithm>
#include <cmath>
#include <vector>

#include "app/okno.h"
#include "view/rysowanie.h"

namespace rysunek {

void rysuj_wykres(_OKNO_& o, Canvas& dc) {
  Model& M = o.M;
  const float w = static_cast<float>(dc.Szerokosc()), h = static_cast<float>(dc.Wysokosc());
  o.maxx = w;
  o.hmax = static_cast<int>(h);
  const int hmax = o.hmax;
  dc.Pioro(Kolor(255, 255, 255), 1, StylPiora::Ciagly);
  dc.Pedzel(Kolor(255, 255, 255));
  dc.Prostokat(0, 0, static_cast<int>(w), static_cast<int>(h));

  const int m = o.nrma;
  if (m < 1 || m > M.nm || !M.Prz.istnieje() || !M.Sprz.istnieje() || !M.Ez.istnieje()) return;
  int n = std::clamp(M.Prz[m], 0, M.maxpr);

  // Strain increments of the intervals, each (1/E) times the stress step.
  // An interval whose strain is no number (a zero modulus) cannot be placed
  // on the axis: the curve stops before it.
  std::vector<float> delta(static_cast<std::size_t>(n) + 1, 0.0f);
  float e = 0.0f;
  for (int j = 1; j <= n; ++j) {
    const float ds = j == 1 ? M.Sprz[m][1] : M.Sprz[m][j] - M.Sprz[m][j - 1];
    const float d = (1.0f / M.Ez[m][j]) * ds;
    if (!std::isfinite(d) || !std::isfinite(e + d)) {
      n = j - 1;
      break;
    }
    delta[static_cast<std::size_t>(j)] = d;
    e += d;
  }
  float emax = 0.0f, smax = 0.0f;
  e = 0.0f;
  for (int j = 1; j <= n; ++j) {
    e += delta[static_cast<std::size_t>(j)];
    emax = std::max(emax, e);
    smax = std::max(smax, M.Sprz[m][j]);
  }
  if (emax == 0.0f) emax = 1.0f;
  if (smax == 0.0f) smax = 1.0f;
  float sx = (o.maxx - 50.0f) / emax, sy = (static_cast<float>(hmax) - 50.0f) / smax;
  // a scale of a tiny but nonzero extent can overflow: then as for no extent
  if (!std::isfinite(sx)) sx = o.maxx - 50.0f;
  if (!std::isfinite(sy)) sy = static_cast<float>(hmax) - 50.0f;
  o.sx = sx;
  const float dol = static_cast<float>(hmax - 25);
  const auto ex = [&](float eps, float przes) { return piksel(eps * sx + przes); };
  const auto ey = [&](float s) { return piksel(dol - s * sy); };

  dc.Pioro(Kolor(0, 0, 0), 2, StylPiora::Ciagly);
  dc.Czcionka("Arial", 12, 400);
  dc.KolorTekstu(Kolor(0, 0, 0));
  dc.MoveTo(25, hmax - 25);
  dc.LineTo(25, 25);
  dc.MoveTo(25, hmax - 25);
  dc.LineTo(piksel(o.maxx - 25.0f), hmax - 25);

  dc.Pioro(Kolor(0, 255, 0), 1, StylPiora::Kreskowany);
  // The title stands in the free corner above the plot: the row under the
  // horizontal axis is the strain labels', and there is no room under them.
  napis_w_oknie(dc, 1, 4, tekst("Materiał nr %d", m));

  // Per interval: the strain label at its start, then the stress labels of
  // all intervals and the grid lines at the interval's end.  Each stress
  // label would be written once per interval at the same place, and every
  // grid line drawn again with the same pixels; as the labels are opaque,
  // writing them once, just before the grid lines of the last interval,
  // leaves the very same picture.
  float epsa = 0.0f;
  for (int k = 1; k <= n; ++k) {
    napis_w_oknie(dc, ex(epsa, 20.0f), hmax - 22, tekst("%1.5f", static_cast<double>(epsa)));
    epsa += delta[static_cast<std::size_t>(k)];
    if (k == n)
      for (int j = 1; j <= n; ++j)
        napis_w_oknie(dc, 1, ey(M.Sprz[m][j]), tekst("%4.1f", static_cast<double>(M.Sprz[m][j])));
    dc.MoveTo(ex(epsa, 25.0f), hmax - 25);
    dc.LineTo(ex(epsa, 25.0f), 25);
    dc.MoveTo(25, ey(M.Sprz[m][k]));
    dc.LineTo(piksel(o.maxx - 25.0f), ey(M.Sprz[m][k]));
  }
  napis_w_oknie(dc, ex(epsa, 20.0f), hmax - 22, tekst("%1.5f", static_cast<double>(epsa)));

  dc.MoveTo(25, hmax - 25);
  dc.Pioro(Kolor(0, 0, 255), 2, StylPiora::Ciagly);
  epsa = 0.0f;
  for (int k = 1; k <= n; ++k) {
    epsa += delta[static_cast<std::size_t>(k)];
    dc.LineTo(ex(epsa, 25.0f), ey(M.Sprz[m][k]));
  }
}

}  // namespace rysunek
