// A full redraw of the graph at 1920 x 1080 with the most a user can load: 12 runs of 16383
// points, three graphs, two channels on each graph for every run. Beside it, the same curves as
// pixel polylines drawn with a bare QPainter on an image of the same size: the yardstick for
// what the control adds (axes, text, composition) to the drawing Qt must do anyway.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QPolygon>

#include <cmath>
#include <cstdlib>
#include <memory>
#include <vector>

#include "CurvePath.h"
#include "RunListView.h"
#include "WPGraph.h"

namespace {

constexpr int kRuns = 12;
constexpr int kPoints = 16383;  // the most points a channel has
constexpr double kDT = 0.02;    // seconds between points
constexpr int kWidth = 1920;
constexpr int kHeight = 1080;
// The channel of each Y axis: power and torque on the top graph, speed and engine speed in the
// middle, air/fuel and gear at the bottom.
constexpr uint32_t kTypes[6] = {ctPower, ctTorque, ctSpeed, ctRPM, ctAirFuel, ctGear};

// A run of four pulls: power, torque, speed, engine speed, air/fuel and gear on the six Y axes,
// with a little deterministic scatter of its own, as measured data has.
std::unique_ptr<TRunData> MakeRun(int seed) {
  auto run = std::make_unique<TRunData>();
  run->FFileName = "RUN" + std::to_string(seed) + ".DRF";
  auto gears = std::make_shared<TGears>();
  gears->FRatio = {1};
  gears->FStart = {0};
  gears->FEnd = {kPoints - 1};
  gears->FFlags = {0};
  TChannel& time = *run->FChannels[run->AddChannel(ctTime, ukTime, "Time")];
  time.FGears = gears;
  run->FXChannels = {&time};
  std::vector<TChannel*> channels;
  for (int slot = 0; slot < 6; ++slot) {
    TChannel& c = *run->FChannels[run->AddChannel(kTypes[slot], ukPower, "Channel")];
    c.FX = &time.FY;
    c.FAxis = SlotAxis(slot);
    c.FGears = gears;
    run->FShown[static_cast<size_t>(slot)] = &c;
    channels.push_back(&c);
  }
  for (int i = 0; i < kPoints; ++i) {
    const double t = i * kDT;
    const double tau = std::fmod(t, 81.9);
    const double speed = tau < 2 ? 20 : tau < 70 ? 20 + 2 * (tau - 2) : 156 - 5 * (tau - 70);
    const double scatter = 1 + 2e-3 * (((i * 7919 + seed * 104729) % 13) / 6.0 - 1);
    const double rpm = 40 * speed * scatter;
    const double power = (tau < 70 ? 80 + 3.4 * (speed - 20) : -40) * scatter + seed;
    time.FY.push_back(static_cast<float>(t));
    channels[0]->FY.push_back(static_cast<float>(power));
    channels[1]->FY.push_back(static_cast<float>(power * 5252 / std::max(rpm, 800.0)));
    channels[2]->FY.push_back(static_cast<float>(speed * 0.6818 * scatter));
    channels[3]->FY.push_back(static_cast<float>(rpm));
    channels[4]->FY.push_back(static_cast<float>(12.8 + 0.4 * std::sin(i * 0.01 + seed)));
    channels[5]->FY.push_back(static_cast<float>(40 * scatter));
  }
  return run;
}

// The control as the main window sets it up, with the runs loaded and the scales reset.
class TLoadedGraph {
 public:
  TLoadedGraph() {
    FGraph.setAttribute(Qt::WA_DontShowOnScreen);
    FGraph.resize(kWidth, kHeight);
    FGraph.SetListView(&FList);
    FGraph.Loaded();
    FGraph.ResetColors();
    FGraph.SetBuffer(10);
    FGraph.SetNumGraphs(3);
    FGraph.SetLabelType(2);
    TGphData& data = FGraph.GetData();
    data.FXChannel = ctTime;
    for (int slot = 0; slot < 6; ++slot)
      data.FYChannel[static_cast<size_t>(slot)] = static_cast<int32_t>(kTypes[slot]);
    for (int r = 0; r < kRuns; ++r) {
      const uint32_t index = data.AddRun(MakeRun(r));
      if (data.OnAddRun) data.OnAddRun(data);
      data.CalcRunRanges(index, FGraph.ShowNegative());
    }
    FGraph.show();
    FGraph.ResetScale();
    FGraph.DrawGraph();
    FGraph.DrawGraph();
  }

  TWPGraph& Graph() { return FGraph; }

 private:
  TRunListView FList;
  TWPGraph FGraph;
};

// Made at the first benchmark that needs it; it goes before the application does.
std::unique_ptr<TLoadedGraph> gLoadedGraph;

TLoadedGraph& LoadedGraph() {
  if (!gLoadedGraph) gLoadedGraph = std::make_unique<TLoadedGraph>();
  return *gLoadedGraph;
}

void BM_DrawGraph(benchmark::State& state) {
  TWPGraph& graph = LoadedGraph().Graph();
  for (auto _ : state) {
    graph.DrawGraph();
    benchmark::DoNotOptimize(graph.BackImage().constBits());
  }
}
BENCHMARK(BM_DrawGraph)->Unit(benchmark::kMillisecond)->UseRealTime();

// The curves of the last redraw: every drawn sample mapped to its control pixel, one polyline
// per curve, in its run's pen.
struct TBareCurve {
  QPolygon Points;
  QColor Color;
};

std::vector<TBareCurve> BareCurves(TWPGraph& graph) {
  std::vector<TBareCurve> curves;
  const TAxisState& axes = graph.Axes();
  TGphData& data = graph.GetData();
  for (int r = 0; r < kRuns; ++r) {
    TRunData& run = *data.Run(static_cast<uint32_t>(r));
    for (int slot = 0; slot < 6; ++slot) {
      const TChannel& c = *run.FShown[static_cast<size_t>(slot)];
      const int axis = c.FAxis;
      const TRect& plot = graph.GraphRect((axis - 1) / 2);
      TBareCurve curve;
      curve.Color = ToQColor(run.FPens[static_cast<size_t>(axis - 1)].FColor);
      for (int i = 2; i < kPoints - 1; ++i) {
        const double x = ((*c.FX)[static_cast<size_t>(i)] - axes.FAxisMin[0]) * axes.FPixPerUnit[0];
        const double y = plot.Height() - (c.FY[static_cast<size_t>(i)] - axes.FAxisMin[axis]) *
                                             axes.FPixPerUnit[axis];
        curve.Points.append(
            QPoint(plot.Left + static_cast<int>(x), plot.Top + static_cast<int>(y)));
      }
      curves.push_back(std::move(curve));
    }
  }
  return curves;
}

void BM_BarePolylines(benchmark::State& state) {
  const std::vector<TBareCurve> curves = BareCurves(LoadedGraph().Graph());
  QImage image(kWidth, kHeight, QImage::Format_RGB32);
  for (auto _ : state) {
    image.fill(Qt::white);
    QPainter painter(&image);
    for (const TBareCurve& curve : curves) {
      QPen pen(curve.Color, 1);
      pen.setCapStyle(Qt::FlatCap);
      painter.setPen(pen);
      painter.drawPolyline(curve.Points);
    }
    painter.end();
    benchmark::DoNotOptimize(image.constBits());
  }
}
BENCHMARK(BM_BarePolylines)->Unit(benchmark::kMillisecond)->UseRealTime();

// The pieces the control itself draws (repeated pixels dropped, straight runs joined), drawn
// with a bare QPainter: what Qt's line drawing alone costs for this picture.
void BM_BarePieces(benchmark::State& state) {
  TWPGraph& graph = LoadedGraph().Graph();
  std::vector<TBareCurve> curves;
  const TAxisState& axes = graph.Axes();
  TGphData& data = graph.GetData();
  TCurvePath path;
  for (int r = 0; r < kRuns; ++r) {
    TRunData& run = *data.Run(static_cast<uint32_t>(r));
    for (int slot = 0; slot < 6; ++slot) {
      const TChannel& c = *run.FShown[static_cast<size_t>(slot)];
      const TRect& plot = graph.GraphRect((c.FAxis - 1) / 2);
      TCurveMap map;
      map.XMin = axes.FAxisMin[0];
      map.XPixPerUnit = axes.FPixPerUnit[0];
      map.YMin = axes.FAxisMin[c.FAxis];
      map.YPixPerUnit = axes.FPixPerUnit[c.FAxis];
      map.Height = plot.Height();
      path.Trace(*c.FX, c.FY, 0, kPoints - 1, map);
      for (int i = 0; i < path.PieceCount(); ++i) {
        TBareCurve curve;
        curve.Color = ToQColor(run.FPens[static_cast<size_t>(c.FAxis - 1)].FColor);
        for (const QPoint& p : path.Piece(i))
          curve.Points.append(p + QPoint(plot.Left, plot.Top));
        curves.push_back(std::move(curve));
      }
    }
  }
  QImage image(kWidth, kHeight, QImage::Format_RGB32);
  for (auto _ : state) {
    image.fill(Qt::white);
    QPainter painter(&image);
    for (const TBareCurve& curve : curves) {
      QPen pen(curve.Color, 1);
      pen.setCapStyle(Qt::FlatCap);
      painter.setPen(pen);
      painter.drawPolyline(curve.Points);
    }
    painter.end();
    benchmark::DoNotOptimize(image.constBits());
  }
}
BENCHMARK(BM_BarePieces)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  gLoadedGraph.reset();
  return 0;
}
