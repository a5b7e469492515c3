#include "DllData.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "ChannelCompute.h"

namespace {

// The nearest int32 to a double, 0 for NaN: an absurd unit from a damaged units file must not
// make the conversion undefined.
int32_t SaturatingInt(double value) {
  if (std::isnan(value)) return 0;
  constexpr double kLow = std::numeric_limits<int32_t>::min();
  constexpr double kHigh = std::numeric_limits<int32_t>::max();
  return static_cast<int32_t>(std::clamp(value, kLow, kHigh));
}

bool SlotMatches(int32_t slotID, uint32_t channelID) {
  return slotID != 0 && static_cast<uint32_t>(slotID) == channelID;
}

}  // namespace

double ComputeCF(const TDllData& data, TRunData& run) {
  return ComputeCF(data.FCFs, data.FCFIndex, run);
}

TDllData::TDllData() = default;
TDllData::~TDllData() = default;

TRunData* TDllData::Run(uint32_t index) const {
  return index < FRuns.size() ? FRuns[index].get() : nullptr;
}

uint32_t TDllData::AddRun(std::unique_ptr<TRunData> run) {
  FRuns.push_back(std::move(run));
  return NumRuns() - 1;
}

bool TDllData::DeleteRun(uint32_t index) {
  if (index >= FRuns.size() || !FRuns[index]) return false;
  FRuns.erase(FRuns.begin() + index);
  return true;
}

uint32_t TDllData::NumChan(uint32_t run) const {
  const TRunData* data = Run(run);
  return data ? data->ChannelCount() : 0;
}

uint32_t TDllData::NumPoints(uint32_t run, uint32_t channel) const {
  const TRunData* data = Run(run);
  if (!data || channel >= data->ChannelCount()) return 0;
  return data->FChannels[channel]->NumPoints();
}

TPen* TDllData::GetRunPen(uint32_t run, uint32_t index) const {
  TRunData* data = Run(run);
  if (!data || index >= data->FPens.size()) return nullptr;
  return &data->FPens[index];
}

int32_t TDllData::GetChannelAxis(uint32_t run, uint32_t channel) const {
  const TRunData* data = Run(run);
  if (!data || channel >= data->ChannelCount()) return -1;
  return data->FChannels[channel]->FAxis;
}

bool TDllData::AxisInUse(int axis) const {
  if (axis < 0) return false;
  for (const auto& run : FRuns) {
    if (!run) continue;
    for (const auto& channel : run->FChannels)
      if (axis > 0 ? channel->FAxis == axis : channel->FAxis > 0) return true;
  }
  return false;
}

const TUnit* TDllData::Unit(uint32_t kind) const {
  return kind < FUnits.size() ? &FUnits[kind] : nullptr;
}

const TUnit* TDllData::ChannelUnit(uint32_t entry) const {
  if (entry >= FChannelUnits.size() || FChannelUnits[entry] < 0) return nullptr;
  return Unit(static_cast<uint32_t>(FChannelUnits[entry]));
}

int TDllData::BuildChannelTable() {
  FChannelIDs.assign(1, 0);
  FChannelUnits.assign(1, FUnits.empty() ? -1 : 0);
  for (const auto& run : FRuns) {
    if (!run) continue;
    for (const auto& channel : run->FChannels) {
      const int32_t id = static_cast<int32_t>(channel->FID);
      if (std::find(FChannelIDs.begin() + 1, FChannelIDs.end(), id) != FChannelIDs.end()) continue;
      FChannelIDs.push_back(id);
      FChannelUnits.push_back(
          channel->FUnitKind < FUnits.size() ? static_cast<int32_t>(channel->FUnitKind) : -1);
    }
  }
  const size_t count = FChannelIDs.size();
  for (auto& allowed : FAxisAllowed)
    allowed.assign(count, 0);
  for (size_t k = 0; k < count; ++k) {
    const uint32_t id = static_cast<uint32_t>(FChannelIDs[k]);
    const uint32_t type = ChannelType(id);
    // The engine speed of a second or later drum is only ever an X value of its own drum,
    // chosen through the first drum's entry.
    if (type == ctRPM && ChannelOrdinal(id) != 0) continue;
    if (k == 0)
      FAxisAllowed[0][k] = count == 1;
    else
      FAxisAllowed[0][k] = type == ctTime || type == ctSpeed || type == ctRPM;
    for (int axis = 1; axis < kAxisCount; ++axis)
      FAxisAllowed[axis][k] = type != ctTime;
  }
  return 0;
}

uint16_t TDllData::CalculateData() {
  uint16_t code = 0;
  const TUnit* length = Unit(ukShortLength);
  const TUnit* temperature = Unit(ukTemperature);
  const TUnit* pressure = Unit(ukPressure);
  for (const auto& owned : FRuns) {
    if (!owned) continue;
    TRunData& run = *owned;
    run.FHumidityDisplay = run.FHumidity;
    run.FBaroDisplay = pressure ? pressure->Convert(run.FBaro) : run.FBaro;
    run.FVaporDisplay = pressure ? pressure->Convert(run.FVapor) : run.FVapor;
    run.FTempDisplay = temperature ? temperature->Convert(run.FTemp) : run.FTemp;
    run.FAltitudeDisplay =
        length ? SaturatingInt(std::trunc(length->Convert(run.FAltitude) + 0.5)) : run.FAltitude;

    if (FRecalcAll)
      for (auto& channel : run.FChannels)
        channel->FY.clear();
    run.FShown.fill(nullptr);
    run.FXChannels.clear();

    auto findChannel = [&run](uint32_t id) -> TChannel* {
      for (auto& channel : run.FChannels)
        if (channel->FID == id) return channel.get();
      return nullptr;
    };
    if (FXChannel == ctRPM && run.FDrums.size() > 1) {
      // Each drum is drawn over its own engine speed, but only the drums something is shown of.
      for (uint32_t drum = 0; drum < run.FDrums.size(); ++drum) {
        const bool shown = std::any_of(FYChannel.begin(), FYChannel.end(), [drum](int32_t id) {
          return id != 0 && ChannelOrdinal(static_cast<uint32_t>(id)) == drum;
        });
        if (!shown) continue;
        if (TChannel* x = findChannel(ChannelID(drum, ctRPM))) run.FXChannels.push_back(x);
      }
    } else {
      run.FXChannels.push_back(FXChannel != 0 ? findChannel(static_cast<uint32_t>(FXChannel))
                                              : nullptr);
    }

    for (auto& channel : run.FChannels) {
      channel->FAxis = -1;
      channel->FX = nullptr;
      channel->FY.clear();
      for (int slot = 0; slot < kLineSlots; ++slot) {
        if (!SlotMatches(FYChannel[slot], channel->FID)) continue;
        run.FShown[slot] = channel.get();
        channel->FAxis = SlotAxis(slot);
      }
    }
    run.FCF = ComputeCF(*this, run);
  }
  for (const auto& run : FRuns)
    if (run) code |= ComputeChannels(*this, *run);
  FRecalcAll = false;
  return code;
}
