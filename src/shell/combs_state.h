#pragma once
// The combination list page without widgets: CombList, UndoList, CombBuffer and FilterHistory with
// the commands over them, the manual filter of the statistics table, and the automatic application
// of filter parts and variants for the script runner. Owned by the Session.

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "filtering/comb_list.h"
#include "filtering/filter_apply.h"

namespace kelmora::shell {

class Session;
class FilterApplication;

// Where the entries of an automatic application go and how a stop request is asked for. The
// script runner provides it; without a sink nothing is logged and nothing stops.
struct FilterRunSignals {
  std::function<void(std::string_view entry)> Log;  // called only with ScriptLogEnabled
  std::function<bool()> StopRequested;               // after the Host's ProcessEvents
  // The fast application a run owns (filter_application.h); none: the literal application.
  FilterApplication* Application = nullptr;
};

class CombsState {
 public:
  explicit CombsState(Session& session);

  const filtering::TCombLists& Lists() const { return lists_; }
  const filtering::TCombsArray& CombList() const { return lists_.CombList; }
  const std::vector<filtering::TFilterHistoryItem>& FilterHistory() const { return lists_.FilterHistory; }
  int Count() const { return lists_.Count(); }
  bool CanUndo() const { return lists_.HasSnapshot(); }
  // Status panel 3: "Комбинаций: %d".
  std::string StatusText() const;

  // Snapshot and undo with their status texts; failures propagate (the state the lists name).
  void TakeSnapshot(bool show_status);
  void UndoCombList(bool show_status);
  // SaveToBuffer / LoadFromBuffer with their status texts; failures are shown.
  void SaveToBuffer(int key1, int key2);
  bool LoadFromBuffer(int key1, int key2);
  void ResetBuffer() { lists_.ResetBuffer(); }
  void DiscardSnapshot() { lists_.DiscardSnapshot(); }

  // Generation (modes 0..4). With show_status: busy state and status, then the history, the undo
  // snapshot and the buffer are emptied. A failure shows "Ошибка генерации файла комбинаций!"; the
  // list holds what was generated. Returns whether it succeeded.
  // keep_buffer leaves CombBuffer as it was (the script runner's start lists stay cached).
  bool GenerateCombList(int mode, std::string_view parameter, bool show_status, bool keep_buffer = false);
  // The configured defaults.
  bool GenerateDefault(bool show_status, bool keep_buffer = false);
  // "Генерировать": optionally stores the mode and parameter as defaults, then generates.
  void GenerateCommand(int mode, std::string_view parameter, bool save_as_defaults);

  // The file: load shows "Ошибка чтения файла \"%s\"!" and returns false keeping what was read;
  // save shows "Ошибка записи в файл \"%s\"!".
  bool LoadCombFile(const std::filesystem::path& path);
  bool SaveCombFile(const std::filesystem::path& path);
  // CombList becomes these combinations, with no filter history and nothing to undo (a start list
  // read by the command line); the change is signalled like any other.
  void ReplaceList(const filtering::TCombsArray& combs);
  // "Открыть": the previous list comes back when the file cannot be read; never undoable.
  bool OpenCommand(const std::filesystem::path& path);

  // Removers (each takes the snapshot itself, adds a history entry, and can be undone).
  void RemoveLastDraws(int n);  // "Исключить тиражи" with the exclusion count
  void ExcludeDrawsCommand();   // n = the view state's DrawsExclude; nothing when 0
  void RemoveSelected(const std::vector<int>& rows);
  // "Отменить".
  void UndoCommand();

  // Clipboard: the rows in the "7 10 J A" form, and the paste (refused with the error shown).
  void CopyToClipboard(const std::vector<int>& rows);
  bool PasteFromClipboard();

  // "Количество уникальных номеров" and "Проверить по архиву тиражей" (shown as information).
  void ShowDistinctValues();
  void FindInArchive(int row);

  // The manual filter of the statistics table: the selected rows of the current table, keep or
  // delete. Takes the snapshot; nothing selected leaves the list as it was.
  void ApplyStatFilter(const std::vector<int>& table_rows, bool is_delete);
  // The filter of an analysis grid: the snapshot, then the pass with a new number statistic over
  // the collected card values. Nothing collected shows "В выделенном диапазоне нет значений для
  // фильтра!" and leaves the list as it was.
  void ApplyViewFilter(const stats::TStatDrawArray& selected, const std::string& values_text,
                       std::string_view caption, bool is_delete);

  // The automatic application on the Session's statistics table (which shows the last part's table
  // afterwards). Throws support::Error as filtering::ApplyFilterPart does.
  void ApplyFilterPart(const filtering::TFilterPart& part, const FilterRunSignals& run_signals);
  void ApplyFilterVar(const filtering::TFilterRec& rec, const FilterRunSignals& run_signals);

 private:
  friend class FilterApplication;  // works on the lists and signals their change
  void Changed();

  Session& session_;
  filtering::TCombLists lists_;
};

}  // namespace kelmora::shell
