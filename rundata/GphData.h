#pragma once

// The graph data set: the data shared by the main window and the graph, plus the value ranges
// per axis and the events the graph hooks.

#include <array>
#include <functional>

#include "DllData.h"

class TGphData : public TDllData {
 public:
  using TNotify = std::function<void(TGphData& sender)>;

  // FDataMax / FDataMin of an axis 0..6; 0 for another index.
  float GetDataMax(int axis) const;
  float GetDataMin(int axis) const;
  // Raises OnClearRuns, then destroys every run.
  void ClearRuns();
  // X and Y ranges of the shown channels of one run within their selected gear segments;
  // negative values count only with `showNegative`. Sets the fixed scales that are still unset.
  void CalcRunRanges(uint32_t run, bool showNegative);
  // The data ranges per axis over all runs and the smallest X step.
  void CalcDataRanges();
  // Neither NaN nor infinite.
  static bool IsValidNumber(float x);

  std::array<float, kAxisCount> FDataMax{};
  std::array<float, kAxisCount> FDataMin{};
  // Channel-table entry each axis button shows; written by the graph.
  std::array<int32_t, kAxisCount> FAxisEntry{};
  float FMarginPercent = 0;  // data margin of the axis scaling, percent
  float FMinXStep = 0;

  TNotify OnAddRun;       // raised by the main window after it appended a run
  TNotify OnClearRuns;    // raised by ClearRuns before the runs go
  TNotify OnRequestData;  // raised by the graph when it needs the data recomputed
};
