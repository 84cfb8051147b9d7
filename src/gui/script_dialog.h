#pragma once
// The step dialog (`TFormScript`, the system's EditStepLine): the comment, the step's options and
// its seven filter slots, each edited as text or through the filter editor. OK composes the line
// without any check; Cancel leaves it unchanged. Also the number-of-tests dialog of "Тест".

#include <array>
#include <optional>
#include <string>

#include <QDialog>

#include "scripts/script.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QSpinBox;
class QToolButton;

namespace kelmora::shell {
class Session;
}

namespace kelmora::gui {

class ScriptDialog : public QDialog {
  Q_OBJECT
 public:
  // `title` is the command's ("Создание новой строки", "Редактирование строки"); the exclusion
  // count is the default, overwritten by a non-empty line's option word.
  ScriptDialog(QWidget* parent, shell::Session& session, const QString& title, int exclude_count,
               const std::string& line);

  // The line the controls compose (option word, seven slots, comment).
  std::string Line() const;
  // Opens the filter editor on slot 0..6; the slot takes the edited text when the user confirms.
  void EditFilter(int slot);

  QLineEdit* Comments() const { return comments_; }
  QComboBox* StartList() const { return start_list_; }
  QSpinBox* DrawsExclude() const { return draws_exclude_; }
  QComboBox* StakeMode() const { return stake_mode_; }
  QCheckBox* ClearStakes() const { return clear_stakes_; }
  QCheckBox* NewOnly() const { return new_only_; }
  QLineEdit* Filter(int slot) const { return filters_[static_cast<size_t>(slot)]; }
  QToolButton* FilterButton(int slot) const { return buttons_[static_cast<size_t>(slot)]; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  shell::Session& session_;
  QLineEdit* comments_;
  QComboBox* start_list_;
  QSpinBox* draws_exclude_;
  QComboBox* stake_mode_;
  QCheckBox* clear_stakes_;
  QCheckBox* new_only_;
  std::array<QLineEdit*, filtering::FilterSlots> filters_{};
  std::array<QToolButton*, filtering::FilterSlots> buttons_{};
};

// "Количество тестов": how many of the latest draws the test runs on, 1..maximum, preset 10
// (kept within the range).
class TestCountDialog : public QDialog {
  Q_OBJECT
 public:
  TestCountDialog(QWidget* parent, int maximum);
  int Count() const;
  QSpinBox* CountEdit() const { return count_; }

 private:
  int maximum_;
  QSpinBox* count_;
};

}  // namespace kelmora::gui
