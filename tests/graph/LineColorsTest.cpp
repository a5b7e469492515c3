// Line colours and styles of the run slots, their registry values and the run icons.

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>

#include "GraphControlFixture.h"

namespace {

using tw_test::GraphControlTest;
using tw_test::kGraphKey;
using tw_test::MakeRun;

TColor IconPixel(const TWPGraph& graph, int icon, int x, int y) {
  return FromQColor(QColor(graph.LVImages()->Image(icon)->pixel(x, y)));
}

TEST_F(GraphControlTest, DefaultColorsPairEachColourWithItsMixHalfwayToWhite) {
  struct Case {
    int Slot;
    TColor First, Second;
  };
  const Case cases[] = {{0, clBlue, RGBColor(127, 127, 255)},
                        {2, clGreen, RGBColor(127, 191, 127)},
                        {5, clOlive, RGBColor(191, 191, 127)},
                        {10, RGBColor(255, 128, 0), RGBColor(255, 191, 127)},
                        {11, clAqua, RGBColor(127, 255, 255)}};
  for (const Case& c : cases) {
    EXPECT_EQ(FGraph->GetDefaultColor(c.Slot, 0), c.First) << "slot " << c.Slot;
    EXPECT_EQ(FGraph->GetDefaultColor(c.Slot, 1), c.Second) << "slot " << c.Slot;
  }
  EXPECT_EQ(FGraph->GetLineColor(12, 0), 0u);
  EXPECT_EQ(FGraph->GetLineColor(0, 2), 0u);
  EXPECT_EQ(FGraph->GetDefaultColor(-1, 0), 0u);
}

TEST_F(GraphControlTest, RunIconShowsBothPenColoursInABlackFrame) {
  AddRun(MakeRun("R1.DRF"));
  auto clean = MakeRun("R2.DRF");
  clean->FCleanRPM = 0;
  AddRun(std::move(clean));

  const TColor light = RGBColor(127, 127, 255);
  EXPECT_EQ(Pen(0, 0).FColor, clBlue);
  EXPECT_EQ(Pen(0, 1).FColor, light);
  EXPECT_EQ(IconPixel(*FGraph, 0, 7, 3), clBlue);  // left half: columns 0..7
  EXPECT_EQ(IconPixel(*FGraph, 0, 8, 3), light);   // right half: columns 8..15
  EXPECT_EQ(IconPixel(*FGraph, 0, 12, 14), light);
  for (const auto& [x, y] : std::vector<std::pair<int, int>>{{0, 7}, {15, 7}, {7, 0}, {7, 15}})
    EXPECT_EQ(IconPixel(*FGraph, 0, x, y), clBlack) << x << "," << y;
  // The diagonal marks a run whose engine speed was cleaned while reading.
  EXPECT_EQ(IconPixel(*FGraph, 0, 5, 5), clBlack);
  EXPECT_EQ(IconPixel(*FGraph, 0, 12, 12), clBlack);
  EXPECT_EQ(IconPixel(*FGraph, 1, 5, 5), clRed);
  EXPECT_EQ(IconPixel(*FGraph, 1, 12, 12), RGBColor(255, 127, 127));

  FGraph->setBWColors();
  FGraph->ResetColors();
  for (int k = 0; k < kRunPens; ++k)
    EXPECT_EQ(Pen(1, k).FColor, clBlack);
  EXPECT_EQ(IconPixel(*FGraph, 1, 4, 10), clBlack);
  EXPECT_EQ(IconPixel(*FGraph, 1, 11, 4), clBlack);
}

TEST_F(GraphControlTest, ResetColorsRecoloursTheLoadedRunsOnly) {
  AddRuns(3);
  Pen(2, 3) = TPen{clYellow, psDot, 2};
  FGraph->setBWColors();
  FGraph->ResetColors();
  for (int r = 0; r < 3; ++r) {
    for (int k = 0; k < kRunPens; ++k)
      EXPECT_EQ(Pen(r, k).FColor, clBlack) << r << "/" << k;
  }
  EXPECT_EQ(Pen(2, 3).FStyle, psDot);
  EXPECT_EQ(Pen(2, 3).FWidth, 2);

  // A run added later takes its slot's colours in force.
  AddRun(MakeRun("R4.DRF"));
  EXPECT_EQ(Pen(3, 0).FColor, clBlack);
}

TEST_F(GraphControlTest, RunPenWritesKeepTheirColourAndStyleInTheSlot) {
  AddRuns(2);
  FGraph->SetDataPen(1, 3, TPen{clTeal, psDashDot, 3});
  EXPECT_EQ(*FGraph->GetDataPen(1, 3), (TPen{clTeal, psDashDot, 3}));
  EXPECT_EQ(FGraph->GetLineColor(1, 1), clTeal);
  EXPECT_EQ(FGraph->GetLineStyle(1, 1), psDashDot);
  TPen dipped;
  EXPECT_TRUE(FGraph->DipPen(1, 1, dipped));
  EXPECT_EQ(dipped.FColor, clTeal);
  EXPECT_EQ(dipped.FStyle, psDashDot);

  // Outside the runs, slots or pens nothing is read or changed.
  FGraph->SetDataPen(2, 0, TPen{clTeal, psDash, 1});
  FGraph->SetDataPen(0, 6, TPen{clTeal, psDash, 1});
  EXPECT_NE(FGraph->GetLineColor(2, 0), clTeal);
  for (const auto& [run, k] : std::vector<std::pair<int, int>>{{2, 0}, {-1, 0}, {0, 6}, {0, -1}})
    EXPECT_EQ(FGraph->GetDataPen(run, k), nullptr) << run << "/" << k;
  EXPECT_FALSE(FGraph->DipPen(12, 0, dipped));
  EXPECT_FALSE(FGraph->DipPen(0, 2, dipped));
  EXPECT_EQ(dipped.FColor, clTeal);

  FGraph->ResetStyles();
  EXPECT_EQ(Pen(1, 3).FStyle, psSolid);
  EXPECT_EQ(FGraph->GetLineStyle(1, 1), psSolid);
}

TEST_F(GraphControlTest, LoadedReadsColoursStylesAndBoxPlacesFromTheRegistry) {
  WithKey([](TRegistry& registry) {
    registry.WriteString("DColor3-2", "clLime");
    registry.WriteString("DColor4-1", "not a colour");
    registry.WriteString("DColor5-1", "$00123456");
    registry.WriteInteger("DStyle3-1", 2);
    registry.WriteInteger("DStyle4-1", 300);
    registry.WriteFloat("Box0X", 40.5);
    registry.WriteFloat("Box0Y", -12.0);
    registry.WriteInteger("Box0Graph", 2);
    registry.WriteFloat("Box1X", std::nan(""));
    registry.WriteFloat("Box1Y", 1e30);
    registry.WriteInteger("Box1Graph", 7);
    registry.WriteString("Box2X", "40");
  });
  FGraph.reset();
  Build(kGraphKey, false);

  EXPECT_EQ(FGraph->GetLineColor(3, 1), clLime);
  EXPECT_EQ(FGraph->GetLineColor(3, 0), clNavy);  // absent: the slot's default
  EXPECT_EQ(FGraph->GetLineColor(4, 0), clMaroon);
  EXPECT_EQ(FGraph->GetLineColor(5, 0), 0x00123456u);
  EXPECT_EQ(FGraph->GetLineStyle(3, 0), psDot);
  EXPECT_EQ(FGraph->GetLineStyle(4, 0), psSolid);

  EXPECT_EQ(FGraph->LabelBox(0)->XPercent(), 40.5f);
  EXPECT_EQ(FGraph->LabelBox(0)->YPercent(), -12.0f);
  EXPECT_EQ(FGraph->LabelBox(0)->GraphIndex(), 2);
  // Values the control never writes leave the box at its place.
  EXPECT_EQ(FGraph->LabelBox(1)->XPercent(), 5.0f);
  EXPECT_EQ(FGraph->LabelBox(1)->YPercent(), 5.0f);
  EXPECT_EQ(FGraph->LabelBox(1)->GraphIndex(), 1);
  EXPECT_EQ(FGraph->LabelBox(2)->XPercent(), 5.0f);
}

TEST_F(GraphControlTest, ResetColorsAndStylesRewriteOnlyTheValuesThatExist) {
  WithKey([](TRegistry& registry) {
    registry.WriteString("DColor5-1", "clRed");
    registry.WriteInteger("DStyle5-2", 3);
  });
  FGraph.reset();
  Build(kGraphKey);  // Loaded reads, then ResetColors rewrites
  FGraph->ResetStyles();

  TRegistry registry(FRoot.Path());
  ASSERT_TRUE(registry.OpenKey(kGraphKey, false));
  EXPECT_EQ(registry.ReadString("DColor5-1").ValueOr(""), "clOlive");
  EXPECT_EQ(registry.ReadInteger("DStyle5-2").ValueOr(-1), 0);
  EXPECT_FALSE(registry.ValueExists("DColor5-2"));
  EXPECT_FALSE(registry.ValueExists("DStyle5-1"));
}

TEST_F(GraphControlTest, BoxPlacesAreWrittenAtDestructionOnlyWithARegistryKey) {
  FGraph.reset();
  EXPECT_TRUE(std::filesystem::is_empty(FRoot.Path()));

  Build(kGraphKey);
  FGraph->LabelBox(3)->SetXPercent(33.0f);
  FGraph->LabelBox(3)->SetGraphIndex(1);
  FGraph.reset();
  TRegistry registry(FRoot.Path());
  ASSERT_TRUE(registry.OpenKey(kGraphKey, false));
  EXPECT_EQ(registry.ReadFloat("Box3X").ValueOr(0), 33.0);
  EXPECT_EQ(registry.ReadInteger("Box3Graph").ValueOr(-1), 1);
  EXPECT_TRUE(registry.ValueExists("Box7Y"));
}

TEST_F(GraphControlTest, PaletteComesFromAValidFileElseFromTheColourCube) {
  const std::vector<TPaletteEntry> cube = FGraph->GetPalette(FRoot / "missing.pal");
  ASSERT_EQ(cube.size(), 256u);
  EXPECT_EQ(cube[0], (TPaletteEntry{0, 0, 0, 0}));
  EXPECT_EQ(cube[3], (TPaletteEntry{0, 0, 255, 0}));
  EXPECT_EQ(cube[146], (TPaletteEntry{145, 145, 170, 0}));
  EXPECT_EQ(cube[255], (TPaletteEntry{255, 255, 255, 0}));
  EXPECT_EQ(FGraph->GetPalette(FRoot.Path()), cube);  // a folder is no palette

  const std::filesystem::path file = FRoot / "benchlog95.pal";
  {
    std::ofstream out(file, std::ios::binary);
    const unsigned char bytes[] = {'R', 'I', 'F', 'F', 0,   0, 0,  0,  'P', 'A', 'L',
                                   ' ', 'd', 'a', 't', 'a', 0, 0,  0,  0,   0,   3,
                                   2,   0,   10,  20,  30,  0, 40, 50, 60,  1};
    out.write(reinterpret_cast<const char*>(bytes), sizeof bytes);
  }
  EXPECT_EQ(FGraph->GetPalette(file),
            (std::vector<TPaletteEntry>{{10, 20, 30, 0}, {40, 50, 60, 1}}));
}

}  // namespace
