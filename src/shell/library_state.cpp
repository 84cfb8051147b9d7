#include "shell/library_state.h"

#include <chrono>

#include <fmt/format.h>

#include "net/languages.h"
#include "shell/network_state.h"
#include "shell/script_state.h"
#include "shell/session.h"
#include "shell/switches.h"
#include "support/error.h"
#include "support/text.h"

namespace kelmora::shell {

namespace {

constexpr const char* SaveStatus = "Сохранение сценария в базе данных...";
constexpr const char* PublishFailure = "Ошибка публикации online-сценария!";

int64_t NowSeconds() {
  return std::chrono::duration_cast<std::chrono::seconds>(std::chrono::system_clock::now().time_since_epoch()).count();
}

// PutCatalogueScript of the current script's lines (joined with CR LF); -1 after a shown failure.
int32_t SaveScript(Session& session, const net::TCatalogueClient& client, const net::tScriptData& data) {
  int32_t id = -1;
  const std::string text = support::Join(session.Script().Lines(), "\r\n");
  session.Reported("Ошибка сохранения online-сценария в базе данных!",
                   [&] { id = net::PutCatalogueScript(client, data, text); });
  return id;
}

}  // namespace

const char* const LibraryState::ColumnCaptions[ColumnCount] = {
    "Тип",    "Название",    "Автор",    "Программа", "Версия",      "Язык",       "Создан",
    "Рейтинг", "Оценок",     "Ваша оценка", "Загрузок", "Последняя", "Комментарии"};

LibraryState::LibraryState(Session& session) : session_(session) {}

void LibraryState::Select(int row) { selected_ = row >= 0 && row < static_cast<int>(entries_.size()) ? row : -1; }

const net::tScriptInfo* LibraryState::SelectedEntry() const {
  return selected_ >= 0 && selected_ < static_cast<int>(entries_.size()) ? &entries_[static_cast<size_t>(selected_)]
                                                                         : nullptr;
}

bool LibraryState::Shown() const { return session_.MainView().ScriptLibraryOn; }

void LibraryState::ToggleShown() {
  session_.MainView().ScriptLibraryOn = !Shown();
  session_.WriteViewSwitch("ScriptLibraryOn", Shown() ? 1 : 0);
  RefreshScriptLibrary();
}

int LibraryState::FilterIndex() const {
  const int index = session_.MainView().ScriptLibraryFilter;
  return index >= 0 && index < net::CatalogueFilterCount ? index : net::DefaultCatalogueFilter;
}

void LibraryState::SetFilterIndex(int index) {
  if (index < 0 || index >= net::CatalogueFilterCount) return;
  session_.MainView().ScriptLibraryFilter = index;
  session_.WriteViewSwitch("ScriptLibraryFilter", index);
  RefreshScriptLibrary();
}

int LibraryState::Language() const {
  return session_.HasSwitch(SwitchNoLanguage) ? net::BaseLanguage : session_.MainView().Language;
}

net::TCatalogueClient LibraryState::Client() {
  net::TCatalogueClient client;
  client.BaseUrl = session_.Settings().Network.CatalogUrl;
  client.Identity = session_.UserIdentity();
  client.Http = session_.Network().RequestSettings(session_.Settings().Network);
  return client;
}

void LibraryState::RefreshScriptLibrary() {
  BusyGuard busy(session_, "Загрузка online-каталога сценариев...");
  const net::tScriptInfo* kept = Shown() ? SelectedEntry() : nullptr;
  const int32_t id = kept ? kept->Id : -1;
  const bool had_selection = kept != nullptr;
  entries_.clear();
  selected_ = -1;
  if (Shown()) {
    session_.Reported("Ошибка загрузки каталога online-сценариев!", [&] {
      net::LoadScriptCatalogue(Client(), FilterIndex() - 1, Language(),
                               [&](net::tScriptInfo info) { entries_.push_back(std::move(info)); });
    });
    if (had_selection)
      for (size_t i = 0; i < entries_.size(); ++i)
        if (entries_[i].Id == id) {
          selected_ = static_cast<int>(i);
          break;
        }
  }
  session_.GetHost().ViewChanged(ViewId::Library);
}

bool LibraryState::DownloadSelected() {
  const net::tScriptInfo* entry = SelectedEntry();
  if (!entry || !entry->Compatible) return false;
  const int32_t id = entry->Id;
  BusyGuard busy(session_, "Скачивание сценария из online-каталога...");
  std::optional<std::vector<std::string>> lines;
  if (!session_.Reported("Ошибка загрузки online-сценария!", [&] { lines = net::FetchCatalogueScript(Client(), id); }) ||
      !lines)
    return false;
  session_.Script().ReplaceLines(std::move(*lines));
  session_.Script().SaveCurrentScript();
  session_.Script().RefreshScriptView();
  return true;
}

bool LibraryState::Edit(net::tScriptData& data, const EditProperties& edit) {
  const auto result = edit(data, true, [this](const net::tScriptData& d) { return CheckProperties(d); });
  if (!result) return false;
  data = *result;
  return true;
}

std::optional<std::string> LibraryState::CheckProperties(const net::tScriptData& data) {
  Host& host = session_.GetHost();
  const std::string title(support::Trim(data.Title));
  if (title.empty()) {
    host.ShowError("Название сценария должно быть указано обязательно!");
    return "title";
  }
  bool free = false;
  {
    BusyGuard busy(session_);
    session_.Reported("Ошибка проверки уникальности online-сценария!",
                      [&] { free = net::CheckScriptTitle(Client(), data.Id, title); });
  }
  if (!free) {
    host.ShowError("Сценарий с таким названием уже существует!\rВыберите другое название.");
    return "title";
  }
  if (support::Trim(data.Author).empty()) {
    host.ShowError("Имя автора должно быть указано обязательно!");
    return "author";
  }
  return std::nullopt;
}

bool LibraryState::PublishScript(const EditProperties& edit) {
  bool published = false;
  session_.Reported(PublishFailure, [&] {
    net::tScriptData data = net::NewScriptData(session_.UserIdentity(), Language());
    if (!Edit(data, edit)) return;
    BusyGuard busy(session_, SaveStatus);
    const int32_t id = SaveScript(session_, Client(), data);
    if (id <= 0) return;
    const net::TUserIdentity identity = session_.UserIdentity();
    net::tScriptInfo info;
    info.Id = id;
    info.AppName = ProgramName;
    info.AppVer = identity.AppVer;
    net::ApplyScriptData(info, data);
    info.AuthorMail = identity.UserMail;
    info.Created = NowSeconds();
    info.Mine = info.Editable = info.Compatible = true;
    entries_.push_back(std::move(info));
    selected_ = static_cast<int>(entries_.size()) - 1;
    published = true;
    session_.GetHost().ViewChanged(ViewId::Library);
  });
  return published;
}

bool LibraryState::ReplaceScript(const EditProperties& edit) {
  bool replaced = false;
  session_.Reported(PublishFailure, [&] {
    const net::tScriptInfo* entry = SelectedEntry();
    if (!entry || !entry->Editable) return;
    const int row = selected_;
    net::tScriptData data = net::ToScriptData(*entry);
    if (!Edit(data, edit)) return;
    data.Id = entry->Id;
    BusyGuard busy(session_, SaveStatus);
    const int32_t id = SaveScript(session_, Client(), data);
    if (id <= 0) return;
    net::tScriptInfo& info = entries_[static_cast<size_t>(row)];
    info.Id = id;
    info.AppVer = session_.UserIdentity().AppVer;
    info.Created = NowSeconds();
    net::ApplyScriptData(info, data);
    replaced = true;
    session_.GetHost().ViewChanged(ViewId::Library);
  });
  return replaced;
}

bool LibraryState::DeleteScriptEntry() {
  bool deleted = false;
  session_.Reported(PublishFailure, [&] {
    const net::tScriptInfo* entry = SelectedEntry();
    if (!entry || !entry->Editable) return;
    const int row = selected_;
    if (!session_.GetHost().AskYesNo(MessageKind::Confirmation,
                                     fmt::format("Вы действительно хотите удалить сценарий \"{}\"?", entry->Title), false))
      return;
    const net::tScriptData data = net::ToScriptData(*entry);
    BusyGuard busy(session_, "Удаление сценария из базы данных...");
    int32_t result = -1;
    if (!session_.Reported("Ошибка удаления online-сценария из базы данных!",
                           [&] { result = net::RemoveCatalogueScript(Client(), data); }) ||
        result != 0)
      return;
    entries_.erase(entries_.begin() + row);
    selected_ = -1;
    deleted = true;
    session_.GetHost().ViewChanged(ViewId::Library);
  });
  return deleted;
}

bool LibraryState::RateSelected(int value) {
  const net::tScriptInfo* entry = SelectedEntry();
  if (!entry || value < -1 || value > 5) return false;
  const int32_t id = entry->Id;
  std::string notes;
  if (value > 0) {
    const auto answer = session_.GetHost().PromptText("Комментарий", "Вы можете оставить свой комментарий:", "");
    if (!answer) return false;
    notes = *answer;
  }
  bool sent = false;
  {
    BusyGuard busy(session_, "Отправка оценки на сервер...");
    session_.Reported("Ошибка сохранения оценки online-сценария!",
                      [&] { sent = net::SendScriptRate(Client(), id, value, Language(), notes); });
  }
  if (sent) RefreshScriptLibrary();
  return sent;
}

void LibraryState::ShowScriptProperties(const EditProperties& show) {
  session_.Reported("Ошибка просмотра свойств online-сценария!", [&] {
    const net::tScriptInfo* entry = SelectedEntry();
    if (!entry) return;
    show(net::ToScriptData(*entry), false, [](const net::tScriptData&) { return std::optional<std::string>("title"); });
  });
}

std::optional<std::vector<net::TScriptRate>> LibraryState::LoadSelectedRates() {
  const net::tScriptInfo* entry = SelectedEntry();
  if (!entry) return std::nullopt;
  const int32_t id = entry->Id;
  BusyGuard busy(session_, "Загрузка списка оценок...");
  std::optional<std::vector<net::TScriptRate>> rates;
  session_.Reported("Ошибка просмотра оценок online-сценария!", [&] { rates = net::LoadScriptRates(Client(), id); });
  return rates;
}

std::string LibraryState::Cell(const net::tScriptInfo& info, int column) const {
  switch (column) {
    case 0: return info.Mine ? "Мой" : "Общий";
    case 1: return info.Title;
    case 2: return info.Author;
    case 3: return info.Universal ? "Универсальный" : info.AppName;
    case 4: return info.AppVer;
    case 5: return net::LanguageAbbreviation(info.Lcid);
    case 6: return net::FormatLocalTime(info.Created);
    case 7: {
      // "%.3n": three decimals with the thousands separated by blanks.
      const std::string text = support::FormatFixed(info.Rating, 3, session_.DecimalSeparator());
      size_t point = text.find(session_.DecimalSeparator());
      if (point == std::string::npos) point = text.size();
      const size_t first = !text.empty() && text[0] == '-' ? 1 : 0;
      std::string grouped = text.substr(0, first);
      for (size_t i = first; i < point; ++i) {
        if (i > first && (point - i) % 3 == 0) grouped += ' ';
        grouped += text[i];
      }
      grouped += std::string_view(text).substr(point);
      return grouped;
    }
    case 8: return std::to_string(info.RatesCount);
    case 9: return info.MyRate < 0 ? "Скрытый" : info.MyRate == 0 ? std::string() : std::to_string(info.MyRate);
    case 10: return std::to_string(info.Downloads);
    case 11: return net::FormatLocalTime(info.LastDownload);
    case 12: return info.Descr;
    default: return {};
  }
}

}  // namespace kelmora::shell
