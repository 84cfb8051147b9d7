#include "gui/draws_model.h"

#include <QColor>
#include <QFont>

#include "gui/qt_text.h"
#include "lottery/comb_ops.h"
#include "lottery/comb_text.h"
#include "shell/session.h"

namespace kelmora::gui {

namespace {

// Stronger than every pastel channel colour, so value cells of the current row keep theirs.
const QColor CurrentDrawColor(0xC8, 0x3C, 0x3C);

QColor RgbColor(uint32_t rgb) { return QColor((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF); }

}  // namespace

DrawsModel::DrawsModel(shell::Session& session, QObject* parent)
    : QAbstractTableModel(parent), session_(session), rows_(static_cast<int>(session.Draws().size())) {}

int DrawsModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : rows_; }

int DrawsModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : ColumnCount; }

QVariant DrawsModel::data(const QModelIndex& index, int role) const {
  const auto& draws = session_.Draws();
  const int count = static_cast<int>(draws.size());
  if (!index.isValid() || index.row() >= count || index.row() >= rows_) return {};
  const lottery::TDrawRec& draw = draws[count - 1 - index.row()];
  const lottery::TComb shown = session_.MainView().SortedDraws ? lottery::SortComb(draw.Values) : draw.Values;
  const int column = index.column();
  const bool value_cell = column >= ColS && column <= ColC;

  if (role == Qt::DisplayRole) {
    if (column == ColNumber) return QString::number(draw.Number);
    if (value_cell) return Q(lottery::ValueToText(lottery::CombValue(shown, column - ColS)));
    if (column == ColSum) {
      int sum = 0;
      for (int p = 0; p < lottery::PositionCount; ++p) sum += lottery::CombValue(draw.Values, p);
      return QString::number(sum);
    }
    if (column == ColDate) return Q(draw.Date);
    return {};
  }
  if (role == Qt::BackgroundRole) {
    if (value_cell && session_.MainView().ColorDraws)
      return RgbColor(lottery::ChannelColor(lottery::CombValue(shown, column - ColS),
                                            session_.Settings().Config.ChannelSize));
    if (index.row() == session_.DrawsOffset()) return CurrentDrawColor;
    return {};
  }
  if (role == Qt::ForegroundRole && index.row() == session_.DrawsOffset() &&
      !(value_cell && session_.MainView().ColorDraws))
    return QColor(Qt::white);
  if (role == Qt::FontRole && index.row() == session_.DrawsOffset()) {
    QFont bold;
    bold.setBold(true);
    return bold;
  }
  if (role == Qt::TextAlignmentRole) {
    return static_cast<int>(column == ColDate ? (Qt::AlignLeft | Qt::AlignVCenter) : Qt::AlignCenter);
  }
  return {};
}

QVariant DrawsModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return QAbstractTableModel::headerData(section, orientation, role);
  switch (section) {
    case ColNumber: return QStringLiteral("Тираж");
    case ColS: return QStringLiteral("s");
    case ColH: return QStringLiteral("h");
    case ColD: return QStringLiteral("d");
    case ColC: return QStringLiteral("c");
    case ColSum: return QStringLiteral("SUM");
    case ColDate: return QStringLiteral("Дата тиража");
    default: return {};
  }
}

void DrawsModel::Refresh() {
  const int count = static_cast<int>(session_.Draws().size());
  if (count != rows_) {
    beginResetModel();
    rows_ = count;
    endResetModel();
    return;
  }
  if (rows_ > 0) emit dataChanged(index(0, 0), index(rows_ - 1, ColumnCount - 1));
}

}  // namespace kelmora::gui
