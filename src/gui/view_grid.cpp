#include "gui/view_grid.h"

#include <algorithm>
#include <climits>

#include <QHeaderView>
#include <QPainter>
#include <QTableView>

#include "gui/qt_text.h"

namespace kelmora::gui {

ViewGridModel::ViewGridModel(ViewGridSource source, QObject* parent)
    : QAbstractTableModel(parent), source_(std::move(source)) {}

int ViewGridModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : std::max(0, source_.Rows() - 1);
}

int ViewGridModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : std::max(0, source_.Cols() - 1);
}

QVariant ViewGridModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid()) return {};
  const int r = index.row() + 1, c = index.column() + 1;
  switch (role) {
    case Qt::DisplayRole: return Q(source_.Text(r, c));
    case Qt::BackgroundRole: {
      const int64_t rgb = source_.Color ? source_.Color(r, c) : -1;
      if (rgb < 0) return {};
      return QColor(static_cast<int>((rgb >> 16) & 0xFF), static_cast<int>((rgb >> 8) & 0xFF), static_cast<int>(rgb & 0xFF));
    }
    case Qt::TextAlignmentRole: return static_cast<int>(Qt::AlignHCenter | Qt::AlignTop);
    default: return {};
  }
}

QVariant ViewGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (role != Qt::DisplayRole) return QAbstractTableModel::headerData(section, orientation, role);
  return orientation == Qt::Horizontal ? Q(source_.Text(0, section + 1)) : Q(source_.Text(section + 1, 0));
}

void ViewGridModel::Reset() {
  beginResetModel();
  endResetModel();
}

void ViewGridModel::Repaint() {
  if (rowCount() > 0 && columnCount() > 0)
    emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1), {Qt::BackgroundRole});
}

void ViewGridDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const {
  painter->save();
  const bool selected = option.state & QStyle::State_Selected;
  const QVariant background = index.data(Qt::BackgroundRole);
  if (selected) painter->fillRect(option.rect, option.palette.highlight());
  else if (background.isValid()) painter->fillRect(option.rect, background.value<QColor>());
  painter->setPen(selected ? option.palette.highlightedText().color() : option.palette.text().color());
  painter->setFont(option.font);
  const QRect text_rect = option.rect.adjusted(0, 2, 0, 0);
  painter->drawText(text_rect, Qt::AlignHCenter | Qt::AlignTop, index.data(Qt::DisplayRole).toString());
  painter->restore();
}

QTableView* MakeGridView(QWidget* parent, ViewGridModel* model, const char* name) {
  auto* view = new QTableView(parent);
  view->setObjectName(QString::fromLatin1(name));
  view->setModel(model);
  view->setItemDelegate(new ViewGridDelegate(view));
  view->setEditTriggers(QAbstractItemView::NoEditTriggers);
  view->setSelectionMode(QAbstractItemView::ContiguousSelection);
  view->setSelectionBehavior(QAbstractItemView::SelectItems);
  view->setContextMenuPolicy(Qt::CustomContextMenu);
  view->setWordWrap(false);
  auto* rows = view->verticalHeader();
  rows->setSectionResizeMode(QHeaderView::Fixed);
  rows->setDefaultSectionSize(20);
  rows->setDefaultAlignment(Qt::AlignCenter);
  auto* cols = view->horizontalHeader();
  cols->setDefaultSectionSize(40);
  cols->setMinimumSectionSize(20);
  return view;
}

views::TCellRect GridSelection(const QTableView& view) {
  views::TCellRect rect;
  const auto* selection = view.selectionModel();
  if (!selection) return rect;
  const QModelIndexList cells = selection->selectedIndexes();
  if (cells.isEmpty()) return rect;
  rect = {INT_MAX, INT_MAX, INT_MIN, INT_MIN};
  for (const QModelIndex& i : cells) {
    rect.Top = std::min(rect.Top, i.row() + 1);
    rect.Bottom = std::max(rect.Bottom, i.row() + 1);
    rect.Left = std::min(rect.Left, i.column() + 1);
    rect.Right = std::max(rect.Right, i.column() + 1);
  }
  return rect;
}

}  // namespace kelmora::gui
