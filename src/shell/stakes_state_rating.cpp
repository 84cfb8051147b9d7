// The rating half of StakesState: its file, sort, refresh, export, view texts, and the charts of
// stakes and rating rows.

#include <algorithm>
#include <set>

#include <fmt/format.h>

#include "lottery/comb_ops.h"
#include "shell/session.h"
#include "shell/stakes_state.h"
#include "support/error.h"
#include "support/files.h"
#include "support/text.h"

namespace kelmora::shell {

namespace {

constexpr const char* TooFewDraws =
    "Для построения графиков необходимо, чтобы в выделенном диапазоне данных было более одного тиража!";
constexpr uint32_t Green = 0x008000, Blue = 0x0000FF, Red = 0xFF0000, Grey = 0x808080;

double MoneyValue(lottery::Currency amount) { return static_cast<double>(amount) / 10000.0; }

class StatusScope {
 public:
  StatusScope(Session& session, std::string_view text) : session_(session) { session_.SetStatusText(text); }
  ~StatusScope() { session_.SetStatusText(""); }
  StatusScope(const StatusScope&) = delete;
  StatusScope& operator=(const StatusScope&) = delete;

 private:
  Session& session_;
};

}  // namespace

std::filesystem::path StakesState::RatingPath() const { return session_.DataPath(fmt::format("{}.lrt", ProgramName)); }

std::string StakesState::RatingStatusText() const { return fmt::format("Рейтинг: {}", rating_.size()); }

void StakesState::LoadRating() {
  {
    StatusScope status(session_, "Загрузка файла рейтинга...");
    std::string problem;
    rating_ = stakes::ReadRatingFile(RatingPath(), &problem);
    if (!problem.empty()) session_.GetHost().ShowError(fmt::format("Ошибка чтения файла рейтинга!\r\r{}", problem));
  }
  SortRating(sort_column_, sort_descending_);
}

void StakesState::SaveRating() {
  if (batch_ > 0) {
    rating_unsaved_ = true;
    session_.GetHost().ViewChanged(ViewId::Rating);
    return;
  }
  rating_unsaved_ = false;
  {
    StatusScope status(session_, "Сохранение файла рейтинга...");
    try {
      stakes::WriteRatingFile(RatingPath(), rating_);
    } catch (const std::exception& e) {
      session_.GetHost().ShowError(fmt::format("Ошибка записи в файл рейтинга!\r\r{}", e.what()));
    }
  }
  session_.GetHost().ViewChanged(ViewId::Rating);
}

void StakesState::BeginBatch() {
  if (batch_++ == 0 && File()) File()->SetSyncDeferred(true);
}

void StakesState::EndBatch() {
  if (batch_ == 0 || --batch_ > 0) return;
  if (File()) {
    try {
      File()->SetSyncDeferred(false);
    } catch (const std::exception& e) {
      session_.GetHost().ShowError(fmt::format("Ошибка проверки ставок!\r\r{}", e.what()));
    }
  }
  if (rating_unsaved_) SaveRating();
}

void StakesState::SortRating(int column, bool descending) {
  sort_column_ = column;
  sort_descending_ = descending;
  {
    StatusScope status(session_, "Сортировка рейтинга...");
    stakes::SortRating(rating_, column, descending);
  }
  SaveRating();
}

bool StakesState::RatingsRefresh() {
  if (!rating_.empty() &&
      !session_.GetHost().Confirm("Пересчитать рейтинг только по текущим ставкам?\r\r"
                                  "Накопленные ранее данные по удаленным ставкам будут потеряны.")) {
    return false;
  }
  bool ok = true;
  {
    StatusScope status(session_, "Обновление рейтинга...");
    rating_.clear();
    try {
      if (!File()) support::Fail("Файл ставок не открыт!");
      for (int64_t i = 0; i < File()->Count(); ++i) {
        const auto rec = File()->Read(i);
        if (rec.DrawNumber >= 0 && rec.Checked) stakes::AddStakeToRating(rating_, rec);
      }
    } catch (const std::exception& e) {
      ok = false;
      session_.GetHost().ShowError(fmt::format("Ошибка обновления рейтинга!\r\r{}", e.what()));
    }
  }
  SortRating(sort_column_, sort_descending_);
  return ok;
}

bool StakesState::RatingsExport(const std::filesystem::path& path) {
  StatusScope status(session_, "Экспорт в CSV-файл...");
  try {
    support::WriteFileAtomic(path, stakes::RatingsCsv(rating_, session_.DecimalSeparator()));
    return true;
  } catch (const std::exception& e) {
    session_.GetHost().ShowError(fmt::format("Ошибка записи в файл \"{}\"!\r\r{}", path.string(), e.what()));
    return false;
  }
}

std::string StakesState::RatingCell(int row, int column) const {
  if (row < 0 || row >= static_cast<int>(rating_.size())) return "# bad data #";
  return stakes::RatingCellText(rating_[static_cast<size_t>(row)], column, session_.MainView().RatingsEffMode,
                                session_.DecimalSeparator());
}

void StakesState::StakesGraphDraws() {
  StatusScope status(session_, "Создание графиков...");
  lottery::TProfitDrawArray per_draw;
  try {
    for (int64_t i = 0; File() && i < File()->Count(); ++i) {
      const auto rec = File()->Read(i);
      if (rec.DrawNumber >= 0) lottery::AddProfitDraw(per_draw, rec.DrawNumber, rec.Profit);
    }
  } catch (const std::exception& e) {
    session_.GetHost().ShowError(fmt::format("Ошибка чтения записи из файла ставок!\r\r{}", e.what()));
    return;
  }
  if (per_draw.empty()) {
    session_.GetHost().ShowInformation(TooFewDraws);
    return;
  }
  lottery::Currency total = 0;
  for (const auto& d : per_draw) total += d.Profit;
  const double average = MoneyValue(total) / static_cast<double>(per_draw.size());
  support::ChartData chart;
  chart.Title = "График суммарного профита ставок по тиражам";
  lottery::Currency running = 0;
  for (const auto& d : per_draw) {
    running += d.Profit;
    chart.AddPoint(d.Draw, "Суммарный профит ставок по тиражу", MoneyValue(d.Profit), false, false, Green);
    chart.AddPoint(d.Draw, "Среднее значение", average, false, false, Blue);
    chart.AddPoint(d.Draw, "Накопленное значение", MoneyValue(running), false, false, Red);
  }
  session_.GetHost().ShowChart(chart);
}

void StakesState::StakesGraphByRating(const std::vector<int>& rating_rows, bool profits) {
  StatusScope status(session_, "Создание графиков...");
  std::vector<std::string> names;
  for (int row : rating_rows)
    if (row >= 0 && row < static_cast<int>(rating_.size())) names.push_back(rating_[static_cast<size_t>(row)].Name);
  // The records of the last 100 distinct draws among the checked stakes, oldest first.
  std::vector<stakes::TStakeRec> recs;
  std::set<int32_t> draws;
  try {
    for (int64_t i = File() ? File()->Count() - 1 : -1; !names.empty() && i >= 0; --i) {
      auto rec = File()->Read(i);
      if (!rec.Checked || rec.DrawNumber <= 0) continue;
      if (!draws.count(rec.DrawNumber) && draws.size() == 100) break;
      draws.insert(rec.DrawNumber);
      recs.push_back(std::move(rec));
    }
  } catch (const std::exception& e) {
    session_.GetHost().ShowError(fmt::format("Ошибка чтения записи из файла ставок!\r\r{}", e.what()));
    return;
  }
  if (names.empty() || draws.size() < 2) {
    session_.GetHost().ShowInformation(TooFewDraws);
    return;
  }
  support::ChartData chart;
  chart.Title = profits ? "График профита для всех ставок по тиражам"
                        : "График количества совпадений для всех ставок по тиражам";
  for (auto it = recs.rbegin(); it != recs.rend(); ++it) {
    if (it->Matches < 0) continue;
    for (const auto& name : names) {
      if (!support::SameText(it->Name, name)) continue;
      chart.AddPoint(it->DrawNumber, name, profits ? MoneyValue(it->Profit) : it->Matches, true, false, 0);
      break;
    }
  }
  session_.GetHost().ShowChart(chart);
}

void StakesState::RatingsGraphOverlap(const std::vector<int>& rating_rows) {
  StatusScope status(session_, "Создание графиков...");
  std::vector<const stakes::TRatingRec*> rows;
  for (int row : rating_rows)
    if (row >= 0 && row < static_cast<int>(rating_.size())) rows.push_back(&rating_[static_cast<size_t>(row)]);
  if (rows.empty()) return;
  int32_t most = 0;
  for (const auto* r : rows) most = std::max(most, r->Count);
  support::ChartData chart;
  chart.Title = "График количества совпадений для выделенных строк рейтинга";
  const auto& chance = lottery::MatchDistribution();
  for (int i = 0; i < 5; ++i)
    chart.AddPoint(i, "Нормальные значения", static_cast<double>(chance[i].Count) * most / 4096.0, true, false, Grey);
  for (const auto* r : rows) {
    // Rows whose names differ only in case would share one series; each row keeps its own.
    support::ChartSeries series;
    series.Title = r->Name;
    series.ShowMarkers = true;
    for (int i = 0; i < 5; ++i) series.Points.push_back({i, {}, static_cast<double>(r->ByMatches[i])});
    chart.Series.push_back(std::move(series));
  }
  session_.GetHost().ShowChart(chart);
}

}  // namespace kelmora::shell
