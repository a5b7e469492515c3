#include "ExportTable.h"

#include <algorithm>

#include "ChannelChoice.h"
#include "ChannelCompute.h"

namespace {

TExportColumn MakeColumn(const TGphData& data, TColumnRole role, uint32_t id, int slot) {
  TExportColumn column;
  column.FRole = role;
  column.FID = id;
  column.FSlot = slot;
  const TChannelTitle title = ChannelTitle(data, id);
  column.FName = title.FName;
  column.FTitle = title.FTitle;
  column.FUnit = title.FUnit;
  return column;
}

// The time of every point, computed as the window computes a Time channel (in the time unit).
std::vector<float> TimeValues(const TGphData& data, const TRunData& run) {
  TChannel time;
  time.FID = ctTime;
  time.FUnitKind = ukTime;
  ComputeChannel(data, run, time);
  return time.FY;
}

// Empties the values outside the selected segment of `gears`.
void KeepSelectedSegment(const TGears& gears, std::vector<float>& values) {
  const size_t selected = static_cast<size_t>(gears.FSelected);
  if (selected >= gears.Count()) return;
  for (size_t i = 0; i < values.size(); ++i)
    if (i < gears.FStart[selected] || i > gears.FEnd[selected]) values[i] = kNoValue;
}

}  // namespace

bool BuildExportTable(TGphData& data, uint32_t runIndex, int gear, TExportTable& table,
                      std::string& error) {
  table = {};
  TRunData* run = data.Run(runIndex);
  if (!run) {
    error = "no such run";
    return false;
  }
  const bool xIsTime = data.FXChannel == ctTime;

  // Gear selection first: it decides which rows and cells are kept.
  uint32_t first = run->FNumPoints, last = 0;
  bool anySelected = false;
  for (TChannel* x : run->FXChannels) {
    if (!x || !x->FGears) continue;
    TGears& gears = *x->FGears;
    if (gear > 0) {
      if (static_cast<uint32_t>(gear) > gears.Count()) {
        error = "gear " + std::to_string(gear) + " asked for, but the engine speed has " +
                std::to_string(gears.Count()) + " gear segment" + (gears.Count() == 1 ? "" : "s");
        return false;
      }
      gears.FSelected = gear - 1;
      const size_t s = static_cast<size_t>(gears.FSelected);
      first = std::min(first, gears.FStart[s]);
      last = std::max(last, gears.FEnd[s]);
      anySelected = true;
    }
    table.FGears.push_back({x->FID, gears.FSelected, gears.FRatio, gears.FStart, gears.FEnd});
  }
  if (gear > 0 && !anySelected) {
    error = "gear " + std::to_string(gear) + " asked for, but the run has no engine speed";
    return false;
  }
  table.FFirstRow = 0;
  table.FEndRow = run->FNumPoints;
  if (gear > 0) {
    table.FFirstRow = std::min(first, run->FNumPoints);
    table.FEndRow = std::clamp(last + 1, table.FFirstRow, run->FNumPoints);
  }

  // A column's values, limited to its selected segment when a gear was chosen.
  auto addValues = [&](TExportColumn& column, const TChannel& channel) {
    column.FValues = channel.FY;
    if (gear > 0 && channel.FGears) KeepSelectedSegment(*channel.FGears, column.FValues);
  };

  TExportColumn time = MakeColumn(data, TColumnRole::Time, ctTime, -1);
  if (xIsTime && !run->FXChannels.empty() && run->FXChannels[0])
    time.FValues = run->FXChannels[0]->FY;
  else
    time.FValues = TimeValues(data, *run);
  table.FColumns.push_back(std::move(time));

  if (!xIsTime) {
    bool anyX = false;
    for (TChannel* x : run->FXChannels) {
      if (!x) continue;
      anyX = true;
      TExportColumn column = MakeColumn(data, TColumnRole::X, x->FID, -1);
      addValues(column, *x);
      table.FColumns.push_back(std::move(column));
    }
    if (!anyX) {
      TExportColumn column =
          MakeColumn(data, TColumnRole::X, static_cast<uint32_t>(data.FXChannel), -1);
      table.FWarnings.push_back("no " + column.FName + " channel for the X axis");
      table.FColumns.push_back(std::move(column));
    }
  }

  for (int slot = 0; slot < kLineSlots; ++slot) {
    const int32_t id = data.FYChannel[slot];
    if (id == 0) continue;
    TExportColumn column = MakeColumn(data, TColumnRole::Y, static_cast<uint32_t>(id), slot);
    if (const TChannel* channel = run->FShown[slot])
      addValues(column, *channel);
    else
      table.FWarnings.push_back("no " + column.FTitle + " channel");
    table.FColumns.push_back(std::move(column));
  }
  return true;
}
