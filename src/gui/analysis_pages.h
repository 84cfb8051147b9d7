#pragma once
// The analysis pages "Схема", "Графики", "Карта" and "Неделя" over the Session's ViewsState. Each
// page registers the commands that act on it and refreshes when the Session recomputed its data.

#include <array>
#include <functional>

#include <QWidget>

#include "views/view_filters.h"

class QChartView;
class QCheckBox;
class QComboBox;
class QSpinBox;
class QTableView;
class QTableWidget;

namespace kelmora::shell {
class Session;
}

namespace kelmora::gui {

class CommandActions;
class QtHost;
class ViewGridModel;

using FileChooser = std::function<QString(const QString& caption, const QString& filter, bool save)>;

class LayoutPage : public QWidget {
  Q_OBJECT
 public:
  LayoutPage(QWidget* parent, shell::Session& session, CommandActions& commands, const FileChooser& choose_file);
  void Refresh();
  void Repaint();
  QTableView* Grid() const { return grid_; }
  ViewGridModel* Model() const { return model_; }
  QSpinBox* LengthEdit() const { return length_; }
  QTableWidget* CompareList(int i) const { return lists_[static_cast<size_t>(i)]; }
  QSpinBox* CompareLengthEdit(int i) const { return list_lengths_[static_cast<size_t>(i)]; }
  views::TCellRect Selection() const;

 signals:
  void SelectionChanged();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void FitColumns();
  shell::Session& session_;
  CommandActions& commands_;
  const FileChooser& choose_file_;
  QSpinBox* length_;
  QTableView* grid_;
  ViewGridModel* model_;
  std::array<QSpinBox*, 5> list_lengths_{};
  std::array<QTableWidget*, 5> lists_{};
};

class GraphsPage : public QWidget {
  Q_OBJECT
 public:
  GraphsPage(QWidget* parent, shell::Session& session, CommandActions& commands);
  // The chooser from the Session's graph selector list.
  void FillSelector();
  void Refresh();
  QComboBox* Selector() const { return selector_; }
  QSpinBox* LengthEdit() const { return length_; }
  QCheckBox* LabelsBox() const { return labels_; }
  QChartView* ChartView() const { return chart_view_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void CalcIfEnabled();
  shell::Session& session_;
  CommandActions& commands_;
  QComboBox* selector_;
  QSpinBox* length_;
  QCheckBox* labels_;
  QChartView* chart_view_;
};

class CardPage : public QWidget {
  Q_OBJECT
 public:
  CardPage(QWidget* parent, shell::Session& session, CommandActions& commands, const FileChooser& choose_file);
  void Refresh();
  void Repaint();
  QTableView* Grid() const { return grid_; }
  ViewGridModel* Model() const { return model_; }
  views::TCellRect Selection() const;

 signals:
  void SelectionChanged();

 private:
  shell::Session& session_;
  CommandActions& commands_;
  const FileChooser& choose_file_;
  QTableView* grid_;
  ViewGridModel* model_;
};

class WeekPage : public QWidget {
  Q_OBJECT
 public:
  WeekPage(QWidget* parent, shell::Session& session, CommandActions& commands);
  void Refresh();
  // The chart for the focused cell, in the mode and type of the view state.
  void RedrawChart();
  QTableView* Grid() const { return grid_; }
  ViewGridModel* Model() const { return model_; }
  QSpinBox* LengthEdit() const { return length_; }
  QChartView* ChartView() const { return chart_view_; }

 signals:
  void SelectionChanged();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  shell::Session& session_;
  CommandActions& commands_;
  QSpinBox* length_;
  QTableView* grid_;
  ViewGridModel* model_;
  QChartView* chart_view_;
};

}  // namespace kelmora::gui
