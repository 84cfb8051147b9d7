#include "gui/stakes_pages.h"

#include "gui/table_sizing.h"

#include <algorithm>

#include <QHeaderView>
#include <QMenu>
#include <QTableView>
#include <QVBoxLayout>

#include "gui/command_actions.h"
#include "gui/menu_layout.h"
#include "gui/stakes_models.h"
#include "shell/session.h"
#include "shell/stakes_state.h"

namespace kelmora::gui {

using shell::CommandId;

namespace {

QTableView* NewTable(QWidget* parent, const QString& name) {
  auto* table = new QTableView(parent);
  table->setObjectName(name);
  table->setSelectionBehavior(QAbstractItemView::SelectRows);
  table->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table->verticalHeader()->setVisible(false);
  table->verticalHeader()->setDefaultSectionSize(20);
  table->setContextMenuPolicy(Qt::CustomContextMenu);
  return table;
}

void ShowMenuOf(QWidget* parent, CommandActions& commands, Place place, const QPoint& global) {
  QMenu menu(parent);
  commands.Update();
  commands.FillMenu(&menu, PlaceItems(place));
  menu.exec(global);
}

}  // namespace

StakesPage::StakesPage(QWidget* parent, shell::Session& session, CommandActions& commands)
    : QWidget(parent), session_(session), commands_(commands) {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(2, 2, 2, 2);
  model_ = new StakesModel(session_, this);
  grid_ = NewTable(this, QStringLiteral("sgStakes"));
  grid_->setModel(model_);
  grid_->setSelectionMode(QAbstractItemView::ContiguousSelection);
  auto* cards = new StakeCardsDelegate(grid_);
  grid_->setItemDelegateForColumn(2, cards);
  grid_->setItemDelegateForColumn(4, cards);
  const int widths[] = {60, 60, 120, 60, 120, 60, 60, 60, 1000};
  for (int c = 0; c < stakes::StakeColumnCount; ++c) grid_->horizontalHeader()->resizeSection(c, widths[c]);
  FitColumnsToHeader(*grid_->horizontalHeader());  // "№ тиража", "Вид ставки" ... read whole
  layout->addWidget(grid_);
  connect(grid_->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] { emit SelectionChanged(); });
  connect(model_, &QAbstractItemModel::modelReset, this, [this] { emit SelectionChanged(); });
  connect(grid_, &QWidget::customContextMenuRequested, this, [this](const QPoint& pos) {
    ShowMenuOf(this, commands_, Place::StakesMenu, grid_->viewport()->mapToGlobal(pos));
  });
}

void StakesPage::Refresh(bool to_end) {
  model_->Refresh();
  if (to_end && model_->Records() > 0) {
    const QModelIndex last = model_->index(model_->rowCount() - 1, 0);
    grid_->setCurrentIndex(last);
    grid_->scrollTo(last);
  }
}

std::pair<int64_t, int64_t> StakesPage::SelectedRange() const {
  const auto rows = grid_->selectionModel()->selectedRows();
  if (rows.isEmpty() || model_->Records() == 0) return {0, -1};
  int first = rows.front().row(), last = first;
  for (const auto& index : rows) {
    first = std::min(first, index.row());
    last = std::max(last, index.row());
  }
  return {first + 1, std::min<int64_t>(last + 1, model_->Records())};
}

RatingPage::RatingPage(QWidget* parent, shell::Session& session, CommandActions& commands)
    : QWidget(parent), session_(session), commands_(commands) {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(2, 2, 2, 2);
  model_ = new RatingModel(session_, this);
  list_ = NewTable(this, QStringLiteral("lvRatings"));
  list_->setModel(model_);
  list_->setSelectionMode(QAbstractItemView::ExtendedSelection);
  list_->horizontalHeader()->resizeSection(0, 220);
  for (int c = 1; c < stakes::RatingColumnCount; ++c) list_->horizontalHeader()->resizeSection(c, 64);
  list_->horizontalHeader()->setSectionsClickable(true);
  list_->horizontalHeader()->setSortIndicatorShown(true);
  FitColumnsToHeader(*list_->horizontalHeader());
  layout->addWidget(list_);
  connect(list_->horizontalHeader(), &QHeaderView::sectionClicked, this, [this](int column) {
    // The same column toggles the direction; another starts ascending.
    auto& stakes = session_.Stakes();
    const bool desc = column == stakes.RatingSortColumn() ? !stakes.RatingSortDescending() : false;
    model_->sort(column, desc ? Qt::DescendingOrder : Qt::AscendingOrder);
  });
  connect(list_->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] { emit SelectionChanged(); });
  connect(model_, &QAbstractItemModel::modelReset, this, [this] { emit SelectionChanged(); });
  connect(list_, &QTableView::doubleClicked, this, [this] { commands_.Run(CommandId::RatingsGraphOverlap); });
  connect(list_, &QWidget::customContextMenuRequested, this, [this](const QPoint& pos) {
    ShowMenuOf(this, commands_, Place::RatingMenu, list_->viewport()->mapToGlobal(pos));
  });
}

void RatingPage::Refresh() {
  model_->Refresh();
  auto& stakes = session_.Stakes();
  list_->horizontalHeader()->setSortIndicator(stakes.RatingSortColumn(), stakes.RatingSortDescending()
                                                                              ? Qt::DescendingOrder
                                                                              : Qt::AscendingOrder);
}

std::vector<int> RatingPage::SelectedRows() const {
  std::vector<int> rows;
  for (const auto& index : list_->selectionModel()->selectedRows()) rows.push_back(index.row());
  std::sort(rows.begin(), rows.end());
  return rows;
}

}  // namespace kelmora::gui
