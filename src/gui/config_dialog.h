#pragma once
// The dialogs that edit the configuration file directly: "Параметры системы" (analysis settings)
// and "Методы шинковки" (shredding formulas). They edit copies; the caller hands the result to the
// Session.

#include <array>

#include <QDialog>

#include "lottery/types.h"

class QCheckBox;
class QLineEdit;
class QSpinBox;
class QTableWidget;
class QTableWidgetItem;

namespace kelmora::shell {
class Host;
}

namespace kelmora::gui {

class ConfigDialog : public QDialog {
  Q_OBJECT
 public:
  ConfigDialog(QWidget* parent, shell::Host& host, const lottery::TConfigData& config, char decimal_separator);

  // The edited settings: five profit rows with keys 0..4, segments read back column by column.
  lottery::TConfigData Result() const;

  QSpinBox* ChannelSizeEdit() const { return channel_; }
  QLineEdit* CostEdit() const { return cost_; }
  QTableWidget* ProfitTable() const { return profits_; }
  QTableWidget* SegmentGrid() const { return segments_; }

 private:
  void CheckSegmentCell(QTableWidgetItem* item);

  shell::Host& host_;
  lottery::TConfigData original_;
  char separator_;
  QSpinBox* matrix_cols_;
  QSpinBox* channel_;
  QLineEdit* cost_;
  std::array<QLineEdit*, 3> cdl_{};
  QCheckBox* use_percents_;
  QCheckBox* use_abs_;
  QTableWidget* profits_;
  QTableWidget* segments_;
  bool checking_ = false;
};

class ShreddingDialog : public QDialog {
  Q_OBJECT
 public:
  ShreddingDialog(QWidget* parent, const lottery::TShreddingData& shredding);
  lottery::TShreddingData Result() const;

  QLineEdit* FormulaEdit(int i) const { return formulas_[i]; }
  QSpinBox* DigitsEdit(int i) const { return digits_[i]; }

 private:
  std::array<QLineEdit*, 3> formulas_{};
  std::array<QSpinBox*, 3> digits_{};
};

}  // namespace kelmora::gui
