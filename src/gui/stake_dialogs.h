#pragma once
// The stake dialogs: "Добавление ставки" (one combination, editable), "Добавление мультиставки"
// (draw, comment and count for many combinations) and "Удаление по условию".

#include <QDialog>

#include "stakes/stake_rec.h"

class QComboBox;
class QLineEdit;
class QSpinBox;

namespace kelmora::shell {
class Host;
}

namespace kelmora::gui {

class StakeDialog : public QDialog {
  Q_OBJECT
 public:
  StakeDialog(QWidget* parent, shell::Host& host, const stakes::TStakeRec& rec, int count);

  // The record with the entered draw, comment and values, every other field as it came.
  const stakes::TStakeRec& Result() const { return result_; }
  int Count() const;

  QSpinBox* DrawEdit() const { return draw_; }
  QLineEdit* ValuesEdit() const { return values_; }
  QLineEdit* CommentEdit() const { return comment_; }
  QSpinBox* CountEdit() const { return count_; }
  QLineEdit* SumEdit() const { return sum_; }

  void accept() override;

 private:
  void UpdateSum();

  shell::Host& host_;
  QSpinBox* draw_;
  QLineEdit* values_;
  QLineEdit* comment_;
  QSpinBox* count_;
  QLineEdit* sum_;
  stakes::TStakeRec result_;
};

class MultiStakeDialog : public QDialog {
  Q_OBJECT
 public:
  MultiStakeDialog(QWidget* parent, shell::Host& host, int32_t draw, const QString& comment, int count);

  int32_t Draw() const;
  QString Comment() const;
  int Count() const;

  QSpinBox* DrawEdit() const { return draw_; }
  QLineEdit* CommentEdit() const { return comment_; }
  QSpinBox* CountEdit() const { return count_; }

  void accept() override;

 private:
  shell::Host& host_;
  QSpinBox* draw_;
  QLineEdit* comment_;
  QSpinBox* count_;
};

class StakeFilterDialog : public QDialog {
  Q_OBJECT
 public:
  // value: low byte the condition 0..4, high byte the number of matches.
  StakeFilterDialog(QWidget* parent, uint16_t value);
  uint16_t Value() const;

  QComboBox* ConditionEdit() const { return condition_; }
  QSpinBox* MatchesEdit() const { return matches_; }

 private:
  QComboBox* condition_;
  QSpinBox* matches_;
};

}  // namespace kelmora::gui
