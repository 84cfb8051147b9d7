#pragma once
// A Host for tests: records every message, status text and notification, and answers questions and
// prompts from queues set up by the test.

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "shell/host.h"

namespace kelmora::shell {

class RecordingHost : public Host {
 public:
  struct Message {
    MessageKind Kind;
    std::string Text;
  };

  void ShowMessage(MessageKind kind, std::string_view text) override;
  bool AskYesNo(MessageKind caption, std::string_view text, bool yes_is_default) override;
  void SetStatusText(std::string_view text) override;
  void BusyChanged(bool busy) override;
  void ProcessEvents() override;
  void ShowWait(std::string_view text) override;
  void HideWait() override;
  void ShowProgress(std::string_view text, int maximum, bool with_cancel) override;
  void SetProgressPosition(int position) override;
  void SetProgressText(std::string_view text) override;
  bool ProgressCancelled() override;
  void HideProgress() override;
  std::optional<std::string> PromptText(std::string_view caption, std::string_view prompt,
                                        std::string_view initial) override;
  void ShowChart(const support::ChartData& chart) override;
  std::string ClipboardText() override;
  void SetClipboardText(std::string_view text) override;
  void OpenDocument(std::string_view path_or_url) override;
  void ViewChanged(ViewId view) override;
  void ShowScriptProgress(const ScriptProgressPanels& panels) override;
  void ScriptRowRunning(int row) override;

  // Answers for AskYesNo, used in order; when empty, the question's default is taken.
  std::deque<bool> Answers;
  // Answers for PromptText; when empty, the prompt is cancelled.
  std::deque<std::optional<std::string>> PromptAnswers;
  // Called at every ProcessEvents (a test can request a stop from here).
  std::function<void()> OnProcessEvents;
  // ProgressCancelled answers true once this many calls have been made (-1: never).
  int CancelProgressAfter = -1;

  std::vector<Message> Messages;
  std::vector<Message> Questions;
  std::vector<std::string> StatusTexts;
  std::vector<std::string> WaitTexts;
  std::vector<std::string> ProgressTexts;
  std::vector<support::ChartData> Charts;
  std::vector<std::string> OpenedDocuments;
  std::vector<ViewId> ChangedViews;
  std::vector<ScriptProgressPanels> ScriptProgress;
  std::vector<int> ScriptRows;  // every ScriptRowRunning, -1 included
  std::string Clipboard;
  int BusyTransitions = 0;
  bool Busy = false;
  bool ProgressOpen = false;
  int ProgressMaximum = 0;
  int ProgressPosition = 0;
  int ProcessEventsCalls = 0;

  // Texts of the recorded messages of one kind.
  std::vector<std::string> MessagesOf(MessageKind kind) const;
  void Clear();

 private:
  int progress_checks_ = 0;
};

}  // namespace kelmora::shell
