#pragma once
// Base64 (RFC 4648, standard alphabet, "=" padding) for the catalogue's text elements.

#include <string>
#include <string_view>

namespace kelmora::support {

std::string Base64Encode(std::string_view bytes);
// Blanks and line breaks are ignored; missing padding is accepted. Throws Error ("Некорректные
// данные Base64") on any other character outside the alphabet.
std::string Base64Decode(std::string_view text);

}  // namespace kelmora::support
