#include "gui/proxy_dialog.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "gui/qt_text.h"
#include "gui/small_windows.h"

namespace kelmora::gui {

ProxyDialog::ProxyDialog(QWidget* parent, const lottery::TProxy& proxy) : QDialog(parent), original_(proxy) {
  setWindowTitle(QStringLiteral("Параметры proxy-сервера"));
  auto* layout = new QVBoxLayout(this);
  auto* group = new QButtonGroup(this);
  const QString captions[] = {QStringLiteral("Не использовать proxy-сервер"),
                              QStringLiteral("Автоматический поиск сервера (возможны задержки)"),
                              QStringLiteral("Ручной выбор proxy-сервера:")};
  for (int mode = 0; mode < 3; ++mode) {
    choices_[static_cast<size_t>(mode)] = new QRadioButton(captions[mode], this);
    group->addButton(choices_[static_cast<size_t>(mode)], mode);
    layout->addWidget(choices_[static_cast<size_t>(mode)]);
  }

  server_ = new QLineEdit(Q(proxy.Server), this);
  server_->setToolTip(QStringLiteral("Имя или адрес сервера"));
  server_->setMinimumWidth(240);
  port_ = new QSpinBox(this);
  port_->setRange(1, 65535);
  port_->setValue(proxy.Port >= 1 && proxy.Port <= 65535 ? proxy.Port : 80);
  user_ = new QLineEdit(Q(proxy.Username), this);
  user_->setToolTip(QStringLiteral("Имя пользователя (не обязательно)"));
  password_ = new QLineEdit(Q(proxy.Password), this);
  password_->setToolTip(QStringLiteral("Пароль (не обязательно)"));
  password_->setEchoMode(QLineEdit::Password);

  // The fields sit under the manual choice, indented as its part.
  auto* fields = new QGridLayout();
  fields->setContentsMargins(24, 0, 0, 0);
  const QString names[] = {QStringLiteral("Имя или адрес сервера:"), QStringLiteral("Порт:"),
                           QStringLiteral("Имя пользователя:"), QStringLiteral("Пароль:")};
  QWidget* edits[] = {server_, port_, user_, password_};
  for (int i = 0; i < 4; ++i) {
    labels_[static_cast<size_t>(i)] = new QLabel(names[i], this);
    labels_[static_cast<size_t>(i)]->setBuddy(edits[i]);
    fields->addWidget(labels_[static_cast<size_t>(i)], i, 0);
    fields->addWidget(edits[i], i, 1, i == 1 ? Qt::AlignLeft : Qt::Alignment());
  }
  // Names and credentials take the row's width; the port only what its digits need.
  fields->setColumnStretch(1, 1);
  layout->addLayout(fields);
  layout->addStretch(1);
  layout->addWidget(OkCancelButtons(this));

  const int mode = proxy.Mode <= 2 ? proxy.Mode : 0;
  choices_[static_cast<size_t>(mode)]->setChecked(true);
  connect(group, &QButtonGroup::idToggled, this, [this](int, bool) { UpdateFields(); });
  UpdateFields();
}

void ProxyDialog::UpdateFields() {
  const bool manual = choices_[2]->isChecked();
  for (QWidget* w : std::initializer_list<QWidget*>{server_, port_, user_, password_}) w->setEnabled(manual);
  for (QLabel* label : labels_) label->setEnabled(manual);
}

lottery::TProxy ProxyDialog::Result() const {
  lottery::TProxy out = original_;
  out.Server = U(server_->text());
  out.Port = port_->value();
  out.Username = U(user_->text());
  out.Password = U(password_->text());
  out.Saved = false;
  if (choices_[2]->isChecked()) {
    out.Mode = 2;
  } else if (choices_[1]->isChecked()) {
    out.Mode = 1;
    out.Server.clear();
    out.Username.clear();
    out.Password.clear();
    out.Port = 0;
  } else {
    out.Mode = 0;
  }
  return out;
}

}  // namespace kelmora::gui
