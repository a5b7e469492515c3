#include "JsonWriter.h"

#include "NumberText.h"

namespace {

constexpr char kReplacement[] = "\xEF\xBF\xBD";  // U+FFFD

// Length of the valid UTF-8 sequence at text[i], 0 when the bytes there are not one. Overlong
// forms, surrogates and code points above U+10FFFF are not valid.
size_t Utf8SequenceLength(std::string_view text, size_t i) {
  const auto byte = [&](size_t k) { return static_cast<unsigned char>(text[k]); };
  const unsigned char lead = byte(i);
  size_t length;
  unsigned char low = 0x80, high = 0xBF;  // allowed range of the second byte
  if (lead < 0x80) return 1;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    if (lead == 0xE0) low = 0xA0;
    if (lead == 0xED) high = 0x9F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;
  } else {
    return 0;
  }
  if (i + length > text.size()) return 0;
  if (byte(i + 1) < low || byte(i + 1) > high) return 0;
  for (size_t k = 2; k < length; ++k)
    if (byte(i + k) < 0x80 || byte(i + k) > 0xBF) return 0;
  return length;
}

}  // namespace

std::string JsonString(std::string_view text) {
  std::string out = "\"";
  for (size_t i = 0; i < text.size();) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    if (c >= 0x80) {
      const size_t length = Utf8SequenceLength(text, i);
      if (length == 0) {
        out += kReplacement;
        ++i;
      } else {
        out.append(text.substr(i, length));
        i += length;
      }
      continue;
    }
    switch (c) {
      case '"':
        out += "\\\"";
        break;
      case '\\':
        out += "\\\\";
        break;
      case '\b':
        out += "\\b";
        break;
      case '\f':
        out += "\\f";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\t':
        out += "\\t";
        break;
      default:
        if (c < 0x20) {
          static constexpr char kHex[] = "0123456789abcdef";
          out += "\\u00";
          out += kHex[c >> 4];
          out += kHex[c & 15];
        } else {
          out += static_cast<char>(c);
        }
    }
    ++i;
  }
  out += '"';
  return out;
}

void TJsonWriter::LineBreak() {
  FOut << '\n';
  for (size_t k = 0; k < FLevels.size(); ++k)
    FOut << "  ";
}

void TJsonWriter::BeforeValue() {
  if (FAfterKey) {
    FAfterKey = false;
    return;
  }
  if (FLevels.empty()) return;
  TLevel& level = FLevels.back();
  if (!level.FEmpty) FOut << (level.FOneLine ? ", " : ",");
  if (!level.FOneLine) LineBreak();
  level.FEmpty = false;
}

void TJsonWriter::Open(char bracket, bool oneLine) {
  BeforeValue();
  FOut << bracket;
  FLevels.push_back({oneLine || OnOneLine(), true});
}

void TJsonWriter::Close(char bracket) {
  if (FLevels.empty()) return;
  const TLevel level = FLevels.back();
  FLevels.pop_back();
  if (!level.FEmpty && !level.FOneLine) LineBreak();
  FOut << bracket;
}

void TJsonWriter::BeginObject() {
  Open('{', false);
}

void TJsonWriter::EndObject() {
  Close('}');
}

void TJsonWriter::BeginArray(bool oneLine) {
  Open('[', oneLine);
}

void TJsonWriter::EndArray() {
  Close(']');
}

void TJsonWriter::Key(std::string_view name) {
  BeforeValue();
  FOut << JsonString(name) << ": ";
  FAfterKey = true;
}

void TJsonWriter::String(std::string_view text) {
  BeforeValue();
  FOut << JsonString(text);
}

void TJsonWriter::Double(double value) {
  BeforeValue();
  const std::string text = DoubleText(value);
  FOut << (text.empty() ? "null" : text);
}

void TJsonWriter::Float(float value) {
  BeforeValue();
  const std::string text = FloatText(value);
  FOut << (text.empty() ? "null" : text);
}

void TJsonWriter::Integer(int64_t value) {
  BeforeValue();
  FOut << value;
}

void TJsonWriter::Bool(bool value) {
  BeforeValue();
  FOut << (value ? "true" : "false");
}

void TJsonWriter::Null() {
  BeforeValue();
  FOut << "null";
}

void TJsonWriter::Finish() {
  FOut << '\n';
}
