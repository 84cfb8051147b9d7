#pragma once
// The online script library without widgets: the catalogue view's entries (they live only here,
// nothing is stored locally), the selected entry, the panel's visibility and filter, and the
// operations of its commands. Every failure is shown in the operation's own words; the busy state
// and the status text are restored however an operation ends. Owned by the Session.

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "net/script_library.h"

namespace kelmora::shell {

class Session;

class LibraryState {
 public:
  explicit LibraryState(Session& session);

  // The properties dialog: shows the data (editable or read-only) and returns what the user
  // confirmed, nullopt for Cancel. An editable dialog calls `validate` when OK is pressed and stays
  // open, focusing the field it names ("title", "author"), while it returns one.
  using Validate = std::function<std::optional<std::string>(const net::tScriptData&)>;
  using EditProperties =
      std::function<std::optional<net::tScriptData>(const net::tScriptData& data, bool editable, const Validate& validate)>;

  const std::vector<net::tScriptInfo>& Entries() const { return entries_; }
  // The selected row, -1 when none; the front end's selection is mirrored here.
  int Selected() const { return selected_; }
  void Select(int row);
  const net::tScriptInfo* SelectedEntry() const;

  bool Shown() const;
  // "ScriptLibrary": toggles the panel, stores "ScriptLibraryOn" at once and refreshes (hidden:
  // the view is emptied).
  void ToggleShown();
  // The filter box's index 0..7 ("ScriptLibraryFilter"); setting it stores it and refreshes.
  int FilterIndex() const;
  void SetFilterIndex(int index);

  // "Обновить": the catalogue again, the selection kept on the same entry when still listed.
  void RefreshScriptLibrary();
  // "Скачать из каталога": the selected entry's script replaces the current one, which is saved.
  bool DownloadSelected();
  // "Опубликовать", "Изменить", "Удалить".
  bool PublishScript(const EditProperties& edit);
  bool ReplaceScript(const EditProperties& edit);
  bool DeleteScriptEntry();
  // Ratings 1..5 ask for a comment through the Host first; -1 hides, 0 removes the rating.
  bool RateSelected(int value);
  // "Свойства сценария": the selected entry read-only; nothing is sent.
  void ShowScriptProperties(const EditProperties& show);
  // "Просмотр оценок": the ratings of the selected entry, nullopt after a failure (or no answer).
  std::optional<std::vector<net::TScriptRate>> LoadSelectedRates();

  // The properties dialog's OK check, in order: a title, a free title (asked under the busy
  // state), an author. Shows what is wrong; returns the field to focus ("title", "author") or
  // nullopt when the data may be sent.
  std::optional<std::string> CheckProperties(const net::tScriptData& data);

  // The catalogue client of the configuration (CatalogUrl, CaFile) and the user's identity.
  net::TCatalogueClient Client();
  // The current interface language.
  int Language() const;

  // Cells of the catalogue view's columns ("Тип" ... "Комментарии") for an entry.
  static constexpr int ColumnCount = 13;
  static const char* const ColumnCaptions[ColumnCount];
  std::string Cell(const net::tScriptInfo& info, int column) const;

 private:
  bool Edit(net::tScriptData& data, const EditProperties& edit);

  Session& session_;
  std::vector<net::tScriptInfo> entries_;
  int selected_ = -1;
};

}  // namespace kelmora::shell
