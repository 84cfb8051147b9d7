#pragma once
// Command-line switches: an argument names a switch when it equals the name ignoring case, bare or
// after one of the prefixes "-", "--", "/" or "\".

#include <string>
#include <string_view>
#include <vector>

namespace kelmora::shell {

inline constexpr const char* SwitchRestart = "restart";
inline constexpr const char* SwitchLoadOnly = "loadonly";
inline constexpr const char* SwitchFullRecreate = "fullrecreate";
inline constexpr const char* SwitchFullRefresh = "fullrefresh";
inline constexpr const char* SwitchNoLanguage = "no-language";

bool HasSwitch(const std::vector<std::string>& arguments, std::string_view name);

}  // namespace kelmora::shell
