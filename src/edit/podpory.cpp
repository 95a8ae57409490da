// Supports, forces and the plate thickness.
#include "app/formy.h"
#include "app/liczby.h"
#include "app/okno.h"
#include "model/przebuduj.h"

using formy::blad;

namespace {

constexpr const char* kWezel = "Podaj numer węzła :";

// The restraints of node a, edited through the support form.  The typed
// node number only has to pass the checks; the restraints always go to
// node a.  zakres is the highest typed number that passes without the
// "Zły numer węzła" box; krok names the undo step.
void edytuj_podpore(_OKNO_& o, int zakres, bool pusty_w_trakcie, const char* krok) {
  Model& M = o.M;
  const int a = o.PodajNumer(kWezel);
  if (a < 1 || a > M.nn) return;
  PodporyStopni t = rozloz_podpory(M);
  const auto sx = static_cast<std::size_t>(2 * a - 1), sy = static_cast<std::size_t>(2 * a);

  bool pierwszy = true;
  for (;;) {
    d_wymusz& r = o.danewy;
    ustaw(r.i, "%d", a);
    ustaw(r.nu, "%d", a);
    ustaw(r.x, "0.0");
    ustaw(r.y, "0.0");
    r.chx = r.chy = 0;
    // After a refused answer the form comes back with both boxes clear.
    if (pierwszy && t.jest[sx]) {
      r.chx = 1;
      ustaw_wartosc(r.x, "%1.5f", static_cast<double>(t.u[sx]));
    }
    if (pierwszy && t.jest[sy]) {
      r.chy = 1;
      ustaw_wartosc(r.y, "%1.5f", static_cast<double>(t.u[sy]));
    }
    pierwszy = false;
    ::Formularz f = uklad_D_DANE_WYM(r);
    if (o.P.Formularz(f) != IDOK) break;
    if (!sprawdz_podpore(o.P, r, zakres, M.nn)) continue;
    t.jest[sx] = r.chx ? 1 : 0;
    t.u[sx] = r.chx ? static_cast<float>(atof_pola(r.x.t)) : 0.0f;
    t.jest[sy] = r.chy ? 1 : 0;
    t.u[sy] = r.chy ? static_cast<float>(atof_pola(r.y.t)) : 0.0f;
    break;
  }

  // The list is rebuilt after "Anuluj" too: sorted, one entry per degree of
  // freedom.
  if (pusty_w_trakcie) M.Pusty = 1;
  zloz_podpory(M, t);
  if (pusty_w_trakcie) M.Pusty = 0;
  o.PoZmianie({.nazwa = krok});
}

// The forces of node a, set through the force form; the typed node number
// decides where they go.  fmt is the format of the present forces, krok
// names the undo step.
void edytuj_sile(_OKNO_& o, const char* fmt, const char* krok) {
  Model& M = o.M;
  const int a = o.PodajNumer(kWezel);
  if (a < 1 || a > M.nn) return;
  for (;;) {
    d_sily& r = o.danes;
    ustaw(r.i, "%d", a);
    ustaw(r.nr, "%d", a);
    ustaw(r.fx, "0.0");
    ustaw(r.fy, "0.0");
    if (M.si[2 * a - 1] != 0) ustaw_wartosc(r.fx, fmt, static_cast<double>(M.si[2 * a - 1]));
    if (M.si[2 * a] != 0) ustaw_wartosc(r.fy, fmt, static_cast<double>(M.si[2 * a]));
    ::Formularz f = uklad_D_DANE_SIL(r);
    if (o.P.Formularz(f) != IDOK) return;
    const int k = sprawdz_sile(o.P, r, M.nn);
    if (k <= 0) continue;
    M.f[2 * k - 1] = M.si[2 * k - 1] = static_cast<float>(atof_pola(r.fx.t));
    M.f[2 * k] = M.si[2 * k] = static_cast<float>(atof_pola(r.fy.t));
    o.PoZmianie({.nazwa = krok});
    return;
  }
}

}  // namespace

void _OKNO_::Cm_d_podp() {
  if (M.Pusty || M.nn < 1) return;
  edytuj_podpore(*this, M.nn, true, "Dodaj podporę");
}

void _OKNO_::Cm_z_podp() {
  if (M.Pusty || M.nd < 1) return;
  edytuj_podpore(*this, M.nq, false, "Zmień podporę");
}

void _OKNO_::Cm_u_podp() {
  if (M.Pusty || M.nd < 1) return;
  const int a = PodajNumer(kWezel);
  const std::string pytanie = formy::tekst("Usunąć podpore w węźle %d ?", a);
  // The last entry of each direction (the wizard may list a degree of
  // freedom twice).
  int uex = 0, uey = 0;
  for (int j = 1; j <= M.nd; ++j) {
    if (M.nu[j] == 2LL * a - 1) uex = j;
    if (M.nu[j] == 2LL * a) uey = j;
  }
  if (!uex && !uey) {
    blad(P, "W tym węźle nie ma podpory !", "Usuwanie podpory");
    return;
  }
  if (a < 1 || a > M.nn || !formy::pytanie(P, pytanie, "Usuwanie podpory")) return;

  M.Pusty = 1;
  usun_podpory(M, maska(M.nd, {uex, uey}));
  M.Pusty = 0;
  PoZmianie({.nazwa = "Usuń podporę", .przelicz = true, .bez_grupy = true});
}

void _OKNO_::Cm_d_sile() {
  if (M.Pusty || M.nn < 1) return;
  edytuj_sile(*this, "%5.1f", "Dodaj siłę");
}

void _OKNO_::Cm_z_sily() {
  if (M.Pusty || M.nn < 1) return;
  edytuj_sile(*this, "%6f", "Zmień siłę");
}

void _OKNO_::Cm_u_sile() {
  if (M.Pusty || M.nn < 1) return;
  const int a = PodajNumer(kWezel);
  const std::string pytanie = formy::tekst("Usunąć siły w węźle %d ?", a);
  if (a < 1 || a > M.nn) return;
  if (M.si[2 * a] == 0 && M.si[2 * a - 1] == 0) {
    blad(P, "W tym węźle nie ma sił !", "Usuwanie sił");
    return;
  }
  if (!formy::pytanie(P, pytanie, "Usuwanie sił")) return;

  M.Pusty = 1;
  M.si[2 * a] = M.si[2 * a - 1] = 0.0f;
  M.f[2 * a] = M.f[2 * a - 1] = 0.0f;
  M.Pusty = 0;
  PoZmianie({.nazwa = "Usuń siłę", .przelicz = true, .bez_grupy = true});
}

void _OKNO_::Cm_z_grubosc() {
  if (M.Pusty) return;
  da_grubosc r;
  ustaw_wartosc(r.gr, "%f", static_cast<double>(M.th));
  ::Formularz f = uklad_D_DANE_GRUBOSC(r);
  if (P.Formularz(f) == IDOK) {
    // Compared as it will be stored: a tiny positive text may round to 0.
    const auto th = static_cast<float>(atof_pola(r.gr.t));
    if (th > 0) {
      M.th = th;
      // The data table stays; the results no longer belong to the model.
      PoZmianie({.nazwa = "Zmień grubość tarczy", .tabele = Tabele::Wyniki});
      return;
    }
    blad(P, "Grubość musi mieć wartość dodatnią", "Zmiana grubości");
  }
  P.Odswiez();
}
