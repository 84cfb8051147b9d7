#include "stakes/stakes_file.h"

#include <algorithm>
#include <cstring>
#include <system_error>

#include <fmt/format.h>

#include "support/binary_io.h"
#include "support/error.h"
#include "support/files.h"

namespace kelmora::stakes {

namespace {

// Records read per call while scanning the whole file.
constexpr int64_t ScanChunk = 8192;

int32_t I32At(const uint8_t* p) {
  return static_cast<int32_t>(static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
                              static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24);
}

// The fields the indexes need, read straight from the bytes (no name conversion), so that opening
// a file of a million stakes stays fast.
struct TIndexFields {
  int32_t DrawNumber;
  bool Checked;
  int32_t ValueCount;
  TComb Values;
};

TIndexFields FieldsOf(const uint8_t* p) {
  return {I32At(p + 4), p[8] != 0, I32At(p + 16), static_cast<TComb>(I32At(p + 20))};
}

bool Qualifies(const TIndexFields& f) { return !f.Checked && f.DrawNumber > 0 && f.ValueCount >= 4; }

[[noreturn]] void NotFound(int64_t index) {
  support::Fail("Запись со индексом {} в файле данных не найдена!", index);
}

}  // namespace

void TStakeKeySet::Clear() {
  slots_.clear();
  size_ = 0;
  has_empty_key_ = false;
}

void TStakeKeySet::Reserve(size_t count) {
  size_t capacity = 16;
  while (capacity < count * 2) capacity *= 2;
  if (capacity <= slots_.size()) return;
  std::vector<uint64_t> old = std::move(slots_);
  slots_.assign(capacity, Empty);
  size_ = 0;
  for (uint64_t key : old)
    if (key != Empty) Insert(key);
}

size_t TStakeKeySet::Slot(uint64_t key) const {
  // splitmix64 finaliser: draw numbers and values fill only a few bits each.
  key ^= key >> 30;
  key *= 0xbf58476d1ce4e5b9ULL;
  key ^= key >> 27;
  key *= 0x94d049bb133111ebULL;
  key ^= key >> 31;
  return static_cast<size_t>(key) & (slots_.size() - 1);
}

void TStakeKeySet::Insert(uint64_t key) {
  if (key == Empty) {
    has_empty_key_ = true;
    return;
  }
  if ((size_ + 1) * 2 > slots_.size()) Reserve(size_ + 1);
  for (size_t i = Slot(key);; i = (i + 1) & (slots_.size() - 1)) {
    if (slots_[i] == key) return;
    if (slots_[i] == Empty) {
      slots_[i] = key;
      ++size_;
      return;
    }
  }
}

bool TStakeKeySet::Contains(uint64_t key) const {
  if (key == Empty) return has_empty_key_;
  if (slots_.empty()) return false;
  for (size_t i = Slot(key);; i = (i + 1) & (slots_.size() - 1)) {
    if (slots_[i] == key) return true;
    if (slots_[i] == Empty) return false;
  }
}

bool MatchesSatisfy(int matches, TMatchCompare cmp, int value) {
  switch (cmp) {
    case TMatchCompare::Equal: return matches == value;
    case TMatchCompare::Greater: return matches > value;
    case TMatchCompare::AtLeast: return matches >= value;
    case TMatchCompare::Less: return matches < value;
    case TMatchCompare::AtMost: return matches <= value;
  }
  return false;
}

TStakesFile::TStakesFile(std::unique_ptr<support::LockedFile> file) : file_(std::move(file)) {
  rename_ = [](support::LockedFile& from, const std::filesystem::path& to) { from.RenameTo(to); };
  Rebuild();
}

void TStakesFile::Rebuild() {
  cache_.reset();
  unchecked_.clear();
  exists_.Clear();
  count_ = file_->Size() / static_cast<int64_t>(StakeRecSize);
  exists_.Reserve(static_cast<size_t>(count_));
  std::vector<uint8_t> buffer;
  for (int64_t first = 0; first < count_; first += ScanChunk) {
    const int64_t n = std::min(ScanChunk, count_ - first);
    ReadRange(first, n, buffer);
    for (int64_t i = 0; i < n; ++i) {
      const TIndexFields f = FieldsOf(buffer.data() + i * StakeRecSize);
      if (Qualifies(f)) unchecked_.push_back(first + i);
      if (f.ValueCount == 4) exists_.Insert(ExistsKey(f.DrawNumber, f.Values));
    }
  }
}

void TStakesFile::Index(int64_t index, const TStakeRec& rec) {
  if (!rec.Checked && rec.DrawNumber > 0 && rec.ValueCount >= 4) unchecked_.push_back(index);
  if (rec.ValueCount == 4) exists_.Insert(ExistsKey(rec.DrawNumber, rec.Values));
}

void TStakesFile::ReadRange(int64_t first, int64_t n, std::vector<uint8_t>& buffer) const {
  const size_t bytes = static_cast<size_t>(n) * StakeRecSize;
  buffer.resize(bytes);
  if (file_->ReadAt(first * static_cast<int64_t>(StakeRecSize), buffer.data(), bytes) != bytes) {
    NotFound(first + n - 1);
  }
}

TStakesRepair TStakesFile::Repair() {
  const int64_t size = file_->Size();
  if (size == 0) return TStakesRepair::None;
  uint8_t version = 0;
  file_->ReadAt(0, &version, 1);
  if (version != StakeRecVersion) {
    // Nothing of an unknown format is thrown away without a copy beside it.
    std::vector<uint8_t> bytes(static_cast<size_t>(size));
    bytes.resize(file_->ReadAt(0, bytes.data(), bytes.size()));
    support::WriteFileAtomic(std::filesystem::path(Path().string() + ".old"), bytes);
    file_->Truncate(0);
    file_->Sync();
    Rebuild();
    return TStakesRepair::Emptied;
  }
  if (size % static_cast<int64_t>(StakeRecSize) == 0) return TStakesRepair::None;
  file_->Truncate(count_ * static_cast<int64_t>(StakeRecSize));
  file_->Sync();
  cache_.reset();
  return TStakesRepair::DroppedTail;
}

TStakeRec TStakesFile::Read(int64_t index) const {
  const int64_t absolute = index < 0 ? count_ + index : index;
  if (absolute < 0 || absolute >= count_) NotFound(index);
  if (cache_ && cache_->first == absolute) return cache_->second;
  uint8_t bytes[StakeRecSize];
  if (file_->ReadAt(absolute * static_cast<int64_t>(StakeRecSize), bytes, StakeRecSize) != StakeRecSize) {
    NotFound(index);
  }
  cache_.emplace(absolute, DecodeStake(bytes));
  return cache_->second;
}

void TStakesFile::Append(const TStakeRec& rec, int count) {
  if (rec.Checked) support::Fail("Добавление в конец файла уже проверенной ставки!");
  std::vector<TStakeRec> recs;
  if (count < 2) {
    recs.push_back(rec);
  } else {
    bool last_is_stake = count_ > 0 && Read(-1).DrawNumber > 0;
    for (int i = 1; i <= count; ++i) {
      if (last_is_stake) recs.push_back(SeparatorRec());
      TStakeRec copy = rec;
      copy.DrawNumber = rec.DrawNumber + (i - 1);
      recs.push_back(std::move(copy));
      last_is_stake = true;
    }
  }
  std::vector<uint8_t> bytes(recs.size() * StakeRecSize);
  for (size_t i = 0; i < recs.size(); ++i) EncodeStake(recs[i], bytes.data() + i * StakeRecSize);
  const int64_t old_size = count_ * static_cast<int64_t>(StakeRecSize);
  cache_.reset();
  try {
    file_->WriteAt(old_size, bytes.data(), bytes.size());
  } catch (...) {
    // A half-written group must not stay behind as records the grid would show.
    try {
      file_->Truncate(old_size);
    } catch (...) {
    }
    throw;
  }
  for (const auto& r : recs) Index(count_++, r);
}

void TStakesFile::StartGroup() {
  if (count_ == 0 || Read(-1).DrawNumber <= 0) return;
  Append(SeparatorRec(), 1);
}

bool TStakesFile::Exists(int32_t draw, TComb comb) const { return exists_.Contains(ExistsKey(draw, comb)); }

void TStakesFile::WriteRecord(int64_t index, const TStakeRec& rec) {
  uint8_t bytes[StakeRecSize];
  EncodeStake(rec, bytes);
  cache_.reset();
  file_->WriteAt(index * static_cast<int64_t>(StakeRecSize), bytes, StakeRecSize);
}

int TStakesFile::Check(const std::function<std::optional<TComb>(int32_t draw)>& lookup,
                       const lottery::TConfigData& config, const std::function<void(const TStakeRec&)>& on_checked,
                       const std::function<void(double percent)>& progress) {
  if (unchecked_.empty()) return 0;
  const int64_t first = unchecked_.front();
  const int64_t total = count_ - first;
  const int64_t step = std::max<int64_t>(1, total / 100);
  int64_t next_report = step;
  int checked = 0;
  std::vector<int64_t> remaining;
  size_t resume = 0;  // first index entry not yet dealt with
  try {
    for (size_t pos = 0; pos < unchecked_.size(); ++pos) {
      resume = pos;
      const int64_t index = unchecked_[pos];
      const int64_t done = index - first;
      if (progress && done >= next_report) {
        progress(100.0 * static_cast<double>(done) / static_cast<double>(total));
        next_report = (done / step + 1) * step;
      }
      TStakeRec rec = Read(index);
      const auto values = lookup(rec.DrawNumber);
      if (!values) {
        remaining.push_back(index);
        continue;
      }
      CheckStakeAgainst(rec, *values, config);
      WriteRecord(index, rec);
      ++checked;
      // The record is checked on file from here, whatever its consumers do.
      resume = pos + 1;
      on_checked(rec);
    }
  } catch (...) {
    remaining.insert(remaining.end(), unchecked_.begin() + static_cast<std::ptrdiff_t>(resume), unchecked_.end());
    unchecked_ = std::move(remaining);
    if (checked > 0) SyncOrDefer();
    throw;
  }
  unchecked_ = std::move(remaining);
  if (checked > 0) SyncOrDefer();
  return checked;
}

int64_t TStakesFile::Rewrite(const std::function<bool(int64_t index, const TStakeRec&)>& keep,
                             const std::filesystem::path& temp_path) {
  std::error_code ec;
  std::filesystem::remove(temp_path, ec);
  auto temp = std::make_unique<support::LockedFile>(temp_path);
  int64_t kept = 0;
  try {
    temp->Truncate(0);
    std::vector<uint8_t> in, out;
    for (int64_t first = 0; first < count_; first += ScanChunk) {
      const int64_t n = std::min(ScanChunk, count_ - first);
      ReadRange(first, n, in);
      out.clear();
      for (int64_t i = 0; i < n; ++i) {
        const uint8_t* bytes = in.data() + i * StakeRecSize;
        if (!keep(first + i, DecodeStake(bytes))) continue;
        out.insert(out.end(), bytes, bytes + StakeRecSize);
      }
      temp->WriteAt(kept * static_cast<int64_t>(StakeRecSize), out.data(), out.size());
      kept += static_cast<int64_t>(out.size() / StakeRecSize);
    }
    temp->Sync();
    try {
      rename_(*temp, Path());
    } catch (const std::exception& e) {
      support::Fail("Ошибка переименования / удаления временного файла ставок {}!\r\r{}", temp_path.string(),
                    e.what());
    }
  } catch (...) {
    temp.reset();
    std::filesystem::remove(temp_path, ec);
    throw;
  }
  // The renamed file carries the lock; the old one is released only now.
  const int64_t removed = count_ - kept;
  file_ = std::move(temp);
  Rebuild();
  return removed;
}

void TStakesFile::Clear() {
  cache_.reset();
  file_->Truncate(0);
  SyncOrDefer();
  Rebuild();
}

void TStakesFile::SyncOrDefer() {
  if (sync_deferred_) {
    sync_pending_ = true;
  } else {
    Sync();
  }
}

void TStakesFile::SetSyncDeferred(bool deferred) {
  sync_deferred_ = deferred;
  if (!deferred && sync_pending_) Sync();
}

}  // namespace kelmora::stakes
