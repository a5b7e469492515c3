#pragma once

// The table an export writes for one computed run: a time column, the X channel when it is not
// time (one per drum on an engine-speed axis of a multi-drum run), then one column per line slot,
// one row per point of the run's time base.

#include <cstdint>
#include <string>
#include <vector>

#include "GphData.h"

enum class TColumnRole { Time, X, Y };

struct TExportColumn {
  TColumnRole FRole = TColumnRole::Y;
  uint32_t FID = 0;  // channel identifier
  int FSlot = -1;    // line slot of a Y column
  std::string FName, FTitle, FUnit;
  // The values, kNoValue where there is none; empty when the run has no such channel or the
  // channel has no values.
  std::vector<float> FValues;
};

// The gear segments of an X channel, as computed.
struct TExportGears {
  uint32_t FXID = 0;
  int32_t FSelected = 0;
  std::vector<float> FRatio;
  std::vector<uint32_t> FStart, FEnd;  // points, both inclusive
};

struct TExportTable {
  std::vector<TExportColumn> FColumns;
  std::vector<TExportGears> FGears;
  uint32_t FFirstRow = 0, FEndRow = 0;  // the rows written: points FFirstRow .. FEndRow - 1
  std::vector<std::string> FWarnings;   // channels the run lacks
};

// Builds the table of run `runIndex` of a data set on which CalculateDataSet has run. `gear`
// 0 takes every point; N >= 1 selects segment N of each engine-speed X channel (its FSelected),
// keeps the rows from the first to the last selected point and empties the cells of a channel
// outside its own selected segment. False with a message when the run has no engine-speed X
// channel or one with fewer than N segments.
bool BuildExportTable(TGphData& data, uint32_t runIndex, int gear, TExportTable& table,
                      std::string& error);
