#pragma once

// The data of the graph data set: the runs, the axis channel choices, the selected units, the
// correction factors, the smoothing level and the table of every channel over all runs.

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "ChannelCompute.h"
#include "ComputationOptions.h"
#include "CorrectionFactor.h"
#include "RunData.h"
#include "Units.h"

// Number of line slots of a run; slot s is drawn on Y axis (s mod 6) + 1.
inline constexpr int kLineSlots = 12;
// Axis indices 0..6: 0 is the X axis, 2g+1 and 2g+2 the left and right Y axes of graph g.
inline constexpr int kAxisCount = 7;
// The main window loads at most this many runs; the data set itself takes any number.
inline constexpr uint32_t kMaxRuns = 12;

inline constexpr int SlotAxis(int slot) {
  return slot % 6 + 1;
}

class TDllData {
 public:
  TDllData();
  virtual ~TDllData();
  TDllData(const TDllData&) = delete;
  TDllData& operator=(const TDllData&) = delete;

  uint32_t NumRuns() const { return static_cast<uint32_t>(FRuns.size()); }
  // The run at `index`, or null.
  TRunData* Run(uint32_t index) const;
  // Appends a run (taking ownership); returns its index.
  virtual uint32_t AddRun(std::unique_ptr<TRunData> run);
  // Destroys the run at `index` and closes the gap; false when there is no such run.
  bool DeleteRun(uint32_t index);

  // The run's channel count; 0 for a run index out of range.
  uint32_t NumChan(uint32_t run) const;
  // The number of values of a channel of a run; 0 when either index is out of range.
  uint32_t NumPoints(uint32_t run, uint32_t channel) const;
  // The run's pen `index` (0..5), or null.
  TPen* GetRunPen(uint32_t run, uint32_t index) const;
  // The Y axis a channel of a run is drawn on, -1 when none or out of range.
  int32_t GetChannelAxis(uint32_t run, uint32_t channel) const;
  // Axis > 0: some channel of some run is drawn on it; axis 0: some channel is drawn at all.
  bool AxisInUse(int axis) const;

  // The selected unit of a unit kind, or null when the table has none.
  const TUnit* Unit(uint32_t kind) const;
  // The unit of channel-table entry k, or null.
  const TUnit* ChannelUnit(uint32_t entry) const;
  uint32_t ChannelCount() const { return static_cast<uint32_t>(FChannelIDs.size()); }

  // Sets each unit's quantity name and symbol from the string table; true when there are units.
  bool BuildUnitNames();
  // Rebuilds the table of channel identifiers over all runs, with units and axis permissions.
  int BuildChannelTable();
  // Rebuilds the short names, long names (with unit) and unit symbols of the table's entries;
  // true when the table is not empty.
  bool BuildChannelNames();
  // Recomputes every run: conditions in display units, X channels, shown channels, correction
  // factor and the values of the X and shown channels. Returns the ORed result codes, 0 = success.
  uint16_t CalculateData();

  int32_t FSmoothing = 0;  // smoothing level 0..5
  // Identifier on the X axis: 1 Time, 2 Speed, 3 engine speed.
  int32_t FXChannel = 0;
  // Identifier per line slot, 0 = none.
  std::array<int32_t, kLineSlots> FYChannel{};
  std::vector<std::unique_ptr<TRunData>> FRuns;  // in load order
  TUnitTable FUnits;  // the selected unit of each unit kind, in kind order
  TCorrectionFactorTable FCFs;
  int32_t FCFIndex = 0;  // selected correction factor
  TComputationOptions FOptions;

  // The channel table; entry 0 stands for no channel. Units are kept as unit kinds (indices
  // into FUnits, -1 for none) so that replacing the unit table cannot leave them dangling.
  std::vector<int32_t> FChannelIDs;
  std::vector<int32_t> FChannelUnits;
  std::vector<std::string> FChannelNames;      // short names
  std::vector<std::string> FChannelTitles;     // long names with unit
  std::vector<std::string> FChannelUnitNames;  // unit symbols
  // Per axis 0..6: 1 where the entry may be chosen for that axis.
  std::array<std::vector<uint8_t>, kAxisCount> FAxisAllowed;
  bool FRecalcAll = false;  // set after the units changed
};

// The correction factor of the data set's selected entry for the run (see CorrectionFactor.h).
double ComputeCF(const TDllData& data, TRunData& run);
