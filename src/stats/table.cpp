#include "stats/table.h"

#include <algorithm>
#include <cmath>
#include <numeric>
#include <optional>

#include <fmt/format.h>

#include "lottery/draws.h"
#include "support/text.h"

namespace kelmora::stats {

namespace {

constexpr std::array<const char*, StatColumnCount> Captions = {
    "Значение",   "Количество", "Кол-во в %", "Норма",    "Отклонение", "Откл-ие в %", "Глубина",
    "Глубина в %", "Вес",       "Посл. тираж", "Период min", "Период",   "Период max", "Ожд. ПРД",
    "Ожд. СТФ",   "Ожд. КРН",   "Факт",       "+/- ПРД",  "+/- СТФ",    "+/- КРН"};

const char* const Dash = "-";

// Round to nearest, ties to even, as std::nearbyint does in the default rounding mode, without the
// library call's floating-point environment work (three calls per row made it a tenth of a table).
int64_t Round(long double v) {
  if (!(std::fabs(v) < 9.0e18L)) return static_cast<int64_t>(std::nearbyint(v));
  int64_t f = static_cast<int64_t>(v);
  if (static_cast<long double>(f) > v) --f;  // floor for negatives
  const long double frac = v - static_cast<long double>(f);
  if (frac > 0.5L || (frac == 0.5L && (f & 1) != 0)) ++f;
  return f;
}

// "," -> "." then the whole text as a number, or nothing.
std::optional<long double> SortNumber(std::string_view text) {
  if (text.empty()) return std::nullopt;
  std::string s(text);
  std::replace(s.begin(), s.end(), ',', '.');
  return support::ParseReal(s);
}

int CompareParsed(const std::optional<long double>& na, std::string_view a, const std::optional<long double>& nb,
                  std::string_view b) {
  if (na && nb) return *na < *nb ? -1 : *na > *nb ? 1 : 0;
  const int c = support::CompareText(a, b);
  return c < 0 ? -1 : c > 0 ? 1 : 0;
}

constexpr long double Pow10[] = {1.0L, 10.0L, 100.0L, 1000.0L, 10000.0L, 100000.0L};

// The number a text of FormatFixed reads as, taken from the digits just written rather than by a
// second parse. The quotient is rounded once, exactly as reading the text would round it; anything
// unusual (a separator other than "." or ",", a long mantissa, inf) takes the reading itself.
std::optional<long double> FixedTextNumber(std::string_view text, int decimals, char sep) {
  size_t i = 0;
  const bool negative = !text.empty() && text[0] == '-';
  if (negative) ++i;
  uint64_t k = 0;
  int digits = 0;
  bool separated = false;
  bool plain = (sep == '.' || sep == ',') && decimals >= 0 && decimals <= 5;
  for (; plain && i < text.size(); ++i) {
    const char ch = text[i];
    if (ch >= '0' && ch <= '9') {
      plain = ++digits <= 18;
      k = k * 10 + static_cast<uint64_t>(ch - '0');
    } else {
      plain = !separated && ch == sep && text.size() - i - 1 == static_cast<size_t>(decimals);
      separated = true;
    }
  }
  if (!plain || digits == 0 || separated != (decimals > 0)) return SortNumber(text);
  const long double v = static_cast<long double>(k) / Pow10[decimals];
  return negative ? -v : v;
}

void SetInt(TStatRow& row, StatColumn c, int64_t v) { row.SetCell(c, std::to_string(v), static_cast<long double>(v)); }

void SetFixed(TStatRow& row, StatColumn c, long double v, int decimals, char sep) {
  std::string text = support::FormatFixed(v, decimals, sep);
  const auto number = FixedTextNumber(text, decimals, sep);
  row.SetCell(c, std::move(text), number);
}

void SetDashes(TStatRow& row, StatColumn from, StatColumn to) {
  // One character assigned, not the C string: GCC 12 at -O3 reports a false -Wrestrict inside
  // std::string's assignment from a pointer once this is inlined.
  for (size_t i = ColumnIndex(from); i <= ColumnIndex(to); ++i) row.Cells[i].assign(1, '-');
  const uint32_t bits = ((1u << (ColumnIndex(to) + 1)) - 1) & ~((1u << ColumnIndex(from)) - 1);
  row.NumberMask &= ~bits;
}

void SetDelta(TStatRow& row, StatColumn c, StatColumn expected, int32_t fact) {
  const auto e = row.Number(expected);
  const std::optional<int64_t> whole = e ? std::optional<int64_t>(static_cast<int64_t>(*e)) : std::nullopt;
  std::string text = DeltaText(whole, fact);
  const std::optional<long double> number =
      whole && *whole >= 0 ? std::optional<long double>(static_cast<long double>(*whole - fact)) : std::nullopt;
  row.SetCell(c, std::move(text), number);
}

void FillCells(TStatRow& row, TCustomStat& stat, const TStatTable& t, const TStatTableInput& in,
               const lottery::TCdlSettings& cdl, int32_t fact_of_row) {
  using C = StatColumn;
  const TStatDrawItem& r = row.Item;
  const char sep = in.DecimalSeparator;
  row.NumberMask = 0;
  row.SetCell(C::Value, stat.ValueText(r));
  SetInt(row, C::Count, r.Count);
  if (t.Total == 0) {
    SetDashes(row, C::CountPct, C::CountPct);
  } else {
    SetFixed(row, C::CountPct, static_cast<long double>(r.Count) * 100 / t.Total, 5, sep);
  }
  if (t.NormMode) {
    SetInt(row, C::Norm, r.Norm);
    SetInt(row, C::Deviation, static_cast<int64_t>(r.Count) - r.Norm);
    long double pct = 0;
    if (r.Norm != 0) {
      pct = (static_cast<long double>(r.Count) - r.Norm) * 100 / r.Norm;
    } else {
      pct = r.Count == 0 ? 0 : 100;
    }
    SetFixed(row, C::DeviationPct, pct, 5, sep);
  } else {
    SetDashes(row, C::Norm, C::DeviationPct);
  }
  if (r.Depth == 0) {
    SetDashes(row, C::Depth, C::DeltaKrn);
    return;
  }
  SetInt(row, C::Depth, r.Depth);
  SetFixed(row, C::DepthPct, static_cast<long double>(r.Depth) * 100 / t.MaxDepth, 2, sep);
  SetFixed(row, C::Weight, StatWeight(cdl, r, t.NormMode, t.Total, t.MaxDepth), 2, sep);
  SetInt(row, C::LastDraw, r.LastDraw);
  const long double n = t.WindowDraws;
  if (r.Count < 2) {
    SetDashes(row, C::PeriodMin, C::ExpectedPrd);
  } else {
    SetInt(row, C::PeriodMin, r.MinPeriod);
    SetFixed(row, C::Period, n / r.Count, 4, sep);
    SetInt(row, C::PeriodMax, r.MaxPeriod);
    SetInt(row, C::ExpectedPrd, Round(n / r.Count + r.LastDraw));
  }
  if (r.Count < 1) {
    SetDashes(row, C::ExpectedStf, C::DeltaKrn);
    return;
  }
  const long double count = r.Count;
  SetInt(row, C::ExpectedStf, Round((count + 1) * r.LastDraw / count));
  SetInt(row, C::ExpectedKrn, Round((count + 2) * (static_cast<long double>(r.LastDraw) + 1) / (count + 1)));
  const int32_t fact = fact_of_row;
  if (fact < 0) {
    SetDashes(row, C::Fact, C::DeltaKrn);
    return;
  }
  SetInt(row, C::Fact, fact);
  SetDelta(row, C::DeltaPrd, C::ExpectedPrd, fact);
  SetDelta(row, C::DeltaStf, C::ExpectedStf, fact);
  SetDelta(row, C::DeltaKrn, C::ExpectedKrn, fact);
}

constexpr int32_t FactPending = -2;

// "Факт" of every value: the number of the first draw after the value's last occurrence that holds
// it again. Done per value by NextOccurrence, that is one scan of the later draws per row. When the
// statistic keeps no state between draws, the draws between a value's last occurrence and the
// window's end cannot hold it, so all values share one scan of the draws after the window, which
// stops once every value is found. A value whose last draw number leads to another index (numbers
// repeat in the archive) takes the per-row search, so the result is the same in every case.
void FindFacts(TCustomStat& stat, TStatTable& t, const TStatTableInput& in) {
  const auto& draws = in.List->Draws();
  const TStatDrawArray& values = t.Values;
  t.Facts.assign(values.size(), -1);
  int pending = 0;
  for (size_t i = 0; i < values.size(); ++i) {
    const TStatDrawItem& r = values[i];
    if (r.Depth == 0 || r.Count < 1) continue;
    const int from = lottery::FindDrawByNumber(draws, r.LastDraw) + 1;
    if (!stat.KeepsScanState() && from - 1 == t.LastIdx - r.Depth + 1) {
      t.Facts[i] = FactPending;
      ++pending;
    } else {
      t.Facts[i] = stat.NextOccurrence(r, from, t.LastIdx, in.Sorted);
    }
  }
  TStatWork work;
  const int last = static_cast<int>(draws.size()) - 1;
  for (int d = t.LastIdx + 1; d <= last && pending > 0; ++d) {
    t.ScanValues.clear();
    t.ScanLastValues.clear();
    stat.AddDrawValues(d, t.LastIdx, in.Sorted, t.ScanValues, work, t.ScanLastValues);
    for (const auto& item : t.ScanValues) {
      const int i = FindItem(values, item);
      if (i >= 0 && t.Facts[static_cast<size_t>(i)] == FactPending) {
        t.Facts[static_cast<size_t>(i)] = item.LastDraw;
        --pending;
      }
    }
  }
  for (auto& f : t.Facts)
    if (f == FactPending) f = -1;
}

void BuildChart(TStatTable& t, TCustomStat& stat, const TStatTableInput& in, size_t value_count) {
  if (value_count <= 1) return;
  support::ChartSeries actual;
  actual.Title = "Фактические данные";
  actual.Color = 0x008000;
  actual.LineWidth = 2;
  actual.ShowMarkers = true;
  if (t.NormMode) {
    support::ChartSeries total;
    total.Title = "Все возможные комбинации";
    total.Color = 0xFF0000;
    int64_t k = 0;
    for (const auto& rec : in.Prefetch->Records) {
      ++k;
      TStatDrawItem keys;
      keys.Key1 = rec.Key1;
      keys.Key2 = rec.Key2;
      keys.Key3 = rec.Key3;
      keys.Key4 = rec.Key4;
      if (in.ShowTotalLine) {
        total.Points.push_back({k, stat.ValueText(keys), static_cast<double>(rec.Count * t.Ratio)});
      }
      const int found = FindItem(t.Values, keys);
      if (found >= 0) {
        const auto& row = t.Values[static_cast<size_t>(found)];
        actual.Points.push_back({k, stat.ValueText(row), static_cast<double>(row.Count)});
      }
    }
    t.Chart.Series.push_back(std::move(actual));
    if (in.ShowTotalLine) t.Chart.Series.push_back(std::move(total));
    return;
  }
  t.KeyOrder.resize(value_count);
  std::iota(t.KeyOrder.begin(), t.KeyOrder.end(), 0);
  std::stable_sort(t.KeyOrder.begin(), t.KeyOrder.end(), [&](int a, int b) {
    return KeysLess(t.Values[static_cast<size_t>(a)], t.Values[static_cast<size_t>(b)]);
  });
  int64_t k = 0;
  for (int i : t.KeyOrder) {
    const auto& row = t.Values[static_cast<size_t>(i)];
    actual.Points.push_back({++k, stat.ValueText(row), static_cast<double>(row.Count)});
  }
  t.Chart.Series.push_back(std::move(actual));
}

}  // namespace

const std::array<const char*, StatColumnCount>& StatColumnCaptions() { return Captions; }

ColumnAlign StatColumnAlignment(int column) {
  if (column == static_cast<int>(StatColumn::Value)) return ColumnAlign::Left;
  if (column == static_cast<int>(StatColumn::LastDraw) || column >= static_cast<int>(StatColumn::ExpectedPrd))
    return ColumnAlign::Center;
  return ColumnAlign::Right;
}

void TStatTable::Clear() {
  Rows.clear();
  Chart = {};
  NormMode = false;
  Ratio = 0;
  FirstIdx = 0;
  LastIdx = -1;
  WindowDraws = 0;
  Total = 0;
  MaxDepth = 0;
}

long double StatWeight(const lottery::TCdlSettings& cdl, const TStatDrawItem& row, bool norm_mode, int64_t total,
                       int32_t max_depth) {
  long double c = row.Count;
  long double d = norm_mode ? static_cast<long double>(row.Count) - row.Norm : 0;
  long double l = row.Depth;
  if (cdl.UsePercents) {
    c = total == 0 ? 0 : c * 100 / total;
    d = norm_mode && row.Norm != 0 ? d * 100 / row.Norm : 0;
    l = max_depth == 0 ? 0 : l * 100 / max_depth;
  }
  if (cdl.UseAbsValues) {
    c = std::fabs(c);
    d = std::fabs(d);
    l = std::fabs(l);
  }
  const long double w = cdl.Count * c + cdl.Deviation * d + cdl.Level * l;
  return std::isfinite(w) ? w : -999.99L;
}

std::string DeltaText(std::optional<int64_t> expected, int32_t fact) {
  if (!expected || *expected < 0) return Dash;
  const int64_t d = *expected - fact;
  // Formatted rather than `"+" + std::string`, where GCC 12 at -O3 reports a false -Wrestrict.
  return d > 0 ? fmt::format("+{}", d) : std::to_string(d);
}

void TStatRow::SetCell(StatColumn c, std::string text) {
  const auto number = SortNumber(text);
  SetCell(c, std::move(text), number);
}

void TStatRow::SetCell(StatColumn c, std::string text, std::optional<long double> number) {
  const size_t i = ColumnIndex(c);
  Cells[i] = std::move(text);
  if (number) {
    Numbers[i] = *number;
    NumberMask |= 1u << i;
  } else {
    NumberMask &= ~(1u << i);
  }
}

int CompareStatTexts(std::string_view a, std::string_view b) {
  return CompareParsed(SortNumber(a), a, SortNumber(b), b);
}

void SortStatRows(std::vector<TStatRow>& rows, int column, bool descending) {
  if (column < 0 || column >= StatColumnCount || rows.size() < 2) return;
  const auto col = static_cast<StatColumn>(column);
  auto compare_at = [](const TStatRow& a, const TStatRow& b, StatColumn c) {
    return CompareParsed(a.Number(c), a.Text(c), b.Number(c), b.Text(c));
  };
  auto compare = [&](size_t a, size_t b) {
    int c = compare_at(rows[a], rows[b], col);
    if (c == 0) c = compare_at(rows[a], rows[b], StatColumn::Value);
    return descending ? c > 0 : c < 0;
  };
  std::vector<size_t> order(rows.size());
  std::iota(order.begin(), order.end(), size_t{0});
  std::stable_sort(order.begin(), order.end(), compare);
  std::vector<TStatRow> sorted;
  sorted.reserve(rows.size());
  for (size_t i : order) sorted.push_back(std::move(rows[i]));
  rows = std::move(sorted);
}

void SortStatRows(std::vector<TStatRow>& rows, StatColumn column, bool descending) {
  SortStatRows(rows, static_cast<int>(column), descending);
}

void CalcStatTable(const TStatTableInput& in, TStatTable& out) {
  // Rows are resized rather than cleared, so their cell strings keep their buffers.
  std::vector<TStatRow> rows = std::move(out.Rows);
  out.Clear();
  out.Rows = std::move(rows);
  out.Values.clear();
  out.LastValues.clear();
  if (!in.List || in.Entry < 0 || in.List->Draws().empty()) {
    out.Rows.clear();
    return;
  }
  const TStatList& list = *in.List;
  const auto& draws = list.Draws();

  out.LastIdx = static_cast<int32_t>(draws.size()) - 1 - in.DrawsOffset;
  const int64_t first = static_cast<int64_t>(out.LastIdx) - std::max<int32_t>(in.WindowLength, 1) + 1;
  out.FirstIdx = static_cast<int32_t>(std::max<int64_t>(first, 0));
  out.WindowDraws = std::max(0, out.LastIdx - out.FirstIdx + 1);

  auto stat = list.CreateStat(in.Entry);
  TStatDrawArray& values = out.Values;
  if (out.LastIdx >= out.FirstIdx) {
    stat->ListAllValues(out.LastIdx, values);
    TStatWork work;
    for (int d = out.FirstIdx; d <= out.LastIdx; ++d) {
      stat->AddDrawValues(d, out.LastIdx, in.Sorted, values, work, out.LastValues);
    }
  }

  int32_t min_count = 2147483647;
  int32_t max_count = 0;
  for (const auto& v : values) {
    min_count = std::min(min_count, v.Count);
    max_count = std::max(max_count, v.Count);
    out.MaxDepth = std::max(out.MaxDepth, v.Depth);
    out.Total += v.Count;
  }

  if (in.Prefetch && in.Prefetch->MaxCount != 0) {
    const TPrefetchData& p = *in.Prefetch;
    out.Ratio = p.MaxCount == p.MinCount
                    ? (static_cast<long double>(min_count) + max_count) / 2 / p.MaxCount
                    : static_cast<long double>(max_count) / p.MaxCount;
    out.NormMode = true;
  }

  out.Rows.resize(values.size());
  if (!values.empty()) {
    if (out.NormMode) {
      for (const auto& rec : in.Prefetch->Records) {
        for (auto& v : values) {
          if (v.Key1 == rec.Key1 && v.Key2 == rec.Key2 && v.Key3 == rec.Key3 && v.Key4 == rec.Key4) {
            v.Norm = static_cast<int32_t>(Round(rec.Count * out.Ratio));
            break;
          }
        }
      }
    }
    const lottery::TCdlSettings& cdl = list.Cdl();
    FindFacts(*stat, out, in);
    for (size_t i = 0; i < values.size(); ++i) {
      out.Rows[i].Item = values[i];
      FillCells(out.Rows[i], *stat, out, in, cdl, out.Facts[i]);
    }
  }
  BuildChart(out, *stat, in, values.size());
}

TStatTable CalcStatTable(const TStatTableInput& in) {
  TStatTable t;
  CalcStatTable(in, t);
  return t;
}

TStatValues RowToStatValues(const TStatRow* row) {
  if (!row) return {};
  using C = StatColumn;
  TStatValues v;
  v.Value = row->Text(C::Value);
  v.Count = row->Text(C::Count);
  v.CountPct = row->Text(C::CountPct);
  v.Deviation = row->Text(C::Deviation);
  v.DeviationPct = row->Text(C::DeviationPct);
  v.Depth = row->Text(C::Depth);
  v.DepthPct = row->Text(C::DepthPct);
  v.Weight = row->Text(C::Weight);
  v.PeriodMin = row->Text(C::PeriodMin);
  v.Period = row->Text(C::Period);
  v.PeriodMax = row->Text(C::PeriodMax);
  return v;
}

}  // namespace kelmora::stats
