#pragma once

// The pictures of the graph tool bar, drawn with QPainter so that both image lists (16 x 16 and
// 24 x 24) come from one description. Indexes are those of the tool bar's buttons.

#include <QIcon>
#include <QPixmap>

enum TToolbarImage {
  tiZoom = 1,         // magnifier
  tiOneGraph = 2,     // one graph
  tiTwoGraphs = 3,    // two stacked graphs
  tiThreeGraphs = 4,  // three stacked graphs
  tiPan = 6,          // four arrows
  tiPointMode = 7,    // arrow pointer
  tiRemoveAll = 8,    // a graph sheet struck out
  tiRescale = 9,      // arrows out to the corners
  tiOpen = 10,        // open folder
};

// Number of slots in each image list; slots 0 and 5 are blank.
inline constexpr int kToolbarImageCount = 11;

// The image size of a tool bar size: 16 for 16, 24 for any other value (as the tool bar does).
int ToolbarImageSize(int size);

// The picture at `index` in the image list of `size`, at the given device pixel ratio; a blank
// (transparent) picture for an index without one.
QPixmap ToolbarPixmap(int index, int size, qreal devicePixelRatio = 1.0);

// The picture at `index` as an icon, with a double-resolution variant for high-density screens.
QIcon ToolbarIcon(int index, int size);
