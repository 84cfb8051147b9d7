#pragma once
// The page "Статистика": the statistic selector, the window length, the statistics table with its
// header sort and the chart under it. The page registers the commands that act on it.

#include <functional>
#include <vector>

#include <QWidget>

class QChart;
class QChartView;
class QComboBox;
class QSpinBox;
class QSplitter;
class QTableView;

namespace kelmora::shell {
class Session;
class ViewState;
}

namespace kelmora::gui {

class CommandActions;
class QtHost;
class StatsModel;

class StatsPage : public QWidget {
  Q_OBJECT
 public:
  using FileChooser = std::function<QString(const QString& caption, const QString& filter, bool save)>;

  // `choose_file` is called for the spreadsheet export; it must outlive the page.
  StatsPage(QWidget* parent, shell::Session& session, QtHost& host, CommandActions& commands,
            const FileChooser& choose_file);

  // The selector from the Session's selector list, keeping the Session's selected entry.
  void FillSelector();
  // The table was recomputed or resorted: rows, hidden norm columns, sort mark and chart follow.
  void Refresh();
  // Selected table rows, ascending.
  std::vector<int> SelectedRows() const;

  // Column widths and the sort of the table in the view state.
  void RestoreViewState(const shell::ViewState& view);
  void SaveViewState(shell::ViewState& view) const;

  QComboBox* Selector() const { return selector_; }
  QSpinBox* WindowLengthEdit() const { return length_; }
  QTableView* Table() const { return table_; }
  StatsModel* Model() const { return model_; }
  QChartView* ChartView() const { return chart_view_; }

 signals:
  // The table's selection or its keyboard focus changed (command availability and key owners).
  void SelectionChanged();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void RegisterCommands();
  void OnSelectorChanged(int position);
  void CalcIfEnabled();
  void ApplyFilter(bool is_delete);
  void ExportXlsx();
  void ShowNormColumns();

  shell::Session& session_;
  QtHost& host_;
  CommandActions& commands_;
  const FileChooser& choose_file_;
  QComboBox* selector_;
  QSpinBox* length_;
  QSplitter* splitter_;
  QTableView* table_;
  StatsModel* model_;
  QChartView* chart_view_;
  // Column widths follow the content until the user (or the view state) sets them.
  bool user_widths_ = false;
  int own_resize_ = 0;
};

}  // namespace kelmora::gui
