// The form of the analysis limits and the convergence log line.
#pragma once

#include <string>

#include "app/formularz.h"
#include "app/platform.h"
#include "app/rekordy.h"

// "Dane obliczeń" (3200): the step limit (digits only) and the maximum error
// in percent, in one framed group.
::Formularz uklad_D_DANE_OBL(d_dane_obl& r);

// One line of the convergence log, "%d %f\n" of the step counter and the
// change in percent, independent of the process locale.
std::string linia_logu(int krok, double dumax);

// The progress window of the analysis: the step under way out of the limit,
// the last change of the displacements next to the limit, the time so far,
// the bar (steps completed) and the button "Przerwij".
Postep postep_obliczen(int ukonczone, int lprz, bool ze_zmiana, double dumax, float epsdR, double sekundy);
