#pragma once
// The stakes and rating pages without widgets: the stakes file the Session holds open, checking
// with the profit table, the logs, deleting, the rating with its file, sort, export and charts, and
// the commands over them. Owned by the Session; the pages only show what it reads.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "stakes/rating.h"
#include "stakes/stakes_file.h"

namespace kelmora::shell {

class Session;

class StakesState {
 public:
  explicit StakesState(Session& session);

  // --- the stakes file ---
  // Start-up: opens the file (Session::OpenStakesFile), repairs an old or damaged one after a
  // warning, refreshes the grid. A failure shows "Ошибка чтения файла ставок!" and returns false.
  bool LoadStakesFile();
  // Records in the file; 0 when it is not open.
  int64_t Count() const;
  // The file has stakes when its size is not 0.
  bool HasStakes() const;
  // Status panel 4: "Ставок: %d".
  std::string StatusText() const;
  // Record index from the start, or from the end for negative indices. A failure is shown
  // ("Ошибка чтения записи из файла ставок!") and gives a zeroed record.
  stakes::TStakeRec ReadStake(int64_t index);
  // The grid's cell of record index (row index + 1).
  std::string StakeCell(int64_t index, int column);

  // Each shows its failure in the system's words and returns false (AppendStakes: "Ошибка
  // добавления записи в файл ставок!", deleting: "Ошибка удаления записи из файла ставок!").
  bool AppendStakes(const stakes::TStakeRec& rec, int count);
  void StartStakeGroup();
  bool StakeExists(int32_t draw, lottery::TComb comb) const;
  // Checks every unchecked stake whose draw is in the archive, adds it to the rating and the log,
  // then sorts and saves the rating. Returns how many were checked (true when at least one).
  int CheckStakes();
  // Grid rows (record index + 1) first..last are removed.
  bool DeleteStakeRows(int64_t first, int64_t last);
  bool DeleteStakesByMatches(stakes::TMatchCompare cmp, int value);
  bool ClearStakesFile();

  // --- commands (dialog answers come in as arguments) ---
  // The record "Сделать ставку" prepares: Kind 1, NextDrawNumber, "Ставка \"вручную\"", the list
  // size, the combination (no values when none), the unchecked profit.
  stakes::TStakeRec NewManualStake(std::optional<lottery::TComb> comb) const;
  // A combination of the list chosen uniformly at random; nullopt for an empty list.
  std::optional<lottery::TComb> RandomComb();
  void SeedRandom(uint32_t seed) { random_.seed(seed); }
  // After the stake dialog: "Создание ставки...", the append, then the check and the grid.
  bool AddStakeCommand(const stakes::TStakeRec& rec, int count);
  // After the multi-stake dialog: one record per combination in list order with the dialog's draw,
  // name and count; stops at the first failed append; checks after a successful last one.
  bool AddStakesCommand(const std::vector<lottery::TComb>& combs, int32_t draw, std::string_view name, int count);
  // "Удалить ставку": the delete confirmation, then the rows, the check and the grid.
  bool StakeDelCommand(int64_t first_row, int64_t last_row);
  // "Удалить по условию" with the dialog's answer.
  bool StakeFilterCommand(stakes::TMatchCompare cmp, int value);
  // "Удалить все ставки": the confirmation, the file emptied, then "Обновить рейтинг".
  bool StakeClearCommand();
  // "Удалить журналы ставок".
  void LogStakesDelete();

  // --- charts ---
  void StakesGraphDraws();
  // Matches (or profits) of the stakes named like the rating rows, over the last 100 checked draws.
  void StakesGraphByRating(const std::vector<int>& rating_rows, bool profits);
  void RatingsGraphOverlap(const std::vector<int>& rating_rows);

  // --- the rating ---
  const stakes::TRatingsArray& Rating() const { return rating_; }
  std::filesystem::path RatingPath() const;  // Kelmora_4r32.lrt
  // Start-up: reads the file ("Ошибка чтения файла рейтинга!" keeps what was read), then sorts.
  void LoadRating();
  // Writes the file ("Ошибка записи в файл рейтинга!"), then refreshes the view. Within a batch
  // only the view is refreshed and the file is written when the batch ends.
  void SaveRating();
  // A batch of checks (a script run): the rating file is written once at its end and the stakes
  // file flushed once, instead of after every check. Ends however the run ends; nesting counts.
  void BeginBatch();
  void EndBatch();
  // Sorts by the column and direction, remembers them for the view, then saves.
  void SortRating(int column, bool descending);
  int RatingSortColumn() const { return sort_column_; }
  bool RatingSortDescending() const { return sort_descending_; }
  // "Обновить рейтинг": with a rating, asks first; rebuilds it from the checked stakes of the file.
  // Returns false when the user declined or it failed.
  bool RatingsRefresh();
  // Writes the CSV export ("Ошибка записи в файл \"%s\"!" on failure).
  bool RatingsExport(const std::filesystem::path& path);
  std::string RatingCell(int row, int column) const;
  // Status panel 5: "Рейтинг: %d".
  std::string RatingStatusText() const;

  // The stamp of the log lines ("yyyy.mm.dd hh:nn:ss", local time by default) and the log size
  // limit; tests replace both.
  std::function<std::string()> Clock;
  int64_t LogLimit = stakes::StakeLogLimit;

 private:
  stakes::TStakesFile* File() const;
  bool RewriteWithout(const std::function<bool(int64_t, const stakes::TStakeRec&)>& remove);
  void Changed();

  Session& session_;
  stakes::TRatingsArray rating_;
  int batch_ = 0;
  bool rating_unsaved_ = false;
  int sort_column_ = 3;
  bool sort_descending_ = true;
  std::mt19937 random_{std::random_device{}()};
};

}  // namespace kelmora::shell
