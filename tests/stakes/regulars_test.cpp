#include "stakes/regulars.h"

#include <gtest/gtest.h>

#include <vector>

#include "common/temp_dir.h"
#include "lottery/comb_text.h"
#include "support/encoding.h"
#include "support/files.h"

namespace kelmora::stakes {
namespace {

using lottery::MakeComb;

TEST(RegularShift, StepsWrapOnceWithinTheScale) {
  struct Case {
    lottery::TComb Start;
    int Step;
    const char* Expected;
  };
  const Case cases[] = {
      {MakeComb(7, 8, 13, 14), 1, "8;9;A;7"},
      {MakeComb(8, 9, 14, 7), 1, "9;10;7;8"},
      {MakeComb(7, 8, 13, 14), -1, "A;7;Q;K"},
      {MakeComb(7, 8, 13, 14), 0, "7;8;K;A"},
      {MakeComb(7, 8, 13, 14), 8, "7;8;K;A"},
      {MakeComb(7, 8, 13, 14), -8, "7;8;K;A"},
      // Beyond +-8 one wrap cannot bring a value back: it is staked as it is.
      {MakeComb(14, 7, 7, 7), 14, "20;K;K;K"},
      {MakeComb(7, 14, 14, 14), -14, "1;8;8;8"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(lottery::CombToText(ShiftComb(c.Start, c.Step)), c.Expected) << c.Step;
}

TEST(RegularNext, ContinuesFromLastOrStartsFromTheDrawAtTheOffset) {
  lottery::TDrawsArray draws(3);
  draws[0].Values = MakeComb(7, 7, 7, 7);
  draws[1].Values = MakeComb(7, 9, 11, 14);
  draws[2].Values = MakeComb(8, 8, 8, 8);

  TTableRec fixed;
  fixed.StartComb = fixed.LastComb = MakeComb(7, 8, 13, 14);
  NextTableComb(fixed, draws, 0);
  NextTableComb(fixed, draws, 0);
  EXPECT_EQ(lottery::CombToText(fixed.LastComb), "9;10;7;8");
  EXPECT_EQ(fixed.Count, 2);
  EXPECT_EQ(fixed.StartComb, MakeComb(7, 8, 13, 14));

  TTableRec last;
  last.UseLastDraw = true;
  last.LastComb = MakeComb(13, 13, 13, 13);
  NextTableComb(last, draws, 1);  // the current draw at offset 1 is 7;9;J;A
  EXPECT_EQ(lottery::CombToText(last.LastComb), "8;10;Q;7");
  NextTableComb(last, draws, 5);  // outside the archive: zero bytes, shifted
  EXPECT_EQ(lottery::CombToText(last.LastComb), "1;1;1;1");
  EXPECT_EQ(last.Count, 2);
}

TEST(RegularFile, RecordsAre276BytesFieldByField) {
  TTableRec rec;
  rec.Name = "Регуляр";
  rec.UseLastDraw = true;
  rec.StartComb = MakeComb(7, 8, 9, 10);
  rec.LastComb = MakeComb(11, 12, 13, 14);
  rec.Step = -3;
  rec.Count = 0x01020304;
  std::vector<uint8_t> bytes(TableRecSize, 0xAA);
  EncodeTable(rec, bytes.data());
  const std::string name = support::Utf8ToCp1251("Регуляр");
  EXPECT_EQ(bytes[0], name.size());
  EXPECT_EQ(std::string(bytes.begin() + 1, bytes.begin() + 1 + static_cast<long>(name.size())), name);
  EXPECT_EQ(bytes[255], 0);
  EXPECT_EQ(bytes[256], 1);
  EXPECT_EQ((std::vector<uint8_t>(bytes.begin() + 257, bytes.begin() + 268)),
            (std::vector<uint8_t>{7, 8, 9, 10, 11, 12, 13, 14, 0, 0, 0}));
  EXPECT_EQ((std::vector<uint8_t>(bytes.begin() + 268, bytes.end())),
            (std::vector<uint8_t>{0xFD, 0xFF, 0xFF, 0xFF, 4, 3, 2, 1}));
  EXPECT_EQ(DecodeTable(bytes.data()), rec);
}

TEST(RegularFile, RewritesWholeAndReadsWholeRecordsOnly) {
  testing::TempDir dir;
  const auto path = dir / "Kelmora_4r32.ltb";
  TTablesArray tables(2);
  tables[0].Name = "A";
  tables[1].Name = "B";
  tables[1].Step = 5;
  WriteTablesFile(path, tables);
  EXPECT_EQ(support::ReadFileBytes(path).size(), 2 * TableRecSize);
  // A torn tail is not a record.
  auto bytes = support::ReadFileBytes(path);
  bytes.resize(bytes.size() + 100, 0);
  support::WriteFileAtomic(path, bytes);
  TTablesArray read;
  ReadTablesFile(path, read);
  EXPECT_EQ(read, tables);
  TTablesArray kept = {tables[0]};
  EXPECT_THROW(ReadTablesFile(dir / "missing.ltb", kept), std::exception);
  EXPECT_EQ(kept.size(), 1u);
  // A failed rewrite leaves the old file whole.
  std::filesystem::create_directory(support::NextTemporaryPath(path));
  EXPECT_THROW(WriteTablesFile(path, {}), std::exception);
  read.clear();
  ReadTablesFile(path, read);
  EXPECT_EQ(read, tables);
}

TEST(RegularList, DeleteRefusesAnIndexOutsideAndNamesCompareIgnoringCase) {
  TTablesArray tables(2);
  tables[0].Name = "Первый";
  tables[1].Name = "Второй";
  try {
    DeleteTable(tables, 2);
    FAIL();
  } catch (const std::exception& e) {
    EXPECT_STREQ(e.what(), "Запись со индексом 2 в файле данных не найдена!");
  }
  EXPECT_EQ(FindTable(tables, "ПЕРВЫЙ"), 0);
  DeleteTable(tables, 0);
  EXPECT_EQ(FindTable(tables, "первый"), -1);
  EXPECT_EQ(FindTable(tables, "второй"), 0);
  EXPECT_EQ(tables.size(), 1u);
}

TEST(RegularView, CellsShowCardTextsAndZeroBytes) {
  TTableRec rec;
  rec.Name = "R";
  rec.UseLastDraw = true;
  rec.LastComb = MakeComb(8, 10, 12, 7);
  rec.Step = 1;
  rec.Count = 3;
  const std::vector<std::string> cells = {TableCellText(rec, 0), TableCellText(rec, 1), TableCellText(rec, 2),
                                          TableCellText(rec, 3), TableCellText(rec, 4)};
  EXPECT_EQ(cells, (std::vector<std::string>{"R", "0;0;0;0", "1", "8;10;Q;7", "3"}));
  EXPECT_STREQ(TableColumnCaption(1), "Стартовая комбинация");
}

}  // namespace
}  // namespace kelmora::stakes
