// Rendering: DrawGraph composes the whole control in the off-screen image (gradient, titles,
// axis buttons, height division, status text, and for each graph a shadow, the axes and the
// curves pasted within rounded corners), then the tools over the curves and a sunken bevel;
// Paint copies the image to the screen. Metafile records the same drawing, with the plots kept
// as vectors, for printing and export: one drawing code for every surface.

#include <QBitmap>
#include <QFile>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstring>

#include "GradientBands.h"
#include "HeightDivision.h"
#include "ScaleMap.h"
#include "ScaleSteps.h"
#include "WPGraph.h"

namespace {

// The axes give up at most once: afterwards the scales are automatic and snapped, whose grid
// always fits.
constexpr int kRenderAttempts = 2;

QString FileNameText(const std::string& bytes) {
  return QFile::decodeName(QByteArray::fromStdString(bytes));
}

QString EntryText(const std::vector<std::string>& texts, int entry) {
  return entry >= 0 && static_cast<size_t>(entry) < texts.size()
             ? QString::fromStdString(texts[static_cast<size_t>(entry)])
             : QString();
}

// " - 2" for a channel of the second drum (ordinal 1), empty for the first.
QString DrumSuffix(const TDllData& data, int entry) {
  if (entry < 0 || static_cast<size_t>(entry) >= data.FChannelIDs.size()) return {};
  const uint32_t id = static_cast<uint32_t>(data.FChannelIDs[static_cast<size_t>(entry)]);
  if (id <= 65535) return {};
  return QStringLiteral(" - %1").arg((id >> 16) + 1);
}

bool ValidEntry(const TDllData& data, int entry) {
  return entry >= 0 && static_cast<uint32_t>(entry) < data.ChannelCount();
}

}  // namespace

// ---- The full redraw ----

void TWPGraph::DrawGraph() {
  if (!isVisible()) return;
  for (int attempt = 0; attempt < kRenderAttempts; ++attempt) {
    FHeightF = static_cast<float>(height());
    FWidthF = static_cast<float>(width());
    FBackBmp.SetSize(width(), height());
    if (FBackBmp.Empty()) return;
    TCanvas& canvas = FBackBmp.Canvas();
    DrawHorzGrad(canvas, TRect{0, 0, width(), height()}, FColorBackground, FColorFade);
    if (RenderGraph(canvas)) break;
    // Re-initialised with the scale reset: strings and icons as ReInit refreshes them.
    LoadStrings();
    DoLVIcons();
  }
  // The picture of the curves stays for the redraws that only move a tool over it.
  const bool tools = FAreaActive || (FCrsrPlaced && FDisplayCursor) || FQuickMove;
  FCurvesImage = tools ? FBackBmp.Image() : QImage();
  TCanvas& canvas = FBackBmp.Canvas();
  DrawTools(canvas);
  DrawBevel(canvas, TRect{0, 0, width(), height()});
  DrawBottomTitle(canvas);
  update();
}

void TWPGraph::RedrawTools() {
  if (!isVisible()) return;
  if (FCurvesImage.isNull() || FCurvesImage.size() != size()) {
    DrawGraph();
    return;
  }
  FBackBmp.Assign(FCurvesImage);
  if (FCrsrPlaced && FDisplayCursor) CollectCrossings();
  TCanvas& canvas = FBackBmp.Canvas();
  DrawTools(canvas);
  DrawBevel(canvas, TRect{0, 0, width(), height()});
  DrawBottomTitle(canvas);
  update();
}

bool TWPGraph::RenderGraph(TCanvas& canvas) {
  FAxesGaveUp = false;
  DrawTitles(canvas);
  canvas.Font() = FAxisLabelFont;
  FLabelHeight = canvas.TextHeight(QStringLiteral("M"));
  for (int a = 2 * FNumGraphs + 1; a < kAxisCount; ++a)
    FAxisBtn[static_cast<size_t>(a)]->hide();
  DrawBanner(canvas);
  DrawHorzAxisLabel();

  FLayoutDirty = false;
  const std::array<TRect, kMaxGraphs> before = FGraphRect;
  DivideRect(FAreaRect, FGraphRect, FNumGraphs - 1, FRatios);
  if (FGraphRect != before) FLayoutDirty = true;

  canvas.Font() = FAxisLabelFont;
  FLabelHeight = canvas.TextHeight(QStringLiteral("M"));
  DrawStatusText(canvas);
  for (int g = 0; g < FNumGraphs; ++g)
    DrawVertAxisLabel(g);
  const std::array<TRect, kMaxGraphs> zones = FGraphRect;
  CalculateAxes(canvas);
  // The steps were chosen for the plot's previous width; when the label zones moved its sides,
  // choose them again for the width the plot now has.
  if (FGraphRect != zones) CalculateAxes(canvas);
  if (FAutoScaling) UpdateZoom();

  const bool curves = ValidAxes();
  for (int g = 0; g < FNumGraphs; ++g) {
    const TRect rect = FGraphRect[static_cast<size_t>(g)];
    if (!(rect.Top < rect.Bottom && rect.Left < rect.Right)) continue;
    FAreaRect = rect;
    const QRegion plot = PlotRegion(g);
    if (FShowShadow) {
      // The plot covers the shadow but for its rim: only the rim is painted.
      QPainter& painter = canvas.Painter();
      painter.save();
      const QRect shadow(rect.Left + 4, rect.Top + 4, rect.Width() + 1, rect.Height() + 1);
      painter.setClipRegion(QRegion(shadow) - plot);
      canvas.Pen() = TCanvasPen{FColorShadow, 1, psSolid};
      canvas.Brush() = TBrush{FColorShadow, bsSolid};
      canvas.RoundRect(rect.Left + 4, rect.Top + 4, rect.Right + 5, rect.Bottom + 5, FRadius,
                       FRadius);
      painter.restore();
    }
    Draw_Axes(canvas, g);
    if (FAxesGaveUp) return false;
    if (curves) TraceCurves(&PlotCanvas(g), g);
    ComposePlot(canvas, plot, g);
  }
  return true;
}

void TWPGraph::DrawTools(TCanvas& canvas) {
  if (FAreaActive) DrawAreaEnds(canvas);
  if (FCrsrPlaced && FDisplayCursor)
    DrawCrsr(canvas, FCrsrX);
  else
    HideMagBox();
  ComposeQuickMoveBox(canvas);
  FAxisFrame = TRect{FFrameRect.Left + FLabelHeight, FGraphRect[0].Top,
                     TruncInt(FWidthF - 3.0 * FLabelHeight), FFrameRect.Bottom};
  if (!FLabelBoxes.empty()) DrawLabels();
}

QRegion TWPGraph::PlotRegion(int g) {
  const TRect& a = FGraphRect[static_cast<size_t>(g)];
  const size_t at = static_cast<size_t>(g);
  TBitmap& mask = FMaskBmp[at];
  if (FLayoutDirty || mask.Width() != a.Width() || mask.Height() != a.Height()) {
    // White, with the plot's rounded frame filled black: the pixels the plot may cover.
    mask.SetSize(a.Width(), a.Height());
    TCanvas& m = mask.Canvas();
    m.Brush() = TBrush{clWhite, bsSolid};
    m.FillRect(0, 0, a.Width(), a.Height());
    m.Pen() = TCanvasPen{clBlack, 1, psSolid};
    m.Brush() = TBrush{clBlack, bsSolid};
    m.RoundRect(0, 0, a.Width(), a.Height(), FRadius, FRadius);
    FMaskRegion[at] = QRegion(
        QBitmap::fromImage(mask.Image().createMaskFromColor(qRgb(0, 0, 0), Qt::MaskOutColor)));
  }
  return FMaskRegion[at].translated(a.Left, a.Top);
}

void TWPGraph::ComposePlot(TCanvas& canvas, const QRegion& region, int g) {
  const TRect& a = FAreaRect;
  const size_t at = static_cast<size_t>(g);
  // Inside the rounded frame the plot shows; outside it the background stays.
  QPainter& painter = canvas.Painter();
  if (!painter.isActive()) return;
  painter.save();
  painter.setClipRegion(region);
  if (FRecording) {
    if (FPlotRecording[at])
      canvas.StretchDraw(a.Left, a.Top, a.Right, a.Bottom, *FPlotRecording[at]);
  } else {
    canvas.Draw(a.Left, a.Top, FPlotBmp[at].Image());
  }
  painter.restore();
}

// ---- Layout pieces ----

int TWPGraph::DrawTitles(TCanvas& canvas) {
  FFrameRect.Bottom = TruncInt(FHeightF);
  int h1 = 0, h2 = 0;
  if (!FMainTitle.isEmpty()) {
    canvas.Brush().FStyle = bsClear;
    canvas.Font() = FMainTitleFont;
    canvas.Font().FColor = FColorMainTitle;
    h1 = canvas.TextHeight(FMainTitle);
    const int w = canvas.TextWidth(FMainTitle);
    canvas.TextOut(TruncInt(FWidthF * 0.5 - w / 2), h1 / 4, FMainTitle);
  }
  if (!FSubTitle.isEmpty()) {
    canvas.Brush().FStyle = bsClear;
    canvas.Font() = FSubTitleFont;
    canvas.Font().FColor = FColorSubTitle;
    h2 = canvas.TextHeight(QStringLiteral("M"));
    const int w = canvas.TextWidth(FSubTitle);
    canvas.TextOut(TruncInt(FWidthF * 0.5 - w / 2), h1 / 4 * 5 + h2 / 4, FSubTitle);
  }
  if (!FBottomTitle.isEmpty()) {
    canvas.Font() = FBottomTitleFont;
    FFrameRect.Bottom -= TruncInt(1.5 * canvas.TextHeight(FBottomTitle));
  }
  FAreaRect.Top = TruncInt((1.25 * h1 + 0.5) + (1.25 * h2 + 0.5)) + 10;
  return FAreaRect.Top;
}

void TWPGraph::DrawBanner(TCanvas& canvas) {
  if (!FShowBanner || FBannerImage.isNull()) return;
  const double bw = FBannerImage.width(), bh = FBannerImage.height();
  const TRect a = FAreaRect;
  const double p = FGraphRect[0].Width();
  const int areaHeight = a.Bottom - a.Top;
  int h = 0;
  if (bw / bh >= 76.0 / 13 && TruncInt(bh * p / bw) < areaHeight / 3) {
    h = TruncInt(bh * (a.Right - a.Left) / bw);
    if (h > 0) canvas.StretchDraw(a.Left, a.Top, a.Right, a.Top + h, FBannerImage);
  } else {
    h = TruncInt(std::min(areaHeight / 3.0, p * 13 / 76));
    const int w = TruncInt(h * bw / bh);
    const int centre = (a.Left + a.Right) / 2;
    if (h > 0 && w > 0)
      canvas.StretchDraw(centre - w / 2, a.Top, centre + w / 2, a.Top + h, FBannerImage);
  }
  // A layout without room (the first redraw knows no plot yet) takes no banner height.
  FAreaRect.Top += std::max(h, 0);
}

void TWPGraph::DrawHorzAxisLabel() {
  TPanelButton& button = *FAxisBtn[0];
  if (FData->NumRuns() == 0) {
    button.hide();
    FFrameRect.Bottom = height() - 20;
    if (!FBottomTitle.isEmpty()) {
      TCanvas measure;  // the control's own font
      FFrameRect.Bottom -= measure.TextHeight(QStringLiteral("I")) + 3;
    }
    FAreaRect.Bottom = FFrameRect.Bottom - 6;
    return;
  }
  button.SetFont(FAxisBtnFont);
  const int t = button.Tag();
  if (ValidEntry(*FData, t)) {
    QString caption =
        QStringLiteral(" ") + EntryText(FData->FChannelTitles, t) + QStringLiteral(" ");
    const QString suffix = DrumSuffix(*FData, t);
    if (!suffix.isEmpty()) caption += suffix + QStringLiteral(" ");
    button.SetCaption(caption);
  }
  const int w = TruncInt(1.2 * button.CaptionWidth());
  const int h = TruncInt(1.2 * button.CaptionHeight());
  FFrameRect.Bottom = TruncInt(FFrameRect.Bottom - 1.5 * h);
  button.setGeometry(TruncInt((FWidthF - w) * 0.5), FFrameRect.Bottom, std::max(w, 0),
                     std::max(h, 0));
  button.show();
  FAreaRect.Bottom = TruncInt(FFrameRect.Bottom - 1.5 * FLabelHeight) - (FShowShadow ? 5 : 0);
}

void TWPGraph::DrawVertAxisLabel(int g) {
  if (g < 0 || g >= kMaxGraphs) return;
  TPanelButton& left = *FAxisBtn[static_cast<size_t>(2 * g + 1)];
  TPanelButton& right = *FAxisBtn[static_cast<size_t>(2 * g + 2)];
  if (FData->NumRuns() == 0) {
    left.hide();
    right.hide();
    FFrameRect.Left = 5;
    FFrameRect.Right = TruncInt(FWidthF - 15);
    return;
  }
  const TRect rect = FGraphRect[static_cast<size_t>(g)];
  const int height = std::max(rect.Bottom - rect.Top - 6, 0);
  const int top = (rect.Top + rect.Bottom) / 2 - height / 2;

  // The caption names the channel, or only its unit when the graph is too low for the name.
  const auto caption = [&](TPanelButton& button, const QString& tail) {
    button.SetFont(FAxisBtnFont);
    const int t = button.Tag();
    if (!ValidEntry(*FData, t)) return;
    const QString suffix = DrumSuffix(*FData, t);
    const QString end = suffix.isEmpty() ? QStringLiteral(" ") : suffix + tail;
    button.SetCaption(QStringLiteral(" ") + EntryText(FData->FChannelTitles, t) + end);
    if (rect.Bottom - rect.Top + 4 < 1.2 * button.CaptionHeight())
      button.SetCaption(QStringLiteral(" ") + EntryText(FData->FChannelUnitNames, t) + end);
  };

  caption(left, QStringLiteral(" "));
  const int leftWidth = TruncInt(1.2 * left.CaptionWidth());
  left.setGeometry(leftWidth / 2, top, std::max(leftWidth, 0), height);
  left.show();
  FFrameRect.Left = TruncInt(1.5 * leftWidth);

  caption(right, QStringLiteral("  "));
  const int rightWidth = TruncInt(1.2 * right.CaptionWidth());
  const int rightLeft = TruncInt(FWidthF - 1.5 * rightWidth);
  right.setGeometry(rightLeft, top, std::max(rightWidth, 0), height);
  right.show();
  FFrameRect.Right = rightLeft;
}

void TWPGraph::DrawStatusText(TCanvas& canvas) {
  if (!FDisplayCorrectionFactor && !FDisplaySmoothing) return;
  const QString cf = FDisplayCorrectionFactor
                         ? GetGraphString(18) + QStringLiteral(": ") + GetGraphString(0)
                         : QString();
  const QString sm = FDisplaySmoothing ? GetGraphString(19) + QStringLiteral(": ") +
                                             QString::number(FData->FSmoothing)
                                       : QString();
  canvas.Font() = FMainTitleFont;
  const int w = canvas.TextWidth(sm + QStringLiteral("  ") + cf);
  int x = width() - w - 10;
  // Clear of a centred title as wide as the default one.
  const int clear = canvas.TextWidth(GetGraphString(1)) / 2 + width() / 2 + 10;
  if (x < clear) x = clear;
  canvas.Brush().FStyle = bsClear;
  canvas.TextOut(x, FLabelHeight / 4, cf + QStringLiteral("  ") + sm);
}

void TWPGraph::DrawBottomTitle(TCanvas& canvas) {
  if (FBottomTitle.isEmpty()) return;
  canvas.Font() = FBottomTitleFont;
  canvas.Brush().FStyle = bsClear;
  const int w = canvas.TextWidth(FBottomTitle);
  const int h = canvas.TextHeight(FBottomTitle);
  canvas.TextOut(TruncInt(FWidthF * 0.5 - w / 2), TruncInt(FHeightF - TruncInt(1.5 * h)),
                 FBottomTitle);
  canvas.Brush().FStyle = bsSolid;
}

void TWPGraph::DrawHorzGrad(TCanvas& canvas, const TRect& rect, TColor c1, TColor c2) {
  const std::vector<TGradientBand> bands = HorzGradBands(rect, ColorToRGB(c1), ColorToRGB(c2));
  // On an image every row of the bands is the same: paint the first and copy it down, instead
  // of filling each band row by row.
  QPaintDevice* device = canvas.Device();
  QImage* image =
      device && device->devType() == QInternal::Image ? static_cast<QImage*>(device) : nullptr;
  const QRect area(rect.Left, rect.Top, rect.Width(), rect.Height());
  const bool copyRows = image && !canvas.HasClip() && image->depth() == 32 && area.height() > 1 &&
                        image->rect().contains(area);
  for (const TGradientBand& band : bands) {
    canvas.Brush() = TBrush{band.FColor, bsSolid};
    canvas.FillRect(band.Left, rect.Top, band.Right, copyRows ? rect.Top + 1 : rect.Bottom);
  }
  if (!copyRows) return;
  canvas.End();
  const size_t bytes = static_cast<size_t>(area.width()) * 4;
  image->bits();  // one copy of its own before rows are written, if the image was shared
  const uchar* first = image->constScanLine(area.top()) + area.left() * 4;
  for (int row = area.top() + 1; row <= area.bottom(); ++row)
    std::memcpy(image->scanLine(row) + area.left() * 4, first, bytes);
}

void TWPGraph::DrawBevel(TCanvas& canvas, const TRect& rect) {
  const int l = rect.Left, t = rect.Top, r = rect.Right, b = rect.Bottom;
  canvas.Pen() = TCanvasPen{clBtnShadow, 1, psSolid};
  canvas.MoveTo(l, b - 1);
  canvas.LineTo(l, t);
  canvas.LineTo(r - 1, t);
  canvas.MoveTo(l + 1, b - 2);
  canvas.LineTo(l + 1, t + 1);
  canvas.LineTo(r - 2, t + 1);
  canvas.Pen() = TCanvasPen{clBtnHighlight, 1, psSolid};
  canvas.MoveTo(l, b - 1);
  canvas.LineTo(r - 1, b - 1);
  canvas.LineTo(r - 1, t);
  canvas.MoveTo(l + 1, b - 2);
  canvas.LineTo(r - 2, b - 2);
  canvas.LineTo(r - 2, t - 1);
}

// ---- Curves ----

bool TWPGraph::ValidAxes() const {
  if (FData->FXChannel == 0) return false;
  return std::any_of(FData->FYChannel.begin(), FData->FYChannel.begin() + 6,
                     [](int32_t id) { return id != 0; });
}

TPoint TWPGraph::Graph2Screen(int axis, double x, double y) const {
  return ::Graph2Screen(FAxes, FGraphRect, axis, x, y);
}

void TWPGraph::Graph_Data(TCanvas& canvas, int k, int r) {
  TraceSlot(&canvas, k, r);
}

void TWPGraph::Graph_Gear(TCanvas& canvas, TChannel& c, int axis, int first, int last, int r) {
  TraceGear(&canvas, c, axis, first, last, r);
}

void TWPGraph::TraceCurves(TCanvas* canvas, int g) {
  for (int r = 0; r < FNumRuns; ++r) {
    const TRunData* run = FData->Run(static_cast<uint32_t>(r));
    if (!run) continue;
    for (int k = 2 * g; k <= 2 * g + 1; ++k) {
      if (run->FShown[static_cast<size_t>(k)]) TraceSlot(canvas, k, r);
      if (run->FShown[static_cast<size_t>(k + 6)]) TraceSlot(canvas, k + 6, r);
    }
  }
}

void TWPGraph::TraceSlot(TCanvas* canvas, int k, int r) {
  if (k < 0 || k >= kLineSlots || r < 0) return;
  TRunData* run = FData->Run(static_cast<uint32_t>(r));
  TChannel* c = run ? run->FShown[static_cast<size_t>(k)] : nullptr;
  if (!c) return;
  if (canvas) {
    const TPen* pen = FData->GetRunPen(static_cast<uint32_t>(r), static_cast<uint32_t>(k % 6));
    TCanvasPen& p = canvas->Pen();
    p = TCanvasPen{};
    if (pen) {
      p.FColor = pen->FColor;
      p.FWidth = pen->FWidth;
      if (pen->FStyle >= psSolid && pen->FStyle <= psInsideFrame)
        p.FStyle = static_cast<TPenStyle>(pen->FStyle);
    }
    // The second channel of an axis draws in its first channel's pen, dash-dot-dot.
    if (k > 5) p.FStyle = psDashDotDot;
  }
  const TGears* gears = c->FGears.get();
  if (gears && !gears->FStart.empty() && !gears->FEnd.empty() && c->FAxis >= 1) {
    const int32_t j = gears->FSelected;
    if (j >= 0 && static_cast<size_t>(j) < gears->FStart.size() &&
        static_cast<size_t>(j) < gears->FEnd.size()) {
      const auto index = [](uint32_t v) {
        return static_cast<int>(std::min<uint32_t>(v, INT_MAX));
      };
      TraceGear(canvas, *c, (c->FAxis - 1) % 6 + 1, index(gears->FStart[static_cast<size_t>(j)]),
                index(gears->FEnd[static_cast<size_t>(j)]), r);
    }
  }
  if (canvas) canvas->Pen().FStyle = psSolid;
}

void TWPGraph::TraceGear(TCanvas* canvas, TChannel& c, int axis, int first, int last, int r) {
  if (!c.FX || axis < 1 || axis >= kAxisCount) return;
  const size_t a = static_cast<size_t>(axis);
  TCurveMap map;
  map.XMin = FAxes.FAxisMin[0];
  map.XPixPerUnit = FAxes.FPixPerUnit[0];
  // The line offset moves a curve along a time axis only.
  map.XOffset = std::isfinite(c.FXOffset) && FData->FXChannel == ctTime ? c.FXOffset : 0;
  map.YMin = FAxes.FAxisMin[a];
  map.YPixPerUnit = FAxes.FPixPerUnit[a];
  map.Height = FAreaRect.Height();

  TSegmentVisitor visit;
  if (FCrsrPlaced && FDisplayCursor) {
    const TRunData* run = FData->Run(static_cast<uint32_t>(r));
    const TColor color = run ? run->FPens[a - 1].FColor : clBlack;
    const QString runName = run ? FileNameText(run->FFileName) : QString();
    const QString unit = EntryText(FData->FChannelUnitNames, FAxisBtn[a]->Tag());
    visit = [this, axis, color, runName, unit](const TCurveSegment& s) {
      CollectCrossing(FCrsrX, axis, s.X0, s.Y0, s.X1, s.Y1, color, runName, unit);
    };
  }
  TTraceOptions options;
  options.CursorPlaced = FCrsrPlaced;
  options.Visit = visit ? &visit : nullptr;
  if (canvas) {
    const TCanvasPen& pen = canvas->Pen();
    options.JoinRuns = pen.FWidth <= 1 || pen.FStyle == psSolid || pen.FStyle == psInsideFrame;
  }
  FCurvePath.Trace(*c.FX, c.FY, first, last, map, options);
  if (!canvas) return;

  if (!FRecording) {
    for (int i = 0; i < FCurvePath.PieceCount(); ++i)
      canvas->Polyline(FCurvePath.Piece(i));
    return;
  }
  // A recording keeps only what lies on the plot: SVG writers ignore the rounded clipping.
  QPainter& painter = canvas->Painter();
  if (!painter.isActive()) return;
  painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
  painter.setPen(ToQPen(canvas->Pen()));
  painter.setBrush(Qt::NoBrush);
  const QRectF plot(-1, -1, FAreaRect.Width() + 2, FAreaRect.Height() + 2);
  for (int i = 0; i < FCurvePath.PieceCount(); ++i) {
    ClipPolyline(FCurvePath.Piece(i), plot, [&](std::span<const QPointF> points) {
      painter.drawPolyline(points.data(), static_cast<int>(points.size()));
    });
  }
}

void TWPGraph::CollectCrossings() {
  if (!ValidAxes()) return;
  for (int g = 0; g < FNumGraphs; ++g) {
    const TRect rect = FGraphRect[static_cast<size_t>(g)];
    if (!(rect.Top < rect.Bottom && rect.Left < rect.Right)) continue;
    FAreaRect = rect;
    TraceCurves(nullptr, g);
  }
}

// ---- Screen and recording ----

void TWPGraph::Paint() {
  TCanvas screen(this);
  EraseBackground(screen);
  screen.Draw(0, 0, FBackBmp.Image());
  if (FDisplayCoordinates) {
    const QRect under(FReadoutRect.Left, FReadoutRect.Top, FReadoutRect.Width(),
                      FReadoutRect.Height());
    if (!under.isEmpty()) FReadoutBack.Assign(FBackBmp.Image().copy(under));
  }
  // The axis buttons and label boxes are child widgets and paint themselves over this.
}

void TWPGraph::EraseBackground(TCanvas& canvas) {
  // The border strips only show where no picture covers the control yet.
  if (FBackBmp.Width() >= width() && FBackBmp.Height() >= height()) return;
  const int right = TruncInt(FWidthF - 1.5 * FAxisBtn[2]->width());
  canvas.Brush() = TBrush{FColorBorder, bsSolid};
  canvas.FillRect(1, 1, FFrameRect.Left, FFrameRect.Bottom);
  canvas.FillRect(1, FFrameRect.Bottom, width(), height() - 1);
  canvas.FillRect(right, 1, width() - 1, FFrameRect.Bottom);
}

std::unique_ptr<TMetafile> TWPGraph::Metafile() {
  auto metafile = std::make_unique<TMetafile>(width(), height());
  TCanvas& canvas = metafile->Canvas();
  canvas.Brush() = TBrush{clWhite, bsSolid};
  canvas.FillRect(0, 0, width(), height());
  DrawGraphTo(canvas);
  DrawBottomTitle(canvas);

  canvas.Brush() = TBrush{FColorFrame, bsSolid};
  canvas.FrameRect(0, 0, width(), height());
  canvas.Brush().FStyle = bsClear;

  // The label boxes' texts and icons, where the boxes lie.
  for (const auto& box : FLabelBoxes) {
    if (box->isHidden()) continue;
    for (int row = 0; row < box->NumLabels(); ++row) {
      const TLabelCell* first = box->Label(row, 0);
      if (const QImage* icon = box->GetIconImage(row))
        canvas.Draw(box->x() + 2, box->y() + first->y(), *icon);
      for (int cell = 0; cell < 2; ++cell) {
        const TLabelCell* label = box->Label(row, cell);
        if (label->isHidden() || label->width() <= 0 || label->height() <= 0) continue;
        canvas.Font() = label->Font();
        canvas.Font().FOrientation = 0;
        canvas.Brush().FStyle = bsClear;
        canvas.TextOut(box->x() + label->x(), box->y() + label->y(), label->Caption());
      }
    }
  }
  for (int a = 0; a <= 2 * FNumGraphs && a < kAxisCount; ++a) {
    const TPanelButton& button = *FAxisBtn[static_cast<size_t>(a)];
    if (!button.isHidden()) button.PaintToCanvas(canvas);
  }
  canvas.End();
  return metafile;
}

void TWPGraph::DrawGraphTo(TCanvas& canvas) {
  FRecording = true;
  for (int attempt = 0; attempt < kRenderAttempts; ++attempt) {
    FHeightF = static_cast<float>(height());
    FWidthF = static_cast<float>(width());
    canvas.Brush() = TBrush{clWhite, bsSolid};
    canvas.FillRect(0, 0, width(), height());
    if (RenderGraph(canvas)) break;
    LoadStrings();
    DoLVIcons();
  }
  DrawTools(canvas);
  FRecording = false;
  for (auto& recording : FPlotRecording)
    recording.reset();
}
