#pragma once
// The page "Архив тиражей": the command buttons, the offset editor and the draws list.

#include <vector>

#include <QWidget>

class QLabel;
class QSpinBox;
class QTableView;

namespace kelmora::shell {
class Session;
}

namespace kelmora::gui {

class CommandActions;
class DrawsModel;

class DrawsPage : public QWidget {
  Q_OBJECT
 public:
  DrawsPage(QWidget* parent, shell::Session& session, CommandActions& commands);

  // The archive, the offset or the colours changed: list, offset range and value follow.
  void Refresh();
  // Selected list rows, ascending.
  std::vector<int> SelectedRows() const;
  int FirstSelectedRow() const;
  void ClearSelection();

  QTableView* List() const { return list_; }
  QSpinBox* OffsetEdit() const { return offset_; }
  // The line that tells how to fill an empty archive; hidden while there are draws.
  QLabel* EmptyNote() const { return empty_note_; }
  DrawsModel* Model() const { return model_; }

 signals:
  void SelectionChanged();

 private:
  QString EmptyNoteText() const;

  shell::Session& session_;
  CommandActions& commands_;
  DrawsModel* model_;
  QTableView* list_;
  QSpinBox* offset_;
  QLabel* empty_note_;
};

}  // namespace kelmora::gui
