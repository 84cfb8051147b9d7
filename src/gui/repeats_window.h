#pragma once
// The window "Количество повторов в зависимости от тиража": its two lengths, "Рассчитать", the
// list of draws with positional repeats and their chart. It keeps its placement, list columns,
// chart height and lengths in its own view-state section.

#include <QDialog>

#include "views/repeats.h"

class QChartView;
class QSpinBox;
class QSplitter;
class QTableWidget;

namespace kelmora::shell {
class Session;
}

namespace kelmora::gui {

class RepeatsWindow : public QDialog {
  Q_OBJECT
 public:
  // Computes at once with the stored lengths.
  RepeatsWindow(QWidget* parent, shell::Session& session);
  ~RepeatsWindow() override;

  void Calculate();
  QSpinBox* LengthEdit() const { return length_; }
  QSpinBox* DeepEdit() const { return deep_; }
  QTableWidget* List() const { return list_; }
  QChartView* ChartView() const { return chart_view_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  shell::Session& session_;
  QSpinBox* length_;
  QSpinBox* deep_;
  QTableWidget* list_;
  QSplitter* splitter_;
  QChartView* chart_view_;
};

}  // namespace kelmora::gui
