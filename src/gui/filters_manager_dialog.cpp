#include "gui/filters_manager_dialog.h"

#include <QAction>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QEvent>
#include <QFileDialog>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QInputDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QStyle>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "gui/qt_text.h"
#include "gui/small_windows.h"
#include "shell/stats_state.h"
#include "support/text.h"

namespace kelmora::gui {

namespace {

constexpr int GroupRole = Qt::UserRole;
constexpr int MethodRole = Qt::UserRole + 1;  // -1 on group entries
const QString NameFilesFilter = QStringLiteral("Наименования фильтров (*.flt)");

// Toggles the mark of a method entry on a click or the space bar.
class ToggleFilter : public QObject {
 public:
  ToggleFilter(QTreeWidget* tree, std::function<void(QTreeWidgetItem*)> toggle)
      : QObject(tree), tree_(tree), toggle_(std::move(toggle)) {}
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched == tree_ && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Space) {
      if (QTreeWidgetItem* item = tree_->currentItem()) toggle_(item);
      return true;
    }
    return false;
  }

 private:
  QTreeWidget* tree_;
  std::function<void(QTreeWidgetItem*)> toggle_;
};

}  // namespace

FiltersManagerDialog::FiltersManagerDialog(QWidget* parent, shell::Session& session)
    : QDialog(parent), session_(session), tree_(session.Stats().List()) {
  setObjectName(QStringLiteral("TFormManager"));
  setWindowTitle(QStringLiteral("Менеджер избранных методов расчета статистики"));
  AskName = [this](const QString& current) -> std::optional<QString> {
    bool ok = false;
    const QString text = QInputDialog::getText(this, QStringLiteral("Переименование"),
                                               QStringLiteral("Введите наименование фильтра:"), QLineEdit::Normal,
                                               current, &ok);
    if (!ok) return std::nullopt;
    return text;
  };
  ChooseFile = [this](bool save) {
    QFileDialog dialog(this, save ? QStringLiteral("Экспорт названий") : QStringLiteral("Импорт названий"),
                       QString::fromStdString(session_.Options().DataDir.string()), NameFilesFilter);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setDefaultSuffix(QStringLiteral("flt"));
    return dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty() ? dialog.selectedFiles().front()
                                                                                    : QString();
  };

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel(QStringLiteral("Отметьте методы расчета статистики, которые Вы хотите использовать:"), this));
  auto* middle = new QHBoxLayout();
  tree_view_ = new QTreeWidget(this);
  tree_view_->setObjectName(QStringLiteral("tvFilters"));
  tree_view_->setHeaderHidden(true);
  tree_view_->setColumnCount(1);
  tree_view_->setSelectionMode(QAbstractItemView::SingleSelection);
  tree_view_->setContextMenuPolicy(Qt::CustomContextMenu);
  tree_view_->setUniformRowHeights(true);
  tree_view_->installEventFilter(new ToggleFilter(tree_view_, [this](QTreeWidgetItem* item) { Toggle(item); }));
  middle->addWidget(tree_view_, 1);

  auto* buttons_column = new QVBoxLayout();
  AddAction(CheckAll, "Выбрать все", "Поставить отметки у всех фильтров", &FiltersManagerDialog::DoCheckAll);
  AddAction(CheckNone, "Сбросить все", "Снять отметки со всех фильтров", &FiltersManagerDialog::DoCheckNone);
  AddAction(GroupAll, "Выбрать группу", "Поставить отметки у всех фильтров группы", &FiltersManagerDialog::DoGroupAll);
  AddAction(GroupNone, "Сбросить группу", "Снять отметки со всех фильтров группы", &FiltersManagerDialog::DoGroupNone);
  AddAction(Rename, "Переименовать", "Переименовать фильтр", &FiltersManagerDialog::DoRename);
  AddAction(ResetName, "Вернуть", "Вернуть наименование \"по умолчанию\"", &FiltersManagerDialog::DoResetName);
  AddAction(Info, "Описание", "Справочная информация о выделенном методе расчета статистики", &FiltersManagerDialog::DoInfo);
  AddAction(NamesImport, "Импорт названий", "Импорт названий фильтров из файла", &FiltersManagerDialog::DoImport);
  AddAction(NamesExport, "Экспорт названий", "Экспорт названий фильтров в файл", &FiltersManagerDialog::DoExport);
  // Marks, names, descriptions, name files: one block each.
  const ActionId order[] = {CheckAll, CheckNone, GroupAll, GroupNone, ActionCount, Rename, ResetName,
                            ActionCount, Info, ActionCount, NamesImport, NamesExport};
  for (ActionId id : order) {
    if (id == ActionCount) {
      buttons_column->addSpacing(10);
      continue;
    }
    auto* button = new QToolButton(this);
    button->setDefaultAction(actions_[id]);
    button->setToolButtonStyle(Qt::ToolButtonTextOnly);
    button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    buttons_column->addWidget(button);
  }
  buttons_column->addStretch(1);
  middle->addLayout(buttons_column);
  layout->addLayout(middle, 1);

  counter_ = new QLabel(this);
  counter_->setObjectName(QStringLiteral("lbCount"));
  counter_->setText(QStringLiteral("всего %1 методов").arg(tree_.MethodCount()));
  layout->addWidget(counter_);

  auto* options = new QGroupBox(QStringLiteral(" Параметры вывода наименований в списках методов расчета статистики "), this);
  auto* options_layout = new QVBoxLayout(options);
  ordered_ = new QCheckBox(QStringLiteral("Сортировать списки по названию метода"), options);
  group_name_ = new QCheckBox(QStringLiteral("Отображать идентификатор группы { xxx } перед названием метода"), options);
  method_flags_ = new QCheckBox(QStringLiteral("Отображать особенности метода [ YYY ] после названия метода"), options);
  ordered_->setChecked(tree_.Options.Ordered);
  group_name_->setChecked(tree_.Options.ShowGroupName);
  method_flags_->setChecked(tree_.Options.ShowMethodFlags);
  for (QCheckBox* box : {ordered_, group_name_, method_flags_}) options_layout->addWidget(box);
  layout->addWidget(options);
  layout->addWidget(OkCancelButtons(this));

  connect(tree_view_, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* item) { Toggle(item); });
  connect(tree_view_, &QTreeWidget::itemSelectionChanged, this, &FiltersManagerDialog::UpdateActions);
  connect(tree_view_, &QWidget::customContextMenuRequested, this, [this](const QPoint& pos) {
    UpdateActions();
    QMenu menu(this);
    for (ActionId id : {GroupAll, GroupNone, CheckAll, CheckNone}) menu.addAction(actions_[id]);
    menu.addSeparator();
    menu.addAction(actions_[Info]);
    menu.exec(tree_view_->viewport()->mapToGlobal(pos));
  });

  FillTree();
  resize(640, 620);
}

QAction* FiltersManagerDialog::AddAction(ActionId id, const char* caption, const char* hint,
                                         void (FiltersManagerDialog::*run)()) {
  auto* action = new QAction(Q(caption), this);
  action->setToolTip(Q(hint));
  action->setStatusTip(Q(hint));
  connect(action, &QAction::triggered, this, [this, run] {
    if (!session_.IsIdle()) return;
    (this->*run)();
    UpdateActions();
  });
  actions_[id] = action;
  return action;
}

stats::TFavoritesTree FiltersManagerDialog::Tree() const {
  stats::TFavoritesTree tree = tree_;
  tree.Options = {ordered_->isChecked(), group_name_->isChecked(), method_flags_->isChecked()};
  return tree;
}

void FiltersManagerDialog::FillTree() {
  const auto [group, method] = Selected();
  tree_view_->clear();
  const QIcon folder = style()->standardIcon(QStyle::SP_DirIcon);
  QTreeWidgetItem* current = nullptr;
  for (int g = 0; g < static_cast<int>(tree_.Groups().size()); ++g) {
    const auto& entry = tree_.Groups()[static_cast<size_t>(g)];
    auto* group_item = new QTreeWidgetItem(tree_view_, {Q(entry.Caption)});
    group_item->setIcon(0, folder);
    group_item->setData(0, GroupRole, g);
    group_item->setData(0, MethodRole, -1);
    group_item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    if (g == group && method < 0) current = group_item;
    for (int m = 0; m < static_cast<int>(entry.Methods.size()); ++m) {
      const auto& node = entry.Methods[static_cast<size_t>(m)];
      auto* item = new QTreeWidgetItem(group_item, {Q(node.Caption)});
      item->setData(0, GroupRole, g);
      item->setData(0, MethodRole, m);
      // The mark is drawn but toggled only by the dialog, so a click anywhere on the row toggles once.
      item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
      item->setCheckState(0, node.Checked ? Qt::Checked : Qt::Unchecked);
      item->setToolTip(0, Q(session_.Stats().List().Items(node.Entry).Code()));
      if (g == group && m == method) current = item;
    }
  }
  tree_view_->expandAll();
  if (current) tree_view_->setCurrentItem(current);
  UpdateActions();
}

std::pair<int, int> FiltersManagerDialog::Selected() const {
  const QList<QTreeWidgetItem*> items = tree_view_->selectedItems();
  if (items.isEmpty()) return {-1, -1};
  return {items.front()->data(0, GroupRole).toInt(), items.front()->data(0, MethodRole).toInt()};
}

bool FiltersManagerDialog::SelectMethod(std::string_view code) {
  const auto& list = session_.Stats().List();
  for (int g = 0; g < tree_view_->topLevelItemCount(); ++g) {
    QTreeWidgetItem* group = tree_view_->topLevelItem(g);
    for (int m = 0; m < group->childCount(); ++m) {
      const auto& node = tree_.Groups()[static_cast<size_t>(g)].Methods[static_cast<size_t>(m)];
      if (code.empty() || support::SameText(list.Items(node.Entry).Code(), code)) {
        tree_view_->setCurrentItem(group->child(m));
        return true;
      }
    }
  }
  return false;
}

void FiltersManagerDialog::UpdateActions() {
  const bool idle = session_.IsIdle();
  const auto [group, method] = Selected();
  const bool any = idle && !tree_.Empty();
  for (ActionId id : {CheckNone, CheckAll}) actions_[id]->setEnabled(any);
  for (ActionId id : {GroupNone, GroupAll}) actions_[id]->setEnabled(idle && group >= 0);
  for (ActionId id : {Rename, ResetName, Info}) actions_[id]->setEnabled(idle && method >= 0);
  for (ActionId id : {NamesImport, NamesExport}) actions_[id]->setEnabled(idle);
}

void FiltersManagerDialog::Toggle(QTreeWidgetItem* item) {
  const int group = item->data(0, GroupRole).toInt();
  const int method = item->data(0, MethodRole).toInt();
  if (method < 0) return;
  const bool checked = item->checkState(0) != Qt::Checked;
  if (!tree_.SetChecked(group, method, checked)) return;
  item->setCheckState(0, checked ? Qt::Checked : Qt::Unchecked);
}

void FiltersManagerDialog::DoCheckNone() {
  tree_.CheckAll(false);
  FillTree();
}

void FiltersManagerDialog::DoCheckAll() {
  tree_.CheckAll(true);
  FillTree();
}

void FiltersManagerDialog::DoGroupNone() {
  tree_.CheckGroup(Selected().first, false);
  FillTree();
}

void FiltersManagerDialog::DoGroupAll() {
  tree_.CheckGroup(Selected().first, true);
  FillTree();
}

void FiltersManagerDialog::DoRename() {
  const auto [group, method] = Selected();
  if (method < 0) return;
  const auto& node = tree_.Groups()[static_cast<size_t>(group)].Methods[static_cast<size_t>(method)];
  const std::optional<QString> text = AskName(Q(node.Caption));
  if (!text) return;
  tree_.Rename(group, method, U(*text));
  FillTree();
}

void FiltersManagerDialog::DoResetName() {
  const auto [group, method] = Selected();
  if (tree_.ResetName(group, method, session_.Stats().List())) FillTree();
}

void FiltersManagerDialog::DoInfo() {
  const auto [group, method] = Selected();
  if (method < 0 || !ShowDescription) return;
  ShowDescription(tree_.Groups()[static_cast<size_t>(group)].Methods[static_cast<size_t>(method)].Entry);
}

void FiltersManagerDialog::DoImport() {
  const QString path = ChooseFile(false);
  if (path.isEmpty()) return;
  session_.Stats().ImportNames(std::filesystem::path(U(path)));
  // The tree is made again from the registry: marks not yet confirmed are lost.
  tree_ = stats::TFavoritesTree(session_.Stats().List());
  FillTree();
}

void FiltersManagerDialog::DoExport() {
  const QString path = ChooseFile(true);
  if (path.isEmpty()) return;
  session_.Stats().ExportNames(std::filesystem::path(U(path)), tree_);
}

}  // namespace kelmora::gui
