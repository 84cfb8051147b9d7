// The main window's network commands: the download, its start-up choice, the proxy settings.

#include "gui/command_actions.h"
#include "gui/main_window.h"
#include "gui/proxy_dialog.h"
#include "shell/session.h"

namespace kelmora::gui {

using shell::CommandId;

void MainWindow::RegisterNetworkHandlers() {
  auto& c = *commands_;
  c.SetHandler(CommandId::DrawsDownload, [this] { session_.DownloadDraws(); });
  for (CommandId id : {CommandId::AutoDownload0, CommandId::AutoDownload1, CommandId::AutoDownload2})
    c.SetHandler(id, [this, id] { ToggleViewSwitch(id); });
  c.SetHandler(CommandId::EditProxy, [this] { EditProxy(); });
}

void MainWindow::EditProxy() {
  ProxyDialog dialog(this, session_.Settings().Proxy);
  if (dialog.exec() != QDialog::Accepted) return;
  session_.SetProxy(dialog.Result(), false);
}

}  // namespace kelmora::gui
