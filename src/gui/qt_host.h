#pragma once
// The Host of the desktop program: message boxes, the wait and progress windows, prompts, the
// chart window, the clipboard and documents, with Qt. Unattended (screenshots, tests) it writes
// every message to stderr instead of waiting and answers questions from a queue, else No.

#include <deque>
#include <optional>
#include <memory>
#include <string>
#include <vector>

#include <QObject>
#include <QPointer>

#include "shell/host.h"

namespace kelmora::shell {
class ViewState;
}

class QWidget;

namespace kelmora::gui {

class ProgressWindow;
class WaitWindow;

class QtHost : public QObject, public shell::Host {
  Q_OBJECT

 public:
  explicit QtHost(bool unattended, QObject* parent = nullptr);
  ~QtHost() override;

  // Dialogs and message boxes are centred on this window.
  void SetDialogParent(QWidget* parent) { parent_ = parent; }
  // Where the chart window keeps its placement (section "TFormChart"); none: design placement.
  void SetViewState(shell::ViewState* view) { view_ = view; }
  QWidget* DialogParent() const { return parent_; }
  bool Unattended() const { return unattended_; }

  void ShowMessage(shell::MessageKind kind, std::string_view text) override;
  bool AskYesNo(shell::MessageKind caption, std::string_view text, bool yes_is_default) override;
  void SetStatusText(std::string_view text) override;
  void BusyChanged(bool busy) override;
  void ProcessEvents() override;
  void ShowWait(std::string_view text) override;
  void HideWait() override;
  bool WaitCancelled() override;
  // A second progress window while one is open fails with "Окно индикатора уже создано!".
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
  void ViewChanged(shell::ViewId view) override;
  void ShowScriptProgress(const shell::ScriptProgressPanels& panels) override;
  void ScriptRowRunning(int row) override;

  // Unattended mode: answers for AskYesNo in order, and every message and question shown.
  std::deque<bool> Answers;
  // Unattended mode: answers for PromptText in order; when empty, the prompt is cancelled.
  std::deque<std::optional<std::string>> PromptAnswers;
  struct Logged {
    shell::MessageKind Kind;
    std::string Text;
  };
  std::vector<Logged> Messages;
  std::vector<Logged> Questions;
  std::vector<std::string> OpenedDocuments;
  std::vector<support::ChartData> Charts;

  WaitWindow* Wait() const { return wait_.get(); }
  ProgressWindow* Progress() const { return progress_.get(); }

 signals:
  void StatusTextChanged(const QString& text);
  void BusyStateChanged(bool busy);
  void SessionViewChanged(kelmora::shell::ViewId view);
  // Panels 2..5 of the script status bar: cycle, line, stakes, text.
  void ScriptProgressChanged(const QString& cycle, const QString& line, const QString& stakes, const QString& text);
  void ScriptRowChanged(int row);

 private:
  void Log(const char* what, shell::MessageKind kind, std::string_view text);

  bool unattended_;
  QPointer<QWidget> parent_;
  shell::ViewState* view_ = nullptr;
  std::unique_ptr<WaitWindow> wait_;
  std::unique_ptr<ProgressWindow> progress_;
};

}  // namespace kelmora::gui
