#pragma once
// The systems page without widgets: the catalogue list (only while the page is shown), the local
// "Systems" folder, the catalogue's download, publish, change and delete, and system play. Owned
// by the Session; the page and the dialog only show and ask.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "net/systems_catalog.h"
#include "stakes/systems.h"

namespace kelmora::shell {

class Session;

class SystemsState {
 public:
  explicit SystemsState(Session& session);

  std::filesystem::path Folder() const;  // "Systems" in the data folder
  // The local file of an entry (whether or not it exists).
  std::filesystem::path LocalFile(const net::tSystemInfo& info) const;

  // --- system play ---
  // The system for these values. A missing one shows the long message (with show_failure), a bad
  // one "Ошибка загрузки комбинаций системы!"; Failure tells why in both cases.
  stakes::TSystemLoad LoadSystemFor(const std::vector<uint8_t>& values, bool show_failure = true);
  // What the multi-stake dialog opens with: the system's combinations and the defaults.
  struct TSystemPlay {
    int Values = 0;
    lottery::TCombsArray System;
    std::filesystem::path File;
    int32_t Draw = 0;  // NextDrawNumber
    std::string Name;  // "Системная игра для %d чисел [вся система]: %s" or "... [комбинации]: %s"
  };
  // "SystemStakeAll" / "SystemStakeFilter" before the dialog; nullopt after a shown failure.
  std::optional<TSystemPlay> PrepareSystemPlay(bool whole);
  // After the dialog's OK: a new group, then one stake (Kind 4) per system combination (with whole
  // false only those in the combination list), each with the count; stops at the first failed
  // append; checks after a successful last one. Returns how many records were appended, -1 after
  // a failure.
  int SystemStake(const TSystemPlay& play, bool whole, int32_t draw, std::string_view name, int count);

  // --- the page ---
  bool Shown() const { return shown_; }
  // "SystemsOn": toggles the page, stores "SystemsEnabled"; shown loads the list, hidden empties it.
  void SystemsOn();
  // The page appears without touching the view state (a command line that lists the catalogue).
  void Show() { shown_ = true; }
  void Hide();

  const std::vector<net::tSystemInfo>& List() const { return list_; }
  bool IsDownloaded(int row) const;
  // The entry's author e-mail equals the user's, ignoring case.
  bool IsOwn(int row) const;
  // The list view's columns "Название" ... "Ссылка".
  static constexpr int ColumnCount = 11;
  static const char* ColumnCaption(int column);
  std::string Cell(int row, int column) const;

  // "RefreshSystemsList": reloads the list (one placeholder row when the catalogue has none) and
  // downloads again every local system whose file time differs from its Created. Returns the row
  // of selected_id in the new list, -1 when it is not there; a failure is shown and leaves the
  // list empty.
  int RefreshSystemsList(int32_t selected_id = 0);
  // The entry's rows ("Ошибка загрузки системы #%d!" shown on failure, then empty).
  std::string FetchSystemRows(const net::tSystemInfo& info);
  // Fetches and stores the local file with its times set to Created; whether the file now exists.
  bool DownloadSystem(const net::tSystemInfo& info);
  // "SystemsDownload" over list rows in view order: each downloaded one removes every other local
  // system of its Nums. Returns the rows downloaded.
  std::vector<int> SystemsDownload(const std::vector<int>& rows);
  // The put; the catalogue's identifier, -1 on failure ("Ошибка сохранения системы #%d!" shown).
  int32_t PutSystem(const net::tSystemData& data, bool del);

  // "SystemsAdd" before the dialog: an empty entry with the user's name and e-mail.
  net::tSystemData NewSystem();
  // After the dialog's OK: the put; the new entry is appended. Returns its row, -1 on failure.
  int AddSystem(const net::tSystemData& edited);
  // "SystemsProp" before the dialog: the entry with its rows; nullopt for a row outside.
  std::optional<net::tSystemData> SystemForEdit(int row);
  // After the dialog's OK on an own entry: the put, then the row takes the dialog's values.
  bool ChangeSystem(int row, const net::tSystemData& edited);
  // "SystemsDel": own entries only; the confirmation; the put; the row and its local file go.
  bool DeleteSystem(int row);

 private:
  std::string CatalogUrl() const;
  bool ValidRow(int row) const { return row >= 0 && row < static_cast<int>(list_.size()); }
  // Removes the local systems for nums other than keep.
  void RemoveOtherSystems(int nums, const std::filesystem::path& keep);

  Session& session_;
  bool shown_ = false;
  std::vector<net::tSystemInfo> list_;
};

}  // namespace kelmora::shell
