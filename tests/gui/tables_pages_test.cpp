// The pages "Регуляры" and "Системы" with their dialogs, driven through the commands as the user
// works them: rules from the selection, a stake and a test; system play from the list; the system
// dialog's normalising and checks. Each page and dialog is drawn and looked at as a picture.

#include <QAbstractItemModelTester>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableView>
#include <gtest/gtest.h>

#include "gui/combs_page.h"
#include "gui/command_actions.h"
#include "gui/gui_fixture.h"
#include "gui/qt_text.h"
#include "gui/regulars_page.h"
#include "gui/script_dialog.h"
#include "gui/stake_dialogs.h"
#include "gui/stakes_models.h"
#include "gui/stakes_pages.h"
#include "gui/system_dialog.h"
#include "gui/systems_page.h"
#include "gui/table_dialog.h"
#include "lottery/draws.h"
#include "shell/combs_state.h"
#include "shell/regulars_state.h"
#include "shell/stakes_state.h"
#include "shell/systems_state.h"
#include "support/files.h"

namespace kelmora::gui {
namespace {

using lottery::MakeComb;
using shell::CommandId;
using testing::Program;
using testing::WhenDialogOpens;

class TablesPagesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    lottery::TDrawsArray draws;
    for (int i = 0; i < 8; ++i) draws.push_back({i + 1, MakeComb(7 + i, 9, 11, 14), ""});
    lottery::SaveDrawsFile(dir_ / "Kelmora_4r32.ldr", draws);
    std::filesystem::create_directory(dir_ / "Systems");
    support::WriteFileAtomic(dir_.Path() / "Systems" / "4-08-2_0037.dat",
                             std::string("01 02 03 04\r\n05 06 07 08\r\n01 02 05 06\r\n"));
  }
  static QString Cell(QAbstractItemModel* model, int row, int column) {
    return model->data(model->index(row, column), Qt::DisplayRole).toString();
  }
  static void SelectRows(QTableView* table, std::initializer_list<int> rows) {
    table->clearSelection();
    for (int r : rows)
      table->selectionModel()->select(table->model()->index(r, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
  }
  // The picture of a shown widget; a blank grab would mean nothing was drawn.
  static void Look(QWidget* widget) {
    widget->show();
    QApplication::processEvents();
    const QImage image = widget->grab().toImage();
    ASSERT_FALSE(image.isNull());
    EXPECT_GT(image.width(), 100);
  }

  kelmora::testing::TempDir dir_;
};

TEST_F(TablesPagesTest, RulesFromTheSelectionAStakeAndATest) {
  Program p(dir_.Path());
  ASSERT_TRUE(p.Start());
  ASSERT_TRUE(p.window->SelectPage(QStringLiteral("Регуляры")));  // shown by default
  auto* list = p.window->RegularsView()->List();
  QAbstractItemModelTester tester(list->model());

  // Three selected combinations: one rule each, named by their list positions.
  SelectRows(p.window->Combs()->List(), {3, 8, 11});
  WhenDialogOpens<TableDialog>([](TableDialog* d) {
    EXPECT_EQ(d->CommentEdit()->text(), QStringLiteral("Регулярная ставка"));
    EXPECT_EQ(d->StartEdit()->text(), QStringLiteral("{...Выделенные комбинации...}"));
    EXPECT_FALSE(d->StartEdit()->isEnabled());
    EXPECT_TRUE(d->UseMyComb()->isChecked());
    EXPECT_EQ(d->StepEdit()->value(), 1);
    Look(d);
    d->accept();
  });
  ASSERT_TRUE(p.window->Commands().Run(CommandId::TablesAdd));
  ASSERT_EQ(list->model()->rowCount(), 3);
  EXPECT_EQ(Cell(list->model(), 0, 0), QStringLiteral("Регулярная ставка (4)"));
  EXPECT_EQ(Cell(list->model(), 2, 0), QStringLiteral("Регулярная ставка (12)"));

  // One selected: its combination is the start; bad values, an empty and a taken comment are
  // refused; a large step shows the warning.
  SelectRows(p.window->Combs()->List(), {0});
  std::vector<bool> refused;
  WhenDialogOpens<TableDialog>([&](TableDialog* d) {
    EXPECT_EQ(d->StartEdit()->text(), QStringLiteral("7;7;7;7"));
    EXPECT_TRUE(d->StartEdit()->isEnabled());
    EXPECT_FALSE(d->StepWarning()->isVisibleTo(d));
    d->StepEdit()->setValue(-9);
    EXPECT_TRUE(d->StepWarning()->isVisibleTo(d));
    d->StepEdit()->setValue(1);
    d->StartEdit()->setText(QStringLiteral("7;8;13"));
    d->accept();
    refused.push_back(d->isVisible());
    d->StartEdit()->setText(QStringLiteral("7;8;K;A"));
    d->CommentEdit()->setText(QStringLiteral("регулярная ставка (4)"));
    d->accept();
    refused.push_back(d->isVisible());
    d->CommentEdit()->setText(QStringLiteral("Один"));
    d->accept();
  });
  ASSERT_TRUE(p.window->Commands().Run(CommandId::TablesAdd));
  EXPECT_EQ(refused, (std::vector<bool>{true, true}));
  EXPECT_EQ(p.host.Messages.back().Text, shell::TableNameTakenText);
  ASSERT_EQ(list->model()->rowCount(), 4);
  EXPECT_EQ(Cell(list->model(), 3, 1), QStringLiteral("7;8;K;A"));

  // The stake: the dialog shows the advanced combination; OK advances the rule.
  SelectRows(list, {3});
  WhenDialogOpens<StakeDialog>([](StakeDialog* d) {
    EXPECT_EQ(d->ValuesEdit()->text(), QStringLiteral("8;9;A;7"));
    EXPECT_EQ(d->CommentEdit()->text(), QStringLiteral("Один"));
    d->accept();
  });
  ASSERT_TRUE(p.window->Commands().Run(CommandId::TablesStakeAdd));
  EXPECT_EQ(Cell(list->model(), 3, 3), QStringLiteral("8;9;A;7"));
  EXPECT_EQ(Cell(list->model(), 3, 4), QStringLiteral("1"));
  auto* stakes = p.window->StakesView()->Model();
  ASSERT_EQ(stakes->Records(), 1);
  EXPECT_EQ(Cell(stakes, 0, 2), QStringLiteral("8;9;A;7"));

  // The test: 3 past draws, two rules, 6 stakes.
  SelectRows(list, {0, 3});
  WhenDialogOpens<TestCountDialog>([](TestCountDialog* d) {
    d->CountEdit()->setValue(3);
    d->accept();
  });
  ASSERT_TRUE(p.window->Commands().Run(CommandId::TablesStakeTest));
  EXPECT_EQ(stakes->Records(), 1 + 6);
  EXPECT_EQ(Cell(list->model(), 3, 4), QStringLiteral("4"));
  EXPECT_EQ(Cell(list->model(), 0, 4), QStringLiteral("3"));
  Look(p.window.get());

  // Delete asks; the page goes with "TabTables" and comes back with the rules from the file.
  SelectRows(list, {1, 2});
  p.host.Answers = {true};
  ASSERT_TRUE(p.window->Commands().Run(CommandId::TablesDel));
  EXPECT_EQ(list->model()->rowCount(), 2);
  ASSERT_TRUE(p.window->Commands().Run(CommandId::TabTables));
  EXPECT_FALSE(p.window->PageCaptions().contains(QStringLiteral("Регуляры")));
  ASSERT_TRUE(p.window->Commands().Run(CommandId::TabTables));
  EXPECT_EQ(list->model()->rowCount(), 2);
}

TEST_F(TablesPagesTest, SystemPlayFromTheCombinationList) {
  Program p(dir_.Path());
  ASSERT_TRUE(p.Start());
  // The play commands wait for the systems page.
  EXPECT_FALSE(p.window->Commands().Run(CommandId::SystemStakeAll));
  p.session->Systems().Show();
  WhenDialogOpens<MultiStakeDialog>([](MultiStakeDialog* d) {
    EXPECT_EQ(d->CommentEdit()->text(), QStringLiteral("Системная игра для 8 чисел [вся система]: 4-08-2_0037"));
    EXPECT_EQ(d->DrawEdit()->value(), 9);
    EXPECT_EQ(d->CountEdit()->value(), 1);
    d->accept();
  });
  ASSERT_TRUE(p.window->Commands().Run(CommandId::SystemStakeAll));
  auto* stakes = p.window->StakesView()->Model();
  ASSERT_EQ(stakes->Records(), 3);
  EXPECT_EQ(Cell(stakes, 1, 2), QStringLiteral("J;Q;K;A"));
  EXPECT_EQ(Cell(stakes, 1, 1), QStringLiteral("Система"));
}

TEST_F(TablesPagesTest, SystemDialogNormalisesItsRowsAndChecksInOrder) {
  Program p(dir_.Path());
  ASSERT_TRUE(p.Start());
  net::tSystemData data;
  data.Author = "Я";
  SystemDialog d(p.window.get(), p.host, data, true);
  EXPECT_FALSE(d.UrlButton()->isEnabled());
  d.UrlEdit()->setText(QStringLiteral("https://example.org/"));
  EXPECT_TRUE(d.UrlButton()->isEnabled());
  d.CombsEdit()->setPlainText(QStringLiteral("1,2,3,4\n5 6 7 8 9\n"));
  d.NormaliseRows();
  EXPECT_EQ(d.CombsEdit()->toPlainText(), QStringLiteral("01 02 03 04"));
  EXPECT_EQ(d.NumsEdit()->text(), QStringLiteral("4"));
  EXPECT_EQ(d.CSizeEdit()->text(), QStringLiteral("1"));
  d.accept();
  EXPECT_EQ(p.host.Messages.back().Text, "Название системы должно быть указано обязательно!");
  d.TitleEdit()->setText(QStringLiteral("Моя"));
  d.accept();
  EXPECT_EQ(p.host.Messages.back().Text, "Указано недопустмое количество используемых чисел!");
  d.NumsEdit()->setText(QStringLiteral("8"));
  d.OlapEdit()->setText(QStringLiteral("4"));
  d.accept();
  EXPECT_EQ(p.host.Messages.back().Text, "Указан недопустмый размер блока!");
  d.OlapEdit()->setText(QStringLiteral("2"));
  d.accept();
  EXPECT_EQ(p.host.Messages.back().Text, "Описание системы должно быть указано обязательно!");
  d.DescrEdit()->setPlainText(QStringLiteral("Описание"));
  Look(&d);
  d.accept();
  EXPECT_EQ(d.result(), QDialog::Accepted);
  EXPECT_EQ(d.Result().Title, "Моя");
  EXPECT_EQ(d.Result().Nums, 8);
  EXPECT_EQ(d.Result().Olap, 2);
  EXPECT_EQ(d.Result().CSize, 1);
  EXPECT_EQ(d.Result().CList, "01 02 03 04");
  EXPECT_GT(d.Result().Created, 0);

  // Another author's system is shown read-only, without OK and without normalising.
  data.CList = "1,2,3,4";
  SystemDialog view(p.window.get(), p.host, data, false);
  EXPECT_TRUE(view.TitleEdit()->isReadOnly());
  EXPECT_TRUE(view.CombsEdit()->isReadOnly());
  EXPECT_FALSE(view.OkButton()->isVisibleTo(&view));
  EXPECT_EQ(view.CombsEdit()->toPlainText(), QStringLiteral("1,2,3,4"));
}

}  // namespace
}  // namespace kelmora::gui
