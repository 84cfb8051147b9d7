#include "stats/table.h"

#include <algorithm>
#include <cmath>
#include <numeric>
#include <optional>

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

void FillCells(TStatRow& row, TCustomStat& stat, const TStatTable& t, const TStatTableInput& in,
               const lottery::TCdlSettings& cdl, int32_t fact_of_row) {
  const TStatDrawItem& r = row.Item;
  auto& c = row.Cells;
  const char sep = in.DecimalSeparator;
  c[0] = stat.ValueText(r);
  c[1] = std::to_string(r.Count);
  c[2] = t.Total == 0 ? Dash : support::FormatFixed(static_cast<long double>(r.Count) * 100 / t.Total, 5, sep);
  if (t.NormMode) {
    c[3] = std::to_string(r.Norm);
    c[4] = std::to_string(static_cast<int64_t>(r.Count) - r.Norm);
    long double pct = 0;
    if (r.Norm != 0) {
      pct = (static_cast<long double>(r.Count) - r.Norm) * 100 / r.Norm;
    } else {
      pct = r.Count == 0 ? 0 : 100;
    }
    c[5] = support::FormatFixed(pct, 5, sep);
  } else {
    c[3] = c[4] = c[5] = Dash;
  }
  if (r.Depth == 0) {
    for (int i = 6; i < StatColumnCount; ++i) c[static_cast<size_t>(i)] = Dash;
    return;
  }
  c[6] = std::to_string(r.Depth);
  c[7] = support::FormatFixed(static_cast<long double>(r.Depth) * 100 / t.MaxDepth, 2, sep);
  c[8] = support::FormatFixed(StatWeight(cdl, r, t.NormMode, t.Total, t.MaxDepth), 2, sep);
  c[9] = std::to_string(r.LastDraw);
  const long double n = t.WindowDraws;
  if (r.Count < 2) {
    c[10] = c[11] = c[12] = c[13] = Dash;
  } else {
    c[10] = std::to_string(r.MinPeriod);
    c[11] = support::FormatFixed(n / r.Count, 4, sep);
    c[12] = std::to_string(r.MaxPeriod);
    c[13] = std::to_string(Round(n / r.Count + r.LastDraw));
  }
  if (r.Count < 1) {
    for (int i = 14; i < StatColumnCount; ++i) c[static_cast<size_t>(i)] = Dash;
    return;
  }
  const long double count = r.Count;
  c[14] = std::to_string(Round((count + 1) * r.LastDraw / count));
  c[15] = std::to_string(Round((count + 2) * (static_cast<long double>(r.LastDraw) + 1) / (count + 1)));
  const int32_t fact = fact_of_row;
  if (fact < 0) {
    c[16] = c[17] = c[18] = c[19] = Dash;
    return;
  }
  c[16] = std::to_string(fact);
  c[17] = DeltaText(c[13], fact);
  c[18] = DeltaText(c[14], fact);
  c[19] = DeltaText(c[15], fact);
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
  if (column == 0) return ColumnAlign::Left;
  if (column == 9 || column >= 13) return ColumnAlign::Center;
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

std::string DeltaText(std::string_view expected, int32_t fact) {
  const int64_t e = support::ParseInt64(expected).value_or(-1);
  if (e < 0) return Dash;
  const int64_t d = e - fact;
  return d > 0 ? "+" + std::to_string(d) : std::to_string(d);
}

int CompareStatTexts(std::string_view a, std::string_view b) {
  return CompareParsed(SortNumber(a), a, SortNumber(b), b);
}

void SortStatRows(std::vector<TStatRow>& rows, int column, bool descending) {
  if (column < 0 || column >= StatColumnCount || rows.size() < 2) return;
  struct Key {
    std::optional<long double> Number;
    std::optional<long double> Caption;
  };
  std::vector<Key> keys(rows.size());
  for (size_t i = 0; i < rows.size(); ++i) {
    keys[i] = {SortNumber(rows[i].Cells[static_cast<size_t>(column)]), SortNumber(rows[i].Cells[0])};
  }
  auto compare = [&](size_t a, size_t b) {
    const auto col = static_cast<size_t>(column);
    int c = CompareParsed(keys[a].Number, rows[a].Cells[col], keys[b].Number, rows[b].Cells[col]);
    if (c == 0) c = CompareParsed(keys[a].Caption, rows[a].Cells[0], keys[b].Caption, rows[b].Cells[0]);
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
  const auto& c = row->Cells;
  TStatValues v;
  v.Value = c[0];
  v.Count = c[1];
  v.CountPct = c[2];
  v.Deviation = c[4];
  v.DeviationPct = c[5];
  v.Depth = c[6];
  v.DepthPct = c[7];
  v.Weight = c[8];
  v.PeriodMin = c[10];
  v.Period = c[11];
  v.PeriodMax = c[12];
  return v;
}

}  // namespace kelmora::stats
