#include "gui/generate_dialog.h"

#include <algorithm>

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

#include "filtering/comb_list.h"
#include "gui/qt_text.h"

namespace kelmora::gui {

namespace {

void SetHint(QWidget* widget, const QString& hint) {
  widget->setToolTip(hint);
  widget->setStatusTip(hint);
}

}  // namespace

GenerateDialog::GenerateDialog(QWidget* parent, int mode, const std::string& parameter, FileChooser choose_file)
    : QDialog(parent), choose_file_(std::move(choose_file)) {
  setWindowTitle(QStringLiteral("Создание нового списка комбинаций"));
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel(QStringLiteral("Режим генерации списка комбинаций:"), this));
  mode_ = new QComboBox(this);
  mode_->setObjectName(QStringLiteral("cbGenerateMode"));
  for (int m = 0; m < filtering::GenerateModeCount; ++m) mode_->addItem(Q(filtering::GenerateModeCaption(m)));
  mode_->setCurrentIndex(std::clamp(mode, 0, filtering::GenerateModeCount - 1));
  SetHint(mode_, QStringLiteral("Режим генерации списка комбинаций"));
  layout->addWidget(mode_);

  layout->addWidget(new QLabel(QStringLiteral("Мои числа или имя файла для загрузки:"), this));
  auto* row = new QHBoxLayout();
  parameter_ = new QLineEdit(Q(parameter), this);
  parameter_->setObjectName(QStringLiteral("edGenerateParameters"));
  parameter_->setMaxLength(255);
  SetHint(parameter_, QStringLiteral("Список \"моих чисел\" через точку с запятой или имя файла для режима \"Загрузка из файла\""));
  row->addWidget(parameter_, 1);
  browse_ = new QToolButton(this);
  browse_->setText(QStringLiteral("..."));
  SetHint(browse_, QStringLiteral("Выбор файла"));
  row->addWidget(browse_);
  layout->addLayout(row);

  defaults_ = new QCheckBox(QStringLiteral("Сохранить эти параметры для генерации комбинаций \"по умолчанию\""), this);
  layout->addWidget(defaults_);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Отмена"));
  layout->addWidget(buttons);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  connect(mode_, &QComboBox::currentIndexChanged, this, [this] { UpdateEnabled(); });
  connect(browse_, &QToolButton::clicked, this, [this] {
    const QString path = choose_file_ ? choose_file_(QStringLiteral("Выбор файла"), QStringLiteral("Файлы комбинаций (*.lcv)"), false)
                                      : QString();
    if (!path.isEmpty()) parameter_->setText(path);
  });
  UpdateEnabled();
}

void GenerateDialog::UpdateEnabled() {
  parameter_->setEnabled(mode_->currentIndex() >= 1);
  browse_->setEnabled(mode_->currentIndex() == 4);
}

int GenerateDialog::Mode() const { return mode_->currentIndex(); }

std::string GenerateDialog::Parameter() const { return U(parameter_->text()); }

bool GenerateDialog::SaveAsDefaults() const { return defaults_->isChecked(); }

}  // namespace kelmora::gui
