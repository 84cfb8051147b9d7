#pragma once
// The grids of the analysis pages: a table model over a view's cell texts and colours (row 0 and
// column 0 of the view's grid become the headers, every cell is read on demand), the delegate that
// draws a cell's colour and its text centred 2 pixels below the top, and the selection of a grid
// view in the view's coordinates.

#include <cstdint>
#include <functional>
#include <string>

#include <QAbstractTableModel>
#include <QStyledItemDelegate>

#include "views/view_filters.h"

class QTableView;

namespace kelmora::gui {

struct ViewGridSource {
  std::function<int()> Rows;  // of the view's grid, titles included
  std::function<int()> Cols;
  std::function<std::string(int row, int col)> Text;
  std::function<int64_t(int row, int col)> Color;  // 0xRRGGBB, -1 for the grid's own colour
};

class ViewGridModel : public QAbstractTableModel {
  Q_OBJECT
 public:
  ViewGridModel(ViewGridSource source, QObject* parent);
  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
  // The grid's size or content changed.
  void Reset();
  // Only the colours changed.
  void Repaint();

 private:
  ViewGridSource source_;
};

class ViewGridDelegate : public QStyledItemDelegate {
  Q_OBJECT
 public:
  using QStyledItemDelegate::QStyledItemDelegate;
  void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
};

// A read-only cell grid over the model with fixed row heights, so a long grid costs nothing to lay out.
QTableView* MakeGridView(QWidget* parent, ViewGridModel* model, const char* name);
// The bounding block of the selected cells in the view's grid coordinates (the model's cell (r, c)
// is the grid's (r + 1, c + 1)); Bottom < Top when nothing is selected.
views::TCellRect GridSelection(const QTableView& view);

}  // namespace kelmora::gui
