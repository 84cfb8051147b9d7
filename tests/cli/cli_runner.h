#pragma once
// Runs the command-line front end in-process on a data folder and keeps what it printed.

#include <sstream>
#include <string>
#include <vector>

#include "cli/app.h"

namespace kelmora::testing {

struct CliResult {
  int Code = 0;
  std::string Out;
  std::string Err;
};

inline CliResult RunKelmora(const std::filesystem::path& data_dir, std::vector<std::string> args) {
  args.insert(args.begin(), {"--data-dir", data_dir.string()});
  std::ostringstream out, err;
  CliResult r;
  r.Code = cli::RunCli(args, out, err);
  r.Out = out.str();
  r.Err = err.str();
  return r;
}

}  // namespace kelmora::testing
