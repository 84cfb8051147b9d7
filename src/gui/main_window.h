#pragma once
// The main window: pages, menus and the status bar over one Session. Creation restores the view
// state, Initialise runs the initialisation tick, destruction writes the view state and releases
// the stakes file.

#include <array>
#include <filesystem>
#include <functional>
#include <optional>

#include <QMainWindow>

#include "lottery/types.h"
#include "shell/commands.h"
#include "shell/session.h"

class QAbstractItemModel;
class QLabel;
class QMenu;
class QSplitter;
class QTabWidget;

namespace kelmora::shell {
class Session;
}

namespace kelmora::gui {

class CardPage;
class CombsPage;
class CommandActions;
class DrawsPage;
class GraphsPage;
class LayoutPage;
class QtHost;
class RatingPage;
class RegularsPage;
class ScriptPage;
class StakesPage;
class StatsPage;
class WeekPage;
class SystemsPage;

class MainWindow : public QMainWindow {
  Q_OBJECT
 public:
  // The status bar's panels: the first six show Session::StatusPanelText, the last the status text.
  enum StatusPanelIndex : int {
    ArchivePanel,
    NextDrawPanel,
    HiddenDrawPanel,
    CombsPanel,
    StakesPanel,
    RatingPanel,
    StatusTextPanel,
    StatusPanelCount
  };

  MainWindow(shell::Session& session, QtHost& host);
  ~MainWindow() override;

  // After Session::Create: window placement, list columns and the left panel's width.
  void RestoreViewState();
  // The initialisation tick. Returns false when the program must end now (a second copy, or a
  // batch start-up whose work is done).
  bool Initialise();
  // Destruction steps, once: view state, then the stakes file. Also run by the destructor.
  void Destroy();

  CommandActions& Commands() { return *commands_; }
  shell::TCommandState CommandState() const;
  DrawsPage* Draws() const { return draws_; }
  CombsPage* Combs() const { return combs_; }
  StatsPage* Stats() const { return stats_; }
  StakesPage* StakesView() const { return stakes_; }
  RatingPage* RatingView() const { return rating_; }
  ScriptPage* ScriptView() const { return script_; }
  GraphsPage* GraphsView() const { return graphs_; }
  CardPage* CardView() const { return card_; }
  LayoutPage* LayoutView() const { return layout_; }
  WeekPage* WeekView() const { return week_; }
  RegularsPage* RegularsView() const { return regulars_; }
  SystemsPage* SystemsView() const { return systems_; }
  QString StatusPanel(int panel) const;
  // Activates the visible page with this caption; false when there is none.
  bool SelectPage(const QString& caption);
  QStringList PageCaptions() const;
  // The submenu "Язык интерфейса" of the menu "Файл".
  QMenu* LanguageMenu() const { return language_menu_; }
  // Whether an installed update asked for the restart (the window was closed for it).
  bool RestartRequested() const { return restart_requested_; }

  // Chooses a file for import or export; tests replace it. Empty when the user cancels.
  std::function<QString(const QString& caption, const QString& filter, bool save)> ChooseFile;

 protected:
  bool event(QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void BuildPages();
  void BuildMenus();
  void BuildStatusBar();
  void RegisterHandlers();
  void RegisterStakeHandlers();
  // Favourites manager, reset and method descriptions (main_window_filters.cpp).
  void RegisterFilterListHandlers();
  void EditFavorites();
  void ShowFilterHelp(int entry);
  void RegisterNetworkHandlers();  // main_window_network.cpp
  // The analysis pages, their tab toggles, colour switches and windows (main_window_views.cpp).
  void BuildAnalysisPages();
  void RegisterAnalysisHandlers();
  // Shows the pages the view state asks for and tells the Session which are shown.
  void ShowAnalysisPages();
  void ToggleAnalysisSwitch(shell::CommandId id);
  void RefreshAnalysisPage(int view);
  // The pages "Регуляры" and "Системы" and their commands (main_window_tables.cpp).
  void BuildTablePages();
  void ShowTablePages();
  void RegisterTableHandlers();
  void RefreshSystems();
  void AddTables();
  void PlaySystem(bool whole);
  void RefreshStatusPanels();
  void OnViewChanged(int view);
  // While a script runs the draws, combinations and statistics pages and the script list are
  // disabled.
  void LockForScript(bool locked);
  void ShowFirstRunDialog();
  void BuildLanguageMenu(QMenu* file_menu);
  // Stores the language and restarts the program in it.
  void ChooseLanguage(int lcid);

  // Command handlers.
  void AddDraw();
  void EditDraw();
  void DeleteDraws();
  void ShowDrawInfo();
  void ImportDraws();
  void ExportDraws();
  void ExportDrawsXlsx();
  void EditConfig();
  void EditShredding();
  void ToggleViewSwitch(shell::CommandId id);
  void ShowAbout();
  void OpenHelp();
  // Stakes and rating (main_window_stakes.cpp).
  void MakeStake(std::optional<lottery::TComb> comb);
  void MakeStakes(bool all);
  void SetStakeSwitch(shell::CommandId id);
  void ExportXlsx(const QAbstractItemModel& model, const QString& title);
  // The download and the proxy settings (main_window_network.cpp).
  void EditProxy();
  // The update dialog (TfrmUpdateInformer) as the self-update asks it.
  shell::Session::UpdateAsk UpdateDialog();
  // Starts the program again with "restart" and closes this window.
  void RestartProgram();

  shell::Session& session_;
  QtHost& host_;
  CommandActions* commands_;
  QSplitter* splitter_ = nullptr;
  QTabWidget* left_pages_ = nullptr;
  QTabWidget* right_pages_ = nullptr;
  DrawsPage* draws_ = nullptr;
  CombsPage* combs_ = nullptr;
  StatsPage* stats_ = nullptr;
  StakesPage* stakes_ = nullptr;
  RatingPage* rating_ = nullptr;
  ScriptPage* script_ = nullptr;
  GraphsPage* graphs_ = nullptr;
  CardPage* card_ = nullptr;
  LayoutPage* layout_ = nullptr;
  WeekPage* week_ = nullptr;
  RegularsPage* regulars_ = nullptr;
  SystemsPage* systems_ = nullptr;
  std::array<QLabel*, StatusPanelCount> panels_{};
  QMenu* language_menu_ = nullptr;
  bool destroyed_ = false;
  bool initialised_ = false;
  bool restart_requested_ = false;
};

// The help of the program below `exe_dir`: "Orvane_RUS.chm" in that folder, its "help" subfolder
// or the parent's "help" folder; else the user guide "Orvane_RUS.html" in the same places or in
// the installed "share/kelmora_4r32/help"; the first .chm path when none exists.
std::filesystem::path HelpFilePath(const std::filesystem::path& exe_dir);
// HelpFilePath of the running executable's folder.
std::filesystem::path HelpFilePath();

}  // namespace kelmora::gui
