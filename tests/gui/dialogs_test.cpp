#include <cmath>

#include <QCheckBox>
#include <QChart>
#include <QLineEdit>
#include <QLineSeries>
#include <QCategoryAxis>
#include <QValueAxis>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <gtest/gtest.h>

#include "gui/application.h"
#include "gui/chart_window.h"
#include "gui/command_actions.h"
#include "gui/config_dialog.h"
#include "gui/draw_info_dialog.h"
#include "gui/draws_page.h"
#include "gui/info_dialogs.h"
#include "gui/gui_fixture.h"
#include "gui/main_window.h"
#include "gui/qt_host.h"
#include "gui/small_windows.h"
#include "lottery/draws.h"
#include "shell/switches.h"
#include "shell/view_state.h"
#include "support/error.h"
#include "support/files.h"

namespace kelmora::gui {
namespace {

using lottery::MakeComb;
using shell::CommandId;
using testing::Program;
using testing::WhenDialogOpens;

TEST(ProgressWindowTest, OnlyOneAtATimeAndTheGaugeStopsAtItsMaximum) {
  QtHost host(true);
  host.ShowProgress("Подождите пожалуйста...", 10, true);
  try {
    host.ShowProgress("второе", 5, false);
    ADD_FAILURE() << "a second progress window opened";
  } catch (const support::Error& e) {
    EXPECT_STREQ(e.what(), "Окно индикатора уже создано!");
  }
  host.SetProgressPosition(25);
  EXPECT_EQ(host.Progress()->Position(), 10);
  EXPECT_FALSE(host.ProgressCancelled());
  host.Progress()->CancelButton()->click();
  EXPECT_TRUE(host.ProgressCancelled());
  EXPECT_FALSE(host.Progress()->CancelButton()->isEnabled());
  host.HideProgress();
  EXPECT_NO_THROW(host.ShowProgress("", 3, false));
  EXPECT_EQ(host.Progress()->CancelButton(), nullptr);
}

TEST(GuiArgumentsTest, ProgramOptionsAreTakenAndSwitchesKept) {
  const auto o = ParseGuiArguments({QStringLiteral("--data-dir"), QStringLiteral("/tmp/x"), QStringLiteral("/LOADONLY"),
                                    QStringLiteral("--screenshot"), QStringLiteral("a.png"), QStringLiteral("--page"),
                                    QStringLiteral("Архив тиражей"), QStringLiteral("--fullrefresh"),
                                    QStringLiteral("restart=1")});
  EXPECT_TRUE(o.Error.isEmpty());
  EXPECT_EQ(o.DataDir, QStringLiteral("/tmp/x"));
  EXPECT_EQ(o.Screenshot, QStringLiteral("a.png"));
  EXPECT_EQ(o.Page, QStringLiteral("Архив тиражей"));
  EXPECT_EQ(o.Arguments, (std::vector<std::string>{"/LOADONLY", "--fullrefresh", "restart=1"}));
  EXPECT_TRUE(shell::HasSwitch(o.Arguments, shell::SwitchLoadOnly));
  EXPECT_TRUE(shell::HasSwitch(o.Arguments, shell::SwitchFullRefresh));
  EXPECT_FALSE(shell::HasSwitch(o.Arguments, shell::SwitchRestart));
  EXPECT_FALSE(ParseGuiArguments({QStringLiteral("--screenshot")}).Error.isEmpty());
}

TEST(ConfigDialogTest, ProfitRowsAreShownByTheirNumberOfMatches) {
  QtHost host(true);
  lottery::TConfigData config;
  config.Profits = {{3, 1000000}, {4, 125000}};  // 100 and 12.5
  ConfigDialog dialog(nullptr, host, config, ',');
  auto* table = dialog.ProfitTable();
  ASSERT_EQ(table->rowCount(), 5);
  EXPECT_EQ(table->item(3, 1)->text(), QStringLiteral("100,00"));
  EXPECT_EQ(table->item(4, 1)->text(), QStringLiteral("12,50"));
  EXPECT_EQ(table->item(0, 1)->text(), QStringLiteral("0,00"));
  const auto result = dialog.Result();
  ASSERT_EQ(result.Profits.size(), 5u);
  for (int i = 0; i < 5; ++i) EXPECT_EQ(result.Profits[i].Overlap, i);
  EXPECT_EQ(result.Profits[3].Profit, 1000000);
  EXPECT_EQ(result.Profits[4].Profit, 125000);
  EXPECT_EQ(result.Profits[0].Profit, 0);
}

TEST(ConfigDialogTest, UneditedDialogKeepsCostWeightsAndSegments) {
  QtHost host(true);
  lottery::TConfigData config;
  config.Cost = 1250;  // 0.125: more decimals than shown by default
  config.Cdl.Count = 0.5L;
  config.MatrixSegments[2][5] = 7;
  ConfigDialog dialog(nullptr, host, config, '.');
  const auto result = dialog.Result();
  EXPECT_EQ(result.Cost, 1250);
  EXPECT_EQ(result.Cdl.Count, 0.5L);
  EXPECT_EQ(result.Cdl.Deviation, -1);
  EXPECT_EQ(result.MatrixSegments, config.MatrixSegments);
  EXPECT_EQ(result.MaxStake, config.MaxStake);
}

TEST(ConfigDialogTest, SegmentOutsideOneToNineIsReportedAndBecomesOne) {
  QtHost host(true);
  ConfigDialog dialog(nullptr, host, lottery::TConfigData{}, '.');
  dialog.SegmentGrid()->item(0, 1)->setText(QStringLiteral("0"));
  ASSERT_EQ(host.Messages.size(), 1u);
  EXPECT_EQ(host.Messages[0].Text, "Некорректное значение: 0!\r\rУкажите любое число от 1 до 9");
  EXPECT_EQ(dialog.SegmentGrid()->item(0, 1)->text(), QStringLiteral("1"));
  dialog.SegmentGrid()->item(2, 1)->setText(QStringLiteral("9"));
  EXPECT_EQ(host.Messages.size(), 1u);
  EXPECT_EQ(dialog.Result().MatrixSegments[1][2], 9);
}

class SettingsCommandsTest : public ::testing::Test {
 protected:
  kelmora::testing::TempDir dir_;
};

TEST_F(SettingsCommandsTest, OkInTheDialogsWritesTheirGroups) {
  Program p(dir_.Path());
  ASSERT_TRUE(p.Start());
  WhenDialogOpens<ConfigDialog>([](ConfigDialog* d) {
    d->ChannelSizeEdit()->setValue(3);
    d->accept();
  });
  ASSERT_TRUE(p.window->Commands().Run(CommandId::EditConfig));
  EXPECT_EQ(p.session->Settings().Config.ChannelSize, 3);
  std::string ini = support::ReadFileText(dir_ / "Kelmora_4r32.ini");
  EXPECT_NE(ini.find("ChannelSize=3"), std::string::npos) << ini;
  EXPECT_NE(ini.find("Profit_4_Overlap=4"), std::string::npos) << ini;

  WhenDialogOpens<ShreddingDialog>([](ShreddingDialog* d) {
    d->FormulaEdit(1)->setText(QStringLiteral("n1*n2"));
    d->DigitsEdit(1)->setValue(4);
    d->accept();
  });
  ASSERT_TRUE(p.window->Commands().Run(CommandId::EditShredding));
  EXPECT_EQ(p.session->Settings().Shredding.Formula[1], "n1*n2");
  ini = support::ReadFileText(dir_ / "Kelmora_4r32.ini");
  EXPECT_NE(ini.find("Formula2=n1*n2"), std::string::npos) << ini;
  EXPECT_NE(ini.find("Formula2Digits=4"), std::string::npos);

  // Cancel changes nothing.
  WhenDialogOpens<ConfigDialog>([](ConfigDialog* d) {
    d->ChannelSizeEdit()->setValue(5);
    d->reject();
  });
  ASSERT_TRUE(p.window->Commands().Run(CommandId::EditConfig));
  EXPECT_EQ(p.session->Settings().Config.ChannelSize, 3);
}

TEST_F(SettingsCommandsTest, DrawDetailsShowTheCardAndTheProperties) {
  lottery::SaveDrawsFile(dir_ / "Kelmora_4r32.ldr", {{5, MakeComb(7, 14, 9, 11), "03/04/2021"}});
  Program p(dir_.Path());
  ASSERT_TRUE(p.Start());
  DrawInfoDialog dialog(nullptr, *p.session, 0);
  EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Подробная информация"));
  EXPECT_EQ(dialog.Card()->item(0, 0)->text(), QStringLiteral("7"));
  EXPECT_EQ(dialog.Card()->item(7, 1)->text(), QStringLiteral("A"));
  EXPECT_EQ(dialog.Card()->item(4, 3)->text(), QStringLiteral("J"));
  EXPECT_EQ(dialog.Card()->item(0, 1)->text(), QString());
  ASSERT_GE(dialog.Properties()->rowCount(), 2);
  EXPECT_EQ(dialog.Properties()->item(0, 0)->text(), QStringLiteral("Номер тиража:"));
  EXPECT_EQ(dialog.Properties()->item(0, 1)->text(), QStringLiteral("5"));
  EXPECT_EQ(dialog.Properties()->item(1, 1)->text(), QStringLiteral("03/04/2021"));
}

TEST(ChartTest, SwitchableSeriesLabelsFollowTheCheckBox) {
  support::ChartData data;
  data.Title = "Суммы";
  data.AddPoint(1, "Тиражи", 2.5, true, true, 0xFF0000);
  data.AddPoint(2, "тиражи", 3.5, true, true, 0xFF0000);
  data.AddPoint(1, "Все", 1, false, false, 0);
  ChartWindow window(nullptr, data);
  EXPECT_EQ(window.windowTitle(), QStringLiteral("График"));
  const auto series = window.Chart()->series();
  ASSERT_EQ(series.size(), 2);
  auto* first = qobject_cast<QLineSeries*>(series[0]);
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(first->count(), 2);
  EXPECT_EQ(first->color(), QColor(0xFF, 0, 0));
  EXPECT_TRUE(first->pointLabelsVisible());
  window.LabelsBox()->setChecked(false);
  EXPECT_FALSE(first->pointLabelsVisible());
  window.LabelsBox()->setChecked(true);
  EXPECT_TRUE(first->pointLabelsVisible());
}

// The statistics chart: one named tick per row value, a count axis around the data with round ticks.
TEST(ChartTest, RowCaptionsNameThePointsAndTheCountAxisHugsTheData) {
  support::ChartData data;
  support::ChartSeries actual;
  actual.Title = "Фактические данные";
  const char* captions[] = {"7", "8", "9", "10", "J", "Q", "K", "A"};
  const double counts[] = {523, 470, 489, 487, 513, 500, 485, 533};
  for (int i = 0; i < 8; ++i) actual.Points.push_back({i + 1, captions[i], counts[i]});
  data.Series.push_back(actual);
  QChart* chart = BuildChart(data);
  const auto bottom = chart->axes(Qt::Horizontal);
  ASSERT_EQ(bottom.size(), 1);
  auto* x = qobject_cast<QCategoryAxis*>(bottom.front());
  ASSERT_NE(x, nullptr);
  EXPECT_EQ(x->categoriesLabels(), QStringList({QStringLiteral("7"), QStringLiteral("8"), QStringLiteral("9"),
                                                 QStringLiteral("10"), QStringLiteral("J"), QStringLiteral("Q"),
                                                 QStringLiteral("K"), QStringLiteral("A")}));
  EXPECT_DOUBLE_EQ(x->endValue(QStringLiteral("J")), 5);
  // Half a position of room on each side keeps the end markers whole.
  EXPECT_LT(x->min(), 1);
  EXPECT_GT(x->max(), 8);
  auto* y = qobject_cast<QValueAxis*>(chart->axes(Qt::Vertical).front());
  ASSERT_NE(y, nullptr);
  EXPECT_GT(y->min(), 400);
  EXPECT_LT(y->min(), 470);
  EXPECT_GT(y->max(), 533);
  EXPECT_LT(y->max(), 600);
  const double step = (y->max() - y->min()) / (y->tickCount() - 1);
  EXPECT_DOUBLE_EQ(step, 20);
  EXPECT_DOUBLE_EQ(std::fmod(y->min(), step), 0);
  delete chart;

  QChart* empty = BuildChart({});
  EXPECT_TRUE(empty->axes().isEmpty());
  delete empty;
}

// The help is found beside the program, in its "help" folder or the parent's; a compiled help
// file wins over the HTML guide; without either the first place is named.
TEST(HelpFileTest, LookedUpInTheProgramsFoldersInOrder) {
  struct Case {
    std::vector<std::string> files;  // relative to the root; the program lives in root/bin
    std::string expected;
  };
  const Case cases[] = {
      {{}, "bin/Orvane_RUS.chm"},
      {{"help/Orvane_RUS.html"}, "help/Orvane_RUS.html"},
      {{"bin/help/Orvane_RUS.html", "help/Orvane_RUS.html"}, "bin/help/Orvane_RUS.html"},
      {{"help/Orvane_RUS.html", "help/Orvane_RUS.chm"}, "help/Orvane_RUS.chm"},
      {{"share/kelmora_4r32/help/Orvane_RUS.html"}, "share/kelmora_4r32/help/Orvane_RUS.html"},
  };
  for (const Case& c : cases) {
    kelmora::testing::TempDir root;
    std::filesystem::create_directories(root / "bin");
    for (const auto& file : c.files) {
      std::filesystem::create_directories((root / file).parent_path());
      support::WriteFileAtomic(root / file, std::string_view("<html></html>"));
    }
    EXPECT_EQ(HelpFilePath(root / "bin"), root / c.expected) << c.expected;
  }
}

TEST(HelpFileTest, TheHelpCommandOpensTheUserGuideThatShipsWithTheProgram) {
  kelmora::testing::TempDir dir;
  Program p(dir.Path());
  ASSERT_TRUE(p.Start());
  ASSERT_TRUE(support::FileExists(HelpFilePath())) << HelpFilePath();
  p.window->Commands().Update();
  EXPECT_TRUE(p.window->Commands().Action(CommandId::GetHelp)->isEnabled());
  ASSERT_TRUE(p.window->Commands().Run(CommandId::GetHelp));
  ASSERT_EQ(p.host.OpenedDocuments.size(), 1u);
  EXPECT_EQ(std::filesystem::path(p.host.OpenedDocuments[0]).filename(), "Orvane_RUS.html");
  FirstRunDialog first_run(nullptr, support::FileExists(HelpFilePath()));
  EXPECT_TRUE(first_run.findChild<QPushButton*>()->isEnabled());
  p.Stop();
}

TEST(ChartTest, TheChartWindowKeepsItsPlacementInItsOwnSection) {
  kelmora::testing::TempDir dir;
  shell::ViewState view(dir / "v.frm");
  view.Load();
  QtHost host(false);
  host.SetViewState(&view);
  support::ChartData data;
  data.AddPoint(1, "Тиражи", 2, false, false, 0);
  QRect moved;
  WhenDialogOpens<ChartWindow>([&moved](ChartWindow* w) {
    w->setGeometry(40, 50, 500, 300);
    moved = w->geometry();
    w->reject();
  });
  host.ShowChart(data);
  ASSERT_TRUE(view.Ini().HasSection("TFormChart"));
  const auto stored = view.RestorePlacement("TFormChart", 1, 1, view.ReadInt("TFormChart", "PixelsPerInch", 0),
                                            {0, 0, 1, 1});
  ASSERT_TRUE(stored);
  EXPECT_EQ(stored->NormPos[2] - stored->NormPos[0], moved.width());
  EXPECT_EQ(stored->NormPos[3] - stored->NormPos[1], moved.height());
}

}  // namespace
}  // namespace kelmora::gui
