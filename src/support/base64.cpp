#include "support/base64.h"

#include <cstdint>

#include "support/error.h"

namespace kelmora::support {

namespace {

constexpr std::string_view Alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

int DigitOf(char c) {
  if (c >= 'A' && c <= 'Z') return c - 'A';
  if (c >= 'a' && c <= 'z') return c - 'a' + 26;
  if (c >= '0' && c <= '9') return c - '0' + 52;
  if (c == '+') return 62;
  if (c == '/') return 63;
  return -1;
}

}  // namespace

std::string Base64Encode(std::string_view bytes) {
  std::string out;
  out.reserve((bytes.size() + 2) / 3 * 4);
  size_t i = 0;
  for (; i + 2 < bytes.size(); i += 3) {
    const uint32_t v = static_cast<uint32_t>(static_cast<unsigned char>(bytes[i])) << 16 |
                       static_cast<uint32_t>(static_cast<unsigned char>(bytes[i + 1])) << 8 |
                       static_cast<unsigned char>(bytes[i + 2]);
    out += Alphabet[v >> 18 & 63];
    out += Alphabet[v >> 12 & 63];
    out += Alphabet[v >> 6 & 63];
    out += Alphabet[v & 63];
  }
  if (i < bytes.size()) {
    uint32_t v = static_cast<uint32_t>(static_cast<unsigned char>(bytes[i])) << 16;
    const bool two = i + 1 < bytes.size();
    if (two) v |= static_cast<uint32_t>(static_cast<unsigned char>(bytes[i + 1])) << 8;
    out += Alphabet[v >> 18 & 63];
    out += Alphabet[v >> 12 & 63];
    out += two ? Alphabet[v >> 6 & 63] : '=';
    out += '=';
  }
  return out;
}

std::string Base64Decode(std::string_view text) {
  std::string out;
  uint32_t acc = 0;
  int bits = 0;
  bool padding = false;
  for (const char c : text) {
    if (c == ' ' || c == '\r' || c == '\n' || c == '\t') continue;
    if (c == '=') {
      padding = true;
      continue;
    }
    const int d = DigitOf(c);
    if (d < 0 || padding) throw Error("Некорректные данные Base64");
    acc = (acc << 6) | static_cast<uint32_t>(d);
    bits += 6;
    if (bits >= 8) {
      bits -= 8;
      out += static_cast<char>((acc >> bits) & 0xFF);
    }
  }
  return out;
}

}  // namespace kelmora::support
