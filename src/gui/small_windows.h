#pragma once
// The wait window and the progress window shared by long operations, and the buttons the dialogs share.

#include <QDialog>

class QDialogButtonBox;
class QLabel;
class QProgressBar;
class QPushButton;

namespace kelmora::gui {

// "OK" and "Отмена" that accept and reject the dialog (owned by it).
QDialogButtonBox* OkCancelButtons(QDialog* dialog);

// One text, replaceable while shown; closed by the operation that opened it.
class WaitWindow : public QDialog {
  Q_OBJECT
 public:
  explicit WaitWindow(QWidget* parent);
  void SetText(const QString& text);
  QString Text() const;
  // "Отмена" (or Esc) asks to end what is waited for; the window stays until it is closed.
  bool Cancelled() const { return cancelled_; }
  QPushButton* CancelButton() const { return cancel_; }
  void reject() override;

 private:
  QLabel* label_;
  QPushButton* cancel_;
  bool cancelled_ = false;
};

// A text, a gauge from 0 to a maximum and an optional "Отмена" button; pressing it disables the
// button and marks the stop request the owner reads.
class ProgressWindow : public QDialog {
  Q_OBJECT
 public:
  ProgressWindow(QWidget* parent, const QString& text, int maximum, bool with_cancel);
  void SetText(const QString& text);
  // Moves the gauge; never beyond the maximum.
  void SetPosition(int position);
  int Position() const;
  bool Cancelled() const { return cancelled_; }
  QPushButton* CancelButton() const { return cancel_; }

 private:
  QLabel* label_;
  QProgressBar* bar_;
  QPushButton* cancel_ = nullptr;
  bool cancelled_ = false;
};

}  // namespace kelmora::gui
