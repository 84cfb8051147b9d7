#include "gui/table_sizing.h"

#include <algorithm>

#include <QHeaderView>
#include <QScrollBar>
#include <QStyle>
#include <QTableView>

namespace kelmora::gui {

namespace {

int HeaderWidth(const QHeaderView& header, int section) {
  return header.sectionSizeHint(section);
}

}  // namespace

void FitColumns(QTableView& view, int min_width, int max_width) {
  QHeaderView& header = *view.horizontalHeader();
  for (int c = 0; c < header.count(); ++c) {
    if (header.isSectionHidden(c)) continue;
    // (QTableView hides the public overload.) sizeHintForColumn reads the rows in view, so a long table costs no more than a short one.
    const int wanted = std::max(HeaderWidth(header, c), static_cast<const QAbstractItemView&>(view).sizeHintForColumn(c));
    header.resizeSection(c, std::clamp(wanted, min_width, std::max(min_width, max_width)));
  }
}

void FitColumnsToHeader(QHeaderView& header) {
  for (int c = 0; c < header.count(); ++c) {
    if (header.isSectionHidden(c)) continue;
    const int wanted = HeaderWidth(header, c);
    if (header.sectionSize(c) < wanted) header.resizeSection(c, wanted);
  }
}

int WidthForAllColumns(const QTableView& view, bool scrolls) {
  // Before the first show the headers are not polished and report the width of an unstyled font.
  view.verticalHeader()->ensurePolished();
  int width = 2 * view.frameWidth();
  const QHeaderView& header = *view.horizontalHeader();
  for (int c = 0; c < header.count(); ++c)
    if (!header.isSectionHidden(c)) width += header.sectionSize(c);
  if (!view.verticalHeader()->isHidden()) width += view.verticalHeader()->sizeHint().width();
  if (scrolls) width += view.style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, &view);
  return width;
}

QStringList ElidedHeaderTexts(const QHeaderView& header) {
  QStringList out;
  const QAbstractItemModel* model = header.model();
  if (!model) return out;
  for (int c = 0; c < header.count(); ++c) {
    if (header.isSectionHidden(c)) continue;
    if (header.sectionSize(c) < HeaderWidth(header, c))
      out << model->headerData(c, header.orientation(), Qt::DisplayRole).toString();
  }
  return out;
}

}  // namespace kelmora::gui
