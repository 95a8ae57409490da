// Adding, changing and deleting a single triangular element.
#include "app/okno.h"
#include "edit/formy.h"
#include "edit/wspolne.h"
#include "model/przebuduj.h"

using edycja::zamknij_tabele;

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

    M.obliczono = 0;
    M.Pusty = 1;
    zapisz_element(M, dodaj_elementy(M, 1), t);
    zamknij_tabele(*this);
    M.Pusty = 0;
    M.obliczono = 0;
    if (a_licz == 1) Obliczenia();
    P.Odswiez();
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
        zamknij_tabele(*this);
        M.Pusty = 0;
        M.obliczono = 0;
        if (a_licz == 1) Obliczenia();
      }
    }
  }
  P.Odswiez();
}

void _OKNO_::Cm_u_ele() {
  if (M.Pusty) return;
  const int e = PodajNumer("Podaj numer elementu :");
  const std::string pytanie = edycja::tekst("Usunąć element %d ?", e);
  if (e < 1 || e > M.ne || !edycja::pytanie(P, pytanie, "Usuwanie elementu")) return;

  M.obliczono = 0;
  M.Pusty = 1;
  usun_elementy(M, maska(M.ne, {e}));
  zwolnij_grupe(M);
  zamknij_tabele(*this);
  M.Pusty = 0;
  M.obliczono = 0;
  if (a_licz == 1) Obliczenia();
  P.Odswiez();
}
