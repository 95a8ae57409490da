#include "app/okno.h"

void _OKNO_::Cm_d_podp() {}
void _OKNO_::Cm_z_podp() {}
void _OKNO_::Cm_u_podp() {}
void _OKNO_::Cm_d_sile() {}
void _OKNO_::Cm_z_sily() {}
void _OKNO_::Cm_u_sile() {}
void _OKNO_::Cm_z_grubosc() {}
