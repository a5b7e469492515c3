// Small parts of the window: the gear-ratio column, the list background ramp, and the start-up
// language with its font check.

#include <QImage>

#include <cmath>
#include <limits>

#include <gtest/gtest.h>

#include "Language.h"
#include "ListBackground.h"
#include "RunTexts.h"
#include "StartupLanguage.h"
#include "StringIds.h"

namespace {

TEST(RunTextsTest, GearRatioColumn) {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const struct {
    std::vector<float> Ratios;  // empty: no X channel
    int Selected;
    const char* Text;
  } cases[] = {
      {{}, 0, "N/A"},       {{1.0f}, 0, "N/A"},    {{3.456f}, 0, "3.46"}, {{1.0f, 2.5f}, 1, "2.50"},
      {{3.456f}, 1, "N/A"}, {{3.456f}, -1, "N/A"}, {{nan}, 0, "N/A"},
  };
  for (const auto& c : cases) {
    TRunData run;
    TChannel x;
    if (!c.Ratios.empty()) {
      x.FGears = std::make_shared<TGears>();
      x.FGears->FRatio = c.Ratios;
      x.FGears->FSelected = c.Selected;
      run.FXChannels.push_back(&x);
    }
    EXPECT_EQ(GearRatioText(run), QString::fromUtf8(c.Text));
  }
  TRunData noGears;
  TChannel bare;
  noGears.FXChannels.push_back(&bare);
  EXPECT_EQ(GearRatioText(noGears), QStringLiteral("N/A"));
}

TEST(ListBackgroundTest, RampInBandsFromWindowToButtonFace) {
  const QImage ramp =
      MakeListBackground(QSize(100, 4), QColor(255, 255, 255), QColor(245, 240, 250));
  // 15 bands (the largest step, green), each 100/15 pixels wide.
  EXPECT_EQ(ramp.pixelColor(0, 0), QColor(255, 255, 255));
  EXPECT_EQ(ramp.pixelColor(7, 3), QColor(254, 254, 255));   // band 1
  EXPECT_EQ(ramp.pixelColor(99, 0), QColor(246, 241, 250));  // band 14
  const QImage flat = MakeListBackground(QSize(30, 2), QColor(10, 20, 30), QColor(10, 20, 30));
  EXPECT_EQ(flat.pixelColor(29, 1), QColor(10, 20, 30));
  EXPECT_FALSE(MakeListBackground(QSize(0, 0), Qt::white, Qt::gray).isNull());
}

TEST(StartupLanguageTest, ScriptWithoutAFaceFallsBackToEnglish) {
  const struct {
    std::int32_t Stored;
    bool Japanese, Chinese;
    int Offset;
    std::int32_t Language;
    int Message;
  } cases[] = {
      {1041, false, true, kOffsetEnglish, 1033, kStrNoJapaneseFont},
      {1041, true, false, kOffsetJapanese, 1041, 0},
      {2052, true, false, kOffsetEnglish, 1033, kStrNoChineseFont},
      {1028, false, true, kOffsetChinese, 1028, 0},
      {1031, false, false, kOffsetGerman, 1031, 0},
  };
  for (const auto& c : cases) {
    const TStartupLanguage result = SetStartupLanguage(c.Stored, c.Japanese, c.Chinese);
    EXPECT_EQ(result.Offset, c.Offset) << c.Stored;
    EXPECT_EQ(GetLanguageOffset(), c.Offset) << c.Stored;
    EXPECT_EQ(result.Language, c.Language) << c.Stored;
    EXPECT_EQ(result.MessageId, c.Message) << c.Stored;
  }
  SetLanguage(kLangIdEnglish);
}

}  // namespace
