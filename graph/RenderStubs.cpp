// Placeholders for the rendering, axis drawing, label and conditions-text operations of the
// graph, so that the control links while those source files are written. Each definition
// leaves this file when its real one arrives.

#include "WPGraph.h"

void TWPGraph::DrawGraph() {}

void TWPGraph::Paint() {}

std::unique_ptr<TMetafile> TWPGraph::Metafile() {
  return std::make_unique<TMetafile>(width(), height());
}

void TWPGraph::DrawGraphTo(TCanvas&) {}

int TWPGraph::DrawTitles(TCanvas&) {
  return FAreaRect.Top;
}

void TWPGraph::DrawBanner(TCanvas&) {}

void TWPGraph::DrawHorzAxisLabel() {}

void TWPGraph::DrawVertAxisLabel(int) {}

void TWPGraph::Graph_Data(TCanvas&, int, int) {}

void TWPGraph::Graph_Gear(TCanvas&, TChannel&, int, int, int, int) {}

void TWPGraph::DrawHorzGrad(TCanvas&, const TRect&, TColor, TColor) {}

void TWPGraph::DrawBevel(TCanvas&, const TRect&) {}

void TWPGraph::Draw_Axes(TCanvas&, int) {}

void TWPGraph::DrawLabel(TCanvas&, int, int, float&, float, int) {}

void TWPGraph::DrawLabels() {}

void TWPGraph::LabelMoved(QObject*, QObject*, int, int) {}

TMultiLabel* TWPGraph::AddLabel() {
  return nullptr;
}

void TWPGraph::MouseEnterLabel(QObject*) {}

// The label type is a property of the control; its labels are drawn by DrawLabels.
void TWPGraph::SetLabelType(int type) {
  FLabelType = (type >= 0 && type <= 5) ? type : 0;
  RedrawUnlessLoading();
}

QString TWPGraph::GetConditionsString(int) const {
  return {};
}

void TWPGraph::CalculateAxes(TCanvas&) {}

void TWPGraph::ResetScale() {}

bool TWPGraph::ValidAxes() const {
  return false;
}

TPoint TWPGraph::Graph2Screen(int, double, double) const {
  return {};
}
