// The online script library through the Session, against an HTTPS server on loopback whose
// answers each test sets: the form fields sent, the reading of answers and their edge cases, and
// what the commands leave in the view and the current script.

#include <map>
#include <mutex>

#include <fmt/format.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "common/http_test_server.h"
#include "common/temp_dir.h"
#include "net/script_library.h"
#include "scripts/script.h"
#include "shell/commands.h"
#include "shell/library_state.h"
#include "shell/recording_host.h"
#include "shell/script_state.h"
#include "shell/session.h"
#include "support/files.h"

namespace kelmora::shell {
namespace {

using kelmora::testing::MakeCert;
using kelmora::testing::TempDir;
using kelmora::testing::TestCert;
using kelmora::testing::TestHttpServer;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr const char* MyMail = "me@example.org";

struct Request {
  std::string Path;
  std::multimap<std::string, std::string> Fields;
  std::string Field(const std::string& name) const {
    const auto it = Fields.find(name);
    return it == Fields.end() ? "(missing)" : it->second;
  }
};

// One catalogue row as the service writes it.
std::string Row(int id, const std::string& title, const std::string& mail, const std::string& extra = "") {
  return fmt::format("<row><id>{}</id><key_cl_name>Автор {}</key_cl_name><key_cl_mail>{}</key_cl_mail>"
                     "<key_cl_lcid>1049</key_cl_lcid><app_name>Kelmora_4r32</app_name><app_ver>0.1.0.0</app_ver>"
                     "<app_guid>{}</app_guid><uniapps>0</uniapps><publics>1</publics>"
                     "<created>2026-01-02 03:04:05</created><rating_avg>4.5</rating_avg><rating_cnt>2</rating_cnt>"
                     "<rating_you>0</rating_you><downloads>7</downloads><last_download></last_download>"
                     "<title>{}</title><descr>{}</descr>{}</row>",
                     id, id, mail, net::AppGuid, net::EncodeBase64(title), net::EncodeBase64("описание"), extra);
}

std::string Result(const std::string& rows) { return fmt::format("<result>{}</result>", rows); }

class LibraryStateTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ca_.WritePem(dir_ / "ca.pem");
    server_.Server().Post(R"(/scripts/(\w+\.php))", [this](const httplib::Request& req, httplib::Response& res) {
      std::lock_guard<std::mutex> lock(mutex_);
      Request r{req.matches[1], {}};
      for (const auto& [name, value] : req.params) r.Fields.emplace(name, value);
      requests_.push_back(r);
      res.set_content(answers_[r.Path], "text/xml");
    });
    server_.Start();
    support::WriteFileAtomic(dir_ / "Kelmora_4r32.ini",
                             fmt::format("[NETWORK]\r\nCatalogUrl={}\r\nCaFile={}\r\nUserName=Me\r\nUserMail={}\r\n",
                                         server_.Url(""), (dir_ / "ca.pem").string(), MyMail));
    SessionOptions options;
    options.DataDir = dir_.Path();
    session_ = std::make_unique<Session>(host_, options);
    session_->Create();
    session_->Initialise();
    host_.Clear();
  }

  void Answer(const std::string& script, const std::string& text) {
    std::lock_guard<std::mutex> lock(mutex_);
    answers_[script] = text;
  }
  std::vector<Request> Requests(const std::string& script) {
    std::lock_guard<std::mutex> lock(mutex_);
    std::vector<Request> out;
    for (const auto& r : requests_)
      if (r.Path == script) out.push_back(r);
    return out;
  }
  LibraryState& Library() { return session_->Library(); }
  // Loads a catalogue of these rows and selects the row.
  void Load(const std::string& rows, int select = -1) {
    Answer("scr_getlist.php", Result(rows));
    Library().RefreshScriptLibrary();
    Library().Select(select);
  }
  std::vector<std::string> Errors() const { return host_.MessagesOf(MessageKind::Error); }
  // A dialog that confirms `data` at once (validated as OK would).
  LibraryState::EditProperties Confirming(net::tScriptData data) {
    return [data](const net::tScriptData&, bool, const LibraryState::Validate& validate) -> std::optional<net::tScriptData> {
      if (validate(data)) return std::nullopt;  // the dialog stays open; the user gives up
      return data;
    };
  }
  net::tScriptData Data(const std::string& title, const std::string& author = "Я") {
    net::tScriptData d;
    d.Title = title;
    d.Author = author;
    d.Lcid = 1049;
    return d;
  }

  TempDir dir_;
  TestCert ca_ = MakeCert("Kelmora Test CA", nullptr, "", true);
  TestCert cert_ = MakeCert("localhost", &ca_, "DNS:localhost,IP:127.0.0.1", false);
  TestHttpServer server_{cert_};
  std::mutex mutex_;
  std::map<std::string, std::string> answers_;
  std::vector<Request> requests_;
  RecordingHost host_;
  std::unique_ptr<Session> session_;
};

TEST_F(LibraryStateTest, TheFilterIndexMinusOneIsSentWithTheIdentity) {
  Load(Row(1, "a", MyMail));
  Library().SetFilterIndex(0);  // "Скрытые"
  const auto sent = Requests("scr_getlist.php");
  ASSERT_EQ(sent.size(), 2u);
  EXPECT_EQ(sent[0].Field("fltid"), "1");  // the default, "Все, кроме скрытых (по умолчанию)"
  EXPECT_EQ(sent[1].Field("fltid"), "-1");
  EXPECT_EQ(sent[0].Field("appid"), net::AppGuid);
  EXPECT_EQ(sent[0].Field("cl_mail"), MyMail);
  EXPECT_EQ(sent[0].Field("cl_name"), "Me");
  EXPECT_EQ(session_->View().ReadInt(MainWindowSection, "ScriptLibraryFilter", -9), 0);
  EXPECT_THAT(host_.StatusTexts, ::testing::Contains("Загрузка online-каталога сценариев..."));
  EXPECT_TRUE(session_->IsIdle());
}

TEST_F(LibraryStateTest, ReadsTheEntriesAndShowsTheirCells) {
  Load(Row(5, "Мой сценарий", "ME@example.org", "") + Row(6, "Чужой", "other@example.org"));
  ASSERT_EQ(Library().Entries().size(), 2u);
  const auto& mine = Library().Entries()[0];
  EXPECT_TRUE(mine.Mine);  // the mail compares ignoring case
  EXPECT_TRUE(mine.Editable);
  EXPECT_FALSE(Library().Entries()[1].Mine);
  std::vector<std::string> cells;
  for (int c = 0; c < LibraryState::ColumnCount; ++c) cells.push_back(Library().Cell(mine, c));
  EXPECT_EQ(cells[0], "Мой");
  EXPECT_EQ(cells[1], "Мой сценарий");
  EXPECT_EQ(cells[5], "RUS");
  EXPECT_EQ(cells[7], "4.500");
  EXPECT_EQ(cells[9], "");
  EXPECT_EQ(cells[11], "");  // no last download
  EXPECT_EQ(cells[12], "описание");
}

TEST_F(LibraryStateTest, AnEntryForAnotherProgramCannotBeDownloadedReplacedOrDeleted) {
  std::string row = Row(9, "Чужой формат", MyMail);
  row.replace(row.find(net::AppGuid), std::string(net::AppGuid).size(), "{00000000-0000-0000-0000-000000000000}");
  Load(row, 0);
  const auto& entry = *Library().SelectedEntry();
  EXPECT_TRUE(entry.Mine);
  EXPECT_FALSE(entry.Compatible);
  EXPECT_FALSE(entry.Editable);
  const TCommandState state = CommandStateOf(*session_);
  EXPECT_FALSE(CommandEnabled(CommandId::ScriptLibraryDownload, state));
  EXPECT_FALSE(CommandEnabled(CommandId::ScriptLibraryDelete, state));
  EXPECT_FALSE(CommandEnabled(CommandId::ScriptLibraryReplace, state));
  EXPECT_TRUE(CommandEnabled(CommandId::ScriptLibraryView, state));
  host_.Answers = {true};
  EXPECT_FALSE(Library().DownloadSelected());
  EXPECT_FALSE(Library().DeleteScriptEntry());
  EXPECT_FALSE(Library().ReplaceScript(Confirming(Data("x"))));
  EXPECT_THAT(Requests("scr_getdata.php"), IsEmpty());
  EXPECT_THAT(Requests("scr_putscript.php"), IsEmpty());
}

TEST_F(LibraryStateTest, AHiddenEntryShowsHiddenChecksHideAndAllowsRemovingTheRating) {
  std::string row = Row(3, "Скрытый", "other@example.org");
  row.replace(row.find("<rating_you>0"), 13, "<rating_you>-1");
  Load(row, 0);
  EXPECT_EQ(Library().Cell(*Library().SelectedEntry(), 9), "Скрытый");
  const TCommandState state = CommandStateOf(*session_);
  EXPECT_TRUE(CommandChecked(CommandId::ScriptLibraryHide, state));
  EXPECT_FALSE(CommandChecked(CommandId::ScriptLibraryRate1, state));
  EXPECT_TRUE(CommandEnabled(CommandId::ScriptLibraryRate0, state));
}

TEST_F(LibraryStateTest, AnEmptyTitleNeverReachesTheServerAndATakenTitleKeepsTheDialogOpen) {
  session_->Script().AddScriptLine("");
  Load("");
  EXPECT_FALSE(Library().PublishScript(Confirming(Data("   "))));
  EXPECT_THAT(Errors(), ElementsAre("Название сценария должно быть указано обязательно!"));
  EXPECT_THAT(Requests("scr_chktitle.php"), IsEmpty());

  host_.Clear();
  Answer("scr_chktitle.php", Result("<row><ret_code>1</ret_code></row>"));
  std::optional<std::string> focus;
  EXPECT_FALSE(Library().PublishScript([&](const net::tScriptData&, bool, const LibraryState::Validate& validate) {
    focus = validate(Data(" Занято ")).value_or("");
    return std::optional<net::tScriptData>();
  }));
  EXPECT_EQ(focus, "title");
  EXPECT_THAT(Errors(), ElementsAre("Сценарий с таким названием уже существует!\rВыберите другое название."));
  ASSERT_EQ(Requests("scr_chktitle.php").size(), 1u);
  EXPECT_EQ(Requests("scr_chktitle.php")[0].Field("scr_title"), "Занято");
  EXPECT_EQ(Requests("scr_chktitle.php")[0].Field("scr_id"), "-1");
  EXPECT_THAT(Requests("scr_putscript.php"), IsEmpty());
}

struct SaveCase {
  const char* Answer;
  bool Published;
};

class PublishAnswerTest : public LibraryStateTest, public ::testing::WithParamInterface<SaveCase> {};

TEST_P(PublishAnswerTest, OnlyAPositiveIdentifierIsASavedScript) {
  session_->Script().AddScriptLine("");
  session_->Script().AddScriptLine("");
  Load(Row(1, "a", "other@example.org"));
  Answer("scr_chktitle.php", Result("<row><ret_code>0</ret_code></row>"));
  Answer("scr_putscript.php", GetParam().Answer);
  EXPECT_EQ(Library().PublishScript(Confirming(Data("Новый"))), GetParam().Published);
  EXPECT_THAT(Errors(), IsEmpty());
  ASSERT_EQ(Requests("scr_putscript.php").size(), 1u);
  const Request put = Requests("scr_putscript.php")[0];
  EXPECT_EQ(put.Field("del_mode"), "0");
  EXPECT_EQ(put.Field("scr_script"), "\\r\\n");  // two empty lines joined with CR LF, C-escaped
  EXPECT_EQ(Library().Entries().size(), GetParam().Published ? 2u : 1u);
  if (GetParam().Published) {
    const auto* added = Library().SelectedEntry();
    ASSERT_NE(added, nullptr);
    EXPECT_EQ(added->Id, 12);
    EXPECT_EQ(added->Title, "Новый");
    EXPECT_TRUE(added->Mine && added->Editable && added->Compatible);
  }
}

INSTANTIATE_TEST_SUITE_P(Cases, PublishAnswerTest,
                         ::testing::Values(SaveCase{"<result><row><id_scripts>0</id_scripts></row></result>", false},
                                           SaveCase{"<result></result>", false},
                                           SaveCase{"<result><row><id_scripts>12</id_scripts></row></result>", true}));

TEST_F(LibraryStateTest, ADeleteAnsweredZeroRemovesTheRowAndAnyOtherAnswerKeepsIt) {
  Load(Row(4, "Мой", MyMail) + Row(5, "Ещё", MyMail), 1);
  Answer("scr_putscript.php", Result("<row><id_scripts>5</id_scripts></row>"));
  host_.Answers = {true};
  EXPECT_FALSE(Library().DeleteScriptEntry());
  EXPECT_EQ(Library().Entries().size(), 2u);
  EXPECT_EQ(host_.Questions.back().Text, "Вы действительно хотите удалить сценарий \"Ещё\"?");

  Answer("scr_putscript.php", Result("<row><id_scripts>0</id_scripts></row>"));
  host_.Answers = {true};
  EXPECT_TRUE(Library().DeleteScriptEntry());
  ASSERT_EQ(Library().Entries().size(), 1u);
  EXPECT_EQ(Library().Entries()[0].Id, 4);
  const Request del = Requests("scr_putscript.php").back();
  EXPECT_EQ(del.Field("del_mode"), "1");
  EXPECT_EQ(del.Field("scr_script"), "(missing)");
}

TEST_F(LibraryStateTest, ARatingAnswerWithAResultButNoRowFails) {
  Load(Row(2, "a", "other@example.org"), 0);
  Answer("scr_setrate.php", "<result></result>");
  EXPECT_FALSE(Library().RateSelected(-1));
  EXPECT_THAT(Errors(), ElementsAre("Ошибка сохранения оценки online-сценария!\r\rКод возврата: -1"));
  // No "<result>" at all: false, and nothing is shown.
  host_.Clear();
  Answer("scr_setrate.php", "nothing");
  EXPECT_FALSE(Library().RateSelected(0));
  EXPECT_THAT(Errors(), IsEmpty());
}

TEST_F(LibraryStateTest, ARatingAsksForAComment) {
  Load(Row(2, "a", "other@example.org"), 0);
  Answer("scr_setrate.php", Result("<row><res_code>1</res_code></row>"));
  host_.PromptAnswers = {std::nullopt, std::string("Хорошо \"весьма\"")};
  EXPECT_FALSE(Library().RateSelected(4));  // cancelled
  EXPECT_THAT(Requests("scr_setrate.php"), IsEmpty());
  EXPECT_TRUE(Library().RateSelected(4));
  const Request rate = Requests("scr_setrate.php").back();
  EXPECT_EQ(rate.Field("rate_value"), "4");
  EXPECT_EQ(rate.Field("rate_notes"), "Хорошо \\\"весьма\\\"");
  EXPECT_EQ(Requests("scr_getlist.php").size(), 2u);  // refreshed after the rating
}

TEST_F(LibraryStateTest, ARefreshKeepsTheSelectionOnTheSameEntry) {
  Load(Row(1, "a", MyMail) + Row(2, "b", MyMail) + Row(3, "c", MyMail), 1);
  Answer("scr_getlist.php", Result(Row(3, "c", MyMail) + Row(1, "a", MyMail) + Row(2, "b", MyMail)));
  Library().RefreshScriptLibrary();
  ASSERT_NE(Library().SelectedEntry(), nullptr);
  EXPECT_EQ(Library().SelectedEntry()->Id, 2);
  Answer("scr_getlist.php", Result(Row(3, "c", MyMail)));
  Library().RefreshScriptLibrary();
  EXPECT_EQ(Library().SelectedEntry(), nullptr);
}

TEST_F(LibraryStateTest, RowsBeforeAFailingRowStay) {
  Load(Row(1, "a", MyMail) + "<row><error>База данных недоступна</error></row>" + Row(2, "b", MyMail));
  ASSERT_EQ(Library().Entries().size(), 1u);
  EXPECT_THAT(Errors(), ElementsAre("Ошибка загрузки каталога online-сценариев!\r\rБаза данных недоступна"));
  EXPECT_TRUE(session_->IsIdle());
  EXPECT_EQ(host_.StatusTexts.back(), "");
}

TEST_F(LibraryStateTest, HidingThePanelEmptiesTheViewAndShowingLoadsItAgain) {
  Load(Row(1, "a", MyMail), 0);
  Library().ToggleShown();
  EXPECT_FALSE(Library().Shown());
  EXPECT_THAT(Library().Entries(), IsEmpty());
  EXPECT_EQ(Requests("scr_getlist.php").size(), 1u);
  Library().ToggleShown();
  EXPECT_EQ(Library().Entries().size(), 1u);
  EXPECT_EQ(Requests("scr_getlist.php").size(), 2u);
  EXPECT_TRUE(session_->View().ReadBool(MainWindowSection, "ScriptLibraryOn", false));
}

TEST_F(LibraryStateTest, ADownloadReplacesTheCurrentScriptAndSavesIt) {
  session_->Script().AddScriptLine("старая строка");
  Load(Row(1, "a", "other@example.org"), 0);
  Answer("scr_getdata.php", Result(fmt::format("<row><script>{}</script></row>", net::EncodeBase64("первая\r\nвторая"))));
  EXPECT_TRUE(Library().DownloadSelected());
  EXPECT_THAT(session_->Script().Lines(), ElementsAre("первая", "вторая"));
  EXPECT_THAT(scripts::ReadScriptFile(dir_ / "Kelmora_4r32.lss"), ElementsAre("первая", "вторая"));
  EXPECT_EQ(Requests("scr_getdata.php")[0].Field("scr_id"), "1");

  // An answer without a script row changes nothing.
  Answer("scr_getdata.php", Result("<row><other>1</other></row>"));
  EXPECT_FALSE(Library().DownloadSelected());
  EXPECT_THAT(session_->Script().Lines(), ElementsAre("первая", "вторая"));
}

TEST_F(LibraryStateTest, ANonNumericIdentifierFailsTheRequest) {
  Load("<row><id>abc</id></row>");
  EXPECT_THAT(Library().Entries(), IsEmpty());
  ASSERT_EQ(Errors().size(), 1u);
  EXPECT_THAT(Errors()[0], ::testing::StartsWith("Ошибка загрузки каталога online-сценариев!\r\r"));
}

}  // namespace
}  // namespace kelmora::shell
