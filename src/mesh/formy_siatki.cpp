#include "mesh/formy_siatki.h"

::Formularz uklad_D_DANE_MACELE(d_dane_mac& r) {
  ::Formularz f;
  f.zasob = 3150;
  f.tytul = "Macierz elementów";
  const int g1 = f.ramka("Punkt początkowy obszaru");
  f.edycja(8500, "x", "px", &r.px, g1, false, false, true);
  f.edycja(8501, "y", "py", &r.py, g1, false, false, true);
  const int g2 = f.ramka("Wymiary obszaru");
  f.edycja(8502, "x", "dx", &r.dx, g2, false, false, true);
  f.edycja(8503, "y", "dy", &r.dy, g2, false, false, true);
  const int g3 = f.ramka("Liczba składowych prostokątów");
  f.edycja(8507, "w osi x", "ix", &r.ix, g3);
  f.edycja(8506, "w osi y", "iy", &r.iy, g3);
  f.edycja(8505, "Numer materiału", "ma", &r.ma);
  const int g4 = f.ramka("");
  f.wybor(8600, "Optymalizacja lokalna węzłów", "opt", &r.opt, g4);
  f.wybor(8610, "Podział na 4 elementy", "p4", &r.p4, g4);
  return f;
}

::Formularz uklad_D_DANE_PODS(d_dane_pods& r) {
  ::Formularz f;
  f.zasob = 3000;
  f.tytul = "Dane podstawowe";
  f.edycja(3001, "Ilość elementów", "ne", &r.ne, -1, true);
  f.edycja(3002, "Ilość węzłów", "nn", &r.nn, -1, true);
  f.edycja(3003, "Ilość utwierdzonych węzłów", "nd", &r.nd, -1, true);
  f.edycja(3004, "Ilość sił obciążających", "nl", &r.nl);
  f.edycja(3005, "Ilość materiałów", "nm", &r.nm);
  f.edycja(3006, "Grubość tarczy", "th", &r.th);
  return f;
}
