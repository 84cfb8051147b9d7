// The pages "Ставки" and "Рейтинг" driven through their commands and dialogs, as the user works them.

#include <QAbstractItemModelTester>
#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QSpinBox>
#include <QTableView>
#include <QTest>
#include <gtest/gtest.h>

#include "gui/combs_page.h"
#include "gui/command_actions.h"
#include "gui/gui_fixture.h"
#include "gui/qt_text.h"
#include "gui/stake_dialogs.h"
#include "gui/stakes_models.h"
#include "gui/stakes_pages.h"
#include "lottery/comb_text.h"
#include "lottery/draws.h"
#include "shell/combs_state.h"
#include "shell/stakes_state.h"
#include "support/files.h"

namespace kelmora::gui {
namespace {

using lottery::MakeComb;
using shell::CommandId;
using testing::Program;
using testing::WhenDialogOpens;

class StakesPagesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    lottery::TDrawsArray draws;
    for (int i = 0; i < 5; ++i) draws.push_back({i + 1, MakeComb(7 + i, 8, 9, 10), ""});
    lottery::SaveDrawsFile(dir_ / "Kelmora_4r32.ldr", draws);
    support::WriteFileAtomic(dir_ / "Kelmora_4r32.ini",
                             std::string("[STAKES]\r\nCost=1\r\nProfits=1\r\nProfit_0_Overlap=3\r\nProfit_0_Profit=10\r\n"));
  }
  static QString Cell(QAbstractItemModel* model, int row, int column) {
    return model->data(model->index(row, column), Qt::DisplayRole).toString();
  }
  static std::vector<std::string> Column(QAbstractItemModel* model, int column) {
    std::vector<std::string> out;
    for (int r = 0; r < model->rowCount(); ++r) out.push_back(U(Cell(model, r, column)));
    return out;
  }
  static void SelectRows(QTableView* table, std::initializer_list<int> rows) {
    table->clearSelection();
    for (int r : rows)
      table->selectionModel()->select(table->model()->index(r, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
  }
  // Generates the 16 combinations of 7 and 8 (mode 2), so lists stay small.
  static void SmallList(Program& p) {
    ASSERT_TRUE(p.session->Combs().GenerateCombList(2, "7;8", true));
    p.window->Combs()->Refresh();
  }

  kelmora::testing::TempDir dir_;
};

TEST_F(StakesPagesTest, MakesSingleSelectedAllAndRandomStakes) {
  Program p(dir_.Path());
  ASSERT_TRUE(p.Start());
  SmallList(p);
  auto* model = p.window->StakesView()->Model();
  QAbstractItemModelTester tester(model);
  EXPECT_EQ(model->rowCount(), 1);  // an empty file shows one empty row
  EXPECT_EQ(p.window->StatusPanel(4), QStringLiteral("Ставок: 0"));

  // Single: the dialog refuses bad values, then takes the edited stake for draw 5 (in the archive).
  SelectRows(p.window->Combs()->List(), {1});
  bool refused = false;
  WhenDialogOpens<StakeDialog>([&](StakeDialog* d) {
    EXPECT_EQ(d->ValuesEdit()->text(), QStringLiteral("7;7;7;8"));
    EXPECT_EQ(d->DrawEdit()->value(), 6);
    EXPECT_EQ(d->SumEdit()->text(), QStringLiteral("29"));
    d->ValuesEdit()->setText(QStringLiteral("7;8;9"));
    d->accept();
    refused = d->isVisible();
    d->ValuesEdit()->setText(QStringLiteral("11;8;9;K"));
    EXPECT_EQ(d->SumEdit()->text(), QStringLiteral("41"));
    d->DrawEdit()->setValue(5);
    d->accept();
  });
  ASSERT_TRUE(p.window->Commands().Run(CommandId::StakeAdd));
  EXPECT_TRUE(refused);
  EXPECT_EQ(p.host.Messages.back().Text, "Введена некорректная комбинация!");
  ASSERT_EQ(model->Records(), 1);
  EXPECT_EQ(Cell(model, 0, 2), QStringLiteral("J;8;9;K"));
  EXPECT_EQ(Cell(model, 0, 5), QStringLiteral("3"));  // checked at once against draw 5: J 8 9 10
  EXPECT_EQ(Cell(model, 0, 7), QStringLiteral("9.00"));
  EXPECT_EQ(model->data(model->index(0, 7), Qt::ForegroundRole).value<QBrush>().color(), QColor(0x00, 0x80, 0x00));
  EXPECT_EQ(model->data(model->index(0, 1), Qt::BackgroundRole).value<QBrush>().color(), QColor(0xEA, 0xFF, 0xEA));
  // Cards equal at their position on both sides are marked: J;8;9;K against J;8;9;10.
  auto marks = [model](int column) {
    std::vector<bool> out;
    for (const QVariant& card : model->data(model->index(0, column), StakesModel::CardsRole).toList())
      out.push_back(card.toList()[1].toBool());
    return out;
  };
  EXPECT_EQ(marks(2), (std::vector<bool>{true, true, true, false}));
  EXPECT_EQ(marks(4), (std::vector<bool>{true, true, true, false}));

  // Selected: two combinations for two draws each, then the selection is cleared.
  SelectRows(p.window->Combs()->List(), {0, 15});
  WhenDialogOpens<MultiStakeDialog>([](MultiStakeDialog* d) {
    EXPECT_EQ(d->CommentEdit()->text(), QStringLiteral("Ставка \"вручную\""));
    d->CountEdit()->setValue(2);
    d->CommentEdit()->setText(QStringLiteral("выбор"));
    d->accept();
  });
  ASSERT_TRUE(p.window->Commands().Run(CommandId::StakeAddSelected));
  EXPECT_EQ(Column(model, 0), (std::vector<std::string>{"5", "", "6", "", "7", "", "6", "", "7"}));
  EXPECT_TRUE(p.window->Combs()->SelectedRows().empty());
  EXPECT_EQ(p.window->StakesView()->Grid()->currentIndex().row(), 8);

  // All: one stake per combination of the list.
  WhenDialogOpens<MultiStakeDialog>([](MultiStakeDialog* d) { d->accept(); });
  ASSERT_TRUE(p.window->Commands().Run(CommandId::StakeAddAll));
  EXPECT_EQ(model->Records(), 9 + 16);
  EXPECT_EQ(p.window->StatusPanel(4), QStringLiteral("Ставок: 25"));

  // Random: a combination of the list.
  WhenDialogOpens<StakeDialog>([](StakeDialog* d) {
    const auto comb = lottery::TextToComb(U(d->ValuesEdit()->text()));
    for (int pos = 0; pos < 4; ++pos) EXPECT_LE(lottery::CombValue(comb, pos), 8);
    d->accept();
  });
  ASSERT_TRUE(p.window->Commands().Run(CommandId::StakeAddRandom));
  EXPECT_EQ(model->Records(), 26);
}

TEST_F(StakesPagesTest, ChecksAndDeletesStakes) {
  Program p(dir_.Path());
  ASSERT_TRUE(p.Start());
  auto& stakes = p.session->Stakes();
  for (int draw : {4, 5, 6}) {
    auto rec = stakes.NewManualStake(MakeComb(10, 8, 9, 10));
    rec.DrawNumber = draw;
    ASSERT_TRUE(stakes.AddStakeCommand(rec, 1));
  }
  auto* model = p.window->StakesView()->Model();
  EXPECT_EQ(Column(model, 5), (std::vector<std::string>{"4", "3", ""}));
  p.session->AddDraw({6, MakeComb(10, 8, 9, 10), ""});
  ASSERT_TRUE(p.window->Commands().Run(CommandId::StakesCheckManual));
  EXPECT_EQ(Column(model, 5), (std::vector<std::string>{"4", "3", "4"}));

  // StakeDel asks first; No keeps the rows.
  auto* grid = p.window->StakesView()->Grid();
  SelectRows(grid, {0, 1});
  p.window->Commands().Update();
  p.host.Answers = {false};
  ASSERT_TRUE(p.window->Commands().Run(CommandId::StakeDel));
  EXPECT_EQ(p.host.Questions.back().Text, "Удалить все выделенные записи (всего будет удалено 2 записи(ей))?");
  EXPECT_EQ(model->Records(), 3);
  SelectRows(grid, {0});
  p.window->Commands().Update();
  p.host.Answers = {true};
  ASSERT_TRUE(p.window->Commands().Run(CommandId::StakeDel));
  EXPECT_EQ(Column(model, 0), (std::vector<std::string>{"5", "6"}));

  // "Удаление по условию": more than 3 matches.
  WhenDialogOpens<StakeFilterDialog>([](StakeFilterDialog* d) {
    EXPECT_EQ(d->ConditionEdit()->count(), 5);
    EXPECT_EQ(d->Value(), 0);
    d->ConditionEdit()->setCurrentIndex(1);
    d->MatchesEdit()->setValue(3);
    d->accept();
  });
  ASSERT_TRUE(p.window->Commands().Run(CommandId::StakeFilter));
  EXPECT_EQ(Column(model, 0), (std::vector<std::string>{"5"}));

  p.host.Answers = {true, false};
  ASSERT_TRUE(p.window->Commands().Run(CommandId::StakeClear));
  EXPECT_EQ(model->Records(), 0);
  EXPECT_EQ(p.session->Stakes().Rating().size(), 1u);  // the rebuild was declined
}

TEST_F(StakesPagesTest, RatingSortsByHeaderSwitchesModesAndCharts) {
  Program p(dir_.Path());
  ASSERT_TRUE(p.Start());
  auto& stakes = p.session->Stakes();
  const struct {
    const char* Name;
    int Draw;
    lottery::TComb Comb;
  } made[] = {{"b", 1, MakeComb(7, 8, 9, 10)}, {"a", 2, MakeComb(7, 7, 7, 7)}, {"a", 3, MakeComb(9, 8, 7, 7)},
              {"c", 4, MakeComb(7, 8, 9, 7)}};
  for (const auto& m : made) {
    auto rec = stakes.NewManualStake(m.Comb);
    rec.DrawNumber = m.Draw;
    rec.Name = m.Name;
    ASSERT_TRUE(stakes.AddStakeCommand(rec, 1));
  }
  auto* list = p.window->RatingView()->List();
  auto* model = list->model();
  QAbstractItemModelTester tester(model);
  // Default: "Среднее" descending. b 4, a (0 + 2) / 2 = 1, c 2.
  EXPECT_EQ(Column(model, 0), (std::vector<std::string>{"b", "c", "a"}));
  EXPECT_EQ(p.window->StatusPanel(5), QStringLiteral("Рейтинг: 3"));
  auto click = [list](int column) {
    QHeaderView* header = list->horizontalHeader();
    const QPoint at(header->sectionViewportPosition(column) + header->sectionSize(column) / 2, header->height() / 2);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, at);
  };
  click(0);
  EXPECT_EQ(Column(model, 0), (std::vector<std::string>{"a", "b", "c"}));
  click(0);
  EXPECT_EQ(Column(model, 0), (std::vector<std::string>{"c", "b", "a"}));
  click(13);  // "E2" does not sort
  EXPECT_EQ(Column(model, 0), (std::vector<std::string>{"c", "b", "a"}));

  EXPECT_EQ(Cell(model, 2, 11), QStringLiteral("-8.618%"));  // a: one of two with 0 matches
  ASSERT_TRUE(p.window->Commands().Run(CommandId::RatingsEffMode0));
  EXPECT_EQ(Cell(model, 2, 11), QStringLiteral("1"));
  EXPECT_TRUE(p.window->Commands().Action(CommandId::RatingsEffMode0)->isChecked());
  ASSERT_TRUE(p.window->Commands().Run(CommandId::RatingsEffMode2));
  EXPECT_EQ(Cell(model, 2, 11), QStringLiteral("85.298%"));
  EXPECT_EQ(p.session->View().ReadInt(shell::MainWindowSection, "RatingsEffMode", -1), 2);

  // Charts of the selected rows.
  list->selectionModel()->select(model->index(2, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
  p.window->Commands().Update();
  ASSERT_TRUE(p.window->Commands().Run(CommandId::RatingsGraphOverlap));
  ASSERT_EQ(p.host.Charts.size(), 1u);
  ASSERT_EQ(p.host.Charts[0].Series.size(), 2u);
  EXPECT_EQ(p.host.Charts[0].Series[1].Title, "a");
  EXPECT_EQ(p.host.Charts[0].Series[1].Points[2].Y, 1);
  ASSERT_TRUE(p.window->Commands().Run(CommandId::StakesGraphOverlap));
  ASSERT_EQ(p.host.Charts.size(), 2u);
  ASSERT_EQ(p.host.Charts[1].Series.size(), 1u);
  EXPECT_EQ(p.host.Charts[1].Series[0].Points.size(), 2u);
  ASSERT_TRUE(p.window->Commands().Run(CommandId::StakesGraphDraws));
  ASSERT_EQ(p.host.Charts.size(), 3u);
  EXPECT_EQ(p.host.Charts[2].Series.size(), 3u);
  EXPECT_EQ(p.host.Charts[2].Series[2].Points.back().Y, -4);  // four stakes, none with 3 matches
}

}  // namespace
}  // namespace kelmora::gui
