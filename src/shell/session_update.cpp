// The Session's self-update and its online script library component.

#include <cstdlib>

#include <fmt/format.h>

#include "shell/library_state.h"
#include "shell/network_state.h"
#include "shell/session.h"
#include "shell/switches.h"
#include "support/platform.h"

namespace kelmora::shell {

LibraryState& Session::Library() {
  if (!library_) library_ = std::make_unique<LibraryState>(*this);
  return *library_;
}

std::filesystem::path Session::ProgramDir() const {
  if (!options_.ProgramDir.empty()) return options_.ProgramDir;
  if (const char* dir = std::getenv("KELMORA_PROGRAM_DIR"); dir && *dir) return dir;
  return support::ExecutableDir();
}

int Session::CheckForUpdate(const std::string& source, bool silent, const UpdateAsk& ask) {
  net::TUpdateCheck check;
  check.Source = source.empty() ? settings_.Network.UpdateUrl : source;
  if (check.Source.empty() && !settings_.Network.CatalogUrl.empty()) {
    std::string base = settings_.Network.CatalogUrl;
    while (!base.empty() && base.back() == '/') base.pop_back();
    base += net::UpdateDescriptionPath;
    check.Source = base;
  }
  check.Silent = silent;
  check.Lcid = HasSwitch(SwitchNoLanguage) ? 1049 : main_view_.Language;
  check.ProgramDir = ProgramDir();
  // One description section serves both front ends: they are installed together in one folder.
  check.Section = ProgramName;
  check.RunningVersion = KELMORA_VERSION;
  check.RunningExecutable = support::ExecutablePath();
  check.Http = Network().RequestSettings(settings_.Network);

  net::TUpdateUi ui;
  ui.ShowError = [this](const std::string& text) { host_.ShowError(text); };
  ui.ShowInformation = [this](const std::string& text) { host_.ShowInformation(text); };
  ui.ShowWarning = [this](const std::string& text) { host_.ShowWarning(text); };
  int position = 0;
  ui.ShowProgress = [this, &position](const std::string& text, int maximum) {
    position = 0;
    host_.ShowProgress(text, maximum, false);
  };
  ui.StepProgress = [this, &position] { host_.SetProgressPosition(++position); };
  ui.HideProgress = [this] { host_.HideProgress(); };
  ui.AskInstall = ask;
  ui.Pump = [this] { host_.ProcessEvents(); };

  BusyGuard busy(*this);
  if (check.Source.empty()) {
    if (!silent)
      host_.ShowError(
          "Ошибка поиска обновлений!\r\rНе задан адрес описания обновлений: параметр UpdateUrl секции NETWORK файла "
          "конфигурации Kelmora_4r32.ini.");
    return net::UpdateFailed;
  }
  return net::CheckForUpdate(check, ui);
}

int Session::StartupUpdateCheck(const UpdateAsk& ask) {
  if (!main_view_.AutoUpdates || HasSwitch(SwitchLoadOnly) || HasSwitch(SwitchFullRecreate) ||
      HasSwitch(SwitchFullRefresh))
    return net::UpdateNone;
  return CheckForUpdate({}, true, ask);
}

}  // namespace kelmora::shell
