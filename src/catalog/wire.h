#pragma once
// What the catalogue server reads from and writes to the wire: URL-encoded form bodies, the
// C escapes the program puts on its text values, Base64, UTC date-times, and answers that the
// program reads by markers ("<result>", "<row>", "<name>"), never as XML.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace kelmora::catalog {

// The fields of an "application/x-www-form-urlencoded" body in their order ("+" is a blank, "%XY"
// a byte; a malformed escape is kept as it stands). A field without "=" has an empty value.
class Form {
 public:
  static Form Parse(std::string_view body);
  // The value of the first field with this name; nullopt when there is none.
  std::optional<std::string> Get(std::string_view name) const;
  size_t Size() const { return fields_.size(); }

 private:
  std::vector<std::pair<std::string, std::string>> fields_;
};

// Undoes the program's escaping of text values: "\0".."\6", "\a", "\b", "\t", "\n", "\v", "\f",
// "\r", "\e", and a backslash before '"', '\'', '?' or '\'. Any other backslash stays as it is.
std::string CUnescape(std::string_view text);

std::string EncodeBase64(std::string_view bytes);
// Standard Base64 with or without padding; blanks and line breaks are skipped. nullopt for any
// other character outside the alphabet or a length that cannot be Base64.
std::optional<std::string> DecodeBase64(std::string_view text);

// Whether the bytes are well-formed UTF-8 (no overlong forms, no surrogates).
bool IsUtf8(std::string_view text);
// The number of characters (code points) of well-formed UTF-8 text.
size_t Utf8Length(std::string_view text);

// "yyyy-mm-dd hh:nn:ss" of UTC seconds since 1970; empty for 0 (no time).
std::string FormatUtc(int64_t seconds);

// One row of an answer, its elements in the order added.
class Row {
 public:
  Row& Int(std::string_view name, int64_t value);
  // A plain text element. A value that the reader's trimming or unquoting would change is sent in
  // double quotes with inner quotes doubled, which the reader undoes.
  Row& Text(std::string_view name, std::string_view value);
  Row& Base64(std::string_view name, std::string_view value) { return Raw(name, EncodeBase64(value)); }
  Row& Raw(std::string_view name, std::string_view value);
  const std::string& Body() const { return body_; }

 private:
  std::string body_;
};

// "<result><row>...</row>...</result>".
std::string Answer(const std::vector<Row>& rows);
// An answer of one row whose "<error>" holds the text.
std::string ErrorAnswer(std::string_view text);

}  // namespace kelmora::catalog
