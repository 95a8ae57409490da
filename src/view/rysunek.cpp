#include "app/okno.h"

void _OKNO_::Paint(Canvas&) {}
float _OKNO_::sciezx(int) const { return 0.0f; }
float _OKNO_::sciezy(int) const { return 0.0f; }
