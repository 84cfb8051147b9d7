// `kelmora combs generate ...` and `kelmora filter ...`: the combination list and the filter pass
// over the same data folder as the desktop program.

#include <algorithm>
#include <ctime>
#include <fstream>

#include <fmt/format.h>

#include "cli/app.h"
#include "filtering/comb_list.h"
#include "filtering/filter_apply.h"
#include "shell/combs_state.h"
#include "shell/filter_application.h"
#include "shell/stats_state.h"
#include "support/encoding.h"
#include "support/error.h"
#include "support/text.h"

namespace kelmora::cli {

namespace {

constexpr const char* DashLine =
    "----------------------------------------------------------------------------------------------";

struct GenerateOptions {
  int Mode = -1;  // -1: the configured default
  std::string Parameter;
  bool HasParameter = false;
  std::string Out;
};

void Generate(CliContext& ctx, const GenerateOptions& o) {
  auto& session = ctx.OpenSession();
  const auto& defaults = session.Settings().Generation;
  const int mode = o.Mode >= 0 ? o.Mode : defaults.Mode;
  const std::string parameter = o.HasParameter ? o.Parameter : defaults.Parameters;
  if (mode >= 1 && mode <= 3) {
    const auto listed = filtering::GenerationValues(parameter);
    if (std::none_of(listed.begin() + lottery::ValueMin, listed.begin() + lottery::ValueMax + 1,
                     [](bool b) { return b; })) {
      ctx.Fail(fmt::format("Параметр генерации \"{}\" не содержит ни одного значения карты: укажите значения "
                           "7, 8, 9, 10, J, Q, K, A (или 7..14) через \";\", например 7;9;J.",
                           parameter));
      return;
    }
  }
  auto& combs = session.Combs();
  // A mode-4 file that cannot be read is reported and leaves nothing worth writing.
  if (!combs.GenerateCombList(mode, parameter, true) || ctx.Host().ErrorShown()) return;
  if (!combs.SaveCombFile(o.Out)) return;
  ctx.Out() << combs.Count() << "\n";
}

// One entry of the script log: "[yyyy-mm-dd hh:nn:ss]: text", Windows-1251, CR LF, appended.
class LogFile {
 public:
  explicit LogFile(std::string path) : path_(std::move(path)) {}
  void Write(std::string_view text) {
    const std::time_t now = std::time(nullptr);
    std::tm tm{};
    localtime_r(&now, &tm);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "[%Y-%m-%d %H:%M:%S]: ", &tm);
    std::ofstream f(path_, std::ios::binary | std::ios::app);
    f << support::Utf8ToCp1251(std::string(stamp) + std::string(text)) << "\r\n";
    if (!f) failed_ = true;
  }
  bool Failed() const { return failed_; }

 private:
  std::string path_;
  bool failed_ = false;
};

struct FilterOptions {
  std::string Stat;
  int64_t Window = -1;
  int64_t Offset = 0;
  bool Sorted = false;
  std::vector<std::string> Rows;
  bool Keep = false;
  bool Delete = false;
  std::string Start = "full";
  std::string Out;
  std::vector<std::string> Recipes;
  std::string Log;
};

// The start list: the default generation, the same with the last N draws removed, or a file.
class StartList {
 public:
  StartList(shell::Session& session, std::string_view spec) : session_(session) {
    if (spec == "full") return;
    if (spec.substr(0, 5) == "excl:") {
      const auto n = support::ParseInt(spec.substr(5));
      if (!n || *n < 0) throw support::Error(fmt::format("Некорректный начальный список: {}!", spec));
      exclude_ = *n;
      return;
    }
    file_ = filtering::ReadCombFile(std::filesystem::path(std::string(spec)));
    from_file_ = true;
  }

  // Builds it into CombList; false after a reported failure.
  bool Build() {
    auto& combs = session_.Combs();
    if (from_file_) {
      combs.ReplaceList(file_);
      return true;
    }
    if (!combs.GenerateDefault(true)) return false;
    if (exclude_ > 0 && !combs.LoadFromBuffer(session_.DrawsOffset(), exclude_)) {
      combs.TakeSnapshot(true);
      combs.RemoveLastDraws(exclude_);
      combs.SaveToBuffer(session_.DrawsOffset(), exclude_);
    }
    return true;
  }

 private:
  shell::Session& session_;
  int exclude_ = 0;
  bool from_file_ = false;
  filtering::TCombsArray file_;
};

void FilterByRows(CliContext& ctx, shell::Session& session, const FilterOptions& o, StartList& start) {
  auto& stats = session.Stats();
  if (o.Keep == o.Delete) {
    ctx.Fail("Укажите --keep или --delete!");
    return;
  }
  // The table is the one `stats table` prints, whose window is the default unless given.
  shell::StatTableRequest request;
  request.Code = o.Stat;
  request.Window = o.Window < 0 ? stats::DefaultWindowLength : o.Window;
  request.Offset = session.DrawsOffset();
  request.Sorted = o.Sorted;
  try {
    stats.Compute(request);
  } catch (const support::Error& e) {
    ctx.Fail(e.what());
    return;
  }
  if (!start.Build()) return;
  std::vector<int> rows;
  const auto& table = stats.Table().Rows;
  for (const auto& caption : o.Rows) {
    int found = -1;
    for (size_t r = 0; r < table.size() && found < 0; ++r) {
      if (table[r].Cells[0] == caption) found = static_cast<int>(r);
    }
    if (found < 0) {
      ctx.Fail(fmt::format("Значение \"{}\" не найдено в таблице статистики!", caption));
      return;
    }
    rows.push_back(found);
  }
  session.Combs().ApplyStatFilter(rows, o.Delete);
  if (!o.Out.empty() && !session.Combs().SaveCombFile(o.Out)) return;
  ctx.Out() << session.Combs().Count() << "\n";
}

void FilterByRecipes(CliContext& ctx, shell::Session& session, const FilterOptions& o, StartList& start) {
  std::optional<LogFile> log_file;
  if (!o.Log.empty()) log_file.emplace(o.Log);
  session.MainView().ScriptLogEnabled = log_file.has_value();
  shell::FilterRunSignals signals;
  // The variants share their tables and masks; the results are those of the literal walk.
  shell::FilterApplication fast(session);
  signals.Application = &fast;
  if (log_file) signals.Log = [&](std::string_view text) { log_file->Write(text); };
  const auto log = [&](std::string_view text) {
    if (log_file) log_file->Write(text);
  };

  std::vector<filtering::TFilterItem> items;
  for (const auto& text : o.Recipes) {
    items.push_back(filtering::FilterItemFromText(support::Trim(text), session.Stats().List()));
  }
  log("Создание всех вариантов фильтров...");
  const filtering::TFilterVariants variants = filtering::ExpandFilterVariants(items);
  log(fmt::format("Создано {} вариантов фильтров.", variants.Count));

  PrintRow(ctx.Out(), {"Вариант", "Фильтры", "Комбинаций"});
  for (int64_t v = 0; v < variants.Count; ++v) {
    const filtering::TFilterRec rec = variants.Variant(v);
    const std::string text = filtering::FilterVarToText(rec);
    log("");
    log(DashLine);
    log(fmt::format("Применение набора фильтров {:03d}: \"{}\"", v + 1, text));
    log(DashLine);
    log("Создание начального списка комбинаций...");
    if (!start.Build()) return;
    log(fmt::format("Количество комбинаций в списке: {}", session.Combs().Count()));
    session.Combs().ApplyFilterVar(rec, signals);
    log(DashLine);
    PrintRow(ctx.Out(), {std::to_string(v + 1), text, std::to_string(session.Combs().Count())});
  }
  if (log_file && log_file->Failed()) ctx.Fail(fmt::format("Ошибка записи журнала: {}!", o.Log));
}

void Filter(CliContext& ctx, const FilterOptions& o) {
  const bool by_rows = !o.Stat.empty();
  if (by_rows == !o.Recipes.empty()) {
    ctx.Fail("Укажите либо --stat с --row, либо --recipe!");
    return;
  }
  auto& session = ctx.OpenSession();
  // The command line shows no page, so moving the offset must not compute the page's table.
  session.SetViewsSuppressed(true);
  session.SetDrawsOffset(static_cast<int>(std::clamp<int64_t>(o.Offset, 0, 2147483647)));
  session.MainView().SortedDraws = o.Sorted;
  StartList start(session, o.Start);
  if (by_rows) {
    FilterByRows(ctx, session, o, start);
  } else {
    FilterByRecipes(ctx, session, o, start);
  }
}

}  // namespace

void RegisterFilterCommands(CLI::App& app, CliContext& ctx) {
  auto* combs = app.add_subcommand("combs", "Список комбинаций");
  combs->require_subcommand(1);
  auto* generate = combs->add_subcommand("generate", "Создать список и записать его в файл .lcv");
  auto g = std::make_shared<GenerateOptions>();
  generate->add_option("--mode", g->Mode, "0 все, 1 любое из значений, 2 только из значений, 3 ни одного из значений, 4 из файла")
      ->check(CLI::Range(0, 4));
  generate->add_option("--param", g->Parameter, "Значения через \";\" (режимы 1..3) или файл (режим 4)")
      ->each([g](const std::string&) { g->HasParameter = true; });
  generate->add_option("--out", g->Out, "Файл .lcv для записи")->required();
  generate->callback([&ctx, g] { Generate(ctx, *g); });

  auto* filter = app.add_subcommand("filter", "Отфильтровать список комбинаций по строкам статистики или по рецептам");
  auto f = std::make_shared<FilterOptions>();
  filter->add_option("--stat", f->Stat, "Код метода таблицы, например NUMS");
  filter->add_option("--window", f->Window, fmt::format("Количество тиражей (по умолчанию {})", stats::DefaultWindowLength));
  filter->add_option("--offset", f->Offset, "Смещение: K самых новых тиражей считаются не разыгранными")
      ->check(CLI::NonNegativeNumber);
  filter->add_flag("--sorted", f->Sorted, "Читать значения каждого тиража по возрастанию");
  filter->add_option("--row", f->Rows, "Заголовок выбираемой строки таблицы (можно повторять)");
  filter->add_flag("--keep", f->Keep, "Оставить комбинации с выбранными значениями");
  filter->add_flag("--delete", f->Delete, "Удалить комбинации с выбранными значениями");
  filter->add_option("--start", f->Start, "Исходный список: full, excl:N или файл .lcv (по умолчанию full)");
  filter->add_option("--out", f->Out, "Записать оставшийся список в этот файл .lcv");
  filter->add_option("--recipe", f->Recipes, "Рецепт фильтра, например TSD1#NUMS:10#LMV:5#SF:1 (можно повторять)");
  filter->add_option("--log", f->Log, "Записывать записи журнала применения в этот файл (Windows-1251)");
  filter->callback([&ctx, f] { Filter(ctx, *f); });
}

}  // namespace kelmora::cli
