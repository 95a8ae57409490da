#include "edit/formy.h"

::Formularz uklad_D_DANE_WYM(d_wymusz& r) {
  ::Formularz f;
  f.zasob = 3030;
  f.tytul = "Wymuszone przesuniecia";
  f.edycja(8004, "Numer podpory", "i", &r.i, -1, true, true, true);
  f.edycja(8500, "Numer węzła", "nu", &r.nu, -1, true);
  const int g1 = f.ramka("Maksymalne przemieszczenie");
  f.edycja(8501, "w kierunku X", "x", &r.x, g1);
  f.edycja(8502, "w kierunku Y", "y", &r.y, g1);
  const int g2 = f.ramka("Utwierdzenie");
  f.wybor(8600, "w kierunku X", "chx", &r.chx, g2);
  f.wybor(8610, "w kierunku Y", "chy", &r.chy, g2);
  return f;
}

::Formularz uklad_D_DANE_SIL(d_sily& r) {
  ::Formularz f;
  f.zasob = 3040;
  f.tytul = "Obciążenie węzłów siłami";
  f.edycja(8004, "Numer kolejny węzła z siłą", "i", &r.i, -1, true, true, true);
  f.edycja(8500, "Numer węzła", "nr", &r.nr, -1, true);
  f.edycja(8501, "Wartość siły w kierunku X", "fx", &r.fx);
  f.edycja(8502, "Wartość siły w kierunku Y", "fy", &r.fy);
  return f;
}
