#include "gui/small_windows.h"

#include <algorithm>

#include <QDialogButtonBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace kelmora::gui {

QDialogButtonBox* OkCancelButtons(QDialog* dialog) {
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, dialog);
  buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Отмена"));
  QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
  return buttons;
}

WaitWindow::WaitWindow(QWidget* parent) : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
  setWindowTitle(QStringLiteral("Подождите"));
  auto* layout = new QVBoxLayout(this);
  label_ = new QLabel(this);
  label_->setAlignment(Qt::AlignCenter);
  label_->setMinimumWidth(320);
  layout->addWidget(label_);
  // A request can wait for seconds per proxy tried: the user may end it.
  cancel_ = new QPushButton(QStringLiteral("Отмена"), this);
  layout->addWidget(cancel_, 0, Qt::AlignCenter);
  connect(cancel_, &QPushButton::clicked, this, &WaitWindow::reject);
}

void WaitWindow::reject() {
  cancelled_ = true;
  cancel_->setEnabled(false);
}

void WaitWindow::SetText(const QString& text) { label_->setText(text); }
QString WaitWindow::Text() const { return label_->text(); }

ProgressWindow::ProgressWindow(QWidget* parent, const QString& text, int maximum, bool with_cancel)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
  setWindowTitle(QStringLiteral("Подождите пожалуйста..."));
  auto* layout = new QVBoxLayout(this);
  label_ = new QLabel(text.isEmpty() ? QStringLiteral("Подождите пожалуйста...") : text, this);
  label_->setMinimumWidth(360);
  bar_ = new QProgressBar(this);
  bar_->setRange(0, std::max(0, maximum));
  bar_->setValue(0);
  layout->addWidget(label_);
  layout->addWidget(bar_);
  if (with_cancel) {
    cancel_ = new QPushButton(QStringLiteral("Отмена"), this);
    connect(cancel_, &QPushButton::clicked, this, [this] {
      cancelled_ = true;
      cancel_->setEnabled(false);
    });
    layout->addWidget(cancel_, 0, Qt::AlignCenter);
  }
}

void ProgressWindow::SetText(const QString& text) { label_->setText(text); }

void ProgressWindow::SetPosition(int position) { bar_->setValue(std::clamp(position, 0, bar_->maximum())); }

int ProgressWindow::Position() const { return bar_->value(); }

}  // namespace kelmora::gui
