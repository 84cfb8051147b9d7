// The main window's pages "Регуляры" and "Системы" and their commands: the dialogs ask, the
// Session's regulars and systems components act, the pages show the result.

#include <algorithm>

#include <QTabWidget>
#include <QTableView>

#include "gui/combs_page.h"
#include "gui/command_actions.h"
#include "gui/main_window.h"
#include "gui/qt_host.h"
#include "gui/qt_text.h"
#include "gui/regulars_page.h"
#include "gui/script_dialog.h"
#include "gui/stake_dialogs.h"
#include "gui/stakes_pages.h"
#include "gui/system_dialog.h"
#include "gui/systems_page.h"
#include "gui/table_dialog.h"
#include "shell/combs_state.h"
#include "shell/regulars_state.h"
#include "shell/session.h"
#include "shell/systems_state.h"

namespace kelmora::gui {

using shell::CommandId;

void MainWindow::BuildTablePages() {
  regulars_ = new RegularsPage(right_pages_, session_, *commands_);
  right_pages_->setTabVisible(right_pages_->addTab(regulars_, Tr("Регуляры")), false);
  systems_ = new SystemsPage(right_pages_, session_, *commands_);
  right_pages_->setTabVisible(right_pages_->addTab(systems_, Tr("Системы")), false);
  connect(regulars_, &RegularsPage::SelectionChanged, commands_, &CommandActions::ScheduleUpdate);
  connect(systems_, &SystemsPage::SelectionChanged, commands_, &CommandActions::ScheduleUpdate);
}

void MainWindow::ShowTablePages() {
  right_pages_->setTabVisible(right_pages_->indexOf(regulars_), session_.Regulars().Shown());
  right_pages_->setTabVisible(right_pages_->indexOf(systems_), session_.Systems().Shown());
  regulars_->Refresh();
  systems_->Refresh();
}

void MainWindow::RegisterTableHandlers() {
  auto& c = *commands_;
  c.SetHandler(CommandId::TabTables, [this] {
    session_.Regulars().TabTables();
    ShowTablePages();
    if (session_.Regulars().Shown()) SelectPage(QStringLiteral("Регуляры"));
  });
  c.SetHandler(CommandId::TablesAdd, [this] { AddTables(); });
  c.SetHandler(CommandId::TablesDel, [this] {
    if (session_.Regulars().DeleteTables(regulars_->SelectedRows())) regulars_->List()->clearSelection();
  });
  c.SetHandler(CommandId::TablesStakeAdd, [this] {
    const auto rows = regulars_->SelectedRows();
    if (rows.empty()) return;
    const auto prepared = session_.Regulars().PrepareStake(rows.front());
    if (!prepared) return;
    StakeDialog dialog(this, host_, prepared->second, 1);
    if (dialog.exec() != QDialog::Accepted) return;
    session_.Regulars().StakeAdd(rows.front(), prepared->first, dialog.Result(), dialog.Count());
    stakes_->Refresh(true);
  });
  c.SetHandler(CommandId::TablesStakeTest, [this] {
    const auto rows = regulars_->SelectedRows();
    TestCountDialog dialog(this, std::max(1, static_cast<int>(session_.Draws().size()) - 1));
    if (rows.empty() || dialog.exec() != QDialog::Accepted || dialog.Count() <= 0) return;
    session_.Regulars().StakeTest(rows, dialog.Count());
    stakes_->Refresh(true);
  });

  c.SetHandler(CommandId::SystemsOn, [this] {
    session_.Systems().SystemsOn();
    ShowTablePages();
    if (session_.Systems().Shown()) SelectPage(QStringLiteral("Системы"));
  });
  c.SetHandler(CommandId::SystemsRefresh, [this] { RefreshSystems(); });
  c.SetHandler(CommandId::SystemsDownload, [this] {
    const int focused = systems_->CurrentRow();
    const auto done = session_.Systems().SystemsDownload(systems_->SelectedRows());
    // A downloaded row leaves the selection unless it is the focused one.
    for (const int row : done) {
      if (row == focused) continue;
      systems_->List()->selectionModel()->select(systems_->List()->model()->index(row, 0),
                                                QItemSelectionModel::Deselect | QItemSelectionModel::Rows);
    }
    systems_->Refresh();
  });
  c.SetHandler(CommandId::SystemsAdd, [this] {
    SystemDialog dialog(this, host_, session_.Systems().NewSystem(), true);
    if (dialog.exec() != QDialog::Accepted) return;
    systems_->SelectRow(session_.Systems().AddSystem(dialog.Result()));
  });
  c.SetHandler(CommandId::SystemsProp, [this] {
    const auto rows = systems_->SelectedRows();
    if (rows.empty()) return;
    const auto data = session_.Systems().SystemForEdit(rows.front());
    if (!data) return;
    SystemDialog dialog(this, host_, *data, session_.Systems().IsOwn(rows.front()));
    if (dialog.exec() != QDialog::Accepted) return;
    session_.Systems().ChangeSystem(rows.front(), dialog.Result());
  });
  c.SetHandler(CommandId::SystemsDel, [this] {
    const auto rows = systems_->SelectedRows();
    if (!rows.empty()) session_.Systems().DeleteSystem(rows.front());
  });
  c.SetHandler(CommandId::SystemStakeAll, [this] { PlaySystem(true); });
  c.SetHandler(CommandId::SystemStakeFilter, [this] { PlaySystem(false); });
}

void MainWindow::RefreshSystems() {
  const auto rows = systems_->SelectedRows();
  const auto& list = session_.Systems().List();
  const int32_t id = rows.empty() || rows.front() >= static_cast<int>(list.size()) ? 0 : list[static_cast<size_t>(rows.front())].Id;
  const int row = session_.Systems().RefreshSystemsList(id);
  systems_->Refresh();
  systems_->SelectRow(row);
}

void MainWindow::AddTables() {
  const auto rows = combs_->SelectedRows();
  const auto& list = session_.Combs().CombList();
  std::vector<lottery::TComb> selected;
  for (const int row : rows)
    if (row < static_cast<int>(list.size())) selected.push_back(list[static_cast<size_t>(row)]);
  auto& regulars = session_.Regulars();
  TableDialog dialog(this, host_, regulars.NewTable(selected), static_cast<int>(selected.size()), regulars.Tables());
  if (dialog.exec() != QDialog::Accepted) return;
  regulars.AddTables(dialog.Result(), rows);
}

void MainWindow::PlaySystem(bool whole) {
  auto& systems = session_.Systems();
  const auto play = systems.PrepareSystemPlay(whole);
  if (!play) return;
  MultiStakeDialog dialog(this, host_, play->Draw, Q(play->Name), 1);
  if (dialog.exec() != QDialog::Accepted) return;
  systems.SystemStake(*play, whole, dialog.Draw(), U(dialog.Comment()), dialog.Count());
  stakes_->Refresh(true);
}

}  // namespace kelmora::gui
