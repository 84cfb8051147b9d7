#pragma once
// The main menu and the context menus as data, in the system's order.

#include <string>
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

// The places of the window outside the main menu that offer commands: page button rows and
// context menus, each with the caption the command table names it by. The pages build their rows
// and menus from these lists.
enum class Place {
  DrawsButtons, DrawsMenu, CombsButtons, CombsMenu, StatsButtons, StatsTableMenu, StatsChartMenu,
  GraphsButtons, CardButtons, CardMenu, LayoutButtons, LayoutListsButtons, LayoutMenu, WeekButtons,
  WeekMenu, StakesMenu, RatingMenu, TablesMenu, SystemsMenu, ScriptButtons, ScriptMenu, LibraryButtons,
  LibraryMenu, Count
};
struct PlaceDef {
  Place Id;
  const char* Caption;  // "Страница \"Карта\": кнопки"
  std::vector<MenuItem> Items;
};
const std::vector<PlaceDef>& Places();
const std::vector<MenuItem>& PlaceItems(Place place);

// Where a command is reached: its main-menu paths ("Сценарий > Online-каталог сценариев >
// Оценить"), else the pages and context menus that offer it; "; " between several.
std::string CommandMenuPath(shell::CommandId id);
// The caption of a command area as the command table groups it ("Файл", ..., "Страницы").
const char* CommandAreaCaption(shell::CommandArea area);
// The whole command table as TSV: a header line ("Команда", "Заголовок", "Клавиши", "Категория",
// "Меню") and one line per command in the table's order.
std::string CommandTableTsv();

}  // namespace kelmora::gui
