#pragma once

// A small streaming JSON writer: objects and arrays indented by two blanks, arrays of numbers
// optionally on one line (the rows of an export). Strings are escaped as JSON requires; bytes
// that are not valid UTF-8 (a file name from the system, say) become U+FFFD, so the output is
// always valid JSON. Numbers that are not finite are written as null.

#include <cstdint>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

// The text as a quoted JSON string.
std::string JsonString(std::string_view text);

class TJsonWriter {
 public:
  explicit TJsonWriter(std::ostream& out) : FOut(out) {}

  void BeginObject();
  void EndObject();
  // Elements of a one-line array, and everything nested in it, share the array's line.
  void BeginArray(bool oneLine = false);
  void EndArray();
  // The name of the next member of the open object.
  void Key(std::string_view name);

  void String(std::string_view text);
  void Double(double value);  // shortest round-trip text; null when not finite
  void Float(float value);    // the same in single precision
  void Integer(int64_t value);
  void Bool(bool value);
  void Null();

  // Key and value in one call.
  template <class T>
  void Member(std::string_view name, const T& value) {
    Key(name);
    Value(value);
  }

  // Ends the document with a line feed.
  void Finish();

 private:
  struct TLevel {
    bool FOneLine = false;
    bool FEmpty = true;
  };

  void Value(std::string_view text) { String(text); }
  void Value(const std::string& text) { String(text); }
  void Value(const char* text) { String(text); }
  void Value(double value) { Double(value); }
  void Value(float value) { Float(value); }
  void Value(bool value) { Bool(value); }
  void Value(int32_t value) { Integer(value); }
  void Value(uint32_t value) { Integer(value); }
  void Value(int64_t value) { Integer(value); }
  void Value(uint64_t value) { Integer(static_cast<int64_t>(value)); }

  void BeforeValue();
  void Open(char bracket, bool oneLine);
  void Close(char bracket);
  void LineBreak();
  bool OnOneLine() const { return !FLevels.empty() && FLevels.back().FOneLine; }

  std::ostream& FOut;
  std::vector<TLevel> FLevels;
  bool FAfterKey = false;
};
