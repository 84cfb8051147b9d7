// `kelmora regulars ...` and `kelmora systems ...` on a data folder: the TSV lists, the rules and
// their stakes, system play with its defaults, the catalogue through the in-process server, and
// refusals that print the system's text and leave every file as it was.

#include <gtest/gtest.h>

#include <fmt/format.h>

#include "cli/cli_runner.h"
#include "common/catalog_test_server.h"
#include "catalog/seed.h"
#include "common/temp_dir.h"
#include "stakes/systems.h"
#include "filtering/comb_list.h"
#include "lottery/draws.h"
#include "stakes/regulars.h"
#include "stakes/stake_rec.h"
#include "support/files.h"
#include "support/platform.h"
#include "support/text.h"

namespace kelmora::cli {
namespace {

using lottery::MakeComb;
using testing::RunKelmora;

class TablesCliTest : public ::testing::Test {
 protected:
  void SetUp() override {
    lottery::TDrawsArray draws;
    for (int i = 0; i < 8; ++i) draws.push_back({i + 1, MakeComb(7 + i, 9, 11, 14), ""});
    lottery::SaveDrawsFile(dir_ / "Kelmora_4r32.ldr", draws);
  }
  std::string Bytes(const char* name) {
    return support::FileExists(dir_ / name) ? support::ReadFileText(dir_ / name) : std::string("<none>");
  }
  // Each stake as "draw kind combination name".
  std::vector<std::string> Stakes() {
    std::vector<std::string> out;
    const std::string bytes = support::FileExists(dir_ / "Kelmora_4r32.lsk") ? Bytes("Kelmora_4r32.lsk") : "";
    for (size_t at = 0; at + stakes::StakeRecSize <= bytes.size(); at += stakes::StakeRecSize) {
      const auto rec = stakes::DecodeStake(reinterpret_cast<const uint8_t*>(bytes.data() + at));
      if (rec.Kind != 0)
        out.push_back(fmt::format("{} {} {} {}", rec.DrawNumber, int{rec.Kind}, stakes::StakeCellText(rec, 2, '.'), rec.Name));
    }
    return out;
  }
  kelmora::testing::TempDir dir_;
};

TEST_F(TablesCliTest, RegularsAreAddedListedStakedAndTested) {
  auto r = RunKelmora(dir_.Path(), {"regulars", "add", "--name", "Шаг", "--start", "7;8;K;A", "--step", "1"});
  ASSERT_EQ(r.Code, 0) << r.Err;
  r = RunKelmora(dir_.Path(), {"regulars", "add", "--name", "Тираж", "--last-draw", "--step", "1"});
  ASSERT_EQ(r.Code, 0) << r.Err;
  r = RunKelmora(dir_.Path(), {"regulars", "stake", "шаг"});
  ASSERT_EQ(r.Code, 0) << r.Err;
  EXPECT_EQ(r.Out, "8;9;A;7\n");
  r = RunKelmora(dir_.Path(), {"regulars", "test", "--tests", "2", "Шаг", "Тираж"});
  ASSERT_EQ(r.Code, 0) << r.Err;
  EXPECT_EQ(r.Out, "4\n");
  EXPECT_EQ(Stakes(), (std::vector<std::string>{"9 2 8;9;A;7 Шаг", "7 2 9;10;7;8 Шаг", "7 2 K;10;Q;7 Тираж",
                                                "8 2 10;J;8;9 Шаг", "8 2 A;10;Q;7 Тираж"}));
  r = RunKelmora(dir_.Path(), {"regulars", "list"});
  ASSERT_EQ(r.Code, 0) << r.Err;
  EXPECT_EQ(r.Out,
            "Комментарий\tСтартовая комбинация\tШаг\tТекущая комбинация\tСтавок\n"
            "Шаг\t7;8;K;A\t1\t10;J;8;9\t3\n"
            "Тираж\t0;0;0;0\t1\tA;10;Q;7\t2\n");
}

TEST_F(TablesCliTest, RefusalsPrintTheSystemsTextAndChangeNoFile) {
  ASSERT_EQ(RunKelmora(dir_.Path(), {"regulars", "add", "--name", "A", "--start", "7;7;7;7", "--step", "1"}).Code, 0);
  const std::string tables = Bytes("Kelmora_4r32.ltb");
  struct Case {
    std::vector<std::string> Args;
    const char* Text;
  };
  const Case cases[] = {
      {{"regulars", "add", "--name", "a", "--start", "7;7;7;7", "--step", "1"},
       "Запись с таким комментарией уже присутствует в списке!"},
      {{"regulars", "add", "--name", "B", "--start", "7;7;7", "--step", "1"}, "Введена некорректная комбинация!"},
      {{"regulars", "stake", "нет"}, "Регулярная ставка \"нет\" не найдена!"},
      {{"regulars", "test", "--tests", "8", "A"}, "Количество тестов должно быть от 1 до 7!"},
      {{"systems", "play", "--all"}, "Система для 8 чисел не найдена или не загружена на компьютер!"},
  };
  for (const auto& c : cases) {
    const auto r = RunKelmora(dir_.Path(), c.Args);
    EXPECT_EQ(r.Code, 1) << c.Text;
    EXPECT_NE(r.Err.find(c.Text), std::string::npos) << r.Err;
    EXPECT_EQ(Bytes("Kelmora_4r32.ltb"), tables) << c.Text;
    EXPECT_EQ(Stakes().size(), 0u) << c.Text;
  }
  // A step beyond +-8 is kept, with the warning.
  const auto r = RunKelmora(dir_.Path(), {"regulars", "add", "--name", "B", "--start", "7;7;7;7", "--step", "-12"});
  EXPECT_EQ(r.Code, 0);
  EXPECT_NE(r.Err.find("Шаг больше 8 по модулю"), std::string::npos);
}

TEST_F(TablesCliTest, SystemPlayMakesTheCommandsStakesOnTheFullListOrAFile) {
  std::filesystem::create_directory(dir_ / "Systems");
  support::WriteFileAtomic(dir_.Path() / "Systems" / "4-08-2_0037.dat", std::string("01 02 03 04\r\n05 06 07 08\r\n"));
  support::WriteFileAtomic(dir_.Path() / "Systems" / "4-05-0_0002.dat", std::string("01 02 03 05\r\n"));
  auto r = RunKelmora(dir_.Path(), {"systems", "play", "--all"});
  ASSERT_EQ(r.Code, 0) << r.Err;
  EXPECT_EQ(r.Out, "2\n");
  const lottery::TCombsArray five = {MakeComb(7, 8, 9, 10), MakeComb(11, 7, 8, 9), MakeComb(11, 9, 8, 7)};
  filtering::WriteCombFile(dir_ / "five.lcv", five, five.size());
  r = RunKelmora(dir_.Path(), {"systems", "play", "--filter", "--start", (dir_ / "five.lcv").string()});
  ASSERT_EQ(r.Code, 0) << r.Err;
  EXPECT_EQ(r.Out, "0\n");  // 7;8;9;J is not in the list as written
  r = RunKelmora(dir_.Path(), {"systems", "play", "--all", "--name", "моя", "--start", (dir_ / "five.lcv").string()});
  ASSERT_EQ(r.Code, 0) << r.Err;
  EXPECT_EQ(Stakes(), (std::vector<std::string>{
                          "9 4 7;8;9;10 Системная игра для 8 чисел [вся система]: 4-08-2_0037",
                          "9 4 J;Q;K;A Системная игра для 8 чисел [вся система]: 4-08-2_0037", "9 4 7;8;9;J моя"}));
}

TEST_F(TablesCliTest, TheCatalogueIsListedDownloadedAndPlayed) {
  kelmora::testing::CatalogTestServer server;
  server.SetNow(1765454400);
  support::WriteFileAtomic(dir_ / "Kelmora_4r32.ini",
                           fmt::format("[NETWORK]\r\nCatalogUrl={}\r\nCaFile={}\r\nUserName=Я\r\nUserMail=me@example.org\r\n",
                                       server.BaseUrl(), server.CaFile().string()));
  auto r = RunKelmora(dir_.Path(), {"systems", "list"});
  ASSERT_EQ(r.Code, 0) << r.Err;
  const std::string header =
      "Id\tНазвание\tАвтор\tЧисла\tБлок\tКомбинаций\tДата создания\tСтатус\tЗагрузок\tПоследняя\tКомментарии\tСсылка\n";
  EXPECT_EQ(r.Out, header + "-1\tСписок систем не доступен!\t\t\t\t\t\t\t\t\t\t\n");

  ASSERT_GT(catalog::SeedDemo(server.DbPath().string()).Systems, 2);
  r = RunKelmora(dir_.Path(), {"systems", "list"});
  ASSERT_EQ(r.Code, 0) << r.Err;
  ASSERT_EQ(r.Out.rfind(header, 0), 0u);
  // The 8-value entries: their identifiers and sizes from the TSV.
  struct Entry {
    std::string Id;
    int Size;
    std::string Created;
  };
  std::vector<Entry> eights;
  for (const auto& line : support::SplitLines(r.Out.substr(header.size()))) {
    const auto cells = support::Split(line, "\t");
    ASSERT_EQ(cells.size(), 12u) << line;
    EXPECT_FALSE(cells[6].empty()) << line;
    if (cells[3] == "08") eights.push_back({cells[0], std::stoi(cells[5]), cells[6]});
  }
  ASSERT_GE(eights.size(), 2u);
  for (const auto& [id, size, created] : eights) {
    r = RunKelmora(dir_.Path(), {"systems", "download", id});
    ASSERT_EQ(r.Code, 0) << r.Err;
    EXPECT_EQ(r.Out.substr(r.Out.size() - 10), fmt::format("_{:04d}.dat\n", std::stoi(id)));
    // The last one downloaded is the only system for 8 values.
    const auto files = stakes::SystemFilesFor(dir_ / "Systems", 8);
    ASSERT_EQ(files.size(), 1u);
    EXPECT_EQ(files[0].filename().string() + "\n", r.Out);
    // The file's time is the entry's creation time.
    EXPECT_EQ(support::LocalTimeText(*support::FileModifiedTime(files[0])), created);
  }
  r = RunKelmora(dir_.Path(), {"systems", "play", "--all"});
  ASSERT_EQ(r.Code, 0) << r.Err;
  EXPECT_EQ(r.Out, fmt::format("{}\n", eights.back().Size));
  r = RunKelmora(dir_.Path(), {"systems", "list"});
  EXPECT_NE(r.Out.find(fmt::format("{}\t", eights.back().Id)), std::string::npos);
  EXPECT_NE(r.Out.find("\tЗагружена\t"), std::string::npos);
  r = RunKelmora(dir_.Path(), {"systems", "download", "99999"});
  EXPECT_EQ(r.Code, 1);
  EXPECT_NE(r.Err.find("Система #99999 не найдена в каталоге!"), std::string::npos);
}

}  // namespace
}  // namespace kelmora::cli
