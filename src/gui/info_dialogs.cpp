#include "gui/info_dialogs.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace kelmora::gui {

AboutDialog::AboutDialog(QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("О программе"));
  auto* layout = new QVBoxLayout(this);
  auto* title = new QLabel(QStringLiteral("<h2>Kelmora 4r32</h2>"), this);
  layout->addWidget(title);
  layout->addWidget(new QLabel(QStringLiteral("Версия ") + QString::fromLatin1(KELMORA_VERSION), this));
  auto* what = new QLabel(QStringLiteral("Анализ тиражей лотереи \"4 из 32\": архив тиражей (ввод, импорт "
                                         "и экспорт), таблица и график статистики по окну последних "
                                         "тиражей со сравнением с нормой, фильтрация 4096 комбинаций по "
                                         "выбранным значениям статистики с отменой и историей фильтров."),
                          this);
  what->setWordWrap(true);
  what->setMinimumWidth(420);
  layout->addWidget(what);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  layout->addWidget(buttons);
}

FirstRunDialog::FirstRunDialog(QWidget* parent, bool help_exists) : QDialog(parent) {
  setWindowTitle(QStringLiteral("Справочная информация"));
  auto* layout = new QVBoxLayout(this);
  auto* text = new QLabel(QStringLiteral("Добро пожаловать в Kelmora 4r32!\n\n"
                                         "Перед началом работы рекомендуем ознакомиться с руководством "
                                         "пользователя: в нем описаны архив тиражей, расчет статистики, "
                                         "ее график и сравнение с нормой, фильтрация комбинаций и "
                                         "параметры системы."),
                          this);
  text->setWordWrap(true);
  text->setMinimumWidth(420);
  layout->addWidget(text);
  help_ = new QPushButton(QStringLiteral("Открыть справку"), this);
  help_->setEnabled(help_exists);
  connect(help_, &QPushButton::clicked, this, &FirstRunDialog::HelpRequested);
  layout->addWidget(help_, 0, Qt::AlignLeft);
  dont_show_ = new QCheckBox(QStringLiteral("Больше не показывать данный диалог"), this);
  layout->addWidget(dont_show_);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
  buttons->button(QDialogButtonBox::Close)->setText(QStringLiteral("Закрыть"));
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  layout->addWidget(buttons);
}

bool FirstRunDialog::DontShowAgain() const { return dont_show_->isChecked(); }

}  // namespace kelmora::gui
