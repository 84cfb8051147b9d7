// The pages "Схема", "Графики", "Карта" and "Неделя", the repeats window and the sums chart driven as
// the user works them: compute, select cells, keep or delete, undo, toggles.

#include <algorithm>

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QChart>
#include <QChartView>
#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QScrollBar>
#include <QSpinBox>
#include <QTableView>
#include <QTableWidget>
#include <gtest/gtest.h>

#include "gui/analysis_pages.h"
#include "gui/command_actions.h"
#include "gui/gui_fixture.h"
#include "gui/repeats_window.h"
#include "gui/view_grid.h"
#include "lottery/comb_ops.h"
#include "lottery/comb_text.h"
#include "lottery/draws.h"
#include "shell/combs_state.h"
#include "shell/stats_state.h"
#include "shell/views_state.h"
#include "views/sums.h"

namespace kelmora::gui {
namespace {

using shell::CommandId;
using testing::Program;

class AnalysisPagesTest : public ::testing::Test {
 protected:
  void Archive(int count) {
    lottery::TDrawsArray draws;
    uint32_t seed = 777;
    auto next = [&seed] {
      seed = seed * 1103515245u + 12345u;
      return static_cast<int>((seed >> 16) % 8);
    };
    for (int i = 0; i < count; ++i) {
      const int a = next(), b = next(), c = next(), d = next();
      // Consecutive days from Monday 1 January 2024.
      const auto date = lottery::AddDays({2024, 1, 1}, i % 700);
      draws.push_back({1000 + i, lottery::MakeComb(7 + a, 7 + b, 7 + c, 7 + d), lottery::DateToText(date)});
    }
    lottery::SaveDrawsFile(dir_ / "Kelmora_4r32.ldr", draws);
  }
  void Start(int count = 300) {
    Archive(count);
    program_ = std::make_unique<Program>(dir_.Path());
    ASSERT_TRUE(program_->Start());
  }
  void TearDown() override {
    if (program_) program_->Stop();
  }
  MainWindow& Window() { return *program_->window; }
  shell::Session& Session() { return *program_->session; }
  int Combs() { return Session().Combs().Count(); }
  static void Select(QTableView* grid, int top, int left, int bottom, int right) {
    auto* model = grid->model();
    grid->selectionModel()->select(QItemSelection(model->index(top, left), model->index(bottom, right)),
                                   QItemSelectionModel::ClearAndSelect);
    grid->selectionModel()->setCurrentIndex(model->index(top, left), QItemSelectionModel::NoUpdate);
  }
  bool AllHold(int value, bool hold) {
    for (lottery::TComb c : Session().Combs().CombList())
      if (lottery::ContainsValue(value, c) != hold) return false;
    return true;
  }

  kelmora::testing::TempDir dir_;
  std::unique_ptr<Program> program_;
};

TEST_F(AnalysisPagesTest, LayoutPageComputesFiltersAndUndoes) {
  Start();
  ASSERT_TRUE(Window().SelectPage(QStringLiteral("Схема")));
  LayoutPage* page = Window().LayoutView();
  QAbstractItemModelTester tester(page->Model(), QAbstractItemModelTester::FailureReportingMode::Warning);
  page->LengthEdit()->setValue(10);
  ASSERT_TRUE(Window().Commands().Run(CommandId::LayoutCalc));
  QApplication::processEvents();
  const auto& grid = Session().Views().Layout().Grid;
  ASSERT_GT(grid.Rows, 1);
  EXPECT_EQ(page->Model()->rowCount(), grid.Rows - 1);
  EXPECT_EQ(page->Model()->headerData(0, Qt::Horizontal, Qt::DisplayRole).toString(), QStringLiteral("1299"));
  // The gradient, then the checkerboard.
  const QColor gradient = page->Model()->index(0, 1).data(Qt::BackgroundRole).value<QColor>();
  EXPECT_EQ(gradient.rgb() & 0xFFFFFF, views::LayoutCellColor("", 1, 2, grid.Rows, grid.Cols, true));
  ASSERT_TRUE(Window().Commands().Run(CommandId::ViewShemaGradient));
  EXPECT_EQ(page->Model()->index(0, 1).data(Qt::BackgroundRole).value<QColor>().rgb() & 0xFFFFFF, 0xEAFFEAu);
  EXPECT_FALSE(Session().MainView().LayoutGradient);
  // The comparison lists start sorted by the count, descending.
  QTableWidget* list = page->CompareList(0);
  ASSERT_GT(list->rowCount(), 0);
  EXPECT_EQ(list->horizontalHeaderItem(1)->text(), QStringLiteral("1250 - 1299"));
  EXPECT_GE(list->item(0, 0)->data(Qt::DisplayRole).toInt(), list->item(list->rowCount() - 1, 0)->data(Qt::DisplayRole).toInt());

  // Delete the values of the first count row.
  Window().Commands().Update();
  EXPECT_FALSE(Window().Commands().Action(CommandId::LayoutFilter_Exclude)->isEnabled()) << "nothing selected";
  // The filters take the value columns 1..8 of the grid.
  Select(page->Grid(), 0, 0, 0, std::min(page->Model()->columnCount(), 8) - 1);
  Window().Commands().Update();
  ASSERT_TRUE(Window().Commands().Run(CommandId::LayoutFilter_Exclude));
  EXPECT_LT(Combs(), 4096);
  EXPECT_EQ(Session().Combs().FilterHistory().back().Caption, "Схема");
  ASSERT_TRUE(Window().Commands().Run(CommandId::CombsUndo));
  EXPECT_EQ(Combs(), 4096);
}

TEST_F(AnalysisPagesTest, CardOfTenThousandDrawsReadsOnlyWhatItShows) {
  Start(10000);
  ASSERT_TRUE(Window().SelectPage(QStringLiteral("Карта")));
  CardPage* page = Window().CardView();
  QAbstractItemModelTester tester(page->Model(), QAbstractItemModelTester::FailureReportingMode::Warning);
  EXPECT_EQ(page->Model()->rowCount(), 10000);
  EXPECT_EQ(page->Model()->columnCount(), 8);
  EXPECT_EQ(page->Grid()->verticalHeader()->sectionResizeMode(0), QHeaderView::Fixed) << "no row is measured";
  EXPECT_EQ(page->Model()->headerData(0, Qt::Vertical, Qt::DisplayRole).toString(), QStringLiteral("10999"));
  EXPECT_EQ(page->Model()->headerData(9999, Qt::Vertical, Qt::DisplayRole).toString(), QStringLiteral("1000"));
  page->Grid()->verticalScrollBar()->setValue(page->Grid()->verticalScrollBar()->maximum());
  QApplication::processEvents();
  EXPECT_FALSE(page->Grid()->grab().isNull());
  // Offset 5 leaves the newest draw in row 1.
  Session().SetDrawsOffset(5);
  EXPECT_EQ(page->Model()->headerData(0, Qt::Vertical, Qt::DisplayRole).toString(), QStringLiteral("10999"));

  // Keep the combinations with the cards of the newest draw's first filled cell.
  int col = 0;
  while (col < 8 && page->Model()->index(0, col).data().toString().isEmpty()) ++col;
  ASSERT_LT(col, 8);
  Select(page->Grid(), 0, col, 1, col);
  Window().Commands().Update();
  ASSERT_TRUE(Window().Commands().Action(CommandId::CardFilter_Include)->isEnabled());
  ASSERT_TRUE(Window().Commands().Run(CommandId::CardFilter_Include));
  EXPECT_TRUE(AllHold(col + 7, true));
  EXPECT_EQ(Combs(), 4096 - 2401);
  ASSERT_TRUE(Window().Commands().Run(CommandId::CombsUndo));
  EXPECT_EQ(Combs(), 4096);
  // The colour switches repaint the cells.
  const QVariant before = page->Model()->index(3, 3).data(Qt::BackgroundRole);
  ASSERT_TRUE(Window().Commands().Run(CommandId::ViewColorCardSequences));
  ASSERT_TRUE(Window().Commands().Run(CommandId::ViewColorCard));
  EXPECT_FALSE(page->Model()->index(3, 3).data(Qt::BackgroundRole).isValid());
  EXPECT_TRUE(before.isValid());
}

TEST_F(AnalysisPagesTest, WeekPageKeepsTheSelectedColumnsCard) {
  Start();
  ASSERT_TRUE(Window().SelectPage(QStringLiteral("Неделя")));
  WeekPage* page = Window().WeekView();
  QAbstractItemModelTester tester(page->Model(), QAbstractItemModelTester::FailureReportingMode::Warning);
  ASSERT_TRUE(Window().Commands().Run(CommandId::WeekStatCalc));
  EXPECT_EQ(page->Model()->rowCount(), 7);
  EXPECT_EQ(page->Model()->columnCount(), 8);
  EXPECT_EQ(page->Model()->headerData(4, Qt::Horizontal, Qt::DisplayRole).toString(), QStringLiteral("J"));
  const auto& week = Session().Views().Week();
  EXPECT_GT(week.Max, 0);
  Select(page->Grid(), 2, 4, 2, 4);
  QApplication::processEvents();
  auto* chart = page->ChartView()->chart();
  ASSERT_EQ(chart->series().size(), 1);
  ASSERT_TRUE(Window().Commands().Run(CommandId::ViewWeekChartMode));
  ASSERT_TRUE(Window().Commands().Run(CommandId::ViewWeekChartType));
  EXPECT_EQ(Session().MainView().WeekChartMode, 1);

  ASSERT_TRUE(Window().Commands().Run(CommandId::WeekFilter_Include));
  EXPECT_TRUE(AllHold(11, true)) << "the column of J keeps the combinations holding J";
  EXPECT_EQ(Combs(), 4096 - 2401);
  EXPECT_EQ(Session().Combs().FilterHistory().back().Values, "J");
  ASSERT_TRUE(Window().Commands().Run(CommandId::CombsUndo));
  ASSERT_TRUE(Window().Commands().Run(CommandId::WeekFilter_Exclude));
  EXPECT_TRUE(AllHold(11, false));
}

TEST_F(AnalysisPagesTest, GraphsPageTabTogglesRepeatsAndSums) {
  Start();
  ASSERT_TRUE(Window().SelectPage(QStringLiteral("Графики")));
  GraphsPage* page = Window().GraphsView();
  const int position = page->Selector()->findData(Session().Stats().List().IndexOfCode("SUMS"));
  ASSERT_GE(position, 0);
  page->Selector()->setCurrentIndex(position);
  QApplication::processEvents();
  EXPECT_EQ(page->ChartView()->chart()->series().size(), 3);
  page->LabelsBox()->setChecked(false);
  EXPECT_FALSE(Session().Views().Graph().Series.front().ShowLabels);
  ASSERT_TRUE(Window().Commands().Run(CommandId::DrawsGraphDraw));

  ASSERT_TRUE(Window().Commands().Run(CommandId::TabCard));
  EXPECT_FALSE(Window().PageCaptions().contains(QStringLiteral("Карта")));
  EXPECT_FALSE(Session().Views().PageShown(shell::ViewPage::Card));
  ASSERT_TRUE(Window().Commands().Run(CommandId::TabCard));
  EXPECT_TRUE(Window().PageCaptions().contains(QStringLiteral("Карта")));

  RepeatsWindow repeats(&Window(), Session());
  EXPECT_GT(repeats.List()->rowCount(), 0);
  EXPECT_EQ(repeats.List()->horizontalHeaderItem(3)->text(), QStringLiteral("Список тиражей"));
  EXPECT_GT(repeats.ChartView()->chart()->series().size(), 0);
  repeats.DeepEdit()->setValue(1);
  repeats.Calculate();
  EXPECT_LE(repeats.List()->rowCount(), 100);
  EXPECT_EQ(Session().Views().RepeatsDeep(), 1);

  ASSERT_TRUE(Window().Commands().Run(CommandId::TotalSumCombs));
  ASSERT_FALSE(program_->host.Charts.empty());
  EXPECT_EQ(program_->host.Charts.back().Title, views::SumsCaption);
  EXPECT_EQ(program_->host.Charts.back().Series.size(), 5u);
}

}  // namespace
}  // namespace kelmora::gui
