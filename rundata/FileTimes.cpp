#include "FileTimes.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <cmath>
#include <ctime>

namespace {

constexpr int64_t kMsPerDay = 86400000;

// Days since 1970-01-01 of a proleptic Gregorian date, and back: plain integer calendar arithmetic,
// exact for every year an int holds and free of the time zone.
constexpr int64_t DaysFromCivil(int64_t y, int64_t m, int64_t d) {
  y -= m <= 2;
  const int64_t era = (y >= 0 ? y : y - 399) / 400;
  const int64_t yoe = y - era * 400;
  const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

constexpr void CivilFromDays(int64_t z, int64_t& y, int& m, int& d) {
  z += 719468;
  const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const int64_t doe = z - era * 146097;
  const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const int64_t mp = (5 * doy + 2) / 153;
  d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  y = yoe + era * 400 + (m <= 2);
}

constexpr int64_t kDayZero = DaysFromCivil(1899, 12, 30);  // day 0 of a day-count date-time

double ToDayCount(const struct statx_timestamp& time) {
  double value = 0;
  return LocalDayCount(time.tv_sec, time.tv_nsec, value) ? value : 0;
}

}  // namespace

bool LocalDayCount(int64_t seconds, uint32_t nanoseconds, double& dayCount) {
  const time_t t = static_cast<time_t>(seconds);
  struct tm local {};
  if (static_cast<int64_t>(t) != seconds || !localtime_r(&t, &local)) return false;
  const int64_t days =
      DaysFromCivil(int64_t{local.tm_year} + 1900, local.tm_mon + 1, local.tm_mday) - kDayZero;
  const int64_t ms = ((int64_t{local.tm_hour} * 60 + local.tm_min) * 60 + local.tm_sec) * 1000 +
                     nanoseconds / 1000000;
  const double fraction = static_cast<double>(ms) / kMsPerDay;
  dayCount =
      days >= 0 ? static_cast<double>(days) + fraction : static_cast<double>(days) - fraction;
  return true;
}

std::string FormatDayCount(double dayCount) {
  // Year 1 is about -693593 days, year 9999 about 2958465 days from the day count's origin.
  if (!std::isfinite(dayCount) || dayCount < -693594 || dayCount > 2958466) return {};
  const double whole = std::trunc(dayCount);
  int64_t ms = std::llround(std::fabs(dayCount - whole) * kMsPerDay);
  if (ms >= kMsPerDay) ms = kMsPerDay - 1;
  const int64_t days = static_cast<int64_t>(whole) + kDayZero;
  int64_t year = 0;
  int month = 0, day = 0;
  CivilFromDays(days, year, month, day);
  if (year < 1 || year > 9999) return {};

  struct tm fields {};
  fields.tm_year = static_cast<int>(year - 1900);
  fields.tm_mon = month - 1;
  fields.tm_mday = day;
  fields.tm_hour = static_cast<int>(ms / 3600000);
  fields.tm_min = static_cast<int>(ms / 60000 % 60);
  fields.tm_sec = static_cast<int>(ms / 1000 % 60);
  fields.tm_wday = static_cast<int>(((days + 4) % 7 + 7) % 7);  // 1 Jan 1970 was a Thursday
  fields.tm_yday = static_cast<int>(days - DaysFromCivil(year, 1, 1));
  fields.tm_isdst = -1;
  char text[128];
  const std::size_t length = std::strftime(text, sizeof text, "%x %X", &fields);
  return std::string(text, length);
}

void ReadFileTimes(const std::string& path, TRunData& run) {
  run.FCreated = run.FAccessed = run.FModified = 0;
  struct statx info {};
  if (!path.empty() &&
      statx(AT_FDCWD, path.c_str(), 0, STATX_BASIC_STATS | STATX_BTIME, &info) == 0) {
    run.FModified = ToDayCount(info.stx_mtime);
    run.FAccessed = ToDayCount(info.stx_atime);
    run.FCreated = (info.stx_mask & STATX_BTIME) ? ToDayCount(info.stx_btime) : run.FModified;
  }
  run.FDateText = FormatDayCount(run.FModified);
}
