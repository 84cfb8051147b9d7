#include "gui/library_panel.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QIcon>
#include <QMenu>
#include <QSortFilterProxyModel>
#include <QStyle>
#include <QTableView>
#include <QTableWidget>
#include <QToolBar>
#include <QVBoxLayout>

#include "gui/command_actions.h"
#include "gui/library_dialogs.h"
#include "gui/menu_layout.h"
#include "gui/qt_host.h"
#include "gui/qt_text.h"
#include "net/languages.h"
#include "shell/session.h"
#include "shell/view_state.h"

namespace kelmora::gui {

using shell::CommandId;

namespace {

constexpr int RatingColumn = 7;
constexpr const char* RatesSection = "TFormScrRates";
constexpr const char* RatesListName = "lvRates";

}  // namespace

LibraryModel::LibraryModel(shell::Session& session, QObject* parent) : QAbstractTableModel(parent), session_(session) {}

int LibraryModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : rows_; }
int LibraryModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : shell::LibraryState::ColumnCount;
}

QVariant LibraryModel::data(const QModelIndex& index, int role) const {
  const auto& entries = session_.Library().Entries();
  if (!index.isValid() || index.row() >= static_cast<int>(entries.size())) return {};
  const net::tScriptInfo& info = entries[static_cast<size_t>(index.row())];
  switch (role) {
    case Qt::DisplayRole: return Q(session_.Library().Cell(info, index.column()));
    case Qt::ToolTipRole:
      if (index.column() == 12 || index.column() == 1) return Q(session_.Library().Cell(info, index.column()));
      return {};
    case Qt::DecorationRole:
      // Public entries and entries only their author sees differ by icon.
      if (index.column() != 0) return {};
      return QApplication::style()->standardIcon(info.Public ? QStyle::SP_DriveNetIcon : QStyle::SP_DirClosedIcon);
    case SortRole:
      switch (index.column()) {
        case 6: return static_cast<qlonglong>(info.Created);
        case RatingColumn: return static_cast<double>(info.Rating);
        case 8: return info.RatesCount;
        case 9: return info.MyRate;
        case 10: return info.Downloads;
        case 11: return static_cast<qlonglong>(info.LastDownload);
        default: return Q(session_.Library().Cell(info, index.column()));
      }
    default: return {};
  }
}

QVariant LibraryModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 ||
      section >= shell::LibraryState::ColumnCount)
    return {};
  return Q(shell::LibraryState::ColumnCaptions[section]);
}

void LibraryModel::Refresh() {
  beginResetModel();
  rows_ = static_cast<int>(session_.Library().Entries().size());
  endResetModel();
}

LibraryPanel::LibraryPanel(QWidget* parent, shell::Session& session, QtHost& host, CommandActions& commands)
    : QWidget(parent), session_(session), host_(host), commands_(commands) {
  setObjectName(QStringLiteral("ScriptLibraryPanel"));
  EditProperties = [this](const net::tScriptData& data, bool editable, const shell::LibraryState::Validate& validate) {
    ScriptPropertiesDialog dialog(this, data, editable, net::BaseLanguage, validate);
    std::optional<net::tScriptData> result;
    if (dialog.exec() == QDialog::Accepted && editable) result = dialog.Result();
    return result;
  };
  RegisterCommands();

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  auto* bar = new QToolBar(this);
  bar->setObjectName(QStringLiteral("ScriptLibraryBar"));
  bar->setToolButtonStyle(Qt::ToolButtonTextOnly);
  bar->setMovable(false);
  bar->setFloatable(false);
  filter_ = new QComboBox(this);
  filter_->setObjectName(QStringLiteral("ScriptLibraryFilter"));
  filter_->setToolTip(QStringLiteral("Фильтр сценариев"));
  for (const char* item : net::CatalogueFilterItems) filter_->addItem(Q(item));
  filter_->setCurrentIndex(session_.Library().FilterIndex());
  bar->addWidget(filter_);
  bar->addSeparator();
  if (QAction* download = commands_.Action(CommandId::ScriptLibraryDownload)) {
    // The bar's button has the short caption "Скачать"; the menus keep the command's own.
    auto* shortened = bar->addAction(QStringLiteral("Скачать"));
    shortened->setObjectName(QStringLiteral("ScriptLibraryDownloadButton"));
    shortened->setToolTip(download->toolTip());
    shortened->setStatusTip(download->statusTip());
    shortened->setEnabled(download->isEnabled());
    connect(shortened, &QAction::triggered, this, [this] { commands_.Run(CommandId::ScriptLibraryDownload); });
    connect(download, &QAction::changed, shortened, [shortened, download] { shortened->setEnabled(download->isEnabled()); });
  }
  for (CommandId id : {CommandId::ScriptLibraryUpload, CommandId::ScriptLibraryReplace})
    if (QAction* action = commands_.Action(id)) bar->addAction(action);
  layout->addWidget(bar);

  model_ = new LibraryModel(session_, this);
  sorted_ = new QSortFilterProxyModel(this);
  sorted_->setSourceModel(model_);
  sorted_->setSortRole(LibraryModel::SortRole);
  list_ = new QTableView(this);
  list_->setObjectName(QStringLiteral("lvScriptLibrary"));
  list_->setModel(sorted_);
  list_->setSelectionBehavior(QAbstractItemView::SelectRows);
  list_->setSelectionMode(QAbstractItemView::SingleSelection);
  list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  list_->setWordWrap(false);
  list_->verticalHeader()->setVisible(false);
  list_->verticalHeader()->setDefaultSectionSize(20);
  list_->setContextMenuPolicy(Qt::CustomContextMenu);
  list_->setSortingEnabled(true);
  list_->sortByColumn(RatingColumn, Qt::AscendingOrder);
  const int widths[shell::LibraryState::ColumnCount] = {82, 160, 110, 110, 60, 50, 140, 70, 60, 85, 70, 140, 220};
  for (int c = 0; c < shell::LibraryState::ColumnCount; ++c) list_->horizontalHeader()->resizeSection(c, widths[c]);
  layout->addWidget(list_, 1);

  connect(filter_, &QComboBox::currentIndexChanged, this, [this](int index) {
    if (refreshing_ || index == session_.Library().FilterIndex()) return;
    session_.Library().SetFilterIndex(index);
  });
  connect(list_->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] { TakeSelection(); });
  connect(list_, &QTableView::doubleClicked, this, [this] {
    if (session_.IsIdle()) commands_.Run(CommandId::ScriptLibraryView);
  });
  connect(list_, &QWidget::customContextMenuRequested, this, &LibraryPanel::ShowContextMenu);
  connect(&host_, &QtHost::SessionViewChanged, this, [this](shell::ViewId view) {
    if (view == shell::ViewId::Library || view == shell::ViewId::All) Refresh();
  });
  Refresh();
}

void LibraryPanel::RegisterCommands() {
  auto& c = commands_;
  auto& library = session_.Library();
  c.SetHandler(CommandId::ScriptLibrary, [&library] { library.ToggleShown(); });
  c.SetHandler(CommandId::ScriptLibraryRefresh, [&library] { library.RefreshScriptLibrary(); });
  c.SetHandler(CommandId::ScriptLibraryDownload, [&library] { library.DownloadSelected(); });
  c.SetHandler(CommandId::ScriptLibraryUpload, [this, &library] { library.PublishScript(EditProperties); });
  c.SetHandler(CommandId::ScriptLibraryReplace, [this, &library] { library.ReplaceScript(EditProperties); });
  c.SetHandler(CommandId::ScriptLibraryDelete, [&library] { library.DeleteScriptEntry(); });
  c.SetHandler(CommandId::ScriptLibraryView, [this, &library] { library.ShowScriptProperties(EditProperties); });
  c.SetHandler(CommandId::ScriptLibraryRates, [this] { ShowRates(); });
  const CommandId rates[] = {CommandId::ScriptLibraryRate0, CommandId::ScriptLibraryRate1, CommandId::ScriptLibraryRate2,
                             CommandId::ScriptLibraryRate3, CommandId::ScriptLibraryRate4, CommandId::ScriptLibraryRate5};
  for (int value = 0; value <= 5; ++value)
    c.SetHandler(rates[value], [&library, value] { library.RateSelected(value); });
  c.SetHandler(CommandId::ScriptLibraryHide, [&library] { library.RateSelected(-1); });
}

void LibraryPanel::ShowRates() {
  const auto rates = session_.Library().LoadSelectedRates();
  if (!rates) return;
  ScriptRatesDialog dialog(this, *rates);
  auto* header = dialog.List()->horizontalHeader();
  std::vector<int32_t> defaults;
  for (int i = 0; i < header->count(); ++i) defaults.push_back(header->sectionSize(i));
  session_.Reported("", [&] {
    const auto columns = session_.View().RestoreColumns(RatesSection, RatesListName, header->count(), defaults);
    for (int i = 0; i < static_cast<int>(columns.Widths.size()); ++i)
      if (columns.Widths[static_cast<size_t>(i)] > 0) header->resizeSection(i, columns.Widths[static_cast<size_t>(i)]);
  });
  dialog.exec();
  shell::TListColumns columns;
  for (int i = 0; i < header->count(); ++i) columns.Widths.push_back(header->sectionSize(i));
  session_.Reported("Ошибка сохранения параметров программы!",
                    [&] { session_.View().SaveColumns(RatesSection, RatesListName, columns); });
}

void LibraryPanel::ShowContextMenu(const QPoint& pos) {
  QMenu menu(this);
  commands_.Update();
  commands_.FillMenu(&menu, LibraryContextMenu());
  menu.exec(list_->viewport()->mapToGlobal(pos));
}

void LibraryPanel::TakeSelection() {
  if (refreshing_) return;
  const auto rows = list_->selectionModel()->selectedRows();
  session_.Library().Select(rows.isEmpty() ? -1 : sorted_->mapToSource(rows.front()).row());
  emit SelectionChanged();
}

void LibraryPanel::SelectEntry(int entry) {
  if (entry < 0 || entry >= model_->rowCount()) {
    list_->clearSelection();
    return;
  }
  const QModelIndex index = sorted_->mapFromSource(model_->index(entry, 0));
  list_->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
  list_->scrollTo(index);
}

void LibraryPanel::Refresh() {
  ++refreshing_;
  setVisible(session_.Library().Shown());
  filter_->setCurrentIndex(session_.Library().FilterIndex());
  model_->Refresh();
  const int selected = session_.Library().Selected();
  if (selected >= 0) SelectEntry(selected);
  --refreshing_;
  emit SelectionChanged();
}

}  // namespace kelmora::gui
