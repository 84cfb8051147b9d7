#pragma once
// A table model over functions of the Session's data: row count, captions and cell texts are read
// on demand, so a page's model is a few lambdas instead of a class.

#include <functional>
#include <string>
#include <vector>

#include <QAbstractTableModel>
#include <QIcon>

class QTableView;

namespace kelmora::gui {

class CellsModel : public QAbstractTableModel {
  Q_OBJECT
 public:
  struct Source {
    std::function<int()> Rows;
    int Columns = 0;
    std::function<const char*(int column)> Caption;
    std::function<std::string(int row, int column)> Cell;
    std::function<QIcon(int row)> Icon;  // of the first column; may be empty
  };
  CellsModel(Source source, QObject* parent);

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

  // The data changed: a reset (the selection goes with it when the row count changed).
  void Refresh();

 private:
  Source source_;
  int rows_ = 0;
};

// A read-only list of whole rows over the model, several selectable, its context menu asked of
// the page.
QTableView* NewRowList(QWidget* parent, const QString& name, QAbstractItemModel* model);
// The selected rows of a view, ascending.
std::vector<int> SelectedRowsOf(const QTableView& view);

}  // namespace kelmora::gui
