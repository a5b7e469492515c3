// The tools the redraw lays over the curves, while their own source files are written: the
// area ends, the vertical cursor with the magnifier, and the quick-move box. Each definition
// leaves this file when its real one arrives.

#include "WPGraph.h"

// Vertical lines at the two ends of the area measurement, across every graph.
void TWPGraph::DrawAreaEnds(TCanvas&) {}

// The cursor line, its read-out labels from the crossings the curves left (then emptied), and
// the magnifier composed over the picture.
void TWPGraph::DrawCrsr(TCanvas&, double) {
  FCrossCount = 0;
}

// The magnifier box goes out of sight while the cursor is not drawn.
void TWPGraph::HideMagBox() {}

// With QuickMove on, the box present, AutoScaling off and runs loaded, the box repaints and its
// client area is copied onto the picture at its bounds; otherwise the box is hidden.
void TWPGraph::ComposeQuickMoveBox(TCanvas&) {}
