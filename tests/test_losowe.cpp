// A long random sequence of editing commands (and analyses) with random
// answers to every question and form: nothing may crash, and after every command the store
// must hold all its invariants, contain only finite numbers and, whenever
// it has nodes, write a project file that reads back to the same bytes.
#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <random>

#include "app/okno.h"
#include "fake_platform.h"
#include "model/plik.h"
#include "model/przebuduj.h"

namespace {

// Answers everything at random, from texts a user might type (and some a
// user could not: the fields' character filters are the platform's).
struct LosowaPlatforma : FakePlatform {
  explicit LosowaPlatforma(unsigned ziarno) : los(ziarno) {}
  std::mt19937 los;
  int nn = 0;  // for plausible node numbers

  int z(int n) { return static_cast<int>(los() % static_cast<unsigned>(n)); }
  std::string liczba_mala() { return std::to_string(z(7)); }
  std::string tekst(const std::string& pole) {
    static const char* dowolne[] = {"0",   "1",    "-1",  "0.5",  "-0.5", "1e99", "nan",     "inf", "abc",
                                    "",    "  3",  "0.3", "1e-60", "3e38", "-0",  "9999999", "12.5", "2.5e3",
                                    "200000", "300", "0.001", "7", "+4", "1e38"};
    const int r = z(10);
    if (pole == "i" || pole == "nu" || pole == "nr" || pole == "w1" || pole == "w2" || pole == "w3")
      return r < 8 ? std::to_string(z(nn + 3)) : dowolne[z(std::size(dowolne))];
    if (pole == "ne" || pole == "nn" || pole == "nd" || pole == "nl" || pole == "nm" || pole == "ix" ||
        pole == "iy" || pole == "lpr" || pole == "mat" || pole == "ma")
    {
      // never a count that is accepted and large: the model must stay small
      static const char* liczniki[] = {"0", "-1", "abc", "", "9999999", "1e99", "nan", "+4", "  3", "12", "2.5e3"};
      return r < 9 ? liczba_mala() : liczniki[z(std::size(liczniki))];
    }
    if (pole == "e" || pole == "sim" || pole == "pois" || pole == "th" || pole == "gr")
      return r < 6 ? std::to_string(0.05 + 0.4 * z(100) / 100.0 + z(3) * 1000) : dowolne[z(std::size(dowolne))];
    return r < 5 ? std::to_string(z(50) / 10.0) : dowolne[z(std::size(dowolne))];
  }

  int MessageBox(const std::string& t, const std::string& tyt, Ikona i, Przyciski p) override {
    komunikaty.push_back({t, tyt, i, p});
    if (komunikaty.size() > 1000) komunikaty.clear();
    if (p == Przyciski::OK) return IDOK;
    // "Zapisać zmiany w projekcie?" is answered "Nie", without drawing a
    // number, so that the sequences stay those this test was tuned with.
    if (p == Przyciski::TakNieAnuluj) return IDNO;
    return z(3) ? IDYES : IDNO;
  }
  int Formularz(::Formularz& f) override {
    ++pokazanych;
    if (z(30) == 0) return IDCANCEL;
    std::map<std::string, std::string> teksty;
    std::map<std::string, int> stany;
    for (const auto& k : f.kontrolki) {
      if (k.rodzaj == Rodzaj::Edycja && !k.tylko_odczyt && z(4)) teksty[k.nazwa] = tekst(k.nazwa);
      if (k.rodzaj == Rodzaj::Wybor && z(2)) stany[k.nazwa] = z(2);
    }
    zastosuj_odpowiedz(f, teksty, stany);
    // the wizard's node forms then speak of its own nodes
    if (f.zasob == 3000)
      if (const Kontrolka* k = f.znajdz("nn"); k && k->pole) nn = std::clamp(atoi(k->pole->t), 0, 50);
    return IDOK;
  }
  long pokazanych = 0;
};

using Komenda = void (_OKNO_::*)();

void sprawdz_model(const Model& m, const std::string& gdzie) {
  std::string powod;
  ASSERT_TRUE(sprawdz_niezmienniki(m, &powod)) << gdzie << ": " << powod;
  if (m.Pusty) return;
  ASSERT_TRUE(std::isfinite(m.th) && m.th > 0) << gdzie;
  for (int k = 1; k <= m.nn; ++k) ASSERT_TRUE(std::isfinite(m.x[k][1]) && std::isfinite(m.x[k][2])) << gdzie;
  for (int i = 1; i <= m.nq; ++i) ASSERT_TRUE(std::isfinite(m.si[i])) << gdzie;
  for (int j = 1; j <= m.nd; ++j) ASSERT_TRUE(std::isfinite(m.u[j])) << gdzie;
  for (int i = 1; i <= m.nm; ++i) {
    ASSERT_TRUE(m.pm[i][2] > 0 && std::isfinite(m.pm[i][2])) << gdzie;
    for (int j = 1; j <= m.Prz[i]; ++j)
      ASSERT_TRUE(m.Ez[i][j] > 0 && m.Sprz[i][j] > 0 && std::isfinite(m.Ez[i][j]) && std::isfinite(m.Sprz[i][j]))
          << gdzie << ": material " << i << " interval " << j;
  }
  if (m.nn > 0) {
    const auto bajty = zapisz_model(m);
    Model t;
    ASSERT_TRUE(wczytaj_model(bajty.data(), bajty.size(), t)) << gdzie;
    ASSERT_EQ(zapisz_model(t), bajty) << gdzie;
  }
}

void sekwencja(unsigned ziarno, int ile, int* zbudowane_kreatorem, int* krokow_z_wynikami) {
  static const std::pair<Komenda, const char*> komendy[] = {
      {&_OKNO_::Cm_d_wez, "Cm_d_wez"},     {&_OKNO_::Cm_z_wez, "Cm_z_wez"},     {&_OKNO_::Cm_u_wez, "Cm_u_wez"},
      {&_OKNO_::Cm_d_ele, "Cm_d_ele"},     {&_OKNO_::Cm_z_pret, "Cm_z_pret"},   {&_OKNO_::Cm_u_ele, "Cm_u_ele"},
      {&_OKNO_::Cm_d_podp, "Cm_d_podp"},   {&_OKNO_::Cm_z_podp, "Cm_z_podp"},   {&_OKNO_::Cm_u_podp, "Cm_u_podp"},
      {&_OKNO_::Cm_d_sile, "Cm_d_sile"},   {&_OKNO_::Cm_z_sily, "Cm_z_sily"},   {&_OKNO_::Cm_u_sile, "Cm_u_sile"},
      {&_OKNO_::Cm_z_grubosc, "Cm_z_grubosc"}, {&_OKNO_::Cm_d_mat, "Cm_d_mat"}, {&_OKNO_::Cm_z_mat, "Cm_z_mat"},
      {&_OKNO_::Cm_u_mat, "Cm_u_mat"},     {&_OKNO_::Cm_CHARAK, "Cm_CHARAK"},   {&_OKNO_::Cm_prost, "Cm_prost"},
      {&_OKNO_::Cm_ODSWIEZ, "Cm_ODSWIEZ"},
      {&_OKNO_::Cm_kreator, "Cm_kreator"}, {&_OKNO_::Cm_Nowy, "Cm_Nowy"},       {&_OKNO_::Cm_zamknij, "Cm_zamknij"},
  };
  Model m;
  LosowaPlatforma fp(ziarno);
  _OKNO_ okno(m, fp);
  const auto dziennik = std::filesystem::temp_directory_path() /
                        ("skorba_losowe_" + std::to_string(::getpid()) + "_DR.txt");
  okno.plik_dr = dziennik.string();
  std::mt19937 los(ziarno * 7919u + 1u);
  int kreatory = 0, prostokaty = 0, z_wynikami = 0;
  int z_modelem = 0, maks_nn = 0, maks_ne = 0, maks_nm = 0, maks_nd = 0;
  for (int krok = 0; krok < ile; ++krok) {
    // now and then a group of nodes, which the commands must keep valid or drop
    if (!m.Pusty && m.nn > 0 && !m.j_grupa && los() % 5 == 0) {
      const int a = 1 + static_cast<int>(los() % static_cast<unsigned>(m.nn));
      m.i_grp = 1;
      m.s_grp.przydziel(1, 1);
      m.s_grp[1] = a;
      m.j_grupa = 1;
    }
    if (los() % 50 == 0) okno.a_licz = 1 - okno.a_licz;
    fp.nn = m.nn;
    // Starting and closing a model are rarer than the rest, so that models
    // grow; without a model every command is tried now and then too.
    const std::size_t ostatnie = std::size(komendy) - 3;  // wizard, new, close
    const unsigned r = los() % 100;
    std::size_t w = los() % ostatnie;
    if (m.Pusty ? r < 50 : r < 5) w = ostatnie + (m.Pusty ? los() % 2 : los() % 3);
    const auto& [komenda, nazwa] = komendy[w];
    const int pusty_przed = m.Pusty;
    (okno.*komenda)();
    if (komenda == &_OKNO_::Cm_kreator && pusty_przed == 1 && m.Pusty == 0) ++kreatory;
    if (komenda == &_OKNO_::Cm_prost && m.nn > fp.nn) ++prostokaty;
    if (m.obliczono == 1) ++z_wynikami;
    sprawdz_model(m, "krok " + std::to_string(krok) + " " + nazwa);
    if (testing::Test::HasFatalFailure()) return;
    ASSERT_LE(m.nn, 2000) << "the random answers are meant to keep the model small";
    if (!m.Pusty) {
      ++z_modelem;
      maks_nn = std::max(maks_nn, m.nn);
      maks_ne = std::max(maks_ne, m.ne);
      maks_nm = std::max(maks_nm, m.nm);
      maks_nd = std::max(maks_nd, m.nd);
    }
  }
  // the sequence must really have built models, not only knocked on doors
  std::filesystem::remove(dziennik);
  EXPECT_GT(fp.pokazanych, ile / 2);
  EXPECT_GT(z_modelem, ile / 2);
  EXPECT_GE(maks_nn, 10);
  EXPECT_GE(maks_ne, 5);
  EXPECT_GE(maks_nm, 2);
  EXPECT_GE(maks_nd, 3);
  EXPECT_GT(prostokaty, 0);
  *zbudowane_kreatorem += kreatory;
  *krokow_z_wynikami += z_wynikami;
  std::printf("ziarno %u: %ld formularzy, %d krokow z modelem, maks nn %d ne %d nm %d nd %d, kreator %d, prostokat %d\n",
              ziarno, fp.pokazanych, z_modelem, maks_nn, maks_ne, maks_nm, maks_nd, kreatory, prostokaty);
}

}  // namespace

TEST(Losowe, LongSequencesOfCommandsKeepTheStoreConsistent) {
  int kreatory = 0, wyniki = 0;
  for (unsigned ziarno : {1u, 2u, 3u, 4u, 5u}) {
    SCOPED_TRACE("ziarno " + std::to_string(ziarno));
    sekwencja(ziarno, 4000, &kreatory, &wyniki);
    if (HasFatalFailure()) return;
  }
  EXPECT_GE(kreatory, 3) << "models completed by the wizard";
  EXPECT_GE(wyniki, 1) << "steps with valid results";
  std::printf("krokow z wynikami %d\n", wyniki);
}

// Random editing, the group commands included, with undo, redo and saves in
// between, against a plain list of the project files after each step: every
// step that changed the file is one step of the history, undo and redo give
// back each file byte for byte, the model has unsaved changes exactly when a
// save would write other bytes, and the history keeps only its newest steps.
TEST(Losowe, UndoAndRedoGiveBackEveryProjectFileByteForByte) {
  using Bajty = std::vector<std::uint8_t>;
  static const Komenda komendy[] = {
      &_OKNO_::Cm_d_wez,  &_OKNO_::Cm_z_wez,     &_OKNO_::Cm_u_wez,        &_OKNO_::Cm_d_ele,      &_OKNO_::Cm_z_pret,
      &_OKNO_::Cm_u_ele,  &_OKNO_::Cm_d_podp,    &_OKNO_::Cm_z_podp,       &_OKNO_::Cm_u_podp,     &_OKNO_::Cm_d_sile,
      &_OKNO_::Cm_z_sily, &_OKNO_::Cm_u_sile,    &_OKNO_::Cm_z_grubosc,    &_OKNO_::Cm_d_mat,      &_OKNO_::Cm_z_mat,
      &_OKNO_::Cm_u_mat,  &_OKNO_::Cm_prost,     &_OKNO_::Cm_Grupa_prz,    &_OKNO_::Cm_Grupa_kop_prz,
      &_OKNO_::Cm_Grupa_doom, &_OKNO_::Cm_G_PODP, &_OKNO_::Cm_G_SILA,    &_OKNO_::Cm_ODSWIEZ,
  };
  const auto plik = std::filesystem::temp_directory_path() /
                    ("skorba_losowe_historia_" + std::to_string(::getpid()) + ".SKD");
  for (unsigned ziarno : {11u, 12u, 14u}) {
    SCOPED_TRACE("ziarno " + std::to_string(ziarno));
    Model m;
    LosowaPlatforma fp(ziarno);
    _OKNO_ okno(m, fp);
    okno.plik_dr = plik.string() + ".DR.txt";
    // histories with the program's limits, with fewer steps, with less memory
    const int limit_krokow = ziarno == 11u ? 30 : Historia::kLimitKrokow;
    const std::size_t limit_bajtow = ziarno == 14u ? 3000 : Historia::kLimitBajtow;
    okno.historia = Historia(limit_bajtow, limit_krokow);
    std::mt19937 los(ziarno);
    okno.Cm_Nowy();
    std::vector<Bajty> stany = {zapisz_model(m)};  // the file after each step, oldest first
    std::size_t poz = 0;                           // the present one
    Bajty zapisane = stany[0];
    int cofniec = 0, porzucone = 0;
    for (int krok = 0; krok < 500; ++krok) {
      if (m.nn > 0 && !m.j_grupa && los() % 4 == 0) {  // a group of every third node
        m.i_grp = (m.nn + 2) / 3;
        m.s_grp.przydziel(1, m.i_grp);
        for (int j = 1; j <= m.i_grp; ++j) m.s_grp[j] = 3 * j - 2;
        m.j_grupa = 1;
      }
      fp.nn = m.nn;
      okno.a_licz = los() % 10 == 0 ? 1 : 0;  // analyses change no byte of the file
      const unsigned r = los() % 100;
      if (r < 12 && poz > 0) {
        okno.Cm_Cofnij();
        --poz;
        ++cofniec;
        ASSERT_EQ(zapisz_model(m), stany[poz]) << "krok " << krok << ": cofnij";
        if (okno.a_licz == 0) ASSERT_EQ(m.obliczono, 0);  // cleared as by an edit
      } else if (r < 18 && poz + 1 < stany.size()) {
        okno.Cm_Ponow();
        ++poz;
        ASSERT_EQ(zapisz_model(m), stany[poz]) << "krok " << krok << ": ponów";
      } else if (r < 21) {
        ASSERT_TRUE(okno.ZapiszDo(plik.string()));
        zapisane = stany[poz];
      } else {
        (okno.*komendy[los() % std::size(komendy)])();
        Bajty b = zapisz_model(m);
        if (b != stany[poz]) {
          stany.resize(poz + 1);
          stany.push_back(std::move(b));
          ++poz;
        }
        // the oldest states go beyond 100 steps or the memory limit
        std::size_t bajty = 0;
        for (const auto& s : stany) bajty += s.size();
        while (poz > 0 && (stany.size() > static_cast<std::size_t>(limit_krokow) + 1 || bajty > limit_bajtow)) {
          bajty -= stany.front().size();
          stany.erase(stany.begin());
          --poz;
          ++porzucone;
        }
      }
      ASSERT_EQ(okno.historia.MoznaCofnac(), poz > 0) << "krok " << krok;
      ASSERT_EQ(okno.historia.MoznaPonowic(), poz + 1 < stany.size()) << "krok " << krok;
      ASSERT_EQ(okno.Zmieniony(), zapisz_model(m) != zapisane) << "krok " << krok;
    }
    // every step back to the oldest kept, and forward again to the last
    while (okno.historia.MoznaCofnac()) okno.Cm_Cofnij();
    EXPECT_EQ(zapisz_model(m), stany.front());
    while (okno.historia.MoznaPonowic()) okno.Cm_Ponow();
    EXPECT_EQ(zapisz_model(m), stany.back());
    if (ziarno != 12u) EXPECT_GT(porzucone, 0) << "the limits of the history were reached";
    EXPECT_GT(cofniec, 20);
    std::string powod;
    EXPECT_TRUE(sprawdz_niezmienniki(m, &powod)) << powod;
  }
  std::filesystem::remove(plik);
  std::filesystem::remove(plik.string() + ".DR.txt");
}
