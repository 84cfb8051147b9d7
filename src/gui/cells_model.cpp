#include "gui/cells_model.h"

#include <algorithm>

#include <QHeaderView>
#include <QTableView>

#include "gui/qt_text.h"

namespace kelmora::gui {

CellsModel::CellsModel(Source source, QObject* parent) : QAbstractTableModel(parent), source_(std::move(source)) {
  rows_ = source_.Rows();
}

int CellsModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : rows_; }

int CellsModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : source_.Columns; }

QVariant CellsModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= rows_) return {};
  if (role == Qt::DisplayRole) return Q(source_.Cell(index.row(), index.column()));
  if (role == Qt::DecorationRole && index.column() == 0 && source_.Icon) return source_.Icon(index.row());
  return {};
}

QVariant CellsModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
  return Q(source_.Caption(section));
}

void CellsModel::Refresh() {
  const int rows = source_.Rows();
  if (rows != rows_) {
    beginResetModel();
    rows_ = rows;
    endResetModel();
  } else if (rows_ > 0) {
    emit dataChanged(index(0, 0), index(rows_ - 1, source_.Columns - 1));
  }
}

QTableView* NewRowList(QWidget* parent, const QString& name, QAbstractItemModel* model) {
  auto* view = new QTableView(parent);
  view->setObjectName(name);
  view->setModel(model);
  view->setSelectionBehavior(QAbstractItemView::SelectRows);
  view->setSelectionMode(QAbstractItemView::ExtendedSelection);
  view->setEditTriggers(QAbstractItemView::NoEditTriggers);
  view->verticalHeader()->setVisible(false);
  view->verticalHeader()->setDefaultSectionSize(20);
  view->setContextMenuPolicy(Qt::CustomContextMenu);
  return view;
}

std::vector<int> SelectedRowsOf(const QTableView& view) {
  std::vector<int> rows;
  for (const auto& index : view.selectionModel()->selectedRows()) rows.push_back(index.row());
  std::sort(rows.begin(), rows.end());
  return rows;
}

}  // namespace kelmora::gui
