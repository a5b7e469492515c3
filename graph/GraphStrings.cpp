// The graph's table of 28 texts: filled by the host's hook, else with the English defaults.

#include "WPGraph.h"

namespace {

// Index 0 is the correction factor in force and 1 the default main title; 2..15 name menu
// entries the host may offer; the rest are drawn by the labels, status text and tool windows.
constexpr const char* kDefaultStrings[kGraphStrings] = {
    "NONE",
    "HALVORN RESEARCH",
    "&Solid, Thin",
    "&Solid, Medium",
    "&Solid, Thick",
    "&Dashed",
    "D&otted",
    "Das&h-Dot",
    "Dash-Do&t-Dot",
    "Change this channel",
    "Change this run",
    "Change all runs",
    "Line &Style",
    "Line &Color",
    "AXIS BUTTON",
    "Select colors for this run",
    "Max",
    "Area",
    "CF",
    "Smoothing",
    "Humidity",
    "QuickMove",
    "Magnifyer",
    "Select Gear Ratios",
    "Gear",
    "Gear Ratio",
    "Drum",
    "OK",
};

}  // namespace

void TWPGraph::LoadStrings() {
  FStrings.clear();
  if (FOnLoadStrings) {
    FOnLoadStrings(FStrings, kGraphStrings);
  } else {
    for (const char* text : kDefaultStrings)
      FStrings.append(QString::fromUtf8(text));
  }
  // The quick-move and magnifier boxes take their titles (strings 21 and 22) here once
  // those tool windows exist.
}

QString TWPGraph::GetGraphString(int index) const {
  if (index < 0 || index >= FStrings.size()) return {};
  return FStrings[index];
}
