#include "ScaleMap.h"

#include "ScaleSteps.h"

TPoint Graph2Screen(const TAxisState& state, const std::array<TRect, kMaxGraphs>& graphRects,
                    int axis, double x, double y) {
  if (axis < 0 || axis >= kNumAxes) return {};
  // Axis 0 maps through the top graph, as (0 - 1) / 2 truncates to 0.
  const TRect& g = graphRects[static_cast<std::size_t>((axis - 1) / 2)];
  const auto i = static_cast<std::size_t>(axis);
  return {TruncInt((x - state.FAxisMin[0]) * state.FPixPerUnit[0] + g.Left),
          TruncInt(g.Bottom - (y - state.FAxisMin[i]) * state.FPixPerUnit[i])};
}
