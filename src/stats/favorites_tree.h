#pragma once
// What the favourites manager edits, without widgets: a two-level tree of groups and methods made
// from the registry, the marks and captions the user changes, the three display options, and the
// steps that put them back into the registry when the manager is confirmed.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "stats/stat_list.h"

namespace kelmora::stats {

struct TFavoritesMethod {
  int Entry = -1;       // registry index
  std::string Caption;  // as the tree shows it: the user caption, else the class caption
  bool Checked = true;  // favourite
};

struct TFavoritesGroup {
  uint8_t Group = 0;
  std::string Caption;  // "{ tag } caption"
  std::vector<TFavoritesMethod> Methods;
};

struct TDisplayOptions {
  bool Ordered = false;
  bool ShowGroupName = true;
  bool ShowMethodFlags = true;
  bool operator==(const TDisplayOptions&) const = default;
};

class TFavoritesTree {
 public:
  TFavoritesTree() = default;
  // One group per group that has a method, in the order the registry first meets them; under each,
  // its methods in registry order, ticked when enabled; the options from the registry.
  explicit TFavoritesTree(const TStatList& list);

  const std::vector<TFavoritesGroup>& Groups() const { return groups_; }
  // The number of method entries (the registry's entries).
  int MethodCount() const;
  bool Empty() const { return groups_.empty(); }

  // Marks of every method, or of the methods of one group (ignored when out of range).
  void CheckAll(bool checked);
  void CheckGroup(int group, bool checked);
  // One method's mark and caption; false (nothing changed) when the position does not exist.
  bool SetChecked(int group, int method, bool checked);
  bool Rename(int group, int method, std::string_view caption);
  // The caption becomes the class caption of the method's entry.
  bool ResetName(int group, int method, const TStatList& list);

  TDisplayOptions Options;

  // Step 1 for the captions only: every method's UserCaption := empty when its caption equals the
  // class caption ignoring letter case, else the caption. Entries the list no longer has are skipped.
  void ApplyCaptions(TStatList& list) const;
  // The whole confirmation: the marks become Enabled, the captions as ApplyCaptions, then
  // NormalizeEnabled, then the three options.
  void Apply(TStatList& list) const;

 private:
  TFavoritesMethod* Method(int group, int method);

  std::vector<TFavoritesGroup> groups_;
};

}  // namespace kelmora::stats
