#pragma once
// Pages of the public proxy-list service as the program reads them: a hidden port base, and a table
// whose rows write the address in two parts (the first reversed, the second Base64 behind "\x"
// escapes) and the port as an offset from the base.

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

#include <fmt/format.h>

namespace kelmora::testing {

inline std::string Base64(std::string_view data) {
  static const char* alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string out;
  size_t i = 0;
  for (; i + 2 < data.size(); i += 3) {
    const uint32_t v = (uint8_t(data[i]) << 16) | (uint8_t(data[i + 1]) << 8) | uint8_t(data[i + 2]);
    for (int k = 18; k >= 0; k -= 6) out += alphabet[(v >> k) & 63];
  }
  if (i + 1 == data.size()) {
    const uint32_t v = uint8_t(data[i]) << 16;
    out += alphabet[(v >> 18) & 63];
    out += alphabet[(v >> 12) & 63];
    out += "==";
  } else if (i + 2 == data.size()) {
    const uint32_t v = (uint8_t(data[i]) << 16) | (uint8_t(data[i + 1]) << 8);
    for (int k = 18; k >= 6; k -= 6) out += alphabet[(v >> k) & 63];
    out += "=";
  }
  return out;
}

inline std::string HexEscapes(std::string_view text) {
  std::string out;
  for (unsigned char c : text) out += fmt::format("\\x{:02x}", c);
  return out;
}

// One row of the service's table as the page writes it: the address in two parts, the first
// reversed, the second Base64 behind "\x" escapes, and the port as an offset from the page's base.
inline std::string Row(std::string_view address, int offset, std::string_view offset_text = {}) {
  const size_t half = address.size() / 2;
  std::string first(address.substr(0, half));
  std::reverse(first.begin(), first.end());
  const std::string off = offset_text.empty() ? std::to_string(offset) : std::string(offset_text);
  return fmt::format(
      "<tr><td><SCRIPT>var ip = '{}'.split('').reverse().join('') + atob('{}'); var pp = ({} - (port ^ port)); "
      "document.write(ip + ':' + (base + pp));</script></td><td>HTTPS</td><td>75%</td></tr>\n",
      first, HexEscapes(Base64(address.substr(half))), off);
}

inline std::string Page(const std::vector<std::string>& rows, std::string_view base = "8000") {
  std::string body;
  for (const auto& r : rows) body += r;
  return fmt::format(
      "<html><body><div style=\"display:none\" data-port=\"{}\"></div><table><thead><tr><th>IP</th></tr></thead>"
      "<TBODY>\n{}</tbody></table></body></html>",
      base, body);
}

}  // namespace kelmora::testing
