#pragma once

// The scale map: data values to control pixels, by the ranges and factors of the last axis
// drawing.

#include <array>

#include "AxisScaling.h"
#include "GraphTypes.h"

// The control pixel of the point (x on the X axis, y on Y axis `axis`) in the graph of that axis.
// An axis outside 0..6 gives (0, 0).
TPoint Graph2Screen(const TAxisState& state, const std::array<TRect, kMaxGraphs>& graphRects,
                    int axis, double x, double y);
