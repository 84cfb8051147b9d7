// "Прогноз", "Тест" and "Стоп" from the page "Сценарий": the locked window while a script runs, the
// stop request arriving between check points, the script status bar and the close question.

#include <QApplication>
#include <QLabel>
#include <QSpinBox>
#include <QTableView>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>

#include "gui/combs_page.h"
#include "gui/command_actions.h"
#include "gui/draws_page.h"
#include "gui/gui_fixture.h"
#include "gui/qt_text.h"
#include "gui/script_dialog.h"
#include "gui/script_page.h"
#include "gui/stakes_pages.h"
#include "gui/stats_page.h"
#include "lottery/draws.h"
#include "scripts/script.h"
#include "shell/script_runner.h"
#include "shell/script_state.h"
#include "shell/stakes_state.h"
#include "support/files.h"

namespace kelmora::gui {
namespace {

using lottery::MakeComb;
using shell::CommandId;
using testing::Program;
using testing::WhenDialogOpens;

// Two steps without filters: each pass stakes the first and the last combination of the full list.
const std::vector<std::string> Script = {"FULL:0#FIRST| | | | | | | |a", "", "FULL:0#LAST| | | | | | | |b"};

// Calls `act` at the event processing of the runner's check points until it returns true.
class DuringRun {
 public:
  explicit DuringRun(std::function<bool()> act) : act_(std::move(act)) {
    timer_.setInterval(0);
    QObject::connect(&timer_, &QTimer::timeout, [this] {
      if (!done_ && act_()) done_ = true;
    });
    timer_.start();
  }
  bool Done() const { return done_; }

 private:
  std::function<bool()> act_;
  QTimer timer_;
  bool done_ = false;
};

class ScriptRunTest : public ::testing::Test {
 protected:
  void SetUp() override {
    lottery::TDrawsArray draws;
    for (int i = 0; i < 8; ++i) draws.push_back({i + 1, MakeComb(7 + i, 8, 9, 7 + (i + 3) % 8), ""});
    lottery::SaveDrawsFile(dir_ / "Kelmora_4r32.ldr", draws);
    scripts::WriteScriptFile(dir_ / "Kelmora_4r32.lss", Script);
    p_ = std::make_unique<Program>(dir_.Path());
    ASSERT_TRUE(p_->Start());
    ASSERT_TRUE(p_->window->SelectPage(QStringLiteral("Сценарий")));
  }
  void TearDown() override { p_->Stop(); }
  bool Enabled(CommandId id) {
    p_->window->Commands().Update();
    return p_->window->Commands().Action(id)->isEnabled();
  }
  // Starts "Тест" with this number of tests in its dialog.
  bool Test(int count) {
    WhenDialogOpens<TestCountDialog>([count](TestCountDialog* d) {
      d->CountEdit()->setValue(count);
      d->accept();
    });
    return p_->window->Commands().Run(CommandId::ScriptTest);
  }
  ScriptPage& Page() { return *p_->window->ScriptView(); }
  QString Panel(int i) { return Page().Panel(i)->text(); }
  shell::ScriptRunner& Runner() { return p_->session->Runner(); }

  kelmora::testing::TempDir dir_;
  std::unique_ptr<Program> p_;
};

TEST_F(ScriptRunTest, AForecastStakesTheNextDrawAndFillsTheScriptStatusBar) {
  EXPECT_TRUE(Enabled(CommandId::ScriptRun));
  EXPECT_FALSE(Enabled(CommandId::ScriptStop));
  ASSERT_TRUE(p_->window->Commands().Run(CommandId::ScriptRun));
  auto& stakes = p_->session->Stakes();
  ASSERT_EQ(stakes.Count(), 2);
  EXPECT_EQ(stakes.ReadStake(0).DrawNumber, 9);
  EXPECT_EQ(stakes.ReadStake(0).Name, "01.000: a @ FULL#FIRST");
  EXPECT_EQ(stakes.ReadStake(1).Name, "03.000: b @ FULL#LAST");
  EXPECT_EQ(Panel(1), QStringLiteral("Цикл: 1")) << "the last progress is shown before the cycle returns to 0";
  EXPECT_EQ(Panel(3), QStringLiteral("Ставок: 2"));
  EXPECT_EQ(Panel(4), QStringLiteral("Сценарий завершен!"));
  EXPECT_TRUE(Page().List()->isEnabled());
  EXPECT_TRUE(p_->window->Draws()->isEnabled());
  EXPECT_TRUE(Page().SelectedRows().empty()) << "the running row is not left selected";
}

TEST_F(ScriptRunTest, TheTestCountDialogOffersThePastDrawsAndCancelRunsNothing) {
  int maximum = 0, preset = 0;
  WhenDialogOpens<TestCountDialog>([&](TestCountDialog* d) {
    EXPECT_EQ(d->windowTitle(), QStringLiteral("Количество тестов"));
    maximum = d->CountEdit()->maximum();
    preset = d->CountEdit()->value();
    EXPECT_EQ(d->CountEdit()->minimum(), 1);
    d->reject();
  });
  ASSERT_TRUE(p_->window->Commands().Run(CommandId::ScriptTest));
  EXPECT_EQ(maximum, 7);
  EXPECT_EQ(preset, 7) << "10 within the eight draws' range";
  EXPECT_EQ(p_->session->Stakes().Count(), 0);
  EXPECT_EQ(Panel(1), QString()) << "nothing ran";
}

TEST_F(ScriptRunTest, TheStopRequestReachesTheRunnerBetweenCheckPointsAndTheWindowIsLockedMeanwhile) {
  struct Seen {
    bool StopEnabled = false, AddEnabled = true, ListEnabled = true, DrawsEnabled = true, CombsEnabled = true,
         StatsEnabled = true, StakesEnabled = false, LogEnabled = true;
    QString Cycle;
    std::vector<int> Selected;
  } seen;
  int stakes_at_stop = -1;
  DuringRun stop([&] {
    if (Runner().StakesMade() < 3) return false;
    seen.StopEnabled = Enabled(CommandId::ScriptStop);
    seen.AddEnabled = Enabled(CommandId::ScriptAdd);
    seen.LogEnabled = Enabled(CommandId::LogToggle);
    seen.ListEnabled = Page().List()->isEnabled();
    seen.DrawsEnabled = p_->window->Draws()->isEnabled();
    seen.CombsEnabled = p_->window->Combs()->isEnabled();
    seen.StatsEnabled = p_->window->Stats()->isEnabled();
    seen.StakesEnabled = p_->window->StakesView()->isEnabled();
    seen.Cycle = Panel(1);
    seen.Selected = Page().SelectedRows();
    p_->host.Answers = {false};
    p_->window->Commands().Run(CommandId::ScriptStop);  // No: the run goes on
    EXPECT_FALSE(Runner().StopFlag());
    p_->host.Answers = {true};
    EXPECT_TRUE(p_->window->Commands().Run(CommandId::ScriptStop));
    EXPECT_TRUE(Runner().StopFlag());
    EXPECT_FALSE(Enabled(CommandId::ScriptStop)) << "a stop is asked once";
    stakes_at_stop = Runner().StakesMade();
    return true;
  });
  ASSERT_TRUE(Test(5));
  ASSERT_TRUE(stop.Done());
  EXPECT_TRUE(seen.StopEnabled);
  EXPECT_FALSE(seen.AddEnabled);
  EXPECT_FALSE(seen.LogEnabled);
  EXPECT_FALSE(seen.ListEnabled);
  EXPECT_FALSE(seen.DrawsEnabled);
  EXPECT_FALSE(seen.CombsEnabled);
  EXPECT_FALSE(seen.StatsEnabled);
  EXPECT_TRUE(seen.StakesEnabled);
  EXPECT_EQ(seen.Cycle, QStringLiteral("Цикл: 2"));
  EXPECT_EQ(seen.Selected, std::vector<int>{0}) << "the step running is the one row selected";
  ASSERT_EQ(p_->host.Questions.size(), 2u);
  EXPECT_EQ(p_->host.Questions[0].Text, "Остановить выполнение сценария?");

  // Nothing after the stop: the stakes made so far stay, the offset stays where the test stopped.
  EXPECT_EQ(p_->session->Stakes().Count() - 1, stakes_at_stop) << "a separator starts the second pass";
  EXPECT_EQ(p_->session->DrawsOffset(), 4);
  EXPECT_EQ(Panel(4), QStringLiteral("Сценарий завершен!"));
  EXPECT_FALSE(Runner().Running());
  EXPECT_FALSE(Runner().StopFlag());
  EXPECT_TRUE(Page().List()->isEnabled());
  EXPECT_TRUE(p_->window->Draws()->isEnabled());
  EXPECT_TRUE(p_->window->Stats()->isEnabled());
  EXPECT_TRUE(Enabled(CommandId::ScriptAdd));
  EXPECT_FALSE(Enabled(CommandId::ScriptStop));
}

TEST_F(ScriptRunTest, AWholeTestStakesEveryPassAndRestoresTheOffset) {
  ASSERT_TRUE(Test(3));
  auto& stakes = p_->session->Stakes();
  std::vector<int32_t> draws;
  for (int64_t i = 0; i < stakes.Count(); ++i) draws.push_back(stakes.ReadStake(i).DrawNumber);
  EXPECT_EQ(draws, (std::vector<int32_t>{6, 6, -1, 7, 7, -1, 8, 8}));
  EXPECT_EQ(p_->session->DrawsOffset(), 0);
  EXPECT_EQ(Panel(3), QStringLiteral("Ставок: 6"));
  EXPECT_FALSE(p_->session->Stakes().Rating().empty()) << "the test's stakes were checked";
}

TEST_F(ScriptRunTest, ClosingTheWindowDuringARunAsksToStopFirst) {
  bool visible_after_no = false;
  DuringRun close([&] {
    if (Runner().StakesMade() < 1) return false;
    p_->host.Answers = {false};
    p_->window->close();
    visible_after_no = p_->window->isVisible() && !Runner().StopFlag();
    p_->host.Answers = {true};
    p_->window->close();
    return true;
  });
  ASSERT_TRUE(Test(5));
  ASSERT_TRUE(close.Done());
  EXPECT_TRUE(visible_after_no) << "No keeps the window and the run";
  EXPECT_FALSE(p_->window->isVisible());
  EXPECT_EQ(p_->host.Questions.size(), 2u);
  EXPECT_LT(p_->session->Stakes().Count(), 5 * 3);
  // Once stopped the window closes without a question.
  p_->window->show();
  p_->window->close();
  EXPECT_EQ(p_->host.Questions.size(), 2u);
}

TEST_F(ScriptRunTest, TheLogAndTheCheckAfterEachLineAreSwitchesKeptInTheViewState) {
  const bool check = p_->session->MainView().StakesCheckOnLine;
  ASSERT_TRUE(p_->window->Commands().Run(CommandId::LogToggle));
  ASSERT_TRUE(p_->window->Commands().Run(CommandId::StakesCheckLine));
  EXPECT_TRUE(p_->session->MainView().ScriptLogEnabled);
  EXPECT_EQ(p_->session->MainView().StakesCheckOnLine, !check);
  EXPECT_TRUE(p_->window->Commands().Action(CommandId::LogToggle)->isChecked());
  const std::string frm = support::ReadFileText(dir_ / "Kelmora_4r32.frm");
  EXPECT_NE(frm.find("ScriptLogEnabled=1"), std::string::npos);
  EXPECT_NE(frm.find(check ? "StakesCheckOnLine=0" : "StakesCheckOnLine=1"), std::string::npos);

  // With the log on, a run leaves its log; deleting the logs reports it.
  ASSERT_TRUE(p_->window->Commands().Run(CommandId::ScriptRun));
  ASSERT_EQ(p_->host.OpenedDocuments.size(), 1u);
  EXPECT_TRUE(support::FileExists(p_->host.OpenedDocuments[0]));
  ASSERT_TRUE(p_->window->Commands().Run(CommandId::LogsDelete));
  EXPECT_FALSE(support::FileExists(p_->host.OpenedDocuments[0]));
  p_->host.Messages.clear();
  ASSERT_TRUE(p_->window->Commands().Run(CommandId::LogsDelete));
  ASSERT_FALSE(p_->host.Messages.empty());
  EXPECT_EQ(p_->host.Messages.back().Text, "Файлы журналов не найдены!");
}

}  // namespace
}  // namespace kelmora::gui
