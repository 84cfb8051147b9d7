#pragma once
// The registry of statistic methods (the system's StatList, owned by the Session): the entries
// built from the table of classes, display names, favourites, and the settings the statistics read.
// The settings live in the Session; the registry holds references to them.

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "lottery/types.h"
#include "stats/custom_stat.h"

namespace kelmora::stats {

// One registry entry.
struct TStatMethod {
  const TStatClass* StatClass = nullptr;
  int32_t Index = 0;
  bool Enabled = true;      // member of the favourites
  std::string UserCaption;  // caption given in the filter-list file; "" = none
  std::string Formula;      // group 12 with Index 1..3: the formula at creation; else ""

  std::string Code() const { return StatClass->Code(Index); }
  std::string Caption() const;         // UserCaption when set, else the class caption
  std::string DisplayCaption() const;  // Caption, with the formula put in for group 12
  // The address of the method's description: "file://<help folder>/filters/<family>.html#<topic>"
  // (topic as HelpTopic, "POSx" for every POS entry); "" when the folder is not given or the
  // family's page is not there.
  std::string HelpURL(const std::filesystem::path& help_folder) const;
  // A new statistic object; the caller owns it.
  std::unique_ptr<TCustomStat> CreateStat(const TStatList& list) const {
    return StatClass->Create(list, *StatClass, Index);
  }
};

class TStatList {
 public:
  // The references must outlive the registry (they are the Session's members). classes is the
  // table of classes in registry order (RegisteredClasses() unless a test passes its own).
  TStatList(const lottery::TDrawsArray& draws, const lottery::TConfigData& config,
            const lottery::TShreddingData& shredding, const std::vector<const TStatClass*>& classes);

  // Settings the statistics and the table read.
  const lottery::TDrawsArray& Draws() const { return *draws_; }
  const lottery::TConfigData& Config() const { return *config_; }
  const lottery::TShreddingData& Shredding() const { return *shredding_; }
  const std::vector<const TStatClass*>& Classes() const { return *classes_; }

  int Count() const { return static_cast<int>(methods_.size()); }
  const TStatMethod& Items(int i) const { return methods_.at(static_cast<size_t>(i)); }
  TStatMethod& Items(int i) { return methods_.at(static_cast<size_t>(i)); }
  bool IsAvailable(int i) const { return Items(i).StatClass->IsAvailable; }
  bool IsListed(int i) const { return Items(i).StatClass->IsListed; }
  bool IsGraph(int i) const { return Items(i).StatClass->IsGraph; }
  bool HasNorm(int i) const { return Items(i).StatClass->HasNorm(); }
  bool IsEnabled(int i) const { return all_enabled_ || Items(i).Enabled; }
  // A new statistic object for entry i; the caller owns it. Throws std::out_of_range for a bad i.
  std::unique_ptr<TCustomStat> CreateStat(int i) const { return Items(i).CreateStat(*this); }
  // The first entry whose code equals code ignoring case, in registry order; -1 when none.
  int IndexOfCode(std::string_view code) const;

  // Resets the display options and the favourites and creates the entries of every available class
  // in registry order, one per index of an indexed class, with the current settings.
  void Rebuild();
  // "{ tag } caption [ letters ]" as the display options say.
  std::string DisplayName(int i, bool with_flags) const;

  // Favourites: the codes of the enabled entries joined with "," ("" when all are enabled).
  std::string GetFavorites() const;
  // A blank text enables all; otherwise exactly the entries whose code equals, ignoring case, one
  // of the pieces cut at "," as they stand (not trimmed).
  void SetFavorites(std::string_view text);
  void EnableAll();
  void NormalizeEnabled();

  bool Ordered() const { return ordered_; }
  bool ShowGroupName() const { return show_group_name_; }
  bool ShowMethodFlags() const { return show_method_flags_; }
  bool AllEnabled() const { return all_enabled_; }
  void SetOrdered(bool v) { ordered_ = v; }
  void SetShowGroupName(bool v) { show_group_name_ = v; }
  void SetShowMethodFlags(bool v) { show_method_flags_ = v; }

  // The weight coefficients in force: the configured ones unless a script step applied its own.
  const lottery::TCdlSettings& Cdl() const { return cdl_override_ ? *cdl_override_ : config_->Cdl; }
  void BackupCdl() { cdl_backup_ = Cdl(); }
  // Back to the backed-up coefficients (the configured ones when nothing was backed up).
  void RestoreCdl();
  // With use_own the given coefficients, otherwise as RestoreCdl.
  void ApplyCdl(bool use_own, const lottery::TCdlSettings& cdl);

  // Cost of a stake with n values per position and the winnings for `overlap` matches (-1: none):
  // -(combinations x Cost) plus the first configured profit of that overlap.
  lottery::Currency StakeProfit(int n, int overlap) const;

  // The folder of the help pages HelpURL uses; empty when there is none.
  const std::filesystem::path& HelpFolder() const { return help_folder_; }
  void SetHelpFolder(std::filesystem::path path) { help_folder_ = std::move(path); }
  std::string HelpURL(int i) const { return Items(i).HelpURL(help_folder_); }

 private:
  const lottery::TDrawsArray* draws_;
  const lottery::TConfigData* config_;
  const lottery::TShreddingData* shredding_;
  const std::vector<const TStatClass*>* classes_;
  std::vector<TStatMethod> methods_;
  bool ordered_ = false;
  bool show_group_name_ = true;
  bool show_method_flags_ = true;
  bool all_enabled_ = true;
  std::optional<lottery::TCdlSettings> cdl_override_;
  std::optional<lottery::TCdlSettings> cdl_backup_;
  std::filesystem::path help_folder_;
};

// The lists of the statistics selector and the graph selector: the enabled, available and listed
// entries (graph entries in both), in registry order or, when the registry is Ordered, by text.
struct TStatSelectorEntry {
  int Entry = -1;  // registry index
  std::string Text;  // DisplayName(Entry, true)
};
struct TStatSelectors {
  std::vector<TStatSelectorEntry> Stats;
  std::vector<TStatSelectorEntry> Graphs;
};
// with_disabled lists the entries that are not favourites too.
TStatSelectors FillStatSelectors(const TStatList& list, bool with_disabled = false);

}  // namespace kelmora::stats
