#include "gui/script_dialog.h"

#include <algorithm>
#include <limits>

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QEvent>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QToolButton>
#include <QVBoxLayout>

#include "gui/filter_dialog.h"
#include "gui/qt_text.h"
#include "gui/small_windows.h"
#include "shell/session.h"
#include "shell/stats_state.h"

namespace kelmora::gui {

namespace {

template <typename W>
W* Hinted(W* widget, const QString& hint) {
  widget->setToolTip(hint);
  widget->setStatusTip(hint);
  return widget;
}

}  // namespace

ScriptDialog::ScriptDialog(QWidget* parent, shell::Session& session, const QString& title, int exclude_count,
                           const std::string& line)
    : QDialog(parent), session_(session) {
  setObjectName(QStringLiteral("TFormScript"));
  setWindowTitle(title);
  auto* layout = new QVBoxLayout(this);

  auto* comments_form = new QFormLayout();
  comments_ = Hinted(new QLineEdit(this), QStringLiteral("Комментарии (можно оставить пустым)"));
  comments_->setObjectName(QStringLiteral("edComments"));
  comments_form->addRow(QStringLiteral("Комментарии:"), comments_);
  layout->addLayout(comments_form);

  auto* options = new QGroupBox(QStringLiteral(" Опции "), this);
  auto* options_layout = new QVBoxLayout(options);
  auto* options_form = new QFormLayout();
  start_list_ = new QComboBox(options);
  start_list_->setObjectName(QStringLiteral("cbStartCombsType"));
  for (int i = 0; i < scripts::StartListCount; ++i) start_list_->addItem(Q(scripts::StartListCaption(i)));
  options_form->addRow(QStringLiteral("Начальный список комбинаций:"), start_list_);
  draws_exclude_ = Hinted(new QSpinBox(options), QStringLiteral("Исключить указанное количество тиражей из списка "
                                                                "комбинаций перед применением фильтров"));
  draws_exclude_->setObjectName(QStringLiteral("edDrawsExclude"));
  draws_exclude_->setRange(0, std::numeric_limits<int>::max());
  draws_exclude_->setMinimumWidth(100);
  draws_exclude_->setMaximumWidth(160);
  options_form->addRow(QStringLiteral("Кол-во тиражей:"), draws_exclude_);
  options_layout->addLayout(options_form);
  // The question is long: it stands above its box so the box keeps the dialog's width.
  auto* mode_label = new QLabel(QStringLiteral("В случае неоднозначного результата после применения фильтров:"), options);
  stake_mode_ = Hinted(new QComboBox(options),
                       QStringLiteral("В случае неоднозначного результата после применения фильтров выполнить действие"));
  stake_mode_->setObjectName(QStringLiteral("cbResultCombsMode"));
  for (int i = 0; i < scripts::StakeModeCount; ++i) stake_mode_->addItem(Q(scripts::StakeModeCaption(i)));
  mode_label->setBuddy(stake_mode_);
  options_layout->addWidget(mode_label);
  options_layout->addWidget(stake_mode_);
  clear_stakes_ = Hinted(new QCheckBox(QStringLiteral("Удалить все ставки перед выполнением (накопление только рейтинга)"), options),
                         QStringLiteral("Перед выполнением строки файл ставок очищается: для строк, которые создают очень "
                                        "много ставок. Рейтинг при этом продолжает накапливаться"));
  clear_stakes_->setObjectName(QStringLiteral("cbClearStakes"));
  options_layout->addWidget(clear_stakes_);
  new_only_ = Hinted(new QCheckBox(QStringLiteral("Только новые ставки (пропускать те ставки, которые уже есть в списке)"), options),
                     QStringLiteral("Если комбинация уже есть в списке ставок, то она не будет добавлена в список ставок"));
  new_only_->setObjectName(QStringLiteral("cbNewOnly"));
  options_layout->addWidget(new_only_);
  layout->addWidget(options);

  auto* filters = new QGroupBox(QStringLiteral(" Фильтры "), this);
  auto* grid = new QGridLayout(filters);
  for (int slot = 0; slot < filtering::FilterSlots; ++slot) {
    auto* edit = Hinted(new QLineEdit(filters), QStringLiteral("Фильтр %1").arg(slot + 1));
    edit->setObjectName(QStringLiteral("edFilter%1").arg(slot + 1));
    edit->setMinimumWidth(440);
    edit->installEventFilter(this);
    auto* label = new QLabel(QStringLiteral("Фильтр %1:").arg(slot + 1), filters);
    label->setBuddy(edit);
    auto* button = Hinted(new QToolButton(filters), QStringLiteral("Редактировать фильтр"));
    button->setText(QStringLiteral("..."));
    connect(button, &QToolButton::clicked, this, [this, slot] { EditFilter(slot); });
    grid->addWidget(label, slot, 0);
    grid->addWidget(edit, slot, 1);
    grid->addWidget(button, slot, 2);
    filters_[static_cast<size_t>(slot)] = edit;
    buttons_[static_cast<size_t>(slot)] = button;
  }
  grid->setColumnStretch(1, 1);
  layout->addWidget(filters);
  layout->addWidget(OkCancelButtons(this));

  draws_exclude_->setValue(std::max(0, exclude_count));
  if (!scripts::IsSeparatorLine(line)) {
    comments_->setText(Q(scripts::StepField(line, scripts::StepCommentField)));
    const scripts::TStepOptions o = scripts::StepOptionsFromText(scripts::StepField(line, scripts::StepOptionsField));
    start_list_->setCurrentIndex(std::min<int>(o.StartList, scripts::StartListCount - 1));
    draws_exclude_->setValue(std::max(0, o.ExcludeCount));
    stake_mode_->setCurrentIndex(std::min<int>(o.StakeMode, scripts::StakeModeCount - 1));
    clear_stakes_->setChecked(o.ClearStakes);
    new_only_->setChecked(o.NewOnly);
    for (int slot = 0; slot < filtering::FilterSlots; ++slot)
      filters_[static_cast<size_t>(slot)]->setText(Q(scripts::StepField(line, scripts::FilterField(slot + 1))));
  }
  comments_->setFocus();
}

std::string ScriptDialog::Line() const {
  scripts::TStepOptions o;
  o.StartList = static_cast<uint8_t>(std::max(0, start_list_->currentIndex()));
  o.ExcludeCount = draws_exclude_->value();
  o.StakeMode = static_cast<uint8_t>(std::max(0, stake_mode_->currentIndex()));
  o.ClearStakes = clear_stakes_->isChecked();
  o.NewOnly = new_only_->isChecked();
  scripts::TFilterTexts texts;
  for (int slot = 0; slot < filtering::FilterSlots; ++slot)
    texts[static_cast<size_t>(slot)] = U(filters_[static_cast<size_t>(slot)]->text());
  return scripts::ComposeStepLine(scripts::StepOptionsToText(o), texts, U(comments_->text()));
}

void ScriptDialog::EditFilter(int slot) {
  if (slot < 0 || slot >= filtering::FilterSlots) return;
  QLineEdit* edit = filters_[static_cast<size_t>(slot)];
  const filtering::TFilterItem item = filtering::FilterItemFromText(U(edit->text()), session_.Stats().List());
  FilterDialog dialog(this, session_, item);
  if (dialog.exec() != QDialog::Accepted) return;
  edit->setText(Q(filtering::FilterItemToText(dialog.Result())));
}

bool ScriptDialog::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::MouseButtonDblClick) {
    for (int slot = 0; slot < filtering::FilterSlots; ++slot) {
      if (watched == filters_[static_cast<size_t>(slot)]) {
        EditFilter(slot);
        return true;
      }
    }
  }
  return QDialog::eventFilter(watched, event);
}

TestCountDialog::TestCountDialog(QWidget* parent, int maximum) : QDialog(parent), maximum_(maximum) {
  setWindowTitle(QStringLiteral("Количество тестов"));
  auto* layout = new QVBoxLayout(this);
  auto* label = new QLabel(QStringLiteral("Укажите количество тестов:"), this);
  count_ = Hinted(new QSpinBox(this), QStringLiteral("Укажите количество последних тиражей, на которых будет "
                                                     "производится тестирование"));
  count_->setObjectName(QStringLiteral("edTestCount"));
  count_->setRange(1, std::max(1, maximum));
  count_->setValue(10);
  count_->setMinimumWidth(120);
  label->setBuddy(count_);
  layout->addWidget(label);
  layout->addWidget(count_);
  layout->addWidget(OkCancelButtons(this));
}

int TestCountDialog::Count() const {
  // With fewer than two draws there is no past draw to test on.
  return maximum_ < 1 ? 0 : count_->value();
}

}  // namespace kelmora::gui
