#include "gui/user_identity_dialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "gui/qt_text.h"
#include "gui/small_windows.h"

namespace kelmora::gui {

UserIdentityDialog::UserIdentityDialog(QWidget* parent, const std::string& name, const std::string& mail)
    : QDialog(parent) {
  setWindowTitle(QStringLiteral("Сведения о пользователе"));
  auto* layout = new QVBoxLayout(this);
  auto* note = new QLabel(QStringLiteral("Имя и адрес электронной почты передаются каталогу сценариев и систем\n"
                                         "вместе с вашими оценками и опубликованными записями."),
                          this);
  layout->addWidget(note);
  auto* form = new QFormLayout();
  name_ = new QLineEdit(Q(name), this);
  name_->setToolTip(QStringLiteral("Имя пользователя"));
  name_->setMinimumWidth(260);
  mail_ = new QLineEdit(Q(mail), this);
  mail_->setToolTip(QStringLiteral("Адрес электронной почты (не обязательно)"));
  form->addRow(QStringLiteral("Имя пользователя:"), name_);
  form->addRow(QStringLiteral("E-mail:"), mail_);
  layout->addLayout(form);
  layout->addWidget(OkCancelButtons(this));
}

std::string UserIdentityDialog::Name() const { return U(name_->text().trimmed()); }
std::string UserIdentityDialog::Mail() const { return U(mail_->text().trimmed()); }

}  // namespace kelmora::gui
