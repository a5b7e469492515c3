#pragma once

// Stand-ins for the graph data set and the scale font, so the scale engine and the axis geometry
// are tested on plain numbers.

#include <array>
#include <string_view>
#include <vector>

#include "AxisScaling.h"
#include "GraphTypes.h"
#include "RunData.h"

// Axes in use, their data extremes and channel choices, set directly by each test.
class TFakeScaleData : public TScaleData {
 public:
  int Runs = 1;
  std::array<bool, kNumAxes> InUse{};
  std::array<float, kNumAxes> DataMax{100, 100, 100, 100, 100, 100, 100};
  std::array<float, kNumAxes> DataMin{};
  std::array<int32_t, kNumAxes> Channel{};
  float MinStep = 0.01f;
  int CalcCalls = 0;
  std::vector<TChannel*> Channels;

  // Data on axis i from min to max; marks the X axis as in use too.
  void Plot(int i, float min, float max, int32_t channel = 13) {
    InUse[i] = true;
    InUse[0] = true;
    DataMin[i] = min;
    DataMax[i] = max;
    Channel[i] = channel;
  }

  int NumRuns() const override { return Runs; }
  bool AxisInUse(int axis) const override { return axis >= 0 && axis < kNumAxes && InUse[axis]; }
  float GetDataMax(int axis) const override { return DataMax[axis]; }
  float GetDataMin(int axis) const override { return DataMin[axis]; }
  int32_t AxisChannel(int axis) const override { return Channel[axis]; }
  float MinXStep() const override { return MinStep; }
  void CalcDataRanges() override { ++CalcCalls; }
  void ForEachChannel(const std::function<void(TChannel&)>& visit) override {
    for (TChannel* c : Channels)
      visit(*c);
  }
};

// A fixed-pitch font: 6 pixels per character; "8" is 12 high and everything else 14, so a test
// sees which text gave the label height.
class TFixedMetrics : public TTextMetrics {
 public:
  int TextWidth(std::string_view text) const override { return 6 * static_cast<int>(text.size()); }
  int TextHeight(std::string_view text) const override { return text == "8" ? 12 : 14; }
};
