// The graph's runs: rows, pens and icons as runs come and go, and line widening by selection.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "GraphControlFixture.h"

namespace {

using tw_test::GraphControlTest;
using tw_test::MakeRun;

TEST_F(GraphControlTest, NewRunAsksForDataAndAddsRowPensAndIcon) {
  std::vector<std::string> events;
  FGraph->OnRequestPermissions = [&](QObject*, TGphData&) { events.push_back("permissions"); };
  FGraph->OnRequestData = [&](QObject*) { events.push_back("data"); };

  auto run = MakeRun("R1.DRF");
  run->FTitle = "Caf\xe9 pull";  // Windows-1252 bytes
  run->FType = "Chassis";
  run->FPath = "/runs/R1.DRF";
  AddRun(std::move(run));
  EXPECT_EQ(events, (std::vector<std::string>{"permissions", "data"}));

  ASSERT_EQ(FList.Count(), 1);
  EXPECT_EQ(FList.Caption(0), "R1.DRF");
  EXPECT_EQ(FList.SubItemCount(0), 5);
  EXPECT_EQ(FList.SubItem(0, 0), "Café pull");
  EXPECT_EQ(FList.SubItem(0, 2), "Chassis");
  EXPECT_EQ(FList.SubItem(0, 3), "/runs/R1.DRF");
  EXPECT_EQ(FList.SubItem(0, 4), "N/A");  // no X channel yet
  EXPECT_EQ(FList.ImageIndex(0), 0);
  EXPECT_EQ(FGraph->LVImages()->Count(), 1);
  EXPECT_EQ(FGraph->NumRuns(), 1);

  // Even pens draw the left axes in the slot's first colour, odd pens the right ones.
  for (int k = 0; k < kRunPens; ++k)
    EXPECT_EQ(Pen(0, k).FColor, FGraph->GetLineColor(0, k % 2)) << "pen " << k;
}

TEST_F(GraphControlTest, RatioColumnShowsTheSelectedGearOfTheXChannel) {
  struct Case {
    float Ratio;
    const char* Text;
  };
  const Case cases[] = {{3.456f, "3.46"}, {1.0f, "N/A"}, {std::nanf(""), "N/A"}};
  for (const Case& c : cases) {
    auto run = MakeRun("R.DRF");
    const uint32_t x = run->AddChannel(ctSpeed, 0, "Speed");
    run->ResetGears(*run->FChannels[x], 2);
    run->FChannels[x]->FGears->FRatio[1] = c.Ratio;
    run->FChannels[x]->FGears->FSelected = 1;
    run->FXChannels.push_back(run->FChannels[x].get());
    const int r = AddRun(std::move(run));
    EXPECT_EQ(FList.SubItem(r, 4), c.Text) << c.Ratio;
  }
}

TEST_F(GraphControlTest, TheThirteenthRunGetsNoRowPensOrIcon) {
  AddRuns(12);
  AddRun(MakeRun("R13.DRF"));
  EXPECT_EQ(FGraph->GetData().NumRuns(), 13u);
  EXPECT_EQ(FGraph->NumRuns(), 12);
  EXPECT_EQ(FList.Count(), 12);
  EXPECT_EQ(FGraph->LVImages()->Count(), 12);
  EXPECT_EQ(Pen(12, 0), TPen{});
  EXPECT_EQ(FGraph->GetDataPen(12, 0), nullptr);
}

TEST_F(GraphControlTest, DeletingARunMovesLaterRunsIntoLowerSlotsKeepingTheirStyles) {
  AddRuns(3);
  // Slot 2 gets its own colour and style, which run 2 takes over.
  FGraph->SetDataPen(2, 0, TPen{clYellow, psDash, 1});
  FGraph->DeleteRun(1);

  ASSERT_EQ(FGraph->NumRuns(), 2);
  EXPECT_EQ(Run(1).FFileName, "R3.DRF");
  EXPECT_EQ(Pen(1, 0).FColor, FGraph->GetLineColor(1, 0));
  EXPECT_EQ(Pen(1, 1).FColor, FGraph->GetLineColor(1, 1));
  EXPECT_EQ(Pen(1, 0).FStyle, psDash);
  // The row and the icon move up with the run.
  ASSERT_EQ(FList.Count(), 2);
  EXPECT_EQ(FList.Caption(1), "R3.DRF");
  ASSERT_EQ(FGraph->LVImages()->Count(), 2);
  EXPECT_EQ(FromQColor(QColor(FGraph->LVImages()->Image(1)->pixel(4, 10))),
            ColorToRGB(FGraph->GetLineColor(1, 0)));
}

TEST_F(GraphControlTest, RejectedDeleteChangesNothingAndTheLastDeleteClearsTheRuns) {
  AddRuns(1);
  int permissions = 0, requests = 0;
  FGraph->OnRequestPermissions = [&](QObject*, TGphData&) { ++permissions; };
  FGraph->OnRequestData = [&](QObject*) { ++requests; };

  FGraph->DeleteRun(5);
  FGraph->DeleteRun(-1);
  EXPECT_EQ(FGraph->NumRuns(), 1);
  EXPECT_EQ(FList.Count(), 1);
  EXPECT_EQ(permissions, 2);
  EXPECT_EQ(requests, 0);

  FGraph->AxisBtn(3)->SetTag(5);
  FGraph->DeleteRun(0);
  EXPECT_EQ(FGraph->NumRuns(), 0);
  EXPECT_EQ(FList.Count(), 0);
  EXPECT_EQ(FGraph->LVImages()->Count(), 0);
  EXPECT_EQ(requests, 1);
  EXPECT_EQ(FGraph->AxisBtn(3)->Tag(), 0);
  EXPECT_EQ(FGraph->GetData().FAxisEntry[3], 0);
}

TEST_F(GraphControlTest, SelectingARowWidensItsPlottedLinesAndDeselectingRestoresThem) {
  // The host's handler is on the list before the graph is linked; the graph calls it after
  // its own handling.
  std::vector<std::pair<int, bool>> hostCalls;
  FGraph.reset();
  FList.OnSelectItem = [&](QObject*, int item, bool selected) {
    hostCalls.emplace_back(item, selected);
  };
  Build();
  AddRun(MakeRun("R1.DRF", {1, 2, -1}));
  Pen(0, 1).FWidth = 3;  // drawn wide already: left alone and not recorded

  FList.topLevelItem(0)->setSelected(true);
  EXPECT_EQ(Pen(0, 0).FWidth, 2);
  EXPECT_EQ(Pen(0, 1).FWidth, 3);
  EXPECT_EQ(Pen(0, 2).FWidth, 1);
  ASSERT_EQ(FGraph->NumSelected(), 1);
  EXPECT_EQ(FGraph->SelectedRun(0), 0);
  EXPECT_EQ(FGraph->SelectedLine(0), 1);

  FList.topLevelItem(0)->setSelected(false);
  EXPECT_EQ(Pen(0, 0).FWidth, 1);
  EXPECT_EQ(Pen(0, 1).FWidth, 3);
  EXPECT_EQ(FGraph->NumSelected(), 0);
  EXPECT_EQ(hostCalls, (std::vector<std::pair<int, bool>>{{0, true}, {0, false}}));
}

TEST_F(GraphControlTest, AtMostTwentyLinesAreWidened) {
  AddRuns(12);  // 24 plotted lines
  FList.selectAll();
  EXPECT_EQ(FGraph->NumSelected(), kMaxSelected);
  int wide = 0;
  for (int r = 0; r < 12; ++r) {
    for (int k = 0; k < 2; ++k)
      wide += Pen(r, k).FWidth == 2;
  }
  EXPECT_EQ(wide, kMaxSelected);
}

TEST_F(GraphControlTest, DeletingASelectedRunDropsItsLinesAndRenumbersLaterOnes) {
  AddRuns(3);
  FList.topLevelItem(0)->setSelected(true);
  FList.topLevelItem(2)->setSelected(true);
  ASSERT_EQ(FGraph->NumSelected(), 4);

  FGraph->DeleteRun(0);
  ASSERT_EQ(FGraph->NumSelected(), 2);
  for (int k = 0; k < 2; ++k)
    EXPECT_EQ(FGraph->SelectedRun(k), 1);
  // The run that took index 0 was never selected and keeps thin lines.
  EXPECT_EQ(Pen(0, 0).FWidth, 1);
  EXPECT_EQ(Pen(1, 0).FWidth, 2);

  FList.topLevelItem(1)->setSelected(false);
  EXPECT_EQ(FGraph->NumSelected(), 0);
  EXPECT_EQ(Pen(1, 0).FWidth, 1);
}

}  // namespace

TEST_F(GraphControlTest, AxisBtnTagsFollowTheChannelTable) {
  auto run = MakeRun("R.DRF");
  run->AddChannel(ctSpeed, ukSpeed, "Speed");
  AddRun(std::move(run));
  TGphData& data = FGraph->GetData();
  data.FXChannel = ctSpeed;
  data.FYChannel[0] = ctPower;
  data.FYChannel[1] = ChannelID(7, ctTorque);  // in no run: the button shows "none"
  data.BuildChannelTable();
  data.BuildChannelNames();
  FGraph->AxisBtn(2)->SetTag(2);  // a stale entry left from an earlier table

  FGraph->SetAxisBtnTags();
  const auto entryOf = [&](int32_t id) {
    for (size_t i = 0; i < data.FChannelIDs.size(); ++i)
      if (data.FChannelIDs[i] == id) return static_cast<int>(i);
    return -1;
  };
  EXPECT_EQ(FGraph->AxisBtn(0)->Tag(), entryOf(ctSpeed));
  EXPECT_EQ(FGraph->AxisBtn(1)->Tag(), entryOf(ctPower));
  EXPECT_EQ(FGraph->AxisBtn(2)->Tag(), 0);
  EXPECT_EQ(data.FAxisEntry[1], entryOf(ctPower));
}
