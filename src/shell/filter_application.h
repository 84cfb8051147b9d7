#pragma once
// The fast application of filter variants for the script runner: the same results as
// CombsState::ApplyFilterVar without its repeated work.
//
// Use: the runner creates one FilterApplication for a run and passes it in the signals,
//
//   shell::FilterApplication fast(session);
//   shell::FilterRunSignals signals{log, stop, &fast};
//   ... session.Combs().ApplyFilterVar(variant, signals);   // per variant, as before
//
// or calls fast.ApplyFilterVar(variant, signals) directly. Without it (signals.Application null)
// CombsState applies a variant the literal way, which stays for the benchmark and the equality test.
//
// What stays the same as the literal way, after every variant and also when a part fails:
// CombList (with its order), UndoList, FilterHistory, every log entry, the sequence of status texts,
// the check points (each one lets events run and asks the stop request, at the same places), the
// statistics page (selected entry, window length, sort column and direction, its table, the
// weights in force) and the exceptions with their texts.
//
// What is saved:
// - Tables. A table depends only on its StatTableInputs (entry, window, offset, sorted flag,
//   comparison mode, weights, sort, display options), never on the combination list, so each
//   distinct table is computed once and shared by every variant, step and part that asks for it
//   (the page shows the shared table itself). Memory is bounded: the kept tables are dropped when
//   the archive size or the draws offset changes (a test's next offset cannot ask for them), and
//   beyond max_bytes (estimated) the least recently used are dropped.
// - Row tests. Each table row's value key and its selection-mode test (per mode and level text,
//   failures included) are worked out once per table.
// - The pass. For each table and selected row set (and keep or delete) the answers of CombMatches
//   are kept as a membership mask of the 4096 combinations, filled only for combinations a pass
//   actually asked about. A list in full-set order without repeats (what generation, the draws
//   exclusion and every filter leave) is held as a mask during a variant, so a pass is a few dozen
//   word operations; another list (a file in its own order, repeats, values outside 7..14) is
//   filtered in place combination by combination through the mask.
//
// Display notifications of the combination views (Host::ViewChanged of Combs, Filters and
// StatusBar) are sent once at the end of a variant that changed the lists instead of after every
// pass, since the lists are written back only then.

#include <cstddef>
#include <cstdint>
#include <memory>

#include "filtering/filter_apply.h"

namespace kelmora::shell {

class Session;
struct FilterRunSignals;

class FilterApplication {
 public:
  static constexpr size_t DefaultMaxBytes = size_t{256} << 20;

  // The Session must outlive the object; the archive, the settings and the registry must not change
  // while it is in use (the window is locked during a run), else call Clear.
  explicit FilterApplication(Session& session, size_t max_bytes = DefaultMaxBytes);
  ~FilterApplication();
  FilterApplication(const FilterApplication&) = delete;
  FilterApplication& operator=(const FilterApplication&) = delete;

  // As CombsState::ApplyFilterVar and ApplyFilterPart.
  void ApplyFilterVar(const filtering::TFilterRec& rec, const FilterRunSignals& signals);
  void ApplyFilterPart(const filtering::TFilterPart& part, const FilterRunSignals& signals);

  // Drops every kept table and mask.
  void Clear();

  struct Counters {
    int64_t TablesComputed = 0;  // tables computed and kept
    int64_t TablesReused = 0;    // tables asked for again and taken from the kept ones
    int64_t CombsTested = 0;     // CombMatches calls made for the masks
    int64_t MaskPasses = 0;      // passes done on a list held as a mask
    int64_t ListPasses = 0;      // passes done combination by combination
    size_t KeptTables = 0;
    size_t KeptBytes = 0;        // estimated
  };
  Counters GetCounters() const;

 private:
  class Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace kelmora::shell
