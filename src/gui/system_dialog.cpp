#include "gui/system_dialog.h"

#include <ctime>

#include <QApplication>
#include <QClipboard>
#include <QDialogButtonBox>
#include <QEvent>
#include <QFile>
#include <QFileDialog>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

#include "gui/qt_text.h"
#include "shell/host.h"
#include "stakes/systems.h"
#include "support/platform.h"
#include "support/text.h"

namespace kelmora::gui {

namespace {

void Hint(QWidget* widget, const char* text) {
  widget->setToolTip(QString::fromUtf8(text));
  widget->setStatusTip(widget->toolTip());
}

QLineEdit* ReadOnly(QWidget* parent, const QString& text) {
  auto* edit = new QLineEdit(text, parent);
  edit->setReadOnly(true);
  return edit;
}

QString TimeText(int64_t t) { return t == 0 ? QString() : Q(support::LocalTimeText(t)); }

int NumberOf(const QLineEdit* edit) { return support::ParseInt(U(edit->text())).value_or(0); }

}  // namespace

SystemDialog::SystemDialog(QWidget* parent, shell::Host& host, const net::tSystemData& data, bool editable)
    : QDialog(parent), host_(host), result_(data), editable_(editable) {
  setWindowTitle(QStringLiteral("Система"));
  setObjectName(QStringLiteral("TFormSystem"));
  auto* layout = new QVBoxLayout(this);
  auto* form = new QFormLayout();
  title_ = new QLineEdit(Q(data.Title), this);
  title_->setObjectName(QStringLiteral("edTitle"));
  Hint(title_, "Название системы");
  form->addRow(QStringLiteral("Наименование:"), title_);
  descr_ = new QPlainTextEdit(Q(data.Descr), this);
  descr_->setObjectName(QStringLiteral("edDescr"));
  descr_->setFixedHeight(60);
  Hint(descr_, "Описание системы");
  form->addRow(QStringLiteral("Описание:"), descr_);
  author_ = new QLineEdit(Q(data.Author), this);
  author_->setObjectName(QStringLiteral("edAuthor"));
  Hint(author_, "Автор системы");
  form->addRow(QStringLiteral("Автор:"), author_);
  auto* url_row = new QHBoxLayout();
  url_ = new QLineEdit(Q(data.Url), this);
  url_->setObjectName(QStringLiteral("edURL"));
  Hint(url_, "Ссылка на интернет-ресурс");
  url_button_ = new QPushButton(QStringLiteral("..."), this);
  Hint(url_button_, "Открыть ссылку в браузере");
  url_row->addWidget(url_);
  url_row->addWidget(url_button_);
  form->addRow(QStringLiteral("Ссылка:"), url_row);
  combs_ = new QPlainTextEdit(Q(data.CList), this);
  combs_->setObjectName(QStringLiteral("edCombs"));
  Hint(combs_, "Список комбинаций системы");
  combs_->setContextMenuPolicy(Qt::CustomContextMenu);
  combs_->installEventFilter(this);
  form->addRow(QStringLiteral("Список комбинаций:"), combs_);
  layout->addLayout(form);

  auto* grid = new QGridLayout();
  const auto digits = new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), this);
  created_ = ReadOnly(this, TimeText(data.Created));
  csize_ = ReadOnly(this, QString::number(data.CSize));
  nums_ = new QLineEdit(QString::number(data.Nums), this);
  nums_->setValidator(digits);
  Hint(nums_, "Количество используемых чисел");
  length_ = ReadOnly(this, QString::number(stakes::SystemCombLength));
  Hint(length_, "Длина одной комбинации");
  olap_ = new QLineEdit(QString::number(data.Olap), this);
  olap_->setValidator(digits);
  Hint(olap_, "Длина блока");
  downloads_ = ReadOnly(this, QString::number(data.Downloads));
  last_download_ = ReadOnly(this, TimeText(data.LastDownload));
  const std::pair<const char*, QLineEdit*> cells[] = {
      {"Создана:", created_}, {"Комбинаций:", csize_}, {"Числа:", nums_},  {"Длина:", length_},
      {"Блок:", olap_},       {"Загрузок:", downloads_}, {"Последняя:", last_download_}};
  int i = 0;
  for (const auto& [caption, edit] : cells) {
    grid->addWidget(new QLabel(QString::fromUtf8(caption), this), i / 2, (i % 2) * 2);
    grid->addWidget(edit, i / 2, (i % 2) * 2 + 1);
    ++i;
  }
  layout->addLayout(grid);

  auto* buttons = new QDialogButtonBox(this);
  ok_ = buttons->addButton(QDialogButtonBox::Ok);
  QPushButton* cancel = buttons->addButton(QStringLiteral("Отмена"), QDialogButtonBox::RejectRole);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  layout->addWidget(buttons);
  if (!editable_) {
    for (QLineEdit* edit : {title_, author_, url_, nums_, olap_}) edit->setReadOnly(true);
    descr_->setReadOnly(true);
    combs_->setReadOnly(true);
    ok_->hide();
    Hint(cancel, "Закрыть окно");
  }
  const auto update_url = [this] { url_button_->setEnabled(!url_->text().trimmed().isEmpty()); };
  connect(url_, &QLineEdit::textChanged, this, update_url);
  update_url();
  connect(url_button_, &QPushButton::clicked, this, [this] { host_.OpenDocument(U(url_->text().trimmed())); });
  connect(combs_, &QWidget::customContextMenuRequested, this, [this](const QPoint& pos) { ShowRowsMenu(pos); });
  resize(560, 560);
}

bool SystemDialog::eventFilter(QObject* watched, QEvent* event) {
  if (watched == combs_ && event->type() == QEvent::FocusOut && editable_) NormaliseRows();
  return QDialog::eventFilter(watched, event);
}

void SystemDialog::NormaliseRows() {
  const stakes::TSystemRows rows = stakes::NormaliseSystemRows(U(combs_->toPlainText()));
  combs_->setPlainText(Q(support::Join(rows.Rows, "\n")));
  nums_->setText(QString::number(rows.Nums));
  csize_->setText(QString::number(rows.CSize));
}

void SystemDialog::ShowRowsMenu(const QPoint& pos) {
  QMenu menu(this);
  const bool empty = combs_->toPlainText().isEmpty();
  const auto add = [&](const char* caption, bool enabled, auto&& act) {
    QAction* action = menu.addAction(QString::fromUtf8(caption));
    action->setEnabled(enabled);
    connect(action, &QAction::triggered, this, act);
  };
  add("Копировать в буфер обмена", combs_->textCursor().hasSelection(), [this] { combs_->copy(); });
  add("Вставить из буфера обмена", editable_ && !QApplication::clipboard()->text().isEmpty(), [this] { combs_->paste(); });
  add("Выделить все", !empty, [this] { combs_->selectAll(); });
  add("Загрузить из файла", editable_, [this] {
    const QString path = QFileDialog::getOpenFileName(this, QStringLiteral("Загрузить из файла"));
    QFile file(path);
    if (path.isEmpty() || !file.open(QIODevice::ReadOnly)) return;
    combs_->setPlainText(QString::fromLocal8Bit(file.readAll()));
    NormaliseRows();
  });
  add("Сохранить в файле", !empty, [this] {
    const QString path = QFileDialog::getSaveFileName(this, QStringLiteral("Сохранить в файле"));
    QFile file(path);
    if (path.isEmpty() || !file.open(QIODevice::WriteOnly)) return;
    file.write(combs_->toPlainText().replace(QLatin1Char('\n'), QStringLiteral("\r\n")).toLocal8Bit());
  });
  menu.exec(combs_->viewport()->mapToGlobal(pos));
}

void SystemDialog::accept() {
  if (!editable_) return;
  // OK pressed straight from the rows field: it is left as if focus moved on.
  if (combs_->hasFocus()) NormaliseRows();
  const int nums = NumberOf(nums_);
  const int olap = NumberOf(olap_);
  struct Check {
    bool Ok;
    const char* Message;
    QWidget* Field;
  };
  const Check checks[] = {
      {!title_->text().trimmed().isEmpty(), "Название системы должно быть указано обязательно!", title_},
      {nums >= stakes::SystemNumsMin && nums <= stakes::SystemNumsMax, "Указано недопустмое количество используемых чисел!",
       nums_},
      {olap >= 0 && olap <= stakes::SystemOlapMax, "Указан недопустмый размер блока!", olap_},
      {!author_->text().trimmed().isEmpty(), "Имя автора должно быть указано обязательно!", author_},
      {!descr_->toPlainText().trimmed().isEmpty(), "Описание системы должно быть указано обязательно!", descr_},
      {!combs_->toPlainText().trimmed().isEmpty(), "Содержимое системы должно быть указано обязательно!", combs_},
  };
  for (const auto& c : checks) {
    if (c.Ok) continue;
    host_.ShowError(c.Message);
    c.Field->setFocus();
    return;
  }
  result_.Nums = static_cast<uint8_t>(nums);
  result_.Olap = static_cast<uint8_t>(olap);
  result_.CSize = NumberOf(csize_);
  result_.Title = U(title_->text());
  result_.Author = U(author_->text());
  result_.Descr = U(descr_->toPlainText());
  result_.Url = U(url_->text());
  result_.CList = U(combs_->toPlainText());
  // The field is read-only: an entry keeps its time, a new one gets the present moment.
  if (result_.Created == 0) result_.Created = static_cast<int64_t>(std::time(nullptr));
  QDialog::accept();
}

}  // namespace kelmora::gui
