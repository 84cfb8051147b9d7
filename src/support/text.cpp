#include "support/text.h"

#include <locale.h>

#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>

#include "support/error.h"

namespace kelmora::support {
namespace {

// Folding reads ASCII and the two-byte UTF-8 forms (which hold the Cyrillic block) as code points;
// longer or invalid sequences are compared byte by byte, which keeps code point order. Folded
// letters keep their UTF-8 length, so UpperCase never changes the length of a text.
struct Folded {
  char32_t Code;  // upper-case code point, or 0x110000 + byte for a byte compared as it is
  size_t Length;  // bytes consumed
};

Folded FoldAt(std::string_view s, size_t i) {
  unsigned char c = static_cast<unsigned char>(s[i]);
  if (c < 0x80) return {static_cast<char32_t>(c >= 'a' && c <= 'z' ? c - 32 : c), 1};
  if (c >= 0xC2 && c <= 0xDF && i + 1 < s.size()) {
    unsigned char d = static_cast<unsigned char>(s[i + 1]);
    if (d >= 0x80 && d <= 0xBF) {
      char32_t cp = (static_cast<char32_t>(c & 0x1F) << 6) | (d & 0x3F);
      if (cp >= 0x0430 && cp <= 0x044F) cp -= 0x20;       // а..я
      else if (cp >= 0x0450 && cp <= 0x045F) cp -= 0x50;  // ѐ..џ, incl. ё
      else if (cp == 0x0491) cp = 0x0490;                 // ґ
      return {cp, 2};
    }
  }
  return {static_cast<char32_t>(0x110000 + c), 1};  // a byte outside the folded range
}

void AppendFolded(std::string& out, const Folded& f, std::string_view original, size_t i) {
  if (f.Length == 2) {
    out += static_cast<char>(0xC0 | (f.Code >> 6));
    out += static_cast<char>(0x80 | (f.Code & 0x3F));
  } else if (f.Code < 0x80) {
    out += static_cast<char>(f.Code);
  } else {
    out += original[i];
  }
}

// Sorting weight: code point order, except that Ё sorts right after Е as in the Russian alphabet.
uint64_t Weight(char32_t upper) {
  if (upper == 0x0401) return uint64_t{0x0415} * 2 + 1;
  return uint64_t{upper} * 2;
}

template <typename T>
std::optional<T> ParseInteger(std::string_view text) {
  if (text.empty()) return std::nullopt;
  bool negative = false;
  if (text[0] == '+' || text[0] == '-') {
    negative = text[0] == '-';
    text.remove_prefix(1);
  }
  if (text.empty() || text[0] < '0' || text[0] > '9') return std::nullopt;
  // Parse the magnitude unsigned so that the most negative value fits.
  using U = std::make_unsigned_t<T>;
  U magnitude = 0;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), magnitude);
  if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
  constexpr U kMax = static_cast<U>(std::numeric_limits<T>::max());
  if (negative) {
    if (magnitude > kMax + U{1}) return std::nullopt;
    return static_cast<T>(U{0} - magnitude);
  }
  if (magnitude > kMax) return std::nullopt;
  return static_cast<T>(magnitude);
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

locale_t CLocale() {
  static const locale_t c = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0));
  return c;
}

}  // namespace

std::string_view Trim(std::string_view text) {
  const auto blank = [](char c) { return static_cast<unsigned char>(c) <= ' '; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  return text;
}

std::string UpperCase(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size();) {
    Folded f = FoldAt(text, i);
    AppendFolded(out, f, text, i);
    i += f.Length;
  }
  return out;
}

// Texts that are the same but for letter case have the same byte length (folding keeps lengths),
// and a common byte prefix folds alike, so only the part from the last ASCII byte before the first
// difference needs folding: an ASCII byte is never the second byte of a pair, so a character
// begins right after it in both texts. A rating lookup compares a name with every name it has.
bool SameText(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  size_t k = 0;
  while (k < a.size() && a[k] == b[k]) ++k;
  if (k == a.size()) return true;
  while (k > 0 && static_cast<unsigned char>(a[k - 1]) >= 0x80) --k;
  return CompareText(a.substr(k), b.substr(k)) == 0;
}

int CompareText(std::string_view a, std::string_view b) {
  size_t i = 0, j = 0;
  while (i < a.size() && j < b.size()) {
    Folded fa = FoldAt(a, i), fb = FoldAt(b, j);
    uint64_t wa = Weight(fa.Code), wb = Weight(fb.Code);
    if (wa != wb) return wa < wb ? -1 : 1;
    i += fa.Length;
    j += fb.Length;
  }
  if (i < a.size()) return 1;
  if (j < b.size()) return -1;
  return 0;
}

std::optional<int32_t> ParseInt(std::string_view text) { return ParseInteger<int32_t>(text); }
std::optional<int64_t> ParseInt64(std::string_view text) { return ParseInteger<int64_t>(text); }

std::optional<long double> ParseReal(std::string_view text) {
  text = Trim(text);
  // The grammar is checked here, [sign] digits [sep [digits]] [e [sign] digits] with at least one
  // mantissa digit, because from_chars also takes "inf", "nan" and hex forms.
  std::string normal;
  normal.reserve(text.size());
  size_t i = 0;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    if (text[i] == '-') normal += '-';
    ++i;
  }
  size_t digits = 0;
  const auto take_digits = [&](size_t& count) {
    while (i < text.size() && IsDigit(text[i])) {
      normal += text[i++];
      ++count;
    }
  };
  take_digits(digits);
  if (i < text.size() && (text[i] == '.' || text[i] == ',')) {
    normal += '.';
    ++i;
    take_digits(digits);
  }
  if (digits == 0) return std::nullopt;
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    normal += 'e';
    ++i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) normal += text[i++];
    size_t exponent_digits = 0;
    take_digits(exponent_digits);
    if (exponent_digits == 0) return std::nullopt;
  }
  if (i != text.size()) return std::nullopt;
  long double value = 0;
  auto [end, ec] = std::from_chars(normal.data(), normal.data() + normal.size(), value);
  if (ec != std::errc() || end != normal.data() + normal.size()) return std::nullopt;
  return value;
}

std::vector<std::string> Split(std::string_view text, std::string_view separators) {
  std::vector<std::string> pieces;
  size_t start = 0;
  for (;;) {
    size_t at = text.find_first_of(separators, start);
    if (at == std::string_view::npos) {
      pieces.emplace_back(text.substr(start));
      return pieces;
    }
    pieces.emplace_back(text.substr(start, at - start));
    start = at + 1;
  }
}

std::vector<std::string> SplitWords(std::string_view text, std::string_view separators) {
  std::vector<std::string> pieces;
  size_t start = text.find_first_not_of(separators);
  while (start != std::string_view::npos) {
    size_t end = text.find_first_of(separators, start);
    if (end == std::string_view::npos) end = text.size();
    pieces.emplace_back(text.substr(start, end - start));
    start = text.find_first_not_of(separators, end);
  }
  return pieces;
}

std::string Join(const std::vector<std::string>& pieces, std::string_view separator) {
  std::string out;
  for (size_t i = 0; i < pieces.size(); ++i) {
    if (i > 0) out += separator;
    out += pieces[i];
  }
  return out;
}

std::string MessageToDisplay(std::string_view message) {
  std::string out;
  out.reserve(message.size());
  for (size_t i = 0; i < message.size(); ++i) {
    if (message[i] == '\r') {
      out += '\n';
      if (i + 1 < message.size() && message[i + 1] == '\n') ++i;  // "\r\n" is one break
    } else {
      out += message[i];
    }
  }
  return out;
}

std::string FormatFixed(long double value, int decimals, char decimal_separator) {
  if (decimals < 0) decimals = 0;
  // The C locale for this thread only, so the GUI's process locale cannot change the separator.
  locale_t previous = uselocale(CLocale());
  char small[64];
  int n = std::snprintf(small, sizeof small, "%.*Lf", decimals, value);
  std::string out;
  if (n >= 0 && static_cast<size_t>(n) < sizeof small) {
    out.assign(small, static_cast<size_t>(n));
  } else if (n >= 0) {
    out.resize(static_cast<size_t>(n) + 1);
    std::snprintf(out.data(), out.size(), "%.*Lf", decimals, value);
    out.resize(static_cast<size_t>(n));
  }
  uselocale(previous);
  if (size_t dot = out.find('.'); dot != std::string::npos) out[dot] = decimal_separator;
  return out;
}

std::string FormatMoney(int64_t amount, char decimal_separator) {
  // Integer arithmetic, so no amount is disturbed by binary rounding; the third and fourth decimals
  // round half away from zero.
  bool negative = amount < 0;
  uint64_t magnitude = negative ? uint64_t{0} - static_cast<uint64_t>(amount) : static_cast<uint64_t>(amount);
  uint64_t cents = magnitude / 100 + (magnitude % 100 >= 50 ? 1 : 0);
  std::string out = negative && cents != 0 ? "-" : "";
  out += std::to_string(cents / 100);
  out += decimal_separator;
  uint64_t fraction = cents % 100;
  out += static_cast<char>('0' + fraction / 10);
  out += static_cast<char>('0' + fraction % 10);
  return out;
}

int64_t RealToMoney(long double value) {
  long double scaled = std::nearbyint(value * 10000.0L);
  // 2^63 is exactly representable; every long double below it converts without overflow.
  constexpr long double kLimit = 9223372036854775808.0L;
  if (!(scaled >= -kLimit && scaled < kLimit)) Fail("Сумма {} вне допустимого диапазона", FormatFixed(value, 4, '.'));
  return static_cast<int64_t>(scaled);
}

}  // namespace kelmora::support
