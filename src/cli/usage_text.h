#pragma once
// The command line's own texts in the interface language: help labels and usage errors.

#include <string>

#include <CLI/CLI.hpp>

namespace kelmora::cli {

// Gives the help output of app (and of the subcommands added later) Russian labels and help flags.
void UseRussianHelp(CLI::App& app);
// Puts the subcommands of app, at every depth, into the group "Команды" and their help flags into
// "Параметры" (call after adding them).
void UseRussianSubcommandGroups(CLI::App& app);
// The usage error in Russian ("не указан обязательный параметр --number"); a message it does not
// know is returned as it stands.
std::string UsageErrorText(const CLI::ParseError& e);

}  // namespace kelmora::cli
