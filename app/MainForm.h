#pragma once

// The main window: the loaded runs as rows of a list, the notes of the selected run, and the
// graph that plots them, with the actions, menus and tool bar that drive them.
//
// The class is spread over one source file per concern: MainForm.cpp (construction, layout,
// first showing, closing), RunLoading.cpp (LoadRun, drops, hand-off, command line),
// GraphRequests.cpp (data requests, run rows, notes, open and remove), MainActions.cpp
// (actions, menus, tool bar), Captions.cpp (ApplyLanguage), Settings.cpp, RecentFiles.cpp,
// Printing.cpp.

#include <QImage>
#include <QMainWindow>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>

#include "Font.h"
#include "MainParts.h"

class QMenu;
class QMenuBar;
class QPrinter;
class TGphData;
class TRegistry;

class TFormMain : public QMainWindow {
 public:
  // Chooses run files for the Open command, starting in `initialFolder`; nothing when the
  // user cancels.
  using TFileChooser = std::function<std::optional<QStringList>(const QString& initialFolder)>;

  // `configRoot` holds the settings keys and the units file; `params` are the run files of
  // the command line, loaded at the first showing.
  TFormMain(std::filesystem::path configRoot, QStringList params, QWidget* parent = nullptr);
  // Writes the settings (all of them, or only "SaveOnExit" when that is off).
  ~TFormMain() override;
  TFormMain(const TFormMain&) = delete;
  TFormMain& operator=(const TFormMain&) = delete;

  // ---- Runs entering the window (RunLoading.cpp) ----
  // Loads one run file unless 12 runs are loaded; a failed load is reported. Refreshes the
  // data and the scales, but does not redraw.
  void LoadRun(const QString& fileName);
  // Files dropped on the window: run files load until the 12-run limit, which is reported.
  void DropFiles(const QStringList& fileNames);
  // A file name handed over by a later start: handled as one dropped file.
  void HandOffReceived(const QString& fileName);
  // A later start without files: show the window in front.
  void BringToFront();

  // ---- Data requests, run rows and the run list's commands (GraphRequests.cpp) ----
  // Recomputes the data set, its channel table and names, the graph strings, the run ranges
  // and the row texts. Does not redraw.
  void GraphRequestData();
  // The graph's string list: correction factor, main title, then ids 1901 upwards.
  void FillGraphStrings(QStringList& list, int count);
  // The Open command; the Recent menu passes the folder to start in.
  void OpenFileExecute(const std::optional<QString>& initialFolder = std::nullopt);
  void RemoveAllRunsExecute();
  // Removes the selected runs; only while the run list has the keyboard focus.
  void RemoveSelectedRunsExecute();
  // The run summary of the first selected run.
  void ListView1DblClick();
  // Selection change: the notes of the one selected run.
  void ListView1SelectItem(QObject* sender, int item, bool selected);
  // Replaces the file dialog of the Open command (automation and tests).
  void SetFileChooser(TFileChooser chooser) { FFileChooser = std::move(chooser); }

  // ---- Actions, tool bar and captions (MainActions.cpp, Captions.cpp) ----
  // Smoothing from a Smoothing_n action (n), else the data set's own level.
  void SmoothingActionExecute(QObject* sender);
  void SmoothingTrackBarChange();
  // Correction factor from the combo or a factor item of either submenu.
  void CorrectionFactorPicked(QObject* sender);
  void BuildCorrectionFactorMenus();
  // Check marks, track bar, combo and graph buttons from the graph's and data set's state.
  void SyncGraphActions();
  // 16 for the small tool bar, 24 for the large one.
  int GetToolbarSize() const { return FToolbarSize; }
  // 16 gives the small tool bar; any other value the large one.
  void SetToolbarSize(int size);
  // Every caption and hint in the current language.
  void ApplyLanguage();

  // ---- Settings (Settings.cpp) ----
  // Reads both settings keys and applies them; ends with the graph's ReInit.
  void LoadSettings();
  // Writes both settings keys, then the units file.
  void SaveSettings();
  bool SaveOnExitEnabled() const { return SaveOnExit; }
  void SetSaveOnExit(bool value) { SaveOnExit = value; }
  std::int32_t LanguageChoice() const { return Language; }
  void SetLanguageChoice(std::int32_t langid) { Language = langid; }

  // ---- Recent folders and files (RecentFiles.cpp) ----
  void AddRecentFile(const QString& fileName);
  // Adds the folder of `fileName`.
  void AddRecentDir(const QString& fileName);
  void RebuildRecentMenu();
  // Loads RecentFiles[index]; an index outside the list does nothing.
  void RecentFileClick(int index);
  // Opens the Open dialog in RecentDirs[index]; an index outside the list does nothing.
  void RecentDirClick(int index);
  const QStringList& RecentDirList() const { return RecentDirs; }
  const QStringList& RecentFileList() const { return RecentFiles; }

  // ---- About box and printing (AboutBox.cpp, Printing.cpp) ----
  void AboutBoxExecute();
  void PrintExecute();
  void PrinterSetupExecute();

  // ---- Parts and state ----
  const TMainActions& Actions() const { return FActions; }
  const TMainControls& Controls() const { return FControls; }
  TGphData& Data();
  // The font of the window in the current language (Japanese, Chinese or the default).
  const TFont& WindowFont() const;
  // The face for Japanese texts when one is installed, else "".
  QString JapaneseFace() const { return JapaneseFont ? JapaneseFont->FName : QString(); }
  // Where the selected units are kept.
  const std::filesystem::path& UnitsFile() const { return FUnitsFile; }
  // How often the window asked the graph to re-initialise (tests and diagnostics).
  int ReInitCount() const { return FReInitCount; }

 protected:
  void showEvent(QShowEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // Construction (MainForm.cpp, MainActions.cpp).
  void CreateLayout();
  void CreateActions();
  void CreateMenus();
  void CreateToolBar();
  void ApplyGraphDesign();
  QMenu* AddSubmenu(QMenu* parent, QAction* action);
  QMenu* AddSubmenu(QMenuBar* parent, QAction* action);
  void ConnectSubmenu(QMenu* menu, QAction* action);
  void FirstShow();
  void LoadCommandLine();
  void CloseSettings();
  void ListView1Resize();
  void ReInitGraph();
  void UpdateRunRows();
  void ApplyWindowFont();
  // Action handlers (MainActions.cpp).
  void SetMouseMode(int mode);
  void SetLabelAction(int type);
  void SetNumGraphsAction(int n);
  void RescaleExecute();
  void SetCursorFontSize(int size);
  void ShowCorrectionFactorChecks();
  // The file dialog of the Open command.
  std::optional<QStringList> ChooseRunFiles(const QString& initialFolder);

  TMainActions FActions;
  TMainControls FControls;
  TWPGraph* Graph = nullptr;          // FControls.Graph
  TRunListView* ListView1 = nullptr;  // FControls.ListView1

  std::unique_ptr<TRegistry> FRegistry;
  std::filesystem::path FUnitsFile;
  QStringList FParams;
  TFileChooser FFileChooser;
  std::unique_ptr<QPrinter> FPrinter;  // kept between printer setup and printing

  bool SaveOnExit = true;
  std::int32_t Language = -1;
  QStringList RecentDirs;
  QStringList RecentFiles;
  TFont DefaultFont;
  std::optional<TFont> JapaneseFont;
  std::optional<TFont> ChineseFont;
  QImage ListBackground;

  int FToolbarSize = 16;
  bool FLoading = true;        // the window is still being built
  bool FShown = false;         // the first showing has run
  bool FSettingsRead = false;  // LoadSettings ran: closing may write the settings
  int FReInitCount = 0;
};
