// The run list's colour icons: one 16 x 16 swatch per run in the colours of its left-axis and
// right-axis pens, crossed by a diagonal while the run's engine speed was cleaned on reading.

#include "WPGraph.h"

namespace {

constexpr int kIconSide = 16;

QImage RunIcon(const TRunData& run) {
  TBitmap icon(kIconSide, kIconSide);
  TCanvas& canvas = icon.Canvas();
  canvas.Brush() = TBrush{run.FPens[0].FColor, bsSolid};
  canvas.FillRect(0, 0, kIconSide / 2, kIconSide);
  canvas.Brush() = TBrush{run.FPens[1].FColor, bsSolid};
  canvas.FillRect(kIconSide / 2, 0, kIconSide, kIconSide);
  canvas.Brush() = TBrush{clBlack, bsSolid};
  canvas.FrameRect(0, 0, kIconSide, kIconSide);
  if (run.FCleanRPM) {
    canvas.Pen() = TCanvasPen{};
    canvas.MoveTo(0, 0);
    canvas.LineTo(kIconSide, kIconSide);
  }
  return icon.Image();
}

}  // namespace

void TWPGraph::DoLVIcons() {
  if (!FLVImages) return;
  FLVImages->Clear();
  for (int r = 0; r < FNumRuns; ++r) {
    const TRunData* run = FData->Run(static_cast<uint32_t>(r));
    if (!run) break;
    FLVImages->Add(RunIcon(*run));
    if (FListView && r < FListView->Count()) FListView->SetImageIndex(r, r);
  }
}
