#include "net/self_update.h"

#include <archive.h>
#include <archive_entry.h>
#include <openssl/evp.h>
#include <zlib.h>

#include <algorithm>
#include <fstream>
#include <memory>
#include <system_error>
#include <thread>

#include <fmt/format.h>

#include "net/languages.h"
#include "support/encoding.h"
#include "support/error.h"
#include "support/files.h"
#include "support/platform.h"
#include "support/text.h"

namespace kelmora::net {

namespace fs = std::filesystem;

namespace {

constexpr const char* GlobalSection = "GlobalOptions";
constexpr const char* MissingFileText = "Файл \"{}\" не найден!";
constexpr const char* TimeoutText =
    "Ожидание завершения процесса (файла) \"{}\" прервано в связи с превышением времени ожидания!";

bool StartsWithIgnoringCase(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() && support::SameText(text.substr(0, prefix.size()), prefix);
}

// Reads the file in pieces and feeds each to `take`.
template <typename Take>
void ReadPieces(const fs::path& file, Take&& take) {
  std::ifstream in(file, std::ios::binary);
  if (!in) support::Fail("Не удалось открыть файл \"{}\"", file.string());
  std::vector<char> buffer(1 << 16);
  while (in) {
    in.read(buffer.data(), static_cast<std::streamsize>(buffer.size()));
    const auto n = in.gcount();
    if (n > 0) take(reinterpret_cast<const unsigned char*>(buffer.data()), static_cast<size_t>(n));
  }
  if (in.bad()) support::Fail("Не удалось прочитать файл \"{}\"", file.string());
}

// A name of a list or of the description taken relative to a folder: it must stay inside it.
bool StaysInside(std::string_view name) {
  const fs::path path(name);
  if (name.empty() || path.is_absolute()) return false;
  for (const auto& part : path)
    if (part == "..") return false;
  return true;
}

// A VerId becomes part of file names: it must not name a folder.
void CheckVerId(const std::string& ver_id) {
  if (ver_id.find_first_of("/\\") != std::string::npos || ver_id.find('\0') != std::string::npos)
    support::Fail("Недопустимый номер версии \"{}\"", ver_id);
}

struct ArchiveReader {
  archive* a = archive_read_new();
  ~ArchiveReader() { archive_read_free(a); }
};

struct ArchiveWriter {
  archive* a = archive_write_disk_new();
  ~ArchiveWriter() { archive_write_free(a); }
};

void OpenArchive(ArchiveReader& reader, const fs::path& package) {
  archive_read_support_filter_gzip(reader.a);
  archive_read_support_format_tar(reader.a);
  archive_read_support_format_zip(reader.a);
  if (archive_read_open_filename(reader.a, package.c_str(), 1 << 16) != ARCHIVE_OK)
    support::Fail("{}", archive_error_string(reader.a) ? archive_error_string(reader.a) : "archive");
}

std::string ArchiveFailure(archive* a) {
  const char* text = archive_error_string(a);
  return text ? text : "Ошибка чтения архива";
}

// Whether a link target written in the entry `name` resolves inside the folder.
bool LinkStaysInside(std::string_view name, std::string_view target) {
  if (target.empty() || fs::path(target).is_absolute()) return false;
  int depth = 0;
  const fs::path where = fs::path(name).parent_path() / fs::path(target);
  for (const auto& part : where) {
    if (part == "..") {
      if (--depth < 0) return false;
    } else if (part != "." && !part.empty()) {
      ++depth;
    }
  }
  return true;
}

void CheckEntries(const fs::path& package) {
  ArchiveReader reader;
  OpenArchive(reader, package);
  archive_entry* entry = nullptr;
  int rc;
  while ((rc = archive_read_next_header(reader.a, &entry)) == ARCHIVE_OK) {
    const char* raw = archive_entry_pathname(entry);
    const std::string name = raw ? raw : "";
    if (!StaysInside(name))
      support::Fail("Пакет обновления содержит недопустимый путь \"{}\": установка прервана", name);
    if (const char* hard = archive_entry_hardlink(entry); hard && !StaysInside(hard))
      support::Fail("Пакет обновления содержит недопустимую ссылку \"{}\" -> \"{}\": установка прервана", name, hard);
    const auto type = archive_entry_filetype(entry);
    if (type == AE_IFLNK) {
      const char* target = archive_entry_symlink(entry);
      if (!target || !LinkStaysInside(name, target))
        support::Fail("Пакет обновления содержит недопустимую ссылку \"{}\" -> \"{}\": установка прервана", name,
                      target ? target : "");
    } else if (type != AE_IFREG && type != AE_IFDIR && !archive_entry_hardlink(entry)) {
      support::Fail("Пакет обновления содержит недопустимый элемент \"{}\": установка прервана", name);
    }
  }
  if (rc != ARCHIVE_EOF) support::Fail("{}", ArchiveFailure(reader.a));
}

void CopyData(archive* in, archive* out) {
  const void* block = nullptr;
  size_t size = 0;
  la_int64_t offset = 0;
  int rc;
  while ((rc = archive_read_data_block(in, &block, &size, &offset)) == ARCHIVE_OK)
    if (archive_write_data_block(out, block, size, offset) != ARCHIVE_OK) support::Fail("{}", ArchiveFailure(out));
  if (rc != ARCHIVE_EOF) support::Fail("{}", ArchiveFailure(in));
}

void RemoveQuietly(const fs::path& path) {
  std::error_code ec;
  fs::remove(path, ec);
}

fs::path WithSuffix(const fs::path& path, std::string_view suffix) {
  fs::path out = path;
  out += std::string(suffix);
  return out;
}

void DeleteListed(const fs::path& folder, const std::string& global, const std::string& own) {
  for (const std::string* list : {&global, &own})
    for (const std::string& name : FileList(*list))
      if (StaysInside(name)) RemoveQuietly(folder / name);
}

void RunListed(const fs::path& folder, const std::string& global, const std::string& own, const TUpdateCheck& check,
               const TUpdateUi& ui) {
  for (const std::string* list : {&global, &own}) {
    for (const std::string& name : FileList(*list)) {
      if (!StaysInside(name) || !support::FileExists(folder / name)) continue;
      if (!support::RunProgramAndWait(folder / name, folder, check.ProgramTimeout, ui.Pump))
        support::Fail(TimeoutText, name);
    }
  }
}

void DeletePackage(const fs::path& package, const TUpdateCheck& check, const TUpdateUi& ui) {
  int failures = 0;
  for (;;) {
    std::error_code ec;
    fs::remove(package, ec);
    if (!fs::exists(package)) return;
    if (++failures > 100) support::Fail("{}", ec ? ec.message() : std::string("Не удалось удалить файл"));
    if (ui.Pump) ui.Pump();
    std::this_thread::sleep_for(check.DeleteRetry);
  }
}

void CheckPackage(const fs::path& file, const TUpdateVersionInfo& info) {
  if (!support::FileExists(file)) support::Fail(MissingFileText, file.string());
  if (!info.ChecksumCRC32.empty() && !support::SameText(FileCrc32Text(file), support::Trim(info.ChecksumCRC32)))
    support::Fail("Неверная контрольная сумма скачанного файла.");
  if (!info.ChecksumSHA256.empty() && !support::SameText(FileSha256Text(file), support::Trim(info.ChecksumSHA256)))
    support::Fail("Неверная контрольная сумма скачанного файла.");
}

int Install(const TUpdateCheck& check, const TUpdateUi& ui, const TUpdateVersionInfo& info) {
  const fs::path work = check.ProgramDir / UpdateWorkFolderName;
  ui.ShowProgress(fmt::format("Загрузка и установка обновления \"{}\"...", info.VerId), 14);
  int result = UpdateInstalled;
  std::string failure;
  try {
    std::error_code ec;
    if (fs::exists(work, ec)) fs::remove_all(work);
    ui.StepProgress();
    fs::create_directories(work);
    ui.StepProgress();
    const fs::path download = work / fmt::format("SelfUpdate_{}.upd", info.VerId);
    for (int attempt = 1;; ++attempt) {
      try {
        RemoveQuietly(download);
        FetchUpdateFile(info.DownloadUrl, download, check.Http);
        CheckPackage(download, info);
        break;
      } catch (const std::exception&) {
        if (attempt == 3) throw;
      }
    }
    ui.StepProgress();
    if (!StaysInside(info.OriginalFileName) || fs::path(info.OriginalFileName).has_parent_path())
      support::Fail("Недопустимое имя файла пакета обновления \"{}\"", info.OriginalFileName);
    const fs::path package = work / info.OriginalFileName;
    fs::rename(download, package);
    ui.StepProgress();
    if (!support::FileExists(package)) support::Fail(MissingFileText, package.string());
    ui.StepProgress();
    UnpackUpdatePackage(package, work, check.ProgramTimeout, ui.Pump);
    ui.StepProgress();
    DeletePackage(package, check, ui);
    ui.StepProgress();
    if (fs::directory_iterator(work) == fs::directory_iterator())
      support::Fail(MissingFileText, (work / "*.*").string());
    ui.StepProgress();
    DeleteListed(check.ProgramDir, info.GlobalDeleteBefore, info.DeleteBefore);
    ui.StepProgress();
    RunListed(work, info.GlobalExecBefore, info.ExecBefore, check, ui);
    ui.StepProgress();
    InstallFiles(work, check.ProgramDir, check.RunningExecutable);
    ui.StepProgress();
    RunListed(work, info.GlobalExecAfter, info.ExecAfter, check, ui);
    ui.StepProgress();
    DeleteListed(check.ProgramDir, info.GlobalDeleteAfter, info.DeleteAfter);
    ui.StepProgress();
  } catch (const std::exception& e) {
    result = UpdateFailed;
    failure = e.what();
  }
  std::error_code ec;
  fs::remove_all(work, ec);
  ui.StepProgress();
  ui.HideProgress();
  if (result == UpdateFailed)
    ui.ShowError(fmt::format("Ошибка установки обновления!\r\r{}", failure));
  else
    ui.ShowWarning(fmt::format("Установка обновления \"{}\" успешно выполнена.\r\rДля завершения установки "
                               "необходимо перезапустить программу!",
                               info.Description));
  return result;
}

}  // namespace

int BuildNumber(std::string_view version) {
  const auto words = support::Split(version, ",-._");
  if (words.size() < 4) return 0;
  return support::ParseInt(support::Trim(words[3])).value_or(0);
}

TUpdateVersionInfo ReadUpdateVersionInfo(const support::IniFile& ini, std::string_view section,
                                         std::string_view running_version) {
  TUpdateVersionInfo info;
  info.VerId = ini.ReadString(section, "VerId", running_version);
  info.Description = ini.ReadString(section, "Description", "");
  info.DownloadUrl = ini.ReadString(section, "DownloadUrl", "");
  info.OriginalFileName = ini.ReadString(section, "OriginalFileName", "");
  info.ChecksumCRC32 = ini.ReadString(section, "ChecksumCRC32", "");
  info.ChecksumSHA256 = ini.ReadString(section, "ChecksumSHA256", "");
  info.GlobalDeleteAfter = ini.ReadString(GlobalSection, "DeleteAfter", "");
  info.GlobalDeleteBefore = ini.ReadString(GlobalSection, "DeleteBefore", "");
  info.GlobalExecAfter = ini.ReadString(GlobalSection, "ExecAfter", "");
  info.GlobalExecBefore = ini.ReadString(GlobalSection, "ExecBefore", "");
  info.DeleteAfter = ini.ReadString(section, "DeleteAfter", "");
  info.DeleteBefore = ini.ReadString(section, "DeleteBefore", "");
  info.ExecAfter = ini.ReadString(section, "ExecAfter", "");
  info.ExecBefore = ini.ReadString(section, "ExecBefore", "");
  return info;
}

bool UpdateOffered(std::string_view running_version, const TUpdateVersionInfo& info) {
  return BuildNumber(running_version) < BuildNumber(info.VerId) && !support::Trim(info.DownloadUrl).empty();
}

std::vector<std::string> FileList(std::string_view list) {
  std::vector<std::string> names;
  for (const std::string& piece : support::Split(list, ";")) {
    const std::string_view name = support::Trim(piece);
    if (!name.empty()) names.emplace_back(name);
  }
  return names;
}

std::string FileCrc32Text(const fs::path& file) {
  uLong crc = crc32(0L, Z_NULL, 0);
  ReadPieces(file, [&](const unsigned char* data, size_t n) { crc = crc32(crc, data, static_cast<uInt>(n)); });
  return fmt::format("{:08X}", static_cast<uint32_t>(crc));
}

std::string FileSha256Text(const fs::path& file) {
  std::unique_ptr<EVP_MD_CTX, decltype(&EVP_MD_CTX_free)> ctx(EVP_MD_CTX_new(), EVP_MD_CTX_free);
  EVP_DigestInit_ex(ctx.get(), EVP_sha256(), nullptr);
  ReadPieces(file, [&](const unsigned char* data, size_t n) { EVP_DigestUpdate(ctx.get(), data, n); });
  unsigned char digest[EVP_MAX_MD_SIZE];
  unsigned int length = 0;
  EVP_DigestFinal_ex(ctx.get(), digest, &length);
  std::string out;
  for (unsigned int i = 0; i < length; ++i) out += fmt::format("{:02x}", digest[i]);
  return out;
}

SourceKind FetchUpdateFile(const std::string& source, const fs::path& target, const THttpSettings& settings) {
  if (target.has_parent_path()) fs::create_directories(target.parent_path());
  if (StartsWithIgnoringCase(source, "https://")) {
    HttpGetToFile(source, target, settings);
    return SourceKind::Url;
  }
  if (StartsWithIgnoringCase(source, "http://"))
    support::Fail("Обновления загружаются только по защищённому соединению (https://): \"{}\"", source);
  const std::vector<uint8_t> bytes = support::ReadFileBytes(source);
  support::WriteFileAtomic(target, bytes);
  return SourceKind::Local;
}

std::string NotesFolder(const std::string& source, SourceKind kind) {
  if (kind == SourceKind::Url) {
    const size_t slash = source.rfind('/');
    return fmt::format("{}{}/", source.substr(0, slash == std::string::npos ? 0 : slash + 1), UpdateNotesFolderName);
  }
  return (fs::path(source).parent_path() / UpdateNotesFolderName / "").string();
}

std::vector<std::string> LoadUpdateNotes(const std::string& ver_id, const std::string& notes_folder, int lcid,
                                         const fs::path& program_dir, const THttpSettings& settings) {
  const fs::path target = program_dir / fmt::format("UpdDescr_{}.txt", ver_id);
  std::vector<std::string> names;
  if (lcid != 0) {
    if (const std::string abbreviation = LanguageAbbreviation(lcid); !abbreviation.empty())
      names.push_back(fmt::format("UpdDescr_{}_{}.txt", abbreviation, ver_id));
    names.push_back(fmt::format("UpdDescr_{}_{}.txt", lcid, ver_id));
  }
  names.push_back(fmt::format("UpdDescr_{}.txt", ver_id));
  RemoveQuietly(target);
  for (const std::string& name : names) {
    try {
      FetchUpdateFile(notes_folder + name, target, settings);
      break;
    } catch (const std::exception&) {
      RemoveQuietly(target);
    }
  }
  std::vector<std::string> notes;
  if (support::FileExists(target)) {
    try {
      // Plain text in the system's code page, like the description.
      notes = support::SplitLines(support::Cp1251ToUtf8(support::ReadFileText(target)));
    } catch (const std::exception&) {
      notes.clear();
    }
  } else {
    notes.push_back(NoNotesText);
  }
  RemoveQuietly(target);
  return notes;
}

void UnpackUpdatePackage(const fs::path& package, const fs::path& folder, std::chrono::milliseconds timeout,
                         const std::function<void()>& pump) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  CheckEntries(package);
  ArchiveReader reader;
  OpenArchive(reader, package);
  ArchiveWriter writer;
  // Entries are written under the folder's absolute path; what they name was checked above, and
  // libarchive still refuses ".." and writing through links.
  archive_write_disk_set_options(writer.a, ARCHIVE_EXTRACT_TIME | ARCHIVE_EXTRACT_PERM |
                                               ARCHIVE_EXTRACT_SECURE_SYMLINKS | ARCHIVE_EXTRACT_SECURE_NODOTDOT);
  archive_entry* entry = nullptr;
  int rc;
  while ((rc = archive_read_next_header(reader.a, &entry)) == ARCHIVE_OK) {
    if (std::chrono::steady_clock::now() > deadline) support::Fail(TimeoutText, package.filename().string());
    if (pump) pump();
    const std::string name = archive_entry_pathname(entry);
    archive_entry_copy_pathname(entry, (folder / name).c_str());
    if (const char* hard = archive_entry_hardlink(entry))
      archive_entry_copy_hardlink(entry, (folder / hard).c_str());
    if (archive_write_header(writer.a, entry) != ARCHIVE_OK) support::Fail("{}", ArchiveFailure(writer.a));
    if (archive_entry_size(entry) > 0) CopyData(reader.a, writer.a);
    if (archive_write_finish_entry(writer.a) != ARCHIVE_OK) support::Fail("{}", ArchiveFailure(writer.a));
  }
  if (rc != ARCHIVE_EOF) support::Fail("{}", ArchiveFailure(reader.a));
}

std::vector<std::string> InstallFiles(const fs::path& from, const fs::path& to, const fs::path& running) {
  std::vector<fs::path> files;
  for (const auto& entry : fs::recursive_directory_iterator(from))
    if (!entry.is_directory() || entry.is_symlink()) files.push_back(fs::relative(entry.path(), from));
  std::sort(files.begin(), files.end());
  std::vector<std::string> replaced;
  for (const fs::path& rel : files) {
    const fs::path source = from / rel;
    const fs::path target = to / rel;
    const fs::path temporary = WithSuffix(target, ".~new");
    try {
      if (target.has_parent_path()) fs::create_directories(target.parent_path());
      RemoveQuietly(temporary);
      if (fs::is_symlink(source))
        fs::copy_symlink(source, temporary);
      else
        fs::copy_file(source, temporary, fs::copy_options::overwrite_existing);
      std::error_code ec;
      const bool is_running = !running.empty() && fs::exists(target) && fs::equivalent(target, running, ec);
      if (is_running) {
        const fs::path aside = WithSuffix(target, ".~old");
        RemoveQuietly(aside);
        fs::rename(target, aside);
        try {
          fs::rename(temporary, target);
        } catch (...) {
          fs::rename(aside, target, ec);
          throw;
        }
      } else {
        fs::rename(temporary, target);
      }
      replaced.push_back(rel.string());
    } catch (const std::exception& e) {
      RemoveQuietly(temporary);
      const std::string done =
          replaced.empty() ? std::string("Ни один файл программы не был заменён.")
                           : fmt::format("Уже заменены файлы: {}.", support::Join(replaced, ", "));
      support::Fail("Не удалось скопировать файл \"{}\" в папку программы: {}\r\r{}", rel.string(), e.what(), done);
    }
  }
  return replaced;
}

void RemoveReplacementLeftovers(const fs::path& folder) {
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(folder, ec)) {
    const std::string name = entry.path().filename().string();
    const size_t dot = name.rfind('.');
    if (dot != std::string::npos && dot + 1 < name.size() && name[dot + 1] == '~' && !entry.is_directory())
      RemoveQuietly(entry.path());
  }
}

int CheckForUpdate(const TUpdateCheck& check, const TUpdateUi& ui) {
  const fs::path info_file = check.ProgramDir / UpdateInfoFileName;
  int result = UpdateNone;
  try {
    if (!support::FolderWritable(check.ProgramDir)) {
      if (!check.Silent)
        ui.ShowInformation(fmt::format("Программа установлена в папку \"{}\", в которую нельзя записывать.\r\r"
                                       "Её обновления устанавливаются менеджером пакетов системы.",
                                       check.ProgramDir.string()));
      return UpdateNone;
    }
    TUpdateVersionInfo info;
    std::vector<std::string> notes;
    bool offered = false;
    bool searched = false;
    ui.ShowProgress("Поиск доступных обновлений...", 5);
    try {
      RemoveReplacementLeftovers(check.ProgramDir);
      ui.StepProgress();
      const std::string running = check.RunningVersion;
      ui.StepProgress();
      const SourceKind kind = FetchUpdateFile(check.Source, info_file, check.Http);
      ui.StepProgress();
      support::IniFile ini(info_file);
      ini.Load();
      info = ReadUpdateVersionInfo(ini, check.Section, running);
      ui.StepProgress();
      offered = UpdateOffered(running, info);
      if (offered) {
        CheckVerId(info.VerId);
        notes = LoadUpdateNotes(info.VerId, NotesFolder(check.Source, kind), check.Lcid, check.ProgramDir, check.Http);
      }
      ui.StepProgress();
      searched = true;
    } catch (const std::exception& e) {
      ui.HideProgress();
      if (!check.Silent) ui.ShowError(fmt::format("Ошибка поиска обновлений!\r\r{}", e.what()));
      result = UpdateFailed;
    }
    if (searched) {
      ui.HideProgress();
      if (!offered) {
        if (!check.Silent) ui.ShowInformation("Обновлений не найдено!");
      } else if (ui.AskInstall(check.RunningVersion, info, notes)) {
        result = Install(check, ui, info);
      }
    }
  } catch (const std::exception& e) {
    ui.ShowError(fmt::format("Ошибка системы самообновления программы!\r\r{}", e.what()));
    result = UpdateFailed;
  }
  RemoveQuietly(info_file);
  return result;
}

}  // namespace kelmora::net
