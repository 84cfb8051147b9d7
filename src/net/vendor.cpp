#include "net/vendor.h"

#include <random>

#include <fmt/format.h>

#include "support/error.h"
#include "support/text.h"

namespace kelmora::net {

namespace {

char FoldAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

size_t FindIgnoringCase(std::string_view text, std::string_view marker, size_t from = 0) {
  if (marker.empty()) return from <= text.size() ? from : std::string_view::npos;
  for (size_t i = from; i + marker.size() <= text.size(); ++i) {
    size_t k = 0;
    while (k < marker.size() && FoldAscii(text[i + k]) == FoldAscii(marker[k])) ++k;
    if (k == marker.size()) return i;
  }
  return std::string_view::npos;
}

// Finds the pair; returns false when the start marker is missing. `piece` is the untrimmed text
// between the markers, `after` the position just past the end marker.
bool FindPair(std::string_view text, std::string_view start, std::string_view end, std::string_view& piece,
              size_t& after) {
  const size_t s = FindIgnoringCase(text, start);
  if (s == std::string_view::npos) return false;
  const size_t from = s + start.size();
  const size_t e = FindIgnoringCase(text, end, from);
  if (e == std::string_view::npos)
    support::Fail("Не удалось найти пару идентификаторов \"{1}\" - \"{2}\" в тексте\r\r[{0}]!", text, start, end);
  piece = text.substr(from, e - from);
  after = e + end.size();
  return true;
}

std::string Unquote(std::string_view piece) {
  piece = support::Trim(piece);
  if (piece.size() < 2 || piece.front() != '"' || piece.back() != '"') return std::string(piece);
  std::string out;
  const std::string_view inner = piece.substr(1, piece.size() - 2);
  for (size_t i = 0; i < inner.size(); ++i) {
    out += inner[i];
    if (inner[i] == '"' && i + 1 < inner.size() && inner[i + 1] == '"') ++i;
  }
  return out;
}

}  // namespace

std::string NewInstallId() {
  std::random_device device;
  std::mt19937_64 random(static_cast<uint64_t>(device()) << 32 ^ device());
  uint8_t b[16];
  for (int i = 0; i < 16; i += 8) {
    const uint64_t v = random();
    for (int k = 0; k < 8; ++k) b[i + k] = static_cast<uint8_t>(v >> (8 * k));
  }
  b[6] = static_cast<uint8_t>((b[6] & 0x0F) | 0x40);  // version 4
  b[8] = static_cast<uint8_t>((b[8] & 0x3F) | 0x80);  // the RFC 4122 variant
  return fmt::format("{{{:02X}{:02X}{:02X}{:02X}-{:02X}{:02X}-{:02X}{:02X}-{:02X}{:02X}-{:02X}{:02X}{:02X}{:02X}{:02X}{:02X}}}",
                     b[0], b[1], b[2], b[3], b[4], b[5], b[6], b[7], b[8], b[9], b[10], b[11], b[12], b[13], b[14],
                     b[15]);
}

TFormFields IdentityFields(const TUserIdentity& identity, int lcid) {
  return {fmt::format("appid={}", identity.AppId),
          fmt::format("appver={}", identity.AppVer),
          fmt::format("hwdid={}", identity.InstallId),
          fmt::format("cl_name={}", CEscape(identity.UserName)),
          fmt::format("cl_mail={}", CEscape(identity.UserMail)),
          fmt::format("cl_lcid={}", lcid)};
}

std::string CEscape(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    const auto code = static_cast<unsigned char>(c);
    if (code <= 6) {
      out += '\\';
      out += static_cast<char>('0' + code);
      continue;
    }
    switch (code) {
      case 7: out += "\\a"; break;
      case 8: out += "\\b"; break;
      case 9: out += "\\t"; break;
      case 10: out += "\\n"; break;
      case 11: out += "\\v"; break;
      case 12: out += "\\f"; break;
      case 13: out += "\\r"; break;
      case 27: out += "\\e"; break;
      case '"':
      case '\'':
      case '?':
      case '\\':
        out += '\\';
        out += c;
        break;
      default: out += c;
    }
  }
  return out;
}

bool HasMarker(std::string_view text, std::string_view marker) {
  return FindIgnoringCase(text, marker) != std::string_view::npos;
}

std::string TextBetween(std::string_view text, std::string_view start, std::string_view end) {
  std::string_view piece;
  size_t after = 0;
  if (!FindPair(text, start, end, piece, after)) return {};
  return Unquote(piece);
}

std::string CutTextBetween(std::string& text, std::string_view start, std::string_view end) {
  std::string_view piece;
  size_t after = 0;
  if (!FindPair(text, start, end, piece, after)) return {};
  std::string result = Unquote(piece);
  text.erase(0, after);
  return result;
}

std::vector<std::string> ReadAnswerRows(std::string_view answer) {
  std::string rest = TextBetween(answer, "<result>", "</result>");
  std::vector<std::string> rows;
  while (HasMarker(rest, "<row>")) {
    std::string row = CutTextBetween(rest, "<row>", "</row>");
    const std::string error = AnswerElement(row, "error");
    if (!error.empty()) support::Fail("{}", error);
    rows.push_back(std::move(row));
  }
  return rows;
}

std::string AnswerElement(std::string_view row, std::string_view name) {
  return TextBetween(row, fmt::format("<{}>", name), fmt::format("</{}>", name));
}

}  // namespace kelmora::net
