// The graph control's construction, properties, events and strings.

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "GraphControlFixture.h"

namespace {

using tw_test::GraphControlTest;

TEST_F(GraphControlTest, ConstructionGivesTheDesignedState) {
  TWPGraph graph;
  EXPECT_EQ(graph.NumGraphs(), 1);
  EXPECT_TRUE(graph.AutoScaling() && graph.SnapToScale() && graph.ForceScale() &&
              graph.ShowNegative() && graph.ShowShadow() && graph.ShowTickarks());
  EXPECT_EQ(graph.Buffer(), 0);
  EXPECT_EQ(graph.ZoomMode(), zmZoom);
  EXPECT_EQ(graph.AxisButton(), 1);
  EXPECT_EQ(graph.MinZoomMult(), 2.0f);
  EXPECT_EQ(graph.MainTitle(), "HALVORN RESEARCH");
  EXPECT_EQ(graph.MainTitleFont().FName, "Verdana");
  EXPECT_EQ(graph.MainTitleFont().FHeight, -10);
  EXPECT_TRUE(graph.MainTitleFont().Bold());
  EXPECT_EQ(graph.AxisLabelFont().FHeight, -11);
  EXPECT_EQ(graph.CursorFont(), graph.MainTitleFont());
  EXPECT_EQ(graph.ColorFade(), clBtnFace);
  EXPECT_EQ(graph.ColorShadow(), clBtnShadow);
  for (int32_t entry : graph.GetData().FAxisEntry)
    EXPECT_EQ(entry, -1);

  // The axis buttons: hidden drop-down buttons, Y captions turned towards their plot.
  const int orientations[kAxisCount] = {0, 900, 2700, 900, 2700, 900, 2700};
  for (int a = 0; a < kAxisCount; ++a) {
    const TPanelButton* button = graph.AxisBtn(a);
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->Caption(), "AXIS BUTTON");
    EXPECT_EQ(button->Style(), pbsDropDown);
    EXPECT_EQ(button->Tag(), 0);
    EXPECT_FALSE(button->isVisibleTo(&graph));
    EXPECT_EQ(button->Orientation(), orientations[a]) << "axis " << a;
  }
  EXPECT_EQ(graph.AxisBtn(7), nullptr);

  // Label boxes 1 and 6 start on graph 1, 2 and 7 on graph 2.
  ASSERT_EQ(graph.NumLabelBoxes(), kFixedLabelBoxes);
  const int boxGraphs[kFixedLabelBoxes] = {0, 1, 2, 0, 0, 0, 1, 2};
  for (int n = 0; n < kFixedLabelBoxes; ++n) {
    EXPECT_EQ(graph.LabelBox(n)->GraphIndex(), boxGraphs[n]) << "box " << n;
    EXPECT_EQ(graph.LabelBox(n)->Style(), pbsDrag);
  }
}

TEST_F(GraphControlTest, NumGraphsIsClampedAndAskedForPermissionWhenItShrinks) {
  int permissions = 0;
  FGraph->OnRequestPermissions = [&](QObject* sender, TGphData& data) {
    EXPECT_EQ(sender, FGraph.get());
    EXPECT_EQ(&data, &FGraph->GetData());
    ++permissions;
  };
  struct Case {
    int Set, Stored, Permissions;
  };
  const Case cases[] = {{5, 3, 0}, {3, 3, 0}, {-1, 0, 1}, {2, 2, 1}, {1, 1, 2}};
  for (const Case& c : cases) {
    FGraph->SetNumGraphs(c.Set);
    EXPECT_EQ(FGraph->NumGraphs(), c.Stored) << "set " << c.Set;
    EXPECT_EQ(permissions, c.Permissions) << "set " << c.Set;
  }
}

TEST_F(GraphControlTest, LabelTypeAndRatioOutsideTheirRangesAreIgnored) {
  for (const auto& [set, stored] : std::vector<std::pair<int, int>>{{5, 5}, {6, 0}, {-1, 0}}) {
    FGraph->SetLabelType(set);
    EXPECT_EQ(FGraph->LabelType(), stored) << "set " << set;
  }

  FGraph->SetRatio(1, 3.0f);
  FGraph->SetRatio(3, 7.0f);
  FGraph->SetRatio(-1, 7.0f);
  FGraph->SetRatio(2, std::nanf(""));
  EXPECT_EQ(FGraph->GetRatio(0), 1.0f);
  EXPECT_EQ(FGraph->GetRatio(1), 3.0f);
  EXPECT_EQ(FGraph->GetRatio(2), 1.0f);
  EXPECT_EQ(FGraph->GetRatio(3), 0.0f);
  EXPECT_EQ(FGraph->GetRatio(-1), 0.0f);
}

TEST_F(GraphControlTest, ScaleSwitchesRaiseTheirEventsOnlyOnAChange) {
  std::vector<std::string> events;
  FGraph->OnAutoScalingChange = [&](QObject*) { events.push_back("auto"); };
  FGraph->OnSnapToScaleChange = [&](QObject*) { events.push_back("snap"); };
  FGraph->OnForceScaleChange = [&](QObject*) { events.push_back("force"); };

  FGraph->SetAutoScale(false);
  FGraph->SetSnapToScale(false);
  FGraph->SetForceScl(true);  // unchanged
  EXPECT_EQ(events, (std::vector<std::string>{"auto", "snap"}));

  // Automatic scaling snaps to the scale again: that event comes first.
  events.clear();
  FGraph->SetAutoScale(true);
  FGraph->SetAutoScale(true);
  EXPECT_EQ(events, (std::vector<std::string>{"snap", "auto"}));
  EXPECT_TRUE(FGraph->SnapToScale());
}

TEST_F(GraphControlTest, PropertiesPassTheirValuesOn) {
  FGraph->SetBuffer(10);
  EXPECT_EQ(FGraph->GetData().FMarginPercent, 10.0f);

  FGraph->SetColorAxisLabel(clRed);
  FGraph->SetColorAxisScale(clBlue);
  FGraph->SetColorBorder(clWhite);
  EXPECT_EQ(FGraph->AxisBtnFont().FColor, clRed);
  EXPECT_EQ(FGraph->AxisLabelFont().FColor, clBlue);
  EXPECT_EQ(FGraph->Color(), clWhite);

  FGraph->SetReadOnly(true);
  for (int a = 0; a < kAxisCount; ++a)
    EXPECT_FALSE(FGraph->AxisBtn(a)->isEnabled());
  FGraph->SetReadOnly(false);
  EXPECT_TRUE(FGraph->AxisBtn(6)->isEnabled());

  const int32_t ids[] = {3, 13, 21, 4};
  FGraph->SetAxisChannels(ids);
  const TGphData& data = FGraph->GetData();
  EXPECT_EQ(data.FXChannel, 3);
  EXPECT_EQ(data.FYChannel[0], 13);
  EXPECT_EQ(data.FYChannel[1], 21);
  EXPECT_EQ(data.FYChannel[2], 4);
  EXPECT_EQ(data.FYChannel[3], 0);
}

TEST_F(GraphControlTest, GraphStringsComeFromTheHostOrTheDefaults) {
  EXPECT_EQ(FGraph->GetGraphString(0), "NONE");
  EXPECT_EQ(FGraph->GetGraphString(16), "Max");
  EXPECT_EQ(FGraph->GetGraphString(27), "OK");
  EXPECT_EQ(FGraph->GetGraphString(28), "");
  EXPECT_EQ(FGraph->GetGraphString(-1), "");

  // The host's hook gets an empty list and the count; what it leaves out reads "".
  int asked = 0;
  FGraph->SetOnLoadStrings([&](QStringList& strings, int count) {
    asked = count;
    EXPECT_TRUE(strings.isEmpty());
    strings << "SAE"
            << "TRACEWELL"
            << "Dünn";
  });
  FGraph->LoadStrings();
  EXPECT_EQ(asked, 28);
  EXPECT_EQ(FGraph->GetGraphString(0), "SAE");
  EXPECT_EQ(FGraph->GetGraphString(2), "Dünn");
  EXPECT_EQ(FGraph->GetGraphString(3), "");
}

TEST_F(GraphControlTest, ReInitReloadsTheStringsOnlyWhenShown) {
  QString name = "SAE";
  FGraph->SetOnLoadStrings([&](QStringList& strings, int) { strings << name; });
  FGraph->LoadStrings();
  name = "DIN";
  FGraph->ReInit();
  EXPECT_EQ(FGraph->GetGraphString(0), "SAE");
  FGraph->show();
  FGraph->ReInit();
  EXPECT_EQ(FGraph->GetGraphString(0), "DIN");
}

}  // namespace
