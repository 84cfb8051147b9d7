#include "gui/draws_page.h"

#include <algorithm>

#include <QAction>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QSpinBox>
#include <QTableView>
#include <QToolButton>
#include <QVBoxLayout>

#include "gui/command_actions.h"
#include "gui/draws_model.h"
#include "gui/menu_layout.h"
#include "gui/table_sizing.h"
#include "shell/session.h"

namespace kelmora::gui {

using shell::CommandId;

DrawsPage::DrawsPage(QWidget* parent, shell::Session& session, CommandActions& commands)
    : QWidget(parent), session_(session), commands_(commands) {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(2, 2, 2, 2);
  auto* bar = new QHBoxLayout();
  for (const MenuItem& item : PlaceItems(Place::DrawsButtons)) {
    const CommandId id = item.Id;
    QAction* action = commands_.Action(id);
    if (!action || !commands_.HasHandler(id)) continue;
    auto* button = new QToolButton(this);
    button->setDefaultAction(action);
    button->setToolButtonStyle(Qt::ToolButtonTextOnly);
    bar->addWidget(button);
  }
  bar->addStretch(1);
  const QString hint = QStringLiteral("Смещение относительно последнего загруженного номера тиража");
  auto* label = new QLabel(QStringLiteral("Смещение назад:"), this);
  offset_ = new QSpinBox(this);
  offset_->setObjectName(QStringLiteral("DrawsOffset"));
  offset_->setRange(0, 0);
  offset_->setMinimumWidth(80);
  for (QWidget* w : std::initializer_list<QWidget*>{label, offset_}) {
    w->setToolTip(hint);
    w->setStatusTip(hint);
  }
  label->setBuddy(offset_);
  bar->addWidget(label);
  bar->addWidget(offset_);
  layout->addLayout(bar);

  empty_note_ = new QLabel(this);
  empty_note_->setObjectName(QStringLiteral("DrawsEmptyNote"));
  empty_note_->setWordWrap(true);
  empty_note_->setContentsMargins(4, 6, 4, 6);
  empty_note_->setVisible(false);
  layout->addWidget(empty_note_);

  model_ = new DrawsModel(session_, this);
  list_ = new QTableView(this);
  list_->setObjectName(QStringLiteral("lvDraws"));
  list_->setModel(model_);
  list_->setSelectionBehavior(QAbstractItemView::SelectRows);
  list_->setSelectionMode(QAbstractItemView::ExtendedSelection);
  list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  list_->verticalHeader()->setVisible(false);
  list_->verticalHeader()->setDefaultSectionSize(20);
  list_->setContextMenuPolicy(Qt::CustomContextMenu);
  const int widths[] = {60, 34, 34, 34, 34, 44, 90};
  for (int c = 0; c < DrawsModel::ColumnCount; ++c) list_->horizontalHeader()->resizeSection(c, widths[c]);
  FitColumnsToHeader(*list_->horizontalHeader());
  list_->horizontalHeader()->setStretchLastSection(true);
  layout->addWidget(list_, 1);

  connect(offset_, &QSpinBox::valueChanged, this, [this](int value) {
    if (value != session_.DrawsOffset()) session_.SetDrawsOffset(value);
  });
  connect(list_->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] { emit SelectionChanged(); });
  connect(model_, &QAbstractItemModel::modelReset, this, [this] { emit SelectionChanged(); });
  connect(list_, &QTableView::doubleClicked, this, [this] { commands_.Run(CommandId::DrawsInfo); });
  connect(list_, &QWidget::customContextMenuRequested, this, [this](const QPoint& pos) {
    QMenu menu(this);
    commands_.Update();
    commands_.FillMenu(&menu, DrawsContextMenu());
    if (QAction* info = commands_.Action(CommandId::DrawsInfo)) menu.setDefaultAction(info);
    menu.exec(list_->viewport()->mapToGlobal(pos));
  });
}

QString DrawsPage::EmptyNoteText() const {
  // Names only the ways in that this build offers.
  QStringList ways;
  auto caption = [this](CommandId id) {
    const QAction* action = commands_.Action(id);
    return action ? action->text().remove(QLatin1Char('&')) : QString();
  };
  if (commands_.HasHandler(CommandId::DrawsAdd))
    ways << QStringLiteral("добавьте тираж кнопкой «%1»").arg(caption(CommandId::DrawsAdd));
  if (commands_.HasHandler(CommandId::DrawsImport))
    ways << QStringLiteral("импортируйте CSV-файл командой «Архив тиражей» → «%1»").arg(caption(CommandId::DrawsImport));
  if (commands_.HasHandler(CommandId::DrawsDownload))
    ways << QStringLiteral("загрузите тиражи с сайта лотереи кнопкой «%1»").arg(caption(CommandId::DrawsDownload));
  QString text = QStringLiteral("Архив тиражей пуст.");
  if (!ways.isEmpty()) {
    QString list = ways.join(QStringLiteral(", "));
    const qsizetype last = list.lastIndexOf(QStringLiteral(", "));
    if (last >= 0) list.replace(last, 2, QStringLiteral(" или "));
    list[0] = list[0].toUpper();
    text += QLatin1Char(' ') + list + QLatin1Char('.');
  }
  return text;
}

void DrawsPage::Refresh() {
  model_->Refresh();
  const int count = static_cast<int>(session_.Draws().size());
  if (count == 0) empty_note_->setText(EmptyNoteText());
  empty_note_->setVisible(count == 0);
  const QSignalBlocker block(offset_);
  offset_->setRange(0, std::max(0, count - 1));
  if (offset_->value() != session_.DrawsOffset()) offset_->setValue(session_.DrawsOffset());
}

std::vector<int> DrawsPage::SelectedRows() const {
  std::vector<int> rows;
  for (const QModelIndex& index : list_->selectionModel()->selectedRows()) rows.push_back(index.row());
  std::sort(rows.begin(), rows.end());
  return rows;
}

int DrawsPage::FirstSelectedRow() const {
  const auto rows = SelectedRows();
  return rows.empty() ? -1 : rows.front();
}

void DrawsPage::ClearSelection() { list_->clearSelection(); }

}  // namespace kelmora::gui
