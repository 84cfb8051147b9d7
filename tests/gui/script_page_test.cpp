// The page "Сценарий" driven through its commands and the step dialog, as the user works it.

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableView>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

#include "gui/command_actions.h"
#include "gui/filter_dialog.h"
#include "gui/gui_fixture.h"
#include "gui/qt_text.h"
#include "gui/script_dialog.h"
#include "gui/script_model.h"
#include "gui/script_page.h"
#include "gui/stakes_pages.h"
#include "lottery/draws.h"
#include "scripts/script.h"
#include "shell/script_state.h"
#include "shell/stakes_state.h"
#include "shell/stats_state.h"
#include "stakes/rating.h"
#include "support/files.h"

namespace kelmora::gui {
namespace {

using lottery::MakeComb;
using shell::CommandId;
using testing::Program;
using testing::WhenDialogOpens;
using Lines = std::vector<std::string>;

constexpr const char* Step = "EXCL:3#FIRST#NEX|TSD1#NUMS:10#LMV:5#SF:1| | |BMD2#SUMS:20#LNO:#ST:3| | | |мой";

class ScriptPageTest : public ::testing::Test {
 protected:
  void SetUp() override {
    lottery::TDrawsArray draws;
    for (int i = 0; i < 5; ++i) draws.push_back({i + 1, MakeComb(7 + i, 8, 9, 10), ""});
    lottery::SaveDrawsFile(dir_ / "Kelmora_4r32.ldr", draws);
  }
  // Starts the program on a current script of these lines.
  std::unique_ptr<Program> Start(const Lines& lines) {
    scripts::WriteScriptFile(dir_ / "Kelmora_4r32.lss", lines);
    auto p = std::make_unique<Program>(dir_.Path());
    EXPECT_TRUE(p->Start());
    return p;
  }
  static void SelectRows(QTableView* table, std::initializer_list<int> rows) {
    table->clearSelection();
    for (int r : rows)
      table->selectionModel()->select(table->model()->index(r, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
  }
  static bool Enabled(Program& p, CommandId id) {
    p.window->Commands().Update();
    return p.window->Commands().Action(id)->isEnabled();
  }
  Lines Saved() const { return scripts::ReadScriptFile(dir_ / "Kelmora_4r32.lss"); }

  kelmora::testing::TempDir dir_;
};

TEST_F(ScriptPageTest, TheListShowsCommentsOptionsAndNormalisedFiltersAndTheLineCount) {
  auto p = Start({Step, "", "exl:2#rand|  TSD1#NUMS:10#LMV:5#SF:1  "});
  ScriptPage* page = p->window->ScriptView();
  auto* model = page->Model();
  QAbstractItemModelTester tester(model);
  ASSERT_EQ(model->rowCount(), 3);
  QStringList headers;
  for (int c = 0; c < model->columnCount(); ++c) headers << model->headerData(c, Qt::Horizontal, Qt::DisplayRole).toString();
  EXPECT_EQ(headers, (QStringList{QStringLiteral("Комментарии"), QStringLiteral("Опции"), QStringLiteral("Фильтр 1"),
                                  QStringLiteral("Фильтр 2"), QStringLiteral("Фильтр 3"), QStringLiteral("Фильтр 4"),
                                  QStringLiteral("Фильтр 5"), QStringLiteral("Фильтр 6"), QStringLiteral("Фильтр 7")}));
  const auto view = scripts::StepLineView(Step, p->session->Stats().List());
  auto cell = [&](int row, int column) { return U(model->data(model->index(row, column), Qt::DisplayRole).toString()); };
  EXPECT_EQ(cell(0, 0), "мой");
  EXPECT_EQ(cell(0, 1), "Исключить 3 тиражей; Первая; Только новые ставки");
  EXPECT_EQ(cell(0, 2), view.Filters[0]);
  EXPECT_EQ(cell(0, 5), view.Filters[3]);
  EXPECT_EQ(cell(0, 3), "");
  for (int c = 0; c < model->columnCount(); ++c) EXPECT_EQ(cell(1, c), "") << "separator column " << c;
  EXPECT_EQ(cell(2, 1), "Исходный список; Случайно; Все создаваемые ставки");
  EXPECT_EQ(cell(2, 2), view.Filters[0]) << "blanks around a filter are gone on display";
  EXPECT_EQ(page->Panel(0)->text(), QStringLiteral("Строк: 3"));
  // The script page follows the rating; the regular stakes' page comes after it.
  const QStringList captions = p->window->PageCaptions();
  EXPECT_EQ(captions.indexOf(QStringLiteral("Сценарий")), captions.indexOf(QStringLiteral("Рейтинг")) + 1);
}

TEST_F(ScriptPageTest, StepsAreAddedEditedAndClonedThroughTheDialog) {
  auto p = Start({});
  p->session->MainView().DrawsExclude = 4;
  ScriptPage* page = p->window->ScriptView();

  // A new step: the exclusion count comes from the combinations page, the rest from the defaults.
  WhenDialogOpens<ScriptDialog>([](ScriptDialog* d) {
    EXPECT_EQ(d->windowTitle(), QStringLiteral("Создание новой строки"));
    EXPECT_EQ(d->DrawsExclude()->value(), 4);
    EXPECT_EQ(d->StartList()->currentIndex(), 0);
    EXPECT_EQ(d->StakeMode()->currentIndex(), 0);
    EXPECT_EQ(d->StartList()->count(), 3);
    EXPECT_EQ(d->StakeMode()->count(), 9);
    EXPECT_EQ(d->StakeMode()->itemText(8), QStringLiteral("Не делать ставок (для последовательного выполнения)"));
    d->accept();
  });
  ASSERT_TRUE(p->window->Commands().Run(CommandId::ScriptAdd));
  EXPECT_EQ(p->session->Script().Lines(), Lines{"FULL:4#RAND| | | | | | | |"});
  EXPECT_EQ(page->SelectedRows(), std::vector<int>{0});

  // Editing fills every control from the line and replaces it in place.
  p->session->Script().SetScriptLine(0, Step);
  WhenDialogOpens<ScriptDialog>([](ScriptDialog* d) {
    EXPECT_EQ(d->windowTitle(), QStringLiteral("Редактирование строки"));
    EXPECT_EQ(d->Comments()->text(), QStringLiteral("мой"));
    EXPECT_EQ(d->StartList()->currentIndex(), scripts::EXCL);
    EXPECT_EQ(d->DrawsExclude()->value(), 3) << "the line's count overrides the default";
    EXPECT_EQ(d->StakeMode()->currentIndex(), scripts::FIRST);
    EXPECT_FALSE(d->ClearStakes()->isChecked());
    EXPECT_TRUE(d->NewOnly()->isChecked());
    EXPECT_EQ(d->Filter(0)->text(), QStringLiteral("TSD1#NUMS:10#LMV:5#SF:1"));
    EXPECT_EQ(d->Filter(1)->text(), QString());
    EXPECT_EQ(d->Filter(3)->text(), QStringLiteral("BMD2#SUMS:20#LNO:#ST:3"));
    d->ClearStakes()->setChecked(true);
    d->StakeMode()->setCurrentIndex(scripts::ALL);
    d->Filter(0)->setText(QString());
    d->Filter(6)->setText(QStringLiteral("TSD1#NUMS:10#LMV:5#SF:1"));
    d->Comments()->setText(QStringLiteral("  "));
    d->accept();
  });
  ASSERT_TRUE(p->window->Commands().Run(CommandId::ScriptEdit));
  const std::string edited = "EXCL:3#ALL#CLR#NEX| | | |BMD2#SUMS:20#LNO:#ST:3| | |TSD1#NUMS:10#LMV:5#SF:1|";
  EXPECT_EQ(p->session->Script().Lines(), Lines{edited});
  EXPECT_EQ(Saved(), Lines{edited});

  // Cancel leaves the line; a clone appends the edited copy and selects it.
  WhenDialogOpens<ScriptDialog>([](ScriptDialog* d) {
    d->Comments()->setText(QStringLiteral("x"));
    d->reject();
  });
  ASSERT_TRUE(p->window->Commands().Run(CommandId::ScriptEdit));
  EXPECT_EQ(p->session->Script().Lines(), Lines{edited});
  WhenDialogOpens<ScriptDialog>([](ScriptDialog* d) {
    EXPECT_EQ(d->windowTitle(), QStringLiteral("Создание новой строки"));
    EXPECT_TRUE(d->ClearStakes()->isChecked()) << "CLR survives the dialog";
    d->Comments()->setText(QStringLiteral("копия"));
    d->accept();
  });
  ASSERT_TRUE(p->window->Commands().Run(CommandId::ScriptClone));
  EXPECT_EQ(p->session->Script().Lines(), (Lines{edited, edited + "копия"}));
  EXPECT_EQ(page->SelectedRows(), std::vector<int>{1});
}

TEST_F(ScriptPageTest, TheFilterEditorFillsASlotFromItsButtonAndADoubleClick) {
  auto p = Start({"FULL:0#RAND|TSD1#NUMS:10#LMV:5#SF:1| | | | | | |"});
  ScriptDialog dialog(p->window.get(), *p->session, QStringLiteral("Редактирование строки"), 0,
                      p->session->Script().Lines()[0]);
  std::string seen;
  WhenDialogOpens<FilterDialog>([&](FilterDialog* f) {
    seen = U(f->DrawsLenEdit()->text());
    f->DrawsLenEdit()->setText(QStringLiteral("10;20"));
    f->accept();
  });
  dialog.FilterButton(0)->click();
  EXPECT_EQ(seen, "10") << "the editor opens on the slot's filter";
  EXPECT_TRUE(U(dialog.Filter(0)->text()).find("#NUMS:10;20#") != std::string::npos) << U(dialog.Filter(0)->text());

  // An empty slot: the editor starts from the statistics page; Cancel keeps the slot empty.
  WhenDialogOpens<FilterDialog>([](FilterDialog* f) { f->reject(); });
  dialog.EditFilter(2);
  EXPECT_EQ(dialog.Filter(2)->text(), QString());
  WhenDialogOpens<FilterDialog>([](FilterDialog* f) {
    f->accept();
    if (f->isVisible()) f->reject();  // refused: the test fails below instead of hanging
  });
  QTest::mouseDClick(dialog.Filter(2), Qt::LeftButton);
  EXPECT_FALSE(dialog.Filter(2)->text().isEmpty());
  EXPECT_EQ(scripts::StepField(dialog.Line(), scripts::FilterField(3)), U(dialog.Filter(2)->text()));
}

TEST_F(ScriptPageTest, LinesMoveUpAndDownAndTheBoundsAreNotOffered) {
  auto p = Start({"1", "2", "3"});
  QTableView* list = p->window->ScriptView()->List();
  SelectRows(list, {0});
  EXPECT_FALSE(Enabled(*p, CommandId::ScriptUp));
  ASSERT_TRUE(p->window->Commands().Run(CommandId::ScriptDown));
  EXPECT_EQ(p->session->Script().Lines(), (Lines{"2", "1", "3"}));
  EXPECT_EQ(p->window->ScriptView()->SelectedRows(), std::vector<int>{1}) << "the moved line stays selected";
  ASSERT_TRUE(p->window->Commands().Run(CommandId::ScriptDown));
  EXPECT_EQ(p->session->Script().Lines(), (Lines{"2", "3", "1"}));
  EXPECT_FALSE(Enabled(*p, CommandId::ScriptDown));
  ASSERT_TRUE(p->window->Commands().Run(CommandId::ScriptUp));
  EXPECT_EQ(p->session->Script().Lines(), (Lines{"2", "1", "3"}));
  EXPECT_EQ(Saved(), p->session->Script().Lines());
  // Two rows selected: the first decides.
  SelectRows(list, {1, 2});
  EXPECT_TRUE(Enabled(*p, CommandId::ScriptDown));
}

TEST_F(ScriptPageTest, DeletingRowsTwoAndFiveOfSixAsksAndClearsTheSelection) {
  auto p = Start({"1", "2", "3", "4", "5", "6"});
  QTableView* list = p->window->ScriptView()->List();
  SelectRows(list, {1, 4});
  p->host.Answers = {false};
  ASSERT_TRUE(p->window->Commands().Run(CommandId::ScriptDel));
  EXPECT_EQ(p->session->Script().Count(), 6);
  EXPECT_EQ(p->host.Questions.back().Text, "Удалить все выделенные записи (всего будет удалено 2 записи(ей))?");
  p->host.Answers = {true};
  ASSERT_TRUE(p->window->Commands().Run(CommandId::ScriptDel));
  EXPECT_EQ(p->session->Script().Lines(), (Lines{"1", "3", "4", "6"}));
  EXPECT_EQ(p->window->ScriptView()->Model()->rowCount(), 4);
  EXPECT_TRUE(p->window->ScriptView()->SelectedRows().empty());
  EXPECT_FALSE(Enabled(*p, CommandId::ScriptDel));
  EXPECT_EQ(p->window->ScriptView()->Panel(0)->text(), QStringLiteral("Строк: 4"));

  p->host.Answers = {true};
  ASSERT_TRUE(p->window->Commands().Run(CommandId::ScriptClr));
  EXPECT_EQ(p->host.Questions.back().Text, "Удалить все выделенные записи (всего будет удалено 4 записи(ей))?");
  EXPECT_TRUE(p->session->Script().Lines().empty());
  EXPECT_FALSE(Enabled(*p, CommandId::ScriptClr));
  EXPECT_FALSE(Enabled(*p, CommandId::ScriptSave));
  EXPECT_FALSE(Enabled(*p, CommandId::ScriptEmpty));
}

TEST_F(ScriptPageTest, ASeparatorCanBeDeletedAndMovedButNotClonedOrEdited) {
  auto p = Start({Step, Step});
  ASSERT_TRUE(p->window->Commands().Run(CommandId::ScriptEmpty));
  EXPECT_EQ(p->session->Script().Lines(), (Lines{Step, Step, ""}));
  ScriptPage* page = p->window->ScriptView();
  EXPECT_EQ(page->SelectedRows(), std::vector<int>{2}) << "the new separator is selected";
  EXPECT_FALSE(Enabled(*p, CommandId::ScriptClone));
  EXPECT_FALSE(Enabled(*p, CommandId::ScriptEdit));
  EXPECT_TRUE(Enabled(*p, CommandId::ScriptDel));
  EXPECT_TRUE(Enabled(*p, CommandId::ScriptUp));
  // A double click on it opens no dialog.
  bool opened = false;
  WhenDialogOpens<ScriptDialog>(
      [&](ScriptDialog* d) {
        opened = true;
        d->reject();
      },
      20);
  const QRect cell = page->List()->visualRect(page->Model()->index(2, 0));
  QTest::mouseDClick(page->List()->viewport(), Qt::LeftButton, {}, cell.center());
  for (int i = 0; i < 30; ++i) QApplication::processEvents();
  EXPECT_FALSE(opened);
  ASSERT_TRUE(p->window->Commands().Run(CommandId::ScriptUp));
  EXPECT_EQ(p->session->Script().Lines(), (Lines{Step, "", Step}));
  p->host.Answers = {true};
  ASSERT_TRUE(p->window->Commands().Run(CommandId::ScriptDel));
  EXPECT_EQ(p->session->Script().Lines(), (Lines{Step, Step}));
  SelectRows(page->List(), {1});
  EXPECT_TRUE(Enabled(*p, CommandId::ScriptClone));
  EXPECT_TRUE(Enabled(*p, CommandId::ScriptEdit));
}

TEST_F(ScriptPageTest, FilesAreOpenedAppendedAndSavedWithTheirExtension) {
  auto p = Start({"a"});
  scripts::WriteScriptFile(dir_ / "other.lsc", {"x", "y"});
  QString chosen;
  p->window->ChooseFile = [&](const QString& caption, const QString& filter, bool save) {
    EXPECT_EQ(filter, QStringLiteral("Файлы сценариев (*.lsc)"));
    (void)caption;
    return save ? Q((dir_ / "saved").string()) : chosen;
  };
  chosen = Q((dir_ / "other.lsc").string());
  ASSERT_TRUE(p->window->Commands().Run(CommandId::ScriptLoad));
  EXPECT_EQ(p->session->Script().Lines(), (Lines{"a", "", "x", "y"}));
  ASSERT_TRUE(p->window->Commands().Run(CommandId::ScriptSave));
  EXPECT_EQ(scripts::ReadScriptFile(dir_ / "saved.lsc"), (Lines{"a", "", "x", "y"}));
  ASSERT_TRUE(p->window->Commands().Run(CommandId::ScriptOpen));
  EXPECT_EQ(p->session->Script().Lines(), (Lines{"x", "y"}));
  EXPECT_EQ(Saved(), (Lines{"x", "y"}));
  EXPECT_EQ(p->window->ScriptView()->Model()->rowCount(), 2);
  chosen.clear();  // cancelled
  ASSERT_TRUE(p->window->Commands().Run(CommandId::ScriptOpen));
  EXPECT_EQ(p->session->Script().Lines(), (Lines{"x", "y"}));
}

TEST_F(ScriptPageTest, RatingRowsAddedToTheScriptShowTheScriptPage) {
  lottery::TRatingsArray rating(2);
  rating[0].Name = "01.003: my comment @ FULL#RAND + TSD1#NUMS:10#LMV:5#SF:1";
  rating[1].Name = "Ставка \"вручную\"";
  rating[0].Count = rating[1].Count = 1;
  rating[0].SumMatches = 2;
  stakes::WriteRatingFile(dir_ / "Kelmora_4r32.lrt", rating);
  auto p = Start({});
  ASSERT_TRUE(p->window->SelectPage(QStringLiteral("Рейтинг")));
  QTableView* list = p->window->RatingView()->List();
  SelectRows(list, {1});
  ASSERT_TRUE(Enabled(*p, CommandId::RatingsToScript));
  ASSERT_TRUE(p->window->Commands().Run(CommandId::RatingsToScript));
  EXPECT_TRUE(p->session->Script().Lines().empty());
  EXPECT_EQ(p->host.Messages.back().Text, "Строку\r\rСтавка \"вручную\"\r\rневозможно добавить в сценарий!");
  EXPECT_TRUE(p->window->RatingView()->isVisible()) << "nothing added: the rating stays in front";
  SelectRows(list, {0, 1});
  ASSERT_TRUE(p->window->Commands().Run(CommandId::RatingsToScript));
  EXPECT_EQ(p->session->Script().Lines(), Lines{"FULL#RAND|TSD1#NUMS:10#LMV:5#SF:1| | | | | | |01.003: my comment"});
  EXPECT_TRUE(p->window->ScriptView()->isVisible());
}

}  // namespace
}  // namespace kelmora::gui
