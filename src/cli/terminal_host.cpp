#include "cli/terminal_host.h"

#include <fmt/format.h>

#include "support/text.h"

namespace kelmora::cli {

void TerminalHost::ShowMessage(shell::MessageKind kind, std::string_view text) {
  if (kind == shell::MessageKind::Error && errors_as_warnings_) kind = shell::MessageKind::Warning;
  if (kind == shell::MessageKind::Error) error_shown_ = true;
  err_ << PrefixedMessage(shell::MessageCaption(kind), text) << "\n";
}

std::string PrefixedMessage(std::string_view caption, std::string_view text) {
  std::string shown = support::MessageToDisplay(text);
  // "Ошибка: Ошибка чтения ..." says the word twice; the text's own first word is caption enough.
  if (shown.rfind(caption, 0) == 0) return shown;
  return fmt::format("{}: {}", caption, shown);
}

bool TerminalHost::AskYesNo(shell::MessageKind, std::string_view, bool) { return true; }

void TerminalHost::ShowProgress(std::string_view text, int maximum, bool) {
  progress_max_ = maximum;
  progress_percent_ = -1;
  if (show_progress_) err_ << text << "\n";
}

void TerminalHost::SetProgressPosition(int position) {
  if (!show_progress_ || progress_max_ <= 0) return;
  const int percent = static_cast<int>(100LL * position / progress_max_);
  if (percent != progress_percent_ && percent % 10 == 0) err_ << percent << "%\n";
  progress_percent_ = percent;
}

void TerminalHost::HideProgress() { progress_max_ = 0; }

void TerminalHost::ShowScriptProgress(const shell::ScriptProgressPanels& panels) {
  if (!show_script_progress_) return;
  const auto now = std::chrono::steady_clock::now();
  if (now - last_script_progress_ < std::chrono::milliseconds(250)) return;
  last_script_progress_ = now;
  err_ << panels.Cycle << '\t' << panels.Line << '\t' << panels.Stakes << '\t' << panels.Text << '\n';
}

}  // namespace kelmora::cli
