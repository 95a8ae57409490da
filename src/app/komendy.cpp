#include "app/komendy.h"

#include "app/okno.h"

namespace {

bool model(const _OKNO_& o) { return o.M.Pusty != 1; }
bool wyniki(const _OKNO_& o) { return model(o) && o.M.obliczono != 0; }
bool brak_modelu(const _OKNO_& o) { return o.M.Pusty != 0; }
bool el_mozna(const _OKNO_& o) { return model(o) && o.M.nm >= 1 && o.M.nn >= 3; }
bool nn1(const _OKNO_& o) { return model(o) && o.M.nn >= 1; }
bool nm1(const _OKNO_& o) { return model(o) && o.M.nm >= 1; }
bool nd1(const _OKNO_& o) { return model(o) && o.M.nd >= 1; }
bool ne1(const _OKNO_& o) { return model(o) && o.M.ne >= 1; }
bool grupa(const _OKNO_& o) { return model(o) && o.M.nn >= 1 && o.M.j_grupa != 0; }
bool charak(const _OKNO_& o) { return model(o) && o.M.nm != 0; }
bool cofnij(const _OKNO_& o) { return o.historia.MoznaCofnac(); }
bool ponow(const _OKNO_& o) { return o.historia.MoznaPonowic(); }

// "&Cofnij: Usuń węzeł": the entries name the step they would take back or
// repeat.
std::string opis_cofnij(const _OKNO_& o) {
  return o.historia.MoznaCofnac() ? "&Cofnij: " + o.historia.DoCofniecia() : "&Cofnij";
}
std::string opis_ponow(const _OKNO_& o) {
  return o.historia.MoznaPonowic() ? "&Ponów: " + o.historia.DoPonowienia() : "&Ponów";
}

// The recent files: "&1 /home/ala/tarcza.SKD", shown only while there is one.
template <int N>
bool ostatni(const _OKNO_& o) {
  return static_cast<int>(o.ostatnie.size()) >= N;
}
template <int N>
std::string opis_ostatni(const _OKNO_& o) {
  if (!ostatni<N>(o)) return {};
  std::string t = "&" + std::to_string(N) + " ";
  for (char c : o.ostatnie[N - 1]) {
    if (c == '&') t += '&';  // a literal '&', not a mnemonic
    t += c;
  }
  return t;
}
bool grupy_siatki(const _OKNO_& o) { return model(o) && o.M.nn >= 1 && !o.grupy_siatki.empty(); }

bool ch_graph(const _OKNO_& o) { return o.SHOWGRAPH != 0; }
bool ch_n1(const _OKNO_& o) { return o.p_napr == 1 && o.p_rn == 1; }
bool ch_n2(const _OKNO_& o) { return o.p_napr == 1 && o.p_rn == 2; }
bool ch_n3(const _OKNO_& o) { return o.p_napr == 1 && o.p_rn == 3; }
bool ch_n4(const _OKNO_& o) { return o.p_napr == 1 && o.p_rn == 4; }
bool ch_siatka(const _OKNO_& o) { return o.p_siatka == 1; }
bool ch_pola(const _OKNO_& o) { return o.p_n_pola == 1; }
bool ch_ele(const _OKNO_& o) { return o.p_n_ele == 1; }
bool ch_mat(const _OKNO_& o) { return o.p_n_mat == 1; }
bool ch_wez(const _OKNO_& o) { return o.p_wez == 1; }
bool ch_nwez(const _OKNO_& o) { return o.p_n_wezl == 1; }
bool ch_podp(const _OKNO_& o) { return o.p_podp == 1; }
bool ch_sily(const _OKNO_& o) { return o.p_sily == 1; }

}  // namespace

const std::vector<const char*>& menu_popupy() {
  static const std::vector<const char*> p = {"&Plik",  "&Edycja",     "&Dodaj", "&Zmień",      "&Usuń",
                                             "&Grupa", "&Obliczenia", "&Widok", "Us&tawienia", "P&omoc"};
  return p;
}

const std::vector<Komenda>& tablica_komend() {
  static const std::vector<Komenda> t = {
      {1070, "&Plik", "&Nowy", &_OKNO_::Cm_Nowy, nullptr, nullptr, false},
      {1020, "&Plik", "&Otwórz", &_OKNO_::Cm_Otworz, nullptr, nullptr, false},
      {52140, "&Plik", "&Importuj siatkę…", &_OKNO_::Cm_Importuj, nullptr, nullptr, false},
      {1060, "&Plik", "Zapisz &Jako", &_OKNO_::Cm_Zapisz, model, nullptr, false},
      {51703, "&Plik", "Z&amknij", &_OKNO_::Cm_zamknij, model, nullptr, true},
      {51702, "&Plik", "Zapisz &wyniki do pliku ", &_OKNO_::Cm_zap_wyn, wyniki, nullptr, false},
      {51760, "&Plik", "Eksportuj do &ParaView…", &_OKNO_::Cm_eksport_vtu, model, nullptr, false},
      {51761, "&Plik", "Zapisz &rysunek…", &_OKNO_::Cm_zapisz_rysunek, model, nullptr, true},
      {51695, "&Plik", "&Kreator", &_OKNO_::Cm_kreator, brak_modelu, nullptr, true},
      {51731, "&Plik", "", &_OKNO_::Cm_ostatni<1>, ostatni<1>, nullptr, false, nullptr, opis_ostatni<1>, ostatni<1>},
      {51732, "&Plik", "", &_OKNO_::Cm_ostatni<2>, ostatni<2>, nullptr, false, nullptr, opis_ostatni<2>, ostatni<2>},
      {51733, "&Plik", "", &_OKNO_::Cm_ostatni<3>, ostatni<3>, nullptr, false, nullptr, opis_ostatni<3>, ostatni<3>},
      {51734, "&Plik", "", &_OKNO_::Cm_ostatni<4>, ostatni<4>, nullptr, true, nullptr, opis_ostatni<4>, ostatni<4>},
      {1040, "&Plik", "&Koniec", &_OKNO_::Cm_Koniec, nullptr, nullptr, false},

      {51720, "&Edycja", "&Cofnij", &_OKNO_::Cm_Cofnij, cofnij, nullptr, false, "Ctrl+Z", opis_cofnij},
      {51721, "&Edycja", "&Ponów", &_OKNO_::Cm_Ponow, ponow, nullptr, false, "Ctrl+Y;Ctrl+Shift+Z", opis_ponow},

      {51688, "&Dodaj", "&Węzeł", &_OKNO_::Cm_d_wez, model, nullptr, false},
      {51686, "&Dodaj", "&Materiał", &_OKNO_::Cm_d_mat, model, nullptr, false},
      {51687, "&Dodaj", "&Element", &_OKNO_::Cm_d_ele, el_mozna, nullptr, false},
      {51685, "&Dodaj", "&Siłę", &_OKNO_::Cm_d_sile, nn1, nullptr, false},
      {51684, "&Dodaj", "&Podporę", &_OKNO_::Cm_d_podp, nn1, nullptr, true},
      {51700, "&Dodaj", "Prostokąt", &_OKNO_::Cm_prost, nm1, nullptr, false},

      {1191, "&Zmień", "&Węzeł", &_OKNO_::Cm_z_wez, nn1, nullptr, false},
      {1150, "&Zmień", "&Materiał", &_OKNO_::Cm_z_mat, nm1, nullptr, false},
      {1170, "&Zmień", "&Element", &_OKNO_::Cm_z_pret, model, nullptr, false},
      {51682, "&Zmień", "&Siłę", &_OKNO_::Cm_z_sily, nn1, nullptr, false},
      {51683, "&Zmień", "&Podporę", &_OKNO_::Cm_z_podp, nd1, nullptr, false},
      {51701, "&Zmień", "&Grubość tarczy", &_OKNO_::Cm_z_grubosc, model, nullptr, false},

      {51689, "&Usuń", "&Węzeł", &_OKNO_::Cm_u_wez, nn1, nullptr, false},
      {51692, "&Usuń", "&Materiał", &_OKNO_::Cm_u_mat, nm1, nullptr, false},
      {51691, "&Usuń", "&Element", &_OKNO_::Cm_u_ele, ne1, nullptr, false},
      {51690, "&Usuń", "&Siłę", &_OKNO_::Cm_u_sile, nn1, nullptr, false},
      {51693, "&Usuń", "&Podporę", &_OKNO_::Cm_u_podp, nd1, nullptr, false},

      {51698, "&Grupa", "&Przesuń", &_OKNO_::Cm_Grupa_prz, grupa, nullptr, false},
      {51697, "&Grupa", "&Kopiuj z przesunięciem", &_OKNO_::Cm_Grupa_kop_prz, grupa, nullptr, false},
      {51699, "&Grupa", "&Usuń", &_OKNO_::Cm_Grupa_doom, grupa, nullptr, false},
      {51707, "&Grupa", "Zadaj p&odpory", &_OKNO_::Cm_G_PODP, grupa, nullptr, false},
      {51709, "&Grupa", "Zadaj &siły", &_OKNO_::Cm_G_SILA, grupa, nullptr, false},
      {52141, "&Grupa", "&Zaznacz grupę z siatki…", &_OKNO_::Cm_grupa_siatki, grupy_siatki, nullptr, false},

      {1010, "&Obliczenia", "&Oblicz", &_OKNO_::Cm_ODSWIEZ, nullptr, nullptr, true},
      {1140, "&Obliczenia", "&Dane obliczeniowe", &_OKNO_::Cm_Dane, model, nullptr, false},
      {1130, "&Obliczenia", "&Wyniki obliczeń", &_OKNO_::Cm_Wyniki, wyniki, nullptr, false},

      {51706, "&Widok", "&Charakterystyka materiału", &_OKNO_::Cm_CHARAK, charak, ch_graph, true},
      {1120, "&Widok", "Naprężenia normalne w osi &X", &_OKNO_::Cm_Napr1, wyniki, ch_n1, false},
      {1121, "&Widok", "Naprężenia normalne w osi &Y", &_OKNO_::Cm_Napr2, wyniki, ch_n2, false},
      {1122, "&Widok", "Naprężenia ś&cinające", &_OKNO_::Cm_Napr3, wyniki, ch_n3, false},
      {1123, "&Widok", "&Naprężenia wg Hubera", &_OKNO_::Cm_Napr4, wyniki, ch_n4, true},
      {1275, "&Widok", "Siatka elementów skończonych", &_OKNO_::Cm_siatka, model, ch_siatka, false},
      {1230, "&Widok", "Przemieszczenia", &_OKNO_::Cm_n_pola, wyniki, ch_pola, true},
      {1200, "&Widok", "Numery &elmentów", &_OKNO_::Cm_n_ele, model, ch_ele, false},
      {1220, "&Widok", "Numery &materiałów", &_OKNO_::Cm_n_mat, model, ch_mat, true},
      {51694, "&Widok", "&Węzły", &_OKNO_::Cm_p_wez, model, ch_wez, false},
      {1210, "&Widok", "Numery wę&złów", &_OKNO_::Cm_n_wez, model, ch_nwez, true},
      {1250, "&Widok", "&Podpory", &_OKNO_::Cm_Podp, model, ch_podp, true},
      {1260, "&Widok", "&Siły", &_OKNO_::Cm_Sily, model, ch_sily, true},
      {51762, "&Widok", "&Kopiuj rysunek", &_OKNO_::Cm_kopiuj_rysunek, model, nullptr, false, "Ctrl+C"},

      {51696, "Us&tawienia", "&Opcje", &_OKNO_::Cm_u_graf, nullptr, nullptr, false},

      {51705, "P&omoc", "&Pomoc", &_OKNO_::Cm_POMOC, nullptr, nullptr, true},
      {1240, "P&omoc", "&O programie...", &_OKNO_::Cm_opro, nullptr, nullptr, false},
  };
  return t;
}

const Komenda* znajdz_komende(int id) {
  for (const auto& k : tablica_komend())
    if (k.id == id) return &k;
  return nullptr;
}

bool komenda_wlaczona(const _OKNO_& okno, int id) {
  const Komenda* k = znajdz_komende(id);
  return k && (!k->wlaczona || k->wlaczona(okno));
}

bool komenda_zaznaczona(const _OKNO_& okno, int id) {
  const Komenda* k = znajdz_komende(id);
  return k && k->zaznaczona && k->zaznaczona(okno);
}

std::string tekst_komendy(const _OKNO_& okno, int id) {
  const Komenda* k = znajdz_komende(id);
  if (!k) return {};
  return k->opis ? k->opis(okno) : k->tekst;
}

bool komenda_widoczna(const _OKNO_& okno, int id) {
  const Komenda* k = znajdz_komende(id);
  return k && (!k->widoczna || k->widoczna(okno));
}

bool wykonaj_komende(_OKNO_& okno, int id) {
  const Komenda* k = znajdz_komende(id);
  if (!k || !komenda_wlaczona(okno, id)) return false;
  (okno.*(k->operacja))();
  // A command may have changed the model, its results or the map under a
  // pointer that has not moved.
  okno.OdswiezWspolrzedne();
  return true;
}
