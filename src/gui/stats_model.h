#pragma once
// The statistics table: one row per value of the current table, twenty columns of texts, read from
// the Session's statistics component on demand.

#include <QAbstractTableModel>

namespace kelmora::shell {
class Session;
}

namespace kelmora::gui {

class StatsModel : public QAbstractTableModel {
  Q_OBJECT
 public:
  explicit StatsModel(shell::Session& session, QObject* parent = nullptr);

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

  // The table was recomputed or resorted: every row may differ.
  void Refresh();

 private:
  shell::Session& session_;
  int rows_ = 0;
};

}  // namespace kelmora::gui
