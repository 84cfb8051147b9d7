// The favourites commands of the main window: the manager, the reset and the method descriptions.

#include <memory>

#include "gui/command_actions.h"
#include "gui/filter_help_dialog.h"
#include "gui/filters_manager_dialog.h"
#include "gui/main_window.h"
#include "shell/session.h"
#include "shell/stats_state.h"

namespace kelmora::gui {

using shell::CommandId;

void MainWindow::RegisterFilterListHandlers() {
  auto& c = *commands_;
  c.SetHandler(CommandId::FiltersManager, [this] { EditFavorites(); });
  c.SetHandler(CommandId::FiltersReset, [this] { session_.Stats().FiltersReset(); });
  c.SetHandler(CommandId::FiltersInfo, [this] { ShowFilterHelp(session_.Stats().SelectedEntry()); });
}

void MainWindow::EditFavorites() {
  std::unique_ptr<FiltersManagerDialog> dialog;
  {
    shell::BusyGuard status(session_, "Подождите пожалуйста...", shell::Busy::No);
    dialog = std::make_unique<FiltersManagerDialog>(this, session_);
  }
  dialog->ShowDescription = [this](int entry) { ShowFilterHelp(entry); };
  if (dialog->exec() != QDialog::Accepted) return;
  session_.Stats().FiltersManager(dialog->Tree());
}

void MainWindow::ShowFilterHelp(int entry) {
  auto& list = session_.Stats().List();
  list.SetHelpFolder(FilterHelpFolder());
  const std::string url = entry >= 0 && entry < list.Count() ? list.HelpURL(entry) : std::string();
  FilterHelpDialog dialog(this, session_, url);
  dialog.exec();
}

}  // namespace kelmora::gui
