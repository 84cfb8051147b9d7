#include "support/ini_file.h"

#include <charconv>
#include <system_error>

#include "support/encoding.h"
#include "support/error.h"
#include "support/files.h"
#include "support/text.h"

namespace kelmora::support {
namespace {

struct ParsedLine {
  enum Kind { kOther, kHeader, kEntry } Kind = kOther;
  std::string_view Name;   // section name or key
  std::string_view Value;  // entry value
};

ParsedLine ParseLine(std::string_view line) {
  std::string_view t = Trim(line);
  if (t.empty() || t.front() == ';' || t.front() == '#') return {};
  if (t.front() == '[') {
    size_t close = t.find(']');
    if (close == std::string_view::npos) return {};
    std::string_view name = Trim(t.substr(1, close - 1));
    if (name.empty()) return {};
    return {ParsedLine::kHeader, name, {}};
  }
  size_t eq = t.find('=');
  if (eq == std::string_view::npos) return {};
  std::string_view key = Trim(t.substr(0, eq));
  if (key.empty()) return {};
  return {ParsedLine::kEntry, key, Trim(t.substr(eq + 1))};
}

std::string OneLine(std::string_view value) {
  std::string out(value);
  for (char& c : out) {
    if (c == '\r' || c == '\n') c = ' ';
  }
  return out;
}

void AppendLine(std::string& out, std::string_view line) {
  out += line;
  out += "\r\n";
}

}  // namespace

void IniFile::Load() {
  std::error_code ec;
  if (!std::filesystem::exists(path_, ec)) {
    Parse({});
    return;
  }
  Parse(Cp1251ToUtf8(ReadFileText(path_)));
}

void IniFile::Save() const {
  if (path_.empty()) Fail("Не задано имя файла настроек");
  WriteFileAtomic(path_, Utf8ToCp1251(ToText()), owner_only_ ? FileAccess::OwnerOnly : FileAccess::Keep);
}

void IniFile::Parse(std::string_view utf8_text) {
  sections_.clear();
  layout_.clear();
  preamble_.clear();
  size_t current = SIZE_MAX;  // index of the section being read; SIZE_MAX before the first one
  std::vector<std::string> pending;
  const auto flush_pending = [&] {
    std::vector<std::string>& target = current == SIZE_MAX ? preamble_ : layout_[current].After;
    target.insert(target.end(), pending.begin(), pending.end());
    pending.clear();
  };
  for (std::string& line : SplitLines(utf8_text)) {
    ParsedLine parsed = ParseLine(line);
    if (parsed.Kind == ParsedLine::kHeader) {
      flush_pending();
      current = SIZE_MAX;
      for (size_t i = 0; i < sections_.size(); ++i) {
        if (SameText(sections_[i].Name, parsed.Name)) current = i;
      }
      if (current == SIZE_MAX) {
        sections_.push_back({std::string(parsed.Name), {}});
        layout_.push_back({line, {}, {}});
        current = sections_.size() - 1;
      }
    } else if (parsed.Kind == ParsedLine::kEntry && current != SIZE_MAX) {
      sections_[current].Entries.push_back({std::string(parsed.Name), std::string(parsed.Value)});
      layout_[current].Entries.push_back({std::move(pending), line});
      pending.clear();
    } else {
      pending.push_back(std::move(line));
    }
  }
  flush_pending();
}

std::string IniFile::ToText() const {
  std::string out;
  for (const std::string& line : preamble_) AppendLine(out, line);
  for (size_t i = 0; i < sections_.size(); ++i) {
    const Section& section = sections_[i];
    const SectionLayout& layout = layout_[i];
    AppendLine(out, layout.Header ? *layout.Header : "[" + section.Name + "]");
    for (size_t j = 0; j < section.Entries.size(); ++j) {
      const Entry& entry = section.Entries[j];
      const EntryLayout& entry_layout = layout.Entries[j];
      for (const std::string& line : entry_layout.Before) AppendLine(out, line);
      if (entry_layout.Raw) {
        AppendLine(out, *entry_layout.Raw);
      } else {
        AppendLine(out, entry.Key + "=" + OneLine(entry.Value));
      }
    }
    for (const std::string& line : layout.After) AppendLine(out, line);
  }
  return out;
}

IniFile::Section* IniFile::FindSection(std::string_view name) {
  for (Section& section : sections_) {
    if (SameText(section.Name, name)) return &section;
  }
  return nullptr;
}

const IniFile::Section* IniFile::FindSection(std::string_view name) const {
  for (const Section& section : sections_) {
    if (SameText(section.Name, name)) return &section;
  }
  return nullptr;
}

IniFile::Section& IniFile::SectionForWrite(std::string_view name) {
  if (Section* found = FindSection(name)) return *found;
  // A blank line between sections, as a freshly written file has them.
  std::vector<std::string>& above = layout_.empty() ? preamble_ : layout_.back().After;
  bool document_empty = sections_.empty() && preamble_.empty();
  if (!document_empty && (above.empty() || !Trim(above.back()).empty())) above.emplace_back();
  sections_.push_back({std::string(name), {}});
  layout_.push_back({});
  return sections_.back();
}

bool IniFile::HasSection(std::string_view section) const { return FindSection(section) != nullptr; }

bool IniFile::HasKey(std::string_view section, std::string_view key) const { return Find(section, key).has_value(); }

std::optional<std::string> IniFile::Find(std::string_view section, std::string_view key) const {
  const Section* found = FindSection(section);
  if (!found) return std::nullopt;
  for (const Entry& entry : found->Entries) {
    if (SameText(entry.Key, key)) return entry.Value;
  }
  return std::nullopt;
}

std::string IniFile::ReadString(std::string_view section, std::string_view key, std::string_view def) const {
  std::optional<std::string> value = Find(section, key);
  return value ? *value : std::string(def);
}

namespace {

[[noreturn]] void FailValue(std::string_view section, std::string_view key, std::string_view value) {
  Fail("Некорректное значение \"{}\" ключа {} в секции {}", value, key, section);
}

}  // namespace

int32_t IniFile::ReadInt(std::string_view section, std::string_view key, int32_t def) const {
  std::optional<std::string> value = Find(section, key);
  if (!value || value->empty()) return def;
  std::optional<int32_t> number = ParseInt(*value);
  if (!number) FailValue(section, key, *value);
  return *number;
}

bool IniFile::ReadBool(std::string_view section, std::string_view key, bool def) const {
  std::optional<std::string> value = Find(section, key);
  if (!value || value->empty()) return def;
  std::optional<int64_t> number = ParseInt64(*value);
  if (!number) FailValue(section, key, *value);
  return *number != 0;
}

long double IniFile::ReadReal(std::string_view section, std::string_view key, long double def) const {
  std::optional<std::string> value = Find(section, key);
  if (!value || value->empty()) return def;
  std::optional<long double> number = ParseReal(*value);
  if (!number) FailValue(section, key, *value);
  return *number;
}

void IniFile::WriteString(std::string_view section, std::string_view key, std::string_view value) {
  Section& target = SectionForWrite(section);
  SectionLayout& layout = layout_[static_cast<size_t>(&target - sections_.data())];
  for (size_t j = 0; j < target.Entries.size(); ++j) {
    Entry& entry = target.Entries[j];
    if (SameText(entry.Key, key)) {
      if (entry.Value != value) {
        entry.Value = std::string(value);
        layout.Entries[j].Raw.reset();
      }
      return;
    }
  }
  target.Entries.push_back({std::string(key), std::string(value)});
  layout.Entries.push_back({});
}

void IniFile::WriteInt(std::string_view section, std::string_view key, int64_t value) {
  WriteString(section, key, std::to_string(value));
}

void IniFile::WriteBool(std::string_view section, std::string_view key, bool value) {
  WriteString(section, key, value ? "1" : "0");
}

void IniFile::WriteReal(std::string_view section, std::string_view key, long double value) {
  WriteString(section, key, RealToIniText(value));
}

void IniFile::EraseSection(std::string_view section) {
  for (size_t i = 0; i < sections_.size(); ++i) {
    if (SameText(sections_[i].Name, section)) {
      sections_.erase(sections_.begin() + static_cast<std::ptrdiff_t>(i));
      layout_.erase(layout_.begin() + static_cast<std::ptrdiff_t>(i));
      return;
    }
  }
}

void IniFile::EraseKey(std::string_view section, std::string_view key) {
  Section* target = FindSection(section);
  if (!target) return;
  SectionLayout& layout = layout_[static_cast<size_t>(target - sections_.data())];
  for (size_t j = target->Entries.size(); j-- > 0;) {
    if (!SameText(target->Entries[j].Key, key)) continue;
    // The lines above the erased entry stay where they were, above whatever follows it.
    std::vector<std::string> before = std::move(layout.Entries[j].Before);
    std::vector<std::string>& next = j + 1 < layout.Entries.size() ? layout.Entries[j + 1].Before : layout.After;
    next.insert(next.begin(), before.begin(), before.end());
    target->Entries.erase(target->Entries.begin() + static_cast<std::ptrdiff_t>(j));
    layout.Entries.erase(layout.Entries.begin() + static_cast<std::ptrdiff_t>(j));
  }
}

std::string RealToIniText(long double value) {
  char buffer[64];
  auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value);
  if (ec != std::errc()) return std::string(FormatFixed(value, 18, '.'));
  return std::string(buffer, end);
}

}  // namespace kelmora::support
