// Settings: the defaults of an empty store, the rules for stored values, a save and load
// round trip, and the window placement record.

#include <QComboBox>
#include <QGuiApplication>
#include <QScreen>
#include <QSlider>

#include <functional>

#include "AppFixture.h"
#include "Registry.h"
#include "RegistryTable.h"
#include "SettingsKeys.h"
#include "WPGraph.h"
#include "WindowPlacement.h"

namespace {

class SettingsTest : public TAppTest {
 protected:
  // Runs `write` on the key at `path` of this test's store.
  void Store(std::string_view path, const std::function<void(TRegistry&)>& write) {
    TRegistry registry(Root());
    ASSERT_TRUE(registry.OpenKey(path, true));
    write(registry);
    ASSERT_TRUE(registry.CloseKey());
  }
};

TEST_F(SettingsTest, EmptyStoreGivesTheDocumentedDefaults) {
  const auto form = MakeForm();
  const TWPGraph& graph = *form->Controls().Graph;
  const TGphData& data = form->Data();
  EXPECT_EQ(data.FCFIndex, 1);  // SAE
  EXPECT_EQ(data.FSmoothing, 5);
  EXPECT_EQ(graph.LabelType(), 2);  // conditions
  EXPECT_EQ(graph.NumGraphs(), 1);
  EXPECT_EQ(data.FXChannel, 2);      // speed
  EXPECT_EQ(data.FYChannel[0], 13);  // power
  for (size_t slot = 1; slot < data.FYChannel.size(); ++slot)
    EXPECT_EQ(data.FYChannel[slot], 0) << slot;
  EXPECT_TRUE(form->SaveOnExitEnabled());
  EXPECT_EQ(form->LanguageChoice(), -1);
  EXPECT_EQ(form->GetToolbarSize(), 16);
  EXPECT_EQ(graph.ZoomMode(), zmNone);
  EXPECT_TRUE(graph.ForceScale());
  EXPECT_FALSE(graph.ShowNegative());
  EXPECT_FALSE(graph.DisplayCoordinates());
  EXPECT_EQ(graph.Buffer(), 10);
  EXPECT_TRUE(form->RecentFileList().isEmpty());
  EXPECT_EQ(form->Controls().CFCombo->currentIndex(), 1);
  EXPECT_EQ(form->Controls().SmoothingTrackBar->value(), 5);
  EXPECT_TRUE(form->Actions().DisplayConditions->isChecked());
  EXPECT_TRUE(form->Actions().PointModeAction->isChecked());
  EXPECT_TRUE(form->Actions().NumGraphs1->isChecked());
  EXPECT_EQ(form->geometry(),
            DefaultWindowRect(QGuiApplication::primaryScreen()->availableGeometry()));
  EXPECT_TRUE(FMessages.empty());
}

// A stored value the window cannot take as it stands, and what the window makes of it.
struct TStoredCase {
  const char* Name;
  bool GraphKey;
  std::int32_t Stored;
  std::function<int(TFormMain&)> Read;
  int Expected;
};

TEST_F(SettingsTest, StoredValuesAreValidated) {
  const auto cf = [](TFormMain& f) { return static_cast<int>(f.Data().FCFIndex); };
  const auto label = [](TFormMain& f) { return f.Controls().Graph->LabelType(); };
  const auto graphs = [](TFormMain& f) { return f.Controls().Graph->NumGraphs(); };
  const auto margin = [](TFormMain& f) { return f.Controls().Graph->Buffer(); };
  const auto zoom = [](TFormMain& f) { return static_cast<int>(f.Controls().Graph->ZoomMode()); };
  const auto smoothing = [](TFormMain& f) { return static_cast<int>(f.Data().FSmoothing); };
  const auto track = [](TFormMain& f) { return f.Controls().SmoothingTrackBar->value(); };
  const auto toolbar = [](TFormMain& f) { return f.GetToolbarSize(); };
  const auto checkedLabels = [](TFormMain& f) {
    const TMainActions& a = f.Actions();
    return int{a.DisplayNothing->isChecked()} + a.DisplayMaxValues->isChecked() +
           a.DisplayConditions->isChecked() + a.DisplayTitles->isChecked();
  };
  const TStoredCase cases[] = {
      {"Correction", true, 6, cf, 1},           {"Correction", true, -1, cf, 1},
      {"Correction", true, 3, cf, 3},           {"LabelType", true, 4, label, 4},
      {"LabelType", true, 4, checkedLabels, 0}, {"LabelType", true, 6, label, 2},
      {"NumGraphs", true, 0, graphs, 0},        {"NumGraphs", true, 5, graphs, 1},
      {"DataMargin", true, 95, margin, 5},      {"DataMargin", true, -3, margin, 5},
      {"DataMargin", true, 20, margin, 20},     {"ZoomMode", true, 1, zoom, 1},
      {"ZoomMode", true, 7, zoom, 2},           {"Smoothing", true, 9, smoothing, 9},
      {"Smoothing", true, 9, track, 5},         {"ToolBarSize", false, 20, toolbar, 24},
      {"ToolBarSize", false, 16, toolbar, 16},
  };
  for (const TStoredCase& c : cases) {
    SCOPED_TRACE(testing::Message() << c.Name << " = " << c.Stored);
    std::filesystem::remove_all(Root());
    std::filesystem::create_directories(Root());
    Store(c.GraphKey ? GraphKey::Path : SettingsKey::Path,
          [&c](TRegistry& reg) { reg.WriteInteger(c.Name, c.Stored); });
    const auto form = MakeForm();
    EXPECT_EQ(c.Read(*form), c.Expected);
  }
}

TEST_F(SettingsTest, ValuesOfTheWrongKindCountAsMissing) {
  Store(GraphKey::Path, [](TRegistry& reg) {
    reg.WriteString("Correction", "3");
    reg.WriteString("NumGraphs", "2");
    reg.WriteInteger("Graph0Ratio", 4);  // a float is 8 bytes of binary
  });
  const auto form = MakeForm();
  EXPECT_EQ(form->Data().FCFIndex, 1);
  EXPECT_EQ(form->Controls().Graph->NumGraphs(), 1);
  EXPECT_FLOAT_EQ(form->Controls().Graph->GetRatio(0), 1.0f);
}

TEST_F(SettingsTest, SaveAndLoadRoundTrip) {
  const QStringList runs = RunFiles(2);
  QRect placed;
  {
    const auto form = MakeForm();
    form->LoadRun(runs[0]);
    form->LoadRun(runs[1]);
    form->Actions().Smoothing_[3]->trigger();
    form->Controls().CorrectionItems1[2]->trigger();
    form->Actions().NumGraphs3->trigger();
    form->Actions().DisplayTitles->trigger();
    form->Actions().PanMode->trigger();
    form->Actions().Negative->trigger();
    form->Actions().DisplayCrsrTitles->trigger();
    form->Controls().Graph->SetRatio(1, 2.5f);
    form->SetToolbarSize(24);
    form->SetLanguageChoice(1031);
    placed = QRect(40, 50, 700, 500);
    form->setGeometry(placed);
  }
  const auto form = MakeForm();
  const TWPGraph& graph = *form->Controls().Graph;
  EXPECT_EQ(form->Data().FSmoothing, 3);
  EXPECT_EQ(form->Data().FCFIndex, 2);
  EXPECT_EQ(form->Controls().CFCombo->currentIndex(), 2);
  EXPECT_EQ(graph.NumGraphs(), 3);
  EXPECT_TRUE(form->Actions().NumGraphs3->isChecked());
  EXPECT_EQ(graph.LabelType(), 3);
  EXPECT_EQ(graph.ZoomMode(), zmPan);
  EXPECT_TRUE(graph.ShowNegative());
  EXPECT_TRUE(graph.crsrTitles());
  EXPECT_TRUE(form->Actions().DisplayCrsrTitles->isChecked());
  EXPECT_FLOAT_EQ(graph.GetRatio(1), 2.5f);
  EXPECT_EQ(form->GetToolbarSize(), 24);
  EXPECT_EQ(form->LanguageChoice(), 1031);
  EXPECT_EQ(form->geometry(), placed);
  EXPECT_EQ(form->RecentFileList(), runs);
  EXPECT_EQ(form->RecentDirList(), QStringList{RootText()});
  EXPECT_TRUE(std::filesystem::exists(form->UnitsFile()));
}

TEST_F(SettingsTest, WithoutSaveOnExitOnlyThatChoiceIsWritten) {
  {
    const auto form = MakeForm();
    form->Actions().Smoothing_[2]->trigger();
    form->SetSaveOnExit(false);
  }
  const auto form = MakeForm();
  EXPECT_FALSE(form->SaveOnExitEnabled());
  EXPECT_EQ(form->Data().FSmoothing, 5);
}

TEST_F(SettingsTest, RecentEntriesWithGapsAreCompactedOnSave) {
  Store(SettingsKey::Path, [](TRegistry& reg) {
    reg.WriteString("OldFile0", "/runs/a.DRF");
    reg.WriteString("OldFile2", "/runs/c.DRF");
  });
  { MakeForm(); }
  TRegistry registry(Root());
  ASSERT_TRUE(registry.OpenKey(SettingsKey::Path, false));
  EXPECT_EQ(registry.ReadString("OldFile0").ValueOr(""), "/runs/a.DRF");
  EXPECT_EQ(registry.ReadString("OldFile1").ValueOr(""), "/runs/c.DRF");
  // Entries beyond the list are left as they were.
  EXPECT_EQ(registry.ReadString("OldFile2").ValueOr(""), "/runs/c.DRF");
}

TEST_F(SettingsTest, UnusablePlacementsGiveTheComputedDefault) {
  const QRect work = QGuiApplication::primaryScreen()->availableGeometry();
  const TWindowPlacement offScreen = PlacementOf(QRect(work.right() + 500, 100, 600, 400), false);
  const TWindowPlacement absurd = PlacementOf(QRect(0, 0, 1 << 28, 400), false);
  TWindowPlacement negative = PlacementOf(QRect(10, 10, 600, 400), false);
  negative.Right = negative.Left - 5;
  std::vector<std::uint8_t> shortRecord =
      EncodePlacement(PlacementOf(QRect(10, 10, 600, 400), false));
  shortRecord.pop_back();
  for (const std::vector<std::uint8_t>& bytes :
       {EncodePlacement(offScreen), EncodePlacement(absurd), EncodePlacement(negative),
        shortRecord}) {
    std::filesystem::remove_all(Root());
    std::filesystem::create_directories(Root());
    Store(SettingsKey::Path, [&bytes](TRegistry& reg) { reg.WriteBinaryData("WP", bytes); });
    const auto form = MakeForm();
    EXPECT_EQ(form->geometry(), DefaultWindowRect(work));
  }
}

TEST(WindowPlacementTest, RecordRoundTripAndChecks) {
  TWindowPlacement placement = PlacementOf(QRect(-20, 30, 640, 480), true);
  const std::vector<std::uint8_t> bytes = EncodePlacement(placement);
  ASSERT_EQ(bytes.size(), 44u);
  EXPECT_EQ(bytes[0], 44);  // the length field comes first
  EXPECT_EQ(DecodePlacement(bytes), placement);
  EXPECT_EQ(NormalRect(placement), QRect(-20, 30, 640, 480));

  std::vector<std::uint8_t> wrongLength = bytes;
  wrongLength[0] = 40;
  EXPECT_FALSE(DecodePlacement(wrongLength));
  EXPECT_FALSE(DecodePlacement(std::span(bytes).first(43)));

  const QList<QRect> screens = {QRect(0, 0, 1920, 1080), QRect(1920, 0, 1280, 1024)};
  const struct {
    QRect Normal;
    bool Usable;
  } cases[] = {
      {QRect(100, 100, 800, 600), true},
      {QRect(2500, 200, 800, 600), true},   // on the second screen
      {QRect(-700, 100, 800, 600), true},   // partly off, title bar reachable
      {QRect(-900, 100, 800, 600), false},  // entirely left of the screens
      {QRect(100, 1085, 800, 600), false},  // title bar below the screens
      {QRect(100, -15, 800, 600), true},    // title bar partly above, still grabbable
      {QRect(100, 100, 50, 600), false},    // too narrow to use
      {QRect(0, 0, 9000, 600), false},      // wider than twice the desktop
  };
  for (const auto& c : cases)
    EXPECT_EQ(PlacementUsable(PlacementOf(c.Normal, false), screens), c.Usable)
        << c.Normal.x() << "," << c.Normal.y();
  EXPECT_EQ(DefaultWindowRect(QRect(0, 0, 1000, 801)), QRect(50, 40, 900, 720));
}

}  // namespace
