#pragma once
// The draws list: one row per draw, newest first, read from the Session on demand.

#include <QAbstractTableModel>

namespace kelmora::shell {
class Session;
}

namespace kelmora::gui {

class DrawsModel : public QAbstractTableModel {
  Q_OBJECT
 public:
  enum Column { ColNumber, ColS, ColH, ColD, ColC, ColSum, ColDate, ColumnCount };

  explicit DrawsModel(shell::Session& session, QObject* parent = nullptr);

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

  // The archive changed: resets when the row count differs, else repaints every row.
  void Refresh();

 private:
  shell::Session& session_;
  int rows_ = 0;
};

}  // namespace kelmora::gui
