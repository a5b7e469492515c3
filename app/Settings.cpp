// The settings of the window and the graph: read once at the first showing, written at the
// end (or on demand), then the selected units.

#include <QComboBox>
#include <QGuiApplication>
#include <QScreen>
#include <QSignalBlocker>
#include <QSplitter>

#include <array>
#include <cmath>
#include <system_error>

#include "Language.h"
#include "MainForm.h"
#include "MessageBoxes.h"
#include "Registry.h"
#include "RegistryTable.h"
#include "RunListView.h"
#include "SettingsKeys.h"
#include "StartupLanguage.h"
#include "StringIds.h"
#include "WPGraph.h"
#include "WindowPlacement.h"

namespace {

// The seven graph fonts by the names of their settings.
struct TGraphFontSetting {
  const char* Name;
  const TFont& (TWPGraph::*Get)() const;
  void (TWPGraph::*Set)(const TFont&);
};
constexpr TGraphFontSetting kGraphFonts[] = {
    {"MainTitleFont", &TWPGraph::MainTitleFont, &TWPGraph::SetMainTitleFont},
    {"SubTitleFont", &TWPGraph::SubTitleFont, &TWPGraph::SetSubTitleFont},
    {"BottomTitleFont", &TWPGraph::BottomTitleFont, &TWPGraph::SetBottomTitleFont},
    {"AxisLabelFont", &TWPGraph::AxisLabelFont, &TWPGraph::SetAxisLabelFont},
    {"CursorFont", &TWPGraph::CursorFont, &TWPGraph::SetCursorFont},
    {"AxisButtonFont", &TWPGraph::AxisBtnFont, &TWPGraph::SetAxisBtnFont},
    {"MultiLabelFont", &TWPGraph::MultiLabelFont, &TWPGraph::SetMultiLabelFont},
};

// Speed against power on a first start.
constexpr std::array<std::int32_t, kAxisCount> kDefaultAxisChannels = {2, 13, 0, 0, 0, 0, 0};

// Graph heights are relative; a ratio outside this range is a damaged value.
constexpr double kMaxGraphRatio = 1e6;

// A colour the canvas can draw: an RGB value or one of the 25 system colours.
bool UsableColor(std::int32_t stored) {
  const auto color = static_cast<TColor>(stored);
  if ((color & kSystemColorFlag) == kSystemColorFlag) return (color & ~kSystemColorFlag) <= 24;
  return color <= 0xFFFFFF;
}

void ReadGraphFont(const TRegistry& reg, const TGraphFontSetting& setting, TFont& font) {
  const TRegPart part(setting.Name);
  if (const auto name = ReadSetting(reg, GraphKey::FontName, part); name && !name.Value.empty())
    font.FName = QString::fromStdString(*name);
  if (const auto height = ReadSetting(reg, GraphKey::FontHeight, part)) font.FHeight = *height;
  const std::pair<const TRegSetting<bool>*, TFontStyle> styles[] = {
      {&GraphKey::FontBold, fsBold},
      {&GraphKey::FontItalic, fsItalic},
      {&GraphKey::FontUnderline, fsUnderline},
      {&GraphKey::FontStrikeOut, fsStrikeOut},
  };
  for (const auto& [flag, style] : styles) {
    if (const auto on = ReadSetting(reg, *flag, part)) font.SetStyle(style, *on);
  }
  if (const auto pitch = ReadSetting(reg, GraphKey::FontPitch, part);
      pitch && *pitch >= 0 && *pitch <= 2)
    font.FPitch = static_cast<TFontPitch>(*pitch);
  if (const auto color = ReadSetting(reg, GraphKey::FontColor, part); color && UsableColor(*color))
    font.FColor = static_cast<TColor>(*color);
}

QList<QRect> AvailableScreens() {
  QList<QRect> screens;
  for (const QScreen* screen : QGuiApplication::screens())
    screens.append(screen->availableGeometry());
  return screens;
}

}  // namespace

void TFormMain::LoadSettings() {
  TRegistry& reg = *FRegistry;
  TGphData& data = Graph->GetData();
  TStartupLanguage language;
  {
    TRegKeyScope key(reg, SettingsKey::Path);
    // Recent lists, oldest first; missing entries are skipped.
    RecentDirs.clear();
    for (int n = 0; n < SettingsRules::kRecentDirs; ++n) {
      if (const auto dir = ReadSetting(reg, SettingsKey::OldDir, n))
        RecentDirs.append(QString::fromStdString(*dir));
    }
    RecentFiles.clear();
    for (int n = 0; n < SettingsRules::kRecentFiles; ++n) {
      if (const auto file = ReadSetting(reg, SettingsKey::OldFile, n))
        RecentFiles.append(QString::fromStdString(*file));
    }

    // Placement: the stored one when it still fits the screens, else 90 % of the work
    // area, centred.
    const QList<QRect> screens = AvailableScreens();
    std::optional<TWindowPlacement> placement;
    if (const auto bytes = ReadSetting(reg, SettingsKey::WindowPlacement))
      placement = DecodePlacement(*bytes);
    if (placement && PlacementUsable(*placement, screens)) {
      setGeometry(NormalRect(*placement));
      if (placement->ShowCmd == kShowMaximized) setWindowState(windowState() | Qt::WindowMaximized);
    } else if (const QScreen* screen = QGuiApplication::primaryScreen()) {
      setGeometry(DefaultWindowRect(screen->availableGeometry()));
    }

    // Exit behaviour and language.
    SaveOnExit = ReadSettingOr(reg, SettingsKey::SaveOnExit);
    Language = ReadSettingOr(reg, SettingsKey::Language);
    language = SetStartupLanguage(Language, JapaneseFont.has_value(), ChineseFont.has_value());
    Language = language.Language;
    ApplyWindowFont();

    // Tool bar and pane heights.
    if (const auto size = ReadSetting(reg, SettingsKey::ToolBarSize)) SetToolbarSize(*size);
    QSplitter* outer = FControls.Splitter1;
    if (const auto total = ReadSetting(reg, SettingsKey::TotalHeaderHeight);
        total && SettingsRules::PaneHeight(*total)) {
      const QList<int> sizes = outer->sizes();
      const int whole = std::max(sizes.value(0) + sizes.value(1), *total + 1);
      outer->setSizes({*total, whole - *total});
    }
    QSplitter* inner = FControls.Splitter2;
    const auto notes = ReadSetting(reg, SettingsKey::NotesHeight);
    const auto list = ReadSetting(reg, SettingsKey::ListViewHeight);
    if ((notes && SettingsRules::PaneHeight(*notes)) ||
        (list && SettingsRules::PaneHeight(*list))) {
      QList<int> sizes = inner->sizes();
      if (list && SettingsRules::PaneHeight(*list)) sizes[0] = *list;
      if (notes && SettingsRules::PaneHeight(*notes)) sizes[1] = *notes;
      inner->setSizes(sizes);
    }
  }

  // A script without an installed face has fallen back to English; say so.
  if (language.MessageId != 0) {
    ShowMessageBox(this, QString::fromStdString(LangStr(language.MessageId)),
                   QString::fromStdString(LangStr(kStrErrorCaption)), TMessageIcon::miNone);
  }

  TRegKeyScope key(reg, GraphKey::Path);
  // Axis channels; with none stored, speed against power.
  std::array<std::int32_t, kAxisCount> ids{};
  bool anyChannel = false;
  for (int axis = 0; axis < kAxisCount; ++axis) {
    const auto id = ReadSetting(reg, GraphKey::AxisChannelID, axis);
    anyChannel = anyChannel || id.Status == TRegStatus::rsOk;
    ids[static_cast<size_t>(axis)] = id.ValueOr(0);
  }
  Graph->SetAxisChannels(anyChannel ? ids : kDefaultAxisChannels);

  // Correction factor and smoothing.
  data.FCFIndex = SettingsRules::Correction(ReadSettingOr(reg, GraphKey::Correction),
                                            static_cast<std::int32_t>(data.FCFs.size()));
  if (data.FCFIndex < FControls.CFCombo->count()) {
    const QSignalBlocker block(FControls.CFCombo);
    FControls.CFCombo->setCurrentIndex(data.FCFIndex);
  }
  data.FSmoothing = ReadSettingOr(reg, GraphKey::Smoothing);
  SmoothingActionExecute(this);

  // Graph properties.
  Graph->SetLabelType(SettingsRules::LabelType(ReadSettingOr(reg, GraphKey::LabelType)));
  if (const auto force = ReadSetting(reg, GraphKey::ForceScaling)) Graph->SetForceScl(*force);
  Graph->SetAutoScale(true);
  Graph->SetNegative(ReadSettingOr(reg, GraphKey::Negative));
  if (const auto cursor = ReadSetting(reg, GraphKey::Cursor)) Graph->SetDisplayCursor(*cursor);
  if (const auto quick = ReadSetting(reg, GraphKey::Quickmove)) Graph->SetQuickMove(*quick);
  if (const auto magnify = ReadSetting(reg, GraphKey::Magnifyer)) Graph->SetMagnifyer(*magnify);
  if (const auto mode = ReadSetting(reg, GraphKey::ZoomMode))
    Graph->SetZoomMode(static_cast<TZoomModeType>(SettingsRules::ZoomMode(*mode)));
  Graph->SetDisplayCoordinates(ReadSettingOr(reg, GraphKey::DisplayCoordinates));
  Graph->SetNumGraphs(SettingsRules::NumGraphs(ReadSettingOr(reg, GraphKey::NumGraphs)));
  if (const auto margin = ReadSetting(reg, GraphKey::DataMargin))
    Graph->SetBuffer(SettingsRules::DataMargin(*margin));
  Graph->SetSubTitle(QString::fromStdString(ReadSettingOr(reg, GraphKey::TopTitle)));
  Graph->SetBottomTitle(QString::fromStdString(ReadSettingOr(reg, GraphKey::BottomTitle)));

  // Fonts: the Japanese face for all seven, else the stored attributes.
  for (const TGraphFontSetting& setting : kGraphFonts) {
    TFont font = (Graph->*setting.Get)();
    if (GetLanguageOffset() == kOffsetJapanese && JapaneseFont) {
      font = *JapaneseFont;
    } else {
      ReadGraphFont(reg, setting, font);
    }
    (Graph->*setting.Set)(font);
  }

  // Cursor texts and graph heights.
  if (const auto titles = ReadSetting(reg, GraphKey::CrsrTitles)) Graph->SetCrsrTitles(*titles);
  if (const auto types = ReadSetting(reg, GraphKey::CrsrTypes)) Graph->SetCrsrTypes(*types);
  FActions.DisplayCrsrTitles->setChecked(Graph->crsrTitles());
  FActions.DisplayCrsrTypes->setChecked(Graph->crsrTypes());
  for (int g = 0; g < 3; ++g) {
    const auto ratio = ReadSetting(reg, GraphKey::GraphRatio, g);
    if (ratio && std::isfinite(*ratio) && *ratio > 0 && *ratio <= kMaxGraphRatio)
      Graph->SetRatio(g, static_cast<float>(*ratio));
  }
  key.Close();
  FSettingsRead = true;
  ReInitGraph();
}

void TFormMain::SaveSettings() {
  TRegistry& reg = *FRegistry;
  const TGphData& data = Graph->GetData();
  {
    TRegKeyScope key(reg, GraphKey::Path);
    WriteSetting(reg, GraphKey::Correction, data.FCFIndex);
    WriteSetting(reg, GraphKey::Smoothing, data.FSmoothing);
    WriteSetting(reg, GraphKey::LabelType, Graph->LabelType());
    WriteSetting(reg, GraphKey::ZoomMode, static_cast<std::int32_t>(Graph->ZoomMode()));
    WriteSetting(reg, GraphKey::NumGraphs, Graph->NumGraphs());
    WriteSetting(reg, GraphKey::DataMargin, Graph->Buffer());
    WriteSetting(reg, GraphKey::ForceScaling, Graph->ForceScale());
    WriteSetting(reg, GraphKey::Negative, Graph->ShowNegative());
    WriteSetting(reg, GraphKey::Cursor, Graph->DisplayCursor());
    WriteSetting(reg, GraphKey::Quickmove, Graph->QuickMove());
    WriteSetting(reg, GraphKey::Magnifyer, Graph->Magnifyer());
    WriteSetting(reg, GraphKey::DisplayCoordinates, Graph->DisplayCoordinates());
    WriteSetting(reg, GraphKey::CrsrTitles, Graph->crsrTitles());
    WriteSetting(reg, GraphKey::CrsrTypes, Graph->crsrTypes());
    for (int g = 0; g < 3; ++g)
      WriteSetting(reg, GraphKey::GraphRatio, static_cast<double>(Graph->GetRatio(g)), g);
    WriteSetting(reg, GraphKey::AxisChannelID, data.FXChannel, 0);
    for (int axis = 1; axis < kAxisCount; ++axis)
      WriteSetting(reg, GraphKey::AxisChannelID, data.FYChannel[static_cast<size_t>(axis - 1)],
                   axis);
    if (!key.Close()) qWarning("Tracewell: the graph settings could not be stored");
  }
  {
    TRegKeyScope key(reg, SettingsKey::Path);
    WriteSetting(reg, SettingsKey::SaveOnExit, SaveOnExit);
    WriteSetting(reg, SettingsKey::Language, Language);
    WriteSetting(reg, SettingsKey::ToolBarSize, GetToolbarSize());
    WriteSetting(reg, SettingsKey::ListViewHeight, ListView1->height());
    WriteSetting(reg, SettingsKey::NotesHeight, FControls.PanelNotes->height());
    WriteSetting(reg, SettingsKey::TotalHeaderHeight, FControls.PanelListView->height());
    for (int n = 0; n < RecentDirs.size(); ++n)
      WriteSetting(reg, SettingsKey::OldDir, RecentDirs[n].toStdString(), n);
    for (int n = 0; n < RecentFiles.size(); ++n)
      WriteSetting(reg, SettingsKey::OldFile, RecentFiles[n].toStdString(), n);
    WriteSetting(reg, SettingsKey::WindowPlacement,
                 EncodePlacement(PlacementOf(normalGeometry(), isMaximized())));
    if (!key.Close()) qWarning("Tracewell: the window settings could not be stored");
  }
  std::error_code error;
  std::filesystem::create_directories(FUnitsFile.parent_path(), error);
  if (!WriteSelectedUnits(FUnitsFile.string(), data.FUnits))
    qWarning("Tracewell: the selected units could not be stored");
}
