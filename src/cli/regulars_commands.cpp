// `kelmora regulars ...`: the regular table stakes of the data folder, as the "Регуляры" page
// lists, adds, stakes and tests them.

#include <cstdlib>
#include <optional>

#include <fmt/format.h>

#include "cli/app.h"
#include "lottery/comb_text.h"
#include "shell/regulars_state.h"
#include "shell/stakes_state.h"
#include "support/encoding.h"

namespace kelmora::cli {

namespace {

// The page's rules, loaded as the shown page loads them.
shell::RegularsState& OpenRegulars(shell::Session& session) {
  auto& regulars = session.Regulars();
  regulars.Show();
  return regulars;
}

void ListRegulars(CliContext& ctx) {
  auto& regulars = OpenRegulars(ctx.OpenSession());
  std::vector<std::string> captions;
  for (int c = 0; c < stakes::TableColumnCount; ++c) captions.emplace_back(stakes::TableColumnCaption(c));
  PrintRow(ctx.Out(), captions);
  for (const auto& rule : regulars.Tables()) {
    std::vector<std::string> cells;
    for (int c = 0; c < stakes::TableColumnCount; ++c) cells.push_back(stakes::TableCellText(rule, c));
    PrintRow(ctx.Out(), cells);
  }
}

struct AddOptions {
  std::string Name;
  std::string Start;
  bool LastDraw = false;
  int Step = 1;
};

void AddRegular(CliContext& ctx, const AddOptions& o) {
  if (o.Start.empty() == !o.LastDraw) {
    ctx.Fail("Укажите --start или --last-draw!");
    return;
  }
  stakes::TTableRec rec;
  rec.UseLastDraw = o.LastDraw;
  rec.Step = o.Step;
  // The dialog's checks, in its order.
  if (!o.LastDraw) {
    const auto comb = shell::ParseDialogValues(o.Start);
    if (!comb) {
      ctx.Fail("Введена некорректная комбинация!");
      return;
    }
    rec.StartComb = *comb;
  }
  rec.Name = support::CutToCp1251Bytes(o.Name, shell::TableCommentMax);
  if (rec.Name.empty()) {
    ctx.Fail("Необходимо ввести комментарий!");
    return;
  }
  auto& session = ctx.OpenSession(CliContext::Access::Write);
  auto& regulars = OpenRegulars(session);
  if (ctx.Host().ErrorShown()) return;  // an unreadable file is never written over
  if (regulars.FindTable(rec.Name) >= 0) {
    ctx.Fail(shell::TableNameTakenText);
    return;
  }
  if (std::abs(rec.Step) > stakes::TableStepSafe) ctx.Err() << shell::TableStepWarningText << "\n";
  regulars.AddTable(rec);
}

// The rows of the named rules in the order given; nullopt after a reported unknown name.
std::optional<std::vector<int>> RowsOf(CliContext& ctx, const shell::RegularsState& regulars,
                                       const std::vector<std::string>& names) {
  std::vector<int> rows;
  for (const auto& name : names) {
    const int row = regulars.FindTable(name);
    if (row < 0) {
      ctx.Fail(fmt::format("Регулярная ставка \"{}\" не найдена!", name));
      return std::nullopt;
    }
    rows.push_back(row);
  }
  return rows;
}

void StakeRegular(CliContext& ctx, const std::string& name) {
  auto* stakes = OpenStakes(ctx);
  if (!stakes) return;
  auto& regulars = OpenRegulars(ctx.OpenSession(CliContext::Access::Write));
  if (ctx.Host().ErrorShown()) return;
  const auto rows = RowsOf(ctx, regulars, {name});
  if (!rows) return;
  const auto prepared = regulars.PrepareStake(rows->front());
  if (!prepared) return;
  if (regulars.StakeAdd(rows->front(), prepared->first, prepared->second, 1))
    ctx.Out() << lottery::CombToText(prepared->second.Values) << "\n";
}

void TestRegulars(CliContext& ctx, int tests, const std::vector<std::string>& names) {
  auto* stakes = OpenStakes(ctx);
  if (!stakes) return;
  auto& session = ctx.OpenSession(CliContext::Access::Write);
  const int draws = static_cast<int>(session.Draws().size());
  if (draws < 2 || tests > draws - 1) {
    ctx.Fail(draws < 2 ? std::string("Для теста нужно хотя бы два тиража в архиве!")
                       : fmt::format("Количество тестов должно быть от 1 до {}!", draws - 1));
    return;
  }
  auto& regulars = OpenRegulars(session);
  if (ctx.Host().ErrorShown()) return;
  const auto rows = RowsOf(ctx, regulars, names);
  if (!rows) return;
  const int64_t before = stakes->Count();
  if (regulars.StakeTest(*rows, tests)) ctx.Out() << stakes->Count() - before << "\n";
}

}  // namespace

void RegisterRegularsCommands(CLI::App& app, CliContext& ctx) {
  auto* cmd = app.add_subcommand("regulars", "Регулярные табличные ставки (Kelmora_4r32.ltb)");
  cmd->require_subcommand(1);

  cmd->add_subcommand("list", "Список регулярных ставок (TSV)")->callback([&ctx] { ListRegulars(ctx); });

  auto add_options = std::make_shared<AddOptions>();
  auto* add = cmd->add_subcommand("add", "Добавить регулярную ставку");
  add->add_option("--name", add_options->Name, "Комментарий к ставке (не более 64 символов)")->required();
  auto* start = add->add_option("--start", add_options->Start, "Постоянная стартовая комбинация: 4 значения через \";\" или \",\"");
  auto* last = add->add_flag("--last-draw", add_options->LastDraw, "Использовать данные предыдущего тиража");
  start->excludes(last);
  add->add_option("--step", add_options->Step, "Шаг изменения элементов комбинации (-14..14)")
      ->required()
      ->check(CLI::Range(-stakes::TableStepMax, stakes::TableStepMax));
  add->callback([&ctx, add_options] { AddRegular(ctx, *add_options); });

  auto stake_name = std::make_shared<std::string>();
  auto* stake = cmd->add_subcommand("stake", "Сделать ставку по регуляру на следующий тираж; печатает комбинацию");
  stake->add_option("NAME", *stake_name, "Комментарий регулярной ставки")->required();
  stake->callback([&ctx, stake_name] { StakeRegular(ctx, *stake_name); });

  auto tests = std::make_shared<int>(10);
  auto names = std::make_shared<std::vector<std::string>>();
  auto* test = cmd->add_subcommand("test", "Тест регуляров по прошлым тиражам; печатает количество ставок");
  test->add_option("--tests", *tests, "Количество тестов")->required()->check(CLI::PositiveNumber);
  test->add_option("NAME", *names, "Комментарии регулярных ставок")->required();
  test->callback([&ctx, tests, names] { TestRegulars(ctx, *tests, *names); });
}

}  // namespace kelmora::cli
