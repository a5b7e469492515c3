#include "GphScaleData.h"

bool TGphScaleData::AxisInUse(int axis) const {
  return axis >= 0 && axis < kNumAxes && FData.AxisInUse(axis);
}

int32_t TGphScaleData::AxisChannel(int axis) const {
  if (axis == 0) return FData.FXChannel;
  if (axis > 0 && axis < kNumAxes) return FData.FYChannel[static_cast<std::size_t>(axis - 1)];
  return 0;
}

void TGphScaleData::ForEachChannel(const std::function<void(TChannel&)>& visit) {
  for (const auto& run : FData.FRuns) {
    if (!run) continue;
    for (const auto& channel : run->FChannels) {
      if (channel) visit(*channel);
    }
  }
}
