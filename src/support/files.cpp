#include "support/files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <signal.h>

#include <atomic>
#include <cerrno>
#include <charconv>
#include <system_error>
#include <utility>

#include "support/error.h"

// The file calls are POSIX (open, fsync, rename); a Windows build replaces this file's internals
// with the Win32 equivalents (FlushFileBuffers, MoveFileEx with MOVEFILE_REPLACE_EXISTING).

namespace kelmora::support {
namespace {

std::string Reason(int error) { return std::generic_category().message(error); }

[[noreturn]] void FailFile(const char* what, const std::filesystem::path& path, int error) {
  Fail("Не удалось {} файл \"{}\": {}", what, path.string(), Reason(error));
}

// Closes the descriptor on every path out of a function.
class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  ~Descriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int Get() const { return fd_; }
  int Release() { return std::exchange(fd_, -1); }

 private:
  int fd_;
};

std::atomic<unsigned> temporary_counter{0};

std::filesystem::path TemporaryPath(const std::filesystem::path& path, unsigned n) {
  std::filesystem::path temp = path;
  temp += ".tmp-" + std::to_string(::getpid()) + "-" + std::to_string(n);
  return temp;
}

bool ProcessRuns(long pid) { return pid > 0 && (::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM); }

int OpenRetrying(const char* name, int flags, mode_t mode = 0) {
  int fd;
  do {
    fd = ::open(name, flags | O_CLOEXEC, mode);
  } while (fd < 0 && errno == EINTR);
  return fd;
}

void WriteTemporary(const std::filesystem::path& target, const std::filesystem::path& temp, const void* data,
                    size_t size, FileAccess access) {
  // A fresh file, never one reached through whatever (a link, say) was left at the temporary name.
  if (::unlink(temp.c_str()) != 0 && errno != ENOENT) FailFile("создать", temp, errno);
  const bool owner_only = access == FileAccess::OwnerOnly;
  Descriptor fd(OpenRetrying(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW, owner_only ? 0600 : 0666));
  if (fd.Get() < 0) FailFile("создать", temp, errno);
  struct stat old_stat;
  if (owner_only) {
    // Whatever the old file allowed: its content is not for other users.
    if (::fchmod(fd.Get(), 0600) != 0) FailFile("создать", temp, errno);
  } else if (::stat(target.c_str(), &old_stat) == 0 && S_ISREG(old_stat.st_mode)) {
    // A replaced file keeps its permissions.
    (void)::fchmod(fd.Get(), old_stat.st_mode & 07777);
  }
  const auto* p = static_cast<const char*>(data);
  while (size > 0) {
    ssize_t n = ::write(fd.Get(), p, size);
    if (n < 0) {
      if (errno == EINTR) continue;
      FailFile("записать", temp, errno);
    }
    p += n;
    size -= static_cast<size_t>(n);
  }
  if (::fsync(fd.Get()) != 0) FailFile("записать", temp, errno);
  if (::close(fd.Release()) != 0) FailFile("записать", temp, errno);
}

}  // namespace

bool FileExists(const std::filesystem::path& path) {
  std::error_code ec;
  auto status = std::filesystem::status(path, ec);
  return !ec && std::filesystem::exists(status) && !std::filesystem::is_directory(status);
}

std::vector<uint8_t> ReadFileBytes(const std::filesystem::path& path) {
  Descriptor fd(OpenRetrying(path.c_str(), O_RDONLY));
  if (fd.Get() < 0) FailFile("открыть", path, errno);
  std::vector<uint8_t> bytes;
  struct stat st;
  if (::fstat(fd.Get(), &st) == 0 && S_ISREG(st.st_mode) && st.st_size > 0) {
    bytes.reserve(static_cast<size_t>(st.st_size));
  }
  uint8_t buffer[65536];
  for (;;) {
    ssize_t n = ::read(fd.Get(), buffer, sizeof buffer);
    if (n < 0) {
      if (errno == EINTR) continue;
      FailFile("прочитать", path, errno);
    }
    if (n == 0) break;
    bytes.insert(bytes.end(), buffer, buffer + n);
  }
  return bytes;
}

std::string ReadFileText(const std::filesystem::path& path) {
  std::vector<uint8_t> bytes = ReadFileBytes(path);
  return std::string(bytes.begin(), bytes.end());
}

void WriteFileAtomic(const std::filesystem::path& path, const void* data, size_t size) {
  WriteFileAtomic(path, std::string_view(static_cast<const char*>(data), size), FileAccess::Keep);
}

void WriteFileAtomic(const std::filesystem::path& path, std::string_view bytes, FileAccess access) {
  const void* data = bytes.data();
  const size_t size = bytes.size();
  const std::filesystem::path temp = TemporaryPath(path, temporary_counter++);
  try {
    WriteTemporary(path, temp, data, size, access);
    if (::rename(temp.c_str(), path.c_str()) != 0) FailFile("заменить", path, errno);
  } catch (...) {
    ::unlink(temp.c_str());
    throw;
  }
  // Make the rename itself durable; a failure here leaves a complete file either way.
  std::filesystem::path folder = path.parent_path();
  if (folder.empty()) folder = ".";
  Descriptor dir(OpenRetrying(folder.c_str(), O_RDONLY | O_DIRECTORY));
  if (dir.Get() >= 0) (void)::fsync(dir.Get());
}

void WriteFileAtomic(const std::filesystem::path& path, std::string_view bytes) {
  WriteFileAtomic(path, bytes.data(), bytes.size());
}

void WriteFileAtomic(const std::filesystem::path& path, const std::vector<uint8_t>& bytes) {
  WriteFileAtomic(path, bytes.data(), bytes.size());
}

std::filesystem::path NextTemporaryPath(const std::filesystem::path& path) {
  return TemporaryPath(path, temporary_counter.load());
}

bool IsTemporaryName(std::string_view name, long* pid) {
  // "<name>.tmp-<pid>-<n>" with both numbers in decimal digits only.
  const size_t mark = name.rfind(".tmp-");
  if (mark == std::string_view::npos || mark == 0) return false;
  std::string_view rest = name.substr(mark + 5);
  const size_t dash = rest.find('-');
  if (dash == std::string_view::npos || dash == 0 || dash + 1 == rest.size()) return false;
  const std::string_view pid_text = rest.substr(0, dash), n_text = rest.substr(dash + 1);
  const auto digits = [](std::string_view t) { return t.find_first_not_of("0123456789") == std::string_view::npos; };
  if (!digits(pid_text) || !digits(n_text)) return false;
  long value = 0;
  if (std::from_chars(pid_text.data(), pid_text.data() + pid_text.size(), value).ec != std::errc()) return false;
  if (pid) *pid = value;
  return true;
}

int RemoveStaleTemporaries(const std::filesystem::path& folder) {
  int removed = 0;
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator(folder, ec)) {
    std::error_code type_ec;
    if (!entry.is_regular_file(type_ec)) continue;
    long pid = 0;
    if (!IsTemporaryName(entry.path().filename().string(), &pid)) continue;
    if (pid != ::getpid() && ProcessRuns(pid)) continue;  // ours at start-up can only be stale
    std::error_code rm_ec;
    if (std::filesystem::remove(entry.path(), rm_ec)) ++removed;
  }
  return removed;
}

std::vector<std::string> SplitLines(std::string_view text) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    size_t next = end == std::string_view::npos ? text.size() : end + 1;
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines.emplace_back(line);
    start = next;
  }
  return lines;
}

}  // namespace kelmora::support
