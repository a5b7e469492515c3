// Rendering: the layout of the picture (status text, frame without runs, banner, height
// division), the axes of a known range, the curves on screen and in the recording, and the
// redraw of the tools over the kept picture.

#include <gtest/gtest.h>

#include <QStringList>

#include <algorithm>
#include <cmath>
#include <limits>

#include "AxisGeometry.h"
#include "CanvasMetrics.h"
#include "ComputationOptions.h"
#include "CorrectionFactor.h"
#include "CurvePath.h"
#include "RenderFixture.h"
#include "RunFile.h"
#include "ScaleSteps.h"

namespace {

using tw_test::MakeCurveRun;
using tw_test::Ramp;
using tw_test::RenderTest;
using tw_test::TRecordedPicture;

constexpr float kMissing = -std::numeric_limits<float>::infinity();

// Text sizes in a font, measured as the control measures them.
int Width(const TFont& font, const QString& text) {
  TCanvas canvas;
  canvas.Font() = font;
  return canvas.TextWidth(text);
}
int Height(const TFont& font) {
  TCanvas canvas;
  canvas.Font() = font;
  return canvas.TextHeight(QStringLiteral("M"));
}

// The bounding box of the picture's pixels of one colour.
QRect ColourBox(const QImage& image, const QColor& color) {
  QRect box;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if (image.pixel(x, y) == color.rgb()) box |= QRect(x, y, 1, 1);
  return box;
}

TEST_F(RenderTest, StatusTextKeepsRightButClearOfTheCentredTitle) {
  const QString status = QStringLiteral("CF: NONE  Smoothing: 0");
  struct TCase {
    int width;
    bool pushed;  // the right-aligned place would overlap a centred default title
  };
  for (const TCase c : {TCase{1200, false}, TCase{420, true}}) {
    FGraph->resize(c.width, 500);
    Draw();
    const TFont& font = FGraph->MainTitleFont();
    const int right = c.width - Width(font, QStringLiteral("Smoothing: 0  CF: NONE")) - 10;
    const int clear = Width(font, QStringLiteral("HALVORN RESEARCH")) / 2 + c.width / 2 + 10;
    ASSERT_EQ(right < clear, c.pushed) << c.width;

    const auto texts = Record().TextsReading(status);
    ASSERT_EQ(texts.size(), 1u) << c.width;
    EXPECT_EQ(texts[0].Baseline.x(), c.pushed ? clear : right) << c.width;
    EXPECT_NEAR(texts[0].Top(), Height(FGraph->AxisLabelFont()) / 4, 1.0) << c.width;
  }
}

TEST_F(RenderTest, WithoutRunsGraphsShowEmptyScalesAndNoButtons) {
  FGraph->resize(800, 600);
  FGraph->SetColorBackground(clYellow);
  FGraph->SetColorFade(clYellow);
  Draw();
  for (int a = 0; a < kAxisCount; ++a)
    EXPECT_TRUE(FGraph->AxisBtn(a)->isHidden()) << "axis " << a;
  const TAxisState& axes = FGraph->Axes();
  EXPECT_EQ(axes.FAxisMin[0], 0);
  EXPECT_EQ(axes.FAxisMax[0], 100);
  EXPECT_EQ(axes.FAxisMin[1], 0);
  EXPECT_EQ(axes.FAxisMax[1], 100);

  // The frame is 5 pixels in from the left and 15 from the right; the left label zone holds
  // "100", the right axis has none.
  TCanvas measure;
  measure.Font() = FGraph->AxisLabelFont();
  const int labelHeight = measure.TextHeight(QStringLiteral("8"));
  const TRect& plot = FGraph->GraphRect(0);
  EXPECT_EQ(plot.Left, 5 + labelHeight + measure.TextWidth(QStringLiteral("100")) - 5);
  EXPECT_EQ(plot.Right, 800 - 15 - labelHeight + 5);

  const TRecordedPicture picture = Record();
  EXPECT_EQ(picture.TextsReading(QStringLiteral("100")).size(), 2u) << "left and X scale";
  EXPECT_EQ(picture.TextsReading(QStringLiteral("0")).size(), 2u);

  // On screen: rounded corners show the background, the shadow lies right of and below.
  EXPECT_EQ(Pixel(plot.Left, plot.Top), QColor(Qt::yellow));
  EXPECT_EQ(Pixel(plot.Left + 6, plot.Top + 6), QColor(Qt::white));
  EXPECT_EQ(Pixel(plot.Right + 2, plot.Bottom + 2), ToQColor(FGraph->ColorShadow()));
}

TEST_F(RenderTest, GridOnScreenIsThePlannedDashes) {
  Draw();
  const TRect plot = FGraph->GraphRect(0);
  const int w = plot.Width(), h = plot.Height();
  TAxesInput in;
  in.Plot = plot;
  in.MinXStep = FGraph->GetData().FMinXStep;
  TCanvas measure;
  measure.Font() = FGraph->AxisLabelFont();
  const TAxesPlan plan = PlanAxes(FGraph->Axes(), in, TCanvasMetrics(measure));
  ASSERT_GT(plan.Grid.size(), 100u);

  // The plot as planned: white, its frame, and each dash colouring the pixels from its start
  // towards its end, the end itself not.
  TBitmap reference(w, h);
  TCanvas& canvas = reference.Canvas();
  canvas.Pen() = TCanvasPen{FGraph->ColorGrid(), 1, psSolid};
  canvas.Brush().FStyle = bsClear;
  canvas.RoundRect(0, 0, w, h, FGraph->Radius(), FGraph->Radius());
  QImage expected = reference.Image();
  for (const TDash& dash : plan.Grid) {
    const QPoint step((dash.To.X > dash.From.X) - (dash.To.X < dash.From.X),
                      (dash.To.Y > dash.From.Y) - (dash.To.Y < dash.From.Y));
    ASSERT_TRUE(step.x() == 0 || step.y() == 0) << "grid dashes run along rows and columns";
    for (QPoint p(dash.From.X, dash.From.Y); p != QPoint(dash.To.X, dash.To.Y); p += step) {
      if (expected.valid(p)) expected.setPixel(p, ToQColor(FGraph->ColorGrid()).rgb());
    }
  }
  const QImage shown = FGraph->BackImage().copy(plot.Left, plot.Top, w, h);
  int compared = 0;
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      // The rounded corners show what lies behind the plot.
      const bool corner = (x < 6 || x >= w - 6) && (y < 6 || y >= h - 6);
      if (corner) continue;
      ASSERT_EQ(shown.pixel(x, y), expected.pixel(x, y)) << x << "," << y;
      ++compared;
    }
  }
  EXPECT_GT(compared, w * h / 2);
}

TEST_F(RenderTest, GradientBandsSpanTheFullHeight) {
  // Band by band (a clipped canvas) and row-copied (a plain image) give the same picture.
  const TRect rect{3, 2, 317, 199};
  for (const auto& colours :
       {std::pair{clWhite, clBtnFace}, std::pair{clNavy, clYellow}, std::pair{clRed, clRed}}) {
    TBitmap banded(320, 200), copied(320, 200);
    banded.Canvas().SetClipRect(0, 0, 320, 200);
    FGraph->DrawHorzGrad(banded.Canvas(), rect, colours.first, colours.second);
    FGraph->DrawHorzGrad(copied.Canvas(), rect, colours.first, colours.second);
    EXPECT_EQ(copied.Image(), banded.Image());
    EXPECT_EQ(copied.Image().pixelColor(3, 2), ToQColor(ColorToRGB(colours.first)));
    EXPECT_EQ(copied.Image().pixelColor(0, 0), QColor(Qt::white)) << "outside the rectangle";
  }
}

TEST_F(RenderTest, BannerSpansTheAreaOrIsCentredAboveThePlots) {
  struct TCase {
    int width, height;
    bool spans;
  };
  for (const TCase c : {TCase{760, 130, true}, TCase{200, 100, false}}) {
    QImage banner(c.width, c.height, QImage::Format_RGB32);
    banner.fill(Qt::red);
    FGraph->SetBannerImage(banner);
    FGraph->SetShowBanner(true);
    Draw();
    // The banner takes its place from the previous layout: let it settle.
    FGraph->DrawGraph();
    FGraph->DrawGraph();

    const TRect& plot = FGraph->GraphRect(0);
    const QRect red = ColourBox(FGraph->BackImage(), Qt::red);
    ASSERT_FALSE(red.isEmpty()) << c.width;
    const int h = red.height();
    EXPECT_EQ(red.bottom() + 1, plot.Top) << "the plots start below the banner";
    if (c.spans) {
      // 760 x 130 is wide enough: the banner is as wide as the plot area.
      EXPECT_EQ(h, static_cast<int>(130.0 * plot.Width() / 760));
      EXPECT_EQ(red.left(), plot.Left);
      EXPECT_EQ(red.right() + 1, plot.Right);
    } else {
      // Otherwise a third of the area height or 13/76 of the plot width, centred.
      EXPECT_EQ(h, static_cast<int>(
                       std::min((plot.Bottom - plot.Top + h) / 3.0, plot.Width() * 13.0 / 76)));
      const int w = h * 2;
      const int centre = (plot.Left + plot.Right) / 2;
      EXPECT_EQ(red.left(), centre - w / 2);
      EXPECT_EQ(red.right() + 1, centre + w / 2);
    }
  }
}

TEST_F(RenderTest, HeightDivisionByRatiosThroughTheRedraw) {
  FGraph->SetNumGraphs(2);
  FGraph->SetRatio(0, 1);
  FGraph->SetRatio(1, 3);
  Draw();
  // Make the plot area 410 pixels high.
  const int area = FGraph->GraphRect(1).Bottom - FGraph->GraphRect(0).Top;
  FGraph->resize(800, 600 + 410 - area);
  Draw();
  const TRect& top = FGraph->GraphRect(0);
  const TRect& bottom = FGraph->GraphRect(1);
  ASSERT_EQ(bottom.Bottom - top.Top, 410);
  EXPECT_EQ(top.Bottom - top.Top, 98);  // Round(410 / 4 - 5)
  EXPECT_EQ(bottom.Top, top.Bottom + 10);
  // The lower plot's frame runs along its new top edge.
  const int between = bottom.Left + bottom.Width() / 20;  // between two vertical grid lines
  EXPECT_EQ(Pixel(between, bottom.Top), QColor(Qt::black));
  EXPECT_EQ(Pixel(between, bottom.Top + 3), QColor(Qt::white));
}

TEST_F(RenderTest, TicksAndNumbersOfARangeFrom0To200InStepsOf50) {
  FGraph->resize(800, 400);
  std::vector<float> power = Ramp(101, 2);  // 0 .. 200
  AddRun(MakeCurveRun("R1.DRF", Ramp(101), {{0, power}}));
  Draw();
  const TAxisState& axes = FGraph->Axes();
  ASSERT_EQ(axes.FAxisStep[1], 50);
  ASSERT_EQ(axes.FAxisMin[1], 0);
  ASSERT_EQ(axes.FAxisMax[1], 200);
  ASSERT_EQ(axes.FNumDivs[1], 4);

  const TRect& plot = FGraph->GraphRect(0);
  const int l = plot.Left, t = plot.Top, b = plot.Bottom, h = b - t;
  TCanvas measure;
  measure.Font() = FGraph->AxisLabelFont();
  const int labelHeight = measure.TextHeight(QStringLiteral("8"));
  const TRecordedPicture picture = Record();

  // Five numbers, 0 at the bottom edge up to 200 at the top, right-aligned 5 pixels off.
  const QStringList numbers = {"200", "150", "100", "50", "0"};
  for (int k = 0; k <= 4; ++k) {
    const auto found = picture.TextsReading(numbers[k]);
    const auto left = std::find_if(found.begin(), found.end(), [&](const auto& text) {
      return text.Baseline.x() < l && text.Top() < b;  // not the X axis's numbers below
    });
    ASSERT_NE(left, found.end()) << numbers[k].toStdString();
    EXPECT_EQ(left->Baseline.x(), l - measure.TextWidth(numbers[k]) - 5);
    EXPECT_NEAR(left->Top(), Round(h * k / 4.0 + t) - labelHeight / 2, 1.0);
  }

  // Tick marks from L - 3 to L + 3 (the end excluded) at every fifth of a step, none within
  // half the corner radius of a corner.
  std::vector<int> ticks;
  for (const auto& line : picture.Lines) {
    if (line.Line.x1() == l - 3 && line.Line.x2() == l + 4 && line.Line.y1() == line.Line.y2())
      ticks.push_back(static_cast<int>(line.Line.y1()));
  }
  std::vector<int> expected;
  for (int i = 0; i < 20; ++i) {
    const int y = Round(h * i / 4.0 / 5 + t);
    if (t + 5 < y && y < b - 5) expected.push_back(y);
  }
  std::sort(ticks.begin(), ticks.end());
  EXPECT_EQ(ticks, expected);
}

TEST_F(RenderTest, CurveWithAMissingSampleIsRecordedAsTwoPolylines) {
  std::vector<float> power = Ramp(40, 2);
  power[20] = kMissing;
  AddRun(MakeCurveRun("R1.DRF", Ramp(40), {{0, power}}));
  Draw();
  const auto curves = Record().PolylinesIn(PenColor(0, 0));
  ASSERT_EQ(curves.size(), 2u);
  // Samples 2 .. 19 and 21 .. 38 (the gear's last point is not drawn).
  const TRect& plot = FGraph->GraphRect(0);
  const TPoint first = FGraph->Graph2Screen(1, 2, 4);
  EXPECT_EQ(curves[0].Points.front(), QPointF(first.X, first.Y));
  const TPoint last = FGraph->Graph2Screen(1, 38, 76);
  EXPECT_EQ(curves[1].Points.back(), QPointF(last.X, last.Y));
  for (const auto& curve : curves)
    EXPECT_TRUE(QRectF(plot.Left, plot.Top, plot.Width(), plot.Height())
                    .contains(curve.Points.boundingRect()));
}

TEST(CurvePieces, DrawTheSamePixelsAsEverySample) {
  // Dense samples, as a long run gives: many per pixel column, repeats, straight runs along
  // rows and columns, turns back, steep and flat stretches.
  std::vector<float> x, y;
  for (int i = 0; i < 3000; ++i) {
    x.push_back(static_cast<float>(i) * 0.11f);
    // A slow wave with a little scatter, and every other stretch of 500 samples climbing.
    const double climb = i / 500 % 2 ? (i % 500) * 0.2 : 0;
    y.push_back(
        static_cast<float>(150 + 90 * std::sin(i * 0.013) + (i * 7919 % 13) * 0.25 + climb));
  }
  TCurveMap map;
  map.XPixPerUnit = 1;
  map.YPixPerUnit = 1;
  map.Height = 300;
  TCurvePath joined, apart;
  joined.Trace(x, y, 0, static_cast<int64_t>(x.size()), map);
  TTraceOptions options;
  options.JoinRuns = false;  // what a wide dashed pen gets
  apart.Trace(x, y, 0, static_cast<int64_t>(x.size()), map, options);
  std::vector<QPoint> every;
  for (size_t i = 2; i + 1 < x.size(); ++i)
    every.emplace_back(static_cast<int>(x[i]), static_cast<int>(300.0 - y[i]));
  ASSERT_EQ(joined.PieceCount(), 1);
  ASSERT_EQ(apart.PieceCount(), 1);
  ASSERT_LT(joined.Piece(0).size(), apart.Piece(0).size()) << "straight runs are joined";
  ASSERT_LT(apart.Piece(0).size(), every.size()) << "repeats are dropped";

  for (const TPenStyle style : {psSolid, psDash, psDot, psDashDot, psDashDotDot}) {
    for (const int width : {1, 2}) {
      TBitmap reference(340, 320), pieces(340, 320);
      reference.Canvas().Pen() = pieces.Canvas().Pen() = TCanvasPen{clBlue, width, style};
      reference.Canvas().Polyline(every);
      const bool join = width == 1 || style == psSolid;
      pieces.Canvas().Polyline((join ? joined : apart).Piece(0));
      EXPECT_EQ(pieces.Image(), reference.Image()) << "style " << int(style) << " width " << width;
    }
  }
}

TEST_F(RenderTest, SecondChannelOfAnAxisIsDashDotDotInTheSamePen) {
  AddRun(MakeCurveRun("R1.DRF", Ramp(40), {{0, Ramp(40, 2)}, {6, Ramp(40, 1)}}));
  Draw();
  const auto curves = Record().PolylinesIn(PenColor(0, 0));
  ASSERT_EQ(curves.size(), 2u);
  EXPECT_EQ(curves[0].Pen.style(), Qt::SolidLine);
  EXPECT_EQ(curves[1].Pen.dashPattern(),
            ToQPen(TCanvasPen{clBlack, 1, psDashDotDot}).dashPattern());
}

// Two bundled sample runs, loaded and computed as the main window does.
class SampleRenderTest : public RenderTest {
 protected:
  void SetUp() override {
    RenderTest::SetUp();
    TGphData& data = FGraph->GetData();
    data.FUnits = BuildUnitSet(TUnitSet::SAE);
    data.BuildUnitNames();
    data.FCFs = LoadCorrectionFactors();
    data.FCFIndex = 1;
    data.FSmoothing = 5;
    data.FOptions = AcquisitionDefaultComputationOptions();
    data.FXChannel = ctSpeed;
    FGraph->OnRequestData = [this](QObject*) {
      TGphData& d = FGraph->GetData();
      d.CalculateData();
      d.BuildChannelTable();
      d.BuildChannelNames();
      d.BuildUnitNames();
      for (uint32_t r = 0; r < d.NumRuns(); ++r)
        d.CalcRunRanges(r, FGraph->ShowNegative());
    };
    for (const char* name : {"mh703_pull.DRF", "mh100_pull.DRF"}) {
      auto run = std::make_unique<TRunData>();
      const std::string path = (tw_test::SourceDir() / "samples" / name).string();
      ASSERT_EQ(LoadFileData(path, *run, data.FUnits, data.FOptions) & 0xFF, 0) << path;
      AddRun(std::move(run));
    }
    FGraph->resize(1000, 600);
    Draw();
  }
};

TEST_F(SampleRenderTest, EachRunsCurveShowsInItsColourInsideThePlot) {
  const QImage& image = FGraph->BackImage();
  const TRect& plot = FGraph->GraphRect(0);
  const QRect inside(plot.Left, plot.Top, plot.Width(), plot.Height());
  for (int r = 0; r < 2; ++r) {
    const QColor color = PenColor(r, 0);
    int in = 0, out = 0;
    for (int y = 0; y < image.height(); ++y)
      for (int x = 0; x < image.width(); ++x)
        if (image.pixel(x, y) == color.rgb()) ++(inside.contains(x, y) ? in : out);
    EXPECT_GT(in, 500) << "run " << r;
    EXPECT_EQ(out, 0) << "run " << r;
  }
  EXPECT_NE(PenColor(0, 0), PenColor(1, 0));
}

TEST_F(SampleRenderTest, RecordingAndScreenDrawTheSameCurves) {
  // Every corner of a recorded curve is a curve pixel on screen (the first run's or, where
  // they cross, the second's).
  const QImage& image = FGraph->BackImage();
  const QRgb first = PenColor(0, 0).rgb(), second = PenColor(1, 0).rgb();
  const auto curves = Record().PolylinesIn(PenColor(0, 0));
  ASSERT_FALSE(curves.empty());
  const TRect& plot = FGraph->GraphRect(0);
  const QRect inside(plot.Left, plot.Top, plot.Width(), plot.Height());
  int checked = 0;
  for (const auto& curve : curves) {
    for (int i = 0; i + 1 < curve.Points.size(); ++i) {
      const QPoint p = curve.Points[i].toPoint();
      if (!inside.adjusted(1, 1, -1, -1).contains(p)) continue;
      // A joint between a flat and a steep segment may leave its own pixel to a neighbour.
      bool near = false;
      for (const QPoint d :
           {QPoint(0, 0), QPoint(1, 0), QPoint(-1, 0), QPoint(0, 1), QPoint(0, -1)}) {
        const QRgb pixel = image.pixel(p + d);
        near = near || pixel == first || pixel == second;
      }
      EXPECT_TRUE(near) << p.x() << "," << p.y();
      ++checked;
    }
  }
  EXPECT_GT(checked, 100);
}

TEST_F(SampleRenderTest, RecordingCarriesTheAxisButtonsAndTheFrame) {
  FGraph->SetColorFrame(clRed);
  const auto picture = Record();
  for (const int axis : {0, 1}) {
    const QString caption = FGraph->AxisBtn(axis)->Caption();
    EXPECT_EQ(picture.TextsReading(caption).size(), 1u) << caption.toStdString();
  }
  const auto frame = std::count_if(picture.Fills.begin(), picture.Fills.end(),
                                   [](const auto& f) { return f.Color == QColor(Qt::red); });
  EXPECT_EQ(frame, 4) << "four one-pixel sides";
}

TEST_F(SampleRenderTest, RedrawOfTheToolsGivesTheFullPicture) {
  FGraph->SetBottomTitle(QStringLiteral("Bottom"));
  FGraph->SetQuickMove(true);  // a tool is shown: the picture of the curves is kept
  FGraph->DrawGraph();
  const QImage full = FGraph->BackImage().copy();
  FGraph->RedrawTools();
  EXPECT_EQ(FGraph->BackImage(), full);
}

}  // namespace
