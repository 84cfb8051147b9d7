#include "shell/settings.h"

#include <algorithm>

#include <fmt/format.h>

#include "lottery/comb_ops.h"
#include "support/encoding.h"
#include "support/text.h"

namespace kelmora::shell {

namespace {

constexpr const char* Global = "GLOBAL";
constexpr const char* Stakes = "STAKES";
constexpr const char* Cdl = "CDL";
constexpr const char* Shredding = "SHREDDING";
constexpr const char* Proxy = "PROXY";

std::string FormulaKey(int i) { return fmt::format("Formula{}", i + 1); }
std::string DigitsKey(int i) { return fmt::format("Formula{}Digits", i + 1); }

}  // namespace

void ReadGenerationDefaults(const support::IniFile& ini, TGenerationDefaults& out) {
  out.Mode = static_cast<uint8_t>(std::clamp(ini.ReadInt(Global, "CombsGenerateMode", 0), 0, 4));
  out.Parameters = support::CutToCp1251Bytes(ini.ReadString(Global, "CombsGenerateParameters", ""), 255);
}

void ReadAnalysisSettings(const support::IniFile& ini, lottery::TConfigData& out, std::string* problem) {
  // Hand-edited files may hold anything; the dialog's ranges are what the statistics are built for
  // (a huge channel size overflows the channel arithmetic and hangs the channel tables).
  out.MatrixCols = std::clamp(ini.ReadInt(Global, "MatrixCols", 4), MatrixColsMin, MatrixColsMax);
  out.MatrixSegments = lottery::TextToMatrixSegments(ini.ReadString(Global, "MatrixSegments", ""));
  const int32_t channel = ini.ReadInt(Global, "ChannelSize", 2);
  out.ChannelSize = std::clamp(channel, ChannelSizeMin, ChannelSizeMax);
  if (out.ChannelSize != channel && problem) {
    *problem = fmt::format("Некорректный размер канала: {}. Используется размер канала {}.", channel,
                           out.ChannelSize);
  }

  out.Cost = support::RealToMoney(ini.ReadReal(Stakes, "Cost", 0));
  out.MaxStake = ini.ReadInt(Stakes, "MaxStake", 4);
  // A row per number of matches is all the table can use; a huge count would only stall the start.
  const int32_t rows = std::clamp(ini.ReadInt(Stakes, "Profits", 0), 0, MaxProfitRows);
  out.Profits.clear();
  for (int32_t i = 0; i < rows; ++i) {
    lottery::TProfitItem item;
    item.Overlap = static_cast<uint8_t>(ini.ReadInt(Stakes, fmt::format("Profit_{}_Overlap", i), 0));
    item.Profit = support::RealToMoney(ini.ReadReal(Stakes, fmt::format("Profit_{}_Profit", i), 0));
    out.Profits.push_back(item);
  }

  out.Cdl.Count = ini.ReadReal(Cdl, "Count", 0);
  out.Cdl.Deviation = ini.ReadReal(Cdl, "Deviation", -1);
  out.Cdl.Level = ini.ReadReal(Cdl, "Level", 1);
  out.Cdl.UsePercents = ini.ReadInt(Cdl, "UsePercents", 0) > 0;
  out.Cdl.UseAbsValues = ini.ReadInt(Cdl, "UseAbsValues", 0) > 0;
}

void ReadShredding(const support::IniFile& ini, lottery::TShreddingData& out) {
  const lottery::TShreddingData defaults;
  for (int i = 0; i < 3; ++i) {
    out.Formula[i] = ini.ReadString(Shredding, FormulaKey(i), defaults.Formula[i]);
    out.Digits[i] = static_cast<uint8_t>(std::clamp(ini.ReadInt(Shredding, DigitsKey(i), 2), 1, 5));
  }
}

void ReadProxy(const support::IniFile& ini, lottery::TProxy& out) {
  out.Server = ini.ReadString(Proxy, "ProxyServer", "");
  const int32_t implied = out.Server.empty() ? 0 : 2;
  out.Mode = static_cast<uint8_t>(std::clamp(ini.ReadInt(Proxy, "ProxyMode", implied), 0, 2));
  out.Port = ini.ReadInt(Proxy, "ProxyPort", 80);
  out.Username = ini.ReadString(Proxy, "ProxyUsername", "");
  out.Password = ini.ReadString(Proxy, "ProxyPassword", "");
  out.Saved = true;
}

void WriteGenerationDefaults(support::IniFile& ini, const TGenerationDefaults& in) {
  ini.WriteInt(Global, "CombsGenerateMode", in.Mode);
  ini.WriteString(Global, "CombsGenerateParameters", in.Parameters);
}

void WriteAnalysisSettings(support::IniFile& ini, const lottery::TConfigData& in) {
  ini.WriteInt(Global, "MatrixCols", in.MatrixCols);
  ini.WriteString(Global, "MatrixSegments", lottery::MatrixSegmentsToText(in.MatrixSegments));
  ini.WriteInt(Global, "ChannelSize", in.ChannelSize);

  ini.WriteReal(Stakes, "Cost", static_cast<long double>(in.Cost) / 10000);
  ini.WriteInt(Stakes, "MaxStake", in.MaxStake);
  ini.WriteInt(Stakes, "Profits", static_cast<int64_t>(in.Profits.size()));
  for (size_t i = 0; i < in.Profits.size(); ++i) {
    ini.WriteInt(Stakes, fmt::format("Profit_{}_Overlap", i), in.Profits[i].Overlap);
    ini.WriteReal(Stakes, fmt::format("Profit_{}_Profit", i),
                  static_cast<long double>(in.Profits[i].Profit) / 10000);
  }

  ini.WriteReal(Cdl, "Count", in.Cdl.Count);
  ini.WriteReal(Cdl, "Deviation", in.Cdl.Deviation);
  ini.WriteReal(Cdl, "Level", in.Cdl.Level);
  ini.WriteBool(Cdl, "UsePercents", in.Cdl.UsePercents);
  ini.WriteBool(Cdl, "UseAbsValues", in.Cdl.UseAbsValues);
}

void WriteShredding(support::IniFile& ini, const lottery::TShreddingData& in) {
  for (int i = 0; i < 3; ++i) {
    ini.WriteString(Shredding, FormulaKey(i), in.Formula[i]);
    ini.WriteInt(Shredding, DigitsKey(i), in.Digits[i]);
  }
}

void WriteProxy(support::IniFile& ini, const lottery::TProxy& in) {
  ini.WriteInt(Proxy, "ProxyMode", in.Mode);
  ini.WriteString(Proxy, "ProxyServer", in.Server);
  ini.WriteInt(Proxy, "ProxyPort", in.Port);
  ini.WriteString(Proxy, "ProxyUsername", in.Username);
  ini.WriteString(Proxy, "ProxyPassword", in.Password);
}

std::vector<TConfigEntry> ListConfigEntries(const TProgramSettings& settings) {
  // Writing every group into an empty document gives exactly the file's own text of each value.
  support::IniFile ini;
  WriteAnalysisSettings(ini, settings.Config);
  WriteGenerationDefaults(ini, settings.Generation);
  WriteShredding(ini, settings.Shredding);
  WriteProxy(ini, settings.Proxy);
  WriteNetworkSettings(ini, settings.Network);

  static const std::vector<std::pair<const char*, const char*>> order = {
      {Global, "MatrixCols"}, {Global, "MatrixSegments"}, {Global, "ChannelSize"},
      {Global, "CombsGenerateMode"}, {Global, "CombsGenerateParameters"}, {Stakes, "Cost"},
      {Stakes, "MaxStake"}, {Stakes, "Profits"}};
  std::vector<TConfigEntry> out;
  auto add = [&](const std::string& section, const std::string& key) {
    out.push_back({section, key, ini.Find(section, key).value_or("")});
  };
  for (const auto& [section, key] : order) add(section, key);
  for (size_t i = 0; i < settings.Config.Profits.size(); ++i) {
    add(Stakes, fmt::format("Profit_{}_Overlap", i));
    add(Stakes, fmt::format("Profit_{}_Profit", i));
  }
  for (const char* key : {"Count", "Deviation", "Level", "UsePercents", "UseAbsValues"}) add(Cdl, key);
  for (int i = 0; i < 3; ++i) add(Shredding, FormulaKey(i));
  for (int i = 0; i < 3; ++i) add(Shredding, DigitsKey(i));
  for (const char* key : {"ProxyMode", "ProxyServer", "ProxyPort", "ProxyUsername", "ProxyPassword"})
    add(Proxy, key);
  for (const char* key : NetworkKeys) add(NetworkSection, key);
  return out;
}

}  // namespace kelmora::shell
