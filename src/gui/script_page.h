#pragma once
// The page "Сценарий": the command buttons, the script list view and the five-panel script status
// bar. The page registers the script commands; the main window locks its other pages while a
// script runs.

#include <array>
#include <functional>
#include <vector>

#include <QWidget>

class QLabel;
class QTableView;

namespace kelmora::shell {
class Session;
class ViewState;
}

namespace kelmora::gui {

class CommandActions;
class LibraryPanel;
class QtHost;
class ScriptModel;

class ScriptPage : public QWidget {
  Q_OBJECT
 public:
  using FileChooser = std::function<QString(const QString& caption, const QString& filter, bool save)>;
  // Panel 1 the line count, panels 2..5 the runner's cycle, line, stakes and text.
  static constexpr int PanelCount = 5;

  // `choose_file` serves the file commands; it must outlive the page.
  ScriptPage(QWidget* parent, shell::Session& session, QtHost& host, CommandActions& commands,
             const FileChooser& choose_file);

  // The lines changed: the list's rows and "Строк: %d".
  void Refresh();
  // Selected rows in ascending order; the selected row is the first of them (-1 when none).
  std::vector<int> SelectedRows() const;
  int SelectedRow() const;
  // Only this row selected, current and scrolled into view; -1 clears the selection.
  void SelectRow(int row);
  // Panels 2..5 of the script status bar.
  void ShowProgress(const QString& cycle, const QString& line, const QString& stakes, const QString& text);
  // The list's columns (`lvScript`) in the view-state file; widths of the user's own stop the
  // columns from following their texts.
  void RestoreViewState(const shell::ViewState& view);
  void SaveViewState(shell::ViewState& view) const;

  QTableView* List() const { return list_; }
  // The online catalogue panel under the list.
  LibraryPanel* Library() const { return library_; }
  ScriptModel* Model() const { return model_; }
  QLabel* Panel(int index) const { return panels_[static_cast<size_t>(index)]; }

 signals:
  void SelectionChanged();
  // Before "Прогноз" or "Тест" runs (true) and after it ended (false): the window locks its pages.
  void RunLocked(bool locked);

 private:
  void RegisterCommands();
  // The step dialog for a new or a selected line; the edited copy of a clone is appended.
  void AddStep(bool clone);
  void EditStep();
  void AddSeparator();
  void OpenFile(bool append);
  void SaveFile();
  void DeleteRows();
  void Move(bool up);
  // "Прогноз" (tests 0) or "Тест": the window locked around the runner's call.
  void Run(bool test);

  shell::Session& session_;
  QtHost& host_;
  CommandActions& commands_;
  const FileChooser& choose_file_;
  QTableView* list_;
  ScriptModel* model_;
  LibraryPanel* library_ = nullptr;
  std::array<QLabel*, PanelCount> panels_{};
  bool user_widths_ = false;
  int own_resize_ = 0;
};

}  // namespace kelmora::gui
