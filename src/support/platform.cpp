#include "support/platform.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <system_error>
#include <thread>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include "support/error.h"
#include "support/text.h"

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

std::string ExecutableName() {
  std::error_code ec;
  const auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
  return ec ? std::string() : exe.filename().string();
}

bool OtherProcessRunning(std::string_view executable_name) {
  const std::string self = std::to_string(::getpid());
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator("/proc", ec)) {
    const std::string pid = entry.path().filename().string();
    if (pid.empty() || pid.find_first_not_of("0123456789") != std::string::npos || pid == self) continue;
    std::error_code link_ec;
    const auto exe = std::filesystem::read_symlink(entry.path() / "exe", link_ec);
    if (!link_ec && SameText(exe.filename().string(), executable_name)) return true;
  }
  return false;
}

LockedFile::LockedFile(const std::filesystem::path& path, std::chrono::milliseconds wait) : path_(path) {
  fd_ = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
  if (fd_ < 0) Fail("Не удалось открыть файл \"{}\": {}", path.string(), std::strerror(errno));
  const auto deadline = std::chrono::steady_clock::now() + wait;
  while (::flock(fd_, LOCK_EX | LOCK_NB) != 0) {
    const int err = errno;
    if (err == EINTR) continue;
    if (err == EWOULDBLOCK && std::chrono::steady_clock::now() < deadline) {
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
      continue;
    }
    ::close(fd_);
    fd_ = -1;
    if (err == EWOULDBLOCK) throw LockBusyError(fmt::format("Файл \"{}\" занят другим процессом", path.string()));
    Fail("Не удалось заблокировать файл \"{}\": {}", path.string(), std::strerror(err));
  }
}

LockedFile::~LockedFile() {
  if (fd_ >= 0) ::close(fd_);  // closing the last descriptor releases the lock
}

}  // namespace kelmora::support
