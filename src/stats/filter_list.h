#pragma once
// The filter-list file (Kelmora_4r32.flt) and the name files exchanged between users: an INI file
// with the favourites and the three display options in section "FILTERS" (the program's own file
// only) and the methods' captions in one section per interface language, "STRINGS_RUS" for the
// Russian interface. Reading and writing touch that one language's section and nothing else.

#include <filesystem>
#include <string>
#include <string_view>

#include "stats/stat_list.h"
#include "support/ini_file.h"

namespace kelmora::stats {

inline constexpr const char* FilterListSection = "FILTERS";
// The three-letter abbreviation of the interface language (Russian, identifier 1049).
inline constexpr const char* InterfaceLanguage = "RUS";

// "STRINGS_" + language.
std::string StringsSection(std::string_view language = InterfaceLanguage);

// Applies the document to the registry: with_favorites reads "Favorites" (SetFavorites) and the three
// options (missing keys keep the values in force); always every method's UserCaption becomes the
// trimmed caption under its code in the language's section, or empty when the key is missing.
// All or nothing: a malformed value throws support::Error and leaves the registry unchanged.
void ReadFilterList(const support::IniFile& ini, TStatList& list, bool with_favorites,
                    std::string_view language = InterfaceLanguage);
// Writes the registry into the document: with_favorites the "FILTERS" keys; always the language's
// section, erased first, then one key per method with its Caption when all_captions, else one per
// method that has a UserCaption. Other sections stay as they are.
void WriteFilterList(support::IniFile& ini, const TStatList& list, bool with_favorites, bool all_captions,
                     std::string_view language = InterfaceLanguage);

// The file forms. A missing file reads as an empty one. Throws support::Error (the system's text of
// the failure) when the file cannot be read or written; Save reads the file first so that the other
// sections survive, and a file that cannot be read is never written over.
void LoadFilterList(const std::filesystem::path& path, TStatList& list, bool with_favorites);
void SaveFilterList(const std::filesystem::path& path, const TStatList& list, bool with_favorites,
                    bool all_captions);

}  // namespace kelmora::stats
