#pragma once
// The page "Комбинации": the command buttons, the count of last draws to exclude, the combination
// list and the history of applied filters under it. The page registers the list's commands.

#include <functional>
#include <vector>

#include <QWidget>

class QPushButton;
class QSpinBox;
class QSplitter;
class QTableView;

namespace kelmora::shell {
class Session;
}

namespace kelmora::gui {

class CombsModel;
class CommandActions;
class FiltersModel;
class QtHost;

class CombsPage : public QWidget {
  Q_OBJECT
 public:
  using FileChooser = std::function<QString(const QString& caption, const QString& filter, bool save)>;

  // `choose_file` serves the file commands; it must outlive the page.
  CombsPage(QWidget* parent, shell::Session& session, QtHost& host, CommandActions& commands,
            const FileChooser& choose_file);

  // The list (and its colours) changed.
  void Refresh();
  // The history of applied filters changed.
  void RefreshHistory();
  std::vector<int> SelectedRows() const;

  QTableView* List() const { return list_; }
  QTableView* History() const { return history_; }
  CombsModel* Model() const { return model_; }
  FiltersModel* HistoryModel() const { return history_model_; }
  QSpinBox* ExcludeEdit() const { return exclude_; }

 signals:
  void SelectionChanged();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void RegisterCommands();
  void Generate();
  void Open();
  void Save();
  void SelectAll();
  void ShowInfo();
  void ExportXlsx();
  void ToggleColors();
  int FirstSelectedRow() const;

  shell::Session& session_;
  QtHost& host_;
  CommandActions& commands_;
  const FileChooser& choose_file_;
  QSpinBox* exclude_;
  QPushButton* exclude_button_;
  QSplitter* splitter_;
  QTableView* list_;
  CombsModel* model_;
  QTableView* history_;
  FiltersModel* history_model_;
};

}  // namespace kelmora::gui
