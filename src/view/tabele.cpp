#include "app/okno.h"

void _OKNO_::Cm_Dane() {}
void _OKNO_::Cm_Wyniki() {}
