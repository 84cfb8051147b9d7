#pragma once
// The state and the operations of the main window without any widget. Front ends ask the user and
// pass the answers in; the Session acts and reaches the user only through its Host.

#include <chrono>
#include <cstdint>
#include <exception>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "lottery/types.h"
#include "net/self_update.h"
#include "net/vendor.h"
#include "shell/host.h"
#include "shell/settings.h"
#include "shell/view_state.h"
#include "stakes/stakes_file.h"
#include "support/platform.h"

namespace kelmora::shell {

inline constexpr const char* ProgramName = "Kelmora_4r32";

struct SessionOptions {
  std::filesystem::path DataDir;       // folder of every data file
  char DecimalSeparator = '.';         // for numbers shown to the user
  std::vector<std::string> Arguments;  // command-line arguments, for HasSwitch
  bool WriteViewStateOnStart = true;   // the first start marks comparison mode as initialised
  std::filesystem::path ProgramDir;    // the program's files, for the self-update; empty: the executable's folder
};

class StatsState;
class CombsState;
class StakesState;
class ScriptState;
class ScriptRunner;
class NetworkState;
class ViewsState;
class LibraryState;
class RegularsState;
class SystemsState;

class Session {
 public:
  Session(Host& host, SessionOptions options);
  ~Session();
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;

  // Creation of the main window's state: view state, then the configuration groups. Failures are
  // shown through the Host in the system's words; the steps after a failed one keep their defaults.
  void Create();
  // The initialisation tick: status, offset 0, the draws archive.
  void Initialise();

  Host& GetHost() { return host_; }
  const SessionOptions& Options() const { return options_; }
  char DecimalSeparator() const { return options_.DecimalSeparator; }
  bool HasSwitch(std::string_view name) const;

  // Files of the data folder.
  std::filesystem::path DataPath(std::string_view file_name) const;
  std::filesystem::path DrawsPath() const;       // Kelmora_4r32.ldr
  std::filesystem::path ConfigPath() const;      // Kelmora_4r32.ini
  std::filesystem::path ViewStatePath() const;   // Kelmora_4r32.frm
  std::filesystem::path ResultsPath() const;     // chance_results.csv

  // Busy counter: every long operation brackets itself, also when it fails.
  void BeginBusy();
  void EndBusy();
  bool IsIdle() const { return busy_ == 0; }
  void SetStatusText(std::string_view text);

  // Runs op; a failure (std::exception) is shown as an error, the sentence, "\r\r" and the failure's
  // text (the text alone when the sentence is empty). Returns whether op succeeded.
  template <typename Op>
  bool Reported(std::string_view sentence, Op&& op) {
    try {
      op();
      return true;
    } catch (const std::exception& e) {
      ShowFailure(sentence, e);
      return false;
    }
  }
  void ShowFailure(std::string_view sentence, const std::exception& failure);

  // --- draws archive ---
  const lottery::TDrawsArray& Draws() const { return draws_; }
  int DrawsOffset() const { return draws_offset_; }
  // Nothing when equal; otherwise the offset (clamped to 0..count-1) and every view are refreshed.
  void SetDrawsOffset(int offset);
  int32_t NextDrawNumber(int row) const;
  int32_t NextDrawNumber() const { return NextDrawNumber(draws_offset_); }
  // Status panels 0..5 (archive size, next draw, hidden draw values, combinations, stakes, rating).
  std::string StatusPanelText(int panel) const;

  // Reads the archive file; a read failure is shown and the draws read so far are kept.
  void LoadDrawsFile();
  // Writes the archive; a failure is shown, memory keeps the change and the old file stays intact.
  // An archive that could not be read is never written over (the refusal is shown). Returns whether
  // the file was written.
  bool SaveDrawsFile();
  // The reading error of the last LoadDrawsFile, empty when the archive was read (or is missing).
  const std::string& DrawsReadError() const { return draws_read_error_; }

  // A draw prepared for the add dialog: number NextDrawNumber(0), zero values, no date.
  lottery::TDrawRec NewDrawTemplate() const;
  // Appends the draw, saves the archive, refreshes the views.
  void AddDraw(const lottery::TDrawRec& draw);
  // Replaces the draw at the list row (newest first); the array position does not change.
  void ChangeDraw(int row, const lottery::TDrawRec& draw);
  // Asks the delete confirmation for the rows (newest-first rows); on Yes removes each row's draw
  // by its number. Returns whether anything was removed.
  bool DeleteDrawRows(const std::vector<int>& rows);
  // Removes the draws with these numbers after the confirmation; the same rules as the rows. A number
  // not in the archive is reported by name before anything is asked or removed.
  bool DeleteDrawNumbers(const std::vector<int32_t>& numbers);
  // Imports a CSV file; returns how many draws were appended, or -1 after a reported failure. Lines
  // that are not draws are skipped and reported in one warning; nothing appended writes nothing.
  int ImportDraws(const std::filesystem::path& path);
  // Exports the archive; returns false after a reported failure.
  bool ExportDraws(const std::filesystem::path& path);
  // Appends the draws of an operator's results file newer than the archive; saves and refreshes
  // when any were appended. Returns the count, or -1 after a reported failure (a missing file too).
  int AppendResultsFile(const std::filesystem::path& path);

  // --- configuration ---
  const TProgramSettings& Settings() const { return settings_; }
  // Each replaces one group and writes it to the configuration file ("Ошибка записи в файл
  // конфигурации!" on failure; memory keeps the new values). Returns whether the file was written.
  bool SetAnalysisSettings(const lottery::TConfigData& config);
  bool SetGenerationDefaults(const TGenerationDefaults& defaults);
  bool SetShredding(const lottery::TShreddingData& shredding);
  bool SetProxy(const lottery::TProxy& proxy, bool quiet);
  // Writes the proxy settings without a status text when they differ from the file's.
  bool SaveProxySettingsIfChanged();
  // `config set`: one key of a known group, checked by reading the group back before the file is
  // written; the settings in memory take the new value (views are not recomputed). Returns
  // whether the file was written; an unknown key or a malformed value is reported.
  bool SetConfigValue(std::string_view section, std::string_view key, std::string_view value);

  // --- network (session_download.cpp) ---
  NetworkState& Network();
  // The identity sent to the vendor's catalogue; the installation identifier is made and saved on
  // first use.
  net::TUserIdentity UserIdentity();
  // Stores the user's name and e-mail address (section NETWORK); returns whether it was written.
  bool SetUserIdentity(const std::string& name, const std::string& mail);
  // The download driver of "Загрузка": fetches the results file (`url`, else the ResultsUrl
  // setting) through the shared client and the proxy settings, appends the new draws, saves the
  // archive and refreshes the views, then checks the stakes. A failed fetch asks whether to retry
  // (with ask_retry; otherwise it is reported as an error). Returns the draws appended, or -1 when
  // none could be fetched (a missing address included, reported in one message).
  int DownloadDraws(const std::string& url = {}, bool ask_retry = true);
  // The start-up step: DownloadDrawsOnStart 0 asks, 1 downloads, 2 does nothing. Without a results
  // address nothing happens.
  void DownloadDrawsOnStart();
  // The game's download step: the results file into chance_results.csv, and every draw numbered
  // first_wanted or later appended to the archive in memory, oldest first. Returns how many.
  // Throws when the fetch fails (the archive and the old file are then unchanged).
  int DownloadNewDraws(const std::string& url, int32_t first_wanted);
  // The automatic proxy search alone (`proxy find`): the candidates for an https or http target,
  // nullopt after a reported failure.
  std::optional<std::vector<std::string>> FindProxies(bool https);

  // --- online script library: the catalogue panel's entries and commands ---
  LibraryState& Library();
  const LibraryState* LibraryIfCreated() const { return library_.get(); }

  // --- self-update (session_update.cpp) ---
  // The update dialog: the running version, the offer and its notes; whether to install.
  using UpdateAsk = std::function<bool(const std::string& running_version, const net::TUpdateVersionInfo& offer,
                                       const std::vector<std::string>& notes)>;
  // CheckForUpdate of `source` (empty: the UpdateUrl setting, else the catalogue's
  // "/files/autoupdates/Orvane_AU.cfg") for the program's folder, under the busy state, with the
  // Host's progress window and messages. Returns net::UpdateNone, UpdateInstalled or UpdateFailed.
  int CheckForUpdate(const std::string& source, bool silent, const UpdateAsk& ask);
  // The start-up step: a silent check when "AutoUpdates" is on and no batch switch was given;
  // UpdateNone otherwise.
  int StartupUpdateCheck(const UpdateAsk& ask);
  // The folder the self-update installs into: the option, else KELMORA_PROGRAM_DIR, else the
  // executable's folder.
  std::filesystem::path ProgramDir() const;

  // --- view state ---
  ViewState& View() { return *view_; }
  TMainViewState& MainView() { return main_view_; }
  const TMainViewState& MainView() const { return main_view_; }
  // Writes one of the main window's switches through to the view-state file.
  bool WriteViewSwitch(std::string_view key, int32_t value);  // false after the error was shown
  // Destruction step: the keys written at exit. A failure is shown as the system does.
  void SaveViewStateAtExit();

  // --- stakes file, the data folder's writer lock ---
  // Opens Kelmora_4r32.lsk (created when missing) with exclusive access for the whole run. On
  // failure shows the exclusive-access message, marks the session for termination, returns false.
  bool OpenStakesFile();
  // The same exclusive access for a command that writes into the data folder: one writer per
  // folder, so two processes never interleave their read-modify-write of a file. Waits up to `wait`
  // for another holder; on success removes the temporaries of killed saves and returns nothing,
  // otherwise the reason in the user's words (nothing is shown).
  std::optional<std::string> LockDataFolder(std::chrono::milliseconds wait);
  // Destruction step: releases the stakes file ("Ошибка записи в файл ставок!" on failure).
  void CloseStakesFile();
  bool StakesFileOpen() const { return stakes_file_ != nullptr; }
  // The open stakes file, nullptr when it is not open; read and written through the lock's
  // descriptor only.
  stakes::TStakesFile* StakesFile() const { return stakes_file_.get(); }
  std::filesystem::path StakesPath() const;      // Kelmora_4r32.lsk
  // Set when the program must end after the current step (exclusive access refused).
  bool TerminateRequested() const { return terminate_requested_; }

  // Rows "Свойство" / "Значение" of the draw details dialog for the draw at a list row: number and
  // date, then one row per graph statistic of the registry. Empty when the row is outside.
  std::vector<std::pair<std::string, std::string>> DrawDetailRows(int row);
  // The graph-statistic rows of the combination details dialog, the combination valued as the
  // current draw; empty when the archive is empty.
  std::vector<std::pair<std::string, std::string>> CombDetailRows(lottery::TComb comb);

  // --- statistics page: the registry and the current table ---
  StatsState& Stats();
  // --- combination list page: CombList, UndoList, CombBuffer, FilterHistory ---
  CombsState& Combs();
  // --- stakes and rating pages: the stakes file's records, checking, the rating ---
  StakesState& Stakes();
  // --- script page: the current script's lines, files and autosave ---
  ScriptState& Script();
  // --- the script runner: "Прогноз", "Тест", "Стоп", its log and flags ---
  ScriptRunner& Runner();
  // --- "Регуляры" page: the regular table stakes ---
  RegularsState& Regulars();
  // --- "Системы" page: the catalogue, the local systems, system play ---
  SystemsState& Systems();
  // The components when they exist already (nullptr before Create), for read-only callers.
  const StatsState* StatsIfCreated() const { return stats_.get(); }
  const CombsState* CombsIfCreated() const { return combs_.get(); }
  const StakesState* StakesIfCreated() const { return stakes_.get(); }
  const ScriptState* ScriptIfCreated() const { return script_.get(); }
  const ScriptRunner* RunnerIfCreated() const { return runner_.get(); }
  // --- the analysis pages "Схема", "Графики", "Карта", "Неделя", the repeats and sums windows ---
  ViewsState& Views();
  const ViewsState* ViewsIfCreated() const { return views_.get(); }
  const RegularsState* RegularsIfCreated() const { return regulars_.get(); }
  const SystemsState* SystemsIfCreated() const { return systems_.get(); }

  // Recomputes the views that depend on the archive and the offset (nothing while suppressed).
  void RefreshAllViews(bool force);
  void SetViewsSuppressed(bool suppressed) { views_suppressed_ = suppressed; }

 private:
  void LoadViewState();
  void LoadConfiguration();
  bool SaveConfigGroup(void (*write)(support::IniFile&, const TProgramSettings&), bool quiet);
  void RefreshDrawsView();
  // Shows the refusal and returns false when the archive could not be read.
  bool DrawsWritable();
  bool DeleteNumbers(const std::vector<int32_t>& numbers);

  Host& host_;
  SessionOptions options_;
  int busy_ = 0;
  bool views_suppressed_ = false;

  lottery::TDrawsArray draws_;
  int draws_offset_ = 0;
  std::string draws_read_error_;

  TProgramSettings settings_;
  std::unique_ptr<ViewState> view_;
  TMainViewState main_view_;
  std::unique_ptr<StatsState> stats_;
  std::unique_ptr<CombsState> combs_;
  std::unique_ptr<StakesState> stakes_;
  std::unique_ptr<ScriptState> script_;
  std::unique_ptr<ScriptRunner> runner_;
  std::unique_ptr<NetworkState> network_;
  std::unique_ptr<ViewsState> views_;
  std::unique_ptr<LibraryState> library_;
  std::unique_ptr<RegularsState> regulars_;
  std::unique_ptr<SystemsState> systems_;

  std::unique_ptr<stakes::TStakesFile> stakes_file_;
  bool terminate_requested_ = false;
  bool stakes_unreadable_ = false;
};

enum class Busy : bool { No, Yes };

// Brackets an operation: the busy state (unless Busy::No) and, with a text, the status line, which
// is cleared however the operation ends (before the busy state ends).
class BusyGuard {
 public:
  explicit BusyGuard(Session& session) : BusyGuard(session, {}, Busy::Yes) {}
  BusyGuard(Session& session, std::string_view status, Busy busy = Busy::Yes);
  ~BusyGuard();
  BusyGuard(const BusyGuard&) = delete;
  BusyGuard& operator=(const BusyGuard&) = delete;

 private:
  Session& session_;
  bool busy_;
  bool status_;
};

// The draw dialog's check: exactly four words at "," and ";", each 7..14 after trimming.
// Returns the combination in the order written, or nullopt ("Введена некорректная комбинация!").
std::optional<lottery::TComb> ParseDialogValues(std::string_view text);

}  // namespace kelmora::shell
