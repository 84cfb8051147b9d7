// The stakes file as the guard against a second copy: held open with exclusive access for the run.

#include <fmt/format.h>

#include "shell/session.h"
#include "support/error.h"

namespace kelmora::shell {

namespace {

constexpr const char* ExclusiveAccessMessage =
    "Невозможно получить монопольный доступ к файлам данных!\r\r"
    "Возможные причины данной ошибки: \r\r"
    "1) Вы пытаетесь запустить вторую копию программы из одного и того же каталога. Корректная "
    "работа нескольких копий программы возможна только из разных каталогов.\r\r"
    "2) Для программы нет прав на запись в том каталоге, где она расположена. Например: в Windows 7 "
    "и выше по умолчанию запрещена запись в c:\\Program Files.\r\r"
    "Программа будет закрыта!";

}  // namespace

std::filesystem::path Session::StakesPath() const { return DataPath(fmt::format("{}.lsk", ProgramName)); }

bool Session::OpenStakesFile() {
  if (stakes_file_) return true;
  try {
    stakes_file_ = std::make_unique<support::LockedFile>(StakesPath());
    return true;
  } catch (const std::exception&) {
    terminate_requested_ = true;
    host_.ShowError(ExclusiveAccessMessage);
    return false;
  }
}

void Session::CloseStakesFile() {
  if (!stakes_file_) return;
  BusyGuard status(*this, "Сохранение файла ставок...", Busy::No);
  Reported("Ошибка записи в файл ставок!", [&] { stakes_file_.reset(); });
}

}  // namespace kelmora::shell
