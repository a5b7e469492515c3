#pragma once

// The values the graph keeps under its RegistryKey: label-box places and run colours and
// styles. Each name is written once, here.

#include "RegistryTable.h"

namespace GraphKey {
// Label box n's place: percent of its plot rectangle's width and height, and its graph.
inline constexpr TRegSetting<double> BoxX{"Box#X"};
inline constexpr TRegSetting<double> BoxY{"Box#Y"};
inline constexpr TRegSetting<std::int32_t> BoxGraph{"Box#Graph"};
// Run slot s's first and second colour (colour text) and line style (pen style number).
inline constexpr TRegSetting<std::string> DColor1{"DColor#-1"};
inline constexpr TRegSetting<std::string> DColor2{"DColor#-2"};
inline constexpr TRegSetting<std::int32_t> DStyle1{"DStyle#-1"};
inline constexpr TRegSetting<std::int32_t> DStyle2{"DStyle#-2"};

// The colour or style entry of a slot's pair entry i (0 or 1).
inline const TRegSetting<std::string>& DColor(int i) {
  return i == 0 ? DColor1 : DColor2;
}
inline const TRegSetting<std::int32_t>& DStyle(int i) {
  return i == 0 ? DStyle1 : DStyle2;
}
}  // namespace GraphKey
