#include "NumberFormat.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstddef>
#include <limits>
#include <optional>

namespace {

// A width or precision beyond this is a broken format, not a wish for megabytes of padding.
constexpr int kMaxField = 100;

struct TSpec {
  bool LeftAlign = false;
  bool Plus = false;
  bool Space = false;
  bool Zero = false;
  int Width = 0;
  std::optional<int> Precision;
  char Conversion = 0;
};

int64_t ToInt(const TFormatArg& arg) {
  if (arg.Kind() == TFormatArg::TKind::Int) return arg.Int();
  const double v = arg.Float();
  if (std::isnan(v)) return 0;
  if (v >= 9.2e18) return std::numeric_limits<int64_t>::max();
  if (v <= -9.2e18) return std::numeric_limits<int64_t>::min();
  return static_cast<int64_t>(v);
}

double ToDouble(const TFormatArg& arg) {
  return arg.Kind() == TFormatArg::TKind::Int ? static_cast<double>(arg.Int()) : arg.Float();
}

// True when the digits before any exponent are all zero.
bool PrintsAsZero(std::string_view body) {
  for (char c : body) {
    if (c == 'e' || c == 'E') break;
    if (c >= '1' && c <= '9') return false;
    if (c != '0' && c != '.') return false;  // inf, nan
  }
  return true;
}

// Sign, then padding, then digits: "-0012.50" for zero padding, "  -12.50" otherwise.
std::string Pad(const TSpec& spec, std::string_view sign, std::string_view body, bool numeric) {
  const std::size_t used = sign.size() + body.size();
  const std::size_t width = static_cast<std::size_t>(spec.Width);
  std::string out;
  out.reserve(std::max(used, width));
  if (used >= width) {
    out.append(sign).append(body);
  } else if (spec.LeftAlign) {
    out.append(sign).append(body).append(width - used, ' ');
  } else if (spec.Zero && numeric) {
    out.append(sign).append(width - used, '0').append(body);
  } else {
    out.append(width - used, ' ').append(sign).append(body);
  }
  return out;
}

std::string_view SignOf(const TSpec& spec, bool negative) {
  if (negative) return "-";
  if (spec.Plus) return "+";
  if (spec.Space) return " ";
  return "";
}

std::string FormatInteger(const TSpec& spec, const TFormatArg& arg) {
  int64_t v = ToInt(arg);
  bool negative = false;
  uint64_t magnitude = 0;
  if (spec.Conversion == 'u') {
    magnitude = static_cast<uint32_t>(v);  // the classic 32-bit unsigned view of the value
  } else {
    negative = v < 0;
    magnitude = negative ? 0 - static_cast<uint64_t>(v) : static_cast<uint64_t>(v);
  }
  char buf[32];
  auto [end, ec] = std::to_chars(buf, buf + sizeof buf, magnitude);
  std::string digits(buf, end);
  if (spec.Precision) {
    if (*spec.Precision == 0 && magnitude == 0) digits.clear();
    if (digits.size() < static_cast<std::size_t>(*spec.Precision))
      digits.insert(0, static_cast<std::size_t>(*spec.Precision) - digits.size(), '0');
  }
  // A precision switches zero padding off, as in C.
  TSpec padding = spec;
  if (spec.Precision) padding.Zero = false;
  return Pad(padding, SignOf(spec, negative), digits, true);
}

std::string FormatReal(const TSpec& spec, double value) {
  const char lower = static_cast<char>(spec.Conversion | 0x20);
  int precision = spec.Precision.value_or(lower == 'f' ? 2 : 6);
  std::chars_format style = std::chars_format::fixed;
  if (lower == 'e') style = std::chars_format::scientific;
  if (lower == 'g') {
    style = std::chars_format::general;
    if (precision == 0) precision = 1;
  }
  // Room for the 309 integer digits of the largest double plus the capped precision.
  char buf[512];
  const bool negative = std::signbit(value) && !std::isnan(value);
  const double magnitude = std::fabs(value);
  std::string body;
  if (std::isnan(value)) {
    body = "nan";
  } else if (std::isinf(value)) {
    body = "inf";
  } else {
    auto [end, ec] = std::to_chars(buf, buf + sizeof buf, magnitude, style, precision);
    body.assign(buf, ec == std::errc() ? end : buf);
  }
  if (spec.Conversion != lower) {
    std::transform(body.begin(), body.end(), body.begin(),
                   [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c; });
  }
  const bool finite = std::isfinite(value);
  const bool showMinus = negative && !(finite && PrintsAsZero(body));
  return Pad(spec, SignOf(spec, showMinus), body, finite);
}

std::string FormatText(const TSpec& spec, const TFormatArg& arg) {
  std::string text;
  switch (arg.Kind()) {
    case TFormatArg::TKind::Text:
      text = std::string(arg.Text());
      break;
    case TFormatArg::TKind::Int:
      text = Format("%d", {arg.Int()});
      break;
    case TFormatArg::TKind::Float:
      text = FormatFixed(arg.Float(), 2);
      break;
  }
  if (spec.Precision && text.size() > static_cast<std::size_t>(*spec.Precision))
    text.resize(static_cast<std::size_t>(*spec.Precision));
  return Pad(spec, "", text, false);
}

int ReadNumber(std::string_view fmt, std::size_t& pos) {
  int n = 0;
  while (pos < fmt.size() && fmt[pos] >= '0' && fmt[pos] <= '9') {
    n = std::min(n * 10 + (fmt[pos] - '0'), kMaxField + 1);
    ++pos;
  }
  return std::min(n, kMaxField);
}

}  // namespace

std::string Format(std::string_view fmt, std::initializer_list<TFormatArg> args) {
  std::string out;
  const TFormatArg* next = args.begin();
  auto take = [&]() -> const TFormatArg* { return next != args.end() ? next++ : nullptr; };

  std::size_t pos = 0;
  while (pos < fmt.size()) {
    const std::size_t percent = fmt.find('%', pos);
    if (percent == std::string_view::npos) {
      out.append(fmt.substr(pos));
      break;
    }
    out.append(fmt.substr(pos, percent - pos));
    std::size_t p = percent + 1;
    if (p < fmt.size() && fmt[p] == '%') {
      out.push_back('%');
      pos = p + 1;
      continue;
    }

    TSpec spec;
    for (; p < fmt.size(); ++p) {
      const char c = fmt[p];
      if (c == '-')
        spec.LeftAlign = true;
      else if (c == '+')
        spec.Plus = true;
      else if (c == ' ')
        spec.Space = true;
      else if (c == '0')
        spec.Zero = true;
      else if (c != '#')
        break;
    }
    bool missing = false;
    if (p < fmt.size() && fmt[p] == '*') {
      ++p;
      if (const TFormatArg* a = take()) {
        const int64_t w = ToInt(*a);
        if (w < 0) spec.LeftAlign = true;
        spec.Width = static_cast<int>(std::min<int64_t>(w < 0 ? -w : w, kMaxField));
      } else {
        missing = true;
      }
    } else {
      spec.Width = ReadNumber(fmt, p);
    }
    if (p < fmt.size() && fmt[p] == '.') {
      ++p;
      if (p < fmt.size() && fmt[p] == '*') {
        ++p;
        if (const TFormatArg* a = take()) {
          const int64_t prec = ToInt(*a);
          if (prec >= 0) spec.Precision = static_cast<int>(std::min<int64_t>(prec, kMaxField));
        } else {
          missing = true;
        }
      } else {
        spec.Precision = ReadNumber(fmt, p);
      }
    }
    while (p < fmt.size() && std::string_view("hlLqjzt").find(fmt[p]) != std::string_view::npos)
      ++p;
    if (p >= fmt.size()) {
      out.append(fmt.substr(percent));
      break;
    }
    spec.Conversion = fmt[p];
    pos = p + 1;
    const std::string_view whole = fmt.substr(percent, pos - percent);

    const bool known =
        std::string_view("diufFeEgGs").find(spec.Conversion) != std::string_view::npos;
    const TFormatArg* arg = (known && !missing) ? take() : nullptr;
    const bool isText = arg && arg->Kind() == TFormatArg::TKind::Text;
    if (!arg || (isText && spec.Conversion != 's')) {
      out.append(whole);
    } else if (spec.Conversion == 's') {
      out.append(FormatText(spec, *arg));
    } else if (spec.Conversion == 'd' || spec.Conversion == 'i' || spec.Conversion == 'u') {
      out.append(FormatInteger(spec, *arg));
    } else {
      out.append(FormatReal(spec, ToDouble(*arg)));
    }
  }
  return out;
}

std::string FormatFloat(std::string_view fmt, double value) {
  return Format(fmt, {value});
}

std::string FormatFixed(double value, int decimals) {
  return Format("%.*f", {std::max(decimals, 0), value});
}
