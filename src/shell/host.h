#pragma once
// The one interface through which the Session reaches the user. The GUI implements it with Qt, the
// CLI with the terminal, tests with RecordingHost.

#include <optional>
#include <string>
#include <string_view>

#include "support/chart_data.h"

namespace kelmora::shell {

// Message boxes by caption: "Ошибка", "Информация", "Внимание!", "Предупреждение", "Подтверждение".
enum class MessageKind { Error, Information, Attention, Warning, Confirmation };

std::string_view MessageCaption(MessageKind kind);

// Views the Session tells the front end to refresh.
// StatSelectors: the statistic selectors were refilled (the registry's entries may be new ones).
// Layout, Graphs, Card, Week: the analysis pages' data was computed anew.
// Library: the online catalogue's entries or selection.
enum class ViewId {
  Draws, StatusBar, Combs, Filters, StatsTable, Stakes, Rating, Script, StatSelectors, Layout, Graphs, Card, Week,
  Library, Regulars, Systems, All
};

// Panels 2..5 of the script status bar: "Цикл: %d", "Строка: %d", "Ставок: %d", and the text.
struct ScriptProgressPanels {
  std::string Cycle, Line, Stakes, Text;
  bool operator==(const ScriptProgressPanels&) const = default;
};

class Host {
 public:
  virtual ~Host() = default;

  // A modal message box; texts use "\r" as line break.
  virtual void ShowMessage(MessageKind kind, std::string_view text) = 0;
  // A Yes/No question under the given caption; returns whether Yes was chosen.
  virtual bool AskYesNo(MessageKind caption, std::string_view text, bool yes_is_default) = 0;

  // Status panel 6; the front end repaints before returning.
  virtual void SetStatusText(std::string_view text) = 0;
  // Called when the busy counter leaves or reaches 0 (wait cursor, command availability).
  virtual void BusyChanged(bool busy) = 0;
  // Lets pending interface events run; a stop request arrives this way.
  virtual void ProcessEvents() = 0;

  virtual void ShowWait(std::string_view text) = 0;
  virtual void HideWait() = 0;
  // Whether the user asked to end what the wait window waits for (a network request); reset by
  // HideWait.
  virtual bool WaitCancelled() = 0;

  virtual void ShowProgress(std::string_view text, int maximum, bool with_cancel) = 0;
  virtual void SetProgressPosition(int position) = 0;
  virtual void SetProgressText(std::string_view text) = 0;
  virtual bool ProgressCancelled() = 0;
  virtual void HideProgress() = 0;

  // A text prompt; nullopt when the user cancels.
  virtual std::optional<std::string> PromptText(std::string_view caption, std::string_view prompt,
                                                std::string_view initial) = 0;

  virtual void ShowChart(const support::ChartData& chart) = 0;
  virtual std::string ClipboardText() = 0;
  virtual void SetClipboardText(std::string_view text) = 0;
  virtual void OpenDocument(std::string_view path_or_url) = 0;

  // Session data behind a view changed.
  virtual void ViewChanged(ViewId view) = 0;

  // The script runner's status bar; the front end shows the panels (and lets events run after).
  virtual void ShowScriptProgress(const ScriptProgressPanels& panels) { (void)panels; }
  // The script row the runner executes now (only that row selected); -1 clears the selection.
  virtual void ScriptRowRunning(int row) { (void)row; }

  // Convenience forms of the message kinds.
  void ShowError(std::string_view text) { ShowMessage(MessageKind::Error, text); }
  void ShowInformation(std::string_view text) { ShowMessage(MessageKind::Information, text); }
  void ShowAttention(std::string_view text) { ShowMessage(MessageKind::Attention, text); }
  void ShowWarning(std::string_view text) { ShowMessage(MessageKind::Warning, text); }
  bool Confirm(std::string_view text, bool yes_is_default = true) {
    return AskYesNo(MessageKind::Confirmation, text, yes_is_default);
  }
  // "Удалить выделенную запись?" or the plural form, caption "Предупреждение", No as default.
  bool ConfirmDelete(int count);
};

}  // namespace kelmora::shell
