#include "gui/repeats_window.h"

#include <algorithm>

#include <QChart>
#include <QChartView>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QPushButton>
#include <QSpinBox>
#include <QSplitter>
#include <QTableWidget>
#include <QVBoxLayout>

#include "gui/chart_window.h"
#include "gui/qt_text.h"
#include "gui/window_placement.h"
#include "shell/session.h"
#include "shell/views_state.h"

namespace kelmora::gui {

namespace {

constexpr const char* ListName = "lvRepeats";

QSpinBox* Length(QWidget* parent, int64_t value) {
  auto* spin = new QSpinBox(parent);
  spin->setRange(1, 2147483647);
  spin->setValue(static_cast<int>(value));
  spin->setMinimumWidth(90);
  return spin;
}

}  // namespace

RepeatsWindow::RepeatsWindow(QWidget* parent, shell::Session& session) : QDialog(parent), session_(session) {
  setObjectName(QString::fromLatin1(shell::RepeatsSection));
  setWindowTitle(Q(views::RepeatsCaption));
  resize(820, 600);
  auto* layout = new QVBoxLayout(this);
  auto* form = new QFormLayout();
  length_ = Length(this, session_.Views().RepeatsLength());
  length_->setObjectName(QStringLiteral("edDrawsLength"));
  deep_ = Length(this, session_.Views().RepeatsDeep());
  deep_->setObjectName(QStringLiteral("edDrawsDeep"));
  form->addRow(QStringLiteral("Количество тиражей, использующихся для расчета статистики"), length_);
  form->addRow(QStringLiteral("Количество тиражей, просматриваемых \"в глубину\" для поиска совпадений"), deep_);
  auto* bar = new QHBoxLayout();
  bar->addLayout(form);
  auto* calc = new QPushButton(QStringLiteral("Рассчитать"), this);
  calc->setObjectName(QStringLiteral("btCalc"));
  bar->addWidget(calc, 0, Qt::AlignBottom);
  bar->addStretch(1);
  layout->addLayout(bar);
  length_->installEventFilter(this);
  deep_->installEventFilter(this);

  splitter_ = new QSplitter(Qt::Vertical, this);
  list_ = new QTableWidget(0, 4, splitter_);
  list_->setObjectName(QString::fromLatin1(ListName));
  list_->setHorizontalHeaderLabels({QStringLiteral("Тираж"), QStringLiteral("Совпадений"), QStringLiteral("Кол-во повторов"),
                                    QStringLiteral("Список тиражей")});
  list_->verticalHeader()->setVisible(false);
  list_->verticalHeader()->setDefaultSectionSize(20);
  list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  list_->setSelectionBehavior(QAbstractItemView::SelectRows);
  list_->horizontalHeader()->resizeSection(0, 70);
  list_->horizontalHeader()->resizeSection(1, 90);
  list_->horizontalHeader()->resizeSection(2, 120);
  list_->horizontalHeader()->setStretchLastSection(true);
  chart_view_ = new QChartView(splitter_);
  chart_view_->setObjectName(QStringLiteral("chRepeats"));
  chart_view_->setRenderHint(QPainter::Antialiasing);
  splitter_->addWidget(list_);
  splitter_->addWidget(chart_view_);
  layout->addWidget(splitter_, 1);

  session_.Reported("Ошибка загрузки параметров программы!", [&] {
    const auto& view = session_.View();
    if (RestoreWindowPlacement(view, shell::RepeatsSection, *this)) setWindowState(Qt::WindowMaximized);
    RestoreColumns(view, shell::RepeatsSection, ListName, *list_->horizontalHeader());
    const int height = view.ReadInt(shell::RepeatsSection, "GraphHeight", 250);
    splitter_->setSizes({std::max(100, 560 - height), std::max(100, height)});
  });
  connect(calc, &QPushButton::clicked, this, &RepeatsWindow::Calculate);
  Calculate();
}

RepeatsWindow::~RepeatsWindow() {
  session_.Reported("Ошибка сохранения параметров программы!", [&] {
    auto& view = session_.View();
    view.BeginBatch();
    SaveWindowPlacement(view, shell::RepeatsSection, *this);
    SaveColumns(view, shell::RepeatsSection, ListName, *list_->horizontalHeader());
    view.WriteInt(shell::RepeatsSection, "GraphHeight", chart_view_->height());
    view.EndBatch();
  });
}

void RepeatsWindow::Calculate() {
  length_->interpretText();
  deep_->interpretText();
  auto& views_state = session_.Views();
  const views::TRepeats repeats = views_state.CalcRepeats(length_->value(), deep_->value());
  list_->setRowCount(static_cast<int>(repeats.Rows.size()));
  for (size_t r = 0; r < repeats.Rows.size(); ++r) {
    const auto& row = repeats.Rows[r];
    const int i = static_cast<int>(r);
    list_->setItem(i, 0, new QTableWidgetItem(QString::number(row.Draw)));
    list_->setItem(i, 1, new QTableWidgetItem(QString::number(row.Matches)));
    list_->setItem(i, 2, new QTableWidgetItem(QString::number(row.Count)));
    list_->setItem(i, 3, new QTableWidgetItem(Q(row.Draws)));
  }
  support::ChartData data = views_state.RepeatsChart(repeats);
  data.Title.clear();
  QChart* old = chart_view_->chart();
  chart_view_->setChart(BuildChart(data));
  delete old;
}

bool RepeatsWindow::eventFilter(QObject* watched, QEvent* event) {
  if ((watched == length_ || watched == deep_) && event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
      Calculate();
      return true;
    }
  }
  return QDialog::eventFilter(watched, event);
}

}  // namespace kelmora::gui
