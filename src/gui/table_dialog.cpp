#include "gui/table_dialog.h"

#include <cstdlib>
#include <optional>

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "gui/qt_text.h"
#include "gui/small_windows.h"
#include "lottery/comb_text.h"
#include "shell/host.h"
#include "shell/regulars_state.h"
#include "shell/session.h"

namespace kelmora::gui {

namespace {

void Hint(QWidget* widget, const char* text) {
  widget->setToolTip(QString::fromUtf8(text));
  widget->setStatusTip(widget->toolTip());
}

}  // namespace

TableDialog::TableDialog(QWidget* parent, shell::Host& host, const stakes::TTableRec& rec, int selected,
                         const stakes::TTablesArray& names)
    : QDialog(parent), host_(host), result_(rec), names_(names), one_selected_(selected == 1) {
  setWindowTitle(QStringLiteral("Добавление регулярной ставки"));
  setObjectName(QStringLiteral("TFormTable"));
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel(QStringLiteral("Комментарий к ставке:"), this));
  comment_ = new QLineEdit(Q(rec.Name).left(static_cast<int>(shell::TableCommentMax)), this);
  comment_->setObjectName(QStringLiteral("edComment"));
  comment_->setMaxLength(static_cast<int>(shell::TableCommentMax));
  Hint(comment_, "Комментарий к ставке");
  layout->addWidget(comment_);
  use_my_comb_ = new QRadioButton(QStringLiteral("Использовать постоянную стартовую комбинацию:"), this);
  use_my_comb_->setObjectName(QStringLiteral("rbUseMyComb"));
  layout->addWidget(use_my_comb_);
  start_ = new QLineEdit(one_selected_ ? Q(lottery::CombToText(rec.StartComb)) : QStringLiteral("{...Выделенные комбинации...}"),
                         this);
  start_->setObjectName(QStringLiteral("edCombStart"));
  Hint(start_, "Введите числа, разделенные точкой с запятой или запятой");
  layout->addWidget(start_);
  use_last_draw_ = new QRadioButton(QStringLiteral("Использовать данные предыдущего тиража"), this);
  use_last_draw_->setObjectName(QStringLiteral("rbUseLastDraw"));
  layout->addWidget(use_last_draw_);
  (rec.UseLastDraw ? use_last_draw_ : use_my_comb_)->setChecked(true);
  auto* form = new QFormLayout();
  step_ = new QSpinBox(this);
  step_->setObjectName(QStringLiteral("edStep"));
  step_->setRange(-stakes::TableStepMax, stakes::TableStepMax);
  step_->setValue(rec.Step);
  Hint(step_, "Шаг изменения элементов комбинации");
  form->addRow(QStringLiteral("Шаг:"), step_);
  layout->addLayout(form);
  step_warning_ = new QLabel(MessageText(shell::TableStepWarningText), this);
  step_warning_->setWordWrap(true);
  step_warning_->setStyleSheet(QStringLiteral("color: #b00000"));
  layout->addWidget(step_warning_);
  layout->addWidget(OkCancelButtons(this));
  connect(use_my_comb_, &QRadioButton::toggled, this, [this] { UpdateState(); });
  connect(step_, &QSpinBox::valueChanged, this, [this] { UpdateState(); });
  UpdateState();
  setMinimumWidth(380);
  comment_->setFocus();
}

void TableDialog::UpdateState() {
  start_->setEnabled(use_my_comb_->isChecked() && one_selected_);
  // The step itself is allowed; the warning says what such a rule stakes.
  step_warning_->setVisible(std::abs(step_->value()) > stakes::TableStepSafe);
}

void TableDialog::accept() {
  std::optional<lottery::TComb> start;
  if (start_->isEnabled()) {
    start = shell::ParseDialogValues(U(start_->text()));
    if (!start) {
      host_.ShowError("Введена некорректная комбинация!");
      start_->setFocus();
      return;
    }
  }
  const std::string name = U(comment_->text());
  if (name.empty()) {
    host_.ShowError("Необходимо ввести комментарий!");
    comment_->setFocus();
    return;
  }
  if (stakes::FindTable(names_, name) >= 0) {
    host_.ShowError(shell::TableNameTakenText);
    comment_->setFocus();
    return;
  }
  result_.Name = name;
  result_.UseLastDraw = use_last_draw_->isChecked();
  result_.Step = step_->value();
  if (start) result_.StartComb = *start;
  QDialog::accept();
}

}  // namespace kelmora::gui
