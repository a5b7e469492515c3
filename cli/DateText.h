#pragma once

// The run's file times are day counts since 30 Dec 1899 with the time of day as the fraction.

#include <string>

// "YYYY-MM-DD HH:MM:SS" of a positive day count up to the year 9999; empty for anything else,
// such as the 0 the reader leaves when it could not read the time.
std::string DayCountText(double days);
