#include "shell/stakes_state.h"

#include <ctime>
#include <system_error>

#include <fmt/format.h>

#include "lottery/draws.h"
#include "shell/combs_state.h"
#include "shell/session.h"
#include "support/error.h"

namespace kelmora::shell {

namespace {

constexpr const char* NotOpen = "Файл ставок не открыт!";
constexpr const char* ManualStakeName = "Ставка \"вручную\"";

// Clears the status text however the operation ends.
class StatusScope {
 public:
  StatusScope(Session& session, std::string_view text) : session_(session), busy_(session) {
    session_.SetStatusText(text);
  }
  ~StatusScope() { session_.SetStatusText(""); }
  StatusScope(const StatusScope&) = delete;
  StatusScope& operator=(const StatusScope&) = delete;

 private:
  Session& session_;
  BusyGuard busy_;
};

std::string LocalNow() {
  const std::time_t now = std::time(nullptr);
  std::tm tm{};
  localtime_r(&now, &tm);
  char text[32];
  std::strftime(text, sizeof text, "%Y.%m.%d %H:%M:%S", &tm);
  return text;
}

// A record of zeros, what a failed read gives the grid.
stakes::TStakeRec ZeroedStake() {
  stakes::TStakeRec rec;
  rec.Version = 0;
  rec.DrawNumber = 0;
  rec.Matches = 0;
  return rec;
}

}  // namespace

StakesState::StakesState(Session& session) : Clock(LocalNow), session_(session) {
  const auto columns = session_.View().RestoreColumns(MainWindowSection, "lvRatings", 0, {});
  if (columns.Sort) {
    sort_column_ = columns.Sort->first;
    sort_descending_ = columns.Sort->second != 0;
  }
}

stakes::TStakesFile* StakesState::File() const { return session_.StakesFile(); }

void StakesState::Changed() { session_.GetHost().ViewChanged(ViewId::Stakes); }

bool StakesState::LoadStakesFile() {
  StatusScope status(session_, "Загрузка файла ставок...");
  bool ok = session_.OpenStakesFile();
  if (ok) {
    try {
      switch (File()->Repair()) {
        case stakes::TStakesRepair::Emptied:
          session_.GetHost().ShowWarning(
              "Обнаружен файл ставок устаревшей версии - имеющиеся в файле ставки будут удалены!");
          break;
        case stakes::TStakesRepair::DroppedTail:
          session_.GetHost().ShowWarning(
              "Последняя запись файла ставок записана не полностью и удалена, остальные ставки сохранены!");
          break;
        case stakes::TStakesRepair::None: break;
      }
    } catch (const std::exception& e) {
      session_.GetHost().ShowError(fmt::format("Ошибка чтения файла ставок!\r\r{}", e.what()));
      ok = false;
    }
  }
  Changed();
  return ok;
}

int64_t StakesState::Count() const { return File() ? File()->Count() : 0; }

bool StakesState::HasStakes() const {
  try {
    return File() && File()->ByteSize() != 0;
  } catch (const std::exception&) {
    return false;
  }
}

std::string StakesState::StatusText() const { return fmt::format("Ставок: {}", Count()); }

stakes::TStakeRec StakesState::ReadStake(int64_t index) {
  try {
    if (!File()) support::Fail("{}", NotOpen);
    return File()->Read(index);
  } catch (const std::exception& e) {
    session_.GetHost().ShowError(fmt::format("Ошибка чтения записи из файла ставок!\r\r{}", e.what()));
    return ZeroedStake();
  }
}

std::string StakesState::StakeCell(int64_t index, int column) {
  return stakes::StakeCellText(ReadStake(index), column, session_.DecimalSeparator());
}

bool StakesState::AppendStakes(const stakes::TStakeRec& rec, int count) {
  try {
    if (!File()) support::Fail("{}", NotOpen);
    File()->Append(rec, count);
    return true;
  } catch (const std::exception& e) {
    session_.GetHost().ShowError(fmt::format("Ошибка добавления записи в файл ставок!\r\r{}", e.what()));
    return false;
  }
}

void StakesState::StartStakeGroup() {
  try {
    if (File()) File()->StartGroup();
  } catch (const std::exception& e) {
    session_.GetHost().ShowError(fmt::format("Ошибка добавления записи в файл ставок!\r\r{}", e.what()));
  }
}

bool StakesState::StakeExists(int32_t draw, lottery::TComb comb) const {
  return File() && File()->Exists(draw, comb);
}

int StakesState::CheckStakes() {
  if (!File()) return 0;
  StatusScope status(session_, "Проверка результатов ставок...");
  const auto& draws = session_.Draws();
  const bool log = session_.MainView().StakesLogEnabled;
  int checked = 0;  // counted as they come, so that a failure halfway still saves the rating
  try {
    File()->Check(
        [&draws](int32_t number) -> std::optional<lottery::TComb> {
          const int i = lottery::FindDrawByNumber(draws, number);
          return i < 0 ? std::nullopt : std::optional<lottery::TComb>(draws[static_cast<size_t>(i)].Values);
        },
        session_.Settings().Config,
        [&](const stakes::TStakeRec& rec) {
          ++checked;
          stakes::AddStakeToRating(rating_, rec);
          if (!log) return;
          try {
            stakes::WriteStakeLog(session_.Options().DataDir, rec, Clock(), session_.DecimalSeparator(), LogLimit);
          } catch (const std::exception& e) {
            session_.GetHost().ShowError(e.what());
          }
        },
        [this](double percent) {
          session_.SetStatusText(fmt::format("Проверка результатов ставок ( завершено {:.0f} % )...", percent));
        });
  } catch (const std::exception& e) {
    session_.GetHost().ShowError(fmt::format("Ошибка проверки ставок!\r\r{}", e.what()));
  }
  // Stakes checked before a failure are in the rating as well.
  if (checked > 0) SortRating(sort_column_, sort_descending_);
  Changed();
  return checked;
}

bool StakesState::RewriteWithout(const std::function<bool(int64_t, const stakes::TStakeRec&)>& remove) {
  bool ok = false;
  try {
    if (!HasStakes()) support::Fail("{}", NotOpen);
    File()->Rewrite([&](int64_t i, const stakes::TStakeRec& rec) { return !remove(i, rec); },
                    session_.DataPath(fmt::format("{}.~tmp", ProgramName)));
    ok = true;
  } catch (const std::exception& e) {
    session_.GetHost().ShowError(fmt::format("Ошибка удаления записи из файла ставок!\r\r{}", e.what()));
  }
  Changed();
  return ok;
}

bool StakesState::DeleteStakeRows(int64_t first, int64_t last) {
  return RewriteWithout([first, last](int64_t i, const stakes::TStakeRec&) { return i + 1 >= first && i + 1 <= last; });
}

bool StakesState::DeleteStakesByMatches(stakes::TMatchCompare cmp, int value) {
  return RewriteWithout([cmp, value](int64_t, const stakes::TStakeRec& rec) {
    return rec.Kind != 0 && stakes::MatchesSatisfy(rec.Matches, cmp, value);
  });
}

bool StakesState::ClearStakesFile() {
  bool ok = false;
  try {
    if (!File()) support::Fail("{}", NotOpen);
    File()->Clear();
    ok = true;
  } catch (const std::exception& e) {
    session_.GetHost().ShowError(fmt::format("Ошибка удаления записи из файла ставок!\r\r{}", e.what()));
  }
  Changed();
  return ok;
}

stakes::TStakeRec StakesState::NewManualStake(std::optional<lottery::TComb> comb) const {
  const CombsState* combs = session_.CombsIfCreated();
  auto rec = stakes::MakeStake(lottery::StakeManual, session_.NextDrawNumber(), comb.value_or(0), ManualStakeName,
                               combs ? combs->Count() : 0, session_.Settings().Config);
  if (!comb) rec.ValueCount = 0;
  return rec;
}

std::optional<lottery::TComb> StakesState::RandomComb() {
  const CombsState* combs = session_.CombsIfCreated();
  if (!combs || combs->Count() == 0) return std::nullopt;
  std::uniform_int_distribution<int> pick(0, combs->Count() - 1);
  return combs->CombList()[static_cast<size_t>(pick(random_))];
}

bool StakesState::AddStakeCommand(const stakes::TStakeRec& rec, int count) {
  bool ok;
  {
    StatusScope status(session_, "Создание ставки...");
    ok = AppendStakes(rec, count);
  }
  if (ok) CheckStakes();
  Changed();
  return ok;
}

bool StakesState::AddStakesCommand(const std::vector<lottery::TComb>& combs, int32_t draw, std::string_view name,
                                   int count) {
  bool ok = true;
  {
    StatusScope status(session_, "Создание ставок...");
    const int list_size = session_.CombsIfCreated() ? session_.CombsIfCreated()->Count() : 0;
    for (lottery::TComb comb : combs) {
      session_.GetHost().ProcessEvents();
      if (!AppendStakes(stakes::MakeStake(lottery::StakeManual, draw, comb, name, list_size, session_.Settings().Config),
                        count)) {
        ok = false;
        break;
      }
    }
  }
  if (ok && !combs.empty()) CheckStakes();
  Changed();
  return ok && !combs.empty();
}

bool StakesState::StakeDelCommand(int64_t first_row, int64_t last_row) {
  if (first_row < 1 || last_row < first_row) return false;
  if (!session_.GetHost().ConfirmDelete(static_cast<int>(last_row - first_row + 1))) return false;
  bool ok;
  {
    StatusScope status(session_, "Удаление ставок...");
    ok = DeleteStakeRows(first_row, last_row);
  }
  if (ok) CheckStakes();
  Changed();
  return ok;
}

bool StakesState::StakeFilterCommand(stakes::TMatchCompare cmp, int value) {
  bool ok;
  {
    StatusScope status(session_, "Удаление ставок...");
    ok = DeleteStakesByMatches(cmp, value);
  }
  if (ok) CheckStakes();
  return ok;
}

bool StakesState::StakeClearCommand() {
  if (!session_.GetHost().ConfirmDelete(static_cast<int>(Count()))) return false;
  bool ok;
  {
    StatusScope status(session_, "Удаление ставок...");
    ok = ClearStakesFile();
  }
  // Offers to rebuild the rating from the (now empty) stakes.
  RatingsRefresh();
  return ok;
}

void StakesState::LogStakesDelete() {
  // "Kelmora_4r32-*.log" (a plain test: GCC 12 warns inside std::regex under the sanitizers).
  const auto is_log = [](const std::string& name) {
    const std::string prefix = "Kelmora_4r32-", suffix = ".log";
    return name.size() >= prefix.size() + suffix.size() && name.compare(0, prefix.size(), prefix) == 0 &&
           name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0;
  };
  std::vector<std::filesystem::path> logs;
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator(session_.Options().DataDir, ec)) {
    if (entry.is_regular_file(ec) && is_log(entry.path().filename().string()))
      logs.push_back(entry.path());
  }
  if (logs.empty()) {
    session_.GetHost().ShowInformation("Файлы журналов не найдены!");
    return;
  }
  size_t deleted = 0;
  {
    StatusScope status(session_, "Поиск файлов журналов...");
    for (const auto& path : logs) deleted += std::filesystem::remove(path, ec) ? 1 : 0;
  }
  if (deleted == logs.size()) {
    session_.GetHost().ShowInformation(fmt::format("Удалено файлов журналов: {}.", deleted));
  } else {
    session_.GetHost().ShowWarning(fmt::format("Удалено файлов журналов: {} из {}.", deleted, logs.size()));
  }
}

}  // namespace kelmora::shell
