#pragma once
// Column and view sizes that let headers and cells be read whole.

#include <QStringList>

class QHeaderView;
class QTableView;

namespace kelmora::gui {

// Widens or narrows every visible column to the larger of its header (with the sort mark) and
// the cells on screen, within [min_width, max_width].
void FitColumns(QTableView& view, int min_width = 28, int max_width = 260);
// Widens only the columns whose header caption (with the sort mark) does not fit.
void FitColumnsToHeader(QHeaderView& header);
// The width the view needs to show all its columns and its row captions without a horizontal
// scroll bar, with room for a vertical one when `scrolls` is set.
int WidthForAllColumns(const QTableView& view, bool scrolls);
// The captions of visible sections too narrow for their text; they are drawn elided.
QStringList ElidedHeaderTexts(const QHeaderView& header);

}  // namespace kelmora::gui
