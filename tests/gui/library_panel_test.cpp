// The online catalogue panel under the script list, its dialogs and the update dialog, against an
// HTTPS catalogue on loopback. With KELMORA_SCREENSHOTS set to a folder their pictures are saved.

#include <map>
#include <mutex>

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSortFilterProxyModel>
#include <QTableView>
#include <QTableWidget>
#include <fmt/format.h>
#include <gtest/gtest.h>

#include "common/http_test_server.h"
#include "common/temp_dir.h"
#include "gui/command_actions.h"
#include "gui/gui_fixture.h"
#include "gui/library_dialogs.h"
#include "gui/library_panel.h"
#include "gui/main_window.h"
#include "gui/qt_host.h"
#include "gui/script_page.h"
#include "net/script_library.h"
#include "shell/library_state.h"
#include "shell/script_state.h"
#include "shell/session.h"
#include "support/files.h"

namespace kelmora::gui {
namespace {

using kelmora::testing::MakeCert;
using kelmora::testing::TempDir;
using kelmora::testing::TestCert;
using kelmora::testing::TestHttpServer;
using shell::CommandId;
using testing::WhenDialogOpens;

constexpr const char* MyMail = "me@example.org";

void Keep(const QPixmap& shot, const char* name) {
  ASSERT_FALSE(shot.isNull()) << name;
  const QByteArray out = qgetenv("KELMORA_SCREENSHOTS");
  if (!out.isEmpty()) {
    QDir().mkpath(QString::fromLocal8Bit(out));
    EXPECT_TRUE(shot.save(QString::fromLocal8Bit(out) + QLatin1Char('/') + QString::fromLatin1(name), "PNG")) << name;
  }
}

std::string Row(int id, const std::string& title, const std::string& mail, int my_rate, const char* rating,
                bool is_public = true) {
  return fmt::format("<row><id>{}</id><key_cl_name>{}</key_cl_name><key_cl_mail>{}</key_cl_mail>"
                     "<key_cl_lcid>1049</key_cl_lcid><app_name>Kelmora_4r32</app_name><app_ver>0.1.0.0</app_ver>"
                     "<app_guid>{}</app_guid><uniapps>{}</uniapps><publics>{}</publics>"
                     "<created>2026-03-1{} 10:20:30</created><rating_avg>{}</rating_avg><rating_cnt>{}</rating_cnt>"
                     "<rating_you>{}</rating_you><downloads>{}</downloads><last_download>2026-04-01 08:00:00"
                     "</last_download><title>{}</title><descr>{}</descr></row>",
                     id, mail == MyMail ? "Я" : "Ольга", mail, net::AppGuid, id % 2, is_public ? 1 : 0, id % 10, rating,
                     id * 3, my_rate, id * 11, net::EncodeBase64(title),
                     net::EncodeBase64(fmt::format("Описание сценария «{}»", title)));
}

class LibraryPanelTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ca_.WritePem(dir_ / "ca.pem");
    answers_["scr_getlist.php"] = fmt::format(
        "<result>{}{}{}{}</result>", Row(11, "Суммы и пары", MyMail, 0, "4.25"),
        Row(12, "Каналы 4 из 8", "olga@example.org", 5, "3,5"), Row(13, "Цепочки без повторов", "olga@example.org", -1, "2"),
        Row(14, "Черновик", MyMail, 0, "0", false));
    answers_["scr_getdata.php"] =
        fmt::format("<result><row><script>{}</script></row></result>", net::EncodeBase64("первая\r\nвторая"));
    answers_["scr_chktitle.php"] = "<result><row><ret_code>0</ret_code></row></result>";
    answers_["scr_putscript.php"] = "<result><row><id_scripts>21</id_scripts></row></result>";
    answers_["scr_setrate.php"] = "<result><row><res_code>0</res_code></row></result>";
    answers_["scr_getrates.php"] =
        "<result><row><key_cl_name>Ольга</key_cl_name><rate>5</rate><created>2026-03-12 09:00:00</created>"
        "<app_name>Kelmora_4r32</app_name><app_ver>0.1.0.0</app_ver><notes>Отличный сценарий</notes></row>"
        "<row><key_cl_name>Иван</key_cl_name><rate>3</rate><created>2026-03-13 18:30:00</created>"
        "<app_name>Kelmora_4r32</app_name><app_ver>0.1.0.0</app_ver><notes>Так себе</notes></row></result>";
    server_.Server().Post(R"(/scripts/(\w+\.php))", [this](const httplib::Request& req, httplib::Response& res) {
      std::lock_guard<std::mutex> lock(mutex_);
      std::map<std::string, std::string> fields(req.params.begin(), req.params.end());
      sent_.push_back({req.matches[1], fields});
      res.set_content(answers_[req.matches[1]], "text/xml");
    });
    server_.Start();
    support::WriteFileAtomic(dir_ / "Kelmora_4r32.ini",
                             fmt::format("[NETWORK]\r\nCatalogUrl={}\r\nCaFile={}\r\nUserName=Me\r\nUserMail={}\r\n",
                                         server_.Url(""), (dir_ / "ca.pem").string(), MyMail));
    // The start-up update check stays off: it would look into the test binary's folder.
    support::WriteFileAtomic(dir_ / "Kelmora_4r32.frm", "[TFormMain]\r\nAutoUpdates=0\r\n");
    program_ = std::make_unique<testing::Program>(dir_.Path());
    ASSERT_TRUE(program_->Start());
    program_->window->resize(1280, 800);
    program_->window->SelectPage(QStringLiteral("Сценарий"));
    QApplication::processEvents();
  }
  void TearDown() override { program_->Stop(); }

  LibraryPanel& Panel() { return *program_->window->ScriptView()->Library(); }
  shell::Session& Session() { return *program_->session; }
  CommandActions& Commands() { return program_->window->Commands(); }
  std::vector<std::map<std::string, std::string>> Sent(const std::string& script) {
    std::lock_guard<std::mutex> lock(mutex_);
    std::vector<std::map<std::string, std::string>> out;
    for (const auto& [path, fields] : sent_)
      if (path == script) out.push_back(fields);
    return out;
  }
  // Selects the view row showing the entry with this Id.
  void SelectId(int id) {
    const auto& entries = Session().Library().Entries();
    for (size_t i = 0; i < entries.size(); ++i)
      if (entries[i].Id == id) Panel().SelectEntry(static_cast<int>(i));
    QApplication::processEvents();
    Commands().Update();
  }
  bool Enabled(CommandId id) { return Commands().Action(id)->isEnabled(); }
  bool Checked(CommandId id) { return Commands().Action(id)->isChecked(); }

  TempDir dir_;
  TestCert ca_ = MakeCert("Kelmora Test CA", nullptr, "", true);
  TestCert cert_ = MakeCert("localhost", &ca_, "DNS:localhost,IP:127.0.0.1", false);
  TestHttpServer server_{cert_};
  std::mutex mutex_;
  std::map<std::string, std::string> answers_;
  std::vector<std::pair<std::string, std::map<std::string, std::string>>> sent_;
  std::unique_ptr<testing::Program> program_;
};

TEST_F(LibraryPanelTest, ListsTheCatalogueSortedByRatingAndFiltersIt) {
  ASSERT_TRUE(Panel().isVisible());
  QTableView* list = Panel().List();
  ASSERT_EQ(list->model()->rowCount(), 4);
  // Ascending by "Рейтинг": 0, 2, 3.5, 4.25.
  EXPECT_EQ(list->model()->index(0, 1).data().toString(), QStringLiteral("Черновик"));
  EXPECT_EQ(list->model()->index(3, 1).data().toString(), QStringLiteral("Суммы и пары"));
  EXPECT_EQ(list->model()->index(3, 0).data().toString(), QStringLiteral("Мой"));
  EXPECT_EQ(list->model()->index(2, 7).data().toString(), QStringLiteral("3.500"));
  EXPECT_EQ(list->model()->index(1, 9).data().toString(), QStringLiteral("Скрытый"));
  EXPECT_EQ(Panel().FilterBox()->currentText(), QStringLiteral("Все, кроме скрытых (по умолчанию)"));
  EXPECT_EQ(Panel().FilterBox()->toolTip(), QStringLiteral("Фильтр сценариев"));
  Session().Script().AddScriptLine("");
  SelectId(11);
  Commands().Update();
  Keep(program_->window->grab(), "library_panel.png");

  Panel().FilterBox()->setCurrentIndex(3);  // "Только мои"
  QApplication::processEvents();
  ASSERT_EQ(Sent("scr_getlist.php").size(), 2u);
  EXPECT_EQ(Sent("scr_getlist.php")[1].at("fltid"), "2");
  // The refresh kept the selection on the same entry.
  ASSERT_NE(Session().Library().SelectedEntry(), nullptr);
  EXPECT_EQ(Session().Library().SelectedEntry()->Id, 11);
  EXPECT_EQ(list->selectionModel()->selectedRows().size(), 1);
}

TEST_F(LibraryPanelTest, TheCommandsFollowTheSelectedEntry) {
  Session().Script().AddScriptLine("");
  SelectId(13);  // someone else's, hidden by me
  EXPECT_TRUE(Checked(CommandId::ScriptLibraryHide));
  EXPECT_TRUE(Enabled(CommandId::ScriptLibraryRate0));
  EXPECT_FALSE(Enabled(CommandId::ScriptLibraryDelete));
  EXPECT_TRUE(Enabled(CommandId::ScriptLibraryDownload));
  SelectId(12);
  EXPECT_TRUE(Checked(CommandId::ScriptLibraryRate5));
  EXPECT_FALSE(Checked(CommandId::ScriptLibraryHide));
  SelectId(11);
  EXPECT_TRUE(Enabled(CommandId::ScriptLibraryReplace));
  EXPECT_TRUE(Enabled(CommandId::ScriptLibraryDelete));
  EXPECT_FALSE(Enabled(CommandId::ScriptLibraryRate0));
}

TEST_F(LibraryPanelTest, DownloadsHidesAndRates) {
  SelectId(12);
  ASSERT_TRUE(Commands().Run(CommandId::ScriptLibraryDownload));
  EXPECT_EQ(Session().Script().Lines(), (std::vector<std::string>{"первая", "вторая"}));
  EXPECT_EQ(program_->window->ScriptView()->List()->model()->rowCount(), 2);

  SelectId(12);
  ASSERT_TRUE(Commands().Run(CommandId::ScriptLibraryHide));
  program_->host.PromptAnswers = {std::string("полезно")};
  SelectId(12);
  ASSERT_TRUE(Commands().Run(CommandId::ScriptLibraryRate4));
  const auto rates = Sent("scr_setrate.php");
  ASSERT_EQ(rates.size(), 2u);
  EXPECT_EQ(rates[0].at("rate_value"), "-1");
  EXPECT_EQ(rates[1].at("rate_value"), "4");
  EXPECT_EQ(rates[1].at("rate_notes"), "полезно");
}

TEST_F(LibraryPanelTest, PublishingChecksTheTitleBeforeAnythingIsSent) {
  Session().Script().AddScriptLine("");
  Commands().Update();
  bool shot = false, kept_open = false;
  WhenDialogOpens<ScriptPropertiesDialog>([&](ScriptPropertiesDialog* d) {
    EXPECT_EQ(d->AuthorEdit()->text(), QStringLiteral("Me"));
    EXPECT_TRUE(d->Everyone()->isChecked());
    EXPECT_TRUE(d->OnlyHere()->isChecked());
    d->OkButton()->click();  // no title yet
    kept_open = d->isVisible();
    d->TitleEdit()->setText(QStringLiteral("  Мой новый сценарий "));
    d->DescrEdit()->setPlainText(QStringLiteral("Две строки\nописания"));
    d->AnyProgram()->setChecked(true);
    Keep(d->grab(), "script_properties_dialog.png");
    shot = true;
    d->OkButton()->click();
  });
  ASSERT_TRUE(Commands().Run(CommandId::ScriptLibraryUpload));
  EXPECT_TRUE(shot);
  EXPECT_TRUE(kept_open);
  ASSERT_FALSE(program_->host.Messages.empty());
  EXPECT_EQ(program_->host.Messages.front().Text, "Название сценария должно быть указано обязательно!");
  ASSERT_EQ(Sent("scr_chktitle.php").size(), 1u);
  EXPECT_EQ(Sent("scr_chktitle.php")[0].at("scr_title"), "Мой новый сценарий");
  ASSERT_EQ(Sent("scr_putscript.php").size(), 1u);
  EXPECT_EQ(Sent("scr_putscript.php")[0].at("scr_uniapps"), "1");
  EXPECT_EQ(Sent("scr_putscript.php")[0].at("scr_descr"), "Две строки\\nописания");
  ASSERT_NE(Session().Library().SelectedEntry(), nullptr);
  EXPECT_EQ(Session().Library().SelectedEntry()->Id, 21);
  EXPECT_EQ(Panel().List()->selectionModel()->selectedRows().size(), 1);
}

TEST_F(LibraryPanelTest, TheRatingsWindowAndTheReadOnlyProperties) {
  SelectId(12);
  bool rates_seen = false;
  WhenDialogOpens<ScriptRatesDialog>([&](ScriptRatesDialog* d) {
    EXPECT_EQ(d->windowTitle(), QStringLiteral("Оценки пользователей"));
    EXPECT_EQ(d->List()->rowCount(), 2);
    Keep(d->grab(), "script_rates_dialog.png");
    rates_seen = true;
    d->reject();
  });
  ASSERT_TRUE(Commands().Run(CommandId::ScriptLibraryRates));
  EXPECT_TRUE(rates_seen);

  bool read_only = false;
  WhenDialogOpens<ScriptPropertiesDialog>([&](ScriptPropertiesDialog* d) {
    read_only = d->TitleEdit()->isReadOnly() && !d->OkButton()->isVisible() && !d->LanguageBox()->isEnabled();
    EXPECT_EQ(d->TitleEdit()->text(), QStringLiteral("Каналы 4 из 8"));
    d->reject();
  });
  ASSERT_TRUE(Commands().Run(CommandId::ScriptLibraryView));
  EXPECT_TRUE(read_only);
  EXPECT_TRUE(Sent("scr_putscript.php").empty());
}

TEST_F(LibraryPanelTest, HidingThePanelEmptiesIt) {
  ASSERT_TRUE(Commands().Run(CommandId::ScriptLibrary));
  EXPECT_FALSE(Panel().isVisible());
  EXPECT_EQ(Panel().List()->model()->rowCount(), 0);
  ASSERT_TRUE(Commands().Run(CommandId::ScriptLibrary));
  EXPECT_TRUE(Panel().isVisible());
  EXPECT_EQ(Panel().List()->model()->rowCount(), 4);
}

TEST(UpdateDialogTest, ShowsBothVersionsAndTheNotes) {
  net::TUpdateVersionInfo offer;
  offer.VerId = "0.2.0.7";
  offer.Description = "Kelmora 4r32 0.2 (сборка 7)";
  UpdateInformerDialog dialog(nullptr, "0.1.0.0", offer, {"Новое:", "- online-каталог сценариев", "- самообновление"});
  dialog.show();
  QApplication::processEvents();
  EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Найдена новая версия программы"));
  EXPECT_TRUE(dialog.Notes()->isReadOnly());
  EXPECT_EQ(dialog.InstallButton()->text(), QStringLiteral("Установить"));
  Keep(dialog.grab(), "update_dialog.png");
}

}  // namespace
}  // namespace kelmora::gui
