// The proxy dialog, the start-up download question and the loadonly start, on a local results
// server. With KELMORA_SCREENSHOTS set to a folder the proxy dialog's picture is saved there.

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <fmt/format.h>
#include <gtest/gtest.h>

#include "common/http_test_server.h"
#include "gui/command_actions.h"
#include "gui/gui_fixture.h"
#include "gui/proxy_dialog.h"
#include "gui/qt_host.h"
#include "gui/small_windows.h"
#include "gui/user_identity_dialog.h"
#include "lottery/draws.h"
#include "support/files.h"
#include "support/ini_file.h"

namespace kelmora::gui {
namespace {

using shell::CommandId;
using testing::Program;
using testing::WhenDialogOpens;

constexpr const char* ResultsCsv =
    "Date,Number,c,d,h,s\r\n05/11/2023,2,A,K,Q,J\r\n04/11/2023,1,7,8,9,10\r\n";

void Keep(const QPixmap& shot, const char* name) {
  ASSERT_FALSE(shot.isNull()) << name;
  const QByteArray out = qgetenv("KELMORA_SCREENSHOTS");
  if (!out.isEmpty()) {
    QDir().mkpath(QString::fromLocal8Bit(out));
    EXPECT_TRUE(shot.save(QString::fromLocal8Bit(out) + QLatin1Char('/') + QString::fromLatin1(name), "PNG")) << name;
  }
}

bool FieldsEnabled(const ProxyDialog& d) {
  return d.ServerEdit()->isEnabled() && d.PortEdit()->isEnabled() && d.UserEdit()->isEnabled() &&
         d.PasswordEdit()->isEnabled();
}
bool FieldsDisabled(const ProxyDialog& d) {
  return !d.ServerEdit()->isEnabled() && !d.PortEdit()->isEnabled() && !d.UserEdit()->isEnabled() &&
         !d.PasswordEdit()->isEnabled();
}

lottery::TProxy Manual() {
  lottery::TProxy p;
  p.Mode = 2;
  p.Server = "proxy.test";
  p.Port = 3128;
  p.Username = "user";
  p.Password = "secret";
  p.Saved = true;
  return p;
}

TEST(ProxyDialogTest, TheFieldsAreEnabledOnlyForTheManualChoice) {
  ProxyDialog dialog(nullptr, Manual());
  EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Параметры proxy-сервера"));
  EXPECT_TRUE(dialog.Choice(2)->isChecked());
  EXPECT_TRUE(FieldsEnabled(dialog));
  EXPECT_EQ(dialog.ServerEdit()->text(), QStringLiteral("proxy.test"));
  EXPECT_EQ(dialog.PortEdit()->value(), 3128);
  EXPECT_EQ(dialog.PasswordEdit()->echoMode(), QLineEdit::Password);
  dialog.Choice(0)->click();
  EXPECT_TRUE(FieldsDisabled(dialog));
  dialog.Choice(1)->click();
  EXPECT_TRUE(FieldsDisabled(dialog));
  dialog.Choice(2)->click();
  EXPECT_TRUE(FieldsEnabled(dialog));
}

TEST(ProxyDialogTest, OpeningShowsTheModeAndAPortInRange) {
  const struct {
    int Mode;
    int Port;
    int Checked;
    int ShownPort;
  } cases[] = {{0, 8080, 0, 8080}, {1, 0, 1, 80}, {2, 3128, 2, 3128}, {7, 70000, 0, 80}};
  for (const auto& c : cases) {
    lottery::TProxy p;
    p.Mode = static_cast<uint8_t>(c.Mode);
    p.Port = c.Port;
    ProxyDialog dialog(nullptr, p);
    EXPECT_TRUE(dialog.Choice(c.Checked)->isChecked()) << c.Mode;
    EXPECT_EQ(dialog.PortEdit()->value(), c.ShownPort) << c.Mode;
  }
}

TEST(ProxyDialogTest, TheResultOfEachChoice) {
  {
    ProxyDialog dialog(nullptr, Manual());
    dialog.ServerEdit()->setText(QStringLiteral("typed.test"));
    dialog.Choice(1)->click();  // automatic empties the server fields even when typed
    const auto r = dialog.Result();
    EXPECT_EQ(r.Mode, 1);
    EXPECT_EQ(r.Server, "");
    EXPECT_EQ(r.Port, 0);
    EXPECT_EQ(r.Username, "");
    EXPECT_EQ(r.Password, "");
    EXPECT_FALSE(r.Saved);
  }
  {
    ProxyDialog dialog(nullptr, Manual());
    dialog.Choice(0)->click();  // no proxy keeps what was typed
    const auto r = dialog.Result();
    EXPECT_EQ(r.Mode, 0);
    EXPECT_EQ(r.Server, "proxy.test");
    EXPECT_EQ(r.Password, "secret");
    EXPECT_FALSE(r.Saved);
  }
  {
    lottery::TProxy none;
    ProxyDialog dialog(nullptr, none);
    dialog.Choice(2)->click();
    dialog.ServerEdit()->setText(QStringLiteral("10.0.0.1"));
    dialog.PortEdit()->setValue(8888);
    const auto r = dialog.Result();
    EXPECT_EQ(r.Mode, 2);
    EXPECT_EQ(r.Server, "10.0.0.1");
    EXPECT_EQ(r.Port, 8888);
  }
}

TEST(ProxyDialogTest, IsDrawnWithEveryCaption) {
  ProxyDialog dialog(nullptr, Manual());
  dialog.show();
  QApplication::processEvents();
  for (const char* caption : {"Не использовать proxy-сервер", "Автоматический поиск сервера (возможны задержки)",
                              "Ручной выбор proxy-сервера:"}) {
    bool found = false;
    for (auto* b : dialog.findChildren<QRadioButton*>()) found |= b->text() == QString::fromUtf8(caption);
    EXPECT_TRUE(found) << caption;
  }
  EXPECT_GE(dialog.ServerEdit()->width(), 200);
  EXPECT_EQ(dialog.UserEdit()->width(), dialog.ServerEdit()->width());
  EXPECT_EQ(dialog.PasswordEdit()->width(), dialog.ServerEdit()->width());
  EXPECT_LT(dialog.PortEdit()->width(), dialog.ServerEdit()->width());
  Keep(dialog.grab(), "proxy_dialog.png");
}

TEST(WaitWindowTest, TheCancelButtonMarksTheRequestToEnd) {
  WaitWindow wait(nullptr);
  wait.SetText(QStringLiteral("Загрузка архива тиражей...\n\nПопытка 2, proxy 10.0.0.1 : 8080"));
  wait.show();
  QApplication::processEvents();
  Keep(wait.grab(), "wait_window.png");
  EXPECT_FALSE(wait.Cancelled());
  wait.CancelButton()->click();
  EXPECT_TRUE(wait.Cancelled());
  EXPECT_TRUE(wait.isVisible()) << "the operation closes it";
}

TEST(UserIdentityDialogTest, EditsTheNameAndTheAddressTrimmed) {
  UserIdentityDialog dialog(nullptr, "Иван", "");
  EXPECT_EQ(dialog.NameEdit()->text(), QStringLiteral("Иван"));
  dialog.NameEdit()->setText(QStringLiteral("  Пётр "));
  dialog.MailEdit()->setText(QStringLiteral(" petr@mail.test"));
  EXPECT_EQ(dialog.Name(), "Пётр");
  EXPECT_EQ(dialog.Mail(), "petr@mail.test");
  dialog.show();
  QApplication::processEvents();
  Keep(dialog.grab(), "user_identity_dialog.png");
}

// ---- the main window ----

class NetworkWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    server_.Server().Get("/results", [this](const httplib::Request&, httplib::Response& res) {
      ++hits_;
      res.set_content(ResultsCsv, "application/octet-stream");
    });
    server_.Start();
    support::WriteFileAtomic(dir_ / "Kelmora_4r32.ini",
                             fmt::format("[NETWORK]\r\nResultsUrl={}\r\n", server_.Url("/results")));
  }
  void SetStartMode(int mode) {
    support::WriteFileAtomic(dir_ / "Kelmora_4r32.frm",
                             fmt::format("[TFormMain]\r\nDownloadDrawsOnStart={}\r\n", mode));
  }

  kelmora::testing::TempDir dir_;
  kelmora::testing::TestHttpServer server_;
  std::atomic<int> hits_{0};
};

const char* StartQuestion =
    "Обновить список тиражей?\r\rДля выполнения обновления необходимо действующее подключение к сети Интернет.";

TEST_F(NetworkWindowTest, TheStartUpQuestionDownloadsOnYes) {
  SetStartMode(0);
  Program p(dir_.Path());
  p.host.Answers = {true};
  ASSERT_TRUE(p.Start());
  ASSERT_EQ(p.host.Questions.size(), 1u);
  EXPECT_EQ(p.host.Questions[0].Text, StartQuestion);
  EXPECT_EQ(hits_, 1);
  EXPECT_EQ(p.session->Draws().size(), 2u);
  EXPECT_EQ(p.window->StatusPanel(MainWindow::ArchivePanel), QStringLiteral("Архив тиражей: 2"));
  p.Stop();
}

TEST_F(NetworkWindowTest, TheStartUpStepFollowsTheStoredChoice) {
  const struct {
    int Mode;
    size_t Questions;
    int Hits;
  } cases[] = {{0, 1, 0}, {1, 0, 1}, {2, 0, 0}};  // 0 answered No
  for (const auto& c : cases) {
    std::filesystem::remove(dir_ / "Kelmora_4r32.ldr");
    hits_ = 0;
    SetStartMode(c.Mode);
    Program p(dir_.Path());
    ASSERT_TRUE(p.Start());
    EXPECT_EQ(p.host.Questions.size(), c.Questions) << c.Mode;
    EXPECT_EQ(hits_, c.Hits) << c.Mode;
    p.Stop();
  }
}

TEST_F(NetworkWindowTest, LoadOnlyDownloadsAndEnds) {
  Program p(dir_.Path(), {"--loadonly"});
  EXPECT_FALSE(p.Start()) << "the batch start-up ends after the download";
  EXPECT_TRUE(p.host.Questions.empty());
  EXPECT_EQ(hits_, 1);
  p.Stop();
  EXPECT_EQ(lottery::LoadDrawsFile(dir_ / "Kelmora_4r32.ldr").size(), 2u);
}

TEST_F(NetworkWindowTest, TheCommandsDownloadChooseTheStartUpAndEditTheProxy) {
  SetStartMode(2);
  Program p(dir_.Path());
  ASSERT_TRUE(p.Start());
  ASSERT_TRUE(p.window->Commands().Run(CommandId::DrawsDownload));
  EXPECT_EQ(p.session->Draws().size(), 2u);

  ASSERT_TRUE(p.window->Commands().Run(CommandId::AutoDownload1));
  EXPECT_EQ(p.session->MainView().DownloadDrawsOnStart, 1);
  support::IniFile frm(dir_ / "Kelmora_4r32.frm");
  frm.Load();
  EXPECT_EQ(frm.ReadInt("TFormMain", "DownloadDrawsOnStart", -1), 1);

  WhenDialogOpens<ProxyDialog>([](ProxyDialog* d) {
    d->Choice(2)->click();
    d->ServerEdit()->setText(QStringLiteral("proxy.test"));
    d->PortEdit()->setValue(3128);
    d->accept();
  });
  ASSERT_TRUE(p.window->Commands().Run(CommandId::EditProxy));
  EXPECT_EQ(p.session->Settings().Proxy.Mode, 2);
  EXPECT_TRUE(p.session->Settings().Proxy.Saved);
  support::IniFile ini(dir_ / "Kelmora_4r32.ini");
  ini.Load();
  EXPECT_EQ(ini.ReadString("PROXY", "ProxyServer", ""), "proxy.test");
  EXPECT_EQ(ini.ReadInt("PROXY", "ProxyPort", 0), 3128);
  p.Stop();
}

}  // namespace
}  // namespace kelmora::gui
