#pragma once
// The command set of the main window: one entry per command with its constant id, name, caption,
// hint, shortcut and availability rule. Menus, buttons, context menus and keys only show these
// entries; the front end supplies the handlers and recomputes availability when idle.

#include <array>
#include <cstdint>
#include <string>
#include <optional>
#include <span>
#include <string_view>

#include "shell/network_settings.h"
#include "shell/view_state.h"

namespace kelmora::shell {

class Session;

// Constant ids, in the order that decides which command a shared shortcut runs.
enum class CommandId : int {
  DrawsDownload, ExitProgram, DrawsGraphDraw, DrawsAdd, DrawsEdit, DrawsDel, DrawsStatCalc, CombsGen,
  CombsOpen, CombsSave, CombsUndo, StatFilter_Include, StatFilter_Exclude, EditConfig, StakeAdd,
  StakeAddRandom, StakeAddSelected, StakeAddAll, StakeDel, StakeFilter, StakeClear, RatingsRefresh,
  StakesGraphDraws, StakesGraphOverlap, StakesGraphProfits, TablesAdd, TablesDel, TablesStakeAdd,
  TablesStakeTest, OpenLotoSite, CombsDelExists, CombsDelSelected, ScriptOpen, ScriptSave, ScriptRun,
  ScriptTest, ScriptStop, ScriptAdd, ScriptEmpty, ScriptLoad, ScriptClone, ScriptEdit, ScriptDel,
  ScriptClr, ScriptUp, ScriptDown, GetHelp, RatingsGraphOverlap, StakesCheckManual, About, DrawsImport,
  DrawsExport, RatingsExport, RatingsToScript, CardFilter_Include, CardFilter_Exclude, LogToggle,
  AutoSelfUpdate, CheckUpdate, ViewColorDraws, ViewColorCombs, ViewColorCard, AnalyzeRepeats,
  TotalSumCombs, DrawsXlsExport, DrawsInfo, CombsInfo, CombsCheckNums, CombsXlsExport, LogStakes,
  LogStakesDelete, StakesXlsExport, DrawsSorted, RatingsXlsExport, AutoDownload0, AutoDownload1,
  AutoDownload2, LayoutCalc, LayoutFilter_Include, LayoutFilter_Exclude, EditShredding,
  DrawsStatExportToExcel, DrawsStatShowTotalLine, DrawsStatePrefetchsEnabled, CardXlsExport,
  LayoutXlsExport, ViewColorCardSequences, StakesScroll, CombsFindInDraws, EditProxy, ViewShemaGradient,
  StakesCheckLine, ScriptLibrary, ScriptLibraryRefresh, ScriptLibraryDownload, ScriptLibraryUpload,
  ScriptLibraryReplace, ScriptLibraryDelete, ScriptLibraryView, ScriptLibraryRates, ScriptLibraryRate0,
  ScriptLibraryRate1, ScriptLibraryRate2, ScriptLibraryRate3, ScriptLibraryRate4, ScriptLibraryRate5,
  ScriptLibraryHide, CombsCopy, CombsPaste, CombsSelectAll, RatingsEffMode0, RatingsEffMode1,
  RatingsEffMode2, urlMainSite, urlAuthSite, urlBlog, urlYT, urlVK, urlOK, WeekStatCalc,
  WeekFilter_Include, WeekFilter_Exclude, ViewWeekChartMode, ViewWeekChartType, SystemsOn,
  SystemsRefresh, SystemsDownload, SystemsAdd, SystemsProp, SystemsDel, SystemStakeAll,
  SystemStakeFilter, LogsDelete, urlAuthText, urlTG, FiltersManager, FiltersReset, FiltersInfo,
  TabGraps, TabCard, TabLayout, TabWeek, TabTables, LayoutCmpCalc,
  Count
};
inline constexpr int CommandCount = static_cast<int>(CommandId::Count);

// The area of the program a command belongs to. A command of an area a build lacks stays in its
// menus and says so when run (MissingAreaText).
enum class Feature {
  Shell, Draws, DrawsTransfer, Download, Combs, Stats, FilterLists, Filters, Stakes, Rating, Tables,
  Systems, Scripts, Library, Proxy, Graphs, Card, Layout, Week, Analysis, Update, Help, Web
};

// Everything the availability rules look at: Session state plus the front end's selections and
// pages. Counts are 0 and flags false for areas that are not there.
struct TCommandState {
  bool Idle = true;
  bool ScriptRunning = false;
  bool StopRequested = false;

  int DrawsCount = 0;
  int DrawsSelected = 0;

  int CombsCount = 0;
  int CombsSelected = 0;
  bool UndoExists = false;
  bool ClipboardHasText = false;

  bool StatKindChosen = false;
  bool StatTableFocused = false;  // the statistics table has the keyboard focus
  int StatRows = 0;
  int StatRowsSelected = 0;
  bool GraphKindChosen = false;

  bool StakesFileOpen = false;
  int StakesCount = 0;
  int StakesSelected = 0;
  int RatingCount = 0;
  int RatingSelected = 0;

  bool TablesShown = false;
  int TablesSelected = 0;
  bool SystemsShown = false;
  int SystemsSelected = 0;
  bool SystemSelectedIsOwn = false;

  int ScriptLines = 0;
  int ScriptSelected = 0;
  int ScriptFirstSelected = -1;  // row of the first and last selected lines, -1 when none
  int ScriptLastSelected = -1;
  bool ScriptSelectedIsFilter = false;

  bool LibraryShown = false;
  bool LibraryFilterAvailable = false;
  bool LibrarySelected = false;
  bool LibrarySelectedDownloadable = false;
  bool LibrarySelectedIsOwn = false;
  bool LibrarySelectedRated = false;
  int LibrarySelectedRate = 0;  // the selected entry's MyRate: -1 hidden, 0 none, 1..5

  bool GraphsShown = false;
  bool CardShown = false;
  bool LayoutShown = false;
  bool WeekShown = false;
  int CardColumns = 0;
  int LayoutColumns = 0;
  // Selected column block of the card and the scheme grids, -1 when nothing is selected.
  int CardSelLeft = -1, CardSelRight = -1;
  int LayoutSelLeft = -1, LayoutSelRight = -1;

  bool HelpFileExists = false;
  uint32_t WebLinksSet = 0;  // bit WebLinkIndex(id) for each web page with an address
  TMainViewState View;
};

enum class CommandArea { File, Draws, Combs, Stats, Stakes, Rating, Tables, Systems, Script, View, Help, Page };

struct TCommandInfo {
  CommandId Id;
  const char* Name;
  const char* Caption;
  const char* Hint;      // nullptr: the caption serves as hint
  const char* Shortcut;  // portable key text ("Ctrl+Del"), "" for none
  CommandArea Area;
  Feature Needs;
  bool RunsWhileBusy;                        // the rule alone decides, also while busy
  bool (*Rule)(const TCommandState&);        // conditions on top of the idle rule
  bool (*Checked)(const TCommandState&);     // toggles and radio items; nullptr otherwise
};

// The whole table in id order; Command(id).Id == id.
std::span<const TCommandInfo> Commands();
const TCommandInfo& Command(CommandId id);
std::optional<CommandId> CommandByName(std::string_view name);
std::string_view CommandHint(CommandId id);

// The commands that open a web page (OpenLotoSite and the vendor's pages), in menu order, and the
// NETWORK key that holds each one's address.
inline constexpr CommandId WebLinkCommands[] = {CommandId::OpenLotoSite, CommandId::urlMainSite, CommandId::urlBlog,
                                                CommandId::urlYT,        CommandId::urlAuthText, CommandId::urlVK,
                                                CommandId::urlOK,        CommandId::urlAuthSite, CommandId::urlTG};
// The link's position in WebLinkCommands, -1 for other commands.
int WebLinkIndex(CommandId id);
// nullptr for a command that is not a link.
const char* WebLinkKey(CommandId id);
// The link's address from the settings, trimmed; empty when none is set or not a link.
std::string WebLinkUrl(const TNetworkSettings& network, CommandId id);
// The WebLinksSet bits of these settings.
uint32_t WebLinksSetIn(const TNetworkSettings& network);

// Opens the link's page through the Host. Only http:// and https:// addresses are opened: anything
// else in the setting (a file, a program) is refused with a message naming the key.
void OpenWebLink(Session& session, CommandId id);

// The one message of a command whose area this build of the program does not have.
std::string MissingAreaText(CommandId id);

// Why a command that is disabled in this state cannot run, where the state alone does not show it
// (a link without an address); empty otherwise. The window shows it as the command's hint.
std::string CommandDisabledReason(CommandId id, const TCommandState& state);

// Whether the area is part of this build.
bool FeatureBuilt(Feature feature);
bool CommandShown(CommandId id);

// The availability rule: idle (unless the command runs while busy) and its own conditions.
bool CommandEnabled(CommandId id, const TCommandState& state);
// The check mark of toggles and radio items; false for other commands.
bool CommandChecked(CommandId id, const TCommandState& state);

// F7 and Ctrl+F7 belong both to the table's keep and delete commands and to the favourites
// manager and reset: the table's commands take them while the statistics table has the focus, the
// favourites commands otherwise. Every other command takes its key whatever has the focus.
bool TakesSharedKey(CommandId id, const TCommandState& state);

// The command a shortcut runs: the first shown and enabled command in id order that has it and
// takes it in this state (TakesSharedKey). `shown` decides which commands take part (by default
// those of this build).
std::optional<CommandId> ResolveShortcut(std::string_view shortcut, const TCommandState& state,
                                         bool (*shown)(CommandId) = CommandShown);

// The card and scheme filters need a block that starts at column 1 or later and ends before 9.
bool SelectionInValueColumns(int left, int right);

// The Session's part of the command state (archive, idle, view switches); selections stay empty.
TCommandState CommandStateOf(const Session& session);

// Toggle and radio commands: the view-state key they store and the new value for the current state.
// nullopt for commands that are not view switches.
struct TViewSwitchChange {
  const char* Key;
  int32_t Value;
};
std::optional<TViewSwitchChange> ViewSwitchChange(CommandId id, const TMainViewState& view);
// Applies a change to the in-memory state (the Session writes it through to the file).
void ApplyViewSwitch(TMainViewState& view, const TViewSwitchChange& change);

}  // namespace kelmora::shell
