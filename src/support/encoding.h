#pragma once
// Conversion between the program's internal UTF-8 text and the single-byte Cyrillic code page
// (Windows-1251) that every file, record and setting uses.

#include <string>
#include <string_view>

namespace kelmora::support {

// Windows-1251 bytes to UTF-8. Every byte has a mapping except 0x98, which becomes U+FFFD.
std::string Cp1251ToUtf8(std::string_view bytes);

// UTF-8 to Windows-1251. Characters without a Windows-1251 form become "?"; invalid UTF-8
// sequences become "?" too. Never throws.
std::string Utf8ToCp1251(std::string_view text);

// UTF-8 text cut so that its Windows-1251 form has at most max_bytes bytes (one byte per character),
// without splitting a character. Used for short strings of fixed width.
std::string CutToCp1251Bytes(std::string_view text, size_t max_bytes);

}  // namespace kelmora::support
