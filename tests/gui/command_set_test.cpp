// The whole command set of the main window: the table against the system's list of 144 commands,
// the rules in the idle, busy and script-running states, every command reachable, every enabled
// command run once on the demo data, the printed table, the links, and the interface languages.

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QMenu>
#include <QMenuBar>
#include <QProcess>
#include <QTableView>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <string_view>
#include <set>

#include "common/command_states.h"
#include "gui/command_actions.h"
#include "gui/combs_page.h"
#include "gui/draws_page.h"
#include "gui/gui_fixture.h"
#include "gui/menu_layout.h"
#include "gui/stats_page.h"
#include "gui/translation.h"
#include "shell/combs_state.h"
#include "shell/languages.h"
#include "shell/stakes_state.h"
#include "support/files.h"

namespace kelmora::gui {
namespace {

using shell::CommandId;
using shell::TCommandState;
using testing::Program;

// The system's command list: name, caption, keys and where the command is reached. `Bare`: enabled
// in an idle window with nothing there (empty archive and list, nothing selected, optional pages
// hidden, no stakes file, no link address).
struct Row {
  const char* Name;
  const char* Caption;
  const char* Keys;
  const char* Menu;
  bool Bare;
};

// clang-format off
const Row Expected[] = {
#include "command_set_table.inc"
};
// clang-format on

using kelmora::testing::EverythingThere;

TEST(CommandSetTest, TheTableHoldsTheSystemsCommandsWithTheirCaptionsKeysAndMenus) {
  ASSERT_EQ(std::size(Expected), static_cast<size_t>(shell::CommandCount));
  const auto commands = shell::Commands();
  for (size_t i = 0; i < std::size(Expected); ++i) {
    const Row& row = Expected[i];
    const auto& c = commands[i];
    SCOPED_TRACE(row.Name);
    EXPECT_STREQ(c.Name, row.Name);
    EXPECT_STREQ(c.Caption, row.Caption);
    EXPECT_STREQ(c.Shortcut, row.Keys);
    EXPECT_EQ(CommandMenuPath(c.Id), row.Menu);
  }
}

TEST(CommandSetTest, EachRuleInTheIdleBusyAndScriptRunningStates) {
  const std::set<CommandId> while_busy = {CommandId::ScriptStop, CommandId::StakesGraphOverlap,
                                          CommandId::StakesGraphProfits, CommandId::RatingsGraphOverlap};
  TCommandState bare;
  const TCommandState full = EverythingThere();
  TCommandState busy = full;
  busy.Idle = false;
  TCommandState running = busy;
  running.ScriptRunning = true;
  for (size_t i = 0; i < std::size(Expected); ++i) {
    const auto id = static_cast<CommandId>(i);
    SCOPED_TRACE(Expected[i].Name);
    EXPECT_EQ(shell::CommandEnabled(id, bare), Expected[i].Bare);
    // With everything there every command can run but the stop (no script runs) and the
    // sorted-draws switch, which never runs.
    const bool idle_full = id != CommandId::DrawsSorted && id != CommandId::ScriptStop;
    EXPECT_EQ(shell::CommandEnabled(id, full), idle_full);
    // Busy without a script: only the rating charts; with a script running also the stop.
    const bool chart = while_busy.count(id) != 0 && id != CommandId::ScriptStop;
    EXPECT_EQ(shell::CommandEnabled(id, busy), chart);
    EXPECT_EQ(shell::CommandEnabled(id, running), while_busy.count(id) != 0);
  }
  TCommandState stopping = running;
  stopping.StopRequested = true;
  EXPECT_FALSE(shell::CommandEnabled(CommandId::ScriptStop, stopping));
}

TEST(CommandSetTest, TheProgramPrintsTheTableWithoutAWindow) {
  QProcess process;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.remove(QStringLiteral("QT_QPA_PLATFORM"));
  env.remove(QStringLiteral("DISPLAY"));
  env.remove(QStringLiteral("WAYLAND_DISPLAY"));
  process.setProcessEnvironment(env);
  process.start(QString::fromUtf8(KELMORA_GUI_PATH), {QStringLiteral("--commands")});
  ASSERT_TRUE(process.waitForFinished(30000));
  EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
  const std::string out = process.readAllStandardOutput().toStdString();
  EXPECT_EQ(out, CommandTableTsv());
  const auto lines = support::SplitLines(out);
  ASSERT_GE(lines.size(), 145u);
  EXPECT_EQ(lines[0], "Команда\tЗаголовок\tКлавиши\tКатегория\tМеню");
  EXPECT_EQ(lines[1], "DrawsDownload\tЗагрузка\tF3\tАрхив тиражей\tАрхив тиражей");
  EXPECT_EQ(lines[144], "LayoutCmpCalc\tОбновить\t\tСтраницы\tСтраница \"Схема\": кнопка таблиц сравнения");
}

void CopyDemoData(const std::filesystem::path& dir) {
  for (const char* name : {"Kelmora_4r32.ldr", "Kelmora_4r32.ini"})
    std::filesystem::copy_file(std::filesystem::path(KELMORA_TEST_DATA) / "../../data/sample" / name, dir / name);
}

// Every QAction reachable from the menu bar, its submenus included.
void CollectMenuActions(const QList<QAction*>& actions, std::set<QAction*>& out) {
  for (QAction* action : actions) {
    out.insert(action);
    if (QMenu* sub = action->menu()) CollectMenuActions(sub->actions(), out);
  }
}

class DemoWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    CopyDemoData(dir_.Path());
    program_ = std::make_unique<Program>(dir_.Path());
    ASSERT_TRUE(program_->Start());
    Window().ChooseFile = [](const QString&, const QString&, bool) { return QString(); };
  }
  void TearDown() override { program_->Stop(); }
  MainWindow& Window() { return *program_->window; }
  shell::Session& Session() { return *program_->session; }

  kelmora::testing::TempDir dir_;
  std::unique_ptr<Program> program_;
};

TEST_F(DemoWindowTest, EveryCommandIsReachableFromAMenuAPageButtonOrAContextMenu) {
  std::set<QAction*> reached;
  CollectMenuActions(Window().menuBar()->actions(), reached);
  for (QToolButton* button : Window().findChildren<QToolButton*>())
    if (button->defaultAction()) reached.insert(button->defaultAction());
  for (QToolBar* bar : Window().findChildren<QToolBar*>())
    for (QAction* action : bar->actions()) reached.insert(action);
  std::set<CommandId> in_context_menus;
  for (const PlaceDef& place : Places())
    for (const MenuItem& item : place.Items)
      if (item.Type == MenuItem::Command) in_context_menus.insert(item.Id);
  for (const auto& c : shell::Commands()) {
    QAction* action = Window().Commands().Action(c.Id);
    ASSERT_NE(action, nullptr) << c.Name;
    EXPECT_TRUE(reached.count(action) || in_context_menus.count(c.Id)) << c.Name << " is nowhere";
    EXPECT_TRUE(Window().Commands().HasHandler(c.Id)) << c.Name << " has no handler";
  }
  // The page buttons of the places are on their pages.
  for (const PlaceDef& place : Places()) {
    if (!QString::fromUtf8(place.Caption).endsWith(QStringLiteral("кнопки"))) continue;
    for (const MenuItem& item : place.Items) {
      if (item.Type != MenuItem::Command) continue;
      EXPECT_TRUE(reached.count(Window().Commands().Action(item.Id))) << place.Caption << ": " << shell::Command(item.Id).Name;
    }
  }
  // "Системы" stays out of the menu bar; SystemsOn is in "Вид" as the page's tab.
  QStringList titles;
  for (QAction* a : Window().menuBar()->actions()) titles << a->text();
  QStringList expected;
  for (const char* title : {"Файл", "Архив тиражей", "Комбинации", "Статистика", "Ставки", "Рейтинг", "Регуляры",
                            "Сценарий", "Вид", "Справка"})
    expected << QString::fromUtf8(title);
  EXPECT_EQ(titles, expected);
  EXPECT_EQ(Window().Commands().Action(CommandId::SystemsOn)->text(), QStringLiteral("Вкладка \"Системы\""));
}

TEST_F(DemoWindowTest, EveryEnabledCommandRunsOnceAndTheWindowStaysConsistent) {
  // Dialogs are cancelled as soon as they are up; questions are answered No, prompts cancelled,
  // file choices empty (the unattended host and ChooseFile above).
  QTimer closer;
  closer.setInterval(5);
  QObject::connect(&closer, &QTimer::timeout, [] {
    if (QWidget* modal = QApplication::activeModalWidget()) {
      if (auto* dialog = qobject_cast<QDialog*>(modal)) {
        dialog->reject();
      } else {
        modal->close();
      }
    }
  });
  closer.start();
  const lottery::TDrawsArray draws = Session().Draws();
  const std::string archive = support::ReadFileText(dir_ / "Kelmora_4r32.ldr");
  // Commands that may change the archive (none does here: their dialogs are cancelled) and those
  // that end the program or start it again.
  const std::set<CommandId> skipped = {CommandId::ExitProgram};
  std::vector<std::string> ran;
  for (const auto& c : shell::Commands()) {
    if (skipped.count(c.Id)) continue;
    // A command before may have changed the list and dropped the selection.
    if (Window().Draws()->List()->selectionModel()->selectedRows().isEmpty()) Window().Draws()->List()->selectRow(0);
    if (Window().Combs()->List()->selectionModel()->selectedRows().isEmpty()) Window().Combs()->List()->selectRow(0);
    Window().Commands().Update();
    if (!Window().Commands().Action(c.Id)->isEnabled()) continue;
    SCOPED_TRACE(c.Name);
    EXPECT_TRUE(Window().Commands().Run(c.Id));
    QApplication::processEvents();
    ran.push_back(c.Name);
    EXPECT_TRUE(Session().IsIdle());
    EXPECT_EQ(Session().Draws().size(), draws.size());
    EXPECT_EQ(Window().Combs()->List()->model()->rowCount(), Session().Combs().Count());
    EXPECT_FALSE(Window().RestartRequested());
  }
  closer.stop();
  // At least every command that an empty idle window allows ran, and more than those: the demo
  // data and the selections enable the rest of the list's and the archive's commands.
  size_t bare = 0;
  for (const Row& row : Expected) {
    if (!row.Bare || std::string_view(row.Name) == "ExitProgram") continue;
    ++bare;
    EXPECT_NE(std::find(ran.begin(), ran.end(), row.Name), ran.end()) << row.Name << " did not run";
  }
  EXPECT_GT(ran.size(), bare + 20);
  for (const char* name : {"DrawsInfo", "DrawsEdit", "CombsInfo", "CombsFindInDraws", "DrawsStatCalc", "AnalyzeRepeats"})
    EXPECT_NE(std::find(ran.begin(), ran.end(), name), ran.end()) << name << " did not run";
  EXPECT_EQ(support::ReadFileText(dir_ / "Kelmora_4r32.ldr"), archive);
  for (const auto& m : program_->host.Messages)
    EXPECT_EQ(m.Text.find("недоступна в этой версии"), std::string::npos) << m.Text;
}

TEST_F(DemoWindowTest, LinksWithoutAnAddressAreDisabledAndSayWhy) {
  Window().Commands().Update();
  QAction* site = Window().Commands().Action(CommandId::urlMainSite);
  EXPECT_FALSE(site->isEnabled());
  EXPECT_TRUE(site->statusTip().contains(QStringLiteral("MainSiteUrl")));
  EXPECT_TRUE(site->toolTip().contains(QStringLiteral("секции NETWORK")));
  ASSERT_TRUE(Session().SetConfigValue("NETWORK", "MainSiteUrl", "https://club.example/"));
  Window().Commands().Update();
  EXPECT_TRUE(site->isEnabled());
  EXPECT_EQ(site->statusTip(), QStringLiteral("Официальный сайт проекта"));
  site->trigger();
  EXPECT_EQ(program_->host.OpenedDocuments.back(), "https://club.example/");
}

TEST(LanguageMenuTest, ATranslationFileAddsItsLanguageAndIsLoadedWhenChosen) {
  kelmora::testing::TempDir dir;
  std::filesystem::create_directories(dir / "translations");
  std::filesystem::copy_file(std::filesystem::path(KELMORA_TEST_TRANSLATIONS) / "Kelmora_4r32_ENU.qm",
                             dir / "translations" / "Kelmora_4r32_ENU.qm");
  auto menu_titles = [](MainWindow& window) {
    QStringList titles;
    for (QAction* a : window.menuBar()->actions()) titles << a->text();
    return titles;
  };
  auto checked = [](QMenu* menu) {
    QStringList out;
    for (QAction* a : menu->actions())
      if (a->isChecked()) out << a->text();
    return out;
  };
  {
    // The default identifier 1033 with the English file present: the interface is English.
    std::vector<std::filesystem::path> folders{dir / "translations"};
    const auto languages = shell::InterfaceLanguages(folders);
    const InstalledTranslation translation(shell::ActiveLanguage(languages, shell::StoredLanguage(dir / "Kelmora_4r32.frm"), false));
    EXPECT_TRUE(translation.ProgramTranslationLoaded());
    Program p(dir.Path());
    ASSERT_TRUE(p.Start());
    const QStringList titles = menu_titles(*p.window);
    EXPECT_EQ(titles.front(), QStringLiteral("File"));
    EXPECT_EQ(titles.back(), QStringLiteral("Help"));
    EXPECT_EQ(titles[1], QStringLiteral("Архив тиражей"));  // not in the test's translation
    EXPECT_EQ(p.window->Commands().Action(CommandId::ExitProgram)->text(), QStringLiteral("Exit"));
    QMenu* languages_menu = p.window->LanguageMenu();
    ASSERT_NE(languages_menu, nullptr);
    EXPECT_EQ(languages_menu->title(), QStringLiteral("Interface language"));
    QStringList names;
    for (QAction* a : languages_menu->actions()) names << a->text();
    EXPECT_EQ(names, (QStringList{QStringLiteral("Русский"), QStringLiteral("English")}));
    EXPECT_EQ(checked(languages_menu), QStringList{QStringLiteral("English")});
    // Choosing Russian stores 1049 and asks for the restart.
    languages_menu->actions().front()->trigger();
    EXPECT_TRUE(p.window->RestartRequested());
    p.Stop();
  }
  EXPECT_EQ(shell::StoredLanguage(dir / "Kelmora_4r32.frm"), 1049);
  {
    Program p(dir.Path());
    ASSERT_TRUE(p.Start());
    EXPECT_EQ(menu_titles(*p.window).front(), QStringLiteral("Файл"));
    EXPECT_EQ(checked(p.window->LanguageMenu()), QStringList{QStringLiteral("Русский")});
    p.Stop();
  }
  {
    // "no-language" takes the built-in Russian whatever is stored.
    Program p(dir.Path(), {"no-language"});
    ASSERT_TRUE(p.Start());
    EXPECT_EQ(checked(p.window->LanguageMenu()), QStringList{QStringLiteral("Русский")});
    p.Stop();
  }
}

}  // namespace
}  // namespace kelmora::gui
