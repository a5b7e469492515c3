#pragma once

// A loaded graph control linked to a run list, with its registry in a temporary folder, and
// runs made by hand: each with a named channel on the Y axes it is given.

#include <gtest/gtest.h>

#include <initializer_list>
#include <memory>
#include <string>

#include "Registry.h"
#include "RunListView.h"
#include "TestSupport.h"
#include "WPGraph.h"

namespace tw_test {

inline constexpr const char* kGraphKey = "\\Software\\Halvorn Research Inc.\\Test\\Graph";

// A run `name` with one power channel on each of the given Y axes (-1: a channel not plotted).
inline std::unique_ptr<TRunData> MakeRun(const std::string& name,
                                         std::initializer_list<int> axes = {1, 2}) {
  auto run = std::make_unique<TRunData>();
  run->FFileName = name;
  run->FTitle = "Title of " + name;
  for (int axis : axes) {
    const uint32_t index = run->AddChannel(ctPower, 0, "Power");
    run->FChannels[index]->FAxis = axis;
  }
  return run;
}

class GraphControlTest : public ::testing::Test {
 protected:
  // Builds the control; with `key` its registry values live under that key. The host's
  // ResetColors puts the default colours into the slots, over what Loaded read.
  void Build(const std::string& key = {}, bool resetColors = true) {
    FGraph = std::make_unique<TWPGraph>();
    FGraph->SetRegistryRoot(FRoot.Path());
    FGraph->SetRegistryKey(key);
    FGraph->SetListView(&FList);
    FGraph->Loaded();
    if (resetColors) FGraph->ResetColors();
  }
  void SetUp() override { Build(); }

  // Appends a run to the data set and raises its OnAddRun, as the main window does.
  int AddRun(std::unique_ptr<TRunData> run) {
    TGphData& data = FGraph->GetData();
    const uint32_t index = data.AddRun(std::move(run));
    if (data.OnAddRun) data.OnAddRun(data);
    return static_cast<int>(index);
  }
  void AddRuns(int count) {
    for (int r = 0; r < count; ++r)
      AddRun(MakeRun("R" + std::to_string(r + 1) + ".DRF"));
  }
  TRunData& Run(int r) { return *FGraph->GetData().Run(static_cast<uint32_t>(r)); }
  TPen& Pen(int r, int k) { return Run(r).FPens[static_cast<size_t>(k)]; }

  // Writes values under the test key before the control reads them.
  template <class F>
  void WithKey(F write) {
    TRegistry registry(FRoot.Path());
    ASSERT_TRUE(registry.OpenKey(kGraphKey, true));
    write(registry);
    registry.CloseKey();
  }

  TTempDir FRoot;
  TRunListView FList;
  std::unique_ptr<TWPGraph> FGraph;
};

}  // namespace tw_test
