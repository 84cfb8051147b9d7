#include "gui/draw_dialog.h"

#include <limits>

#include <QDateTimeEdit>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "gui/qt_text.h"
#include "lottery/comb_text.h"
#include "shell/host.h"
#include "shell/session.h"

namespace kelmora::gui {

DrawDialog::DrawDialog(QWidget* parent, shell::Host& host, const lottery::TDrawRec& draw, const QString& title)
    : QDialog(parent), host_(host), result_(draw) {
  // Converted first: an invalid stored date must fail before anything is shown.
  const lottery::TDate date = lottery::TextToDate(draw.Date);

  setWindowTitle(QStringLiteral("Данные тиража"));
  auto* layout = new QVBoxLayout(this);
  auto* heading = new QLabel(title, this);
  QFont bold = heading->font();
  bold.setBold(true);
  heading->setFont(bold);
  layout->addWidget(heading);

  auto* form = new QFormLayout();
  number_ = new QSpinBox(this);
  number_->setRange(1, std::numeric_limits<int>::max());
  number_->setValue(draw.Number);
  number_->setToolTip(QStringLiteral("Номер тиража"));
  number_->setStatusTip(number_->toolTip());
  form->addRow(QStringLiteral("Номер тиража:"), number_);

  values_ = new QLineEdit(Q(lottery::CombToText(draw.Values)), this);
  form->addRow(new QLabel(QStringLiteral("Выпавшие числа, разделенные точкой с запятой или запятой:"), this));
  form->addRow(values_);

  date_ = new QDateTimeEdit(this);
  date_->setDisplayFormat(QStringLiteral("dd.MM.yyyy HH:mm"));
  date_->setCalendarPopup(true);
  if (date.IsEmpty())
    date_->setDateTime(QDateTime::currentDateTime());
  else
    date_->setDateTime(QDateTime(QDate(date.Year, date.Month, date.Day), QTime(0, 0)));
  form->addRow(QStringLiteral("Дата и время тиража:"), date_);
  layout->addLayout(form);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Отмена"));
  connect(buttons, &QDialogButtonBox::accepted, this, &DrawDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &DrawDialog::reject);
  layout->addWidget(buttons);
  values_->setFocus();
}

void DrawDialog::accept() {
  const auto values = shell::ParseDialogValues(U(values_->text()));
  if (!values) {
    host_.ShowError("Введена некорректная комбинация!");
    values_->setFocus();
    return;
  }
  result_.Number = number_->value();
  result_.Values = *values;
  const QDate d = date_->date();
  result_.Date = lottery::DateToText({d.year(), d.month(), d.day()}).substr(0, 10);
  QDialog::accept();
}

}  // namespace kelmora::gui
