#include "gui/combs_page.h"

#include <algorithm>

#include <QAction>
#include <QEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QSpinBox>
#include <QSplitter>
#include <QTableView>
#include <QToolButton>
#include <QVBoxLayout>

#include "gui/combs_model.h"
#include "gui/command_actions.h"
#include "gui/draw_info_dialog.h"
#include "gui/generate_dialog.h"
#include "gui/menu_layout.h"
#include "gui/qt_host.h"
#include "gui/table_sizing.h"
#include "gui/qt_text.h"
#include "gui/xlsx_export.h"
#include "shell/combs_state.h"
#include "shell/session.h"

namespace kelmora::gui {

using shell::CommandId;

namespace {

const QString CombFilter = QStringLiteral("Файлы комбинаций (*.lcv)");

QTableView* NewList(QWidget* parent, const QString& name) {
  auto* list = new QTableView(parent);
  list->setObjectName(name);
  list->setSelectionBehavior(QAbstractItemView::SelectRows);
  list->setEditTriggers(QAbstractItemView::NoEditTriggers);
  list->verticalHeader()->setVisible(false);
  list->verticalHeader()->setDefaultSectionSize(20);
  return list;
}

}  // namespace

CombsPage::CombsPage(QWidget* parent, shell::Session& session, QtHost& host, CommandActions& commands,
                     const FileChooser& choose_file)
    : QWidget(parent), session_(session), host_(host), commands_(commands), choose_file_(choose_file) {
  RegisterCommands();
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(2, 2, 2, 2);
  auto* bar = new QHBoxLayout();
  for (const MenuItem& item : PlaceItems(Place::CombsButtons)) {
    QAction* action = commands_.Action(item.Id);
    if (!action) continue;
    auto* button = new QToolButton(this);
    button->setDefaultAction(action);
    button->setToolButtonStyle(Qt::ToolButtonTextOnly);
    bar->addWidget(button);
  }
  bar->addStretch(1);
  layout->addLayout(bar);
  // The exclusion has its own row, so the page stays narrow enough to leave room for statistics.
  auto* exclude_row = new QHBoxLayout();
  const QString hint = QStringLiteral("Исключить указанное количество последних тиражей из списка комбинаций");
  exclude_ = new QSpinBox(this);
  exclude_->setObjectName(QStringLiteral("edDrawsExclude"));
  exclude_->setRange(0, 2147483647);
  exclude_->setMinimumWidth(70);
  exclude_->setToolTip(hint);
  exclude_->setStatusTip(hint);
  exclude_->installEventFilter(this);
  auto* exclude_label = new QLabel(QStringLiteral("Исключить последние тиражи:"), this);
  exclude_label->setToolTip(hint);
  exclude_label->setStatusTip(hint);
  exclude_label->setBuddy(exclude_);
  exclude_row->addWidget(exclude_label);
  exclude_row->addWidget(exclude_);
  exclude_button_ = new QPushButton(QStringLiteral("[-] Тиражи"), this);
  exclude_button_->setToolTip(hint);
  exclude_button_->setStatusTip(hint);
  exclude_row->addWidget(exclude_button_);
  exclude_row->addStretch(1);
  layout->addLayout(exclude_row);

  splitter_ = new QSplitter(Qt::Vertical, this);
  model_ = new CombsModel(session_, this);
  list_ = NewList(splitter_, QStringLiteral("lvCombs"));
  list_->setModel(model_);
  list_->setSelectionMode(QAbstractItemView::ExtendedSelection);
  list_->setContextMenuPolicy(Qt::CustomContextMenu);
  const int widths[] = {60, 34, 34, 34, 34, 44};
  for (int c = 0; c < CombsModel::ColumnCount; ++c) list_->horizontalHeader()->resizeSection(c, widths[c]);
  FitColumnsToHeader(*list_->horizontalHeader());
  history_model_ = new FiltersModel(session_, this);
  history_ = NewList(splitter_, QStringLiteral("lvFilters"));
  history_->setModel(history_model_);
  history_->setSelectionMode(QAbstractItemView::SingleSelection);
  history_->horizontalHeader()->resizeSection(FiltersModel::ColCaption, 170);
  history_->horizontalHeader()->resizeSection(FiltersModel::ColValues, 80);
  history_->horizontalHeader()->setStretchLastSection(true);
  splitter_->addWidget(list_);
  splitter_->addWidget(history_);
  splitter_->setStretchFactor(0, 1);
  splitter_->setSizes({400, session_.MainView().FiltersHeight});
  layout->addWidget(splitter_, 1);

  if (QAction* exclude = commands_.Action(CommandId::CombsDelExists)) {
    connect(exclude, &QAction::changed, exclude_button_, [this, exclude] { exclude_button_->setEnabled(exclude->isEnabled()); });
    exclude_button_->setEnabled(exclude->isEnabled());
  }
  connect(exclude_button_, &QPushButton::clicked, this, [this] { commands_.Run(CommandId::CombsDelExists); });
  connect(exclude_, &QSpinBox::valueChanged, this, [this](int value) {
    session_.MainView().DrawsExclude = value;
    commands_.ScheduleUpdate();
  });
  connect(list_->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] { emit SelectionChanged(); });
  connect(model_, &QAbstractItemModel::modelReset, this, [this] { emit SelectionChanged(); });
  // A double click stakes the combination where the stakes file is open.
  connect(list_, &QTableView::doubleClicked, this, [this] { commands_.Run(CommandId::StakeAdd); });
  connect(list_, &QWidget::customContextMenuRequested, this, [this](const QPoint& pos) {
    QMenu menu(this);
    commands_.Update();
    commands_.FillMenu(&menu, CombsContextMenu());
    menu.exec(list_->viewport()->mapToGlobal(pos));
  });
}

void CombsPage::RegisterCommands() {
  auto& c = commands_;
  c.SetHandler(CommandId::CombsGen, [this] { Generate(); });
  c.SetHandler(CommandId::CombsOpen, [this] { Open(); });
  c.SetHandler(CommandId::CombsSave, [this] { Save(); });
  c.SetHandler(CommandId::CombsUndo, [this] { session_.Combs().UndoCommand(); });
  c.SetHandler(CommandId::CombsDelExists, [this] { session_.Combs().ExcludeDrawsCommand(); });
  c.SetHandler(CommandId::CombsDelSelected, [this] {
    const auto rows = SelectedRows();
    list_->clearSelection();
    session_.Combs().RemoveSelected(rows);
  });
  c.SetHandler(CommandId::CombsCopy, [this] { session_.Combs().CopyToClipboard(SelectedRows()); });
  c.SetHandler(CommandId::CombsPaste, [this] { session_.Combs().PasteFromClipboard(); });
  c.SetHandler(CommandId::CombsSelectAll, [this] { SelectAll(); });
  c.SetHandler(CommandId::CombsCheckNums, [this] { session_.Combs().ShowDistinctValues(); });
  c.SetHandler(CommandId::CombsFindInDraws, [this] { session_.Combs().FindInArchive(FirstSelectedRow()); });
  c.SetHandler(CommandId::CombsInfo, [this] { ShowInfo(); });
  c.SetHandler(CommandId::CombsXlsExport, [this] { ExportXlsx(); });
  c.SetHandler(CommandId::ViewColorCombs, [this] { ToggleColors(); });
}

void CombsPage::Refresh() {
  model_->Refresh();
  const QSignalBlocker block(exclude_);
  if (exclude_->value() != session_.MainView().DrawsExclude) exclude_->setValue(session_.MainView().DrawsExclude);
}

void CombsPage::RefreshHistory() {
  history_model_->Refresh();
  if (history_model_->rowCount() == 0) return;
  // Filter names are long ("{ num } Числа тиража [ N ]"): name and values grow to show them.
  auto* header = history_->horizontalHeader();
  const auto* view = static_cast<const QAbstractItemView*>(history_);
  for (int column : {static_cast<int>(FiltersModel::ColCaption), static_cast<int>(FiltersModel::ColValues)}) {
    const int wanted = std::min(view->sizeHintForColumn(column), 300);
    if (header->sectionSize(column) < wanted) header->resizeSection(column, wanted);
  }
  history_->scrollToBottom();
}

std::vector<int> CombsPage::SelectedRows() const {
  std::vector<int> rows;
  for (const QModelIndex& index : list_->selectionModel()->selectedRows()) rows.push_back(index.row());
  std::sort(rows.begin(), rows.end());
  return rows;
}

int CombsPage::FirstSelectedRow() const {
  const auto rows = SelectedRows();
  return rows.empty() ? -1 : rows.front();
}

bool CombsPage::eventFilter(QObject* watched, QEvent* event) {
  if (watched == exclude_ && event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
      exclude_->interpretText();
      commands_.Update();
      commands_.Run(CommandId::CombsDelExists);
      return true;
    }
  }
  return QWidget::eventFilter(watched, event);
}

void CombsPage::Generate() {
  const auto& defaults = session_.Settings().Generation;
  GenerateDialog dialog(this, defaults.Mode, defaults.Parameters, choose_file_);
  if (dialog.exec() != QDialog::Accepted) return;
  session_.Combs().GenerateCommand(dialog.Mode(), dialog.Parameter(), dialog.SaveAsDefaults());
}

void CombsPage::Open() {
  const QString path = choose_file_(QStringLiteral("Открыть"), CombFilter, false);
  if (path.isEmpty()) return;
  session_.Combs().OpenCommand(std::filesystem::path(U(path)));
}

void CombsPage::Save() {
  QString path = choose_file_(QStringLiteral("Сохранить"), CombFilter, true);
  if (path.isEmpty()) return;
  if (!path.endsWith(QStringLiteral(".lcv"), Qt::CaseInsensitive)) path += QStringLiteral(".lcv");
  session_.Combs().SaveCombFile(std::filesystem::path(U(path)));
}

void CombsPage::SelectAll() {
  shell::BusyGuard status(session_, "Подождите пожалуйста...", shell::Busy::No);
  list_->selectAll();
}

void CombsPage::ShowInfo() {
  const int row = FirstSelectedRow();
  const auto& combs = session_.Combs();
  if (row < 0 || row >= combs.Count()) return;
  DrawInfoDialog dialog(this, session_, combs.CombList()[static_cast<size_t>(row)]);
  dialog.exec();
}

void CombsPage::ExportXlsx() {
  QString path = choose_file_(QStringLiteral("Экспорт в Microsoft Excel"), QStringLiteral("Книга Excel (*.xlsx)"), true);
  if (path.isEmpty()) return;
  if (!path.endsWith(QStringLiteral(".xlsx"), Qt::CaseInsensitive)) path += QStringLiteral(".xlsx");
  shell::BusyGuard busy(session_, "Экспорт в Microsoft Excel...");
  session_.Reported("", [&] { ExportModelToXlsx(*model_, QStringLiteral("Комбинации"), path); });
}

void CombsPage::ToggleColors() {
  const auto change = shell::ViewSwitchChange(CommandId::ViewColorCombs, session_.MainView());
  if (!change) return;
  shell::ApplyViewSwitch(session_.MainView(), *change);
  session_.WriteViewSwitch(change->Key, change->Value);
  model_->Refresh();
}

}  // namespace kelmora::gui
