#include "gui/command_actions.h"

#include <set>
#include <string>
#include <string_view>

#include <QAction>
#include <QKeySequence>
#include <QList>
#include <QMenu>
#include <QTimer>
#include <QWidget>

#include "gui/qt_text.h"

namespace kelmora::gui {

namespace {

// The command table names keys as the keyboard shows them; Qt calls the main Enter key "Return"
// and keeps "Enter" for the keypad's: both work, and the menus show the table's name.
QList<QKeySequence> KeySequences(const std::string& key) {
  QList<QKeySequence> keys{QKeySequence(QString::fromLatin1(key.c_str()))};
  const std::string_view enter = "Enter";
  if (key.size() >= enter.size() && key.compare(key.size() - enter.size(), enter.size(), enter) == 0) {
    std::string main_key = key.substr(0, key.size() - enter.size());
    main_key += "Return";
    keys.append(QKeySequence(QString::fromLatin1(main_key.c_str())));
  }
  return keys;
}

}  // namespace

CommandActions::CommandActions(QWidget* owner, StateProvider state) : QObject(owner), owner_(owner), state_(std::move(state)) {
  // Every command gets its action, so none is hidden; one whose area this build lacks says so
  // when run (Run).
  for (const auto& c : shell::Commands()) {
    auto* action = new QAction(Tr(c.Caption), owner_);
    action->setObjectName(QString::fromLatin1(c.Name));
    action->setStatusTip(Tr(std::string(shell::CommandHint(c.Id)).c_str()));
    action->setCheckable(c.Checked != nullptr);
    action->setShortcutContext(Qt::WindowShortcut);
    const shell::CommandId id = c.Id;
    connect(action, &QAction::triggered, this, [this, id] { Run(id); });
    owner_->addAction(action);
    actions_[id] = action;
  }
}

void CommandActions::SetHandler(shell::CommandId id, Handler handler) { handlers_[id] = std::move(handler); }

QAction* CommandActions::Action(shell::CommandId id) const {
  auto it = actions_.find(id);
  return it == actions_.end() ? nullptr : it->second;
}

std::vector<QAction*> CommandActions::Actions() const {
  std::vector<QAction*> out;
  for (const auto& [id, action] : actions_) out.push_back(action);
  return out;
}

void CommandActions::Update() {
  update_pending_ = false;
  const shell::TCommandState state = state_();
  std::set<std::string> keys;
  for (const auto& [id, action] : actions_) {
    const bool enabled = shell::CommandEnabled(id, state);
    action->setEnabled(enabled);
    // A disabled link tells why in its hint; the hint returns once the address is set.
    const std::string reason = enabled ? std::string() : shell::CommandDisabledReason(id, state);
    const QString tip = reason.empty() ? Tr(std::string(shell::CommandHint(id)).c_str()) : Q(reason);
    if (action->statusTip() != tip) {
      action->setStatusTip(tip);
      action->setToolTip(reason.empty() ? action->text().remove(QLatin1Char('&')) : tip);
    }
    if (action->isCheckable()) action->setChecked(shell::CommandChecked(id, state));
    const std::string key = shell::Command(id).Shortcut;
    if (!key.empty()) keys.insert(key);
  }
  // A shared key belongs to the first enabled command in id order; while none is enabled the
  // first shown one keeps it for display.
  for (const auto& key : keys) {
    const auto owner = shell::ResolveShortcut(key, state);
    bool assigned = false;
    for (const auto& [id, action] : actions_) {
      if (shell::Command(id).Shortcut != key) continue;
      const bool take = owner ? *owner == id : !assigned;
      action->setShortcuts(take ? KeySequences(key) : QList<QKeySequence>());
      assigned = assigned || take;
    }
  }
}

void CommandActions::ScheduleUpdate() {
  if (update_pending_) return;
  update_pending_ = true;
  QTimer::singleShot(0, this, [this] {
    if (update_pending_) Update();
  });
}

bool CommandActions::Run(shell::CommandId id) {
  if (!shell::CommandEnabled(id, state_())) return false;
  auto handler = handlers_.find(id);
  if (handler == handlers_.end() || !shell::CommandShown(id)) {
    if (missing_) missing_(id);
    return true;
  }
  handler->second();
  Update();
  emit CommandFinished();
  return true;
}

bool CommandActions::FillMenu(QMenu* menu, std::span<const MenuItem> items) {
  bool any = false;
  bool separator_due = false;
  for (size_t i = 0; i < items.size(); ++i) {
    const MenuItem& item = items[i];
    switch (item.Type) {
      case MenuItem::Separator:
        separator_due = any;
        break;
      case MenuItem::Command:
        if (QAction* action = Action(item.Id)) {
          if (item.Caption) action->setText(Tr(item.Caption));
          if (separator_due) menu->addSeparator();
          separator_due = false;
          menu->addAction(action);
          any = true;
        }
        break;
      case MenuItem::SubBegin: {
        size_t end = i + 1;
        for (int depth = 1; end < items.size(); ++end) {
          if (items[end].Type == MenuItem::SubBegin) ++depth;
          if (items[end].Type == MenuItem::SubEnd && --depth == 0) break;
        }
        auto* sub = new QMenu(Tr(item.Caption), menu);
        sub->setToolTipsVisible(true);
        if (FillMenu(sub, items.subspan(i + 1, end - i - 1))) {
          if (separator_due) menu->addSeparator();
          separator_due = false;
          menu->addMenu(sub);
          any = true;
        } else {
          delete sub;
        }
        i = end;
        break;
      }
      case MenuItem::SubEnd:
        break;
    }
  }
  return any;
}

}  // namespace kelmora::gui
