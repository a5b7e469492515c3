// Extension points of the graph's interaction: the zoom history (nothing to step through until
// zooming records it), the axis buttons' channel menu and the vertical cursor's crossings. Each
// leaves this file when its real one arrives.

#include "WPGraph.h"

void TWPGraph::UpdateZoom() {}

void TWPGraph::Unzoom() {}

void TWPGraph::Rezoom() {}

void TWPGraph::resetCrsrNums() {}

void TWPGraph::AxisBtnClick(QObject*) {}

void TWPGraph::CollectCrossing(double, int, double, double, double, double, TColor, const QString&,
                               const QString&) {}
