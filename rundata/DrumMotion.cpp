#include "DrumMotion.h"

void ComputeDrumMotion(TDrumData& drum, bool positiveIntervalsOnly) {
  const std::size_t count = drum.Count();
  const std::size_t window = drum.FWindow;  // pulse intervals per speed measurement
  for (std::size_t i = 0; i < count; ++i) {
    // Speed needs a full window behind the sample; a window of 0 never differs from itself.
    if (i >= window + 1 && drum.FTime[i] != drum.FTime[i - window]) {
      const double interval = drum.FTime[i] - drum.FTime[i - window];
      const bool usable = drum.FTick != 0 && (!positiveIntervalsOnly || interval > 0);
      drum.FSpeed[i] = usable ? drum.FDistance / interval : kInvalidMarker;
      drum.FMidTime[i] = drum.FTime[i - window] + interval * 0.5;
    } else {
      drum.FSpeed[i] = kInvalidMarker;
      drum.FMidTime[i] = kInvalidMarker;
    }
    // Acceleration between two measured speeds, stored at the earlier index. Index 0 and the last
    // index are never written and never read.
    if (i > 1) {
      const bool measured = drum.FMidTime[i] > 0 && drum.FMidTime[i - 1] > 0 &&
                            drum.FSpeed[i] > 0 && drum.FSpeed[i - 1] > 0;
      drum.FAccel[i - 1] = measured ? (drum.FSpeed[i] - drum.FSpeed[i - 1]) /
                                          (drum.FMidTime[i] - drum.FMidTime[i - 1])
                                    : kInvalidMarker;
    }
  }
}
