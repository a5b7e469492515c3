#pragma once

// The channel names of the command line ("power", "rpm", ...) and the titles of the columns.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "GphData.h"

struct TChannelChoice {
  std::string_view FName;  // as typed on the command line
  uint32_t FType;          // channel type
  int32_t FUnitKind;       // the unit kind the reader gives channels of that type
};

// Choices of the X axis: time, speed, rpm.
std::span<const TChannelChoice> XChoices();
// Choices of the line slots: power, torque, speed, rpm, af, gear, total-power, total-torque,
// clutch-power.
std::span<const TChannelChoice> YChoices();
// The names of the choices joined by "|" or ",", for messages and help.
std::string ChoiceNames(std::span<const TChannelChoice> choices, std::string_view separator);

// "NAME" or "NAME:N" (N = 1 for the first drum, or the first channel of its kind) as a channel
// identifier; false with a message for an unknown name or a bad number.
bool ParseChannelChoice(std::string_view text, std::span<const TChannelChoice> choices,
                        uint32_t& id, std::string& error);

// Names of a channel identifier as the data set shows them, also for a channel no run has: short
// name, long name with unit, unit symbol. The long name of a second or later channel of its
// kind gets " [N]" (N from 2) so that columns of two drums can be told apart.
struct TChannelTitle {
  std::string FName, FTitle, FUnit;
};
TChannelTitle ChannelTitle(const TGphData& data, uint32_t id);
