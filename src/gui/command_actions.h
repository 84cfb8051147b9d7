#pragma once
// The command table as Qt actions: one QAction per command, its handler, and the one place
// where availability, check marks and shortcut owners are recomputed.

#include <functional>
#include <map>
#include <span>
#include <vector>

#include <QObject>

#include "shell/commands.h"

class QAction;
class QMenu;
class QWidget;

namespace kelmora::gui {

// A menu as data: commands, separators and submenus.
struct MenuItem {
  enum Kind { Command, Separator, SubBegin, SubEnd };
  Kind Type = Command;
  shell::CommandId Id = shell::CommandId::Count;
  const char* Caption = nullptr;  // submenu caption; for a command, the caption it shows there
};

class CommandActions : public QObject {
  Q_OBJECT
 public:
  using Handler = std::function<void()>;
  using StateProvider = std::function<shell::TCommandState()>;

  // Creates the actions of the shown commands and adds them to the owner, so keys work anywhere
  // in it.
  CommandActions(QWidget* owner, StateProvider state);

  void SetHandler(shell::CommandId id, Handler handler);
  // What runs for an enabled command that has no handler in this build (its area is missing):
  // the window says so in one message.
  void SetMissingHandler(std::function<void(shell::CommandId)> handler) { missing_ = std::move(handler); }
  bool HasHandler(shell::CommandId id) const { return handlers_.count(id) != 0; }
  // nullptr only for an id outside the table.
  QAction* Action(shell::CommandId id) const;
  // Every action, in id order.
  std::vector<QAction*> Actions() const;

  // Recomputes enabled, checked and the shortcut owners from the state now.
  void Update();
  // Recomputes once the pending events have run.
  void ScheduleUpdate();
  // Runs the command when its rule allows it now; returns whether it ran.
  bool Run(shell::CommandId id);

  // Adds the shown items to the menu; empty submenus and doubled separators are left out.
  // Returns whether anything was added.
  bool FillMenu(QMenu* menu, std::span<const MenuItem> items);

 signals:
  void CommandFinished();

 private:
  QWidget* owner_;
  StateProvider state_;
  std::map<shell::CommandId, QAction*> actions_;
  std::map<shell::CommandId, Handler> handlers_;
  std::function<void(shell::CommandId)> missing_;
  bool update_pending_ = false;
};

}  // namespace kelmora::gui
