#include "DateText.h"

#include <chrono>
#include <cmath>
#include <cstdio>

namespace {

// Day count of 31 Dec 9999 (day 0 is 30 Dec 1899).
constexpr double kLastDay = 2958465;

}  // namespace

std::string DayCountText(double days) {
  // File times before 1900 do not occur; 0 is what the reader leaves when it has none.
  if (!(days > 0 && days < kLastDay + 1)) return {};
  using namespace std::chrono;
  const double whole = std::floor(days);
  long long seconds = std::llround((days - whole) * 86400.0);
  long long day = static_cast<long long>(whole);
  if (seconds >= 86400) {
    seconds -= 86400;
    ++day;
  }
  const year_month_day date{sys_days{December / 30 / 1899} + std::chrono::days{day}};
  const unsigned second = static_cast<unsigned>(seconds);  // 0 .. 86399
  char text[64];
  std::snprintf(text, sizeof text, "%04d-%02u-%02u %02u:%02u:%02u", int(date.year()),
                unsigned(date.month()), unsigned(date.day()), second / 3600, second / 60 % 60,
                second % 60);
  return text;
}
