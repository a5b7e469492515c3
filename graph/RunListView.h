#pragma once

// The run list the graph links to: a report-style list with one row per run, a caption and
// sub-items per row, a small colour icon per row taken from an image list, and multi-select.
// Selection, key and mouse-up events are plain callbacks so the graph can take them over and
// pass them on to the host's own handlers.

#include <QImage>
#include <QStringList>
#include <QTreeWidget>

#include <functional>
#include <vector>

class QItemSelection;

// Small images by index, as the list's rows show them.
class TImageList {
 public:
  // Appends a copy of `image`; returns its index.
  int Add(const QImage& image);
  void Clear() { FImages.clear(); }
  int Count() const { return static_cast<int>(FImages.size()); }
  // The image at `index`, or null outside the list.
  const QImage* Image(int index) const;

 private:
  std::vector<QImage> FImages;
};

// Events carry the list that raised them.
using TSelectItemEvent = std::function<void(QObject* sender, int item, bool selected)>;
using TListKeyEvent =
    std::function<void(QObject* sender, int key, Qt::KeyboardModifiers modifiers)>;
using TListMouseEvent = std::function<void(QObject* sender, Qt::MouseButton button,
                                           Qt::KeyboardModifiers modifiers, QPoint pos)>;

class TRunListView : public QTreeWidget {
 public:
  explicit TRunListView(QWidget* parent = nullptr);

  int Count() const { return topLevelItemCount(); }
  // Appends a row; its sub-items fill the columns after the caption. Returns its index.
  int AddItem(const QString& caption, const QStringList& subItems);
  // Removes row `index`; an index outside the rows is ignored.
  void DeleteItem(int index);
  // Removes every row (without selection events).
  void Clear();
  // The caption and sub-item texts of a row; empty outside the rows.
  QString Caption(int row) const;
  QString SubItem(int row, int subItem) const;
  void SetCaption(int row, const QString& caption);
  // Sets a sub-item that the row has; others are ignored.
  void SetSubItem(int row, int subItem, const QString& text);
  // The number of sub-items the row was given; 0 outside the rows.
  int SubItemCount(int row) const;
  bool IsItemSelected(int row) const;

  // The image list the rows take their icons from (borrowed; may be null).
  TImageList* SmallImages() const { return FSmallImages; }
  void SetSmallImages(TImageList* images) { FSmallImages = images; }
  // Shows image `imageIndex` of the small images on the row; -1 for none.
  void SetImageIndex(int row, int imageIndex);
  int ImageIndex(int row) const;

  TSelectItemEvent OnSelectItem;  // once per row whose selection changed
  TListKeyEvent OnKeyDown;
  TListKeyEvent OnKeyUp;
  TListMouseEvent OnMouseUp;

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  void SelectionChanged(const QItemSelection& selected, const QItemSelection& deselected);

  TImageList* FSmallImages = nullptr;
};
