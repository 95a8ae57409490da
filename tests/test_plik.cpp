// The project file: layout, round trips and refused files.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <limits>
#include <random>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include "model/plik.h"
#include "model_builders.h"

namespace {

std::vector<std::uint8_t> bajty(std::initializer_list<std::int32_t> slowa) {
  std::vector<std::uint8_t> b;
  for (std::int32_t s : slowa)
    for (int i = 0; i < 4; ++i) b.push_back(static_cast<std::uint8_t>(static_cast<std::uint32_t>(s) >> (8 * i)));
  return b;
}

std::int32_t bity(float f) {
  std::int32_t i;
  std::memcpy(&i, &f, 4);
  return i;
}

void dopisz(std::vector<std::uint8_t>& b, std::initializer_list<std::int32_t> slowa) {
  auto d = bajty(slowa);
  b.insert(b.end(), d.begin(), d.end());
}

// Two elements, four nodes, two materials (1 and 3 intervals), supports, forces.
OpisModelu przyklad() {
  OpisModelu o;
  o.wezly = {{0, 0}, {2, 0}, {0, 1}, {2, 1}};
  o.elementy = {{1, 2, 4}, {1, 3, 4}};
  o.materialy_el = {1, 2};
  OpisModelu::Material a, b;
  a.pois = 0.25f;
  a.przedzialy = {{210000, 250}};
  a.nominalny = 200000;
  b.pois = 0.3f;
  b.przedzialy = {{200000, 300}, {20000, 400}, {2000, 500}};
  o.materialy = {a, b};
  o.podpory = {{1, 0}, {2, 0}, {5, 0.001f}};
  o.sily = {{4, -10}, {8, 2.5f}};
  o.th = 0.75f;
  o.nl = 2;
  return o;
}

void oczekuj_rowne(const Model& a, const Model& b) {
  ASSERT_EQ(a.ne, b.ne);
  ASSERT_EQ(a.nn, b.nn);
  ASSERT_EQ(a.nq, b.nq);
  ASSERT_EQ(a.nd, b.nd);
  ASSERT_EQ(a.nl, b.nl);
  ASSERT_EQ(a.nm, b.nm);
  ASSERT_EQ(a.maxpr, b.maxpr);
  EXPECT_EQ(bity(a.th), bity(b.th));
  for (int e = 1; e <= a.ne; ++e) {
    for (int k = 1; k <= 3; ++k) EXPECT_EQ(a.noc[e][k], b.noc[e][k]);
    EXPECT_EQ(a.mat[e], b.mat[e]);
  }
  for (int k = 1; k <= a.nn; ++k)
    for (int c = 1; c <= 2; ++c) EXPECT_EQ(bity(a.x[k][c]), bity(b.x[k][c]));
  for (int i = 1; i <= a.nm; ++i) {
    EXPECT_EQ(bity(a.pm[i][1]), bity(b.pm[i][1]));
    EXPECT_EQ(bity(a.pm[i][2]), bity(b.pm[i][2]));
    EXPECT_EQ(a.Prz[i], b.Prz[i]);
    for (int j = 1; j <= a.maxpr; ++j) {
      EXPECT_EQ(bity(a.Ez[i][j]), bity(b.Ez[i][j]));
      EXPECT_EQ(bity(a.Sprz[i][j]), bity(b.Sprz[i][j]));
    }
  }
  for (int j = 1; j <= a.nd; ++j) {
    EXPECT_EQ(a.nu[j], b.nu[j]);
    EXPECT_EQ(bity(a.u[j]), bity(b.u[j]));
  }
  for (int i = 1; i <= a.nq; ++i) EXPECT_EQ(bity(a.si[i]), bity(b.si[i]));
}

bool wczytaj(const std::vector<std::uint8_t>& b, Model& m) { return wczytaj_model(b.data(), b.size(), m); }

}  // namespace

TEST(PlikModelu, NodesOnlyModelIs28Plus48Bytes) {
  Model m;
  OpisModelu o;
  o.wezly = {{1, 2}, {3, 4}, {5, 6}};
  o.sily = {{2, 7.5f}};
  zbuduj(m, o);
  const auto plik = zapisz_model(m);
  ASSERT_EQ(plik.size(), 28u + 48u);
  std::vector<std::uint8_t> oczekiwane = bajty({0, 3, 0, 0, 0, bity(1.0f), 0});
  dopisz(oczekiwane, {bity(1), bity(2), bity(3), bity(4), bity(5), bity(6)});
  dopisz(oczekiwane, {0, bity(7.5f), 0, 0, 0, 0});
  EXPECT_EQ(plik, oczekiwane);

  Model r;
  ASSERT_TRUE(wczytaj(plik, r));
  oczekuj_rowne(m, r);
  EXPECT_EQ(r.f[2], 7.5f);  // f follows si
  EXPECT_EQ(r.nbw, 0);
  EXPECT_TRUE(sprawdz_niezmienniki(r));
}

TEST(PlikModelu, SectionsFollowTheTableOrder) {
  Model m;
  zbuduj(m, przyklad());
  const auto plik = zapisz_model(m);
  ASSERT_EQ(static_cast<std::int64_t>(plik.size()), rozmiar_pliku_modelu(2, 4, 3, 2, 3));
  std::vector<std::uint8_t> o = bajty({2, 4, 3, 2, 2, bity(0.75f), 3});
  dopisz(o, {1, 2, 4, 1, 3, 4});                                      // noc
  dopisz(o, {1, 2});                                                  // mat
  dopisz(o, {0, 0, bity(2), 0, 0, bity(1), bity(2), bity(1)});        // x
  dopisz(o, {bity(200000), bity(0.25f), 0, bity(0.3f)});              // pm
  dopisz(o, {1, 2, 5});                                               // nu
  dopisz(o, {0, 0, bity(0.001f)});                                    // u
  dopisz(o, {bity(250), 0, 0, bity(300), bity(400), bity(500)});      // Sprz, all 3 columns
  dopisz(o, {bity(210000), 0, 0, bity(200000), bity(20000), bity(2000)});  // Ez
  dopisz(o, {1, 3});                                                  // Prz
  dopisz(o, {0, 0, 0, bity(-10), 0, 0, 0, bity(2.5f)});               // si
  EXPECT_EQ(plik, o);
}

TEST(PlikModelu, ReadFileSavesBackByteForByte) {
  Model m;
  zbuduj(m, przyklad());
  auto plik = zapisz_model(m);
  // Columns beyond a material's interval count carry no meaning; whatever
  // they hold (here a NaN pattern) is carried through unchanged.
  const std::size_t sprz = 28 + 16 * 2 + 8 * 4 + 8 * 2 + 8 * 3;  // header, noc+mat, x, pm, nu+u
  const std::int32_t nan_bity = 0x7fc01234;
  std::memcpy(&plik[sprz + 4], &nan_bity, 4);
  Model r;
  ASSERT_TRUE(wczytaj(plik, r));
  EXPECT_EQ(zapisz_model(r), plik);
  Model r2;
  ASSERT_TRUE(wczytaj(zapisz_model(r), r2));
  oczekuj_rowne(r, r2);
}

TEST(PlikModelu, ReadingReplacesTheOldModel) {
  Model m;
  zbuduj(m, przyklad());
  Model inny;
  OpisModelu o;
  o.wezly = {{0, 0}, {1, 1}, {2, 2}};
  zbuduj(inny, o);
  ASSERT_TRUE(wczytaj(zapisz_model(inny), m));
  EXPECT_EQ(m.nn, 3);
  EXPECT_EQ(m.ne, 0);
  EXPECT_EQ(m.nm, 0);
  EXPECT_FALSE(m.noc.istnieje());
  EXPECT_FALSE(m.Ez.istnieje());
}

// Every class of hostile file is refused, and a refused file leaves the
// store exactly as it was (no half-filled arrays).
TEST(PlikModelu, RefusesHostileFiles) {
  Model wzor;
  zbuduj(wzor, przyklad());
  const auto dobry = zapisz_model(wzor);
  auto z_slowem = [&](std::size_t offset, std::int32_t v) {
    auto b = dobry;
    std::memcpy(&b[offset], &v, 4);
    return b;
  };
  const std::size_t noc = 28, mat = noc + 24, x = mat + 8, pm = x + 32, nu = pm + 16, u = nu + 12,
                    sprz = u + 12, ez = sprz + 24, prz = ez + 24, si = prz + 8;
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const float inf = std::numeric_limits<float>::infinity();
  struct Przypadek {
    const char* co;
    std::vector<std::uint8_t> plik;
  } przypadki[] = {
      {"pusty plik", {}},
      {"sam kawałek nagłówka", std::vector<std::uint8_t>(dobry.begin(), dobry.begin() + 20)},
      {"nn = 0", z_slowem(4, 0)},
      {"nn < 0", z_slowem(4, -4)},
      {"ne < 0", z_slowem(0, -1)},
      {"nd < 0", z_slowem(8, -1)},
      {"nl < 0", z_slowem(12, -1)},
      {"nm < 0", z_slowem(16, -2)},
      {"maxpr < 0", z_slowem(24, -3)},
      {"maxpr = 0 przy materiałach", z_slowem(24, 0)},
      {"ogromne ne", z_slowem(0, 0x7fffffff)},
      {"ogromne nn", z_slowem(4, 0x40000000)},
      {"ogromne maxpr", z_slowem(24, 0x7fffffff)},
      {"nm * maxpr ponad plik", z_slowem(16, 1000)},
      {"grubość NaN", z_slowem(20, bity(nan))},
      {"węzeł 0 w elemencie", z_slowem(noc, 0)},
      {"węzeł ponad nn", z_slowem(noc + 8, 5)},
      {"materiał 0", z_slowem(mat, 0)},
      {"materiał ponad nm", z_slowem(mat + 4, 3)},
      {"współrzędna nieskończona", z_slowem(x + 4, bity(inf))},
      {"współczynnik Poissona NaN", z_slowem(pm + 4, bity(nan))},
      {"stopień swobody 0", z_slowem(nu, 0)},
      {"stopień swobody ponad nq", z_slowem(nu + 8, 9)},
      {"przemieszczenie NaN", z_slowem(u + 8, bity(nan))},
      {"granica NaN w użytym przedziale", z_slowem(sprz + 12 + 4, bity(nan))},
      {"moduł nieskończony", z_slowem(ez, bity(-inf))},
      {"Prz = 0", z_slowem(prz, 0)},
      {"Prz ponad maxpr", z_slowem(prz + 4, 4)},
      {"siła NaN", z_slowem(si + 12, bity(nan))},
      {"ucięta sekcja sił", std::vector<std::uint8_t>(dobry.begin(), dobry.end() - 1)},
      {"ucięte w połowie", std::vector<std::uint8_t>(dobry.begin(), dobry.begin() + static_cast<long>(dobry.size() / 2))},
  };
  for (const auto& p : przypadki) {
    Model m;
    zbuduj(m, przyklad());
    EXPECT_FALSE(wczytaj(p.plik, m)) << p.co;
    oczekuj_rowne(wzor, m);  // untouched, counts included
  }
}

TEST(PlikModelu, EveryTruncationOfAValidFileIsRefused) {
  Model wzor;
  zbuduj(wzor, przyklad());
  const auto dobry = zapisz_model(wzor);
  for (std::size_t n = 0; n < dobry.size(); ++n) {
    Model m;
    EXPECT_FALSE(wczytaj_model(dobry.data(), n, m)) << n;
    EXPECT_EQ(m.nn, 0);
  }
}

TEST(PlikModelu, RandomCorruptionNeverCrashes) {
  Model wzor;
  zbuduj(wzor, przyklad());
  const auto dobry = zapisz_model(wzor);
  std::mt19937 los(12345);
  for (int proba = 0; proba < 3000; ++proba) {
    auto b = dobry;
    const int zmian = 1 + static_cast<int>(los() % 4);
    for (int i = 0; i < zmian; ++i) b[los() % b.size()] = static_cast<std::uint8_t>(los());
    if (los() % 5 == 0) b.resize(los() % (b.size() + 1));
    Model m;
    if (wczytaj(b, m)) {
      std::string powod;
      m.Pusty = 0;
      EXPECT_TRUE(sprawdz_niezmienniki(m, &powod)) << powod;
    }
  }
}

// Hostile files kept as a regression corpus (also the fuzzer's seeds).
TEST(PlikModelu, HostileCorpusIsRefusedOrLoadsConsistently) {
  const std::filesystem::path katalog = std::filesystem::path(SKORBA_TESTDATA) / "wrogie";
  int plikow = 0;
  for (const auto& wpis : std::filesystem::directory_iterator(katalog)) {
    std::vector<std::uint8_t> b;
    ASSERT_TRUE(czytaj_plik(wpis.path().string(), b));
    Model m;
    const bool ok = wczytaj(b, m);
    const bool ma_byc_ok = wpis.path().filename().string().rfind("ok_", 0) == 0;
    EXPECT_EQ(ok, ma_byc_ok) << wpis.path();
    if (ok) {
      m.Pusty = 0;
      std::string powod;
      EXPECT_TRUE(sprawdz_niezmienniki(m, &powod)) << wpis.path() << ": " << powod;
    }
    ++plikow;
  }
  EXPECT_GE(plikow, 10);
}

// The fuzzer starts from these files: each must be a valid project file, or
// the fuzzer would start from refusals.
TEST(PlikModelu, FuzzSeedsAreValidProjectFiles) {
  int plikow = 0;
  for (const auto& wpis : std::filesystem::directory_iterator(std::filesystem::path(SKORBA_EXAMPLES) / ".." / "fuzz" / "corpus")) {
    std::vector<std::uint8_t> b;
    ASSERT_TRUE(czytaj_plik(wpis.path().string(), b)) << wpis.path();
    Model m;
    EXPECT_TRUE(wczytaj_model(b.data(), b.size(), m)) << wpis.path();
    EXPECT_EQ(zapisz_model(m), b) << wpis.path();
    ++plikow;
  }
  EXPECT_GE(plikow, 5);
}

TEST(PlikModelu, AtomicWriteReplacesCompletelyOrNotAtAll) {
  const auto dir = std::filesystem::temp_directory_path() / ("skorba_plik_" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir);
  const auto cel = (dir / "a.SKD").string();
  const char stare[] = "stara zawartosc pliku, dluzsza niz nowa";
  ASSERT_TRUE(zapisz_plik_atomowo(cel, stare, sizeof stare));
  const char nowe[] = "nowa";
  ASSERT_TRUE(zapisz_plik_atomowo(cel, nowe, sizeof nowe));
  std::vector<std::uint8_t> b;
  ASSERT_TRUE(czytaj_plik(cel, b));
  EXPECT_EQ(b.size(), sizeof nowe);
  // a folder that does not exist: refused, nothing left behind
  EXPECT_FALSE(zapisz_plik_atomowo((dir / "brak" / "x.SKD").string(), nowe, sizeof nowe));
  // no temporary files remain
  int plikow = 0;
  for ([[maybe_unused]] const auto& w : std::filesystem::directory_iterator(dir)) ++plikow;
  EXPECT_EQ(plikow, 1);
  std::filesystem::remove_all(dir);
}

namespace {

// A fresh folder for one test, removed with everything in it afterwards.
struct FolderTestu {
  std::filesystem::path p;
  explicit FolderTestu(const std::string& nazwa)
      : p(std::filesystem::temp_directory_path() / (nazwa + std::to_string(::getpid()))) {
    std::filesystem::remove_all(p);
    std::filesystem::create_directories(p);
  }
  ~FolderTestu() {
    std::error_code ec;
    std::filesystem::permissions(p, std::filesystem::perms::owner_all, ec);
    std::filesystem::remove_all(p, ec);
  }
  std::string operator/(const std::string& n) const { return (p / n).string(); }
};

std::string tresc_pliku(const std::string& p) {
  std::vector<std::uint8_t> b;
  return czytaj_plik(p, b) ? std::string(b.begin(), b.end()) : std::string("<nieczytelny>");
}

}  // namespace

TEST(PlikModelu, SavingThroughLinksAndPipesKeepsThem) {
  namespace fs = std::filesystem;
  const FolderTestu dir("skorba_lacza_");
  const std::string dane = "nowa tresc";
  // A chain of links, absolute then relative through a linked folder: the
  // links stay, the final target gets the data; a dangling link creates its
  // target; a loop of links is refused.
  ASSERT_TRUE(zapisz_plik_atomowo(dir / "cel.SKD", "stara", 5));
  fs::create_directory_symlink(dir.p, dir / "tu");
  fs::create_symlink("tu/cel.SKD", dir / "wzgledne");
  fs::create_symlink(dir / "wzgledne", dir / "lacze.SKD");
  EXPECT_TRUE(zapisz_plik_atomowo(dir / "lacze.SKD", dane.data(), dane.size()));
  EXPECT_TRUE(fs::is_symlink(dir / "lacze.SKD") && fs::is_symlink(dir / "wzgledne"));
  EXPECT_EQ(tresc_pliku(dir / "cel.SKD"), dane);
  fs::create_symlink("nowy.SKD", dir / "wiszace");
  EXPECT_TRUE(zapisz_plik_atomowo(dir / "wiszace", dane.data(), dane.size()));
  EXPECT_TRUE(fs::is_symlink(dir / "wiszace"));
  EXPECT_EQ(tresc_pliku(dir / "nowy.SKD"), dane);
  fs::create_symlink("petla2", dir / "petla1");
  fs::create_symlink("petla1", dir / "petla2");
  EXPECT_FALSE(zapisz_plik_atomowo(dir / "petla1", dane.data(), dane.size()));

  // A pipe is written into (and reading one never waits for a writer).
  ASSERT_EQ(mkfifo((dir / "rura").c_str(), 0600), 0);
  std::vector<std::uint8_t> b;
  EXPECT_FALSE(czytaj_plik(dir / "rura", b));
  const int czytelnik = open((dir / "rura").c_str(), O_RDONLY | O_NONBLOCK);
  ASSERT_GE(czytelnik, 0);
  EXPECT_TRUE(zapisz_plik_atomowo(dir / "rura", dane.data(), dane.size()));
  char odebrane[64] = {};
  EXPECT_EQ(read(czytelnik, odebrane, sizeof odebrane), static_cast<ssize_t>(dane.size()));
  close(czytelnik);
  EXPECT_TRUE(fs::is_fifo(dir / "rura"));

  // No room for a temporary file (here: the name leaves none for the
  // temporary suffix): the writable file is written in place.
  const std::string dluga = dir / std::string(250, 'd');
  std::ofstream(dluga) << "dluga stara tresc";
  EXPECT_TRUE(zapisz_plik_atomowo(dluga, dane.data(), dane.size()));
  EXPECT_EQ(tresc_pliku(dluga), dane);
}

TEST(PlikModelu, SavingIntoADeviceWritesIntoItAndReportsAFullOne) {
  const FolderTestu dir("skorba_urzadzenia_");
  std::string null = "/dev/null", full = "/dev/full";
  if (geteuid() == 0) {
    // Root could replace the real nodes by mistake: copies of them instead.
    null = dir / "null";
    full = dir / "full";
    if (mknod(null.c_str(), S_IFCHR | 0666, makedev(1, 3)) != 0 || mknod(full.c_str(), S_IFCHR | 0666, makedev(1, 7)) != 0)
      GTEST_SKIP() << "mknod is refused here (no CAP_MKNOD), and the real device nodes are not risked as root";
  }
  EXPECT_TRUE(zapisz_plik_atomowo(null, "abc", 3));
  EXPECT_FALSE(zapisz_plik_atomowo(full, "abc", 3));  // ENOSPC
  EXPECT_TRUE(std::filesystem::is_character_file(null));
  EXPECT_TRUE(std::filesystem::is_character_file(full));
}

TEST(PlikModelu, SavingInALockedFolderWritesInPlaceAndSparesReadOnlyFiles) {
  if (geteuid() == 0) GTEST_SKIP() << "root ignores the permissions this test sets";
  namespace fs = std::filesystem;
  const FolderTestu dir("skorba_zamkniety_");
  ASSERT_TRUE(zapisz_plik_atomowo(dir / "a.SKD", "stara", 5));
  ASSERT_TRUE(zapisz_plik_atomowo(dir / "ro.SKD", "stara", 5));
  fs::permissions(dir / "ro.SKD", fs::perms::owner_read);
  fs::permissions(dir.p, fs::perms::owner_read | fs::perms::owner_exec);
  EXPECT_TRUE(zapisz_plik_atomowo(dir / "a.SKD", "nowa", 4));
  EXPECT_EQ(tresc_pliku(dir / "a.SKD"), "nowa");
  fs::permissions(dir.p, fs::perms::owner_all);
  EXPECT_FALSE(zapisz_plik_atomowo(dir / "ro.SKD", "nowa", 4));  // not replaced behind its owner's back
  EXPECT_EQ(tresc_pliku(dir / "ro.SKD"), "stara");
}
