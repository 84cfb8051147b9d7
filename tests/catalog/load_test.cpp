// Eight installations at once, 250 mixed requests each, against one server: every request is
// answered, and the counts and ratings come out exactly as sent.

#include <atomic>
#include <map>
#include <mutex>
#include <thread>

#include <gmock/gmock.h>

#include "catalog_fixture.h"

namespace kelmora::catalog {
namespace {

constexpr int kThreads = 8;
constexpr int kRequests = 250;
constexpr int kScripts = 4;
constexpr int kSystems = 2;

int RateOf(int thread, int script) { return (thread + script) % 5 + 1; }

TEST_F(CatalogTest, EightClientsAtOnceAreAllAnsweredAndCountedExactly) {
  std::vector<int64_t> scripts, systems;
  for (int k = 0; k < kScripts; ++k) {
    ScriptDraft d;
    d.Title = fmt::format("общий {}", k);
    d.Text = fmt::format("FULL:0#FIRST| | | | | | | |{}", k);
    scripts.push_back(PutScript(Anna, -1, d));
  }
  for (int k = 0; k < kSystems; ++k) systems.push_back(PutSystem(Anna, -1, SystemDraft{.Title = fmt::format("s{}", k)}));

  std::atomic<int> failures{0};
  std::mutex mutex;
  std::vector<std::string> problems;
  std::map<int64_t, int> script_downloads, system_downloads;
  std::vector<int64_t> own(kThreads, 0);

  auto worker = [&](int t) {
    const User me{fmt::format("Игрок {}", t), fmt::format("player{}@club.example", t),
                  fmt::format("{{D0000000-0000-4000-8000-00000000000{}}}", t)};
    // Most keep one connection, as a long-lived client does; two connect anew for every request.
    CatalogClient c(BaseUrl(), CaFile(), t < kThreads - 2);
    std::map<int64_t, int> my_scripts, my_systems;
    for (int i = 0; i < kRequests; ++i) {
      try {
        const int k = i / 7 % kScripts;
        switch (i % 7) {
          case 0:
            if (i == 0) {
              own[static_cast<size_t>(t)] = c.PutScript(me, -1, ScriptDraft{.Title = fmt::format("свой {}", t)});
            } else {
              ScriptDraft d{.Title = fmt::format("свой {}", t), .Text = fmt::format("FULL:0#LAST| | | | | | | |{}", i)};
              if (c.PutScript(me, own[static_cast<size_t>(t)], d) != own[static_cast<size_t>(t)])
                throw std::runtime_error("the replace answered another identifier");
            }
            break;
          case 1:
            if (c.ListScripts(me, 0).size() < kScripts) throw std::runtime_error("entries missing from the list");
            break;
          case 2:
            if (c.ScriptText(scripts[static_cast<size_t>(k)]) != fmt::format("FULL:0#FIRST| | | | | | | |{}", k))
              throw std::runtime_error("wrong script text");
            ++my_scripts[scripts[static_cast<size_t>(k)]];
            break;
          case 3:
            if (c.Rate(me, scripts[static_cast<size_t>(k)], RateOf(t, k), fmt::format("от {}", t)) != 0)
              throw std::runtime_error("rating refused");
            break;
          case 4:
            if (c.SystemRows(systems[static_cast<size_t>(i % kSystems)]) != "01 02 03 04\r\n02 03 04 05")
              throw std::runtime_error("wrong system rows");
            ++my_systems[systems[static_cast<size_t>(i % kSystems)]];
            break;
          case 5:
            if (c.ListSystems(me).size() != kSystems) throw std::runtime_error("systems missing from the list");
            break;
          case 6:
            c.Rows("/scripts/scr_getrates.php", {fmt::format("scr_id={}", scripts[static_cast<size_t>(k)])});
            break;
        }
      } catch (const std::exception& e) {
        ++failures;
        const std::lock_guard<std::mutex> lock(mutex);
        problems.push_back(fmt::format("thread {} request {}: {}", t, i, e.what()));
      }
    }
    const std::lock_guard<std::mutex> lock(mutex);
    for (const auto& [id, n] : my_scripts) script_downloads[id] += n;
    for (const auto& [id, n] : my_systems) system_downloads[id] += n;
  };
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) threads.emplace_back(worker, t);
  for (auto& th : threads) th.join();

  EXPECT_EQ(failures.load(), 0) << (problems.empty() ? "" : problems.front());
  const auto listed = ListScripts(Anna, 0);
  EXPECT_EQ(listed.size(), static_cast<size_t>(kScripts + kThreads));
  for (int k = 0; k < kScripts; ++k) {
    const int64_t id = scripts[static_cast<size_t>(k)];
    const std::string row = RowOf(listed, id);
    EXPECT_EQ(Element(row, "downloads"), std::to_string(script_downloads[id])) << k;
    EXPECT_EQ(Element(row, "rating_cnt"), std::to_string(kThreads)) << k;
    int sum = 0;
    for (int t = 0; t < kThreads; ++t) sum += RateOf(t, k);
    EXPECT_EQ(Element(row, "rating_avg"), fmt::format("{:.3f}", static_cast<double>(sum) / kThreads)) << k;
    EXPECT_EQ(Rows("/scripts/scr_getrates.php", {fmt::format("scr_id={}", id)}).size(), static_cast<size_t>(kThreads));
  }
  const auto listed_systems = ListSystems(Anna);
  for (const int64_t id : systems)
    EXPECT_EQ(Element(RowOf(listed_systems, id), "downloads"), std::to_string(system_downloads[id])) << id;
}

}  // namespace
}  // namespace kelmora::catalog
