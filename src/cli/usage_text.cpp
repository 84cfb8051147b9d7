#include "cli/usage_text.h"

#include <regex>
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

std::string UsageErrorText(const CLI::ParseError& e) {
  static const std::vector<std::pair<std::regex, std::string>> rules = [] {
    const std::pair<const char*, const char*> table[] = {
        {"^A subcommand is required$", "не указана команда"},
        {"^Requires at least [0-9]+ subcommands?$", "не указана команда"},
        {"^Subcommand required$", "не указана команда"},
        {"^(.+) is required$", "не указан обязательный параметр $1"},
        {"^The following arguments? (was|were) not expected: (.*)$", "лишние аргументы: $2"},
        {"^Could not convert: (.+) = (.*)$", "некорректное значение $1: \"$2\""},
        {"^The value (.+) is not an allowed value for (.+)$", "значение $1 недопустимо для $2"},
        {"^(.+): Value (.+) not in range (.+) to (.+)$", "$1: значение $2 вне диапазона $3..$4"},
        {"^(.+): [0-9]+ required (.+) missing$", "$1: не указано значение"},
        {"^Expected (exactly|at least) ([0-9]+) arguments? to (.+), got ([0-9]+)$",
         "$3: ожидается значений: $2, указано: $4"},
        {"^(.+): too many inputs for a flag$", "$1: флаг не принимает значения"},
        {"^(.+) requires (.+)$", "$1 требует $2"},
        {"^(.+) excludes (.+)$", "$1 несовместим с $2"},
    };
    std::vector<std::pair<std::regex, std::string>> out;
    for (const auto& [pattern, text] : table) out.emplace_back(std::regex(pattern), text);
    return out;
  }();
  const std::string message = e.what();
  for (const auto& [pattern, text] : rules) {
    if (std::regex_match(message, pattern)) return std::regex_replace(message, pattern, text);
  }
  return message;
}

}  // namespace kelmora::cli
