#include "shell/languages.h"

#include <fmt/format.h>

#include "net/languages.h"
#include "shell/view_state.h"
#include "support/error.h"
#include "shell/session.h"
#include "shell/switches.h"

namespace kelmora::shell {

namespace {

constexpr int LanguageDefault = 1033;

TInterfaceLanguage BuiltIn() {
  return {net::BaseLanguage, "Русский", net::LanguageAbbreviation(net::BaseLanguage), {}};
}

}  // namespace

std::vector<std::filesystem::path> TranslationFolders(const std::filesystem::path& exe_dir,
                                                      const std::filesystem::path& data_dir) {
  return {exe_dir / "translations", exe_dir.parent_path() / "share" / "kelmora_4r32" / "translations",
          data_dir / "translations"};
}

std::vector<TInterfaceLanguage> InterfaceLanguages(std::span<const std::filesystem::path> folders) {
  std::vector<TInterfaceLanguage> out{BuiltIn()};
  for (const net::TLanguage& language : net::Languages()) {
    if (language.Lcid == net::BaseLanguage) continue;
    const std::string file = fmt::format("{}_{}.qm", ProgramName, language.Abbreviation);
    for (const auto& folder : folders) {
      std::error_code ec;
      if (std::filesystem::is_regular_file(folder / file, ec)) {
        out.push_back({language.Lcid, language.Name, language.Abbreviation, folder / file});
        break;
      }
    }
  }
  return out;
}

const TInterfaceLanguage& ActiveLanguage(std::span<const TInterfaceLanguage> languages, int stored, bool no_language) {
  // The built-in language is always the first entry.
  if (no_language || languages.empty()) {
    static const TInterfaceLanguage base = BuiltIn();
    return languages.empty() ? base : languages.front();
  }
  for (const auto& language : languages)
    if (language.Lcid == stored) return language;
  // The primary language is the identifier's low ten bits.
  for (const auto& language : languages)
    if ((language.Lcid & 0x3FF) == (stored & 0x3FF)) return language;
  return languages.front();
}

int StoredLanguage(const std::filesystem::path& view_state_file) {
  try {
    ViewState view(view_state_file);
    view.Load();
    return view.ReadInt(MainWindowSection, "Language", LanguageDefault);
  } catch (const support::Error&) {
    return LanguageDefault;
  }
}

TLanguageChoice ChooseLanguage(const Session& session, const std::filesystem::path& exe_dir) {
  TLanguageChoice choice;
  choice.Languages = InterfaceLanguages(TranslationFolders(exe_dir, session.DataPath("")));
  choice.Active = ActiveLanguage(choice.Languages, StoredLanguage(session.ViewStatePath()),
                                 session.HasSwitch(SwitchNoLanguage));
  return choice;
}

}  // namespace kelmora::shell
