// Layouts of the forms of the rectangle generator and of the wizard.
#pragma once

#include "app/formularz.h"
#include "app/rekordy.h"

// "Macierz elementów" (3150): the rectangle, its division and material.
::Formularz uklad_D_DANE_MACELE(d_dane_mac& r);
// "Dane podstawowe" (3000): the counts of a new model.
::Formularz uklad_D_DANE_PODS(d_dane_pods& r);
