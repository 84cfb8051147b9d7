// RowQualifies, the row log text and the expansion of recipes into variants.

#include <optional>

#include <fmt/format.h>

#include "filtering/filter_apply.h"
#include "lottery/comb_ops.h"
#include "support/error.h"
#include "support/text.h"

namespace kelmora::filtering {

namespace {

constexpr int64_t High = 65535;

std::optional<int64_t> WholeCell(std::string_view text) {
  auto v = support::ParseInt64(support::Trim(text));
  return v ? std::optional<int64_t>(*v) : std::nullopt;
}

std::optional<long double> NumberCell(std::string_view text) { return support::ParseReal(text); }

[[noreturn]] void NotANumber(std::string_view text, bool whole) {
  support::Fail("\"{}\" не является {}!", text, whole ? "целым числом" : "числом");
}

// The list of a list mode, cut at "," and ";".
std::vector<int64_t> ListValues(std::string_view text) {
  std::vector<int64_t> values;
  for (const auto& word : support::SplitWords(text, ",;")) {
    const auto trimmed = support::Trim(word);
    if (trimmed.empty()) continue;
    const auto v = WholeCell(trimmed);
    if (!v) NotANumber(trimmed, true);
    values.push_back(*v);
  }
  return values;
}

// The column a mode 1..30 tests, and whether it is read as a whole number.
struct Column {
  const std::string* Cell;
  bool Whole;
};

Column ColumnOf(int mode, const stats::TStatValues& row) {
  if (mode >= LMV && mode <= LDP) {
    return (mode - LMV) % 2 == 0 ? Column{&row.Depth, true} : Column{&row.DepthPct, false};
  }
  if (mode >= DMV && mode <= DDP) {
    return (mode - DMV) % 2 == 0 ? Column{&row.Deviation, true} : Column{&row.DeviationPct, false};
  }
  if (mode >= CMV && mode <= CDP) {
    return (mode - CMV) % 2 == 0 ? Column{&row.Count, true} : Column{&row.CountPct, false};
  }
  if (mode >= WMV && mode <= WDV) return {&row.Weight, false};
  if (mode >= PIM && mode <= PIR) return {&row.PeriodMin, true};
  if (mode >= PAM && mode <= PAR) return {&row.Period, false};
  return {&row.PeriodMax, true};
}

// "не менее" (at least), "не более" (at most) or a list.
enum class Test { AtLeast, AtMost, List };

Test TestOf(int mode) {
  if (IsListMode(mode)) return Test::List;
  if (mode >= LMV && mode <= CDP) return (mode - LMV) % 6 < 2 ? Test::AtLeast : Test::AtMost;
  switch (mode) {
    case WMV: case PIM: case PAM: case PXM: return Test::AtLeast;
    default: return Test::AtMost;
  }
}

// The cell's default in a threshold mode: 65535 for the whole-number "не более" modes and the three
// percentage ones (LLP, DLP, CLP); 0 for everything else.
long double DefaultOf(int mode, const Column& col, Test test) {
  if (test != Test::AtMost) return 0;
  if (col.Whole) return High;
  return mode == LLP || mode == DLP || mode == CLP ? High : 0;
}

}  // namespace

bool RowQualifies(const TFilterPart& part, const stats::TStatValues& row) {
  const int mode = part.LevelMode;
  if (mode == LNO || mode >= LevelModeCount) return true;
  if (mode == LVA) {
    for (int64_t v : ListValues(part.LevelValue)) {
      if (v == row.NumValue) return true;
    }
    return false;
  }
  const Column col = ColumnOf(mode, row);
  const Test test = TestOf(mode);
  if (test == Test::List) {
    const auto values = ListValues(part.LevelValue);
    long double cell = 0;
    if (col.Whole) {
      const auto v = WholeCell(*col.Cell);
      if (!v) NotANumber(*col.Cell, true);
      cell = static_cast<long double>(*v);
    } else {
      const auto v = NumberCell(*col.Cell);
      if (!v) NotANumber(*col.Cell, false);
      cell = *v;
    }
    for (int64_t v : values) {
      if (cell == static_cast<long double>(v)) return true;
    }
    return false;
  }
  const auto threshold = WholeCell(part.LevelValue);
  if (!threshold) NotANumber(part.LevelValue, true);
  const long double def = DefaultOf(mode, col, test);
  long double cell = def;
  if (col.Whole) {
    if (const auto v = WholeCell(*col.Cell)) cell = static_cast<long double>(*v);
  } else if (const auto v = NumberCell(*col.Cell)) {
    cell = *v;
  }
  const long double t = static_cast<long double>(*threshold);
  return test == Test::AtLeast ? cell >= t : cell <= t;
}

std::string RowLogText(const stats::TStatValues& r) {
  return fmt::format("< [{}] кол-во: {} ({} %), отклонение: {} ({} %), глубина: {} ({} %), вес: {} >", r.Value,
                     r.Count, r.CountPct, r.Deviation, r.DeviationPct, r.Depth, r.DepthPct, r.Weight);
}

int64_t TFilterChoices::Size() const {
  return static_cast<int64_t>(Draws.size()) * (Levels.empty() ? 1 : static_cast<int64_t>(Levels.size()));
}

TFilterPart TFilterChoices::Choice(int64_t i) const {
  TFilterPart part = Base;
  if (Levels.empty()) {
    part.DrawsLen = Draws[static_cast<size_t>(i)];
  } else {
    const auto n = static_cast<int64_t>(Levels.size());
    part.DrawsLen = Draws[static_cast<size_t>(i / n)];
    part.LevelValue = part.LevelText = std::to_string(Levels[static_cast<size_t>(i % n)]);
  }
  return part;
}

TFilterRec TFilterVariants::Variant(int64_t v) const {
  TFilterRec rec;
  // The last item's choice varies fastest.
  for (size_t k = Items.size(); k-- > 0;) {
    const int64_t n = Items[k].Size();
    if (k < static_cast<size_t>(FilterSlots)) rec[k] = Items[k].Choice(v % n);
    v /= n;
  }
  return rec;
}

TFilterVariants ExpandFilterVariants(const std::vector<TFilterItem>& items) {
  TFilterVariants result;
  int64_t count = 1;
  for (const auto& item : items) {
    if (!item.Active) continue;
    if (result.Items.size() == static_cast<size_t>(FilterSlots)) break;
    const auto bad = [&] { support::Fail("Некорректное описание фильтра: {}!", FilterItemToText(item)); };
    TFilterChoices choices;
    choices.Draws = lottery::ParseValueList(item.DrawsLen);
    if (choices.Draws.empty()) bad();
    lottery::TIntArray levels;
    if (item.LevelMode > 0) {
      levels = lottery::ParseValueList(item.LevelValue);
      if (levels.empty()) bad();
    }
    TFilterPart& base = choices.Base;
    base.Active = true;
    base.Method = item.Method;
    base.SortColumn = item.SortColumn;
    base.BottomUp = item.BottomUp;
    base.MultiSelect = item.MultiSelect;
    base.KeepSelected = item.KeepSelected;
    base.LevelMode = item.LevelMode;
    base.CDL = item.CDL;
    base.StopMode = item.StopMode;
    base.StopValue = item.StopValue;
    if (IsThresholdMode(item.LevelMode)) {
      choices.Levels = std::move(levels);
    } else if (IsListMode(item.LevelMode)) {
      base.LevelValue = lottery::ValueListToText(levels, ",");
      base.LevelText = item.LevelValue;
    } else {
      // LNO, and a mode outside the table, which qualifies every row.
      base.LevelValue = base.LevelText = item.LevelValue;
    }
    const int64_t size = choices.Size();
    if (count > MaxFilterVariants / size) {
      support::Fail(
          "Вы задали слишком много вариантов фильтров - программа не сможет обработать их все!\r"
          "Пожалуйста, уменьшите в каждом из фильтров количество вариантов длины выборки и глубины, а затем "
          "повторите попытку.\r\rКоличество вариантов превышает {}.",
          MaxFilterVariants);
    }
    count *= size;
    result.Items.push_back(std::move(choices));
  }
  result.Count = result.Items.empty() ? 0 : count;
  return result;
}

}  // namespace kelmora::filtering
