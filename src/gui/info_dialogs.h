#pragma once
// The About dialog and the first-run dialog "Справочная информация".

#include <QDialog>

class QCheckBox;
class QPushButton;

namespace kelmora::gui {

class AboutDialog : public QDialog {
  Q_OBJECT
 public:
  explicit AboutDialog(QWidget* parent);
};

// An invitation to read the help; its button is enabled only when the help file exists.
class FirstRunDialog : public QDialog {
  Q_OBJECT
 public:
  FirstRunDialog(QWidget* parent, bool help_exists);
  // "Больше не показывать данный диалог" was ticked.
  bool DontShowAgain() const;
  QPushButton* HelpButton() const { return help_; }
  QCheckBox* DontShowBox() const { return dont_show_; }

 signals:
  void HelpRequested();

 private:
  QPushButton* help_;
  QCheckBox* dont_show_;
};

}  // namespace kelmora::gui
