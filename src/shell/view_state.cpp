#include "shell/view_state.h"

#include <algorithm>

#include <fmt/format.h>

#include "support/error.h"
#include "support/text.h"

namespace kelmora::shell {

namespace {

std::string SizedKey(std::string_view base, int width, int height) {
  return fmt::format("{}_{}x{}", base, width, height);
}

// "a,b,c,d" into four numbers; a malformed number keeps the fallback's entry.
std::array<int32_t, 4> ParseQuad(const std::string& text, const std::array<int32_t, 4>& fallback) {
  std::array<int32_t, 4> out = fallback;
  const auto parts = support::Split(text, ",");
  for (size_t i = 0; i < out.size() && i < parts.size(); ++i) {
    if (auto v = support::ParseInt(support::Trim(parts[i]))) out[i] = *v;
  }
  return out;
}

// A placement or column number; a malformed one counts as absent, so a damaged view-state file
// costs the stored layout, never the window.
int32_t LayoutInt(const support::IniFile& ini, std::string_view section, std::string_view key, int32_t def) {
  const auto text = ini.Find(section, key);
  if (!text) return def;
  return support::ParseInt(support::Trim(*text)).value_or(def);
}

std::string QuadText(const std::array<int32_t, 4>& q) {
  return fmt::format("{},{},{},{}", q[0], q[1], q[2], q[3]);
}

}  // namespace

void ViewState::Load() {
  read_error_.clear();
  try {
    ini_.Load();
  } catch (const std::exception& e) {
    read_error_ = e.what();
    if (read_error_.empty()) read_error_ = "?";
    throw;
  }
}

void ViewState::Save() const {
  if (!read_error_.empty())
    support::Fail("Файл параметров не удалось прочитать, поэтому он не будет перезаписан.\r\r{}", read_error_);
  ini_.Save();
}

int32_t ViewState::ReadInt(std::string_view section, std::string_view key, int32_t def) const {
  return ini_.ReadInt(section, key, def);
}

bool ViewState::ReadBool(std::string_view section, std::string_view key, bool def) const {
  return ini_.ReadBool(section, key, def);
}

void ViewState::WriteInt(std::string_view section, std::string_view key, int32_t value) {
  ini_.WriteInt(section, key, value);
  Flush();
}

void ViewState::WriteBool(std::string_view section, std::string_view key, bool value) {
  ini_.WriteBool(section, key, value);
  Flush();
}

void ViewState::Flush() {
  if (batch_ > 0) {
    dirty_ = true;
    return;
  }
  Save();
}

void ViewState::EndBatch() {
  if (batch_ > 0 && --batch_ == 0 && dirty_) {
    dirty_ = false;
    Save();
  }
}

void ViewState::SavePlacement(std::string_view section, const TWindowPlacement& placement, int screen_width,
                              int screen_height) {
  BeginBatch();
  ini_.WriteInt(section, "Flags", placement.Flags);
  ini_.WriteInt(section, "ShowCmd", placement.ShowCmd);
  ini_.WriteInt(section, "PixelsPerInch", placement.PixelsPerInch);
  ini_.WriteString(section, "MinMaxPos", QuadText(placement.MinMaxPos));
  ini_.WriteString(section, SizedKey("MinMaxPos", screen_width, screen_height), QuadText(placement.MinMaxPos));
  ini_.WriteString(section, "NormPos", QuadText(placement.NormPos));
  ini_.WriteString(section, SizedKey("NormPos", screen_width, screen_height), QuadText(placement.NormPos));
  dirty_ = true;
  EndBatch();
}

std::optional<TWindowPlacement> ViewState::RestorePlacement(std::string_view section, int screen_width,
                                                            int screen_height, int pixels_per_inch,
                                                            const std::array<int32_t, 4>& current_rect) const {
  auto norm = ini_.Find(section, SizedKey("NormPos", screen_width, screen_height));
  if (!norm) norm = ini_.Find(section, "NormPos");
  auto minmax = ini_.Find(section, SizedKey("MinMaxPos", screen_width, screen_height));
  if (!minmax) minmax = ini_.Find(section, "MinMaxPos");
  if (!norm && !minmax) return std::nullopt;
  if (LayoutInt(ini_, section, "PixelsPerInch", 0) != pixels_per_inch) return std::nullopt;

  TWindowPlacement p;
  p.Flags = LayoutInt(ini_, section, "Flags", 0);
  p.ShowCmd = LayoutInt(ini_, section, "ShowCmd", 1);
  p.PixelsPerInch = pixels_per_inch;
  p.NormPos = norm ? ParseQuad(*norm, current_rect) : current_rect;
  p.MinMaxPos = minmax ? ParseQuad(*minmax, {0, 0, 0, 0}) : std::array<int32_t, 4>{};
  // A rectangle with left not less than right is not a window position.
  if (p.NormPos[0] >= p.NormPos[2]) p.NormPos = current_rect;
  return p;
}

void ViewState::SaveColumns(std::string_view section, std::string_view list, const TListColumns& columns) {
  BeginBatch();
  for (size_t i = 0; i < columns.Widths.size(); ++i)
    ini_.WriteInt(section, fmt::format("{}.Column{}", list, i), columns.Widths[i]);
  if (columns.Sort)
    ini_.WriteString(section, fmt::format("{}.SortType", list),
                     fmt::format("{},{}", columns.Sort->first, columns.Sort->second));
  dirty_ = true;
  EndBatch();
}

TListColumns ViewState::RestoreColumns(std::string_view section, std::string_view list, int column_count,
                                       const std::vector<int32_t>& default_widths) const {
  TListColumns out;
  for (int i = 0; i < column_count; ++i) {
    const int32_t def = i < static_cast<int>(default_widths.size()) ? default_widths[i] : 80;
    out.Widths.push_back(LayoutInt(ini_, section, fmt::format("{}.Column{}", list, i), def));
  }
  if (auto sort = ini_.Find(section, fmt::format("{}.SortType", list))) {
    const auto parts = support::Split(*sort, ",");
    if (parts.size() == 2) {
      auto c = support::ParseInt(support::Trim(parts[0]));
      auto d = support::ParseInt(support::Trim(parts[1]));
      if (c && d) out.Sort = std::make_pair(*c, *d);
    }
  }
  return out;
}

namespace {

// Window lengths and counts from a hand-edited file are kept inside what their editors allow.
int32_t AtLeast(int32_t low, int32_t value) { return std::max(low, value); }

}  // namespace

void ReadMainViewState(const ViewState& view, TMainViewState& s) {
  const char* w = MainWindowSection;
  s.LeftPanelWidth = view.ReadInt(w, "LeftPanelWidth", s.LeftPanelWidth);
  s.DrawsExclude = AtLeast(0, view.ReadInt(w, "DrawsExclude", s.DrawsExclude));
  s.DrawsStatLen = AtLeast(1, view.ReadInt(w, "DrawsStatLen", s.DrawsStatLen));
  s.DrawsStatHeight = view.ReadInt(w, "DrawsStatHeight", s.DrawsStatHeight);
  s.DrawsGraphLen = AtLeast(1, view.ReadInt(w, "DrawsGraphLen", s.DrawsGraphLen));
  s.FiltersHeight = view.ReadInt(w, "FiltersHeight", s.FiltersHeight);
  s.LayoutLen = AtLeast(1, view.ReadInt(w, "LayoutLen", s.LayoutLen));
  for (int i = 0; i < 5; ++i)
    s.LayoutCompareLen[i] =
        AtLeast(1, view.ReadInt(w, fmt::format("LayoutCompareLen{}", i + 1), s.LayoutCompareLen[i]));
  s.WeekLen = AtLeast(1, view.ReadInt(w, "WeekLen", s.WeekLen));
  s.WeekHeight = view.ReadInt(w, "WeekHeight", s.WeekHeight);
  s.WeekChartMode = view.ReadInt(w, "WeekChartMode", s.WeekChartMode);
  s.WeekChartType = view.ReadBool(w, "WeekChartType", s.WeekChartType);
  s.AutoUpdates = view.ReadBool(w, "AutoUpdates", s.AutoUpdates);
  s.DownloadDrawsOnStart = std::clamp(view.ReadInt(w, "DownloadDrawsOnStart", s.DownloadDrawsOnStart), 0, 2);
  s.ScriptLogEnabled = view.ReadBool(w, "ScriptLogEnabled", s.ScriptLogEnabled);
  s.StakesLogEnabled = view.ReadBool(w, "StakesLogEnabled", s.StakesLogEnabled);
  s.StakesScrollEnabled = view.ReadBool(w, "StakesScrollEnabled", s.StakesScrollEnabled);
  s.StakesCheckOnLine = view.ReadBool(w, "StakesCheckOnLine", s.StakesCheckOnLine);
  s.ColorDraws = view.ReadBool(w, "ColorDraws", s.ColorDraws);
  s.ColorCombs = view.ReadBool(w, "ColorCombs", s.ColorCombs);
  s.ColorCard = view.ReadBool(w, "ColorCard", s.ColorCard);
  s.ColorCardSequences = view.ReadBool(w, "ColorCardSequences", s.ColorCardSequences);
  s.LayoutGradient = view.ReadBool(w, "LayoutGradient", s.LayoutGradient);
  s.SortedDraws = view.ReadBool(w, "SortedDraws", s.SortedDraws);
  s.PrefetchsEnabled = view.ReadBool(w, "PrefetchsEnabled", s.PrefetchsEnabled);
  s.PrefetchsInit = view.ReadBool(w, "PrefetchsInit", s.PrefetchsInit);
  s.ShowTotalLine = view.ReadBool(w, "ShowTotalLine", s.ShowTotalLine);
  s.RatingsEffMode = std::clamp(view.ReadInt(w, "RatingsEffMode", s.RatingsEffMode), 0, 2);
  s.LayoutCompareHeight = view.ReadInt(w, "LayoutCompareHeight", s.LayoutCompareHeight);
  s.ScriptLibraryOn = view.ReadBool(w, "ScriptLibraryOn", s.ScriptLibraryOn);
  s.ScriptLibraryHeight = view.ReadInt(w, "ScriptLibraryHeight", s.ScriptLibraryHeight);
  s.ScriptLibraryFilter = view.ReadInt(w, "ScriptLibraryFilter", s.ScriptLibraryFilter);
  s.TabGraphs = view.ReadBool(w, "TabGraphs", s.TabGraphs);
  s.TabCard = view.ReadBool(w, "TabCard", s.TabCard);
  s.TabLayout = view.ReadBool(w, "TabLayout", s.TabLayout);
  s.TabWeek = view.ReadBool(w, "TabWeek", s.TabWeek);
  s.TabTables = view.ReadBool(w, "TabTables", s.TabTables);
  s.Language = view.ReadInt(w, "Language", s.Language);
  s.FirstRun = view.ReadBool(w, "FirstRun", s.FirstRun);
}

void WriteMainViewStateAtExit(ViewState& view, const TMainViewState& s) {
  const char* w = MainWindowSection;
  view.BeginBatch();
  view.WriteInt(w, "LeftPanelWidth", s.LeftPanelWidth);
  view.WriteInt(w, "DrawsExclude", s.DrawsExclude);
  view.WriteInt(w, "DrawsStatLen", s.DrawsStatLen);
  view.WriteInt(w, "DrawsStatHeight", s.DrawsStatHeight);
  view.WriteInt(w, "DrawsGraphLen", s.DrawsGraphLen);
  view.WriteInt(w, "FiltersHeight", s.FiltersHeight);
  view.WriteInt(w, "LayoutLen", s.LayoutLen);
  for (int i = 0; i < 5; ++i) view.WriteInt(w, fmt::format("LayoutCompareLen{}", i + 1), s.LayoutCompareLen[i]);
  view.WriteInt(w, "WeekLen", s.WeekLen);
  view.WriteInt(w, "WeekHeight", s.WeekHeight);
  view.WriteInt(w, "LayoutCompareHeight", s.LayoutCompareHeight);
  view.WriteInt(w, "ScriptLibraryHeight", s.ScriptLibraryHeight);
  view.WriteInt(w, "ScriptLibraryFilter", s.ScriptLibraryFilter);
  view.EndBatch();
}

}  // namespace kelmora::shell
