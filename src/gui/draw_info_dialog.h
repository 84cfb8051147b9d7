#pragma once
// The draw details dialog "Подробная информация": the card grid of the draw and its properties.

#include <string>
#include <utility>
#include <vector>

#include <QDialog>

#include "lottery/types.h"

class QTableWidget;

namespace kelmora::shell {
class Session;
}

namespace kelmora::gui {

class DrawInfoDialog : public QDialog {
  Q_OBJECT
 public:
  // For the draw at the list row (newest first).
  DrawInfoDialog(QWidget* parent, shell::Session& session, int row);
  // For a combination of the list: the card and the graph-statistic rows, without number and date.
  DrawInfoDialog(QWidget* parent, shell::Session& session, lottery::TComb comb);

  QTableWidget* Card() const { return card_; }
  QTableWidget* Properties() const { return properties_; }

 private:
  void Build(shell::Session& session, lottery::TComb values,
             const std::vector<std::pair<std::string, std::string>>& rows);

  QTableWidget* card_;
  QTableWidget* properties_;
};

}  // namespace kelmora::gui
