#include "gui/stakes_models.h"

#include <algorithm>
#include <limits>

#include <QBrush>
#include <QColor>
#include <QFontMetrics>
#include <QPainter>

#include "gui/qt_text.h"
#include "lottery/comb_text.h"
#include "shell/session.h"
#include "shell/stakes_state.h"

namespace kelmora::gui {

namespace {

QColor KindColor(int kind) {
  switch (kind) {
    case 1: return QColor(0xEA, 0xFF, 0xEA);
    case 2: return QColor(0xFF, 0xEA, 0xEA);
    case 3: return QColor(0xEA, 0xFF, 0xFF);
    case 4: return QColor(0xFC, 0xFD, 0xD9);
    default: return {};
  }
}

}  // namespace

StakesModel::StakesModel(shell::Session& session, QObject* parent) : QAbstractTableModel(parent), session_(session) {}

int StakesModel::rowCount(const QModelIndex& parent) const {
  if (parent.isValid()) return 0;
  return static_cast<int>(std::min<int64_t>(std::max<int64_t>(records_, 1), std::numeric_limits<int>::max()));
}

int StakesModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : stakes::StakeColumnCount; }

QVariant StakesModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= records_) return {};
  const int column = index.column();
  if (role == Qt::TextAlignmentRole) {
    if (column == 7) return QVariant(Qt::AlignRight | Qt::AlignVCenter);
    if (column == 8) return QVariant(Qt::AlignLeft | Qt::AlignVCenter);
    return Qt::AlignCenter;
  }
  if (role != Qt::DisplayRole && role != Qt::BackgroundRole && role != Qt::ForegroundRole && role != CardsRole) return {};
  const auto rec = session_.Stakes().ReadStake(index.row());
  if (role == CardsRole) {
    if (rec.Kind == 0 || (column != 2 && column != 4) || (column == 4 && !rec.Checked)) return {};
    const lottery::TComb shown = column == 2 ? rec.Values : rec.Results;
    const lottery::TComb other = column == 2 ? rec.Results : rec.Values;
    const int count = column == 2 ? std::clamp(rec.ValueCount, 0, 4) : 4;
    QVariantList cards;
    for (int p = 0; p < count; ++p) {
      const int value = lottery::CombValue(shown, p);
      cards << QVariant(QVariantList{Q(lottery::ValueToText(value)), rec.Checked && value == lottery::CombValue(other, p)});
    }
    return cards;
  }
  if (role == Qt::DisplayRole) return Q(stakes::StakeCellText(rec, column, session_.DecimalSeparator()));
  if (role == Qt::BackgroundRole) {
    const QColor color = KindColor(rec.Kind);
    return color.isValid() ? QVariant(QBrush(color)) : QVariant();
  }
  if (rec.Checked && column >= 5 && column <= 7)
    return QBrush(rec.Profit > 0 ? QColor(0x00, 0x80, 0x00) : QColor(0xFF, 0x00, 0x00));
  return {};
}

QVariant StakesModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
  if (section < 0 || section >= stakes::StakeColumnCount) return {};
  return Q(stakes::StakeColumnCaptions()[static_cast<size_t>(section)]);
}

void StakesModel::Refresh() {
  const int64_t now = session_.Stakes().Count();
  if (now != records_) {
    beginResetModel();
    records_ = now;
    endResetModel();
  } else if (rowCount() > 0) {
    emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
  }
}

void StakeCardsDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const {
  const QVariantList cards = index.data(StakesModel::CardsRole).toList();
  if (cards.isEmpty()) {
    QStyledItemDelegate::paint(painter, option, index);
    return;
  }
  // The cell without its text, then each card on its own.
  QStyleOptionViewItem plain = option;
  initStyleOption(&plain, index);
  plain.text.clear();
  plain.widget->style()->drawControl(QStyle::CE_ItemViewItem, &plain, painter, plain.widget);
  constexpr int Gap = 3;
  QFont bold = option.font;
  bold.setBold(true);
  int width = 0;
  for (const QVariant& card : cards) {
    const QVariantList c = card.toList();
    width += QFontMetrics(c[1].toBool() ? bold : option.font).horizontalAdvance(c[0].toString()) + Gap;
  }
  int x = option.rect.left() + std::max(0, (option.rect.width() - width + Gap) / 2);
  painter->save();
  for (const QVariant& card : cards) {
    const QVariantList c = card.toList();
    const bool hit = c[1].toBool();
    painter->setFont(hit ? bold : option.font);
    painter->setPen(hit ? QColor(0x00, 0x00, 0xFF)
                        : option.palette.color(option.state & QStyle::State_Selected ? QPalette::HighlightedText
                                                                                     : QPalette::Text));
    const int w = QFontMetrics(painter->font()).horizontalAdvance(c[0].toString());
    painter->drawText(QRect(x, option.rect.top(), w, option.rect.height()), Qt::AlignVCenter | Qt::AlignLeft,
                      c[0].toString());
    x += w + Gap;
  }
  painter->restore();
}

RatingModel::RatingModel(shell::Session& session, QObject* parent) : QAbstractTableModel(parent), session_(session) {}

int RatingModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : rows_; }

int RatingModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : stakes::RatingColumnCount; }

QVariant RatingModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= rows_) return {};
  if (role == Qt::TextAlignmentRole) return QVariant((index.column() == 0 ? Qt::AlignLeft : Qt::AlignRight) | Qt::AlignVCenter);
  if (role != Qt::DisplayRole) return {};
  return Q(session_.Stakes().RatingCell(index.row(), index.column()));
}

QVariant RatingModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
  if (section < 0 || section >= stakes::RatingColumnCount) return {};
  return Q(stakes::RatingColumnCaptions()[static_cast<size_t>(section)]);
}

void RatingModel::sort(int column, Qt::SortOrder order) {
  // Saving the sorted rating reports the change, which refreshes this model.
  session_.Stakes().SortRating(column, order == Qt::DescendingOrder);
}

void RatingModel::Refresh() {
  beginResetModel();
  rows_ = static_cast<int>(session_.Stakes().Rating().size());
  endResetModel();
}

}  // namespace kelmora::gui
