#include "shell/settings.h"

#include <gtest/gtest.h>

#include "common/temp_dir.h"
#include "lottery/comb_ops.h"
#include "support/error.h"
#include "support/files.h"

namespace kelmora::shell {
namespace {

using lottery::TConfigData;

TProgramSettings ReadAll(const support::IniFile& ini) {
  TProgramSettings s;
  ReadGenerationDefaults(ini, s.Generation);
  ReadAnalysisSettings(ini, s.Config);
  ReadShredding(ini, s.Shredding);
  ReadProxy(ini, s.Proxy);
  return s;
}

TEST(Settings, EmptyFileGivesTheDefaults) {
  const TProgramSettings s = ReadAll(support::IniFile());
  EXPECT_EQ(s.Config.ChannelSize, 2);
  EXPECT_EQ(s.Config.MatrixCols, 4);
  EXPECT_EQ(s.Config.MaxStake, 4);
  EXPECT_EQ(s.Config.Cost, 0);
  EXPECT_TRUE(s.Config.Profits.empty());
  EXPECT_EQ(s.Config.MatrixSegments, lottery::AllSegmentsOne());
  EXPECT_EQ(s.Config.Cdl.Count, 0);
  EXPECT_EQ(s.Config.Cdl.Deviation, -1);
  EXPECT_EQ(s.Config.Cdl.Level, 1);
  EXPECT_FALSE(s.Config.Cdl.UsePercents);
  EXPECT_EQ(s.Shredding.Formula[0], "(n1+n2)/(n3+n4)");
  EXPECT_EQ(s.Shredding.Formula[1], "(n3+n4)/(n1+n2)");
  EXPECT_EQ(s.Shredding.Formula[2], "(n1+n3)/(n2+n4)");
  EXPECT_EQ(s.Shredding.Digits, (std::array<uint8_t, 3>{2, 2, 2}));
  EXPECT_EQ(s.Proxy.Mode, 0);
  EXPECT_EQ(s.Proxy.Port, 80);
  EXPECT_EQ(s.Generation.Mode, 0);
  EXPECT_EQ(s.Generation.Parameters, "");
}

TEST(Settings, ProxyModeFollowsTheServerWhenAbsent) {
  support::IniFile with_server;
  with_server.Parse("[PROXY]\nProxyServer=proxy.local\n");
  EXPECT_EQ(ReadAll(with_server).Proxy.Mode, 2);
  support::IniFile explicit_mode;
  explicit_mode.Parse("[proxy]\nproxyserver=proxy.local\nPROXYMODE=1\n");
  EXPECT_EQ(ReadAll(explicit_mode).Proxy.Mode, 1);
}

TEST(Settings, ProfitRowsAreReadUpToTheirCountAndMoneyIsRounded) {
  support::IniFile ini;
  ini.Parse(
      "[STAKES]\nCost=1,5\nProfits=3\n"
      "Profit_0_Overlap=4\nProfit_0_Profit=1000\n"
      "Profit_1_Overlap=3\nProfit_1_Profit=25.25\n"
      "Profit_2_Overlap=2\nProfit_2_Profit=2\n"
      "Profit_3_Overlap=1\nProfit_3_Profit=99\n");
  const TConfigData c = ReadAll(ini).Config;
  EXPECT_EQ(c.Cost, 15000);
  ASSERT_EQ(c.Profits.size(), 3u);
  EXPECT_EQ(c.Profits[0], (lottery::TProfitItem{4, 10000000}));
  EXPECT_EQ(c.Profits[1], (lottery::TProfitItem{3, 252500}));
  EXPECT_EQ(c.Profits[2], (lottery::TProfitItem{2, 20000}));
}

TEST(Settings, ShortSegmentTextFillsTheRestWithOne) {
  support::IniFile ini;
  ini.Parse("[GLOBAL]\nMatrixSegments=1234\n");
  const auto seg = ReadAll(ini).Config.MatrixSegments;
  EXPECT_EQ(seg[0][0], 1);
  EXPECT_EQ(seg[0][1], 2);
  EXPECT_EQ(seg[0][2], 3);
  EXPECT_EQ(seg[0][3], 4);
  EXPECT_EQ(seg[0][4], 1);
  EXPECT_EQ(seg[3][7], 1);
}

TEST(Settings, MalformedValueKeepsTheKeysReadBeforeIt) {
  support::IniFile ini;
  ini.Parse("[GLOBAL]\nMatrixCols=6\nMatrixSegments=2\nChannelSize=abc\n[STAKES]\nMaxStake=7\n");
  TConfigData c;
  EXPECT_THROW(ReadAnalysisSettings(ini, c), support::Error);
  EXPECT_EQ(c.MatrixCols, 6);
  EXPECT_EQ(c.MatrixSegments[0][0], 2);
  EXPECT_EQ(c.ChannelSize, 2);
  EXPECT_EQ(c.MaxStake, 4);
}

TEST(Settings, ChannelSizeBelowOneIsTreatedAsOne) {
  support::IniFile ini;
  ini.Parse("[GLOBAL]\nChannelSize=0\n");
  EXPECT_EQ(ReadAll(ini).Config.ChannelSize, 1);
}

// Hand-edited sizes are read into the dialog's ranges; a channel size outside them is reported.
TEST(Settings, SizesAreClampedIntoTheDialogRanges) {
  const struct {
    const char* Text;
    int32_t MatrixCols, ChannelSize;
    size_t ProfitRows;
    const char* Problem;
  } cases[] = {
      {"[GLOBAL]\nMatrixCols=8\nChannelSize=8\n[STAKES]\nProfits=256\n", 8, 8, 256, ""},
      {"[GLOBAL]\nMatrixCols=9\nChannelSize=9\n", 8, 8, 0,
       "Некорректный размер канала: 9. Используется размер канала 8."},
      {"[GLOBAL]\nMatrixCols=2147483647\nChannelSize=2147483640\n[STAKES]\nProfits=2147483647\n", 8, 8, 256,
       "Некорректный размер канала: 2147483640. Используется размер канала 8."},
      {"[GLOBAL]\nMatrixCols=-2147483648\nChannelSize=-5\n[STAKES]\nProfits=-3\n", 1, 1, 0,
       "Некорректный размер канала: -5. Используется размер канала 1."},
  };
  for (const auto& c : cases) {
    support::IniFile ini;
    ini.Parse(c.Text);
    TConfigData config;
    std::string problem;
    ReadAnalysisSettings(ini, config, &problem);
    EXPECT_EQ(config.MatrixCols, c.MatrixCols) << c.Text;
    EXPECT_EQ(config.ChannelSize, c.ChannelSize) << c.Text;
    EXPECT_EQ(config.Profits.size(), c.ProfitRows) << c.Text;
    EXPECT_EQ(problem, c.Problem) << c.Text;
  }
}

TEST(Settings, SavingAGroupKeepsOtherSectionsAndRoundTrips) {
  testing::TempDir dir;
  const auto path = dir / "Kelmora_4r32.ini";
  support::WriteFileAtomic(path, std::string("[PROXY]\r\nProxyServer=host\r\nProxyPort=3128\r\n[Other]\r\nX=1\r\n"));

  TConfigData c;
  c.ChannelSize = 3;
  c.Cost = 12345;  // 1.2345
  c.Profits = {{4, 10000000}, {3, 5000}};
  c.Cdl.Deviation = -0.5L;
  c.Cdl.UseAbsValues = true;
  c.MatrixSegments[1][2] = 7;
  support::IniFile ini(path);
  ini.Load();
  WriteAnalysisSettings(ini, c);
  ini.Save();

  support::IniFile back(path);
  back.Load();
  EXPECT_EQ(back.ReadString("PROXY", "ProxyServer", ""), "host");
  EXPECT_EQ(back.ReadInt("PROXY", "ProxyPort", 0), 3128);
  EXPECT_EQ(back.ReadInt("Other", "X", 0), 1);
  TConfigData read;
  ReadAnalysisSettings(back, read);
  EXPECT_EQ(read, c);
}

TEST(Settings, ConfigListShowsEveryKeyWithItsFileText) {
  TProgramSettings s;
  s.Config.Profits = {{4, 10000000}};
  const auto entries = ListConfigEntries(s);
  auto value = [&](const std::string& section, const std::string& key) {
    for (const auto& e : entries)
      if (e.Section == section && e.Key == key) return e.Value;
    return std::string("<missing>");
  };
  EXPECT_EQ(value("GLOBAL", "ChannelSize"), "2");
  EXPECT_EQ(value("GLOBAL", "MatrixSegments"), std::string(32, '1'));
  EXPECT_EQ(value("STAKES", "Profits"), "1");
  EXPECT_EQ(value("STAKES", "Profit_0_Overlap"), "4");
  EXPECT_EQ(value("STAKES", "Profit_0_Profit"), "1000");
  EXPECT_EQ(value("CDL", "Deviation"), "-1");
  EXPECT_EQ(value("CDL", "UsePercents"), "0");
  EXPECT_EQ(value("SHREDDING", "Formula3Digits"), "2");
  EXPECT_EQ(value("PROXY", "ProxyMode"), "0");
  EXPECT_EQ(value("PROXY", "ProxyPort"), "80");
  EXPECT_EQ(entries.front().Key, "MatrixCols");
}

}  // namespace
}  // namespace kelmora::shell
