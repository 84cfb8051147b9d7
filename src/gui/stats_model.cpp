#include "gui/stats_model.h"

#include "gui/qt_text.h"
#include "shell/session.h"
#include "shell/stats_state.h"

namespace kelmora::gui {

namespace {

Qt::Alignment AlignmentOf(int column) {
  switch (stats::StatColumnAlignment(column)) {
    case stats::ColumnAlign::Left: return Qt::AlignLeft | Qt::AlignVCenter;
    case stats::ColumnAlign::Right: return Qt::AlignRight | Qt::AlignVCenter;
    case stats::ColumnAlign::Center: return Qt::AlignCenter;
  }
  return Qt::AlignLeft | Qt::AlignVCenter;
}

}  // namespace

StatsModel::StatsModel(shell::Session& session, QObject* parent)
    : QAbstractTableModel(parent), session_(session),
      rows_(static_cast<int>(session.Stats().Table().Rows.size())) {}

int StatsModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : rows_; }

int StatsModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : stats::StatColumnCount; }

QVariant StatsModel::data(const QModelIndex& index, int role) const {
  const auto& rows = session_.Stats().Table().Rows;
  if (!index.isValid() || index.row() >= rows_ || index.row() >= static_cast<int>(rows.size())) return {};
  if (role == Qt::DisplayRole) return Q(rows[static_cast<size_t>(index.row())].Cells[static_cast<size_t>(index.column())]);
  if (role == Qt::TextAlignmentRole) return static_cast<int>(AlignmentOf(index.column()));
  return {};
}

QVariant StatsModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || section < 0 || section >= stats::StatColumnCount)
    return QAbstractTableModel::headerData(section, orientation, role);
  if (role == Qt::DisplayRole) return Q(stats::StatColumnCaptions()[static_cast<size_t>(section)]);
  return {};
}

void StatsModel::Refresh() {
  beginResetModel();
  rows_ = static_cast<int>(session_.Stats().Table().Rows.size());
  endResetModel();
}

}  // namespace kelmora::gui
