#include "gui/config_dialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QSpinBox>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QVBoxLayout>

#include <fmt/format.h>

#include "gui/qt_text.h"
#include "gui/small_windows.h"
#include "gui/table_sizing.h"
#include "shell/host.h"
#include "support/text.h"

namespace kelmora::gui {

namespace {

constexpr int ProfitRows = 5;

// Amounts keep up to four decimals; two are always shown, so an OK without edits changes nothing.
QString MoneyText(lottery::Currency amount, char separator) {
  std::string text = support::FormatFixed(static_cast<long double>(amount) / 10000.0L, 4, separator);
  while (text.size() > 3 && text.back() == '0' && text[text.size() - 3] != separator) text.pop_back();
  return Q(text);
}

QString RealText(long double value, char separator) {
  std::string text = support::FormatFixed(value, 6, separator);
  while (!text.empty() && text.back() == '0') text.pop_back();
  if (!text.empty() && text.back() == separator) text.pop_back();
  return Q(text);
}

QValidator* RealValidator(QObject* parent, char separator, bool sign) {
  const QString sep = QRegularExpression::escape(QString(QLatin1Char(separator)));
  const QString pattern = (sign ? QStringLiteral("-?") : QString()) + QStringLiteral("[0-9]*(") + sep +
                          QStringLiteral("[0-9]*)?");
  return new QRegularExpressionValidator(QRegularExpression(pattern), parent);
}

long double RealOf(const QLineEdit* edit) {
  return support::ParseReal(U(edit->text())).value_or(0.0L);
}

lottery::Currency MoneyOf(const QString& text) {
  const auto value = support::ParseReal(U(text));
  if (!value) return 0;
  try {
    return support::RealToMoney(*value);
  } catch (const std::exception&) {
    return 0;
  }
}

// Edits cells with a validator: digits and the decimal separator for amounts, digits for segments.
class ValidatingDelegate : public QStyledItemDelegate {
 public:
  ValidatingDelegate(QObject* parent, QString pattern) : QStyledItemDelegate(parent), pattern_(std::move(pattern)) {}
  QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    auto* editor = QStyledItemDelegate::createEditor(parent, option, index);
    if (auto* line = qobject_cast<QLineEdit*>(editor))
      line->setValidator(new QRegularExpressionValidator(QRegularExpression(pattern_), line));
    return editor;
  }

 private:
  QString pattern_;
};

// The height that shows the header and every row.
int FullHeight(const QTableView& view) {
  return view.horizontalHeader()->sizeHint().height() + view.verticalHeader()->length() + 2 * view.frameWidth();
}

}  // namespace

ConfigDialog::ConfigDialog(QWidget* parent, shell::Host& host, const lottery::TConfigData& config,
                           char decimal_separator)
    : QDialog(parent), host_(host), original_(config), separator_(decimal_separator) {
  setWindowTitle(QStringLiteral("Параметры системы"));
  auto* layout = new QVBoxLayout(this);
  auto* columns = new QHBoxLayout();
  layout->addLayout(columns);

  auto* left = new QVBoxLayout();
  auto* form = new QFormLayout();
  matrix_cols_ = new QSpinBox(this);
  matrix_cols_->setRange(1, 8);
  matrix_cols_->setValue(config.MatrixCols);
  matrix_cols_->setEnabled(false);
  matrix_cols_->setToolTip(QStringLiteral("Количество столбцов"));
  auto* matrix_rows = new QSpinBox(this);
  matrix_rows->setRange(8, 8);
  matrix_rows->setEnabled(false);
  matrix_rows->setToolTip(QStringLiteral("Количество строк"));
  auto* matrix = new QHBoxLayout();
  matrix->addWidget(matrix_cols_);
  matrix->addWidget(new QLabel(QStringLiteral("x"), this));
  matrix->addWidget(matrix_rows);
  form->addRow(QStringLiteral("Размер матрицы:"), matrix);

  channel_ = new QSpinBox(this);
  channel_->setRange(1, 8);
  channel_->setValue(config.ChannelSize);
  channel_->setToolTip(QStringLiteral("Ширина канала"));
  form->addRow(QStringLiteral("Размер канала:"), channel_);

  cost_ = new QLineEdit(MoneyText(config.Cost, separator_), this);
  cost_->setValidator(RealValidator(cost_, separator_, false));
  cost_->setToolTip(QStringLiteral("Стоимость одной ставки"));
  form->addRow(QStringLiteral("Стоимость ставки:"), cost_);
  left->addLayout(form);

  auto* cdl = new QGroupBox(QStringLiteral(" Коэффициенты для поля \"Вес\" "), this);
  auto* cdl_form = new QFormLayout(cdl);
  const std::array<long double, 3> weights = {config.Cdl.Count, config.Cdl.Deviation, config.Cdl.Level};
  const std::array<QString, 3> labels = {QStringLiteral("Количество:"), QStringLiteral("Отклонение:"),
                                         QStringLiteral("Глубина:")};
  for (int i = 0; i < 3; ++i) {
    cdl_[i] = new QLineEdit(RealText(weights[i], separator_), cdl);
    cdl_[i]->setValidator(RealValidator(cdl_[i], separator_, true));
    cdl_form->addRow(labels[i], cdl_[i]);
  }
  use_percents_ = new QCheckBox(QStringLiteral("Использовать значения в %"), cdl);
  use_percents_->setChecked(config.Cdl.UsePercents);
  use_abs_ = new QCheckBox(QStringLiteral("Использовать абсолютные значения"), cdl);
  use_abs_->setChecked(config.Cdl.UseAbsValues);
  cdl_form->addRow(use_percents_);
  cdl_form->addRow(use_abs_);
  left->addWidget(cdl);
  columns->addLayout(left);

  auto* middle = new QVBoxLayout();
  middle->addWidget(new QLabel(QStringLiteral("Размеры выигрышей:"), this));
  profits_ = new QTableWidget(ProfitRows, 2, this);
  profits_->setHorizontalHeaderLabels({QStringLiteral("Совпадений"), QStringLiteral("Сумма выигрыша")});
  profits_->verticalHeader()->setVisible(false);
  profits_->horizontalHeader()->setStretchLastSection(true);
  const QString sep = QRegularExpression::escape(QString(QLatin1Char(separator_)));
  profits_->setItemDelegateForColumn(
      1, new ValidatingDelegate(profits_, QStringLiteral("[0-9]*(") + sep + QStringLiteral("[0-9]*)?")));
  for (int i = 0; i < ProfitRows; ++i) {
    // Row i is the winnings for i matches, looked up by the stored row's number of matches.
    lottery::Currency profit = 0;
    for (const auto& item : config.Profits)
      if (item.Overlap == i) profit = item.Profit;
    auto* key = new QTableWidgetItem(QString::number(i));
    key->setFlags(key->flags() & ~Qt::ItemIsEditable);
    profits_->setItem(i, 0, key);
    profits_->setItem(i, 1, new QTableWidgetItem(MoneyText(profit, separator_)));
  }
  FitColumns(*profits_, 40, 200);
  profits_->setMinimumWidth(WidthForAllColumns(*profits_, false));
  profits_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  profits_->setFixedHeight(FullHeight(*profits_));
  middle->addWidget(profits_);
  middle->addStretch(1);
  columns->addLayout(middle);

  auto* right = new QVBoxLayout();
  right->addWidget(new QLabel(QStringLiteral("Сегменты матрицы:"), this));
  segments_ = new QTableWidget(lottery::ValueCount, config.MatrixCols, this);
  segments_->horizontalHeader()->setDefaultSectionSize(30);
  QStringList value_labels;
  for (int v = lottery::ValueMin; v <= lottery::ValueMax; ++v) value_labels << QString::number(v);
  segments_->setVerticalHeaderLabels(value_labels);
  segments_->setItemDelegate(new ValidatingDelegate(segments_, QStringLiteral("[0-9]*")));
  for (int c = 0; c < config.MatrixCols; ++c) {
    for (int r = 0; r < lottery::ValueCount; ++r) {
      const int digit = c < lottery::PositionCount ? config.MatrixSegments[c][r] : 1;
      segments_->setItem(r, c, new QTableWidgetItem(QString::number(digit)));
    }
  }
  connect(segments_, &QTableWidget::itemChanged, this, &ConfigDialog::CheckSegmentCell);
  FitColumnsToHeader(*segments_->horizontalHeader());
  // The grid is small and fixed: every column and row is shown, nothing scrolls.
  segments_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  segments_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  segments_->setFixedSize(WidthForAllColumns(*segments_, false), FullHeight(*segments_));
  right->addWidget(segments_);
  right->addStretch(1);
  columns->addLayout(right);

  layout->addWidget(OkCancelButtons(this));
  adjustSize();
}

void ConfigDialog::CheckSegmentCell(QTableWidgetItem* item) {
  if (checking_ || !item) return;
  bool ok = false;
  const int value = item->text().toInt(&ok);
  if (ok && value >= 1 && value <= 9) return;
  checking_ = true;
  host_.ShowError(fmt::format("Некорректное значение: {}!\r\rУкажите любое число от 1 до 9", U(item->text())));
  item->setText(QStringLiteral("1"));
  checking_ = false;
}

lottery::TConfigData ConfigDialog::Result() const {
  lottery::TConfigData config = original_;
  config.ChannelSize = channel_->value();
  config.Cost = MoneyOf(cost_->text());
  config.Cdl.Count = RealOf(cdl_[0]);
  config.Cdl.Deviation = RealOf(cdl_[1]);
  config.Cdl.Level = RealOf(cdl_[2]);
  config.Cdl.UsePercents = use_percents_->isChecked();
  config.Cdl.UseAbsValues = use_abs_->isChecked();
  config.Profits.clear();
  for (int i = 0; i < profits_->rowCount(); ++i) {
    lottery::TProfitItem item;
    bool ok = false;
    const int key = profits_->item(i, 0)->text().toInt(&ok);
    item.Overlap = static_cast<uint8_t>(ok ? key : 0);
    item.Profit = MoneyOf(profits_->item(i, 1)->text());
    config.Profits.push_back(item);
  }
  for (int c = 0; c < segments_->columnCount() && c < lottery::PositionCount; ++c) {
    for (int r = 0; r < lottery::ValueCount; ++r) {
      bool ok = false;
      const auto* cell = segments_->item(r, c);
      const int value = cell ? cell->text().toInt(&ok) : 0;
      config.MatrixSegments[c][r] = static_cast<uint8_t>(ok && value >= 1 && value <= 9 ? value : 1);
    }
  }
  return config;
}

ShreddingDialog::ShreddingDialog(QWidget* parent, const lottery::TShreddingData& shredding) : QDialog(parent) {
  setWindowTitle(QStringLiteral("Методы шинковки"));
  auto* layout = new QVBoxLayout(this);
  auto* form = new QFormLayout();
  for (int i = 0; i < 3; ++i) {
    auto* row = new QHBoxLayout();
    formulas_[i] = new QLineEdit(Q(shredding.Formula[i]), this);
    formulas_[i]->setToolTip(QStringLiteral("Используемая формула"));
    formulas_[i]->setMinimumWidth(260);
    digits_[i] = new QSpinBox(this);
    digits_[i]->setRange(1, 5);
    digits_[i]->setValue(shredding.Digits[i]);
    digits_[i]->setToolTip(QStringLiteral("Количество используемых знаков после запятой"));
    row->addWidget(formulas_[i], 1);
    row->addWidget(digits_[i]);
    form->addRow(QStringLiteral("Формула %1:").arg(i + 1), row);
  }
  layout->addLayout(form);
  layout->addWidget(new QLabel(QStringLiteral("Используемые переменные:\nn1, n2, n3, ..., nX - числа текущего "
                                              "тиража\np1, p2, p3, ..., pX - числа предыдущего тиража"),
                               this));
  layout->addWidget(OkCancelButtons(this));
}

lottery::TShreddingData ShreddingDialog::Result() const {
  lottery::TShreddingData out;
  for (int i = 0; i < 3; ++i) {
    out.Formula[i] = U(formulas_[i]->text());
    out.Digits[i] = static_cast<uint8_t>(digits_[i]->value());
  }
  return out;
}

}  // namespace kelmora::gui
