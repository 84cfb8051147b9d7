#pragma once
// The main menu and the context menus as data, in the system's order. Commands of areas that are
// not built are listed too; the menu builder leaves them out.

#include <vector>

#include "gui/command_actions.h"

namespace kelmora::gui {

struct MenuDef {
  const char* Caption;
  std::vector<MenuItem> Items;
};

// "Файл", "Архив тиражей", "Комбинации", "Статистика", "Ставки", "Рейтинг", "Регуляры",
// "Системы" (never shown), "Сценарий", "Вид", "Справка".
const std::vector<MenuDef>& MainMenus();
// The context menu of the draws list (the menu "Архив тиражей"; its default is DrawsInfo).
const std::vector<MenuItem>& DrawsContextMenu();
// The context menus of the statistics table and its chart.
const std::vector<MenuItem>& StatsTableContextMenu();
const std::vector<MenuItem>& StatsChartContextMenu();
// The context menu of the combination list: the menu "Комбинации" and the stake commands.
const std::vector<MenuItem>& CombsContextMenu();
// The context menu of the online catalogue panel.
const std::vector<MenuItem>& LibraryContextMenu();
// The context menu of the systems list: the catalogue commands and system play.
const std::vector<MenuItem>& SystemsContextMenu();

}  // namespace kelmora::gui
