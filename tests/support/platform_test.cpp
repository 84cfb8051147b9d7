#include "support/platform.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <future>
#include <optional>
#include <thread>

#include "common/temp_dir.h"
#include "support/files.h"

namespace kelmora::support {
namespace {

using namespace std::chrono_literals;
using kelmora::testing::TempDir;

ino_t InodeOf(int fd) {
  struct stat st {};
  return ::fstat(fd, &st) == 0 ? st.st_ino : 0;
}

ino_t InodeOf(const std::filesystem::path& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 ? st.st_ino : 0;
}

TEST(LockedFile, ASecondHolderWaitsThenGivesUp) {
  TempDir dir;
  const auto path = dir / "Kelmora_4r32.lsk";
  LockedFile first(path);
  EXPECT_THROW(LockedFile(path, 50ms), LockBusyError);
  EXPECT_THROW(LockedFile(dir / "no" / "such.lsk"), Error);
}

TEST(LockedFile, AWaiterLocksTheFileThatReplacedTheOneItWaitedOn) {
  TempDir dir;
  const auto path = dir / "Kelmora_4r32.lsk";
  auto first = std::make_optional<LockedFile>(path);
  auto waiter = std::async(std::launch::async, [&] {
    LockedFile second(path, 5000ms);
    return std::pair{InodeOf(second.Descriptor()), InodeOf(path)};
  });
  std::this_thread::sleep_for(100ms);  // the waiter now sits on the old file
  WriteFileAtomic(path, std::string_view("new"));
  first.reset();
  const auto [held, named] = waiter.get();
  EXPECT_EQ(held, named) << "the lock must be on the file the name stands for";
}

}  // namespace
}  // namespace kelmora::support
