#pragma once
// The pages "Ставки" (the stakes grid read from the file on demand) and "Рейтинг" (the rating view
// with its header sort). Both offer their menu as context menu; the commands live in the main
// window, which reaches the combination list as well.

#include <cstdint>
#include <utility>
#include <vector>

#include <QWidget>

class QTableView;

namespace kelmora::shell {
class Session;
}

namespace kelmora::gui {

class CommandActions;
class RatingModel;
class StakesModel;

class StakesPage : public QWidget {
  Q_OBJECT
 public:
  StakesPage(QWidget* parent, shell::Session& session, CommandActions& commands);

  // Resizes and repaints the grid; with to_end the current row becomes the last record.
  void Refresh(bool to_end);
  // The selected grid rows as 1-based record rows (first, last); nullopt-like {0, -1} when the
  // selection does not start at a record.
  std::pair<int64_t, int64_t> SelectedRange() const;

  QTableView* Grid() const { return grid_; }
  StakesModel* Model() const { return model_; }

 signals:
  void SelectionChanged();

 private:
  shell::Session& session_;
  CommandActions& commands_;
  QTableView* grid_;
  StakesModel* model_;
};

class RatingPage : public QWidget {
  Q_OBJECT
 public:
  RatingPage(QWidget* parent, shell::Session& session, CommandActions& commands);

  void Refresh();
  std::vector<int> SelectedRows() const;

  QTableView* List() const { return list_; }
  RatingModel* Model() const { return model_; }

 signals:
  void SelectionChanged();

 private:
  shell::Session& session_;
  CommandActions& commands_;
  QTableView* list_;
  RatingModel* model_;
};

}  // namespace kelmora::gui
