// The allocation routines and their owning wrappers.
#include <gtest/gtest.h>

#include <cstring>

#include "model/pom_mac.h"
#include "model/tablice.h"

using namespace pom_mac;

TEST(PomMac, VectorIsAddressedOverItsRangeWithASpareInFront) {
  for (long nl : {0L, 1L, 5L, -3L}) {
    float* v = wektor(nl, nl + 9);
    for (long i = nl; i <= nl + 9; ++i) v[i] = static_cast<float>(i);
    for (long i = nl; i <= nl + 9; ++i) EXPECT_EQ(v[i], static_cast<float>(i));
    // the spare in front of nl belongs to the block too
    v[nl - 1] = 1.0f;
    uwolnij_wektor(v, nl, 12345);  // the high bound is ignored
  }
}

TEST(PomMac, MatrixRowsAreContiguousRowMajor) {
  float** m = macierz(1, 4, 1, 3);
  for (long i = 1; i <= 4; ++i) {
    if (i > 1) {
      EXPECT_EQ(m[i], m[i - 1] + 3);
    }
    for (long j = 1; j <= 3; ++j) m[i][j] = static_cast<float>(10 * i + j);
  }
  // one data block: element [i][j] lies (i-1)*3 + (j-1) after [1][1]
  EXPECT_EQ(&m[3][2] - &m[1][1], 2 * 3 + 1);
  EXPECT_EQ(m[4][3], 43.0f);
  uwolnij_macierz(m, 1, 0, 1, 0);  // wrong high bounds on purpose

  int** im = imacierz(0, 2, 5, 6);
  im[0][5] = 1;
  im[2][6] = 2;
  EXPECT_EQ(&im[2][6] - &im[0][5], 5);
  uwolnij_imacierz(im, 0, 99, 5, 99);
}

TEST(PomMac, NewElementsStartAtZero) {
  double** m = dmacierz(1, 3, 1, 3);
  int* v = iwektor(1, 100);
  for (int i = 1; i <= 3; ++i)
    for (int j = 1; j <= 3; ++j) EXPECT_EQ(m[i][j], 0.0);
  for (int i = 1; i <= 100; ++i) EXPECT_EQ(v[i], 0);
  uwolnij_dmacierz(m, 1, 3, 1, 3);
  uwolnij_iwektor(v, 1, 100);
}

TEST(PomMac, ConsoleTextsAreInCodePage852) {
  std::uint8_t out[64];
  na_cp852("Wystąpił bład", out, sizeof out);
  const std::uint8_t oczekiwane[] = {'W', 'y', 's', 't', 0xA5, 'p', 'i', 0x88, ' ', 'b', 0x88, 'a', 'd', 0};
  EXPECT_EQ(0, std::memcmp(out, oczekiwane, sizeof oczekiwane));
  na_cp852("powrót", out, sizeof out);
  EXPECT_EQ(out[4], 0xA2);
}

// Death tests re-run the test binary for each death: a plain fork() would
// deadlock when an earlier test in the same process left the solver's
// threads waiting on a lock.
TEST(PomMacDeath, AllocationFailureReportsThreeLinesAndExitsWithOne) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  // Matches the bytes of the code page 852 report.
  EXPECT_EXIT(wektor(1, 1L << 60), testing::ExitedWithCode(1),
              "Wyst\xA5pi\x88 b\x88"
              "ad podczas dzia\x88"
              "ania programu \n"
              "b\x88\xA5"
              "d allokacji w vector\\(\\)\n"
              "\\.\\.\\.powr\xA2t do systemu\\.\\.\\.");
  EXPECT_EXIT(macierz(1, 2, 1, 1L << 60), testing::ExitedWithCode(1), "allocation failure 2 in matrix");
  EXPECT_EXIT(macierz(1, 1L << 60, 1, 2), testing::ExitedWithCode(1), "b\x88\xA5"
                                                                    "d alokacji 1 w macierz");
  EXPECT_EXIT(iwektor(5, 2), testing::ExitedWithCode(1), "b\x88\xA5"
                                                        "d alokacji w ivector");
}

TEST(Tablice, WrappersKeepTheirBoundsAndReallocate) {
  Wektor<float> v(1, 3);
  v[1] = 1;
  v[3] = 3;
  EXPECT_EQ(v.lo(), 1);
  EXPECT_EQ(v.hi(), 3);
  v.przydziel(1, 10);
  EXPECT_EQ(v[3], 0.0f);  // a fresh array
  Macierz<int> m(1, 2, 1, 4);
  m[2][4] = 7;
  Macierz<int> n = std::move(m);
  EXPECT_FALSE(m.istnieje());
  EXPECT_EQ(n[2][4], 7);
  n.zwolnij();
  EXPECT_FALSE(n.istnieje());
}

#ifdef SKORBA_BOUNDS
TEST(TabliceDeath, IndexOutsideTheRangeStopsBoundsCheckedBuilds) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  Macierz<float> m(1, 2, 1, 2);
  EXPECT_DEATH(m[3][1] = 0, "poza zakresem 1..2");
  EXPECT_DEATH(m[1][0] = 0, "poza zakresem 1..2");
  Wektor<int> v(1, 5);
  EXPECT_DEATH(v[6] = 0, "indeks 6 poza zakresem 1..5");
}
#endif
