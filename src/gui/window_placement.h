#pragma once
// Window placement and list columns kept in the view-state file.

#include <string_view>

class QHeaderView;
class QWidget;

namespace kelmora::shell {
class ViewState;
}

namespace kelmora::gui {

// Writes the window's normal rectangle, show state and resolution into its section.
void SaveWindowPlacement(shell::ViewState& view, std::string_view section, const QWidget& window);
// Applies the stored placement when it may be (see ViewState::RestorePlacement); returns whether the
// window is to be shown maximized.
bool RestoreWindowPlacement(const shell::ViewState& view, std::string_view section, QWidget& window);

void SaveColumns(shell::ViewState& view, std::string_view section, std::string_view list, const QHeaderView& header);
void RestoreColumns(const shell::ViewState& view, std::string_view section, std::string_view list, QHeaderView& header);

}  // namespace kelmora::gui
