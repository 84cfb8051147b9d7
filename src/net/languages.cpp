#include "net/languages.h"

namespace kelmora::net {

namespace {

constexpr TLanguage Table[] = {
    {1049, "RUS", "Русский", true},     {1033, "ENU", "English", true},     {2057, "ENG", "English (UK)", false},
    {1058, "UKR", "Українська", false}, {1059, "BEL", "Беларуская", false}, {1087, "KKZ", "Қазақ", false},
    {1031, "DEU", "Deutsch", false},    {1036, "FRA", "Français", false},   {1045, "PLK", "Polski", false},
};

}  // namespace

std::span<const TLanguage> Languages() { return Table; }

std::string LanguageAbbreviation(int lcid) {
  for (const TLanguage& language : Table)
    if (language.Lcid == lcid) return language.Abbreviation;
  return {};
}

}  // namespace kelmora::net
