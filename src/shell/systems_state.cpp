#include "shell/systems_state.h"

#include <array>
#include <system_error>

#include <fmt/format.h>

#include "shell/combs_state.h"
#include "shell/network_state.h"
#include "shell/session.h"
#include "shell/stakes_state.h"
#include "support/error.h"
#include "support/files.h"
#include "support/platform.h"
#include "support/text.h"

namespace kelmora::shell {

SystemsState::SystemsState(Session& session) : session_(session) {}

std::filesystem::path SystemsState::Folder() const { return session_.DataPath(stakes::SystemsFolderName); }

std::filesystem::path SystemsState::LocalFile(const net::tSystemInfo& info) const {
  return Folder() / stakes::SystemFileName(info.Nums, info.Olap, info.Id);
}

// --- system play ---

stakes::TSystemLoad SystemsState::LoadSystemFor(const std::vector<uint8_t>& values, bool show_failure) {
  stakes::TSystemLoad load = stakes::LoadSystemFor(Folder(), values);
  if (!load.Failure.empty() && show_failure) {
    if (!load.Found)
      session_.GetHost().ShowError(stakes::SystemNotFoundBoxText(static_cast<int>(values.size())));
    else
      session_.GetHost().ShowError(fmt::format("Ошибка загрузки комбинаций системы!\r\r{}", load.Failure));
  }
  return load;
}

std::optional<SystemsState::TSystemPlay> SystemsState::PrepareSystemPlay(bool whole) {
  BusyGuard status(session_, "Подождите пожалуйста...");
  const std::vector<uint8_t> values = stakes::DistinctListValues(session_.Combs().CombList());
  stakes::TSystemLoad load = LoadSystemFor(values);
  if (!load.Failure.empty()) return std::nullopt;
  TSystemPlay play;
  play.Values = static_cast<int>(values.size());
  play.System = std::move(load.Combs);
  play.File = load.File;
  play.Draw = session_.NextDrawNumber();
  play.Name = stakes::SystemStakeName(play.Values, whole, play.File);
  return play;
}

int SystemsState::SystemStake(const TSystemPlay& play, bool whole, int32_t draw, std::string_view name, int count) {
  auto& stakes = session_.Stakes();
  const auto& lists = session_.Combs().Lists();
  const lottery::TCombsArray combs =
      stakes::SystemStakeCombs(play.System, whole, [&](lottery::TComb c) { return lists.CombListContains(c); });
  const int list_size = whole ? static_cast<int>(play.System.size()) : session_.Combs().Count();
  int appended = 0;
  bool ok = true;
  {
    BusyGuard status(session_, "Создание ставок...");
    stakes.StartStakeGroup();
    for (const lottery::TComb comb : combs) {
      session_.GetHost().ProcessEvents();
      if (!stakes.AppendStakes(stakes::MakeStake(lottery::StakeSystem, draw, comb, name, list_size,
                                                 session_.Settings().Config),
                               count)) {
        ok = false;
        break;
      }
      ++appended;
    }
  }
  if (ok && appended > 0) stakes.CheckStakes();
  session_.GetHost().ViewChanged(ViewId::Stakes);
  return ok ? appended : -1;
}

// --- the page ---

void SystemsState::SystemsOn() {
  BusyGuard status(session_, "Подождите пожалуйста...");
  const bool show = !shown_;
  session_.WriteViewSwitch("SystemsEnabled", show ? 1 : 0);
  if (show) {
    shown_ = true;
    RefreshSystemsList();
  } else {
    Hide();
  }
}

void SystemsState::Hide() {
  shown_ = false;
  list_.clear();
  session_.GetHost().ViewChanged(ViewId::Systems);
}

bool SystemsState::IsDownloaded(int row) const {
  return ValidRow(row) && list_[static_cast<size_t>(row)].Id > 0 &&
         support::FileExists(LocalFile(list_[static_cast<size_t>(row)]));
}

bool SystemsState::IsOwn(int row) const {
  if (!ValidRow(row)) return false;
  const std::string& mail = list_[static_cast<size_t>(row)].AuthorMail;
  return !mail.empty() && support::SameText(mail, session_.Settings().Network.UserMail);
}

const char* SystemsState::ColumnCaption(int column) {
  static constexpr std::array<const char*, ColumnCount> Captions = {
      "Название", "Автор",  "Числа",    "Блок",      "Комбинаций", "Дата создания",
      "Статус",   "Загрузок", "Последняя", "Комментарии", "Ссылка"};
  return column >= 0 && column < ColumnCount ? Captions[static_cast<size_t>(column)] : "";
}

std::string SystemsState::Cell(int row, int column) const {
  if (!ValidRow(row)) return {};
  const net::tSystemInfo& s = list_[static_cast<size_t>(row)];
  const bool placeholder = s.Id <= 0;
  const auto time_text = [](int64_t t) { return t == 0 ? std::string() : support::LocalTimeText(t); };
  switch (column) {
    case 0: return s.Title;
    case 1: return s.Author;
    case 2: return placeholder ? std::string() : fmt::format("{:02d}", s.Nums);
    case 3: return placeholder ? std::string() : std::to_string(s.Olap);
    case 4: return placeholder ? std::string() : std::to_string(s.CSize);
    case 5: return time_text(s.Created);
    case 6: return IsDownloaded(row) ? "Загружена" : "";
    case 7: return placeholder ? std::string() : std::to_string(s.Downloads);
    case 8: return time_text(s.LastDownload);
    case 9: return s.Descr;
    case 10: return s.Url;
    default: return {};
  }
}

std::string SystemsState::CatalogUrl() const { return session_.Settings().Network.CatalogUrl; }

int SystemsState::RefreshSystemsList(int32_t selected_id) {
  list_.clear();
  session_.GetHost().ViewChanged(ViewId::Systems);
  bool ok;
  {
    BusyGuard status(session_, "Загрузка списка систем...");
    std::vector<net::tSystemInfo> list;
    ok = session_.Reported("Ошибка загрузки списка систем!", [&] {
      list = net::RequestSystemsList(CatalogUrl(), session_.UserIdentity(), session_.MainView().Language,
                                     session_.Network().RequestSettings(session_.Settings().Network));
    });
    if (ok) list_ = std::move(list);
  }
  if (ok) {
    for (const auto& info : list_) {
      if (info.Id <= 0 || !support::FileExists(LocalFile(info))) continue;
      if (support::FileModifiedTime(LocalFile(info)) != info.Created) DownloadSystem(info);
    }
    if (list_.empty()) {
      net::tSystemInfo placeholder;
      placeholder.Id = -1;
      placeholder.Title = "Список систем не доступен!";
      list_.push_back(placeholder);
    }
  }
  session_.GetHost().ViewChanged(ViewId::Systems);
  for (size_t i = 0; i < list_.size(); ++i)
    if (selected_id != 0 && list_[i].Id == selected_id) return static_cast<int>(i);
  return -1;
}

std::string SystemsState::FetchSystemRows(const net::tSystemInfo& info) {
  std::string rows;
  BusyGuard status(session_, fmt::format("Загрузка \"{}\"...", info.Title));
  session_.Reported(fmt::format("Ошибка загрузки системы #{}!", info.Id), [&] {
    rows = net::RequestSystemRows(CatalogUrl(), info.Id,
                                  session_.Network().RequestSettings(session_.Settings().Network));
  });
  return rows;
}

bool SystemsState::DownloadSystem(const net::tSystemInfo& info) {
  std::string rows;
  {
    BusyGuard status(session_, fmt::format("Загрузка \"{}\"...", info.Title));
    if (!session_.Reported(fmt::format("Ошибка загрузки системы #{}!", info.Id), [&] {
          rows = net::RequestSystemRows(CatalogUrl(), info.Id,
                                        session_.Network().RequestSettings(session_.Settings().Network));
        }))
      return false;
  }
  session_.Reported(fmt::format("Ошибка загрузки системы #{}!", info.Id), [&] {
    const std::vector<std::string> lines = support::SplitLines(rows);
    if (static_cast<int64_t>(lines.size()) != info.CSize)
      support::Fail("Количество скачанных комбинаций ( {} ) отличается от ожидаемого значения ( {} )", lines.size(),
                    info.CSize);
    std::filesystem::create_directories(Folder());
    std::string text;
    for (const auto& line : lines) {
      text += line;
      text += "\r\n";
    }
    const auto path = LocalFile(info);
    support::WriteFileAtomic(path, text);
    support::SetFileTimes(path, info.Created);
  });
  return support::FileExists(LocalFile(info));
}

void SystemsState::RemoveOtherSystems(int nums, const std::filesystem::path& keep) {
  // Every other file of the mask goes, also one no row of this list names, so that the system
  // for n values is the one just downloaded.
  for (const auto& path : stakes::SystemFilesFor(Folder(), nums)) {
    if (path == keep) continue;
    std::error_code ec;
    std::filesystem::remove(path, ec);
    if (ec) session_.GetHost().ShowError(fmt::format("Ошибка удаления файла \"{}\"!\r\r{}", path.string(), ec.message()));
  }
}

std::vector<int> SystemsState::SystemsDownload(const std::vector<int>& rows) {
  std::vector<int> done;
  for (const int row : rows) {
    if (!ValidRow(row) || list_[static_cast<size_t>(row)].Id <= 0) continue;
    const net::tSystemInfo info = list_[static_cast<size_t>(row)];
    if (!DownloadSystem(info)) continue;
    RemoveOtherSystems(info.Nums, LocalFile(info));
    done.push_back(row);
  }
  session_.GetHost().ViewChanged(ViewId::Systems);
  return done;
}

int32_t SystemsState::PutSystem(const net::tSystemData& data, bool del) {
  int32_t id = -1;
  BusyGuard status(session_, del ? fmt::format("Удаление \"{}\"...", data.Title)
                                 : fmt::format("Сохранение \"{}\"...", data.Title));
  session_.Reported(fmt::format("Ошибка сохранения системы #{}!", data.Id), [&] {
    id = net::RequestPutSystem(CatalogUrl(), data, del, session_.UserIdentity(), session_.MainView().Language,
                               session_.Network().RequestSettings(session_.Settings().Network));
  });
  return id;
}

net::tSystemData SystemsState::NewSystem() {
  net::tSystemData data;
  data.Author = session_.Settings().Network.UserName;
  data.AuthorMail = session_.Settings().Network.UserMail;
  return data;
}

int SystemsState::AddSystem(const net::tSystemData& edited) {
  const int32_t id = PutSystem(edited, false);
  if (id < 0) return -1;
  net::tSystemInfo info = edited;
  info.Id = id;
  // The placeholder of an empty catalogue gives way to the first real entry.
  if (list_.size() == 1 && list_.front().Id <= 0) list_.clear();
  list_.push_back(info);
  session_.GetHost().ViewChanged(ViewId::Systems);
  return static_cast<int>(list_.size()) - 1;
}

std::optional<net::tSystemData> SystemsState::SystemForEdit(int row) {
  if (!ValidRow(row) || list_[static_cast<size_t>(row)].Id <= 0) return std::nullopt;
  net::tSystemData data;
  static_cast<net::tSystemInfo&>(data) = list_[static_cast<size_t>(row)];
  data.CList = FetchSystemRows(data);
  return data;
}

bool SystemsState::ChangeSystem(int row, const net::tSystemData& edited) {
  if (!ValidRow(row) || !IsOwn(row)) return false;
  if (PutSystem(edited, false) < 0) return false;
  list_[static_cast<size_t>(row)] = edited;
  session_.GetHost().ViewChanged(ViewId::Systems);
  return true;
}

bool SystemsState::DeleteSystem(int row) {
  if (!ValidRow(row)) return false;
  if (!IsOwn(row)) {
    session_.GetHost().ShowWarning("Вы можете удалять только свои системы!");
    return false;
  }
  const net::tSystemInfo info = list_[static_cast<size_t>(row)];
  if (!session_.GetHost().AskYesNo(MessageKind::Confirmation,
                                   fmt::format("Вы действительно хотите удалить систему \"{}\"?", info.Title), false))
    return false;
  net::tSystemData data;
  static_cast<net::tSystemInfo&>(data) = info;
  if (PutSystem(data, true) != 0) return false;
  list_.erase(list_.begin() + row);
  std::error_code ec;
  std::filesystem::remove(LocalFile(info), ec);
  session_.GetHost().ViewChanged(ViewId::Systems);
  return true;
}

}  // namespace kelmora::shell
