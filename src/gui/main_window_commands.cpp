// The main window's command handlers: each asks the user what it needs and hands it to the Session.

#include <memory>

#include <QCoreApplication>
#include <QActionGroup>
#include <QFileDialog>
#include <QMenu>

#include <fmt/format.h>

#include "gui/command_actions.h"
#include "gui/config_dialog.h"
#include "gui/draw_dialog.h"
#include "gui/draw_info_dialog.h"
#include "gui/draws_model.h"
#include "gui/draws_page.h"
#include "gui/info_dialogs.h"
#include "gui/main_window.h"
#include "gui/qt_host.h"
#include "gui/qt_text.h"
#include "gui/xlsx_export.h"
#include "shell/languages.h"
#include "shell/session.h"
#include "support/files.h"
#include "support/platform.h"

namespace kelmora::gui {

using shell::CommandId;

std::filesystem::path HelpFilePath(const std::filesystem::path& exe_dir) {
  const std::filesystem::path folders[] = {exe_dir, exe_dir / "help", exe_dir.parent_path() / "help"};
  for (const auto& folder : folders)
    if (support::FileExists(folder / "Orvane_RUS.chm")) return folder / "Orvane_RUS.chm";
  // No compiled help viewer on Linux: the HTML user guide ships instead, also where
  // `cmake --install` puts it.
  for (const auto& folder : folders)
    if (support::FileExists(folder / "Orvane_RUS.html")) return folder / "Orvane_RUS.html";
  const auto installed = exe_dir.parent_path() / "share" / "kelmora_4r32" / "help" / "Orvane_RUS.html";
  if (support::FileExists(installed)) return installed;
  return folders[0] / "Orvane_RUS.chm";
}

std::filesystem::path HelpFilePath() { return HelpFilePath(support::ExecutableDir()); }

void MainWindow::RegisterHandlers() {
  ChooseFile = [this](const QString& caption, const QString& filter, bool save) {
    return save ? QFileDialog::getSaveFileName(this, caption, QString(), filter)
                : QFileDialog::getOpenFileName(this, caption, QString(), filter);
  };
  auto& c = *commands_;
  c.SetHandler(CommandId::ExitProgram, [] { QCoreApplication::quit(); });
  c.SetHandler(CommandId::EditConfig, [this] { EditConfig(); });
  c.SetHandler(CommandId::EditShredding, [this] { EditShredding(); });
  c.SetHandler(CommandId::DrawsAdd, [this] { AddDraw(); });
  c.SetHandler(CommandId::DrawsEdit, [this] { EditDraw(); });
  c.SetHandler(CommandId::DrawsDel, [this] { DeleteDraws(); });
  c.SetHandler(CommandId::DrawsInfo, [this] { ShowDrawInfo(); });
  c.SetHandler(CommandId::DrawsImport, [this] { ImportDraws(); });
  c.SetHandler(CommandId::DrawsExport, [this] { ExportDraws(); });
  c.SetHandler(CommandId::DrawsXlsExport, [this] { ExportDrawsXlsx(); });
  // Shown with its check mark only; its rule never lets it run.
  c.SetHandler(CommandId::DrawsSorted, [] {});
  c.SetHandler(CommandId::ViewColorDraws, [this] { ToggleViewSwitch(CommandId::ViewColorDraws); });
  c.SetHandler(CommandId::About, [this] { ShowAbout(); });
  c.SetHandler(CommandId::GetHelp, [this] { OpenHelp(); });
  for (CommandId id : shell::WebLinkCommands) c.SetHandler(id, [this, id] { shell::OpenWebLink(session_, id); });
  c.SetMissingHandler([this](CommandId id) { host_.ShowMessage(shell::MessageKind::Attention, shell::MissingAreaText(id)); });
  RegisterStakeHandlers();
  RegisterFilterListHandlers();
  RegisterNetworkHandlers();
  RegisterAnalysisHandlers();
  RegisterTableHandlers();
}

void MainWindow::AddDraw() {
  DrawDialog dialog(this, host_, session_.NewDrawTemplate(), QStringLiteral("Введите данные следующего тиража"));
  if (dialog.exec() == QDialog::Accepted) session_.AddDraw(dialog.Result());
}

void MainWindow::EditDraw() {
  const int row = draws_->FirstSelectedRow();
  const auto& draws = session_.Draws();
  if (row < 0 || row >= static_cast<int>(draws.size())) return;
  std::unique_ptr<DrawDialog> dialog;
  if (!session_.Reported("", [&] {
        dialog = std::make_unique<DrawDialog>(this, host_, draws[draws.size() - 1 - row],
                                              QStringLiteral("Введите данные следующего тиража"));
      }))
    return;
  if (dialog->exec() != QDialog::Accepted) return;
  session_.Reported("", [&] { session_.ChangeDraw(row, dialog->Result()); });
}

void MainWindow::DeleteDraws() {
  if (session_.DeleteDrawRows(draws_->SelectedRows())) draws_->ClearSelection();
}

void MainWindow::ShowDrawInfo() {
  const int row = draws_->FirstSelectedRow();
  if (row < 0) return;
  DrawInfoDialog dialog(this, session_, row);
  dialog.exec();
}

void MainWindow::ImportDraws() {
  const QString path = ChooseFile(QStringLiteral("Импорт из CSV-файла"), QStringLiteral("CSV-файлы (*.csv);;Все файлы (*)"), false);
  if (path.isEmpty()) return;
  session_.ImportDraws(std::filesystem::path(U(path)));
}

void MainWindow::ExportDraws() {
  const QString path = ChooseFile(QStringLiteral("Экспорт в CSV-файл"), QStringLiteral("CSV-файлы (*.csv)"), true);
  if (path.isEmpty()) return;
  session_.ExportDraws(std::filesystem::path(U(path)));
}

void MainWindow::ExportDrawsXlsx() {
  QString path = ChooseFile(QStringLiteral("Экспорт в Microsoft Excel"), QStringLiteral("Книга Excel (*.xlsx)"), true);
  if (path.isEmpty()) return;
  if (!path.endsWith(QStringLiteral(".xlsx"), Qt::CaseInsensitive)) path += QStringLiteral(".xlsx");
  shell::BusyGuard busy(session_, "Экспорт в Microsoft Excel...");
  session_.Reported("", [&] { ExportModelToXlsx(*draws_->Model(), QStringLiteral("Архив тиражей"), path); });
}

void MainWindow::EditConfig() {
  ConfigDialog dialog(this, host_, session_.Settings().Config, session_.DecimalSeparator());
  if (dialog.exec() != QDialog::Accepted) return;
  session_.SetAnalysisSettings(dialog.Result());
  draws_->Refresh();  // channel colours may have changed
}

void MainWindow::EditShredding() {
  ShreddingDialog dialog(this, session_.Settings().Shredding);
  if (dialog.exec() != QDialog::Accepted) return;
  session_.SetShredding(dialog.Result());
}

void MainWindow::ToggleViewSwitch(CommandId id) {
  const auto change = shell::ViewSwitchChange(id, session_.MainView());
  if (!change) return;
  shell::ApplyViewSwitch(session_.MainView(), *change);
  session_.WriteViewSwitch(change->Key, change->Value);
  draws_->Refresh();
}

void MainWindow::ShowAbout() {
  AboutDialog dialog(this);
  dialog.exec();
}

void MainWindow::BuildLanguageMenu(QMenu* file_menu) {
  // Before "Выход": one radio item per language the program has; the active one is checked.
  QAction* exit = commands_->Action(CommandId::ExitProgram);
  language_menu_ = new QMenu(Tr("Язык интерфейса"), file_menu);
  auto* group = new QActionGroup(language_menu_);
  const shell::TLanguageChoice choice = shell::ChooseLanguage(session_, support::ExecutableDir());
  for (const shell::TInterfaceLanguage& language : choice.Languages) {
    QAction* item = language_menu_->addAction(Q(language.Name));
    item->setObjectName(QStringLiteral("Language_%1").arg(language.Lcid));
    item->setCheckable(true);
    item->setChecked(language.Lcid == choice.Active.Lcid);
    item->setActionGroup(group);
    const int lcid = language.Lcid;
    const bool active = language.Lcid == choice.Active.Lcid;
    connect(item, &QAction::triggered, this, [this, lcid, active] {
      if (!active && session_.IsIdle()) ChooseLanguage(lcid);
    });
  }
  file_menu->insertMenu(exit, language_menu_);
  file_menu->insertSeparator(exit);
}

void MainWindow::ChooseLanguage(int lcid) {
  session_.MainView().Language = lcid;
  if (session_.WriteViewSwitch("Language", lcid)) RestartProgram();
}

void MainWindow::OpenHelp() { host_.OpenDocument(HelpFilePath().string()); }

void MainWindow::ShowFirstRunDialog() {
  FirstRunDialog dialog(this, support::FileExists(HelpFilePath()));
  connect(&dialog, &FirstRunDialog::HelpRequested, this, [this] { OpenHelp(); });
  dialog.exec();
  if (dialog.DontShowAgain()) {
    session_.MainView().FirstRun = false;
    session_.WriteViewSwitch("FirstRun", 0);
  }
}

}  // namespace kelmora::gui
