#pragma once

// A graph control shown off screen at a chosen size, linked to a run list, with runs made in the
// test: a time channel and value channels on chosen line slots over one gear segment.

#include <gtest/gtest.h>

#include <QColor>
#include <QImage>

#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "RecordedPicture.h"
#include "RunListView.h"
#include "TestSupport.h"
#include "WPGraph.h"

namespace tw_test {

// Values of one channel on line slot Slot (0..11; slot s is drawn on Y axis s mod 6 + 1).
struct TCurveSpec {
  int Slot = 0;
  std::vector<float> Y;
  uint32_t Type = ctPower;
};

// A run `name` whose channels share the X values `x` and one gear segment over all points.
inline std::unique_ptr<TRunData> MakeCurveRun(const std::string& name, const std::vector<float>& x,
                                              std::initializer_list<TCurveSpec> curves) {
  auto run = std::make_unique<TRunData>();
  run->FFileName = name;
  run->FTitle = "Title of " + name;
  auto gears = std::make_shared<TGears>();
  gears->FRatio = {1};
  gears->FStart = {0};
  gears->FEnd = {static_cast<uint32_t>(x.empty() ? 0 : x.size() - 1)};
  gears->FFlags = {0};
  TChannel& time = *run->FChannels[run->AddChannel(ctTime, ukTime, "Time")];
  time.FY = x;
  time.FGears = gears;
  run->FXChannels = {&time};
  for (const TCurveSpec& spec : curves) {
    TChannel& c = *run->FChannels[run->AddChannel(spec.Type, ukPower, "Power")];
    c.FX = &time.FY;
    c.FY = spec.Y;
    c.FAxis = SlotAxis(spec.Slot);
    c.FGears = gears;
    run->FShown[static_cast<size_t>(spec.Slot)] = &c;
  }
  return run;
}

// 0, 1, 2, ... n - 1.
inline std::vector<float> Ramp(int n, float step = 1) {
  std::vector<float> values;
  for (int i = 0; i < n; ++i)
    values.push_back(static_cast<float>(i) * step);
  return values;
}

class RenderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    FGraph = std::make_unique<TWPGraph>();
    FGraph->SetRegistryRoot(FRoot.Path());
    FGraph->setAttribute(Qt::WA_DontShowOnScreen);
    FGraph->resize(800, 600);
    FGraph->SetListView(&FList);
    FGraph->Loaded();
    FGraph->ResetColors();
    TGphData& data = FGraph->GetData();
    data.FXChannel = ctTime;
    data.FYChannel[0] = ctPower;
  }

  // Appends a run and raises OnAddRun as the main window does, then computes its ranges.
  int AddRun(std::unique_ptr<TRunData> run) {
    TGphData& data = FGraph->GetData();
    const uint32_t index = data.AddRun(std::move(run));
    if (data.OnAddRun) data.OnAddRun(data);
    data.CalcRunRanges(index, FGraph->ShowNegative());
    return static_cast<int>(index);
  }

  // Channel table and names for the axis buttons and labels, rebuilt at each data request as
  // the main window does (without recomputing the hand-made values).
  void UseChannelTable() {
    TGphData& data = FGraph->GetData();
    data.FUnits = BuildUnitSet(TUnitSet::SAE);
    data.BuildUnitNames();
    FGraph->OnRequestData = [this](QObject*) {
      TGphData& d = FGraph->GetData();
      d.BuildChannelTable();
      d.BuildChannelNames();
    };
  }

  // Shows the control and redraws it with fresh scales.
  void Draw() {
    FGraph->show();
    FGraph->ResetScale();
    FGraph->DrawGraph();
  }

  // The recorded picture of the control (Metafile), as it prints and exports.
  TRecordedPicture Record() {
    const std::unique_ptr<TMetafile> metafile = FGraph->Metafile();
    return TRecordedPicture(metafile->Picture(), metafile->Width(), metafile->Height());
  }

  // The pixel colour of the picture at (x, y).
  QColor Pixel(int x, int y) const { return FGraph->BackImage().pixelColor(x, y); }

  // The colour a run's pen k draws with.
  QColor PenColor(int run, int k) const {
    return ToQColor(
        FGraph->GetData().Run(static_cast<uint32_t>(run))->FPens[static_cast<size_t>(k)].FColor);
  }

  TTempDir FRoot;
  TRunListView FList;
  std::unique_ptr<TWPGraph> FGraph;
};

}  // namespace tw_test
