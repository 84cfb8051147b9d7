#pragma once
// The one failure type of the engine: a UTF-8 text in the system's words, caught where the system
// catches failures and shown after the operation's fixed sentence.

#include <stdexcept>
#include <string>

#include <fmt/format.h>

namespace kelmora::support {

class Error : public std::runtime_error {
 public:
  explicit Error(const std::string& text) : std::runtime_error(text) {}
};

// Throws Error with a fmt-formatted text.
template <typename... Args>
[[noreturn]] void Fail(fmt::format_string<Args...> format, Args&&... args) {
  throw Error(fmt::format(format, std::forward<Args>(args)...));
}

}  // namespace kelmora::support
