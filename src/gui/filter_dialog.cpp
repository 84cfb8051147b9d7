#include "gui/filter_dialog.h"

#include <algorithm>

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QEvent>
#include <QFormLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QSpinBox>
#include <QVBoxLayout>

#include "gui/qt_host.h"
#include "gui/qt_text.h"
#include "lottery/comb_ops.h"
#include "shell/session.h"
#include "shell/stats_state.h"
#include "stats/table.h"

namespace kelmora::gui {

namespace {

bool IsWeightMode(int mode) { return mode == filtering::WMV || mode == filtering::WLV || mode == filtering::WDV; }

}  // namespace

FilterDialog::FilterDialog(QWidget* parent, shell::Session& session, const filtering::TFilterItem& item)
    : QDialog(parent), session_(session), item_(item) {
  setWindowTitle(QStringLiteral("Фильтр"));
  const auto& stats = session_.Stats();
  auto* layout = new QVBoxLayout(this);
  auto* form = new QFormLayout();
  const auto* list_validator = new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9,;\\-]*")), this);

  stat_ = new QComboBox(this);
  stat_->setObjectName(QStringLiteral("cbDrawsStatType"));
  int current = 0;
  for (const auto& e : stats.Selectors().Stats) {
    if (e.Entry == stats.SelectedEntry()) current = stat_->count();
    stat_->addItem(Q(e.Text));
    entries_.push_back(e.Entry);
  }
  if (item.Active) {
    current = 0;
    for (size_t i = 0; i < entries_.size(); ++i)
      if (&stats.List().Items(entries_[i]) == item.Method) {
        current = static_cast<int>(i);
        break;
      }
  }
  stat_->setCurrentIndex(stat_->count() ? current : -1);
  form->addRow(QStringLiteral("Тип фильтра:"), stat_);

  draws_len_ = new QLineEdit(QString::number(stats.WindowLength()), this);
  draws_len_->setObjectName(QStringLiteral("edDrawsLen"));
  draws_len_->setValidator(list_validator);
  if (item.Active && !item.DrawsLen.empty()) draws_len_->setText(Q(item.DrawsLen));
  form->addRow(QStringLiteral("Количество тиражей:"), draws_len_);

  sort_ = new QComboBox(this);
  for (const char* caption : stats::StatColumnCaptions()) sort_->addItem(Q(caption));
  sort_->setCurrentIndex(item.Active ? std::clamp(item.SortColumn, 0, stats::StatColumnCount - 1) : 1);
  form->addRow(QStringLiteral("Сортировать по столбцу:"), sort_);
  direction_ = new QComboBox(this);
  direction_->addItems({QStringLiteral("Сверху-вниз"), QStringLiteral("Снизу-вверх")});
  direction_->setCurrentIndex(item.Active && item.BottomUp ? 1 : 0);
  form->addRow(QStringLiteral("Направление:"), direction_);
  filter_mode_ = new QComboBox(this);
  filter_mode_->addItems({QStringLiteral("Удалить выделенные"), QStringLiteral("Оставить выделенные")});
  filter_mode_->setCurrentIndex(item.Active && item.KeepSelected ? 1 : 0);
  form->addRow(QStringLiteral("Режим фильтра:"), filter_mode_);
  layout->addLayout(form);

  multi_ = new QCheckBox(QStringLiteral("Использовать режим одновременного выделения нескольких значений в списке"), this);
  multi_->setChecked(item.Active && item.MultiSelect);
  layout->addWidget(multi_);

  auto* level_form = new QFormLayout();
  level_mode_ = new QComboBox(this);
  level_mode_->setObjectName(QStringLiteral("cbLevelMode"));
  for (int m = 0; m < filtering::LevelModeCount; ++m) level_mode_->addItem(Q(filtering::LevelModeCaption(m)));
  level_mode_->setCurrentIndex(item.Active ? std::min<int>(item.LevelMode, filtering::LevelModeCount - 1) : 0);
  level_form->addRow(QStringLiteral("Режим выделения значений в списке статистики:"), level_mode_);
  level_value_ = new QLineEdit(this);
  level_value_->setObjectName(QStringLiteral("edLevelValue"));
  level_value_->setValidator(list_validator);
  if (item.Active && !item.LevelValue.empty()) level_value_->setText(Q(item.LevelValue));
  level_form->addRow(QStringLiteral("Значения:"), level_value_);
  layout->addLayout(level_form);

  auto* weights = new QGroupBox(QStringLiteral("Коэффициенты для расчета значений \"Вес\""), this);
  auto* weights_form = new QFormLayout(weights);
  override_ = new QCheckBox(QStringLiteral("Использовать приведенные ниже коэффициенты для расчета значений \"Вес\""), weights);
  override_->setChecked(item.Active && item.CDL.Override);
  weights_form->addRow(override_);
  const lottery::TCdlSettings cdl = item.Active && item.CDL.Override ? item.CDL.Settings : stats.List().Cdl();
  const long double values[] = {cdl.Count, cdl.Deviation, cdl.Level};
  const QString labels[] = {QStringLiteral("Количество:"), QStringLiteral("Отклонение:"), QStringLiteral("Глубина:")};
  for (int i = 0; i < 3; ++i) {
    coef_[i] = new QDoubleSpinBox(weights);
    coef_[i]->setDecimals(3);
    coef_[i]->setRange(-1e9, 1e9);
    coef_[i]->setValue(static_cast<double>(values[i]));
    weights_form->addRow(labels[i], coef_[i]);
  }
  percents_ = new QCheckBox(QStringLiteral("Использовать значения в %"), weights);
  percents_->setChecked(cdl.UsePercents);
  abs_ = new QCheckBox(QStringLiteral("Использовать абсолютные значения"), weights);
  abs_->setChecked(cdl.UseAbsValues);
  weights_form->addRow(percents_);
  weights_form->addRow(abs_);
  layout->addWidget(weights);

  auto* stop_form = new QFormLayout();
  stop_mode_ = new QComboBox(this);
  stop_mode_->setObjectName(QStringLiteral("cbStopMode"));
  for (int m = 0; m < filtering::StopModeCount; ++m) stop_mode_->addItem(Q(filtering::StopModeCaption(m)));
  stop_mode_->setCurrentIndex(item.Active ? std::min<int>(item.StopMode, filtering::StopModeCount - 1) : 0);
  stop_form->addRow(QStringLiteral("Остановка по:"), stop_mode_);
  stop_value_ = new QSpinBox(this);
  stop_value_->setRange(1, 2147483647);
  stop_value_->setValue(item.Active ? std::max(1, item.StopValue) : 1);
  stop_form->addRow(QStringLiteral("Значение:"), stop_value_);
  layout->addLayout(stop_form);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Отмена"));
  layout->addWidget(buttons);
  connect(buttons, &QDialogButtonBox::accepted, this, &FilterDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  connect(level_mode_, &QComboBox::currentIndexChanged, this, [this] { UpdateEnabled(); });
  connect(override_, &QCheckBox::clicked, this, [this] { UpdateEnabled(); });
  UpdateEnabled();
}

void FilterDialog::changeEvent(QEvent* event) {
  if (event->type() == QEvent::ActivationChange && isActiveWindow()) UpdateEnabled();
  QDialog::changeEvent(event);
}

void FilterDialog::UpdateEnabled() {
  override_->setEnabled(IsWeightMode(level_mode_->currentIndex()));
  const bool own = override_->isEnabled() && override_->isChecked();
  for (QDoubleSpinBox* coef : coef_) coef->setEnabled(own);
  percents_->setEnabled(own);
  abs_->setEnabled(own);
}

QWidget* FilterDialog::FieldNamed(const std::string& name) const {
  for (QWidget* w : std::initializer_list<QWidget*>{draws_len_, level_mode_, level_value_, stop_mode_})
    if (w->objectName() == Q(name)) return w;
  return nullptr;
}

void FilterDialog::accept() {
  const int index = stat_->currentIndex();
  const bool by_list = index >= 0 && session_.Stats().List().Items(entries_[static_cast<size_t>(index)]).StatClass->CanSelectByList;
  refusal_ = CheckFilterInput(U(draws_len_->text()), level_mode_->currentIndex(), by_list, U(level_value_->text()),
                              multi_->isChecked(), stop_mode_->currentIndex());
  if (refusal_) {
    session_.GetHost().ShowError(refusal_->Message);
    if (QWidget* field = FieldNamed(refusal_->Field)) field->setFocus();
    return;
  }
  QDialog::accept();
}

filtering::TFilterItem FilterDialog::Result() const {
  filtering::TFilterItem out;
  out.Active = true;
  out.StatText = item_.StatText;
  const int index = stat_->currentIndex();
  out.Method = index >= 0 ? &session_.Stats().List().Items(entries_[static_cast<size_t>(index)]) : nullptr;
  out.DrawsLen = U(draws_len_->text());
  out.SortColumn = sort_->currentIndex();
  out.BottomUp = direction_->currentIndex() == 1;
  out.MultiSelect = multi_->isChecked();
  out.KeepSelected = filter_mode_->currentIndex() == 1;
  out.LevelMode = static_cast<uint8_t>(level_mode_->currentIndex());
  out.LevelValue = U(level_value_->text());
  out.CDL.Override = override_->isChecked();
  out.CDL.Settings = {coef_[0]->value(), coef_[1]->value(), coef_[2]->value(), percents_->isChecked(), abs_->isChecked()};
  out.StopMode = static_cast<uint8_t>(stop_mode_->currentIndex());
  out.StopValue = stop_value_->value();
  return out;
}

}  // namespace kelmora::gui
