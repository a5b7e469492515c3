#pragma once

// Turns a run's physical series into the plotted channels: FNumPoints single-precision values
// on the time base t_k = k x FDT, in the selected units, with gear segments on an engine-speed
// X axis, smoothing and clamping.

#include <cstdint>

#include "RunData.h"
#include "Smoothing.h"

class TDllData;

// Result bits, ORed over channels and runs.
inline constexpr uint16_t kCalcMissingSource = 1;         // the channel's source series is missing
inline constexpr uint16_t kCalcUnitOutsideTable = 0x100;  // no selected unit: values unconverted
inline constexpr uint16_t kCalcTooLongToSmooth = kSmoothTooLong;

// Every X channel of the run (values, gear segments, finish), then every shown channel.
uint16_t ComputeChannels(const TDllData& data, TRunData& run);
// The channel's values by its type; no smoothing or gear masking.
uint16_t ComputeChannel(const TDllData& data, const TRunData& run, TChannel& channel);
// Cuts an engine-speed X channel into gear segments; any other X channel gets one segment over
// all points. Returns 0.
uint16_t SegmentGears(const TDllData& data, TRunData& run, TChannel& xChannel);
// Computes a shown channel and links it to its X channel's values and gear segments.
uint16_t ComputeYChannel(const TDllData& data, TRunData& run, TChannel& channel);
// Gear masking, smoothing (not for Time and Speed), clamping and the value range.
uint16_t FinishChannel(const TDllData& data, TChannel& channel);

// True when index i lies in one of the segments (bounds inclusive).
bool InGearSegment(const TGears& gears, uint32_t i);
