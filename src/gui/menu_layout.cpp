#include "gui/menu_layout.h"

#include <algorithm>

namespace kelmora::gui {

namespace {

using C = shell::CommandId;

MenuItem Cmd(C id) { return {MenuItem::Command, id, nullptr}; }
// A command shown under another caption in this menu.
MenuItem Cmd(C id, const char* caption) { return {MenuItem::Command, id, caption}; }
MenuItem Sep() { return {MenuItem::Separator, C::Count, nullptr}; }
MenuItem Sub(const char* caption) { return {MenuItem::SubBegin, C::Count, caption}; }
MenuItem End() { return {MenuItem::SubEnd, C::Count, nullptr}; }

std::vector<MenuItem> DrawsMenu() {
  return {Cmd(C::DrawsInfo), Sep(), Cmd(C::DrawsDownload), Sub("Автозагрузка при запуске программы"),
          Cmd(C::AutoDownload0), Cmd(C::AutoDownload1), Cmd(C::AutoDownload2), End(), Sep(),
          Cmd(C::DrawsImport), Cmd(C::DrawsExport), Cmd(C::DrawsXlsExport), Sep(), Cmd(C::DrawsAdd),
          Cmd(C::DrawsEdit), Cmd(C::DrawsDel), Sep(), Cmd(C::DrawsSorted)};
}

std::vector<MenuItem> CombsMenu() {
  return {Cmd(C::CombsInfo), Cmd(C::CombsCheckNums), Cmd(C::CombsFindInDraws), Sep(), Cmd(C::CombsGen),
          Cmd(C::CombsDelExists), Cmd(C::CombsDelSelected), Sep(), Cmd(C::CombsCopy), Cmd(C::CombsPaste),
          Cmd(C::CombsSelectAll), Sep(), Cmd(C::CombsOpen), Cmd(C::CombsSave), Cmd(C::CombsUndo), Sep(),
          Cmd(C::CombsXlsExport)};
}

std::vector<MenuDef> BuildMainMenus() {
  std::vector<MenuDef> menus;
  menus.push_back({"Файл", {Cmd(C::EditConfig), Cmd(C::EditShredding), Cmd(C::EditProxy), Sep(), Cmd(C::ExitProgram)}});
  menus.push_back({"Архив тиражей", DrawsMenu()});
  menus.push_back({"Комбинации", CombsMenu()});
  menus.push_back({"Статистика",
                   {Cmd(C::FiltersManager), Cmd(C::FiltersReset), Cmd(C::FiltersInfo), Sep(),
                    Cmd(C::DrawsStatExportToExcel), Sep(), Cmd(C::AnalyzeRepeats), Cmd(C::TotalSumCombs)}});
  menus.push_back({"Ставки",
                   {Cmd(C::StakeAdd), Cmd(C::StakeAddRandom), Cmd(C::StakeAddSelected), Cmd(C::StakeAddAll), Sep(),
                    Cmd(C::SystemStakeFilter), Cmd(C::SystemStakeAll), Sep(), Cmd(C::StakeDel), Cmd(C::StakeFilter),
                    Cmd(C::StakeClear), Sep(), Cmd(C::StakesGraphDraws), Cmd(C::StakesXlsExport),
                    Cmd(C::StakesCheckManual), Sep(), Cmd(C::LogStakes), Cmd(C::LogStakesDelete),
                    Cmd(C::StakesScroll), Cmd(C::StakesCheckLine)}});
  menus.push_back({"Рейтинг",
                   {Cmd(C::StakesGraphOverlap), Cmd(C::StakesGraphProfits), Cmd(C::RatingsGraphOverlap), Sep(),
                    Sub("Эффективность (столбцы E0..n)"), Cmd(C::RatingsEffMode0), Cmd(C::RatingsEffMode1),
                    Cmd(C::RatingsEffMode2), End(), Sep(), Cmd(C::RatingsRefresh), Cmd(C::RatingsToScript), Sep(),
                    Cmd(C::RatingsExport), Cmd(C::RatingsXlsExport)}});
  menus.push_back({"Регуляры",
                   {Cmd(C::TablesAdd), Cmd(C::TablesDel), Sep(), Cmd(C::TablesStakeAdd), Cmd(C::TablesStakeTest)}});
  // The entry "Системы" is never shown; its commands live in the systems list's context menu.
  menus.push_back({"Системы", {}});
  menus.push_back({"Сценарий",
                   {Cmd(C::ScriptOpen), Cmd(C::ScriptSave), Sep(), Sub("Online-каталог сценариев"),
                    Cmd(C::ScriptLibrary), Sep(), Cmd(C::ScriptLibraryDownload), Cmd(C::ScriptLibraryView),
                    Cmd(C::ScriptLibraryUpload), Cmd(C::ScriptLibraryReplace), Cmd(C::ScriptLibraryDelete), Sep(),
                    Sub("Оценить"), Cmd(C::ScriptLibraryRate1), Cmd(C::ScriptLibraryRate2),
                    Cmd(C::ScriptLibraryRate3), Cmd(C::ScriptLibraryRate4), Cmd(C::ScriptLibraryRate5), Sep(),
                    Cmd(C::ScriptLibraryRate0), End(), Cmd(C::ScriptLibraryHide), Cmd(C::ScriptLibraryRates), Sep(),
                    Cmd(C::ScriptLibraryRefresh), End(), Sep(), Cmd(C::ScriptAdd), Cmd(C::ScriptEmpty),
                    Cmd(C::ScriptLoad), Cmd(C::ScriptClone), Cmd(C::ScriptEdit), Cmd(C::ScriptDel), Cmd(C::ScriptClr),
                    Sep(), Cmd(C::ScriptUp), Cmd(C::ScriptDown), Sep(), Cmd(C::ScriptRun), Cmd(C::ScriptTest),
                    Cmd(C::ScriptStop), Sep(), Cmd(C::LogToggle), Cmd(C::LogsDelete), Cmd(C::StakesCheckLine)}});
  menus.push_back({"Вид",
                   {Cmd(C::TabGraps), Cmd(C::TabCard), Cmd(C::TabLayout), Cmd(C::TabWeek), Cmd(C::TabTables),
                    Cmd(C::SystemsOn, "Вкладка \"Системы\""), Sep(), Cmd(C::ViewColorDraws), Cmd(C::ViewColorCombs), Cmd(C::ViewColorCard),
                    Cmd(C::ViewColorCardSequences), Cmd(C::ViewShemaGradient)}});
  menus.push_back({"Справка",
                   {Cmd(C::GetHelp), Sep(), Cmd(C::OpenLotoSite), Cmd(C::urlMainSite), Cmd(C::urlBlog), Cmd(C::urlYT),
                    Cmd(C::urlAuthText), Cmd(C::urlVK), Cmd(C::urlOK), Cmd(C::urlAuthSite), Cmd(C::urlTG), Sep(),
                    Cmd(C::AutoSelfUpdate), Cmd(C::CheckUpdate), Sep(), Cmd(C::About)}});
  return menus;
}

}  // namespace

const std::vector<MenuDef>& MainMenus() {
  static const std::vector<MenuDef> menus = BuildMainMenus();
  return menus;
}

const std::vector<MenuItem>& DrawsContextMenu() {
  static const std::vector<MenuItem> items = DrawsMenu();
  return items;
}

const std::vector<MenuItem>& StatsTableContextMenu() {
  static const std::vector<MenuItem> items = {Cmd(C::StatFilter_Include), Cmd(C::StatFilter_Exclude), Sep(),
                                              Cmd(C::DrawsStatCalc), Sep(), Cmd(C::DrawsStatExportToExcel), Sep(),
                                              Cmd(C::DrawsStatePrefetchsEnabled)};
  return items;
}

const std::vector<MenuItem>& StatsChartContextMenu() {
  static const std::vector<MenuItem> items = {Cmd(C::DrawsStatShowTotalLine)};
  return items;
}

const std::vector<MenuItem>& CombsContextMenu() {
  static const std::vector<MenuItem> items = [] {
    std::vector<MenuItem> menu = CombsMenu();
    menu.push_back(Sep());
    for (C id : {C::StakeAdd, C::StakeAddRandom, C::StakeAddSelected, C::StakeAddAll, C::SystemStakeFilter,
                 C::SystemStakeAll, C::TablesAdd})
      menu.push_back(Cmd(id));
    return menu;
  }();
  return items;
}

const std::vector<MenuItem>& LibraryContextMenu() {
  static const std::vector<MenuItem> menu = {
      Cmd(C::ScriptLibrary), Sep(), Cmd(C::ScriptLibraryDownload), Cmd(C::ScriptLibraryView), Sep(),
      Cmd(C::ScriptLibraryUpload), Cmd(C::ScriptLibraryReplace), Cmd(C::ScriptLibraryDelete), Sep(), Sub("Оценить"),
      Cmd(C::ScriptLibraryRate1), Cmd(C::ScriptLibraryRate2), Cmd(C::ScriptLibraryRate3), Cmd(C::ScriptLibraryRate4),
      Cmd(C::ScriptLibraryRate5), Sep(), Cmd(C::ScriptLibraryHide), Sep(), Cmd(C::ScriptLibraryRate0), End(), Sep(),
      Cmd(C::ScriptLibraryRates), Sep(), Cmd(C::ScriptLibraryRefresh)};
  return menu;
}

const std::vector<MenuItem>& SystemsContextMenu() {
  static const std::vector<MenuItem> items = {Cmd(C::SystemsRefresh), Cmd(C::SystemsDownload), Sep(),
                                              Cmd(C::SystemsAdd),     Cmd(C::SystemsProp),     Cmd(C::SystemsDel),
                                              Sep(),                  Cmd(C::SystemStakeFilter), Cmd(C::SystemStakeAll)};
  return items;
}

namespace {

std::vector<MenuItem> Cmds(std::initializer_list<C> ids) {
  std::vector<MenuItem> items;
  for (C id : ids) items.push_back(id == C::Count ? Sep() : Cmd(id));
  return items;
}

const std::vector<MenuItem>& MainMenuItems(const char* caption) {
  for (const MenuDef& def : MainMenus())
    if (std::string_view(def.Caption) == caption) return def.Items;
  static const std::vector<MenuItem> none;
  return none;
}

std::vector<PlaceDef> BuildPlaces() {
  std::vector<MenuItem> stakes_menu = MainMenuItems("Ставки");
  stakes_menu.push_back(Sep());
  stakes_menu.push_back(Cmd(C::TablesStakeAdd));
  return {
      {Place::DrawsButtons, "Страница \"Архив тиражей\": кнопки", Cmds({C::DrawsDownload, C::DrawsAdd, C::DrawsDel})},
      {Place::DrawsMenu, "Контекстное меню списка тиражей", DrawsContextMenu()},
      {Place::CombsButtons, "Страница \"Комбинации\": кнопки",
       Cmds({C::CombsGen, C::CombsOpen, C::CombsSave, C::CombsUndo})},
      {Place::CombsMenu, "Контекстное меню списка комбинаций", CombsContextMenu()},
      {Place::StatsButtons, "Страница \"Статистика\": кнопки", Cmds({C::DrawsStatCalc, C::FiltersManager})},
      {Place::StatsTableMenu, "Контекстное меню таблицы статистики", StatsTableContextMenu()},
      {Place::StatsChartMenu, "Контекстное меню графика статистики", StatsChartContextMenu()},
      {Place::GraphsButtons, "Страница \"Графики\": кнопки", Cmds({C::DrawsGraphDraw})},
      {Place::CardButtons, "Страница \"Карта\": кнопки",
       Cmds({C::CardFilter_Include, C::CardFilter_Exclude, C::CardXlsExport})},
      {Place::CardMenu, "Контекстное меню карты тиражей",
       Cmds({C::CardFilter_Include, C::CardFilter_Exclude, C::CardXlsExport, C::ViewColorCard,
             C::ViewColorCardSequences})},
      {Place::LayoutButtons, "Страница \"Схема\": кнопки",
       Cmds({C::LayoutCalc, C::LayoutFilter_Include, C::LayoutFilter_Exclude})},
      {Place::LayoutListsButtons, "Страница \"Схема\": кнопка таблиц сравнения", Cmds({C::LayoutCmpCalc})},
      {Place::LayoutMenu, "Контекстное меню схемы",
       Cmds({C::LayoutFilter_Include, C::LayoutFilter_Exclude, C::LayoutXlsExport, C::ViewShemaGradient})},
      {Place::WeekButtons, "Страница \"Неделя\": кнопки",
       Cmds({C::WeekStatCalc, C::WeekFilter_Include, C::WeekFilter_Exclude, C::ViewWeekChartMode,
             C::ViewWeekChartType})},
      {Place::WeekMenu, "Контекстное меню таблицы дней недели",
       Cmds({C::WeekFilter_Include, C::WeekFilter_Exclude, C::ViewWeekChartMode, C::ViewWeekChartType})},
      {Place::StakesMenu, "Контекстное меню списка ставок", stakes_menu},
      {Place::RatingMenu, "Контекстное меню рейтинга", MainMenuItems("Рейтинг")},
      {Place::TablesMenu, "Контекстное меню регулярных ставок", MainMenuItems("Регуляры")},
      {Place::SystemsMenu, "Контекстное меню списка систем", SystemsContextMenu()},
      {Place::ScriptButtons, "Страница \"Сценарий\": кнопки",
       Cmds({C::ScriptOpen, C::ScriptSave, C::Count, C::ScriptAdd, C::ScriptEdit, C::ScriptDel, C::Count, C::ScriptRun,
             C::ScriptTest, C::ScriptStop})},
      {Place::ScriptMenu, "Контекстное меню сценария", MainMenuItems("Сценарий")},
      {Place::LibraryButtons, "Online-каталог сценариев: кнопки",
       Cmds({C::ScriptLibraryDownload, C::ScriptLibraryUpload, C::ScriptLibraryReplace})},
      {Place::LibraryMenu, "Контекстное меню online-каталога сценариев", LibraryContextMenu()},
  };
}

// The submenu path of each command in these items, "; " between several places.
void CollectPaths(std::span<const MenuItem> items, std::vector<std::string>& stack, C id, std::string& out) {
  for (size_t i = 0; i < items.size(); ++i) {
    const MenuItem& item = items[i];
    if (item.Type == MenuItem::SubBegin) {
      stack.emplace_back(item.Caption);
    } else if (item.Type == MenuItem::SubEnd) {
      stack.pop_back();
    } else if (item.Type == MenuItem::Command && item.Id == id) {
      std::string path;
      for (const auto& part : stack) {
        if (!path.empty()) path += " > ";
        path += part;
      }
      if (!out.empty()) out += "; ";
      out += path;
    }
  }
}

}  // namespace

const std::vector<PlaceDef>& Places() {
  static const std::vector<PlaceDef> places = BuildPlaces();
  return places;
}

const std::vector<MenuItem>& PlaceItems(Place place) {
  for (const PlaceDef& def : Places())
    if (def.Id == place) return def.Items;
  static const std::vector<MenuItem> none;
  return none;
}

std::string CommandMenuPath(C id) {
  std::string out;
  for (const MenuDef& def : MainMenus()) {
    std::vector<std::string> stack{def.Caption};
    CollectPaths(def.Items, stack, id, out);
  }
  if (!out.empty()) return out;
  for (const PlaceDef& place : Places()) {
    const bool offered = std::any_of(place.Items.begin(), place.Items.end(), [id](const MenuItem& item) {
      return item.Type == MenuItem::Command && item.Id == id;
    });
    if (!offered) continue;
    if (!out.empty()) out += "; ";
    out += place.Caption;
  }
  return out;
}

const char* CommandAreaCaption(shell::CommandArea area) {
  using A = shell::CommandArea;
  switch (area) {
    case A::File: return "Файл";
    case A::Draws: return "Архив тиражей";
    case A::Combs: return "Комбинации";
    case A::Stats: return "Статистика";
    case A::Stakes: return "Ставки";
    case A::Rating: return "Рейтинг";
    case A::Tables: return "Регуляры";
    case A::Systems: return "Системы";
    case A::Script: return "Сценарий";
    case A::View: return "Вид";
    case A::Help: return "Справка";
    case A::Page: return "Страницы";
  }
  return "";
}

std::string CommandTableTsv() {
  std::string out = "Команда\tЗаголовок\tКлавиши\tКатегория\tМеню\n";
  for (const auto& c : shell::Commands()) {
    out += c.Name;
    out += '\t';
    out += c.Caption;
    out += '\t';
    out += c.Shortcut;
    out += '\t';
    out += CommandAreaCaption(c.Area);
    out += '\t';
    out += CommandMenuPath(c.Id);
    out += '\n';
  }
  return out;
}

}  // namespace kelmora::gui
