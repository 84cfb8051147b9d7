// The main window's stake and rating commands: the dialogs ask, the Session's stakes component
// acts, the two pages show the result.

#include <QFileDialog>
#include <QTableView>

#include "gui/combs_page.h"
#include "gui/command_actions.h"
#include "gui/main_window.h"
#include "gui/qt_host.h"
#include "gui/qt_text.h"
#include "gui/stake_dialogs.h"
#include "gui/stakes_models.h"
#include "gui/stakes_pages.h"
#include "gui/xlsx_export.h"
#include "shell/combs_state.h"
#include "shell/script_state.h"
#include "shell/session.h"
#include "shell/stakes_state.h"

namespace kelmora::gui {

using shell::CommandId;

void MainWindow::RegisterStakeHandlers() {
  auto& c = *commands_;
  // The component is looked up at each call: the Session makes it anew in Create.
  c.SetHandler(CommandId::StakeAdd, [this] {
    std::optional<lottery::TComb> comb;
    const auto rows = combs_->SelectedRows();
    const auto& list = session_.Combs().CombList();
    if (!rows.empty() && rows.front() < static_cast<int>(list.size())) comb = list[static_cast<size_t>(rows.front())];
    MakeStake(comb);
  });
  c.SetHandler(CommandId::StakeAddRandom, [this] { MakeStake(session_.Stakes().RandomComb()); });
  c.SetHandler(CommandId::StakeAddSelected, [this] { MakeStakes(false); });
  c.SetHandler(CommandId::StakeAddAll, [this] { MakeStakes(true); });
  c.SetHandler(CommandId::StakeDel, [this] {
    const auto [first, last] = stakes_->SelectedRange();
    session_.Stakes().StakeDelCommand(first, last);
    stakes_->Refresh(false);
  });
  c.SetHandler(CommandId::StakeFilter, [this] {
    StakeFilterDialog dialog(this, 0);
    if (dialog.exec() != QDialog::Accepted) return;
    session_.Stakes().StakeFilterCommand(static_cast<stakes::TMatchCompare>(dialog.Value() & 0xFF), dialog.Value() >> 8);
  });
  c.SetHandler(CommandId::StakeClear, [this] { session_.Stakes().StakeClearCommand(); });
  c.SetHandler(CommandId::StakesCheckManual, [this] { session_.Stakes().CheckStakes(); });
  c.SetHandler(CommandId::LogStakes, [this] { SetStakeSwitch(CommandId::LogStakes); });
  c.SetHandler(CommandId::StakesScroll, [this] { SetStakeSwitch(CommandId::StakesScroll); });
  c.SetHandler(CommandId::LogStakesDelete, [this] { session_.Stakes().LogStakesDelete(); });
  c.SetHandler(CommandId::StakesXlsExport, [this] { ExportXlsx(*stakes_->Model(), QStringLiteral("Ставки")); });
  c.SetHandler(CommandId::StakesGraphDraws, [this] { session_.Stakes().StakesGraphDraws(); });
  c.SetHandler(CommandId::StakesGraphOverlap, [this] { session_.Stakes().StakesGraphByRating(rating_->SelectedRows(), false); });
  c.SetHandler(CommandId::StakesGraphProfits, [this] { session_.Stakes().StakesGraphByRating(rating_->SelectedRows(), true); });
  c.SetHandler(CommandId::RatingsGraphOverlap, [this] { session_.Stakes().RatingsGraphOverlap(rating_->SelectedRows()); });
  c.SetHandler(CommandId::RatingsRefresh, [this] { session_.Stakes().RatingsRefresh(); });
  c.SetHandler(CommandId::RatingsExport, [this] {
    QString path = ChooseFile(QStringLiteral("Экспорт рейтинга в CSV-файл"), QStringLiteral("CSV-файлы (*.csv)"), true);
    if (path.isEmpty()) return;
    if (!path.contains(QLatin1Char('.'))) path += QStringLiteral(".csv");
    session_.Stakes().RatingsExport(std::filesystem::path(U(path)));
  });
  c.SetHandler(CommandId::RatingsToScript, [this] {
    if (session_.Script().RatingsToScript(rating_->SelectedRows()) > 0) SelectPage(QStringLiteral("Сценарий"));
  });
  c.SetHandler(CommandId::RatingsXlsExport, [this] { ExportXlsx(*rating_->Model(), QStringLiteral("Рейтинг")); });
  for (CommandId id : {CommandId::RatingsEffMode0, CommandId::RatingsEffMode1, CommandId::RatingsEffMode2})
    c.SetHandler(id, [this, id] { SetStakeSwitch(id); });
}

void MainWindow::SetStakeSwitch(CommandId id) {
  const auto change = shell::ViewSwitchChange(id, session_.MainView());
  if (!change) return;
  shell::ApplyViewSwitch(session_.MainView(), *change);
  session_.WriteViewSwitch(change->Key, change->Value);
  rating_->Refresh();
  commands_->ScheduleUpdate();
}

void MainWindow::MakeStake(std::optional<lottery::TComb> comb) {
  StakeDialog dialog(this, host_, session_.Stakes().NewManualStake(comb), 1);
  if (dialog.exec() != QDialog::Accepted) return;
  session_.Stakes().AddStakeCommand(dialog.Result(), dialog.Count());
  stakes_->Refresh(true);
}

void MainWindow::MakeStakes(bool all) {
  MultiStakeDialog dialog(this, host_, session_.NextDrawNumber(), QStringLiteral("Ставка \"вручную\""), 1);
  if (dialog.exec() != QDialog::Accepted) return;
  const auto& list = session_.Combs().CombList();
  std::vector<lottery::TComb> combs;
  if (all) {
    combs.assign(list.begin(), list.end());
  } else {
    for (int row : combs_->SelectedRows())
      if (row < static_cast<int>(list.size())) combs.push_back(list[static_cast<size_t>(row)]);
  }
  session_.Stakes().AddStakesCommand(combs, dialog.Draw(), U(dialog.Comment()), dialog.Count());
  if (!all) combs_->List()->clearSelection();
  stakes_->Refresh(true);
}

void MainWindow::ExportXlsx(const QAbstractItemModel& model, const QString& title) {
  QString path = ChooseFile(QStringLiteral("Экспорт в Microsoft Excel"), QStringLiteral("Книга Excel (*.xlsx)"), true);
  if (path.isEmpty()) return;
  if (!path.endsWith(QStringLiteral(".xlsx"), Qt::CaseInsensitive)) path += QStringLiteral(".xlsx");
  shell::BusyGuard busy(session_);
  session_.SetStatusText("Экспорт в Microsoft Excel...");
  try {
    ExportModelToXlsx(model, title, path);
  } catch (const std::exception& e) {
    host_.ShowError(e.what());
  }
  session_.SetStatusText("");
}

}  // namespace kelmora::gui
