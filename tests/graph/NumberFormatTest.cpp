#include "NumberFormat.h"

#include <gtest/gtest.h>

#include <clocale>
#include <string>

TEST(NumberFormat, ClassicConversions) {
  struct TCase {
    std::string got;
    std::string expected;
  };
  const TCase cases[] = {
      // "%f" without a precision prints two decimals.
      {FormatFloat("%f", 3.14159), "3.14"},
      {FormatFloat("%.3f", 0.025), "0.025"},
      {FormatFloat("%.2F", 3.456), "3.46"},
      {FormatFloat("%.0f", 1234.4), "1234"},
      {FormatFloat("%.0f %%", 45.4), "45 %"},
      {FormatFloat("%5.1f", 1.5), "  1.5"},
      {FormatFloat("%-6.1f|", 1.5), "1.5   |"},
      {FormatFloat("%06.1f", -1.5), "-001.5"},
      {FormatFloat("%+.1f", 1.5), "+1.5"},
      {FormatFloat("%e", 1234.5), "1.234500e+03"},
      {FormatFloat("%g", 0.0001), "0.0001"},
      {FormatFloat("%f", -1.0 / 0.0), "-inf"},
      // The widths of the run conditions never pad, as one decimal already makes them longer.
      {Format("%2.1f %s", {29.92, "in-Hg"}), "29.9 in-Hg"},
      {Format("%3.1f %s", {1200.0, "ft"}), "1200.0 ft"},
      {Format("%d %s", {1200, "ft"}), "1200 ft"},
      {Format("%s: %f %s, %f %s,%s %s: %f",
              {"Run Conditions", 77.0, "F", 29.92, "in-Hg", "", "SAE", 1.0}),
       "Run Conditions: 77.00 F, 29.92 in-Hg, SAE: 1.00"},
      {Format("%.*f", {3, 1.5}), "1.500"},
      {Format("%5d|%-4d|%03d", {42, 7, 5}), "   42|7   |005"},
      {Format("%u", {-1}), "4294967295"},
      {Format("%d", {2.9}), "2"},
      {Format("%s", {3}), "3"},
      {Format("[%.2s]", {"abc"}), "[ab]"},
  };
  for (const TCase& c : cases)
    EXPECT_EQ(c.got, c.expected);
}

TEST(NumberFormat, ZeroNeverCarriesAMinusSign) {
  // A float sum such as -0.3 + 0.1 + 0.1 + 0.1 lands just beside zero.
  EXPECT_EQ(FormatFloat("%.1f", -0.04), "0.0");
  EXPECT_EQ(FormatFloat("%.0f", -0.3), "0");
  EXPECT_EQ(FormatFloat("%.1f", -0.0), "0.0");
  EXPECT_EQ(FormatFloat("%.1f", -0.06), "-0.1");
  EXPECT_EQ(FormatFloat("%e", -0.0), "0.000000e+00");
}

TEST(NumberFormat, BrokenFormatsAreCopiedNotTrusted) {
  EXPECT_EQ(Format("%d and %s", {}), "%d and %s");          // no arguments
  EXPECT_EQ(Format("%d", {"text"}), "%d");                  // wrong kind
  EXPECT_EQ(Format("50%", {1}), "50%");                     // cut short
  EXPECT_EQ(Format("%y%d", {5}), "%y5");                    // unknown conversion
  EXPECT_EQ(Format("%*d", {}), "%*d");                      // missing width argument
  EXPECT_EQ(FormatFloat("%.0f", 1e300).size(), 301u);       // largest magnitudes fit
  EXPECT_EQ(FormatFloat("%.999999f", 1.0).size(), 102u);    // precision capped at 100
  EXPECT_EQ(FormatFloat("%99999999999d", 1).size(), 100u);  // width capped, no overflow
  EXPECT_EQ(FormatFixed(2.5, -3), "2");
}

TEST(NumberFormat, IgnoresTheProcessLocale) {
  // Qt applications take the user's locale at start-up; the picture must not change with it.
  const std::string previous = std::setlocale(LC_NUMERIC, nullptr);
  if (!std::setlocale(LC_NUMERIC, "de_DE.UTF-8") && !std::setlocale(LC_NUMERIC, "fr_FR.UTF-8")) {
    GTEST_SKIP() << "no locale with a decimal comma installed";
  }
  const std::string text = FormatFloat("%.2f", 1.5);
  std::setlocale(LC_NUMERIC, previous.c_str());
  EXPECT_EQ(text, "1.50");
}
