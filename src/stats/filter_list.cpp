#include "stats/filter_list.h"

#include <vector>

#include "support/text.h"

namespace kelmora::stats {

std::string StringsSection(std::string_view language) { return "STRINGS_" + std::string(language); }

void ReadFilterList(const support::IniFile& ini, TStatList& list, bool with_favorites, std::string_view language) {
  // Everything is read before anything is applied, so a bad value changes nothing.
  std::string favorites;
  bool ordered = list.Ordered();
  bool show_group = list.ShowGroupName();
  bool show_flags = list.ShowMethodFlags();
  if (with_favorites) {
    favorites = ini.ReadString(FilterListSection, "Favorites", list.GetFavorites());
    ordered = ini.ReadBool(FilterListSection, "Ordered", ordered);
    show_group = ini.ReadBool(FilterListSection, "ShowGroupName", show_group);
    show_flags = ini.ReadBool(FilterListSection, "ShowMethodFlags", show_flags);
  }
  const std::string section = StringsSection(language);
  std::vector<std::string> captions;
  captions.reserve(static_cast<size_t>(list.Count()));
  for (int i = 0; i < list.Count(); ++i)
    captions.emplace_back(support::Trim(ini.ReadString(section, list.Items(i).Code(), "")));

  if (with_favorites) {
    list.SetFavorites(favorites);
    list.SetOrdered(ordered);
    list.SetShowGroupName(show_group);
    list.SetShowMethodFlags(show_flags);
  }
  for (int i = 0; i < list.Count(); ++i) list.Items(i).UserCaption = std::move(captions[static_cast<size_t>(i)]);
}

void WriteFilterList(support::IniFile& ini, const TStatList& list, bool with_favorites, bool all_captions,
                     std::string_view language) {
  if (with_favorites) {
    ini.WriteString(FilterListSection, "Favorites", list.GetFavorites());
    ini.WriteBool(FilterListSection, "Ordered", list.Ordered());
    ini.WriteBool(FilterListSection, "ShowGroupName", list.ShowGroupName());
    ini.WriteBool(FilterListSection, "ShowMethodFlags", list.ShowMethodFlags());
  }
  const std::string section = StringsSection(language);
  ini.EraseSection(section);
  for (int i = 0; i < list.Count(); ++i) {
    const TStatMethod& m = list.Items(i);
    if (all_captions) {
      ini.WriteString(section, m.Code(), m.Caption());
    } else if (!m.UserCaption.empty()) {
      ini.WriteString(section, m.Code(), m.UserCaption);
    }
  }
}

void LoadFilterList(const std::filesystem::path& path, TStatList& list, bool with_favorites) {
  support::IniFile ini(path);
  ini.Load();
  ReadFilterList(ini, list, with_favorites);
}

void SaveFilterList(const std::filesystem::path& path, const TStatList& list, bool with_favorites,
                    bool all_captions) {
  support::IniFile ini(path);
  ini.Load();
  WriteFilterList(ini, list, with_favorites, all_captions);
  ini.Save();
}

}  // namespace kelmora::stats
