// The results report: a tab-separated text that a spreadsheet takes, in
// code page 1250 with CR LF line ends, with the model's counts, the nodal
// displacements, the element and nodal stresses and the support reactions.
#pragma once

#include <string>

#include "model/model.h"

// The number of degrees of freedom with a non-zero force.
int policz_sily(const Model& m);

// A real number as the report writes it: "%g" (6 significant digits) in
// the C locale, whatever the process locale is.
std::string liczba_raportu(float v);

// The whole report in UTF-8 with CR LF line ends: `plik` is the path shown
// on the "Plik :" line, `nl` the force count written.
std::string tekst_raportu(const Model& m, const std::string& plik, int nl);

// UTF-8 to code page 1250; characters the code page lacks (and bytes that
// are not UTF-8) become '?'.
std::string na_cp1250(const std::string& utf8);
