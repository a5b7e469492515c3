#include "RunListView.h"

#include <QHeaderView>
#include <QIcon>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPixmap>

#include <set>

namespace {

// Per-row data kept on the row's first column.
constexpr int kImageIndexRole = Qt::UserRole;
constexpr int kSubItemCountRole = Qt::UserRole + 1;

}  // namespace

int TImageList::Add(const QImage& image) {
  FImages.push_back(image.copy());
  return Count() - 1;
}

const QImage* TImageList::Image(int index) const {
  if (index < 0 || index >= Count()) return nullptr;
  return &FImages[static_cast<size_t>(index)];
}

TRunListView::TRunListView(QWidget* parent) : QTreeWidget(parent) {
  setColumnCount(6);
  setRootIsDecorated(false);
  setItemsExpandable(false);
  setUniformRowHeights(true);
  setSelectionMode(QAbstractItemView::ExtendedSelection);
  setSelectionBehavior(QAbstractItemView::SelectRows);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setIconSize(QSize(16, 16));
  header()->setSectionsClickable(false);
  connect(selectionModel(), &QItemSelectionModel::selectionChanged, this,
          &TRunListView::SelectionChanged);
}

int TRunListView::AddItem(const QString& caption, const QStringList& subItems) {
  auto* item = new QTreeWidgetItem(this);
  if (columnCount() < subItems.size() + 1) setColumnCount(static_cast<int>(subItems.size()) + 1);
  item->setText(0, caption);
  for (int i = 0; i < subItems.size(); ++i)
    item->setText(i + 1, subItems[i]);
  item->setData(0, kImageIndexRole, -1);
  item->setData(0, kSubItemCountRole, static_cast<int>(subItems.size()));
  return indexOfTopLevelItem(item);
}

void TRunListView::DeleteItem(int index) {
  if (index < 0 || index >= Count()) return;
  delete takeTopLevelItem(index);
}

void TRunListView::Clear() {
  clear();
}

QString TRunListView::Caption(int row) const {
  const QTreeWidgetItem* item = topLevelItem(row);
  return item ? item->text(0) : QString();
}

QString TRunListView::SubItem(int row, int subItem) const {
  const QTreeWidgetItem* item = topLevelItem(row);
  if (!item || subItem < 0 || subItem >= SubItemCount(row)) return {};
  return item->text(subItem + 1);
}

void TRunListView::SetCaption(int row, const QString& caption) {
  if (QTreeWidgetItem* item = topLevelItem(row)) item->setText(0, caption);
}

void TRunListView::SetSubItem(int row, int subItem, const QString& text) {
  QTreeWidgetItem* item = topLevelItem(row);
  if (item && subItem >= 0 && subItem < SubItemCount(row)) item->setText(subItem + 1, text);
}

int TRunListView::SubItemCount(int row) const {
  const QTreeWidgetItem* item = topLevelItem(row);
  return item ? item->data(0, kSubItemCountRole).toInt() : 0;
}

bool TRunListView::IsItemSelected(int row) const {
  const QTreeWidgetItem* item = topLevelItem(row);
  return item && item->isSelected();
}

void TRunListView::SetImageIndex(int row, int imageIndex) {
  QTreeWidgetItem* item = topLevelItem(row);
  if (!item) return;
  item->setData(0, kImageIndexRole, imageIndex);
  const QImage* image = FSmallImages ? FSmallImages->Image(imageIndex) : nullptr;
  item->setIcon(0, image ? QIcon(QPixmap::fromImage(*image)) : QIcon());
}

int TRunListView::ImageIndex(int row) const {
  const QTreeWidgetItem* item = topLevelItem(row);
  return item ? item->data(0, kImageIndexRole).toInt() : -1;
}

void TRunListView::SelectionChanged(const QItemSelection& selected,
                                    const QItemSelection& deselected) {
  if (!OnSelectItem) return;
  // One event per row, the rows that lost the selection first.
  const auto rows = [](const QItemSelection& selection) {
    std::set<int> result;
    for (const QModelIndex& index : selection.indexes())
      result.insert(index.row());
    return result;
  };
  for (int row : rows(deselected)) {
    if (OnSelectItem) OnSelectItem(this, row, false);
  }
  for (int row : rows(selected)) {
    if (OnSelectItem) OnSelectItem(this, row, true);
  }
}

void TRunListView::keyPressEvent(QKeyEvent* event) {
  if (OnKeyDown) OnKeyDown(this, event->key(), event->modifiers());
  QTreeWidget::keyPressEvent(event);
}

void TRunListView::keyReleaseEvent(QKeyEvent* event) {
  QTreeWidget::keyReleaseEvent(event);
  if (OnKeyUp) OnKeyUp(this, event->key(), event->modifiers());
}

void TRunListView::mouseReleaseEvent(QMouseEvent* event) {
  QTreeWidget::mouseReleaseEvent(event);
  if (OnMouseUp) OnMouseUp(this, event->button(), event->modifiers(), event->position().toPoint());
}
