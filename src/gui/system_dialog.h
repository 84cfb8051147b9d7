#pragma once
// "Система": a catalogue entry with its rows, editable for an own or a new system, read-only for
// another author's. Leaving the rows field normalises it (rows "%.2d %.2d %.2d %.2d").

#include <QDialog>

#include "net/systems_catalog.h"

class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace kelmora::shell {
class Host;
}

namespace kelmora::gui {

class SystemDialog : public QDialog {
  Q_OBJECT
 public:
  SystemDialog(QWidget* parent, shell::Host& host, const net::tSystemData& data, bool editable);

  // The dialog's values (valid after OK).
  const net::tSystemData& Result() const { return result_; }
  // What leaving the rows field does: the rows normalised, "Числа:" and "Комбинаций:" updated.
  void NormaliseRows();

  QLineEdit* TitleEdit() const { return title_; }
  QPlainTextEdit* DescrEdit() const { return descr_; }
  QLineEdit* AuthorEdit() const { return author_; }
  QLineEdit* UrlEdit() const { return url_; }
  QPushButton* UrlButton() const { return url_button_; }
  QPlainTextEdit* CombsEdit() const { return combs_; }
  QLineEdit* CreatedEdit() const { return created_; }
  QLineEdit* CSizeEdit() const { return csize_; }
  QLineEdit* NumsEdit() const { return nums_; }
  QLineEdit* OlapEdit() const { return olap_; }
  QPushButton* OkButton() const { return ok_; }

  void accept() override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void ShowRowsMenu(const QPoint& pos);

  shell::Host& host_;
  net::tSystemData result_;
  bool editable_;
  QLineEdit* title_;
  QPlainTextEdit* descr_;
  QLineEdit* author_;
  QLineEdit* url_;
  QPushButton* url_button_;
  QPlainTextEdit* combs_;
  QLineEdit* created_;
  QLineEdit* csize_;
  QLineEdit* nums_;
  QLineEdit* length_;
  QLineEdit* olap_;
  QLineEdit* downloads_;
  QLineEdit* last_download_;
  QPushButton* ok_;
};

}  // namespace kelmora::gui
