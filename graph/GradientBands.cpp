#include "GradientBands.h"

#include <algorithm>
#include <cstdlib>

#include "ScaleSteps.h"

namespace {

int Channel(uint32_t color, int shift) {
  return static_cast<int>((color >> shift) & 0xFF);
}

}  // namespace

std::vector<TGradientBand> HorzGradBands(const TRect& rect, uint32_t c1, uint32_t c2) {
  const int r1 = Channel(c1, 0), g1 = Channel(c1, 8), b1 = Channel(c1, 16);
  const int r2 = Channel(c2, 0), g2 = Channel(c2, 8), b2 = Channel(c2, 16);
  const int n = std::max({std::abs(r2 - r1), std::abs(g2 - g1), std::abs(b2 - b1)});
  if (n == 0) return {{rect.Left, rect.Right, c1 & 0xFFFFFF}};

  const double w = rect.Width();
  std::vector<TGradientBand> bands;
  bands.reserve(static_cast<std::size_t>(n));
  auto mix = [n](int from, int to, int i) {
    return static_cast<uint32_t>(TruncInt(from + static_cast<double>(i) * (to - from) / n + 0.5));
  };
  for (int i = 0; i < n; ++i) {
    const uint32_t color = mix(r1, r2, i) | mix(g1, g2, i) << 8 | mix(b1, b2, i) << 16;
    bands.push_back({rect.Left + TruncInt(i * w / n + 0.5),
                     rect.Left + TruncInt((i + 1) * w / n + 0.5), color});
  }
  return bands;
}
