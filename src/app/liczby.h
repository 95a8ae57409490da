// Reading numbers from the text fields of forms.
//
// A field is read as its leading decimal number: leading blanks are skipped,
// an optional sign, digits (and for reals a decimal point or a decimal
// comma, more digits and an exponent), reading stops at the first character
// that does not fit, and a text without a number reads as 0.  An integer
// stops at a point or a comma alike ("1,5" and "1.5" read as 1).  The reading never depends on the
// process locale and never yields NaN or infinity: words like "nan" or
// "inf" have no digits and read as 0, and a real number that a float cannot
// hold (such as 1e99) reads as 0 too, so that the validation of the form
// sees it instead of a model receiving an infinite value.  Integers that do
// not fit an int are limited to INT_MIN..INT_MAX.
#pragma once

int atoi_pola(const char* tekst);
double atof_pola(const char* tekst);
