#pragma once

// The graph control: the channels of up to twelve runs on one to three stacked graphs, each
// with a left and a right Y axis, all sharing one X axis. The control owns its data set and
// draws everything into off-screen bitmaps first; Paint only copies the finished picture.
//
// Axis index 0..6: 0 is the X axis, 2g+1 and 2g+2 the left and right Y axes of graph g.
// Run r uses colour and style slot r; pen k of a run draws the curves of Y axis k+1, the even
// pens (left axes) in the slot's first colour and style, the odd pens in its second.
//
// Life cycle: construct, let the host apply its settings, then call Loaded() once (it links
// the run list, reads the registry values and creates the tool windows). Until Loaded the
// setters that would redraw only store their value.
//
// The class is spread over one source file per concern: WPGraph.cpp (construction and
// properties), RunLink.cpp (runs and the run list), RunIcons.cpp, LineColors.cpp,
// GraphStrings.cpp, GraphRegistry.cpp, and the rendering, axis drawing, label, conditions-text
// and interaction files.

#include <QImage>
#include <QMenu>
#include <QPointer>
#include <QRegion>
#include <QString>
#include <QStringList>
#include <QWidget>

#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "AxisScaling.h"
#include "Bitmap.h"
#include "Canvas.h"
#include "Color.h"
#include "CurvePath.h"
#include "Font.h"
#include "GphData.h"
#include "GraphTypes.h"
#include "HeightDivision.h"
#include "Metafile.h"
#include "MultiLabel.h"
#include "PaletteFile.h"
#include "PanelButton.h"
#include "RunListView.h"

class TRegistry;
class TQMBox;   // quick-move box, created by the tool windows
class TMagBox;  // magnifier box, created by the tool windows

enum TZoomModeType { zmZoom = 0, zmPan = 1, zmNone = 2 };

inline constexpr int kRunSlots = 12;        // colour and style slots, one per run
inline constexpr int kRunPens = 6;          // pens per run, one per Y axis
inline constexpr int kGraphStrings = 28;    // texts of the graph string table
inline constexpr int kMaxSelected = 20;     // selected (widened) lines
inline constexpr int kMaxCrossings = 100;   // cursor crossings recorded per redraw
inline constexpr int kZoomSteps = 5;        // entries of the zoom history
inline constexpr int kFixedLabelBoxes = 8;  // label boxes 0..7; AddLabel appends more
// An unset end of the area measurement: the most negative finite float.
inline constexpr float kAreaUnset = -3.4028235e38f;

using TRequestPermissionsEvent = std::function<void(QObject* sender, TGphData& data)>;
using TLabelClickEvent = std::function<void(QObject* sender, int index)>;
// Fills the graph's string list (cleared before the call) with `count` texts.
using TLoadStringsEvent = std::function<void(QStringList& strings, int count)>;

class TWPGraph : public QWidget {
 public:
  explicit TWPGraph(QWidget* parent = nullptr);
  // Adopts `data` instead of a data set of its own (see SetData).
  TWPGraph(QWidget* parent, std::unique_ptr<TGphData> data);
  ~TWPGraph() override;
  TWPGraph(const TWPGraph&) = delete;
  TWPGraph& operator=(const TWPGraph&) = delete;

  // The host calls this once after applying its settings: default colours, registry values
  // (when RegistryKey is set), the run list link and the tool windows.
  void Loaded();
  bool Loading() const { return FLoading; }

  // ---- Data set and runs ----
  TGphData& GetData() { return *FData; }
  const TGphData& GetData() const { return *FData; }
  // Frees the current data set and adopts `data`; hooks its run events. Null is ignored.
  void SetData(std::unique_ptr<TGphData> data);
  // The data set's OnAddRun: the run just appended gets its row, pens and icon.
  void NewRun(TGphData& sender);
  // The data set's OnClearRuns.
  void RunsCleared(TGphData& sender);
  // Deletes run `index` from the data set and the run list; later runs move down a slot.
  void DeleteRun(int index);
  // The run list's selection event: widens (selected) or restores the plotted lines of a run.
  void RunSelected(QObject* sender, int item, bool selected);
  // Rebuilds the run list's colour icons, one per run.
  void DoLVIcons();
  // Reloads the strings, refreshes the icons and redraws; nothing while hidden.
  void ReInit();
  // Raises OnRequestPermissions with the data set.
  void GetPermissions();
  // Sets the data set's X channel from ids[0] and its Y channels 0..5 from ids[1..6].
  void SetAxisChannels(std::span<const int32_t> ids);
  int NumRuns() const { return FNumRuns; }

  // ---- Graph strings ----
  // Refills the 28 graph strings through the host's hook, else with the English defaults.
  void LoadStrings();
  // Graph string `index`, or "" outside the list.
  QString GetGraphString(int index) const;
  void SetOnLoadStrings(TLoadStringsEvent handler) { FOnLoadStrings = std::move(handler); }

  // ---- Published properties ----
  int NumGraphs() const { return FNumGraphs; }
  // Clamps to 0..3; the host calls ReInit afterwards.
  void SetNumGraphs(int n);
  // Relative height of graph 0..2; 0 for another index.
  float GetRatio(int index) const;
  // Stores a finite ratio for graph 0..2; other indices and values are ignored.
  void SetRatio(int index, float value);

  bool AutoScaling() const { return FAutoScaling; }
  void SetAutoScale(bool value);
  bool ForceScale() const { return FForceScale; }
  void SetForceScl(bool value);
  bool SnapToScale() const { return FSnapToScale; }
  void SetSnapToScale(bool value);
  bool ShowNegative() const { return FShowNegative; }
  void SetNegative(bool value);
  // Data margin in percent of the range.
  int Buffer() const { return FBuffer; }
  void SetBuffer(int percent);

  bool ShowBanner() const { return FShowBanner; }
  void SetShowBanner(bool value) { FShowBanner = value; }
  bool ShowShadow() const { return FShowShadow; }
  void SetShowShadow(bool value);
  bool ShowTickarks() const { return FShowTickarks; }
  void SetShowTickarks(bool value);
  bool ShowGraphBmp() const { return FShowGraphBmp; }
  void SetShowGraphBmp(bool value);
  bool ShowIdent() const { return FShowIdent; }
  void SetShowIdent(bool value) { FShowIdent = value; }
  const QImage& BannerImage() const { return FBannerImage; }
  void SetBannerImage(const QImage& image) { FBannerImage = image.copy(); }
  const QImage& BackGroundImage() const { return FBackGroundImage; }
  void SetBackGroundImage(const QImage& image) { FBackGroundImage = image.copy(); }

  const QString& MainTitle() const { return FMainTitle; }
  void SetMainTitle(const QString& text) { FMainTitle = text; }
  const QString& SubTitle() const { return FSubTitle; }
  void SetSubTitle(const QString& text) { FSubTitle = text; }
  const QString& BottomTitle() const { return FBottomTitle; }
  void SetBottomTitle(const QString& text) { FBottomTitle = text; }
  const QString& LeftAxisLabel() const { return FLeftAxisLabel; }
  void SetLeftAxisLabel(const QString& text) { FLeftAxisLabel = text; }
  const QString& RightAxisLabel() const { return FRightAxisLabel; }
  void SetRightAxisLabel(const QString& text) { FRightAxisLabel = text; }
  const QString& BottomAxisLabel() const { return FBottomAxisLabel; }
  void SetBottomAxisLabel(const QString& text) { FBottomAxisLabel = text; }

  const TFont& AxisLabelFont() const { return FAxisLabelFont; }  // scale numbers
  void SetAxisLabelFont(const TFont& font) { FAxisLabelFont = font; }
  const TFont& MainTitleFont() const { return FMainTitleFont; }
  void SetMainTitleFont(const TFont& font) { FMainTitleFont = font; }
  const TFont& SubTitleFont() const { return FSubTitleFont; }
  void SetSubTitleFont(const TFont& font) { FSubTitleFont = font; }
  const TFont& BottomTitleFont() const { return FBottomTitleFont; }
  void SetBottomTitleFont(const TFont& font) { FBottomTitleFont = font; }
  const TFont& CursorFont() const { return FCursorFont; }
  void SetCursorFont(const TFont& font) { FCursorFont = font; }
  const TFont& MultiLabelFont() const { return FMultiLabelFont; }
  void SetMultiLabelFont(const TFont& font) { FMultiLabelFont = font; }
  const TFont& AxisBtnFont() const { return FAxisBtnFont; }
  void SetAxisBtnFont(const TFont& font) { FAxisBtnFont = font; }

  TColor ColorBackground() const { return FColorBackground; }  // gradient start
  void SetColorBackground(TColor color);
  TColor ColorFade() const { return FColorFade; }  // gradient end
  void SetColorFade(TColor color);
  TColor ColorBorder() const { return FColorBorder; }
  void SetColorBorder(TColor color);
  TColor ColorShadow() const { return FColorShadow; }
  void SetColorShadow(TColor color);
  TColor ColorGrid() const { return FColorGrid; }
  void SetColorGrid(TColor color);
  TColor ColorFrame() const { return FColorFrame; }
  void SetColorFrame(TColor color);
  TColor ColorTickMarks() const { return FColorTickMarks; }
  void SetColorTickMarks(TColor color);
  TColor ColorGraph() const { return FColorGraph; }
  void SetColorGraph(TColor color);
  TColor ColorAxisLabel() const { return FColorAxisLabel; }  // axis button captions
  void SetColorAxisLabel(TColor color);
  TColor ColorAxisScale() const { return FColorAxisScale; }  // scale numbers
  void SetColorAxisScale(TColor color);
  TColor ColorMainTitle() const { return FColorMainTitle; }
  void SetColorMainTitle(TColor color);
  TColor ColorSubTitle() const { return FColorSubTitle; }
  void SetColorSubTitle(TColor color);
  TColor ColorBottomTitle() const { return FColorBottomTitle; }
  void SetColorBottomTitle(TColor color);
  // The control's own colour (follows ColorBorder).
  TColor Color() const { return FColor; }

  int Radius() const { return FRadius; }  // corner radius of the plot frames
  void SetRadius(int radius) { FRadius = radius; }
  int LabelType() const { return FLabelType; }
  // 0 none, 1 maximum values, 2 conditions, 3 titles, 4 custom, 5 areas; others become 0.
  void SetLabelType(int type);
  TZoomModeType ZoomMode() const { return FZoomMode; }
  void SetZoomMode(TZoomModeType mode) { FZoomMode = mode; }
  bool DisplayCoordinates() const { return FDisplayCoordinates; }
  void SetDisplayCoordinates(bool value) { FDisplayCoordinates = value; }
  bool DisplayCursor() const { return FDisplayCursor; }
  void SetDisplayCursor(bool value) { FDisplayCursor = value; }
  bool VerticalDrag() const { return FVerticalDrag; }
  void SetVerticalDrag(bool value) { FVerticalDrag = value; }
  bool QuickMove() const { return FQuickMove; }
  void SetQuickMove(bool value) { FQuickMove = value; }
  bool Magnifyer() const { return FMagnifyer; }
  void SetMagnifyer(bool value) { FMagnifyer = value; }
  bool crsrTitles() const { return FCrsrTitles; }  // cursor labels name the run
  void SetCrsrTitles(bool value) { FCrsrTitles = value; }
  bool crsrTypes() const { return FCrsrTypes; }  // cursor labels carry the unit symbol
  void SetCrsrTypes(bool value) { FCrsrTypes = value; }
  float MinZoomMult() const { return FMinZoomMult; }
  void SetMinZoomMult(float value) { FMinZoomMult = value; }
  // The axis whose button carries the channel menu.
  int AxisButton() const { return FAxisButton; }
  void SetAxisButton(int axis) { FAxisButton = axis; }
  TCanvasPen& CursorPen() { return FCursorPen; }
  const TCanvasPen& CursorPen() const { return FCursorPen; }
  bool DisplayCorrectionFactor() const { return FDisplayCorrectionFactor; }
  void SetDisplayCorrectionFactor(bool value) { FDisplayCorrectionFactor = value; }
  bool DisplaySmoothing() const { return FDisplaySmoothing; }
  void SetDisplaySmoothing(bool value) { FDisplaySmoothing = value; }
  bool ReadOnly() const { return FReadOnly; }
  // Enables the axis buttons exactly when not read-only.
  void SetReadOnly(bool value);
  bool IDMenuVisible() const { return false; }
  void SetIDMenuVisible(bool) {}
  // Registry key (under the user's root) of the label-box places and run colours; empty for
  // none, in which case nothing is read or written.
  const std::string& RegistryKey() const { return FRegistryKey; }
  void SetRegistryKey(const std::string& key) { FRegistryKey = key; }
  // Where the registry keys live; the user's config folder unless set (tests, portable use).
  void SetRegistryRoot(const std::filesystem::path& root);
  TRunListView* ListView() const { return FListView; }
  // Links a run list; its events are taken over in Loaded.
  void SetListView(TRunListView* view) { FListView = view; }
  QMenu* magBoxPopup() const { return FMagBoxPopup; }
  void SetMagBoxPopup(QMenu* menu) { FMagBoxPopup = menu; }

  // Texts the control stores for the host and never draws.
  void SetIDLabel(int index, const QString& text) { FIDLabels[index] = text; }
  QString GetIDLabel(int index) const;

  // ---- Line colours and styles ----
  // The default colour table: twelve colours, each with its halfway-to-white partner.
  void setDefaultColors();
  // The black-and-white table: all default colours black.
  void setBWColors();
  // Copies the default colours into the slots and the runs' pens; rewrites the registry's
  // colour values that exist. No redraw.
  void ResetColors();
  // Every slot and every run's pens back to solid; rewrites the registry's style values that
  // exist. No redraw.
  void ResetStyles();
  // The run's pen k (0..5), or null outside the runs (and slots) or pens.
  TPen* GetDataPen(int run, int k) const;
  // The run's pen k takes over `pen`, and its slot keeps the pen's colour and style.
  void SetDataPen(int run, int k, const TPen& pen);
  // Gives `pen` the colour and style of slot `run`, entry i (0..1); false outside the slots.
  bool DipPen(int run, int i, TPen& pen) const;
  // Colour in force / default colour of slot `run`, entry i (0..1); 0 outside the slots.
  TColor GetLineColor(int run, int i) const;
  TColor GetDefaultColor(int run, int i) const;
  // The colour table for palette displays: the RIFF palette `file` when it is valid, else
  // the 3-3-2 colour cube.
  std::vector<TPaletteEntry> GetPalette(
      const std::filesystem::path& file = kDefaultPaletteFile) const;

  // ---- Rendering, axes and labels ----
  // Full redraw into the off-screen image, then Paint; nothing while hidden.
  void DrawGraph();
  // Copies the off-screen image to the screen with the axis buttons and label boxes.
  void Paint();
  // The picture as a recording of the control's size, for printing and export.
  std::unique_ptr<TMetafile> Metafile();
  // Renders the picture onto `canvas` for Metafile.
  void DrawGraphTo(TCanvas& canvas);
  // Titles and the top of the plot area; returns the new FAreaRect.Top.
  int DrawTitles(TCanvas& canvas);
  void DrawBanner(TCanvas& canvas);
  // Places the X axis button (axis button 0) and the bottom of the frame.
  void DrawHorzAxisLabel();
  // Places the Y axis buttons of graph g and the side edges of the frame.
  void DrawVertAxisLabel(int g);
  // Curves of line slot k (0..11) of run r on a plot canvas.
  void Graph_Data(TCanvas& canvas, int k, int r);
  // The points first..last-1 of channel c on `axis`, into the plot canvas of the graph.
  void Graph_Gear(TCanvas& canvas, TChannel& c, int axis, int first, int last, int r);
  void DrawHorzGrad(TCanvas& canvas, const TRect& rect, TColor c1, TColor c2);
  // Sunken two-pixel edge.
  void DrawBevel(TCanvas& canvas, const TRect& rect);
  // Grid, tick marks and scale numbers of graph g; sets the pixels-per-unit factors.
  void Draw_Axes(TCanvas& canvas, int g);
  // Prints `value` at (x, y) in the scale format of `axis`, then adds `step` to it.
  void DrawLabel(TCanvas& canvas, int x, int y, float& value, float step, int axis);
  // Fills, places and shows the label boxes for LabelType.
  void DrawLabels();
  // End of a drag of a label box: it may change graph.
  void LabelMoved(QObject* sender, QObject* target, int x, int y);
  // Appends a custom label box (invisible) and returns it.
  TMultiLabel* AddLabel();
  void MouseEnterLabel(QObject* sender);
  // The run's one-line weather summary for the conditions labels; "" outside the runs.
  QString GetConditionsString(int run) const;
  // Scales every axis of the shown graphs and fits the label zones (scale font on canvas).
  void CalculateAxes(TCanvas& canvas);
  // Resets the ranges to the extremes of the plotted channels.
  void ResetScale();
  // An X channel and at least one Y channel are chosen.
  bool ValidAxes() const;
  // The control pixel of the value pair (x, y) on Y axis `axis`.
  TPoint Graph2Screen(int axis, double x, double y) const;

  // ---- Interaction ----
  // Records the displayed ranges in the zoom history when they changed.
  void UpdateZoom();
  // Click on an axis button: opens that axis's channel menu.
  void AxisBtnClick(QObject* sender);
  // Refreshes axis button `axis`'s caption from its Tag (an entry of the channel table).
  void SetAxisCaption(int axis);
  // Sets every axis button's Tag to the channel-table entry of its axis's channel (0 when the
  // channel is not in the table) and refreshes the captions; the host calls it after removals.
  void SetAxisBtnTags();
  // Steps back and forth through the zoom history.
  void Unzoom();
  void Rezoom();
  // Forgets the cursor's read-out positions.
  void resetCrsrNums();
  // One drawn segment (x0, y0)-(x1, y1) of a line on `axis`: records where it crosses the
  // cursor at `cursorX`, with the line's colour, run file name and unit symbol.
  void CollectCrossing(double cursorX, int axis, double x0, double y0, double x1, double y1,
                       TColor color, const QString& runName, const QString& unitSymbol);

  // ---- Events (raised only when assigned) ----
  TNotifyEvent OnRequestData;
  TRequestPermissionsEvent OnRequestPermissions;
  TNotifyEvent OnAutoScalingChange;
  TNotifyEvent OnForceScaleChange;
  TNotifyEvent OnSnapToScaleChange;
  TNotifyEvent OnUpdateCustomLabels;
  TLabelClickEvent OnLabelClick;  // never raised by the control

  // ---- Parts and state for hosts, tool windows and tests ----
  // Axis button 0..6, or null.
  TPanelButton* AxisBtn(int axis) const;
  // Label box `index`, or null.
  TMultiLabel* LabelBox(int index) const;
  int NumLabelBoxes() const { return static_cast<int>(FLabelBoxes.size()); }
  // The run list's icons (null until Loaded links a run list).
  const TImageList* LVImages() const { return FLVImages.get(); }
  // Line style in force of slot `run`, entry i (0..1); solid outside the slots.
  TPenStyle GetLineStyle(int run, int i) const;
  // The selected lines: run and Y axis (1..6) of entry k < NumSelected().
  int NumSelected() const { return FNumSelected; }
  int SelectedRun(int k) const { return FSelRun.at(static_cast<size_t>(k)); }
  int SelectedLine(int k) const { return FSelLine.at(static_cast<size_t>(k)); }
  // Removes selection entry k: its pen gets width 1, the last entry takes its place.
  void Unselect(int k);
  // Ranges, steps and label values of the seven axes.
  TAxisState& Axes() { return FAxes; }
  const TAxisState& Axes() const { return FAxes; }
  // Plot rectangle of graph g (0..2).
  const TRect& GraphRect(int g) const { return FGraphRect.at(static_cast<size_t>(g)); }
  // The last complete picture of the control.
  const QImage& BackImage() const { return FBackBmp.Image(); }
  // Redraws only what lies over the curves (area ends, cursor, quick-move box, labels, bevel)
  // on the kept picture of the curves; a full DrawGraph when there is none.
  void RedrawTools();
  // The end lines of the area measurement over the graphs.
  void DrawAreaEnds(TCanvas& canvas);
  // The vertical cursor at X value x with its read-outs, then the magnifier.
  void DrawCrsr(TCanvas& canvas, double x);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void Construct();
  // Window resized: redraw and repaint the tool windows (not while loading).
  void WMSize();
  void HookData();
  void Raise(const TNotifyEvent& event) {
    if (event) event(this);
  }
  // Redraw for the setters that skip it while loading.
  void RedrawUnlessLoading();
  void RedrawQMBox();
  // Colour and style of slot s into the six pens of `run`.
  void ApplySlotColors(TRunData& run, int slot);
  void ApplySlotStyles(TRunData& run, int slot);
  // Registry values under RegistryKey (GraphRegistry.cpp).
  void ReadRegistry();
  void WriteRegistry();
  // Row texts of a run for the run list.
  void AddListRow(const TRunData& run, int index);
  // Run list hooks.
  void ListViewKeyDown(QObject* sender, int key, Qt::KeyboardModifiers modifiers);
  void ListViewKeyUp(QObject* sender, int key, Qt::KeyboardModifiers modifiers);
  void ListViewMouseUp(QObject* sender, Qt::MouseButton button, Qt::KeyboardModifiers modifiers,
                       QPoint pos);
  // Rendering (Rendering.cpp): the layout and the graphs, false when the axes gave up and the
  // scale was reset; then the tools drawn over the curves.
  bool RenderGraph(TCanvas& canvas);
  void DrawTools(TCanvas& canvas);
  void DrawStatusText(TCanvas& canvas);
  void DrawBottomTitle(TCanvas& canvas);
  // The border strips outside the picture (the erase of the background).
  void EraseBackground(TCanvas& canvas);
  // The pixels of graph g's plot within its rounded frame (control coordinates).
  QRegion PlotRegion(int g);
  // Graph g's plot onto the canvas within its rounded frame.
  void ComposePlot(TCanvas& canvas, const QRegion& region, int g);
  // The surface of graph g's plot: its bitmap, or its recording while recording.
  TCanvas& PlotCanvas(int g);
  // The curves of graph g onto its plot; with no canvas only the cursor crossings are taken.
  void TraceCurves(TCanvas* canvas, int g);
  void TraceSlot(TCanvas* canvas, int k, int r);
  void TraceGear(TCanvas* canvas, TChannel& c, int axis, int first, int last, int r);
  void CollectCrossings();
  // The Tags of the axis buttons whose channel is in the table (the last match wins).
  void MatchAxisBtnTags();
  // Tool windows over the curves: the quick-move box copied onto the picture, or hidden; the
  // magnifier hidden while the cursor is not drawn.
  void ComposeQuickMoveBox(TCanvas& canvas);
  void HideMagBox();
  // ---- State shared by the source files of the control ----

  // Data set and runs.
  std::unique_ptr<TGphData> FData;
  int FNumRuns = 0;
  std::array<int32_t, kAxisCount> FAxisChannels{};  // the ids given to SetAxisChannels

  // Colours and styles per run slot: [s][0] first (left axes), [s][1] second (right axes).
  std::array<std::array<TColor, 2>, kRunSlots> FRunColor{};
  std::array<std::array<TColor, 2>, kRunSlots> FDefaultColor{};
  std::array<std::array<TPenStyle, 2>, kRunSlots> FRunStyle{};

  // Strings, run list, registry.
  QStringList FStrings;
  TLoadStringsEvent FOnLoadStrings;
  TSelectItemEvent FOldSelectItem;  // the host's selection handler, called after ours
  std::unique_ptr<TImageList> FLVImages;
  std::unique_ptr<TRegistry> FRegistry;
  std::string FRegistryKey;
  QPointer<TRunListView> FListView;
  QPointer<QMenu> FMagBoxPopup;

  // Child controls.
  std::array<std::unique_ptr<TPanelButton>, kAxisCount> FAxisBtn;
  std::unique_ptr<TPanelButton> FFocusBtn;
  std::vector<std::unique_ptr<TMultiLabel>> FLabelBoxes;
  TQMBox* FQMBox = nullptr;    // owned as a child widget once created
  TMagBox* FMagBox = nullptr;  // owned as a child widget once created

  // Drawing surfaces.
  TBitmap FBackBmp;                             // the whole control
  std::array<TBitmap, kMaxGraphs> FPlotBmp;     // plot area of each graph
  std::array<TBitmap, kMaxGraphs> FMaskBmp;     // rounded-frame mask of each plot area
  std::array<QRegion, kMaxGraphs> FMaskRegion;  // the mask's black pixels, for clipping
  // The plots while a recording is made (Metafile), so they stay vectors.
  std::array<std::unique_ptr<TMetafile>, kMaxGraphs> FPlotRecording;
  bool FRecording = false;
  bool FAxesGaveUp = false;  // the grid dots would merge: the redraw starts again
  QImage FCurvesImage;       // the picture before the tools, while a tool is shown
  TCurvePath FCurvePath;     // buffers of the curve being drawn
  TBitmap FReadoutBmp;       // coordinate read-out
  TBitmap FReadoutBack;      // what lies under the read-out
  QImage FBannerImage;
  QImage FBackGroundImage;

  // Layout (control pixels).
  TRect FFrameRect;
  TRect FAreaRect;
  std::array<TRect, kMaxGraphs> FGraphRect{};
  TRect FAxisFrame;
  TGraphRatios FRatios;  // FGraphRatio (requested) and FRatioUsed
  bool FLayoutDirty = false;
  float FHeightF = 0, FWidthF = 0, FTopF = 0;
  float FRefHeight = 320.0f;  // the height the font sizes were designed for
  int FTickLen = 5;
  int FLabelHeight = 0;

  // Axis scaling: ranges, steps, label values and widths per axis.
  TAxisState FAxes;

  // Vertical cursor and its crossings with the lines.
  double FCrsrX = 0;
  bool FCrsrPlaced = false;
  int FCrossCount = 0;
  std::array<int, kMaxCrossings> FCrossX{};
  std::array<int, kMaxCrossings> FCrossY{};
  std::array<float, kMaxCrossings> FCrossValue{};
  std::array<TColor, kMaxCrossings> FCrossColor{};
  std::array<QString, kMaxCrossings> FCrossRun;
  std::array<QString, kMaxCrossings> FCrossChan;

  // Mouse interaction.
  int FMouseState = 0;  // 0 idle, 1 box zoom, 2 pan, 3 split hovered or dragged
  bool FDragging = false;
  int FDownX = 0, FDownY = 0;
  int FDownGraph = -1;
  int FDragGraph = -1;
  int FMouseGraph = -1;
  int FDragAxis = -1;
  int FSplitIndex = 0;
  bool FOverSplit = false;
  int FBoxX = 0, FBoxY = 0;
  Qt::CursorShape FSavedCursor = Qt::ArrowCursor;
  int FLastX = 0, FLastY = 0;
  bool FSkipReadout = false;
  TRect FReadoutRect;

  // Zoom history: snapshots of the displayed ranges.
  std::array<std::array<float, kAxisCount>, kZoomSteps> FZoomMax{};
  std::array<std::array<float, kAxisCount>, kZoomSteps> FZoomMin{};
  int FZoomIndex = -1;
  int FZoomTop = -1;

  // Selected lines (run, Y axis 1..6) and the line offsets at the last press.
  int FNumSelected = 0;
  std::array<int, kMaxSelected> FSelRun{};
  std::array<int, kMaxSelected> FSelLine{};
  std::array<float, kMaxSelected> FSelOffX{};
  std::array<float, kMaxSelected> FSelOffY{};

  // Channel menu of the axis buttons.
  QPointer<QMenu> FChannelMenu;
  std::vector<QAction*> FChannelItems;

  // Area under the curve.
  bool FAreaArmed = false;
  bool FAreaActive = false;
  float FAreaStart = kAreaUnset;
  float FAreaEnd = kAreaUnset;

  // Published properties.
  bool FLoading = true;
  int FNumGraphs = 0;
  bool FAutoScaling = false;
  bool FForceScale = false;
  bool FSnapToScale = false;
  bool FShowNegative = false;
  int FBuffer = 0;
  bool FShowBanner = false;
  bool FShowShadow = false;
  bool FShowTickarks = false;
  bool FShowGraphBmp = false;
  bool FShowIdent = false;
  QString FMainTitle, FSubTitle, FBottomTitle;
  QString FLeftAxisLabel, FRightAxisLabel, FBottomAxisLabel;
  TFont FAxisLabelFont, FMainTitleFont, FSubTitleFont, FBottomTitleFont;
  TFont FCursorFont, FMultiLabelFont, FAxisBtnFont;
  TColor FColorBackground = clWhite;
  TColor FColorFade = clBtnFace;
  TColor FColorBorder = clBtnFace;
  TColor FColorShadow = clBtnShadow;
  TColor FColorGrid = clBlack;
  TColor FColorFrame = clBlack;
  TColor FColorTickMarks = clBlack;
  TColor FColorGraph = clWhite;
  TColor FColorAxisLabel = clBlack;
  TColor FColorAxisScale = clBlack;
  TColor FColorMainTitle = clBlack;
  TColor FColorSubTitle = clBlack;
  TColor FColorBottomTitle = clBlack;
  TColor FColor = clBtnFace;
  int FRadius = 10;
  int FLabelType = 0;
  TZoomModeType FZoomMode = zmZoom;
  bool FDisplayCoordinates = false;
  bool FDisplayCursor = false;
  bool FVerticalDrag = false;
  bool FQuickMove = false;
  bool FMagnifyer = false;
  bool FCrsrTitles = false;
  bool FCrsrTypes = false;
  float FMinZoomMult = 2.0f;
  int FAxisButton = 1;
  TCanvasPen FCursorPen;
  bool FDisplayCorrectionFactor = true;
  bool FDisplaySmoothing = true;
  bool FReadOnly = false;
  std::map<int, QString> FIDLabels;
};
