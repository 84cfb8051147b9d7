#include "gui/stats_page.h"

#include <algorithm>

#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QStyle>
#include <QEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineSeries>
#include <QMenu>
#include <QSpinBox>
#include <QSplitter>
#include <QTableView>
#include <QToolButton>
#include <QVBoxLayout>

#include "gui/chart_window.h"
#include "gui/command_actions.h"
#include "gui/menu_layout.h"
#include "gui/qt_host.h"
#include "gui/qt_text.h"
#include "gui/stats_model.h"
#include "gui/table_sizing.h"
#include "gui/xlsx_export.h"
#include "shell/combs_state.h"
#include "shell/session.h"
#include "shell/stats_state.h"
#include "shell/view_state.h"

namespace kelmora::gui {

using shell::CommandId;

namespace {

constexpr const char* TableName = "lvDrawsStat";
constexpr int NormColumnWidth = 80;
constexpr int NormColumns[] = {3, 4, 5};

void SetHint(QWidget* widget, const QString& hint) {
  widget->setToolTip(hint);
  widget->setStatusTip(hint);
}

}  // namespace

StatsPage::StatsPage(QWidget* parent, shell::Session& session, QtHost& host, CommandActions& commands,
                     const FileChooser& choose_file)
    : QWidget(parent), session_(session), host_(host), commands_(commands), choose_file_(choose_file) {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(2, 2, 2, 2);
  auto* bar = new QHBoxLayout();
  selector_ = new QComboBox(this);
  selector_->setObjectName(QStringLiteral("cbDrawsStatType"));
  selector_->setMinimumContentsLength(12);
  selector_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  SetHint(selector_, QStringLiteral("Вид расчета статистики"));
  bar->addWidget(selector_, 1);
  length_ = new QSpinBox(this);
  length_->setObjectName(QStringLiteral("edDrawsStatLen"));
  length_->setRange(1, 2147483647);
  length_->setValue(stats::DefaultWindowLength);
  length_->setMinimumWidth(80);
  SetHint(length_, QStringLiteral("Количество тиражей, использующихся для расчета статистики"));
  length_->installEventFilter(this);
  bar->addWidget(length_);
  for (const MenuItem& item : PlaceItems(Place::StatsButtons)) {
    const CommandId id = item.Id;
    if (QAction* action = commands_.Action(id)) {
      auto* button = new QToolButton(this);
      // The manager's long caption would widen the page past a 900-pixel window: it shows as an
      // icon with its caption in the tooltip.
      const bool icon_only = id == CommandId::FiltersManager;
      if (icon_only && action->icon().isNull()) action->setIcon(style()->standardIcon(QStyle::SP_FileDialogDetailedView));
      button->setDefaultAction(action);
      button->setToolButtonStyle(icon_only ? Qt::ToolButtonIconOnly : Qt::ToolButtonTextOnly);
      bar->addWidget(button);
    }
  }
  layout->addLayout(bar);

  splitter_ = new QSplitter(Qt::Vertical, this);
  model_ = new StatsModel(session_, this);
  table_ = new QTableView(splitter_);
  table_->setObjectName(QString::fromLatin1(TableName));
  table_->setModel(model_);
  table_->setSelectionBehavior(QAbstractItemView::SelectRows);
  table_->setSelectionMode(QAbstractItemView::ExtendedSelection);
  table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table_->verticalHeader()->setVisible(false);
  table_->verticalHeader()->setDefaultSectionSize(20);
  table_->setContextMenuPolicy(Qt::CustomContextMenu);
  auto* header = table_->horizontalHeader();
  header->setSectionsClickable(true);
  header->setSortIndicatorShown(true);
  header->setDefaultSectionSize(60);
  header->resizeSection(0, 110);
  FitColumnsToHeader(*header);

  chart_view_ = new QChartView(splitter_);
  chart_view_->setObjectName(QStringLiteral("chDrawsStat"));
  chart_view_->setRenderHint(QPainter::Antialiasing);
  chart_view_->setContextMenuPolicy(Qt::CustomContextMenu);
  chart_view_->setMinimumHeight(160);
  splitter_->addWidget(table_);
  splitter_->addWidget(chart_view_);
  splitter_->setStretchFactor(0, 1);
  splitter_->setSizes({300, std::max(160, session_.MainView().DrawsStatHeight + 100)});
  layout->addWidget(splitter_, 1);

  connect(selector_, &QComboBox::currentIndexChanged, this, &StatsPage::OnSelectorChanged);
  connect(length_, &QSpinBox::valueChanged, this, [this](int value) { session_.Stats().SetWindowLength(value); });
  connect(header, &QHeaderView::sectionResized, this, [this] {
    if (!own_resize_) user_widths_ = true;
  });
  connect(header, &QHeaderView::sectionClicked, this, [this](int column) { session_.Stats().ClickColumn(column); });
  connect(table_->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] { emit SelectionChanged(); });
  // F7 and Ctrl+F7 go to the table's commands while it has the focus: its owners are recomputed.
  table_->installEventFilter(this);
  // The Session's selector lists were made anew (favourites, captions, settings).
  connect(&host_, &QtHost::SessionViewChanged, this, [this](shell::ViewId view) {
    if (view == shell::ViewId::StatSelectors) FillSelector();
  });
  connect(model_, &QAbstractItemModel::modelReset, this, [this] { emit SelectionChanged(); });
  connect(table_, &QWidget::customContextMenuRequested, this, [this](const QPoint& pos) {
    QMenu menu(this);
    commands_.Update();
    commands_.FillMenu(&menu, StatsTableContextMenu());
    menu.exec(table_->viewport()->mapToGlobal(pos));
  });
  connect(chart_view_, &QWidget::customContextMenuRequested, this, [this](const QPoint& pos) {
    QMenu menu(this);
    commands_.Update();
    commands_.FillMenu(&menu, StatsChartContextMenu());
    menu.exec(chart_view_->mapToGlobal(pos));
  });
  RegisterCommands();
  ShowNormColumns();
}

void StatsPage::RegisterCommands() {
  commands_.SetHandler(CommandId::DrawsStatCalc, [this] {
    session_.Stats().SetWindowLength(length_->value());
    try {
      session_.Stats().CalcStatTable(true);
    } catch (const std::exception& e) {
      host_.ShowError(e.what());
    }
  });
  commands_.SetHandler(CommandId::DrawsStatePrefetchsEnabled, [this] { session_.Stats().TogglePrefetchsEnabled(); });
  commands_.SetHandler(CommandId::DrawsStatShowTotalLine, [this] { session_.Stats().ToggleShowTotalLine(); });
  commands_.SetHandler(CommandId::DrawsStatExportToExcel, [this] { ExportXlsx(); });
  commands_.SetHandler(CommandId::StatFilter_Include, [this] { ApplyFilter(false); });
  commands_.SetHandler(CommandId::StatFilter_Exclude, [this] { ApplyFilter(true); });
}

void StatsPage::FillSelector() {
  const QSignalBlocker block(selector_);
  selector_->clear();
  const auto& stats = session_.Stats();
  int current = -1;
  for (const auto& entry : stats.Selectors().Stats) {
    if (entry.Entry == stats.SelectedEntry()) current = selector_->count();
    selector_->addItem(Q(entry.Text), entry.Entry);
  }
  selector_->setCurrentIndex(current);
  length_->setValue(stats.WindowLength());
}

void StatsPage::OnSelectorChanged(int position) {
  session_.Stats().SelectEntry(position < 0 ? -1 : selector_->itemData(position).toInt());
  commands_.Update();
  CalcIfEnabled();
}

void StatsPage::CalcIfEnabled() {
  if (!shell::CommandEnabled(CommandId::DrawsStatCalc, shell::CommandStateOf(session_))) return;
  try {
    session_.Stats().CalcStatTable(false);
  } catch (const std::exception& e) {
    host_.ShowError(e.what());
  }
}

bool StatsPage::eventFilter(QObject* watched, QEvent* event) {
  if (watched == table_ && (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut))
    emit SelectionChanged();
  if (watched == length_ && event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
      length_->interpretText();
      if (session_.Stats().SetWindowLength(length_->value())) CalcIfEnabled();
      return true;
    }
  }
  return QWidget::eventFilter(watched, event);
}

void StatsPage::ShowNormColumns() {
  const bool shown = session_.MainView().PrefetchsEnabled;
  ++own_resize_;
  for (int column : NormColumns) {
    const bool was_hidden = table_->isColumnHidden(column);
    table_->setColumnHidden(column, !shown);
    if (shown && was_hidden) {
      auto* header = table_->horizontalHeader();
      header->resizeSection(column, std::max(NormColumnWidth, header->sectionSizeHint(column)));
    }
  }
  --own_resize_;
}

void StatsPage::Refresh() {
  model_->Refresh();
  ShowNormColumns();
  // Until the user sets widths of their own, the columns follow what they show.
  if (!user_widths_ && model_->rowCount() > 0) {
    ++own_resize_;
    FitColumns(*table_);
    --own_resize_;
  }
  const auto& stats = session_.Stats();
  table_->horizontalHeader()->setSortIndicator(stats.SortColumn(),
                                               stats.SortDescending() ? Qt::DescendingOrder : Qt::AscendingOrder);
  QChart* old = chart_view_->chart();
  QChart* chart = BuildChart(stats.Table().Chart);
  chart->legend()->setVisible(!stats.Table().Chart.Series.empty());
  // The measured values are drawn with magenta point outlines over the green line.
  const auto series = chart->series();
  if (!series.isEmpty()) {
    if (auto* line = qobject_cast<QLineSeries*>(series.front())) {
      line->setMarkerSize(4);
      line->setBrush(QColor(0xFF, 0x00, 0xFF));
    }
  }
  chart_view_->setChart(chart);
  delete old;
}

std::vector<int> StatsPage::SelectedRows() const {
  std::vector<int> rows;
  for (const QModelIndex& index : table_->selectionModel()->selectedRows()) rows.push_back(index.row());
  std::sort(rows.begin(), rows.end());
  return rows;
}

void StatsPage::ApplyFilter(bool is_delete) { session_.Combs().ApplyStatFilter(SelectedRows(), is_delete); }

void StatsPage::ExportXlsx() {
  QString path = choose_file_(QStringLiteral("Экспорт статистики в Microsoft Excel"), QStringLiteral("Книга Excel (*.xlsx)"), true);
  if (path.isEmpty()) return;
  if (!path.endsWith(QStringLiteral(".xlsx"), Qt::CaseInsensitive)) path += QStringLiteral(".xlsx");
  shell::BusyGuard busy(session_, "Экспорт в Microsoft Excel...");
  session_.Reported("", [&] { ExportModelToXlsx(*model_, QStringLiteral("Статистика"), path); });
}

void StatsPage::RestoreViewState(const shell::ViewState& view) {
  std::vector<int32_t> defaults;
  auto* header = table_->horizontalHeader();
  for (int i = 0; i < header->count(); ++i) defaults.push_back(header->isSectionHidden(i) ? NormColumnWidth : header->sectionSize(i));
  const auto columns = view.RestoreColumns(shell::MainWindowSection, TableName, header->count(), defaults);
  ++own_resize_;
  for (int i = 0; i < static_cast<int>(columns.Widths.size()) && i < header->count(); ++i)
    if (columns.Widths[static_cast<size_t>(i)] > 0) header->resizeSection(i, columns.Widths[static_cast<size_t>(i)]);
  --own_resize_;
  if (columns.Widths != defaults) user_widths_ = true;
  if (columns.Sort) session_.Stats().SetSort(columns.Sort->first, columns.Sort->second != 0);
  ShowNormColumns();
}

void StatsPage::SaveViewState(shell::ViewState& view) const {
  shell::TListColumns columns;
  const auto* header = table_->horizontalHeader();
  for (int i = 0; i < header->count(); ++i) columns.Widths.push_back(header->isSectionHidden(i) ? 0 : header->sectionSize(i));
  columns.Sort = std::make_pair(session_.Stats().SortColumn(), session_.Stats().SortDescending() ? 1 : 0);
  view.SaveColumns(shell::MainWindowSection, TableName, columns);
}

}  // namespace kelmora::gui
