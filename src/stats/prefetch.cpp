#include "stats/prefetch.h"

#include <algorithm>
#include <system_error>

#include <fmt/format.h>

#include "support/binary_io.h"
#include "support/error.h"
#include "support/files.h"

namespace kelmora::stats {

std::filesystem::path PrefetchPath(const std::filesystem::path& data_dir, std::string_view code) {
  return data_dir / "Prefetchs" / fmt::format("Kelmora_4r32_{}.dfc", code);
}

std::vector<uint8_t> EncodePrefetch(const TPrefetchData& data) {
  support::BinaryWriter w;
  w.Data().reserve((data.Records.size() + 1) * PrefetchRecordSize);
  for (const auto& r : data.Records) {
    w.U16(r.Key1);
    w.U16(r.Key2);
    w.U16(r.Key3);
    w.U16(r.Key4);
    w.I32(r.Count);
  }
  w.I32(data.MinCount);
  w.I32(data.MaxCount);
  w.Zeros(4);
  return std::move(w.Data());
}

TPrefetchData DecodePrefetch(const std::vector<uint8_t>& bytes) {
  if (bytes.size() < PrefetchRecordSize) {
    support::Fail("Неверный размер файла: {} байт", bytes.size());
  }
  const size_t trailer = bytes.size() - PrefetchRecordSize;
  TPrefetchData data;
  support::BinaryReader tail(bytes.data() + trailer, PrefetchRecordSize);
  data.MinCount = tail.I32();
  data.MaxCount = tail.I32();
  support::BinaryReader r(bytes.data(), trailer);
  data.Records.reserve(trailer / PrefetchRecordSize);
  while (r.Remaining() >= PrefetchRecordSize) {
    TPrefetchRecord rec;
    rec.Key1 = r.U16();
    rec.Key2 = r.U16();
    rec.Key3 = r.U16();
    rec.Key4 = r.U16();
    rec.Count = r.I32();
    data.Records.push_back(rec);
  }
  return data;
}

TPrefetchData ComputePrefetch(const TStatList& list, int entry) {
  auto stat = list.CreateStat(entry);
  TStatDrawArray values;
  for (int n = 0; n < lottery::CombsTotal; ++n) stat->AddCombValues(lottery::CombOfIndex(n), values);
  SortByKeys(values);
  TPrefetchData data;
  data.Records.reserve(values.size());
  for (const auto& v : values) {
    data.Records.push_back({v.Key1, v.Key2, v.Key3, v.Key4, v.Count});
    data.MinCount = std::min(data.MinCount, v.Count);
    data.MaxCount = std::max(data.MaxCount, v.Count);
  }
  return data;
}

TPrefetchData BuildPrefetch(const TStatList& list, int entry, const std::filesystem::path& data_dir) {
  const auto path = PrefetchPath(data_dir, list.Items(entry).Code());
  try {
    std::error_code ec;
    std::filesystem::create_directories(path.parent_path(), ec);
    if (ec) support::Fail("Не удалось создать папку \"{}\": {}", path.parent_path().string(), ec.message());
    TPrefetchData data = ComputePrefetch(list, entry);
    support::WriteFileAtomic(path, EncodePrefetch(data));
    return data;
  } catch (...) {
    // A file left from other settings would give wrong norms; without it the next use rebuilds.
    std::error_code ec;
    std::filesystem::remove(path, ec);
    throw;
  }
}

TPrefetchData OpenPrefetch(const TStatList& list, int entry, const std::filesystem::path& data_dir) {
  const auto path = PrefetchPath(data_dir, list.Items(entry).Code());
  if (support::FileExists(path)) {
    std::vector<uint8_t> bytes = support::ReadFileBytes(path);
    if (!bytes.empty()) return DecodePrefetch(bytes);
  }
  return BuildPrefetch(list, entry, data_dir);
}

std::vector<TPrefetchFailure> BuildAllPrefetches(const TStatList& list, const std::filesystem::path& data_dir,
                                                 bool force, bool prefetchs_enabled, TGroupSet groups,
                                                 TProgressSink* progress) {
  std::vector<TPrefetchFailure> failures;
  if (!force && !prefetchs_enabled) return failures;
  if (progress) progress->Begin("Создание файлов для полного набора комбинаций...", list.Count());
  for (int i = 0; i < list.Count(); ++i) {
    if (progress && progress->Cancelled()) break;
    if (list.HasNorm(i)) {
      const TStatMethod& m = list.Items(i);
      const auto path = PrefetchPath(data_dir, m.Code());
      const bool in_groups = m.StatClass->Group < 16 && (groups >> m.StatClass->Group) & 1;
      if (!support::FileExists(path) || in_groups) {
        if (progress) progress->Status(fmt::format("Создание файла предварительной выборки {}...",
                                                   path.filename().string()));
        try {
          BuildPrefetch(list, i, data_dir);
        } catch (const std::exception& e) {
          failures.push_back({path, e.what()});
        }
      }
    }
    if (progress) progress->Step(i + 1);
  }
  if (progress) progress->End();
  return failures;
}

}  // namespace kelmora::stats
