#pragma once
// "Менеджер избранных методов расчета статистики": the tree of groups and methods with their marks
// and captions, the group and all commands, renaming, descriptions, name import and export, and the
// three display options. The dialog edits a stats::TFavoritesTree; confirming it is the caller's
// business (StatsState::FiltersManager).

#include <functional>
#include <optional>

#include <QDialog>

#include "shell/session.h"
#include "stats/favorites_tree.h"

class QAction;
class QCheckBox;
class QLabel;
class QTreeWidget;
class QTreeWidgetItem;

namespace kelmora::gui {

class FiltersManagerDialog : public QDialog {
  Q_OBJECT
 public:
  enum ActionId { CheckNone, CheckAll, GroupNone, GroupAll, Rename, ResetName, Info, NamesImport, NamesExport, ActionCount };

  FiltersManagerDialog(QWidget* parent, shell::Session& session);

  // The tree as the user left it, with the three options.
  stats::TFavoritesTree Tree() const;

  // Asks for a new caption (title "Переименование"); nullopt when cancelled. Tests replace it.
  std::function<std::optional<QString>(const QString& current)> AskName;
  // Chooses a name file to read (save false) or write; empty when cancelled. Tests replace it.
  std::function<QString(bool save)> ChooseFile;
  // Shows the description of a registry entry.
  std::function<void(int entry)> ShowDescription;

  QTreeWidget* TreeView() const { return tree_view_; }
  QAction* Action(ActionId id) const { return actions_[id]; }
  QLabel* Counter() const { return counter_; }
  QCheckBox* OrderedBox() const { return ordered_; }
  QCheckBox* GroupNameBox() const { return group_name_; }
  QCheckBox* MethodFlagsBox() const { return method_flags_; }
  // Selects the method with the code (the first entry when code is empty).
  bool SelectMethod(std::string_view code);

 private:
  QAction* AddAction(ActionId id, const char* caption, const char* hint, void (FiltersManagerDialog::*run)());
  // The tree widget from tree_; the selection returns to the same position when it exists.
  void FillTree();
  void UpdateActions();
  // Group and method position of the selected entry (method -1 for a group entry).
  std::pair<int, int> Selected() const;
  void Toggle(QTreeWidgetItem* item);

  void DoCheckNone();
  void DoCheckAll();
  void DoGroupNone();
  void DoGroupAll();
  void DoRename();
  void DoResetName();
  void DoInfo();
  void DoImport();
  void DoExport();

  shell::Session& session_;
  stats::TFavoritesTree tree_;
  QTreeWidget* tree_view_;
  QLabel* counter_;
  QCheckBox* ordered_;
  QCheckBox* group_name_;
  QCheckBox* method_flags_;
  QAction* actions_[ActionCount] = {};
};

}  // namespace kelmora::gui
