// Adding, changing and deleting a single node.
#include "app/formy.h"
#include "app/okno.h"
#include "model/przebuduj.h"

using formy::blad;

void _OKNO_::Cm_d_wez() {
  if (M.Pusty) return;
  if (M.nn >= kMaksWezlow) return;
  for (;;) {
    ustaw(danew.i, "%d", M.nn + 1);
    ustaw(danew.x, "%3.4f", 0.0);
    ustaw(danew.y, "%3.4f", 0.0);
    ::Formularz f = uklad_D_DANE_WSP(danew);
    if (P.Formularz(f) != IDOK) return;
    float x, y;
    if (!sprawdz_wezel(P, danew, x, y)) continue;  // shown again with the presets

    M.Pusty = 1;
    const int k = dodaj_wezly(M, 1);
    M.x[k][1] = x;
    M.x[k][2] = y;
    M.Pusty = 0;
    PoZmianie({.nazwa = "Dodaj węzeł", .przelicz = true});
    return;
  }
}

void _OKNO_::Cm_z_wez() {
  if (M.Pusty || M.nn <= 0) return;
  const int k = PodajNumer("Podaj numer węzła :");
  if (k < 1 || k > M.nn) return;
  for (;;) {
    ustaw(danew.i, "%d", k);
    ustaw_wartosc(danew.x, "%3.4f", static_cast<double>(M.x[k][1]));
    ustaw_wartosc(danew.y, "%3.4f", static_cast<double>(M.x[k][2]));
    ::Formularz f = uklad_D_DANE_WSP(danew);
    if (P.Formularz(f) != IDOK) return;
    float x, y;
    if (!sprawdz_wezel(P, danew, x, y)) continue;  // shown again with the stored coordinates

    M.x[k][1] = x;
    M.x[k][2] = y;
    PoZmianie({.nazwa = "Zmień węzeł", .przelicz = true});
    return;
  }
}

void _OKNO_::Cm_u_wez() {
  if (M.Pusty) return;
  const int k = PodajNumer("Podaj numer węzła :");
  const std::string pytanie = formy::tekst("Usunąć węzeł %d ?", k);
  for (int e = 1; e <= M.ne; ++e)
    for (int c = 1; c <= 3; ++c)
      if (M.noc[e][c] == k) {
        blad(P, "Nie można usunąć węzła, który jest składnikiem elementu", "Usuwanie węzła");
        return;
      }
  for (int j = 1; j <= M.nd; ++j)
    if (M.nu[j] == 2LL * k - 1 || M.nu[j] == 2LL * k) {
      blad(P, "Nie można usunąć węzła, który jest podparty", "Usuwanie węzła");
      return;
    }
  if (k < 1 || k > M.nn) return;
  if (!formy::pytanie(P, pytanie, "Usuwanie węzła")) return;

  M.Pusty = 1;
  usun_wezly(M, maska(M.nn, {k}));
  M.Pusty = 0;
  PoZmianie({.nazwa = "Usuń węzeł", .przelicz = true, .bez_grupy = true});
}
