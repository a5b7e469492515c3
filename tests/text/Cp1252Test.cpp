#include "Cp1252.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(Cp1252, EveryByteMapsAndComesBack) {
  std::string all;
  for (int b = 0; b < 256; ++b)
    all += static_cast<char>(b);
  const std::string utf8 = Cp1252ToUtf8(all);
  EXPECT_EQ(Utf8ToCp1252(utf8), all);
}

TEST(Cp1252, KnownCharacters) {
  const struct {
    std::string cp1252;
    std::string utf8;
  } cases[] = {
      {"Run 1", "Run 1"},
      {"\xB0"
       "F",
       "\u00B0F"},                   // °F
      {"\x80", "\u20AC"},            // euro sign
      {"\x9F", "\u0178"},            // Ÿ
      {"\x96\x97", "\u2013\u2014"},  // en and em dash
      {"\xE9\xFF", "\u00E9\u00FF"},  // é ÿ
      {"\x81\x8D\x8F\x90\x9D",       // the five undefined bytes: C1 controls, as Windows does
       "\xC2\x81\xC2\x8D\xC2\x8F\xC2\x90\xC2\x9D"},
      {std::string("a\0b", 3), std::string("a\0b", 3)},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Cp1252ToUtf8(c.cp1252), c.utf8);
    EXPECT_EQ(Utf8ToCp1252(c.utf8), c.cp1252);
  }
}

TEST(Cp1252, UnmappableAndInvalidBecomeQuestionMarks) {
  const struct {
    std::string utf8;
    std::string cp1252;
  } cases[] = {
      {"\u4E2D", "?"},               // CJK
      {"\U0001F600x", "?x"},         // outside the BMP
      {"\xC2\x80", "?"},             // U+0080 has no byte (0x80 is the euro sign)
      {"\xEF\xBF\xBD", "?"},         // U+FFFD itself
      {"\xFF", "?"},                 // never valid
      {"\xC3", "?"},                 // cut short at the end
      {"\xC3(", "?("},               // bad continuation: the next byte is kept
      {"\xE2\x82(", "?("},           // maximal subpart of two bytes gives one '?'
      {"\xC0\xAF", "??"},            // overlong: both bytes invalid
      {"\xE0\x80\xAF", "???"},       // overlong three-byte form
      {"\xED\xA0\x80", "???"},       // a surrogate
      {"\xF4\x90\x80\x80", "????"},  // above U+10FFFF
      {"\x80\x80", "??"},            // stray continuation bytes
      {"\xF0\x9F\x98", "?"},         // four-byte form cut short
  };
  for (const auto& c : cases)
    EXPECT_EQ(Utf8ToCp1252(c.utf8), c.cp1252) << c.utf8;
}

}  // namespace
