#include "cli/app.h"

#include <algorithm>
#include <chrono>

#include <fmt/format.h>

#include "cli/usage_text.h"
#include "shell/stats_state.h"
#include "support/files.h"
#include "support/platform.h"
#include "support/text.h"

namespace kelmora::cli {

shell::Session& CliContext::OpenSession(Access access) {
  if (!session_) {
    shell::SessionOptions options;
    options.DataDir = DataDir.empty() ? support::DefaultDataDir() : DataDir;
    options.DecimalSeparator = DecimalSeparator.empty() ? '.' : DecimalSeparator[0];
    // The command line reads the desktop program's view state but leaves it as it is.
    options.WriteViewStateOnStart = false;
    std::error_code ec;
    if (!std::filesystem::is_directory(options.DataDir, ec)) {
      Fail(fmt::format("Папка данных \"{}\" не найдена!", options.DataDir.string()));
      throw CommandAborted{};
    }
    session_ = std::make_unique<shell::Session>(host_, options);
    if (access == Access::Write) LockForWriting();
    // The view state and the configuration only shape the defaults: what goes wrong with them is
    // worth a warning, not a failed command.
    host_.SetErrorsAsWarnings(true);
    session_->Create();
    host_.SetErrorsAsWarnings(false);
    // Comparison mode is the command's own option (`stats table --prefetch`), never the desktop
    // program's switch, so no command builds a prefetch file it was not asked for.
    session_->Stats().SetComparisonMode(false);
    session_->LoadDrawsFile();
    if (!session_->DrawsReadError().empty()) throw CommandAborted{};
    if (DataDir.empty() && !support::FileExists(session_->DrawsPath())) {
      err_ << fmt::format("Папка данных: \"{}\" (файла тиражей в ней нет; укажите другую папку через "
                          "--data-dir или KELMORA_DATA_DIR)\n",
                          options.DataDir.string());
    }
  } else if (access == Access::Write) {
    LockForWriting();
  }
  return *session_;
}

void CliContext::LockForWriting() {
  if (const auto problem = session_->LockDataFolder(std::chrono::milliseconds(std::max(0, LockWaitMs)))) {
    Fail(*problem);
    throw CommandAborted{};
  }
}

void CliContext::Fail(std::string_view text) {
  failed_ = true;
  err_ << PrefixedMessage(shell::MessageCaption(shell::MessageKind::Error), text) << "\n";
}

void PrintRow(std::ostream& out, const std::vector<std::string>& cells) {
  for (size_t i = 0; i < cells.size(); ++i) {
    if (i) out << '\t';
    out << cells[i];
  }
  out << '\n';
}

int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  CliContext ctx(out, err);
  CLI::App app{"Kelmora 4r32: анализ карточной лотереи \"4 из 32\"", "kelmora"};
  UseRussianHelp(app);
  app.set_version_flag("--version", std::string(KELMORA_VERSION), "Показать версию программы и выйти");
  app.add_option("--data-dir", ctx.DataDir, "Папка данных (по умолчанию $KELMORA_DATA_DIR или папка программы)");
  app.add_option("--decimal-separator", ctx.DecimalSeparator, "Десятичный разделитель выводимых чисел")
      ->check([](const std::string& s) { return s.size() == 1 ? std::string() : std::string("нужен один символ"); });
  app.add_option("--lock-wait", ctx.LockWaitMs,
                 "Сколько миллисекунд команда, которая пишет в папку данных, ждёт, пока с ней работает другая программа (по умолчанию 5000)");
  app.require_subcommand(1);

  RegisterDrawsCommands(app, ctx);
  RegisterStatusCommands(app, ctx);
  RegisterConfigCommands(app, ctx);
  RegisterFilterCommands(app, ctx);
  RegisterStatsCommands(app, ctx);
  RegisterStakesCommands(app, ctx);
  RegisterRatingCommands(app, ctx);
  RegisterScriptCommands(app, ctx);
  RegisterViewsCommands(app, ctx);
  RegisterNetworkCommands(app, ctx);
  RegisterLibraryCommands(app, ctx);
  RegisterRegularsCommands(app, ctx);
  RegisterSystemsCommands(app, ctx);
  UseRussianSubcommandGroups(app);

  std::vector<std::string> reversed(args.rbegin(), args.rend());
  try {
    app.parse(reversed);
  } catch (const CLI::CallForHelp& e) {
    return app.exit(e, out, err);
  } catch (const CLI::CallForAllHelp& e) {
    return app.exit(e, out, err);
  } catch (const CLI::CallForVersion& e) {
    return app.exit(e, out, err);
  } catch (const CLI::ParseError& e) {
    err << "Ошибка в командной строке: " << UsageErrorText(e) << "\nСправка: kelmora --help\n";
    return ExitUsage;
  } catch (const CommandAborted&) {
    // already reported
  } catch (const std::exception& e) {
    ctx.Fail(e.what());
  }
  return ctx.ExitCode();
}

}  // namespace kelmora::cli
