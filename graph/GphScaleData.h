#pragma once

// The graph data set as the scale engine reads it.

#include "AxisScaling.h"
#include "GphData.h"

class TGphScaleData : public TScaleData {
 public:
  // numRuns is the control's own run count, which the scaling uses for "no data".
  TGphScaleData(TGphData& data, int numRuns) : FData(data), FNumRuns(numRuns) {}

  int NumRuns() const override { return FNumRuns; }
  bool AxisInUse(int axis) const override;
  float GetDataMax(int axis) const override { return FData.GetDataMax(axis); }
  float GetDataMin(int axis) const override { return FData.GetDataMin(axis); }
  // FXChannel for axis 0, the first line slot of a Y axis otherwise; 0 outside 0..6.
  int32_t AxisChannel(int axis) const override;
  float MinXStep() const override { return FData.FMinXStep; }
  void CalcDataRanges() override { FData.CalcDataRanges(); }
  void ForEachChannel(const std::function<void(TChannel&)>& visit) override;

 private:
  TGphData& FData;
  int FNumRuns;
};
