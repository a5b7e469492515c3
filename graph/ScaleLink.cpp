// The control's link to the scale engine: its switches, its data set and its layout handed to
// the pure scaling operations, and their results taken back.

#include "AxisScaling.h"
#include "CanvasMetrics.h"
#include "GphScaleData.h"
#include "WPGraph.h"

namespace {

TScaleSwitches Switches(const TWPGraph& graph) {
  TScaleSwitches switches;
  switches.AutoScaling = graph.AutoScaling();
  switches.SnapToScale = graph.SnapToScale();
  switches.ForceScale = graph.ForceScale();
  switches.ShowNegative = graph.ShowNegative();
  switches.Buffer = graph.Buffer();
  return switches;
}

}  // namespace

void TWPGraph::CalculateAxes(TCanvas& canvas) {
  TGphScaleData data(*FData, FNumRuns);
  // Steps are three quarters of an inch of the screen, also when printing.
  const TScaleContext ctx(data, Switches(*this), logicalDpiY(), [this] { UpdateZoom(); });
  TAxesLayout layout;
  layout.NumGraphs = FNumGraphs;
  layout.FrameRect = FFrameRect;
  layout.GraphRects = FGraphRect;
  canvas.Font() = FAxisLabelFont;
  if (::CalculateAxes(FAxes, ctx, layout, TCanvasMetrics(canvas))) FLayoutDirty = true;
  FGraphRect = layout.GraphRects;
  FLabelHeight = layout.LabelHeight;
}

void TWPGraph::ResetScale() {
  TGphScaleData data(*FData, FNumRuns);
  const TScaleContext ctx(data, Switches(*this), logicalDpiY(), [this] { UpdateZoom(); });
  ::ResetScale(FAxes, ctx);
}
