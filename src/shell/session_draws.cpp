// The Session's archive operations: loading, saving, manual entry, deletion, import and export.

#include <algorithm>

#include <fmt/format.h>

#include "lottery/comb_text.h"
#include "lottery/draws.h"
#include "lottery/draws_csv.h"
#include "shell/session.h"
#include "support/error.h"
#include "support/files.h"
#include "support/text.h"

namespace kelmora::shell {

std::optional<lottery::TComb> ParseDialogValues(std::string_view text) {
  const auto words = support::Split(text, ",;");
  if (words.size() != lottery::PositionCount) return std::nullopt;
  lottery::TComb comb = 0;
  for (int p = 0; p < lottery::PositionCount; ++p) {
    const auto word = support::Trim(words[p]);
    const int v = lottery::TextToValue(word);
    if (v < lottery::ValueMin || v > lottery::ValueMax) return std::nullopt;
    comb = lottery::SetCombValue(comb, p, v);
  }
  return comb;
}

int32_t Session::NextDrawNumber(int row) const { return lottery::NextDrawNumber(draws_, row); }

void Session::SetDrawsOffset(int offset) {
  offset = std::clamp(offset, 0, std::max(0, static_cast<int>(draws_.size()) - 1));
  if (offset == draws_offset_) return;
  draws_offset_ = offset;
  RefreshDrawsView();
  RefreshAllViews(false);
}

void Session::RefreshDrawsView() {
  // The offset editor's range follows the archive; an offset beyond it moves back inside.
  draws_offset_ = std::clamp(draws_offset_, 0, std::max(0, static_cast<int>(draws_.size()) - 1));
  host_.ViewChanged(ViewId::Draws);
  host_.ViewChanged(ViewId::StatusBar);
}

void Session::LoadDrawsFile() {
  std::error_code ec;
  // Anything under the archive's name that cannot be read is reported, not taken as an empty
  // archive that the next save would overwrite.
  if (!std::filesystem::exists(DrawsPath(), ec)) {
    RefreshDrawsView();
    return;
  }
  {
    BusyGuard busy(*this, "Загрузка файла тиражей...");
    draws_read_error_.clear();
    try {
      draws_ = lottery::LoadDrawsFile(DrawsPath());
    } catch (const std::exception& e) {
      // Remembered, so that no later save replaces the unread archive with what memory holds.
      draws_read_error_ = e.what();
      if (draws_read_error_.empty()) draws_read_error_ = "?";
      host_.ShowError(fmt::format("Ошибка чтения файла тиражей!\r\r{}", e.what()));
    }
  }
  RefreshDrawsView();
}

bool Session::DrawsWritable() {
  if (draws_read_error_.empty()) return true;
  host_.ShowError(fmt::format(
      "Ошибка записи в файл тиражей!\r\rФайл тиражей не удалось прочитать, поэтому он не будет "
      "перезаписан.\r\r{}",
      draws_read_error_));
  return false;
}

bool Session::SaveDrawsFile() {
  if (!DrawsWritable()) return false;
  BusyGuard busy(*this);
  bool ok = false;
  {
    BusyGuard status(*this, "Сохранение файла тиражей...", Busy::No);
    ok = Reported("Ошибка записи в файл тиражей!", [&] { lottery::SaveDrawsFile(DrawsPath(), draws_); });
  }
  RefreshDrawsView();
  return ok;
}

lottery::TDrawRec Session::NewDrawTemplate() const {
  lottery::TDrawRec draw;
  draw.Number = lottery::NextDrawNumber(draws_, 0);
  return draw;
}

void Session::AddDraw(const lottery::TDrawRec& draw) {
  if (!DrawsWritable()) return;
  draws_.push_back(draw);
  SaveDrawsFile();
  RefreshAllViews(false);
}

void Session::ChangeDraw(int row, const lottery::TDrawRec& draw) {
  const int index = static_cast<int>(draws_.size()) - 1 - row;
  if (row < 0 || index < 0) support::Fail("Запись со индексом {} в файле данных не найдена!", index);
  if (!DrawsWritable()) return;
  draws_[index] = draw;
  SaveDrawsFile();
  RefreshAllViews(false);
}

bool Session::DeleteDrawRows(const std::vector<int>& rows) {
  const int count = static_cast<int>(draws_.size());
  // The list goes through its selection from the last row to the first.
  std::vector<int> sorted = rows;
  std::sort(sorted.begin(), sorted.end());
  std::vector<int32_t> numbers;
  for (auto it = sorted.rbegin(); it != sorted.rend(); ++it)
    if (*it >= 0 && *it < count) numbers.push_back(draws_[count - 1 - *it].Number);
  if (numbers.empty()) return false;
  if (!host_.ConfirmDelete(static_cast<int>(numbers.size()))) return false;
  return DeleteNumbers(numbers);
}

bool Session::DeleteDrawNumbers(const std::vector<int32_t>& numbers) {
  if (numbers.empty()) return false;
  // Every number is looked up before anything is removed, so that an unknown one leaves the
  // archive whole and the message can name it.
  for (int32_t number : numbers) {
    if (lottery::FindDrawByNumber(draws_, number) < 0) {
      host_.ShowError(fmt::format("Запись со индексом -1 в файле данных не найдена!\r\rТиража с номером {} "
                                  "в архиве нет.",
                                  number));
      return false;
    }
  }
  if (!host_.ConfirmDelete(static_cast<int>(numbers.size()))) return false;
  return DeleteNumbers(numbers);
}

bool Session::DeleteNumbers(const std::vector<int32_t>& numbers) {
  if (!DrawsWritable()) return false;
  BusyGuard busy(*this);
  bool removed_all = false;
  {
    BusyGuard status(*this, "Удаление выделенных тиражей....", Busy::No);
    // After a failure the draws removed before stay removed in memory; the file is not rewritten.
    removed_all = Reported("", [&] {
      for (int32_t number : numbers) lottery::DeleteDrawAt(draws_, lottery::FindDrawByNumber(draws_, number));
    });
  }
  RefreshDrawsView();
  if (removed_all) {
    SaveDrawsFile();
    RefreshAllViews(false);
  }
  return removed_all;
}

int Session::ImportDraws(const std::filesystem::path& path) {
  if (!DrawsWritable()) return -1;
  BusyGuard busy(*this);
  int appended = -1;
  lottery::TImportReport report;
  {
    BusyGuard status(*this, fmt::format("Импорт тиражей из файла \"{}\"...", path.string()), Busy::No);
    if (!Reported("", [&] {
          lottery::TDrawsArray imported = draws_;
          appended = lottery::ImportDrawsFile(imported, path, &report);
          draws_ = std::move(imported);
        }))
      return -1;
  }
  // An import that adds nothing leaves the file exactly as it was.
  if (appended > 0) SaveDrawsFile();
  if (report.Skipped > 0) {
    host_.ShowMessage(MessageKind::Warning,
                      fmt::format("Импортировано тиражей: {}. Пропущено строк, которые не являются тиражами "
                                  "(не те поля или значения не карты 7..A): {}.\r\rПервая из них, строка {}: "
                                  "\"{}\"",
                                  appended, report.Skipped, report.FirstBadLine, report.FirstBadText));
  }
  return appended;
}

bool Session::ExportDraws(const std::filesystem::path& path) {
  BusyGuard busy(*this, fmt::format("Экспорт тиражей в файл \"{}\"...", path.string()));
  return Reported("", [&] { lottery::ExportDrawsFile(path, draws_); });
}

int Session::AppendResultsFile(const std::filesystem::path& path) {
  if (!DrawsWritable()) return -1;
  BusyGuard busy(*this, "Загрузка архива тиражей...");
  lottery::TDrawsArray fresh;
  if (!Reported("", [&] {
        const int32_t first_wanted = draws_.empty() ? 1 : lottery::CheckedNextDrawNumber(draws_);
        // A named file that is missing is a failure, not an empty result.
        fresh = lottery::ReadResultsText(support::ReadFileText(path), first_wanted);
      }))
    return -1;
  if (!fresh.empty()) {
    SetStatusText("Сохранение файла тиражей...");
    draws_.insert(draws_.end(), fresh.begin(), fresh.end());
    SaveDrawsFile();
    RefreshAllViews(false);
  }
  return static_cast<int>(fresh.size());
}

}  // namespace kelmora::shell
