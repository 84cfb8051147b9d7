#pragma once
// The interface languages the program has: Russian is built in; every other one is a Qt
// translation file "Kelmora_4r32_<ABB>.qm" (ABB the language's three-letter abbreviation, "ENU")
// found in a translations folder, so a translation is added by dropping in its file.

#include <filesystem>
#include <span>
#include <string>
#include <vector>

namespace kelmora::shell {

struct TInterfaceLanguage {
  int Lcid = 0;
  std::string Name;          // "Русский", "English"
  std::string Abbreviation;  // "RUS", "ENU"
  std::filesystem::path Translation;  // empty for the built-in language
  bool operator==(const TInterfaceLanguage&) const = default;
};

// Where translation files are looked for, in order: "translations" beside the executable, the
// installed share folder, and "translations" in the data folder.
std::vector<std::filesystem::path> TranslationFolders(const std::filesystem::path& exe_dir,
                                                      const std::filesystem::path& data_dir);

// The built-in Russian first, then one entry per language with a translation file, in the order of
// the language table; where two folders hold the same language the first folder wins. Files whose
// abbreviation names no known language are ignored.
std::vector<TInterfaceLanguage> InterfaceLanguages(std::span<const std::filesystem::path> folders);

// The language the interface takes: Russian with the "no-language" switch; else the stored one
// when the program has it, else one of the same primary language (1033 finds 2057), else Russian.
const TInterfaceLanguage& ActiveLanguage(std::span<const TInterfaceLanguage> languages, int stored, bool no_language);

// The identifier stored under "Language" in the view-state file; the default 1033 when the file or
// the key is missing or unreadable (the window reports an unreadable file itself later).
int StoredLanguage(const std::filesystem::path& view_state_file);

class Session;

// The languages the program has and the one the interface takes for this Session (its data
// folder, view-state file and switches), for the start-up and the menu "Язык интерфейса".
struct TLanguageChoice {
  std::vector<TInterfaceLanguage> Languages;
  TInterfaceLanguage Active;
};
TLanguageChoice ChooseLanguage(const Session& session, const std::filesystem::path& exe_dir);

}  // namespace kelmora::shell
