#include "lottery/draws_csv.h"

#include <algorithm>
#include <unordered_set>

#include <fmt/format.h>

#include "lottery/comb_text.h"
#include "lottery/draws.h"
#include "support/encoding.h"
#include "support/files.h"
#include "support/text.h"

namespace kelmora::lottery {

namespace {

constexpr size_t DateTextSize = 10;

bool IsBlank(char c) { return static_cast<unsigned char>(c) <= ' '; }

std::string QuoteField(std::string_view text) {
  std::string quoted = "\"";
  for (char c : text) {
    if (c == '"') quoted += '"';
    quoted += c;
  }
  quoted += '"';
  return quoted;
}

// A quoted field starting at text[pos] == '"'; a doubled quote is one quote, a missing closing
// quote takes the rest of the line. pos ends after the closing quote.
std::string TakeQuoted(std::string_view text, size_t& pos) {
  std::string field;
  ++pos;
  while (pos < text.size()) {
    if (text[pos] == '"') {
      ++pos;
      if (pos >= text.size() || text[pos] != '"') break;
    }
    field += text[pos++];
  }
  return field;
}

TDrawRec MakeDraw(int32_t number, std::string_view date, std::string_view s, std::string_view h,
                  std::string_view d, std::string_view c) {
  TDrawRec draw;
  draw.Number = number;
  draw.Values = MakeComb(TextToValue(support::Trim(s)), TextToValue(support::Trim(h)),
                         TextToValue(support::Trim(d)), TextToValue(support::Trim(c)));
  draw.Date = support::CutToCp1251Bytes(date, DateTextSize);
  return draw;
}

bool IsCardComb(TComb comb) {
  for (int p = 0; p < PositionCount; ++p) {
    const int v = CombValue(comb, p);
    if (v < ValueMin || v > ValueMax) return false;
  }
  return true;
}

}  // namespace

std::string DrawsToCsv(const TDrawsArray& draws) {
  std::string text;
  for (const TDrawRec& draw : draws) {
    text += fmt::format("{};{};{};{};{};{}\r\n", draw.Number, QuoteField(draw.Date),
                        ValueToText(CombValue(draw.Values, 0)), ValueToText(CombValue(draw.Values, 1)),
                        ValueToText(CombValue(draw.Values, 2)), ValueToText(CombValue(draw.Values, 3)));
  }
  return support::Utf8ToCp1251(text);
}

void ExportDrawsFile(const std::filesystem::path& path, const TDrawsArray& draws) {
  support::WriteFileAtomic(path, DrawsToCsv(draws));
}

std::vector<std::string> SplitImportLine(std::string_view line) {
  std::vector<std::string> fields;
  size_t pos = 0;
  const auto skip_blanks = [&] {
    while (pos < line.size() && IsBlank(line[pos])) ++pos;
  };
  skip_blanks();
  while (pos < line.size()) {
    if (line[pos] == '"') {
      fields.push_back(TakeQuoted(line, pos));
    } else {
      const size_t start = pos;
      while (pos < line.size() && !IsBlank(line[pos]) && line[pos] != ';') ++pos;
      fields.emplace_back(line.substr(start, pos - start));
    }
    skip_blanks();
    if (pos < line.size() && line[pos] == ';') {
      if (pos + 1 == line.size()) fields.emplace_back();
      ++pos;
      skip_blanks();
    }
  }
  return fields;
}

int ImportDrawsText(TDrawsArray& draws, std::string_view bytes, TImportReport* report) {
  std::unordered_set<int32_t> known;
  known.reserve(draws.size() * 2);
  for (const TDrawRec& draw : draws) known.insert(draw.Number);
  int appended = 0;
  int line_number = 0;
  const auto skip = [&](std::string_view line) {
    if (!report) return;
    if (report->Skipped++ == 0) {
      report->FirstBadLine = line_number;
      report->FirstBadText = std::string(line);
    }
  };
  for (const std::string& raw : support::SplitLines(bytes)) {
    ++line_number;
    const std::string utf8 = support::Cp1251ToUtf8(raw);
    const std::string_view line = support::Trim(utf8);
    if (line.empty()) continue;
    const std::vector<std::string> f = SplitImportLine(line);
    TDrawRec draw;
    if (f.size() == 5) {
      draw = MakeDraw(static_cast<int32_t>(draws.size()) + 1, f[0], f[1], f[2], f[3], f[4]);
    } else if (f.size() == 6) {
      draw = MakeDraw(support::ParseInt(f[0]).value_or(0), f[1], f[2], f[3], f[4], f[5]);
    } else {
      skip(line);
      continue;
    }
    // A value that is not a card would enter the archive as a corrupted draw.
    if (draw.Number <= 0 || !IsCardComb(draw.Values)) {
      skip(line);
      continue;
    }
    if (known.insert(draw.Number).second) {
      draws.push_back(std::move(draw));
      ++appended;
    }
  }
  return appended;
}

int ImportDrawsFile(TDrawsArray& draws, const std::filesystem::path& path, TImportReport* report) {
  const std::vector<uint8_t> bytes = support::ReadFileBytes(path);
  return ImportDrawsText(draws, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()), report);
}

TDrawsArray ReadResultsText(std::string_view bytes, int32_t first_wanted) {
  TDrawsArray collected;
  const std::vector<std::string> lines = support::SplitLines(bytes);
  for (size_t i = 1; i < lines.size(); ++i) {  // line 0 is the header
    const std::string line = support::Cp1251ToUtf8(lines[i]);
    if (support::Trim(line).empty()) continue;
    std::vector<std::string> f = support::SplitWords(line, ",");
    if (f.size() < 6) f.resize(6);  // missing values read as 0
    const int32_t number = support::ParseInt(support::Trim(f[1])).value_or(0);
    if (number < first_wanted) break;
    collected.push_back(MakeDraw(number, f[0], f[5], f[4], f[3], f[2]));
  }
  std::reverse(collected.begin(), collected.end());
  return collected;
}

TDrawsArray ReadResultsFile(const std::filesystem::path& path, int32_t first_wanted) {
  if (!support::FileExists(path)) return {};
  return ReadResultsText(support::ReadFileText(path), first_wanted);
}

}  // namespace kelmora::lottery
