#include "gui/main_window.h"

#include <QClipboard>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QMenuBar>
#include <QSplitter>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTabWidget>
#include <QTableView>

#include <fmt/format.h>

#include "gui/analysis_pages.h"
#include "gui/combs_page.h"
#include "gui/command_actions.h"
#include "gui/draws_page.h"
#include "gui/menu_layout.h"
#include "gui/qt_host.h"
#include "gui/qt_text.h"
#include "gui/regulars_page.h"
#include "gui/script_page.h"
#include "gui/stakes_pages.h"
#include "gui/stats_page.h"
#include "gui/systems_page.h"
#include "gui/window_placement.h"
#include "scripts/script.h"
#include "shell/combs_state.h"
#include "shell/library_state.h"
#include "shell/script_runner.h"
#include "shell/script_state.h"
#include "shell/session.h"
#include "shell/stakes_state.h"
#include "shell/stats_state.h"
#include "shell/systems_state.h"
#include "shell/switches.h"
#include "shell/views_state.h"
#include "views/card.h"
#include "support/files.h"

namespace kelmora::gui {

namespace {

constexpr const char* DrawsListName = "lvDraws";
constexpr const char* CombsListName = "lvCombs";
constexpr const char* RatingListName = "lvRatings";

}  // namespace

MainWindow::MainWindow(shell::Session& session, QtHost& host) : session_(session), host_(host) {
  setObjectName(QString::fromLatin1(shell::MainWindowSection));
  setWindowTitle(QStringLiteral("Kelmora 4r32"));
  resize(1000, 680);
  host_.SetDialogParent(this);
  commands_ = new CommandActions(this, [this] { return CommandState(); });
  RegisterHandlers();
  BuildPages();
  BuildMenus();
  BuildStatusBar();

  connect(&host_, &QtHost::StatusTextChanged, this, [this](const QString& text) {
    panels_[StatusTextPanel]->setText(text);
    panels_[StatusTextPanel]->repaint();
  });
  connect(&host_, &QtHost::BusyStateChanged, this, [this](bool) { commands_->Update(); });
  connect(&host_, &QtHost::SessionViewChanged, this,
          [this](shell::ViewId view) { OnViewChanged(static_cast<int>(view)); });
  connect(draws_, &DrawsPage::SelectionChanged, commands_, &CommandActions::ScheduleUpdate);
  connect(combs_, &CombsPage::SelectionChanged, commands_, &CommandActions::ScheduleUpdate);
  connect(stats_, &StatsPage::SelectionChanged, commands_, &CommandActions::ScheduleUpdate);
  connect(stakes_, &StakesPage::SelectionChanged, commands_, &CommandActions::ScheduleUpdate);
  connect(rating_, &RatingPage::SelectionChanged, commands_, &CommandActions::ScheduleUpdate);
  connect(script_, &ScriptPage::SelectionChanged, commands_, &CommandActions::ScheduleUpdate);
  connect(script_, &ScriptPage::RunLocked, this, &MainWindow::LockForScript);
  commands_->Update();
}

MainWindow::~MainWindow() {
  Destroy();
  host_.SetDialogParent(nullptr);
}

void MainWindow::BuildPages() {
  splitter_ = new QSplitter(Qt::Horizontal, this);
  left_pages_ = new QTabWidget(splitter_);
  draws_ = new DrawsPage(left_pages_, session_, *commands_);
  left_pages_->addTab(draws_, Tr("Архив тиражей"));
  combs_ = new CombsPage(left_pages_, session_, host_, *commands_, ChooseFile);
  left_pages_->addTab(combs_, Tr("Комбинации"));
  right_pages_ = new QTabWidget(splitter_);
  stats_ = new StatsPage(right_pages_, session_, host_, *commands_, ChooseFile);
  right_pages_->addTab(stats_, Tr("Статистика"));
  BuildAnalysisPages();
  stakes_ = new StakesPage(right_pages_, session_, *commands_);
  right_pages_->addTab(stakes_, Tr("Ставки"));
  rating_ = new RatingPage(right_pages_, session_, *commands_);
  right_pages_->addTab(rating_, Tr("Рейтинг"));
  script_ = new ScriptPage(right_pages_, session_, host_, *commands_, ChooseFile);
  right_pages_->addTab(script_, Tr("Сценарий"));
  BuildTablePages();
  splitter_->setStretchFactor(1, 1);
  setCentralWidget(splitter_);
}

void MainWindow::BuildMenus() {
  for (const MenuDef& def : MainMenus()) {
    auto* menu = new QMenu(Tr(def.Caption), menuBar());
    menu->setToolTipsVisible(true);
    if (commands_->FillMenu(menu, def.Items)) {
      if (def.Items.front().Id == shell::CommandId::EditConfig) BuildLanguageMenu(menu);
      menuBar()->addMenu(menu);
      connect(menu, &QMenu::aboutToShow, commands_, &CommandActions::Update);
    } else {
      delete menu;
    }
  }
}

void MainWindow::BuildStatusBar() {
  const int widths[] = {130, 130, 90, 110, 80, 90, 0};
  for (int i = 0; i < StatusPanelCount; ++i) {
    panels_[i] = new QLabel(this);
    panels_[i]->setObjectName(QStringLiteral("StatusPanel%1").arg(i));
    if (widths[i]) {
      panels_[i]->setFrameShape(QFrame::StyledPanel);
      panels_[i]->setFrameShadow(QFrame::Sunken);
      panels_[i]->setMinimumWidth(widths[i]);
    }
    panels_[i]->setContentsMargins(4, 0, 4, 0);
    statusBar()->addWidget(panels_[i], widths[i] ? 0 : 1);
  }
  RefreshStatusPanels();
}

void MainWindow::RefreshStatusPanels() {
  // A panel with nothing to say is hidden rather than shown as an empty box.
  for (int i = 0; i < StatusTextPanel; ++i) {
    panels_[i]->setText(Q(session_.StatusPanelText(i)));
    panels_[i]->setVisible(!panels_[i]->text().isEmpty());
  }
}

QString MainWindow::StatusPanel(int panel) const {
  return panel >= 0 && panel < StatusPanelCount ? panels_[panel]->text() : QString();
}

void MainWindow::OnViewChanged(int view) {
  switch (static_cast<shell::ViewId>(view)) {
    case shell::ViewId::Draws: draws_->Refresh(); break;
    case shell::ViewId::StatusBar: RefreshStatusPanels(); break;
    case shell::ViewId::Combs: combs_->Refresh(); break;
    case shell::ViewId::Filters: combs_->RefreshHistory(); break;
    case shell::ViewId::StatsTable: stats_->Refresh(); break;
    case shell::ViewId::Stakes:
      stakes_->Refresh(false);
      RefreshStatusPanels();
      break;
    case shell::ViewId::Rating:
      rating_->Refresh();
      RefreshStatusPanels();
      break;
    case shell::ViewId::Script: script_->Refresh(); break;
    case shell::ViewId::Layout:
    case shell::ViewId::Graphs:
    case shell::ViewId::Card:
    case shell::ViewId::Week: RefreshAnalysisPage(view); break;
    case shell::ViewId::Regulars:
    case shell::ViewId::Systems: ShowTablePages(); break;
    case shell::ViewId::All:
      draws_->Refresh();
      stakes_->Refresh(false);
      rating_->Refresh();
      combs_->Refresh();
      combs_->RefreshHistory();
      stats_->Refresh();
      RefreshAnalysisPage(view);
      RefreshStatusPanels();
      break;
    default: break;
  }
  commands_->ScheduleUpdate();
}

shell::TCommandState MainWindow::CommandState() const {
  shell::TCommandState state = shell::CommandStateOf(session_);
  if (draws_) state.DrawsSelected = static_cast<int>(draws_->SelectedRows().size());
  if (combs_) state.CombsSelected = static_cast<int>(combs_->SelectedRows().size());
  if (stats_) state.StatRowsSelected = static_cast<int>(stats_->SelectedRows().size());
  if (stats_) state.StatTableFocused = stats_->Table()->hasFocus();
  if (stakes_) {
    const auto [first, last] = stakes_->SelectedRange();
    state.StakesSelected = first >= 1 && last >= first ? static_cast<int>(last - first + 1) : 0;
  }
  if (rating_) state.RatingSelected = static_cast<int>(rating_->SelectedRows().size());
  if (script_) {
    const auto rows = script_->SelectedRows();
    const auto* script = session_.ScriptIfCreated();
    state.ScriptSelected = static_cast<int>(rows.size());
    state.ScriptFirstSelected = rows.empty() ? -1 : rows.front();
    state.ScriptLastSelected = rows.empty() ? -1 : rows.back();
    state.ScriptSelectedIsFilter = script && !rows.empty() && rows.front() < script->Count() &&
                                   !scripts::IsSeparatorLine(script->Lines()[static_cast<size_t>(rows.front())]);
  }
  if (card_) {
    const auto rect = card_->Selection();
    state.CardColumns = views::CardColumns;
    state.CardSelLeft = rect.Bottom >= rect.Top ? rect.Left : -1;
    state.CardSelRight = rect.Bottom >= rect.Top ? rect.Right : -1;
  }
  if (layout_) {
    const auto rect = layout_->Selection();
    state.LayoutColumns = session_.Views().Layout().Grid.Cols;
    state.LayoutSelLeft = rect.Bottom >= rect.Top ? rect.Left : -1;
    state.LayoutSelRight = rect.Bottom >= rect.Top ? rect.Right : -1;
  }
  if (regulars_) state.TablesSelected = static_cast<int>(regulars_->SelectedRows().size());
  if (systems_) {
    const auto rows = systems_->SelectedRows();
    state.SystemsSelected = static_cast<int>(rows.size());
    const auto* systems = session_.SystemsIfCreated();
    state.SystemSelectedIsOwn = systems && !rows.empty() && systems->IsOwn(rows.front());
  }
  state.ClipboardHasText = !QGuiApplication::clipboard()->text().isEmpty();
  state.HelpFileExists = support::FileExists(HelpFilePath());
  return state;
}

bool MainWindow::SelectPage(const QString& caption) {
  for (QTabWidget* pages : {left_pages_, right_pages_}) {
    for (int i = 0; i < pages->count(); ++i) {
      if (pages->isTabVisible(i) && pages->tabText(i) == caption) {
        pages->setCurrentIndex(i);
        return true;
      }
    }
  }
  return false;
}

QStringList MainWindow::PageCaptions() const {
  QStringList out;
  for (QTabWidget* pages : {left_pages_, right_pages_})
    for (int i = 0; i < pages->count(); ++i)
      if (pages->isTabVisible(i)) out << pages->tabText(i);
  return out;
}

void MainWindow::RestoreViewState() {
  session_.Reported("Ошибка загрузки параметров программы!", [&] {
    const auto& view = session_.View();
    const bool maximized = RestoreWindowPlacement(view, shell::MainWindowSection, *this);
    if (maximized) setWindowState(windowState() | Qt::WindowMaximized);
    RestoreColumns(view, shell::MainWindowSection, DrawsListName, *draws_->List()->horizontalHeader());
    RestoreColumns(view, shell::MainWindowSection, CombsListName, *combs_->List()->horizontalHeader());
    RestoreColumns(view, shell::MainWindowSection, RatingListName, *rating_->List()->horizontalHeader());
    script_->RestoreViewState(view);
    stats_->FillSelector();
    stats_->RestoreViewState(view);
    ShowAnalysisPages();
    combs_->Refresh();
    if (right_pages_->isVisible()) splitter_->setSizes({session_.MainView().LeftPanelWidth, width()});
  });
}

bool MainWindow::Initialise() {
  setWindowTitle(windowTitle() + QStringLiteral(" версия ") + QString::fromLatin1(KELMORA_VERSION));
  session_.Initialise();
  if (session_.TerminateRequested()) return false;
  initialised_ = true;
  commands_->Update();
  // A batch start-up downloads (loadonly) or builds the comparison files, and ends after them.
  const bool recreate = session_.HasSwitch(shell::SwitchFullRecreate);
  const bool refresh = session_.HasSwitch(shell::SwitchFullRefresh);
  if (session_.HasSwitch(shell::SwitchLoadOnly)) {
    // Like the start-up download, an unattended one without an address is skipped silently.
    if (!session_.Settings().Network.ResultsUrl.empty()) session_.DownloadDraws();
    if (!recreate && !refresh) return false;
  }
  if (recreate) {
    session_.Stats().BuildAllPrefetches(true, stats::AllGroups);
    return false;
  }
  session_.Stats().BuildAllPrefetches(refresh, 0);
  if (refresh) return false;
  commands_->Update();
  // The catalogue and the update check at the end of start-up; without their addresses nothing
  // is asked (as with the start-up download).
  if (!session_.Settings().Network.CatalogUrl.empty()) session_.Library().RefreshScriptLibrary();
  if (session_.StartupUpdateCheck(UpdateDialog()) == net::UpdateInstalled) {
    RestartProgram();
    return false;
  }
  session_.DownloadDrawsOnStart();
  if (session_.MainView().FirstRun && !host_.Unattended()) ShowFirstRunDialog();
  return true;
}

void MainWindow::Destroy() {
  if (destroyed_) return;
  destroyed_ = true;
  // A copy refused at start-up does not own the data folder and leaves its files alone.
  if (session_.TerminateRequested() && !initialised_) return;
  session_.Reported("Ошибка сохранения параметров программы!", [&] {
    auto& view = session_.View();
    SaveWindowPlacement(view, shell::MainWindowSection, *this);
    if (right_pages_->isVisible()) session_.MainView().LeftPanelWidth = left_pages_->width();
    SaveColumns(view, shell::MainWindowSection, DrawsListName, *draws_->List()->horizontalHeader());
    SaveColumns(view, shell::MainWindowSection, CombsListName, *combs_->List()->horizontalHeader());
    script_->SaveViewState(view);
    shell::TListColumns rating_columns;
    const auto* rating_header = rating_->List()->horizontalHeader();
    for (int i = 0; i < rating_header->count(); ++i) rating_columns.Widths.push_back(rating_header->sectionSize(i));
    rating_columns.Sort = std::make_pair(session_.Stakes().RatingSortColumn(), session_.Stakes().RatingSortDescending() ? 1 : 0);
    view.SaveColumns(shell::MainWindowSection, RatingListName, rating_columns);
    stats_->SaveViewState(view);
  });
  session_.SaveViewStateAtExit();
  session_.Reported("Ошибка завершения программы!", [&] { session_.CloseStakesFile(); });
}

bool MainWindow::event(QEvent* event) {
  if (event->type() == QEvent::StatusTip) {
    // Hints go to panel 6 while idle; a running operation keeps its status text there.
    if (session_.IsIdle()) panels_[StatusTextPanel]->setText(static_cast<QStatusTipEvent*>(event)->tip());
    return true;
  }
  return QMainWindow::event(event);
}

void MainWindow::closeEvent(QCloseEvent* event) {
  // A running script is asked to stop first; No keeps the window and the run. The run ends at its
  // next check point, and the program ends once the command that started it has returned.
  if (const auto* runner = session_.RunnerIfCreated(); runner && runner->Running() && !runner->StopFlag()) {
    session_.Runner().ScriptStop();
    if (!runner->StopFlag()) {
      event->ignore();
      return;
    }
  }
  event->accept();
}

void MainWindow::LockForScript(bool locked) {
  // A disabled tab would hand the page over to its neighbour: each side keeps the page it shows.
  const int left = left_pages_->currentIndex();
  const int right = right_pages_->currentIndex();
  for (int i = 0; i < left_pages_->count(); ++i) left_pages_->setTabEnabled(i, !locked);
  right_pages_->setTabEnabled(right_pages_->indexOf(stats_), !locked);
  left_pages_->setCurrentIndex(left);
  right_pages_->setCurrentIndex(right);
  script_->List()->setEnabled(!locked);
  commands_->Update();
}

}  // namespace kelmora::gui
