#include <gtest/gtest.h>

#include "cli/cli_runner.h"
#include "common/temp_dir.h"
#include "lottery/comb_text.h"
#include "lottery/draws.h"
#include "support/files.h"

namespace kelmora::testing {
namespace {

using lottery::MakeComb;

class DrawsCli : public ::testing::Test {
 protected:
  CliResult Run(std::vector<std::string> args) { return RunKelmora(dir_.Path(), std::move(args)); }
  lottery::TDrawsArray Saved() const { return lottery::LoadDrawsFile(dir_ / "Kelmora_4r32.ldr"); }
  TempDir dir_;
};

TEST_F(DrawsCli, AddListAndSortedList) {
  EXPECT_EQ(Run({"draws", "add", "--number", "5", "--values", "K;7;A;9", "--date", "05/11/2023"}).Code, 0);
  EXPECT_EQ(Run({"draws", "add", "--number", "6", "--values", "8,8,10,J"}).Code, 0);
  const auto list = Run({"draws", "list"});
  EXPECT_EQ(list.Code, 0);
  EXPECT_EQ(list.Out,
            "Тираж\ts\th\td\tc\tSUM\tДата тиража\n"
            "6\t8\t8\t10\tJ\t37\t\n"
            "5\tK\t7\tA\t9\t43\t05/11/2023\n");
  const auto sorted = Run({"draws", "list", "--sorted"});
  EXPECT_NE(sorted.Out.find("5\t7\t9\tK\tA\t43\t05/11/2023\n"), std::string::npos) << sorted.Out;
}

TEST_F(DrawsCli, BadInputIsRefusedInTheSystemsWordsAndChangesNothing) {
  struct Case {
    std::vector<std::string> args;
    int code;
    const char* message;
  };
  const Case cases[] = {
      {{"draws", "add", "--number", "1", "--values", "7;8;9"}, 1, "Введена некорректная комбинация!"},
      {{"draws", "add", "--number", "1", "--values", "7;8;9;15"}, 1, "Введена некорректная комбинация!"},
      {{"draws", "add", "--number", "1", "--values", "7;8;9;10", "--date", "31/04/2023"}, 1, "31/04/2023"},
      {{"draws", "add", "--number", "0", "--values", "7;8;9;10"}, 1, "номер"},
      {{"draws", "delete", "--number", "42"}, 1, "Запись со индексом -1 в файле данных не найдена!"},
      {{"draws", "frobnicate"}, 2, ""},
      {{"draws", "add", "--values", "7;8;9;10"}, 2, "--number"},
  };
  for (const auto& c : cases) {
    const auto r = Run(c.args);
    EXPECT_EQ(r.Code, c.code) << c.args[1] << " " << r.Err;
    EXPECT_NE(r.Err.find(c.message), std::string::npos) << r.Err;
  }
  EXPECT_FALSE(support::FileExists(dir_ / "Kelmora_4r32.ldr"));
}

TEST_F(DrawsCli, EditAndDeleteByNumber) {
  for (int n : {1, 2, 3}) Run({"draws", "add", "--number", std::to_string(n), "--values", "7;7;7;7"});
  EXPECT_EQ(Run({"draws", "edit", "--row", "0", "--values", "A;K;Q;J"}).Code, 0);
  EXPECT_EQ(Saved()[2].Values, MakeComb(14, 13, 12, 11));
  EXPECT_EQ(Run({"draws", "delete", "--number", "1", "3"}).Code, 0);
  ASSERT_EQ(Saved().size(), 1u);
  EXPECT_EQ(Saved()[0].Number, 2);
  EXPECT_EQ(Run({"draws", "edit", "--row", "5", "--number", "9"}).Code, 1);
}

TEST_F(DrawsCli, ExportImportAndResultsFile) {
  for (int n : {1000, 1001}) Run({"draws", "add", "--number", std::to_string(n), "--values", "7;8;9;10"});
  const auto csv = dir_ / "out.csv";
  EXPECT_EQ(Run({"draws", "export", csv.string()}).Code, 0);
  EXPECT_EQ(support::ReadFileText(csv), "1000;\"\";7;8;9;10\r\n1001;\"\";7;8;9;10\r\n");
  const auto again = Run({"draws", "import", csv.string()});
  EXPECT_EQ(again.Out, "0\n") << "every number already exists";

  const auto results = dir_ / "chance_results.csv";
  support::WriteFileAtomic(results, std::string("header\r\n"
                                                "06/11/2023,1003,A,K,Q,J\r\n"
                                                "05/11/2023,1002,7,8,9,10\r\n"
                                                "04/11/2023,1001,7,8,9,10\r\n"));
  const auto r = Run({"draws", "results", results.string()});
  EXPECT_EQ(r.Code, 0) << r.Err;
  EXPECT_EQ(r.Out, "2\n");
  const auto saved = Saved();
  ASSERT_EQ(saved.size(), 4u);
  EXPECT_EQ(saved[2].Number, 1002);
  EXPECT_EQ(saved[3].Number, 1003);
  EXPECT_EQ(saved[3].Values, MakeComb(11, 12, 13, 14));

  EXPECT_EQ(Run({"draws", "import", (dir_ / "missing.csv").string()}).Code, 1);
}

TEST_F(DrawsCli, StatusPanelsFollowTheOffset) {
  EXPECT_EQ(Run({"status"}).Out, "Архив тиражей: 0\nСледующий тираж: 1\n\n");
  for (int n = 1; n <= 10; ++n)
    Run({"draws", "add", "--number", std::to_string(n), "--values", n == 8 ? "A;A;A;A" : "7;7;7;7"});
  EXPECT_EQ(Run({"status", "--offset", "3"}).Out, "Архив тиражей: 10\nСледующий тираж: 8\nA;A;A;A\n");
}

TEST_F(DrawsCli, TheDesktopComparisonSwitchBuildsNoFilesFromTheCommandLine) {
  support::WriteFileAtomic(dir_ / "Kelmora_4r32.frm", std::string("[TFormMain]\r\nPrefetchsEnabled=1\r\n"));
  for (int n = 1; n <= 3; ++n) Run({"draws", "add", "--number", std::to_string(n), "--values", "7;8;9;10"});
  EXPECT_EQ(Run({"status"}).Code, 0);
  EXPECT_FALSE(std::filesystem::exists(dir_ / "Prefetchs"));
}

TEST_F(DrawsCli, ConfigShowAndVersion) {
  const auto r = Run({"config", "show"});
  EXPECT_EQ(r.Code, 0);
  EXPECT_EQ(r.Out.rfind("Секция\tКлюч\tЗначение\nGLOBAL\tMatrixCols\t4\n", 0), 0u) << r.Out;
  EXPECT_NE(r.Out.find("PROXY\tProxyPort\t80\n"), std::string::npos);
  EXPECT_FALSE(support::FileExists(dir_ / "Kelmora_4r32.frm")) << "the command line leaves the view state alone";
  const auto v = Run({"--version"});
  EXPECT_EQ(v.Code, 0);
  EXPECT_EQ(v.Out, std::string(KELMORA_VERSION) + "\n");
}

}  // namespace
}  // namespace kelmora::testing
