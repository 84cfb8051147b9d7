// `kelmora draws ...`, `kelmora status` and `kelmora config ...`.

#include <algorithm>
#include <optional>

#include <fmt/format.h>

#include "cli/app.h"
#include "lottery/comb_ops.h"
#include "lottery/comb_text.h"
#include "lottery/draws.h"
#include "shell/settings.h"
#include "support/text.h"

namespace kelmora::cli {

namespace {

constexpr const char* BadCombination = "Введена некорректная комбинация!";

// What is wrong with the values a user typed, after the system's sentence.
std::string BadValuesText(std::string_view text) {
  const auto words = support::Split(text, ",;");
  if (words.size() != lottery::PositionCount)
    return fmt::format("{}\r\rНужно четыре значения (s, h, d, c) через \";\" или \",\", а указано {}: \"{}\".",
                       BadCombination, words.size(), text);
  for (const auto& word : words) {
    const std::string_view w = support::Trim(word);
    const int v = lottery::TextToValue(w);
    if (v < lottery::ValueMin || v > lottery::ValueMax)
      return fmt::format("{}\r\rЗначение \"{}\" — не карта: допустимы 7, 8, 9, 10, J, Q, K, A (или числа 7..14).",
                         BadCombination, w);
  }
  return BadCombination;
}

// A date as the user types it: exactly dd/mm/yyyy, a real day of the calendar.
std::optional<std::string> UserDate(std::string_view text) {
  const std::string_view t = support::Trim(text);
  const bool shaped = t.size() == 10 && t[2] == '/' && t[5] == '/' &&
                      std::all_of(t.begin(), t.end(), [](char c) { return c == '/' || (c >= '0' && c <= '9'); });
  if (!shaped) return std::nullopt;
  try {
    return lottery::DateToText(lottery::TextToDate(t));
  } catch (const std::exception&) {
    return std::nullopt;
  }
}

void ListDraws(CliContext& ctx, bool sorted) {
  auto& session = ctx.OpenSession();
  auto& out = ctx.Out();
  PrintRow(out, {"Тираж", "s", "h", "d", "c", "SUM", "Дата тиража"});
  const auto& draws = session.Draws();
  for (auto it = draws.rbegin(); it != draws.rend(); ++it) {
    const lottery::TComb values = sorted ? lottery::SortComb(it->Values) : it->Values;
    std::vector<std::string> row{std::to_string(it->Number)};
    int sum = 0;
    for (int p = 0; p < lottery::PositionCount; ++p) {
      row.push_back(lottery::ValueToText(lottery::CombValue(values, p)));
      sum += lottery::CombValue(values, p);
    }
    row.push_back(std::to_string(sum));
    row.push_back(it->Date);
    PrintRow(out, row);
  }
}

// Fields given on the command line for a new or changed draw.
struct DrawFields {
  int64_t Number = 0;
  std::string Values;
  std::string Date;
};

// Applies the given fields to the record with the draw dialog's checks; false after a reported failure.
bool ApplyFields(CliContext& ctx, const DrawFields& fields, bool has_number, bool has_values, bool has_date,
                 lottery::TDrawRec& draw) {
  if (has_number) {
    if (fields.Number < 1 || fields.Number > 2147483647) {
      ctx.Fail(fmt::format("Некорректный номер тиража: {}!", fields.Number));
      return false;
    }
    draw.Number = static_cast<int32_t>(fields.Number);
  }
  if (has_values) {
    auto comb = shell::ParseDialogValues(fields.Values);
    if (!comb) {
      ctx.Fail(BadValuesText(fields.Values));
      return false;
    }
    draw.Values = *comb;
  }
  if (has_date) {
    const auto date = UserDate(fields.Date);
    if (!date) {
      ctx.Fail(fmt::format("Некорректная дата: \"{}\"! Укажите дату в виде дд/мм/гггг, например 05/11/2023.",
                           fields.Date));
      return false;
    }
    draw.Date = *date;
  }
  return true;
}

}  // namespace

void RegisterDrawsCommands(CLI::App& app, CliContext& ctx) {
  auto* draws = app.add_subcommand("draws", "Архив тиражей");
  draws->require_subcommand(1);

  auto* list = draws->add_subcommand("list", "Вывести тиражи, новые первыми");
  auto sorted = std::make_shared<bool>(false);
  list->add_flag("--sorted", *sorted, "Значения каждого тиража по возрастанию");
  list->callback([&ctx, sorted] { ListDraws(ctx, *sorted); });

  auto fields = std::make_shared<DrawFields>();
  auto* add = draws->add_subcommand("add", "Добавить тираж");
  auto* add_number = add->add_option("--number", fields->Number, "Номер тиража")->required();
  add->add_option("--values", fields->Values, "Четыре значения через \";\" или \",\" (7..14 или 7, 8, 9, 10, J, Q, K, A)")->required();
  auto* add_date = add->add_option("--date", fields->Date, "Дата дд/мм/гггг");
  add->callback([&ctx, fields, add_number, add_date] {
    auto& session = ctx.OpenSession(CliContext::Access::Write);
    lottery::TDrawRec draw = session.NewDrawTemplate();
    if (!ApplyFields(ctx, *fields, add_number->count() > 0, true, add_date->count() > 0, draw)) return;
    session.AddDraw(draw);
  });

  auto row = std::make_shared<int>(0);
  auto edit_fields = std::make_shared<DrawFields>();
  auto* edit = draws->add_subcommand("edit", "Изменить тираж в строке списка (0 — самый новый)");
  edit->add_option("--row", *row, "Строка списка")->required();
  auto* edit_number = edit->add_option("--number", edit_fields->Number, "Номер тиража");
  auto* edit_values = edit->add_option("--values", edit_fields->Values, "Четыре значения");
  auto* edit_date = edit->add_option("--date", edit_fields->Date, "Дата дд/мм/гггг");
  edit->callback([&ctx, row, edit_fields, edit_number, edit_values, edit_date] {
    auto& session = ctx.OpenSession(CliContext::Access::Write);
    const int count = static_cast<int>(session.Draws().size());
    if (*row < 0 || *row >= count) {
      ctx.Fail(fmt::format("Запись со индексом {} в файле данных не найдена!", count - 1 - *row));
      return;
    }
    lottery::TDrawRec draw = session.Draws()[count - 1 - *row];
    try {
      // A record whose date cannot be read cannot be opened for change.
      lottery::TextToDate(draw.Date);
    } catch (const std::exception& e) {
      ctx.Fail(e.what());
      return;
    }
    if (!ApplyFields(ctx, *edit_fields, edit_number->count() > 0, edit_values->count() > 0,
                     edit_date->count() > 0, draw))
      return;
    session.ChangeDraw(*row, draw);
  });

  auto numbers = std::make_shared<std::vector<int32_t>>();
  auto* del = draws->add_subcommand("delete", "Удалить тиражи с этими номерами");
  del->add_option("--number", *numbers, "Номера тиражей")->required()->expected(1, -1);
  del->callback([&ctx, numbers] { ctx.OpenSession(CliContext::Access::Write).DeleteDrawNumbers(*numbers); });

  auto file = std::make_shared<std::string>();
  auto* import = draws->add_subcommand("import", "Добавить новые тиражи из CSV-файла");
  import->add_option("FILE", *file, "CSV-файл")->required();
  import->callback([&ctx, file] {
    const int n = ctx.OpenSession(CliContext::Access::Write).ImportDraws(*file);
    if (n >= 0) ctx.Out() << n << "\n";
  });

  auto* exp = draws->add_subcommand("export", "Записать архив в CSV-файл");
  exp->add_option("FILE", *file, "CSV-файл")->required();
  exp->callback([&ctx, file] { ctx.OpenSession().ExportDraws(*file); });

  auto* results = draws->add_subcommand("results", "Добавить более новые тиражи из файла результатов лотереи");
  results->add_option("FILE", *file, "Файл результатов (chance_results.csv)")->required();
  results->callback([&ctx, file] {
    const int n = ctx.OpenSession(CliContext::Access::Write).AppendResultsFile(*file);
    if (n >= 0) ctx.Out() << n << "\n";
  });
}

void RegisterStatusCommands(CLI::App& app, CliContext& ctx) {
  auto offset = std::make_shared<int>(0);
  auto* status = app.add_subcommand("status", "Вывести тексты панелей строки состояния 0..2");
  status->add_option("--offset", *offset, "Смещение по тиражам")->check(CLI::NonNegativeNumber);
  status->callback([&ctx, offset] {
    auto& session = ctx.OpenSession();
    session.SetDrawsOffset(*offset);
    for (int panel = 0; panel <= 2; ++panel) ctx.Out() << session.StatusPanelText(panel) << "\n";
  });
}

void RegisterConfigCommands(CLI::App& app, CliContext& ctx) {
  auto* config = app.add_subcommand("config", "Файл конфигурации");
  config->require_subcommand(1);
  auto* show = config->add_subcommand("show", "Вывести все ключи конфигурации с действующими значениями");
  show->callback([&ctx] {
    auto& session = ctx.OpenSession();
    PrintRow(ctx.Out(), {"Секция", "Ключ", "Значение"});
    for (const auto& e : shell::ListConfigEntries(session.Settings())) PrintRow(ctx.Out(), {e.Section, e.Key, e.Value});
  });
}

}  // namespace kelmora::cli
