#pragma once
// "Параметры proxy-сервера" (TFormProxy): no proxy, the automatic search, or a manual server with
// its port and optional credentials. It edits a copy; the caller hands the result to the Session.

#include <array>

#include <QDialog>

#include "lottery/types.h"

class QLabel;
class QLineEdit;
class QRadioButton;
class QSpinBox;

namespace kelmora::gui {

class ProxyDialog : public QDialog {
  Q_OBJECT
 public:
  ProxyDialog(QWidget* parent, const lottery::TProxy& proxy);

  // The settings as chosen, Saved false: manual gives mode 2 with the fields as typed; no proxy
  // mode 0 (the typed fields kept); automatic mode 1 with server, user and password emptied and
  // port 0.
  lottery::TProxy Result() const;

  // The choices by mode 0..2.
  QRadioButton* Choice(int mode) const { return choices_[static_cast<size_t>(mode)]; }
  QLineEdit* ServerEdit() const { return server_; }
  QSpinBox* PortEdit() const { return port_; }
  QLineEdit* UserEdit() const { return user_; }
  QLineEdit* PasswordEdit() const { return password_; }

 private:
  void UpdateFields();

  lottery::TProxy original_;
  std::array<QRadioButton*, 3> choices_{};
  std::array<QLabel*, 4> labels_{};
  QLineEdit* server_;
  QSpinBox* port_;
  QLineEdit* user_;
  QLineEdit* password_;
};

}  // namespace kelmora::gui
