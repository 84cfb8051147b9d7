// `kelmora views scheme|compare|weekday|card|repeats|sums|graph`: the analysis views as TSV.

#include <algorithm>
#include <limits>

#include <fmt/format.h>

#include "cli/app.h"
#include "shell/stats_state.h"
#include "stats/custom_stat.h"
#include "views/card.h"
#include "views/graphs.h"
#include "views/layout.h"
#include "views/repeats.h"
#include "views/sums.h"
#include "views/week.h"

namespace kelmora::cli {

namespace {

constexpr int64_t MaxLength = std::numeric_limits<int32_t>::max();

struct WindowOptions {
  int64_t Window = 0;  // 0: the view state's length of the page
  int64_t Offset = 0;
  bool Sorted = false;
  std::string Code;
};

// The offset clamped to the archive as SetDrawsOffset clamps it.
int ClampedOffset(const shell::Session& session, int64_t offset) {
  const int64_t high = std::max<int64_t>(0, static_cast<int64_t>(session.Draws().size()) - 1);
  return static_cast<int>(std::clamp<int64_t>(offset, 0, high));
}

void PrintGrid(CliContext& ctx, const views::TViewGrid& grid) {
  for (int r = 0; r < grid.Rows; ++r) {
    std::vector<std::string> cells;
    for (int c = 0; c < grid.Cols; ++c) cells.push_back(grid.At(r, c));
    PrintRow(ctx.Out(), cells);
  }
}

// Y with up to four decimals, without trailing zeros, in the session's decimal separator.
std::string NumberText(double y, char separator) {
  std::string text = fmt::format("{:.4f}", y);
  while (!text.empty() && text.back() == '0') text.pop_back();
  if (!text.empty() && text.back() == '.') text.pop_back();
  if (text == "-0") text = "0";
  std::replace(text.begin(), text.end(), '.', separator);
  return text;
}

void PrintChart(CliContext& ctx, const support::ChartData& chart, char separator) {
  PrintRow(ctx.Out(), {"Серия", "X", "Y"});
  for (const auto& s : chart.Series)
    for (const auto& p : s.Points) PrintRow(ctx.Out(), {s.Title, std::to_string(p.X), NumberText(p.Y, separator)});
}

void PrintScheme(CliContext& ctx, const WindowOptions& o) {
  auto& session = ctx.OpenSession();
  const int64_t window = o.Window > 0 ? o.Window : session.MainView().LayoutLen;
  PrintGrid(ctx, views::BuildLayoutScheme(session.Draws(), ClampedOffset(session, o.Offset), window).Grid);
}

void PrintCompare(CliContext& ctx, const WindowOptions& o) {
  auto& session = ctx.OpenSession();
  const auto list = views::BuildLayoutCompare(session.Draws(), ClampedOffset(session, o.Offset), o.Window);
  PrintRow(ctx.Out(), {"Кол-во", list.Caption});
  for (const auto& row : list.Rows) PrintRow(ctx.Out(), {std::to_string(row.Count), row.Values});
}

void PrintWeekday(CliContext& ctx, const WindowOptions& o) {
  auto& session = ctx.OpenSession();
  const int64_t window = o.Window > 0 ? o.Window : session.MainView().WeekLen;
  const auto stat = views::BuildWeekStat(session.Draws(), ClampedOffset(session, o.Offset), window);
  PrintGrid(ctx, views::WeekGrid(stat, views::RussianShortDayNames()));
}

void PrintCard(CliContext& ctx) {
  const auto& draws = ctx.OpenSession().Draws();
  const int rows = views::CardRowCount(draws);
  for (int r = 0; r < rows; ++r) {
    std::vector<std::string> cells;
    for (int c = 0; c < views::CardColumns; ++c) cells.push_back(views::CardCellText(draws, r, c));
    PrintRow(ctx.Out(), cells);
  }
}

void PrintRepeats(CliContext& ctx, int64_t length, int64_t deep) {
  const auto repeats = views::BuildRepeats(ctx.OpenSession().Draws(), length, deep);
  PrintRow(ctx.Out(), {"Тираж", "Совпадений", "Кол-во повторов", "Список тиражей"});
  for (const auto& row : repeats.Rows)
    PrintRow(ctx.Out(), {std::to_string(row.Draw), std::to_string(row.Matches), std::to_string(row.Count), row.Draws});
}

void PrintSums(CliContext& ctx) {
  auto& session = ctx.OpenSession();
  PrintChart(ctx, views::SumsChart(views::BuildSumsDistribution(session.Draws())), session.DecimalSeparator());
}

void PrintGraph(CliContext& ctx, const WindowOptions& o) {
  auto& session = ctx.OpenSession();
  const auto& list = session.Stats().List();
  const int entry = list.IndexOfCode(o.Code);
  if (entry < 0) return ctx.Fail(fmt::format("Метод расчета статистики \"{}\" не найден!", o.Code));
  auto stat = list.CreateStat(entry);
  auto* graph = dynamic_cast<stats::TCustomGraphStat*>(stat.get());
  if (!list.IsGraph(entry) || !graph)
    return ctx.Fail(fmt::format("Для метода \"{}\" график не строится!", list.Items(entry).Code()));
  std::string caption = list.DisplayName(entry, true);
  for (const auto& e : session.Stats().Selectors().Graphs)
    if (e.Entry == entry) caption = e.Text;
  const int64_t window = o.Window > 0 ? o.Window : session.MainView().DrawsGraphLen;
  try {
    PrintChart(ctx,
               views::BuildDrawsGraph(*graph, caption, session.Draws(), ClampedOffset(session, o.Offset), window,
                                      o.Sorted, false),
               session.DecimalSeparator());
  } catch (const std::exception& e) {
    ctx.Fail(e.what());
  }
}

void AddWindow(CLI::App* cmd, WindowOptions& o, bool required, const char* what) {
  auto* window = cmd->add_option("--window", o.Window, what)->check(CLI::Range(int64_t{1}, MaxLength));
  if (required) window->required();
  cmd->add_option("--offset", o.Offset, "Смещение: K самых новых тиражей считаются не разыгранными")
      ->check(CLI::NonNegativeNumber);
}

}  // namespace

void RegisterViewsCommands(CLI::App& app, CliContext& ctx) {
  auto* views_cmd = app.add_subcommand("views", "Схема, карта, неделя, повторы, суммы и графики тиражей");
  views_cmd->require_subcommand(1);

  auto scheme_options = std::make_shared<WindowOptions>();
  auto* scheme = views_cmd->add_subcommand("scheme", "Схема выпадения номеров");
  AddWindow(scheme, *scheme_options, false, "Количество тиражей (по умолчанию LayoutLen, 100)");
  scheme->callback([&ctx, scheme_options] { PrintScheme(ctx, *scheme_options); });

  auto compare_options = std::make_shared<WindowOptions>();
  auto* compare = views_cmd->add_subcommand("compare", "Список сравнения схемы: значения по количеству выпадений");
  AddWindow(compare, *compare_options, true, "Количество тиражей");
  compare->callback([&ctx, compare_options] { PrintCompare(ctx, *compare_options); });

  auto week_options = std::make_shared<WindowOptions>();
  auto* weekday = views_cmd->add_subcommand("weekday", "Статистика по дням недели");
  AddWindow(weekday, *week_options, false, "Количество тиражей (по умолчанию WeekLen, 1000)");
  weekday->callback([&ctx, week_options] { PrintWeekday(ctx, *week_options); });

  auto* card = views_cmd->add_subcommand("card", "Карта тиражей (все тиражи, новые сначала)");
  card->callback([&ctx] { PrintCard(ctx); });

  auto repeat_length = std::make_shared<int64_t>(100);
  auto repeat_deep = std::make_shared<int64_t>(100);
  auto* repeats = views_cmd->add_subcommand("repeats", views::RepeatsCaption);
  repeats->add_option("--length", *repeat_length, "Количество тиражей, использующихся для расчета статистики (100)")
      ->check(CLI::Range(int64_t{1}, MaxLength));
  repeats->add_option("--deep", *repeat_deep,
                      "Количество тиражей, просматриваемых \"в глубину\" для поиска совпадений (100)")
      ->check(CLI::Range(int64_t{1}, MaxLength));
  repeats->callback([&ctx, repeat_length, repeat_deep] { PrintRepeats(ctx, *repeat_length, *repeat_deep); });

  auto* sums = views_cmd->add_subcommand("sums", views::SumsCaption);
  sums->callback([&ctx] { PrintSums(ctx); });

  auto graph_options = std::make_shared<WindowOptions>();
  auto* graph = views_cmd->add_subcommand("graph", "График статистики по тиражам: значения, среднее, самое частое");
  graph->add_option("CODE", graph_options->Code, "Код метода с графиком, например SUMS")->required();
  AddWindow(graph, *graph_options, false, "Количество тиражей (по умолчанию DrawsGraphLen, 100)");
  graph->add_flag("--sorted", graph_options->Sorted, "Читать значения каждого тиража по возрастанию");
  graph->callback([&ctx, graph_options] { PrintGraph(ctx, *graph_options); });
}

}  // namespace kelmora::cli
