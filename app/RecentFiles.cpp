// The Recent lists' rules and the File menu's Recent submenu.

#include "RecentFiles.h"

#include <QAction>
#include <QMenu>

#include "MainForm.h"
#include "SettingsKeys.h"
#include "WPGraph.h"

void AddRecentEntry(QStringList& list, const QString& entry, int capacity) {
  if (capacity <= 0) return;
  if (list.size() >= capacity) {
    const qsizetype last = list.lastIndexOf(entry);
    if (last >= 0) {
      list.removeAt(last);
    } else {
      list.removeFirst();
    }
    list.append(entry);
    // Settings holding more entries than the lists keep lose the oldest ones.
    while (list.size() > capacity)
      list.removeFirst();
    return;
  }
  if (!list.contains(entry)) list.append(entry);
}

QString RecentFolderOf(const QString& fileName) {
  const qsizetype slash = fileName.lastIndexOf(QLatin1Char('/'));
  if (slash < 0) return {};
  // The separator goes, unless it is the root itself or doubled ("//").
  if (slash == 0 || fileName.at(slash - 1) == QLatin1Char('/')) return fileName.left(slash + 1);
  return fileName.left(slash);
}

QString MenuCaptionOf(const QString& text) {
  QString caption = text;
  caption.replace(QLatin1Char('&'), QStringLiteral("&&"));
  return caption;
}

void TFormMain::AddRecentFile(const QString& fileName) {
  AddRecentEntry(RecentFiles, fileName, SettingsRules::kRecentFiles);
  RebuildRecentMenu();
}

void TFormMain::AddRecentDir(const QString& fileName) {
  AddRecentEntry(RecentDirs, RecentFolderOf(fileName), SettingsRules::kRecentDirs);
  RebuildRecentMenu();
}

void TFormMain::RebuildRecentMenu() {
  QMenu* menu = FControls.MenuItemRecent;
  // The items go later: this may run from the click of one of them.
  for (QAction* old : menu->actions()) {
    menu->removeAction(old);
    old->deleteLater();
  }
  for (int i = 0; i < RecentDirs.size(); ++i) {
    if (RecentDirs[i].isEmpty()) continue;
    QAction* item = menu->addAction(MenuCaptionOf(RecentDirs[i]));
    item->setData(i);
    connect(item, &QAction::triggered, this, [this, i] { RecentDirClick(i); });
  }
  menu->addSeparator()->setData(-1);
  for (int i = 0; i < RecentFiles.size(); ++i) {
    if (RecentFiles[i].isEmpty()) continue;
    QAction* item = menu->addAction(MenuCaptionOf(RecentFiles[i]));
    item->setData(i);
    connect(item, &QAction::triggered, this, [this, i] { RecentFileClick(i); });
  }
}

void TFormMain::RecentFileClick(int index) {
  if (index < 0 || index >= RecentFiles.size()) return;
  // A copy: a successful load reorders the list.
  const QString fileName = RecentFiles[index];
  LoadRun(fileName);
  // Every other road of a loaded run ends with a new picture; this one does too.
  ReInitGraph();
}

void TFormMain::RecentDirClick(int index) {
  if (index < 0 || index >= RecentDirs.size()) return;
  const QString folder = RecentDirs[index];
  OpenFileExecute(folder);
}
