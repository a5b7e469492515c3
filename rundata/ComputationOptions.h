#pragma once

// Options of the channel computation, read once at start-up from the companion acquisition
// program's registry keys. The defaults here are the values before reading.

class TRegistry;

struct TComputationOptions {
  double FDriftTolerance = 0.01;  // relative change per point allowed within a gear
  double FMinGearTime = 0.5;      // seconds a gear must be held to count
  double FGapFillTime = 0.25;     // seconds; compared with the gap between merged segments
  bool FClutchPower = false;      // compute the "Clutch Power" channel
};

// The options a fresh machine ends up with: the acquisition program's defaults, as
// LoadComputationOptions writes them where the keys hold nothing. For callers that do not read the
// user's registry, such as the command-line tool.
TComputationOptions AcquisitionDefaultComputationOptions();

// Reads the options from the acquisition program's keys, creating the keys and writing the
// acquisition program's defaults for values that are absent. A key that cannot be opened, or a
// value that is unreadable, not finite or negative, leaves the option as it was.
void LoadComputationOptions(TRegistry& registry, TComputationOptions& options);
