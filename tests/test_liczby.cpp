// Reading numbers from form fields.
#include <gtest/gtest.h>

#include <cmath>

#include "app/formularz.h"
#include "app/liczby.h"

TEST(Liczby, IntegerIsTheLeadingDecimalInteger) {
  EXPECT_EQ(atoi_pola("12"), 12);
  EXPECT_EQ(atoi_pola("  -7x"), -7);
  EXPECT_EQ(atoi_pola(" 12abc"), 12);
  EXPECT_EQ(atoi_pola("+3"), 3);
  EXPECT_EQ(atoi_pola("abc"), 0);
  EXPECT_EQ(atoi_pola(""), 0);
  EXPECT_EQ(atoi_pola("3.9"), 3);
  EXPECT_EQ(atoi_pola("GRP"), 0);
  EXPECT_EQ(atoi_pola("99999999999999"), 2147483647);
  EXPECT_EQ(atoi_pola("-99999999999999"), -2147483647 - 1);
}

TEST(Liczby, RealIsTheLeadingDecimalReal) {
  EXPECT_DOUBLE_EQ(atof_pola("0.3"), 0.3);
  EXPECT_DOUBLE_EQ(atof_pola(".5"), 0.5);
  EXPECT_DOUBLE_EQ(atof_pola("5."), 5.0);
  EXPECT_DOUBLE_EQ(atof_pola(" -12.5kN"), -12.5);
  EXPECT_DOUBLE_EQ(atof_pola("1e5"), 1e5);
  EXPECT_DOUBLE_EQ(atof_pola("2E-3"), 2e-3);
  EXPECT_DOUBLE_EQ(atof_pola("3e"), 3.0);    // an exponent without digits is not read
  EXPECT_DOUBLE_EQ(atof_pola("3e+x"), 3.0);
  EXPECT_DOUBLE_EQ(atof_pola("12.5000"), 12.5);
  EXPECT_DOUBLE_EQ(atof_pola("abc"), 0.0);
  EXPECT_DOUBLE_EQ(atof_pola("."), 0.0);
  EXPECT_DOUBLE_EQ(atof_pola("-"), 0.0);
  EXPECT_DOUBLE_EQ(atof_pola("0x10"), 0.0);  // decimal only
}

TEST(Liczby, DecimalCommaIsTheDecimalPoint) {
  EXPECT_DOUBLE_EQ(atof_pola("0,25"), 0.25);
  EXPECT_DOUBLE_EQ(atof_pola(" -1,5e3"), -1500.0);
  EXPECT_DOUBLE_EQ(atof_pola(",5"), 0.5);
  EXPECT_DOUBLE_EQ(atof_pola("1,2,3"), 1.2);  // one separator only
  EXPECT_DOUBLE_EQ(atof_pola("1,5.3"), 1.5);
  EXPECT_DOUBLE_EQ(atof_pola(","), 0.0);
  EXPECT_EQ(atoi_pola("1,5"), 1);  // an integer stops at a comma as at a point
}

TEST(Liczby, RealNeverYieldsNaNOrInfinity) {
  for (const char* t : {"nan", "NAN", "inf", "-inf", "infinity", "1e99", "-1e39", "9e9999", "1e-999"}) {
    const double v = atof_pola(t);
    EXPECT_TRUE(std::isfinite(v)) << t;
    EXPECT_TRUE(std::isfinite(static_cast<float>(v))) << t;
    EXPECT_EQ(v, 0.0) << t;
  }
  EXPECT_GT(atof_pola("3e38"), 2.9e38);  // still a float
}

TEST(Liczby, EditReadsBackItsFirstCharacters) {
  EXPECT_EQ(odczyt_pola("200000.0", 7), "200000.");
  EXPECT_EQ(odczyt_pola("12.500000", 7), "12.5000");
  EXPECT_EQ(odczyt_pola("abc", 7), "abc");
  EXPECT_EQ(odczyt_pola("żółćżółć", 7), "żółćżół");  // characters, not bytes
  EXPECT_EQ(odczyt_pola("", 7), "");
}
