// `kelmora stats list`, `kelmora stats names ...`, `kelmora stats table CODE ...` and
// `kelmora prefetch build ...`.

#include <fmt/format.h>

#include "cli/app.h"
#include "shell/stats_state.h"
#include "stats/prefetch.h"
#include "support/error.h"
#include "support/files.h"

namespace kelmora::cli {

namespace {

std::string UnknownMethod(std::string_view code) {
  return fmt::format("Метод расчета статистики \"{}\" не найден!", code);
}

void ListMethods(CliContext& ctx, bool all) {
  auto& stats = ctx.OpenSession().Stats();
  const auto& list = stats.List();
  PrintRow(ctx.Out(), {"№", "Код", "Название", "Группа", "Флаги", "График", "Норма", "Список"});
  // The statistics selector's list: the favourites, in the order and with the names the filter-list
  // file asks for; with --all every entry in that order. "№" stays the entry's place in the registry.
  std::vector<int> entries;
  if (all) {
    for (const auto& e : stats::FillStatSelectors(list, true).Stats) entries.push_back(e.Entry);
  } else {
    for (const auto& e : stats.Selectors().Stats) entries.push_back(e.Entry);
  }
  for (int i : entries) {
    const auto& cls = *list.Items(i).StatClass;
    PrintRow(ctx.Out(), {std::to_string(i + 1), list.Items(i).Code(), list.DisplayName(i, true),
                         stats::GroupDisplayText(cls.Group), stats::FlagLetters(cls.AllFlags()),
                         cls.IsGraph ? "1" : "0", cls.HasNorm() ? "1" : "0", cls.CanSelectByList ? "1" : "0"});
  }
}

void PrintTable(CliContext& ctx, const shell::StatTableRequest& request) {
  // Comparison builds a missing prefetch file, a write into the data folder.
  auto& stats = ctx.OpenSession(request.Prefetch ? CliContext::Access::Write : CliContext::Access::Read).Stats();
  const stats::TStatTable* table = nullptr;
  try {
    table = &stats.Compute(request);
  } catch (const support::Error& e) {
    ctx.Fail(e.what());
    return;
  }
  const auto& captions = stats::StatColumnCaptions();
  PrintRow(ctx.Out(), std::vector<std::string>(captions.begin(), captions.end()));
  for (const auto& row : table->Rows) {
    PrintRow(ctx.Out(), std::vector<std::string>(row.Cells.begin(), row.Cells.end()));
  }
}

void BuildPrefetches(CliContext& ctx, const std::vector<std::string>& codes, bool all, bool force) {
  auto& session = ctx.OpenSession(CliContext::Access::Write);
  auto& stats = session.Stats();
  const auto& list = stats.List();
  if (all == !codes.empty()) {
    ctx.Fail("Укажите коды методов или --all!");
    return;
  }
  std::vector<int> entries;
  if (all) {
    for (int i = 0; i < list.Count(); ++i) {
      if (list.HasNorm(i)) entries.push_back(i);
    }
  } else {
    for (const auto& code : codes) {
      const int i = list.IndexOfCode(code);
      if (i < 0) {
        ctx.Fail(UnknownMethod(code));
        return;
      }
      if (!list.HasNorm(i)) {
        ctx.Fail(fmt::format("Для метода \"{}\" файл предварительной выборки не создается!", list.Items(i).Code()));
        return;
      }
      entries.push_back(i);
    }
  }
  PrintRow(ctx.Out(), {"Код", "Файл", "Результат"});
  for (int i : entries) {
    const std::string code = list.Items(i).Code();
    const auto path = stats::PrefetchPath(session.Options().DataDir, code);
    const bool keep = !force && support::FileExists(path) && !support::ReadFileBytes(path).empty();
    const char* result = keep ? "оставлен" : stats.BuildPrefetch(i) ? "создан" : "ошибка";
    PrintRow(ctx.Out(), {code, path.filename().string(), result});
  }
}

void ImportNames(CliContext& ctx, const std::string& file) {
  auto& stats = ctx.OpenSession(CliContext::Access::Write).Stats();
  if (!stats.ImportNames(file)) return;
  // Kept like a confirmed manager keeps them: in the own file, the selectors refilled from it.
  stats.FillStatSelectors(true, true);
  int named = 0;
  for (int i = 0; i < stats.List().Count(); ++i) named += stats.List().Items(i).UserCaption.empty() ? 0 : 1;
  ctx.Out() << fmt::format("Методов со своим названием: {}\n", named);
}

void ExportNames(CliContext& ctx, const std::string& file) {
  auto& stats = ctx.OpenSession().Stats();
  if (stats.SaveFilterList(file, false, true)) ctx.Out() << fmt::format("Названий: {}\n", stats.List().Count());
}

}  // namespace

void RegisterStatsCommands(CLI::App& app, CliContext& ctx) {
  auto* stats_cmd = app.add_subcommand("stats", "Методы статистики и таблица статистики");
  stats_cmd->require_subcommand(1);

  auto list_all = std::make_shared<bool>(false);
  auto* list = stats_cmd->add_subcommand("list", "Вывести список методов статистики (избранные, как в списке выбора)");
  list->add_flag("--all", *list_all, "Все методы, а не только избранные");
  list->callback([&ctx, list_all] { ListMethods(ctx, *list_all); });

  auto* names = stats_cmd->add_subcommand("names", "Названия методов статистики в файле .flt");
  names->require_subcommand(1);
  auto names_file = std::make_shared<std::string>();
  auto* names_export = names->add_subcommand("export", "Записать названия всех методов в файл");
  names_export->add_option("FILE", *names_file, "Файл названий (.flt)")->required();
  names_export->callback([&ctx, names_file] { ExportNames(ctx, *names_file); });
  auto* names_import = names->add_subcommand("import", "Взять названия методов из файла");
  names_import->add_option("FILE", *names_file, "Файл названий (.flt)")->required();
  names_import->callback([&ctx, names_file] { ImportNames(ctx, *names_file); });

  auto table_options = std::make_shared<shell::StatTableRequest>();
  auto* table = stats_cmd->add_subcommand("table", "Вывести таблицу статистики метода");
  table->add_option("CODE", table_options->Code, "Код метода, например NUMS или POS1")->required();
  table->add_option("--window", table_options->Window,
                    fmt::format("Количество тиражей (по умолчанию {})", stats::DefaultWindowLength));
  table->add_option("--offset", table_options->Offset, "Смещение: K самых новых тиражей считаются не разыгранными")
      ->check(CLI::NonNegativeNumber);
  table->add_option("--sort", table_options->SortColumn, "Столбец сортировки 0..19 (по умолчанию 1)")->check(CLI::Range(0, 19));
  table->add_flag("--desc", table_options->Descending, "Сортировать по убыванию");
  table->add_flag("--prefetch", table_options->Prefetch, "Сравнивать с полным набором комбинаций");
  table->add_flag("--sorted", table_options->Sorted, "Читать значения каждого тиража по возрастанию");
  table->callback([&ctx, table_options] { PrintTable(ctx, *table_options); });

  auto* prefetch = app.add_subcommand("prefetch", "Файлы предварительной выборки полного набора комбинаций");
  prefetch->require_subcommand(1);
  auto codes = std::make_shared<std::vector<std::string>>();
  auto all = std::make_shared<bool>(false);
  auto force = std::make_shared<bool>(false);
  auto* build = prefetch->add_subcommand("build", "Создать файлы предварительной выборки");
  build->add_option("CODE", *codes, "Коды методов");
  build->add_flag("--all", *all, "Все методы с нормой");
  build->add_flag("--force", *force, "Пересоздать существующие файлы");
  build->callback([&ctx, codes, all, force] { BuildPrefetches(ctx, *codes, *all, *force); });
}

}  // namespace kelmora::cli
