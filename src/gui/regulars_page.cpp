#include "gui/regulars_page.h"

#include <algorithm>

#include <QHeaderView>
#include <QMenu>
#include <QTableView>
#include <QVBoxLayout>

#include "gui/cells_model.h"
#include "gui/command_actions.h"
#include "gui/menu_layout.h"
#include "gui/table_sizing.h"
#include "shell/regulars_state.h"
#include "shell/session.h"

namespace kelmora::gui {

RegularsPage::RegularsPage(QWidget* parent, shell::Session& session, CommandActions& commands)
    : QWidget(parent), session_(session), commands_(commands) {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(2, 2, 2, 2);
  CellsModel::Source source;
  source.Rows = [this] { return session_.Regulars().Count(); };
  source.Columns = stakes::TableColumnCount;
  source.Caption = [](int c) { return stakes::TableColumnCaption(c); };
  source.Cell = [this](int row, int column) {
    const auto& tables = session_.Regulars().Tables();
    return row < static_cast<int>(tables.size()) ? stakes::TableCellText(tables[static_cast<size_t>(row)], column)
                                                 : std::string();
  };
  model_ = new CellsModel(std::move(source), this);
  list_ = NewRowList(this, QStringLiteral("lvTables"), model_);
  const int widths[] = {220, 140, 50, 140, 60};
  for (int c = 0; c < stakes::TableColumnCount; ++c) list_->horizontalHeader()->resizeSection(c, widths[c]);
  FitColumnsToHeader(*list_->horizontalHeader());
  list_->horizontalHeader()->setStretchLastSection(true);
  layout->addWidget(list_);
  connect(list_->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] { emit SelectionChanged(); });
  connect(model_, &QAbstractItemModel::modelReset, this, [this] { emit SelectionChanged(); });
  connect(list_, &QTableView::doubleClicked, this, [this] { commands_.Run(shell::CommandId::TablesStakeAdd); });
  connect(list_, &QWidget::customContextMenuRequested, this, [this](const QPoint& pos) {
    QMenu menu(this);
    commands_.Update();
    commands_.FillMenu(&menu, PlaceItems(Place::TablesMenu));
    menu.exec(list_->viewport()->mapToGlobal(pos));
  });
}

void RegularsPage::Refresh() { model_->Refresh(); }

std::vector<int> RegularsPage::SelectedRows() const { return SelectedRowsOf(*list_); }

}  // namespace kelmora::gui
