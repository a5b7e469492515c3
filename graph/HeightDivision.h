#pragma once

// Division of the plot area's height among the one to three stacked graphs.

#include <array>

#include "GraphTypes.h"

// Requested relative heights of the graphs and the ones last used; a request that would make a
// graph too flat falls back to the previous division.
struct TGraphRatios {
  std::array<float, 3> FGraphRatio{1, 1, 1};
  std::array<float, 3> FRatioUsed{1, 1, 1};
};

// Sets Top and Bottom of rects[0..n] (n = number of graphs - 1) so the graphs share the height of
// area by their ratios, 10 pixels apart. A ratio below a tenth of the sum (or negative, or not a
// number) puts the last used ratios back; nothing happens for n outside 0..2.
void DivideRect(const TRect& area, std::array<TRect, 3>& rects, int n, TGraphRatios& ratios);
