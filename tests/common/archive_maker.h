#pragma once
// Real .tar.gz and .zip archives made with libarchive, for the update packages of the tests.

#include <archive.h>
#include <archive_entry.h>

#include <string>
#include <vector>

namespace kelmora::testing {

struct ArchiveEntry {
  ArchiveEntry(std::string name, std::string content, std::string link = {}, int mode = 0644)
      : Name(std::move(name)), Content(std::move(content)), Link(std::move(link)), Mode(mode) {}
  std::string Name;
  std::string Content;
  std::string Link;  // a symbolic link to this target when not empty
  int Mode;
};

// The archive of the entries, "tar.gz" or "zip", as bytes.
inline std::string MakeArchive(const std::string& format, const std::vector<ArchiveEntry>& entries) {
  archive* a = archive_write_new();
  if (format == "zip") {
    archive_write_set_format_zip(a);
  } else {
    archive_write_set_format_pax_restricted(a);
    archive_write_add_filter_gzip(a);
  }
  std::string buffer(1 << 20, '\0');
  size_t used = 0;
  archive_write_open_memory(a, buffer.data(), buffer.size(), &used);
  for (const ArchiveEntry& e : entries) {
    archive_entry* entry = archive_entry_new();
    archive_entry_set_pathname(entry, e.Name.c_str());
    if (!e.Link.empty()) {
      archive_entry_set_filetype(entry, AE_IFLNK);
      archive_entry_set_symlink(entry, e.Link.c_str());
      archive_entry_set_perm(entry, 0777);
    } else {
      archive_entry_set_filetype(entry, AE_IFREG);
      archive_entry_set_perm(entry, e.Mode);
      archive_entry_set_size(entry, static_cast<la_int64_t>(e.Content.size()));
    }
    archive_write_header(a, entry);
    if (e.Link.empty()) archive_write_data(a, e.Content.data(), e.Content.size());
    archive_entry_free(entry);
  }
  archive_write_close(a);
  archive_write_free(a);
  buffer.resize(used);
  return buffer;
}

}  // namespace kelmora::testing
