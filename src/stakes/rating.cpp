#include "stakes/rating.h"

#include <cmath>
#include <utility>

#include <fmt/format.h>

#include "lottery/comb_ops.h"
#include "support/binary_io.h"
#include "support/encoding.h"
#include "support/error.h"
#include "support/files.h"
#include "support/text.h"

namespace kelmora::stakes {

namespace {

int Sign(long double v) { return v > 0 ? 1 : v < 0 ? -1 : 0; }

// The sign of round(100 x difference) with ties to even: only |x| > 0.5 rounds away from 0, so
// this is the sign of nearbyint(x) without its cost (a sort compares thousands of times).
inline int RoundedHundredths(long double difference) {
  const long double x = 100 * difference;
  return x > 0.5L ? 1 : x < -0.5L ? -1 : 0;
}

long double MoneyReal(lottery::Currency amount) { return static_cast<long double>(amount) / 10000; }

// Case-sensitive, in alphabetical order first: letters that differ only in case decide last, the
// small letter before the capital, as the system's locale comparison orders them.
int CompareNames(const std::string& a, const std::string& b) {
  const int folded = support::CompareText(a, b);
  if (folded != 0) return folded;
  const int exact = a.compare(b);
  return exact == 0 ? 0 : exact < 0 ? 1 : -1;
}

std::string Quoted(std::string_view text) {
  std::string out = "\"";
  for (char c : text) {
    if (c == '"') out += '"';
    out += c;
  }
  return out + "\"";
}

// Profit / Count rounded to currency units.
lottery::Currency AverageProfit(const TRatingRec& rec) {
  return static_cast<lottery::Currency>(
      std::nearbyint(static_cast<long double>(rec.Profit) / static_cast<long double>(rec.Count)));
}

}  // namespace

void AddStakeToRating(TRatingsArray& rating, const TStakeRec& stake) {
  if (stake.Matches < 0) return;
  lottery::AddRating(rating, stake.Name, stake.Matches, stake.Profit);
}

int CompareRating(const TRatingRec& a, const TRatingRec& b, int column) {
  if (a.Count == 0 || b.Count == 0) return 0;
  switch (column) {
    case 0: return CompareNames(a.Name, b.Name);
    case 1: return Sign(static_cast<long double>(a.Count) - b.Count);
    case 2: return Sign(static_cast<long double>(a.SumMatches) - b.SumMatches);
    case 3:
      return RoundedHundredths(static_cast<long double>(a.SumMatches) / a.Count -
                               static_cast<long double>(b.SumMatches) / b.Count);
    case 4: return RoundedHundredths(MoneyReal(a.Profit) - MoneyReal(b.Profit));
    case 5: return RoundedHundredths(MoneyReal(a.Profit) / a.Count - MoneyReal(b.Profit) / b.Count);
    case 6: case 7: case 8: case 9: case 10:
      return Sign(static_cast<long double>(a.ByMatches[column - 6]) - b.ByMatches[column - 6]);
    default: return 0;
  }
}

namespace {

// Hoare partitioning with the scans bounded by the range: a comparison that is not a strict weak
// ordering may give a poor order but never a read outside the array (std::sort promises neither).
// The same steps over records or over their keys give the same order.
template <typename T, typename Cmp>
void HoareSort(std::vector<T>& a, Cmp cmp) {
  std::vector<std::pair<ptrdiff_t, ptrdiff_t>> ranges = {{0, static_cast<ptrdiff_t>(a.size()) - 1}};
  while (!ranges.empty()) {
    auto [l, r] = ranges.back();
    ranges.pop_back();
    while (l < r) {
      const T pivot = a[static_cast<size_t>(l + (r - l) / 2)];
      ptrdiff_t i = l, j = r;
      while (i <= j) {
        int ci, cj;
        while ((ci = cmp(a[static_cast<size_t>(i)], pivot)) < 0 && i < r) ++i;
        while ((cj = cmp(a[static_cast<size_t>(j)], pivot)) > 0 && j > l) --j;
        if (i > j) break;
        if (i < j && !(ci == 0 && cj == 0)) std::swap(a[static_cast<size_t>(i)], a[static_cast<size_t>(j)]);
        ++i;
        --j;
      }
      // Both parts are strictly smaller than [l, r]; the larger one waits, the smaller goes on.
      if (j - l < r - i) {
        if (i < r) ranges.emplace_back(i, r);
        r = j;
      } else {
        if (l < j) ranges.emplace_back(l, j);
        l = i;
      }
    }
  }
}

// What CompareRating reads of a record for a numeric column, worked out once per record: the
// quotients and amounts are the very long double values it computes.
struct WholeKey {
  int64_t Whole = 0;
  int32_t Count = 0;
  int32_t Index = 0;
};

struct RealKey {
  long double Value = 0;
  double Approx = 0;  // Value rounded to double, with its magnitude for the error bound
  int32_t Count = 0;
  int32_t Index = 0;
};

bool KeyedColumn(int column) { return column >= 1 && column <= 10; }
bool RealColumn(int column) { return column >= 3 && column <= 5; }

long double RealOf(const TRatingRec& rec, int column) {
  switch (column) {
    case 3: return static_cast<long double>(rec.SumMatches) / rec.Count;
    case 4: return MoneyReal(rec.Profit);
    default: return MoneyReal(rec.Profit) / rec.Count;
  }
}

int64_t WholeOf(const TRatingRec& rec, int column) {
  switch (column) {
    case 1: return rec.Count;
    case 2: return rec.SumMatches;
    default: return rec.ByMatches[static_cast<size_t>(column - 6)];
  }
}

// RoundedHundredths of the long double difference, decided in double arithmetic where the double
// result lies clearly off the rounding boundaries: its error is below 1e-13 of the operands'
// magnitudes, far inside the margin, so only a near-tie goes to the long double comparison.
inline int RoundedHundredthsOf(const RealKey& a, const RealKey& b) {
  const double x = 100.0 * (a.Approx - b.Approx);
  const double margin = 1e-9 * (1.0 + std::fabs(a.Approx) + std::fabs(b.Approx));
  if (x > 0.5 + margin) return 1;
  if (x < -0.5 - margin) return -1;
  if (x < 0.5 - margin && x > -0.5 + margin) return 0;
  return RoundedHundredths(a.Value - b.Value);
}

// The records in the order of the sorted keys. The scratch vector keeps its capacity, so that a
// rating sorted after every check does not allocate each time.
template <typename Key>
void Reorder(TRatingsArray& rating, const std::vector<Key>& keys) {
  thread_local TRatingsArray sorted;
  sorted.clear();
  sorted.reserve(rating.size());
  for (const auto& k : keys) sorted.push_back(std::move(rating[static_cast<size_t>(k.Index)]));
  rating.swap(sorted);
}

}  // namespace

void SortRatingByRecords(TRatingsArray& rating, int column, bool descending) {
  if (column < 0 || rating.size() < 2) return;
  HoareSort(rating, [&](const TRatingRec& a, const TRatingRec& b) {
    const int r = CompareRating(a, b, column);
    return descending ? -r : r;
  });
}

void SortRating(TRatingsArray& rating, int column, bool descending) {
  if (column < 0 || rating.size() < 2) return;
  if (!KeyedColumn(column)) return SortRatingByRecords(rating, column, descending);
  const int sign = descending ? -1 : 1;
  if (RealColumn(column)) {
    thread_local std::vector<RealKey> keys;
    keys.clear();
    for (size_t i = 0; i < rating.size(); ++i) {
      RealKey k;
      k.Count = rating[i].Count;
      k.Index = static_cast<int32_t>(i);
      if (k.Count != 0) {
        k.Value = RealOf(rating[i], column);
        k.Approx = static_cast<double>(k.Value);
      }
      keys.push_back(k);
    }
    HoareSort(keys, [sign](const RealKey& a, const RealKey& b) {
      return a.Count == 0 || b.Count == 0 ? 0 : sign * RoundedHundredthsOf(a, b);
    });
    Reorder(rating, keys);
  } else {
    thread_local std::vector<WholeKey> keys;
    keys.clear();
    for (size_t i = 0; i < rating.size(); ++i) {
      WholeKey k;
      k.Count = rating[i].Count;
      k.Index = static_cast<int32_t>(i);
      if (k.Count != 0) k.Whole = WholeOf(rating[i], column);
      keys.push_back(k);
    }
    HoareSort(keys, [sign](const WholeKey& a, const WholeKey& b) {
      return a.Count == 0 || b.Count == 0 ? 0 : sign * (a.Whole < b.Whole ? -1 : a.Whole > b.Whole ? 1 : 0);
    });
    Reorder(rating, keys);
  }
}

std::vector<uint8_t> EncodeRating(const TRatingsArray& rating) {
  support::BinaryWriter w;
  for (const auto& rec : rating) {
    w.ShortString(rec.Name, 255);
    w.I32(rec.Count);
    w.I32(rec.SumMatches);
    for (int32_t n : rec.ByMatches) w.I32(n);
    w.Zeros(4);
    w.I64(rec.Profit);
  }
  return std::move(w.Data());
}

TRatingsArray ReadRatingFile(const std::filesystem::path& path, std::string* problem) {
  TRatingsArray rating;
  if (!support::FileExists(path)) return rating;
  try {
    const auto bytes = support::ReadFileBytes(path);
    support::BinaryReader r(bytes);
    while (r.Remaining() >= RatingRecSize) {
      TRatingRec rec;
      rec.Name = r.ShortString(255);
      rec.Count = r.I32();
      rec.SumMatches = r.I32();
      for (auto& n : rec.ByMatches) n = r.I32();
      r.Skip(4);
      rec.Profit = r.I64();
      rating.push_back(std::move(rec));
    }
    if (r.Remaining() != 0) {
      support::Fail("Размер файла \"{}\" не кратен размеру записи ({} байт)", path.string(), RatingRecSize);
    }
  } catch (const std::exception& e) {
    if (problem) *problem = e.what();
  }
  return rating;
}

void WriteRatingFile(const std::filesystem::path& path, const TRatingsArray& rating) {
  support::WriteFileAtomic(path, EncodeRating(rating));
}

const std::array<const char*, RatingColumnCount>& RatingColumnCaptions() {
  static const std::array<const char*, RatingColumnCount> captions = {
      "Комментарий", "Ставок", "Угадано", "Среднее", "Профит", "Ср. профит", "0", "1",
      "2", "3", "4", "E0", "E1", "E2", "E3", "E4"};
  return captions;
}

std::string RatingCellText(const TRatingRec& rec, int column, int eff_mode, char sep) {
  const int n = rec.Count;
  switch (column) {
    case 0: return rec.Name;
    case 1: return std::to_string(n);
    case 2: return std::to_string(rec.SumMatches);
    case 3: return n == 0 ? std::string() : support::FormatFixed(static_cast<long double>(rec.SumMatches) / n, 3, sep);
    case 4: return support::FormatMoney(rec.Profit, sep);
    case 5: return n == 0 ? std::string() : support::FormatMoney(AverageProfit(rec), sep);
    case 6: case 7: case 8: case 9: case 10: return std::to_string(rec.ByMatches[column - 6]);
    case 11: case 12: case 13: case 14: case 15: {
      if (n == 0) return {};
      const int i = column - 11;
      const long double p = lottery::MatchDistribution()[i].Probability;
      const long double hits = rec.ByMatches[i];
      switch (eff_mode) {
        case 0: return fmt::format("{}", static_cast<int64_t>(std::nearbyint(n * p)));
        case 1: return support::FormatFixed(100 * hits / n - 100 * p, 3, sep) + "%";
        default: return support::FormatFixed(100 * hits / (n * p), 3, sep) + "%";
      }
    }
    default: return {};
  }
}

std::string RatingsCsv(const TRatingsArray& rating, char sep) {
  std::vector<std::string> header;
  for (const char* caption : RatingColumnCaptions()) header.push_back(Quoted(caption));
  std::string text = support::Join(header, ";") + "\r\n";
  for (const auto& rec : rating) {
    std::vector<std::string> cells = {Quoted(rec.Name), std::to_string(rec.Count), std::to_string(rec.SumMatches)};
    for (int column = 3; column <= 10; ++column) cells.push_back(RatingCellText(rec, column, 1, sep));
    text += support::Join(cells, ";") + "\r\n";
  }
  return support::Utf8ToCp1251(text);
}

}  // namespace kelmora::stakes
