#include "shell/regulars_state.h"

#include <algorithm>

#include <fmt/format.h>

#include "shell/combs_state.h"
#include "shell/session.h"
#include "shell/stakes_state.h"
#include "support/files.h"

namespace kelmora::shell {

RegularsState::RegularsState(Session& session) : session_(session) {}

std::filesystem::path RegularsState::TablesPath() const {
  return session_.DataPath(fmt::format("{}.ltb", ProgramName));
}

void RegularsState::Show() {
  shown_ = true;
  LoadTables();
}

void RegularsState::Hide() {
  shown_ = false;
  tables_.clear();
  session_.GetHost().ViewChanged(ViewId::Regulars);
}

void RegularsState::TabTables() {
  const bool show = !session_.MainView().TabTables;
  session_.MainView().TabTables = show;
  session_.WriteViewSwitch("TabTables", show ? 1 : 0);
  if (show)
    Show();
  else
    Hide();
}

void RegularsState::LoadTables() {
  if (!shown_) return;
  tables_.clear();
  unreadable_ = false;
  if (support::FileExists(TablesPath())) {
    BusyGuard status(session_, "Загрузка файла регулярных ставок...");
    unreadable_ = !session_.Reported("Ошибка чтения файла регулярных ставок!",
                                     [&] { stakes::ReadTablesFile(TablesPath(), tables_); });
  }
  session_.GetHost().ViewChanged(ViewId::Regulars);
}

bool RegularsState::SaveTables() {
  if (!shown_) return false;
  // The rules of a file that could not be read are not in memory: writing would lose them.
  if (unreadable_) {
    session_.GetHost().ShowError(
        fmt::format("Файл \"{}\" не удалось прочитать, поэтому он не будет перезаписан.", TablesPath().string()));
    return false;
  }
  bool ok;
  {
    BusyGuard status(session_, "Сохранение файла регулярных ставок...");
    ok = session_.Reported("Ошибка записи в файл регулярных ставок!",
                           [&] { stakes::WriteTablesFile(TablesPath(), tables_); });
  }
  session_.GetHost().ViewChanged(ViewId::Regulars);
  return ok;
}

stakes::TTableRec RegularsState::NewTable(const std::vector<lottery::TComb>& selected) const {
  stakes::TTableRec rec;
  rec.Name = "Регулярная ставка";
  rec.Step = 1;
  rec.UseLastDraw = false;
  if (selected.size() == 1) rec.StartComb = selected.front();
  return rec;
}

namespace {

stakes::TTableRec StartedRule(stakes::TTableRec rule) {
  if (rule.UseLastDraw) rule.StartComb = 0;
  rule.Count = 0;
  rule.LastComb = rule.StartComb;
  return rule;
}

}  // namespace

bool RegularsState::AddTable(const stakes::TTableRec& rec) {
  {
    BusyGuard status(session_, "Создание регулярных ставок...");
    tables_.push_back(StartedRule(rec));
  }
  return SaveTables();
}

int RegularsState::FindTable(std::string_view name) const { return stakes::FindTable(tables_, name); }

bool RegularsState::AddTables(const stakes::TTableRec& rec, const std::vector<int>& selected_rows) {
  if (rec.UseLastDraw || selected_rows.size() == 1) return AddTable(rec);
  const size_t before = tables_.size();
  {
    BusyGuard status(session_, "Создание регулярных ставок...");
    {
      const auto& list = session_.Combs().CombList();
      for (const int row : selected_rows) {
        if (row < 0 || row >= static_cast<int>(list.size())) continue;
        stakes::TTableRec rule = rec;
        rule.Name = fmt::format("{} ({})", rec.Name, row + 1);
        rule.StartComb = rule.LastComb = list[static_cast<size_t>(row)];
        rule.Count = 0;
        tables_.push_back(rule);
      }
    }
  }
  SaveTables();
  return tables_.size() > before;
}

bool RegularsState::DeleteTables(std::vector<int> rows) {
  std::sort(rows.begin(), rows.end());
  rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
  if (rows.empty() || !session_.GetHost().ConfirmDelete(static_cast<int>(rows.size()))) return false;
  bool ok;
  {
    BusyGuard status(session_, "Удаление регулярных ставок...");
    ok = session_.Reported("", [&] {
      for (auto it = rows.rbegin(); it != rows.rend(); ++it) stakes::DeleteTable(tables_, *it);
    });
  }
  SaveTables();
  return ok;
}

stakes::TStakeRec RegularsState::MakeRuleStake(const stakes::TTableRec& rule) const {
  const int list_size = session_.CombsIfCreated() ? session_.CombsIfCreated()->Count() : 0;
  return stakes::MakeStake(lottery::StakeRegular, session_.NextDrawNumber(), rule.LastComb, rule.Name, list_size,
                           session_.Settings().Config);
}

std::optional<std::pair<stakes::TTableRec, stakes::TStakeRec>> RegularsState::PrepareStake(int row) const {
  if (row < 0 || row >= Count()) return std::nullopt;
  stakes::TTableRec advanced = tables_[static_cast<size_t>(row)];
  stakes::NextTableComb(advanced, session_.Draws(), session_.DrawsOffset());
  return std::make_pair(advanced, MakeRuleStake(advanced));
}

bool RegularsState::StakeAdd(int row, const stakes::TTableRec& advanced, const stakes::TStakeRec& rec, int count) {
  if (row < 0 || row >= Count()) return false;
  tables_[static_cast<size_t>(row)] = advanced;
  SaveTables();
  return session_.Stakes().AddStakeCommand(rec, count);
}

bool RegularsState::StakeTest(const std::vector<int>& rows, int tests) {
  if (tests <= 0 || rows.empty()) return false;
  auto& stakes = session_.Stakes();
  const int offset = session_.DrawsOffset();
  bool ok = true;
  {
    BusyGuard status(session_, "Создание ставок по регулярным табличным ставкам...");
    session_.SetViewsSuppressed(true);
    for (int k = tests; k >= 1 && ok; --k) {
      session_.SetDrawsOffset(k);
      for (const int row : rows) {
        if (row < 0 || row >= Count()) continue;
        stakes::TTableRec& rule = tables_[static_cast<size_t>(row)];
        stakes::NextTableComb(rule, session_.Draws(), session_.DrawsOffset());
        session_.GetHost().ProcessEvents();
        if (!stakes.AppendStakes(MakeRuleStake(rule), 1)) {
          ok = false;
          break;
        }
      }
    }
    session_.SetDrawsOffset(offset);
    session_.SetViewsSuppressed(false);
  }
  SaveTables();
  if (ok) stakes.CheckStakes();
  session_.GetHost().ViewChanged(ViewId::Stakes);
  return ok;
}

}  // namespace kelmora::shell
