// Axis drawing: graph g's plot surface with its rounded frame and dotted grid, and the tick
// marks and scale numbers around it, painted from the plan of the axis geometry.

#include <QLine>
#include <QList>

#include <algorithm>

#include "AxisGeometry.h"
#include "CanvasMetrics.h"
#include "NumberFormat.h"
#include "ScaleSteps.h"
#include "WPGraph.h"

namespace {

// The pixels a dash along a row or a column colours: from its start up to, not including, its
// end. Empty for a dash of no length or a slanted one.
QRect DashPixels(const TDash& dash) {
  const TPoint a = dash.From, b = dash.To;
  if (a.Y == b.Y && a.X != b.X)
    return a.X < b.X ? QRect(QPoint(a.X, a.Y), QPoint(b.X - 1, a.Y))
                     : QRect(QPoint(b.X + 1, a.Y), QPoint(a.X, a.Y));
  if (a.X == b.X && a.Y != b.Y)
    return a.Y < b.Y ? QRect(QPoint(a.X, a.Y), QPoint(a.X, b.Y - 1))
                     : QRect(QPoint(a.X, b.Y + 1), QPoint(a.X, a.Y));
  return {};
}

// The dashes in the canvas's pen. A dash colours the pixels from its start towards its end, the
// end itself not; on an image a one-pixel solid dash is written as exactly those pixels.
void DrawDashes(TCanvas& canvas, const std::vector<TDash>& dashes) {
  if (dashes.empty()) return;
  const TCanvasPen& pen = canvas.Pen();
  const QPaintDevice* device = canvas.Device();
  // An opaque colour on a 32-bit image without clipping: the pixels can be written as they are.
  const bool fill = device && device->devType() == QInternal::Image && pen.FWidth <= 1 &&
                    pen.FStyle == psSolid && pen.FMode == pmCopy && !canvas.HasClip() &&
                    static_cast<const QImage*>(device)->depth() == 32 &&
                    ToQColor(pen.FColor).alpha() == 255;
  QList<QLine> lines;
  QList<QRect> pixels;
  for (const TDash& dash : dashes) {
    const QRect r = fill ? DashPixels(dash) : QRect();
    if (!r.isNull()) {
      pixels.append(r);
    } else if (!fill || dash.From.X != dash.To.X || dash.From.Y != dash.To.Y) {
      lines.append(QLine(dash.From.X, dash.From.Y, dash.To.X, dash.To.Y));
    }
  }
  if (!pixels.isEmpty()) {
    // Straight into the image: thousands of fills of three pixels cost more to set up than to
    // write.
    canvas.End();
    QImage& image = *static_cast<QImage*>(canvas.Device());
    const QRgb color = ToQColor(pen.FColor).rgb();
    const QRect bounds = image.rect();
    for (const QRect& r : pixels) {
      const QRect inside = r & bounds;
      for (int y = inside.top(); y <= inside.bottom(); ++y) {
        QRgb* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        std::fill(row + inside.left(), row + inside.right() + 1, color);
      }
    }
  }
  if (!lines.isEmpty()) {
    QPainter& linePainter = canvas.Painter();
    if (!linePainter.isActive()) return;
    linePainter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    linePainter.setPen(ToQPen(pen));
    linePainter.setBrush(Qt::NoBrush);
    linePainter.drawLines(lines);
  }
}

}  // namespace

void TWPGraph::Draw_Axes(TCanvas& canvas, int g) {
  if (g < 0 || g >= kMaxGraphs) return;
  TAxesInput in;
  in.Graph = g;
  in.NumGraphs = FNumGraphs;
  in.Plot = FAreaRect;
  in.LabelHeight = FLabelHeight;
  in.TickLen = FTickLen;
  in.Radius = FRadius;
  in.SnapToScale = FSnapToScale;
  in.ShowTickarks = FShowTickarks;
  in.ShowShadow = FShowShadow;
  in.LeftInUse = FData->AxisInUse(2 * g + 1);
  in.RightInUse = FData->AxisInUse(2 * g + 2);
  in.MinXStep = FData->FMinXStep;
  const int w = FAreaRect.Width(), h = FAreaRect.Height();
  if (w < 1 || h < 1) return;
  if (AxesNeedScaleReset(FAxes, in)) ResetScale();

  canvas.Font() = FAxisLabelFont;
  const TAxesPlan plan = PlanAxes(FAxes, in, TCanvasMetrics(canvas));
  if (plan.Outcome == TAxesOutcome::NoArea) return;

  // The plot surface: white inside its rounded frame. A recording fills only the rounded
  // shape, since some vector formats drop the clipping that cuts the corners off.
  const size_t at = static_cast<size_t>(g);
  if (FRecording) {
    FPlotRecording[at] = std::make_unique<TMetafile>(w, h);
  } else {
    FPlotBmp[at].SetSize(w, h);
  }
  TCanvas& plot = PlotCanvas(g);
  plot.Brush() = TBrush{clWhite, bsSolid};
  if (FRecording) {
    plot.Pen() = TCanvasPen{clWhite, 1, psClear};
    plot.RoundRect(0, 0, w, h, FRadius, FRadius);
  } else {
    plot.FillRect(0, 0, w, h);
  }
  plot.Pen() = TCanvasPen{FColorGrid, 1, psSolid};
  plot.Brush().FStyle = bsClear;
  plot.RoundRect(0, 0, w, h, FRadius, FRadius);

  if (plan.Outcome == TAxesOutcome::GiveUp) {
    // The dots of the exact grid would merge: back to automatic, snapped scales; the caller
    // starts the redraw again.
    FAxesGaveUp = true;
    SetAutoScale(true);
    ResetScale();
    return;
  }

  DrawDashes(plot, plan.Grid);
  canvas.Pen() = TCanvasPen{FColorTickMarks, 1, psSolid};
  DrawDashes(canvas, plan.Ticks);

  canvas.Font() = FAxisLabelFont;
  canvas.Brush().FStyle = bsClear;
  for (const TScaleNumber& number : plan.Numbers)
    canvas.TextOut(number.Pos.X, number.Pos.Y, QString::fromStdString(number.Text));
  FLabelHeight = plan.LabelHeight;
  FAxes.FPixPerUnit = plan.PixPerUnit;
}

void TWPGraph::DrawLabel(TCanvas& canvas, int x, int y, float& value, float step, int axis) {
  const char* format = axis >= 0 && axis < kAxisCount
                           ? StepEntry(FAxes.FFmtIndex[static_cast<size_t>(axis)]).FScaleFmt
                           : "%f";
  canvas.TextOut(x, y, QString::fromStdString(FormatFloat(format, value)));
  value += step;
}

TCanvas& TWPGraph::PlotCanvas(int g) {
  const size_t at = static_cast<size_t>(std::clamp(g, 0, kMaxGraphs - 1));
  if (!FRecording) return FPlotBmp[at].Canvas();
  if (!FPlotRecording[at]) FPlotRecording[at] = std::make_unique<TMetafile>(0, 0);
  return FPlotRecording[at]->Canvas();
}
