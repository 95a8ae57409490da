// Group selection with the mouse, the coordinates readout, and the group
// commands: move, copy with an offset, delete, supports and forces.
#include "edit/grupa.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

#include "app/formy.h"
#include "app/liczby.h"
#include "app/okno.h"
#include "model/przebuduj.h"
#include "view/canvas.h"
#include "view/rysowanie.h"

namespace {

constexpr Kolor kCzarny(0, 0, 0);
constexpr Kolor kPomaranczowy(255, 128, 0);

// A float screen coordinate as the pixel the painter draws it at.  Values
// beyond the painter's pixel range (and NaN) lie outside any picture and
// have no pixel.
bool na_piksel(float v, int& p) {
  if (!(std::fabs(v) <= rysunek::kZasiegPikseli)) return false;
  p = rysunek::piksel(v);
  return true;
}

// --- the rubber band ---------------------------------------------------------------------
//
// The outline of the rectangle (pgx, pgy)-(pgxx, pgyy), edge by edge: the
// row pgy, the column pgxx, the row pgyy, the column pgx, each over the
// rectangle's span; corners belong to both of their edges.  Only the part
// inside the picture is visited, so the saved pixels never exceed the
// picture's own perimeter, however far the pointer goes.
template <class F>
void obrys(const _OKNO_& o, const Canvas& dc, F&& f) {
  const int W = dc.Szerokosc(), H = dc.Wysokosc();
  const int x1 = std::max(0, std::min(o.pgx, o.pgxx)), x2 = std::min(W - 1, std::max(o.pgx, o.pgxx));
  const int y1 = std::max(0, std::min(o.pgy, o.pgyy)), y2 = std::min(H - 1, std::max(o.pgy, o.pgyy));
  auto wiersz = [&](int y) {
    if (y < 0 || y >= H) return;
    for (int x = x1; x <= x2; ++x) f(x, y);
  };
  auto kolumna = [&](int x) {
    if (x < 0 || x >= W) return;
    for (int y = y1; y <= y2; ++y) f(x, y);
  };
  wiersz(o.pgy);
  kolumna(o.pgxx);
  wiersz(o.pgyy);
  kolumna(o.pgx);
}

void zapamietaj_obrys(_OKNO_& o, Canvas& dc) {
  o.tkre.clear();
  obrys(o, dc, [&](int x, int y) { o.tkre.push_back({Punkt{x, y}, dc.GetPixel(x, y)}); });
}

void wymaz_obrys(_OKNO_& o, Canvas& dc) {
  for (const auto& [p, k] : o.tkre) dc.SetPixel(p.x, p.y, k);
  o.tkre.clear();
}

void rysuj_obrys(const _OKNO_& o, Canvas& dc) {
  dc.Pioro(kCzarny, 1, StylPiora::Kropkowany);
  dc.MoveTo(o.pgx, o.pgy);
  dc.LineTo(o.pgxx, o.pgy);
  dc.LineTo(o.pgxx, o.pgyy);
  dc.LineTo(o.pgx, o.pgyy);
  dc.LineTo(o.pgx, o.pgy);
}

// Numbers of the group nodes, in ascending order (the order of s_grp).
std::vector<int> wezly_grupy(const Model& M) {
  std::vector<int> g;
  if (M.j_grupa != 1) return g;
  for (int j = 1; j <= M.i_grp; ++j) g.push_back(M.s_grp[j]);
  return g;
}

}  // namespace

// --- forms --------------------------------------------------------------------------------

::Formularz uklad_D_DANE_PRZ_GRUPY(d_dane_prz& r) {
  ::Formularz f;
  f.zasob = 3130;
  f.tytul = "Przemieszczenie grupy";
  f.edycja(8500, "Odległość w kierunku X", "px", &r.px);
  f.edycja(8501, "Odległość w kierunku Y", "py", &r.py);
  return f;
}

::Formularz uklad_D_DANE_KOP(d_dane_kop& r) {
  ::Formularz f;
  f.zasob = 3120;
  f.tytul = "Kopiuj grupę z przemieszczeniem";
  f.napis(-1, "Podaj odległości oraz wybierz obiekty do kopiowania");
  f.edycja(8500, "Odległość w kierunku X", "px", &r.px);
  f.edycja(8501, "Odległość w kierunku Y", "py", &r.py);
  f.wybor(8600, "Węzły", "wezly", &r.wezly);
  f.wybor(8610, "Elementy", "elementy", &r.elementy);
  f.wybor(101, "Siły", "sily", &r.sily);
  f.wybor(102, "Podpory", "podpory", &r.podpory);
  return f;
}

::Formularz uklad_D_DANE_DOOM(d_dane_doom& r) {
  ::Formularz f;
  f.zasob = 3140;
  f.tytul = "Kasowanie grupy";
  f.napis(-1, "Zostanie skasowanych :");
  f.edycja(8500, "Węzłów", "we", &r.we, -1, false, true, true);
  f.edycja(8501, "Elementów", "el", &r.el, -1, false, true, true);
  f.edycja(8502, "Podpór w węzłąch", "po", &r.po, -1, false, true, true);
  f.edycja(8503, "Sił w węzłąch", "si", &r.si, -1, false, true, true);
  return f;
}

// --- the view transform, both ways: the painter's -----------------------------------------

void piksel_na_model(const _OKNO_& o, int px, int py, float& X, float& Y) {
  const rysunek::Rzut r = rysunek::rzut_okna(o);
  X = r.modelX(static_cast<float>(px));
  Y = r.modelY(static_cast<float>(py));
}

bool wezel_na_piksel(const _OKNO_& o, int k, int& px, int& py) {
  const rysunek::Rzut r = rysunek::rzut_okna(o);
  return na_piksel(r.X(o.M.x[k][1]), px) && na_piksel(r.Y(o.M.x[k][2]), py);
}

std::string odczyt_wspolrzednych(const _OKNO_& o, int px, int py) {
  const Model& M = o.M;
  float X, Y;
  piksel_na_model(o, px, py, X, Y);
  // A node within 5 pixels each way is under the pointer; the last one wins.
  const float dX = 5.0f / o.sx, dY = 5.0f / o.sa;
  int wezel = 0;
  float wartosc = 0.0f;
  if (M.Pusty == 0 && M.nn > 1) {
    const int skladowa = std::clamp(o.p_rn, 1, 4);
    for (int k = 1; k <= M.nn; ++k) {
      const float xk = M.x[k][1], yk = M.x[k][2];
      if (X - dX <= xk && xk <= X + dX && Y - dY <= yk && yk <= Y + dY) {
        wezel = k;
        if (M.obliczono == 1) wartosc = M.ww[k][skladowa];
      }
    }
  }
  if (X < 0.0f || Y < 0.0f) return "x=,          y=,        ";
  char b[200];
  const double x = X, y = Y, w = wartosc;
  if (wezel == 0)
    std::snprintf(b, sizeof b, "x=%5.2f, y=%5.2f", x, y);
  else if (M.obliczono == 1 && o.p_napr != 0) {
    if (w > 999)
      std::snprintf(b, sizeof b, "x=%5.2f, y=%6.0f, n=%f", x, y, w);
    else if (w > 9)
      std::snprintf(b, sizeof b, "x=%5.2f, y=%5.2f, n=%3.2f", x, y, w);
    else
      std::snprintf(b, sizeof b, "x=%5.2f, y=%5.2f, n=%1.4f", x, y, w);
  } else {
    std::snprintf(b, sizeof b, "x=%5.2f, y=%5.2f, węz. %d", x, y, wezel);
  }
  return b;
}

// --- the mouse ------------------------------------------------------------------------------

void _OKNO_::EvLButtonDown(int x, int y) {
  w_grup = 1;
  pgx = x;
  pgy = y;
  pgxx = x + 1;
  pgyy = y + 1;
  P.UstawKursor(Kursor::Krzyz);
  tkre.clear();
  if (Canvas* dc = P.CanvasOkna()) {
    zapamietaj_obrys(*this, *dc);
    P.PokazRysunek();
  }
}

void _OKNO_::EvMouseMove(int x, int y) {
  mysz = true;
  mysz_x = x;
  mysz_y = y;
  const std::string tekst = odczyt_wspolrzednych(*this, x, y);
  if (w_grup == 1) {
    Canvas* dc = P.CanvasOkna();
    if (dc) wymaz_obrys(*this, *dc);
    pgxx = x;
    pgyy = y;
    if (dc) {
      zapamietaj_obrys(*this, *dc);
      rysuj_obrys(*this, *dc);
      P.PokazRysunek();
    }
  }
  P.UstawWspolrzedne(tekst);
}

void _OKNO_::OdswiezWspolrzedne() {
  if (mysz) P.UstawWspolrzedne(odczyt_wspolrzednych(*this, mysz_x, mysz_y));
}

void _OKNO_::EvLButtonUp(int, int) {
  // A release without a press in the view (the press went to a dialog that
  // has just closed) has no rectangle.
  if (w_grup != 1) return;
  w_grup = 0;
  Canvas* dc = P.CanvasOkna();
  if (dc) wymaz_obrys(*this, *dc);
  const bool byla = M.j_grupa == 1;
  zw_grp();
  P.UstawKursor(Kursor::Normalny);

  if (M.Pusty == 0 && M.nn > 0) {
    // Every node drawn inside the rectangle, borders included, whichever
    // way it was dragged.
    const int x1 = std::min(pgx, pgxx), x2 = std::max(pgx, pgxx);
    const int y1 = std::min(pgy, pgyy), y2 = std::max(pgy, pgyy);
    std::vector<int> wybrane;
    if (dc) dc->Pioro(kPomaranczowy, 3, StylPiora::Ciagly);
    for (int k = 1; k <= M.nn; ++k) {
      int px, py;
      if (!wezel_na_piksel(*this, k, px, py)) continue;
      if (px < x1 || px > x2 || py < y1 || py > y2) continue;
      wybrane.push_back(k);
      if (dc) {
        dc->MoveTo(px - 3, py);
        dc->LineTo(px + 3, py);
        dc->MoveTo(px, py - 3);
        dc->LineTo(px, py + 3);
      }
    }
    if (!wybrane.empty()) {
      M.i_grp = static_cast<int>(wybrane.size());
      M.s_grp.przydziel(1, M.i_grp);
      for (int j = 1; j <= M.i_grp; ++j) M.s_grp[j] = wybrane[static_cast<std::size_t>(j - 1)];
      M.j_grupa = 1;
    }
  }
  if (dc) P.PokazRysunek();
  if (byla) P.Odswiez();
}

void _OKNO_::zw_grp() {
  if (M.j_grupa == 1) M.s_grp.zwolnij();
  M.j_grupa = 0;
  M.i_grp = 0;
}

// --- the group commands ------------------------------------------------------------------------

void _OKNO_::Cm_Grupa_prz() {
  if (M.nn <= 0 || M.j_grupa != 1) return;
  d_dane_prz r;
  ustaw(r.px, "%3.2f", 0.0);
  ustaw(r.py, "%3.2f", 0.0);
  ::Formularz f = uklad_D_DANE_PRZ_GRUPY(r);
  if (P.Formularz(f) != IDOK) return;
  const float dX = static_cast<float>(atof_pola(r.px.t)), dY = static_cast<float>(atof_pola(r.py.t));
  M.Pusty = 1;
  for (int b : wezly_grupy(M)) {
    M.x[b][1] += dX;
    M.x[b][2] += dY;
  }
  M.Pusty = 0;
  // The results no longer belong to the model; the data window stays and
  // shows the new coordinates.
  PoZmianie({.nazwa = "Przesuń grupę", .tabele = Tabele::Wyniki});
}

void _OKNO_::Cm_Grupa_kop_prz() {
  if (M.nn <= 0 || M.j_grupa != 1) return;
  d_dane_kop r;
  ustaw(r.px, "%3.2f", 0.0);
  ustaw(r.py, "%3.2f", 0.0);
  r.wezly = r.elementy = r.sily = r.podpory = 1;
  ::Formularz f = uklad_D_DANE_KOP(r);
  if (P.Formularz(f) != IDOK) return;
  if (!r.wezly) {
    P.MessageBox("Nie można przeprowadzić kopiowania, jeśli nie zaznaczono węzłów jako obiektów",
                 "Błąd podczas kopiowania", Ikona::Brak, Przyciski::OK);
    return;
  }
  const float dX = static_cast<float>(atof_pola(r.px.t)), dY = static_cast<float>(atof_pola(r.py.t));
  M.Pusty = 1;

  // Node s of the group is copied as node n + j, j its place in the group.
  const std::vector<int> g = wezly_grupy(M);
  const int n = M.nn, ile = static_cast<int>(g.size());
  std::vector<int> kopia(static_cast<std::size_t>(n) + 1, 0);
  for (int j = 1; j <= ile; ++j) kopia[static_cast<std::size_t>(g[static_cast<std::size_t>(j - 1)])] = n + j;
  auto kopia_wezla = [&](int s) { return s >= 1 && s <= n ? kopia[static_cast<std::size_t>(s)] : 0; };

  dodaj_wezly(M, ile);
  for (int j = 1; j <= ile; ++j) {
    const int s = g[static_cast<std::size_t>(j - 1)], c = n + j;
    M.x[c][1] = M.x[s][1] + dX;
    M.x[c][2] = M.x[s][2] + dY;
    if (r.sily) {
      M.si[2 * c - 1] = M.f[2 * c - 1] = M.si[2 * s - 1];
      M.si[2 * c] = M.f[2 * c] = M.si[2 * s];
    }
  }

  // Elements with all three corners in the group, appended in their order;
  // the corners of a copy follow the order of the group (ascending source
  // node), its material is the source's.
  if (r.elementy && M.ne > 0) {
    std::vector<int> zrodla;
    for (int e = 1; e <= M.ne; ++e)
      if (kopia_wezla(M.noc[e][1]) && kopia_wezla(M.noc[e][2]) && kopia_wezla(M.noc[e][3])) zrodla.push_back(e);
    if (!zrodla.empty()) {
      int e_nowy = dodaj_elementy(M, static_cast<int>(zrodla.size()));
      for (int e : zrodla) {
        int rogi[3] = {M.noc[e][1], M.noc[e][2], M.noc[e][3]};
        std::sort(rogi, rogi + 3);
        for (int k = 0; k < 3; ++k) M.noc[e_nowy][k + 1] = kopia_wezla(rogi[k]);
        M.mat[e_nowy] = M.mat[e];
        ++e_nowy;
      }
    }
  }

  // Supports: each copy gets the restraints and prescribed displacements of
  // its source node, appended copy by copy in the order of the source's
  // entries (which keeps a list sorted by degree of freedom sorted).
  if (r.podpory && M.nd > 0) {
    std::vector<std::pair<int, float>> nowe;
    for (int j = 1; j <= ile; ++j) {
      const int s = g[static_cast<std::size_t>(j - 1)], c = n + j;
      for (int l = 1; l <= M.nd; ++l)
        if (M.nu[l] == 2 * s - 1 || M.nu[l] == 2 * s) nowe.push_back({M.nu[l] - 2 * s + 2 * c, M.u[l]});
    }
    if (!nowe.empty()) {
      int l = dodaj_podpory(M, static_cast<int>(nowe.size()));
      for (const auto& [dof, u] : nowe) {
        M.nu[l] = dof;
        M.u[l] = u;
        ++l;
      }
    }
  }

  M.Pusty = 0;
  PoZmianie({.nazwa = "Kopiuj grupę"});
}

void _OKNO_::Cm_Grupa_doom() {
  if (M.nn <= 0 || M.j_grupa != 1) return;
  if (P.MessageBox("Czy jesteś pewien ?", "Kasowanie grupy", Ikona::Pytanie, Przyciski::TakNie) != IDYES) return;

  const Maska grupa = [&] {
    Maska w = maska(M.nn);
    for (int b : wezly_grupy(M)) w[static_cast<std::size_t>(b)] = 1;
    return w;
  }();
  auto w_grupie = [&](int k) { return k >= 1 && k <= M.nn && grupa[static_cast<std::size_t>(k)]; };
  Maska elementy = maska(M.ne), podpory = maska(M.nd);
  int el = 0, po = 0, si = 0;
  for (int e = 1; e <= M.ne; ++e)
    if (w_grupie(M.noc[e][1]) && w_grupie(M.noc[e][2]) && w_grupie(M.noc[e][3])) {
      elementy[static_cast<std::size_t>(e)] = 1;
      ++el;
    }
  for (int l = 1; l <= M.nd; ++l)
    if (w_grupie((M.nu[l] + 1) / 2)) {
      podpory[static_cast<std::size_t>(l)] = 1;
      ++po;
    }
  for (int b : wezly_grupy(M)) si += (M.si[2 * b - 1] != 0.0f) + (M.si[2 * b] != 0.0f);

  d_dane_doom r;
  ustaw(r.we, "%d", M.i_grp);
  ustaw(r.el, "%d", el);
  ustaw(r.po, "%d", po);
  ustaw(r.si, "%d", si);
  ::Formularz f = uklad_D_DANE_DOOM(r);
  if (P.Formularz(f) != IDOK) return;

  M.Pusty = 1;
  for (int b : wezly_grupy(M)) M.si[2 * b - 1] = M.si[2 * b] = M.f[2 * b - 1] = M.f[2 * b] = 0.0f;
  if (po > 0) usun_podpory(M, podpory);
  if (el > 0) usun_elementy(M, elementy);
  // A group node that a remaining element still uses stays (without its
  // forces and supports); the other group nodes go, and the kept nodes are
  // renumbered in their old order.
  Maska wezly = grupa;
  for (int e = 1; e <= M.ne; ++e)
    for (int k = 1; k <= 3; ++k) {
      const int c = M.noc[e][k];
      if (c >= 1 && c <= M.nn) wezly[static_cast<std::size_t>(c)] = 0;
    }
  usun_wezly(M, wezly);
  M.Pusty = 0;
  PoZmianie({.nazwa = "Usuń grupę", .bez_grupy = true});
}

void _OKNO_::Cm_G_PODP() {
  if (M.Pusty != 0 || M.nn <= 0 || M.j_grupa != 1) return;
  // The supports spread over the degrees of freedom; a later entry of the
  // same degree of freedom overrides an earlier one.
  PodporyStopni t = rozloz_podpory(M);

  ustaw(danewy.i, "GRP");
  ustaw(danewy.nu, "GRP");
  ustaw(danewy.x, "0.0");
  ustaw(danewy.y, "0.0");
  danewy.chx = danewy.chy = 1;
  ::Formularz f = uklad_D_DANE_WYM(danewy);
  if (P.Formularz(f) == IDOK) {
    const float ux = static_cast<float>(atof_pola(danewy.x.t)), uy = static_cast<float>(atof_pola(danewy.y.t));
    for (int b : wezly_grupy(M)) {
      const auto dx = static_cast<std::size_t>(2 * b - 1), dy = static_cast<std::size_t>(2 * b);
      t.jest[dx] = danewy.chx ? 1 : 0;
      t.u[dx] = danewy.chx ? ux : 0.0f;
      t.jest[dy] = danewy.chy ? 1 : 0;
      t.u[dy] = danewy.chy ? uy : 0.0f;
    }
  }

  // Whatever the form's answer: the list is rebuilt sorted by degree of
  // freedom, the group dropped and the results invalidated.
  M.Pusty = 1;
  zloz_podpory(M, t);
  M.Pusty = 0;
  PoZmianie({.nazwa = "Zadaj podpory", .bez_grupy = true});
}

void _OKNO_::Cm_G_SILA() {
  if (M.Pusty != 0 || M.nn <= 0 || M.j_grupa != 1) return;
  ustaw(danes.i, "GRP");
  ustaw(danes.nr, "GRP");
  ustaw(danes.fx, "0.0");
  ustaw(danes.fy, "0.0");
  ::Formularz f = uklad_D_DANE_SIL(danes);
  if (P.Formularz(f) != IDOK) return;
  const float fx = static_cast<float>(atof_pola(danes.fx.t)), fy = static_cast<float>(atof_pola(danes.fy.t));
  // The entered values replace the nodes' forces.
  for (int b : wezly_grupy(M)) {
    M.si[2 * b - 1] = M.f[2 * b - 1] = fx;
    M.si[2 * b] = M.f[2 * b] = fy;
  }
  PoZmianie({.nazwa = "Zadaj siły", .bez_grupy = true});
}
