// The form of the analysis limits and the convergence log line.
#pragma once

#include <string>

#include "app/formularz.h"
#include "app/rekordy.h"

// "Dane obliczeń" (3200): the step limit (digits only) and the maximum error
// in percent, in one framed group.
::Formularz uklad_D_DANE_OBL(d_dane_obl& r);

// One line of the convergence log, "%d %f\n" of the step counter and the
// change in percent, independent of the process locale.
std::string linia_logu(int krok, double dumax);
