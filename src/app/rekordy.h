// Field records of the forms: plain structures of text buffers and
// check-box states, exchanged with the forms by the platform.  The names are
// those of the forms' transfer records.
#pragma once

#include "app/formularz.h"

struct d_nr {          // number entry (3100)
  Pole i, nap;
};
struct d_wsp {         // node (3020)
  Pole i, x, y;
};
struct d_dane_przek {  // element (3010)
  Pole ee, w1, w2, w3, mat;
};
struct d_wymusz {      // support (3030)
  Pole i, nu, x, y;
  int chx = 0, chy = 0;
};
struct d_sily {        // forces (3040)
  Pole i, nr, fx, fy;
};
struct da_grubosc {    // thickness (3160)
  Pole gr;
};
struct d_dane_Y_P {    // material (3190)
  Pole nr, lpr, pois;
};
struct d_dane_Y {      // modulus interval (3180)
  Pole nr, nrp, lpr, e, sim;
};
struct d_mat {         // wizard material (3050); e has an edit limit of 15
  Pole i, e, pois;
};
struct d_dane_mac {    // rectangle generator (3150)
  Pole px, py, dx, dy, ix, iy, ma;
  int opt = 0, p4 = 0;
};
struct d_dane_pods {   // wizard counts (3000)
  Pole ne, nn, nd, nl, nm, th;
};
struct d_dane_obl {    // analysis limits (3200)
  Pole ik, pocz;
};
struct d_dane_graf {   // settings (3110)
  Pole iizo;
  int ladne = 0, przelicz = 0;
  int metoda = 0;  // index in the list: automatycznie, pasmowa, rzadka
};
struct d_dane_prz {    // move the group (3130)
  Pole px, py;
};
struct d_dane_kop {    // copy the group (3120)
  Pole px, py;
  int wezly = 0, elementy = 0, sily = 0, podpory = 0;
};
struct d_dane_doom {   // delete the group (3140)
  Pole we, el, po, si;
  int kw = 1, ke = 1, kp = 1, ks = 1;
};
struct d_rysunek {     // save the picture (3410)
  Pole rozmiar;
  int podwojny = 0;
};
