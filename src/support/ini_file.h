#pragma once
// The INI form of the configuration and view-state files: "[Section]" lines open sections, inside
// them "Key=Value" lines. Sections and keys compare ignoring case. The file is Windows-1251 on disk
// and UTF-8 here. Reals are written with "." and read with "." or ",". Booleans are written "1"/"0"
// and read as true for any integer other than 0.
// Keys and values are trimmed of surrounding blanks when read. Other lines (comments starting with
// ";" or "#", blank lines, keys before the first section, anything unrecognised) are not visible
// through the accessors but are kept in place on save, and so are unchanged key lines, byte for
// byte. A section name that appears twice is merged into its first occurrence; of a key that
// appears twice in a section, the first is read and written.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kelmora::support {

class IniFile {
 public:
  IniFile() = default;
  explicit IniFile(std::filesystem::path path) : path_(std::move(path)) {}

  // Reads the whole file. A missing file gives an empty document. Throws Error when the file exists
  // but cannot be read.
  void Load();
  // Writes the whole document back (temporary file and rename). Throws Error on failure.
  void Save() const;
  // Makes Save write a file readable by its owner only (it may hold a password).
  void SetOwnerOnly(bool on) { owner_only_ = on; }

  void Parse(std::string_view utf8_text);
  std::string ToText() const;  // UTF-8, lines ended by "\r\n"

  bool HasKey(std::string_view section, std::string_view key) const;
  bool HasSection(std::string_view section) const;
  std::optional<std::string> Find(std::string_view section, std::string_view key) const;

  // Typed reads: a missing key or an empty value gives the default; a malformed value throws Error
  // naming the value, the key and the section.
  std::string ReadString(std::string_view section, std::string_view key, std::string_view def) const;
  int32_t ReadInt(std::string_view section, std::string_view key, int32_t def) const;
  bool ReadBool(std::string_view section, std::string_view key, bool def) const;
  long double ReadReal(std::string_view section, std::string_view key, long double def) const;

  // Writes keep the section and key order of the file; new keys go to the end of their section, new
  // sections to the end of the document. Line breaks in a value are written as spaces.
  void WriteString(std::string_view section, std::string_view key, std::string_view value);
  void WriteInt(std::string_view section, std::string_view key, int64_t value);
  void WriteBool(std::string_view section, std::string_view key, bool value);
  void WriteReal(std::string_view section, std::string_view key, long double value);
  void EraseSection(std::string_view section);
  void EraseKey(std::string_view section, std::string_view key);

  struct Entry {
    std::string Key;
    std::string Value;
  };
  struct Section {
    std::string Name;
    std::vector<Entry> Entries;
  };
  const std::vector<Section>& Sections() const { return sections_; }
  const std::filesystem::path& Path() const { return path_; }

 private:
  // The file's own text around the entries, kept parallel to sections_ (layout_[i] for
  // sections_[i], layout_[i].Entries[j] for sections_[i].Entries[j]).
  struct EntryLayout {
    std::vector<std::string> Before;  // non-entry lines just above the entry
    std::optional<std::string> Raw;   // the line as read, while the entry is unchanged
  };
  struct SectionLayout {
    std::optional<std::string> Header;  // the header line as read
    std::vector<EntryLayout> Entries;
    std::vector<std::string> After;  // non-entry lines after the last entry
  };

  Section* FindSection(std::string_view name);
  const Section* FindSection(std::string_view name) const;
  Section& SectionForWrite(std::string_view name);

  std::filesystem::path path_;
  std::vector<Section> sections_;
  std::vector<SectionLayout> layout_;
  std::vector<std::string> preamble_;  // lines before the first section
  bool owner_only_ = false;
};

// A real written locale-independently: shortest "." form that reads back to the same value
// (1.5 -> "1.5", 0 -> "0", 1e20 -> "1e+20").
std::string RealToIniText(long double value);

}  // namespace kelmora::support
