// `kelmora systems ...`: the systems catalogue (address: CatalogUrl of section NETWORK), the local
// "Systems" folder and system play, as the systems page and its commands do them.

#include <fmt/format.h>

#include "cli/app.h"
#include "filtering/comb_list.h"
#include "shell/combs_state.h"
#include "shell/stakes_state.h"
#include "shell/systems_state.h"
#include "support/encoding.h"

namespace kelmora::cli {

namespace {

// The catalogue as the shown page loads it; nullptr after a reported failure. Refreshing may
// download changed systems again, so the folder's writer lock is held.
shell::SystemsState* OpenCatalog(CliContext& ctx) {
  auto& systems = ctx.OpenSession(CliContext::Access::Write).Systems();
  systems.Show();
  systems.RefreshSystemsList();
  if (ctx.Host().ErrorShown()) return nullptr;
  return &systems;
}

void ListSystems(CliContext& ctx) {
  auto* systems = OpenCatalog(ctx);
  if (!systems) return;
  // The identifier first: it is what `systems download` takes.
  std::vector<std::string> captions = {"Id"};
  for (int c = 0; c < shell::SystemsState::ColumnCount; ++c) captions.emplace_back(shell::SystemsState::ColumnCaption(c));
  PrintRow(ctx.Out(), captions);
  for (int row = 0; row < static_cast<int>(systems->List().size()); ++row) {
    std::vector<std::string> cells = {std::to_string(systems->List()[static_cast<size_t>(row)].Id)};
    for (int c = 0; c < shell::SystemsState::ColumnCount; ++c) cells.push_back(systems->Cell(row, c));
    PrintRow(ctx.Out(), cells);
  }
}

void DownloadSystem(CliContext& ctx, int32_t id) {
  auto* systems = OpenCatalog(ctx);
  if (!systems) return;
  int row = -1;
  for (size_t i = 0; i < systems->List().size(); ++i)
    if (systems->List()[i].Id == id && id > 0) row = static_cast<int>(i);
  if (row < 0) {
    ctx.Fail(fmt::format("Система #{} не найдена в каталоге!", id));
    return;
  }
  if (systems->SystemsDownload({row}).empty()) return;
  ctx.Out() << systems->LocalFile(systems->List()[static_cast<size_t>(row)]).filename().string() << "\n";
}

struct PlayOptions {
  bool All = false;
  bool Filter = false;
  std::string Name;
  bool HasName = false;
  std::string Start;
};

void PlaySystem(CliContext& ctx, const PlayOptions& o) {
  if (o.All == o.Filter) {
    ctx.Fail("Укажите --all или --filter!");
    return;
  }
  filtering::TCombsArray list;
  if (!o.Start.empty()) {
    try {
      list = filtering::ReadCombFile(o.Start);
    } catch (const std::exception& e) {
      ctx.Fail(fmt::format("Ошибка чтения файла комбинаций!\r\r{}", e.what()));
      return;
    }
  } else {
    for (int i = 0; i < lottery::CombsTotal; ++i) list.push_back(lottery::CombOfIndex(i));
  }
  auto* stakes = OpenStakes(ctx);
  if (!stakes) return;
  auto& session = ctx.OpenSession(CliContext::Access::Write);
  session.Combs().ReplaceList(list);
  const bool whole = o.All;
  const auto play = session.Systems().PrepareSystemPlay(whole);
  if (!play) return;
  // The multi-stake dialog's defaults: the next draw, count 1, the system's name; its comment field
  // holds at most 64 characters.
  const std::string name = o.HasName ? support::CutToCp1251Bytes(o.Name, 64) : play->Name;
  if (name.empty()) {
    ctx.Fail("Необходимо ввести комментарий!");
    return;
  }
  const int appended = session.Systems().SystemStake(*play, whole, play->Draw, name, 1);
  if (appended >= 0) ctx.Out() << appended << "\n";
}

}  // namespace

void RegisterSystemsCommands(CLI::App& app, CliContext& ctx) {
  auto* cmd = app.add_subcommand("systems", "Системы: каталог (адрес: параметр CatalogUrl секции NETWORK), загрузка, системная игра");
  cmd->require_subcommand(1);

  cmd->add_subcommand("list", "Список систем каталога (TSV); изменённые загруженные системы загружаются заново")
      ->callback([&ctx] { ListSystems(ctx); });

  auto id = std::make_shared<int32_t>(0);
  auto* download = cmd->add_subcommand("download", "Загрузить систему в папку Systems; печатает имя файла");
  download->add_option("ID", *id, "Идентификатор системы (столбец Id списка)")->required();
  download->callback([&ctx, id] { DownloadSystem(ctx, *id); });

  auto play = std::make_shared<PlayOptions>();
  auto* play_cmd = cmd->add_subcommand("play", "Системная игра на следующий тираж; печатает количество ставок");
  auto* all = play_cmd->add_flag("--all", play->All, "По всем комбинациям системы");
  auto* filter = play_cmd->add_flag("--filter", play->Filter, "Только по комбинациям, которые есть и в системе и в списке");
  all->excludes(filter);
  play_cmd->add_option("--name", play->Name, "Комментарий ставок (по умолчанию имя системной игры)")
      ->each([play](const std::string&) { play->HasName = true; });
  play_cmd->add_option("--start", play->Start, "Список комбинаций из файла .lcv (по умолчанию полный список 4096)");
  play_cmd->callback([&ctx, play] { PlaySystem(ctx, *play); });
}

}  // namespace kelmora::cli
