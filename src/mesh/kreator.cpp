#include "app/okno.h"

void _OKNO_::Cm_kreator() {}
