// The stakes file as the guard against a second copy: held open with exclusive access for the run.

#include <fmt/format.h>

#include "shell/session.h"
#include "stakes/stakes_file.h"
#include "support/error.h"
#include "support/files.h"

namespace kelmora::shell {

namespace {

std::string DataFolderText(const std::filesystem::path& folder) {
  std::error_code ec;
  const auto absolute = std::filesystem::absolute(folder, ec);
  return (ec ? folder : absolute).lexically_normal().string();
}

}  // namespace

std::filesystem::path Session::StakesPath() const { return DataPath(fmt::format("{}.lsk", ProgramName)); }

std::optional<std::string> Session::LockDataFolder(std::chrono::milliseconds wait) {
  if (stakes_file_) return std::nullopt;
  stakes_unreadable_ = false;
  std::unique_ptr<support::LockedFile> locked;
  try {
    locked = std::make_unique<support::LockedFile>(StakesPath(), wait);
  } catch (const support::LockBusyError&) {
    return fmt::format(
        "Папка данных \"{}\" занята: с ней уже работает другая копия программы или другая команда "
        "kelmora. Одновременно с одной папкой данных может работать только одна программа.",
        DataFolderText(options_.DataDir));
  } catch (const std::exception& e) {
    return fmt::format("Нет доступа на запись к папке данных \"{}\": {}", DataFolderText(options_.DataDir),
                       e.what());
  }
  // Only the holder of the lock writes here, so every temporary of a process that is gone is stale.
  support::RemoveStaleTemporaries(options_.DataDir);
  support::RemoveStaleTemporaries(options_.DataDir / "Prefetchs");
  try {
    stakes_file_ = std::make_unique<stakes::TStakesFile>(std::move(locked));
  } catch (const std::exception& e) {
    // The lock went with the file that could not be read: nothing may be written now.
    host_.ShowError(fmt::format("Ошибка чтения файла ставок!\r\r{}", e.what()));
    stakes_unreadable_ = true;
    return fmt::format("Файл ставок в папке данных \"{}\" не удалось прочитать.", DataFolderText(options_.DataDir));
  }
  return std::nullopt;
}

bool Session::OpenStakesFile() {
  if (stakes_file_) return true;
  const auto problem = LockDataFolder(std::chrono::milliseconds(0));
  if (!problem) return true;
  if (stakes_unreadable_) return false;  // reported as such; the program goes on without stakes
  terminate_requested_ = true;
  host_.ShowError(fmt::format("Невозможно получить монопольный доступ к файлам данных!\r\r{}\r\rПрограмма будет "
                              "закрыта!",
                              *problem));
  return false;
}

void Session::CloseStakesFile() {
  if (!stakes_file_) return;
  BusyGuard status(*this, "Сохранение файла ставок...", Busy::No);
  Reported("Ошибка записи в файл ставок!", [&] { stakes_file_.reset(); });
}

}  // namespace kelmora::shell
