#include "HeightDivision.h"

#include "ScaleSteps.h"

namespace {

// True when the ratios are finite, not negative and have a positive sum: they can divide a height.
bool Divisible(const std::array<float, 3>& ratios, int n) {
  double sum = 0;
  for (int i = 0; i <= n; ++i) {
    const float r = ratios[static_cast<std::size_t>(i)];
    if (!ValidFloat(r) || r < 0) return false;
    sum += r;
  }
  return sum > 0 && ValidFloat(sum);
}

// True when every graph gets at least a tenth of the height.
bool UsableRatios(const std::array<float, 3>& ratios, int n) {
  if (!Divisible(ratios, n)) return false;
  double sum = 0;
  for (int i = 0; i <= n; ++i)
    sum += ratios[static_cast<std::size_t>(i)];
  for (int i = 0; i <= n; ++i) {
    if (ratios[static_cast<std::size_t>(i)] / sum < 0.1) return false;
  }
  return true;
}

}  // namespace

void DivideRect(const TRect& area, std::array<TRect, 3>& rects, int n, TGraphRatios& ratios) {
  if (n < 0 || n > 2) return;
  if (UsableRatios(ratios.FGraphRatio, n)) {
    for (int i = 0; i <= n; ++i) {
      ratios.FRatioUsed[static_cast<std::size_t>(i)] =
          ratios.FGraphRatio[static_cast<std::size_t>(i)];
    }
  } else {
    // Equal heights stand in when even the last used ratios cannot divide a height (broken
    // settings before the first good division).
    if (!Divisible(ratios.FRatioUsed, n)) ratios.FRatioUsed = {1, 1, 1};
    for (int i = 0; i <= n; ++i) {
      ratios.FGraphRatio[static_cast<std::size_t>(i)] =
          ratios.FRatioUsed[static_cast<std::size_t>(i)];
    }
  }
  double sum = 0;
  for (int i = 0; i <= n; ++i)
    sum += ratios.FGraphRatio[static_cast<std::size_t>(i)];

  const double h = area.Bottom - area.Top;
  rects[0].Top = area.Top;
  rects[static_cast<std::size_t>(n)].Bottom = area.Bottom;
  for (int i = 0; i <= n; ++i) {
    TRect& rect = rects[static_cast<std::size_t>(i)];
    if (i > 0) rect.Top = rects[static_cast<std::size_t>(i - 1)].Bottom + 10;
    if (i < n) {
      rect.Bottom = Round(h * ratios.FGraphRatio[static_cast<std::size_t>(i)] / sum - 5 + rect.Top);
    }
  }
}
