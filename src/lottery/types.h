#pragma once
// The game's constants and the records every part of the program passes around.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kelmora::lottery {

constexpr int PositionCount = 4;   // suits s, h, d, c
constexpr int ValueMin = 7;
constexpr int ValueMax = 14;       // 11..14 are J, Q, K, A
constexpr int ValueCount = 8;
constexpr int CombsTotal = 4096;   // 8 to the power 4
constexpr int SumMin = 34;         // 7+8+9+10
constexpr int SumMax = 50;         // 14+13+12+11
constexpr int SumTolerance = (SumMax - SumMin) / 10;

inline constexpr std::array<const char*, PositionCount> PositionCaptions = {"s", "h", "d", "c"};

// Money: amount x 10000.
using Currency = int64_t;

// A combination: byte k (least significant first) holds the value of position k+1, so equal
// combinations are equal integers and a draw compares with a combination as one word.
using TComb = uint32_t;

constexpr uint8_t CombValue(TComb comb, int position) {  // position 0..3
  return static_cast<uint8_t>(comb >> (8 * position));
}
constexpr TComb MakeComb(int s, int h, int d, int c) {
  return static_cast<TComb>(static_cast<uint8_t>(s)) | static_cast<TComb>(static_cast<uint8_t>(h)) << 8 |
         static_cast<TComb>(static_cast<uint8_t>(d)) << 16 | static_cast<TComb>(static_cast<uint8_t>(c)) << 24;
}
constexpr TComb SetCombValue(TComb comb, int position, int value) {
  const int shift = 8 * position;
  return (comb & ~(TComb{0xFF} << shift)) | (static_cast<TComb>(static_cast<uint8_t>(value)) << shift);
}
// The combination with 0-based index n of the full set (position "s" in the outermost loop).
constexpr TComb CombOfIndex(int n) {
  return MakeComb(7 + n / 512, 7 + (n / 64) % 8, 7 + (n / 8) % 8, 7 + n % 8);
}
// The full-set index of a combination whose values are all 7..14.
constexpr int IndexOfComb(TComb comb) {
  return (CombValue(comb, 0) - 7) * 512 + (CombValue(comb, 1) - 7) * 64 + (CombValue(comb, 2) - 7) * 8 +
         (CombValue(comb, 3) - 7);
}

using TByteArray = std::vector<uint8_t>;
using TIntArray = std::vector<int32_t>;
using TCombsArray = std::vector<TComb>;

// One draw: its number, the drawn values, and the date text "dd/mm/yyyy" (empty when unknown;
// at most 10 characters).
struct TDrawRec {
  int32_t Number = 0;
  TComb Values = 0;
  std::string Date;

  bool operator==(const TDrawRec&) const = default;
};
using TDrawsArray = std::vector<TDrawRec>;

inline TComb CombOf(const TDrawRec& draw) { return draw.Values; }

// Up to four values with their count.
struct TNumberSet {
  int32_t Count = 0;
  std::array<uint8_t, 4> Values{};

  bool operator==(const TNumberSet&) const = default;
};

struct TMatchDistributionItem {
  int32_t Count = 0;
  long double Probability = 0;
};
// For m = 0..4 positional matches with a fixed combination: C(4,m) x 7^(4-m) and count/4096.
const std::array<TMatchDistributionItem, 5>& MatchDistribution();

struct TStatSimpleRec {
  int32_t Key = 0;
  int32_t Count = 0;
  bool operator==(const TStatSimpleRec&) const = default;
};
using TStatSimpleArray = std::vector<TStatSimpleRec>;

struct TRatingRec {
  std::string Name;  // at most 255 characters
  int32_t Count = 0;
  int32_t SumMatches = 0;
  std::array<int32_t, 5> ByMatches{};  // index = matches 0..4
  Currency Profit = 0;
  bool operator==(const TRatingRec&) const = default;
};
using TRatingsArray = std::vector<TRatingRec>;

struct TProfitDrawRec {
  int32_t Draw = 0;
  Currency Profit = 0;
  bool operator==(const TProfitDrawRec&) const = default;
};
using TProfitDrawArray = std::vector<TProfitDrawRec>;

struct TShemaRec {
  int32_t Value = 0;
  int32_t Count = 0;
  int32_t Draw = 0;
};
using TShemaArray = std::vector<TShemaRec>;

// Winnings for a stake with Overlap positional matches.
struct TProfitItem {
  uint8_t Overlap = 0;
  Currency Profit = 0;
  bool operator==(const TProfitItem&) const = default;
};

// Weights of the statistics rating column "Вес".
struct TCdlSettings {
  long double Count = 0;
  long double Deviation = -1;
  long double Level = 1;
  bool UsePercents = false;
  bool UseAbsValues = false;
  bool operator==(const TCdlSettings&) const = default;
};

// Segment number of each value in each position: [position 0..3][value - 7].
using TMatrixSegments = std::array<std::array<uint8_t, ValueCount>, PositionCount>;

constexpr TMatrixSegments AllSegmentsOne() {
  TMatrixSegments m{};
  for (auto& row : m) row.fill(1);
  return m;
}

// The analysis settings.
struct TConfigData {
  int32_t MatrixCols = 4;
  int32_t ChannelSize = 2;
  Currency Cost = 0;
  int32_t MaxStake = 4;
  std::vector<TProfitItem> Profits;
  TCdlSettings Cdl;
  TMatrixSegments MatrixSegments = AllSegmentsOne();
  bool operator==(const TConfigData&) const = default;
};

// Formulas of the three shredding statistics and the decimals each keeps.
struct TShreddingData {
  std::array<std::string, 3> Formula = {"(n1+n2)/(n3+n4)", "(n3+n4)/(n1+n2)", "(n1+n3)/(n2+n4)"};
  std::array<uint8_t, 3> Digits = {2, 2, 2};
  bool operator==(const TShreddingData&) const = default;
};

// Proxy settings. Mode 0 no proxy, 1 automatic choice from a public list, 2 manual.
struct TProxy {
  uint8_t Mode = 0;
  std::string Server;
  int32_t Port = 80;
  std::string Username;
  std::string Password;
  bool Saved = false;  // equal to the settings in the configuration file
  // "server:port" found by the automatic choice, in the service's order; absent until the first
  // search of a download (an empty list means a search found nothing).
  std::optional<std::vector<std::string>> Candidates;
};

// Stake kinds.
enum StakeKind : uint8_t { StakeManual = 1, StakeRegular = 2, StakeScript = 3, StakeSystem = 4 };

}  // namespace kelmora::lottery
