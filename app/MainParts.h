#pragma once

// The named parts of the main window: every user command is one action that menu items, tool
// buttons and shortcuts share, and the controls of the window's layout.

#include <array>
#include <vector>

class QAction;
class QActionGroup;
class QComboBox;
class QLabel;
class QMenu;
class QSlider;
class QSplitter;
class QStatusBar;
class QTextEdit;
class QToolBar;
class QWidget;
class TRunListView;
class TWPGraph;

struct TMainActions {
  // Menu bar entries; they only open their menus.
  QAction* FileAction = nullptr;
  QAction* ToolsMenuAction = nullptr;
  QAction* HelpMenuAction = nullptr;

  QAction* OpenFile = nullptr;
  QAction* RemoveAllRuns = nullptr;
  QAction* RemoveSelectedRuns = nullptr;
  QAction* PrinterSetup = nullptr;
  QAction* Print = nullptr;
  QAction* Exit = nullptr;
  QAction* About = nullptr;
  QAction* EnvironmentOptions = nullptr;

  // Submenu entries: opening the submenu runs the action, which refreshes its check marks.
  QAction* GraphOptionsMenu = nullptr;
  QAction* MouseModeAction = nullptr;
  QAction* CrsrOptions = nullptr;
  QAction* FontSize = nullptr;
  QAction* Display = nullptr;
  QAction* CorrectionFactor = nullptr;
  QAction* SmoothingAction = nullptr;

  QAction* ZoomMode = nullptr;
  QAction* PanMode = nullptr;
  QAction* PointModeAction = nullptr;
  QAction* Rescale = nullptr;
  QAction* Unzoom = nullptr;
  QAction* Rezoom = nullptr;
  QAction* ForceScaling = nullptr;
  QAction* Negative = nullptr;
  QAction* Cursor = nullptr;
  QAction* DisplayCrsrTitles = nullptr;
  QAction* DisplayCrsrTypes = nullptr;
  QAction* CrsrSmall = nullptr;
  QAction* CrsrMedium = nullptr;
  QAction* CrsrLarge = nullptr;
  QAction* DisplayNothing = nullptr;
  QAction* DisplayMaxValues = nullptr;
  QAction* DisplayConditions = nullptr;
  QAction* DisplayTitles = nullptr;
  QAction* NumGraphs1 = nullptr;
  QAction* NumGraphs2 = nullptr;
  QAction* NumGraphs3 = nullptr;
  std::array<QAction*, 6> Smoothing_{};  // Smoothing_0 .. Smoothing_5
};

struct TMainControls {
  QToolBar* GraphToolBar = nullptr;
  QLabel* CFLabel = nullptr;
  QComboBox* CFCombo = nullptr;
  QLabel* SmoothingLabel = nullptr;
  QSlider* SmoothingTrackBar = nullptr;
  QLabel* SmoothingValueLabel = nullptr;

  QSplitter* Splitter1 = nullptr;  // run list and notes above, graph below
  QWidget* PanelListView = nullptr;
  QSplitter* Splitter2 = nullptr;  // run list above, notes below
  TRunListView* ListView1 = nullptr;
  QWidget* PanelNotes = nullptr;
  QLabel* PanelNotesLabel = nullptr;
  QTextEdit* MemoNotes = nullptr;
  QWidget* PanelGraph = nullptr;
  TWPGraph* Graph = nullptr;
  QStatusBar* StatusBar1 = nullptr;

  QMenu* MenuItemRecent = nullptr;
  QMenu* PopupListView = nullptr;
  QMenu* PopupGraph = nullptr;
  QMenu* CorrectionFactor1 = nullptr;  // in PopupGraph
  QMenu* CorrectionFactor2 = nullptr;  // in the Tools menu
  // The factor items of CorrectionFactor1 and CorrectionFactor2, in table order.
  std::vector<QAction*> CorrectionItems1;
  std::vector<QAction*> CorrectionItems2;
};
