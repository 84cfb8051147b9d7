#pragma once
// The stakes file Kelmora_4r32.lsk: fixed 304-byte records, no header, held open with the exclusive
// lock for the program's life and read and written only through that descriptor. Two indexes kept
// in memory make checking cost what the unchecked stakes cost and StakeExists a lookup; the file
// content stays exactly the records the program wrote.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "stakes/stake_rec.h"
#include "support/platform.h"

namespace kelmora::stakes {

// What opening found wrong with the file and repaired.
enum class TStakesRepair {
  None,
  DroppedTail,  // the size was not a multiple of 304: the partial last record was cut off
  Emptied,      // the first record's version was not 2: a copy was kept as ".old", the file emptied
};

// Comparisons of DeleteStakesByMatches, in the order of the condition dialog.
enum class TMatchCompare { Equal = 0, Greater = 1, AtLeast = 2, Less = 3, AtMost = 4 };
bool MatchesSatisfy(int matches, TMatchCompare cmp, int value);

// A set of 64-bit keys with open addressing: no allocation per key, so a million keys are built in
// a few milliseconds and looked up with one or two cache misses.
class TStakeKeySet {
 public:
  void Clear();
  void Reserve(size_t count);
  void Insert(uint64_t key);
  bool Contains(uint64_t key) const;

 private:
  static constexpr uint64_t Empty = ~uint64_t{0};
  size_t Slot(uint64_t key) const;
  void Grow();
  std::vector<uint64_t> slots_;
  size_t size_ = 0;
  bool has_empty_key_ = false;
};

class TStakesFile {
 public:
  // Takes the locked file and builds the indexes from its whole records. Throws Error when the
  // file cannot be read.
  explicit TStakesFile(std::unique_ptr<support::LockedFile> file);

  const std::filesystem::path& Path() const { return file_->Path(); }
  int64_t Count() const { return count_; }
  int64_t ByteSize() const { return file_->Size(); }

  // The start-up check of an old or damaged file. A partial tail is cut off; a file whose first
  // record is not version 2 is copied to "<path>.old" and emptied. Throws Error on I/O failure.
  TStakesRepair Repair();

  // Record index from the start, or index places from the end for negative indices (-1 = last).
  // Throws Error "Запись со индексом %d в файле данных не найдена!" when it is not whole in the file.
  TStakeRec Read(int64_t index) const;

  // Appends one stake (count < 2) or count copies for consecutive draws, each preceded by a
  // separator unless the file is empty or ends with one. All records go with one write. Throws
  // Error for a checked stake ("Добавление в конец файла уже проверенной ставки!") or a failed
  // write (the file is then cut back to its old size).
  void Append(const TStakeRec& rec, int count);
  // Appends a separator unless the file is empty or its last record is a separator.
  void StartGroup();
  // Whether a record with that draw number and exactly these four values exists.
  bool Exists(int32_t draw, TComb comb) const;

  // Indices of the records checking would look at (Checked 0, DrawNumber > 0, ValueCount >= 4),
  // ascending.
  const std::vector<int64_t>& Unchecked() const { return unchecked_; }
  // Checks the unchecked stakes whose draw number lookup finds: each is rewritten in place with one
  // write and handed to on_checked. progress gets 0..100 once per percent of the records from the
  // first unchecked one to the end. Returns how many were checked; a failure throws Error and the
  // stakes checked before it stay checked. The file is flushed to disk when any was checked.
  int Check(const std::function<std::optional<TComb>(int32_t draw)>& lookup, const lottery::TConfigData& config,
            const std::function<void(const TStakeRec&)>& on_checked,
            const std::function<void(double percent)>& progress);

  // Rewrites the file without the records keep rejects: they are copied into temp_path, which is
  // flushed and renamed over the file (the lock goes with it). On failure the old file stays whole
  // and open, and Error is thrown ("Ошибка переименования / удаления временного файла ставок %s!"
  // with the reason when the rename fails). Returns how many records were removed.
  int64_t Rewrite(const std::function<bool(int64_t index, const TStakeRec&)>& keep,
                  const std::filesystem::path& temp_path);
  // Empties the file.
  void Clear();
  // Flushes the written records to the disk.
  void Sync() {
    file_->Sync();
    sync_pending_ = false;
  }
  // While deferred, checking and clearing leave their flush for later (a script run checks after
  // every variant); ending the deferral flushes what is pending.
  void SetSyncDeferred(bool deferred);
  // Replaces the rename of Rewrite (a seam for fault tests).
  void SetRenameForTest(std::function<void(support::LockedFile&, const std::filesystem::path&)> rename) {
    rename_ = std::move(rename);
  }

 private:
  static uint64_t ExistsKey(int32_t draw, TComb comb) {
    return (static_cast<uint64_t>(static_cast<uint32_t>(draw)) << 32) | comb;
  }
  void Index(int64_t index, const TStakeRec& rec);
  void Rebuild();
  // Reads records [first, first + n) into buffer; whole records only.
  void ReadRange(int64_t first, int64_t n, std::vector<uint8_t>& buffer) const;
  void WriteRecord(int64_t index, const TStakeRec& rec);
  void SyncOrDefer();

  std::unique_ptr<support::LockedFile> file_;
  int64_t count_ = 0;
  std::vector<int64_t> unchecked_;
  TStakeKeySet exists_;
  // The one-record cache of the grid's reads, dropped at every write.
  mutable std::optional<std::pair<int64_t, TStakeRec>> cache_;
  bool sync_deferred_ = false;
  bool sync_pending_ = false;
  std::function<void(support::LockedFile&, const std::filesystem::path&)> rename_;
};

}  // namespace kelmora::stakes
