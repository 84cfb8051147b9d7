#pragma once
// The draw dialog "Данные тиража": number, the four values as text, date and time. OK is accepted
// only when the values text passes the draw dialog's check.

#include <QDialog>

#include "lottery/types.h"

class QDateTimeEdit;
class QLineEdit;
class QSpinBox;

namespace kelmora::shell {
class Host;
}

namespace kelmora::gui {

class DrawDialog : public QDialog {
  Q_OBJECT
 public:
  // Throws support::Error when the record's date text is not a valid date (the caller reports it
  // and leaves the record as it is). A record without a date presets the current date and time.
  DrawDialog(QWidget* parent, shell::Host& host, const lottery::TDrawRec& draw, const QString& title);

  // The draw as entered; valid after the dialog was accepted.
  lottery::TDrawRec Result() const { return result_; }

  QSpinBox* NumberEdit() const { return number_; }
  QLineEdit* ValuesEdit() const { return values_; }
  QDateTimeEdit* DateEdit() const { return date_; }

  void accept() override;

 private:
  shell::Host& host_;
  QSpinBox* number_;
  QLineEdit* values_;
  QDateTimeEdit* date_;
  lottery::TDrawRec result_;
};

}  // namespace kelmora::gui
