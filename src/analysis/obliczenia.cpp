#include "app/okno.h"

void _OKNO_::Cm_ODSWIEZ() {}
void _OKNO_::Obliczenia() {}
