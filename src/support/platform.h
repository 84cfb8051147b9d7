#pragma once
// Every call that depends on the operating system lives here, so that a port touches one file.

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "support/error.h"

namespace kelmora::support {

// Folder of the running executable; the current folder when it cannot be found.
std::filesystem::path ExecutableDir();

// The data folder: KELMORA_DATA_DIR when set, else the executable's folder.
std::filesystem::path DefaultDataDir();

// File name of the running executable ("Kelmora_4r32").
std::string ExecutableName();
// Full path of the running executable; empty when it cannot be found.
std::filesystem::path ExecutablePath();

// Whether this process may create, rename and delete files in the folder.
bool FolderWritable(const std::filesystem::path& folder);

// Starts the program with `work_dir` as its current folder and waits for its end, calling `pump`
// (may be empty) about every 100 ms. Returns its exit code (a program ended by a signal gives
// 128 + the signal); nullopt when it still ran after `timeout` and was killed. Throws Error with
// the system's reason when it cannot be started.
std::optional<int> RunProgramAndWait(const std::filesystem::path& program, const std::filesystem::path& work_dir,
                                     std::chrono::milliseconds timeout, const std::function<void()>& pump);

// Whether a process other than this one runs an executable with this file name (ignoring case).
bool OtherProcessRunning(std::string_view executable_name);

// --- times: UTC seconds since 1970 ---
// The UTC moment of a civil date-time; nullopt when a field is out of range.
std::optional<int64_t> UtcSeconds(int year, int month, int day, int hour, int minute, int second);
// "yyyy-mm-dd hh:nn:ss" of the moment in the local time zone.
std::string LocalTimeText(int64_t utc_seconds);
// Sets the file's modification (and access) time; the creation time as far as the platform allows
// (Linux keeps no settable one). Throws Error with the system's reason.
void SetFileTimes(const std::filesystem::path& path, int64_t utc_seconds);
// The file's modification time; nullopt when it cannot be read.
std::optional<int64_t> FileModifiedTime(const std::filesystem::path& path);

// Thrown by LockedFile when another process holds the lock (as opposed to a file that cannot be
// opened at all).
class LockBusyError : public Error {
 public:
  using Error::Error;
};

// A file held open with an exclusive lock for the lifetime of the object, so that a second copy of
// the program in the same folder is refused and two writers of one data folder never overlap. The
// lock is advisory (flock) and ends with the process, also when it is killed.
class LockedFile {
 public:
  // Opens the file for reading and writing, creating it when missing, and takes the lock, trying
  // again for up to `wait` while another process holds it. Throws LockBusyError when the lock stays
  // taken, Error when the file cannot be opened.
  explicit LockedFile(const std::filesystem::path& path,
                      std::chrono::milliseconds wait = std::chrono::milliseconds(0));
  ~LockedFile();
  LockedFile(const LockedFile&) = delete;
  LockedFile& operator=(const LockedFile&) = delete;

  int Descriptor() const { return fd_; }
  const std::filesystem::path& Path() const { return path_; }

  // Positional access through the held descriptor (the file is never opened a second time, since
  // a second open in the same process would conflict with the lock). Each throws Error with the
  // system's reason.
  int64_t Size() const;
  // Reads up to size bytes at offset; returns the count read (less only at the end of the file).
  size_t ReadAt(int64_t offset, void* data, size_t size) const;
  // Writes every byte at offset; a short write is continued, a failed one throws.
  void WriteAt(int64_t offset, const void* data, size_t size);
  void Truncate(int64_t size);
  // Flushes the file's data to the disk.
  void Sync();
  // Renames the held file over target (atomic on one file system); the lock moves with it.
  void RenameTo(const std::filesystem::path& target);

 private:
  std::filesystem::path path_;
  int fd_ = -1;
};

}  // namespace kelmora::support
