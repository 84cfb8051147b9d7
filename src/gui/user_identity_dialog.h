#pragma once
// "Сведения о пользователе": the user name and e-mail address sent with the catalogue requests.
// It edits copies; the caller hands the result to Session::SetUserIdentity.

#include <string>

#include <QDialog>

class QLineEdit;

namespace kelmora::gui {

class UserIdentityDialog : public QDialog {
  Q_OBJECT
 public:
  UserIdentityDialog(QWidget* parent, const std::string& name, const std::string& mail);

  std::string Name() const;  // trimmed
  std::string Mail() const;  // trimmed
  QLineEdit* NameEdit() const { return name_; }
  QLineEdit* MailEdit() const { return mail_; }

 private:
  QLineEdit* name_;
  QLineEdit* mail_;
};

}  // namespace kelmora::gui
