// The kelmora-catalog program: seed a database, serve it, stop on SIGTERM.

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>

#include <fmt/format.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "common/temp_dir.h"
#include "net/http_client.h"
#include "net/vendor.h"

namespace {

using ::testing::HasSubstr;

std::string RunToEnd(const std::string& command) {
  std::string out;
  FILE* p = popen(command.c_str(), "r");
  char buf[512];
  while (size_t n = fread(buf, 1, sizeof buf, p)) out.append(buf, n);
  pclose(p);
  return out;
}

TEST(CatalogProgram, SeedsServesAndStopsCleanlyOnSigterm) {
  kelmora::testing::TempDir dir;
  const std::string db = (dir / "c.db").string();
  EXPECT_THAT(RunToEnd(fmt::format("'{}' seed --db '{}'", KELMORA_CATALOG_PATH, db)),
              HasSubstr("8 systems and 2 scripts"));

  int out[2];
  ASSERT_EQ(pipe(out), 0);
  const pid_t pid = fork();
  if (pid == 0) {
    dup2(out[1], 1);
    close(out[0]);
    execl(KELMORA_CATALOG_PATH, KELMORA_CATALOG_PATH, "serve", "--db", db.c_str(), "--listen", "127.0.0.1:0",
          static_cast<char*>(nullptr));
    _exit(127);
  }
  close(out[1]);
  FILE* from = fdopen(out[0], "r");
  char line[256] = {};
  ASSERT_TRUE(fgets(line, sizeof line, from)) << "no output";
  const std::string first = line;
  const std::string prefix = "kelmora-catalog: listening on ";
  ASSERT_EQ(first.rfind(prefix, 0), 0u) << first;
  const std::string url = first.substr(prefix.size(), first.find_last_not_of("\r\n") + 1 - prefix.size());

  const std::string answer =
      kelmora::net::HttpPostForm(url + "/scripts/sys_getlist.php", {"comblen=4", "maxnums=8", "cl_lcid=0"}, true, {});
  EXPECT_EQ(kelmora::net::ReadAnswerRows(answer).size(), 8u);

  kill(pid, SIGTERM);
  int status = 0;
  ASSERT_EQ(waitpid(pid, &status, 0), pid);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
  ASSERT_TRUE(fgets(line, sizeof line, from));
  EXPECT_THAT(line, HasSubstr("stopped"));
  fclose(from);
}

TEST(CatalogProgram, RefusesPlainHttpOnAnOpenAddress) {
  kelmora::testing::TempDir dir;
  const std::string out = RunToEnd(fmt::format("'{}' serve --db '{}' --listen 0.0.0.0:0 2>&1; echo rc=$?",
                                               KELMORA_CATALOG_PATH, (dir / "c.db").string()));
  EXPECT_THAT(out, HasSubstr("loopback"));
  EXPECT_THAT(out, HasSubstr("rc=1"));
}

}  // namespace
