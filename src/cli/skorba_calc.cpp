// skorba_calc: the batch tool.  It loads a project file and runs the
// analysis through the same command code as the desktop program, with a
// console platform in place of the screen: the form "Dane obliczeń" is
// answered from the command line, message boxes go to standard error.
//
//   skorba_calc [--steps N] [--error PCT] [--report FILE] [--log FILE]
//               [--save FILE] [--vtu FILE] [--picture FILE.svg [--view V]
//               [--size WxH] [--colors stepped|continuous] [--levels N]
//               [--no-numbers]] [--solver auto|band|sparse]
//               [--no-analysis] MODEL.SKD | MESH.msh | GEOMETRY.geo
//   skorba_calc --help | --version
//
// A Gmsh mesh (.msh) or geometry (.geo, meshed by the gmsh program) is
// imported as by "Importuj siatkę…"; its summary goes to standard error.
//
// Standard output gets a short summary; a long analysis shows its progress
// on standard error when that is a terminal.  Ctrl+C stops the analysis
// after the step under way: the log and the report then hold the last
// completed step.  Exit status: 0 valid results (or the model loaded, with
// --no-analysis), 1 the analysis ended without results or was stopped, 2
// the file or the arguments were refused, 3 an output file could not be
// written.
#include <algorithm>
#include <atomic>
#include <cctype>
#include <charconv>
#include <csignal>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>

#include "app/liczby.h"
#include "app/okno.h"
#include "cli/konsola.h"
#include "model/raport.h"
#include "wersja.h"

namespace {

// Set by Ctrl+C while the analysis runs.  The handler is reset at once, so a
// second Ctrl+C ends the tool as usual.
std::atomic<bool> przerwanie{false};
static_assert(std::atomic<bool>::is_always_lock_free);
extern "C" void na_przerwanie(int) { przerwanie.store(true); }

void przechwyc_przerwanie(bool tak) {
  struct sigaction a {};
  a.sa_handler = tak ? na_przerwanie : SIG_DFL;
  a.sa_flags = tak ? SA_RESETHAND : 0;
  sigemptyset(&a.sa_mask);
  sigaction(SIGINT, &a, nullptr);
}

// The usage goes to standard output when asked for, to standard error after
// a refused argument.
int uzycie(const char* blad) {
  std::FILE* out = blad ? stderr : stdout;
  if (blad) std::fprintf(stderr, "skorba_calc: %s\n", blad);
  std::fprintf(out,
               "użycie: skorba_calc [--steps N] [--error PCT] [--report PLIK.txt] [--log PLIK]\n"
               "                    [--save PLIK.SKD] [--vtu PLIK.vtu] [--picture PLIK.svg [--view WIDOK]\n"
               "                    [--size SZERxWYS] [--colors stepped|continuous] [--levels N]\n"
               "                    [--no-numbers]] [--solver auto|band|sparse]\n"
               "                    [--no-analysis] MODEL.SKD|SIATKA.msh|GEOMETRIA.geo\n"
               "  --steps N        maksymalna liczba kroków (50)\n"
               "  --error PCT      błąd maksymalny w %% (5)\n"
               "  --report PLIK    zapisz wyniki do pliku\n"
               "  --log PLIK       przebieg iteracji zamiast DR.txt w bieżącym katalogu\n"
               "  --save PLIK      zapisz model do pliku\n"
               "  --vtu PLIK       model i wyniki dla ParaView\n"
               "  --picture PLIK   rysunek SVG widoku (po obliczeniach)\n"
               "  --view WIDOK     model, deformed, sx, sy, txy, huber lub material:N (model)\n"
               "  --size SZERxWYS  rozmiar rysunku w pikselach (1280x800)\n"
               "  --colors K       kolory map: stepped (skokowe) lub continuous (ciągłe)\n"
               "  --levels N       liczba poziomów naprężeń 1-200 (200)\n"
               "  --no-numbers     rysunek bez numerów węzłów i sił\n"
               "  --solver METODA  metoda rozwiązania: auto (automatycznie), band (pasmowa),\n"
               "                   sparse (rzadka)\n"
               "  --no-analysis    tylko wczytaj (i zapisz) model\n"
               "  -h, --help       pokaż ten opis i zakończ\n"
               "  --version        pokaż wersję programu i zakończ\n"
               "Ctrl+C przerywa obliczenia po bieżącym kroku (wyniki ostatniego ukończonego).\n"
               "kod wyjścia: 0 poprawne wyniki, 1 obliczenia bez wyników lub przerwane,\n"
               "2 odrzucony plik lub argumenty, 3 nie można zapisać pliku wyjściowego\n");
  return blad ? 2 : 0;
}

// The limits go to the form "Dane obliczeń" as a user would type them: at
// most 7 characters a field, read as the leading number.  The form would
// read a longer argument cut short, and a word, or a value beyond a float's
// range, as 0, so an argument is passed only in a text that the field reads
// as exactly the value given (the step count without leading zeros, the
// error as the shortest text of its float) and refused otherwise.
constexpr std::size_t kZnakowPola = 7;

// The text for the field "ik" of a --steps argument, or "" with the reason
// in `blad`.  A count below 1 goes to the form as 0, which refuses it with
// its own message.
std::string pole_krokow(const std::string& a, std::string& blad) {
  std::size_t i = a.empty() || (a[0] != '+' && a[0] != '-') ? 0 : 1;
  if (i == a.size() || a.find_first_not_of("0123456789", i) != std::string::npos) {
    blad = "--steps wymaga liczby całkowitej, podano \"" + a + "\"";
    return "";
  }
  i = a.find_first_not_of('0', i);
  if (i == std::string::npos || a[0] == '-') return "0";
  if (a.size() - i > kZnakowPola) {
    blad = "liczba kroków nie może być większa od 9999999";
    return "";
  }
  return a.substr(i);
}

// The text for the field "pocz" of an --error argument, or "" with the
// reason in `blad`.  A decimal comma is read as the point.  A value below 0
// that the field can hold goes to the form, which refuses it with its own
// message.
std::string pole_bledu(const std::string& a, std::string& blad) {
  std::string t = a;
  std::replace(t.begin(), t.end(), ',', '.');
  // from_chars takes no '+', but takes words such as "nan" and "inf".
  const std::size_t od = t.size() > 1 && t[0] == '+' && t[1] != '-' ? 1 : 0;
  double v = 0.0;
  const auto [koniec, ec] = std::from_chars(t.data() + od, t.data() + t.size(), v);
  if (ec == std::errc::invalid_argument || koniec != t.data() + t.size() ||
      t.find_first_not_of("+-.0123456789eE") != std::string::npos) {
    blad = "--error wymaga liczby, podano \"" + a + "\"";
    return "";
  }
  if (ec != std::errc()) {
    blad = "--error " + a + ": liczba poza zakresem";
    return "";
  }
  const float e = static_cast<float>(v);
  if (e >= 100) {
    blad = "błąd maksymalny musi być mniejszy od 100";
    return "";
  }
  char bufor[64];
  const auto [p, ec2] = std::to_chars(bufor, bufor + sizeof bufor, e);
  const std::string pole(bufor, ec2 == std::errc() ? p : bufor);
  if (std::isfinite(e) && (e != 0 || v == 0) && !pole.empty() && pole.size() <= kZnakowPola &&
      static_cast<float>(atof_pola(pole.c_str())) == e)
    return pole;
  blad = e < 0 ? "błąd maksymalny musi być większy lub równy 0"
               : "błąd maksymalny " + a + " nie daje się zapisać w 7 znakach pola formularza";
  return "";
}

// A change in percent: beyond a float's range after a wild first step.
std::string procent(double v) {
  char bufor[64];
  const auto [p, ec] = std::to_chars(bufor, bufor + sizeof bufor, v, std::chars_format::general, 6);
  return ec == std::errc() ? std::string(bufor, p) : "?";
}

std::string koniec_analizy(const _OKNO_::Przebieg& p, float epsdR) {
  switch (p.koniec) {
    case _OKNO_::Przebieg::BrakPlastycznych:
      return "bez naprężeń plastycznych (rozwiązanie liniowe)";
    case _OKNO_::Przebieg::Zbiezna:
      return "zbieżna (zmiana " + procent(p.dumax) + " % < " + liczba_raportu(epsdR) + " %)";
    case _OKNO_::Przebieg::LimitKrokow:
      return "wykorzystano maksymalną liczbę kroków (zmiana " + procent(p.dumax) + " %)";
    case _OKNO_::Przebieg::Blad:
      return "błąd obliczeń, brak wyników";
    case _OKNO_::Przebieg::Przerwana:
      return "przerwana";
    case _OKNO_::Przebieg::Anulowana:
    case _OKNO_::Przebieg::NieRozpoczeta:
      break;
  }
  return "nie wykonana";
}

void podsumowanie(const Model& m) {
  int wmax = 0, emax = 0;
  double umax = -1, hmax = -1;
  for (int k = 1; k <= m.nn; ++k) {
    const double u = std::hypot(static_cast<double>(m.f[2 * k - 1]), static_cast<double>(m.f[2 * k]));
    if (u > umax) umax = u, wmax = k;
  }
  for (int e = 1; e <= m.ne; ++e)
    if (m.napr[e][4] > hmax) hmax = m.napr[e][4], emax = e;
  if (wmax > 0)
    std::printf("największe przemieszczenie: %s w węźle %d (x %s, y %s)\n",
                liczba_raportu(static_cast<float>(umax)).c_str(), wmax, liczba_raportu(m.f[2 * wmax - 1]).c_str(),
                liczba_raportu(m.f[2 * wmax]).c_str());
  if (emax > 0)
    std::printf("największe naprężenie wg Hubera: %s w elemencie %d\n",
                liczba_raportu(static_cast<float>(hmax)).c_str(), emax);
}

// What the picture shows, from --view.
struct Widok {
  enum Rodzaj { Model, Przemieszczenia, Mapa, Material } rodzaj = Model;
  int numer = 0;  // stress component 1..4, or the material
  bool wymaga_wynikow() const { return rodzaj == Przemieszczenia || rodzaj == Mapa; }
};

bool czytaj_widok(const std::string& v, Widok& w) {
  static const char* kMapy[4] = {"sx", "sy", "txy", "huber"};
  if (v == "model") {
    w = {Widok::Model, 0};
    return true;
  }
  if (v == "deformed") {
    w = {Widok::Przemieszczenia, 0};
    return true;
  }
  for (int k = 0; k < 4; ++k)
    if (v == kMapy[k]) {
      w = {Widok::Mapa, k + 1};
      return true;
    }
  if (v.rfind("material:", 0) == 0) {
    const std::string n = v.substr(9);
    if (n.empty() || n.size() > 6 || n.find_first_not_of("0123456789") != std::string::npos) return false;
    w = {Widok::Material, std::stoi(n)};
    return w.numer >= 1;
  }
  return false;
}

// A whole number in lo..hi written with digits only.
bool liczba_calkowita(const std::string& s, int lo, int hi, int& v) {
  if (s.empty() || s.size() > 6 || s.find_first_not_of("0123456789") != std::string::npos) return false;
  v = std::stoi(s);
  return v >= lo && v <= hi;
}

bool konczy_sie_na_svg(const std::string& s) {
  if (s.size() < 4) return false;
  std::string k = s.substr(s.size() - 4);
  for (char& c : k) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return k == ".svg";
}

}  // namespace

int main(int argc, char** argv) {
  std::string model_plik, zapis, raport, log, kroki = "50", blad = "5", vtu, rysunek, widok = "model",
                            rozmiar, kolory, poziomy;
  bool analiza = true, log_podany = false, numery = true;
  MetodaRozwiazania metoda = MetodaRozwiazania::Automatyczna;
  for (int i = 1; i < argc; ++i) {
    const char* a = argv[i];
    auto wartosc = [&](std::string& cel) {
      if (++i >= argc) return false;
      cel = argv[i];
      return true;
    };
    if (!std::strcmp(a, "--save")) {
      if (!wartosc(zapis)) return uzycie("--save wymaga nazwy pliku");
    } else if (!std::strcmp(a, "--report")) {
      if (!wartosc(raport)) return uzycie("--report wymaga nazwy pliku");
    } else if (!std::strcmp(a, "--log")) {
      if (!wartosc(log)) return uzycie("--log wymaga nazwy pliku");
      log_podany = true;
    } else if (!std::strcmp(a, "--vtu")) {
      if (!wartosc(vtu) || vtu.empty()) return uzycie("--vtu wymaga nazwy pliku");
    } else if (!std::strcmp(a, "--picture")) {
      if (!wartosc(rysunek) || rysunek.empty()) return uzycie("--picture wymaga nazwy pliku");
    } else if (!std::strcmp(a, "--view")) {
      if (!wartosc(widok)) return uzycie("--view wymaga widoku");
    } else if (!std::strcmp(a, "--size")) {
      if (!wartosc(rozmiar)) return uzycie("--size wymaga rozmiaru SZERxWYS");
    } else if (!std::strcmp(a, "--colors")) {
      if (!wartosc(kolory)) return uzycie("--colors wymaga stepped lub continuous");
    } else if (!std::strcmp(a, "--levels")) {
      if (!wartosc(poziomy)) return uzycie("--levels wymaga liczby poziomów");
    } else if (!std::strcmp(a, "--steps")) {
      if (!wartosc(kroki)) return uzycie("--steps wymaga liczby kroków");
    } else if (!std::strcmp(a, "--error")) {
      if (!wartosc(blad)) return uzycie("--error wymaga wartości w procentach");
    } else if (!std::strcmp(a, "--no-numbers")) {
      numery = false;
    } else if (!std::strcmp(a, "--solver")) {
      std::string s;
      if (!wartosc(s)) return uzycie("--solver wymaga metody: auto, band lub sparse");
      if (s == "auto") metoda = MetodaRozwiazania::Automatyczna;
      else if (s == "band") metoda = MetodaRozwiazania::Pasmowa;
      else if (s == "sparse") metoda = MetodaRozwiazania::Rzadka;
      else return uzycie(("nieznana metoda rozwiązania " + s + " (auto, band lub sparse)").c_str());
    } else if (!std::strcmp(a, "--no-analysis")) {
      analiza = false;
    } else if (!std::strcmp(a, "-h") || !std::strcmp(a, "--help")) {
      return uzycie(nullptr);
    } else if (!std::strcmp(a, "--version")) {
      std::printf("skorba_calc (SKORBA N) %s\n", SKORBA_WERSJA);
      return 0;
    } else if (a[0] == '-' && a[1] != '\0') {
      return uzycie((std::string("nieznana opcja ") + a).c_str());
    } else if (model_plik.empty()) {
      model_plik = a;
    } else {
      return uzycie("podano więcej niż jeden plik modelu");
    }
  }
  if (model_plik.empty()) return uzycie("brak pliku modelu");
  if (!analiza && !raport.empty()) return uzycie("--report wymaga analizy (bez --no-analysis)");
  if (log_podany && log.empty()) return uzycie("--log wymaga nazwy pliku");
  std::string powod;
  kroki = pole_krokow(kroki, powod);
  if (kroki.empty() || (blad = pole_bledu(blad, powod)).empty()) {
    std::fprintf(stderr, "skorba_calc: %s\n", powod.c_str());
    return 2;
  }

  // The picture: SVG only, since without a window system there are no
  // fonts to set the text of a PNG with (rsvg-convert makes one from the SVG).
  Widok w;
  int szer = 1280, wys = 800, iizol = 200;
  if (!czytaj_widok(widok, w)) return uzycie(("nieznany widok " + widok).c_str());
  if (!rozmiar.empty()) {
    const auto x = rozmiar.find('x');
    if (x == std::string::npos || !liczba_calkowita(rozmiar.substr(0, x), 1, 16384, szer) ||
        !liczba_calkowita(rozmiar.substr(x + 1), 1, 16384, wys))
      return uzycie("--size: rozmiar SZERxWYS, każdy od 1 do 16384 pikseli");
  }
  if (!poziomy.empty() && !liczba_calkowita(poziomy, 1, 200, iizol))
    return uzycie("--levels: liczba poziomów od 1 do 200");
  if (!kolory.empty() && kolory != "stepped" && kolory != "continuous")
    return uzycie("--colors: stepped lub continuous");
  if (!rysunek.empty() && !konczy_sie_na_svg(rysunek))
    return uzycie("--picture zapisuje rysunek SVG (PLIK.svg); PNG daje z niego np. rsvg-convert");
  if (!analiza && !rysunek.empty() && w.wymaga_wynikow())
    return uzycie(("widok " + widok + " wymaga analizy (bez --no-analysis)").c_str());

  Model model;
  Konsola konsola;
  _OKNO_ okno(model, konsola);
  okno.metoda = metoda;
  konsola.sciezka_otwarcia = model_plik;
  // Gmsh meshes and geometries are imported, anything else is a project file.
  if (_OKNO_::JestSiatka(model_plik))
    okno.Cm_Importuj();
  else
    okno.Cm_Otworz();
  if (model.Pusty != 0) return 2;
  // From here Ctrl+C stops the analysis rather than the tool.
  if (analiza) {
    konsola.przerwanie = &przerwanie;
    przechwyc_przerwanie(true);
  }
  std::printf("węzłów %d, elementów %d, materiałów %d, podpór %d\n", model.nn, model.ne, model.nm, model.nd);
  std::fflush(stdout);

  bool zapis_nieudany = false;
  if (analiza) {
    if (log_podany) okno.plik_dr = log;
    konsola.odpowiedzi[3200] = {{"ik", kroki}, {"pocz", blad}};
    konsola.jednokrotnie = true;
    okno.Obliczenia();
    przechwyc_przerwanie(false);
    // The form refused the limits (with its messages) and opened again.
    if (okno.przebieg.formularze > 1 || okno.przebieg.koniec == _OKNO_::Przebieg::Anulowana) return 2;
    if (okno.przebieg.koniec != _OKNO_::Przebieg::NieRozpoczeta) {
      std::printf("analiza: %s, kroków %d\n",
                  koniec_analizy(okno.przebieg, static_cast<float>(atof_pola(okno.dane_obl.pocz.t))).c_str(),
                  okno.przebieg.kroki);
      std::printf("metoda rozwiązania: %s\n", nazwa_metody(okno.przebieg.metoda));
      const bool bez_krokow = okno.przebieg.koniec == _OKNO_::Przebieg::Przerwana && okno.przebieg.kroki == 0;
      if (!okno.przebieg.log_zapisany && !bez_krokow) {
        std::fprintf(stderr, "skorba_calc: nie można zapisać pliku %s\n", okno.plik_dr.c_str());
        if (log_podany) zapis_nieudany = true;
      }
    }
    if (model.obliczono == 1) podsumowanie(model);
  }

  if (!raport.empty()) {
    if (model.obliczono == 1) {
      konsola.sciezka_zapisu = raport;
      const int bledy = konsola.bledy;
      okno.Cm_zap_wyn();
      if (konsola.bledy != bledy) zapis_nieudany = true;
    } else {
      std::fprintf(stderr, "skorba_calc: brak wyników, nie zapisano %s\n", raport.c_str());
    }
  }
  if (!vtu.empty()) {
    konsola.sciezka_zapisu = vtu;
    const int bledy = konsola.bledy;
    okno.Cm_eksport_vtu();
    if (konsola.bledy != bledy) zapis_nieudany = true;
  }
  if (!rysunek.empty()) {
    if (w.rodzaj == Widok::Material && w.numer > model.nm) {
      std::fprintf(stderr, "skorba_calc: model nie ma materiału %d\n", w.numer);
      return 2;
    }
    if (w.wymaga_wynikow() && model.obliczono != 1) {
      std::fprintf(stderr, "skorba_calc: brak wyników, nie zapisano %s\n", rysunek.c_str());
    } else {
      okno.p_n_pola = w.rodzaj == Widok::Przemieszczenia ? 1 : 0;
      okno.p_napr = w.rodzaj == Widok::Mapa ? 1 : 0;
      if (w.rodzaj == Widok::Mapa) okno.p_rn = w.numer;
      okno.SHOWGRAPH = w.rodzaj == Widok::Material ? 1 : 0;
      if (w.rodzaj == Widok::Material) okno.nrma = w.numer;
      okno.iizol = iizol;
      if (!numery) okno.p_n_wezl = okno.p_sily_nr = 0;
      if (!kolory.empty()) okno.p_skok = kolory == "stepped" ? 1 : 0;
      okno.Pasek_kol();
      konsola.widok_szer = szer;
      konsola.widok_wys = wys;
      konsola.sciezka_zapisu = rysunek;
      const int bledy = konsola.bledy;
      okno.Cm_zapisz_rysunek();
      if (konsola.bledy != bledy) zapis_nieudany = true;
    }
  }
  if (!zapis.empty()) {
    konsola.sciezka_zapisu = zapis;
    const int bledy = konsola.bledy;
    okno.Cm_Zapisz();
    if (konsola.bledy != bledy) zapis_nieudany = true;
  }
  if (zapis_nieudany) return 3;
  if (analiza && (model.obliczono != 1 || okno.przebieg.koniec == _OKNO_::Przebieg::Przerwana)) return 1;
  return 0;
}
