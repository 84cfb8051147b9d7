#include <iostream>

#include "cli/app.h"

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  return kelmora::cli::RunCli(args, std::cout, std::cerr);
}
