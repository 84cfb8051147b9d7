#include "gui/script_page.h"

#include <algorithm>

#include <QAction>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QSplitter>
#include <QTableView>
#include <QToolBar>
#include <QVBoxLayout>

#include "gui/command_actions.h"
#include "gui/library_panel.h"
#include "gui/menu_layout.h"
#include "gui/qt_host.h"
#include "gui/qt_text.h"
#include "gui/script_dialog.h"
#include "gui/script_model.h"
#include "gui/table_sizing.h"
#include "scripts/script.h"
#include "shell/script_runner.h"
#include "shell/script_state.h"
#include "shell/session.h"
#include "shell/view_state.h"

namespace kelmora::gui {

using shell::CommandId;

namespace {

const QString ScriptFilter = QStringLiteral("Файлы сценариев (*.lsc)");
constexpr const char* ListName = "lvScript";
// Option captions run to about 500 pixels; a comment or a filter may be longer still and is then
// read in its tooltip.
constexpr int MaxColumnWidth = 560;

void ShowPanel(QLabel* panel, const QString& text) {
  // A panel with nothing to say is hidden rather than shown as an empty box.
  panel->setText(text);
  panel->setVisible(!text.isEmpty());
}

}  // namespace

ScriptPage::ScriptPage(QWidget* parent, shell::Session& session, QtHost& host, CommandActions& commands,
                       const FileChooser& choose_file)
    : QWidget(parent), session_(session), host_(host), commands_(commands), choose_file_(choose_file) {
  RegisterCommands();
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(2, 2, 2, 2);
  // A tool bar keeps the page as narrow as the other pages: buttons that do not fit move behind
  // its extension arrow.
  auto* bar = new QToolBar(this);
  bar->setObjectName(QStringLiteral("ScriptToolBar"));
  bar->setToolButtonStyle(Qt::ToolButtonTextOnly);
  bar->setMovable(false);
  bar->setFloatable(false);
  for (const MenuItem& item : PlaceItems(Place::ScriptButtons)) {
    const CommandId id = item.Id;
    if (item.Type == MenuItem::Separator) {
      bar->addSeparator();
      continue;
    }
    if (QAction* action = commands_.Action(id); action && commands_.HasHandler(id)) bar->addAction(action);
  }
  layout->addWidget(bar);

  model_ = new ScriptModel(session_, this);
  list_ = new QTableView(this);
  list_->setObjectName(QStringLiteral("lvScript"));
  list_->setModel(model_);
  list_->setSelectionBehavior(QAbstractItemView::SelectRows);
  list_->setSelectionMode(QAbstractItemView::ExtendedSelection);
  list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  list_->setWordWrap(false);
  list_->verticalHeader()->setVisible(false);
  list_->verticalHeader()->setDefaultSectionSize(20);
  list_->setContextMenuPolicy(Qt::CustomContextMenu);
  auto* header = list_->horizontalHeader();
  header->resizeSection(ScriptModel::ColComment, 150);
  header->resizeSection(ScriptModel::ColOptions, 300);
  for (int c = ScriptModel::ColFilter1; c < ScriptModel::ColumnCount; ++c) header->resizeSection(c, 190);
  FitColumnsToHeader(*header);
  connect(header, &QHeaderView::sectionResized, this, [this] {
    if (!own_resize_) user_widths_ = true;
  });
  // The online catalogue lies under the script list; its height is kept in the view state.
  auto* split = new QSplitter(Qt::Vertical, this);
  split->setObjectName(QStringLiteral("ScriptLibrarySplitter"));
  split->setChildrenCollapsible(false);
  split->addWidget(list_);
  library_ = new LibraryPanel(split, session_, host_, commands_);
  split->addWidget(library_);
  split->setStretchFactor(0, 1);
  split->setSizes({400, std::max(60, session_.MainView().ScriptLibraryHeight)});
  connect(split, &QSplitter::splitterMoved, this, [this] {
    if (library_->isVisible()) session_.MainView().ScriptLibraryHeight = library_->height();
  });
  layout->addWidget(split, 1);

  auto* status = new QHBoxLayout();
  status->setSpacing(2);
  const int widths[PanelCount] = {90, 80, 80, 90, 0};
  for (int i = 0; i < PanelCount; ++i) {
    auto* panel = new QLabel(this);
    panel->setObjectName(QStringLiteral("ScriptPanel%1").arg(i + 1));
    panel->setFrameShape(QFrame::StyledPanel);
    panel->setFrameShadow(QFrame::Sunken);
    panel->setContentsMargins(4, 0, 4, 0);
    if (widths[i])
      panel->setMinimumWidth(widths[i]);
    else
      panel->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);  // a long filter text never widens the window
    status->addWidget(panel, widths[i] ? 0 : 100);
    panels_[static_cast<size_t>(i)] = panel;
    panel->hide();
  }
  status->addStretch(1);
  layout->addLayout(status);

  connect(list_->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] { emit SelectionChanged(); });
  connect(library_, &LibraryPanel::SelectionChanged, this, &ScriptPage::SelectionChanged);
  connect(model_, &QAbstractItemModel::rowsRemoved, this, [this] { emit SelectionChanged(); });
  connect(list_, &QTableView::doubleClicked, this, [this] { commands_.Run(CommandId::ScriptEdit); });
  connect(&host_, &QtHost::ScriptProgressChanged, this, &ScriptPage::ShowProgress);
  connect(&host_, &QtHost::ScriptRowChanged, this, [this](int row) {
    SelectRow(row);
    list_->viewport()->repaint();
  });
  connect(list_, &QWidget::customContextMenuRequested, this, [this](const QPoint& pos) {
    QMenu menu(this);
    commands_.Update();
    commands_.FillMenu(&menu, PlaceItems(Place::ScriptMenu));
    menu.exec(list_->viewport()->mapToGlobal(pos));
  });
  Refresh();
}

void ScriptPage::RegisterCommands() {
  auto& c = commands_;
  c.SetHandler(CommandId::ScriptOpen, [this] { OpenFile(false); });
  c.SetHandler(CommandId::ScriptLoad, [this] { OpenFile(true); });
  c.SetHandler(CommandId::ScriptSave, [this] { SaveFile(); });
  c.SetHandler(CommandId::ScriptAdd, [this] { AddStep(false); });
  c.SetHandler(CommandId::ScriptClone, [this] { AddStep(true); });
  c.SetHandler(CommandId::ScriptEdit, [this] { EditStep(); });
  c.SetHandler(CommandId::ScriptEmpty, [this] { AddSeparator(); });
  c.SetHandler(CommandId::ScriptDel, [this] { DeleteRows(); });
  c.SetHandler(CommandId::ScriptClr, [this] {
    list_->clearSelection();
    session_.Script().ClearLines();
  });
  c.SetHandler(CommandId::ScriptUp, [this] { Move(true); });
  c.SetHandler(CommandId::ScriptDown, [this] { Move(false); });
  c.SetHandler(CommandId::ScriptRun, [this] { Run(false); });
  c.SetHandler(CommandId::ScriptTest, [this] { Run(true); });
  c.SetHandler(CommandId::ScriptStop, [this] { session_.Runner().ScriptStop(); });
  c.SetHandler(CommandId::LogToggle, [this] { session_.Runner().LogToggle(); });
  c.SetHandler(CommandId::LogsDelete, [this] { session_.Runner().LogsDelete(); });
  c.SetHandler(CommandId::StakesCheckLine, [this] { session_.Runner().StakesCheckLine(); });
}

void ScriptPage::Run(bool test) {
  int tests = 0;
  if (test) {
    TestCountDialog dialog(this, static_cast<int>(session_.Draws().size()) - 1);
    if (dialog.exec() != QDialog::Accepted || dialog.Count() == 0) return;
    tests = dialog.Count();
  }
  // The runner reads its own copy: nothing may change the lines under it.
  const std::vector<std::string> lines = session_.Script().Lines();
  emit RunLocked(true);
  if (test)
    session_.Runner().ScriptTest(lines, tests);
  else
    session_.Runner().ScriptRun(lines);
  emit RunLocked(false);
}

void ScriptPage::Refresh() {
  model_->Refresh();
  ShowPanel(panels_[0], Q(session_.Script().StatusText()));
  // Until the user sets widths of their own, the columns follow what they show.
  if (!user_widths_ && model_->rowCount() > 0) {
    ++own_resize_;
    FitColumns(*list_, 60, MaxColumnWidth);
    --own_resize_;
  }
}

void ScriptPage::RestoreViewState(const shell::ViewState& view) {
  std::vector<int32_t> defaults;
  auto* header = list_->horizontalHeader();
  for (int i = 0; i < header->count(); ++i) defaults.push_back(header->sectionSize(i));
  const auto columns = view.RestoreColumns(shell::MainWindowSection, ListName, header->count(), defaults);
  ++own_resize_;
  for (int i = 0; i < static_cast<int>(columns.Widths.size()) && i < header->count(); ++i)
    if (columns.Widths[static_cast<size_t>(i)] > 0) header->resizeSection(i, columns.Widths[static_cast<size_t>(i)]);
  --own_resize_;
  if (columns.Widths != defaults) user_widths_ = true;
  if (auto* split = findChild<QSplitter*>(QStringLiteral("ScriptLibrarySplitter")))
    split->setSizes({std::max(100, split->height() - session_.MainView().ScriptLibraryHeight),
                     std::max(60, session_.MainView().ScriptLibraryHeight)});
  library_->Refresh();
}

void ScriptPage::SaveViewState(shell::ViewState& view) const {
  shell::TListColumns columns;
  const auto* header = list_->horizontalHeader();
  for (int i = 0; i < header->count(); ++i) columns.Widths.push_back(header->sectionSize(i));
  view.SaveColumns(shell::MainWindowSection, ListName, columns);
}

std::vector<int> ScriptPage::SelectedRows() const {
  std::vector<int> rows;
  for (const QModelIndex& index : list_->selectionModel()->selectedRows()) rows.push_back(index.row());
  std::sort(rows.begin(), rows.end());
  return rows;
}

int ScriptPage::SelectedRow() const {
  const auto rows = SelectedRows();
  return rows.empty() ? -1 : rows.front();
}

void ScriptPage::SelectRow(int row) {
  list_->clearSelection();
  if (row < 0 || row >= model_->rowCount()) return;
  const QModelIndex index = model_->index(row, 0);
  list_->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
  list_->scrollTo(index);
}

void ScriptPage::ShowProgress(const QString& cycle, const QString& line, const QString& stakes, const QString& text) {
  const QString texts[] = {cycle, line, stakes, text};
  for (int i = 0; i < 4; ++i) {
    ShowPanel(panels_[static_cast<size_t>(i + 1)], texts[i]);
    panels_[static_cast<size_t>(i + 1)]->repaint();
  }
}

void ScriptPage::AddStep(bool clone) {
  std::string line;
  if (clone) {
    const int row = SelectedRow();
    if (!session_.Reported("", [&] { line = session_.Script().GetScriptLine(row); })) return;
  }
  ScriptDialog dialog(this, session_, QStringLiteral("Создание новой строки"), session_.MainView().DrawsExclude, line);
  if (dialog.exec() != QDialog::Accepted) return;
  list_->clearSelection();
  SelectRow(session_.Script().AddScriptLine(dialog.Line()));
}

void ScriptPage::EditStep() {
  const int row = SelectedRow();
  std::string line;
  if (!session_.Reported("", [&] { line = session_.Script().GetScriptLine(row); })) return;
  ScriptDialog dialog(this, session_, QStringLiteral("Редактирование строки"), session_.MainView().DrawsExclude, line);
  if (dialog.exec() != QDialog::Accepted) return;
  session_.Reported("", [&] { session_.Script().SetScriptLine(row, dialog.Line()); });
}

void ScriptPage::AddSeparator() {
  list_->clearSelection();
  SelectRow(session_.Script().AddScriptLine(""));
}

void ScriptPage::OpenFile(bool append) {
  const QString path =
      choose_file_(append ? QStringLiteral("Добавить сценарий") : QStringLiteral("Открыть"), ScriptFilter, false);
  if (path.isEmpty()) return;
  list_->clearSelection();
  const std::filesystem::path file(U(path));
  if (append)
    session_.Script().ScriptLoad(file);
  else
    session_.Script().ScriptOpen(file);
}

void ScriptPage::SaveFile() {
  QString path = choose_file_(QStringLiteral("Сохранить"), ScriptFilter, true);
  if (path.isEmpty()) return;
  if (QFileInfo(path).suffix().isEmpty()) path += QStringLiteral(".") + QString::fromLatin1(scripts::ScriptFileExtension);
  session_.Script().SaveScriptFile(std::filesystem::path(U(path)));
}

void ScriptPage::DeleteRows() {
  if (session_.Script().DeleteLines(SelectedRows())) list_->clearSelection();
}

void ScriptPage::Move(bool up) {
  if (const auto row = session_.Script().MoveLine(SelectedRow(), up)) SelectRow(*row);
}

}  // namespace kelmora::gui
