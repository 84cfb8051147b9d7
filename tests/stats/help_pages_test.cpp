// The description pages shipped in help/filters: one per family, an anchor for every topic.

#include <gtest/gtest.h>

#include "stats/registry.h"
#include "stats/stat_list.h"
#include "support/files.h"

namespace kelmora::testing {
namespace {

const std::filesystem::path HelpFolder = std::filesystem::path(KELMORA_TEST_DATA) / ".." / ".." / "help";

TEST(HelpPages, EveryMethodOfTheRegistryHasItsFamilysPageAndItsTopicThere) {
  lottery::TDrawsArray draws;
  lottery::TConfigData config;
  lottery::TShreddingData shredding;
  stats::TStatList list(draws, config, shredding, stats::RegisteredClasses());
  list.Rebuild();
  list.SetHelpFolder(HelpFolder);
  for (int i = 0; i < list.Count(); ++i) {
    const auto& m = list.Items(i);
    const std::string url = list.HelpURL(i);
    ASSERT_EQ(url.rfind("file://", 0), 0u) << m.Code();
    const std::string topic = m.StatClass->HelpTopic(m.Index);
    ASSERT_EQ(url.substr(url.size() - topic.size() - 1), "#" + topic) << m.Code();
    const std::string page = support::ReadFileText(url.substr(7, url.size() - 7 - topic.size() - 1));
    EXPECT_NE(page.find("<a name=\"" + topic + "\">"), std::string::npos) << m.Code() << " in " << url;
  }
  for (std::string_view family : stats::FamilyPages()) {
    const std::string page = support::ReadFileText(HelpFolder / "filters" / (std::string(family) + ".html"));
    // What it counts, an example and how its filter keeps and deletes.
    for (const char* part : {"<b>Пример.</b>", "<b>Фильтр.</b>", "Оставить выделенные", "Удалить выделенные"})
      EXPECT_NE(page.find(part), std::string::npos) << family << ": " << part;
  }
}

TEST(HelpPages, AMethodWithoutAPageHasNoAddress) {
  lottery::TDrawsArray draws;
  lottery::TConfigData config;
  lottery::TShreddingData shredding;
  stats::TStatList list(draws, config, shredding, stats::RegisteredClasses());
  list.Rebuild();
  list.SetHelpFolder(HelpFolder / "filters");  // a folder without a "filters" subfolder
  EXPECT_EQ(list.HelpURL(0), "");
}

}  // namespace
}  // namespace kelmora::testing
