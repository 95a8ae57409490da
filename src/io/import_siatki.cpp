#include "io/import_siatki.h"

#include <algorithm>
#include <array>
#include <boost/graph/compressed_sparse_row_graph.hpp>
#include <boost/graph/cuthill_mckee_ordering.hpp>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>
#include <map>

#include "model/przebuduj.h"

namespace {

// The materials of an imported mesh start as the wizard's do: one straight
// line with the nominal modulus up to the first limit, refined afterwards
// with "Zmień -> Materiał".
constexpr float kModul = 200000.0f;
constexpr float kPoisson = 0.3f;
constexpr float kGranica = 300.0f;

std::string g(double v) {
  char b[40];
  std::snprintf(b, sizeof b, "%.6g", v);
  return b;
}
std::string cytat(const std::string& s) { return "„" + s + "”"; }

// "1 węzeł", "3 węzły", "5 węzłów", "22 węzły", "12 węzłów".
std::string liczba_wezlow(std::size_t n) {
  const std::size_t d = n % 10, s = n % 100;
  const char* slowo = n == 1 ? "węzeł" : (d >= 2 && d <= 4 && (s < 12 || s > 14)) ? "węzły" : "węzłów";
  return std::to_string(n) + " " + slowo;
}

// --- supports and loads from the name of a physical group ---------------------------------

struct Polecenie {
  enum Rodzaj { Utwierdzenie, Przemieszczenie, Sila } rodzaj;
  int kierunek;  // 0 = X, 1 = Y
  double wartosc;
};

bool bialy(char c) { return c == ' ' || c == '\t'; }

// Reads the tokens of a group name.  Tokens that mean nothing here go to
// `nieznane`.  False with the reason when a token promises a value that is
// not a number, or a number seems to use a decimal comma (it would split
// into two tokens and give the wrong value).
bool rozbierz_nazwe(const std::string& nazwa, std::vector<Polecenie>& pol, std::vector<std::string>& nieznane,
                    std::string& blad) {
  // "FX = 100" means "FX=100": blanks around '=' go.
  std::string t;
  for (std::size_t i = 0; i < nazwa.size(); ++i) {
    const char c = nazwa[i];
    if (bialy(c)) {
      std::size_t j = i;
      while (j < nazwa.size() && bialy(nazwa[j])) ++j;
      if ((j < nazwa.size() && nazwa[j] == '=') || (!t.empty() && t.back() == '=')) {
        i = j - 1;
        continue;
      }
    }
    t += c;
  }
  std::vector<std::string> tokeny(1);
  for (std::size_t i = 0; i < t.size(); ++i) {
    const char c = t[i];
    if (bialy(c) || c == ',' || c == ';') {
      const std::string& p = tokeny.back();
      if (c == ',' && p.find('=') != std::string::npos && !p.empty() && std::isdigit(static_cast<unsigned char>(p.back())) &&
          i + 1 < t.size() && std::isdigit(static_cast<unsigned char>(t[i + 1]))) {
        blad = "Nazwa grupy " + cytat(nazwa) +
               " zawiera liczbę z przecinkiem dziesiętnym; w nazwach grup pisz liczby z kropką (np. FY=-1.5)";
        return false;
      }
      if (!p.empty()) tokeny.emplace_back();
      continue;
    }
    tokeny.back() += c;
  }
  for (const std::string& oryginal : tokeny) {
    if (oryginal.empty()) continue;
    std::string k = oryginal;
    for (char& c : k)
      if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    if (k == "X" || k == "XY") pol.push_back({Polecenie::Utwierdzenie, 0, 0.0});
    if (k == "Y" || k == "XY") pol.push_back({Polecenie::Utwierdzenie, 1, 0.0});
    if (k == "X" || k == "Y" || k == "XY") continue;
    const bool u = k.rfind("UX=", 0) == 0 || k.rfind("UY=", 0) == 0;
    const bool f = k.rfind("FX=", 0) == 0 || k.rfind("FY=", 0) == 0;
    if (!u && !f) {
      nieznane.push_back(oryginal);
      continue;
    }
    std::string v = k.substr(3);
    if (!v.empty() && v[0] == '+') v.erase(0, 1);
    double x = 0;
    const auto [e, ec] = std::from_chars(v.data(), v.data() + v.size(), x);
    if (v.empty() || ec != std::errc() || e != v.data() + v.size() || !std::isfinite(x)) {
      blad = "Nazwa grupy " + cytat(nazwa) + ": " + cytat(oryginal) + " nie ma poprawnej wartości liczbowej";
      return false;
    }
    pol.push_back({u ? Polecenie::Przemieszczenie : Polecenie::Sila, k[1] == 'X' ? 0 : 1, x});
  }
  return true;
}

// --- numbering ----------------------------------------------------------------------------------

// Half band width of triangles numbered 1..nn (as the analysis computes it).
int pasmo(const std::vector<std::array<int, 3>>& t) {
  int b = 0;
  for (const auto& e : t) b = std::max(b, 2 * (std::max({e[0], e[1], e[2]}) - std::min({e[0], e[1], e[2]}) + 1));
  return b;
}

// Reverse Cuthill-McKee numbering of the nodes 1..nn joined by the edges of
// the triangles: nowy[k] is the new number of node k (index 0 unused).
std::vector<int> odwrotny_cuthill_mckee(int nn, const std::vector<std::array<int, 3>>& t) {
  std::vector<std::uint64_t> krawedzie;
  krawedzie.reserve(3 * t.size());
  for (const auto& e : t)
    for (int i = 0; i < 3; ++i) {
      const auto a = static_cast<std::uint64_t>(std::min(e[i], e[(i + 1) % 3]) - 1);
      const auto b = static_cast<std::uint64_t>(std::max(e[i], e[(i + 1) % 3]) - 1);
      krawedzie.push_back(a << 32 | b);
    }
  std::sort(krawedzie.begin(), krawedzie.end());
  krawedzie.erase(std::unique(krawedzie.begin(), krawedzie.end()), krawedzie.end());

  // Both directions of every edge in a compressed graph: one block of
  // memory instead of a list node per edge.
  std::vector<std::pair<std::size_t, std::size_t>> luki;
  luki.reserve(2 * krawedzie.size());
  for (std::uint64_t k : krawedzie) {
    luki.emplace_back(k >> 32, k & 0xffffffffu);
    luki.emplace_back(k & 0xffffffffu, k >> 32);
  }
  using Graf = boost::compressed_sparse_row_graph<boost::directedS>;
  const Graf graf(boost::edges_are_unsorted_multi_pass, luki.begin(), luki.end(), static_cast<std::size_t>(nn));
  std::vector<boost::default_color_type> kolory(static_cast<std::size_t>(nn));
  const auto kolor = boost::make_iterator_property_map(kolory.begin(), boost::get(boost::vertex_index, graf));
  std::vector<Graf::vertex_descriptor> kolejnosc(static_cast<std::size_t>(nn));
  // Written backwards: the reverse of the Cuthill-McKee order.  Each
  // connected part starts from a pseudo-peripheral node.
  boost::cuthill_mckee_ordering(graf, kolejnosc.rbegin(), kolor, boost::make_out_degree_map(graf));
  std::vector<int> nowy(static_cast<std::size_t>(nn) + 1, 0);
  for (std::size_t i = 0; i < kolejnosc.size(); ++i) nowy[kolejnosc[i] + 1] = static_cast<int>(i) + 1;
  return nowy;
}

}  // namespace

bool zbuduj_model(const gmsh::Siatka& s, Model& m, WynikImportu& w, std::string& blad) {
  zwolnij_tablice(m);
  m.Pusty = 1;
  m.obliczono = 0;
  w = WynikImportu{};
  const std::size_t n = s.tagi.size();
  if (s.xyz.size() != 3 * n) {
    blad = "Niespójny opis siatki";
    return false;
  }
  if (s.trojkaty.empty()) {
    blad = "Siatka nie zawiera elementów powierzchni (trójkątów ani czworokątów)";
    return false;
  }
  auto tag = [&](std::uint32_t i) { return std::to_string(s.tagi[i]); };
  auto X = [&](std::uint32_t i) { return s.xyz[3 * std::size_t{i}]; };
  auto Y = [&](std::uint32_t i) { return s.xyz[3 * std::size_t{i} + 1]; };
  auto Z = [&](std::uint32_t i) { return s.xyz[3 * std::size_t{i} + 2]; };

  // --- the nodes of the triangles, numbered as in the file ---------------------------------
  std::vector<int> nr(n, 0);  // file index -> number in the order of the file's tags
  for (const auto& t : s.trojkaty)
    for (std::uint32_t k : t.w) {
      if (k >= n) {
        blad = "Niespójny opis siatki";
        return false;
      }
      nr[k] = 1;
    }
  std::vector<std::uint32_t> wezly;  // number - 1 -> file index
  for (std::uint32_t i = 0; i < n; ++i)
    if (nr[i]) wezly.push_back(i);
  std::sort(wezly.begin(), wezly.end(), [&](std::uint32_t a, std::uint32_t b) { return s.tagi[a] < s.tagi[b]; });
  if (wezly.size() > static_cast<std::size_t>(kMaksWezlow) || s.trojkaty.size() > static_cast<std::size_t>(kMaksElementow)) {
    blad = "Siatka jest za duża: węzłów " + std::to_string(wezly.size()) + ", elementów " +
           std::to_string(s.trojkaty.size()) + " (program przyjmuje do " + std::to_string(kMaksWezlow) +
           " węzłów i " + std::to_string(kMaksElementow) + " elementów)";
    return false;
  }
  const int nn = static_cast<int>(wezly.size());
  const int ne = static_cast<int>(s.trojkaty.size());
  for (int k = 0; k < nn; ++k) nr[wezly[static_cast<std::size_t>(k)]] = k + 1;
  w.pominiete_wezly = static_cast<int>(n - wezly.size());
  w.czworokaty = s.czworokaty;

  // --- geometry: finite, in one plane z = const, moved to x, y >= 0 --------------------------
  double minx = std::numeric_limits<double>::infinity(), miny = minx, maxx = -minx, maxy = -minx;
  for (std::uint32_t i : wezly) {
    if (!std::isfinite(X(i)) || !std::isfinite(Y(i)) || !std::isfinite(Z(i))) {
      blad = "Współrzędne węzła " + tag(i) + " nie są liczbami skończonymi";
      return false;
    }
    minx = std::min(minx, X(i));
    maxx = std::max(maxx, X(i));
    miny = std::min(miny, Y(i));
    maxy = std::max(maxy, Y(i));
  }
  const double tolerancja = 1e-9 * std::max(maxx - minx, maxy - miny);
  for (std::uint32_t i : wezly)
    if (std::fabs(Z(i) - Z(wezly[0])) > tolerancja) {
      blad = "Siatka nie leży w płaszczyźnie XY\n(węzeł " + tag(wezly[0]) + ": z = " + g(Z(wezly[0])) + ", węzeł " +
             tag(i) + ": z = " + g(Z(i)) + ")";
      return false;
    }
  w.przesuniecie_x = minx < 0 ? -minx : 0.0;
  w.przesuniecie_y = miny < 0 ? -miny : 0.0;
  std::vector<float> xf(static_cast<std::size_t>(nn) + 1), yf(static_cast<std::size_t>(nn) + 1);
  for (int k = 1; k <= nn; ++k) {
    const std::uint32_t i = wezly[static_cast<std::size_t>(k - 1)];
    xf[static_cast<std::size_t>(k)] = static_cast<float>(X(i) + w.przesuniecie_x);
    yf[static_cast<std::size_t>(k)] = static_cast<float>(Y(i) + w.przesuniecie_y);
    if (!std::isfinite(xf[static_cast<std::size_t>(k)]) || !std::isfinite(yf[static_cast<std::size_t>(k)])) {
      blad = "Współrzędne węzła " + tag(i) + " przekraczają zakres liczb programu";
      return false;
    }
  }

  // --- renumbering ------------------------------------------------------------------------------
  std::vector<std::array<int, 3>> el(static_cast<std::size_t>(ne));
  for (int e = 0; e < ne; ++e)
    for (int k = 0; k < 3; ++k) el[static_cast<std::size_t>(e)][static_cast<std::size_t>(k)] = nr[s.trojkaty[static_cast<std::size_t>(e)].w[k]];
  w.pasmo_gmsh = pasmo(el);
  std::vector<int> nowy = odwrotny_cuthill_mckee(nn, el);
  std::vector<std::array<int, 3>> el_rcm = el;
  for (auto& e : el_rcm)
    for (int& k : e) k = nowy[static_cast<std::size_t>(k)];
  const int pasmo_rcm = pasmo(el_rcm);
  // Reverse Cuthill-McKee practically always narrows the band; should it
  // not, the file's own numbering stays.
  if (pasmo_rcm <= w.pasmo_gmsh) {
    el = std::move(el_rcm);
  } else {
    for (int k = 1; k <= nn; ++k) nowy[static_cast<std::size_t>(k)] = k;
  }
  w.pasmo = std::min(pasmo_rcm, w.pasmo_gmsh);
  {
    std::vector<float> x2(xf.size()), y2(yf.size());
    for (int k = 1; k <= nn; ++k) {
      const auto j = static_cast<std::size_t>(nowy[static_cast<std::size_t>(k)]);
      x2[j] = xf[static_cast<std::size_t>(k)];
      y2[j] = yf[static_cast<std::size_t>(k)];
    }
    xf.swap(x2);
    yf.swap(y2);
  }
  auto numer_modelu = [&](std::uint32_t i) { return nowy[static_cast<std::size_t>(nr[i])]; };

  // --- elements: counter-clockwise, numbered by their nodes, materials ------------------------
  int maks_grupa = 0;
  for (const auto& t : s.trojkaty) maks_grupa = std::max(maks_grupa, t.grupa);
  if (maks_grupa > kMaksMaterialow) {
    blad = "Numer powierzchni fizycznej " + std::to_string(maks_grupa) + " przekracza największą liczbę materiałów (" +
           std::to_string(kMaksMaterialow) + ")";
    return false;
  }
  const int nm = std::max(1, maks_grupa);
  std::vector<int> mat(static_cast<std::size_t>(ne));
  int bez_grupy = 0;
  for (int e = 0; e < ne; ++e) {
    auto& t = el[static_cast<std::size_t>(e)];
    const double x1 = xf[static_cast<std::size_t>(t[0])], y1 = yf[static_cast<std::size_t>(t[0])];
    const double x2 = xf[static_cast<std::size_t>(t[1])], y2 = yf[static_cast<std::size_t>(t[1])];
    const double x3 = xf[static_cast<std::size_t>(t[2])], y3 = yf[static_cast<std::size_t>(t[2])];
    // twice the signed area, as the element routine computes it
    const double dj = (x1 - x3) * (y2 - y3) - (x3 - x2) * (y3 - y1);
    if (dj == 0) {
      const auto& w3 = s.trojkaty[static_cast<std::size_t>(e)].w;
      blad = "Trójkąt o węzłach " + tag(w3[0]) + ", " + tag(w3[1]) + ", " + tag(w3[2]) + " ma zerowe pole";
      return false;
    }
    if (dj < 0) std::swap(t[1], t[2]);
    const int grupa = s.trojkaty[static_cast<std::size_t>(e)].grupa;
    mat[static_cast<std::size_t>(e)] = grupa > 0 ? grupa : 1;
    if (grupa == 0) ++bez_grupy;
  }
  // Elements in the order of their nodes (smallest, middle, largest), the
  // three numbers packed into one key of 21 bits each.
  static_assert(kMaksWezlow < (1 << 21));
  std::vector<std::pair<std::uint64_t, int>> kolejnosc(static_cast<std::size_t>(ne));
  for (int e = 0; e < ne; ++e) {
    auto k = el[static_cast<std::size_t>(e)];
    std::sort(k.begin(), k.end());
    const auto klucz = static_cast<std::uint64_t>(k[0]) << 42 | static_cast<std::uint64_t>(k[1]) << 21 |
                       static_cast<std::uint64_t>(k[2]);
    kolejnosc[static_cast<std::size_t>(e)] = {klucz, e};
  }
  std::sort(kolejnosc.begin(), kolejnosc.end());

  // --- physical groups: supports, loads and groups for selection -----------------------------
  struct Grupa {
    std::vector<std::pair<std::uint32_t, double>> wezly;  // file index, share of the curve's length
  };
  std::map<std::pair<int, int>, Grupa> grupy;
  for (const auto& o : s.odcinki) {
    const double l = std::hypot(X(o.w[0]) - X(o.w[1]), Y(o.w[0]) - Y(o.w[1]));
    auto& gr = grupy[{1, o.grupa}].wezly;
    gr.push_back({o.w[0], l / 2});
    gr.push_back({o.w[1], l / 2});
  }
  for (const auto& p : s.punkty) grupy[{0, p.grupa}].wezly.push_back({p.w, 0.0});
  for (const auto& t : s.trojkaty)
    if (t.grupa > 0)
      for (std::uint32_t k : t.w) grupy[{2, t.grupa}].wezly.push_back({k, 0.0});
  for (auto& [klucz_grupy, gr] : grupy) {
    auto& v = gr.wezly;
    std::sort(v.begin(), v.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    std::size_t j = 0;
    for (std::size_t i = 0; i < v.size(); ++i) {
      if (j > 0 && v[j - 1].first == v[i].first)
        v[j - 1].second += v[i].second;
      else
        v[j++] = v[i];
    }
    v.resize(j);
  }
  auto nazwa_grupy = [&](int wym, int t) {
    auto it = s.nazwy.find({wym, t});
    return it == s.nazwy.end() ? std::string() : it->second;
  };

  const auto nq = static_cast<std::size_t>(2 * nn);
  std::vector<float> u(nq + 1, 0.0f);
  std::vector<std::string> skad(nq + 1);  // the group that prescribed the degree of freedom ("" = free)
  std::vector<double> sily(nq + 1, 0.0);
  for (const auto& [k, gr] : grupy) {
    const auto [wym, t] = k;
    const std::string nazwa = nazwa_grupy(wym, t);
    const char* rodzaj = wym == 0 ? "punkty" : wym == 1 ? "krzywe" : "powierzchnie";
    GrupaSiatki sel;
    sel.etykieta = (nazwa.empty() ? "grupa " + std::to_string(t) : nazwa) + " (" + rodzaj + ", ";
    for (const auto& [i, l] : gr.wezly)
      if (nr[i]) {
        const auto j = static_cast<std::size_t>(numer_modelu(i));
        sel.punkty.push_back({xf[j], yf[j]});
      }
    sel.etykieta += liczba_wezlow(sel.punkty.size()) + ")";
    if (!sel.punkty.empty()) w.grupy.push_back(std::move(sel));
    if (wym > 1 || nazwa.empty()) continue;

    std::vector<Polecenie> pol;
    std::vector<std::string> nieznane;
    if (!rozbierz_nazwe(nazwa, pol, nieznane, blad)) return false;
    if (pol.empty()) {
      w.pominiete_nazwy.push_back(nazwa);
      continue;
    }
    if (!nieznane.empty()) {
      std::string p = nazwa + " (pominięto:";
      for (const auto& z : nieznane) p += " " + z;
      w.pominiete_nazwy.push_back(p + ")");
    }
    double dlugosc = 0;
    for (const auto& [i, l] : gr.wezly) {
      dlugosc += l;
      if (!nr[i]) {
        blad = "Węzeł " + tag(i) + " grupy " + cytat(nazwa) +
               " nie należy do żadnego elementu powierzchni, więc jej podpory i siły nie działałyby na tarczę";
        return false;
      }
    }
    for (const Polecenie& p : pol)
      for (const auto& [i, l] : gr.wezly) {
        const auto dof = static_cast<std::size_t>(2 * (numer_modelu(i) - 1) + p.kierunek + 1);
        if (p.rodzaj == Polecenie::Sila) {
          const double udzial = dlugosc > 0 ? l / dlugosc : 1.0 / static_cast<double>(gr.wezly.size());
          sily[dof] += p.wartosc * udzial;
          continue;
        }
        const auto v = static_cast<float>(p.wartosc);
        if (!skad[dof].empty() && u[dof] != v) {
          const char kier = p.kierunek == 0 ? 'X' : 'Y';
          blad = "Węzeł " + tag(i) + " (x = " + g(X(i)) + ", y = " + g(Y(i)) + ") ma dwa różne przemieszczenia " +
                 kier + ": " + g(u[dof]) + " z grupy " + cytat(skad[dof]) + " i " + g(v) + " z grupy " + cytat(nazwa);
          return false;
        }
        u[dof] = v;
        skad[dof] = nazwa;
      }
  }
  // A load or a support named for a group that has no nodes would be lost.
  for (const auto& [k, nazwa] : s.nazwy) {
    if (k.first > 1 || grupy.count(k)) continue;
    std::vector<Polecenie> pol;
    std::vector<std::string> nieznane;
    if (!rozbierz_nazwe(nazwa, pol, nieznane, blad)) return false;
    if (!pol.empty()) {
      blad = "Grupa " + cytat(nazwa) + " nie ma w siatce żadnych elementów, więc jej podpory i siły nie działałyby";
      return false;
    }
  }

  // --- the model ------------------------------------------------------------------------------
  int nd = 0;
  for (std::size_t j = 1; j <= nq; ++j) nd += skad[j].empty() ? 0 : 1;
  Model& t = m;
  t.ne = ne;
  t.nn = nn;
  t.nq = 2 * nn;
  t.nd = nd;
  t.nm = nm;
  t.maxpr = 1;
  t.th = 1.0f;
  t.nbw = 0;
  t.x.przydziel(1, nn, 1, 2);
  for (int k = 1; k <= nn; ++k) {
    t.x[k][1] = xf[static_cast<std::size_t>(k)];
    t.x[k][2] = yf[static_cast<std::size_t>(k)];
  }
  t.noc.przydziel(1, ne, 1, 3);
  t.mat.przydziel(1, ne);
  t.napr.przydziel(1, ne, 1, 4);
  for (int e = 1; e <= ne; ++e) {
    const auto z = static_cast<std::size_t>(kolejnosc[static_cast<std::size_t>(e - 1)].second);
    for (int k = 1; k <= 3; ++k) t.noc[e][k] = el[z][static_cast<std::size_t>(k - 1)];
    t.mat[e] = mat[z];
  }
  t.pm.przydziel(1, nm, 1, 2);
  t.Prz.przydziel(1, nm);
  t.Ez.przydziel(1, nm, 1, 1);
  t.Sprz.przydziel(1, nm, 1, 1);
  for (int i = 1; i <= nm; ++i) {
    t.pm[i][1] = kModul;
    t.pm[i][2] = kPoisson;
    t.Prz[i] = 1;
    t.Ez[i][1] = kModul;
    t.Sprz[i][1] = kGranica;
  }
  if (nd > 0) {
    t.nu.przydziel(1, nd);
    t.u.przydziel(1, nd);
    t.react.przydziel(1, nd);
    int l = 0;
    for (std::size_t j = 1; j <= nq; ++j)
      if (!skad[j].empty()) {
        ++l;
        t.nu[l] = static_cast<int>(j);
        t.u[l] = u[j];
      }
  }
  t.si.przydziel(1, t.nq);
  t.f.przydziel(1, t.nq);
  t.ww.przydziel(1, t.nq, 1, 4);
  int obciazone = 0;
  for (int k = 1; k <= nn; ++k) {
    const auto fx = static_cast<float>(sily[static_cast<std::size_t>(2 * k - 1)]);
    const auto fy = static_cast<float>(sily[static_cast<std::size_t>(2 * k)]);
    t.si[2 * k - 1] = t.f[2 * k - 1] = fx;
    t.si[2 * k] = t.f[2 * k] = fy;
    if (fx != 0 || fy != 0) ++obciazone;
    w.suma_fx += fx;
    w.suma_fy += fy;
  }
  t.nl = obciazone;
  przydziel_robocze(t);
  t.Pusty = 0;
  t.obliczono = 0;

  w.wezly = nn;
  w.elementy = ne;
  w.materialy = nm;
  w.podpory = nd;
  w.sily = obciazone;

  // --- the summary ------------------------------------------------------------------------------
  std::string& z = w.tekst;
  z = "Siatka Gmsh (MSH " + s.wersja + (s.binarny ? ", binarna" : ", tekstowa") + "): węzłów " + std::to_string(nn) +
      ", elementów " + std::to_string(ne) + "\n";
  if (w.czworokaty > 0) z += "Czworokąty podzielone na dwa trójkąty: " + std::to_string(w.czworokaty) + "\n";
  if (w.pominiete_wezly > 0)
    z += "Pominięte węzły, które nie należą do żadnego elementu: " + std::to_string(w.pominiete_wezly) + "\n";
  if (w.przesuniecie_x != 0 || w.przesuniecie_y != 0)
    z += "Siatkę przesunięto o x = " + g(w.przesuniecie_x) + ", y = " + g(w.przesuniecie_y) +
         " (współrzędne programu są nieujemne)\n";
  z += "Materiały: " + std::to_string(nm) + " (E = " + g(kModul) + ", ν = " + g(kPoisson) +
       ", jeden przedział do " + g(kGranica) + "; popraw je poleceniem „Zmień → Materiał”)";
  {
    std::vector<int> ile(static_cast<std::size_t>(nm) + 1, 0);
    for (int e = 0; e < ne; ++e) ++ile[static_cast<std::size_t>(mat[static_cast<std::size_t>(e)])];
    std::string lista;
    int pokazane = 0;
    for (int i = 1; i <= nm; ++i) {
      const std::string nazwa = nazwa_grupy(2, i);
      if (nazwa.empty() && ile[static_cast<std::size_t>(i)] > 0 && maks_grupa == 0) continue;
      if (++pokazane > 12) {
        lista += ", …";
        break;
      }
      lista += (lista.empty() ? "" : ", ") + std::to_string(i) + (nazwa.empty() ? "" : " " + cytat(nazwa)) +
               (ile[static_cast<std::size_t>(i)] == 0 ? " (bez elementów)" : "");
    }
    z += lista.empty() ? "\n" : ":\n  " + lista + "\n";
  }
  if (bez_grupy > 0 && maks_grupa > 0)
    z += "Elementy poza powierzchniami fizycznymi (materiał 1): " + std::to_string(bez_grupy) + "\n";
  z += "Podpory (stopnie swobody): " + std::to_string(nd) + ", węzły z siłami: " + std::to_string(obciazone) +
       " (suma X = " + g(w.suma_fx) + ", Y = " + g(w.suma_fy) + ")\n";
  z += "Szerokość pasma: " + std::to_string(w.pasmo_gmsh) + " w numeracji Gmsh, " + std::to_string(w.pasmo) +
       " po przenumerowaniu\n";
  if (!w.pominiete_nazwy.empty()) {
    z += "Nazwy grup bez znaczenia dla podpór i sił (pominięte):";
    for (const auto& p : w.pominiete_nazwy) z += " " + cytat(p);
    z += "\n";
  }
  if (!w.grupy.empty())
    z += "Grupy fizyczne do zaznaczenia („Grupa → Zaznacz grupę z siatki…”): " + std::to_string(w.grupy.size()) + "\n";
  if (!z.empty() && z.back() == '\n') z.pop_back();
  return true;
}

bool importuj_siatke(const std::uint8_t* dane, std::size_t rozmiar, Model& m, WynikImportu& w, std::string& blad) {
  gmsh::Siatka s;
  if (!gmsh::czytaj(dane, rozmiar, s, blad)) return false;
  return zbuduj_model(s, m, w, blad);
}
