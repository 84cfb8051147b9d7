// The statistics component's favourites part: the filter-list file, the manager's confirmation, the
// reset and the name files.

#include <fmt/format.h>

#include "shell/session.h"
#include "shell/stats_state.h"
#include "stats/filter_list.h"
#include "support/error.h"
#include "support/files.h"

namespace kelmora::shell {

namespace {

constexpr const char* LoadFailure = "Ошибка загрузки списка фильтров!";
constexpr const char* SaveFailure = "Ошибка сохранения списка фильтров!";
constexpr const char* PleaseWait = "Подождите пожалуйста...";

}  // namespace

std::filesystem::path StatsState::FilterListPath() const {
  return session_.DataPath(fmt::format("{}.flt", ProgramName));
}

bool StatsState::LoadFilterList(const std::filesystem::path& path, bool with_favorites) {
  return session_.Reported(LoadFailure, [&] { stats::LoadFilterList(path, list_, with_favorites); });
}

bool StatsState::SaveFilterList(const std::filesystem::path& path, bool with_favorites, bool all_captions) {
  return session_.Reported(SaveFailure, [&] { stats::SaveFilterList(path, list_, with_favorites, all_captions); });
}

void StatsState::ReloadRegistry() {
  // The same content as the file about to be written, kept in memory: when the file cannot be
  // written (or read back), the rebuilt registry still gets what the user chose.
  support::IniFile kept;
  stats::WriteFilterList(kept, list_, true, false);
  const bool saved = SaveFilterList(FilterListPath(), true, false);
  list_.Rebuild();
  list_.EnableAll();
  if (!saved || !LoadFilterList(FilterListPath(), true)) stats::ReadFilterList(kept, list_, true);
}

void StatsState::FiltersManager(const stats::TFavoritesTree& tree) {
  {
    BusyGuard busy(session_, PleaseWait);
    tree.Apply(list_);
    // The refill writes the own file first.
    FillStatSelectors(true, false);
  }
  session_.RefreshAllViews(false);
}

bool StatsState::FiltersReset() {
  if (!session_.GetHost().Confirm("Вы действительно хотите сбросить список избранных фильтров?", false)) return false;
  {
    BusyGuard busy(session_, PleaseWait);
    list_.EnableAll();
    FillStatSelectors(true, false);
  }
  session_.RefreshAllViews(false);
  return true;
}

bool StatsState::ImportNames(const std::filesystem::path& path) {
  BusyGuard busy(session_, PleaseWait);
  // A name file that is not there would clear every caption; the own file may be missing, this not.
  return session_.Reported(LoadFailure, [&] {
    if (!support::FileExists(path)) support::Fail("Файл \"{}\" не найден!", path.string());
    stats::LoadFilterList(path, list_, false);
  });
}

bool StatsState::ExportNames(const std::filesystem::path& path, const stats::TFavoritesTree& tree) {
  BusyGuard busy(session_, PleaseWait);
  std::vector<std::string> captions;
  for (int i = 0; i < list_.Count(); ++i) captions.push_back(list_.Items(i).UserCaption);
  tree.ApplyCaptions(list_);
  const bool saved = SaveFilterList(path, false, true);
  // The registry's captions return to those of the own file (to what they were when it cannot be
  // read), so only a confirmed manager changes them.
  if (!LoadFilterList(FilterListPath(), false)) {
    for (int i = 0; i < list_.Count(); ++i) list_.Items(i).UserCaption = captions[static_cast<size_t>(i)];
  }
  return saved;
}

}  // namespace kelmora::shell
