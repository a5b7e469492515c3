// The Recent lists' rules and their submenu.

#include <QAction>
#include <QMenu>

#include "AppFixture.h"
#include "RecentFiles.h"

namespace {

QStringList Numbered(int count) {
  QStringList list;
  for (int i = 0; i < count; ++i)
    list.append(QStringLiteral("/runs/%1.DRF").arg(i));
  return list;
}

TEST(RecentListTest, AddKeepsPlacesRotatesAndComparesExactly) {
  struct {
    const char* Name;
    QStringList Before;
    QString Added;
    QStringList After;
  } cases[] = {
      {"new entry below capacity", {"/a"}, "/b", {"/a", "/b"}},
      {"duplicate keeps its place", {"/a", "/b", "/c"}, "/a", {"/a", "/b", "/c"}},
      {"case makes another entry", {"/RUNS/a.drf"}, "/runs/a.drf", {"/RUNS/a.drf", "/runs/a.drf"}},
      {"full: a remembered one moves to the end", Numbered(10), "/runs/2.DRF",
       Numbered(10).mid(0, 2) + Numbered(10).mid(3) + QStringList{"/runs/2.DRF"}},
      {"full: a new one drops the oldest", Numbered(10), "/new.DRF",
       Numbered(10).mid(1) + QStringList{"/new.DRF"}},
      {"overfull settings shrink to capacity", Numbered(12), "/new.DRF",
       Numbered(12).mid(3) + QStringList{"/new.DRF"}},
  };
  for (auto& c : cases) {
    AddRecentEntry(c.Before, c.Added, 10);
    EXPECT_EQ(c.Before, c.After) << c.Name;
  }
}

TEST(RecentListTest, FolderOfAFile) {
  const struct {
    const char* File;
    const char* Folder;
  } cases[] = {
      {"/home/op/runs/a.DRF", "/home/op/runs"}, {"/a.DRF", "/"}, {"//a.DRF", "//"}, {"a.DRF", ""},
      {"/home/op/runs/", "/home/op/runs"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(RecentFolderOf(QString::fromUtf8(c.File)), QString::fromUtf8(c.Folder)) << c.File;
}

using RecentMenuTest = TAppTest;

QStringList MenuTexts(const QMenu& menu) {
  QStringList texts;
  for (const QAction* action : menu.actions())
    texts.append(action->isSeparator() ? QStringLiteral("-") : action->text());
  return texts;
}

TEST_F(RecentMenuTest, FoldersSeparatorFiles) {
  const auto form = MakeForm();
  const QMenu& menu = *form->Controls().MenuItemRecent;
  EXPECT_EQ(MenuTexts(menu), QStringList{QStringLiteral("-")});

  for (const char* file : {"/runs/a.DRF", "/runs/b.DRF", "/c.DRF", "/R&D/d.DRF"}) {
    form->AddRecentFile(QString::fromUtf8(file));
    form->AddRecentDir(QString::fromUtf8(file));
  }
  EXPECT_EQ(form->RecentDirList(), (QStringList{"/runs", "/", "/R&D"}));
  // '&' is shown as it is, not as a mnemonic.
  EXPECT_EQ(MenuTexts(menu), (QStringList{"/runs", "/", "/R&&D", "-", "/runs/a.DRF", "/runs/b.DRF",
                                          "/c.DRF", "/R&&D/d.DRF"}));
}

}  // namespace
