#pragma once
// The command-line front end: `kelmora SUBCOMMAND ...` over the same data folder as the desktop
// program. Tables are printed as TSV with the system's column captions.

#include <filesystem>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include <CLI/CLI.hpp>

#include "cli/terminal_host.h"
#include "shell/session.h"

namespace kelmora::shell {
class StakesState;
}

namespace kelmora::cli {

// Exit codes: 0 success, 1 a failure reported on stderr, 2 a usage error.
inline constexpr int ExitOk = 0;
inline constexpr int ExitFailure = 1;
inline constexpr int ExitUsage = 2;
inline constexpr int ExitStopped = 130;  // a script run ended by its stop flag (Ctrl+C)

// What every subcommand shares: the global options, the streams and the Session (opened on demand).
class CliContext {
 public:
  CliContext(std::ostream& out, std::ostream& err) : out_(out), err_(err), host_(err) {}

  std::filesystem::path DataDir;
  std::string DecimalSeparator = ".";
  // How long a command that writes waits for another writer of the data folder.
  int LockWaitMs = 5000;

  std::ostream& Out() { return out_; }
  std::ostream& Err() { return err_; }
  TerminalHost& Host() { return host_; }
  // What a command does with the data folder: a command that writes holds the folder's writer lock
  // from before the archive is read until it ends, so no other process changes what it read.
  enum class Access { Read, Write };
  // The Session with the view state, the configuration and the archive loaded. Problems with the
  // view state or the configuration are warnings. Throws CommandAborted (after reporting why) when
  // the data folder is missing, its lock cannot be had for a write, or the archive cannot be read.
  shell::Session& OpenSession(Access access = Access::Read);
  // Reports a failure in the system's words (exit code 1).
  void Fail(std::string_view text);
  int ExitCode() const {
    if (exit_code_ >= 0) return exit_code_;
    return failed_ || host_.ErrorShown() ? ExitFailure : ExitOk;
  }
  // A command whose outcome decides the exit code by itself (the script runs).
  void SetExitCode(int code) { exit_code_ = code; }

 private:
  void LockForWriting();

  std::ostream& out_;
  std::ostream& err_;
  TerminalHost host_;
  std::unique_ptr<shell::Session> session_;
  bool failed_ = false;
  int exit_code_ = -1;
};

// Thrown after a failure was reported, to end the command without doing anything more.
struct CommandAborted {};

// The Session with the stakes file open (the data folder's lock) and the rating loaded; nullptr
// after a reported failure.
shell::StakesState* OpenStakes(CliContext& ctx);

// Prints one TSV line.
void PrintRow(std::ostream& out, const std::vector<std::string>& cells);

// Each area adds its subcommands to the application.
void RegisterDrawsCommands(CLI::App& app, CliContext& ctx);
void RegisterStatusCommands(CLI::App& app, CliContext& ctx);
void RegisterConfigCommands(CLI::App& app, CliContext& ctx);
void RegisterFilterCommands(CLI::App& app, CliContext& ctx);
void RegisterStatsCommands(CLI::App& app, CliContext& ctx);
void RegisterStakesCommands(CLI::App& app, CliContext& ctx);
void RegisterRatingCommands(CLI::App& app, CliContext& ctx);
void RegisterScriptCommands(CLI::App& app, CliContext& ctx);
void RegisterViewsCommands(CLI::App& app, CliContext& ctx);
// Adds `draws download` and `config set` to their groups (register those first) and `proxy`.
void RegisterNetworkCommands(CLI::App& app, CliContext& ctx);
// `library` (the online script catalogue) and `update` (the self-update).
void RegisterLibraryCommands(CLI::App& app, CliContext& ctx);
void RegisterRegularsCommands(CLI::App& app, CliContext& ctx);
void RegisterSystemsCommands(CLI::App& app, CliContext& ctx);

// Runs the command line (arguments without the program name).
int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace kelmora::cli
