#include "gui/chart_window.h"

#include <algorithm>
#include <limits>
#include <map>

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QCategoryAxis>
#include <QChart>
#include <QChartView>
#include <QCheckBox>
#include <QLineSeries>
#include <QValueAxis>
#include <QVBoxLayout>

#include "gui/qt_text.h"

namespace kelmora::gui {

namespace {

// Beyond this many points the axis names only some of them, so captions never overlap.
constexpr size_t MaxAxisCaptions = 40;

QColor ColorOf(uint32_t rgb) { return QColor((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF); }

}  // namespace

QChart* BuildChart(const support::ChartData& data) {
  auto* chart = new QChart();
  chart->setTitle(Q(data.Title));
  chart->legend()->setVisible(true);
  chart->legend()->setAlignment(Qt::AlignBottom);
  chart->setMargins(QMargins(4, 4, 4, 4));

  double min_x = std::numeric_limits<double>::max(), max_x = std::numeric_limits<double>::lowest();
  double min_y = std::numeric_limits<double>::max(), max_y = std::numeric_limits<double>::lowest();
  bool any_line = false;
  QBarSeries* bars = nullptr;
  QStringList categories;
  // Line points named by their row caption put that caption under their position.
  std::map<int64_t, QString> captions;
  bool all_captioned = true;
  for (const auto& s : data.Series) {
    for (const auto& p : s.Points) {
      min_x = std::min(min_x, static_cast<double>(p.X));
      max_x = std::max(max_x, static_cast<double>(p.X));
      min_y = std::min(min_y, p.Y);
      max_y = std::max(max_y, p.Y);
      if (!s.Bars) {
        if (p.Label.empty()) all_captioned = false;
        else captions.emplace(p.X, Q(p.Label));
      }
    }
    if (s.Bars) {
      if (!bars) bars = new QBarSeries(chart);
      auto* set = new QBarSet(Q(s.Title));
      if (s.Color) set->setColor(ColorOf(s.Color));
      for (const auto& p : s.Points) {
        set->append(p.Y);
        if (categories.size() < static_cast<qsizetype>(s.Points.size()))
          categories << (p.Label.empty() ? QString::number(p.X) : Q(p.Label));
      }
      bars->append(set);
      bars->setLabelsVisible(s.ShowLabels);
      continue;
    }
    auto* line = new QLineSeries(chart);
    line->setName(Q(s.Title));
    QPen pen = line->pen();
    pen.setWidth(s.LineWidth);
    if (s.Color) pen.setColor(ColorOf(s.Color));
    line->setPen(pen);
    line->setPointsVisible(s.ShowMarkers);
    line->setMarkerSize(3);
    line->setPointLabelsVisible(s.ShowLabels);
    line->setPointLabelsFormat(QStringLiteral("@yPoint"));
    for (const auto& p : s.Points) line->append(static_cast<double>(p.X), p.Y);
    chart->addSeries(line);
    any_line = true;
  }
  // Nothing to draw: no axes either, rather than a scale that means nothing.
  if (min_y > max_y) return chart;
  if (bars) {
    chart->addSeries(bars);
    auto* axis_x = new QBarCategoryAxis(chart);
    axis_x->append(categories);
    chart->addAxis(axis_x, Qt::AlignBottom);
    bars->attachAxis(axis_x);
    min_y = std::min(min_y, 0.0);  // bars are read from their base
  }
  auto* axis_y = new QValueAxis(chart);
  // A little room above and below keeps the extreme markers and their labels whole.
  const double pad = (max_y - min_y) * 0.04;
  const double low = min_y >= 0 ? std::max(0.0, min_y - pad) : min_y - pad;
  const support::AxisRange range = support::NiceAxisRange(low, max_y + pad);
  axis_y->setRange(range.Min, range.Max);
  axis_y->setTickCount(range.Ticks);
  axis_y->setLabelFormat(QStringLiteral("%.%1f").arg(range.Decimals));
  chart->addAxis(axis_y, Qt::AlignLeft);
  if (bars) bars->attachAxis(axis_y);
  if (any_line) {
    if (max_x < min_x) min_x = max_x = 0;
    QAbstractAxis* axis_x = nullptr;
    if (all_captioned && !captions.empty()) {
      // One tick and grid line per point; a crowded axis names every n-th point only.
      auto* axis = new QCategoryAxis(chart);
      axis->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
      const int every = static_cast<int>((captions.size() + MaxAxisCaptions - 1) / MaxAxisCaptions);
      int n = 0;
      for (const auto& [x, caption] : captions)
        if (n++ % every == 0 && !axis->categoriesLabels().contains(caption))
          axis->append(caption, static_cast<double>(x));
      axis_x = axis;
    } else {
      auto* axis = new QValueAxis(chart);
      axis->setLabelFormat(QStringLiteral("%d"));
      axis_x = axis;
    }
    // Half a position of margin on both sides, so the first and last markers are drawn whole.
    axis_x->setRange(min_x - 0.5, max_x + 0.5);
    chart->addAxis(axis_x, Qt::AlignBottom);
    for (auto* series : chart->series()) {
      if (auto* line = qobject_cast<QLineSeries*>(series)) {
        line->attachAxis(axis_x);
        line->attachAxis(axis_y);
      }
    }
  }
  return chart;
}

void SetSwitchableLabelsVisible(QChart* chart, const support::ChartData& data, bool visible) {
  for (auto* series : chart->series()) {
    auto* line = qobject_cast<QLineSeries*>(series);
    if (!line) continue;
    for (const auto& s : data.Series)
      if (s.Switchable && Q(s.Title) == line->name()) line->setPointLabelsVisible(visible);
  }
}

ChartWindow::ChartWindow(QWidget* parent, const support::ChartData& data) : QDialog(parent), data_(data) {
  setWindowTitle(QStringLiteral("График"));
  resize(900, 560);
  auto* layout = new QVBoxLayout(this);
  chart_ = BuildChart(data_);
  auto* view = new QChartView(chart_, this);
  view->setRenderHint(QPainter::Antialiasing);
  layout->addWidget(view);
  labels_ = new QCheckBox(QStringLiteral("Отображать метки на графиках"), this);
  labels_->setChecked(true);
  connect(labels_, &QCheckBox::toggled, this,
          [this](bool on) { SetSwitchableLabelsVisible(chart_, data_, on); });
  layout->addWidget(labels_);
}

}  // namespace kelmora::gui
