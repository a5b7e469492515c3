#include "Color.h"

#include <gtest/gtest.h>

#include <QPalette>

#include <optional>

TEST(Color, RgbValuesBothWays) {
  struct TCase {
    TColor Color;
    int R, G, B;
  };
  const TCase cases[] = {
      {clBlack, 0, 0, 0},           {clRed, 255, 0, 0},      {clBlue, 0, 0, 255},
      {clNavy, 0, 0, 128},          {0x0080FF, 255, 128, 0}, {clWhite, 255, 255, 255},
      {0x123456, 0x56, 0x34, 0x12},
  };
  for (const TCase& c : cases) {
    EXPECT_EQ(RGBColor(c.R, c.G, c.B), c.Color);
    EXPECT_EQ(ToQColor(c.Color), QColor(c.R, c.G, c.B)) << std::hex << c.Color;
    EXPECT_EQ(FromQColor(QColor(c.R, c.G, c.B)), c.Color);
    EXPECT_EQ(ColorToRGB(c.Color), c.Color);
  }
  EXPECT_EQ(FromQColor(QColor(1, 2, 3, 10)), 0x030201u);  // alpha dropped
}

TEST(Color, SystemColorsComeFromThePalette) {
  QPalette palette;
  palette.setColor(QPalette::Button, QColor(0x10, 0x11, 0x12));
  palette.setColor(QPalette::Dark, QColor(0x20, 0x21, 0x22));
  palette.setColor(QPalette::Light, QColor(0x30, 0x31, 0x32));
  palette.setColor(QPalette::Base, QColor(0x40, 0x41, 0x42));
  EXPECT_EQ(ColorToRGB(clBtnFace, palette), RGBColor(0x10, 0x11, 0x12));
  EXPECT_EQ(ColorToRGB(clBtnShadow, palette), RGBColor(0x20, 0x21, 0x22));
  EXPECT_EQ(ColorToRGB(clBtnHighlight, palette), RGBColor(0x30, 0x31, 0x32));
  EXPECT_EQ(ColorToRGB(clWindow, palette), RGBColor(0x40, 0x41, 0x42));
  EXPECT_EQ(ToQColor(clWindow, palette), QColor(0x40, 0x41, 0x42));
  EXPECT_EQ(ColorToRGB(kSystemColorFlag | 200, palette), clBlack);  // no such system colour
  EXPECT_EQ(ToQColor(clNone).alpha(), 0);
}

TEST(Color, ColourTextBothWays) {
  struct TCase {
    const char* Text;
    std::optional<TColor> Color;
  };
  const TCase cases[] = {
      {"clLime", clLime},
      {"CLLIME", clLime},
      {" clBtnFace ", clBtnFace},
      {"$00C08000", 0x00C08000},
      {"$ff", 0xFF},
      {"0x10", 0x10},
      {"255", 0xFF},
      {"-16777201", clBtnFace},
      {"$FF00000F", clBtnFace},
      {"", std::nullopt},
      {"$", std::nullopt},
      {"$-5", std::nullopt},
      {"lime", std::nullopt},
      {"12abc", std::nullopt},
      {"99999999999", std::nullopt},
      {"0x", std::nullopt},
      {"4294967295", 0xFFFFFFFF},
  };
  for (const TCase& c : cases)
    EXPECT_EQ(StringToColor(QString::fromLatin1(c.Text)), c.Color) << c.Text;

  EXPECT_EQ(ColorToString(clLime), "clLime");
  EXPECT_EQ(ColorToString(clBtnShadow), "clBtnShadow");
  EXPECT_EQ(ColorToString(0x00C08001), "$00C08001");
  for (TColor c : {clBlack, clAqua, clMoneyGreen, clInfoBk, clNone, 0x00ABCDEFu, 0xFF000019u}) {
    EXPECT_EQ(StringToColor(ColorToString(c)), c) << ColorToString(c).toStdString();
  }
}
