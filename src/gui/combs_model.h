#pragma once
// The combination list ("№ п.п.", "s", "h", "d", "c", "SUM") and the history of applied filters
// under it, both read from the Session's combination component on demand.

#include <QAbstractTableModel>
#include <QIcon>

namespace kelmora::shell {
class Session;
}

namespace kelmora::gui {

class CombsModel : public QAbstractTableModel {
  Q_OBJECT
 public:
  enum Column { ColNumber, ColS, ColH, ColD, ColC, ColSum, ColumnCount };

  explicit CombsModel(shell::Session& session, QObject* parent = nullptr);

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

  // The list changed: resets when the count differs, else repaints every row.
  void Refresh();

 private:
  shell::Session& session_;
  int rows_ = 0;
};

class FiltersModel : public QAbstractTableModel {
  Q_OBJECT
 public:
  enum Column { ColCaption, ColValues, ColCount, ColumnCount };

  explicit FiltersModel(shell::Session& session, QObject* parent = nullptr);

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  // The caption column carries the entry's icon: keep, delete or undo.
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

  void Refresh();

 private:
  shell::Session& session_;
  int rows_ = 0;
  QIcon icons_[3];
};

}  // namespace kelmora::gui
