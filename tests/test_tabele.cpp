// The data and results tables: where every row lands and how it reads, and
// the life of the windows through the commands that open and close them.
#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <string>
#include <vector>

#include "app/komendy.h"
#include "app/okno.h"
#include "fake_platform.h"
#include "model_builders.h"
#include "view/canvas.h"
#include "view/tabele.h"

namespace {

// A canvas that records the texts and lines drawn on it.
struct ZapisCanvas : Canvas {
  struct Tekst {
    int x, y;
    std::string t;
  };
  struct Linia {
    int x1, y1, x2, y2, szer;
    Kolor k;
  };
  std::vector<Tekst> teksty;
  std::vector<Linia> linie;
  std::string czcionka;
  int wys_czcionki = 0, waga = 0;
  Kolor kolor_tekstu{1, 2, 3};
  Kolor pioro;
  int szer_piora = 0;
  int cx = 0, cy = 0;

  int Szerokosc() const override { return 450; }
  int Wysokosc() const override { return 400; }
  void Pioro(Kolor k, int s, StylPiora) override {
    pioro = k;
    szer_piora = s;
  }
  void Pedzel(Kolor) override {}
  void Prostokat(int, int, int, int) override {}
  void MoveTo(int x, int y) override {
    cx = x;
    cy = y;
  }
  void LineTo(int x, int y) override {
    linie.push_back({cx, cy, x, y, szer_piora, pioro});
    cx = x;
    cy = y;
  }
  void Polyline(const Punkt*, int) override {}
  void Polygon(const Punkt*, int) override {}
  void KolorTekstu(Kolor k) override { kolor_tekstu = k; }
  void Czcionka(const std::string& kroj, int w, int g) override {
    czcionka = kroj;
    wys_czcionki = w;
    waga = g;
  }
  void CzcionkaDomyslna() override {}
  void TextOut(int x, int y, const std::string& t) override { teksty.push_back({x, y, t}); }
  // With `znak` set, every character is that wide (none can be measured by default).
  int znak = 0;
  int szer(const std::string& t) const {
    return znak * static_cast<int>(std::count_if(t.begin(), t.end(), [](char b) { return (b & 0xC0) != 0x80; }));
  }
  Wymiary WymiaryTekstu(const std::string& t) override { return {szer(t), 16}; }
  // Whether in every row each text ends at least `odstep` before the next begins.
  ::testing::AssertionResult rozdzielne(int odstep) const {
    std::vector<Tekst> w = teksty;
    std::sort(w.begin(), w.end(), [](const Tekst& a, const Tekst& b) { return a.y != b.y ? a.y < b.y : a.x < b.x; });
    for (std::size_t i = 0; i + 1 < w.size(); ++i)
      if (w[i].y == w[i + 1].y && w[i].x + szer(w[i].t) + odstep > w[i + 1].x)
        return ::testing::AssertionFailure() << "\"" << w[i].t << "\" runs into \"" << w[i + 1].t << "\" at y "
                                             << w[i].y;
    return ::testing::AssertionSuccess();
  }
  Kolor GetPixel(int, int) const override { return {}; }
  void SetPixel(int, int, Kolor) override {}

  // The texts of one row (same y), ordered by x.
  std::vector<std::string> wiersz(int y) const {
    std::vector<Tekst> w;
    for (const auto& t : teksty)
      if (t.y == y) w.push_back(t);
    std::sort(w.begin(), w.end(), [](const Tekst& a, const Tekst& b) { return a.x < b.x; });
    std::vector<std::string> r;
    for (const auto& t : w) r.push_back(t.t);
    return r;
  }
  // The x of a text at row y, or -1.
  int x_tekstu(int y, const std::string& t) const {
    for (const auto& s : teksty)
      if (s.y == y && s.t == t) return s.x;
    return -1;
  }
  std::vector<int> separatory() const {
    std::vector<int> y;
    for (const auto& l : linie) y.push_back(l.y1);
    return y;
  }
  int najnizszy_tekst() const {
    int y = 0;
    for (const auto& t : teksty) y = std::max(y, t.y);
    return y;
  }
};

class Tabele : public testing::Test {
 protected:
  void TearDown() override { fp.sprawdz_zuzyte(); }

  // 2 elements, 4 nodes, 1 material with 1 interval, 2 supports, 1 force.
  void przyklad() {
    OpisModelu o;
    o.wezly = {{0, 0}, {2, 0}, {0, 1.5f}, {2, 1.5f}};
    o.elementy = {{1, 2, 4}, {1, 4, 3}};
    o.materialy.push_back({0.3f, {{210000.0f, 235.0f}}, 210000.0f});
    o.podpory = {{1, 0.0f}, {6, -0.25f}};
    o.sily = {{8, -1000.0f}};
    zbuduj(m, o);
  }
  ZapisCanvas maluj_dane(int znak = 0) {
    ZapisCanvas c;
    c.znak = znak;
    _DANE_ d(okno);
    d.Paint(c);
    return c;
  }
  ZapisCanvas maluj_wyniki(int znak = 0) {
    ZapisCanvas c;
    c.znak = znak;
    _WYNIKI_ w(okno);
    w.Paint(c);
    return c;
  }

  Model m;
  FakePlatform fp;
  _OKNO_ okno{m, fp};
};

}  // namespace

TEST_F(Tabele, DataTableOfTheSmallExample) {
  przyklad();
  const ZapisCanvas c = maluj_dane();
  EXPECT_EQ(c.czcionka, "Arial");
  EXPECT_EQ(c.wys_czcionki, 16);
  EXPECT_EQ(c.waga, 400);
  EXPECT_EQ(c.kolor_tekstu, Kolor(0, 0, 0));

  // separators: 44, 20·2+73, 20·6+160, 20·7+225, 20·9+265
  EXPECT_EQ(c.separatory(), (std::vector<int>{44, 113, 280, 365, 445}));
  for (const auto& l : c.linie) {
    EXPECT_EQ(l.x1, 2);
    EXPECT_EQ(l.x2, 410);
    EXPECT_EQ(l.y2, l.y1);
    EXPECT_EQ(l.szer, 3);
    EXPECT_EQ(l.k, Kolor(0, 0, 0));
  }

  EXPECT_EQ(c.wiersz(5), (std::vector<std::string>{"Element", "Węzeł 1", "Węzeł 2", "Węzeł 3", "Nr"}));
  EXPECT_EQ(c.x_tekstu(25, "materiału"), 350);
  EXPECT_EQ(c.wiersz(50), (std::vector<std::string>{"1", "1", "2", "4", "1"}));
  EXPECT_EQ(c.x_tekstu(70, "3"), 270);  // element 2: 1 4 3
  EXPECT_EQ(c.wiersz(95), (std::vector<std::string>{"Węzeł", "Wsp. X", "Y"}));
  EXPECT_EQ(c.wiersz(135), (std::vector<std::string>{"1", "   0.000", "   0.000"}));
  EXPECT_EQ(c.wiersz(195), (std::vector<std::string>{"4", "   2.000", "   1.500"}));
  EXPECT_EQ(c.wiersz(245), (std::vector<std::string>{"Nr materiału", "Moduł", "Wsp. Poissona", "Napręż. graniczne"}));
  EXPECT_EQ(c.x_tekstu(260, "Younga"), 100);
  EXPECT_EQ(c.wiersz(285), (std::vector<std::string>{"1", "  210000", "0.300000", "235.0"}));
  EXPECT_EQ(c.wiersz(345), (std::vector<std::string>{"Nr węzła", "Przemieszczenie max."}));
  // the support rows below the separator at 365
  EXPECT_EQ(c.wiersz(375), (std::vector<std::string>{"   1X", "   0.000"}));
  EXPECT_EQ(c.wiersz(395), (std::vector<std::string>{"   3Y", "  -0.250"}));
  EXPECT_EQ(c.wiersz(425), (std::vector<std::string>{"Nr węzła", "Siła"}));
  // the force row below the separator at 445
  EXPECT_EQ(c.wiersz(455), (std::vector<std::string>{"   4Y", "-1000.000"}));
  EXPECT_EQ(c.najnizszy_tekst(), 455);
  EXPECT_EQ(c.teksty.size(), 18u + 2 * 5 + 4 * 3 + 4 + 2 * 2 + 2);
}

TEST_F(Tabele, MaterialIntervalsAndForcesGetOneRowEach) {
  OpisModelu o;
  o.wezly = {{0, 0}, {1, 0}, {0, 1}, {1, 1}, {2, 2}};
  o.elementy = {{1, 2, 3}};
  o.materialy.push_back({0.25f, {{200000.0f, 100.0f}, {100000.0f, 150.5f}, {50000.0f, 1e30f}}, 0});
  o.materialy.push_back({0.2f, {{30000.0f, 20.0f}}, 0});
  o.podpory = {{6, 0.0f}};  // node 3 restrained in Y only
  o.sily = {{9, 12.5f}, {10, -7.0f}, {2, 3.0f}};
  zbuduj(m, o);
  const ZapisCanvas c = maluj_dane();
  // materials start at 20·(1+5)+165 = 285
  EXPECT_EQ(c.wiersz(285), (std::vector<std::string>{"1", "  200000", "0.250000", "100.0"}));
  EXPECT_EQ(c.wiersz(305), (std::vector<std::string>{"1", "  100000", "0.250000", "150.5"}));
  EXPECT_EQ(c.wiersz(325)[0], "1");
  EXPECT_EQ(c.wiersz(325)[1], "   50000");
  EXPECT_EQ(c.wiersz(325)[2], "0.250000");
  EXPECT_EQ(c.wiersz(325)[3].substr(0, 8), "10000000");  // 1e30 in "%4.1f"
  EXPECT_EQ(c.wiersz(345), (std::vector<std::string>{"2", "   30000", "0.200000", "20.0"}));
  // R = 4: supports header at 20·(1+5+4)+205
  EXPECT_EQ(c.wiersz(405), (std::vector<std::string>{"Nr węzła", "Przemieszczenie max."}));
  EXPECT_EQ(c.wiersz(435), (std::vector<std::string>{"   3Y", "   0.000"}));
  // forces in degree-of-freedom order: node 1 Y, then node 5 X and Y
  const int s = 20 * (1 + 5 + 4 + 1);
  EXPECT_EQ(c.separatory().back(), s + 265);
  EXPECT_EQ(c.wiersz(s + 275), (std::vector<std::string>{"   1Y", "   3.000"}));
  EXPECT_EQ(c.wiersz(s + 295), (std::vector<std::string>{"   5X", "  12.500"}));
  EXPECT_EQ(c.wiersz(s + 315), (std::vector<std::string>{"   5Y", "  -7.000"}));
  EXPECT_EQ(wiersze_materialow(m), 4);
  EXPECT_EQ(sily_niezerowe(m), 3);
}

TEST_F(Tabele, ScrollRangeCoversEveryRow) {
  OpisModelu o = prostokat(3, 2, 3, 2);
  o.materialy[0].przedzialy = {{1, 1}, {2, 2}, {3, 3}, {4, 4}, {5, 5}};
  for (int d = 1; d <= 24; ++d) o.sily.push_back({d, 1.0f});  // every DOF loaded
  o.nl = 0;  // the count the file keeps says nothing about these
  zbuduj(m, o);
  {
    const ZapisCanvas c = maluj_dane();
    _DANE_ d(okno);
    EXPECT_GE(d.ZakresY() * 10, c.najnizszy_tekst() + 20);
    EXPECT_GE(d.ZakresX() * 10, 410 + 2);
  }
  m.obliczono = 1;
  {
    const ZapisCanvas c = maluj_wyniki();
    _WYNIKI_ w(okno);
    EXPECT_GE(w.ZakresY() * 10, c.najnizszy_tekst() + 20);
  }
  // nothing more than a little margin either
  _DANE_ d(okno);
  EXPECT_LE(d.ZakresY() * 10, maluj_dane().najnizszy_tekst() + 40);
}

TEST_F(Tabele, ResultsTableRowsAndFormats) {
  przyklad();
  m.napr[1][1] = 12.345f;
  m.napr[1][2] = -3.5f;
  m.napr[1][3] = 0.004f;
  m.napr[1][4] = 1500.0f;
  m.f[7] = 1.0f / 3.0f;
  m.f[8] = -0.5f;
  m.react[2] = 1000.0f;
  m.obliczono = 1;
  const ZapisCanvas c = maluj_wyniki();
  EXPECT_EQ(c.separatory(), (std::vector<int>{48, 148, 298}));
  for (const auto& l : c.linie) EXPECT_EQ(l.x2, 450);
  EXPECT_EQ(c.wiersz(5),
            (std::vector<std::string>{"Element", "Naprężenie", "Naprężenie", "Naprężenie", "Naprężenie"}));
  EXPECT_EQ(c.wiersz(20), (std::vector<std::string>{"X", "Y", "styczne", "wg Hubera"}));
  EXPECT_EQ(c.wiersz(60), (std::vector<std::string>{"1", "   12.35", "   -3.50", "    0.00", " 1500.00"}));
  EXPECT_EQ(c.x_tekstu(60, " 1500.00"), 340);
  EXPECT_EQ(c.wiersz(80).size(), 5u);
  EXPECT_EQ(c.wiersz(130), (std::vector<std::string>{"Węzeł", "Przemieszczenie X", "Przemieszczenie Y"}));
  EXPECT_EQ(c.wiersz(170), (std::vector<std::string>{"1", "0.000000000000000", "0.000000000000000"}));
  const auto w4 = c.wiersz(230);
  ASSERT_EQ(w4.size(), 3u);
  EXPECT_EQ(w4[1], "0.333333343267441");  // "%2.15f" shows every digit of the float
  EXPECT_EQ(w4[2], "-0.500000000000000");
  EXPECT_EQ(c.wiersz(280), (std::vector<std::string>{"Podpora w węźle", "Reakcja podpory"}));
  EXPECT_EQ(c.wiersz(315), (std::vector<std::string>{"   1X", "0.000000000000000"}));
  EXPECT_EQ(c.wiersz(335), (std::vector<std::string>{"   3Y", "1000.000000000000000"}));
  EXPECT_EQ(c.x_tekstu(335, "1000.000000000000000"), 120);
  EXPECT_EQ(c.najnizszy_tekst(), 335);
}

TEST_F(Tabele, ColumnsMakeRoomForTheirHeadersAndValuesInTheirOrder) {
  przyklad();
  for (int k = 1; k <= 4; ++k) m.napr[1][k] = -12345.67f;
  m.f[3] = -0.25f;
  m.react[1] = -1500.0f;
  m.obliczono = 1;
  const ZapisCanvas d = maluj_dane(9), w = maluj_wyniki(9);
  EXPECT_TRUE(d.rozdzielne(10));
  EXPECT_TRUE(w.rozdzielne(10));
  // where there is room a column keeps its place
  EXPECT_EQ(d.x_tekstu(5, "Węzeł 1"), 100);
  EXPECT_EQ(w.x_tekstu(130, "Przemieszczenie X"), 100);
  EXPECT_EQ(w.wiersz(280), (std::vector<std::string>{"Podpora w węźle", "Reakcja podpory"}));
  // the separators reach the end of the widest row, and so does the scroll range
  ZapisCanvas c;
  c.znak = 9;
  _WYNIKI_ okno_w(okno);
  okno_w.Paint(c);
  int prawa = 0;
  for (const auto& t : c.teksty) prawa = std::max(prawa, t.x + c.szer(t.t));
  EXPECT_GT(prawa, 450);
  for (const auto& l : c.linie) EXPECT_EQ(l.x2, prawa);
  EXPECT_GE(okno_w.ZakresX() * 10, prawa);
}

TEST_F(Tabele, HugeAndNonFiniteValuesAreWrittenNotCut) {
  przyklad();
  m.x[2][1] = 3.0e38f;
  m.napr[2][4] = std::numeric_limits<float>::quiet_NaN();
  m.react[1] = -std::numeric_limits<float>::infinity();
  m.obliczono = 1;
  const ZapisCanvas d = maluj_dane();
  EXPECT_EQ(d.wiersz(155)[1].size(), 39u + 4u);  // every digit of 3e38
  const ZapisCanvas w = maluj_wyniki();
  EXPECT_EQ(w.wiersz(80)[4], "     nan");
  EXPECT_EQ(w.wiersz(315)[1], "-inf");
}

TEST_F(Tabele, EmptyModelDrawsNothingAndResultsSayItOnce) {
  przyklad();
  m.Pusty = 1;  // as while a command rebuilds the arrays
  EXPECT_TRUE(maluj_dane().teksty.empty());
  ZapisCanvas c;
  _WYNIKI_ w(okno);
  fp.nie();
  w.Paint(c);
  w.Paint(c);  // a repaint does not bring the box up again
  EXPECT_TRUE(c.teksty.empty());
  EXPECT_TRUE(c.linie.empty());
  ASSERT_EQ(fp.komunikaty.size(), 1u);
  EXPECT_EQ(fp.komunikaty[0].tekst, "PUSTY jest 1 !");
  EXPECT_EQ(fp.komunikaty[0].tytul, "Błąd wejścia do klasy WYNIKI");
  EXPECT_EQ(fp.komunikaty[0].ikona, Ikona::Pytanie);
  EXPECT_EQ(fp.komunikaty[0].przyciski, Przyciski::TakNie);
  m.Pusty = 0;
}

TEST_F(Tabele, WindowsLookAndOwners) {
  przyklad();
  m.obliczono = 1;
  okno.Cm_Dane();
  okno.Cm_Wyniki();
  ASSERT_EQ(fp.okna.size(), 2u);
  const OknoTabeli& d = *fp.okna.at(okno.dd);
  const OknoTabeli& w = *fp.okna.at(okno.oo);
  EXPECT_EQ(d.Tytul(), "Dane do obliczeń");
  EXPECT_TRUE(d.MaRodzica());
  EXPECT_EQ(std::vector<int>({d.X(), d.Y(), d.Szer(), d.Wys(), d.Jednostka()}),
            (std::vector<int>{20, 20, 450, 400, 10}));
  EXPECT_EQ(w.Tytul(), "Wyniki obliczeń");
  EXPECT_FALSE(w.MaRodzica());
  EXPECT_EQ(std::vector<int>({w.X(), w.Y(), w.Szer(), w.Wys(), w.Jednostka()}),
            (std::vector<int>{20, 20, 500, 400, 10}));
}

TEST_F(Tabele, CommandsOpenOnlyWhenTheirConditionsHold) {
  okno.Cm_Dane();
  okno.Cm_Wyniki();
  EXPECT_TRUE(fp.okna.empty());
  EXPECT_EQ(okno.id + okno.iw, 0);
  EXPECT_FALSE(komenda_wlaczona(okno, 1140));
  przyklad();
  EXPECT_TRUE(komenda_wlaczona(okno, 1140));
  EXPECT_FALSE(komenda_wlaczona(okno, 1130));
  okno.Cm_Wyniki();  // no results yet
  EXPECT_TRUE(fp.okna.empty());
  EXPECT_EQ(okno.iw, 0);
  ASSERT_TRUE(wykonaj_komende(okno, 1140));
  EXPECT_EQ(okno.id, 1);
  EXPECT_EQ(fp.okna.count(okno.dd), 1u);
  m.obliczono = 1;
  ASSERT_TRUE(wykonaj_komende(okno, 1130));
  EXPECT_EQ(okno.iw, 1);
  EXPECT_EQ(fp.okna.count(okno.oo), 1u);
  EXPECT_TRUE(fp.komunikaty.empty());
}

TEST_F(Tabele, TwoDataWindowsAndClosingEitherClearsTheFlag) {
  przyklad();
  okno.Cm_Dane();
  const int pierwsze = okno.dd;
  okno.Cm_Dane();
  const int drugie = okno.dd;
  EXPECT_NE(pierwsze, drugie);
  EXPECT_EQ(fp.okna.size(), 2u);
  EXPECT_TRUE(fp.zamknij_okno(pierwsze));  // the user closes the older one
  EXPECT_EQ(okno.id, 0);
  okno.Cm_Dane();
  EXPECT_EQ(okno.id, 1);
  EXPECT_TRUE(fp.zamknij_okno(okno.dd));
  EXPECT_EQ(okno.id, 0);
  EXPECT_EQ(fp.okna.size(), 1u);  // the second one is still open
}

TEST_F(Tabele, ModelChangeClosesEveryTableWindowAndNeverAHandleTwice) {
  przyklad();
  m.obliczono = 1;
  okno.Cm_Dane();
  okno.Cm_Dane();
  okno.Cm_Wyniki();
  const int stare_dane = okno.okna_danych.front();
  okno.ZamknijTabele();  // as an editing command does
  EXPECT_TRUE(fp.okna.empty());
  // results first, then data; each window exactly once
  ASSERT_EQ(fp.zniszczone.size(), 3u);
  EXPECT_EQ(fp.zniszczone[0], okno.oo);
  EXPECT_EQ(fp.zniszczone[1], okno.dd);
  EXPECT_EQ(fp.zniszczone[2], stare_dane);
  EXPECT_EQ(okno.id, 1);  // the flags stay as they were
  EXPECT_EQ(okno.iw, 1);
  // the next editing command destroys again: nothing happens
  okno.ZamknijTabele();
  EXPECT_EQ(fp.zniszczone.size(), 3u);

  // a window the user closed is not destroyed again
  okno.Cm_Dane();
  ASSERT_TRUE(fp.zamknij_okno(okno.dd));
  okno.Cm_Dane();
  fp.zniszczone.clear();
  okno.ZamknijTabele();
  EXPECT_EQ(fp.zniszczone, std::vector<int>{okno.dd});
  EXPECT_TRUE(okno.okna_danych.empty());
}

TEST_F(Tabele, ClosedRecordsDoNotPileUp) {
  przyklad();
  for (int i = 0; i < 50; ++i) {
    okno.Cm_Dane();
    ASSERT_TRUE(fp.zamknij_okno(okno.dd));
  }
  EXPECT_LE(okno.okna_danych.size(), 1u);
}

TEST_F(Tabele, ReleasingTheModelClosesTheWindowsAndClearsTheFlags) {
  przyklad();
  m.obliczono = 1;
  okno.Cm_Dane();
  okno.Cm_Wyniki();
  okno.Zwol_pam();
  EXPECT_TRUE(fp.okna.empty());
  EXPECT_EQ(okno.id, 0);
  EXPECT_EQ(okno.iw, 0);
  EXPECT_FALSE(komenda_wlaczona(okno, 1140));
}

TEST(TabeleZycie, MainWindowClosesItsTablesWhenItGoes) {
  Model m;
  FakePlatform fp;
  {
    _OKNO_ okno(m, fp);
    zbuduj(m, prostokat(1, 1, 1, 1));
    m.obliczono = 1;
    okno.Cm_Dane();
    okno.Cm_Dane();
    okno.Cm_Wyniki();
    ASSERT_EQ(fp.okna.size(), 3u);
  }
  // no window is left that refers to the main window
  EXPECT_TRUE(fp.okna.empty());
}
