#include "stakes/systems.h"

#include <gtest/gtest.h>

#include <vector>

#include "common/temp_dir.h"
#include "lottery/comb_text.h"
#include "support/files.h"

namespace kelmora::stakes {
namespace {

using lottery::MakeComb;

TEST(SystemFiles, NamesAndTheMaskOfOneValueCount) {
  EXPECT_EQ(SystemFileName(8, 2, 37), "4-08-2_0037.dat");
  EXPECT_EQ(SystemFileName(5, 0, 12345), "4-05-0_12345.dat");
  struct Case {
    const char* Name;
    int N;
    bool Matches;
  };
  const Case cases[] = {
      {"4-08-2_0037.dat", 8, true}, {"4-08-x_y.DAT", 8, true}, {"4-08-2_0037.dat", 7, false},
      {"4-08-20037.dat", 8, false}, {"4-08-2_0037.txt", 8, false}, {"3-08-2_0037.dat", 8, false},
      {"4-8-2_0037.dat", 8, false},
  };
  for (const auto& c : cases) EXPECT_EQ(IsSystemFileFor(c.Name, c.N), c.Matches) << c.Name;
}

TEST(SystemRows, NormalisingKeepsFourNumberLinesOnly) {
  const auto one = NormaliseSystemRows("1,2,3,4\r\n5 6 7 8 9\r\n");
  EXPECT_EQ(one.Rows, (std::vector<std::string>{"01 02 03 04"}));
  EXPECT_EQ(one.Nums, 4);
  EXPECT_EQ(one.CSize, 1);

  const auto mixed = NormaliseSystemRows("  3*5+8  \n\n2-4/6:7\n1;2=3\\4\n5_6|7~8\na b c d\n4..5..6..7");
  EXPECT_EQ(mixed.Rows, (std::vector<std::string>{"02 04 06 07", "01 02 03 04", "05 06 07 08", "04 05 06 07"}));
  EXPECT_EQ(mixed.Nums, 8);
  EXPECT_EQ(mixed.CSize, 4);

  const auto none = NormaliseSystemRows("x\n1 2 3\n");
  EXPECT_TRUE(none.Rows.empty());
  EXPECT_EQ(none.Nums, 0);
}

TEST(SystemRows, ApplyingPicksValuesByPositionAndRefusesPositionsOutside) {
  const std::vector<uint8_t> values = {9, 7, 14, 11, 8};
  EXPECT_EQ(ApplySystemRows("01 02 03 04\r\n\r\n2,3,4,5\r\n", values),
            (lottery::TCombsArray{MakeComb(9, 7, 14, 11), MakeComb(7, 14, 11, 8)}));
  struct Case {
    const char* Text;
    const char* Message;
  };
  const Case cases[] = {
      {"01 02 03 04\r\n01 02 03 06\r\n", "Строка 2 системы \"01 02 03 06\": номер позиции 6 вне диапазона 1..5!"},
      {"00 01 02 03\r\n", "Строка 1 системы \"00 01 02 03\": номер позиции 0 вне диапазона 1..5!"},
      {"01 02 03\r\n", "Строка 1 системы \"01 02 03\": нужно 4 номера позиций, указано 3!"},
      {"01 02 xx 03\r\n", "Строка 1 системы \"01 02 xx 03\": \"xx\" не является числом!"},
  };
  for (const auto& c : cases) {
    try {
      ApplySystemRows(c.Text, values);
      ADD_FAILURE() << c.Text;
    } catch (const std::exception& e) {
      EXPECT_STREQ(e.what(), c.Message);
    }
  }
}

TEST(SystemLoad, FindsTheFileForTheValueCount) {
  testing::TempDir dir;
  const std::vector<uint8_t> four = {7, 8, 9, 10};
  auto load = LoadSystemFor(dir.Path() / "Systems", four);
  EXPECT_FALSE(load.Found);
  EXPECT_EQ(load.Failure, "Система для 4 чисел не найдена или не загружена на компьютер!");
  EXPECT_EQ(SystemNotFoundBoxText(4),
            "Система для 4 чисел не найдена или не загружена на компьютер!\r\rПеред системной игрой необходимо "
            "предварительно загрузить системы на Ваш компьютер через меню \"Системы\" - \"Загрузить\".");

  std::filesystem::create_directory(dir / "Systems");
  support::WriteFileAtomic(dir.Path() / "Systems" / "4-05-1_0002.dat", std::string("01 02 03 04\r\n02 03 04 05\r\n"));
  support::WriteFileAtomic(dir.Path() / "Systems" / "4-06-1_0003.dat", std::string("01 02 03 06\r\n"));
  const std::vector<uint8_t> five = {14, 13, 12, 11, 7};
  load = LoadSystemFor(dir.Path() / "Systems", five);
  EXPECT_TRUE(load.Found);
  EXPECT_TRUE(load.Failure.empty());
  EXPECT_EQ(load.File.filename(), "4-05-1_0002.dat");
  EXPECT_EQ(load.Combs, (lottery::TCombsArray{MakeComb(14, 13, 12, 11), MakeComb(13, 12, 11, 7)}));
  EXPECT_EQ(SystemStakeName(5, true, load.File), "Системная игра для 5 чисел [вся система]: 4-05-1_0002");
  EXPECT_EQ(SystemStakeName(5, false, load.File), "Системная игра для 5 чисел [комбинации]: 4-05-1_0002");

  support::WriteFileAtomic(dir.Path() / "Systems" / "4-05-1_0002.dat", std::string("01 02 03 09\r\n"));
  load = LoadSystemFor(dir.Path() / "Systems", five);
  EXPECT_TRUE(load.Found);
  EXPECT_TRUE(load.Combs.empty());
  EXPECT_NE(load.Failure.find("номер позиции 9"), std::string::npos);
}

TEST(SystemPlay, DistinctValuesAscendingRowsAndTheListFilter) {
  lottery::TCombsArray combs = {MakeComb(9, 7, 9, 8), MakeComb(7, 10, 11, 8)};
  EXPECT_EQ(DistinctListValues(combs), (std::vector<uint8_t>{9, 7, 8, 10, 11}));
  EXPECT_TRUE(DistinctListValues({}).empty());
  combs = {MakeComb(7, 8, 9, 10), MakeComb(11, 12, 13, 14), MakeComb(14, 13, 12, 7)};
  EXPECT_EQ(DistinctListValues(combs), (std::vector<uint8_t>{7, 8, 9, 10, 11, 12, 13, 14}));
  EXPECT_EQ(AscendingComb(MakeComb(14, 7, 10, 7)), MakeComb(7, 7, 10, 14));

  const lottery::TCombsArray system = {MakeComb(14, 7, 10, 8), MakeComb(9, 8, 7, 10)};
  const auto none = [](lottery::TComb) { return false; };
  const auto only = [](lottery::TComb c) { return c == MakeComb(7, 8, 9, 10); };
  EXPECT_EQ(SystemStakeCombs(system, true, none), (lottery::TCombsArray{MakeComb(7, 8, 10, 14), MakeComb(7, 8, 9, 10)}));
  EXPECT_EQ(SystemStakeCombs(system, false, only), (lottery::TCombsArray{MakeComb(7, 8, 9, 10)}));
  EXPECT_TRUE(SystemStakeCombs(system, false, none).empty());
}

}  // namespace
}  // namespace kelmora::stakes
