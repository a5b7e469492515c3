// The label boxes: which box each label type shows, the rows it fills, and a box dragged into
// another graph.

#include <gtest/gtest.h>

#include <set>

#include "NumberFormat.h"
#include "RenderFixture.h"

namespace {

using tw_test::MakeCurveRun;
using tw_test::Ramp;
using tw_test::RenderTest;

class LabelsTest : public RenderTest {
 protected:
  // Two runs with power on the left axis of graph 0 and air/fuel on its right one.
  void SetUp() override {
    RenderTest::SetUp();
    UseChannelTable();
    TGphData& data = FGraph->GetData();
    data.FYChannel[1] = ctAirFuel;
    for (const char* name : {"R1.DRF", "R2.DRF"}) {
      AddRun(MakeCurveRun(name, Ramp(20),
                          {{0, Ramp(20, 3), ctPower}, {1, Ramp(20, 0.5f), ctAirFuel}}));
    }
    FGraph->show();
  }

  std::set<int> Shown() const {
    std::set<int> shown;
    for (int i = 0; i < FGraph->NumLabelBoxes(); ++i)
      if (!FGraph->LabelBox(i)->isHidden()) shown.insert(i);
    return shown;
  }
  QString Cell(int box, int row, int cell) const {
    return FGraph->LabelBox(box)->Label(row, cell)->Caption();
  }
  std::string ChannelName(int axis) const {
    return FGraph->GetData().FChannelNames[static_cast<size_t>(FGraph->AxisBtn(axis)->Tag())];
  }
};

TEST_F(LabelsTest, EachTypeShowsItsOwnBox) {
  const struct {
    int type;
    std::set<int> shown;
  } cases[] = {{0, {}}, {1, {0}}, {2, {3}}, {3, {4}}, {5, {5}}, {6, {}}};
  for (const auto& c : cases) {
    FGraph->SetLabelType(c.type);
    EXPECT_EQ(Shown(), c.shown) << "type " << c.type;
  }
}

TEST_F(LabelsTest, MaximumValuesNameThePlottedChannelButNotAirFuel) {
  FGraph->SetLabelType(1);
  const TMultiLabel& box = *FGraph->LabelBox(0);
  ASSERT_EQ(box.NumLabels(), 2);
  for (int row = 0; row < 2; ++row) {
    const TRunData& run = *FGraph->GetData().Run(static_cast<uint32_t>(row));
    const std::string expected =
        Format("%s Max %s = %f ", {run.FFileName, ChannelName(1), run.FShown[0]->FYMax});
    EXPECT_EQ(Cell(0, row, 0).toStdString(), expected);
    EXPECT_EQ(Cell(0, row, 1), "") << "the air/fuel channel is not listed";
  }
  EXPECT_EQ(Cell(0, 0, 0), "R1.DRF Max Power = 57.00 ");

  // A graph whose lines are only air/fuel (or gear) channels has no maximum worth a box.
  for (uint32_t r = 0; r < 2; ++r) {
    TRunData& run = *FGraph->GetData().Run(r);
    run.FShown[0] = run.FShown[1];
  }
  FGraph->DrawGraph();
  EXPECT_TRUE(FGraph->LabelBox(0)->isHidden());
}

TEST_F(LabelsTest, ConditionsAndTitlesHaveOneRowPerRunWithItsIcon) {
  FGraph->SetLabelType(2);
  const TMultiLabel& conditions = *FGraph->LabelBox(3);
  ASSERT_EQ(conditions.NumLabels(), 2);
  for (int row = 0; row < 2; ++row) {
    EXPECT_EQ(Cell(3, row, 0), FGraph->GetConditionsString(row));
    EXPECT_TRUE(conditions.Label(row, 1)->isHidden());
    EXPECT_EQ(conditions.Label(row, 1)->width(), 0);
    const QImage* icon = conditions.GetIconImage(row);
    ASSERT_NE(icon, nullptr) << "row " << row;
    EXPECT_EQ(*icon, *FGraph->LVImages()->Image(row));
  }
  // The box sits at its percentages of the top plot.
  const TRect& plot = FGraph->GraphRect(0);
  EXPECT_EQ(conditions.pos(), QPoint(static_cast<int>(plot.Left + 0.05 * plot.Width()),
                                     static_cast<int>(plot.Top + 0.05 * plot.Height())));

  // The recording for printing carries the rows' texts where the box shows them.
  const auto printed = Record().TextsReading(Cell(3, 1, 0));
  ASSERT_EQ(printed.size(), 1u);
  EXPECT_EQ(printed[0].Baseline.x(), conditions.x() + conditions.Label(1, 0)->x());

  FGraph->SetLabelType(3);
  EXPECT_EQ(Cell(4, 1, 0), "R2.DRF Title of R2.DRF");

  // Back to maximum values: the second cells come back into view.
  FGraph->SetLabelType(1);
  EXPECT_FALSE(FGraph->LabelBox(0)->Label(0, 1)->isHidden());
}

TEST_F(LabelsTest, AreasShowBothChannelsInTheirLineColours) {
  FGraph->GetData().Run(0)->FShown[0]->FArea = 12.5f;
  FGraph->SetLabelType(5);
  const TMultiLabel& box = *FGraph->LabelBox(5);
  EXPECT_EQ(Cell(5, 0, 0).toStdString(), "R1.DRF Area " + ChannelName(1) + " = 12.50");
  EXPECT_EQ(Cell(5, 0, 1).toStdString(), "R1.DRF Area " + ChannelName(2) + " = 0.00");
  const TRunData& run = *FGraph->GetData().Run(0);
  EXPECT_EQ(box.Label(0, 0)->Font().FColor, run.FPens[0].FColor);
  EXPECT_EQ(box.Label(0, 1)->Font().FColor, run.FPens[1].FColor);
}

TEST_F(LabelsTest, ABoxDraggedIntoTheLowerGraphJoinsIt) {
  FGraph->SetNumGraphs(2);
  FGraph->SetLabelType(1);
  FGraph->DrawGraph();
  TMultiLabel& box = *FGraph->LabelBox(0);
  const TRect& lower = FGraph->GraphRect(1);
  const int x = lower.Left + lower.Width() / 4;
  const int y = lower.Top + lower.Height() / 2;
  box.move(x, y);
  FGraph->LabelMoved(&box, FGraph.get(), x, y);
  EXPECT_EQ(box.GraphIndex(), 1);
  EXPECT_FLOAT_EQ(box.XPercent(), (x - lower.Left) * 100.0f / lower.Width());
  EXPECT_FLOAT_EQ(box.YPercent(), (y - lower.Top) * 100.0f / lower.Height());
  EXPECT_EQ(box.RefRect(), QRect(lower.Left, lower.Top, lower.Width(), lower.Height()));

  // Within its own graph's band the box stays where it belongs.
  FGraph->LabelMoved(&box, FGraph.get(), x, y + 1);
  EXPECT_EQ(box.GraphIndex(), 1);
}

}  // namespace
