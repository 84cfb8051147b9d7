#include "scripts/script.h"

#include <fmt/format.h>

#include "support/encoding.h"
#include "support/files.h"
#include "support/text.h"

namespace kelmora::scripts {

namespace {

constexpr const char* ErrorText = "# ERROR #";

struct OptionInfo {
  const char* Code;
  const char* Caption;
  const char* Short;
};

constexpr std::array<OptionInfo, StartListCount> StartLists = {{
    {"FULL", "Исходный список (рекомендуется для тестов)", "Исходный список"},
    {"EXCL", "Удалить N последних тиражей (для прогнозов)", "Исключить {} тиражей"},
    {"CURR", "Текущий список (для последовательного выполнения)", "Текущий список"},
}};

constexpr std::array<OptionInfo, StakeModeCount> StakeModes = {{
    {"RAND", "Выбрать одну случайную комбинацию", "Случайно"},
    {"FIRST", "Выбрать первую комбинацию в списке", "Первая"},
    {"LAST", "Выбрать последнюю комбинацию в списке", "Последняя"},
    {"ALL", "Выбрать все комбинации (не рекомендуется)", "Все"},
    {"SYSA", "Системная игра [вся система]", "Система [все]"},
    {"SYSC", "Системная игра [система * комбинации]", "Система [комб]"},
    {"STOP", "Остановить выполнение сценария", "Остановить"},
    {"SKIP", "Пропустить (игнорировать) эту ставку", "Пропустить"},
    {"NONE", "Не делать ставок (для последовательного выполнения)", "Не делать ставок"},
}};

template <size_t N>
const OptionInfo* Find(const std::array<OptionInfo, N>& table, int index) {
  return index >= 0 && index < static_cast<int>(N) ? &table[static_cast<size_t>(index)] : nullptr;
}

bool HasNonBlank(std::string_view text) { return !support::Trim(text).empty(); }

bool StartsWithText(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() && support::SameText(text.substr(0, prefix.size()), prefix);
}

}  // namespace

std::string StartListCode(int start_list) {
  const OptionInfo* info = Find(StartLists, start_list);
  return info ? info->Code : ErrorText;
}
std::string StartListCaption(int start_list) {
  const OptionInfo* info = Find(StartLists, start_list);
  return info ? info->Caption : ErrorText;
}
std::string StartListShortCaption(int start_list, int32_t exclude_count) {
  const OptionInfo* info = Find(StartLists, start_list);
  return info ? fmt::format(fmt::runtime(info->Short), exclude_count) : ErrorText;
}
std::string StakeModeCode(int mode) {
  const OptionInfo* info = Find(StakeModes, mode);
  return info ? info->Code : ErrorText;
}
std::string StakeModeCaption(int mode) {
  const OptionInfo* info = Find(StakeModes, mode);
  return info ? info->Caption : ErrorText;
}
std::string StakeModeShortCaption(int mode) {
  const OptionInfo* info = Find(StakeModes, mode);
  return info ? info->Short : ErrorText;
}

TStepOptions StepOptionsFromText(std::string_view word) {
  TStepOptions options;
  const std::vector<std::string> words = support::SplitWords(word, "#");
  if (!words.empty()) {
    const std::string_view first = support::Trim(words[0]);
    for (int i = 0; i < StartListCount; ++i) {
      if (StartsWithText(first, StartLists[static_cast<size_t>(i)].Code)) {
        options.StartList = static_cast<uint8_t>(i);
        break;
      }
    }
    const std::vector<std::string> pieces = support::SplitWords(first, ":");
    if (pieces.size() >= 2) options.ExcludeCount = support::ParseInt(support::Trim(pieces[1])).value_or(0);
  }
  if (words.size() >= 2) {
    const std::string_view second = support::Trim(words[1]);
    for (int i = 0; i < StakeModeCount; ++i) {
      if (support::SameText(second, StakeModes[static_cast<size_t>(i)].Code)) {
        options.StakeMode = static_cast<uint8_t>(i);
        break;
      }
    }
  }
  for (size_t i = 2; i < words.size(); ++i) {
    const std::string_view flag = support::Trim(words[i]);
    if (support::SameText(flag, "CLR")) options.ClearStakes = true;
    if (support::SameText(flag, "NEX")) options.NewOnly = true;
  }
  return options;
}

std::string StepOptionsToText(const TStepOptions& options) {
  std::string text = fmt::format("{}:{}#{}", StartListCode(options.StartList), options.ExcludeCount,
                                 StakeModeCode(options.StakeMode));
  if (options.ClearStakes) text += "#CLR";
  if (options.NewOnly) text += "#NEX";
  return text;
}

std::string StepOptionsToShortText(const TStepOptions& options) {
  std::string text = StartListCode(options.StartList);
  if (options.StartList == EXCL) text += fmt::format(":{}", options.ExcludeCount);
  text += '#';
  text += StakeModeCode(options.StakeMode);
  if (options.NewOnly) text += "#NEX";
  return text;
}

std::string StepOptionsCaption(const TStepOptions& options) {
  std::string text = StartListShortCaption(options.StartList, options.ExcludeCount) + "; " +
                     StakeModeShortCaption(options.StakeMode);
  if (options.ClearStakes) text += "; Удалить ставки";
  text += options.NewOnly ? "; Только новые ставки" : "; Все создаваемые ставки";
  return text;
}

bool IsSeparatorLine(std::string_view line) { return support::Trim(line).empty(); }

std::string StepField(std::string_view line, int n) {
  if (n < 1) return {};
  // Cutting the whole line for one field keeps the rule in one place; lines are short.
  const std::vector<std::string> words = support::SplitWords(line, "|");
  if (static_cast<size_t>(n) > words.size()) return {};
  return std::string(support::Trim(words[static_cast<size_t>(n - 1)]));
}

std::string ComposeStepLine(std::string_view option_word, const TFilterTexts& filters, std::string_view comment) {
  std::string line(option_word);
  line += '|';
  for (const std::string& text : filters) {
    line += HasNonBlank(text) ? text : std::string(" ");
    line += '|';
  }
  if (HasNonBlank(comment)) line += comment;
  return line;
}

TStepView StepLineView(std::string_view line, const stats::TStatList& list) {
  TStepView view;
  if (IsSeparatorLine(line)) return view;
  const std::vector<std::string> words = support::SplitWords(line, "|");
  auto field = [&](int n) -> std::string_view {
    return static_cast<size_t>(n) <= words.size() ? support::Trim(words[static_cast<size_t>(n - 1)])
                                                  : std::string_view();
  };
  view.Comment = field(StepCommentField);
  view.Options = StepOptionsCaption(StepOptionsFromText(field(StepOptionsField)));
  for (int slot = 1; slot <= filtering::FilterSlots; ++slot) {
    view.Filters[static_cast<size_t>(slot - 1)] =
        filtering::FilterItemToText(filtering::FilterItemFromText(field(FilterField(slot)), list));
  }
  return view;
}

std::vector<std::string> DecodeScriptText(std::string_view bytes) {
  const std::string text = support::Cp1251ToUtf8(bytes);
  std::vector<std::string> lines;
  size_t start = 0;
  size_t i = 0;
  while (i < text.size()) {
    const char c = text[i];
    if (c != '\r' && c != '\n') {
      ++i;
      continue;
    }
    lines.emplace_back(text, start, i - start);
    i += (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ? 2 : 1;
    start = i;
  }
  if (start < text.size()) lines.emplace_back(text, start, std::string::npos);
  return lines;
}

std::string EncodeScriptText(const std::vector<std::string>& lines) {
  std::string bytes;
  for (const std::string& line : lines) {
    bytes += support::Utf8ToCp1251(line);
    bytes += "\r\n";
  }
  return bytes;
}

std::vector<std::string> ReadScriptFile(const std::filesystem::path& path) {
  return DecodeScriptText(support::ReadFileText(path));
}

void WriteScriptFile(const std::filesystem::path& path, const std::vector<std::string>& lines) {
  support::WriteFileAtomic(path, EncodeScriptText(lines));
}

void AppendScriptLines(std::vector<std::string>& script, const std::vector<std::string>& file_lines) {
  if (file_lines.empty()) return;
  if (script.empty()) {
    script = file_lines;
    return;
  }
  script.reserve(script.size() + file_lines.size() + 1);
  if (!IsSeparatorLine(script.back())) script.emplace_back();
  script.insert(script.end(), file_lines.begin(), file_lines.end());
}

std::optional<std::string> RatingNameToStepLine(std::string_view name, const stats::TStatList& list) {
  std::string comment;
  std::string work(name);
  if (const size_t at = name.find('@'); at != std::string_view::npos) {
    comment = support::Trim(name.substr(0, at));
    work = support::Trim(name.substr(at + 1));
  }
  std::string text;
  for (size_t i = 0; i < work.size();) {
    if (work.compare(i, 3, " + ") == 0) {
      text += '|';
      i += 3;
    } else {
      text += work[i++];
    }
  }
  while (support::SplitWords(text, "|").size() <= static_cast<size_t>(filtering::FilterSlots)) text += "| ";
  text += '|';
  text += comment;
  for (int slot = 1; slot <= filtering::FilterSlots; ++slot) {
    const auto item = filtering::FilterItemFromText(StepField(text, FilterField(slot)), list);
    if (!filtering::FilterItemToText(item).empty()) return text;
  }
  return std::nullopt;
}

}  // namespace kelmora::scripts
