#pragma once
// The stakes grid and the rating view, read from the Session's stakes component on demand: a
// file of a million stakes shows at once, since only the visible rows are ever read.

#include <QAbstractTableModel>
#include <QStyledItemDelegate>

namespace kelmora::shell {
class Session;
}

namespace kelmora::gui {

class StakesModel : public QAbstractTableModel {
  Q_OBJECT
 public:
  // Columns "Моя ставка" and "Результаты тиража" as cards: a QVariantList of {text, bool}, true for
  // a card equal to the other side's card at the same position (drawn bold blue).
  static constexpr int CardsRole = Qt::UserRole + 1;

  explicit StakesModel(shell::Session& session, QObject* parent = nullptr);

  // One row per record; a file without records shows one empty row.
  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  // Texts, alignment, the background by kind and the profit colours of checked stakes.
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

  // The file changed: resets when the count differs, else repaints.
  void Refresh();
  int64_t Records() const { return records_; }

 private:
  shell::Session& session_;
  int64_t records_ = 0;
};

// Draws the card columns of the stakes grid card by card, three pixels apart.
class StakeCardsDelegate : public QStyledItemDelegate {
  Q_OBJECT
 public:
  using QStyledItemDelegate::QStyledItemDelegate;
  void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
};

class RatingModel : public QAbstractTableModel {
  Q_OBJECT
 public:
  explicit RatingModel(shell::Session& session, QObject* parent = nullptr);

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
  // A click on a header: the Session sorts (and saves) the rating.
  void sort(int column, Qt::SortOrder order) override;

  void Refresh();

 private:
  shell::Session& session_;
  int rows_ = 0;
};

}  // namespace kelmora::gui
