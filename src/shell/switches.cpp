#include "shell/switches.h"

#include "support/text.h"

namespace kelmora::shell {

bool HasSwitch(const std::vector<std::string>& arguments, std::string_view name) {
  for (std::string_view arg : arguments) {
    for (std::string_view prefix : {"--", "-", "/", "\\"}) {
      if (arg.starts_with(prefix)) {
        arg.remove_prefix(prefix.size());
        break;
      }
    }
    if (support::SameText(arg, name)) return true;
  }
  return false;
}

}  // namespace kelmora::shell
