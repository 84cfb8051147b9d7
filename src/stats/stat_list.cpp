#include "stats/stat_list.h"

#include <algorithm>
#include <cmath>

#include <fmt/format.h>

#include "stats/registry.h"
#include "support/files.h"
#include "support/text.h"

namespace kelmora::stats {

std::string TStatMethod::Caption() const {
  return UserCaption.empty() ? StatClass->Caption(Index) : UserCaption;
}

std::string TStatMethod::DisplayCaption() const {
  std::string caption = Caption();
  if (StatClass->Group == 12) caption = FormatText(caption, Formula);
  return caption;
}

std::string TStatMethod::HelpURL(const std::filesystem::path& help_folder) const {
  const std::string_view family = FamilyPage(*StatClass);
  if (help_folder.empty() || family.empty()) return {};
  const auto relative = help_folder / "filters" / (std::string(family) + ".html");
  std::error_code ec;
  auto page = std::filesystem::absolute(relative, ec);
  if (ec) page = relative;
  if (!support::FileExists(page)) return {};
  return fmt::format("file://{}#{}", page.generic_string(), StatClass->HelpTopic(Index));
}

TStatList::TStatList(const lottery::TDrawsArray& draws, const lottery::TConfigData& config,
                     const lottery::TShreddingData& shredding, const std::vector<const TStatClass*>& classes)
    : draws_(&draws), config_(&config), shredding_(&shredding), classes_(&classes) {}

int TStatList::IndexOfCode(std::string_view code) const {
  for (int i = 0; i < Count(); ++i) {
    if (support::SameText(Items(i).Code(), code)) return i;
  }
  return -1;
}

void TStatList::Rebuild() {
  ordered_ = false;
  show_group_name_ = true;
  show_method_flags_ = true;
  all_enabled_ = true;
  methods_.clear();
  auto add = [this](const TStatClass* cls, int32_t index) {
    TStatMethod m;
    m.StatClass = cls;
    m.Index = index;
    if (cls->Group == 12 && index >= 1 && index <= 3) m.Formula = shredding_->Formula[static_cast<size_t>(index - 1)];
    methods_.push_back(std::move(m));
  };
  for (const TStatClass* cls : *classes_) {
    if (!cls->IsAvailable) continue;
    if (cls->IsIndexed) {
      const TIndexRange range = cls->GetIndexRange(*this);
      for (int32_t i = range.Min; i <= range.Max; ++i) add(cls, i);
    } else {
      add(cls, 0);
    }
  }
}

std::string TStatList::DisplayName(int i, bool with_flags) const {
  const TStatMethod& m = Items(i);
  std::string name = m.DisplayCaption();
  if (show_group_name_) name = fmt::format("{{ {} }} {}", GroupTag(m.StatClass->Group), name);
  if (with_flags && show_method_flags_) {
    const std::string letters = FlagLetters(m.StatClass->AllFlags());
    if (!letters.empty()) name = fmt::format("{} [ {} ]", name, letters);
  }
  return name;
}

std::string TStatList::GetFavorites() const {
  if (all_enabled_) return {};
  std::vector<std::string> codes;
  for (const auto& m : methods_) {
    if (m.Enabled) codes.push_back(m.Code());
  }
  return support::Join(codes, ",");
}

void TStatList::SetFavorites(std::string_view text) {
  if (support::Trim(text).empty()) {
    EnableAll();
    return;
  }
  all_enabled_ = false;
  const std::vector<std::string> pieces = support::Split(text, ",");
  for (auto& m : methods_) {
    const std::string code = m.Code();
    m.Enabled = std::any_of(pieces.begin(), pieces.end(),
                            [&](const std::string& piece) { return support::SameText(piece, code); });
  }
}

void TStatList::EnableAll() {
  all_enabled_ = true;
  for (auto& m : methods_) m.Enabled = true;
}

void TStatList::NormalizeEnabled() {
  all_enabled_ = true;
  if (methods_.empty()) return;
  const bool first = methods_.front().Enabled;
  for (const auto& m : methods_) {
    if (m.Enabled != first) {
      all_enabled_ = false;
      return;
    }
  }
  if (!first) {
    for (auto& m : methods_) m.Enabled = true;
  }
}

void TStatList::RestoreCdl() {
  if (cdl_backup_ && !(*cdl_backup_ == config_->Cdl)) {
    cdl_override_ = cdl_backup_;
  } else {
    cdl_override_.reset();
  }
}

void TStatList::ApplyCdl(bool use_own, const lottery::TCdlSettings& cdl) {
  if (use_own) {
    cdl_override_ = cdl;
  } else {
    RestoreCdl();
  }
}

lottery::Currency TStatList::StakeProfit(int n, int overlap) const {
  const int64_t combinations =
      n > 4 ? static_cast<int64_t>(std::nearbyint(std::pow(static_cast<long double>(n), 4.0L))) : 1;
  lottery::Currency result = -(combinations * config_->Cost);
  if (overlap >= 0) {
    for (const auto& p : config_->Profits) {
      if (p.Overlap == overlap) {
        result += p.Profit;
        break;
      }
    }
  }
  return result;
}

TStatSelectors FillStatSelectors(const TStatList& list, bool with_disabled) {
  TStatSelectors out;
  for (int i = 0; i < list.Count(); ++i) {
    if (!list.IsAvailable(i) || !list.IsListed(i) || !(with_disabled || list.IsEnabled(i))) continue;
    TStatSelectorEntry entry{i, list.DisplayName(i, true)};
    if (list.IsGraph(i)) out.Graphs.push_back(entry);
    out.Stats.push_back(std::move(entry));
  }
  if (list.Ordered()) {
    auto by_text = [](const TStatSelectorEntry& a, const TStatSelectorEntry& b) {
      return support::CompareText(a.Text, b.Text) < 0;
    };
    std::stable_sort(out.Stats.begin(), out.Stats.end(), by_text);
    std::stable_sort(out.Graphs.begin(), out.Graphs.end(), by_text);
  }
  return out;
}

}  // namespace kelmora::stats
