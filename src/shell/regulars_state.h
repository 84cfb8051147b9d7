#pragma once
// The "Регуляры" page without widgets: the rules of Kelmora_4r32.ltb, loaded and saved only while
// the page is shown, and the commands that add, delete, stake and test them. Owned by the Session.

#include <filesystem>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

#include "stakes/regulars.h"
#include "stakes/stake_rec.h"

namespace kelmora::shell {

class Session;

// The rule dialog's limits and texts.
inline constexpr size_t TableCommentMax = 64;
inline constexpr const char* TableNameTakenText =
    "Запись с таким комментарией уже присутствует в списке!\rВыберите другой комментарий.";
// Shown when the step leaves the one-wrap range: such a rule stakes values outside 7..14.
inline constexpr const char* TableStepWarningText =
    "Шаг больше 8 по модулю: значения ставок выйдут за пределы 7..14 и такая ставка никогда не совпадёт "
    "с тиражом.";

class RegularsState {
 public:
  explicit RegularsState(Session& session);

  bool Shown() const { return shown_; }
  // The page appears (start-up with the switch on, or "TabTables"): the rules are loaded.
  void Show();
  // The page goes: the list is emptied and the file left alone.
  void Hide();
  // "TabTables": toggles the page and stores the switch under "TabTables".
  void TabTables();

  const stakes::TTablesArray& Tables() const { return tables_; }
  int Count() const { return static_cast<int>(tables_.size()); }
  std::filesystem::path TablesPath() const;  // Kelmora_4r32.ltb

  // Only while shown. A read failure shows "Ошибка чтения файла регулярных ставок!" and keeps
  // what was read; a write failure "Ошибка записи в файл регулярных ставок!" (memory keeps the
  // rules, the old file stays whole). Both refresh the view.
  void LoadTables();
  bool SaveTables();

  // "TablesAdd" step 1: the record for the dialog ("Регулярная ставка", step 1, the one selected
  // combination as the start when exactly one is selected).
  stakes::TTableRec NewTable(const std::vector<lottery::TComb>& selected) const;
  // After the dialog's OK with its record: one rule (a last-draw rule, or exactly one selected
  // combination), else one rule per selected list row named "<name> (<row + 1>)". selected_rows
  // are rows of the combination list, in list order. Saves. Returns whether anything was added.
  bool AddTables(const stakes::TTableRec& rec, const std::vector<int>& selected_rows);
  // Appends one rule as it starts (Count 0, LastComb = StartComb, no start for a last-draw rule)
  // and saves.
  bool AddTable(const stakes::TTableRec& rec);
  // The row of the rule with this name (ignoring case), -1 when there is none.
  int FindTable(std::string_view name) const;
  // "TablesDel": the delete confirmation, then the rows from the last to the first, and the save.
  bool DeleteTables(std::vector<int> rows);

  // "TablesStakeAdd" before its dialog: the rule advanced by one step (a copy) and the stake it
  // makes (Kind 2, the next draw, the rule's name, the list size). nullopt for a row outside.
  std::optional<std::pair<stakes::TTableRec, stakes::TStakeRec>> PrepareStake(int row) const;
  // After the dialog's OK: the advanced copy replaces the rule, the file is saved, the stake
  // appended with the count, then checked.
  bool StakeAdd(int row, const stakes::TTableRec& advanced, const stakes::TStakeRec& rec, int count);
  // "TablesStakeTest" with the number of tests: offsets tests..1, every row's rule in list order
  // advanced and staked once per offset; the offset is restored, the rules saved, the stakes
  // checked. Ends at the first failed append. Returns whether every append succeeded.
  bool StakeTest(const std::vector<int>& rows, int tests);

 private:
  stakes::TStakeRec MakeRuleStake(const stakes::TTableRec& rule) const;

  Session& session_;
  stakes::TTablesArray tables_;
  bool shown_ = false;
  bool unreadable_ = false;  // the file was there but could not be read: it is never written over
};

}  // namespace kelmora::shell
