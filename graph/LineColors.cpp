// Line colours and styles of the run slots: the default and black-and-white tables, the copies
// into the runs' pens, the registry values that override them, and the palette colour table.

#include <optional>

#include "GraphRegistry.h"
#include "Registry.h"
#include "WPGraph.h"

namespace {

// First colour of each slot; the second is derived halfway to white.
constexpr std::array<TColor, kRunSlots> kDefaultColors = {
    clBlue,
    clRed,
    clGreen,
    clNavy,
    clMaroon,
    clOlive,
    clFuchsia,
    clPurple,
    clLime,
    clTeal,
    RGBColor(255, 128, 0),
    clAqua,
};

// The colour halfway between `color` and white (system colours at their current value).
TColor HalfToWhite(TColor color) {
  const TColor rgb = ColorToRGB(color);
  return RGBColor((GetRValue(rgb) + 255) / 2, (GetGValue(rgb) + 255) / 2,
                  (GetBValue(rgb) + 255) / 2);
}

TPenStyle ValidStyle(int32_t style) {
  return style >= psSolid && style <= psInsideFrame ? static_cast<TPenStyle>(style) : psSolid;
}

}  // namespace

void TWPGraph::setDefaultColors() {
  // Every display here shows true colour, so the halfway mix itself is the nearest colour.
  for (size_t s = 0; s < kRunSlots; ++s) {
    FDefaultColor[s][0] = kDefaultColors[s];
    FDefaultColor[s][1] = HalfToWhite(kDefaultColors[s]);
  }
}

void TWPGraph::setBWColors() {
  for (auto& pair : FDefaultColor)
    pair.fill(clBlack);
}

void TWPGraph::ResetColors() {
  std::optional<TRegKeyScope> key;
  if (!FRegistryKey.empty()) key.emplace(*FRegistry, FRegistryKey);
  const bool open = key && key->IsOpen();
  for (int s = 0; s < kRunSlots; ++s) {
    TRunData* run = s < FNumRuns ? FData->Run(static_cast<uint32_t>(s)) : nullptr;
    for (int i = 0; i < 2; ++i) {
      const TColor color = FDefaultColor[static_cast<size_t>(s)][static_cast<size_t>(i)];
      FRunColor[static_cast<size_t>(s)][static_cast<size_t>(i)] = color;
      if (open && FRegistry->ValueExists(GraphKey::DColor(i).NameFor(s)))
        WriteSetting(*FRegistry, GraphKey::DColor(i), ColorToString(color).toStdString(), s);
      for (int k = i; run && k < kRunPens; k += 2)
        run->FPens[static_cast<size_t>(k)].FColor = color;
    }
  }
  DoLVIcons();
}

void TWPGraph::ResetStyles() {
  std::optional<TRegKeyScope> key;
  if (!FRegistryKey.empty()) key.emplace(*FRegistry, FRegistryKey);
  const bool open = key && key->IsOpen();
  for (int s = 0; s < kRunSlots; ++s) {
    FRunStyle[static_cast<size_t>(s)].fill(psSolid);
    for (int i = 0; open && i < 2; ++i) {
      if (FRegistry->ValueExists(GraphKey::DStyle(i).NameFor(s)))
        WriteSetting(*FRegistry, GraphKey::DStyle(i), psSolid, s);
    }
    if (s >= FNumRuns) continue;
    for (int k = 0; k < kRunPens; ++k) {
      if (TPen* pen = GetDataPen(s, k)) pen->FStyle = psSolid;
    }
  }
}

TPen* TWPGraph::GetDataPen(int run, int k) const {
  if (run < 0 || run >= kRunSlots || k < 0 || k >= kRunPens) return nullptr;
  if (static_cast<uint32_t>(run) >= FData->NumRuns()) return nullptr;
  return FData->GetRunPen(static_cast<uint32_t>(run), static_cast<uint32_t>(k));
}

void TWPGraph::SetDataPen(int run, int k, const TPen& pen) {
  TPen* target = GetDataPen(run, k);
  if (!target) return;
  *target = pen;
  FRunColor[static_cast<size_t>(run)][static_cast<size_t>(k % 2)] = pen.FColor;
  FRunStyle[static_cast<size_t>(run)][static_cast<size_t>(k % 2)] = ValidStyle(pen.FStyle);
}

bool TWPGraph::DipPen(int run, int i, TPen& pen) const {
  if (run < 0 || run >= kRunSlots || i < 0 || i > 1) return false;
  pen.FColor = FRunColor[static_cast<size_t>(run)][static_cast<size_t>(i)];
  pen.FStyle = FRunStyle[static_cast<size_t>(run)][static_cast<size_t>(i)];
  return true;
}

TColor TWPGraph::GetLineColor(int run, int i) const {
  if (run < 0 || run >= kRunSlots || i < 0 || i > 1) return clBlack;
  return FRunColor[static_cast<size_t>(run)][static_cast<size_t>(i)];
}

TColor TWPGraph::GetDefaultColor(int run, int i) const {
  if (run < 0 || run >= kRunSlots || i < 0 || i > 1) return clBlack;
  return FDefaultColor[static_cast<size_t>(run)][static_cast<size_t>(i)];
}

TPenStyle TWPGraph::GetLineStyle(int run, int i) const {
  if (run < 0 || run >= kRunSlots || i < 0 || i > 1) return psSolid;
  return FRunStyle[static_cast<size_t>(run)][static_cast<size_t>(i)];
}

std::vector<TPaletteEntry> TWPGraph::GetPalette(const std::filesystem::path& file) const {
  if (auto entries = ReadPaletteFile(file)) return std::move(*entries);
  return ColorCubePalette();
}
