// Layouts of the editing forms, bound to their field records.
#pragma once

#include "app/formularz.h"
#include "app/rekordy.h"

// "Wymuszone przesuniecia" (3030): the restraints of one node or of a group.
::Formularz uklad_D_DANE_WYM(d_wymusz& r);
// "Obciążenie węzłów siłami" (3040): the forces of one node or of a group.
::Formularz uklad_D_DANE_SIL(d_sily& r);
