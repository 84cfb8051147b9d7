#include "shell/recording_host.h"

namespace kelmora::shell {

void RecordingHost::ShowMessage(MessageKind kind, std::string_view text) {
  Messages.push_back({kind, std::string(text)});
}

bool RecordingHost::AskYesNo(MessageKind caption, std::string_view text, bool yes_is_default) {
  Questions.push_back({caption, std::string(text)});
  if (Answers.empty()) return yes_is_default;
  const bool answer = Answers.front();
  Answers.pop_front();
  return answer;
}

void RecordingHost::SetStatusText(std::string_view text) { StatusTexts.emplace_back(text); }

void RecordingHost::BusyChanged(bool busy) {
  Busy = busy;
  ++BusyTransitions;
}

void RecordingHost::ProcessEvents() {
  ++ProcessEventsCalls;
  if (OnProcessEvents) OnProcessEvents();
}

void RecordingHost::ShowWait(std::string_view text) { WaitTexts.emplace_back(text); }
void RecordingHost::HideWait() { WaitTexts.emplace_back(); }

void RecordingHost::ShowProgress(std::string_view text, int maximum, bool) {
  ProgressOpen = true;
  ProgressMaximum = maximum;
  ProgressPosition = 0;
  ProgressTexts.emplace_back(text);
}

void RecordingHost::SetProgressPosition(int position) { ProgressPosition = position; }
void RecordingHost::SetProgressText(std::string_view text) { ProgressTexts.emplace_back(text); }

bool RecordingHost::ProgressCancelled() {
  ++progress_checks_;
  return CancelProgressAfter >= 0 && progress_checks_ > CancelProgressAfter;
}

void RecordingHost::HideProgress() { ProgressOpen = false; }

std::optional<std::string> RecordingHost::PromptText(std::string_view, std::string_view, std::string_view) {
  if (PromptAnswers.empty()) return std::nullopt;
  auto answer = PromptAnswers.front();
  PromptAnswers.pop_front();
  return answer;
}

void RecordingHost::ShowChart(const support::ChartData& chart) { Charts.push_back(chart); }
std::string RecordingHost::ClipboardText() { return Clipboard; }
void RecordingHost::SetClipboardText(std::string_view text) { Clipboard = std::string(text); }
void RecordingHost::OpenDocument(std::string_view path_or_url) { OpenedDocuments.emplace_back(path_or_url); }
void RecordingHost::ViewChanged(ViewId view) { ChangedViews.push_back(view); }
void RecordingHost::ShowScriptProgress(const ScriptProgressPanels& panels) { ScriptProgress.push_back(panels); }
void RecordingHost::ScriptRowRunning(int row) { ScriptRows.push_back(row); }

std::vector<std::string> RecordingHost::MessagesOf(MessageKind kind) const {
  std::vector<std::string> out;
  for (const auto& m : Messages)
    if (m.Kind == kind) out.push_back(m.Text);
  return out;
}

void RecordingHost::Clear() {
  Messages.clear();
  Questions.clear();
  StatusTexts.clear();
  WaitTexts.clear();
  ProgressTexts.clear();
  Charts.clear();
  OpenedDocuments.clear();
  ChangedViews.clear();
  ScriptProgress.clear();
  ScriptRows.clear();
}

}  // namespace kelmora::shell
