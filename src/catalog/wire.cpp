#include "catalog/wire.h"

#include <ctime>

#include <fmt/format.h>

#include "support/base64.h"
#include "support/text.h"

namespace kelmora::catalog {

namespace {

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

std::string PercentDecode(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '+') {
      out += ' ';
    } else if (c == '%' && i + 2 < text.size() && HexValue(text[i + 1]) >= 0 && HexValue(text[i + 2]) >= 0) {
      out += static_cast<char>(HexValue(text[i + 1]) * 16 + HexValue(text[i + 2]));
      i += 2;
    } else {
      out += c;
    }
  }
  return out;
}

int Base64Value(char c) {
  if (c >= 'A' && c <= 'Z') return c - 'A';
  if (c >= 'a' && c <= 'z') return c - 'a' + 26;
  if (c >= '0' && c <= '9') return c - '0' + 52;
  if (c == '+') return 62;
  if (c == '/') return 63;
  return -1;
}

// The length of the UTF-8 sequence that starts at text[i], 0 when it is malformed there.
size_t SequenceLength(std::string_view text, size_t i) {
  const auto b0 = static_cast<unsigned char>(text[i]);
  if (b0 < 0x80) return 1;
  size_t n = 0;
  uint32_t cp = 0;
  if ((b0 & 0xE0) == 0xC0) {
    n = 2;
    cp = b0 & 0x1F;
  } else if ((b0 & 0xF0) == 0xE0) {
    n = 3;
    cp = b0 & 0x0F;
  } else if ((b0 & 0xF8) == 0xF0) {
    n = 4;
    cp = b0 & 0x07;
  } else {
    return 0;
  }
  if (i + n > text.size()) return 0;
  for (size_t k = 1; k < n; ++k) {
    const auto b = static_cast<unsigned char>(text[i + k]);
    if ((b & 0xC0) != 0x80) return 0;
    cp = (cp << 6) | (b & 0x3F);
  }
  static constexpr uint32_t kMin[] = {0, 0, 0x80, 0x800, 0x10000};
  if (cp < kMin[n] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
  return n;
}

// Whether the reader (trim of characters <= ' ', removal of enclosing quotes) would change the text.
bool NeedsQuotes(std::string_view v) {
  if (v.empty()) return false;
  if (static_cast<unsigned char>(v.front()) <= ' ' || static_cast<unsigned char>(v.back()) <= ' ') return true;
  return v.front() == '"' || v.back() == '"';
}

}  // namespace

Form Form::Parse(std::string_view body) {
  Form form;
  size_t start = 0;
  while (start <= body.size()) {
    size_t end = body.find('&', start);
    if (end == std::string_view::npos) end = body.size();
    const std::string_view field = body.substr(start, end - start);
    if (!field.empty()) {
      const size_t eq = field.find('=');
      if (eq == std::string_view::npos)
        form.fields_.emplace_back(PercentDecode(field), std::string());
      else
        form.fields_.emplace_back(PercentDecode(field.substr(0, eq)), PercentDecode(field.substr(eq + 1)));
    }
    start = end + 1;
  }
  return form;
}

std::optional<std::string> Form::Get(std::string_view name) const {
  for (const auto& [key, value] : fields_)
    if (key == name) return value;
  return std::nullopt;
}

std::string CUnescape(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c != '\\' || i + 1 == text.size()) {
      out += c;
      continue;
    }
    const char n = text[i + 1];
    char decoded = 0;
    bool known = true;
    if (n >= '0' && n <= '6') {
      decoded = static_cast<char>(n - '0');
    } else {
      switch (n) {
        case 'a': decoded = '\a'; break;
        case 'b': decoded = '\b'; break;
        case 't': decoded = '\t'; break;
        case 'n': decoded = '\n'; break;
        case 'v': decoded = '\v'; break;
        case 'f': decoded = '\f'; break;
        case 'r': decoded = '\r'; break;
        case 'e': decoded = '\x1b'; break;
        case '"':
        case '\'':
        case '?':
        case '\\': decoded = n; break;
        default: known = false;
      }
    }
    if (known) {
      out += decoded;
      ++i;
    } else {
      out += c;
    }
  }
  return out;
}

std::string EncodeBase64(std::string_view bytes) { return support::Base64Encode(bytes); }

std::optional<std::string> DecodeBase64(std::string_view text) {
  std::string out;
  out.reserve(text.size() / 4 * 3);
  uint32_t acc = 0;
  int bits = 0;
  size_t digits = 0;
  size_t padding = 0;
  for (const char c : text) {
    if (c == ' ' || c == '\r' || c == '\n' || c == '\t') continue;
    if (c == '=') {
      ++padding;
      continue;
    }
    const int v = Base64Value(c);
    if (v < 0 || padding > 0) return std::nullopt;  // a digit after the padding is no Base64 either
    acc = (acc << 6) | static_cast<uint32_t>(v);
    bits += 6;
    ++digits;
    if (bits >= 8) {
      bits -= 8;
      out += static_cast<char>((acc >> bits) & 0xFF);
    }
  }
  if (digits % 4 == 1 || padding > 2) return std::nullopt;
  if (padding > 0 && (digits + padding) % 4 != 0) return std::nullopt;
  return out;
}

bool IsUtf8(std::string_view text) {
  for (size_t i = 0; i < text.size();) {
    const size_t n = SequenceLength(text, i);
    if (n == 0) return false;
    i += n;
  }
  return true;
}

size_t Utf8Length(std::string_view text) {
  size_t count = 0;
  for (const char c : text)
    if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++count;
  return count;
}

std::string FormatUtc(int64_t seconds) {
  if (seconds == 0) return {};
  const auto t = static_cast<std::time_t>(seconds);
  std::tm tm{};
  if (!gmtime_r(&t, &tm)) return {};
  return fmt::format("{:04}-{:02}-{:02} {:02}:{:02}:{:02}", tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour,
                     tm.tm_min, tm.tm_sec);
}

Row& Row::Int(std::string_view name, int64_t value) { return Raw(name, fmt::format("{}", value)); }

Row& Row::Text(std::string_view name, std::string_view value) {
  if (!NeedsQuotes(value)) return Raw(name, value);
  std::string quoted = "\"";
  for (const char c : value) {
    quoted += c;
    if (c == '"') quoted += '"';
  }
  quoted += '"';
  return Raw(name, quoted);
}

Row& Row::Raw(std::string_view name, std::string_view value) {
  body_ += fmt::format("<{0}>{1}</{0}>", name, value);
  return *this;
}

std::string Answer(const std::vector<Row>& rows) {
  std::string out = "<result>";
  for (const Row& row : rows) {
    out += "<row>";
    out += row.Body();
    out += "</row>";
  }
  out += "</result>";
  return out;
}

std::string ErrorAnswer(std::string_view text) {
  // The text may quote what was sent; a "<" in it could pass for a marker.
  std::string safe;
  for (const char c : text) {
    if (c == '<')
      safe += "\u2039";
    else
      safe += c;
  }
  if (support::Trim(safe).empty()) safe = "Ошибка";
  Row row;
  row.Text("error", safe);
  return Answer({row});
}

}  // namespace kelmora::catalog
