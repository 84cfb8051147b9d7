#include "gui/qt_host.h"

#include <cstdio>

#include <QApplication>
#include <QClipboard>
#include <QDesktopServices>
#include <QFileInfo>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QUrl>

#include "gui/chart_window.h"
#include "gui/qt_text.h"
#include "gui/small_windows.h"
#include "gui/window_placement.h"
#include "support/error.h"
#include "support/text.h"

namespace kelmora::gui {

QString MessageText(std::string_view text) { return Q(support::MessageToDisplay(text)); }

namespace {

QMessageBox::Icon IconOf(shell::MessageKind kind) {
  switch (kind) {
    case shell::MessageKind::Error: return QMessageBox::Critical;
    case shell::MessageKind::Information: return QMessageBox::Information;
    case shell::MessageKind::Attention:
    case shell::MessageKind::Warning: return QMessageBox::Warning;
    case shell::MessageKind::Confirmation: return QMessageBox::Question;
  }
  return QMessageBox::NoIcon;
}

}  // namespace

QtHost::QtHost(bool unattended, QObject* parent) : QObject(parent), unattended_(unattended) {}

QtHost::~QtHost() = default;

void QtHost::Log(const char* what, shell::MessageKind kind, std::string_view text) {
  const std::string caption(shell::MessageCaption(kind));
  std::fprintf(stderr, "%s [%s] %s\n", what, caption.c_str(), support::MessageToDisplay(text).c_str());
}

void QtHost::ShowMessage(shell::MessageKind kind, std::string_view text) {
  if (unattended_) {
    Messages.push_back({kind, std::string(text)});
    Log("message", kind, text);
    return;
  }
  QMessageBox box(IconOf(kind), Q(shell::MessageCaption(kind)), MessageText(text), QMessageBox::Ok, parent_);
  box.exec();
}

bool QtHost::AskYesNo(shell::MessageKind caption, std::string_view text, bool yes_is_default) {
  if (unattended_) {
    Questions.push_back({caption, std::string(text)});
    Log("question", caption, text);
    if (Answers.empty()) return false;
    const bool answer = Answers.front();
    Answers.pop_front();
    return answer;
  }
  QMessageBox box(IconOf(caption), Q(shell::MessageCaption(caption)), MessageText(text),
                  QMessageBox::Yes | QMessageBox::No, parent_);
  box.button(QMessageBox::Yes)->setText(QStringLiteral("Да"));
  box.button(QMessageBox::No)->setText(QStringLiteral("Нет"));
  box.setDefaultButton(yes_is_default ? QMessageBox::Yes : QMessageBox::No);
  return box.exec() == QMessageBox::Yes;
}

void QtHost::SetStatusText(std::string_view text) { emit StatusTextChanged(Q(text)); }

void QtHost::BusyChanged(bool busy) {
  if (busy)
    QApplication::setOverrideCursor(Qt::WaitCursor);
  else
    QApplication::restoreOverrideCursor();
  emit BusyStateChanged(busy);
}

void QtHost::ProcessEvents() { QCoreApplication::processEvents(); }

void QtHost::ShowScriptProgress(const shell::ScriptProgressPanels& panels) {
  emit ScriptProgressChanged(Q(panels.Cycle), Q(panels.Line), Q(panels.Stakes), Q(panels.Text));
}

void QtHost::ScriptRowRunning(int row) { emit ScriptRowChanged(row); }

void QtHost::ShowWait(std::string_view text) {
  if (!wait_) wait_ = std::make_unique<WaitWindow>(parent_);
  wait_->SetText(Q(text));
  if (!unattended_) wait_->show();
  QCoreApplication::processEvents();
}

void QtHost::HideWait() { wait_.reset(); }

bool QtHost::WaitCancelled() { return wait_ && wait_->Cancelled(); }

void QtHost::ShowProgress(std::string_view text, int maximum, bool with_cancel) {
  if (progress_) support::Fail("Окно индикатора уже создано!");
  progress_ = std::make_unique<ProgressWindow>(parent_, Q(text), maximum, with_cancel);
  if (!unattended_) progress_->show();
  QCoreApplication::processEvents();
}

void QtHost::SetProgressPosition(int position) {
  if (!progress_) return;
  progress_->SetPosition(position);
  QCoreApplication::processEvents();
}

void QtHost::SetProgressText(std::string_view text) {
  if (progress_) progress_->SetText(Q(text));
}

bool QtHost::ProgressCancelled() { return progress_ && progress_->Cancelled(); }

void QtHost::HideProgress() { progress_.reset(); }

std::optional<std::string> QtHost::PromptText(std::string_view caption, std::string_view prompt,
                                              std::string_view initial) {
  if (unattended_) {
    if (PromptAnswers.empty()) return std::nullopt;
    auto answer = PromptAnswers.front();
    PromptAnswers.pop_front();
    return answer;
  }
  bool ok = false;
  const QString text = QInputDialog::getText(parent_, Q(caption), Q(prompt), QLineEdit::Normal, Q(initial), &ok);
  if (!ok) return std::nullopt;
  return U(text);
}

void QtHost::ShowChart(const support::ChartData& chart) {
  if (unattended_) {
    Charts.push_back(chart);
    std::fprintf(stderr, "chart [%s] %zu series\n", chart.Title.c_str(), chart.Series.size());
    return;
  }
  ChartWindow window(parent_, chart);
  constexpr const char* Section = "TFormChart";
  if (view_ && RestoreWindowPlacement(*view_, Section, window)) window.setWindowState(Qt::WindowMaximized);
  window.exec();
  if (view_) {
    try {
      SaveWindowPlacement(*view_, Section, window);
    } catch (const std::exception& e) {
      ShowError(std::string("Ошибка сохранения параметров программы!\r\r") + e.what());
    }
  }
}

std::string QtHost::ClipboardText() { return U(QGuiApplication::clipboard()->text()); }

void QtHost::SetClipboardText(std::string_view text) { QGuiApplication::clipboard()->setText(Q(text)); }

void QtHost::OpenDocument(std::string_view path_or_url) {
  OpenedDocuments.emplace_back(path_or_url);
  if (unattended_) return;
  const QString target = Q(path_or_url);
  const QUrl url = QFileInfo::exists(target) ? QUrl::fromLocalFile(target) : QUrl::fromUserInput(target);
  QDesktopServices::openUrl(url);
}

void QtHost::ViewChanged(shell::ViewId view) { emit SessionViewChanged(view); }

}  // namespace kelmora::gui
