#include "cli/usage_text.h"

#include <string_view>
#include <utility>
#include <vector>

namespace kelmora::cli {

namespace {

size_t DisplayWidth(const std::string& utf8) {
  size_t n = 0;
  for (unsigned char c : utf8) n += (c & 0xC0) != 0x80 ? 1 : 0;
  return n;
}

// Pads the option column by characters, not bytes, so that Cyrillic labels keep the columns.
class RussianFormatter : public CLI::Formatter {
 public:
  std::string make_option(const CLI::Option* opt, bool is_positional) const override {
    const std::string name = "  " + make_option_name(opt, is_positional) + make_option_opts(opt);
    const std::string desc = make_option_desc(opt);
    const size_t width = get_column_width();
    std::string out = name;
    const size_t shown = DisplayWidth(name);
    if (!desc.empty()) {
      if (shown >= width) {
        out += "\n" + std::string(width, ' ');
      } else {
        out += std::string(width - shown, ' ');
      }
      for (char c : desc) {
        out += c;
        if (c == '\n') out += std::string(width, ' ');
      }
    }
    return out + "\n";
  }
};

}  // namespace

void UseRussianSubcommandGroups(CLI::App& app) {
  for (CLI::App* sub : app.get_subcommands({})) {
    sub->group("Команды");
    if (CLI::Option* help = sub->get_help_ptr()) help->group("Параметры");
    UseRussianSubcommandGroups(*sub);
  }
}

void UseRussianHelp(CLI::App& app) {
  auto formatter = std::make_shared<RussianFormatter>();
  const std::pair<const char*, const char*> labels[] = {
      {"Usage", "Использование"},     {"OPTIONS", "ПАРАМЕТРЫ"},   {"SUBCOMMAND", "КОМАНДА"},
      {"SUBCOMMANDS", "КОМАНДЫ"},     {"REQUIRED", "обязательно"}, {"Positionals", "Аргументы"},
      {"TEXT", "ТЕКСТ"},              {"INT", "ЧИСЛО"},             {"UINT", "ЧИСЛО"},
      {"FLOAT", "ЧИСЛО"},             {"Needs", "Требует"},         {"Excludes", "Исключает"},
      {"Env", "Переменная"}};
  for (const auto& [key, text] : labels) formatter->label(key, text);
  app.formatter(formatter);
  // Subcommands copy the help flag and the option group of their parent when they are added.
  app.option_defaults()->group("Параметры");
  app.set_help_flag("-h,--help", "Показать эту справку и выйти");
}

namespace {

// Matches text against a pattern whose "{}" stand for non-empty parts (each taken up to the first
// place where the rest of the pattern can follow); fills the parts. std::regex would do, but GCC 12
// warns inside it under the sanitizers.
bool MatchPattern(std::string_view pattern, std::string_view text, std::vector<std::string>& parts) {
  parts.clear();
  size_t p = 0, t = 0;
  while (p < pattern.size()) {
    const size_t hole = pattern.find("{}", p);
    const std::string_view literal = pattern.substr(p, hole == std::string_view::npos ? std::string_view::npos : hole - p);
    if (text.substr(t, literal.size()) != literal) return false;
    t += literal.size();
    if (hole == std::string_view::npos) return t == text.size();
    p = hole + 2;
    const size_t next = pattern.find("{}", p);
    const std::string_view follow = pattern.substr(p, next == std::string_view::npos ? std::string_view::npos : next - p);
    // The part ends where the following literal starts (at the text's end for the last part).
    size_t end = follow.empty() ? text.size() : (next == std::string_view::npos ? text.rfind(follow) : text.find(follow, t + 1));
    if (end == std::string_view::npos || end <= t) return false;
    if (next == std::string_view::npos && !follow.empty() && end + follow.size() != text.size()) return false;
    parts.emplace_back(text.substr(t, end - t));
    t = end;
  }
  return t == text.size();
}

std::string FillParts(std::string_view text, const std::vector<std::string>& parts) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '$' && i + 1 < text.size() && text[i + 1] >= '1' && text[i + 1] <= '9') {
      const size_t k = static_cast<size_t>(text[i + 1] - '1');
      if (k < parts.size()) out += parts[k];
      ++i;
    } else {
      out += text[i];
    }
  }
  return out;
}

}  // namespace

std::string UsageErrorText(const CLI::ParseError& e) {
  static const std::pair<const char*, const char*> rules[] = {
      {"A subcommand is required", "не указана команда"},
      {"Requires at least {} subcommands", "не указана команда"},
      {"Requires at least {} subcommand", "не указана команда"},
      {"Subcommand required", "не указана команда"},
      {"{} is required", "не указан обязательный параметр $1"},
      {"The following arguments were not expected: {}", "лишние аргументы: $1"},
      {"The following argument was not expected: {}", "лишние аргументы: $1"},
      {"Could not convert: {} = {}", "некорректное значение $1: \"$2\""},
      {"The value {} is not an allowed value for {}", "значение $1 недопустимо для $2"},
      {"{}: Value {} not in range {} to {}", "$1: значение $2 вне диапазона $3..$4"},
      {"{}: {} required {} missing", "$1: не указано значение"},
      {"Expected exactly {} arguments to {}, got {}", "$2: ожидается значений: $1, указано: $3"},
      {"Expected at least {} arguments to {}, got {}", "$2: ожидается значений не меньше $1, указано: $3"},
      {"{}: too many inputs for a flag", "$1: флаг не принимает значения"},
      {"{} requires {}", "$1 требует $2"},
      {"{} excludes {}", "$1 несовместим с $2"},
  };
  const std::string message = e.what();
  std::vector<std::string> parts;
  for (const auto& [pattern, text] : rules) {
    if (MatchPattern(pattern, message, parts)) return FillParts(text, parts);
  }
  return message;
}

}  // namespace kelmora::cli
