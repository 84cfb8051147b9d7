#include "shell/script_state.h"

#include <algorithm>

#include <fmt/format.h>

#include "scripts/script.h"
#include "shell/session.h"
#include "shell/stakes_state.h"
#include "shell/stats_state.h"
#include "support/error.h"
#include "support/files.h"

namespace kelmora::shell {

namespace {

// A line break typed or pasted into a field would split the step in two when the file is read back.
std::string OneLine(std::string_view text) {
  std::string line(text);
  std::replace_if(line.begin(), line.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
  return line;
}

}  // namespace

ScriptState::ScriptState(Session& session) : session_(session) {}

std::filesystem::path ScriptState::CurrentScriptPath() const { return session_.DataPath(scripts::CurrentScriptFileName); }

std::string ScriptState::StatusText() const { return fmt::format("Строк: {}", lines_.size()); }

void ScriptState::CheckIndex(int index) const {
  if (index < 0 || index >= Count()) support::Fail("Запись со индексом {} в файле данных не найдена!", index);
}

int ScriptState::AddScriptLine(std::string_view line) {
  lines_.push_back(OneLine(line));
  SaveCurrentScript();
  return Count() - 1;
}

void ScriptState::SetScriptLine(int index, std::string_view line) {
  CheckIndex(index);
  lines_[static_cast<size_t>(index)] = OneLine(line);
  SaveCurrentScript();
}

const std::string& ScriptState::GetScriptLine(int index) const {
  CheckIndex(index);
  return lines_[static_cast<size_t>(index)];
}

bool ScriptState::LoadScriptFile(const std::filesystem::path& path, bool append) {
  BusyGuard status(session_, fmt::format("Загрузка файла \"{}\"...", path.string()), Busy::No);
  // The file is read whole before the script changes, so a failed read leaves it as it was.
  const bool ok = session_.Reported(fmt::format("Ошибка чтения файла \"{}\"!", path.string()), [&] {
    std::vector<std::string> file_lines = scripts::ReadScriptFile(path);
    if (append)
      scripts::AppendScriptLines(lines_, file_lines);
    else
      lines_ = std::move(file_lines);
  });
  RefreshScriptView();
  return ok;
}

bool ScriptState::SaveScriptFile(const std::filesystem::path& path) {
  BusyGuard status(session_, fmt::format("Сохранение файла \"{}\"...", path.string()), Busy::No);
  const bool ok = session_.Reported(fmt::format("Ошибка записи в файл \"{}\"!", path.string()),
                                    [&] { scripts::WriteScriptFile(path, lines_); });
  RefreshScriptView();
  return ok;
}

void ScriptState::ReplaceLines(std::vector<std::string> lines) { lines_ = std::move(lines); }

bool ScriptState::SaveCurrentScript() {
  if (current_unreadable_) {
    session_.GetHost().ShowError(fmt::format(
        "Ошибка записи в файл \"{}\"!\r\rФайл сценария не удалось прочитать при запуске, поэтому он не будет "
        "перезаписан.",
        CurrentScriptPath().string()));
    RefreshScriptView();
    return false;
  }
  return SaveScriptFile(CurrentScriptPath());
}

void ScriptState::LoadCurrentScript() {
  current_unreadable_ = false;
  if (support::FileExists(CurrentScriptPath()))
    current_unreadable_ = !LoadScriptFile(CurrentScriptPath(), false);
  else
    RefreshScriptView();
}

void ScriptState::RefreshScriptView() { session_.GetHost().ViewChanged(ViewId::Script); }

bool ScriptState::ScriptOpen(const std::filesystem::path& path) {
  return LoadScriptFile(path, false) && SaveCurrentScript();
}

bool ScriptState::ScriptLoad(const std::filesystem::path& path) {
  return LoadScriptFile(path, true) && SaveCurrentScript();
}

bool ScriptState::DeleteLines(const std::vector<int>& rows) {
  std::vector<int> sorted = rows;
  std::sort(sorted.begin(), sorted.end());
  sorted.erase(std::unique(sorted.begin(), sorted.end()), sorted.end());
  if (sorted.empty()) return false;
  if (!session_.Reported("", [&] {
        CheckIndex(sorted.front());
        CheckIndex(sorted.back());
      }))
    return false;
  if (!session_.GetHost().ConfirmDelete(static_cast<int>(sorted.size()))) return false;
  {
    BusyGuard status(session_, "Удаление строк...");
    for (auto it = sorted.rbegin(); it != sorted.rend(); ++it) lines_.erase(lines_.begin() + *it);
  }
  SaveCurrentScript();  // refreshes the view too
  return true;
}

bool ScriptState::ClearLines() {
  if (lines_.empty() || !session_.GetHost().ConfirmDelete(Count())) return false;
  lines_.clear();
  SaveCurrentScript();
  return true;
}

std::optional<int> ScriptState::MoveLine(int row, bool up) {
  const int other = up ? row - 1 : row + 1;
  std::optional<int> moved;
  session_.Reported("", [&] {
    CheckIndex(row);
    CheckIndex(other);
    std::swap(lines_[static_cast<size_t>(row)], lines_[static_cast<size_t>(other)]);
    moved = other;
  });
  if (moved) SaveCurrentScript();
  return moved;
}

int ScriptState::RatingsToScript(const std::vector<int>& rating_rows) {
  std::vector<int> rows = rating_rows;
  std::sort(rows.begin(), rows.end());
  int added = 0;
  {
    BusyGuard status(session_, "Генерация новых строк в сценарии...");
    const auto& rating = session_.Stakes().Rating();
    for (int row : rows) {
      if (row < 0 || row >= static_cast<int>(rating.size())) continue;
      const std::string& name = rating[static_cast<size_t>(row)].Name;
      const auto line = scripts::RatingNameToStepLine(name, session_.Stats().List());
      if (!line) {
        session_.GetHost().ShowError(fmt::format("Строку\r\r{}\r\rневозможно добавить в сценарий!", name));
        continue;
      }
      lines_.push_back(OneLine(*line));
      ++added;
    }
  }
  // One rewrite for all the new lines: the file ends the same as after one save per line.
  if (added > 0) SaveCurrentScript();
  return added;
}

}  // namespace kelmora::shell
