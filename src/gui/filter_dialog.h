#pragma once
// The filter editor "Фильтр": one filter recipe with its statistic, draws, sort column, direction,
// keep or delete, selection mode and values, weight coefficients and stop mode.

#include <optional>
#include <string>
#include <vector>

#include <QDialog>

#include "filtering/filter_check.h"
#include "filtering/filter_text.h"

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QLineEdit;
class QSpinBox;

namespace kelmora::shell {
class Session;
}

namespace kelmora::gui {

using filtering::CheckFilterInput;
using filtering::TFilterRefusal;

class FilterDialog : public QDialog {
  Q_OBJECT
 public:
  // Starts from the statistics page's current statistic and window, then from the item when it is
  // active. The item is changed only by Result after the dialog was accepted.
  FilterDialog(QWidget* parent, shell::Session& session, const filtering::TFilterItem& item);

  // The item as the fields say (Active set, StatText kept from the item given).
  filtering::TFilterItem Result() const;
  // The refusal shown by the last OK, if any.
  const std::optional<TFilterRefusal>& LastRefusal() const { return refusal_; }

  void accept() override;

  QComboBox* StatBox() const { return stat_; }
  QLineEdit* DrawsLenEdit() const { return draws_len_; }
  QComboBox* LevelModeBox() const { return level_mode_; }
  QLineEdit* LevelValueEdit() const { return level_value_; }
  QCheckBox* MultiSelectBox() const { return multi_; }
  QComboBox* StopModeBox() const { return stop_mode_; }
  QCheckBox* OverrideBox() const { return override_; }
  QDoubleSpinBox* CountCoef() const { return coef_[0]; }
  QCheckBox* PercentsBox() const { return percents_; }
  QCheckBox* AbsBox() const { return abs_; }

 protected:
  void changeEvent(QEvent* event) override;

 private:
  void UpdateEnabled();
  QWidget* FieldNamed(const std::string& name) const;

  shell::Session& session_;
  filtering::TFilterItem item_;
  std::vector<int> entries_;  // registry entry of each statistic in the box
  QComboBox* stat_;
  QLineEdit* draws_len_;
  QComboBox* sort_;
  QComboBox* direction_;
  QComboBox* filter_mode_;
  QCheckBox* multi_;
  QComboBox* level_mode_;
  QLineEdit* level_value_;
  QCheckBox* override_;
  QDoubleSpinBox* coef_[3];
  QCheckBox* percents_;
  QCheckBox* abs_;
  QComboBox* stop_mode_;
  QSpinBox* stop_value_;
  std::optional<TFilterRefusal> refusal_;
};

}  // namespace kelmora::gui
