#pragma once

// The scale engine of the graph: for each of the seven axes (0 = the shared X axis, 2g+1 and 2g+2
// the left and right Y axes of graph g) the shown range, the major step, the label values and the
// width of the widest label, from the data set's ranges or the requested (zoomed) ranges.

#include <array>
#include <cstdint>
#include <functional>
#include <utility>

#include "GraphTypes.h"

class TChannel;

inline constexpr int kNumAxes = 7;
inline constexpr int kMaxGraphs = 3;

// Whole air/fuel-ratio axes (the first air/fuel channel) get a fixed automatic range of 10..18.
inline constexpr int32_t kAirFuelChannelID = 4;

// What the scaling reads from the graph data set; the graph control adapts its data set to it.
class TScaleData {
 public:
  virtual ~TScaleData() = default;
  // Runs known to the graph control.
  virtual int NumRuns() const = 0;
  // Some channel is plotted on the axis (for axis 0: on any axis).
  virtual bool AxisInUse(int axis) const = 0;
  // Extremes of the data on the axis, valid after CalcDataRanges.
  virtual float GetDataMax(int axis) const = 0;
  virtual float GetDataMin(int axis) const = 0;
  // The channel identifier chosen for the axis: the X channel for 0, else line slot axis - 1.
  virtual int32_t AxisChannel(int axis) const = 0;
  // The smallest span an axis may show.
  virtual float MinXStep() const = 0;
  virtual void CalcDataRanges() = 0;
  // Visits every channel of every run, in run order.
  virtual void ForEachChannel(const std::function<void(TChannel&)>& visit) = 0;
};

// The control's switches that steer the scaling.
struct TScaleSwitches {
  bool AutoScaling = true;   // ranges from the data, else the requested ranges
  bool SnapToScale = true;   // widen the shown range to whole steps
  bool ForceScale = true;    // both Y axes of a graph share one range
  bool ShowNegative = true;  // automatic ranges may go below zero
  int Buffer = 0;            // margin in percent of the range
  bool Designing = false;    // the form designer shows a fixed step
};

// Everything the scaling operations need besides the axis state.
struct TScaleContext {
  TScaleContext(TScaleData& data, TScaleSwitches switches = {}, double pixelsPerInch = 96,
                std::function<void()> updateZoom = {})
      : Data(data),
        Switches(switches),
        PixelsPerInch(pixelsPerInch),
        UpdateZoom(std::move(updateZoom)) {}

  TScaleData& Data;
  TScaleSwitches Switches;
  double PixelsPerInch;  // the screen's, also when printing
  // Records the displayed ranges in the zoom history; may be empty.
  std::function<void()> UpdateZoom;
};

// Per-axis state of the control, indexed by axis 0..6.
struct TAxisState {
  std::array<float, kNumAxes> FAxisMin{0, 0, 0, 0, 0, 0, 0};  // displayed range
  std::array<float, kNumAxes> FAxisMax{100, 100, 100, 100, 100, 100, 100};
  std::array<float, kNumAxes> FManMin{0, 0, 0, 0, 0, 0, 0};  // requested range
  std::array<float, kNumAxes> FManMax{100, 100, 100, 100, 100, 100, 100};
  std::array<float, kNumAxes> FAxisStep{};                          // major step in data units
  std::array<int, kNumAxes> FFmtIndex{12, 12, 12, 12, 12, 12, 12};  // step table index
  std::array<float, kNumAxes> FFirstLabel{};  // lowest and highest scale label
  std::array<float, kNumAxes> FLastLabel{};
  std::array<float, kNumAxes> FNumDivs{};       // major intervals bracketing the range
  std::array<float, kNumAxes> FNumDivsShown{};  // intervals between the labels (snap off)
  std::array<int, kNumAxes> FLabelWidth{};      // pixels; 0 for a skipped axis
  std::array<float, kNumAxes> FPixPerUnit{};    // set by the axis drawing
};

struct TScaleRange {
  float Max = 100;
  float Min = 0;
};

// Label indices: the shown range runs from Lo to Hi steps.
struct TLabelSpan {
  int Hi = 0;
  int Lo = 0;
};

// True for a Y axis whose chosen channel is the air/fuel ratio.
bool ShowsAirFuel(const TScaleData& data, int axis);

// The range of an axis before snapping; writes it back as the requested range (and, with
// ForceScale, into the partner axis of the graph). An axis outside 0..6 gives 0..100.
TScaleRange SelectScale(TAxisState& state, const TScaleContext& ctx, int axis);

// Chooses the step of an axis from the table for three quarters of an inch per step, and the
// label indices bracketing its range. graphRects are the plot rectangles of the graphs.
TLabelSpan Scale_Axis(TAxisState& state, const TScaleContext& ctx, int axis,
                      const std::array<TRect, kMaxGraphs>& graphRects);

// Inputs and outputs of CalculateAxes besides the axis state.
struct TAxesLayout {
  int NumGraphs = 1;
  TRect FrameRect;                             // Left and Right bound the label zones
  std::array<TRect, kMaxGraphs> GraphRects{};  // Left and Right are rewritten
  int LabelHeight = 0;                         // out: text height of "8"
};

// Scales every axis of the shown graphs, measures their labels and moves the plot rectangles'
// side edges to fit the label zones. Returns true when a plot rectangle moved.
bool CalculateAxes(TAxisState& state, const TScaleContext& ctx, TAxesLayout& layout,
                   const TTextMetrics& metrics);

// Resets the displayed and requested ranges to the extremes of the plotted channels (with margin)
// and clears the channels' line offsets. Records the result in the zoom history.
void ResetScale(TAxisState& state, const TScaleContext& ctx);

// Sets the requested range of an axis (and the displayed one while AutoScaling is off), then
// records the zoom history. An axis outside 0..6 is ignored.
void manScale(TAxisState& state, const TScaleContext& ctx, int axis, float min, float max);

// The displayed minimum of an axis truncated to an integer; 0 for an axis outside 0..6.
int GetMin_Plt(const TAxisState& state, int axis);
