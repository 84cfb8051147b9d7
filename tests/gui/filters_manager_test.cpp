// The favourites commands of the main window: the manager dialog, the reset, the description
// viewer, the F7/Ctrl+F7 keys by focus, and the selectors of the statistics page and the filter
// editor that follow every change.

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QScrollBar>
#include <QSpinBox>
#include <QTableView>
#include <QTextBrowser>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include "gui/command_actions.h"
#include "gui/filter_dialog.h"
#include "gui/filter_help_dialog.h"
#include "gui/filters_manager_dialog.h"
#include "gui/gui_fixture.h"
#include "gui/stake_dialogs.h"
#include "gui/stats_page.h"
#include "lottery/draws.h"
#include "shell/stats_state.h"
#include "support/encoding.h"
#include "support/files.h"
#include "support/ini_file.h"

namespace kelmora::gui {
namespace {

using shell::CommandId;
using testing::Program;
using testing::WhenDialogOpens;

class FiltersManagerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    lottery::TDrawsArray draws;
    for (int i = 0; i < 12; ++i) draws.push_back({1 + i, lottery::MakeComb(7 + i % 8, 8 + i % 3, 9, 14), ""});
    lottery::SaveDrawsFile(dir_ / "Kelmora_4r32.ldr", draws);
  }
  void Start() {
    program_ = std::make_unique<Program>(dir_.Path());
    ASSERT_TRUE(program_->Start());
  }
  void TearDown() override {
    if (program_) program_->Stop();
  }
  MainWindow& Window() { return *program_->window; }
  shell::StatsState& Stats() { return program_->session->Stats(); }
  // The texts of the statistics page's selector and of a new filter editor's statistic box.
  QStringList PageSelector() {
    QStringList out;
    QComboBox* box = Window().Stats()->Selector();
    for (int i = 0; i < box->count(); ++i) out << box->itemText(i);
    return out;
  }
  QStringList EditorSelector() {
    FilterDialog dialog(&Window(), *program_->session, filtering::TFilterItem{});
    QStringList out;
    for (int i = 0; i < dialog.StatBox()->count(); ++i) out << dialog.StatBox()->itemText(i);
    return out;
  }
  QString Current() { return Window().Stats()->Selector()->currentText(); }
  support::IniFile Own() {
    support::IniFile ini(dir_ / "Kelmora_4r32.flt");
    ini.Load();
    return ini;
  }
  // Runs the manager, doing `act` in it first and then pressing OK (or Cancel).
  void RunManager(std::function<void(FiltersManagerDialog*)> act, bool ok = true) {
    bool opened = false;
    WhenDialogOpens<FiltersManagerDialog>([&, act, ok](FiltersManagerDialog* d) {
      opened = true;
      act(d);
      ok ? d->accept() : d->reject();
    });
    Window().Commands().Update();
    ASSERT_TRUE(Window().Commands().Run(CommandId::FiltersManager));
    EXPECT_TRUE(opened);
  }

  kelmora::testing::TempDir dir_;
  std::unique_ptr<Program> program_;
};

QTreeWidgetItem* MethodItem(FiltersManagerDialog* d, int group, int method) {
  return d->TreeView()->topLevelItem(group)->child(method);
}

TEST_F(FiltersManagerTest, TheManagerShowsGroupsMethodsAndOptionsAndItsCommandsFollowTheSelection) {
  Start();
  RunManager([&](FiltersManagerDialog* d) {
    EXPECT_EQ(d->windowTitle(), QStringLiteral("Менеджер избранных методов расчета статистики"));
    EXPECT_EQ(d->Counter()->text(), QStringLiteral("всего %1 методов").arg(Stats().List().Count()));
    QTreeWidget* tree = d->TreeView();
    ASSERT_GT(tree->topLevelItemCount(), 10);
    EXPECT_EQ(tree->topLevelItem(0)->text(0), QStringLiteral("{ num } Числа тиража"));
    EXPECT_EQ(tree->topLevelItem(1)->text(0), QStringLiteral("{ sum } Сумма чисел тиража"));
    EXPECT_TRUE(tree->topLevelItem(0)->isExpanded());
    EXPECT_EQ(MethodItem(d, 0, 0)->text(0), QStringLiteral("Числа тиража"));
    EXPECT_EQ(MethodItem(d, 0, 0)->checkState(0), Qt::Checked);
    EXPECT_FALSE(d->OrderedBox()->isChecked());
    EXPECT_TRUE(d->GroupNameBox()->isChecked());
    EXPECT_TRUE(d->MethodFlagsBox()->isChecked());
    // Nothing selected: the group and method commands wait for a selection.
    EXPECT_TRUE(d->Action(FiltersManagerDialog::CheckAll)->isEnabled());
    EXPECT_FALSE(d->Action(FiltersManagerDialog::GroupAll)->isEnabled());
    EXPECT_FALSE(d->Action(FiltersManagerDialog::Rename)->isEnabled());
    tree->setCurrentItem(tree->topLevelItem(1));
    EXPECT_TRUE(d->Action(FiltersManagerDialog::GroupNone)->isEnabled());
    EXPECT_FALSE(d->Action(FiltersManagerDialog::Rename)->isEnabled()) << "a group is no method";
    tree->setCurrentItem(MethodItem(d, 1, 0));
    EXPECT_TRUE(d->Action(FiltersManagerDialog::Rename)->isEnabled());
    EXPECT_TRUE(d->Action(FiltersManagerDialog::Info)->isEnabled());
    // A click on a method toggles its mark once; a click on a group changes nothing.
    emit tree->itemClicked(MethodItem(d, 1, 0), 0);
    EXPECT_EQ(MethodItem(d, 1, 0)->checkState(0), Qt::Unchecked);
    emit tree->itemClicked(tree->topLevelItem(1), 0);
    EXPECT_EQ(MethodItem(d, 1, 0)->checkState(0), Qt::Unchecked);
  }, false);
  // Cancel: nothing changed, nothing written.
  EXPECT_TRUE(Stats().List().AllEnabled());
  EXPECT_FALSE(support::FileExists(dir_ / "Kelmora_4r32.flt"));
}

TEST_F(FiltersManagerTest, ConfirmedMarksNamesAndOptionsReachBothSelectorsAndTheFile) {
  Start();
  ASSERT_TRUE(Window().Stats()->Selector()->count() > 0);
  Window().Stats()->Selector()->setCurrentIndex(Window().Stats()->Selector()->findText(QStringLiteral("{ sum } Сумма тиража: все значения [ NG ]")));
  RunManager([&](FiltersManagerDialog* d) {
    d->Action(FiltersManagerDialog::CheckNone)->trigger();
    d->TreeView()->setCurrentItem(MethodItem(d, 1, 0));  // SUMS
    d->Action(FiltersManagerDialog::GroupAll)->trigger();
    d->AskName = [](const QString& current) -> std::optional<QString> {
      EXPECT_EQ(current, QStringLiteral("Сумма тиража: все значения"));
      return QStringLiteral("Суммы");
    };
    d->Action(FiltersManagerDialog::Rename)->trigger();
    EXPECT_EQ(MethodItem(d, 1, 0)->text(0), QStringLiteral("Суммы"));
    d->TreeView()->setCurrentItem(MethodItem(d, 0, 0));  // NUMS, ticked by hand
    emit d->TreeView()->itemClicked(MethodItem(d, 0, 0), 0);
    d->MethodFlagsBox()->setChecked(false);
    d->OrderedBox()->setChecked(true);
  });
  const QStringList page = PageSelector();
  ASSERT_EQ(page.size(), 11);  // NUMS and the ten sums
  EXPECT_EQ(page.front(), QStringLiteral("{ num } Числа тиража"));
  EXPECT_TRUE(page.contains(QStringLiteral("{ sum } Суммы")));
  EXPECT_EQ(EditorSelector(), page);
  EXPECT_EQ(Current(), QStringLiteral("{ sum } Суммы")) << "the chosen method is still listed";
  EXPECT_EQ(Own().ReadString("STRINGS_RUS", "SUMS", ""), "Суммы");
  EXPECT_EQ(Own().ReadString("FILTERS", "Ordered", ""), "1");
  EXPECT_EQ(Own().ReadString("FILTERS", "Favorites", "").rfind("NUMS,SUMS,", 0), 0u);

  // Every method unticked: every method a favourite again.
  RunManager([](FiltersManagerDialog* d) { d->Action(FiltersManagerDialog::CheckNone)->trigger(); });
  EXPECT_EQ(PageSelector().size(), Stats().List().Count());
  EXPECT_EQ(EditorSelector().size(), Stats().List().Count());
  EXPECT_EQ(Own().ReadString("FILTERS", "Favorites", "x"), "");
}

TEST_F(FiltersManagerTest, ResetNameGroupNoneAndTheUntickedChosenMethod) {
  Start();
  RunManager([&](FiltersManagerDialog* d) {
    d->TreeView()->setCurrentItem(MethodItem(d, 0, 0));
    d->AskName = [](const QString&) -> std::optional<QString> { return QStringLiteral("Карты"); };
    d->Action(FiltersManagerDialog::Rename)->trigger();
    d->Action(FiltersManagerDialog::ResetName)->trigger();
    EXPECT_EQ(MethodItem(d, 0, 0)->text(0), QStringLiteral("Числа тиража"));
    d->Action(FiltersManagerDialog::GroupNone)->trigger();  // the whole num group
    for (int m = 0; m < d->TreeView()->topLevelItem(0)->childCount(); ++m)
      EXPECT_EQ(MethodItem(d, 0, m)->checkState(0), Qt::Unchecked);
    EXPECT_EQ(MethodItem(d, 1, 0)->checkState(0), Qt::Checked);
  });
  EXPECT_EQ(Stats().List().Items(0).UserCaption, "");
  // The chosen method (the first, NUMS) is no favourite now: the first listed one is chosen.
  EXPECT_EQ(Current(), QStringLiteral("{ sum } Сумма тиража: все значения [ NG ]"));
  EXPECT_EQ(PageSelector().front(), Current());
}

TEST_F(FiltersManagerTest, ResetAsksAndListsEveryMethodInBothSelectors) {
  support::WriteFileAtomic(dir_ / "Kelmora_4r32.flt",
                           support::Utf8ToCp1251("[FILTERS]\r\nFavorites=SUMS,DIFA\r\n[STRINGS_RUS]\r\nDIFA=Разности\r\n"));
  Start();
  EXPECT_EQ(PageSelector(), (QStringList{QStringLiteral("{ sum } Сумма тиража: все значения [ NG ]"),
                                         QStringLiteral("{ dif } Разности [ SN ]")}));
  EXPECT_EQ(EditorSelector(), PageSelector());
  program_->host.Answers = {false};
  ASSERT_TRUE(Window().Commands().Run(CommandId::FiltersReset));
  EXPECT_EQ(PageSelector().size(), 2);
  program_->host.Answers = {true};
  ASSERT_TRUE(Window().Commands().Run(CommandId::FiltersReset));
  EXPECT_EQ(program_->host.Questions.back().Text, "Вы действительно хотите сбросить список избранных фильтров?");
  EXPECT_EQ(PageSelector().size(), Stats().List().Count());
  EXPECT_EQ(EditorSelector().size(), Stats().List().Count());
  EXPECT_TRUE(PageSelector().contains(QStringLiteral("{ dif } Разности [ SN ]")));
}

TEST_F(FiltersManagerTest, NamesImportRebuildsTheTreeAndExportWritesTheEditedNames) {
  Start();
  const auto names = dir_ / "names.flt";
  support::WriteFileAtomic(names, support::Utf8ToCp1251("[STRINGS_RUS]\r\nDIGS=Цифры\r\n"));
  const auto exported = dir_ / "out.flt";
  RunManager([&](FiltersManagerDialog* d) {
    emit d->TreeView()->itemClicked(MethodItem(d, 0, 0), 0);  // unticked, not confirmed
    d->ChooseFile = [&](bool save) { return QString::fromStdString((save ? exported : names).string()); };
    d->Action(FiltersManagerDialog::NamesImport)->trigger();
    EXPECT_EQ(MethodItem(d, 0, 1)->text(0), QStringLiteral("Цифры"));
    EXPECT_EQ(MethodItem(d, 0, 0)->checkState(0), Qt::Checked) << "the tree is made again from the registry";
    d->TreeView()->setCurrentItem(MethodItem(d, 0, 2));
    d->AskName = [](const QString&) -> std::optional<QString> { return QStringLiteral("Чет"); };
    d->Action(FiltersManagerDialog::Rename)->trigger();
    d->Action(FiltersManagerDialog::NamesExport)->trigger();
    EXPECT_EQ(MethodItem(d, 0, 2)->text(0), QStringLiteral("Чет"));
    d->ChooseFile = [](bool) { return QString(); };  // cancelled: nothing happens
    d->Action(FiltersManagerDialog::NamesImport)->trigger();
  });
  support::IniFile out(exported);
  out.Load();
  EXPECT_EQ(out.ReadString("STRINGS_RUS", "DIGS", ""), "Цифры");
  EXPECT_EQ(out.ReadString("STRINGS_RUS", "EVEN", ""), "Чет");
  EXPECT_EQ(out.ReadString("STRINGS_RUS", "NUMS", ""), "Числа тиража");
  EXPECT_TRUE(PageSelector().contains(QStringLiteral("{ num } Цифры [ N ]")));
  EXPECT_TRUE(PageSelector().contains(QStringLiteral("{ num } Чет [ NG ]")));
}

TEST_F(FiltersManagerTest, F7AndCtrlF7BelongToTheTableWhileItHasTheFocus) {
  Start();
  Window().activateWindow();
  QApplication::processEvents();
  auto owner = [&](const char* key) {
    Window().Commands().Update();
    for (CommandId id : {CommandId::StatFilter_Include, CommandId::StatFilter_Exclude, CommandId::FiltersManager,
                         CommandId::FiltersReset})
      if (Window().Commands().Action(id)->shortcut() == QKeySequence(QString::fromLatin1(key))) return id;
    return CommandId::Count;
  };
  Window().Stats()->Selector()->setFocus();
  QApplication::processEvents();
  EXPECT_EQ(owner("F7"), CommandId::FiltersManager);
  EXPECT_EQ(owner("Ctrl+F7"), CommandId::FiltersReset);
  QTableView* table = Window().Stats()->Table();
  table->setFocus();
  QApplication::processEvents();
  ASSERT_TRUE(table->hasFocus());
  EXPECT_EQ(owner("F7"), CommandId::StatFilter_Include);
  EXPECT_EQ(owner("Ctrl+F7"), CommandId::StatFilter_Exclude);
  // With rows selected the table's commands run on the keys.
  ASSERT_TRUE(Window().Commands().Run(CommandId::DrawsStatCalc));
  table->selectRow(0);
  table->setFocus();
  EXPECT_EQ(owner("F7"), CommandId::StatFilter_Include);
  EXPECT_TRUE(Window().Commands().Action(CommandId::StatFilter_Include)->isEnabled());
}

TEST_F(FiltersManagerTest, TheDescriptionShowsTheFamilysPageAndAMethodWithoutPageAnEmptyView) {
  Start();
  bool shown = false;
  WhenDialogOpens<FilterHelpDialog>([&](FilterHelpDialog* d) {
    shown = true;
    EXPECT_EQ(d->windowTitle(), QStringLiteral("Описание методики расчета"));
    EXPECT_TRUE(d->Browser()->source().toString().endsWith(QStringLiteral("filters/numbers.html")))
        << d->Browser()->source().toString().toStdString();
    EXPECT_TRUE(d->Browser()->toPlainText().startsWith(QStringLiteral("Числа тиража")));
    EXPECT_TRUE(d->Browser()->toPlainText().contains(QStringLiteral("Оставить выделенные")));
    EXPECT_EQ(d->Browser()->textCursor().selectedText(), QStringLiteral("NUMS")) << "the method's row";
    d->resize(500, 400);
    d->reject();
  });
  Window().Commands().Update();
  ASSERT_TRUE(Window().Commands().Run(CommandId::FiltersInfo));
  EXPECT_TRUE(shown);
  // The size is remembered for the next opening.
  FilterHelpDialog again(&Window(), *program_->session, "");
  EXPECT_EQ(again.size(), QSize(500, 400));
  EXPECT_TRUE(again.Browser()->toPlainText().isEmpty());

  // From the manager: the selected method's page.
  RunManager([&](FiltersManagerDialog* d) {
    ASSERT_TRUE(d->SelectMethod("SUMS"));
    int entry = -1;
    d->ShowDescription = [&](int e) { entry = e; };
    d->Action(FiltersManagerDialog::Info)->trigger();
    EXPECT_EQ(entry, Stats().List().IndexOfCode("SUMS"));
  }, false);
  EXPECT_EQ(FilterHelpFolder(dir_.Path()), std::filesystem::path()) << "no help folder there";

  // A long page: the method's row is scrolled into view, the row of a method near the top is not.
  auto& list = Stats().List();
  list.SetHelpFolder(FilterHelpFolder());
  FilterHelpDialog last(&Window(), *program_->session, list.HelpURL(list.IndexOfCode("SS3C1")));
  last.show();
  QApplication::processEvents();
  EXPECT_EQ(last.Browser()->textCursor().selectedText(), QStringLiteral("SS3C1"));
  EXPECT_GT(last.Browser()->verticalScrollBar()->value(), 0);
  FilterHelpDialog first(&Window(), *program_->session, list.HelpURL(list.IndexOfCode("SDV2")));
  first.resize(700, 700);
  first.show();
  QApplication::processEvents();
  EXPECT_EQ(first.Browser()->verticalScrollBar()->value(), 0);
}

TEST(StakeConditionDialogTest, OpensOnEqualAndZeroAndCarriesTheConditionAndTheMatches) {
  const struct {
    int Condition;
    int Matches;
    uint16_t Value;
  } cases[] = {{0, 0, 0}, {4, 1, 260}, {1, 3, 769}, {2, 4, 1026}};
  for (const auto& c : cases) {
    StakeFilterDialog dialog(nullptr, 0);
    EXPECT_EQ(dialog.ConditionEdit()->currentText(), QStringLiteral("Равно [ = ]"));
    EXPECT_EQ(dialog.MatchesEdit()->value(), 0);
    dialog.ConditionEdit()->setCurrentIndex(c.Condition);
    dialog.MatchesEdit()->setValue(c.Matches);
    EXPECT_EQ(dialog.Value(), c.Value) << c.Condition << " " << c.Matches;
  }
  StakeFilterDialog dialog(nullptr, 0);
  dialog.ConditionEdit()->setCurrentIndex(4);
  EXPECT_EQ(dialog.ConditionEdit()->currentText(), QStringLiteral("Не более [ <= ]"));
}

}  // namespace
}  // namespace kelmora::gui
