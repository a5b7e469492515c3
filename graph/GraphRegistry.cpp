// The graph's registry values under RegistryKey: label-box places (read in Loaded, written at
// destruction) and the run colours and styles (read in Loaded).

#include <cmath>

#include "GraphRegistry.h"
#include "Registry.h"
#include "WPGraph.h"

namespace {

// Stored places are percentages of a plot rectangle; a box may sit a little outside its plot,
// but a value far beyond it (or not a number) is not a place the control wrote.
bool PlausiblePercent(double value) {
  return std::isfinite(value) && value >= -100 && value <= 200;
}

}  // namespace

void TWPGraph::ReadRegistry() {
  if (FRegistryKey.empty()) return;
  TRegKeyScope key(*FRegistry, FRegistryKey);
  if (!key) return;
  for (int n = 0; n < kFixedLabelBoxes && n < NumLabelBoxes(); ++n) {
    TMultiLabel& box = *FLabelBoxes[static_cast<size_t>(n)];
    if (const auto x = ReadSetting(*FRegistry, GraphKey::BoxX, n); x && PlausiblePercent(*x))
      box.SetXPercent(static_cast<float>(*x));
    if (const auto y = ReadSetting(*FRegistry, GraphKey::BoxY, n); y && PlausiblePercent(*y))
      box.SetYPercent(static_cast<float>(*y));
    if (const auto g = ReadSetting(*FRegistry, GraphKey::BoxGraph, n);
        g && *g >= 0 && *g < kMaxGraphs)
      box.SetGraphIndex(*g);
  }
  for (int s = 0; s < kRunSlots; ++s) {
    for (int i = 0; i < 2; ++i) {
      const auto text = ReadSetting(*FRegistry, GraphKey::DColor(i), s);
      const auto color = text ? StringToColor(QString::fromStdString(*text)) : std::nullopt;
      FRunColor[static_cast<size_t>(s)][static_cast<size_t>(i)] =
          color.value_or(FDefaultColor[static_cast<size_t>(s)][static_cast<size_t>(i)]);
      const auto style = ReadSetting(*FRegistry, GraphKey::DStyle(i), s);
      FRunStyle[static_cast<size_t>(s)][static_cast<size_t>(i)] =
          style && *style >= psSolid && *style <= psInsideFrame ? static_cast<TPenStyle>(*style)
                                                                : psSolid;
    }
  }
}

void TWPGraph::WriteRegistry() {
  if (FRegistryKey.empty() || !FRegistry) return;
  TRegKeyScope key(*FRegistry, FRegistryKey);
  if (!key) return;
  for (int n = 0; n < kFixedLabelBoxes && n < NumLabelBoxes(); ++n) {
    const TMultiLabel& box = *FLabelBoxes[static_cast<size_t>(n)];
    WriteSetting(*FRegistry, GraphKey::BoxX, static_cast<double>(box.XPercent()), n);
    WriteSetting(*FRegistry, GraphKey::BoxY, static_cast<double>(box.YPercent()), n);
    WriteSetting(*FRegistry, GraphKey::BoxGraph, box.GraphIndex(), n);
  }
}
