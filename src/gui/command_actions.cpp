#include "gui/command_actions.h"

#include <set>

#include <QAction>
#include <QMenu>
#include <QTimer>
#include <QWidget>

#include "gui/qt_text.h"

namespace kelmora::gui {

CommandActions::CommandActions(QWidget* owner, StateProvider state) : QObject(owner), owner_(owner), state_(std::move(state)) {
  for (const auto& c : shell::Commands()) {
    if (!shell::CommandShown(c.Id)) continue;
    auto* action = new QAction(Q(c.Caption), owner_);
    action->setObjectName(QString::fromLatin1(c.Name));
    action->setStatusTip(Q(shell::CommandHint(c.Id)));
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
    const bool enabled = handlers_.count(id) != 0 && shell::CommandEnabled(id, state);
    action->setEnabled(enabled);
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
      action->setShortcut(take ? QKeySequence(QString::fromLatin1(key.c_str())) : QKeySequence());
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
  auto handler = handlers_.find(id);
  if (handler == handlers_.end() || !shell::CommandEnabled(id, state_())) return false;
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
        if (QAction* action = Action(item.Id); action && HasHandler(item.Id)) {
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
        auto* sub = new QMenu(Q(item.Caption), menu);
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
