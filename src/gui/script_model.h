#pragma once
// The script list view over the Session's current script: one row per line, the comment, the
// option caption and the seven filters in their normal form, read on demand.

#include <QAbstractTableModel>

#include "scripts/script.h"

namespace kelmora::shell {
class Session;
}

namespace kelmora::gui {

class ScriptModel : public QAbstractTableModel {
  Q_OBJECT
 public:
  enum Column : int { ColComment, ColOptions, ColFilter1, ColumnCount = ColFilter1 + filtering::FilterSlots };

  explicit ScriptModel(shell::Session& session, QObject* parent = nullptr);

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  // Display texts (all empty for a separator); the raw line as tooltip.
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

  // The lines changed: the row count follows the script (rows are added or removed at the end,
  // so a selection of the rows that stay is kept) and every row is read again.
  void Refresh();

 private:
  const scripts::TStepView& ViewOf(int row) const;

  shell::Session& session_;
  int rows_ = 0;
  // A row is painted cell by cell: its line is cut and its filters are read once.
  mutable int cached_row_ = -1;
  mutable scripts::TStepView cached_;
};

}  // namespace kelmora::gui
