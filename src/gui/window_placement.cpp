#include "gui/window_placement.h"

#include <QGuiApplication>
#include <QHeaderView>
#include <QScreen>
#include <QWidget>

#include "shell/view_state.h"

namespace kelmora::gui {

namespace {

QScreen* ScreenOf(const QWidget& window) {
  QScreen* screen = window.screen();
  return screen ? screen : QGuiApplication::primaryScreen();
}

}  // namespace

void SaveWindowPlacement(shell::ViewState& view, std::string_view section, const QWidget& window) {
  const QScreen* screen = ScreenOf(window);
  shell::TWindowPlacement p;
  const QRect r = window.isMaximized() || window.isMinimized() ? window.normalGeometry() : window.geometry();
  p.NormPos = {r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
  p.ShowCmd = window.isMaximized() ? 3 : window.isMinimized() ? 2 : 1;
  p.PixelsPerInch = screen ? static_cast<int32_t>(screen->logicalDotsPerInch()) : 96;
  const QSize size = screen ? screen->size() : QSize(0, 0);
  view.SavePlacement(section, p, size.width(), size.height());
}

bool RestoreWindowPlacement(const shell::ViewState& view, std::string_view section, QWidget& window) {
  const QScreen* screen = ScreenOf(window);
  if (!screen) return false;
  const QRect r = window.geometry();
  const auto placement = view.RestorePlacement(section, screen->size().width(), screen->size().height(),
                                               static_cast<int>(screen->logicalDotsPerInch()),
                                               {r.left(), r.top(), r.left() + r.width(), r.top() + r.height()});
  if (!placement) return false;
  const auto& n = placement->NormPos;
  window.setGeometry(QRect(n[0], n[1], n[2] - n[0], n[3] - n[1]));
  return placement->ShowCmd == 3;
}

void SaveColumns(shell::ViewState& view, std::string_view section, std::string_view list, const QHeaderView& header) {
  shell::TListColumns columns;
  for (int i = 0; i < header.count(); ++i) columns.Widths.push_back(header.sectionSize(i));
  view.SaveColumns(section, list, columns);
}

void RestoreColumns(const shell::ViewState& view, std::string_view section, std::string_view list, QHeaderView& header) {
  std::vector<int32_t> defaults;
  for (int i = 0; i < header.count(); ++i) defaults.push_back(header.sectionSize(i));
  const auto columns = view.RestoreColumns(section, list, header.count(), defaults);
  for (int i = 0; i < static_cast<int>(columns.Widths.size()); ++i)
    if (columns.Widths[i] > 0) header.resizeSection(i, columns.Widths[i]);
}

}  // namespace kelmora::gui
