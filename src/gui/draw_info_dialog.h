#pragma once
// The draw details dialog "Подробная информация": the card grid of the draw and its properties.

#include <QDialog>

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

  QTableWidget* Card() const { return card_; }
  QTableWidget* Properties() const { return properties_; }

 private:
  QTableWidget* card_;
  QTableWidget* properties_;
};

}  // namespace kelmora::gui
