// `kelmora stakes ...` and `kelmora rating ...`: the stakes file and the rating of the data folder,
// as the stakes and rating pages show and change them.

#include <algorithm>

#include <fmt/format.h>

#include "cli/app.h"
#include "shell/stakes_state.h"
#include "support/encoding.h"
#include "support/text.h"

namespace kelmora::cli {

shell::StakesState* OpenStakes(CliContext& ctx) {
  // The stakes file is the data folder's lock: taken (with the wait) before anything is read.
  auto& session = ctx.OpenSession(CliContext::Access::Write);
  if (!session.OpenStakesFile()) return nullptr;
  auto& stakes = session.Stakes();
  if (!stakes.LoadStakesFile()) return nullptr;
  stakes.LoadRating();
  return &stakes;
}

namespace {

void ListStakes(CliContext& ctx) {
  auto* stakes = OpenStakes(ctx);
  if (!stakes) return;
  const auto& captions = stakes::StakeColumnCaptions();
  PrintRow(ctx.Out(), std::vector<std::string>(captions.begin(), captions.end()));
  for (int64_t i = 0; i < stakes->Count(); ++i) {
    std::vector<std::string> cells;
    for (int c = 0; c < stakes::StakeColumnCount; ++c) cells.push_back(stakes->StakeCell(i, c));
    PrintRow(ctx.Out(), cells);
  }
}

struct AddOptions {
  std::string Values;
  int64_t Draw = 0;  // 0: the next draw
  int64_t Count = 1;
  std::string Name = "Ставка \"вручную\"";
  int64_t ListSize = lottery::CombsTotal;
};

void AddStake(CliContext& ctx, const AddOptions& o) {
  const auto comb = shell::ParseDialogValues(o.Values);
  if (!comb) {
    ctx.Fail("Введена некорректная комбинация!");
    return;
  }
  // The dialog's comment field holds at most 64 characters.
  const std::string name = support::CutToCp1251Bytes(o.Name, 64);
  if (name.empty()) {
    ctx.Fail("Необходимо ввести комментарий!");
    return;
  }
  auto* stakes = OpenStakes(ctx);
  if (!stakes) return;
  auto rec = stakes->NewManualStake(*comb);
  if (o.Draw > 0) rec.DrawNumber = static_cast<int32_t>(o.Draw);
  rec.Name = name;
  rec.ListSize = static_cast<int32_t>(o.ListSize);
  stakes->AddStakeCommand(rec, static_cast<int>(o.Count));
}

struct DeleteOptions {
  std::string Rows;
  std::vector<std::string> Matches;
};

void DeleteStakes(CliContext& ctx, const DeleteOptions& o) {
  if (o.Rows.empty() == o.Matches.empty()) {
    ctx.Fail("Укажите --rows или --matches!");
    return;
  }
  auto* stakes = OpenStakes(ctx);
  if (!stakes) return;
  if (!o.Rows.empty()) {
    const auto parts = support::Split(o.Rows, "-");
    const auto first = parts.size() == 2 ? support::ParseInt(parts[0]) : std::nullopt;
    const auto last = parts.size() == 2 ? support::ParseInt(parts[1]) : std::nullopt;
    if (!first || !last || *first < 1 || *last < *first || *last > stakes->Count()) {
      ctx.Fail(fmt::format("Некорректный диапазон строк: {}!", o.Rows));
      return;
    }
    stakes->StakeDelCommand(*first, *last);
    return;
  }
  static const char* const names[] = {"eq", "gt", "ge", "lt", "le"};
  const auto* it = std::find(std::begin(names), std::end(names), o.Matches[0]);
  const auto value = support::ParseInt(o.Matches[1]);
  if (it == std::end(names) || !value || *value < 0 || *value > 4) {
    ctx.Fail(fmt::format("Некорректное условие: {} {}!", o.Matches[0], o.Matches[1]));
    return;
  }
  stakes->StakeFilterCommand(static_cast<stakes::TMatchCompare>(it - std::begin(names)), *value);
}

struct RatingListOptions {
  int Mode = -1;  // -1: the view's mode
  int Sort = -1;  // -1: the order of the file
  bool Descending = false;
};

void ListRating(CliContext& ctx, const RatingListOptions& o) {
  auto* stakes = OpenStakes(ctx);
  if (!stakes) return;
  auto& session = ctx.OpenSession();
  if (o.Mode >= 0) session.MainView().RatingsEffMode = o.Mode;
  if (o.Sort >= 0) stakes->SortRating(o.Sort, o.Descending);
  const auto& captions = stakes::RatingColumnCaptions();
  PrintRow(ctx.Out(), std::vector<std::string>(captions.begin(), captions.end()));
  for (int r = 0; r < static_cast<int>(stakes->Rating().size()); ++r) {
    std::vector<std::string> cells;
    for (int c = 0; c < stakes::RatingColumnCount; ++c) cells.push_back(stakes->RatingCell(r, c));
    PrintRow(ctx.Out(), cells);
  }
}

}  // namespace

void RegisterStakesCommands(CLI::App& app, CliContext& ctx) {
  auto* cmd = app.add_subcommand("stakes", "The stakes file: list, add, check, delete");
  cmd->require_subcommand(1);

  cmd->add_subcommand("list", "Print the stakes grid")->callback([&ctx] { ListStakes(ctx); });

  auto add_options = std::make_shared<AddOptions>();
  auto* add = cmd->add_subcommand("add", "Make a stake (as \"Сделать ставку\")");
  add->add_option("--values", add_options->Values, "Four card values separated by \";\" or \",\"")->required();
  add->add_option("--draw", add_options->Draw, "Number of the first draw (default: the next draw)")
      ->check(CLI::Range(int64_t{1}, int64_t{2147483647}));
  add->add_option("--count", add_options->Count, "Number of draws (default 1)")->check(CLI::Range(1, 65535));
  add->add_option("--name", add_options->Name, "Comment of the stake");
  add->add_option("--list-size", add_options->ListSize, "Size of the combination list (default 4096)")
      ->check(CLI::Range(int64_t{0}, int64_t{2147483647}));
  add->callback([&ctx, add_options] { AddStake(ctx, *add_options); });

  cmd->add_subcommand("check", "Check the stakes against the archive; prints how many were checked")
      ->callback([&ctx] {
        if (auto* stakes = OpenStakes(ctx)) ctx.Out() << stakes->CheckStakes() << "\n";
      });

  auto delete_options = std::make_shared<DeleteOptions>();
  auto* del = cmd->add_subcommand("delete", "Delete stakes by grid rows or by their matches");
  del->add_option("--rows", delete_options->Rows, "Grid rows FIRST-LAST (1 = the first record)");
  del->add_option("--matches", delete_options->Matches, "Condition (eq|gt|ge|lt|le) and a number of matches 0..4")
      ->expected(2);
  del->callback([&ctx, delete_options] { DeleteStakes(ctx, *delete_options); });

  auto confirmed = std::make_shared<bool>(false);
  auto* clear = cmd->add_subcommand("clear", "Delete every stake");
  clear->add_flag("--yes", *confirmed, "Confirm")->required();
  clear->callback([&ctx, confirmed] {
    if (auto* stakes = OpenStakes(ctx)) stakes->StakeClearCommand();
  });
}

void RegisterRatingCommands(CLI::App& app, CliContext& ctx) {
  auto* cmd = app.add_subcommand("rating", "The rating of the checked stakes");
  cmd->require_subcommand(1);

  auto list_options = std::make_shared<RatingListOptions>();
  auto* list = cmd->add_subcommand("list", "Print the rating view");
  list->add_option("--mode", list_options->Mode, "Efficiency columns: 0 expected, 1 absolute, 2 relative")
      ->check(CLI::Range(0, 2));
  list->add_option("--sort", list_options->Sort, "Sort column 0..15 (the sort is saved)")->check(CLI::Range(0, 15));
  list->add_flag("--desc", list_options->Descending, "Sort descending");
  list->callback([&ctx, list_options] { ListRating(ctx, *list_options); });

  auto* refresh = cmd->add_subcommand("refresh", "Rebuild the rating from the checked stakes");
  auto confirmed = std::make_shared<bool>(false);
  refresh->add_flag("--yes", *confirmed, "Confirm")->required();
  refresh->callback([&ctx, confirmed] {
    if (auto* stakes = OpenStakes(ctx)) stakes->RatingsRefresh();
  });

  auto file = std::make_shared<std::string>();
  auto* exp = cmd->add_subcommand("export", "Write the rating as a CSV file");
  exp->add_option("FILE", *file, "CSV file")->required();
  exp->callback([&ctx, file] {
    if (auto* stakes = OpenStakes(ctx)) stakes->RatingsExport(*file);
  });
}

}  // namespace kelmora::cli
