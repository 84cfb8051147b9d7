#include "gui/library_dialogs.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "gui/qt_text.h"
#include "gui/small_windows.h"
#include "net/languages.h"
#include "shell/session.h"
#include "support/text.h"

namespace kelmora::gui {

namespace {

constexpr int MaxFieldLength = 64;

QRadioButton* AddChoice(QGroupBox* group, QButtonGroup* buttons, const QString& caption) {
  auto* choice = new QRadioButton(caption, group);
  buttons->addButton(choice);
  group->layout()->addWidget(choice);
  return choice;
}

}  // namespace

ScriptPropertiesDialog::ScriptPropertiesDialog(QWidget* parent, const net::tScriptData& data, bool editable,
                                               int fallback_lcid, Validate validate)
    : QDialog(parent), data_(data), fallback_(fallback_lcid), validate_(std::move(validate)) {
  setObjectName(QStringLiteral("TFormScrPublic"));
  setWindowTitle(QStringLiteral("Свойства сценария"));
  auto* layout = new QVBoxLayout(this);
  auto* form = new QFormLayout();
  title_ = new QLineEdit(Q(data.Title), this);
  title_->setMaxLength(MaxFieldLength);
  title_->setToolTip(QStringLiteral("Название сценария"));
  title_->setMinimumWidth(360);
  form->addRow(QStringLiteral("Название:"), title_);
  author_ = new QLineEdit(Q(data.Author), this);
  author_->setMaxLength(MaxFieldLength);
  author_->setToolTip(QStringLiteral("Автор сценария"));
  form->addRow(QStringLiteral("Автор:"), author_);
  language_ = new QComboBox(this);
  language_->setToolTip(QStringLiteral("Язык сценария"));
  for (const net::TLanguage& language : net::Languages())
    if (language.Interface) language_->addItem(Q(language.Name), language.Lcid);
  int index = language_->findData(data.Lcid);
  if (index < 0) index = language_->findData(fallback_lcid);
  language_->setCurrentIndex(index);
  form->addRow(QStringLiteral("Язык:"), language_);
  layout->addLayout(form);

  auto* applicability = new QGroupBox(QStringLiteral(" Применяемость "), this);
  applicability->setToolTip(QStringLiteral("В каком приложении можно использовать данный сценарий"));
  applicability->setLayout(new QVBoxLayout());
  auto* applicability_buttons = new QButtonGroup(this);
  only_here_ = AddChoice(applicability, applicability_buttons,
                         QStringLiteral("Только в \"%1\"").arg(QString::fromLatin1(shell::ProgramName)));
  any_program_ = AddChoice(applicability, applicability_buttons, QStringLiteral("В любом приложении Orvane"));
  (data.Universal ? any_program_ : only_here_)->setChecked(true);
  layout->addWidget(applicability);

  auto* availability = new QGroupBox(QStringLiteral(" Доступность "), this);
  availability->setToolTip(QStringLiteral("Разрешаете ли Вы использовать данный сценарий другим членам сообщества"));
  availability->setLayout(new QVBoxLayout());
  auto* availability_buttons = new QButtonGroup(this);
  everyone_ = AddChoice(availability, availability_buttons, QStringLiteral("Сценарий виден всем пользователям"));
  only_me_ = AddChoice(availability, availability_buttons, QStringLiteral("Сценарий виден только мне"));
  (data.Public ? everyone_ : only_me_)->setChecked(true);
  layout->addWidget(availability);

  layout->addWidget(new QLabel(QStringLiteral("Описание:"), this));
  descr_ = new QPlainTextEdit(Q(data.Descr), this);
  descr_->setMinimumHeight(100);
  layout->addWidget(descr_, 1);

  auto* buttons = OkCancelButtons(this);
  ok_ = buttons->button(QDialogButtonBox::Ok);
  ok_->setToolTip(QStringLiteral("Отправить сценарий на сервер"));
  cancel_ = buttons->button(QDialogButtonBox::Cancel);
  cancel_->setToolTip(QStringLiteral("Закрыть окно"));
  layout->addWidget(buttons);

  if (!editable) {
    title_->setReadOnly(true);
    author_->setReadOnly(true);
    descr_->setReadOnly(true);
    for (QWidget* w : std::initializer_list<QWidget*>{language_, applicability, availability}) w->setEnabled(false);
    ok_->hide();
    cancel_->setDefault(true);
    cancel_->setFocus();
  }
}

net::tScriptData ScriptPropertiesDialog::Result() const {
  net::tScriptData out = data_;
  out.Title = std::string(support::Trim(U(title_->text())));
  out.Author = std::string(support::Trim(U(author_->text())));
  out.Lcid = language_->currentIndex() >= 0 ? language_->currentData().toInt() : fallback_;
  out.Universal = any_program_->isChecked();
  out.Public = everyone_->isChecked();
  out.Descr = U(descr_->toPlainText());
  return out;
}

void ScriptPropertiesDialog::accept() {
  if (ok_->isHidden()) return;  // read-only: nothing to confirm
  if (validate_) {
    if (const auto field = validate_(Result())) {
      (*field == "author" ? author_ : title_)->setFocus();
      return;
    }
  }
  QDialog::accept();
}

ScriptRatesDialog::ScriptRatesDialog(QWidget* parent, const std::vector<net::TScriptRate>& rates) : QDialog(parent) {
  setObjectName(QStringLiteral("TFormScrRates"));
  setWindowTitle(QStringLiteral("Оценки пользователей"));
  auto* layout = new QVBoxLayout(this);
  list_ = new QTableWidget(static_cast<int>(rates.size()), 6, this);
  list_->setObjectName(QStringLiteral("lvRates"));
  list_->setHorizontalHeaderLabels({QStringLiteral("Имя"), QStringLiteral("Оценка"), QStringLiteral("Дата"),
                                    QStringLiteral("Программа"), QStringLiteral("Версия"),
                                    QStringLiteral("Комментарии")});
  list_->verticalHeader()->setVisible(false);
  list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  list_->setSelectionBehavior(QAbstractItemView::SelectRows);
  for (int row = 0; row < static_cast<int>(rates.size()); ++row) {
    const auto& r = rates[static_cast<size_t>(row)];
    const std::string cells[] = {r.Name, r.Rate, net::FormatLocalTime(r.Created), r.AppName, r.AppVer, r.Notes};
    for (int c = 0; c < 6; ++c) list_->setItem(row, c, new QTableWidgetItem(Q(cells[c])));
  }
  list_->setSortingEnabled(true);
  list_->resizeColumnsToContents();
  list_->horizontalHeader()->setStretchLastSection(true);
  list_->setMinimumSize(620, 240);
  layout->addWidget(list_, 1);
  auto* buttons = new QDialogButtonBox(this);
  auto* close = buttons->addButton(QStringLiteral("Закрыть"), QDialogButtonBox::RejectRole);
  close->setToolTip(QStringLiteral("Закрыть окно"));
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  layout->addWidget(buttons);
}

UpdateInformerDialog::UpdateInformerDialog(QWidget* parent, const std::string& running_version,
                                           const net::TUpdateVersionInfo& offer, const std::vector<std::string>& notes)
    : QDialog(parent) {
  setObjectName(QStringLiteral("TfrmUpdateInformer"));
  setWindowTitle(QStringLiteral("Найдена новая версия программы"));
  auto* layout = new QVBoxLayout(this);
  auto* form = new QFormLayout();
  form->addRow(QStringLiteral("Текущая версия программы:"), new QLabel(Q(running_version), this));
  form->addRow(QStringLiteral("Новая версия программы:"), new QLabel(Q(offer.Description), this));
  layout->addLayout(form);
  layout->addWidget(new QLabel(QStringLiteral("Описание версии:"), this));
  QStringList lines;
  for (const auto& line : notes) lines << Q(line);
  notes_ = new QPlainTextEdit(lines.join(QLatin1Char('\n')), this);
  notes_->setReadOnly(true);
  notes_->setMinimumSize(440, 200);
  layout->addWidget(notes_, 1);
  auto* buttons = new QDialogButtonBox(this);
  install_ = buttons->addButton(QStringLiteral("Установить"), QDialogButtonBox::AcceptRole);
  install_->setToolTip(QStringLiteral("Установить это обновление"));
  install_->setDefault(true);
  auto* cancel = buttons->addButton(QStringLiteral("Отмена"), QDialogButtonBox::RejectRole);
  cancel->setToolTip(QStringLiteral("Отказаться от обновления"));
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  layout->addWidget(buttons);
}

}  // namespace kelmora::gui
