#include "support/platform.h"

#include <cstdlib>
#include <system_error>

namespace kelmora::support {

std::filesystem::path ExecutableDir() {
  std::error_code ec;
  const auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (ec || exe.empty()) return std::filesystem::current_path();
  return exe.parent_path();
}

std::filesystem::path DefaultDataDir() {
  if (const char* dir = std::getenv("KELMORA_DATA_DIR"); dir && *dir) return dir;
  return ExecutableDir();
}

}  // namespace kelmora::support
