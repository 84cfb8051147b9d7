#pragma once
// The Host of the command-line front end: messages go to stderr with their caption, questions are
// answered Yes (the command itself is the user's request), status texts are not shown.

#include <chrono>
#include <functional>
#include <ostream>
#include <string>
#include <string_view>

#include "shell/host.h"

namespace kelmora::cli {

// "Caption: text" as printed on stderr; the caption is left out when the text begins with it.
std::string PrefixedMessage(std::string_view caption, std::string_view text);

class TerminalHost : public shell::Host {
 public:
  explicit TerminalHost(std::ostream& err) : err_(err) {}

  void ShowMessage(shell::MessageKind kind, std::string_view text) override;
  bool AskYesNo(shell::MessageKind caption, std::string_view text, bool yes_is_default) override;
  void SetStatusText(std::string_view) override {}
  void BusyChanged(bool) override {}
  void ProcessEvents() override {
    if (OnProcessEvents) OnProcessEvents();
  }
  void ShowWait(std::string_view) override {}
  void HideWait() override {}
  void ShowProgress(std::string_view text, int maximum, bool with_cancel) override;
  void SetProgressPosition(int position) override;
  void SetProgressText(std::string_view) override {}
  bool ProgressCancelled() override { return false; }
  void HideProgress() override;
  std::optional<std::string> PromptText(std::string_view, std::string_view, std::string_view) override {
    return std::nullopt;
  }
  void ShowChart(const support::ChartData&) override {}
  std::string ClipboardText() override { return {}; }
  void SetClipboardText(std::string_view) override {}
  void OpenDocument(std::string_view) override {}
  void ViewChanged(shell::ViewId) override {}
  // The script status bar as one stderr line, at most a few a second (while script progress is on).
  void ShowScriptProgress(const shell::ScriptProgressPanels& panels) override;

  // Called at every check point of a long operation (the script commands look at Ctrl+C here).
  std::function<void()> OnProcessEvents;

  // Whether an error message was shown (the command then exits with 1).
  bool ErrorShown() const { return error_shown_; }
  // While on, error messages are printed as warnings and do not fail the command.
  void SetErrorsAsWarnings(bool on) { errors_as_warnings_ = on; }
  // Shows progress on stderr (off by default so that scripted runs stay quiet).
  void SetShowProgress(bool on) { show_progress_ = on; }
  void SetShowScriptProgress(bool on) { show_script_progress_ = on; }

 private:
  std::ostream& err_;
  bool error_shown_ = false;
  bool errors_as_warnings_ = false;
  bool show_progress_ = false;
  bool show_script_progress_ = false;
  std::chrono::steady_clock::time_point last_script_progress_{};
  int progress_max_ = 0;
  int progress_percent_ = -1;
};

}  // namespace kelmora::cli
