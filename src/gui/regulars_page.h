#pragma once
// The page "Регуляры": the regular table stakes (lvTables), rows read from the Session on demand,
// several selectable; its menu is the context menu.

#include <vector>

#include <QWidget>

class QTableView;

namespace kelmora::shell {
class Session;
}

namespace kelmora::gui {

class CellsModel;
class CommandActions;

class RegularsPage : public QWidget {
  Q_OBJECT
 public:
  RegularsPage(QWidget* parent, shell::Session& session, CommandActions& commands);

  void Refresh();
  // Selected rows, ascending.
  std::vector<int> SelectedRows() const;
  QTableView* List() const { return list_; }

 signals:
  void SelectionChanged();

 private:
  shell::Session& session_;
  CommandActions& commands_;
  QTableView* list_;
  CellsModel* model_;
};

}  // namespace kelmora::gui
