#include "stakes/stake_rec.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <system_error>
#include <vector>

#include <fmt/format.h>

#include "lottery/comb_ops.h"
#include "lottery/comb_text.h"
#include "support/binary_io.h"
#include "support/encoding.h"
#include "support/error.h"
#include "support/text.h"

namespace kelmora::stakes {

namespace {

void PutComb(support::BinaryWriter& w, TComb comb) {
  for (int p = 0; p < 4; ++p) w.U8(lottery::CombValue(comb, p));
}

TComb TakeComb(support::BinaryReader& r) {
  TComb comb = 0;
  for (int p = 0; p < 4; ++p) comb = lottery::SetCombValue(comb, p, r.U8());
  return comb;
}

// The first n values of a combination as card texts.
std::string ValuesText(TComb comb, int n, std::string_view separator) {
  std::vector<std::string> parts;
  for (int p = 0; p < std::clamp(n, 0, 4); ++p) parts.push_back(lottery::ValueToText(lottery::CombValue(comb, p)));
  return support::Join(parts, separator);
}

}  // namespace

TStakeRec SeparatorRec() { return TStakeRec{}; }

TStakeRec MakeStake(uint8_t kind, int32_t draw, TComb comb, std::string_view name, int32_t list_size,
                    const lottery::TConfigData& config) {
  TStakeRec rec;
  rec.Kind = kind;
  rec.DrawNumber = draw;
  rec.ListSize = list_size;
  rec.ValueCount = lottery::PositionCount;
  rec.Values = comb;
  rec.Name = std::string(name);
  rec.Profit = ComputeProfit(config, rec.ValueCount, -1);
  return rec;
}

void EncodeStake(const TStakeRec& rec, uint8_t* out) {
  support::BinaryWriter w;
  w.U8(rec.Version);
  w.U8(rec.Kind);
  w.Zeros(2);
  w.I32(rec.DrawNumber);
  w.U8(rec.Checked ? 1 : 0);
  w.Zeros(3);
  w.I32(rec.ListSize);
  w.I32(rec.ValueCount);
  PutComb(w, rec.Values);
  PutComb(w, rec.Results);
  w.I32(rec.Matches);
  w.Bytes(rec.MatchedValues.data(), rec.MatchedValues.size());
  w.Zeros(4);
  w.I64(rec.Profit);
  w.ShortString(rec.Name, StakeNameMax);
  std::memcpy(out, w.Data().data(), StakeRecSize);
}

TStakeRec DecodeStake(const uint8_t* in) {
  support::BinaryReader r(in, StakeRecSize);
  TStakeRec rec;
  rec.Version = r.U8();
  rec.Kind = r.U8();
  r.Skip(2);
  rec.DrawNumber = r.I32();
  rec.Checked = r.U8() != 0;
  r.Skip(3);
  rec.ListSize = r.I32();
  rec.ValueCount = r.I32();
  rec.Values = TakeComb(r);
  rec.Results = TakeComb(r);
  rec.Matches = r.I32();
  for (auto& v : rec.MatchedValues) v = r.U8();
  r.Skip(4);
  rec.Profit = r.I64();
  rec.Name = r.ShortString(StakeNameMax);
  return rec;
}

Currency ComputeProfit(const lottery::TConfigData& config, int /*value_count*/, int matches) {
  // A stake of this game is one combination of four values, so it always costs one Cost.
  Currency profit = -config.Cost;
  if (matches >= 0) {
    for (const auto& row : config.Profits) {
      if (row.Overlap == matches) {
        profit += row.Profit;
        break;
      }
    }
  }
  return profit;
}

void CheckStakeAgainst(TStakeRec& rec, TComb draw_values, const lottery::TConfigData& config) {
  rec.Checked = true;
  rec.Results = draw_values;
  rec.Matches = lottery::PositionalMatches(rec.Values, draw_values);
  const lottery::TNumberSet matched = lottery::MatchedValues(draw_values, rec.Values);
  rec.MatchedValues = {};
  for (int i = 0; i < std::min<int>(matched.Count, 4); ++i) rec.MatchedValues[i] = matched.Values[i];
  rec.Profit = ComputeProfit(config, rec.ValueCount, rec.Matches);
}

const std::array<const char*, StakeColumnCount>& StakeColumnCaptions() {
  static const std::array<const char*, StakeColumnCount> captions = {
      "№ тиража", "Вид ставки", "Моя ставка", "Выборка", "Результаты тиража",
      "Совпадений", "Совпадения", "Профит", "Комментарий"};
  return captions;
}

std::string StakeCellText(const TStakeRec& rec, int column, char decimal_separator) {
  if (rec.Kind == 0) return {};
  switch (column) {
    case 0: return std::to_string(rec.DrawNumber);
    case 1: return lottery::StakeKindText(rec.Kind);
    case 2: return ValuesText(rec.Values, rec.ValueCount, ";");
    case 3: return std::to_string(rec.ListSize);
    case 4: return rec.Checked ? ValuesText(rec.Results, 4, ";") : std::string();
    case 5: return rec.Checked ? std::to_string(rec.Matches) : std::string();
    case 6: {
      if (!rec.Checked) return {};
      std::vector<std::string> parts;
      for (uint8_t v : rec.MatchedValues)
        if (v != 0) parts.push_back(lottery::ValueToText(v));
      return support::Join(parts, " ");
    }
    case 7: return support::FormatMoney(rec.Profit, decimal_separator);
    case 8: return rec.Name;
    default: return {};
  }
}

std::filesystem::path StakeLogPath(const std::filesystem::path& dir, int matches) {
  return dir / fmt::format("Kelmora_4r32-{}.log", matches);
}

std::string StakeLogLine(const TStakeRec& rec, std::string_view time_text, char decimal_separator) {
  return fmt::format(
      "{}: Тираж № {}. Ставка: \"{}\" [{}] {{{}}}. Результаты тиража: [{}]. Совпадений: {}. Профит: {}.", time_text,
      rec.DrawNumber, rec.Name, ValuesText(rec.Values, rec.ValueCount, ";"), rec.ListSize,
      ValuesText(rec.Results, 4, ";"), rec.Matches, support::FormatMoney(rec.Profit, decimal_separator));
}

void WriteStakeLog(const std::filesystem::path& dir, const TStakeRec& rec, std::string_view time_text,
                   char decimal_separator, int64_t limit) {
  const auto path = StakeLogPath(dir, rec.Matches);
  std::error_code ec;
  const auto size = std::filesystem::file_size(path, ec);
  if (!ec && static_cast<int64_t>(size) > limit && !std::filesystem::remove(path, ec)) {
    support::Fail("Ошибка удаления файла \"{}\"!\r\r{}", path.string(), ec.message());
  }
  std::ofstream f(path, std::ios::binary | std::ios::app);
  f << support::Utf8ToCp1251(StakeLogLine(rec, time_text, decimal_separator)) << "\r\n";
  f.flush();
  if (!f) support::Fail("Ошибка записи в файл \"{}\"!\r\r{}", path.string(), std::strerror(errno));
}

}  // namespace kelmora::stakes
