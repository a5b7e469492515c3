#pragma once

// The rules of the Recent lists: folders and files that runs were loaded from, oldest first,
// compared as exact (case-sensitive) texts.

#include <QString>
#include <QStringList>

// Adds `entry` to a list of at most `capacity` entries. Below capacity an entry that is there
// already keeps its place. At capacity the last equal entry moves to the end; without one the
// oldest entry gives way.
void AddRecentEntry(QStringList& list, const QString& entry, int capacity);

// The folder of a file path: the text before its last '/', or "/" for a file in the root; ""
// for a bare file name.
QString RecentFolderOf(const QString& fileName);

// A menu caption that shows `text` as it is: '&' would otherwise mark a mnemonic.
QString MenuCaptionOf(const QString& text);
