// The analysis pages of the main window: "Графики", "Карта", "Схема" and "Неделя", their tab
// toggles and colour switches, the repeats window and the sums distribution.

#include <algorithm>

#include <QHeaderView>
#include <QTabWidget>
#include <QTableView>

#include "gui/analysis_pages.h"
#include "gui/command_actions.h"
#include "gui/draws_page.h"
#include "gui/main_window.h"
#include "gui/qt_text.h"
#include "gui/qt_host.h"
#include "gui/repeats_window.h"
#include "shell/session.h"
#include "shell/views_state.h"
#include "views/sums.h"

namespace kelmora::gui {

using shell::CommandId;
using shell::ViewPage;

namespace {

struct PageTab {
  ViewPage Page;
  CommandId Toggle;
  bool shell::TMainViewState::*Shown;
};
constexpr PageTab PageTabs[] = {
    {ViewPage::Graphs, CommandId::TabGraps, &shell::TMainViewState::TabGraphs},
    {ViewPage::Card, CommandId::TabCard, &shell::TMainViewState::TabCard},
    {ViewPage::Layout, CommandId::TabLayout, &shell::TMainViewState::TabLayout},
    {ViewPage::Week, CommandId::TabWeek, &shell::TMainViewState::TabWeek},
};

}  // namespace

void MainWindow::BuildAnalysisPages() {
  graphs_ = new GraphsPage(right_pages_, session_, *commands_);
  right_pages_->addTab(graphs_, Tr("Графики"));
  card_ = new CardPage(right_pages_, session_, *commands_, ChooseFile);
  right_pages_->addTab(card_, Tr("Карта"));
  layout_ = new LayoutPage(right_pages_, session_, *commands_, ChooseFile);
  right_pages_->addTab(layout_, Tr("Схема"));
  week_ = new WeekPage(right_pages_, session_, *commands_);
  right_pages_->addTab(week_, Tr("Неделя"));
  connect(card_, &CardPage::SelectionChanged, commands_, &CommandActions::ScheduleUpdate);
  connect(layout_, &LayoutPage::SelectionChanged, commands_, &CommandActions::ScheduleUpdate);
  connect(week_, &WeekPage::SelectionChanged, commands_, &CommandActions::ScheduleUpdate);
  connect(&host_, &QtHost::SessionViewChanged, this, [this](shell::ViewId view) {
    if (view == shell::ViewId::StatSelectors) graphs_->FillSelector();
  });
}

namespace {

QWidget* PageOf(MainWindow& w, ViewPage page) {
  switch (page) {
    case ViewPage::Graphs: return w.GraphsView();
    case ViewPage::Card: return w.CardView();
    case ViewPage::Layout: return w.LayoutView();
    case ViewPage::Week: return w.WeekView();
  }
  return nullptr;
}

}  // namespace

void MainWindow::ShowAnalysisPages() {
  auto& views_state = session_.Views();
  for (const PageTab& tab : PageTabs) {
    const bool shown = session_.MainView().*tab.Shown;
    views_state.SetPageShown(tab.Page, shown);
    right_pages_->setTabVisible(right_pages_->indexOf(PageOf(*this, tab.Page)), shown);
  }
  graphs_->FillSelector();
}

void MainWindow::ToggleAnalysisSwitch(CommandId id) {
  ToggleViewSwitch(id);
  for (const PageTab& tab : PageTabs) {
    if (tab.Toggle != id) continue;
    ShowAnalysisPages();
    const bool shown = session_.MainView().*tab.Shown;
    if (!shown) break;
    auto& views_state = session_.Views();
    if (tab.Page == ViewPage::Layout) {
      // Showing the scheme computes both of its parts and brings it forward.
      views_state.CalcLayout(true);
      views_state.CalcLayoutCompare(true);
      right_pages_->setCurrentWidget(layout_);
    } else {
      views_state.Refresh(false);
    }
    break;
  }
  card_->Repaint();
  layout_->Repaint();
  week_->RedrawChart();
  commands_->Update();
}

void MainWindow::RefreshAnalysisPage(int view) {
  switch (static_cast<shell::ViewId>(view)) {
    case shell::ViewId::Layout: layout_->Refresh(); break;
    case shell::ViewId::Graphs: graphs_->Refresh(); break;
    case shell::ViewId::Card:
      // The draw numbers take the width of the draws list's number column.
      card_->Grid()->verticalHeader()->setFixedWidth(std::max(40, draws_->List()->horizontalHeader()->sectionSize(0)));
      card_->Refresh();
      break;
    case shell::ViewId::Week: week_->Refresh(); break;
    case shell::ViewId::All:
      // A draw changed in place keeps the card's row count; its cells are read anew.
      card_->Refresh();
      break;
    default: break;
  }
}

void MainWindow::RegisterAnalysisHandlers() {
  auto& c = *commands_;
  for (CommandId id : {CommandId::TabGraps, CommandId::TabCard, CommandId::TabLayout, CommandId::TabWeek,
                       CommandId::ViewColorCard, CommandId::ViewColorCardSequences, CommandId::ViewShemaGradient,
                       CommandId::ViewWeekChartMode, CommandId::ViewWeekChartType})
    c.SetHandler(id, [this, id] { ToggleAnalysisSwitch(id); });
  c.SetHandler(CommandId::AnalyzeRepeats, [this] {
    RepeatsWindow window(this, session_);
    if (host_.Unattended()) return;
    window.exec();
  });
  c.SetHandler(CommandId::TotalSumCombs, [this] {
    const views::TSumsDistribution sums = session_.Views().CalcSums();
    host_.ShowChart(views::SumsChart(sums));
  });
}

}  // namespace kelmora::gui
