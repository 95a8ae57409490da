#include "app/okno.h"

void _OKNO_::Cm_d_mat() {}
void _OKNO_::Cm_z_mat() {}
void _OKNO_::Cm_u_mat() {}
void _OKNO_::Cm_CHARAK() {}
