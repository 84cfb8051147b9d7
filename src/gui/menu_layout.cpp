#include "gui/menu_layout.h"

namespace kelmora::gui {

namespace {

using C = shell::CommandId;

MenuItem Cmd(C id) { return {MenuItem::Command, id, nullptr}; }
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
                    Cmd(C::SystemsOn), Sep(), Cmd(C::ViewColorDraws), Cmd(C::ViewColorCombs), Cmd(C::ViewColorCard),
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

}  // namespace kelmora::gui
