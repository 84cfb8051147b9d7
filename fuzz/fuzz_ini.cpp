// Targets over the INI files: the document itself, the configuration file read into the settings
// (and used by the statistics), and the view-state file.

#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>

#include "fuzz/fuzz_archive.h"
#include "fuzz/fuzz_targets.h"
#include "shell/settings.h"
#include "shell/view_state.h"
#include "stats/table.h"
#include "support/encoding.h"
#include "support/error.h"
#include "support/ini_file.h"
#include "support/text.h"

namespace kelmora::fuzz {

namespace {

// The document as Load makes it of the file's bytes.
support::IniFile ParseBytes(const uint8_t* data, size_t size) {
  support::IniFile ini;
  ini.Parse(support::Cp1251ToUtf8(AsText(data, size)));
  return ini;
}

// The bytes Save writes.
std::string SavedBytes(const support::IniFile& ini) { return support::Utf8ToCp1251(ini.ToText()); }

// A folder of this process for the targets that need a real file; left to the system's cleaning.
const std::filesystem::path& ScratchFolder() {
  static const std::filesystem::path folder = [] {
    std::string pattern = (std::filesystem::temp_directory_path() / "kelmora-fuzz-XXXXXX").string();
    if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
    return std::filesystem::path(pattern);
  }();
  return folder;
}

// A text value as it reads back after a save: line breaks as spaces, trimmed, through the code page
// (the byte 0x98, which has no character, comes back as "?").
std::string Flattened(std::string text) {
  std::replace_if(text.begin(), text.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
  return support::Cp1251ToUtf8(support::Utf8ToCp1251(support::Trim(text)));
}

template <typename Read>
void TryRead(Read read) {
  try {
    read();
  } catch (const support::Error&) {
  }
}

}  // namespace

int FuzzIniText(const uint8_t* data, size_t size) {
  const support::IniFile ini = ParseBytes(data, size);
  for (const auto& section : ini.Sections()) {
    for (const auto& entry : section.Entries) {
      const auto found = ini.Find(section.Name, entry.Key);
      FuzzCheck(found.has_value(), "a listed key is not found");
      TryRead([&] { ini.ReadInt(section.Name, entry.Key, 0); });
      TryRead([&] { ini.ReadReal(section.Name, entry.Key, 0); });
      TryRead([&] { ini.ReadBool(section.Name, entry.Key, false); });
    }
  }
  // Saving what was loaded, and loading that again, changes nothing further.
  const std::string saved = SavedBytes(ini);
  const support::IniFile again = ParseBytes(reinterpret_cast<const uint8_t*>(saved.data()), saved.size());
  FuzzCheck(SavedBytes(again) == saved, "a saved INI file does not read back as itself");

  // A written value reads back after a save trimmed, its line breaks as spaces, whatever the
  // document held before.
  support::IniFile edited = again;
  edited.WriteString("Fuzz", "Key", "  x\r\ny=[z]  ");
  const std::string edited_saved = SavedBytes(edited);
  const support::IniFile reread =
      ParseBytes(reinterpret_cast<const uint8_t*>(edited_saved.data()), edited_saved.size());
  FuzzCheck(reread.Find("fuzz", "KEY") == "x  y=[z]", "a written value reads back changed");
  return 0;
}

int FuzzSettings(const uint8_t* data, size_t size) {
  const support::IniFile ini = ParseBytes(data, size);
  shell::TProgramSettings settings;
  // Each group on its own, as a malformed value stops only the group it is in.
  TryRead([&] { shell::ReadGenerationDefaults(ini, settings.Generation); });
  TryRead([&] { shell::ReadAnalysisSettings(ini, settings.Config); });
  TryRead([&] { shell::ReadShredding(ini, settings.Shredding); });
  TryRead([&] { shell::ReadProxy(ini, settings.Proxy); });
  (void)shell::ListConfigEntries(settings);

  // What is saved from the settings reads back as the same settings.
  support::IniFile out;
  shell::WriteGenerationDefaults(out, settings.Generation);
  shell::WriteAnalysisSettings(out, settings.Config);
  shell::WriteShredding(out, settings.Shredding);
  shell::WriteProxy(out, settings.Proxy);
  const std::string saved = SavedBytes(out);
  const support::IniFile in = ParseBytes(reinterpret_cast<const uint8_t*>(saved.data()), saved.size());
  shell::TProgramSettings back;
  shell::ReadGenerationDefaults(in, back.Generation);
  shell::ReadAnalysisSettings(in, back.Config);
  shell::ReadShredding(in, back.Shredding);
  shell::ReadProxy(in, back.Proxy);
  // The only changes a save may make to a text value.
  shell::TGenerationDefaults generation = settings.Generation;
  generation.Parameters = Flattened(generation.Parameters);
  lottery::TShreddingData shredding = settings.Shredding;
  for (auto& formula : shredding.Formula) formula = Flattened(formula);
  FuzzCheck(back.Generation == generation, "generation defaults changed on save");
  FuzzCheck(back.Config == settings.Config, "analysis settings changed on save");
  FuzzCheck(back.Shredding == shredding, "shredding settings changed on save");

  // The statistics read the settings: one entry of the registry built with them.
  const FuzzArchive& shared = SharedArchive();
  stats::TStatList list(shared.Draws, settings.Config, settings.Shredding, stats::RegisteredClasses());
  list.Rebuild();
  if (list.Count() == 0) return 0;
  stats::TStatTableInput table;
  table.List = &list;
  table.Entry = static_cast<int>(InputHash(data, size) % static_cast<uint32_t>(list.Count()));
  TryRead([&] { (void)stats::CalcStatTable(table); });
  return 0;
}

int FuzzViewState(const uint8_t* data, size_t size) {
  const std::filesystem::path path = ScratchFolder() / "Kelmora_4r32.frm";
  {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  }
  shell::ViewState view(path);
  view.Load();
  shell::TMainViewState state;
  TryRead([&] { shell::ReadMainViewState(view, state); });
  for (const char* section : {shell::MainWindowSection, "TFormChart"}) {
    (void)view.RestorePlacement(section, 1920, 1080, 96, {0, 0, 800, 600});
    for (const char* list : {"lvDraws", "lvCombs", "lvDrawsStat"}) {
      const auto columns = view.RestoreColumns(section, list, 6, {10, 20, 30});
      FuzzCheck(columns.Widths.size() == 6, "restored columns not as many as asked");
    }
  }
  return 0;
}

}  // namespace kelmora::fuzz
