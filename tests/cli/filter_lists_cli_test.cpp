// `kelmora stats list` with the filter-list file, and `kelmora stats names export|import`.

#include <gtest/gtest.h>

#include "cli/cli_runner.h"
#include "common/temp_dir.h"
#include "lottery/draws.h"
#include "support/encoding.h"
#include "support/files.h"
#include "support/ini_file.h"
#include "support/text.h"

namespace kelmora::testing {
namespace {

class FilterListsCli : public ::testing::Test {
 protected:
  void SetUp() override {
    lottery::SaveDrawsFile(dir_ / "Kelmora_4r32.ldr", {{1, lottery::MakeComb(7, 8, 9, 10), ""}});
  }
  CliResult Run(std::vector<std::string> args) { return RunKelmora(dir_.Path(), std::move(args)); }
  void WriteFile(const std::filesystem::path& path, const std::string& utf8) {
    support::WriteFileAtomic(path, support::Utf8ToCp1251(utf8));
  }
  // Column `column` of every line after the header.
  static std::vector<std::string> Column(const std::string& out, size_t column) {
    std::vector<std::string> cells;
    const auto lines = support::SplitLines(out);
    for (size_t i = 1; i < lines.size(); ++i) cells.push_back(support::Split(lines[i], "\t").at(column));
    return cells;
  }
  TempDir dir_;
};

TEST_F(FilterListsCli, ListShowsTheFavouritesWithTheFilesNamesAndOptionsAndAllShowsEveryMethod) {
  const auto every = Run({"stats", "list"});
  ASSERT_EQ(every.Code, 0) << every.Err;
  const size_t methods = support::SplitLines(every.Out).size() - 1;
  EXPECT_EQ(Run({"stats", "list", "--all"}).Out, every.Out) << "without a file both are every method";

  const struct {
    const char* File;
    std::vector<std::string> Codes;
    std::vector<std::string> Names;
    std::vector<std::string> Numbers;
  } cases[] = {
      {"[FILTERS]\r\nFavorites=SUMS,NUMS\r\n",
       {"NUMS", "SUMS"},
       {"{ num } Числа тиража [ N ]", "{ sum } Сумма тиража: все значения [ NG ]"},
       {"1", "9"}},
      {"[FILTERS]\r\nFavorites=SUMS,NUMS\r\nOrdered=1\r\nShowGroupName=0\r\nShowMethodFlags=0\r\n"
       "[STRINGS_RUS]\r\nNUMS=Карты тиража\r\n",
       {"NUMS", "SUMS"},
       {"Карты тиража", "Сумма тиража: все значения"},
       {"1", "9"}},
      {"[FILTERS]\r\nFavorites=NUMS,SUMS\r\nOrdered=1\r\nShowGroupName=0\r\n[STRINGS_RUS]\r\nNUMS=Числа\r\n"
       "SUMS=Аааа\r\n",
       {"SUMS", "NUMS"},
       {"Аааа [ NG ]", "Числа [ N ]"},
       {"9", "1"}},
  };
  for (const auto& c : cases) {
    WriteFile(dir_ / "Kelmora_4r32.flt", c.File);
    const auto r = Run({"stats", "list"});
    ASSERT_EQ(r.Code, 0) << r.Err;
    EXPECT_EQ(Column(r.Out, 1), c.Codes) << c.File;
    EXPECT_EQ(Column(r.Out, 2), c.Names) << c.File;
    EXPECT_EQ(Column(r.Out, 0), c.Numbers) << c.File;
    const auto all = Run({"stats", "list", "--all"});
    EXPECT_EQ(support::SplitLines(all.Out).size() - 1, methods) << c.File;
  }
  // The favourites of the last case, sorted, among every method.
  const auto all = Run({"stats", "list", "--all"});
  EXPECT_EQ(Column(all.Out, 2).front(), "Аааа [ NG ]");
}

TEST_F(FilterListsCli, NamesExportWritesEveryCaptionAndImportKeepsThemInTheOwnFile) {
  WriteFile(dir_ / "Kelmora_4r32.flt", "[FILTERS]\r\nFavorites=NUMS,DIGS\r\n[STRINGS_RUS]\r\nNUMS=Карты\r\n");
  const auto names = dir_ / "names.flt";
  auto r = Run({"stats", "names", "export", names.string()});
  ASSERT_EQ(r.Code, 0) << r.Err;
  support::IniFile exported(names);
  exported.Load();
  EXPECT_FALSE(exported.HasSection("FILTERS"));
  EXPECT_EQ(exported.ReadString("STRINGS_RUS", "NUMS", ""), "Карты");
  EXPECT_EQ(exported.ReadString("STRINGS_RUS", "SUMS", ""), "Сумма тиража: все значения");

  WriteFile(names, "[STRINGS_ENG]\r\nNUMS=Numbers\r\n[STRINGS_RUS]\r\nDIGS=Цифры\r\n");
  r = Run({"stats", "names", "import", names.string()});
  ASSERT_EQ(r.Code, 0) << r.Err;
  EXPECT_EQ(r.Out, "Методов со своим названием: 1\n");
  support::IniFile own(dir_ / "Kelmora_4r32.flt");
  own.Load();
  EXPECT_EQ(own.ReadString("FILTERS", "Favorites", ""), "NUMS,DIGS") << "the favourites stay";
  EXPECT_EQ(own.ReadString("STRINGS_RUS", "DIGS", ""), "Цифры");
  EXPECT_FALSE(own.HasKey("STRINGS_RUS", "NUMS")) << "the file had no name for it";
  EXPECT_FALSE(own.HasSection("STRINGS_ENG"));
  r = Run({"stats", "list"});
  EXPECT_EQ(Column(r.Out, 2), (std::vector<std::string>{"{ num } Числа тиража [ N ]", "{ num } Цифры [ N ]"}));

  r = Run({"stats", "names", "import", (dir_ / "missing.flt").string()});
  EXPECT_EQ(r.Code, 1);
  EXPECT_NE(r.Err.find("Ошибка загрузки списка фильтров!"), std::string::npos) << r.Err;
  EXPECT_EQ(Run({"stats", "names"}).Code, 2);
}

}  // namespace
}  // namespace kelmora::testing
