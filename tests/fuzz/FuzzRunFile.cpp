// libFuzzer target over the run-file reader: every input is a run file's bytes, read the way
// CheckRunFile and LoadFileData read a file once they have it in memory.

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "RunFile.h"
#include "RunFileBytes.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::span<const uint8_t> bytes(data, size);
  CheckRunSignature(bytes);

  static const TUnitTable units;
  TComputationOptions options;
  options.FClutchPower = true;  // so that ClutchPowerAvailable sees every loaded drum
  TRunData run;
  // Half the inputs without engine-speed cleaning, which the window may switch off.
  run.FCleanRPM = size % 2;
  const uint16_t code = LoadRunBytes(bytes, "fuzz.DRF", run, units, options);

  // Whatever the file says, a loaded run has a sane time base.
  if (code == 0 && !(run.FNumPoints < 16384 && std::isfinite(run.FDT) && run.FDT > 0)) std::abort();
  if ((code & 0xFF) == 0 && run.ChannelCount() == 0) std::abort();
  return 0;
}
