// Construction, loading, destruction and the published properties of the graph control.

#include "WPGraph.h"

#include <QResizeEvent>

#include <algorithm>
#include <cmath>

#include "Registry.h"

namespace {

// The control's designed size before the host lays it out.
constexpr int kInitialSide = 320;

// Label boxes 1 and 6 start on graph 1, boxes 2 and 7 on graph 2, the others on graph 0.
int InitialLabelGraph(int box) {
  if (box == 1 || box == 6) return 1;
  if (box == 2 || box == 7) return 2;
  return 0;
}

}  // namespace

TWPGraph::TWPGraph(QWidget* parent) : QWidget(parent), FData(std::make_unique<TGphData>()) {
  Construct();
}

TWPGraph::TWPGraph(QWidget* parent, std::unique_ptr<TGphData> data)
    : QWidget(parent), FData(std::make_unique<TGphData>()) {
  Construct();
  SetData(std::move(data));
}

void TWPGraph::Construct() {
  HookData();
  FData->FAxisEntry.fill(-1);

  LoadStrings();

  FMainTitleFont.FName = QStringLiteral("Verdana");
  FMainTitleFont.FHeight = -10;
  FMainTitleFont.FStyle = fsBold;
  FMainTitleFont.FColor = clBlack;
  FMultiLabelFont = FAxisBtnFont = FSubTitleFont = FBottomTitleFont = FAxisLabelFont =
      FMainTitleFont;
  FAxisLabelFont.FHeight = -11;
  FCursorFont = FMainTitleFont;

  FRadius = 10;
  SetNumGraphs(1);
  FRatios = TGraphRatios{};
  FTickLen = 5;
  FMainTitle = GetGraphString(1);
  FSubTitle.clear();
  FBottomTitle.clear();
  FAxisButton = 1;

  FAxes = TAxisState{};
  for (int j = 0; j < kAxisCount; ++j) {
    auto button = std::make_unique<TPanelButton>(this);
    button->SetCaption(QStringLiteral("AXIS BUTTON"));
    button->SetStyle(pbsDropDown);
    button->setCursor(Qt::ArrowCursor);
    button->OnClick = [this](QObject* sender) { AxisBtnClick(sender); };
    button->SetTag(0);
    button->hide();
    button->SetColor(clWhite);
    button->SetTransparent(true);
    TFont font = button->GetFont();
    font.FColor = clBlack;
    button->SetFont(font);
    if (j > 0) button->SetOrientation(j % 2 == 1 ? 900 : 2700);
    FAxisBtn[static_cast<size_t>(j)] = std::move(button);
  }

  resize(kInitialSide, kInitialSide);
  FRefHeight = 320.0f;
  FHeightF = static_cast<float>(height());
  FWidthF = static_cast<float>(width());
  FTopF = static_cast<float>(y());

  FShowBanner = false;
  SetAutoScale(true);
  FShowGraphBmp = false;
  FShowTickarks = FShowShadow = FForceScale = FShowIdent = FShowNegative = true;
  FZoomMode = zmZoom;
  FDisplayCoordinates = FDisplayCursor = false;
  SetSnapToScale(true);
  FVerticalDrag = FQuickMove = FCrsrTypes = FCrsrTitles = false;

  SetBuffer(0);
  FZoomIndex = FZoomTop = -1;

  FCursorPen = TCanvasPen{};
  FQuickMove = FMagnifyer = false;
  FDisplaySmoothing = FDisplayCorrectionFactor = true;

  for (int n = 0; n < kFixedLabelBoxes; ++n) {
    auto box = std::make_unique<TMultiLabel>(this);
    box->hide();
    box->SetStyle(pbsDrag);
    box->SetTransparent(true);
    box->SetNumLabels(0);
    box->OnMouseEnter = [this](QObject* sender) { MouseEnterLabel(sender); };
    box->OnEndDrag = [this](QObject* sender, QObject* target, int x, int y) {
      LabelMoved(sender, target, x, y);
    };
    box->SetGraphIndex(InitialLabelGraph(n));
    FLabelBoxes.push_back(std::move(box));
  }

  FAreaArmed = FAreaActive = false;
  FAreaStart = FAreaEnd = kAreaUnset;
  FFocusBtn = std::make_unique<TPanelButton>(this);
  FFocusBtn->SetTransparent(true);
  FFocusBtn->setGeometry(0, 0, 1, 1);
  FFocusBtn->show();
  FMinZoomMult = 2.0f;
  FRegistry = std::make_unique<TRegistry>();
}

TWPGraph::~TWPGraph() {
  WriteRegistry();
  // The host's list keeps living: give it back its own selection handler and drop our hooks.
  if (FListView) {
    FListView->OnSelectItem = FOldSelectItem;
    FListView->OnKeyDown = nullptr;
    FListView->OnKeyUp = nullptr;
    FListView->OnMouseUp = nullptr;
    if (FListView->SmallImages() == FLVImages.get()) FListView->SetSmallImages(nullptr);
  }
  if (FData) {
    FData->OnAddRun = nullptr;
    FData->OnClearRuns = nullptr;
  }
}

void TWPGraph::Loaded() {
  // A second call would take our own hooks for the host's handlers.
  if (!FLoading) return;
  FLoading = false;
  FFrameRect = TRect{1, 1, width() - 1, height() - 1};
  setDefaultColors();
  ReadRegistry();
  if (FListView) {
    FOldSelectItem = FListView->OnSelectItem;
    FListView->OnKeyDown = [this](QObject* sender, int key, Qt::KeyboardModifiers modifiers) {
      ListViewKeyDown(sender, key, modifiers);
    };
    FListView->OnKeyUp = [this](QObject* sender, int key, Qt::KeyboardModifiers modifiers) {
      ListViewKeyUp(sender, key, modifiers);
    };
    FListView->OnMouseUp = [this](QObject* sender, Qt::MouseButton button,
                                  Qt::KeyboardModifiers modifiers,
                                  QPoint pos) { ListViewMouseUp(sender, button, modifiers, pos); };
    FListView->OnSelectItem = [this](QObject* sender, int item, bool selected) {
      RunSelected(sender, item, selected);
    };
    FLVImages = std::make_unique<TImageList>();
    FListView->SetSmallImages(FLVImages.get());
  }
  // The quick-move and magnifier boxes join here once those tool windows exist; the
  // magnifier takes magBoxPopup as its pop-up menu.
  FData->CalcDataRanges();
}

void TWPGraph::HookData() {
  FData->OnAddRun = [this](TGphData& sender) { NewRun(sender); };
  FData->OnClearRuns = [this](TGphData& sender) { RunsCleared(sender); };
}

void TWPGraph::SetData(std::unique_ptr<TGphData> data) {
  if (!data) return;
  FData = std::move(data);
  HookData();
  FNumSelected = 0;
  FNumRuns = static_cast<int>(std::min<uint32_t>(FData->NumRuns(), kRunSlots));
}

void TWPGraph::SetRegistryRoot(const std::filesystem::path& root) {
  FRegistry = std::make_unique<TRegistry>(root);
}

void TWPGraph::RedrawUnlessLoading() {
  if (!FLoading) DrawGraph();
}

void TWPGraph::RedrawQMBox() {
  // Repaints the quick-move box once that tool window exists.
}

void TWPGraph::paintEvent(QPaintEvent*) {
  Paint();
}

void TWPGraph::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  WMSize();
}

void TWPGraph::WMSize() {
  if (FLoading) return;
  DrawGraph();
  RedrawQMBox();
}

// ---- Properties ----

void TWPGraph::SetNumGraphs(int n) {
  n = std::clamp(n, 0, kMaxGraphs);
  if (n == FNumGraphs) return;
  if (n < FNumGraphs) GetPermissions();
  FNumGraphs = n;
  DoLVIcons();
  update();
  RedrawQMBox();
  CalculateAxes(FBackBmp.Canvas());
}

float TWPGraph::GetRatio(int index) const {
  if (index < 0 || index >= kMaxGraphs) return 0;
  return FRatios.FGraphRatio[static_cast<size_t>(index)];
}

void TWPGraph::SetRatio(int index, float value) {
  // A ratio that is not a number would only be put aside again by the height division.
  if (index < 0 || index >= kMaxGraphs || !std::isfinite(value)) return;
  FRatios.FGraphRatio[static_cast<size_t>(index)] = value;
}

void TWPGraph::SetAutoScale(bool value) {
  if (value == FAutoScaling) return;
  FAutoScaling = value;
  if (value) SetSnapToScale(true);
  Raise(OnAutoScalingChange);
}

void TWPGraph::SetForceScl(bool value) {
  if (value == FForceScale) return;
  FForceScale = value;
  RedrawQMBox();
  Raise(OnForceScaleChange);
}

void TWPGraph::SetSnapToScale(bool value) {
  if (value == FSnapToScale) return;
  FSnapToScale = value;
  RedrawQMBox();
  Raise(OnSnapToScaleChange);
}

void TWPGraph::SetNegative(bool value) {
  if (value == FShowNegative) return;
  FShowNegative = value;
  for (uint32_t run = 0; run < FData->NumRuns(); ++run)
    FData->CalcRunRanges(run, value);
}

void TWPGraph::SetBuffer(int percent) {
  FBuffer = percent;
  FData->FMarginPercent = static_cast<float>(percent);
}

void TWPGraph::SetShowShadow(bool value) {
  FShowShadow = value;
  RedrawUnlessLoading();
}

void TWPGraph::SetShowTickarks(bool value) {
  FShowTickarks = value;
  RedrawUnlessLoading();
}

void TWPGraph::SetShowGraphBmp(bool value) {
  FShowGraphBmp = value;
  RedrawUnlessLoading();
}

void TWPGraph::SetColorBackground(TColor color) {
  FColorBackground = color;
  DrawGraph();
}

void TWPGraph::SetColorFade(TColor color) {
  FColorFade = color;
  DrawGraph();
}

void TWPGraph::SetColorBorder(TColor color) {
  FColorBorder = color;
  FColor = color;
  DrawGraph();
}

void TWPGraph::SetColorShadow(TColor color) {
  FColorShadow = color;
  DrawGraph();
}

void TWPGraph::SetColorGrid(TColor color) {
  FColorGrid = color;
  DrawGraph();
}

void TWPGraph::SetColorFrame(TColor color) {
  FColorFrame = color;
  DrawGraph();
}

void TWPGraph::SetColorTickMarks(TColor color) {
  FColorTickMarks = color;
  DrawGraph();
}

void TWPGraph::SetColorGraph(TColor color) {
  FColorGraph = color;
  DrawGraph();
}

void TWPGraph::SetColorAxisLabel(TColor color) {
  FColorAxisLabel = color;
  FAxisBtnFont.FColor = color;
  DrawGraph();
}

void TWPGraph::SetColorAxisScale(TColor color) {
  FColorAxisScale = color;
  FAxisLabelFont.FColor = color;
  DrawGraph();
}

void TWPGraph::SetColorMainTitle(TColor color) {
  FMainTitleFont.FColor = color;
  FColorMainTitle = color;
  DrawGraph();
}

void TWPGraph::SetColorSubTitle(TColor color) {
  FSubTitleFont.FColor = color;
  FColorSubTitle = color;
  DrawGraph();
}

void TWPGraph::SetColorBottomTitle(TColor color) {
  FBottomTitleFont.FColor = color;
  FColorBottomTitle = color;
  DrawGraph();
}

void TWPGraph::SetReadOnly(bool value) {
  if (value == FReadOnly) return;
  FReadOnly = value;
  for (const auto& button : FAxisBtn)
    button->setEnabled(!value);
}

QString TWPGraph::GetIDLabel(int index) const {
  const auto found = FIDLabels.find(index);
  return found == FIDLabels.end() ? QString() : found->second;
}

TPanelButton* TWPGraph::AxisBtn(int axis) const {
  if (axis < 0 || axis >= kAxisCount) return nullptr;
  return FAxisBtn[static_cast<size_t>(axis)].get();
}

TMultiLabel* TWPGraph::LabelBox(int index) const {
  if (index < 0 || index >= NumLabelBoxes()) return nullptr;
  return FLabelBoxes[static_cast<size_t>(index)].get();
}
