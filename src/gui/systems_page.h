#pragma once
// The systems page: the catalogue list of the Session's systems component with icons for
// downloaded and own systems; its commands are the context menu, a double click shows the
// properties.

#include <vector>

#include <QWidget>

class QTableView;

namespace kelmora::shell {
class Session;
}

namespace kelmora::gui {

class CellsModel;
class CommandActions;

class SystemsPage : public QWidget {
  Q_OBJECT
 public:
  SystemsPage(QWidget* parent, shell::Session& session, CommandActions& commands);

  void Refresh();
  std::vector<int> SelectedRows() const;
  // The focused row, -1 when none.
  int CurrentRow() const;
  void SelectRow(int row);
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
