// The model wizard: a whole new model entered form by form, from the
// counts to the forces.
#include <vector>

#include "analysis/materialy.h"
#include "app/formy.h"
#include "app/liczby.h"
#include "app/okno.h"
#include "mesh/formy_siatki.h"
#include "model/przebuduj.h"

using formy::blad;

namespace {
// Every material of the wizard starts as this one-interval curve: a
// straight line with the nominal modulus, so that the model can be
// analysed and saved as soon as the wizard ends.
constexpr float kModulNominalny = 200000.0f;
constexpr float kGranica = 300.0f;
constexpr float kPoisson = 0.3f;
}  // namespace

void _OKNO_::Cm_kreator() {
  if (!MoznaPorzucic("Utworzyć nowe dane ?")) return;
  if (M.Pusty == 0) Zwol_pam();
  if (M.Pusty != 1) return;

  // --- counts -----------------------------------------------------------------------------
  ustaw(dane.ne, "%d", 2);
  ustaw(dane.nn, "%d", 4);
  ustaw(dane.nd, "%d", 4);
  ustaw(dane.nl, "%d", 1);
  ustaw(dane.nm, "%d", 1);
  ustaw(dane.th, "%3.2f", 1.0);
  {
    ::Formularz f = uklad_D_DANE_PODS(dane);
    if (P.Formularz(f) != IDOK) {
      P.Odswiez();
      return;
    }
  }
  const int ne = atoi_pola(dane.ne.t), nn = atoi_pola(dane.nn.t), nd_t = atoi_pola(dane.nd.t);
  const int nl = atoi_pola(dane.nl.t), nm = atoi_pola(dane.nm.t);
  const auto th = static_cast<float>(atof_pola(dane.th.t));
  if (ne < 2) blad(P, "Zbyt mała liczba elementów");
  if (ne < 2 || nn < 3 || nl < 1 || nd_t < 1 || !(th > 0) || nm < 1) {
    P.Odswiez();
    return;
  }
  if (ne > kMaksElementow || nn > kMaksWezlow || nm > kMaksMaterialow) {
    blad(P, ne > kMaksElementow ? "Zbyt duża liczba elementów"
            : nn > kMaksWezlow  ? "Zbyt duża liczba węzłów"
                                : "Zbyt duża liczba materiałów");
    P.Odswiez();
    return;
  }

  M.nl = nl;
  M.th = th;
  M.nbw = 0;
  dodaj_wezly(M, nn);
  dodaj_elementy(M, ne);
  zmien_szerokosc_materialow(M, std::max(M.maxpr, 1));
  dodaj_materialy(M, nm);
  przydziel_robocze(M);
  for (int e = 1; e <= ne; ++e) {
    M.noc[e][1] = M.noc[e][2] = M.noc[e][3] = 1;
    M.mat[e] = 1;
  }
  // Cancel anywhere throws the half-built model away.
  auto porzuc = [this] {
    zwolnij_tablice(M);
    M.Pusty = 1;
    M.obliczono = 0;
    P.Odswiez();
  };

  // --- elements ----------------------------------------------------------------------------
  for (int i = 1; i <= ne; ++i)
    for (;;) {
      pokaz_element(danep, M, i);
      ::Formularz f = uklad_D_DANE_PRZ(danep);
      if (P.Formularz(f) != IDOK) return porzuc();
      Trojkat t;
      if (sprawdz_element(P, danep, nn, nm, true, t)) {
        zapisz_element(M, i, t);
        break;
      }
    }

  for (int k = 1; k <= nn; ++k) M.x[k][1] = M.x[k][2] = 0.0f;
  for (int m = 1; m <= nm; ++m) {
    M.pm[m][1] = kModulNominalny;
    M.pm[m][2] = kPoisson;
    M.Prz[m] = 1;
    M.Ez[m][1] = M.pm[m][1];
    M.Sprz[m][1] = kGranica;
  }

  // --- nodes -----------------------------------------------------------------------------------
  for (int i = 1; i <= nn; ++i)
    for (;;) {
      ustaw(danew.i, "%d", i);
      ustaw_wartosc(danew.x, "%3.4f", static_cast<double>(M.x[i][1]));
      ustaw_wartosc(danew.y, "%3.4f", static_cast<double>(M.x[i][2]));
      ::Formularz f = uklad_D_DANE_WSP(danew);
      if (P.Formularz(f) != IDOK) return porzuc();
      float x, y;
      if (sprawdz_wezel(P, danew, x, y)) {
        M.x[i][1] = x;
        M.x[i][2] = y;
        break;
      }
    }

  // --- materials -------------------------------------------------------------------------------
  for (int i = 1; i <= nm; ++i)
    for (;;) {
      ustaw(danemat.i, "%d", i);
      ustaw_wartosc(danemat.pois, "%2.5f", static_cast<double>(M.pm[i][2]));
      ::Formularz f = uklad_D_DANE_MAT(danemat);
      if (P.Formularz(f) != IDOK) return porzuc();
      const auto pois = static_cast<float>(atof_pola(danemat.pois.t));
      if (pois < 0) blad(P, "Wsp. Poissona <=0");
      if (pois > 0) {
        M.pm[i][2] = pois;
        break;
      }
    }

  // --- supports, in the order entered ------------------------------------------------------
  // The lists grow with the answers, so a node may be entered any number
  // of times without running past their end.
  std::vector<int> nu_t;
  std::vector<float> u_t;
  for (int i = 1; i <= nd_t; ++i)
    for (;;) {
      ustaw(danewy.i, "%d", i);
      ustaw(danewy.nu, "0");
      ustaw(danewy.x, "0.0");
      ustaw(danewy.y, "0.0");
      danewy.chx = danewy.chy = 0;
      ::Formularz f = uklad_D_DANE_WYM(danewy);
      if (P.Formularz(f) != IDOK) return porzuc();
      const int k = sprawdz_podpore(P, danewy, M.nq, nn);
      if (k) {
        if (danewy.chx) {
          nu_t.push_back(2 * k - 1);
          u_t.push_back(static_cast<float>(atof_pola(danewy.x.t)));
        }
        if (danewy.chy) {
          nu_t.push_back(2 * k);
          u_t.push_back(static_cast<float>(atof_pola(danewy.y.t)));
        }
        break;
      }
    }
  const int j0 = dodaj_podpory(M, static_cast<int>(nu_t.size()));
  for (std::size_t j = 0; j < nu_t.size(); ++j) {
    M.nu[j0 + static_cast<int>(j)] = nu_t[j];
    M.u[j0 + static_cast<int>(j)] = u_t[j];
  }

  // --- forces ----------------------------------------------------------------------------------
  for (int i = 1; i <= M.nq; ++i) M.si[i] = M.f[i] = 0.0f;
  for (int i = 1; i <= nl; ++i)
    for (;;) {
      ustaw(danes.i, "%d", i);
      ustaw(danes.nr, "0");
      ustaw(danes.fx, "0.0");
      ustaw(danes.fy, "0.0");
      ::Formularz f = uklad_D_DANE_SIL(danes);
      if (P.Formularz(f) != IDOK) return porzuc();
      const int k = sprawdz_sile(P, danes, nn);
      if (k > 0) {
        M.f[2 * k - 1] = M.si[2 * k - 1] = static_cast<float>(atof_pola(danes.fx.t));
        M.f[2 * k] = M.si[2 * k] = static_cast<float>(atof_pola(danes.fy.t));
        break;
      }
    }

  M.Pusty = 0;
  // A plot left from the previous model must not name a missing material.
  if (nrma > M.nm) {
    SHOWGRAPH = 0;
    nrma = 1;
  }
  // A finished wizard is a new model: nothing to undo, nothing unsaved.
  NowaHistoria(true);
  PoZmianie({.przelicz = true});
}
