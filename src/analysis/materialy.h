// Materials: the forms of a material and of its modulus intervals, and the
// checks of their answers.  The commands themselves are operations of the
// main window (Cm_d_mat, Cm_z_mat, Cm_u_mat, Cm_CHARAK).
#pragma once

#include "app/formularz.h"
#include "app/platform.h"
#include "app/rekordy.h"

// "Zmiana m. Younga w f. naprężeń" (3190): interval count and Poisson's ratio.
::Formularz uklad_D_DANE_Y_P(d_dane_Y_P& r);
// "Zmiana modułu Younga w funkcji naprężenia" (3180): one interval.
::Formularz uklad_D_DANE_Y(d_dane_Y& r);
// "Dane materiału" (3050): the wizard's material (Poisson's ratio only;
// the record's `e` has no control and passes through).
::Formularz uklad_D_DANE_MAT(d_mat& r);

// The material form: shows the messages of its checks and tells whether the
// answer is accepted (at least one and at most kMaksPrzedzialow intervals,
// a Poisson's ratio above 0; a ratio of exactly 0 is refused silently).
bool sprawdz_material(Platform& P, const d_dane_Y_P& r, int& przedzialy, float& pois);
// The interval form: a modulus and a stress limit above 0.
bool sprawdz_przedzial(Platform& P, const d_dane_Y& r, float& e, float& sim);
