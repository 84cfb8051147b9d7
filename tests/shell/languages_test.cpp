#include "shell/languages.h"

#include <gtest/gtest.h>

#include <fstream>

#include "common/temp_dir.h"
#include "shell/commands.h"
#include "shell/recording_host.h"
#include "shell/session.h"
#include "support/files.h"

namespace kelmora::shell {
namespace {

void Touch(const std::filesystem::path& path) {
  std::filesystem::create_directories(path.parent_path());
  std::ofstream(path) << "x";
}

TEST(LanguagesTest, RussianIsBuiltInAndEveryKnownTranslationFileAddsItsLanguage) {
  testing::TempDir exe, data;
  const auto folders = TranslationFolders(exe.Path(), data.Path());
  EXPECT_EQ(InterfaceLanguages(folders).size(), 1u);
  EXPECT_EQ(InterfaceLanguages(folders).front().Lcid, 1049);
  EXPECT_TRUE(InterfaceLanguages(folders).front().Translation.empty());

  Touch(data / "translations" / "Kelmora_4r32_ENU.qm");
  Touch(exe / "translations" / "Kelmora_4r32_ENU.qm");  // the executable's folder comes first
  Touch(data / "translations" / "Kelmora_4r32_UKR.qm");
  Touch(data / "translations" / "Kelmora_4r32_XYZ.qm");  // no such language
  Touch(data / "translations" / "Other_DEU.qm");         // not the program's
  const auto languages = InterfaceLanguages(folders);
  ASSERT_EQ(languages.size(), 3u);
  EXPECT_EQ(languages[0].Name, "Русский");
  EXPECT_EQ(languages[1].Lcid, 1033);
  EXPECT_EQ(languages[1].Translation, exe / "translations" / "Kelmora_4r32_ENU.qm");
  EXPECT_EQ(languages[2].Lcid, 1058);
  EXPECT_EQ(languages[2].Abbreviation, "UKR");
}

TEST(LanguagesTest, TheStoredLanguageIsTakenWhenThereElseItsPrimaryLanguageElseRussian) {
  const std::vector<TInterfaceLanguage> languages = {{1049, "Русский", "RUS", {}}, {1033, "English", "ENU", "e.qm"}};
  const struct {
    int Stored;
    bool NoLanguage;
    int Active;
  } cases[] = {{1033, false, 1033}, {1049, false, 1049}, {2057, false, 1033},  // English (UK) finds English
               {1058, false, 1049}, {0, false, 1049},    {1033, true, 1049}};
  for (const auto& k : cases)
    EXPECT_EQ(ActiveLanguage(languages, k.Stored, k.NoLanguage).Lcid, k.Active) << k.Stored << " " << k.NoLanguage;
  EXPECT_EQ(ActiveLanguage({}, 1033, false).Lcid, 1049);
}

TEST(LanguagesTest, TheStoredIdentifierIsReadFromTheViewStateFile) {
  testing::TempDir dir;
  EXPECT_EQ(StoredLanguage(dir / "none.frm"), 1033);
  support::WriteFileAtomic(dir / "a.frm", "[TFormMain]\r\nLanguage=1049\r\n");
  EXPECT_EQ(StoredLanguage(dir / "a.frm"), 1049);
  support::WriteFileAtomic(dir / "b.frm", "[TFormMain]\r\nLanguage=abc\r\n");
  EXPECT_EQ(StoredLanguage(dir / "b.frm"), 1033);
}

TEST(WebLinksTest, OnlyHttpAddressesAreOpened) {
  testing::TempDir dir;
  support::WriteFileAtomic(dir / "Kelmora_4r32.ini",
                         "[NETWORK]\r\nMainSiteUrl=https://club.example/\r\nBlogUrl=file:///etc/passwd\r\n"
                         "VkUrl=HTTP://club.example/vk\r\nOkUrl=/usr/bin/xterm\r\n");
  RecordingHost host;
  SessionOptions options;
  options.DataDir = dir.Path();
  Session session(host, options);
  session.Create();
  OpenWebLink(session, CommandId::urlMainSite);
  OpenWebLink(session, CommandId::urlVK);
  OpenWebLink(session, CommandId::urlBlog);
  OpenWebLink(session, CommandId::urlOK);
  OpenWebLink(session, CommandId::urlTG);  // none set
  EXPECT_EQ(host.OpenedDocuments, (std::vector<std::string>{"https://club.example/", "HTTP://club.example/vk"}));
  const auto errors = host.MessagesOf(MessageKind::Error);
  ASSERT_EQ(errors.size(), 2u);
  EXPECT_NE(errors[0].find("BlogUrl"), std::string::npos);
  EXPECT_NE(errors[1].find("OkUrl"), std::string::npos);
  ASSERT_EQ(host.MessagesOf(MessageKind::Attention).size(), 1u);
  EXPECT_NE(host.MessagesOf(MessageKind::Attention)[0].find("TelegramUrl"), std::string::npos);
}

}  // namespace
}  // namespace kelmora::shell
