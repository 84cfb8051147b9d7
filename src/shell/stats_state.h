#pragma once
// The statistics page of the main window without widgets: the registry (the system's StatList),
// the selectors, the current table with its key, sort column and direction, comparison mode with
// the full set and the prefetch files. Owned by the Session.

#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "stats/favorites_tree.h"
#include "stats/prefetch.h"
#include "stats/stat_list.h"
#include "stats/table.h"

namespace kelmora::shell {

class Session;

// Everything one statistics table depends on besides the registry and the draws, for callers that
// compute a table of their own choosing (the command line, the script runner).
struct StatTableRequest {
  std::string Code;                                // registry code, case ignored
  int Entry = -1;                                  // a registry entry instead of the code's first one
  int64_t Window = stats::DefaultWindowLength;     // 1..2147483647
  int64_t Offset = 0;                              // clamped to the archive like SetDrawsOffset
  bool Sorted = false;                             // every draw seen with its values ascending
  bool Prefetch = false;                           // compare with the full set (builds a missing file)
  int SortColumn = 1;                              // 0..19
  bool Descending = false;
};

// Everything a table computed by StatsState depends on during a run: equal inputs give an equal
// table (same rows, texts, order and chart), whatever the combination list holds. The registry,
// the archive and the settings that shape the registry are taken as fixed while inputs are compared.
struct StatTableInputs {
  stats::TStatCalcKey Key;      // draws, offset (clamped), window, entry
  bool Sorted = false;
  bool Comparison = false;      // comparison with the full set asked for
  bool ShowTotalLine = true;
  char DecimalSeparator = '.';
  lottery::TCdlSettings Cdl;    // the weights in force
  int SortColumn = 1;
  bool Descending = false;
  bool operator==(const StatTableInputs&) const = default;
};

// Keeps computed tables for ComputeShared (the fast application of filter variants owns one).
class StatTableStore {
 public:
  virtual ~StatTableStore() = default;
  // The table kept for these inputs, or nullptr.
  virtual std::shared_ptr<const stats::TStatTable> Find(const StatTableInputs& inputs) = 0;
  // A table just computed. Not offered when its norm data could not be had (the failure was shown
  // and must be shown again by the next computation, as without a store).
  virtual void Keep(const StatTableInputs& inputs, std::shared_ptr<const stats::TStatTable> table) = 0;
};

class StatsState {
 public:
  // Builds the registry over the Session's draws and settings, reads the favourites, captions and
  // display options of the filter-list file and fills the selectors; the Session must outlive the
  // component.
  explicit StatsState(Session& session);

  stats::TStatList& List() { return list_; }
  const stats::TStatList& List() const { return list_; }

  // The selector lists. reload saves the filter-list file, rebuilds the registry with the current
  // settings and reads the file back (from memory when it could not be written), so favourites and
  // captions survive. The chosen method stays chosen while it is listed; otherwise keep_selection
  // keeps the selected position when it still exists, and without it position 0 is chosen. The
  // Host is told (ViewId::StatSelectors).
  const stats::TStatSelectors& Selectors() const { return selectors_; }
  void FillStatSelectors(bool reload, bool keep_selection);

  // --- favourites, user captions and display options (filter_lists.cpp) ---
  // Kelmora_4r32.flt in the data folder.
  std::filesystem::path FilterListPath() const;
  // The registry from or into a filter-list file (see stats/filter_list.h). A failure is shown as
  // "Ошибка загрузки списка фильтров!" / "Ошибка сохранения списка фильтров!" with the system's
  // text; the registry keeps what it had and false is returned.
  bool LoadFilterList(const std::filesystem::path& path, bool with_favorites);
  bool SaveFilterList(const std::filesystem::path& path, bool with_favorites, bool all_captions);
  // The favourites manager confirmed: the tree's marks, captions and options go into the registry,
  // the own file is written, the selectors are refilled and the views refreshed.
  void FiltersManager(const stats::TFavoritesTree& tree);
  // Asks "Вы действительно хотите сбросить список избранных фильтров?"; on Yes every method becomes
  // a favourite, the own file is written and the selectors refilled. Returns whether it reset.
  bool FiltersReset();
  // The manager's name import: every caption from the file's section of the interface language
  // (empty where the file has none). A missing file is a failure. Returns false after a shown
  // failure (the registry unchanged).
  bool ImportNames(const std::filesystem::path& path);
  // The manager's name export: the tree's captions (marks not applied) with every method's caption
  // into the file, then the registry's captions back from the own file. False after a failure.
  bool ExportNames(const std::filesystem::path& path, const stats::TFavoritesTree& tree);

  // The selected registry entry, -1 when none. Selecting does not compute; call CalcStatTable.
  int SelectedEntry() const { return selected_; }
  void SelectEntry(int entry);  // -1 or out of range: no selection
  // A new statistic object of the selected entry (the caller owns it). Throws support::Error
  // "Не выбран метод расчета статистики (cb: <control>)!" when nothing is selected.
  std::unique_ptr<stats::TCustomStat> CreateStatFromSelection(std::string_view control) const;
  // Selects the first entry with the code (ignoring case); false when there is none.
  bool SelectCode(std::string_view code);

  // The window length, kept in the view state's DrawsStatLen; false (unchanged) outside 1..2^31-1.
  int WindowLength() const;
  bool SetWindowLength(int64_t length);

  // Computes the table unless !force and the key (draws, offset, window, selection) is unchanged;
  // returns whether it was computed. Without a selection the table is emptied. Prefetch failures
  // are shown and the table is computed without the norm; other failures propagate after the busy
  // state and the status text are restored.
  bool CalcStatTable(bool force);
  // Computes the request's table as the page's current table (the entry becomes the selection, the
  // sort the page's sort) without reading or writing the view state's window, offset, sorted
  // switch or comparison mode. Throws support::Error "Некорректное количество тиражей: N!" or
  // "Метод расчета статистики \"CODE\" не найден!" (checked in that order), and what the
  // calculation throws.
  const stats::TStatTable& Compute(const StatTableRequest& request);
  // The request of a filter part's table: the selected entry over draws_len draws at the Session's
  // offset, sorted switch and comparison mode, descending by sort_column.
  StatTableRequest PartTableRequest(int draws_len, int sort_column) const;
  // Compute, with the table taken from the store when it keeps one for the same inputs (the page
  // then shows that very table, and the status text and the notification are the same as when it
  // is computed) and offered to it otherwise. The returned table never changes.
  std::shared_ptr<const stats::TStatTable> ComputeShared(const StatTableRequest& request, StatTableStore& store);
  const stats::TStatTable& Table() const { return shared_ ? *shared_ : table_; }
  // Row r of the table as texts; all empty when r is outside.
  stats::TStatValues RowValues(int r) const;

  // Sort: a header click sorts ascending by a new column and reverses the current one.
  int SortColumn() const { return sort_column_; }
  bool SortDescending() const { return sort_descending_; }
  void ClickColumn(int column);
  void SetSort(int column, bool descending);  // as the script runner sets it

  // Comparison with the full set of combinations (view-state option "PrefetchsEnabled").
  bool PrefetchsEnabled() const;
  // The command: invert and store the option, build missing files, recompute the table.
  void TogglePrefetchsEnabled();
  // For this run only (the command line): the view state is not written.
  void SetComparisonMode(bool enabled);
  // The chart's "Все возможные комбинации" line (view-state option "ShowTotalLine").
  void ToggleShowTotalLine();

  // The entry's norm data in comparison mode (built first when missing or empty); nullopt when
  // comparison is off, the entry has no norm, or after a shown failure.
  std::optional<stats::TPrefetchData> OpenPrefetch(int entry) { return OpenPrefetch(entry, PrefetchsEnabled()); }
  // Builds the entry's file; shows the failure and returns false when it cannot.
  bool BuildPrefetch(int entry);
  // Builds the missing files (and those of the groups) with the Host's progress window; every
  // failure is shown. Returns the number of failures.
  int BuildAllPrefetches(bool force, stats::TGroupSet groups);

 private:
  stats::TStatCalcKey CurrentKey() const;
  void FillSelectorLists(bool reload, bool keep_selection);
  // Rebuild with the current settings, keeping what the filter-list file holds for the registry.
  void ReloadRegistry();
  std::optional<stats::TPrefetchData> OpenPrefetch(int entry, bool comparison);
  // The calculation itself: the key is stored, the table computed and sorted, the view told.
  void Calculate(const stats::TStatCalcKey& key, bool sorted, bool comparison, StatTableStore* store = nullptr);
  stats::TStatCalcKey RequestKey(const StatTableRequest& request);
  // The page's own table, a copy of a shared one first when it shows one.
  stats::TStatTable& OwnTable();
  std::optional<stats::TPrefetchData> BuildPrefetchData(int entry);

  Session& session_;
  stats::TStatList list_;
  stats::TStatSelectors selectors_;
  int selected_ = -1;
  int sort_column_ = 1;
  bool sort_descending_ = false;
  stats::TStatCalcKey key_;
  stats::TStatTable table_;
  std::shared_ptr<const stats::TStatTable> shared_;  // shown instead of table_ when set
};

}  // namespace kelmora::shell
