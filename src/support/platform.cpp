#include "support/platform.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <system_error>
#include <thread>

#include <fcntl.h>
#include <sys/file.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
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

std::filesystem::path ExecutablePath() {
  std::error_code ec;
  auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
  return ec ? std::filesystem::path() : exe;
}

bool FolderWritable(const std::filesystem::path& folder) {
  return ::access(folder.c_str(), W_OK | X_OK) == 0;
}

std::optional<int> RunProgramAndWait(const std::filesystem::path& program, const std::filesystem::path& work_dir,
                                     std::chrono::milliseconds timeout, const std::function<void()>& pump) {
  // Everything the child needs is prepared before the fork: after it only async-signal-safe calls.
  const std::string file = program.string();
  const std::string dir = work_dir.string();
  int report[2];
  if (::pipe2(report, O_CLOEXEC) != 0) Fail("{}", std::strerror(errno));
  const pid_t pid = ::fork();
  if (pid < 0) {
    const int e = errno;
    ::close(report[0]);
    ::close(report[1]);
    Fail("{}", std::strerror(e));
  }
  if (pid == 0) {
    ::close(report[0]);
    char* const argv[] = {const_cast<char*>(file.c_str()), nullptr};
    if (::chdir(dir.c_str()) == 0) ::execv(file.c_str(), argv);
    const int e = errno;
    (void)!::write(report[1], &e, sizeof e);
    ::_exit(127);
  }
  ::close(report[1]);
  int start_error = 0;
  const ssize_t got = ::read(report[0], &start_error, sizeof start_error);
  ::close(report[0]);
  if (got == static_cast<ssize_t>(sizeof start_error)) {
    ::waitpid(pid, nullptr, 0);
    Fail("{}", std::strerror(start_error));
  }
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  for (;;) {
    int status = 0;
    const pid_t done = ::waitpid(pid, &status, WNOHANG);
    if (done == pid) return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    if (std::chrono::steady_clock::now() >= deadline) {
      ::kill(pid, SIGKILL);
      ::waitpid(pid, nullptr, 0);
      return std::nullopt;
    }
    if (pump) pump();
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
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
  const auto deadline = std::chrono::steady_clock::now() + wait;
  for (;;) {
    fd_ = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd_ < 0) Fail("Не удалось открыть файл \"{}\": {}", path.string(), std::strerror(errno));
    int err = 0;
    while (::flock(fd_, LOCK_EX | LOCK_NB) != 0) {
      err = errno;
      if (err == EINTR) continue;
      if (err == EWOULDBLOCK && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        err = 0;
        continue;
      }
      break;
    }
    if (err != 0) {
      ::close(fd_);
      fd_ = -1;
      if (err == EWOULDBLOCK) throw LockBusyError(fmt::format("Файл \"{}\" занят другим процессом", path.string()));
      Fail("Не удалось заблокировать файл \"{}\": {}", path.string(), std::strerror(err));
    }
    // The holder may have replaced the file (a rewrite renames a new file over it) while this
    // process waited on the old one: the lock counts only on the file the name now stands for.
    struct stat held {}, named {};
    if (::fstat(fd_, &held) == 0 && ::stat(path.c_str(), &named) == 0 && held.st_ino == named.st_ino &&
        held.st_dev == named.st_dev)
      return;
    ::close(fd_);
    fd_ = -1;
  }
}

LockedFile::~LockedFile() {
  if (fd_ >= 0) ::close(fd_);  // closing the last descriptor releases the lock
}

int64_t LockedFile::Size() const {
  struct stat st {};
  if (::fstat(fd_, &st) != 0) Fail("Не удалось прочитать файл \"{}\": {}", path_.string(), std::strerror(errno));
  return static_cast<int64_t>(st.st_size);
}

size_t LockedFile::ReadAt(int64_t offset, void* data, size_t size) const {
  size_t done = 0;
  while (done < size) {
    const ssize_t n = ::pread(fd_, static_cast<char*>(data) + done, size - done, offset + static_cast<int64_t>(done));
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) Fail("Не удалось прочитать файл \"{}\": {}", path_.string(), std::strerror(errno));
    if (n == 0) break;
    done += static_cast<size_t>(n);
  }
  return done;
}

void LockedFile::WriteAt(int64_t offset, const void* data, size_t size) {
  size_t done = 0;
  while (done < size) {
    const ssize_t n =
        ::pwrite(fd_, static_cast<const char*>(data) + done, size - done, offset + static_cast<int64_t>(done));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) Fail("Не удалось записать файл \"{}\": {}", path_.string(), std::strerror(n < 0 ? errno : ENOSPC));
    done += static_cast<size_t>(n);
  }
}

void LockedFile::Truncate(int64_t size) {
  if (::ftruncate(fd_, size) != 0) Fail("Не удалось записать файл \"{}\": {}", path_.string(), std::strerror(errno));
}

void LockedFile::Sync() {
  if (::fdatasync(fd_) != 0) Fail("Не удалось записать файл \"{}\": {}", path_.string(), std::strerror(errno));
}

void LockedFile::RenameTo(const std::filesystem::path& target) {
  if (::rename(path_.c_str(), target.c_str()) != 0) Fail("{}", std::strerror(errno));
  path_ = target;
}

std::optional<int64_t> UtcSeconds(int year, int month, int day, int hour, int minute, int second) {
  if (year < 1 || month < 1 || month > 12 || day < 1 || day > 31 || hour < 0 || hour > 23 || minute < 0 ||
      minute > 59 || second < 0 || second > 60)
    return std::nullopt;
  std::tm tm{};
  tm.tm_year = year - 1900;
  tm.tm_mon = month - 1;
  tm.tm_mday = day;
  tm.tm_hour = hour;
  tm.tm_min = minute;
  tm.tm_sec = second;
  return static_cast<int64_t>(timegm(&tm));
}

std::string LocalTimeText(int64_t utc_seconds) {
  const auto t = static_cast<std::time_t>(utc_seconds);
  std::tm tm{};
  if (!localtime_r(&t, &tm)) return {};
  char text[32];
  const size_t n = std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &tm);
  return std::string(text, n);
}

void SetFileTimes(const std::filesystem::path& path, int64_t utc_seconds) {
  struct timespec times[2];
  times[0].tv_sec = times[1].tv_sec = static_cast<time_t>(utc_seconds);
  times[0].tv_nsec = times[1].tv_nsec = 0;
  if (utimensat(AT_FDCWD, path.c_str(), times, 0) != 0)
    Fail("Не удалось установить время файла \"{}\": {}", path.string(), std::strerror(errno));
}

std::optional<int64_t> FileModifiedTime(const std::filesystem::path& path) {
  struct stat st {};
  if (stat(path.c_str(), &st) != 0) return std::nullopt;
  return static_cast<int64_t>(st.st_mtim.tv_sec);
}

}  // namespace kelmora::support
