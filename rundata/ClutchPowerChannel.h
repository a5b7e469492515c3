#pragma once

// The "Clutch Power" channel: wheel power plus the power lost while coasting down through the
// same road speed, for one-drum runs with a pull followed by a coast-down.

#include <cstdint>
#include <vector>

#include "RunData.h"
#include "Units.h"

// Fills `values` (the run's FNumPoints of them) with clutch power in the unit; leaves it empty
// when the run has no usable coast-down. Returns 0.
uint16_t ComputeClutchPowerValues(const TRunData& run, const TUnit* unit,
                                  std::vector<float>& values);
