#pragma once

// Reading run files of the three variants "M301", "MH100" and "MH703".

#include <cstdint>
#include <string>

#include "ComputationOptions.h"
#include "RunData.h"
#include "Units.h"

// Load result bits. The low byte holds errors; 0x800 in the high byte is only a warning.
// Files are read whole; one that is not a regular file or is larger than kMaxRunFileSize
// (RunFileBytes.h) cannot be opened.
inline constexpr uint16_t kLoadCannotOpen = 1;      // missing file, empty path, cannot open
inline constexpr uint16_t kLoadNotRunFile = 2;      // first line is no known signature
inline constexpr uint16_t kLoadBadData = 4;         // marker missing, bad number, short read
inline constexpr uint16_t kLoadBadCrankAngle = 16;  // engine-speed record with 0 degrees/pulse
inline constexpr uint16_t kLoadChecksumMismatch = 0x800;

inline constexpr char kSignatureM301[] = "M301\r\n";
inline constexpr char kSignatureMH100[] = "MH100\r\n";
inline constexpr char kSignatureMH703[] = "MH703\r\n";

// 0 when the file starts with one of the three signature lines, 1 when it cannot be opened,
// 2 otherwise.
int CheckRunFile(const std::string& path);

// Fills the run's texts, dates, conditions and flags from the header; returns the error bits,
// with kLoadChecksumMismatch for an MH703 checksum that does not match.
uint16_t ReadRunHeader(const std::string& path, TRunData& run);

// Reads one file into an empty run: header, series, time base and channel list. Returns 0 on
// success; the low byte holds the error bits. A header error ends the load; the time base and
// channel list are built only when the data reader succeeds. The altitude stays in feet.
uint16_t LoadFileData(const std::string& path, TRunData& run, const TUnitTable& units,
                      const TComputationOptions& options = {});

// Saturation vapour pressure in inHg at t °C (t passed in single precision).
double SaturationVaporPressure(float celsius);

// True when a one-drum run has an acceleration stretch followed by a long enough coast-down, so
// that clutch power can be computed.
bool ClutchPowerAvailable(const TRunData& run);
