// "Eksportuj do ParaView…": the .vtu file read back by a decoder of the
// test's own and by meshio, against the store and the results report.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>

#include "app/komendy.h"
#include "app/okno.h"
#include "fake_platform.h"
#include "io/vtu.h"
#include "model_builders.h"

namespace {

namespace fs = std::filesystem;

// One DataArray as the file holds it.
struct Tablica {
  std::string typ;
  int skladowe = 1;
  std::vector<std::uint8_t> bajty;  // after the byte count
  template <class T>
  T w(std::size_t i) const {
    T v;
    std::memcpy(&v, bajty.data() + i * sizeof(T), sizeof(T));
    return v;
  }
  std::size_t ile(std::size_t rozmiar) const { return bajty.size() / rozmiar; }
};

std::vector<std::uint8_t> z_base64(const std::string& s) {
  std::vector<std::uint8_t> out;
  std::uint32_t bufor = 0;
  int bity = 0;
  for (char c : s) {
    const char* z = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    const char* p = c ? std::strchr(z, c) : nullptr;
    if (!p) continue;  // padding, line ends
    bufor = bufor << 6 | static_cast<std::uint32_t>(p - z);
    if ((bity += 6) >= 8) out.push_back(static_cast<std::uint8_t>(bufor >> (bity -= 8)));
  }
  return out;
}

// Every DataArray of the file by name; the byte count in front of the
// data must match the data.
std::map<std::string, Tablica> czytaj_vtu(const std::string& t) {
  std::map<std::string, Tablica> wynik;
  const auto atrybut = [](const std::string& znacznik, const std::string& nazwa) {
    const auto p = znacznik.find(" " + nazwa + "=\"");
    if (p == std::string::npos) return std::string();
    const auto a = p + nazwa.size() + 3;
    return znacznik.substr(a, znacznik.find('"', a) - a);
  };
  for (std::size_t p = 0; (p = t.find("<DataArray", p)) != std::string::npos;) {
    const std::size_t koniec = t.find('>', p), zamkniecie = t.find("</DataArray>", koniec);
    const std::string znacznik = t.substr(p, koniec - p);
    EXPECT_EQ(atrybut(znacznik, "format"), "binary");
    Tablica a;
    a.typ = atrybut(znacznik, "type");
    if (!atrybut(znacznik, "NumberOfComponents").empty()) a.skladowe = std::stoi(atrybut(znacznik, "NumberOfComponents"));
    const auto dane = z_base64(t.substr(koniec + 1, zamkniecie - koniec - 1));
    std::uint64_t n = 0;
    std::memcpy(&n, dane.data(), 8);
    EXPECT_EQ(n, dane.size() - 8) << atrybut(znacznik, "Name");
    a.bajty.assign(dane.begin() + 8, dane.end());
    wynik[atrybut(znacznik, "Name")] = std::move(a);
    p = zamkniecie;
  }
  return wynik;
}

std::string czytaj(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

int wezel(int c, int r) { return 1 + c + r * 13; }

class Vtu : public testing::Test {
 protected:
  void SetUp() override {
    dir = fs::temp_directory_path() /
          ("skorba_vtu_" + std::to_string(::getpid()) + "_" + testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::create_directories(dir);
    // A cantilever of 12 x 3 cells that yields at its root, the upper cells
    // of a second material, its free end pulled down by a prescribed
    // displacement as well as a force.
    OpisModelu o = prostokat(12, 3, 12, 3, 200000.0f, 0.3f);
    o.materialy[0].przedzialy = {{200000.0f, 200.0f}, {100000.0f, 1.0e30f}};
    o.materialy.push_back({0.25f, {{150000.0f, 1.0e30f}}});
    o.materialy_el.assign(o.elementy.size(), 1);
    for (std::size_t e = o.elementy.size() - 24; e < o.elementy.size(); ++e) o.materialy_el[e] = 2;
    for (int r = 0; r <= 3; ++r) {
      o.podpory.push_back({2 * wezel(0, r) - 1, 0});
      o.podpory.push_back({2 * wezel(0, r), 0});
    }
    o.podpory.push_back({2 * wezel(12, 0), -0.05f});
    o.sily = {{2 * wezel(12, 3), -30.0f}, {2 * wezel(12, 3) - 1, 5.0f}};
    zbuduj(m, o);
    okno.plik_dr = (dir / "DR.txt").string();
  }
  void TearDown() override {
    fp.sprawdz_zuzyte();
    fs::remove_all(dir);
  }
  void oblicz() {
    fp.ok({{"ik", "50"}, {"pocz", "1"}}, {}, 3200);
    okno.Obliczenia();
    ASSERT_EQ(m.obliczono, 1);
    fp.wyczysc();
  }
  std::map<std::string, Tablica> eksport(const std::string& nazwa) {
    fp.plik((dir / nazwa).string());
    EXPECT_TRUE(wykonaj_komende(okno, 51760));
    EXPECT_EQ(fp.teksty(), std::vector<std::string>{"Plik zapisano poprawnie"});
    fp.wyczysc();
    return czytaj_vtu(czytaj(dir / nazwa));
  }

  Model m;
  FakePlatform fp;
  _OKNO_ okno{m, fp};
  fs::path dir;
};

// The value at a node per degree of freedom, as a vector (x, y, 0).
void wektor_jak(const Tablica& t, int nn, const std::function<float(int)>& na_dof, const char* co) {
  ASSERT_EQ(t.skladowe, 3) << co;
  ASSERT_EQ(t.ile(4), static_cast<std::size_t>(3 * nn)) << co;
  for (int k = 1; k <= nn; ++k) {
    EXPECT_EQ(t.w<float>(3 * (k - 1)), na_dof(2 * k - 1)) << co << " node " << k;
    EXPECT_EQ(t.w<float>(3 * (k - 1) + 1), na_dof(2 * k)) << co << " node " << k;
    EXPECT_EQ(t.w<float>(3 * (k - 1) + 2), 0.0f) << co;
  }
}

}  // namespace

TEST_F(Vtu, AfterTheAnalysisEveryArrayHoldsTheStoresNumbersBitForBit) {
  oblicz();
  auto a = eksport("w.vtu");
  const int nn = m.nn, ne = m.ne;
  ASSERT_EQ(a["Points"].ile(4), static_cast<std::size_t>(3 * nn));
  for (int k = 1; k <= nn; ++k) {
    EXPECT_EQ(a["Points"].w<float>(3 * (k - 1)), m.x[k][1]);
    EXPECT_EQ(a["Points"].w<float>(3 * (k - 1) + 1), m.x[k][2]);
  }
  ASSERT_EQ(a["connectivity"].ile(4), static_cast<std::size_t>(3 * ne));
  ASSERT_EQ(a["types"].ile(1), static_cast<std::size_t>(ne));
  for (int e = 1; e <= ne; ++e) {
    for (int j = 0; j < 3; ++j) EXPECT_EQ(a["connectivity"].w<std::int32_t>(3 * (e - 1) + j), m.noc[e][j + 1] - 1);
    EXPECT_EQ(a["offsets"].w<std::int32_t>(e - 1), 3 * e);
    EXPECT_EQ(a["types"].w<std::uint8_t>(e - 1), 5);  // triangle
    EXPECT_EQ(a[vtu::kMaterial].w<std::int32_t>(e - 1), m.mat[e]);
    for (int s = 0; s < 4; ++s) EXPECT_EQ(a[vtu::kNaprEl[s]].w<float>(e - 1), m.napr[e][s + 1]);
    EXPECT_EQ(a[vtu::kModulSieczny].w<float>(e - 1), m.EE[e]);
  }
  // The root yielded: its secant modulus lies below the first one.
  EXPECT_LT(a[vtu::kModulSieczny].w<float>(0), 200000.0f);
  EXPECT_EQ(a[vtu::kModulSieczny].w<float>(ne - 1), 150000.0f);
  for (int k = 1; k <= nn; ++k)
    for (int s = 0; s < 4; ++s) EXPECT_EQ(a[vtu::kNaprWez[s]].w<float>(k - 1), m.ww[k][s + 1]);
  wektor_jak(a[vtu::kPrzemieszczenia], nn, [&](int i) { return m.f[i]; }, "displacement");
  wektor_jak(a[vtu::kSily], nn, [&](int i) { return m.si[i]; }, "forces");
  std::map<int, float> zadane, reakcje;
  for (int j = 1; j <= m.nd; ++j) zadane[m.nu[j]] = m.u[j], reakcje[m.nu[j]] = m.react[j];
  wektor_jak(a[vtu::kZadane], nn, [&](int i) { return zadane.count(i) ? zadane[i] : 0.0f; }, "prescribed");
  wektor_jak(a[vtu::kReakcje], nn, [&](int i) { return reakcje.count(i) ? reakcje[i] : 0.0f; }, "reactions");
  ASSERT_EQ(a[vtu::kPodpory].skladowe, 2);
  for (int i = 1; i <= m.nq; ++i) EXPECT_EQ(a[vtu::kPodpory].w<std::int32_t>(i - 1), zadane.count(i) ? 1 : 0);
  EXPECT_EQ(a[vtu::kGrubosc].w<float>(0), m.th);
  EXPECT_EQ(a[vtu::kKroki].w<std::int32_t>(0), okno.przebieg.kroki);
  EXPECT_GT(okno.przebieg.kroki, 1);
  EXPECT_EQ(a[vtu::kZmiana].w<float>(0), static_cast<float>(okno.przebieg.dumax));
}

TEST_F(Vtu, WithoutResultsOnlyTheModelAndItsLoadsAndAFailedWriteIsReported) {
  EXPECT_TRUE(komenda_wlaczona(okno, 51760));  // a model without results
  auto a = eksport("model.vtu");
  for (const char* jest : {"Points", "connectivity", vtu::kMaterial, vtu::kPodpory, vtu::kZadane, vtu::kSily, vtu::kGrubosc})
    EXPECT_EQ(a.count(jest), 1u) << jest;
  for (const char* brak : {vtu::kPrzemieszczenia, vtu::kNaprEl[3], vtu::kNaprWez[0], vtu::kModulSieczny, vtu::kReakcje,
                           vtu::kKroki, vtu::kZmiana})
    EXPECT_EQ(a.count(brak), 0u) << brak;
  wektor_jak(a[vtu::kSily], m.nn, [&](int i) { return m.si[i]; }, "forces");

  fp.plik((dir / "brak" / "w.vtu").string());
  okno.Cm_eksport_vtu();
  ASSERT_EQ(fp.komunikaty.size(), 1u);
  EXPECT_EQ(fp.komunikaty[0].tekst, "Nie można zapisać danych do pliku");
  EXPECT_EQ(fp.komunikaty[0].tytul, "Błąd operacji dyskowej");
  EXPECT_FALSE(fs::exists(dir / "brak"));
}

TEST_F(Vtu, MeshioReadsWhatTheReportSays) {
  if (std::system("/usr/bin/python3 -c 'import meshio' >/dev/null 2>&1") != 0)
    GTEST_SKIP() << "meshio (Debian python3-meshio) is not installed";
  oblicz();
  eksport("w.vtu");
  fp.plik((dir / "w.txt").string());
  okno.Cm_zap_wyn();
  // Every number of the report (written with 6 significant digits) must be
  // what meshio reads from the arrays, formatted the same way.
  const std::string skrypt = R"(
import sys, meshio
m = meshio.read(sys.argv[1])
r = open(sys.argv[2], encoding='cp1250', newline='').read().split('\r\n')
g = lambda v: '%g' % float(v)
pd, cd, fd = m.point_data, m.cell_data, m.field_data
sek = lambda t: r.index(t) + 3
bledy = []
def rowne(a, b, co):
    if a != b: bledy.append('%s: %s != %s' % (co, a, b))
rowne(r[4].split(': ')[1], str(len(m.cells_dict['triangle'])), 'ne')
rowne(r[5].split(': ')[1], str(len(m.points)), 'nn')
rowne(r[9].split(': ')[1], g(fd['Grubosc_tarczy'][0]), 'th')
p = sek('Przemieszczenia węzłów')
for k in range(len(m.points)):
    rowne(r[p + k].split('\t'), [str(k + 1), g(pd['Przemieszczenia_wezlow'][k][0]), g(pd['Przemieszczenia_wezlow'][k][1])], 'u')
e = sek('Naprężenia w elementach')
nazwy = ['x', 'y', 'styczne', 'Hubera']
for i in range(len(m.cells_dict['triangle'])):
    rowne(r[e + i].split('\t\t')[1:], [g(cd['Naprezenia_w_elementach_' + n][0][i]) for n in nazwy], 'napr')
w = sek('Naprężenia w węzłach')
for k in range(len(m.points)):
    rowne(r[w + k].split('\t')[1:], [g(pd['Naprezenia_w_wezlach_' + n][k]) for n in nazwy], 'ww')
j = r.index('Reakcje w podporach') + 2
while r[j]:
    a, wartosc = r[j].split('\t')
    rowne(wartosc, g(pd['Reakcje_w_podporach'][int(float(a[:-1])) - 1][0 if a[-1] == 'X' else 1]), 'reakcja')
    j += 1
print('\n'.join(bledy[:10]) if bledy else 'zgodne')
)";
  std::ofstream(dir / "por.py") << skrypt;
  const std::string pol = "/usr/bin/python3 '" + (dir / "por.py").string() + "' '" + (dir / "w.vtu").string() + "' '" +
                          (dir / "w.txt").string() + "' 2>&1";
  FILE* p = popen(pol.c_str(), "r");
  ASSERT_NE(p, nullptr);
  std::string wyjscie;
  char b[512];
  while (std::fgets(b, sizeof b, p)) wyjscie += b;
  pclose(p);
  EXPECT_EQ(wyjscie, "zgodne\n");
}
