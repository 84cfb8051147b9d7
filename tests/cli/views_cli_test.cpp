// `kelmora views ...`: the formats of the scheme, the comparison list, the weekday table, the card,
// the repeats, the sums distribution and the draws graph.

#include <algorithm>

#include <gtest/gtest.h>

#include "cli/cli_runner.h"
#include "common/temp_dir.h"
#include "lottery/draws.h"

namespace kelmora::testing {
namespace {

using lottery::MakeComb;

class ViewsCli : public ::testing::Test {
 protected:
  void SetUp() override {
    // 01/01/2024 was a Monday; draw 102 has no date.
    const lottery::TDrawsArray draws = {{101, MakeComb(7, 8, 9, 10), "01/01/2024"},
                                        {102, MakeComb(7, 8, 9, 11), ""},
                                        {103, MakeComb(7, 8, 12, 13), "03/01/2024"},
                                        {104, MakeComb(7, 8, 9, 10), "07/01/2024"},
                                        {105, MakeComb(8, 9, 10, 11), "01/01/2024"}};
    lottery::SaveDrawsFile(dir_ / "Kelmora_4r32.ldr", draws);
  }
  CliResult Run(std::vector<std::string> args) { return RunKelmora(dir_.Path(), std::move(args)); }
  TempDir dir_;
};

struct OutputCase {
  std::vector<std::string> Args;
  const char* Out;
};

class ViewsCliOutput : public ViewsCli, public ::testing::WithParamInterface<OutputCase> {};

TEST_P(ViewsCliOutput, PrintsTheTable) {
  const auto r = Run(GetParam().Args);
  ASSERT_EQ(r.Code, 0) << r.Err;
  EXPECT_EQ(r.Out, GetParam().Out);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ViewsCliOutput,
    ::testing::Values(
        OutputCase{{"views", "scheme"},
                   "\t105\t104\t103\n5\t8\t\t\n4\t9\t7\t\n3\t10\t\t\n2\tJ\t\t\n1\t\t\tQ, K\n"},
        OutputCase{{"views", "scheme", "--window", "2", "--offset", "1"},
                   "\t104\t103\n2\t7, [8]\t\n1\t[9], [10]\tQ, K\n"},
        OutputCase{{"views", "compare", "--window", "2"}, "Кол-во\t104 - 105\n2\t8, 9, 10\n1\tJ, 7\n"},
        OutputCase{{"views", "compare", "--window", "1", "--offset", "3"}, "Кол-во\t102 - 102\n1\t7, 8, 9, J\n"},
        OutputCase{{"views", "weekday"},
                   "\t7\t8\t9\t10\tJ\tQ\tK\tA\n"
                   "Пн\t1\t2\t2\t2\t1\t\t\t\n"
                   "Вт\t\t\t\t\t\t\t\t\n"
                   "Ср\t1\t1\t\t\t\t1\t1\t\n"
                   "Чт\t\t\t\t\t\t\t\t\n"
                   "Пт\t\t\t\t\t\t\t\t\n"
                   "Сб\t\t\t\t\t\t\t\t\n"
                   "Вс\t1\t1\t1\t1\t\t\t\t\n"},
        OutputCase{{"views", "card"},
                   "\t7\t8\t9\t10\tJ\tQ\tK\tA\n"
                   "105\t\t8\t9\t10\tJ\t\t\t\n"
                   "104\t7\t8\t9\t10\t\t\t\t\n"
                   "103\t7\t8\t\t\t\tQ\tK\t\n"
                   "102\t7\t8\t9\t\tJ\t\t\t\n"
                   "101\t7\t8\t9\t10\t\t\t\t\n"},
        OutputCase{{"views", "repeats", "--length", "2", "--deep", "2"},
                   "Тираж\tСовпадений\tКол-во повторов\tСписок тиражей\n104\t2\t1\t103\n104\t3\t1\t102\n"},
        OutputCase{{"views", "repeats", "--length", "1", "--deep", "1"},
                   "Тираж\tСовпадений\tКол-во повторов\tСписок тиражей\n"}));

TEST_F(ViewsCli, SumsListEveryPointOfEverySeries) {
  const auto r = Run({"views", "sums"});
  ASSERT_EQ(r.Code, 0) << r.Err;
  EXPECT_EQ(r.Out.rfind("Серия\tX\tY\nФактическое распределение сумм (по тиражам)\t34\t2\n", 0), 0u) << r.Out;
  for (const char* line : {"Теоретическое распределение сумм (по комбинациям)\t28\t0.0058\n",
                           "Теоретическое распределение сумм (по комбинациям)\t42\t2\n",
                           "Диапазон 1 (от 1/3 и выше по оси Y) - суммы 35-49\t56\t0.6744\n",
                           "Диапазон 3 (от 2/3 и выше по оси Y) - суммы 38-46\t28\t1.3372\n"})
    EXPECT_NE(r.Out.find(line), std::string::npos) << line;
  EXPECT_EQ(std::count(r.Out.begin(), r.Out.end(), '\n'), 1 + 4 + 29 * 4);
}

TEST_F(ViewsCli, GraphHasTheValueTheMeanAndTheMostFrequentValue) {
  const auto r = Run({"views", "graph", "sums", "--window", "3"});
  ASSERT_EQ(r.Code, 0) << r.Err;
  EXPECT_EQ(std::count(r.Out.begin(), r.Out.end(), '\n'), 1 + 3 * 3);
  EXPECT_NE(r.Out.find("\t103\t40\n"), std::string::npos) << r.Out;
  EXPECT_NE(r.Out.find("Среднее значение\t105\t37.3333\n"), std::string::npos) << r.Out;
  EXPECT_NE(r.Out.find("Наиболее часто встречающееся значение\t104\t40\n"), std::string::npos) << r.Out;
  const auto offset = Run({"views", "graph", "SUMS", "--window", "2", "--offset", "1"});
  ASSERT_EQ(offset.Code, 0) << offset.Err;
  EXPECT_NE(offset.Out.find("Среднее значение\t104\t37\n"), std::string::npos) << offset.Out;
  const auto not_graph = Run({"views", "graph", "NUMS"});
  EXPECT_EQ(not_graph.Code, 1);
  EXPECT_NE(not_graph.Err.find("NUMS"), std::string::npos);
  EXPECT_EQ(Run({"views", "graph", "NOPE"}).Code, 1);
  EXPECT_EQ(Run({"views", "compare"}).Code, 2) << "--window is required";
  EXPECT_EQ(Run({"views", "scheme", "--window", "0"}).Code, 2);
}

}  // namespace
}  // namespace kelmora::testing
