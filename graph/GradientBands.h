#pragma once

// The bands of the horizontal colour gradient behind the graph.

#include <cstdint>
#include <vector>

#include "GraphTypes.h"

// A vertical band of the gradient: columns Left up to (not including) Right, full height.
struct TGradientBand {
  int Left = 0;
  int Right = 0;
  uint32_t FColor = 0;  // 0x00BBGGRR
  bool operator==(const TGradientBand&) const = default;
};

// The bands that fill rect from c1 at the left to c2 at the right, one per step of the colour
// channel that changes most; a single band of c1 when the colours are equal. The colours are
// plain 0x00BBGGRR values (system colours already resolved).
std::vector<TGradientBand> HorzGradBands(const TRect& rect, uint32_t c1, uint32_t c2);
