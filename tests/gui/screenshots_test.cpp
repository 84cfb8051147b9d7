// The program on the demo data as a user first sees it: every page and dialog is drawn, no header
// caption is cut, and with KELMORA_SCREENSHOTS set to a folder the pictures are saved there.

#include <QApplication>
#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QDir>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPixmap>
#include <QScrollBar>
#include <QSpinBox>
#include <QTableView>
#include <QTableWidget>
#include <QTimer>
#include <gtest/gtest.h>

#include "gui/analysis_pages.h"
#include "gui/chart_window.h"
#include "gui/combs_page.h"
#include "gui/command_actions.h"
#include "gui/config_dialog.h"
#include "gui/draw_dialog.h"
#include "gui/draw_info_dialog.h"
#include "gui/draws_page.h"
#include "gui/filter_dialog.h"
#include "gui/filter_help_dialog.h"
#include "gui/filters_manager_dialog.h"
#include "gui/generate_dialog.h"
#include "gui/gui_fixture.h"
#include "gui/info_dialogs.h"
#include "gui/repeats_window.h"
#include "gui/script_dialog.h"
#include "gui/script_model.h"
#include "gui/regulars_page.h"
#include "gui/script_page.h"
#include "gui/stakes_pages.h"
#include "gui/stats_page.h"
#include "gui/systems_page.h"
#include "gui/system_dialog.h"
#include "gui/table_dialog.h"
#include "gui/table_sizing.h"
#include "gui/view_grid.h"
#include "shell/combs_state.h"
#include "shell/regulars_state.h"
#include "shell/script_runner.h"
#include "shell/script_state.h"
#include "shell/stakes_state.h"
#include "shell/stats_state.h"
#include "shell/views_state.h"
#include "views/sums.h"
#include "catalog/seed.h"
#include "common/catalog_test_server.h"
#include "lottery/comb_ops.h"
#include "scripts/script.h"
#include "support/files.h"

namespace kelmora::gui {
namespace {

using shell::CommandId;
using testing::Program;
using testing::WhenDialogOpens;

constexpr int ShotWidth = 1280;
constexpr int ShotHeight = 800;

void CopyDemoData(const std::filesystem::path& dir) {
  for (const char* name : {"Kelmora_4r32.ldr", "Kelmora_4r32.ini"})
    std::filesystem::copy_file(std::filesystem::path(KELMORA_TEST_DATA) / "../../data/sample" / name, dir / name);
}

// Saves the picture under `name` when the KELMORA_SCREENSHOTS folder is given; checks it was drawn.
void Keep(const QPixmap& shot, const char* name) {
  ASSERT_FALSE(shot.isNull()) << name;
  const QByteArray out = qgetenv("KELMORA_SCREENSHOTS");
  if (!out.isEmpty()) {
    QDir().mkpath(QString::fromLocal8Bit(out));
    EXPECT_TRUE(shot.save(QString::fromLocal8Bit(out) + QLatin1Char('/') + QString::fromLatin1(name), "PNG")) << name;
  }
}

// Shows a dialog at its own default size, without running its modal loop.
QPixmap Shoot(QDialog& dialog) {
  dialog.show();
  QApplication::processEvents();
  QPixmap shot = dialog.grab();
  dialog.hide();
  return shot;
}

void ChooseStat(Program& p, const char* code) {
  QComboBox* selector = p.window->Stats()->Selector();
  const int position = selector->findData(p.session->Stats().List().IndexOfCode(code));
  ASSERT_GE(position, 0) << code;
  selector->setCurrentIndex(position);
}

// Nothing of a table scrolls sideways: every column is on screen.
void ExpectAllColumnsShown(const QTableView& view, const char* what) {
  EXPECT_EQ(view.horizontalScrollBar()->maximum(), 0) << what;
  EXPECT_GE(view.viewport()->width(), view.horizontalHeader()->length()) << what;
}

// Every cell text fits its column.
void ExpectCellsFit(QTableView& view, const char* what) {
  const auto* header = view.horizontalHeader();
  for (int c = 0; c < header->count(); ++c)
    EXPECT_GE(header->sectionSize(c), static_cast<QAbstractItemView&>(view).sizeHintForColumn(c)) << what << " column " << c;
}

class DemoDataTest : public ::testing::Test {
 protected:
  void SetUp() override {
    CopyDemoData(dir_.Path());
    program_ = std::make_unique<Program>(dir_.Path());
    ASSERT_TRUE(program_->Start());
    program_->window->resize(ShotWidth, ShotHeight);
    QApplication::processEvents();
  }
  void TearDown() override { program_->Stop(); }

  MainWindow& Window() { return *program_->window; }
  shell::Session& Session() { return *program_->session; }

  kelmora::testing::TempDir dir_;
  std::unique_ptr<Program> program_;
};

TEST_F(DemoDataTest, NoHeaderOfTheStatisticsTableOrTheTwoDialogsIsCut) {
  // The comparison mode shows all twenty columns of the table.
  ChooseStat(*program_, "SUMS");
  ASSERT_TRUE(Window().Commands().Run(CommandId::DrawsStatePrefetchsEnabled));
  ASSERT_TRUE(Window().Commands().Run(CommandId::DrawsStatCalc));
  QApplication::processEvents();
  QTableView* table = Window().Stats()->Table();
  ASSERT_GT(table->model()->rowCount(), 0);
  EXPECT_EQ(ElidedHeaderTexts(*table->horizontalHeader()), QStringList());
  ExpectCellsFit(*table, "statistics table");

  DrawInfoDialog info(&Window(), Session(), 0);
  info.show();
  QApplication::processEvents();
  EXPECT_EQ(ElidedHeaderTexts(*info.Properties()->horizontalHeader()), QStringList());
  EXPECT_EQ(ElidedHeaderTexts(*info.Card()->horizontalHeader()), QStringList());
  ExpectAllColumnsShown(*info.Properties(), "properties");
  ExpectCellsFit(*info.Properties(), "properties");
  ExpectAllColumnsShown(*info.Card(), "card");
  EXPECT_EQ(info.Card()->verticalHeaderItem(7)->text(), QStringLiteral("A"));
  EXPECT_EQ(info.Card()->horizontalHeaderItem(0)->text(), QStringLiteral("s"));

  ConfigDialog config(&Window(), program_->host, Session().Settings().Config, Session().DecimalSeparator());
  config.show();
  QApplication::processEvents();
  for (auto* grid : config.findChildren<QTableWidget*>()) {
    EXPECT_EQ(ElidedHeaderTexts(*grid->horizontalHeader()), QStringList());
    ExpectAllColumnsShown(*grid, "config grid");
    EXPECT_EQ(grid->verticalScrollBar()->maximum(), 0) << "every row is shown";
  }
}

TEST_F(DemoDataTest, EveryPageAndDialogIsDrawn) {
  // The window as it opens, then the statistics of the sums with its chart.
  Keep(Window().grab(), "main_window.png");
  ChooseStat(*program_, "SUMS");
  ASSERT_TRUE(Window().Commands().Run(CommandId::DrawsStatCalc));
  QApplication::processEvents();
  const QPixmap whole = Window().grab();
  EXPECT_EQ(whole.size(), QSize(ShotWidth, ShotHeight));

  // The draws page with the offset moved back, so the current draw is a row inside the list.
  Window().Draws()->OffsetEdit()->setValue(3);
  QApplication::processEvents();
  Keep(Window().grab(), "draws_page.png");
  Window().Draws()->OffsetEdit()->setValue(0);

  // The statistics page in comparison mode, sorted by the count.
  ChooseStat(*program_, "NUMS");
  ASSERT_TRUE(Window().Commands().Run(CommandId::DrawsStatePrefetchsEnabled));
  ASSERT_TRUE(Window().Commands().Run(CommandId::DrawsStatCalc));
  Session().Stats().ClickColumn(1);
  QApplication::processEvents();
  EXPECT_EQ(Window().Stats()->ChartView()->chart()->series().size(), 2);
  Keep(Window().grab(), "stats_page.png");

  // The combinations page after one keep filter.
  QTableView* table = Window().Stats()->Table();
  for (int row : {0, 1})
    table->selectionModel()->select(table->model()->index(row, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
  Window().Commands().Update();
  ASSERT_TRUE(Window().Commands().Run(CommandId::StatFilter_Include));
  ASSERT_TRUE(Window().SelectPage(QStringLiteral("Комбинации")));
  QApplication::processEvents();
  Keep(Window().grab(), "combs_page.png");

  DrawInfoDialog info(&Window(), Session(), 0);
  Keep(Shoot(info), "draw_info_dialog.png");
  DrawInfoDialog comb_info(&Window(), Session(), Session().Draws().back().Values);
  Keep(Shoot(comb_info), "comb_info_dialog.png");
  ConfigDialog config(&Window(), program_->host, Session().Settings().Config, Session().DecimalSeparator());
  Keep(Shoot(config), "config_dialog.png");
  ShreddingDialog shredding(&Window(), Session().Settings().Shredding);
  Keep(Shoot(shredding), "shredding_dialog.png");
  DrawDialog draw(&Window(), program_->host, Session().NewDrawTemplate(), QStringLiteral("Введите данные следующего тиража"));
  Keep(Shoot(draw), "draw_dialog.png");
  const auto& generation = Session().Settings().Generation;
  GenerateDialog generate(&Window(), generation.Mode, generation.Parameters, Window().ChooseFile);
  Keep(Shoot(generate), "generate_dialog.png");
  FilterDialog filter(&Window(), Session(), filtering::TFilterItem{});
  Keep(Shoot(filter), "filter_dialog.png");
  // The stakes of three names over the last ten draws, checked, and their rating.
  const auto& draws = Session().Draws();
  for (size_t i = draws.size() - 10; i < draws.size(); ++i) {
    const lottery::TComb drawn = draws[i].Values;
    const std::vector<lottery::TComb> combs = {drawn, lottery::MakeComb(7, 8, 9, 10), lottery::MakeComb(14, 13, 12, 11)};
    ASSERT_TRUE(Session().Stakes().AddStakesCommand(combs, draws[i].Number, "01.001: NUMS @ Q#KEEP", 1));
    ASSERT_TRUE(Session().Stakes().AddStakesCommand({lottery::MakeComb(9, 9, 10, 10)}, draws[i].Number,
                                                    "02.001: SUMS @ 40#DEL", 1));
  }
  ASSERT_TRUE(Window().SelectPage(QStringLiteral("Ставки")));
  QApplication::processEvents();
  EXPECT_EQ(ElidedHeaderTexts(*Window().StakesView()->Grid()->horizontalHeader()), QStringList());
  Keep(Window().grab(), "stakes_page.png");
  ASSERT_TRUE(Window().SelectPage(QStringLiteral("Рейтинг")));
  QApplication::processEvents();
  EXPECT_EQ(ElidedHeaderTexts(*Window().RatingView()->List()->horizontalHeader()), QStringList());
  Keep(Window().grab(), "rating_page.png");

  AboutDialog about(&Window());
  Keep(Shoot(about), "about_dialog.png");
  FirstRunDialog first_run(&Window(), support::FileExists(HelpFilePath()));
  Keep(Shoot(first_run), "first_run_dialog.png");
}

TEST_F(DemoDataTest, EachMainMenuIsDrawnOpen) {
  // A stake and a selected combination, so the menus show enabled entries as a user meets them.
  Window().Combs()->List()->selectRow(0);
  Window().Draws()->List()->selectRow(0);
  Window().Commands().Update();
  const char* names[] = {"menu_file.png",   "menu_draws.png",  "menu_combs.png",  "menu_stats.png", "menu_stakes.png",
                         "menu_rating.png", "menu_tables.png", "menu_script.png", "menu_view.png",  "menu_help.png"};
  QMenuBar* bar = Window().menuBar();
  ASSERT_EQ(bar->actions().size(), static_cast<qsizetype>(std::size(names)));
  for (qsizetype i = 0; i < bar->actions().size(); ++i) {
    QAction* entry = bar->actions()[i];
    QMenu* menu = entry->menu();
    ASSERT_NE(menu, nullptr);
    const QRect at = bar->actionGeometry(entry);
    const QPoint corner = bar->mapTo(&Window(), at.bottomLeft());
    emit menu->aboutToShow();  // the window recomputes the commands when a menu opens
    menu->popup(bar->mapToGlobal(at.bottomLeft()));
    QApplication::processEvents();
    // The window with the menu drawn below its entry, as the screen shows it.
    QPixmap shot = Window().grab();
    {
      QPainter painter(&shot);
      painter.fillRect(QRect(bar->mapTo(&Window(), at.topLeft()), at.size()), QColor(0, 120, 215, 60));
      painter.drawPixmap(corner, menu->grab());
    }
    menu->hide();
    EXPECT_GT(menu->sizeHint().height(), 40) << names[i];
    Keep(shot, names[i]);
  }
}

TEST_F(DemoDataTest, TheFavouritesManagerAndADescriptionPageAreDrawn) {
  FiltersManagerDialog manager(&Window(), Session());
  ASSERT_TRUE(manager.SelectMethod("NUMS"));
  Keep(Shoot(manager), "filters_manager.png");
  auto& list = Session().Stats().List();
  list.SetHelpFolder(FilterHelpFolder());
  const std::string url = list.HelpURL(list.IndexOfCode("SUMS"));
  ASSERT_FALSE(url.empty());
  FilterHelpDialog help(&Window(), Session(), url);
  Keep(Shoot(help), "filter_help.png");
}

TEST_F(DemoDataTest, TheRegularsPageAndTheRuleAndSystemDialogsAreDrawn) {
  auto& regulars = Session().Regulars();
  const auto& list = Session().Combs().CombList();
  auto rule = regulars.NewTable({list[100]});
  rule.Name = "Вверх по шагу";
  ASSERT_TRUE(regulars.AddTables(rule, {100}));
  rule.Name = "Последний тираж, шаг -2";
  rule.UseLastDraw = true;
  rule.Step = -2;
  ASSERT_TRUE(regulars.AddTables(rule, {}));
  ASSERT_TRUE(regulars.StakeTest({0, 1}, 5));
  ASSERT_TRUE(Window().SelectPage(QStringLiteral("Регуляры")));
  QApplication::processEvents();
  EXPECT_EQ(ElidedHeaderTexts(*Window().RegularsView()->List()->horizontalHeader()), QStringList());
  ExpectCellsFit(*Window().RegularsView()->List(), "regulars list");
  Keep(Window().grab(), "regulars_page.png");

  TableDialog table(&Window(), program_->host, regulars.NewTable({list[7]}), 1, regulars.Tables());
  Keep(Shoot(table), "table_dialog.png");
  net::tSystemData system;
  system.Id = 37;
  system.Nums = 8;
  system.Olap = 2;
  system.CSize = 4;
  system.Title = "Восемь чисел, блок 2";
  system.Author = "Демо";
  system.Descr = "Пример системы: четыре строки на восемь значений.";
  system.Url = "https://example.org/systems/37";
  system.Created = 1765447200;
  system.Downloads = 12;
  system.CList = "01 02 03 04\n05 06 07 08\n01 02 05 06\n03 04 07 08";
  SystemDialog dialog(&Window(), program_->host, system, true);
  Keep(Shoot(dialog), "system_dialog.png");
}

TEST_F(DemoDataTest, TheSystemsPageOverTheDemoCatalogueIsDrawn) {
  kelmora::testing::CatalogTestServer server;
  server.SetNow(1765454400);
  ASSERT_GT(catalog::SeedDemo(server.DbPath().string()).Systems, 0);
  ASSERT_TRUE(Session().SetConfigValue("NETWORK", "CatalogUrl", server.BaseUrl()));
  ASSERT_TRUE(Session().SetConfigValue("NETWORK", "CaFile", server.CaFile().string()));
  ASSERT_TRUE(Window().Commands().Run(CommandId::SystemsOn));
  SystemsPage* page = Window().SystemsView();
  ASSERT_GT(page->List()->model()->rowCount(), 2);
  page->SelectRow(1);
  ASSERT_TRUE(Window().Commands().Run(CommandId::SystemsDownload));
  for (const auto& message : program_->host.Messages) EXPECT_NE(message.Kind, shell::MessageKind::Error) << message.Text;
  QApplication::processEvents();
  EXPECT_EQ(ElidedHeaderTexts(*page->List()->horizontalHeader()), QStringList());
  Keep(Window().grab(), "systems_page.png");
}

// A short script of the kinds a user writes: two variants of the numbers, the sums on what is
// left, a separator, and a forecast step with two filters.
const std::vector<std::string>& DemoScript() {
  static const std::vector<std::string> lines = {
      "FULL:0#RAND|TSD1#NUMS:10;20#LMV:2;3#SF:1| | | | | | |редкие числа",
      "CURR:0#FIRST#NEX|BMF3#SUMS:50#LNO:#ST:3| | | | | | |суммы",
      "",
      "EXCL:5#LAST#CLR|TSD1#NUMS:100#LMV:5#SF:1|TSF2#SUMS:30#LLV:1#SV:10| | | | | |прогноз",
  };
  return lines;
}

TEST_F(DemoDataTest, TheScriptPageDuringATestAndTheStepDialogAreDrawn) {
  for (const auto& line : DemoScript()) Session().Script().AddScriptLine(line);
  ASSERT_TRUE(Window().SelectPage(QStringLiteral("Сценарий")));
  QApplication::processEvents();
  ScriptPage* page = Window().ScriptView();
  EXPECT_EQ(ElidedHeaderTexts(*page->List()->horizontalHeader()), QStringList());
  ExpectCellsFit(*page->List(), "script list");
  EXPECT_EQ(page->Panel(0)->text(), QStringLiteral("Строк: 4"));

  // The page as it is while the third pass of a test runs its first step; then the test is stopped.
  QPixmap during;
  QTimer shoot;
  shoot.setInterval(0);
  QObject::connect(&shoot, &QTimer::timeout, [&] {
    const auto& runner = Session().Runner();
    if (!during.isNull() || runner.Cycle() < 3 || runner.StakesMade() == 0 || page->SelectedRow() != 0) return;
    if (!page->Panel(4)->text().startsWith(QStringLiteral("Фильтр 2 из 4"))) return;
    Window().Commands().Update();
    during = Window().grab();
    program_->host.Answers = {true};
    Window().Commands().Run(CommandId::ScriptStop);
  });
  shoot.start();
  WhenDialogOpens<TestCountDialog>([](TestCountDialog* d) {
    d->CountEdit()->setValue(5);
    d->accept();
  });
  ASSERT_TRUE(Window().Commands().Run(CommandId::ScriptTest));
  shoot.stop();
  for (const auto& message : program_->host.Messages) EXPECT_NE(message.Kind, shell::MessageKind::Error) << message.Text;
  ASSERT_FALSE(during.isNull()) << "the test ended before its third pass";
  Keep(during, "script_page.png");

  ScriptDialog dialog(&Window(), Session(), QStringLiteral("Редактирование строки"), 0, DemoScript()[3]);
  Keep(Shoot(dialog), "script_dialog.png");
  TestCountDialog count(&Window(), static_cast<int>(Session().Draws().size()) - 1);
  EXPECT_FALSE(Shoot(count).isNull());
}

TEST_F(DemoDataTest, TheAnalysisPagesAndWindowsAreDrawn) {
  // The scheme one draw back, so the values of the hidden draw are marked.
  Window().Draws()->OffsetEdit()->setValue(1);
  ASSERT_TRUE(Window().SelectPage(QStringLiteral("Схема")));
  QApplication::processEvents();
  LayoutPage* layout = Window().LayoutView();
  ASSERT_GT(layout->Model()->rowCount(), 0);
  EXPECT_GT(layout->CompareList(0)->rowCount(), 0);
  Keep(Window().grab(), "layout_page.png");
  Window().Draws()->OffsetEdit()->setValue(0);

  ASSERT_TRUE(Window().SelectPage(QStringLiteral("Графики")));
  GraphsPage* graphs = Window().GraphsView();
  const int position = graphs->Selector()->findData(Session().Stats().List().IndexOfCode("SUMS"));
  ASSERT_GE(position, 0);
  graphs->Selector()->setCurrentIndex(position);
  QApplication::processEvents();
  EXPECT_EQ(graphs->ChartView()->chart()->series().size(), 3);
  Keep(Window().grab(), "graphs_page.png");

  ASSERT_TRUE(Window().SelectPage(QStringLiteral("Карта")));
  QApplication::processEvents();
  EXPECT_EQ(Window().CardView()->Model()->rowCount(), static_cast<int>(Session().Draws().size()));
  Keep(Window().grab(), "card_page.png");

  ASSERT_TRUE(Window().SelectPage(QStringLiteral("Неделя")));
  WeekPage* week = Window().WeekView();
  week->Grid()->setCurrentIndex(week->Model()->index(2, 0));
  QApplication::processEvents();
  EXPECT_GT(Session().Views().Week().Max, 0) << "the demo draws have dates";
  Keep(Window().grab(), "week_page.png");

  RepeatsWindow repeats(&Window(), Session());
  EXPECT_GT(repeats.List()->rowCount(), 0);
  Keep(Shoot(repeats), "repeats_window.png");
  ChartWindow sums(&Window(), views::SumsChart(Session().Views().CalcSums()));
  sums.resize(900, 600);
  Keep(Shoot(sums), "sums_window.png");
}

TEST(EmptyFolderTest, TheEmptyArchiveSaysHowToFillIt) {
  kelmora::testing::TempDir dir;
  Program p(dir.Path());
  ASSERT_TRUE(p.Start());
  p.window->resize(ShotWidth, ShotHeight);
  QApplication::processEvents();
  QLabel* note = p.window->Draws()->EmptyNote();
  EXPECT_TRUE(note->isVisible());
  EXPECT_EQ(note->text(), QStringLiteral("Архив тиражей пуст. Добавьте тираж кнопкой «Добавить», импортируйте "
                                         "CSV-файл командой «Архив тиражей» → «Импорт из CSV-файла» или загрузите "
                                         "тиражи с сайта лотереи кнопкой «Загрузка»."));
  // Panels with nothing to show are hidden, not drawn as empty boxes.
  EXPECT_TRUE(p.window->findChild<QLabel*>(QStringLiteral("StatusPanel0"))->isVisible());
  EXPECT_FALSE(p.window->findChild<QLabel*>(QStringLiteral("StatusPanel2"))->isVisible());
  Keep(p.window->grab(), "empty_archive.png");

  p.session->AddDraw({1, lottery::MakeComb(7, 8, 9, 10), "01/01/2024"});
  QApplication::processEvents();
  EXPECT_FALSE(note->isVisible());
  p.Stop();
}

}  // namespace
}  // namespace kelmora::gui
