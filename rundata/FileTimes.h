#pragma once

// A file's creation, access and write times as day-count date-times in local time: days since
// 30 Dec 1899, the fraction the time of day. Before that day the whole days count down and the
// fraction still counts the time of day forward (-1.25 is 29 Dec 1899, 06:00).

#include <cstdint>
#include <string>

#include "RunData.h"

// Sets FCreated, FAccessed, FModified (all 0 when the file cannot be examined) and FDateText.
// Creation is the file system's birth time where it keeps one, else the last write.
void ReadFileTimes(const std::string& path, TRunData& run);

// Seconds and nanoseconds since the Unix epoch as a local day-count date-time, in milliseconds.
// False when the time is beyond what the calendar functions can express.
bool LocalDayCount(int64_t seconds, uint32_t nanoseconds, double& dayCount);

// The locale's short date and long time ("%x %X") of a day-count date-time; empty when the
// value is not finite or outside the years 1..9999.
std::string FormatDayCount(double dayCount);
