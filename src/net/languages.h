#pragma once
// The languages the catalogue and the update notes name by Windows locale identifier: the
// platform's three-letter abbreviation and the display name of each.

#include <span>
#include <string>

namespace kelmora::net {

// The program's base language (Russian).
inline constexpr int BaseLanguage = 1049;

struct TLanguage {
  int Lcid;
  const char* Abbreviation;  // "RUS"
  const char* Name;          // "Русский"
  bool Interface;            // the program has an interface in it
};

// Every language known here, interface languages first.
std::span<const TLanguage> Languages();
// The three-letter abbreviation of the identifier's language; empty for an unknown identifier.
std::string LanguageAbbreviation(int lcid);

}  // namespace kelmora::net
