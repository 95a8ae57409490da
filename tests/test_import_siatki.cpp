// Meshes from Gmsh: files written by the real program become models, a plate
// with a hole analysed after the import agrees with hand checks, and files
// that cannot be used are refused with their reason and leave the model
// alone.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "analysis/silnik.h"
#include "app/komendy.h"
#include "app/okno.h"
#include "fake_platform.h"
#include "io/gmsh_program.h"
#include "io/import_siatki.h"
#include "model/plik.h"
#include "model_builders.h"

namespace {

namespace fs = std::filesystem;

const fs::path kDane = fs::path(SKORBA_TESTDATA) / "gmsh";
const fs::path kPrzyklady = SKORBA_EXAMPLES;

std::vector<std::uint8_t> bajty(const fs::path& p) {
  std::vector<std::uint8_t> d;
  EXPECT_TRUE(czytaj_plik(p.string(), d)) << p;
  return d;
}

bool importuj(const std::string& tekst, Model& m, WynikImportu& w, std::string& blad) {
  return importuj_siatke(reinterpret_cast<const std::uint8_t*>(tekst.data()), tekst.size(), m, w, blad);
}

// Twice the signed area of element e.
double pole2(const Model& m, int e) {
  const double x1 = m.x[m.noc[e][1]][1], y1 = m.x[m.noc[e][1]][2];
  const double x2 = m.x[m.noc[e][2]][1], y2 = m.x[m.noc[e][2]][2];
  const double x3 = m.x[m.noc[e][3]][1], y3 = m.x[m.noc[e][3]][2];
  return (x1 - x3) * (y2 - y3) - (x3 - x2) * (y3 - y1);
}

class ImportSiatki : public testing::Test {
 protected:
  void SetUp() override {
    dir = fs::temp_directory_path() / ("skorba_gmsh_" + std::to_string(::getpid()) + "_" +
                                       testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::create_directories(dir);
    stary = fs::current_path();
    fs::current_path(dir);  // the analysis writes DR.txt here
  }
  void TearDown() override {
    fp.sprawdz_zuzyte();
    fs::current_path(stary);
    fs::remove_all(dir);
  }

  Model m;
  FakePlatform fp;
  _OKNO_ okno{m, fp};
  fs::path dir, stary;
};

}  // namespace

// The plate of plytka.geo written by gmsh as MSH 4.1 and 2.2, ASCII and
// binary: 30 quadrangles, the left edge "XY", the right edge "FX=1000", the
// top right corner "FY=-50".
TEST(ImportSiatkiPliki, FourVariantsOfOnePlateGiveTheSameModel) {
  Model wzor;
  WynikImportu w0;
  std::string blad;
  const auto d0 = bajty(kDane / "plytka_msh41.msh");
  ASSERT_TRUE(importuj_siatke(d0.data(), d0.size(), wzor, w0, blad)) << blad;
  ASSERT_TRUE(sprawdz_niezmienniki(wzor));
  EXPECT_EQ(wzor.nn, 41);
  EXPECT_EQ(wzor.ne, 60);
  EXPECT_EQ(w0.czworokaty, 30);
  EXPECT_EQ(wzor.nm, 1);
  EXPECT_EQ(wzor.pm[1][1], 200000.0f);
  EXPECT_EQ(wzor.pm[1][2], 0.3f);
  EXPECT_EQ(wzor.Sprz[1][1], 300.0f);
  EXPECT_EQ(wzor.th, 1.0f);
  for (int e = 1; e <= wzor.ne; ++e) EXPECT_GT(pole2(wzor, e), 0) << e;
  EXPECT_LT(w0.pasmo * 3, w0.pasmo_gmsh);
  EXPECT_EQ(w0.pasmo, szerokosc_pasma(wzor));
  EXPECT_EQ(w0.pasmo, 18);

  // The left edge (5 nodes) is clamped; the right edge carries 1000 in
  // shares of its length (4 segments of 5: 125 at the corners, 250 inside),
  // and the corner on top also the point's -50.
  EXPECT_EQ(wzor.nd, 10);
  for (int j = 1; j <= wzor.nd; ++j) {
    EXPECT_EQ(wzor.x[(wzor.nu[j] + 1) / 2][1], 0.0f);
    EXPECT_EQ(wzor.u[j], 0.0f);
  }
  std::map<float, std::pair<float, float>> prawa;  // y -> (fx, fy)
  for (int k = 1; k <= wzor.nn; ++k)
    if (wzor.si[2 * k - 1] != 0 || wzor.si[2 * k] != 0) {
      EXPECT_EQ(wzor.x[k][1], 40.0f);
      prawa[wzor.x[k][2]] = {wzor.si[2 * k - 1], wzor.si[2 * k]};
    }
  ASSERT_EQ(prawa.size(), 5u);
  EXPECT_FLOAT_EQ(prawa.begin()->second.first, 125.0f);
  EXPECT_FLOAT_EQ(std::next(prawa.begin())->second.first, 250.0f);
  EXPECT_FLOAT_EQ(prawa.rbegin()->second.first, 125.0f);
  EXPECT_EQ(prawa.rbegin()->second.second, -50.0f);
  EXPECT_NEAR(w0.suma_fx, 1000.0, 1e-3);
  EXPECT_NE(w0.tekst.find("Szerokość pasma: 78 w numeracji Gmsh, 18 po przenumerowaniu"), std::string::npos)
      << w0.tekst;

  for (const char* plik : {"plytka_msh41_bin.msh", "plytka_msh22.msh", "plytka_msh22_bin.msh"}) {
    SCOPED_TRACE(plik);
    Model m;
    WynikImportu w;
    const auto d = bajty(kDane / plik);
    ASSERT_TRUE(importuj_siatke(d.data(), d.size(), m, w, blad)) << blad;
    ASSERT_EQ(m.nn, wzor.nn);
    ASSERT_EQ(m.ne, wzor.ne);
    ASSERT_EQ(m.nd, wzor.nd);
    for (int k = 1; k <= m.nn; ++k) {
      EXPECT_EQ(m.x[k][1], wzor.x[k][1]);
      EXPECT_EQ(m.x[k][2], wzor.x[k][2]);
      EXPECT_EQ(m.si[2 * k - 1], wzor.si[2 * k - 1]);
      EXPECT_EQ(m.si[2 * k], wzor.si[2 * k]);
    }
    for (int e = 1; e <= m.ne; ++e)
      for (int k = 1; k <= 3; ++k) EXPECT_EQ(m.noc[e][k], wzor.noc[e][k]);
    for (int j = 1; j <= m.nd; ++j) EXPECT_EQ(m.nu[j], wzor.nu[j]);
    EXPECT_EQ(w.grupy.size(), w0.grupy.size());
  }

  // Without physical groups every triangle is material 1 and nothing is
  // supported or loaded.
  Model bez;
  WynikImportu wb;
  const auto db = bajty(kDane / "bez_grup.msh");
  ASSERT_TRUE(importuj_siatke(db.data(), db.size(), bez, wb, blad)) << blad;
  EXPECT_EQ(bez.nm, 1);
  EXPECT_EQ(bez.nd, 0);
  EXPECT_EQ(bez.nl, 0);
  EXPECT_EQ(wb.czworokaty, 0);
  EXPECT_TRUE(wb.grupy.empty());
}

// What cannot become a model is refused with its reason.
TEST(ImportSiatkiPliki, RefusesWhatItCannotUseAndSaysWhy) {
  const std::string fmt = "$MeshFormat\n2.2 0 8\n$EndMeshFormat\n";
  const std::string wezly = "$Nodes\n4\n1 0 0 0\n2 1 0 0\n3 1 1 0\n4 0 1 0\n$EndNodes\n";
  const std::string nazwy = "$PhysicalNames\n3\n1 1 \"X\"\n1 2 \"UX=0.5; siła\"\n2 3 \"stal\"\n$EndPhysicalNames\n";
  // Two triangles of surface 3 and two lines on the left edge, of groups 1 and 2.
  const std::string el = "$Elements\n4\n1 2 2 3 1 1 2 3\n2 2 2 3 1 1 3 4\n"
                         "3 1 2 1 1 1 4\n4 1 2 2 1 1 4\n$EndElements\n";
  static const char odwrocony[] = "$MeshFormat\n4.1 1 8\n\x00\x00\x00\x01\n$EndMeshFormat\n";
  struct Przypadek {
    std::string plik, powod;
  };
  std::vector<Przypadek> przypadki = {
      {"", "Plik jest pusty"},
      {"$Nodes\n$EndNodes\n", "brak sekcji $MeshFormat na początku"},
      {"$MeshFormat\n4 0 8\n$EndMeshFormat\n", "wersja formatu MSH: 4 (program czyta wersje 4.1 i 2.2)"},
      {std::string(odwrocony, sizeof odwrocony - 1), "innej kolejności bajtów"},
      {fmt + "$PartitionedEntities\n$EndPartitionedEntities\n", "podzielona na części"},
      {fmt + wezly, "Brak sekcji $Elements"},
      {fmt + "$Nodes\n99999999999\n1 0 0 0\n$EndNodes\n", "Liczba węzłów (99999999999) przekracza"},
      {fmt + "$Nodes\n2\n1 0 0 0\n1 1 0 0\n$EndNodes\n$Elements\n0\n$EndElements\n", "Węzeł 1 występuje w pliku dwa razy"},
      {fmt + wezly + "$Elements\n1\n7 2 0 1 2 5\n$EndElements\n", "Element 7 odwołuje się do węzła 5"},
      {fmt + wezly + "$Elements\n1\n1 4 0 1 2 3 4\n$EndElements\n", "elementy przestrzenne (typ 4)"},
      {fmt + wezly + "$Elements\n1\n1 9 0 1 2 3 4 1 2\n$EndElements\n", "drugiego lub wyższego rzędu (typ 9)"},
      {fmt + wezly + "$Elements\n1\n1 1 0 1 2\n$EndElements\n", "nie zawiera elementów powierzchni"},
      {fmt + "$Nodes\n3\n1 0 0 0\n2 1 0 nan\n3 0 1 0\n$EndNodes\n$Elements\n1\n1 2 0 1 2 3\n$EndElements\n",
       "Współrzędne węzła 2 nie są liczbami skończonymi"},
      {fmt + "$Nodes\n3\n1 0 0 0\n2 1 0 0.5\n3 0 1 0\n$EndNodes\n$Elements\n1\n1 2 0 1 2 3\n$EndElements\n",
       "Siatka nie leży w płaszczyźnie XY"},
      {fmt + "$Nodes\n3\n1 0 0 0\n2 1 0 0\n3 2 0 0\n$EndNodes\n$Elements\n1\n1 2 0 1 2 3\n$EndElements\n",
       "ma zerowe pole"},
      // MSH 2.2 repeats an element once per physical group: one triangle
      // in two surfaces would have two materials.
      {fmt + wezly + "$Elements\n2\n1 2 2 1 1 1 2 3\n2 2 2 2 1 1 2 3\n$EndElements\n",
       "należy do dwóch powierzchni fizycznych: 1 i 2"},
      {fmt + nazwy + wezly + el, "Węzeł 1 (x = 0, y = 0) ma dwa różne przemieszczenia X: 0 z grupy „X” i 0.5 z grupy"},
      {fmt + "$PhysicalNames\n1\n1 1 \"FY=-1,5\"\n$EndPhysicalNames\n" + wezly +
           "$Elements\n2\n1 2 0 1 2 3\n2 1 2 1 1 2 3\n$EndElements\n",
       "przecinkiem dziesiętnym"},
      {fmt + "$PhysicalNames\n1\n0 1 \"FY=abc\"\n$EndPhysicalNames\n" + wezly +
           "$Elements\n2\n1 2 0 1 2 3\n2 15 2 1 1 2\n$EndElements\n",
       "„FY=abc” nie ma poprawnej wartości"},
      // a load on a point that no triangle uses would be lost
      {fmt + "$PhysicalNames\n1\n0 1 \"FX=10\"\n$EndPhysicalNames\n" + wezly +
           "$Elements\n2\n1 2 0 1 2 3\n2 15 2 1 1 4\n$EndElements\n",
       "Węzeł 4 grupy „FX=10” nie należy do żadnego elementu"},
  };
  // A curve in 400 physical groups with 400 line elements would list more
  // group members than the file has bytes.
  std::string wiele = "$MeshFormat\n4.1 0 8\n$EndMeshFormat\n$Entities\n0 1 1 0\n1 0 0 0 1 1 0 400";
  for (int t = 1; t <= 400; ++t) wiele.append(" ").append(std::to_string(t));
  wiele += " 0\n1 0 0 0 1 1 0 0 0\n$EndEntities\n$Nodes\n1 3 1 3\n2 1 0 3\n1\n2\n3\n0 0 0\n1 0 0\n0 1 0\n"
           "$EndNodes\n$Elements\n2 401 1 401\n2 1 2 1\n1 1 2 3\n1 1 1 400\n";
  for (int e = 2; e <= 401; ++e) wiele.append(std::to_string(e)).append(" 1 2\n");
  wiele += "$EndElements\n";
  przypadki.push_back({wiele, "zbyt wielu grup fizycznych"});
  for (const auto& p : przypadki) {
    Model m;
    WynikImportu w;
    std::string blad;
    EXPECT_FALSE(importuj(p.plik, m, w, blad)) << p.powod;
    EXPECT_NE(blad.find(p.powod), std::string::npos) << "oczekiwano: " << p.powod << "\notrzymano: " << blad;
    EXPECT_EQ(m.Pusty, 1);
  }
  // The same mesh with the first group renamed is taken; names and words
  // that mean nothing are listed as ignored.
  Model m;
  WynikImportu w;
  std::string blad;
  std::string bez_x = fmt + nazwy + wezly + el;
  bez_x.replace(bez_x.find("1 1 \"X\""), 7, "1 1 \"lewa\"");
  ASSERT_TRUE(importuj(bez_x, m, w, blad)) << blad;
  EXPECT_EQ(m.nd, 2);
  EXPECT_EQ(m.u[1], 0.5f);
  EXPECT_EQ(w.pominiete_nazwy, (std::vector<std::string>{"lewa", "UX=0.5; siła (pominięto: siła)"}));

  // Node tags may be sparse and huge; a mesh written in a negative corner
  // is moved to the origin.
  const std::string rzadkie = "$MeshFormat\n4.1 0 8\n$EndMeshFormat\n$Nodes\n1 3 7 9000000000000000000\n"
                              "2 1 0 3\n7\n123456789012\n9000000000000000000\n-5 -2 0\n5 -2 0\n-5 8 0\n$EndNodes\n"
                              "$Elements\n1 1 1 1\n2 1 2 1\n1 7 123456789012 9000000000000000000\n$EndElements\n";
  ASSERT_TRUE(importuj(rzadkie, m, w, blad)) << blad;
  EXPECT_EQ(m.nn, 3);
  EXPECT_EQ(w.przesuniecie_x, 5.0);
  EXPECT_EQ(w.przesuniecie_y, 2.0);
  EXPECT_GT(pole2(m, 1), 0);

  // Every cut of a binary file is refused or read, never a crash.
  for (const char* plik : {"plytka_msh41_bin.msh", "plytka_msh22_bin.msh"}) {
    const auto d = bajty(kDane / plik);
    for (std::size_t n = 0; n < d.size(); n += 7) {
      Model t;
      importuj_siatke(d.data(), n, t, w, blad);
    }
  }
  // A second-order mesh written by gmsh says how to export a first-order one.
  const auto d = bajty(kDane / "plytka_rzad2.msh");
  EXPECT_FALSE(importuj_siatke(d.data(), d.size(), m, w, blad));
  EXPECT_NE(blad.find("gmsh plik.geo -2 -order 1 -format msh41"), std::string::npos) << blad;
}

// The example plate with a hole, imported as a user does it, analysed and
// checked by hand; the hole's edge then selected as a group.
TEST_F(ImportSiatki, PlateWithAHoleAgreesWithHandChecks) {
  // a model is open: the question of "Otwórz" comes first, No keeps it
  OpisModelu o = prostokat(2, 1, 2, 1);
  zbuduj(m, o);
  okno.NowaHistoria(true);
  fp.nie();
  okno.Cm_Importuj();
  EXPECT_EQ(m.nn, 6);
  // a file that cannot be used leaves the open model as it was
  fp.tak().plik((kDane / "plytka_rzad2.msh").string());
  okno.Cm_Importuj();
  EXPECT_EQ(m.nn, 6);
  EXPECT_EQ(m.Pusty, 0);
  ASSERT_EQ(fp.komunikaty.size(), 3u);
  EXPECT_EQ(fp.komunikaty[2].tytul, "Błąd danych");

  // a mesh given on the command line is imported as the command imports it
  fp.tak();
  okno.OtworzPlikProjektu((kPrzyklady / "plyta_z_otworem.msh").string());
  ASSERT_EQ(m.Pusty, 0);
  ASSERT_TRUE(sprawdz_niezmienniki(m));
  EXPECT_EQ(fp.tytul, kTytulPusty);
  EXPECT_EQ(okno._plik_.sciezka, (kPrzyklady / "plyta_z_otworem.SKD").string());
  EXPECT_EQ(m.nn, 1418);
  const std::string podsumowanie = fp.komunikaty.back().tekst;
  EXPECT_NE(podsumowanie.find("Szerokość pasma: 2742 w numeracji Gmsh, 104 po przenumerowaniu"), std::string::npos)
      << podsumowanie;
  EXPECT_NE(podsumowanie.find("„otwór”"), std::string::npos);
  EXPECT_EQ(szerokosc_pasma(m), 104);
  // The import is one step of the history and an unsaved model.
  EXPECT_TRUE(okno.Zmieniony());
  EXPECT_EQ(okno.historia.DoCofniecia(), "Importuj siatkę");
  okno.Cm_Cofnij();
  EXPECT_EQ(m.nn, 6);
  EXPECT_FALSE(okno.Zmieniony());
  okno.Cm_Ponow();
  EXPECT_EQ(m.nn, 1418);

  fp.ok({}, {}, 3200);
  okno.Obliczenia();
  ASSERT_EQ(m.obliczono, 1);
  // 5000 N pulls the plate; the clamped edge holds it.
  double rx = 0, ry = 0;
  for (int j = 1; j <= m.nd; ++j) (m.nu[j] % 2 ? rx : ry) += m.react[j];
  EXPECT_NEAR(rx, -5000.0, 0.5);
  EXPECT_NEAR(ry, 0.0, 0.5);
  // Nominal stress 5000 / (100 x 1) = 50; a hole of a fifth of the width
  // raises it about three times (3.14 by Heywood's formula), at the hole's
  // top and bottom.
  float najwiekszy = 0;
  int e_max = 0;
  for (int e = 1; e <= m.ne; ++e)
    if (m.napr[e][4] > najwiekszy) najwiekszy = m.napr[e][4], e_max = e;
  EXPECT_GT(najwiekszy / 50, 2.7);
  EXPECT_LT(najwiekszy / 50, 3.3);
  double sx = 0, sy = 0;
  for (int k = 1; k <= 3; ++k) sx += m.x[m.noc[e_max][k]][1] / 3, sy += m.x[m.noc[e_max][k]][2] / 3;
  EXPECT_NEAR(sx, 100, 2.5);
  EXPECT_NEAR(std::fabs(sy - 50), 11, 2);

  // "otwór" selects the nodes of the hole's edge, which "Zadaj siły" then loads.
  ASSERT_TRUE(komenda_wlaczona(okno, 52141));
  fp.wybierz(2);
  okno.Cm_grupa_siatki();
  ASSERT_EQ(fp.listy.back().size(), 4u);
  EXPECT_EQ(fp.listy.back()[2], "otwór (krzywe, 32 węzły)");
  ASSERT_EQ(m.j_grupa, 1);
  EXPECT_EQ(m.i_grp, 32);
  for (int j = 1; j <= m.i_grp; ++j)
    EXPECT_NEAR(std::hypot(m.x[m.s_grp[j]][1] - 100, m.x[m.s_grp[j]][2] - 50), 10, 1e-4);
  fp.ok({{"fx", "1"}}, {}, 3040);
  okno.Cm_G_SILA();
  double fx = 0;
  for (int k = 1; k <= m.nn; ++k) fx += m.si[2 * k - 1];
  EXPECT_NEAR(fx, 5032.0, 1e-2);
}

// A geometry is meshed by gmsh when it is installed; otherwise the dialog
// does not offer geometry files and one given anyway is refused.
TEST_F(ImportSiatki, GeometryFilesGoThroughGmsh) {
  const char* stara = std::getenv("PATH");
  const std::string sciezka = stara ? stara : "";
  setenv("PATH", dir.c_str(), 1);
  fp.plik((kDane / "plytka.geo").string());
  okno.Cm_Importuj();
  setenv("PATH", sciezka.c_str(), 1);
  EXPECT_EQ(okno._siatka_.filtr, "Siatki Gmsh (*.msh)|*.msh|");
  ASSERT_EQ(fp.komunikaty.size(), 1u);
  EXPECT_NE(fp.komunikaty[0].tekst.find("wymaga programu gmsh"), std::string::npos);
  EXPECT_EQ(m.Pusty, 1);

  if (znajdz_gmsh().empty()) GTEST_SKIP() << "gmsh is not installed (scripts/install-deps.sh --extras)";
  fp.wyczysc();
  fp.plik((kDane / "plytka.geo").string());
  okno.Cm_Importuj();
  EXPECT_NE(okno._siatka_.filtr.find("*.geo"), std::string::npos);
  ASSERT_EQ(m.Pusty, 0) << fp.teksty()[0];
  EXPECT_EQ(m.nn, 41);
  EXPECT_EQ(m.ne, 60);
  EXPECT_EQ(m.nd, 10);

  std::ofstream(dir / "zla.geo") << "Point(1) = {0, 0, 0, 1};\nLine(1) = {1, 2};\n";
  fp.wyczysc();
  // the imported model is unsaved: "Nie" to saving it
  fp.tak().nie().plik((dir / "zla.geo").string());
  okno.Cm_Importuj();
  EXPECT_EQ(m.nn, 41);
  ASSERT_EQ(fp.komunikaty.size(), 3u);
  EXPECT_EQ(fp.komunikaty[1].tekst, "Zapisać zmiany w projekcie?");
  EXPECT_NE(fp.komunikaty[2].tekst.find("Error   : Unknown control point 2"), std::string::npos)
      << fp.komunikaty[2].tekst;
}

// skorba_calc imports a mesh, prints the summary on standard error and
// stores the imported model with --save.
TEST_F(ImportSiatki, BatchToolImportsAndSaves) {
  const std::string polecenie = std::string(SKORBA_CALC) + " --no-analysis --save plyta.SKD " +
                                (kDane / "plytka_msh22_bin.msh").string() + " 2>bledy.txt >/dev/null";
  ASSERT_EQ(std::system(polecenie.c_str()), 0);
  std::ifstream in("bledy.txt");
  std::stringstream t;
  t << in.rdbuf();
  EXPECT_NE(t.str().find("Siatka Gmsh (MSH 2.2, binarna): węzłów 41, elementów 60"), std::string::npos) << t.str();
  std::vector<std::uint8_t> d;
  ASSERT_TRUE(czytaj_plik("plyta.SKD", d));
  Model zapisany;
  ASSERT_TRUE(wczytaj_model(d.data(), d.size(), zapisany));
  EXPECT_EQ(zapisany.nn, 41);
  EXPECT_EQ(zapisany.nd, 10);
}
