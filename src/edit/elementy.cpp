#include "app/okno.h"

void _OKNO_::Cm_d_ele() {}
void _OKNO_::Cm_z_pret() {}
void _OKNO_::Cm_u_ele() {}
