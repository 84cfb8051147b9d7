// The main window's network commands: the download, its start-up choice, the proxy settings, the
// self-update.

#include <QCoreApplication>
#include <QProcess>

#include "gui/command_actions.h"
#include "gui/library_dialogs.h"
#include "gui/main_window.h"
#include "gui/proxy_dialog.h"
#include "gui/qt_host.h"
#include "shell/session.h"
#include "shell/switches.h"

namespace kelmora::gui {

using shell::CommandId;

void MainWindow::RegisterNetworkHandlers() {
  auto& c = *commands_;
  c.SetHandler(CommandId::DrawsDownload, [this] { session_.DownloadDraws(); });
  for (CommandId id : {CommandId::AutoDownload0, CommandId::AutoDownload1, CommandId::AutoDownload2})
    c.SetHandler(id, [this, id] { ToggleViewSwitch(id); });
  c.SetHandler(CommandId::EditProxy, [this] { EditProxy(); });
  c.SetHandler(CommandId::AutoSelfUpdate, [this] { ToggleViewSwitch(CommandId::AutoSelfUpdate); });
  c.SetHandler(CommandId::CheckUpdate, [this] {
    if (session_.CheckForUpdate({}, false, UpdateDialog()) == net::UpdateInstalled) RestartProgram();
  });
}

shell::Session::UpdateAsk MainWindow::UpdateDialog() {
  return [this](const std::string& running, const net::TUpdateVersionInfo& offer, const std::vector<std::string>& notes) {
    UpdateInformerDialog dialog(this, running, offer, notes);
    return dialog.exec() == QDialog::Accepted;
  };
}

void MainWindow::RestartProgram() {
  // The new instance waits for this one to end ("restart"), then starts on the same folder.
  QStringList arguments = QCoreApplication::arguments().mid(1);
  if (!arguments.contains(QString::fromLatin1(shell::SwitchRestart))) arguments << QString::fromLatin1(shell::SwitchRestart);
  if (!host_.Unattended()) QProcess::startDetached(QCoreApplication::applicationFilePath(), arguments);
  restart_requested_ = true;
  close();
}

void MainWindow::EditProxy() {
  ProxyDialog dialog(this, session_.Settings().Proxy);
  if (dialog.exec() != QDialog::Accepted) return;
  session_.SetProxy(dialog.Result(), false);
}

}  // namespace kelmora::gui
