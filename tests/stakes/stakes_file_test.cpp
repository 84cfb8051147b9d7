#include "stakes/stakes_file.h"

#include <gtest/gtest.h>

#include <map>
#include <vector>

#include "common/temp_dir.h"
#include "support/error.h"
#include "support/files.h"

namespace kelmora::stakes {
namespace {

using lottery::MakeComb;

class StakesFileTest : public ::testing::Test {
 protected:
  std::filesystem::path Lsk() const { return dir_ / "Kelmora_4r32.lsk"; }
  std::filesystem::path Tmp() const { return dir_ / "Kelmora_4r32.~tmp"; }
  std::unique_ptr<TStakesFile> Open() {
    return std::make_unique<TStakesFile>(std::make_unique<support::LockedFile>(Lsk()));
  }
  static TStakeRec Stake(int32_t draw, TComb comb, const char* name = "s") {
    return MakeStake(1, draw, comb, name, 4096, config_);
  }
  // Draw numbers of the records in file order, -1 for separators.
  static std::vector<int32_t> Draws(const TStakesFile& f) {
    std::vector<int32_t> out;
    for (int64_t i = 0; i < f.Count(); ++i) out.push_back(f.Read(i).DrawNumber);
    return out;
  }
  int Check(TStakesFile& f, std::vector<TStakeRec>* checked = nullptr) {
    return f.Check(
        [this](int32_t draw) -> std::optional<TComb> {
          auto it = archive_.find(draw);
          return it == archive_.end() ? std::nullopt : std::optional<TComb>(it->second);
        },
        config_, [checked](const TStakeRec& r) { if (checked) checked->push_back(r); }, nullptr);
  }

  testing::TempDir dir_;
  std::map<int32_t, TComb> archive_;
  static inline lottery::TConfigData config_;
};

TEST_F(StakesFileTest, AppendsReadsFromBothEndsAndReopens) {
  auto f = Open();
  f->Append(Stake(10, MakeComb(7, 8, 9, 10), "a"), 1);
  f->Append(Stake(11, MakeComb(14, 13, 12, 11), "b"), 1);
  EXPECT_EQ(f->Count(), 2);
  EXPECT_EQ(f->Read(0).Name, "a");
  EXPECT_EQ(f->Read(-1).Name, "b");
  EXPECT_EQ(f->Read(-2).Name, "a");
  EXPECT_THROW(f->Read(2), support::Error);
  EXPECT_THROW(f->Read(-3), support::Error);
  try {
    f->Read(5);
  } catch (const support::Error& e) {
    EXPECT_STREQ(e.what(), "Запись со индексом 5 в файле данных не найдена!");
  }
  f.reset();
  EXPECT_EQ(std::filesystem::file_size(Lsk()), 2 * StakeRecSize);
  f = Open();
  EXPECT_EQ(f->Read(1), Stake(11, MakeComb(14, 13, 12, 11), "b"));
  EXPECT_TRUE(f->Exists(11, MakeComb(14, 13, 12, 11)));
  EXPECT_EQ(f->Unchecked(), (std::vector<int64_t>{0, 1}));
}

TEST_F(StakesFileTest, MultiDrawStakesAreSeparated) {
  struct Case {
    std::vector<int32_t> Before;
    int Count;
    std::vector<int32_t> After;
  } cases[] = {
      {{}, 3, {5, -1, 6, -1, 7}},
      {{}, 1, {5}},
      {{9}, 2, {9, -1, 5, -1, 6}},
      {{9, -1}, 2, {9, -1, 5, -1, 6}},
  };
  for (const auto& c : cases) {
    auto f = Open();
    f->Clear();
    for (int32_t d : c.Before) d < 0 ? f->Append(SeparatorRec(), 1) : f->Append(Stake(d, MakeComb(7, 7, 7, 7)), 1);
    f->Append(Stake(5, MakeComb(8, 8, 8, 8)), c.Count);
    EXPECT_EQ(Draws(*f), c.After) << c.Count;
  }
}

TEST_F(StakesFileTest, StartGroupAndRefusals) {
  auto f = Open();
  f->StartGroup();
  EXPECT_EQ(f->Count(), 0);
  f->Append(Stake(3, MakeComb(7, 7, 7, 7)), 1);
  f->StartGroup();
  f->StartGroup();
  EXPECT_EQ(Draws(*f), (std::vector<int32_t>{3, -1}));
  auto checked = Stake(3, MakeComb(7, 7, 7, 7));
  checked.Checked = true;
  EXPECT_THROW(f->Append(checked, 1), support::Error);
  EXPECT_EQ(f->Count(), 2);
}

TEST_F(StakesFileTest, ExistsByDrawAndExactValues) {
  auto f = Open();
  f->Append(Stake(20, MakeComb(7, 8, 9, 10)), 1);
  EXPECT_TRUE(f->Exists(20, MakeComb(7, 8, 9, 10)));
  EXPECT_FALSE(f->Exists(21, MakeComb(7, 8, 9, 10)));
  EXPECT_FALSE(f->Exists(20, MakeComb(10, 9, 8, 7)));
  f->Rewrite([](int64_t, const TStakeRec&) { return false; }, Tmp());
  EXPECT_FALSE(f->Exists(20, MakeComb(7, 8, 9, 10)));
}

TEST_F(StakesFileTest, StakeForAFutureDrawIsCheckedWhenTheDrawArrives) {
  auto f = Open();
  f->Append(Stake(1, MakeComb(7, 8, 9, 10)), 1);
  f->StartGroup();
  f->Append(Stake(2, MakeComb(7, 8, 9, 10)), 1);
  archive_[1] = MakeComb(7, 8, 13, 13);
  std::vector<TStakeRec> seen;
  EXPECT_EQ(Check(*f, &seen), 1);
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].Matches, 2);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(Check(*f), 0);
  EXPECT_FALSE(f->Read(2).Checked);
  EXPECT_EQ(f->Unchecked(), (std::vector<int64_t>{2}));
  archive_[2] = MakeComb(7, 8, 9, 10);
  EXPECT_EQ(Check(*f), 1);
  EXPECT_TRUE(f->Unchecked().empty());
  f.reset();
  f = Open();
  EXPECT_EQ(f->Read(2).Matches, 4);
  EXPECT_EQ(f->Read(0).Results, MakeComb(7, 8, 13, 13));
  EXPECT_TRUE(f->Unchecked().empty());
}

TEST_F(StakesFileTest, DeletesByMatches) {
  // Stakes with 0, 1, 2 matches, an unchecked one, and a separator between them.
  struct Case {
    TMatchCompare Cmp;
    int Value;
    std::vector<int32_t> Kept;  // draw numbers left
  } cases[] = {
      {TMatchCompare::Less, 1, {2, -1, 3}},
      {TMatchCompare::Equal, 0, {2, -1, 3, 4}},
      {TMatchCompare::Greater, 0, {1, -1, 4}},
      {TMatchCompare::AtLeast, 2, {1, 2, -1, 4}},
      {TMatchCompare::AtMost, 4, {-1}},
  };
  archive_ = {{1, MakeComb(13, 13, 13, 13)}, {2, MakeComb(7, 13, 13, 13)}, {3, MakeComb(7, 8, 13, 13)}};
  for (const auto& c : cases) {
    auto f = Open();
    f->Clear();
    f->Append(Stake(1, MakeComb(7, 8, 9, 10)), 1);
    f->Append(Stake(2, MakeComb(7, 8, 9, 10)), 1);
    f->StartGroup();
    f->Append(Stake(3, MakeComb(7, 8, 9, 10)), 1);
    f->Append(Stake(4, MakeComb(7, 8, 9, 10)), 1);
    Check(*f);
    f->Rewrite([&](int64_t, const TStakeRec& r) { return r.Kind == 0 || !MatchesSatisfy(r.Matches, c.Cmp, c.Value); },
               Tmp());
    EXPECT_EQ(Draws(*f), c.Kept) << static_cast<int>(c.Cmp) << " " << c.Value;
    EXPECT_FALSE(std::filesystem::exists(Tmp()));
  }
}

TEST_F(StakesFileTest, RewriteKeepsTheLockAndTheIndexes) {
  auto f = Open();
  for (int d = 1; d <= 5; ++d) f->Append(Stake(d, MakeComb(7, 7, 7, 7)), 1);
  EXPECT_EQ(f->Rewrite([](int64_t i, const TStakeRec&) { return i < 1 || i > 2; }, Tmp()), 2);
  EXPECT_EQ(Draws(*f), (std::vector<int32_t>{1, 4, 5}));
  EXPECT_EQ(f->Unchecked(), (std::vector<int64_t>{0, 1, 2}));
  // The renamed file is the locked one: a second open is refused.
  EXPECT_THROW(support::LockedFile second(Lsk()), support::Error);
  f->Append(Stake(6, MakeComb(7, 7, 7, 7)), 1);
  f.reset();
  EXPECT_EQ(std::filesystem::file_size(Lsk()), 4 * StakeRecSize);
}

TEST_F(StakesFileTest, FailedRenameKeepsEveryStake) {
  auto f = Open();
  for (int d = 1; d <= 3; ++d) f->Append(Stake(d, MakeComb(7, 7, 7, 7)), 1);
  const auto before = support::ReadFileBytes(Lsk());
  f->SetRenameForTest([](support::LockedFile&, const std::filesystem::path&) { support::Fail("Отказано в доступе"); });
  try {
    f->Rewrite([](int64_t i, const TStakeRec&) { return i == 0; }, Tmp());
    ADD_FAILURE() << "no failure";
  } catch (const support::Error& e) {
    EXPECT_EQ(std::string(e.what()),
              "Ошибка переименования / удаления временного файла ставок " + Tmp().string() + "!\r\rОтказано в доступе");
  }
  EXPECT_EQ(support::ReadFileBytes(Lsk()), before);
  EXPECT_FALSE(std::filesystem::exists(Tmp()));
  EXPECT_EQ(Draws(*f), (std::vector<int32_t>{1, 2, 3}));
  f->Append(Stake(4, MakeComb(7, 7, 7, 7)), 1);
  EXPECT_EQ(f->Count(), 4);
}

TEST_F(StakesFileTest, RepairsATruncatedOrForeignFile) {
  struct Case {
    size_t Records;
    size_t Extra;      // bytes of a partial record after them
    uint8_t Version;
    TStakesRepair Repair;
    int64_t Kept;
  } cases[] = {
      {1, 1, 2, TStakesRepair::DroppedTail, 1},   // 305 bytes
      {3, 200, 2, TStakesRepair::DroppedTail, 3},
      {0, 100, 2, TStakesRepair::DroppedTail, 0},
      {2, 0, 2, TStakesRepair::None, 2},
      {2, 0, 1, TStakesRepair::Emptied, 0},
      {1, 1, 7, TStakesRepair::Emptied, 0},
  };
  for (const auto& c : cases) {
    std::filesystem::remove(dir_ / "Kelmora_4r32.lsk.old");
    std::vector<uint8_t> bytes;
    for (size_t i = 0; i < c.Records; ++i) {
      uint8_t rec[StakeRecSize];
      EncodeStake(Stake(static_cast<int32_t>(i + 1), MakeComb(7, 8, 9, 10)), rec);
      bytes.insert(bytes.end(), rec, rec + StakeRecSize);
    }
    bytes.resize(bytes.size() + c.Extra, 0x33);
    if (!bytes.empty()) bytes[0] = c.Version;
    support::WriteFileAtomic(Lsk(), bytes);
    auto f = Open();
    EXPECT_EQ(f->Repair(), c.Repair) << c.Records << "+" << c.Extra;
    EXPECT_EQ(f->Count(), c.Kept);
    EXPECT_EQ(std::filesystem::file_size(Lsk()), c.Kept * StakeRecSize);
    if (c.Kept > 0) {
      EXPECT_EQ(f->Read(-1).DrawNumber, c.Kept);
    }
    const bool copied = std::filesystem::exists(dir_ / "Kelmora_4r32.lsk.old");
    EXPECT_EQ(copied, c.Repair == TStakesRepair::Emptied);
    if (copied) {
      EXPECT_EQ(support::ReadFileBytes(dir_ / "Kelmora_4r32.lsk.old"), bytes);
    }
    // An append goes after the whole records.
    f->Append(Stake(99, MakeComb(7, 7, 7, 7)), 1);
    EXPECT_EQ(f->Read(-1).DrawNumber, 99);
  }
}

TEST_F(StakesFileTest, LiteralScansAnswerAsTheIndexes) {
  // Two files with the same records, one asked through its indexes, one by reading it whole.
  auto indexed = Open();
  const auto other = dir_ / "other.lsk";
  auto literal = std::make_unique<TStakesFile>(std::make_unique<support::LockedFile>(other));
  literal->SetLiteralScans(true);
  for (auto* f : {indexed.get(), literal.get()}) {
    for (int i = 0; i < 700; ++i) f->Append(Stake(1 + i % 9, MakeComb(7 + i % 8, 7 + i / 8 % 8, 8, 9)), 1);
    f->StartGroup();
    f->Append(Stake(20, MakeComb(7, 7, 7, 7)), 1);
  }
  for (int32_t draw : {1, 5, 9, 20, 21})
    for (TComb comb : {MakeComb(7, 7, 8, 9), MakeComb(14, 14, 8, 9), MakeComb(7, 7, 7, 7), MakeComb(8, 7, 8, 9)})
      EXPECT_EQ(literal->Exists(draw, comb), indexed->Exists(draw, comb)) << draw;
  archive_ = {{1, MakeComb(7, 7, 8, 9)}, {5, MakeComb(8, 9, 10, 11)}, {20, MakeComb(7, 8, 7, 8)}};
  std::vector<TStakeRec> a, b;
  EXPECT_EQ(Check(*literal, &a), Check(*indexed, &b));
  EXPECT_EQ(a, b);
  archive_[9] = MakeComb(14, 13, 12, 11);
  EXPECT_EQ(Check(*literal, &a), Check(*indexed, &b));
  EXPECT_EQ(a, b);
  EXPECT_EQ(support::ReadFileBytes(other), support::ReadFileBytes(Lsk()));
}

}  // namespace
}  // namespace kelmora::stakes
