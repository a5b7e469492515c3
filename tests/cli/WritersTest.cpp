// The text forms of the exports: CSV fields, JSON strings, numbers and dates.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <limits>

#include "CsvWriter.h"
#include "DateText.h"
#include "JsonWriter.h"
#include "NumberText.h"

namespace {

TEST(Writers, CsvFields) {
  const std::pair<std::string, std::string> cases[] = {
      {"Power (hp)", "Power (hp)"},
      {"", ""},
      {"a,b", "\"a,b\""},
      {"say \"hi\"", "\"say \"\"hi\"\"\""},
      {"two\r\nlines", "\"two\r\nlines\""},
      {" padded", "\" padded\""},
  };
  for (const auto& [text, field] : cases)
    EXPECT_EQ(CsvField(text), field) << text;
}

TEST(Writers, JsonStrings) {
  const std::pair<std::string, std::string> cases[] = {
      {"plain", "\"plain\""},
      {"q\"b\\", "\"q\\\"b\\\\\""},
      {"\r\n\t\x01\x1F", "\"\\r\\n\\t\\u0001\\u001f\""},
      {"\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80", "\"\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80\""},
      // Invalid UTF-8: a Windows-1252 byte, a cut sequence, an overlong form, a surrogate.
      {"caf\xE9", "\"caf\xEF\xBF\xBD\""},
      {"\xE2\x82", "\"\xEF\xBF\xBD\xEF\xBF\xBD\""},
      {"\xC0\xAF", "\"\xEF\xBF\xBD\xEF\xBF\xBD\""},
      {"\xED\xA0\x80", "\"\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\""},
  };
  for (const auto& [text, json] : cases)
    EXPECT_EQ(JsonString(text), json) << text;
}

TEST(Writers, NumbersReadBackExactly) {
  const float floats[] = {0.0f,          0.02f,           243.34721f, -1e-30f,
                          3.4028235e38f, 1.17549435e-38f, 1.0f / 3};
  for (const float value : floats) {
    const std::string text = FloatText(value);
    EXPECT_LE(text.size(), 15u) << text;
    EXPECT_EQ(std::strtof(text.c_str(), nullptr), value) << text;
  }
  EXPECT_EQ(FloatText(0.02f), "0.02");
  EXPECT_EQ(DoubleText(29.92), "29.92");
  EXPECT_EQ(std::strtod(DoubleText(0.1 + 0.2).c_str(), nullptr), 0.1 + 0.2);
  for (const double none : {std::numeric_limits<double>::infinity(),
                            -std::numeric_limits<double>::infinity(), std::nan("")}) {
    EXPECT_EQ(DoubleText(none), "");
    EXPECT_EQ(FloatText(static_cast<float>(none)), "");
  }
}

TEST(Writers, DayCounts) {
  const std::pair<double, std::string> cases[] = {
      {0, ""},
      {-5, ""},
      {std::nan(""), ""},
      {1e300, ""},
      {1, "1899-12-31 00:00:00"},
      {45292.75, "2024-01-01 18:00:00"},
      {45292.99999999, "2024-01-02 00:00:00"},  // rounds up into the next day
      {2958465.5, "9999-12-31 12:00:00"},
  };
  for (const auto& [days, text] : cases)
    EXPECT_EQ(DayCountText(days), text) << days;
}

}  // namespace
