#include "app/okno.h"

void _OKNO_::Pasek_kol() {}
void _OKNO_::Cm_u_graf() {}
