#include "io/gmsh.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <limits>
#include <string_view>
#include <tuple>
#include <unordered_map>

namespace gmsh {
namespace {

constexpr std::uint32_t kBrak = 0xffffffffu;

std::string liczba(std::uint64_t v) { return std::to_string(v); }
std::string liczba(long long v) { return std::to_string(v); }
std::string liczba(int v) { return std::to_string(v); }

// The kinds of elements the reader keeps: point, line, triangle, quadrangle.
constexpr int kWezlyRodzaju[4] = {1, 2, 3, 4};
constexpr int kWymiarRodzaju[4] = {0, 1, 2, 2};

// The kind of a Gmsh element type; -1 with the reason when the mesh cannot
// be used because of it.
int rodzaj_typu(long long typ, std::string& powod) {
  switch (typ) {
    case 15:
      return 0;
    case 1:
      return 1;
    case 2:
      return 2;
    case 3:
      return 3;
    case 8: case 9: case 10: case 16:
    case 20: case 21: case 22: case 23: case 24: case 25: case 26: case 27: case 28:
      powod = "Siatka zawiera elementy drugiego lub wyższego rzędu (typ " + liczba(typ) +
              "). Program liczy trójkątami o trzech węzłach: wygeneruj siatkę pierwszego rzędu, np. " +
              kPolecenieEksportu;
      return -1;
    case 4: case 5: case 6: case 7: case 11: case 12: case 13: case 14: case 17: case 18: case 19:
    case 29: case 30: case 31: case 92: case 93:
      powod = "Siatka zawiera elementy przestrzenne (typ " + liczba(typ) +
              "). Program liczy tarcze: wygeneruj siatkę powierzchni, np. " + kPolecenieEksportu;
      return -1;
    default:
      powod = "Nieobsługiwany typ elementu " + liczba(typ) +
              " (program czyta punkty, odcinki, trójkąty i czworokąty pierwszego rzędu; np. " +
              kPolecenieEksportu + ")";
      return -1;
  }
}

bool bialy(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// A cursor over the file with the first error it met.  After an error every
// read returns 0 and consumes nothing, so callers check zle() before they
// allocate or loop on what they read.
class Czytnik {
 public:
  Czytnik(const std::uint8_t* d, std::size_t n)
      : pocz_(reinterpret_cast<const char*>(d)), p_(pocz_), kon_(pocz_ + n), tok_(pocz_) {}

  bool binarny = false;
  std::string sekcja;  // the section being read, for the messages

  bool zle() const { return !blad_.empty(); }
  const std::string& blad() const { return blad_; }
  std::uint64_t zostalo() const { return static_cast<std::uint64_t>(kon_ - p_); }

  // Records the first error, with the section and (in ASCII files) the line
  // of the last thing read.
  void zle(const std::string& powod, bool z_miejscem = true) {
    if (zle()) return;
    blad_ = powod;
    if (!z_miejscem) return;
    std::string gdzie;
    if (!sekcja.empty()) gdzie = "sekcja " + sekcja;
    if (!binarny) {
      const long long wiersz = 1 + std::count(pocz_, tok_, '\n');
      gdzie += (gdzie.empty() ? "" : ", ") + std::string("wiersz ") + liczba(wiersz);
    }
    if (!gdzie.empty()) blad_ += " (" + gdzie + ")";
  }

  // True when n items of at least `na_jeden` bytes each fit into the rest
  // of the file; otherwise an error naming what was counted.
  bool miesci(std::uint64_t n, std::uint64_t na_jeden, const char* co) {
    if (zle()) return false;
    if (n > zostalo() / na_jeden) {
      zle("Liczba " + std::string(co) + " (" + liczba(n) + ") przekracza to, co mieści reszta pliku");
      return false;
    }
    return true;
  }

  // Steps over the line end after a text line (binary data follows it).
  void koniec_wiersza() {
    if (p_ < kon_ && *p_ == '\r') ++p_;
    if (p_ < kon_ && *p_ == '\n') ++p_;
  }

  void pomin_biale() {
    while (p_ < kon_ && bialy(*p_)) ++p_;
  }
  bool koniec() {
    pomin_biale();
    return p_ >= kon_;
  }

  // The next line of text, without its line end and trailing blanks.
  std::string_view wiersz() {
    if (zle()) return {};
    pomin_biale();
    tok_ = p_;
    const char* e = static_cast<const char*>(std::memchr(p_, '\n', static_cast<std::size_t>(kon_ - p_)));
    if (!e) e = kon_;
    std::string_view w(p_, static_cast<std::size_t>(e - p_));
    p_ = e;
    while (!w.empty() && bialy(w.back())) w.remove_suffix(1);
    return w;
  }

  // --- values in text ---------------------------------------------------------------------
  template <class T>
  T tekst_calkowita(const char* co) {
    if (zle()) return 0;
    pomin_biale();
    tok_ = p_;
    T v{};
    auto [e, ec] = std::from_chars(p_, kon_, v);
    if (ec == std::errc::result_out_of_range) {
      zle(std::string(co) + ": liczba poza zakresem");
      return 0;
    }
    if (ec != std::errc() || (e < kon_ && !bialy(*e))) {
      zle(p_ >= kon_ ? "Plik urywa się w środku danych" : std::string(co) + ": oczekiwano liczby całkowitej");
      return 0;
    }
    p_ = e;
    return v;
  }
  double tekst_rzeczywista(const char* co) {
    if (zle()) return 0;
    pomin_biale();
    tok_ = p_;
    double v = 0;
    auto [e, ec] = std::from_chars(p_, kon_, v);
    if ((ec != std::errc() && ec != std::errc::result_out_of_range) || (e < kon_ && !bialy(*e))) {
      zle(p_ >= kon_ ? "Plik urywa się w środku danych" : std::string(co) + ": oczekiwano liczby");
      return 0;
    }
    if (ec == std::errc::result_out_of_range) v = std::numeric_limits<double>::infinity();
    p_ = e;
    return v;
  }

  // --- values in the file's own coding --------------------------------------------------
  template <class T>
  T binarna() {
    if (zle()) return 0;
    if (zostalo() < sizeof(T)) {
      zle("Plik urywa się w środku danych");
      return 0;
    }
    T v;
    std::memcpy(&v, p_, sizeof v);
    p_ += sizeof v;
    return v;
  }
  // A count or tag written as size_t (8 bytes in binary).
  std::uint64_t rozmiar(const char* co) {
    return binarny ? binarna<std::uint64_t>() : tekst_calkowita<std::uint64_t>(co);
  }
  // An int field (4 bytes in binary).
  int calkowita(const char* co) { return binarny ? binarna<std::int32_t>() : tekst_calkowita<int>(co); }
  double rzeczywista(const char* co) { return binarny ? binarna<double>() : tekst_rzeczywista(co); }

  // A quoted name ("...", on one line).
  std::string nazwa() {
    if (zle()) return {};
    pomin_biale();
    tok_ = p_;
    if (p_ >= kon_ || *p_ != '"') {
      zle("Oczekiwano nazwy w cudzysłowie");
      return {};
    }
    const char* a = p_ + 1;
    const char* e = a;
    while (e < kon_ && *e != '"' && *e != '\n') ++e;
    if (e >= kon_ || *e != '"') {
      zle("Nazwa bez cudzysłowu zamykającego");
      return {};
    }
    p_ = e + 1;
    return std::string(a, e);
  }

  // Skips a whole section whose header has just been read.
  void pomin_sekcje(std::string_view naglowek) {
    const std::string cel = "\n$End" + std::string(naglowek.substr(1));
    const std::string_view reszta(p_, static_cast<std::size_t>(kon_ - p_));
    const std::size_t i = reszta.find(cel);
    if (i == std::string_view::npos) {
      zle("Brak końca sekcji " + std::string(naglowek));
      return;
    }
    p_ += i + 1;
    wiersz();
  }

  // Expects the end line of the present section.
  void koniec_sekcji() {
    const std::string cel = "$End" + sekcja.substr(1);
    const std::string_view w = wiersz();
    if (!zle() && w != cel) zle("Oczekiwano " + cel);
  }

 private:
  const char* pocz_;
  const char* p_;
  const char* kon_;
  const char* tok_;
  std::string blad_;
};

// Elements of one kind with their nodes still as tags.
struct Surowe {
  std::vector<std::uint64_t> numery;  // element tags, for the messages
  std::vector<std::uint64_t> wezly;   // kWezlyRodzaju per element
  std::vector<std::uint32_t> listy;   // index into the lists of physical tags
};

// Node tag -> index without allocating by the largest tag: a direct table
// while the tags are dense, a sorted list otherwise.
class IndeksTagow {
 public:
  // False when a tag repeats (then `powtorzony` is that tag).
  bool zbuduj(const std::vector<std::uint64_t>& tagi, std::uint64_t& powtorzony) {
    const std::uint64_t n = tagi.size();
    std::uint64_t maks = 0;
    for (std::uint64_t t : tagi) maks = std::max(maks, t);
    if (maks <= 2 * n + 1024) {
      tablica_.assign(static_cast<std::size_t>(maks) + 1, kBrak);
      for (std::size_t i = 0; i < tagi.size(); ++i) {
        if (tablica_[tagi[i]] != kBrak) {
          powtorzony = tagi[i];
          return false;
        }
        tablica_[tagi[i]] = static_cast<std::uint32_t>(i);
      }
      return true;
    }
    pary_.resize(tagi.size());
    for (std::size_t i = 0; i < tagi.size(); ++i) pary_[i] = {tagi[i], static_cast<std::uint32_t>(i)};
    std::sort(pary_.begin(), pary_.end());
    for (std::size_t i = 1; i < pary_.size(); ++i)
      if (pary_[i].first == pary_[i - 1].first) {
        powtorzony = pary_[i].first;
        return false;
      }
    return true;
  }
  std::uint32_t operator()(std::uint64_t tag) const {
    if (!tablica_.empty() || pary_.empty()) return tag < tablica_.size() ? tablica_[tag] : kBrak;
    auto it = std::lower_bound(pary_.begin(), pary_.end(), std::make_pair(tag, std::uint32_t{0}));
    return it != pary_.end() && it->first == tag ? it->second : kBrak;
  }

 private:
  std::vector<std::uint32_t> tablica_;
  std::vector<std::pair<std::uint64_t, std::uint32_t>> pary_;
};

class Parser {
 public:
  Parser(const std::uint8_t* d, std::size_t n, Siatka& s) : r_(d, n), s_(s), rozmiar_(n) { listy_.emplace_back(); }

  bool czytaj(std::string& blad) {
    sekcje();
    if (!r_.zle()) zloz();
    if (r_.zle()) {
      blad = r_.blad();
      return false;
    }
    return true;
  }

 private:
  void sekcje() {
    bool format = false, wezly = false, elementy = false;
    while (!r_.zle() && !r_.koniec()) {
      r_.sekcja.clear();
      const std::string_view w = r_.wiersz();
      if (w.empty() || w[0] != '$') {
        r_.zle(format ? "Oczekiwano nagłówka sekcji ($...)"
                      : "To nie jest plik siatki Gmsh (brak sekcji $MeshFormat na początku)");
        return;
      }
      if (!format && w != "$MeshFormat") {
        r_.zle("To nie jest plik siatki Gmsh (brak sekcji $MeshFormat na początku)");
        return;
      }
      r_.sekcja = std::string(w);
      r_.koniec_wiersza();  // in binary files the data starts on the next byte
      if (w == "$MeshFormat") {
        if (format) return r_.zle("Sekcja $MeshFormat powtórzona");
        format_siatki();
        format = true;
      } else if (w == "$PhysicalNames") {
        nazwy_fizyczne();
      } else if (w == "$Entities") {
        if (v4_) encje(); else r_.pomin_sekcje(w);
      } else if (w == "$PartitionedEntities" || w == "$GhostElements") {
        return r_.zle(
            "Siatka jest podzielona na części (partycje); program czyta siatkę w całości: zapisz ją bez "
            "podziału, np. " + std::string(kPolecenieEksportu));
      } else if (w == "$Nodes") {
        if (v4_) wezly4(); else wezly2();
        wezly = true;
      } else if (w == "$Elements") {
        if (v4_) elementy4(); else elementy2();
        elementy = true;
      } else {
        r_.pomin_sekcje(w);  // unknown sections and those the program does not need
        continue;
      }
      r_.koniec_sekcji();
    }
    r_.sekcja.clear();
    if (r_.zle()) return;
    if (!format) return r_.zle("Plik jest pusty (to nie jest plik siatki Gmsh)", false);
    if (!wezly) return r_.zle("Brak sekcji $Nodes", false);
    if (!elementy) return r_.zle("Brak sekcji $Elements", false);
  }

  void format_siatki() {
    const std::string_view w = r_.wiersz();
    const std::size_t sp = w.find_first_of(" \t");
    const std::string wersja(w.substr(0, sp));
    int typ = -1, rozmiar = -1;
    if (sp != std::string_view::npos &&
        std::sscanf(std::string(w.substr(sp)).c_str(), "%d %d", &typ, &rozmiar) != 2)
      typ = -1;
    if (r_.zle()) return;
    if (wersja != "4.1" && wersja != "2.2")
      return r_.zle("Nieobsługiwana wersja formatu MSH: " + (wersja.empty() ? std::string("?") : wersja) +
                    " (program czyta wersje 4.1 i 2.2). Zapisz siatkę np. poleceniem gmsh plik.geo -2 "
                    "-format msh41");
    if (typ != 0 && typ != 1) return r_.zle("Nieznany rodzaj pliku MSH (ani tekstowy, ani binarny)");
    if (rozmiar != 8) return r_.zle("Nieobsługiwany rozmiar liczb w pliku (" + liczba(rozmiar) + " zamiast 8)");
    v4_ = wersja == "4.1";
    s_.wersja = wersja;
    s_.binarny = typ == 1;
    if (typ == 1) {
      // After the line end a binary int 1 tells the byte order.
      r_.binarny = true;
      r_.koniec_wiersza();
      const std::int32_t jeden = r_.binarna<std::int32_t>();
      if (!r_.zle() && jeden != 1)
        r_.zle("Plik binarny zapisany w innej kolejności bajtów niż ten komputer");
    }
  }

  void nazwy_fizyczne() {
    const bool bin = r_.binarny;
    r_.binarny = false;  // this section is text in every variant
    const std::uint64_t n = r_.tekst_calkowita<std::uint64_t>("liczba nazw");
    if (r_.miesci(n, 8, "nazw grup fizycznych"))
      for (std::uint64_t i = 0; i < n && !r_.zle(); ++i) {
        const int wym = r_.tekst_calkowita<int>("wymiar grupy");
        const int tag = r_.tekst_calkowita<int>("numer grupy");
        std::string nazwa = r_.nazwa();
        if (!r_.zle()) s_.nazwy[{wym, tag}] = std::move(nazwa);
      }
    r_.binarny = bin;
  }

  // A physical tag as the program uses it: positive (Gmsh may give the sign
  // of an orientation).
  int tag_fizyczny(long long t) {
    if (t < 0) t = -t;
    if (t == 0 || t > std::numeric_limits<int>::max()) {
      r_.zle("Niepoprawny numer grupy fizycznej " + liczba(t));
      return 0;
    }
    return static_cast<int>(t);
  }

  void encje() {
    std::uint64_t n[4];
    for (auto& k : n) k = r_.rozmiar("liczba encji");
    const bool bin = r_.binarny;
    const std::uint64_t min_pkt = bin ? 4 + 24 + 8 : 10, min_inna = bin ? 4 + 48 + 16 : 18;
    for (int wym = 0; wym < 4; ++wym) {
      if (!r_.miesci(n[wym], wym == 0 ? min_pkt : min_inna, "encji")) return;
      for (std::uint64_t i = 0; i < n[wym] && !r_.zle(); ++i) {
        const int tag = r_.calkowita("numer encji");
        for (int k = 0; k < (wym == 0 ? 3 : 6); ++k) r_.rzeczywista("współrzędna encji");
        const std::uint64_t nf = r_.rozmiar("liczba grup fizycznych");
        if (!r_.miesci(nf, bin ? 4 : 2, "grup fizycznych encji")) return;
        std::vector<int> fiz;
        for (std::uint64_t k = 0; k < nf && !r_.zle(); ++k) fiz.push_back(tag_fizyczny(r_.calkowita("numer grupy fizycznej")));
        std::sort(fiz.begin(), fiz.end());
        fiz.erase(std::unique(fiz.begin(), fiz.end()), fiz.end());
        if (wym > 0) {
          const std::uint64_t nb = r_.rozmiar("liczba encji brzegu");
          if (!r_.miesci(nb, bin ? 4 : 2, "encji brzegu")) return;
          for (std::uint64_t k = 0; k < nb && !r_.zle(); ++k) r_.calkowita("encja brzegu");
        }
        if (r_.zle()) return;
        if (!fiz.empty()) {
          encje_[{wym, tag}] = static_cast<std::uint32_t>(listy_.size());
          listy_.push_back(std::move(fiz));
        }
      }
    }
  }

  // Appends one node; false after an error.
  bool wezel(std::uint64_t tag, double x, double y, double z) {
    if (r_.zle()) return false;
    if (tag == 0) {
      r_.zle("Węzeł o numerze 0");
      return false;
    }
    s_.tagi.push_back(tag);
    s_.xyz.push_back(x);
    s_.xyz.push_back(y);
    s_.xyz.push_back(z);
    return true;
  }

  bool miesci_wezly(std::uint64_t n) {
    if (s_.tagi.size() + n > 0x7fffffffu) {
      r_.zle("Zbyt wiele węzłów w pliku");
      return false;
    }
    return true;
  }

  void wezly4() {
    const bool bin = r_.binarny;
    const std::uint64_t nb = r_.rozmiar("liczba bloków"), nn = r_.rozmiar("liczba węzłów");
    r_.rozmiar("najmniejszy numer węzła");
    r_.rozmiar("największy numer węzła");
    if (!r_.miesci(nn, bin ? 32 : 8, "węzłów") || !r_.miesci(nb, bin ? 20 : 8, "bloków węzłów") ||
        !miesci_wezly(nn))
      return;
    s_.tagi.reserve(s_.tagi.size() + nn);
    s_.xyz.reserve(s_.xyz.size() + 3 * nn);
    std::uint64_t wczytane = 0;
    std::vector<std::uint64_t> tagi;
    for (std::uint64_t b = 0; b < nb && !r_.zle(); ++b) {
      const int wym = r_.calkowita("wymiar encji");
      r_.calkowita("numer encji");
      const int param = r_.calkowita("parametryczność");
      const std::uint64_t n = r_.rozmiar("liczba węzłów bloku");
      if (r_.zle()) return;
      if (wym < 0 || wym > 3 || (param != 0 && param != 1))
        return r_.zle("Niepoprawny nagłówek bloku węzłów");
      if (n > nn - wczytane) return r_.zle("Bloki zawierają więcej węzłów, niż podaje nagłówek sekcji");
      const int dodatkowe = param ? wym : 0;
      if (!r_.miesci(n, bin ? 32 + 8 * dodatkowe : 8 + 2 * dodatkowe, "węzłów bloku")) return;
      tagi.resize(n);
      for (auto& t : tagi) t = r_.rozmiar("numer węzła");
      for (std::uint64_t i = 0; i < n; ++i) {
        const double x = r_.rzeczywista("współrzędna"), y = r_.rzeczywista("współrzędna"),
                     z = r_.rzeczywista("współrzędna");
        for (int k = 0; k < dodatkowe; ++k) r_.rzeczywista("współrzędna parametryczna");
        if (!wezel(tagi[i], x, y, z)) return;
      }
      wczytane += n;
    }
    if (!r_.zle() && wczytane != nn) r_.zle("Bloki zawierają mniej węzłów, niż podaje nagłówek sekcji");
  }

  void wezly2() {
    const bool bin = r_.binarny;
    r_.binarny = false;
    const std::uint64_t nn = r_.tekst_calkowita<std::uint64_t>("liczba węzłów");
    r_.binarny = bin;
    if (!r_.miesci(nn, bin ? 28 : 8, "węzłów") || !miesci_wezly(nn)) return;
    s_.tagi.reserve(s_.tagi.size() + nn);
    s_.xyz.reserve(s_.xyz.size() + 3 * nn);
    if (bin) r_.koniec_wiersza();  // binary data follows the count's line
    for (std::uint64_t i = 0; i < nn; ++i) {
      std::uint64_t tag;
      if (bin) {
        const std::int32_t t = r_.binarna<std::int32_t>();
        tag = t > 0 ? static_cast<std::uint64_t>(t) : 0;
      } else {
        tag = r_.tekst_calkowita<std::uint64_t>("numer węzła");
      }
      const double x = r_.rzeczywista("współrzędna"), y = r_.rzeczywista("współrzędna"),
                   z = r_.rzeczywista("współrzędna");
      if (!wezel(tag, x, y, z)) return;
    }
  }

  // The list index for a physical tag of the old format (one tag per element).
  std::uint32_t lista_tagu(long long t) {
    if (t == 0) return 0;
    const int f = tag_fizyczny(t);
    if (r_.zle()) return 0;
    auto [it, nowy] = tagi2_.try_emplace(f, static_cast<std::uint32_t>(listy_.size()));
    if (nowy) listy_.push_back({f});
    return it->second;
  }

  // Takes one element's node tags into the list of its kind (points and
  // lines only when they belong to a physical group).
  template <class F>
  void element(int rodzaj, std::uint64_t numer, std::uint32_t lista, F&& nastepny_wezel) {
    const int k = kWezlyRodzaju[rodzaj];
    const bool zachowaj = rodzaj >= 2 || lista != 0;
    Surowe& s = surowe_[rodzaj];
    for (int j = 0; j < k; ++j) {
      const std::uint64_t t = nastepny_wezel();
      if (zachowaj) s.wezly.push_back(t);
    }
    if (zachowaj) {
      s.numery.push_back(numer);
      s.listy.push_back(lista);
    }
  }

  void elementy4() {
    const bool bin = r_.binarny;
    const std::uint64_t nb = r_.rozmiar("liczba bloków"), ne = r_.rozmiar("liczba elementów");
    r_.rozmiar("najmniejszy numer elementu");
    r_.rozmiar("największy numer elementu");
    if (!r_.miesci(ne, bin ? 16 : 4, "elementów") || !r_.miesci(nb, bin ? 20 : 8, "bloków elementów")) return;
    std::uint64_t wczytane = 0;
    for (std::uint64_t b = 0; b < nb && !r_.zle(); ++b) {
      const int wym = r_.calkowita("wymiar encji");
      const int tag = r_.calkowita("numer encji");
      const int typ = r_.calkowita("typ elementu");
      const std::uint64_t n = r_.rozmiar("liczba elementów bloku");
      if (r_.zle()) return;
      std::string powod;
      const int rodzaj = rodzaj_typu(typ, powod);
      if (rodzaj < 0) return r_.zle(powod);
      if (kWymiarRodzaju[rodzaj] != wym)
        return r_.zle("Elementy typu " + liczba(typ) + " w encji wymiaru " + liczba(wym));
      if (n > ne - wczytane) return r_.zle("Bloki zawierają więcej elementów, niż podaje nagłówek sekcji");
      const int k = kWezlyRodzaju[rodzaj];
      if (!r_.miesci(n, static_cast<std::uint64_t>(1 + k) * (bin ? 8 : 2), "elementów bloku")) return;
      const auto it = encje_.find({wym, tag});
      const std::uint32_t lista = it == encje_.end() ? 0 : it->second;
      if (rodzaj >= 2 || lista != 0) {
        Surowe& s = surowe_[rodzaj];
        s.numery.reserve(s.numery.size() + n);
        s.listy.reserve(s.listy.size() + n);
        s.wezly.reserve(s.wezly.size() + n * static_cast<std::uint64_t>(k));
      }
      for (std::uint64_t i = 0; i < n && !r_.zle(); ++i) {
        const std::uint64_t numer = r_.rozmiar("numer elementu");
        element(rodzaj, numer, lista, [&] { return r_.rozmiar("numer węzła elementu"); });
      }
      wczytane += n;
    }
    if (!r_.zle() && wczytane != ne) r_.zle("Bloki zawierają mniej elementów, niż podaje nagłówek sekcji");
  }

  void elementy2() {
    const bool bin = r_.binarny;
    r_.binarny = false;
    const std::uint64_t ne = r_.tekst_calkowita<std::uint64_t>("liczba elementów");
    r_.binarny = bin;
    if (!r_.miesci(ne, bin ? 16 : 8, "elementów")) return;
    if (bin) r_.koniec_wiersza();  // binary data follows the count's line
    std::uint64_t wczytane = 0;
    std::vector<long long> tagi;
    while (wczytane < ne && !r_.zle()) {
      long long typ;
      std::uint64_t n = 1;
      int nt;
      if (bin) {
        typ = r_.binarna<std::int32_t>();
        const std::int32_t ile = r_.binarna<std::int32_t>();
        nt = r_.binarna<std::int32_t>();
        if (r_.zle()) return;
        if (ile <= 0 || static_cast<std::uint64_t>(ile) > ne - wczytane)
          return r_.zle("Niepoprawna liczba elementów w grupie");
        n = static_cast<std::uint64_t>(ile);
      } else {
        // one element per line: number, type, tag count, tags, nodes
        numer_ = r_.tekst_calkowita<std::uint64_t>("numer elementu");
        typ = r_.tekst_calkowita<long long>("typ elementu");
        nt = r_.tekst_calkowita<int>("liczba znaczników");
      }
      if (r_.zle()) return;
      if (nt < 0 || !r_.miesci(static_cast<std::uint64_t>(nt), bin ? 4 : 2, "znaczników")) {
        if (!r_.zle()) r_.zle("Niepoprawna liczba znaczników elementu");
        return;
      }
      std::string powod;
      const int rodzaj = rodzaj_typu(typ, powod);
      if (rodzaj < 0) return r_.zle(powod);
      const int k = kWezlyRodzaju[rodzaj];
      if (bin && !r_.miesci(n, 4 * (1 + static_cast<std::uint64_t>(nt) + k), "elementów grupy")) return;
      for (std::uint64_t i = 0; i < n && !r_.zle(); ++i) {
        if (bin) {
          const std::int32_t num = r_.binarna<std::int32_t>();
          numer_ = num > 0 ? static_cast<std::uint64_t>(num) : 0;
        }
        tagi.resize(static_cast<std::size_t>(nt));
        for (auto& t : tagi) t = bin ? r_.binarna<std::int32_t>() : r_.tekst_calkowita<long long>("znacznik");
        if (r_.zle()) return;
        if (nt >= 3 && tagi[2] > 0)
          return r_.zle(
              "Siatka jest podzielona na części (partycje); program czyta siatkę w całości: zapisz ją bez "
              "podziału, np. " + std::string(kPolecenieEksportu));
        const std::uint32_t lista = lista_tagu(nt >= 1 ? tagi[0] : 0);
        element(rodzaj, numer_, lista, [&]() -> std::uint64_t {
          if (!bin) return r_.tekst_calkowita<std::uint64_t>("numer węzła elementu");
          const std::int32_t t = r_.binarna<std::int32_t>();
          return t > 0 ? static_cast<std::uint64_t>(t) : 0;
        });
      }
      wczytane += n;
    }
  }

  // --- from tags to indexes ---------------------------------------------------------------
  void zloz();

  Czytnik r_;
  Siatka& s_;
  std::uint64_t rozmiar_;  // of the file
  bool v4_ = false;
  std::uint64_t numer_ = 0;
  // Lists of physical tags; list 0 is empty (no physical group).
  std::vector<std::vector<int>> listy_;
  std::map<std::pair<int, int>, std::uint32_t> encje_;  // (dimension, entity) -> list
  std::unordered_map<int, std::uint32_t> tagi2_;        // old format: physical tag -> list
  Surowe surowe_[4];
};

void Parser::zloz() {
  IndeksTagow indeks;
  std::uint64_t powtorzony = 0;
  if (!indeks.zbuduj(s_.tagi, powtorzony)) return r_.zle("Węzeł " + liczba(powtorzony) + " występuje w pliku dwa razy");

  // Node tags of every element become indexes into the node list.
  auto indeksy = [&](int rodzaj, std::vector<std::uint32_t>& w) {
    const Surowe& s = surowe_[rodzaj];
    const int k = kWezlyRodzaju[rodzaj];
    w.resize(s.wezly.size());
    for (std::size_t i = 0; i < s.wezly.size(); ++i) {
      w[i] = indeks(s.wezly[i]);
      if (w[i] == kBrak) {
        r_.zle("Element " + liczba(s.numery[i / static_cast<std::size_t>(k)]) + " odwołuje się do węzła " +
               liczba(s.wezly[i]) + ", którego nie ma w pliku");
        return false;
      }
    }
    return true;
  };
  std::vector<std::uint32_t> w;

  // The physical surface of a surface element (0 = none); an element of an
  // entity in two physical surfaces would have two materials.
  auto powierzchnia = [&](std::uint32_t lista, std::uint64_t numer) {
    const std::vector<int>& l = listy_[lista];
    if (l.size() > 1)
      r_.zle("Element " + liczba(numer) + " należy do dwóch powierzchni fizycznych: " + liczba(l[0]) + " i " +
             liczba(l[1]));
    return l.empty() ? 0 : l[0];
  };

  // Triangles, then the quadrangles split along the shorter diagonal (on a
  // tie from the first node to the third).
  if (!indeksy(2, w)) return;
  std::vector<std::pair<Siatka::Trojkat, std::uint64_t>> troj;  // with the element tag
  troj.reserve(w.size() / 3 + surowe_[3].numery.size() * 2);
  for (std::size_t e = 0; e < surowe_[2].numery.size() && !r_.zle(); ++e) {
    const int g = powierzchnia(surowe_[2].listy[e], surowe_[2].numery[e]);
    troj.push_back({{{w[3 * e], w[3 * e + 1], w[3 * e + 2]}, g}, surowe_[2].numery[e]});
  }
  if (!indeksy(3, w)) return;
  const auto& xyz = s_.xyz;
  auto kw = [&](std::uint32_t a, std::uint32_t b) {
    double d = 0;
    for (int c = 0; c < 3; ++c) {
      const double r = xyz[3 * std::size_t{a} + c] - xyz[3 * std::size_t{b} + c];
      d += r * r;
    }
    return d;
  };
  for (std::size_t e = 0; e < surowe_[3].numery.size() && !r_.zle(); ++e) {
    const std::uint32_t* q = &w[4 * e];
    const std::uint64_t numer = surowe_[3].numery[e];
    const int g = powierzchnia(surowe_[3].listy[e], numer);
    if (kw(q[1], q[3]) < kw(q[0], q[2])) {
      troj.push_back({{{q[0], q[1], q[3]}, g}, numer});
      troj.push_back({{{q[1], q[2], q[3]}, g}, numer});
    } else {
      troj.push_back({{{q[0], q[1], q[2]}, g}, numer});
      troj.push_back({{{q[0], q[2], q[3]}, g}, numer});
    }
  }
  if (r_.zle()) return;
  s_.czworokaty = static_cast<int>(std::min<std::size_t>(surowe_[3].numery.size(), std::numeric_limits<int>::max()));

  // One triangle per node set: the old format repeats an element once per
  // physical group, and a triangle of two physical surfaces would have two
  // materials.
  using Klucz = std::array<std::uint32_t, 3>;
  auto klucz = [](const Siatka::Trojkat& t) {
    Klucz k = {t.w[0], t.w[1], t.w[2]};
    std::sort(k.begin(), k.end());
    return k;
  };
  std::vector<std::uint32_t> kolejnosc(troj.size());
  for (std::size_t i = 0; i < troj.size(); ++i) kolejnosc[i] = static_cast<std::uint32_t>(i);
  std::vector<Klucz> klucze(troj.size());
  for (std::size_t i = 0; i < troj.size(); ++i) klucze[i] = klucz(troj[i].first);
  std::sort(kolejnosc.begin(), kolejnosc.end(), [&](std::uint32_t a, std::uint32_t b) {
    return klucze[a] != klucze[b] ? klucze[a] < klucze[b] : a < b;
  });
  std::vector<char> powtorka(troj.size(), 0);
  for (std::size_t i = 1; i < kolejnosc.size(); ++i) {
    const std::uint32_t a = kolejnosc[i - 1], b = kolejnosc[i];
    if (klucze[a] != klucze[b]) continue;
    if (troj[a].first.grupa != troj[b].first.grupa)
      return r_.zle("Element " + liczba(troj[b].second) + " (węzły " + liczba(s_.tagi[klucze[b][0]]) + ", " +
                    liczba(s_.tagi[klucze[b][1]]) + ", " + liczba(s_.tagi[klucze[b][2]]) +
                    ") należy do dwóch powierzchni fizycznych: " + liczba(troj[a].first.grupa) + " i " +
                    liczba(troj[b].first.grupa));
    powtorka[b] = 1;
  }
  s_.trojkaty.clear();
  s_.trojkaty.reserve(troj.size());
  for (std::size_t i = 0; i < troj.size(); ++i)
    if (!powtorka[i]) s_.trojkaty.push_back(troj[i].first);

  // Lines and points of the physical groups, each once per group.  An
  // element in many groups is listed many times: more entries than the file
  // has bytes would be memory the file does not back.
  std::uint64_t wpisy = 0;
  for (int rodzaj : {0, 1})
    for (std::uint32_t l : surowe_[rodzaj].listy) wpisy += listy_[l].size();
  if (wpisy > rozmiar_) return r_.zle("Elementy należą do zbyt wielu grup fizycznych", false);
  if (!indeksy(1, w)) return;
  for (std::size_t e = 0; e < surowe_[1].numery.size(); ++e)
    for (int g : listy_[surowe_[1].listy[e]])
      s_.odcinki.push_back({{std::min(w[2 * e], w[2 * e + 1]), std::max(w[2 * e], w[2 * e + 1])}, g});
  auto klucz_odc = [](const Siatka::Odcinek& o) { return std::make_tuple(o.grupa, o.w[0], o.w[1]); };
  std::sort(s_.odcinki.begin(), s_.odcinki.end(),
            [&](const auto& a, const auto& b) { return klucz_odc(a) < klucz_odc(b); });
  s_.odcinki.erase(std::unique(s_.odcinki.begin(), s_.odcinki.end(),
                               [&](const auto& a, const auto& b) { return klucz_odc(a) == klucz_odc(b); }),
                   s_.odcinki.end());
  if (!indeksy(0, w)) return;
  for (std::size_t e = 0; e < surowe_[0].numery.size(); ++e)
    for (int g : listy_[surowe_[0].listy[e]]) s_.punkty.push_back({w[e], g});
  auto klucz_pkt = [](const Siatka::Punkt& p) { return std::make_pair(p.grupa, p.w); };
  std::sort(s_.punkty.begin(), s_.punkty.end(),
            [&](const auto& a, const auto& b) { return klucz_pkt(a) < klucz_pkt(b); });
  s_.punkty.erase(std::unique(s_.punkty.begin(), s_.punkty.end(),
                              [&](const auto& a, const auto& b) { return klucz_pkt(a) == klucz_pkt(b); }),
                  s_.punkty.end());
}

}  // namespace

bool czytaj(const std::uint8_t* dane, std::size_t rozmiar, Siatka& s, std::string& blad) {
  s = Siatka{};
  Parser p(dane, rozmiar, s);
  return p.czytaj(blad);
}

}  // namespace gmsh
