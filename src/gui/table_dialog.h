#pragma once
// "Добавление регулярной ставки": the comment, a constant start combination or the previous
// draw's values, and the step of a regular table stake.

#include <QDialog>

#include "stakes/regulars.h"

class QLabel;
class QLineEdit;
class QRadioButton;
class QSpinBox;

namespace kelmora::shell {
class Host;
}

namespace kelmora::gui {

class TableDialog : public QDialog {
  Q_OBJECT
 public:
  // rec: the prepared rule; selected: how many combinations are selected; names: the rules'
  // names, which the comment must not repeat.
  TableDialog(QWidget* parent, shell::Host& host, const stakes::TTableRec& rec, int selected,
              const stakes::TTablesArray& names);

  const stakes::TTableRec& Result() const { return result_; }

  QLineEdit* CommentEdit() const { return comment_; }
  QRadioButton* UseMyComb() const { return use_my_comb_; }
  QRadioButton* UseLastDraw() const { return use_last_draw_; }
  QLineEdit* StartEdit() const { return start_; }
  QSpinBox* StepEdit() const { return step_; }
  // The warning under the step, shown while the step is beyond +-8.
  QLabel* StepWarning() const { return step_warning_; }

  void accept() override;

 private:
  void UpdateState();

  shell::Host& host_;
  stakes::TTableRec result_;
  const stakes::TTablesArray& names_;
  bool one_selected_;
  QLineEdit* comment_;
  QRadioButton* use_my_comb_;
  QRadioButton* use_last_draw_;
  QLineEdit* start_;
  QSpinBox* step_;
  QLabel* step_warning_;
};

}  // namespace kelmora::gui
