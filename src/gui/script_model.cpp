#include "gui/script_model.h"

#include "gui/qt_text.h"
#include "shell/script_state.h"
#include "shell/session.h"
#include "shell/stats_state.h"

namespace kelmora::gui {

ScriptModel::ScriptModel(shell::Session& session, QObject* parent) : QAbstractTableModel(parent), session_(session) {}

int ScriptModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : rows_; }

int ScriptModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : ColumnCount; }

const scripts::TStepView& ScriptModel::ViewOf(int row) const {
  if (row != cached_row_) {
    cached_ = scripts::StepLineView(session_.Script().Lines()[static_cast<size_t>(row)], session_.Stats().List());
    cached_row_ = row;
  }
  return cached_;
}

QVariant ScriptModel::data(const QModelIndex& index, int role) const {
  const int row = index.row();
  if (!index.isValid() || row >= rows_ || row >= session_.Script().Count()) return {};
  if (role == Qt::ToolTipRole) return Q(session_.Script().Lines()[static_cast<size_t>(row)]);
  if (role != Qt::DisplayRole) return {};
  const scripts::TStepView& view = ViewOf(row);
  switch (index.column()) {
    case ColComment: return Q(view.Comment);
    case ColOptions: return Q(view.Options);
    default: return Q(view.Filters[static_cast<size_t>(index.column() - ColFilter1)]);
  }
}

QVariant ScriptModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= ColumnCount) return {};
  if (section == ColComment) return QStringLiteral("Комментарии");
  if (section == ColOptions) return QStringLiteral("Опции");
  return QStringLiteral("Фильтр %1").arg(section - ColFilter1 + 1);
}

void ScriptModel::Refresh() {
  cached_row_ = -1;
  const int now = session_.Script().Count();
  if (now > rows_) {
    beginInsertRows({}, rows_, now - 1);
    rows_ = now;
    endInsertRows();
  } else if (now < rows_) {
    beginRemoveRows({}, now, rows_ - 1);
    rows_ = now;
    endRemoveRows();
  }
  if (rows_ > 0) emit dataChanged(index(0, 0), index(rows_ - 1, ColumnCount - 1));
}

}  // namespace kelmora::gui
