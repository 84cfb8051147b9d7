#pragma once
// The current script without widgets: the lines the main window owns for its whole life, their
// editing operations, the script files, the autosaved Kelmora_4r32.lss rewritten after every change
// and read at start-up, and the steps rebuilt from rating rows. Owned by the Session; the runner
// reads the lines and never changes them.

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace kelmora::shell {

class Session;

class ScriptState {
 public:
  explicit ScriptState(Session& session);

  // The system's ScriptLines; index 0 is the first step, a blank line is a separator.
  const std::vector<std::string>& Lines() const { return lines_; }
  int Count() const { return static_cast<int>(lines_.size()); }
  std::filesystem::path CurrentScriptPath() const;  // Kelmora_4r32.lss
  // Panel 1 of the script status bar: "Строк: %d".
  std::string StatusText() const;

  // --- the operations on the current script ---
  // Appends the line, saves Kelmora_4r32.lss and returns the new index. Line breaks inside the
  // text become blanks: the file keeps one script line per text line.
  int AddScriptLine(std::string_view line);
  // Replaces the line and saves; an index outside the script throws support::Error "Запись со
  // индексом %d в файле данных не найдена!".
  void SetScriptLine(int index, std::string_view line);
  // The line at the index; throws as SetScriptLine.
  const std::string& GetScriptLine(int index) const;
  // Reads a script file: replace mode, or append mode into an empty script, takes the file's lines;
  // append mode otherwise adds a separator (unless the script ends with one) and the file's lines.
  // A read failure shows "Ошибка чтения файла \"%s\"!" and leaves the script as it was. The view
  // is refreshed in every case. Returns whether the file was read. Does not save.
  bool LoadScriptFile(const std::filesystem::path& path, bool append);
  // Writes every line ("Ошибка записи в файл \"%s\"!" on failure, the old file kept) and refreshes
  // the view. Returns whether the file was written.
  bool SaveScriptFile(const std::filesystem::path& path);
  // The autosave: SaveScriptFile of Kelmora_4r32.lss. A file that existed but could not be read at
  // start-up is never written over (the refusal is shown): it may hold the user's only copy.
  bool SaveCurrentScript();
  // Start-up: reads Kelmora_4r32.lss when it exists; a missing file leaves the script empty.
  void LoadCurrentScript();
  bool CurrentScriptUnreadable() const { return current_unreadable_; }
  // Replaces every line (a script downloaded from the catalogue); does not save.
  void ReplaceLines(std::vector<std::string> lines);
  // Row count and "Строк: %d" of the script view.
  void RefreshScriptView();

  // --- the commands (the front end chose the file or the rows) ---
  // "Открыть" / "Добавить сценарий": LoadScriptFile in replace / append mode, then the autosave.
  bool ScriptOpen(const std::filesystem::path& path);
  bool ScriptLoad(const std::filesystem::path& path);
  // "Удалить": the shared delete confirmation for the rows, then the lines from the last row down
  // to the first, the view and the autosave. A row outside the script is reported and nothing is
  // asked. Returns whether lines were deleted.
  bool DeleteLines(const std::vector<int>& rows);
  // "Удалить все": the confirmation for all lines, then the empty script and the autosave.
  bool ClearLines();
  // "Переместить вверх" / "вниз": exchanges the line with its neighbour and saves. Returns the
  // moved line's new row; nullopt after a reported index error (no neighbour, or outside).
  std::optional<int> MoveLine(int row, bool up);
  // "Добавить в сценарий" of the rating: one step per rating row (in view order) whose name gives
  // a filter; the others are reported one by one. Returns how many lines were added.
  int RatingsToScript(const std::vector<int>& rating_rows);

 private:
  // Throws the index error when the index is outside.
  void CheckIndex(int index) const;

  Session& session_;
  std::vector<std::string> lines_;
  bool current_unreadable_ = false;
};

}  // namespace kelmora::shell
