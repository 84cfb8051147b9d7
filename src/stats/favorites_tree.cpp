#include "stats/favorites_tree.h"

#include "stats/stat_item.h"
#include "support/text.h"

namespace kelmora::stats {

TFavoritesTree::TFavoritesTree(const TStatList& list) {
  for (int i = 0; i < list.Count(); ++i) {
    const TStatMethod& m = list.Items(i);
    const uint8_t group = m.StatClass->Group;
    TFavoritesGroup* target = nullptr;
    for (auto& g : groups_)
      if (g.Group == group) target = &g;
    if (!target) {
      groups_.push_back({group, GroupDisplayText(group), {}});
      target = &groups_.back();
    }
    target->Methods.push_back({i, m.Caption(), list.IsEnabled(i)});
  }
  Options = {list.Ordered(), list.ShowGroupName(), list.ShowMethodFlags()};
}

int TFavoritesTree::MethodCount() const {
  int n = 0;
  for (const auto& g : groups_) n += static_cast<int>(g.Methods.size());
  return n;
}

void TFavoritesTree::CheckAll(bool checked) {
  for (auto& g : groups_)
    for (auto& m : g.Methods) m.Checked = checked;
}

void TFavoritesTree::CheckGroup(int group, bool checked) {
  if (group < 0 || group >= static_cast<int>(groups_.size())) return;
  for (auto& m : groups_[static_cast<size_t>(group)].Methods) m.Checked = checked;
}

TFavoritesMethod* TFavoritesTree::Method(int group, int method) {
  if (group < 0 || group >= static_cast<int>(groups_.size())) return nullptr;
  auto& methods = groups_[static_cast<size_t>(group)].Methods;
  if (method < 0 || method >= static_cast<int>(methods.size())) return nullptr;
  return &methods[static_cast<size_t>(method)];
}

bool TFavoritesTree::SetChecked(int group, int method, bool checked) {
  TFavoritesMethod* m = Method(group, method);
  if (m) m->Checked = checked;
  return m != nullptr;
}

bool TFavoritesTree::Rename(int group, int method, std::string_view caption) {
  TFavoritesMethod* m = Method(group, method);
  if (m) m->Caption = std::string(caption);
  return m != nullptr;
}

bool TFavoritesTree::ResetName(int group, int method, const TStatList& list) {
  TFavoritesMethod* m = Method(group, method);
  if (!m || m->Entry < 0 || m->Entry >= list.Count()) return false;
  const TStatMethod& entry = list.Items(m->Entry);
  m->Caption = entry.StatClass->Caption(entry.Index);
  return true;
}

void TFavoritesTree::ApplyCaptions(TStatList& list) const {
  for (const auto& g : groups_) {
    for (const auto& m : g.Methods) {
      if (m.Entry < 0 || m.Entry >= list.Count()) continue;
      TStatMethod& entry = list.Items(m.Entry);
      const std::string own = entry.StatClass->Caption(entry.Index);
      entry.UserCaption = support::SameText(m.Caption, own) ? std::string() : m.Caption;
    }
  }
}

void TFavoritesTree::Apply(TStatList& list) const {
  for (const auto& g : groups_)
    for (const auto& m : g.Methods)
      if (m.Entry >= 0 && m.Entry < list.Count()) list.Items(m.Entry).Enabled = m.Checked;
  ApplyCaptions(list);
  list.NormalizeEnabled();
  list.SetOrdered(Options.Ordered);
  list.SetShowGroupName(Options.ShowGroupName);
  list.SetShowMethodFlags(Options.ShowMethodFlags);
}

}  // namespace kelmora::stats
