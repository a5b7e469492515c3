#pragma once

// Classic format strings ("%.2f", "%d %s", "%3.1f %s") for the graph's scale numbers, labels and
// read-outs. Two rules differ from C's printf: "%f" without a precision prints two decimals, and
// the decimal separator is always "." whatever the process locale, so a picture never depends on
// the environment. A number that prints as zero never carries a minus sign ("-0.0" would be a
// wrong scale label after a float sum such as -0.3 + 0.1 + 0.1 + 0.1).

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

// One argument of Format: an integer, a floating-point number or a text (bytes, passed through).
class TFormatArg {
 public:
  enum class TKind { Int, Float, Text };

  TFormatArg(int v) : FKind(TKind::Int), FInt(v) {}
  TFormatArg(long v) : FKind(TKind::Int), FInt(v) {}
  TFormatArg(long long v) : FKind(TKind::Int), FInt(v) {}
  TFormatArg(unsigned v) : FKind(TKind::Int), FInt(v) {}
  TFormatArg(unsigned long v) : FKind(TKind::Int), FInt(static_cast<int64_t>(v)) {}
  TFormatArg(double v) : FKind(TKind::Float), FFloat(v) {}
  TFormatArg(float v) : FKind(TKind::Float), FFloat(v) {}
  TFormatArg(const char* v) : FKind(TKind::Text), FText(v ? v : "") {}
  TFormatArg(std::string_view v) : FKind(TKind::Text), FText(v) {}
  TFormatArg(const std::string& v) : FKind(TKind::Text), FText(v) {}

  TKind Kind() const { return FKind; }
  int64_t Int() const { return FInt; }
  double Float() const { return FFloat; }
  std::string_view Text() const { return FText; }

 private:
  TKind FKind;
  int64_t FInt = 0;
  double FFloat = 0;
  std::string_view FText;
};

// Formats the arguments by the conversions of fmt: %d %i %u, %f %F %e %E %g %G, %s and %%, with
// the flags "-+ 0" ("#" is accepted and ignored), a width and a precision (digits or "*"). A
// conversion without an argument, or one that cannot be parsed, is copied as it stands; surplus
// arguments are ignored. Widths and precisions are capped at 100.
std::string Format(std::string_view fmt, std::initializer_list<TFormatArg> args);

// Format with a single number: FormatFloat("%.2f", 3.14159) is "3.14".
std::string FormatFloat(std::string_view fmt, double value);

// The number with the given count of decimals ("%.*f"); negative counts print none.
std::string FormatFixed(double value, int decimals);
