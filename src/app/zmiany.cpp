// The after-change path of the main window: what every command that changed
// the model does last.
#include "app/okno.h"

void _OKNO_::PoZmianie(const Zmiana& z) {
  switch (z.tabele) {
    case Tabele::Wszystkie:
      ZamknijTabele();
      id = iw = 0;
      break;
    case Tabele::Wyniki:
      ZamknijWyniki();
      iw = 0;
      break;
  }
  if (z.bez_grupy) zw_grp();
  M.obliczono = 0;
  if (z.przelicz && a_licz == 1 && M.Pusty == 0) Obliczenia();
  P.Odswiez();
}
