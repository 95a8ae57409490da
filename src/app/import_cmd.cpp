// "Importuj siatkę…" and "Zaznacz grupę z siatki…": a model from a Gmsh mesh
// (or from a geometry that the gmsh program meshes first), and the mesh's
// physical groups as node groups for the rest of the session.
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <unordered_map>
#include <vector>

#include "app/okno.h"
#include "io/gmsh_program.h"
#include "io/import_siatki.h"
#include "model/plik.h"

namespace {

constexpr const char* kGlowny = "VELDO SKORBA N";
constexpr const char* kDysk = "Błąd operacji dyskowej";
constexpr const char* kDane = "Błąd danych";
constexpr const char* kPytanieOtworz = "Otwarcie nowego pliku spowoduje utrate danych\n\nJesteś pewien ?";

bool rozszerzenie(const std::string& sciezka, const char* roz) {
  std::string e = std::filesystem::path(sciezka).extension().string();
  std::transform(e.begin(), e.end(), e.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return e == roz;
}

// A fresh private folder for gmsh's output; removed with everything in it.
class KatalogTymczasowy {
 public:
  KatalogTymczasowy() {
    std::string wzor = (std::filesystem::temp_directory_path() / "skorba_gmsh_XXXXXX").string();
    if (::mkdtemp(wzor.data())) sciezka_ = wzor;
  }
  ~KatalogTymczasowy() {
    std::error_code e;
    if (!sciezka_.empty()) std::filesystem::remove_all(sciezka_, e);
  }
  KatalogTymczasowy(const KatalogTymczasowy&) = delete;
  KatalogTymczasowy& operator=(const KatalogTymczasowy&) = delete;
  const std::string& sciezka() const { return sciezka_; }

 private:
  std::string sciezka_;
};

}  // namespace

bool _OKNO_::JestSiatka(const std::string& sciezka) {
  return rozszerzenie(sciezka, ".msh") || rozszerzenie(sciezka, ".geo");
}

void _OKNO_::Cm_Importuj() {
  // The questions of "Otwórz" (and the offer to save unsaved changes)
  // before the present model is replaced.  The model itself stays until the
  // new one has been built.
  if (!MoznaPorzucic(kPytanieOtworz)) return;

  // Geometry files are offered only when gmsh can mesh them.
  const std::string gmsh = znajdz_gmsh();
  _siatka_.filtr = gmsh.empty() ? "Siatki Gmsh (*.msh)|*.msh|"
                                : "Siatki i geometrie Gmsh (*.msh;*.geo)|*.msh;*.geo|Siatki Gmsh (*.msh)|*.msh|"
                                  "Geometrie Gmsh (*.geo)|*.geo|";
  if (!P.OtworzPlik(_siatka_)) return;
  Importuj(_siatka_.sciezka);
}

void _OKNO_::ImportujPlik(const std::string& sciezka) {
  if (!MoznaPorzucic(kPytanieOtworz)) return;
  _siatka_.sciezka = sciezka;
  Importuj(sciezka);
}

void _OKNO_::Importuj(const std::string& plik) {
  const std::string gmsh = znajdz_gmsh();
  const std::string nazwa = std::filesystem::path(plik).filename().string();

  P.UstawKursor(Kursor::Czekaj);
  auto blad = [&](const std::string& tekst, const char* tytul, Ikona ikona) {
    P.UstawKursor(Kursor::Normalny);
    P.MessageBox(tekst, tytul, ikona, Przyciski::OK);
  };
  std::vector<std::uint8_t> dane;
  if (rozszerzenie(plik, ".geo")) {
    if (gmsh.empty())
      return blad("Plik geometrii " + nazwa + " wymaga programu gmsh, którego nie znaleziono w systemie.", kDane,
                  Ikona::Blad);
    KatalogTymczasowy tmp;
    if (tmp.sciezka().empty()) return blad("Nie można utworzyć pliku tymczasowego", kDysk, Ikona::Wykrzyknik);
    const std::string msh = tmp.sciezka() + "/siatka.msh";
    const WynikGmsh wg = uruchom_gmsh(gmsh, plik, msh, limit_gmsh_s);
    if (!wg.ok)
      return blad("Program gmsh nie utworzył siatki z pliku " + nazwa + ":\n\n" + wg.komunikaty, kDane, Ikona::Blad);
    if (!czytaj_plik(msh, dane)) return blad("Nie można otworzyć pliku", kDysk, Ikona::Wykrzyknik);
  } else if (!czytaj_plik(plik, dane)) {
    return blad("Nie można otworzyć pliku", kDysk, Ikona::Wykrzyknik);
  }

  Model nowy;
  WynikImportu w;
  std::string powod;
  if (!importuj_siatke(dane.data(), dane.size(), nowy, w, powod))
    return blad("Nie można zaimportować siatki z pliku " + nazwa + ":\n\n" + powod, kDane, Ikona::Blad);

  // Replacement: the imported model takes the old one's place as one step
  // of the history, so "Cofnij" brings the old model back.  The new model
  // has no project file yet.
  ZamknijTabele();
  id = iw = 0;
  M = std::move(nowy);
  M.Pusty = 0;
  P.UstawTytul(kTytulPusty);
  plik_projektu.clear();
  // "Zapisz Jako" offers the mesh's name as a project file.
  _plik_.sciezka = std::filesystem::path(plik).replace_extension(".SKD").string();
  grupy_siatki = std::move(w.grupy);
  p_napr = 0;
  p_n_pola = 0;
  if (nrma > M.nm) {
    SHOWGRAPH = 0;
    nrma = 1;
  }
  PoZmianie({.nazwa = "Importuj siatkę", .bez_grupy = true});
  P.UstawKursor(Kursor::Normalny);
  P.MessageBox(w.tekst, kGlowny, Ikona::Informacja, Przyciski::OK);
  if (a_licz == 1) {
    Obliczenia();
    P.Odswiez();
  }
}

void _OKNO_::Cm_grupa_siatki() {
  if (M.Pusty != 0 || M.nn <= 0 || grupy_siatki.empty()) return;
  std::vector<std::string> etykiety;
  for (const auto& g : grupy_siatki) etykiety.push_back(g.etykieta);
  const int i = P.WybierzZListy("Zaznacz grupę z siatki", "Grupy fizyczne ostatnio importowanej siatki:", etykiety);
  if (i < 0 || i >= static_cast<int>(grupy_siatki.size())) return;
  const GrupaSiatki& g = grupy_siatki[static_cast<std::size_t>(i)];

  // The group is kept as positions: the nodes that lie there now, whatever
  // their numbers after later edits.
  auto klucz = [](float x, float y) {
    std::uint32_t a, b;
    x += 0.0f;  // -0 and +0 are one position
    y += 0.0f;
    std::memcpy(&a, &x, sizeof a);
    std::memcpy(&b, &y, sizeof b);
    return std::uint64_t{a} << 32 | b;
  };
  std::unordered_map<std::uint64_t, char> znalezione;
  for (const auto& [x, y] : g.punkty) znalezione[klucz(x, y)] = 0;
  std::vector<int> wybrane;
  for (int k = 1; k <= M.nn; ++k) {
    auto it = znalezione.find(klucz(M.x[k][1], M.x[k][2]));
    if (it == znalezione.end()) continue;
    it->second = 1;
    wybrane.push_back(k);
  }
  std::size_t brak = 0;
  for (const auto& [k, jest] : znalezione) brak += jest ? 0 : 1;
  if (wybrane.empty()) {
    P.MessageBox("Żaden węzeł grupy " + g.etykieta + " nie leży już w modelu.", kGlowny, Ikona::Informacja,
                 Przyciski::OK);
    return;
  }
  zw_grp();
  M.i_grp = static_cast<int>(wybrane.size());
  M.s_grp.przydziel(1, M.i_grp);
  for (int j = 1; j <= M.i_grp; ++j) M.s_grp[j] = wybrane[static_cast<std::size_t>(j - 1)];
  M.j_grupa = 1;
  P.Odswiez();
  if (brak > 0)
    P.MessageBox("Zaznaczono węzłów: " + std::to_string(wybrane.size()) + ". Położeń grupy, w których nie ma już " +
                     "węzła (przesuniętych lub usuniętych): " + std::to_string(brak) + ".",
                 kGlowny, Ikona::Informacja, Przyciski::OK);
}
