// Pictures as SVG: what overlaps keeps its order while fills and lines of
// one colour are merged, a stress map comes out well-formed with the colours
// of its bands, and "Zapisz rysunek…" / "Kopiuj rysunek" ask the platform
// for what they need.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

#include "app/komendy.h"
#include "app/okno.h"
#include "fake_platform.h"
#include "model_builders.h"
#include "view/svg.h"

namespace {

namespace fs = std::filesystem;

std::string hex(Kolor k) {
  char b[8];
  std::snprintf(b, sizeof b, "#%02x%02x%02x", k.r, k.g, k.b);
  return b;
}

// The fill colours of the <path> elements in document order.
std::vector<std::string> wypelnienia(const std::string& svg) {
  std::vector<std::string> w;
  const std::string znacznik = "<path shape-rendering=\"crispEdges\" fill=\"";
  for (std::size_t p = 0; (p = svg.find(znacznik, p)) != std::string::npos; p += znacznik.size())
    w.push_back(svg.substr(p + znacznik.size(), 7));
  return w;
}

int ile(const std::string& s, const std::string& co) {
  int n = 0;
  for (std::size_t p = 0; (p = s.find(co, p)) != std::string::npos; p += co.size()) ++n;
  return n;
}

// Whether xmllint finds the document well-formed (true when it is absent).
bool poprawny_xml(const std::string& svg, const fs::path& plik) {
  if (std::system("command -v xmllint >/dev/null 2>&1") != 0) return true;
  std::ofstream(plik, std::ios::binary) << svg;
  return std::system(("xmllint --noout '" + plik.string() + "'").c_str()) == 0;
}

// What a paint asks of a canvas: the fill colours and the texts.
struct Zapis : Canvas {
  std::set<std::string> kolory;
  int teksty = 0;
  Kolor pedzel;
  int Szerokosc() const override { return 800; }
  int Wysokosc() const override { return 600; }
  void Pioro(Kolor, int, StylPiora) override {}
  void Pedzel(Kolor k) override { pedzel = k; }
  void Prostokat(int, int, int, int) override { kolory.insert(hex(pedzel)); }
  void MoveTo(int, int) override {}
  void LineTo(int, int) override {}
  void Polyline(const Punkt*, int) override {}
  void Polygon(const Punkt*, int) override {}
  void Wypelnij(const Punkt*, int) override { kolory.insert(hex(pedzel)); }
  void KolorTekstu(Kolor) override {}
  void Czcionka(const std::string&, int, int) override {}
  void CzcionkaDomyslna() override {}
  void TextOut(int, int, const std::string&) override { ++teksty; }
  Kolor GetPixel(int, int) const override { return Kolor(); }
  void SetPixel(int, int, Kolor) override {}
};

class Svg : public testing::Test {
 protected:
  void SetUp() override {
    dir = fs::temp_directory_path() /
          ("skorba_svg_" + std::to_string(::getpid()) + "_" + testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::create_directories(dir);
  }
  void TearDown() override {
    fp.sprawdz_zuzyte();
    fs::remove_all(dir);
  }
  // A plate of 8 x 4 cells with a stress field rising to the right, partly
  // above the first limit of its material.
  void plyta() {
    OpisModelu o = prostokat(8, 4, 8, 4);
    o.materialy[0].przedzialy = {{200000.0f, 300.0f}};
    o.podpory = {{1, 0}, {2, 0}};
    o.sily = {{2 * 45, -10.0f}};
    zbuduj(m, o);
    for (int n = 1; n <= m.nn; ++n)
      for (int s = 1; s <= 4; ++s) m.ww[n][s] = 50.0f * m.x[n][1] + 10.0f * m.x[n][2] * s;
    for (int e = 1; e <= m.ne; ++e)
      for (int s = 1; s <= 4; ++s)
        m.napr[e][s] = (m.ww[m.noc[e][1]][s] + m.ww[m.noc[e][2]][s] + m.ww[m.noc[e][3]][s]) / 3.0f;
    m.obliczono = 1;
  }
  Model m;
  FakePlatform fp;
  _OKNO_ okno{m, fp};
  fs::path dir;
};

}  // namespace

TEST(SvgCanvas, WhatOverlapsKeepsItsOrderWhileOneColourMerges) {
  SvgCanvas c(100, 100);
  const Kolor czerwony(255, 0, 0), niebieski(0, 0, 255);
  c.Pioro(czerwony, 1, StylPiora::Ciagly);
  c.Pedzel(czerwony);
  c.Prostokat(10, 10, 50, 50);
  c.Pedzel(niebieski);
  c.Prostokat(30, 30, 70, 70);  // over the first red square
  c.Pedzel(czerwony);
  c.Prostokat(60, 60, 90, 90);  // over the blue one: must stay above it
  c.Prostokat(0, 80, 10, 90);   // overlaps nothing: joins the first red
  c.Prostokat(10, 80, 20, 90);  // shares a side with it: one outline
  c.Pioro(Kolor(0, 0, 0), 1, StylPiora::Ciagly);
  c.MoveTo(0, 0);
  c.LineTo(99, 99);  // over everything
  c.KolorTekstu(Kolor(0, 128, 0));
  c.Czcionka("Arial", 12, 400);
  c.TextOut(40, 40, "a<b & \xC5\x82\xFF");  // markup, a Polish letter, a byte that is not UTF-8
  const std::string s = c.dokument();
  EXPECT_EQ(wypelnienia(s), (std::vector<std::string>{"#ff0000", "#0000ff", "#ff0000"}));
  EXPECT_NE(s.find("M0 80h20v10h-20z"), std::string::npos) << "two squares, one outline";
  const auto linia = s.find("stroke=\"#000000\""), tekst = s.find("a&lt;b &amp; ł\xEF\xBF\xBD");
  ASSERT_NE(linia, std::string::npos);
  ASSERT_NE(tekst, std::string::npos);
  EXPECT_GT(linia, s.rfind("fill=\"#ff0000\""));
  EXPECT_GT(tekst, linia);
  // The text's background: as wide as its letters in Liberation Sans 12.
  EXPECT_EQ(SvgCanvas::szerokosc_tekstu("12345", 12, 400), 33);
  EXPECT_EQ(SvgCanvas::szerokosc_tekstu("Materiał nr 1", 12, 700), 71);

  // Coordinates far beyond the picture are clipped before they reach it.
  SvgCanvas d(100, 100);
  const Punkt daleko[3] = {{-268435456, -268435456}, {268435456, 50}, {50, 268435456}};
  d.Wypelnij(daleko, 3);
  d.MoveTo(-268435456, 50);
  d.LineTo(268435456, 50);
  const std::string t = d.dokument();
  EXPECT_EQ(t.find("2684354"), std::string::npos);
  EXPECT_EQ(ile(t, "<path"), 2);
}

TEST_F(Svg, StressMapIsWellFormedWithTheColoursOfItsBandsAndAFewPaths) {
  plyta();
  okno.Cm_Napr4();
  Zapis z;
  okno.Paint(z);
  SvgCanvas c(800, 600);
  okno.Paint(c);
  const std::string s = c.dokument();
  EXPECT_TRUE(poprawny_xml(s, dir / "m.svg"));
  EXPECT_EQ(ile(s, "<text "), z.teksty);
  EXPECT_EQ(ile(s, "<svg "), 1);
  // Every colour of the bands, sub-triangles and scale cells, and no other.
  const auto w = wypelnienia(s);
  EXPECT_EQ(std::set<std::string>(w.begin(), w.end()), z.kolory);
  std::set<std::string> tablice;
  for (int i = 0; i <= 200; ++i) tablice.insert(hex(okno.knapr[i]));
  for (int i = 0; i <= 50; ++i) tablice.insert(hex(okno.knapp[i]));
  tablice.insert("#ffffff");  // the background
  for (const auto& k : z.kolory) EXPECT_EQ(tablice.count(k), 1u) << k;
  EXPECT_GT(z.kolory.size(), 100u);
  // Two layers (sub-triangles, bands over them) and the scale: about one
  // path per colour and layer, not one per polygon.
  EXPECT_LT(w.size(), 3 * z.kolory.size());
  EXPECT_EQ(ile(s, "stroke=\"#00ffff\""), 1);  // the whole mesh: one path
}

TEST_F(Svg, SaveAndCopyPictureAskThePlatformForWhatTheyNeed) {
  plyta();
  fp.widok_szer = 640;
  fp.widok_wys = 480;
  // SVG: written by the program itself, at the window's size.
  fp.plik((dir / "r.SVG").string());
  ASSERT_TRUE(wykonaj_komende(okno, 51761));
  EXPECT_EQ(fp.teksty(), std::vector<std::string>{"Plik zapisano poprawnie"});
  std::stringstream tresc;
  tresc << std::ifstream(dir / "r.SVG").rdbuf();
  EXPECT_NE(tresc.str().find("width=\"640\" height=\"480\""), std::string::npos);
  EXPECT_TRUE(fp.obrazy.empty());

  // PNG: the form offers twice the size, and remembers the choice.
  fp.wyczysc();
  fp.plik((dir / "r.png").string()).ok({}, {{"podwojny", 1}}, 3410);
  okno.Cm_zapisz_rysunek();
  ASSERT_EQ(fp.obrazy.size(), 1u);
  EXPECT_EQ(fp.obrazy[0].sciezka, (dir / "r.png").string());
  EXPECT_EQ(fp.obrazy[0].skala, 2);
  EXPECT_EQ(fp.obrazy[0].szer, 640);
  EXPECT_EQ(fp.ustawienia["rysunek/podwojny"], "1");
  fp.plik((dir / "r.png").string()).anuluj(3410);
  okno.Cm_zapisz_rysunek();
  EXPECT_EQ(fp.pokazane.back().stany.at("podwojny"), 1);
  EXPECT_EQ(fp.obrazy.size(), 1u);

  // Failures are reported, never shown as success.
  fp.wyczysc();
  fp.obrazy_udane = false;
  fp.plik((dir / "r.png").string()).ok({}, {{"podwojny", 0}}, 3410);
  okno.Cm_zapisz_rysunek();
  fp.plik((dir / "brak" / "r.svg").string());
  okno.Cm_zapisz_rysunek();
  ASSERT_TRUE(wykonaj_komende(okno, 51762));
  EXPECT_EQ(fp.teksty(), (std::vector<std::string>{"Nie można zapisać danych do pliku", "Nie można zapisać danych do pliku",
                                                   "Nie można skopiować rysunku do schowka"}));
  EXPECT_EQ(fp.obrazy.back().sciezka, "");
  EXPECT_STREQ(znajdz_komende(51762)->skroty, "Ctrl+C");
}
