#include "gui/main_window.h"

#include <QAbstractItemModelTester>
#include <QAction>
#include <QFont>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenuBar>
#include <QSpinBox>
#include <QTableView>
#include <gtest/gtest.h>

#include "gui/command_actions.h"
#include "gui/draw_dialog.h"
#include "gui/draws_model.h"
#include "gui/draws_page.h"
#include "gui/gui_fixture.h"
#include "lottery/comb_ops.h"
#include "lottery/comb_text.h"
#include "lottery/draws.h"
#include "support/files.h"

namespace kelmora::gui {
namespace {

using lottery::MakeComb;
using shell::CommandId;
using testing::Program;
using testing::WhenDialogOpens;

class MainWindowTest : public ::testing::Test {
 protected:
  void WriteDraws(int count) {
    lottery::TDrawsArray draws;
    for (int i = 0; i < count; ++i) draws.push_back({100 + i, MakeComb(7 + i % 8, 8 + i % 7, 9, 14), "01/02/2023"});
    lottery::SaveDrawsFile(dir_ / "Kelmora_4r32.ldr", draws);
  }
  void SelectRows(Program& p, std::initializer_list<int> rows) {
    auto* list = p.window->Draws()->List();
    list->clearSelection();
    for (int r : rows)
      list->selectionModel()->select(list->model()->index(r, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
  }

  kelmora::testing::TempDir dir_;
};

TEST_F(MainWindowTest, StartsOnAnEmptyFolderWithoutWarnings) {
  testing::QtWarnings().clear();
  {
    Program p(dir_.Path());
    ASSERT_TRUE(p.Start());
    EXPECT_EQ(p.window->StatusPanel(0), QStringLiteral("Архив тиражей: 0"));
    EXPECT_EQ(p.window->StatusPanel(1), QStringLiteral("Следующий тираж: 1"));
    EXPECT_EQ(p.window->StatusPanel(2), QString());
    EXPECT_EQ(p.window->Draws()->Model()->rowCount(), 0);
    EXPECT_TRUE(support::FileExists(dir_ / "Kelmora_4r32.lsk"));
    EXPECT_TRUE(p.host.Messages.empty());
    QStringList menus;
    for (QAction* a : p.window->menuBar()->actions()) menus << a->text();
    EXPECT_EQ(menus, (QStringList{QStringLiteral("Файл"), QStringLiteral("Архив тиражей"), QStringLiteral("Комбинации"),
                                  QStringLiteral("Статистика"), QStringLiteral("Ставки"), QStringLiteral("Рейтинг"),
                                  QStringLiteral("Регуляры"), QStringLiteral("Сценарий"), QStringLiteral("Вид"),
                                  QStringLiteral("Справка")}));
    p.Stop();
  }
  EXPECT_TRUE(testing::QtWarnings().isEmpty()) << testing::QtWarnings().join(QStringLiteral("\n")).toStdString();
}

TEST_F(MainWindowTest, SecondCopyInTheSameFolderIsRefusedAndLeavesTheFilesAlone) {
  Program first(dir_.Path());
  ASSERT_TRUE(first.Start());
  const std::string view_state = support::ReadFileText(dir_ / "Kelmora_4r32.frm");
  {
    Program second(dir_.Path());
    EXPECT_FALSE(second.Start());
    EXPECT_TRUE(second.session->TerminateRequested());
    ASSERT_EQ(second.host.Messages.size(), 1u);
    EXPECT_EQ(second.host.Messages[0].Kind, shell::MessageKind::Error);
    EXPECT_EQ(second.host.Messages[0].Text.rfind("Невозможно получить монопольный доступ к файлам данных!\r\r", 0), 0u);
    second.window->resize(333, 222);
    second.Stop();
  }
  EXPECT_EQ(support::ReadFileText(dir_ / "Kelmora_4r32.frm"), view_state);
  EXPECT_TRUE(first.session->StakesFileOpen());
  // The first copy still holds the folder: a third start is refused as well.
  Program third(dir_.Path());
  EXPECT_FALSE(third.Start());
}

TEST_F(MainWindowTest, AddsChangesAndDeletesDrawsThroughTheCommands) {
  Program p(dir_.Path());
  ASSERT_TRUE(p.Start());
  QAbstractItemModelTester tester(p.window->Draws()->Model(), QAbstractItemModelTester::FailureReportingMode::Warning);

  // A wrong values text is refused and the dialog stays open until it is corrected.
  WhenDialogOpens<DrawDialog>([](DrawDialog* d) {
    EXPECT_EQ(d->NumberEdit()->value(), 1);
    EXPECT_EQ(d->ValuesEdit()->text(), QStringLiteral("0;0;0;0"));
    d->ValuesEdit()->setText(QStringLiteral("7;8;9"));
    d->accept();
    EXPECT_TRUE(d->isVisible());
    d->ValuesEdit()->setText(QStringLiteral("7, j ;10;A"));
    d->accept();
  });
  ASSERT_TRUE(p.window->Commands().Run(CommandId::DrawsAdd));
  ASSERT_EQ(p.host.Messages.size(), 1u);
  EXPECT_EQ(p.host.Messages[0].Text, "Введена некорректная комбинация!");
  ASSERT_EQ(p.session->Draws().size(), 1u);
  EXPECT_EQ(p.session->Draws()[0].Values, MakeComb(7, 11, 10, 14));
  EXPECT_EQ(p.window->StatusPanel(0), QStringLiteral("Архив тиражей: 1"));
  EXPECT_EQ(p.window->StatusPanel(1), QStringLiteral("Следующий тираж: 2"));
  EXPECT_EQ(lottery::LoadDrawsFile(dir_ / "Kelmora_4r32.ldr").size(), 1u);

  SelectRows(p, {0});
  WhenDialogOpens<DrawDialog>([](DrawDialog* d) {
    d->NumberEdit()->setValue(42);
    d->ValuesEdit()->setText(QStringLiteral("K;Q;J;10"));
    d->accept();
  });
  ASSERT_TRUE(p.window->Commands().Run(CommandId::DrawsEdit));
  EXPECT_EQ(p.session->Draws()[0].Number, 42);
  EXPECT_EQ(p.window->Draws()->Model()->index(0, DrawsModel::ColS).data().toString(), QStringLiteral("K"));

  // No keeps the draw; Yes deletes it. The question is the one-record form with No as default.
  SelectRows(p, {0});
  p.host.Answers = {false};
  ASSERT_TRUE(p.window->Commands().Run(CommandId::DrawsDel));
  EXPECT_EQ(p.session->Draws().size(), 1u);
  ASSERT_EQ(p.host.Questions.size(), 1u);
  EXPECT_EQ(p.host.Questions[0].Kind, shell::MessageKind::Warning);
  EXPECT_EQ(p.host.Questions[0].Text, "Удалить выделенную запись?");
  p.host.Answers = {true};
  ASSERT_TRUE(p.window->Commands().Run(CommandId::DrawsDel));
  EXPECT_TRUE(p.session->Draws().empty());
  EXPECT_TRUE(lottery::LoadDrawsFile(dir_ / "Kelmora_4r32.ldr").empty());
  EXPECT_FALSE(p.window->Commands().Action(CommandId::DrawsDel)->isEnabled());
}

TEST_F(MainWindowTest, DeletingSeveralRowsAsksThePluralForm) {
  WriteDraws(5);
  Program p(dir_.Path());
  ASSERT_TRUE(p.Start());
  SelectRows(p, {1, 3});
  p.host.Answers = {true};
  ASSERT_TRUE(p.window->Commands().Run(CommandId::DrawsDel));
  ASSERT_EQ(p.host.Questions.size(), 1u);
  EXPECT_EQ(p.host.Questions[0].Text, "Удалить все выделенные записи (всего будет удалено 2 записи(ей))?");
  std::vector<int32_t> numbers;
  for (const auto& d : p.session->Draws()) numbers.push_back(d.Number);
  EXPECT_EQ(numbers, (std::vector<int32_t>{100, 102, 104}));
}

TEST_F(MainWindowTest, OffsetEditorMovesTheCurrentDrawRowAndTheStatusPanels) {
  WriteDraws(10);
  Program p(dir_.Path());
  ASSERT_TRUE(p.Start());
  auto* model = p.window->Draws()->Model();
  // The current row's colour is none of the channel colours, so coloured value cells stay readable.
  const QColor current(0xC8, 0x3C, 0x3C);
  for (int channel = 1; channel <= 19; ++channel)
    EXPECT_NE(current.rgb() & 0xFFFFFF, lottery::ChannelNumberColor(channel)) << channel;
  EXPECT_EQ(model->index(0, DrawsModel::ColNumber).data(Qt::BackgroundRole).value<QColor>(), current);
  EXPECT_TRUE(model->index(0, DrawsModel::ColS).data(Qt::FontRole).value<QFont>().bold());
  EXPECT_FALSE(model->index(1, DrawsModel::ColS).data(Qt::FontRole).value<QFont>().bold());
  EXPECT_EQ(p.window->Draws()->OffsetEdit()->maximum(), 9);

  p.window->Draws()->OffsetEdit()->setValue(3);
  EXPECT_EQ(p.session->DrawsOffset(), 3);
  // Row 3 is the draw numbered 106; the hidden draw is row 2 (number 107).
  EXPECT_EQ(model->index(3, DrawsModel::ColNumber).data(Qt::BackgroundRole).value<QColor>(), current);
  EXPECT_FALSE(model->index(0, DrawsModel::ColNumber).data(Qt::BackgroundRole).isValid());
  EXPECT_EQ(p.window->StatusPanel(1), QStringLiteral("Следующий тираж: 107"));
  EXPECT_EQ(p.window->StatusPanel(2), QString::fromStdString(lottery::CombToText(p.session->Draws()[7].Values)));

  // With channel colours the value cells carry their channel colour, also in the current row.
  const uint32_t rgb = lottery::ChannelColor(lottery::CombValue(p.session->Draws()[6].Values, 0), 2);
  EXPECT_EQ(model->index(3, DrawsModel::ColS).data(Qt::BackgroundRole).value<QColor>(),
            QColor((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF));
  ASSERT_TRUE(p.window->Commands().Run(CommandId::ViewColorDraws));
  EXPECT_EQ(model->index(3, DrawsModel::ColS).data(Qt::BackgroundRole).value<QColor>(), current);
  EXPECT_FALSE(model->index(2, DrawsModel::ColS).data(Qt::BackgroundRole).isValid());
}

TEST_F(MainWindowTest, BusyStateDisablesEveryCommand) {
  WriteDraws(3);
  Program p(dir_.Path());
  ASSERT_TRUE(p.Start());
  SelectRows(p, {0});
  p.window->Commands().Update();
  EXPECT_TRUE(p.window->Commands().Action(CommandId::DrawsEdit)->isEnabled());
  p.session->BeginBusy();
  for (QAction* a : p.window->Commands().Actions()) EXPECT_FALSE(a->isEnabled()) << a->objectName().toStdString();
  EXPECT_FALSE(p.window->Commands().Run(CommandId::DrawsAdd));
  EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
  p.session->EndBusy();
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
  EXPECT_TRUE(p.window->Commands().Action(CommandId::DrawsEdit)->isEnabled());
}

TEST_F(MainWindowTest, ViewStateIsWrittenAtExitAndRestoredAtTheNextStart) {
  WriteDraws(3);
  {
    Program p(dir_.Path());
    ASSERT_TRUE(p.Start());
    p.window->setGeometry(40, 50, 900, 600);
    p.window->Draws()->List()->horizontalHeader()->resizeSection(0, 77);
    ASSERT_TRUE(p.window->Commands().Run(CommandId::ViewColorDraws));
    p.Stop();
  }
  const std::string frm = support::ReadFileText(dir_ / "Kelmora_4r32.frm");
  EXPECT_NE(frm.find("lvDraws.Column0=77"), std::string::npos) << frm;
  EXPECT_NE(frm.find("ColorDraws=0"), std::string::npos);
  EXPECT_NE(frm.find("NormPos=40,50,940,650"), std::string::npos);

  Program p(dir_.Path());
  ASSERT_TRUE(p.Start());
  EXPECT_EQ(p.window->geometry(), QRect(40, 50, 900, 600));
  EXPECT_EQ(p.window->Draws()->List()->horizontalHeader()->sectionSize(0), 77);
  EXPECT_FALSE(p.session->MainView().ColorDraws);
  EXPECT_FALSE(p.window->Commands().Action(CommandId::ViewColorDraws)->isChecked());
}

TEST_F(MainWindowTest, BatchSwitchesEndTheProgramAfterInitialisation) {
  struct Case {
    std::vector<std::string> args;
    bool keeps_running;
  } cases[] = {{{}, true}, {{"/LOADONLY"}, false}, {{"--fullrefresh"}, false}, {{"fullrecreate=1"}, true}};
  for (const auto& k : cases) {
    Program p(dir_.Path(), k.args);
    EXPECT_EQ(p.Start(), k.keeps_running) << (k.args.empty() ? "" : k.args[0]);
    EXPECT_TRUE(p.host.Messages.empty());
  }
}

TEST_F(MainWindowTest, ExportsTheDrawsListAsAWorkbook) {
  WriteDraws(4);
  Program p(dir_.Path());
  ASSERT_TRUE(p.Start());
  const QString path = QString::fromStdString((dir_ / "draws").string());
  p.window->ChooseFile = [&](const QString&, const QString&, bool save) {
    EXPECT_TRUE(save);
    return path;
  };
  ASSERT_TRUE(p.window->Commands().Run(CommandId::DrawsXlsExport));
  EXPECT_TRUE(p.host.Messages.empty());
  const auto bytes = support::ReadFileText(dir_ / "draws.xlsx");
  ASSERT_GT(bytes.size(), 4u);
  EXPECT_EQ(bytes.substr(0, 2), "PK");  // an Office Open XML package is a zip archive
}

}  // namespace
}  // namespace kelmora::gui
