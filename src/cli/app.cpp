#include "cli/app.h"

#include <algorithm>

#include "shell/stats_state.h"
#include "support/platform.h"
#include "support/text.h"

namespace kelmora::cli {

shell::Session& CliContext::OpenSession() {
  if (!session_) {
    shell::SessionOptions options;
    options.DataDir = DataDir.empty() ? support::DefaultDataDir() : DataDir;
    options.DecimalSeparator = DecimalSeparator.empty() ? '.' : DecimalSeparator[0];
    // The command line reads the desktop program's view state but leaves it as it is.
    options.WriteViewStateOnStart = false;
    session_ = std::make_unique<shell::Session>(host_, options);
    session_->Create();
    // Comparison mode is the command's own option (`stats table --prefetch`), never the desktop
    // program's switch, so no command builds a prefetch file it was not asked for.
    session_->Stats().SetComparisonMode(false);
    session_->LoadDrawsFile();
  }
  return *session_;
}

void CliContext::Fail(std::string_view text) {
  failed_ = true;
  err_ << shell::MessageCaption(shell::MessageKind::Error) << ": " << support::MessageToDisplay(text) << "\n";
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
  CLI::App app{"Kelmora 4r32: analysis of the \"4 из 32\" card lottery", "kelmora"};
  app.set_version_flag("--version", std::string(KELMORA_VERSION));
  app.add_option("--data-dir", ctx.DataDir, "Data folder (default: $KELMORA_DATA_DIR or the executable's folder)");
  app.add_option("--decimal-separator", ctx.DecimalSeparator, "Decimal separator of printed numbers")
      ->check([](const std::string& s) { return s.size() == 1 ? std::string() : std::string("one character"); });
  app.require_subcommand(1);

  RegisterDrawsCommands(app, ctx);
  RegisterStatusCommands(app, ctx);
  RegisterConfigCommands(app, ctx);
  RegisterFilterCommands(app, ctx);
  RegisterStatsCommands(app, ctx);
  RegisterStakesCommands(app, ctx);
  RegisterRatingCommands(app, ctx);

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
    app.exit(e, out, err);
    return ExitUsage;
  } catch (const std::exception& e) {
    ctx.Fail(e.what());
  }
  return ctx.ExitCode();
}

}  // namespace kelmora::cli
