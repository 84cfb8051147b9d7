#include "gui/analysis_pages.h"

#include <algorithm>

#include <QChart>
#include <QChartView>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineSeries>
#include <QMenu>
#include <QSpinBox>
#include <QSplitter>
#include <QTableView>
#include <QTableWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include "gui/chart_window.h"
#include "gui/command_actions.h"
#include "gui/menu_layout.h"
#include "gui/qt_text.h"
#include "gui/view_grid.h"
#include "gui/xlsx_export.h"
#include "shell/commands.h"
#include "shell/session.h"
#include "shell/stats_state.h"
#include "shell/views_state.h"
#include "views/card.h"
#include "views/week.h"

namespace kelmora::gui {

using shell::CommandId;

namespace {

constexpr int MaxLength = 2147483647;

void SetHint(QWidget* widget, const QString& hint) {
  widget->setToolTip(hint);
  widget->setStatusTip(hint);
}

QSpinBox* LengthSpin(QWidget* parent, const QString& name, int value, const QString& hint) {
  auto* spin = new QSpinBox(parent);
  spin->setObjectName(name);
  spin->setRange(1, MaxLength);
  spin->setValue(value);
  spin->setMinimumWidth(80);
  SetHint(spin, hint);
  return spin;
}

void AddButtons(QWidget* parent, QHBoxLayout* bar, CommandActions& commands, Place place) {
  for (const MenuItem& item : PlaceItems(place)) {
    if (item.Type != MenuItem::Command) continue;
    if (QAction* action = commands.Action(item.Id)) {
      auto* button = new QToolButton(parent);
      button->setDefaultAction(action);
      button->setToolButtonStyle(Qt::ToolButtonTextOnly);
      bar->addWidget(button);
    }
  }
}

// A row of fields and buttons that never widens the window: when the page is narrower than the
// row, the row is cut at the right (its commands stay on the grid's context menu).
QHBoxLayout* AddBar(QVBoxLayout* layout) {
  auto* row = new QWidget();
  row->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
  auto* bar = new QHBoxLayout(row);
  bar->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(row);
  return bar;
}

bool IsEnter(QEvent* event) {
  if (event->type() != QEvent::KeyPress) return false;
  const int key = static_cast<QKeyEvent*>(event)->key();
  return key == Qt::Key_Return || key == Qt::Key_Enter;
}

void ContextMenu(QWidget* owner, QTableView* grid, CommandActions& commands, Place place) {
  QObject::connect(grid, &QWidget::customContextMenuRequested, owner, [grid, &commands, place](const QPoint& pos) {
    QMenu menu(grid);
    commands.Update();
    commands.FillMenu(&menu, PlaceItems(place));
    menu.exec(grid->viewport()->mapToGlobal(pos));
  });
}

void ExportGrid(shell::Session& session, const FileChooser& choose, const ViewGridModel& model, const QString& caption,
                const QString& title) {
  QString path = choose(caption, QStringLiteral("Книга Excel (*.xlsx)"), true);
  if (path.isEmpty()) return;
  if (!path.endsWith(QStringLiteral(".xlsx"), Qt::CaseInsensitive)) path += QStringLiteral(".xlsx");
  shell::BusyGuard busy(session, "Экспорт в Microsoft Excel...");
  session.Reported("", [&] { ExportModelToXlsx(model, title, path); });
}

// The green line with magenta point outlines of the measured values.
void StyleMainSeries(QChart* chart) {
  const auto series = chart->series();
  if (series.isEmpty()) return;
  if (auto* line = qobject_cast<QLineSeries*>(series.front())) {
    line->setMarkerSize(4);
    line->setBrush(QColor(0xFF, 0x00, 0xFF));
  }
}

void SetChart(QChartView* view, const support::ChartData& data) {
  QChart* old = view->chart();
  QChart* chart = BuildChart(data);
  chart->legend()->setVisible(!data.Series.empty());
  StyleMainSeries(chart);
  view->setChart(chart);
  delete old;
}

// The interface is Russian whatever the system's locale, so the days are named in Russian.
const std::array<std::string, 7>& DayNames() { return views::RussianShortDayNames(); }

}  // namespace

// ---- "Схема" ----

LayoutPage::LayoutPage(QWidget* parent, shell::Session& session, CommandActions& commands, const FileChooser& choose_file)
    : QWidget(parent), session_(session), commands_(commands), choose_file_(choose_file) {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(2, 2, 2, 2);
  auto* bar = AddBar(layout);
  bar->addWidget(new QLabel(QStringLiteral("Схема выпадения номеров"), this));
  length_ = LengthSpin(this, QStringLiteral("edLayoutLen"), session_.MainView().LayoutLen,
                       QStringLiteral("Количество тиражей, использующихся для расчета статистики"));
  length_->installEventFilter(this);
  bar->addWidget(length_);
  AddButtons(this, bar, commands_, Place::LayoutButtons);
  bar->addStretch(1);

  auto* splitter = new QSplitter(Qt::Vertical, this);
  auto& views_state = session_.Views();
  model_ = new ViewGridModel(
      {[&views_state] { return views_state.Layout().Grid.Rows; }, [&views_state] { return views_state.Layout().Grid.Cols; },
       [&views_state](int r, int c) { return views_state.Layout().Grid.At(r, c); },
       [this, &views_state](int r, int c) -> int64_t {
         const auto& g = views_state.Layout().Grid;
         return views::LayoutCellColor(g.At(r, c), r, c, g.Rows, g.Cols, session_.MainView().LayoutGradient);
       }},
      this);
  grid_ = MakeGridView(splitter, model_, "sgLayout");
  grid_->verticalHeader()->setFixedWidth(50);
  ContextMenu(this, grid_, commands_, Place::LayoutMenu);
  connect(grid_->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] { emit SelectionChanged(); });
  splitter->addWidget(grid_);

  auto* lists = new QWidget(splitter);
  auto* lists_layout = new QVBoxLayout(lists);
  lists_layout->setContentsMargins(0, 0, 0, 0);
  lists->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
  auto* lists_bar = new QHBoxLayout();
  lists_bar->addWidget(new QLabel(QStringLiteral("Списки сравнения"), lists));
  AddButtons(lists, lists_bar, commands_, Place::LayoutListsButtons);
  lists_bar->addStretch(1);
  lists_layout->addLayout(lists_bar);
  auto* row = new QHBoxLayout();
  for (int i = 0; i < 5; ++i) {
    auto* column = new QVBoxLayout();
    list_lengths_[static_cast<size_t>(i)] = LengthSpin(
        lists, QStringLiteral("edLayoutCompareLen%1").arg(i + 1), session_.MainView().LayoutCompareLen[static_cast<size_t>(i)],
        QStringLiteral("Количество тиражей, использующихся для расчета статистики в списке %1").arg(i + 1));
    list_lengths_[static_cast<size_t>(i)]->installEventFilter(this);
    column->addWidget(list_lengths_[static_cast<size_t>(i)]);
    auto* list = new QTableWidget(0, 2, lists);
    list->setObjectName(QStringLiteral("lvLayoutCompare%1").arg(i + 1));
    list->setHorizontalHeaderLabels({QStringLiteral("Кол-во"), QString()});
    list->verticalHeader()->setVisible(false);
    list->verticalHeader()->setDefaultSectionSize(20);
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list->setSelectionBehavior(QAbstractItemView::SelectRows);
    list->setSortingEnabled(true);
    list->horizontalHeader()->resizeSection(0, std::max(60, list->horizontalHeader()->sectionSizeHint(0)));
    list->horizontalHeader()->setStretchLastSection(true);
    list->setSortingEnabled(true);
    list->sortByColumn(0, Qt::DescendingOrder);
    lists_[static_cast<size_t>(i)] = list;
    column->addWidget(list, 1);
    row->addLayout(column, 1);
  }
  lists_layout->addLayout(row, 1);
  splitter->addWidget(lists);
  splitter->setStretchFactor(0, 1);
  splitter->setSizes({400, std::max(120, session_.MainView().LayoutCompareHeight + 60)});
  layout->addWidget(splitter, 1);

  commands_.SetHandler(CommandId::LayoutCalc, [this] {
    session_.Views().SetLayoutLen(length_->value());
    session_.Views().CalcLayout(true);
  });
  commands_.SetHandler(CommandId::LayoutCmpCalc, [this] {
    for (int i = 0; i < 5; ++i) session_.Views().SetLayoutCompareLen(i, list_lengths_[static_cast<size_t>(i)]->value());
    session_.Views().CalcLayoutCompare(true);
  });
  commands_.SetHandler(CommandId::LayoutFilter_Include, [this] { session_.Views().ApplyLayoutFilter(Selection(), false); });
  commands_.SetHandler(CommandId::LayoutFilter_Exclude, [this] { session_.Views().ApplyLayoutFilter(Selection(), true); });
  commands_.SetHandler(CommandId::LayoutXlsExport, [this] {
    ExportGrid(session_, choose_file_, *model_, QStringLiteral("Экспорт схемы в Microsoft Excel"), QStringLiteral("Схема"));
  });
}

views::TCellRect LayoutPage::Selection() const { return GridSelection(*grid_); }

void LayoutPage::FitColumns() {
  // Every value column starts at 40 pixels and widens to its widest text plus 10.
  const QFontMetrics metrics(grid_->font());
  auto* header = grid_->horizontalHeader();
  for (int c = 0; c < model_->columnCount(); ++c) {
    int width = std::max(40, header->fontMetrics().horizontalAdvance(model_->headerData(c, Qt::Horizontal, Qt::DisplayRole).toString()) + 10);
    for (int r = 0; r < model_->rowCount(); ++r)
      width = std::max(width, metrics.horizontalAdvance(model_->index(r, c).data().toString()) + 10);
    header->resizeSection(c, width);
  }
}

void LayoutPage::Refresh() {
  model_->Reset();
  FitColumns();
  const auto& compare = session_.Views().LayoutCompare();
  for (size_t i = 0; i < lists_.size(); ++i) {
    QTableWidget* list = lists_[i];
    const bool sorting = list->isSortingEnabled();
    list->setSortingEnabled(false);
    list->setRowCount(static_cast<int>(compare[i].Rows.size()));
    list->setHorizontalHeaderItem(1, new QTableWidgetItem(Q(compare[i].Caption)));
    for (size_t r = 0; r < compare[i].Rows.size(); ++r) {
      auto* count = new QTableWidgetItem();
      count->setData(Qt::DisplayRole, compare[i].Rows[r].Count);
      list->setItem(static_cast<int>(r), 0, count);
      list->setItem(static_cast<int>(r), 1, new QTableWidgetItem(Q(compare[i].Rows[r].Values)));
    }
    list->setSortingEnabled(sorting);
  }
  emit SelectionChanged();
}

void LayoutPage::Repaint() { model_->Repaint(); }

bool LayoutPage::eventFilter(QObject* watched, QEvent* event) {
  if (IsEnter(event)) {
    if (watched == length_) {
      length_->interpretText();
      if (session_.Views().SetLayoutLen(length_->value())) session_.Views().CalcLayout(false);
      return true;
    }
    for (QSpinBox* spin : list_lengths_) {
      if (watched != spin) continue;
      spin->interpretText();
      commands_.Run(CommandId::LayoutCmpCalc);
      return true;
    }
  }
  return QWidget::eventFilter(watched, event);
}

// ---- "Графики" ----

GraphsPage::GraphsPage(QWidget* parent, shell::Session& session, CommandActions& commands)
    : QWidget(parent), session_(session), commands_(commands) {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(2, 2, 2, 2);
  auto* bar = AddBar(layout);
  bar->addWidget(new QLabel(QStringLiteral("Тип графика"), this));
  selector_ = new QComboBox(this);
  selector_->setObjectName(QStringLiteral("cbDrawsGraphType"));
  selector_->setMinimumContentsLength(12);
  selector_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  SetHint(selector_, QStringLiteral("Тип графика"));
  bar->addWidget(selector_, 1);
  length_ = LengthSpin(this, QStringLiteral("edDrawsGraphLen"), session_.MainView().DrawsGraphLen,
                       QStringLiteral("Количество тиражей, использующихся для построения графиков"));
  length_->installEventFilter(this);
  bar->addWidget(length_);
  AddButtons(this, bar, commands_, Place::GraphsButtons);
  labels_ = new QCheckBox(QStringLiteral("Отображать метки на графике"), this);
  labels_->setObjectName(QStringLiteral("cbGraphLabels"));
  labels_->setChecked(session_.Views().GraphLabels());
  bar->addWidget(labels_);
  chart_view_ = new QChartView(this);
  chart_view_->setObjectName(QStringLiteral("chDrawsGraph"));
  chart_view_->setRenderHint(QPainter::Antialiasing);
  layout->addWidget(chart_view_, 1);

  connect(selector_, &QComboBox::currentIndexChanged, this, [this](int position) {
    session_.Views().SelectGraph(position < 0 ? -1 : selector_->itemData(position).toInt());
    commands_.Update();
    CalcIfEnabled();
  });
  connect(labels_, &QCheckBox::toggled, this, [this](bool on) { session_.Views().SetGraphLabels(on); });
  connect(length_, &QSpinBox::valueChanged, this, [this](int value) { session_.Views().SetGraphLen(value); });
  commands_.SetHandler(CommandId::DrawsGraphDraw, [this] {
    session_.Views().SetGraphLen(length_->value());
    session_.Views().CalcGraphs(true);
  });
}

void GraphsPage::FillSelector() {
  const QSignalBlocker block(selector_);
  selector_->clear();
  int current = -1;
  for (const auto& entry : session_.Stats().Selectors().Graphs) {
    if (entry.Entry == session_.Views().GraphEntry()) current = selector_->count();
    selector_->addItem(Q(entry.Text), entry.Entry);
  }
  selector_->setCurrentIndex(current);
  if (current < 0) session_.Views().SelectGraph(-1);
}

void GraphsPage::CalcIfEnabled() {
  if (shell::CommandEnabled(CommandId::DrawsGraphDraw, shell::CommandStateOf(session_))) session_.Views().CalcGraphs(false);
}

void GraphsPage::Refresh() { SetChart(chart_view_, session_.Views().Graph()); }

bool GraphsPage::eventFilter(QObject* watched, QEvent* event) {
  if (watched == length_ && IsEnter(event)) {
    length_->interpretText();
    if (session_.Views().SetGraphLen(length_->value())) CalcIfEnabled();
    return true;
  }
  return QWidget::eventFilter(watched, event);
}

// ---- "Карта" ----

CardPage::CardPage(QWidget* parent, shell::Session& session, CommandActions& commands, const FileChooser& choose_file)
    : QWidget(parent), session_(session), commands_(commands), choose_file_(choose_file) {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(2, 2, 2, 2);
  auto* bar = AddBar(layout);
  AddButtons(this, bar, commands_, Place::CardButtons);
  bar->addStretch(1);
  const auto& draws = session_.Draws();
  auto& views_state = session_.Views();
  model_ = new ViewGridModel(
      {[&views_state] { return views_state.CardRows(); }, [] { return views::CardColumns; },
       [&draws](int r, int c) { return views::CardCellText(draws, r, c); },
       [this, &draws](int r, int c) {
         const auto& v = session_.MainView();
         return views::CardCellColor(draws, r, c, v.ColorCard, v.ColorCardSequences, session_.Settings().Config.ChannelSize);
       }},
      this);
  grid_ = MakeGridView(this, model_, "sgCard");
  grid_->verticalHeader()->setFixedWidth(60);
  grid_->horizontalHeader()->setDefaultSectionSize(36);
  ContextMenu(this, grid_, commands_, Place::CardMenu);
  connect(grid_->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] { emit SelectionChanged(); });
  layout->addWidget(grid_, 1);

  commands_.SetHandler(CommandId::CardFilter_Include, [this] { session_.Views().ApplyCardFilter(Selection(), false); });
  commands_.SetHandler(CommandId::CardFilter_Exclude, [this] { session_.Views().ApplyCardFilter(Selection(), true); });
  commands_.SetHandler(CommandId::CardXlsExport, [this] {
    ExportGrid(session_, choose_file_, *model_, QStringLiteral("Экспорт карты тиражей в Microsoft Excel"),
               QStringLiteral("Карта тиражей"));
  });
}

views::TCellRect CardPage::Selection() const { return GridSelection(*grid_); }

void CardPage::Refresh() {
  model_->Reset();
  emit SelectionChanged();
}

void CardPage::Repaint() { model_->Repaint(); }

// ---- "Неделя" ----

WeekPage::WeekPage(QWidget* parent, shell::Session& session, CommandActions& commands)
    : QWidget(parent), session_(session), commands_(commands) {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(2, 2, 2, 2);
  auto* bar = AddBar(layout);
  length_ = LengthSpin(this, QStringLiteral("edWeekLen"), session_.MainView().WeekLen,
                       QStringLiteral("Количество тиражей, использующихся для расчета статистики"));
  length_->installEventFilter(this);
  bar->addWidget(length_);
  AddButtons(this, bar, commands_, Place::WeekButtons);
  bar->addStretch(1);
  auto* splitter = new QSplitter(Qt::Vertical, this);
  auto& views_state = session_.Views();
  model_ = new ViewGridModel(
      {[] { return 8; }, [] { return 9; },
       [&views_state](int r, int c) { return views::WeekGrid(views_state.Week(), DayNames()).At(r, c); },
       [&views_state](int r, int c) -> int64_t {
         if (r < 1 || c < 1) return -1;
         const auto& w = views_state.Week();
         return views::WeekCellColor(w.Counts[static_cast<size_t>(r - 1)][static_cast<size_t>(c - 1)], w.Max);
       }},
      this);
  grid_ = MakeGridView(splitter, model_, "sgWeek");
  grid_->verticalHeader()->setFixedWidth(50);
  grid_->horizontalHeader()->setDefaultSectionSize(48);
  ContextMenu(this, grid_, commands_, Place::WeekMenu);
  connect(grid_->selectionModel(), &QItemSelectionModel::currentChanged, this, [this] { RedrawChart(); });
  connect(grid_->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] { emit SelectionChanged(); });
  splitter->addWidget(grid_);
  chart_view_ = new QChartView(splitter);
  chart_view_->setObjectName(QStringLiteral("chWeek"));
  chart_view_->setRenderHint(QPainter::Antialiasing);
  chart_view_->setMinimumHeight(160);
  splitter->addWidget(chart_view_);
  splitter->setSizes({200, std::max(160, session_.MainView().WeekHeight)});
  layout->addWidget(splitter, 1);

  commands_.SetHandler(CommandId::WeekStatCalc, [this] {
    session_.Views().SetWeekLen(length_->value());
    session_.Views().CalcWeek(true);
  });
  auto filter = [this](bool is_delete) {
    const views::TCellRect rect = GridSelection(*grid_);
    session_.Views().ApplyWeekFilter(rect.Left, rect.Right, is_delete);
  };
  commands_.SetHandler(CommandId::WeekFilter_Include, [filter] { filter(false); });
  commands_.SetHandler(CommandId::WeekFilter_Exclude, [filter] { filter(true); });
}

void WeekPage::Refresh() {
  model_->Reset();
  RedrawChart();
  emit SelectionChanged();
}

void WeekPage::RedrawChart() {
  // Grid cell (row, col); the model's cell (r, c) is the grid's (r + 1, c + 1).
  const QModelIndex current = grid_->currentIndex();
  const int row = current.isValid() ? current.row() + 1 : 1;
  const int col = current.isValid() ? current.column() + 1 : 1;
  const auto& v = session_.MainView();
  SetChart(chart_view_, views::WeekChart(session_.Views().Week(), DayNames(), row, col, v.WeekChartMode == 1, v.WeekChartType));
}

bool WeekPage::eventFilter(QObject* watched, QEvent* event) {
  if (watched == length_ && IsEnter(event)) {
    length_->interpretText();
    if (session_.Views().SetWeekLen(length_->value())) session_.Views().CalcWeek(false);
    return true;
  }
  return QWidget::eventFilter(watched, event);
}

}  // namespace kelmora::gui
