#pragma once
// The chart window "График": a chart built from support::ChartData, with the check box that shows
// or hides the value labels of the switchable series. Only gui/chart_* knows Qt Charts.

#include <QDialog>

#include "support/chart_data.h"

class QChart;
class QCheckBox;

namespace kelmora::gui {

// A Qt chart of the data: one line (or bar) series per data series; owned by the caller.
QChart* BuildChart(const support::ChartData& data);
// Shows or hides the point labels of the series built from switchable data series.
void SetSwitchableLabelsVisible(QChart* chart, const support::ChartData& data, bool visible);

class ChartWindow : public QDialog {
  Q_OBJECT
 public:
  ChartWindow(QWidget* parent, const support::ChartData& data);
  QChart* Chart() const { return chart_; }
  QCheckBox* LabelsBox() const { return labels_; }

 private:
  support::ChartData data_;
  QChart* chart_;
  QCheckBox* labels_;
};

}  // namespace kelmora::gui
