#include "Cp1252.h"

#include <cstdint>

namespace {

// Code points of the bytes 0x80..0x9F; the undefined ones keep their own value.
constexpr char32_t kHighControls[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 80..87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  // 88..8F
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90..97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,  // 98..9F
};

char32_t CodePointOf(uint8_t byte) {
  return (byte >= 0x80 && byte <= 0x9F) ? kHighControls[byte - 0x80] : char32_t{byte};
}

void AppendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {  // every Windows-1252 character lies in the Basic Multilingual Plane
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

char ByteOf(char32_t cp) {
  if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) return static_cast<char>(cp);
  for (int i = 0; i < 32; ++i) {
    if (kHighControls[i] == cp) return static_cast<char>(0x80 + i);
  }
  return '?';
}

// Decodes one UTF-8 sequence at text[i]. On success sets cp and returns the length; on failure
// returns the length of the maximal invalid subpart (at least 1) with cp = U+FFFD.
std::size_t DecodeOne(std::string_view text, std::size_t i, char32_t& cp) {
  const auto lead = static_cast<uint8_t>(text[i]);
  cp = 0xFFFD;
  int extra;
  uint8_t lo = 0x80, hi = 0xBF;  // allowed range of the second byte
  if (lead < 0x80) {
    cp = lead;
    return 1;
  } else if (lead >= 0xC2 && lead <= 0xDF) {
    extra = 1;
    cp = lead & 0x1F;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    extra = 2;
    cp = lead & 0x0F;
    if (lead == 0xE0) lo = 0xA0;  // overlong
    if (lead == 0xED) hi = 0x9F;  // surrogates
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    extra = 3;
    cp = lead & 0x07;
    if (lead == 0xF0) lo = 0x90;  // overlong
    if (lead == 0xF4) hi = 0x8F;  // above U+10FFFF
  } else {
    cp = 0xFFFD;
    return 1;
  }
  for (int k = 1; k <= extra; ++k) {
    if (i + k >= text.size()) {
      cp = 0xFFFD;
      return k;
    }
    const auto b = static_cast<uint8_t>(text[i + k]);
    if (b < (k == 1 ? lo : 0x80) || b > (k == 1 ? hi : 0xBF)) {
      cp = 0xFFFD;
      return k;
    }
    cp = (cp << 6) | (b & 0x3F);
  }
  return static_cast<std::size_t>(extra) + 1;
}

}  // namespace

std::string Cp1252ToUtf8(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size());
  for (const char c : bytes)
    AppendUtf8(out, CodePointOf(static_cast<uint8_t>(c)));
  return out;
}

std::string Utf8ToCp1252(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  std::size_t i = 0;
  while (i < text.size()) {
    char32_t cp;
    i += DecodeOne(text, i, cp);
    // U+FFFD itself has no byte either, so an invalid sequence and a replacement character both
    // come out as '?'.
    out += ByteOf(cp);
  }
  return out;
}
