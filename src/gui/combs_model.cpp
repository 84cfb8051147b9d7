#include "gui/combs_model.h"

#include <QColor>
#include <QPainter>
#include <QPixmap>

#include "gui/qt_text.h"
#include "lottery/comb_ops.h"
#include "lottery/comb_text.h"
#include "shell/combs_state.h"
#include "shell/session.h"

namespace kelmora::gui {

namespace {

QColor RgbColor(uint32_t rgb) { return QColor((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF); }

// Small drawn icons, so the history needs no image files: a green plus for keep, a red minus for
// delete and a blue arrow for undo.
QIcon HistoryIcon(filtering::TFilterKind kind) {
  QPixmap pixmap(16, 16);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  QPen pen;
  pen.setWidth(3);
  switch (kind) {
    case filtering::TFilterKind::Keep:
      pen.setColor(QColor(0x00, 0x90, 0x00));
      painter.setPen(pen);
      painter.drawLine(8, 2, 8, 14);
      painter.drawLine(2, 8, 14, 8);
      break;
    case filtering::TFilterKind::Delete:
      pen.setColor(QColor(0xD0, 0x00, 0x00));
      painter.setPen(pen);
      painter.drawLine(2, 8, 14, 8);
      break;
    case filtering::TFilterKind::Undo:
      pen.setColor(QColor(0x00, 0x40, 0xD0));
      painter.setPen(pen);
      painter.drawArc(3, 3, 10, 10, 90 * 16, -270 * 16);
      painter.drawLine(8, 3, 4, 1);
      painter.drawLine(8, 3, 5, 7);
      break;
  }
  return QIcon(pixmap);
}

}  // namespace

CombsModel::CombsModel(shell::Session& session, QObject* parent) : QAbstractTableModel(parent), session_(session) {}

int CombsModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : rows_; }

int CombsModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : ColumnCount; }

QVariant CombsModel::data(const QModelIndex& index, int role) const {
  const auto* combs = session_.CombsIfCreated();
  if (!combs || !index.isValid() || index.row() >= rows_ || index.row() >= combs->Count()) return {};
  const lottery::TComb comb = combs->CombList()[static_cast<size_t>(index.row())];
  const int column = index.column();
  const bool value_cell = column >= ColS && column <= ColC;
  if (role == Qt::DisplayRole) {
    if (column == ColNumber) return index.row() + 1;
    if (value_cell) return Q(lottery::ValueToText(lottery::CombValue(comb, column - ColS)));
    if (column == ColSum) {
      int sum = 0;
      for (int p = 0; p < lottery::PositionCount; ++p) sum += lottery::CombValue(comb, p);
      return sum;
    }
    return {};
  }
  if (role == Qt::BackgroundRole && session_.MainView().ColorCombs) {
    if (value_cell)
      return RgbColor(lottery::ChannelColor(lottery::CombValue(comb, column - ColS), session_.Settings().Config.ChannelSize));
    return QColor(Qt::white);
  }
  if (role == Qt::TextAlignmentRole) return static_cast<int>(Qt::AlignCenter);
  return {};
}

QVariant CombsModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return QAbstractTableModel::headerData(section, orientation, role);
  static const char* const captions[] = {"№ п.п.", "s", "h", "d", "c", "SUM"};
  return section >= 0 && section < ColumnCount ? Q(captions[section]) : QVariant();
}

void CombsModel::Refresh() {
  const auto* combs = session_.CombsIfCreated();
  const int count = combs ? combs->Count() : 0;
  if (count != rows_) {
    beginResetModel();
    rows_ = count;
    endResetModel();
    return;
  }
  if (rows_ > 0) emit dataChanged(index(0, 0), index(rows_ - 1, ColumnCount - 1));
}

FiltersModel::FiltersModel(shell::Session& session, QObject* parent)
    : QAbstractTableModel(parent), session_(session),
      icons_{HistoryIcon(filtering::TFilterKind::Keep), HistoryIcon(filtering::TFilterKind::Delete),
             HistoryIcon(filtering::TFilterKind::Undo)} {}

int FiltersModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : rows_; }

int FiltersModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : ColumnCount; }

QVariant FiltersModel::data(const QModelIndex& index, int role) const {
  const auto* combs = session_.CombsIfCreated();
  if (!combs || !index.isValid() || index.row() >= rows_ || index.row() >= static_cast<int>(combs->FilterHistory().size()))
    return {};
  const auto& item = combs->FilterHistory()[static_cast<size_t>(index.row())];
  if (role == Qt::DisplayRole) {
    switch (index.column()) {
      case ColCaption: return Q(item.Caption);
      case ColValues: return Q(item.Values);
      case ColCount: return Q(item.Count);
      default: return {};
    }
  }
  if (role == Qt::DecorationRole && index.column() == ColCaption) return icons_[static_cast<int>(item.Kind)];
  if (role == Qt::TextAlignmentRole && index.column() == ColCount) return static_cast<int>(Qt::AlignRight | Qt::AlignVCenter);
  return {};
}

QVariant FiltersModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return QAbstractTableModel::headerData(section, orientation, role);
  static const char* const captions[] = {"Примененные фильтры", "Значения", "Комбинаций"};
  return section >= 0 && section < ColumnCount ? Q(captions[section]) : QVariant();
}

void FiltersModel::Refresh() {
  const auto* combs = session_.CombsIfCreated();
  beginResetModel();
  rows_ = combs ? static_cast<int>(combs->FilterHistory().size()) : 0;
  endResetModel();
}

}  // namespace kelmora::gui
