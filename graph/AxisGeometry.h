#pragma once

// The geometry of one graph's axes: the dotted grid inside the plot, the tick marks and scale
// numbers around it, and the pixels-per-unit factors of its axes. The painter turns the result
// into drawing calls; nothing here needs a canvas.

#include <array>
#include <string>
#include <vector>

#include "AxisScaling.h"
#include "GraphTypes.h"

// A line from From towards To that does not colour To itself.
struct TDash {
  TPoint From;
  TPoint To;
  bool operator==(const TDash&) const = default;
};

// How a scale number sits on its position: left of it (left axis), right of it (right axis) or
// centred under it (X axis). Pos is already the top-left corner of the text.
enum class TTextAlign { Right, Left, Center };

struct TScaleNumber {
  TPoint Pos;
  std::string Text;
  TTextAlign Align = TTextAlign::Left;
  int Axis = 0;
};

// The control's settings and layout the axis drawing of one graph reads.
struct TAxesInput {
  int Graph = 0;
  int NumGraphs = 1;
  TRect Plot;           // the graph's plot rectangle in control coordinates
  int LabelHeight = 0;  // the control's current label height
  int TickLen = 5;
  int Radius = 10;  // corner radius of the plot frame
  bool SnapToScale = true;
  bool ShowTickarks = true;
  bool ShowShadow = true;
  bool LeftInUse = false;  // the data set has a channel on the left / right axis of the graph
  bool RightInUse = false;
  float MinXStep = 0.01f;  // the data set's smallest span
};

enum class TAxesOutcome {
  Drawn,   // draw the plan and take its PixPerUnit
  NoArea,  // the plot rectangle is empty: draw nothing, keep the factors
  GiveUp,  // the grid dots would merge: switch AutoScaling on, reset the scale, re-initialise
};

// Everything Draw_Axes draws for one graph.
struct TAxesPlan {
  TAxesOutcome Outcome = TAxesOutcome::NoArea;
  int PlotWidth = 0;  // size of the plot bitmap
  int PlotHeight = 0;
  bool ShowLeft = false;
  bool ShowRight = false;
  int Primary = 0;                           // the Y axis the horizontal grid lines follow
  std::vector<TDash> Grid;                   // plot-bitmap coordinates, grid colour
  std::vector<TDash> Ticks;                  // control coordinates, tick-mark colour
  std::vector<TScaleNumber> Numbers;         // control coordinates, scale font, clear brush
  int LabelHeight = 0;                       // the control's label height after the drawing
  std::array<float, kNumAxes> PixPerUnit{};  // the new FPixPerUnit of every axis
};

// True when a displayed range involved in drawing the graph has collapsed (max = min), so the
// scale must be reset before the axes are planned. False for an empty plot rectangle.
bool AxesNeedScaleReset(const TAxisState& state, const TAxesInput& in);

// Plans the axes of graph in.Graph from the state left by CalculateAxes (and a reset, if one was
// needed). Text sizes come from metrics, in the font of the scale numbers.
TAxesPlan PlanAxes(const TAxisState& state, const TAxesInput& in, const TTextMetrics& metrics);
