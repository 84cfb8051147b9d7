#include "support/encoding.h"

#include <iconv.h>

#include <array>
#include <cerrno>
#include <cstring>
#include <unordered_map>

#include "support/error.h"

namespace kelmora::support {
namespace {

constexpr char32_t kReplacement = 0xFFFD;
constexpr char32_t kInvalid = 0xFFFFFFFF;

// The code page is taken from glibc's iconv once, byte by byte, and then used as a table: iconv
// stays the one source of the mapping while conversions of short record fields cost no iconv call.
struct Cp1251Table {
  std::array<char32_t, 256> ToUnicode{};
  std::unordered_map<char32_t, unsigned char> FromUnicode;
  std::string Failure;  // non-empty when iconv could not provide the mapping
};

const Cp1251Table& Table() {
  static const Cp1251Table table = [] {
    Cp1251Table t;
    iconv_t cd = iconv_open("UTF-32LE", "CP1251");
    if (cd == reinterpret_cast<iconv_t>(-1)) {
      t.Failure = fmt::format("Перекодировка CP1251 недоступна: {}", std::strerror(errno));
      for (int b = 0; b < 128; ++b) t.ToUnicode[b] = static_cast<char32_t>(b);
      for (int b = 128; b < 256; ++b) t.ToUnicode[b] = kReplacement;
    } else {
      for (int b = 0; b < 256; ++b) {
        char in = static_cast<char>(b);
        unsigned char out[8] = {};
        char* in_ptr = &in;
        size_t in_left = 1;
        char* out_ptr = reinterpret_cast<char*>(out);
        size_t out_left = sizeof out;
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
        size_t rc = iconv(cd, &in_ptr, &in_left, &out_ptr, &out_left);
        if (rc == static_cast<size_t>(-1) || sizeof out - out_left != 4) {
          t.ToUnicode[b] = kReplacement;
        } else {
          t.ToUnicode[b] = static_cast<char32_t>(out[0] | out[1] << 8 | out[2] << 16 |
                                                 static_cast<uint32_t>(out[3]) << 24);
        }
      }
      iconv_close(cd);
    }
    t.ToUnicode[0x98] = kReplacement;  // the one byte without a character
    for (int b = 0; b < 256; ++b) {
      if (t.ToUnicode[b] != kReplacement) t.FromUnicode.emplace(t.ToUnicode[b], static_cast<unsigned char>(b));
    }
    return t;
  }();
  return table;
}

void AppendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

// Decodes one UTF-8 character at text[pos] and advances pos. An invalid sequence yields kInvalid
// and consumes its maximal invalid prefix (at least one byte), so it stands for one character.
char32_t DecodeUtf8(std::string_view text, size_t& pos) {
  const auto byte = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
  unsigned char lead = byte(pos);
  if (lead < 0x80) {
    ++pos;
    return lead;
  }
  size_t length;
  char32_t cp;
  unsigned char min2 = 0x80, max2 = 0xBF;  // the allowed range of the second byte
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
    cp = lead & 0x1F;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    cp = lead & 0x0F;
    if (lead == 0xE0) min2 = 0xA0;  // overlong
    if (lead == 0xED) max2 = 0x9F;  // surrogates
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    cp = lead & 0x07;
    if (lead == 0xF0) min2 = 0x90;  // overlong
    if (lead == 0xF4) max2 = 0x8F;  // above U+10FFFF
  } else {
    ++pos;
    return kInvalid;
  }
  size_t i = pos + 1;
  for (size_t k = 1; k < length; ++k, ++i) {
    unsigned char lo = k == 1 ? min2 : 0x80, hi = k == 1 ? max2 : 0xBF;
    if (i >= text.size() || byte(i) < lo || byte(i) > hi) {
      pos = i;
      return kInvalid;
    }
    cp = cp << 6 | (byte(i) & 0x3F);
  }
  pos = i;
  return cp;
}

}  // namespace

std::string Cp1251ToUtf8(std::string_view bytes) {
  const Cp1251Table& table = Table();
  if (!table.Failure.empty()) {
    for (char c : bytes) {
      if (static_cast<unsigned char>(c) >= 0x80) throw Error(table.Failure);
    }
  }
  std::string out;
  out.reserve(bytes.size() * 2);
  for (char c : bytes) AppendUtf8(out, table.ToUnicode[static_cast<unsigned char>(c)]);
  return out;
}

std::string Utf8ToCp1251(std::string_view text) {
  const Cp1251Table& table = Table();
  std::string out;
  out.reserve(text.size());
  size_t pos = 0;
  while (pos < text.size()) {
    char32_t cp = DecodeUtf8(text, pos);
    if (cp < 0x80) {
      out += static_cast<char>(cp);
      continue;
    }
    auto it = table.FromUnicode.find(cp);
    out += it == table.FromUnicode.end() ? '?' : static_cast<char>(it->second);
  }
  return out;
}

std::string CutToCp1251Bytes(std::string_view text, size_t max_bytes) {
  size_t pos = 0;
  for (size_t count = 0; count < max_bytes && pos < text.size(); ++count) DecodeUtf8(text, pos);
  return std::string(text.substr(0, pos));
}

}  // namespace kelmora::support
