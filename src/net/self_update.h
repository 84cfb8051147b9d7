#pragma once
// The self-update: the update description (an INI text), the version comparison, the notes, and
// the installation of a package, a .tar.gz or .zip archive that is unpacked here (libarchive) into
// the work folder and copied over the program's files.
//
// A package is program code from the network, so it is taken only over verified HTTPS or from a
// local path, its checksums are compared before it is unpacked, an archive entry that would leave
// the work folder fails the installation before anything is written, and every file is copied to a
// temporary name and renamed into place, so each file of the program is either old or new.

#include <chrono>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "net/http_client.h"
#include "support/ini_file.h"

namespace kelmora::net {

// Where the description lies below the vendor's server, and the files of the program's folder.
inline constexpr const char* UpdateDescriptionPath = "/files/autoupdates/Orvane_AU.cfg";
inline constexpr const char* UpdateInfoFileName = "SelfUpdates.inf";
inline constexpr const char* UpdateWorkFolderName = "SelfUpdate";
inline constexpr const char* UpdateNotesFolderName = "UpdDescr";
inline constexpr const char* NoNotesText = "< Описание обновления не доступно >";

// The description as read: the thirteen texts in the system's order, and the optional SHA-256.
struct TUpdateVersionInfo {
  std::string VerId, Description, DownloadUrl, OriginalFileName, ChecksumCRC32;
  std::string GlobalDeleteAfter, GlobalDeleteBefore, GlobalExecAfter, GlobalExecBefore;
  std::string DeleteAfter, DeleteBefore, ExecAfter, ExecBefore;
  std::string ChecksumSHA256;  // 64 hexadecimal digits; when given it must match too
};

// The fourth word of a version text (words at ",", "-", "." and "_"), 0 when missing or no number.
int BuildNumber(std::string_view version);
// Reads the program's section (and "GlobalOptions"); VerId defaults to the running version.
TUpdateVersionInfo ReadUpdateVersionInfo(const support::IniFile& ini, std::string_view section,
                                         std::string_view running_version);
// An update is offered when the running build is smaller than VerId's and DownloadUrl is not empty.
bool UpdateOffered(std::string_view running_version, const TUpdateVersionInfo& info);
// The names of a file list ("a.txt; b.txt"), trimmed, empty ones dropped.
std::vector<std::string> FileList(std::string_view list);

// The zip CRC-32 of the file's bytes as 8 uppercase hexadecimal digits; the SHA-256 as 64
// lowercase ones. Throw support::Error when the file cannot be read.
std::string FileCrc32Text(const std::filesystem::path& file);
std::string FileSha256Text(const std::filesystem::path& file);

enum class SourceKind { Url, Local };
// Creates the target's folder when missing, then downloads an "https://" source (verified TLS) or
// copies a local file into the target. A plain "http://" source is refused: what it brings could
// not be trusted. Failures throw support::Error.
SourceKind FetchUpdateFile(const std::string& source, const std::filesystem::path& target,
                           const THttpSettings& settings);
// The notes folder beside the description: the source up to its last "/" and "UpdDescr/" for a
// URL, the source's folder and "UpdDescr/" for a local path.
std::string NotesFolder(const std::string& source, SourceKind kind);
// The notes of VerId: "UpdDescr_<abbr>_<VerId>.txt", "UpdDescr_<lcid>_<VerId>.txt" (both only
// with a language other than 0), then "UpdDescr_<VerId>.txt", fetched into the program's folder,
// read and deleted. The single line NoNotesText when none could be fetched. Never throws for a
// missing notes file.
std::vector<std::string> LoadUpdateNotes(const std::string& ver_id, const std::string& notes_folder, int lcid,
                                         const std::filesystem::path& program_dir, const THttpSettings& settings);

// Unpacks a .tar.gz or .zip archive into the folder. Every entry is checked first: an absolute
// path, a ".." part, a link whose target leaves the folder or an entry that is neither a file, a
// folder nor a link fails before anything is written. Runs past `timeout` fail with the system's
// waiting text; `pump` (may be empty) is called between entries.
void UnpackUpdatePackage(const std::filesystem::path& package, const std::filesystem::path& folder,
                         std::chrono::milliseconds timeout, const std::function<void()>& pump);
// Copies every file below `from` to the same relative place below `to`: each to "<name>.~new"
// first, then renamed over the old file (the running executable `running` is renamed aside to
// "<name>.~old" first). A failure throws support::Error naming the file and every file replaced so
// far; the temporary of the failed file is removed. Returns the replaced files (relative paths).
std::vector<std::string> InstallFiles(const std::filesystem::path& from, const std::filesystem::path& to,
                                      const std::filesystem::path& running);
// Removes the files matching "*.~*" in the folder, ignoring failures.
void RemoveReplacementLeftovers(const std::filesystem::path& folder);

// What the check needs from its caller.
struct TUpdateCheck {
  std::string Source;                   // the description's URL or local path
  bool Silent = false;                  // the start-up check: failures and "nothing found" unseen
  int Lcid = 0;                         // the interface language, for the notes
  std::filesystem::path ProgramDir;     // where the program's files are
  std::string Section;                  // the program's section of the description
  std::string RunningVersion;           // the running program's version text
  std::filesystem::path RunningExecutable;  // renamed aside rather than written over
  THttpSettings Http;
  std::chrono::milliseconds ProgramTimeout{60000};  // unpacking and every program run
  std::chrono::milliseconds DeleteRetry{100};       // between attempts to delete the package
};

// The front end's part: messages, the progress window and the update dialog.
struct TUpdateUi {
  std::function<void(const std::string&)> ShowError, ShowInformation, ShowWarning;
  std::function<void(const std::string& text, int maximum)> ShowProgress;
  std::function<void()> StepProgress, HideProgress;
  // The update dialog: whether the user chose to install.
  std::function<bool(const std::string& running_version, const TUpdateVersionInfo& info,
                     const std::vector<std::string>& notes)>
      AskInstall;
  std::function<void()> Pump;
};

// Results of CheckForUpdate.
inline constexpr int UpdateNone = 0, UpdateInstalled = 1, UpdateFailed = 2;
// The whole check: search, the dialog, the installation. Returns UpdateNone, UpdateInstalled or
// UpdateFailed; every failure is shown through `ui` in the system's words (a search failure not
// when silent). A program folder that cannot be written (a system-wide install) changes nothing
// and says, unless silent, that the system's package manager brings the updates.
int CheckForUpdate(const TUpdateCheck& check, const TUpdateUi& ui);

}  // namespace kelmora::net
