// The statistics and combination pages driven through their commands, as the user works them.

#include <QAbstractItemModelTester>
#include <QAction>
#include <QChart>
#include <QChartView>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QHeaderView>
#include <QSpinBox>
#include <QTableView>
#include <QTest>
#include <gtest/gtest.h>

#include "gui/combs_model.h"
#include "gui/combs_page.h"
#include "gui/command_actions.h"
#include "gui/gui_fixture.h"
#include "gui/stats_model.h"
#include "gui/stats_page.h"
#include "gui/table_sizing.h"
#include "lottery/comb_ops.h"
#include "lottery/draws.h"
#include "shell/combs_state.h"
#include "shell/stats_state.h"
#include "support/files.h"

namespace kelmora::gui {
namespace {

using shell::CommandId;
using testing::Program;

class PagesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    lottery::TDrawsArray draws;
    uint32_t seed = 12345;
    auto next = [&seed] {
      seed = seed * 1103515245u + 12345u;
      return static_cast<int>((seed >> 16) % 8);
    };
    for (int i = 0; i < 300; ++i) {
      const int a = next(), b = next(), c = next(), d = next();
      draws.push_back({1000 + i, lottery::MakeComb(7 + a, 7 + b, 7 + c, 7 + d), "01/02/2023"});
    }
    lottery::SaveDrawsFile(dir_ / "Kelmora_4r32.ldr", draws);
  }

  // Chooses the statistic with the code in the page's selector, as the user picks it.
  static void ChooseStat(Program& p, const char* code) {
    QComboBox* selector = p.window->Stats()->Selector();
    const int entry = p.session->Stats().List().IndexOfCode(code);
    const int position = selector->findData(entry);
    ASSERT_GE(position, 0) << code;
    selector->setCurrentIndex(position);
  }
  static void SelectStatRows(Program& p, std::initializer_list<int> rows) {
    QTableView* table = p.window->Stats()->Table();
    table->clearSelection();
    for (int r : rows)
      table->selectionModel()->select(table->model()->index(r, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
  }
  static QString Cell(QAbstractItemModel* model, int row, int column) {
    return model->data(model->index(row, column), Qt::DisplayRole).toString();
  }
  static void ClickHeader(QTableView* table, int column) {
    QHeaderView* header = table->horizontalHeader();
    const QPoint at(header->sectionViewportPosition(column) + header->sectionSize(column) / 2, header->height() / 2);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, at);
  }

  kelmora::testing::TempDir dir_;
};

TEST_F(PagesTest, ChooseComputeKeepDeleteAndUndo) {
  Program p(dir_.Path());
  ASSERT_TRUE(p.Start());
  QAbstractItemModelTester stats_tester(p.window->Stats()->Model());
  QAbstractItemModelTester combs_tester(p.window->Combs()->Model());
  QAbstractItemModelTester history_tester(p.window->Combs()->HistoryModel());
  auto* combs = p.window->Combs()->Model();
  auto* history = p.window->Combs()->HistoryModel();
  ASSERT_EQ(combs->rowCount(), 4096);

  ChooseStat(p, "NUMS");
  p.window->Stats()->WindowLengthEdit()->setValue(100);
  ASSERT_TRUE(p.window->Commands().Run(CommandId::DrawsStatCalc));
  auto* table = p.window->Stats()->Model();
  ASSERT_EQ(table->rowCount(), 8);
  EXPECT_EQ(table->columnCount(), 20);

  // Nothing selected: the filters are not offered.
  p.window->Commands().Update();
  EXPECT_FALSE(p.window->Commands().Action(CommandId::StatFilter_Include)->isEnabled());

  SelectStatRows(p, {0, 1});
  const QString kept = Cell(table, 0, 0) + QStringLiteral("; ") + Cell(table, 1, 0);
  p.window->Commands().Update();
  ASSERT_TRUE(p.window->Commands().Run(CommandId::StatFilter_Include));
  const int after_keep = combs->rowCount();
  EXPECT_LT(after_keep, 4096);
  EXPECT_GT(after_keep, 0);
  ASSERT_EQ(history->rowCount(), 1);
  EXPECT_EQ(Cell(history, 0, FiltersModel::ColCaption), p.window->Stats()->Selector()->currentText());
  EXPECT_EQ(Cell(history, 0, FiltersModel::ColValues), kept);
  EXPECT_EQ(Cell(history, 0, FiltersModel::ColCount), QString::number(after_keep));
  EXPECT_FALSE(history->data(history->index(0, 0), Qt::DecorationRole).value<QIcon>().isNull());
  EXPECT_EQ(p.window->StatusPanel(3), QStringLiteral("Комбинаций: %1").arg(after_keep));

  SelectStatRows(p, {2});
  p.window->Commands().Update();
  ASSERT_TRUE(p.window->Commands().Run(CommandId::StatFilter_Exclude));
  const int after_delete = combs->rowCount();
  EXPECT_LT(after_delete, after_keep);
  ASSERT_EQ(history->rowCount(), 2);
  EXPECT_EQ(Cell(history, 1, FiltersModel::ColCount), QString::number(after_delete));

  ASSERT_TRUE(p.window->Commands().Run(CommandId::CombsUndo));
  EXPECT_EQ(combs->rowCount(), after_keep);
  EXPECT_EQ(history->rowCount(), 1);
  // Undo is single-level.
  EXPECT_FALSE(p.window->Commands().Action(CommandId::CombsUndo)->isEnabled());
  EXPECT_TRUE(p.host.Messages.empty());
  p.Stop();
}

TEST_F(PagesTest, HeaderClicksSortAndTheSortIsKeptInTheViewState) {
  {
    Program p(dir_.Path());
    ASSERT_TRUE(p.Start());
    ChooseStat(p, "NUMS");
    p.window->Commands().Run(CommandId::DrawsStatCalc);
    QTableView* table = p.window->Stats()->Table();
    auto* model = table->model();
    auto counts = [&] {
      std::vector<int> out;
      for (int r = 0; r < model->rowCount(); ++r) out.push_back(Cell(model, r, 1).toInt());
      return out;
    };
    const auto asc = counts();
    ASSERT_TRUE(std::is_sorted(asc.begin(), asc.end()));  // column 1 ascending at first
    ClickHeader(table, 1);  // the current column: reversed
    auto desc = counts();
    EXPECT_TRUE(std::is_sorted(desc.rbegin(), desc.rend()));
    EXPECT_EQ(table->horizontalHeader()->sortIndicatorOrder(), Qt::DescendingOrder);
    ClickHeader(table, 6);  // a new column: ascending
    EXPECT_EQ(table->horizontalHeader()->sortIndicatorSection(), 6);
    EXPECT_EQ(table->horizontalHeader()->sortIndicatorOrder(), Qt::AscendingOrder);
    for (int r = 1; r < model->rowCount(); ++r) EXPECT_LE(Cell(model, r - 1, 6).toInt(), Cell(model, r, 6).toInt());
    ClickHeader(table, 6);
    for (int r = 1; r < model->rowCount(); ++r) EXPECT_GE(Cell(model, r - 1, 6).toInt(), Cell(model, r, 6).toInt());
    p.Stop();
  }
  Program again(dir_.Path());
  ASSERT_TRUE(again.Start());
  EXPECT_EQ(again.session->Stats().SortColumn(), 6);
  EXPECT_TRUE(again.session->Stats().SortDescending());
  again.Stop();
}

TEST_F(PagesTest, ComparisonModeShowsTheNormColumnsAndTheIdealLine) {
  Program p(dir_.Path());
  ASSERT_TRUE(p.Start());
  ChooseStat(p, "NUMS");
  p.window->Commands().Run(CommandId::DrawsStatCalc);
  QTableView* table = p.window->Stats()->Table();
  for (int c : {3, 4, 5}) EXPECT_TRUE(table->isColumnHidden(c)) << c;
  EXPECT_FALSE(p.window->Commands().Action(CommandId::DrawsStatShowTotalLine)->isEnabled());

  ASSERT_TRUE(p.window->Commands().Run(CommandId::DrawsStatePrefetchsEnabled));
  EXPECT_TRUE(p.window->Commands().Action(CommandId::DrawsStatePrefetchsEnabled)->isChecked());
  for (int c : {3, 4, 5}) EXPECT_FALSE(table->isColumnHidden(c)) << c;
  EXPECT_NE(Cell(table->model(), 0, 3), QStringLiteral("-"));
  EXPECT_TRUE(support::FileExists(dir_ / "Prefetchs" / "Kelmora_4r32_NUMS.dfc"));
  EXPECT_EQ(p.window->Stats()->ChartView()->chart()->series().size(), 2);

  ASSERT_TRUE(p.window->Commands().Run(CommandId::DrawsStatShowTotalLine));
  EXPECT_EQ(p.window->Stats()->ChartView()->chart()->series().size(), 1);
  ASSERT_TRUE(p.window->Commands().Run(CommandId::DrawsStatShowTotalLine));

  ASSERT_TRUE(p.window->Commands().Run(CommandId::DrawsStatePrefetchsEnabled));
  for (int c : {3, 4, 5}) EXPECT_TRUE(table->isColumnHidden(c)) << c;
  EXPECT_EQ(Cell(table->model(), 0, 3), QStringLiteral("-"));
  EXPECT_TRUE(p.host.Messages.empty());
  p.Stop();
}

// Columns follow the header and the cells until the user sets a width; that width then stays, also
// over a restart.
TEST_F(PagesTest, ColumnsFitTheirContentUntilTheUserSetsAWidth) {
  {
    Program p(dir_.Path());
    ASSERT_TRUE(p.Start());
    ChooseStat(p, "SUMS");
    p.window->Commands().Run(CommandId::DrawsStatCalc);
    QTableView* table = p.window->Stats()->Table();
    QHeaderView* header = table->horizontalHeader();
    EXPECT_EQ(ElidedHeaderTexts(*header), QStringList());
    for (int c = 0; c < header->count(); ++c) {
      if (header->isSectionHidden(c)) continue;
      EXPECT_GE(header->sectionSize(c), static_cast<QAbstractItemView*>(table)->sizeHintForColumn(c)) << c;
    }
    header->resizeSection(1, 151);
    ChooseStat(p, "NUMS");
    p.window->Commands().Run(CommandId::DrawsStatCalc);
    EXPECT_EQ(header->sectionSize(1), 151);
    p.Stop();
  }
  Program p(dir_.Path());
  ASSERT_TRUE(p.Start());
  ChooseStat(p, "SUMS");
  p.window->Commands().Run(CommandId::DrawsStatCalc);
  EXPECT_EQ(p.window->Stats()->Table()->horizontalHeader()->sectionSize(1), 151);
  p.Stop();
}

TEST_F(PagesTest, PasteOfABadLineRestoresTheList) {
  Program p(dir_.Path());
  ASSERT_TRUE(p.Start());
  ChooseStat(p, "NUMS");
  p.window->Commands().Run(CommandId::DrawsStatCalc);
  SelectStatRows(p, {0});
  p.window->Commands().Update();
  ASSERT_TRUE(p.window->Commands().Run(CommandId::StatFilter_Exclude));
  const int before = p.window->Combs()->Model()->rowCount();
  const QString first = Cell(p.window->Combs()->Model(), 0, 1);

  QGuiApplication::clipboard()->setText(QStringLiteral("7 8 9 10\r\nbad line\r\n"));
  p.window->Commands().Update();
  ASSERT_TRUE(p.window->Commands().Run(CommandId::CombsPaste));
  ASSERT_EQ(p.host.Messages.size(), 1u);
  EXPECT_EQ(p.host.Messages[0].Kind, shell::MessageKind::Error);
  EXPECT_EQ(p.host.Messages[0].Text, "Некорректная комбинация: \"bad line\"!");
  EXPECT_EQ(p.window->Combs()->Model()->rowCount(), before);
  EXPECT_EQ(Cell(p.window->Combs()->Model(), 0, 1), first);
  EXPECT_EQ(p.window->Combs()->HistoryModel()->rowCount(), 1);
  // A paste is never undone, good or bad.
  EXPECT_FALSE(p.window->Commands().Action(CommandId::CombsUndo)->isEnabled());

  QGuiApplication::clipboard()->setText(QStringLiteral("7 8 9 10\r\nA K Q J\r\n"));
  p.window->Commands().Update();
  ASSERT_TRUE(p.window->Commands().Run(CommandId::CombsPaste));
  EXPECT_EQ(p.window->Combs()->Model()->rowCount(), 2);
  EXPECT_EQ(p.window->Combs()->HistoryModel()->rowCount(), 0);
  p.Stop();
}

}  // namespace
}  // namespace kelmora::gui

namespace kelmora::gui {
namespace {

// The sample data worked by hand: NUMS over 1000 draws in comparison mode, one keep filter.
TEST(PagesOnSampleDataTest, StatisticsChartAndFilteredListAreDrawn) {
  kelmora::testing::TempDir dir;
  for (const char* name : {"Kelmora_4r32.ldr", "Kelmora_4r32.ini"})
    std::filesystem::copy_file(std::filesystem::path(KELMORA_TEST_DATA) / "../../data/sample" / name, dir / name);
  Program p(dir.Path());
  ASSERT_TRUE(p.Start());
  p.window->resize(1280, 760);
  QComboBox* selector = p.window->Stats()->Selector();
  selector->setCurrentIndex(selector->findData(p.session->Stats().List().IndexOfCode("NUMS")));
  p.window->Stats()->WindowLengthEdit()->setValue(1000);
  ASSERT_TRUE(p.window->Commands().Run(CommandId::DrawsStatePrefetchsEnabled));
  ASSERT_TRUE(p.window->Commands().Run(CommandId::DrawsStatCalc));
  ASSERT_GE(p.window->Stats()->ChartView()->chart()->series().size(), 2);
  QTableView* table = p.window->Stats()->Table();
  table->selectionModel()->select(table->model()->index(0, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
  table->selectionModel()->select(table->model()->index(1, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
  p.window->Commands().Update();
  ASSERT_TRUE(p.window->Commands().Run(CommandId::StatFilter_Exclude));
  const int left = p.window->Combs()->Model()->rowCount();
  EXPECT_LT(left, 4096);
  EXPECT_EQ(p.window->StatusPanel(3), QStringLiteral("Комбинаций: %1").arg(left));
  ASSERT_TRUE(p.window->SelectPage(QStringLiteral("Комбинации")));
  QApplication::processEvents();
  const QPixmap shot = p.window->grab();
  EXPECT_FALSE(shot.isNull());
  p.Stop();
}

}  // namespace
}  // namespace kelmora::gui
