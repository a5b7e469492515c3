#pragma once

// The main window's two settings keys, each value once with its name, kind and default. A
// value without a default keeps the window's designed state when it is missing.

#include <cstdint>
#include <string>
#include <string_view>

#include "RegistryTable.h"

namespace SettingsKey {

inline constexpr std::string_view Path = "\\Software\\Halvorn Research Inc.\\Tracewell";

inline constexpr TRegSetting<bool> SaveOnExit{"SaveOnExit", true};
// A language identifier, or -1 for the system's language.
inline constexpr TRegSetting<std::int32_t> Language{"Language", -1};
// 16 is the small tool bar; any other value the large one.
inline constexpr TRegSetting<std::int32_t> ToolBarSize{"ToolBarSize"};
inline constexpr TRegSetting<std::int32_t> TotalHeaderHeight{"TotalHeaderHeight"};
inline constexpr TRegSetting<std::int32_t> NotesHeight{"NotesHeight"};
inline constexpr TRegSetting<std::int32_t> ListViewHeight{"ListViewHeight"};
inline constexpr TRegSetting<std::string> OldDir{"OldDir#"};    // 0..4, oldest first
inline constexpr TRegSetting<std::string> OldFile{"OldFile#"};  // 0..9, oldest first
inline constexpr TRegSetting<TRegBytes> WindowPlacement{"WP"};  // 44 bytes, WindowPlacement.h
inline constexpr TRegSetting<std::string> FileOpenPath{"FileOpenPath", ""};

}  // namespace SettingsKey

namespace GraphKey {

inline constexpr std::string_view Path = "\\Software\\Halvorn Research Inc.\\Tracewell\\Graph";

// Axis0ChannelID is the X axis, Axis1..6 the Y axes.
inline constexpr TRegSetting<std::int32_t> AxisChannelID{"Axis#ChannelID", 0};
inline constexpr TRegSetting<std::int32_t> Correction{"Correction", 1};
inline constexpr TRegSetting<std::int32_t> Smoothing{"Smoothing", 5};
inline constexpr TRegSetting<std::int32_t> LabelType{"LabelType", 2};
inline constexpr TRegSetting<bool> ForceScaling{"ForceScaling"};
inline constexpr TRegSetting<bool> Negative{"Negative", false};
inline constexpr TRegSetting<bool> Cursor{"Cursor"};
inline constexpr TRegSetting<bool> Quickmove{"Quickmove"};
inline constexpr TRegSetting<bool> Magnifyer{"Magnifyer"};
inline constexpr TRegSetting<std::int32_t> ZoomMode{"ZoomMode"};
inline constexpr TRegSetting<bool> DisplayCoordinates{"DisplayCoordinates", false};
inline constexpr TRegSetting<std::int32_t> NumGraphs{"NumGraphs", 1};
inline constexpr TRegSetting<std::int32_t> DataMargin{"DataMargin"};
inline constexpr TRegSetting<bool> CrsrTitles{"CrsrTitles"};
inline constexpr TRegSetting<bool> CrsrTypes{"CrsrTypes"};
inline constexpr TRegSetting<double> GraphRatio{"Graph#Ratio"};  // 0..2
inline constexpr TRegSetting<std::string> TopTitle{"TopTitle", ""};
inline constexpr TRegSetting<std::string> BottomTitle{"BottomTitle", ""};
// One graph font; '#' is the font's name, e.g. "CursorFontHeight". Read, never written.
inline constexpr TRegSetting<std::string> FontName{"#Name"};
inline constexpr TRegSetting<std::int32_t> FontHeight{"#Height"};
inline constexpr TRegSetting<bool> FontBold{"#Bold"};
inline constexpr TRegSetting<bool> FontItalic{"#Italic"};
inline constexpr TRegSetting<bool> FontUnderline{"#Underline"};
inline constexpr TRegSetting<bool> FontStrikeOut{"#StrikeOut"};
inline constexpr TRegSetting<std::int32_t> FontPitch{"#Pitch"};
inline constexpr TRegSetting<std::int32_t> FontColor{"#Color"};

}  // namespace GraphKey

// The companion acquisition program's print key; only its orientation is written here.
namespace PrintPreviewKey {

inline constexpr std::string_view Path =
    "\\Software\\Halvorn Research Inc.\\Benchlog7\\Print Preview";
inline constexpr TRegSetting<bool> Orientation{"Orientation"};  // true for landscape

}  // namespace PrintPreviewKey

// Rules for stored values that the window cannot take as they stand.
namespace SettingsRules {

inline constexpr int kRecentDirs = 5;
inline constexpr int kRecentFiles = 10;

// A factor index outside the table selects SAE (1).
inline std::int32_t Correction(std::int32_t stored, std::int32_t factors) {
  return stored >= 0 && stored < factors ? stored : 1;
}
// Label types 0..5; anything else shows conditions (2).
inline std::int32_t LabelType(std::int32_t stored) {
  return stored >= 0 && stored <= 5 ? stored : 2;
}
// 0..3 graphs (0 is passed on); anything else one graph.
inline std::int32_t NumGraphs(std::int32_t stored) {
  return stored >= 0 && stored <= 3 ? stored : 1;
}
// A data margin outside 0..90 percent becomes 5.
inline std::int32_t DataMargin(std::int32_t stored) {
  return stored >= 0 && stored <= 90 ? stored : 5;
}
// The graph's mouse modes are 0..2; another stored number would be no mode at all, so it
// leaves the designed point mode (2).
inline std::int32_t ZoomMode(std::int32_t stored) {
  return stored >= 0 && stored <= 2 ? stored : 2;
}
// A pane height the window can lay out; others leave the designed height.
inline bool PaneHeight(std::int32_t stored) {
  return stored >= 1 && stored <= 20000;
}

}  // namespace SettingsRules
