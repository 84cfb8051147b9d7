#include "gui/systems_page.h"

#include <algorithm>

#include <QHeaderView>
#include <QMenu>
#include <QPainter>
#include <QPixmap>
#include <QTableView>
#include <QVBoxLayout>

#include "gui/cells_model.h"
#include "gui/command_actions.h"
#include "gui/menu_layout.h"
#include "gui/table_sizing.h"
#include "shell/session.h"
#include "shell/systems_state.h"

namespace kelmora::gui {

using shell::CommandId;

namespace {

// A disc whose fill tells downloaded (green) from not downloaded (grey) and whose ring tells own
// (blue), other authors' (dark) and anonymous (none) systems apart.
QIcon SystemIcon(bool downloaded, int owner) {
  QPixmap pixmap(14, 14);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  const QColor ring = owner == 0 ? QColor(0x1f, 0x5f, 0xd0) : owner == 1 ? QColor(0x40, 0x40, 0x40) : Qt::transparent;
  painter.setPen(QPen(ring, 2));
  painter.setBrush(downloaded ? QColor(0x2e, 0xa0, 0x43) : QColor(0xc8, 0xc8, 0xc8));
  painter.drawEllipse(QRectF(1.5, 1.5, 11, 11));
  return QIcon(pixmap);
}

}  // namespace

SystemsPage::SystemsPage(QWidget* parent, shell::Session& session, CommandActions& commands)
    : QWidget(parent), session_(session), commands_(commands) {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(2, 2, 2, 2);
  CellsModel::Source source;
  source.Rows = [this] { return static_cast<int>(session_.Systems().List().size()); };
  source.Columns = shell::SystemsState::ColumnCount;
  source.Caption = [](int c) { return shell::SystemsState::ColumnCaption(c); };
  source.Cell = [this](int row, int column) { return session_.Systems().Cell(row, column); };
  source.Icon = [this](int row) {
    const auto& systems = session_.Systems();
    if (row >= static_cast<int>(systems.List().size()) || systems.List()[static_cast<size_t>(row)].Id <= 0) return QIcon();
    const int owner = systems.IsOwn(row) ? 0 : systems.List()[static_cast<size_t>(row)].AuthorMail.empty() ? 2 : 1;
    return SystemIcon(systems.IsDownloaded(row), owner);
  };
  model_ = new CellsModel(std::move(source), this);
  list_ = NewRowList(this, QStringLiteral("lvSystems"), model_);
  const int widths[] = {200, 110, 50, 45, 80, 130, 80, 65, 130, 220, 160};
  for (int c = 0; c < shell::SystemsState::ColumnCount; ++c) list_->horizontalHeader()->resizeSection(c, widths[c]);
  FitColumnsToHeader(*list_->horizontalHeader());
  layout->addWidget(list_);
  connect(list_->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] { emit SelectionChanged(); });
  connect(model_, &QAbstractItemModel::modelReset, this, [this] { emit SelectionChanged(); });
  connect(list_, &QTableView::doubleClicked, this, [this] { commands_.Run(CommandId::SystemsProp); });
  connect(list_, &QWidget::customContextMenuRequested, this, [this](const QPoint& pos) {
    QMenu menu(this);
    commands_.Update();
    commands_.FillMenu(&menu, SystemsContextMenu());
    menu.exec(list_->viewport()->mapToGlobal(pos));
  });
}

void SystemsPage::Refresh() {
  model_->Refresh();
  // Titles and times are read whole; the other columns keep the width of their captions.
  for (const int c : {0, 5, 8}) list_->resizeColumnToContents(c);
}

std::vector<int> SystemsPage::SelectedRows() const { return SelectedRowsOf(*list_); }

int SystemsPage::CurrentRow() const { return list_->currentIndex().isValid() ? list_->currentIndex().row() : -1; }

void SystemsPage::SelectRow(int row) {
  if (row < 0 || row >= model_->rowCount()) return;
  const QModelIndex index = model_->index(row, 0);
  list_->selectionModel()->select(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
  list_->setCurrentIndex(index);
  list_->scrollTo(index);
}

}  // namespace kelmora::gui
