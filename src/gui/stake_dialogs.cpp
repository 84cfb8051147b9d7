#include "gui/stake_dialogs.h"

#include <limits>

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "gui/qt_text.h"
#include "gui/small_windows.h"
#include "lottery/comb_text.h"
#include "shell/host.h"
#include "shell/session.h"
#include "support/text.h"

namespace kelmora::gui {

namespace {

constexpr int CommentMax = 64;
constexpr const char* CountHint = "Количество тиражей, на которые нужно сделать ставку (начиная с указанного)";

QSpinBox* SpinBox(QWidget* parent, int min, int max, int value, const char* hint) {
  auto* box = new QSpinBox(parent);
  box->setRange(min, max);
  box->setValue(value);
  box->setToolTip(QString::fromUtf8(hint));
  box->setStatusTip(box->toolTip());
  return box;
}

QLineEdit* CommentEdit(QWidget* parent, const QString& text) {
  auto* edit = new QLineEdit(text.left(CommentMax), parent);
  edit->setMaxLength(CommentMax);
  edit->setToolTip(QStringLiteral("Комментарий к ставке"));
  edit->setStatusTip(edit->toolTip());
  return edit;
}

}  // namespace

StakeDialog::StakeDialog(QWidget* parent, shell::Host& host, const stakes::TStakeRec& rec, int count)
    : QDialog(parent), host_(host), result_(rec) {
  setWindowTitle(QStringLiteral("Добавление ставки"));
  auto* layout = new QVBoxLayout(this);
  auto* form = new QFormLayout();
  draw_ = SpinBox(this, 1, std::numeric_limits<int>::max(), std::max(1, rec.DrawNumber), "Номер первого тиража");
  form->addRow(QStringLiteral("Номер тиража:"), draw_);
  std::vector<std::string> values;
  for (int p = 0; p < std::min(rec.ValueCount, 4); ++p)
    values.push_back(lottery::ValueToText(lottery::CombValue(rec.Values, p)));
  values_ = new QLineEdit(Q(support::Join(values, ";")), this);
  values_->setToolTip(QStringLiteral("Введите числа, разделенные точкой с запятой или запятой"));
  values_->setStatusTip(values_->toolTip());
  form->addRow(QStringLiteral("Ставка:"), values_);
  comment_ = gui::CommentEdit(this, Q(rec.Name));
  form->addRow(QStringLiteral("Комментарий к ставке:"), comment_);
  count_ = SpinBox(this, 1, 65535, count, CountHint);
  form->addRow(QStringLiteral("Кол-во тиражей:"), count_);
  sum_ = new QLineEdit(this);
  sum_->setReadOnly(true);
  sum_->setToolTip(QStringLiteral("Сумма введенных чисел"));
  sum_->setStatusTip(sum_->toolTip());
  form->addRow(QStringLiteral("Сумма:"), sum_);
  layout->addLayout(form);
  layout->addWidget(OkCancelButtons(this));
  connect(values_, &QLineEdit::textChanged, this, [this] { UpdateSum(); });
  UpdateSum();
  values_->setFocus();
}

int StakeDialog::Count() const { return count_->value(); }

void StakeDialog::UpdateSum() {
  int sum = 0;
  for (const auto& word : support::SplitWords(U(values_->text()), ",;")) sum += lottery::TextToValue(support::Trim(word));
  sum_->setText(QString::number(sum));
}

void StakeDialog::accept() {
  const auto values = shell::ParseDialogValues(U(values_->text()));
  if (!values) {
    host_.ShowError("Введена некорректная комбинация!");
    values_->setFocus();
    return;
  }
  if (comment_->text().isEmpty()) {
    host_.ShowError("Необходимо ввести комментарий!");
    comment_->setFocus();
    return;
  }
  result_.DrawNumber = draw_->value();
  result_.Name = U(comment_->text());
  result_.Values = *values;
  result_.ValueCount = lottery::PositionCount;
  QDialog::accept();
}

MultiStakeDialog::MultiStakeDialog(QWidget* parent, shell::Host& host, int32_t draw, const QString& comment, int count)
    : QDialog(parent), host_(host) {
  setWindowTitle(QStringLiteral("Добавление мультиставки"));
  auto* layout = new QVBoxLayout(this);
  auto* form = new QFormLayout();
  draw_ = SpinBox(this, 1, std::numeric_limits<int>::max(), std::max(1, draw), "Номер тиража");
  form->addRow(QStringLiteral("Номер тиража:"), draw_);
  comment_ = gui::CommentEdit(this, comment);
  form->addRow(QStringLiteral("Комментарий к ставке:"), comment_);
  count_ = SpinBox(this, 1, 65535, count, CountHint);
  form->addRow(QStringLiteral("Кол-во тиражей:"), count_);
  layout->addLayout(form);
  layout->addWidget(OkCancelButtons(this));
}

int32_t MultiStakeDialog::Draw() const { return draw_->value(); }
QString MultiStakeDialog::Comment() const { return comment_->text(); }
int MultiStakeDialog::Count() const { return count_->value(); }

void MultiStakeDialog::accept() {
  if (comment_->text().isEmpty()) {
    host_.ShowError("Необходимо ввести комментарий!");
    comment_->setFocus();
    return;
  }
  QDialog::accept();
}

StakeFilterDialog::StakeFilterDialog(QWidget* parent, uint16_t value) : QDialog(parent) {
  setWindowTitle(QStringLiteral("Удаление по условию"));
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel(QStringLiteral("Выберите условие:"), this));
  auto* row = new QHBoxLayout();
  condition_ = new QComboBox(this);
  for (const char* text : {"Равно [ = ]", "Более [ > ]", "Не менее [ >= ]", "Менее [ < ]", "Не более [ <= ]"})
    condition_->addItem(QString::fromUtf8(text));
  condition_->setCurrentIndex(std::min(value & 0xFF, 4));
  condition_->setToolTip(QStringLiteral("Режим сравнения с количеством совпадений"));
  row->addWidget(condition_, 1);
  matches_ = new QSpinBox(this);
  matches_->setRange(0, 4);
  matches_->setValue(value >> 8);
  matches_->setToolTip(QStringLiteral("Количество совпадений"));
  row->addWidget(matches_);
  layout->addLayout(row);
  auto* buttons = OkCancelButtons(this);
  buttons->button(QDialogButtonBox::Ok)->setToolTip(QStringLiteral("Удалить ставки"));
  buttons->button(QDialogButtonBox::Cancel)->setToolTip(QStringLiteral("Отменить операцию и закрыть окно"));
  layout->addWidget(buttons);
}

uint16_t StakeFilterDialog::Value() const {
  return static_cast<uint16_t>(condition_->currentIndex() | matches_->value() << 8);
}

}  // namespace kelmora::gui
