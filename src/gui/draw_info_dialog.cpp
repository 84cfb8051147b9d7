#include "gui/draw_info_dialog.h"

#include <algorithm>

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>

#include "gui/qt_text.h"
#include "gui/table_sizing.h"
#include "lottery/comb_ops.h"
#include "lottery/comb_text.h"
#include "lottery/draws.h"
#include "shell/session.h"

namespace kelmora::gui {

DrawInfoDialog::DrawInfoDialog(QWidget* parent, shell::Session& session, int row) : QDialog(parent) {
  Build(session, lottery::CombOfDrawAtRow(session.Draws(), row), session.DrawDetailRows(row));
}

DrawInfoDialog::DrawInfoDialog(QWidget* parent, shell::Session& session, lottery::TComb comb) : QDialog(parent) {
  Build(session, comb, session.CombDetailRows(comb));
}

void DrawInfoDialog::Build(shell::Session& session, lottery::TComb values,
                           const std::vector<std::pair<std::string, std::string>>& rows) {
  setWindowTitle(QStringLiteral("Подробная информация"));
  auto* layout = new QHBoxLayout(this);

  const auto& config = session.Settings().Config;
  auto* left = new QVBoxLayout();
  auto* cols_row = new QHBoxLayout();
  auto* cols = new QSpinBox(this);
  cols->setRange(1, 8);
  cols->setValue(config.MatrixCols);
  cols->setEnabled(false);
  cols_row->addWidget(new QLabel(QStringLiteral("Количество столбцов:"), this));
  cols_row->addWidget(cols);
  left->addLayout(cols_row);

  card_ = new QTableWidget(lottery::ValueCount, config.MatrixCols, this);
  card_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  // Rows are the card values, columns the suits (columns past the fourth are numbered).
  QStringList value_labels, position_labels;
  for (int v = lottery::ValueMin; v <= lottery::ValueMax; ++v) value_labels << Q(lottery::ValueToText(v));
  for (int c = 0; c < config.MatrixCols; ++c)
    position_labels << (c < lottery::PositionCount ? QString::fromLatin1(lottery::PositionCaptions[c])
                                                   : QString::number(c + 1));
  card_->setVerticalHeaderLabels(value_labels);
  card_->setHorizontalHeaderLabels(position_labels);
  card_->horizontalHeader()->setDefaultSectionSize(32);
  card_->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  card_->verticalHeader()->setDefaultAlignment(Qt::AlignCenter);
  card_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  card_->setSelectionMode(QAbstractItemView::NoSelection);
  card_->setFocusPolicy(Qt::NoFocus);
  card_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  card_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  for (int r = 0; r < lottery::ValueCount; ++r) {
    const int v = lottery::ValueMin + r;
    const uint32_t rgb = lottery::ChannelColor(v, config.ChannelSize);
    for (int c = 0; c < config.MatrixCols; ++c) {
      auto* item = new QTableWidgetItem();
      item->setTextAlignment(Qt::AlignCenter);
      item->setBackground(QColor((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF));
      if (c < lottery::PositionCount && values != 0 && lottery::CombValue(values, c) == v)
        item->setText(Q(lottery::ValueToText(v)));
      card_->setItem(r, c, item);
    }
  }
  FitColumnsToHeader(*card_->horizontalHeader());
  card_->setFixedSize(WidthForAllColumns(*card_, false),
                      card_->horizontalHeader()->sizeHint().height() + card_->verticalHeader()->length() +
                          2 * card_->frameWidth());
  left->addWidget(card_);
  left->addStretch(1);
  layout->addLayout(left);

  properties_ = new QTableWidget(static_cast<int>(rows.size()), 2, this);
  properties_->setHorizontalHeaderLabels({QStringLiteral("Свойство"), QStringLiteral("Значение")});
  properties_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  properties_->verticalHeader()->setVisible(false);
  properties_->verticalHeader()->setDefaultSectionSize(22);
  for (int i = 0; i < static_cast<int>(rows.size()); ++i) {
    properties_->setItem(i, 0, new QTableWidgetItem(Q(rows[i].first)));
    properties_->setItem(i, 1, new QTableWidgetItem(Q(rows[i].second)));
  }
  FitColumns(*properties_, 60, 520);
  properties_->horizontalHeader()->setStretchLastSection(true);
  // Wide enough for every name and value; long lists scroll down, never sideways.
  properties_->setMinimumWidth(WidthForAllColumns(*properties_, true));
  const int shown_rows = std::min<int>(static_cast<int>(rows.size()), 24);
  properties_->setMinimumHeight(properties_->horizontalHeader()->sizeHint().height() +
                                properties_->verticalHeader()->defaultSectionSize() * shown_rows +
                                2 * properties_->frameWidth());
  auto* right = new QVBoxLayout();
  right->addWidget(properties_);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
  buttons->button(QDialogButtonBox::Close)->setText(QStringLiteral("Закрыть"));
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  right->addWidget(buttons);
  layout->addLayout(right, 1);
  adjustSize();
}

}  // namespace kelmora::gui
