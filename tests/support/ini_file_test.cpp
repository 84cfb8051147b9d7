#include "support/ini_file.h"

#include <gtest/gtest.h>

#include <string>

#include "support/encoding.h"
#include "support/error.h"
#include "support/files.h"
#include "common/temp_dir.h"

namespace kelmora::support {
namespace {

using kelmora::testing::TempDir;

TEST(IniFile, ParseAndCaseInsensitiveLookup) {
  IniFile ini;
  ini.Parse("[GLOBAL]\r\nMatrixCols=5\r\nChannelSize = 3 \r\n[Proxy]\r\nProxyServer=host.example\r\n");
  EXPECT_TRUE(ini.HasSection("global"));
  EXPECT_TRUE(ini.HasSection("PROXY"));
  EXPECT_FALSE(ini.HasSection("STAKES"));
  EXPECT_TRUE(ini.HasKey("Global", "matrixcols"));
  EXPECT_FALSE(ini.HasKey("Global", "ProxyServer"));
  EXPECT_EQ(ini.ReadInt("global", "MATRIXCOLS", 4), 5);
  EXPECT_EQ(ini.ReadInt("GLOBAL", "channelsize", 2), 3) << "blanks around key and value are dropped";
  EXPECT_EQ(ini.ReadString("proxy", "proxyserver", ""), "host.example");
  EXPECT_EQ(ini.Find("proxy", "none"), std::nullopt);
}

TEST(IniFile, CyrillicNamesCompareIgnoringCase) {
  IniFile ini;
  ini.Parse("[Избранное]\nСтатистика=NUMS\n");
  EXPECT_EQ(ini.ReadString("ИЗБРАННОЕ", "статистика", ""), "NUMS");
  ini.WriteString("избранное", "СТАТИСТИКА", "SUMS");
  EXPECT_EQ(ini.ToText(), "[Избранное]\r\nСтатистика=SUMS\r\n") << "the file's spelling of the names stays";
}

TEST(IniFile, Defaults) {
  IniFile ini;
  ini.Parse("[S]\nEmpty=\n");
  EXPECT_EQ(ini.ReadString("S", "Missing", "def"), "def");
  EXPECT_EQ(ini.ReadString("S", "Empty", "def"), "");
  EXPECT_EQ(ini.ReadInt("S", "Missing", 80), 80);
  EXPECT_EQ(ini.ReadInt("S", "Empty", 80), 80) << "an empty value reads as absent";
  EXPECT_EQ(ini.ReadReal("S", "Empty", -1.0L), -1.0L);
  EXPECT_TRUE(ini.ReadBool("Nope", "Missing", true));
}

TEST(IniFile, Booleans) {
  IniFile ini;
  ini.WriteBool("CDL", "UsePercents", true);
  ini.WriteBool("CDL", "UseAbsValues", false);
  EXPECT_EQ(ini.ReadString("CDL", "UsePercents", ""), "1");
  EXPECT_EQ(ini.ReadString("CDL", "UseAbsValues", ""), "0");
  ini.Parse("[S]\nA=1\nB=0\nC=-3\nD=17\nE=yes\n");
  EXPECT_TRUE(ini.ReadBool("S", "A", false));
  EXPECT_FALSE(ini.ReadBool("S", "B", true));
  EXPECT_TRUE(ini.ReadBool("S", "C", false));
  EXPECT_TRUE(ini.ReadBool("S", "D", false));
  EXPECT_THROW(ini.ReadBool("S", "E", false), Error);
}

TEST(IniFile, MalformedIntThrowsNamingSectionKeyAndValue) {
  IniFile ini;
  ini.Parse("[GLOBAL]\nMatrixCols=abc\nBig=99999999999\n");
  try {
    ini.ReadInt("GLOBAL", "MatrixCols", 4);
    FAIL() << "no exception";
  } catch (const Error& e) {
    EXPECT_STREQ(e.what(), "Некорректное значение \"abc\" ключа MatrixCols в секции GLOBAL");
  }
  EXPECT_THROW(ini.ReadInt("GLOBAL", "Big", 0), Error) << "does not fit in 32 bits";
  EXPECT_THROW(ini.ReadReal("GLOBAL", "MatrixCols", 0), Error);
}

TEST(IniFile, RealsWriteDotAndReadDotOrComma) {
  IniFile ini;
  ini.WriteReal("STAKES", "Cost", 1.5L);
  ini.WriteReal("CDL", "Count", 0.0L);
  ini.WriteReal("CDL", "Deviation", -1.0L);
  ini.WriteReal("CDL", "Level", 0.1L);
  EXPECT_EQ(ini.ReadString("STAKES", "Cost", ""), "1.5");
  EXPECT_EQ(ini.ReadString("CDL", "Count", ""), "0");
  EXPECT_EQ(ini.ReadString("CDL", "Deviation", ""), "-1");
  EXPECT_EQ(ini.ReadString("CDL", "Level", ""), "0.1");
  EXPECT_EQ(ini.ReadReal("CDL", "Level", 0), 0.1L);

  ini.Parse("[STAKES]\nCost=2,75\nProfit_0_Profit=1e3\nBad=1,2,3\n");
  EXPECT_EQ(ini.ReadReal("STAKES", "Cost", 0), 2.75L) << "a file written with a comma still reads";
  EXPECT_EQ(ini.ReadReal("STAKES", "Profit_0_Profit", 0), 1000.0L);
  EXPECT_THROW(ini.ReadReal("STAKES", "Bad", 0), Error);
}

TEST(IniFile, RealToIniTextRoundTrips) {
  EXPECT_EQ(RealToIniText(1.5L), "1.5");
  EXPECT_EQ(RealToIniText(0.0L), "0");
  EXPECT_EQ(RealToIniText(-1.0L), "-1");
  EXPECT_EQ(RealToIniText(0.1L), "0.1");
  const long double values[] = {static_cast<long double>(0.1), 1.0L / 3, 2.0L / 3, 1e-30L, 123456789.123456789L, -7e300L, 1e20L, 0.015L};
  IniFile ini;
  for (long double v : values) {
    std::string text = RealToIniText(v);
    EXPECT_EQ(text.find(','), std::string::npos) << text;
    ini.WriteString("S", "K", text);
    EXPECT_EQ(ini.ReadReal("S", "K", 0), v) << text;
  }
}

TEST(IniFile, WritesKeepOrderAndAppend) {
  IniFile ini;
  ini.Parse("[A]\r\nx=1\r\ny=2\r\n\r\n[B]\r\nz=3\r\n");
  ini.WriteInt("a", "Y", 20);
  ini.WriteInt("A", "w", 4);
  ini.WriteString("C", "k", "v");
  EXPECT_EQ(ini.ToText(), "[A]\r\nx=1\r\ny=20\r\nw=4\r\n\r\n[B]\r\nz=3\r\n\r\n[C]\r\nk=v\r\n");
  EXPECT_EQ(ini.Sections().size(), 3u);
  EXPECT_EQ(ini.Sections()[0].Entries[2].Key, "w");
}

TEST(IniFile, FreshDocument) {
  IniFile ini;
  ini.WriteInt("GLOBAL", "MatrixCols", 4);
  ini.WriteInt("GLOBAL", "ChannelSize", 2);
  ini.WriteReal("STAKES", "Cost", 2.5L);
  EXPECT_EQ(ini.ToText(), "[GLOBAL]\r\nMatrixCols=4\r\nChannelSize=2\r\n\r\n[STAKES]\r\nCost=2.5\r\n");
  ini.WriteString("GLOBAL", "CombsGenerateParameters", "1 2\r\n3");
  EXPECT_NE(ini.ToText().find("CombsGenerateParameters=1 2  3\r\n"), std::string::npos);
}

TEST(IniFile, CommentsAndOddLinesSurvive) {
  const std::string text =
      "; written by hand\r\n"
      "Orphan=1\r\n"
      "\r\n"
      "[GLOBAL]\r\n"
      "# matrix\r\n"
      "MatrixCols = 5\r\n"
      "not a key line\r\n"
      "ChannelSize=2\r\n"
      "; end of global\r\n"
      "\r\n"
      "[ PROXY ]   ; the proxy\r\n"
      "ProxyPort=8080\r\n";
  IniFile ini;
  ini.Parse(text);
  EXPECT_EQ(ini.ToText(), text) << "an unchanged document is written back as it was";
  EXPECT_FALSE(ini.HasKey("", "Orphan")) << "keys before the first section are ignored";
  EXPECT_EQ(ini.ReadInt("proxy", "ProxyPort", 80), 8080);
  EXPECT_EQ(ini.Sections()[0].Entries.size(), 2u);

  ini.WriteInt("GLOBAL", "ChannelSize", 3);
  ini.WriteInt("GLOBAL", "New", 1);
  ini.EraseKey("GLOBAL", "MatrixCols");
  EXPECT_EQ(ini.ToText(),
            "; written by hand\r\nOrphan=1\r\n\r\n[GLOBAL]\r\n# matrix\r\nnot a key line\r\nChannelSize=3\r\n"
            "New=1\r\n; end of global\r\n\r\n[ PROXY ]   ; the proxy\r\nProxyPort=8080\r\n");
}

TEST(IniFile, DuplicatesMergeAndFirstKeyWins) {
  IniFile ini;
  ini.Parse("[A]\nk=1\nk=2\n[B]\nq=0\n[a]\nm=3\n");
  EXPECT_EQ(ini.Sections().size(), 2u);
  EXPECT_EQ(ini.ReadInt("A", "k", 0), 1);
  EXPECT_EQ(ini.ReadInt("A", "m", 0), 3);
  ini.WriteInt("A", "k", 5);
  EXPECT_EQ(ini.ReadInt("A", "k", 0), 5);
  ini.EraseKey("A", "K");
  EXPECT_FALSE(ini.HasKey("A", "k")) << "every copy of the key goes";
}

TEST(IniFile, EraseSection) {
  IniFile ini;
  ini.Parse("[A]\r\nx=1\r\n[B]\r\ny=2\r\n");
  ini.EraseSection("a");
  EXPECT_FALSE(ini.HasSection("A"));
  EXPECT_EQ(ini.ToText(), "[B]\r\ny=2\r\n");
  ini.EraseSection("none");
  ini.EraseKey("none", "x");
  EXPECT_EQ(ini.Sections().size(), 1u);
}

TEST(IniFile, MissingFileLoadsEmpty) {
  TempDir dir;
  IniFile ini(dir / "Kelmora_4r32.ini");
  ini.Parse("[Stale]\nx=1\n");
  ini.Load();
  EXPECT_TRUE(ini.Sections().empty());
  EXPECT_EQ(ini.ToText(), "");
  EXPECT_EQ(ini.ReadInt("GLOBAL", "ChannelSize", 2), 2);
}

TEST(IniFile, UnreadableFileThrows) {
  TempDir dir;
  IniFile ini(dir.Path());  // a folder
  EXPECT_THROW(ini.Load(), Error);
}

TEST(IniFile, WriteThroughKeepsOtherSectionsByteForByte) {
  TempDir dir;
  const std::filesystem::path path = dir / "Kelmora_4r32.ini";
  const std::string proxy = "[PROXY]\r\nProxyMode = 2\r\nProxyServer=прокси.рф ; ours\r\nProxyPort=3128\r\n\r\n";
  const std::string shredding = "[SHREDDING]\r\nFormula1=(n1+n2)/(n3+n4)\r\nFormula1Digits=2\r\n";
  WriteFileAtomic(path, Utf8ToCp1251(proxy + "[GLOBAL]\r\nMatrixCols=4\r\nChannelSize=2\r\n\r\n" + shredding));

  IniFile ini(path);
  ini.Load();
  ini.WriteInt("GLOBAL", "ChannelSize", 3);
  ini.WriteString("GLOBAL", "MatrixSegments", "11112222");
  ini.Save();

  std::string bytes = ReadFileText(path);
  const std::string global = "[GLOBAL]\r\nMatrixCols=4\r\nChannelSize=3\r\nMatrixSegments=11112222\r\n\r\n";
  EXPECT_EQ(bytes, Utf8ToCp1251(proxy + global + shredding));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1) << "no temporary left";

  IniFile again(path);
  again.Load();
  EXPECT_EQ(again.ReadInt("global", "channelsize", 0), 3);
  EXPECT_EQ(again.ReadString("proxy", "proxyserver", ""), "прокси.рф ; ours");
}

TEST(IniFile, CyrillicValuesSurviveSaveAndLoadAsCp1251) {
  TempDir dir;
  const std::filesystem::path path = dir / "Kelmora_4r32.frm";
  IniFile ini(path);
  ini.WriteString("TFormMain", "Caption", "Ёжик в тумане");
  ini.WriteString("Секция", "Ключ", "Значение");
  ini.Save();

  std::string bytes = ReadFileText(path);
  EXPECT_EQ(bytes,
            "[TFormMain]\r\nCaption=\xA8\xE6\xE8\xEA \xE2 \xF2\xF3\xEC\xE0\xED\xE5\r\n\r\n"
            "[\xD1\xE5\xEA\xF6\xE8\xFF]\r\n\xCA\xEB\xFE\xF7=\xC7\xED\xE0\xF7\xE5\xED\xE8\xE5\r\n");

  IniFile loaded(path);
  loaded.Load();
  EXPECT_EQ(loaded.ReadString("tformmain", "caption", ""), "Ёжик в тумане");
  EXPECT_EQ(loaded.ReadString("СЕКЦИЯ", "ключ", ""), "Значение");
}

TEST(IniFile, SaveFailureKeepsTheOldFile) {
  TempDir dir;
  const std::filesystem::path path = dir / "f.ini";
  WriteFileAtomic(path, std::string_view("[A]\r\nx=1\r\n"));
  std::filesystem::create_directory(NextTemporaryPath(path));
  IniFile ini(path);
  ini.Load();
  ini.WriteInt("A", "x", 2);
  EXPECT_THROW(ini.Save(), Error);
  EXPECT_EQ(ReadFileText(path), "[A]\r\nx=1\r\n");
  EXPECT_THROW(IniFile().Save(), Error) << "no path";
}

}  // namespace
}  // namespace kelmora::support
