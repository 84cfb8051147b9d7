// `kelmora library list`, `kelmora library get` and `kelmora update check`.

#include <fmt/format.h>

#include "cli/app.h"
#include "scripts/script.h"
#include "shell/library_state.h"
#include "support/text.h"

namespace kelmora::cli {

namespace {

// A cell never breaks its TSV line.
std::string OneLine(std::string text) {
  for (char& c : text)
    if (c == '\t' || c == '\r' || c == '\n') c = ' ';
  return text;
}

}  // namespace

void RegisterLibraryCommands(CLI::App& app, CliContext& ctx) {
  auto* library = app.add_subcommand("library", "Online-каталог сценариев (адрес: параметр CatalogUrl секции NETWORK)");
  library->require_subcommand(1);

  auto filter = std::make_shared<int>(1);
  auto* list = library->add_subcommand("list", "Список сценариев каталога (TSV: Id и столбцы каталога)");
  list->add_option("--filter", *filter, "Фильтр каталога (fltid): -1 скрытые, 0 все, 1 все, кроме скрытых, 2 мои, "
                                        "3 публичные, 4 с моими оценками, 5 без моих оценок, 6 новые")
      ->check(CLI::Range(-1, 6));
  list->callback([&ctx, filter] {
    auto& session = ctx.OpenSession();
    auto& state = session.Library();
    std::vector<net::tScriptInfo> entries;
    session.Reported("Ошибка загрузки каталога online-сценариев!", [&] {
      net::LoadScriptCatalogue(state.Client(), *filter, state.Language(),
                               [&](net::tScriptInfo info) { entries.push_back(std::move(info)); });
    });
    std::vector<std::string> header = {"Id"};
    for (const char* caption : shell::LibraryState::ColumnCaptions) header.emplace_back(caption);
    PrintRow(ctx.Out(), header);
    for (const auto& entry : entries) {
      std::vector<std::string> cells = {std::to_string(entry.Id)};
      for (int c = 0; c < shell::LibraryState::ColumnCount; ++c) cells.push_back(OneLine(state.Cell(entry, c)));
      PrintRow(ctx.Out(), cells);
    }
  });

  auto id = std::make_shared<int>(0);
  auto out = std::make_shared<std::string>();
  auto* get = library->add_subcommand("get", "Скачать сценарий каталога в файл .lsc");
  get->add_option("ID", *id, "Id сценария (library list)")->required();
  get->add_option("--out", *out, "Файл сценария")->required();
  get->callback([&ctx, id, out] {
    auto& session = ctx.OpenSession();
    auto& state = session.Library();
    const auto client = state.Client();
    // Only an entry made for this program (or universal) may be taken, as in the catalogue panel.
    std::optional<net::tScriptInfo> found;
    if (!session.Reported("Ошибка загрузки каталога online-сценариев!", [&] {
          net::LoadScriptCatalogue(client, 0, state.Language(), [&](net::tScriptInfo info) {
            if (info.Id == *id && !found) found = std::move(info);
          });
        }))
      return;
    if (!found) return ctx.Fail(fmt::format("Сценарий {} не найден в online-каталоге!", *id));
    if (!found->Compatible)
      return ctx.Fail(fmt::format("Сценарий \"{}\" сделан для другой программы и не может быть загружен!", found->Title));
    std::optional<std::vector<std::string>> lines;
    if (!session.Reported("Ошибка загрузки online-сценария!", [&] { lines = net::FetchCatalogueScript(client, *id); }))
      return;
    if (!lines) return ctx.Fail("Ошибка загрузки online-сценария!\r\rСервер не вернул текст сценария.");
    session.Reported(fmt::format("Ошибка записи в файл \"{}\"!", *out), [&] { scripts::WriteScriptFile(*out, *lines); });
  });

  auto* update = app.add_subcommand("update", "Обновление программы");
  update->require_subcommand(1);
  auto source = std::make_shared<std::string>();
  auto install = std::make_shared<bool>(false);
  auto* check = update->add_subcommand(
      "check", "Показать предлагаемое обновление (TSV: ключ и значение); установить его только с --install");
  check->add_option("--source", *source, "Адрес https:// или путь к файлу описания вместо параметра UpdateUrl");
  check->add_flag("--install", *install, "Установить найденное обновление");
  check->callback([&ctx, source, install] {
    auto& session = ctx.OpenSession();
    const int result = session.CheckForUpdate(
        *source, false,
        [&ctx, install](const std::string& running, const net::TUpdateVersionInfo& offer,
                        const std::vector<std::string>& notes) {
          PrintRow(ctx.Out(), {"RunningVersion", running});
          PrintRow(ctx.Out(), {"VerId", offer.VerId});
          PrintRow(ctx.Out(), {"Description", OneLine(offer.Description)});
          PrintRow(ctx.Out(), {"DownloadUrl", offer.DownloadUrl});
          for (const auto& line : notes) PrintRow(ctx.Out(), {"Notes", OneLine(line)});
          return *install;
        });
    if (result == net::UpdateInstalled) PrintRow(ctx.Out(), {"Installed", "1"});
    if (result == net::UpdateFailed) ctx.SetExitCode(ExitFailure);
  });
}

}  // namespace kelmora::cli
