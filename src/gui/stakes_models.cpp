#include "gui/stakes_models.h"

#include <algorithm>
#include <limits>

#include <QBrush>
#include <QColor>

#include "gui/qt_text.h"
#include "shell/session.h"
#include "shell/stakes_state.h"

namespace kelmora::gui {

namespace {

QColor KindColor(int kind) {
  switch (kind) {
    case 1: return QColor(0xEA, 0xFF, 0xEA);
    case 2: return QColor(0xFF, 0xEA, 0xEA);
    case 3: return QColor(0xEA, 0xFF, 0xFF);
    case 4: return QColor(0xFC, 0xFD, 0xD9);
    default: return {};
  }
}

}  // namespace

StakesModel::StakesModel(shell::Session& session, QObject* parent) : QAbstractTableModel(parent), session_(session) {}

int StakesModel::rowCount(const QModelIndex& parent) const {
  if (parent.isValid()) return 0;
  return static_cast<int>(std::min<int64_t>(std::max<int64_t>(records_, 1), std::numeric_limits<int>::max()));
}

int StakesModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : stakes::StakeColumnCount; }

QVariant StakesModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= records_) return {};
  const int column = index.column();
  if (role == Qt::TextAlignmentRole) {
    if (column == 7) return QVariant(Qt::AlignRight | Qt::AlignVCenter);
    if (column == 8) return QVariant(Qt::AlignLeft | Qt::AlignVCenter);
    return Qt::AlignCenter;
  }
  if (role != Qt::DisplayRole && role != Qt::BackgroundRole && role != Qt::ForegroundRole) return {};
  const auto rec = session_.Stakes().ReadStake(index.row());
  if (role == Qt::DisplayRole) return Q(stakes::StakeCellText(rec, column, session_.DecimalSeparator()));
  if (role == Qt::BackgroundRole) {
    const QColor color = KindColor(rec.Kind);
    return color.isValid() ? QVariant(QBrush(color)) : QVariant();
  }
  if (rec.Checked && column >= 5 && column <= 7)
    return QBrush(rec.Profit > 0 ? QColor(0x00, 0x80, 0x00) : QColor(0xFF, 0x00, 0x00));
  return {};
}

QVariant StakesModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
  if (section < 0 || section >= stakes::StakeColumnCount) return {};
  return Q(stakes::StakeColumnCaptions()[static_cast<size_t>(section)]);
}

void StakesModel::Refresh() {
  const int64_t now = session_.Stakes().Count();
  if (now != records_) {
    beginResetModel();
    records_ = now;
    endResetModel();
  } else if (rowCount() > 0) {
    emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
  }
}

RatingModel::RatingModel(shell::Session& session, QObject* parent) : QAbstractTableModel(parent), session_(session) {}

int RatingModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : rows_; }

int RatingModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : stakes::RatingColumnCount; }

QVariant RatingModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= rows_) return {};
  if (role == Qt::TextAlignmentRole) return QVariant((index.column() == 0 ? Qt::AlignLeft : Qt::AlignRight) | Qt::AlignVCenter);
  if (role != Qt::DisplayRole) return {};
  return Q(session_.Stakes().RatingCell(index.row(), index.column()));
}

QVariant RatingModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
  if (section < 0 || section >= stakes::RatingColumnCount) return {};
  return Q(stakes::RatingColumnCaptions()[static_cast<size_t>(section)]);
}

void RatingModel::sort(int column, Qt::SortOrder order) {
  // Saving the sorted rating reports the change, which refreshes this model.
  session_.Stakes().SortRating(column, order == Qt::DescendingOrder);
}

void RatingModel::Refresh() {
  beginResetModel();
  rows_ = static_cast<int>(session_.Stakes().Rating().size());
  endResetModel();
}

}  // namespace kelmora::gui
