#include "RunData.h"

void TDrumData::Resize(uint32_t n) {
  FRaw.resize(n);
  FSpeed.resize(n);
  FMidTime.resize(n);
  FAccel.resize(n);
  FTime.resize(n);
}

void TRPMData::Resize(uint32_t n) {
  FRaw.resize(n);
  FValue.resize(n);
  FTime.resize(n);
}

void TIntData::Resize(uint32_t n) {
  FValue.resize(n);
  FTime.resize(n);
}

TRunData::TRunData() = default;

void TRunData::SetChannelCount(uint32_t n) {
  // Borrowed references into the old channels must not outlive them.
  FXChannels.clear();
  FShown.fill(nullptr);
  FChannels.clear();
  for (uint32_t i = 0; i < n; ++i) FChannels.push_back(std::make_unique<TChannel>());
}

uint32_t TRunData::AddChannel(uint32_t type, uint32_t unitKind, std::string name) {
  uint32_t ordinal = 0;
  for (const auto& channel : FChannels)
    if (ChannelType(channel->FID) == type) ++ordinal;
  auto channel = std::make_unique<TChannel>();
  channel->FID = ChannelID(ordinal, type);
  channel->FUnitKind = unitKind;
  channel->FName = std::move(name);
  FChannels.push_back(std::move(channel));
  return ChannelCount() - 1;
}

uint32_t TRunData::AddDrum(uint32_t n) {
  auto drum = std::make_unique<TDrumData>();
  drum->Resize(n);
  FDrums.push_back(std::move(drum));
  return static_cast<uint32_t>(FDrums.size() - 1);
}

uint32_t TRunData::AddRPM(uint32_t n) {
  auto series = std::make_unique<TRPMData>();
  series->Resize(n);
  FRPMs.push_back(std::move(series));
  return static_cast<uint32_t>(FRPMs.size() - 1);
}

uint32_t TRunData::AddInt(uint32_t n) {
  auto series = std::make_unique<TIntData>();
  series->Resize(n);
  FInts.push_back(std::move(series));
  return static_cast<uint32_t>(FInts.size() - 1);
}

void TRunData::ResetGears(TChannel& channel, uint32_t n) {
  if (!channel.FGears) channel.FGears = std::make_shared<TGears>();
  TGears& gears = *channel.FGears;
  gears.FRatio.assign(n, 1.0f);
  gears.FStart.assign(n, 0);
  gears.FEnd.assign(n, 0);
  gears.FFlags.assign(n, 0);
}
