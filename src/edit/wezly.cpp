#include "app/okno.h"

void _OKNO_::Cm_d_wez() {}
void _OKNO_::Cm_z_wez() {}
void _OKNO_::Cm_u_wez() {}
