// Adding, changing and deleting a single triangular element.
#include "app/formy.h"
#include "app/okno.h"
#include "model/przebuduj.h"

void _OKNO_::Cm_d_ele() {
  if (M.Pusty || M.nn < 3 || M.nm <= 0) return;
  if (M.ne >= kMaksElementow) return;
  for (;;) {
    ustaw(danep.ee, "%d", M.ne + 1);
    ustaw(danep.w1, "0");
    ustaw(danep.w2, "0");
    ustaw(danep.w3, "0");
    ustaw(danep.mat, "1");
    ::Formularz f = uklad_D_DANE_PRZ(danep);
    if (P.Formularz(f) != IDOK) return;
    Trojkat t;
    if (!sprawdz_element(P, danep, M.nn, M.nm, false, t)) continue;  // shown again with the presets

    M.Pusty = 1;
    zapisz_element(M, dodaj_elementy(M, 1), t);
    M.Pusty = 0;
    PoZmianie({.nazwa = "Dodaj element", .przelicz = true});
    return;
  }
}

void _OKNO_::Cm_z_pret() {
  if (!M.Pusty && M.ne > 0) {
    const int e = PodajNumer("Podaj numer elementu :");
    if (e >= 1 && e <= M.ne) {
      pokaz_element(danep, M, e);
      ::Formularz f = uklad_D_DANE_PRZ(danep);
      Trojkat t;
      if (P.Formularz(f) == IDOK && sprawdz_element(P, danep, M.nn, M.nm, false, t)) {
        M.Pusty = 1;
        zapisz_element(M, e, t);
        M.Pusty = 0;
        PoZmianie({.nazwa = "Zmień element", .przelicz = true});
        return;
      }
    }
  }
  P.Odswiez();
}

void _OKNO_::Cm_u_ele() {
  if (M.Pusty) return;
  const int e = PodajNumer("Podaj numer elementu :");
  const std::string pytanie = formy::tekst("Usunąć element %d ?", e);
  if (e < 1 || e > M.ne || !formy::pytanie(P, pytanie, "Usuwanie elementu")) return;

  M.Pusty = 1;
  usun_elementy(M, maska(M.ne, {e}));
  M.Pusty = 0;
  PoZmianie({.nazwa = "Usuń element", .przelicz = true, .bez_grupy = true});
}
