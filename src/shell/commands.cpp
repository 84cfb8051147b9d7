#include "shell/commands.h"

#include <algorithm>
#include <limits>

#include "shell/combs_state.h"
#include "shell/host.h"
#include "shell/library_state.h"
#include "shell/script_runner.h"
#include "shell/script_state.h"
#include "shell/session.h"
#include "shell/stakes_state.h"
#include "shell/stats_state.h"
#include "shell/views_state.h"
#include "shell/systems_state.h"
#include "support/text.h"

#include <fmt/format.h>

namespace kelmora::shell {

namespace {

using S = const TCommandState&;
using A = CommandArea;
using F = Feature;
using C = CommandId;

bool Always(S) { return true; }
bool Never(S) { return false; }
bool HasDraws(S s) { return s.DrawsCount > 0; }
bool DrawSelected(S s) { return s.DrawsSelected > 0; }
bool HasCombs(S s) { return s.CombsCount > 0; }
bool CombSelected(S s) { return s.CombsCount > 0 && s.CombsSelected > 0; }
bool StakesOpen(S s) { return s.StakesFileOpen; }
bool HasStakes(S s) { return s.StakesCount > 0; }
bool StakeRatingSelected(S s) { return s.StakesCount > 0 && s.RatingSelected > 0; }
bool RatingSelected(S s) { return s.RatingSelected > 0; }
bool HasRating(S s) { return s.RatingCount > 0; }
bool TablesShown(S s) { return s.TablesShown; }
bool TableSelected(S s) { return s.TablesShown && s.TablesSelected > 0; }
bool SystemsShown(S s) { return s.SystemsShown; }
bool SystemSelected(S s) { return s.SystemsShown && s.SystemsSelected > 0; }
bool SystemStake(S s) { return s.SystemsShown && s.CombsCount > 0 && s.StakesFileOpen; }
bool HasScript(S s) { return s.ScriptLines > 0; }
bool ScriptLineSelected(S s) { return s.ScriptSelected > 0; }
bool ScriptFilterSelected(S s) { return s.ScriptSelected > 0 && s.ScriptSelectedIsFilter; }
bool ScriptRunnable(S s) { return s.ScriptLines > 0 && s.DrawsCount > 0; }
bool NoScriptRunning(S s) { return !s.ScriptRunning; }
bool Library(S s) { return s.LibraryShown; }
bool LibrarySelected(S s) { return s.LibraryShown && s.LibrarySelected; }
bool LibraryRatable(S s) { return s.LibraryShown && s.LibraryFilterAvailable && s.LibrarySelected; }
bool CardShown(S s) { return s.CardShown; }
bool LayoutShown(S s) { return s.LayoutShown; }
bool WeekShown(S s) { return s.WeekShown; }
bool LayoutReady(S s) { return s.LayoutShown && s.DrawsCount > 0; }
// A link is enabled when its address is set: bit N of WebLinksSet, N its place in WebLinkCommands.
template <int N>
bool LinkSet(S s) {
  return (s.WebLinksSet >> N) & 1u;
}

bool IsAutoDownload0(S s) { return s.View.DownloadDrawsOnStart == 0; }
bool IsAutoDownload1(S s) { return s.View.DownloadDrawsOnStart == 1; }
bool IsAutoDownload2(S s) { return s.View.DownloadDrawsOnStart == 2; }
bool IsEffMode0(S s) { return s.View.RatingsEffMode == 0; }
bool IsEffMode1(S s) { return s.View.RatingsEffMode == 1; }
bool IsEffMode2(S s) { return s.View.RatingsEffMode == 2; }

// clang-format off
constexpr TCommandInfo Table[] = {
  {C::DrawsDownload, "DrawsDownload", "Загрузка", "Загрузка новых тиражей с сайта лотереи", "F3", A::Draws, F::Download, false, Always, nullptr},
  {C::ExitProgram, "ExitProgram", "Выход", "Завершение работы программы", "Alt+F4", A::File, F::Shell, false, Always, nullptr},
  {C::DrawsGraphDraw, "DrawsGraphDraw", "Обновить", nullptr, "", A::Page, F::Graphs, false, [](S s) { return s.DrawsCount > 0 && s.GraphKindChosen; }, nullptr},
  {C::DrawsAdd, "DrawsAdd", "Добавить", "Добавить тираж вручную", "", A::Draws, F::Draws, false, Always, nullptr},
  {C::DrawsEdit, "DrawsEdit", "Изменить", "Изменить выделенный тираж", "", A::Draws, F::Draws, false, DrawSelected, nullptr},
  {C::DrawsDel, "DrawsDel", "Удалить", "Удалить выделенные тиражи", "", A::Draws, F::Draws, false, DrawSelected, nullptr},
  {C::DrawsStatCalc, "DrawsStatCalc", "Обновить", "Пересчитать статистику по выбранным параметрам", "", A::Page, F::Stats, false, [](S s) { return s.DrawsCount > 0 && s.StatKindChosen; }, nullptr},
  {C::CombsGen, "CombsGen", "Генерировать", nullptr, "F2", A::Combs, F::Combs, false, Always, nullptr},
  {C::CombsOpen, "CombsOpen", "Открыть", nullptr, "Ctrl+O", A::Combs, F::Combs, false, Always, nullptr},
  {C::CombsSave, "CombsSave", "Сохранить", nullptr, "Ctrl+S", A::Combs, F::Combs, false, HasCombs, nullptr},
  {C::CombsUndo, "CombsUndo", "Отменить", nullptr, "Ctrl+Z", A::Combs, F::Combs, false, [](S s) { return s.UndoExists; }, nullptr},
  {C::StatFilter_Include, "StatFilter_Include", "Оставить выделенные", "В списке комбинаций оставить комбинации с выделенными характеристиками", "F7", A::Page, F::Filters, false, [](S s) { return s.CombsCount > 0 && s.StatRowsSelected > 0; }, nullptr},
  {C::StatFilter_Exclude, "StatFilter_Exclude", "Удалить выделенные", "Из списка комбинаций удалить комбинации с выделенными характеристиками", "Ctrl+F7", A::Page, F::Filters, false, [](S s) { return s.CombsCount > 0 && s.StatRowsSelected > 0; }, nullptr},
  {C::EditConfig, "EditConfig", "Параметры", "Параметры системы", "", A::File, F::Shell, false, Always, nullptr},
  {C::StakeAdd, "StakeAdd", "Сделать ставку", "Добавить текущую комбинацию в список ставок с возможностью ручного ввода", "F4", A::Stakes, F::Stakes, false, StakesOpen, nullptr},
  {C::StakeAddRandom, "StakeAddRandom", "Сделать случайную ставку", "Добавить ставку, выбранную случайным образом из списка комбинаций", "Ctrl+F4", A::Stakes, F::Stakes, false, [](S s) { return s.CombsCount > 0 && s.StakesFileOpen; }, nullptr},
  {C::StakeAddSelected, "StakeAddSelected", "Сделать ставки для выделенных комбинаций", "Добавить выделенные комбинации в список ввода", "Alt+F4", A::Stakes, F::Stakes, false, [](S s) { return s.CombsSelected > 0 && s.StakesFileOpen; }, nullptr},
  {C::StakeAddAll, "StakeAddAll", "Сделать ставки для всех комбинаций", "Добавить все существующие комбинации в список ввода", "Ctrl+Alt+F4", A::Stakes, F::Stakes, false, [](S s) { return s.CombsCount > 0 && s.StakesFileOpen; }, nullptr},
  {C::StakeDel, "StakeDel", "Удалить ставку", "Удалить выделенные ставки из списка ставок", "Ctrl+Del", A::Stakes, F::Stakes, false, [](S s) { return s.StakesCount > 0 && s.StakesSelected > 0; }, nullptr},
  {C::StakeFilter, "StakeFilter", "Удалить по условию", "Удалить ставки с заданным количеством совпадений из списка ставок", "Alt+D", A::Stakes, F::Stakes, false, HasStakes, nullptr},
  {C::StakeClear, "StakeClear", "Удалить все ставки", "Очистить список ставок", "Ctrl+Shift+Del", A::Stakes, F::Stakes, false, HasStakes, nullptr},
  {C::RatingsRefresh, "RatingsRefresh", "Обновить рейтинг", "Пересчитать рейтинг по текущим данным", "F5", A::Rating, F::Rating, false, StakesOpen, nullptr},
  {C::StakesGraphDraws, "StakesGraphDraws", "Суммарный профит по тиражам", "График суммарного профита ставок по тиражам", "F6", A::Stakes, F::Stakes, false, HasStakes, nullptr},
  {C::StakesGraphOverlap, "StakesGraphOverlap", "График совпадений ставок", "График количества совпадений для всех ставок по тиражам", "Ctrl+F6", A::Rating, F::Rating, true, StakeRatingSelected, nullptr},
  {C::StakesGraphProfits, "StakesGraphProfits", "График профита ставок", "График профита для всех ставок по тиражам", "Alt+F6", A::Rating, F::Rating, true, StakeRatingSelected, nullptr},
  {C::TablesAdd, "TablesAdd", "Добавить регулярную ставку", "Добавить регулярную табличную ставку", "", A::Tables, F::Tables, false, TablesShown, nullptr},
  {C::TablesDel, "TablesDel", "Удалить регулярную ставку", "Удалить выделенные регулярные табличные ставки", "", A::Tables, F::Tables, false, TableSelected, nullptr},
  {C::TablesStakeAdd, "TablesStakeAdd", "Сделать ставку по регуляру", "Создать ставку по выделенному регуляру", "", A::Tables, F::Tables, false, TableSelected, nullptr},
  {C::TablesStakeTest, "TablesStakeTest", "Тест регуляров", "Тестирование регулярных ставок", "", A::Tables, F::Tables, false, TableSelected, nullptr},
  {C::OpenLotoSite, "OpenLotoSite", "Сайт лотереи", nullptr, "", A::Help, F::Web, false, LinkSet<0>, nullptr},
  {C::CombsDelExists, "CombsDelExists", "Исключить тиражи", nullptr, "Ctrl+E", A::Combs, F::Combs, false, [](S s) { return s.CombsCount > 0 && s.DrawsCount > 0 && s.View.DrawsExclude > 0; }, nullptr},
  {C::CombsDelSelected, "CombsDelSelected", "Удалить выделенные", nullptr, "Ctrl+Del", A::Combs, F::Combs, false, CombSelected, nullptr},
  {C::ScriptOpen, "ScriptOpen", "Открыть", "Загрузить сценарий из файла", "Ctrl+J", A::Script, F::Scripts, false, Always, nullptr},
  {C::ScriptSave, "ScriptSave", "Сохранить", "Сохранить сценарий в файле", "Ctrl+I", A::Script, F::Scripts, false, HasScript, nullptr},
  {C::ScriptRun, "ScriptRun", "Прогноз", "Выполнить сценарий для текущего тиража и смещения", "F10", A::Script, F::Scripts, false, ScriptRunnable, nullptr},
  {C::ScriptTest, "ScriptTest", "Тест", "Тестирование сценария на основе результатов предыдуших тиражей", "Ctrl+F10", A::Script, F::Scripts, false, ScriptRunnable, nullptr},
  {C::ScriptStop, "ScriptStop", "Стоп", "Остановить выполнение сценария", "Ctrl+X", A::Script, F::Scripts, true, [](S s) { return s.ScriptRunning && !s.StopRequested; }, nullptr},
  {C::ScriptAdd, "ScriptAdd", "Добавить фильтры", "Добавить новую команду в сценарий", "Ctrl+Ins", A::Script, F::Scripts, false, Always, nullptr},
  {C::ScriptEmpty, "ScriptEmpty", "Добавить разделитель", "Добавить разделитель в сценарий", "Ctrl+Alt+Ins", A::Script, F::Scripts, false, HasScript, nullptr},
  {C::ScriptLoad, "ScriptLoad", "Добавить сценарий", "Добавить выбранный сценарий из файла в текущий сценарий", "", A::Script, F::Scripts, false, Always, nullptr},
  {C::ScriptClone, "ScriptClone", "Клонировать", "Добавить новую команду в сценарий и скопировать в нее данные из выделенной", "Ctrl+K", A::Script, F::Scripts, false, ScriptFilterSelected, nullptr},
  {C::ScriptEdit, "ScriptEdit", "Изменить", "Редактировать выделенную команду", "Ctrl+Enter", A::Script, F::Scripts, false, ScriptFilterSelected, nullptr},
  {C::ScriptDel, "ScriptDel", "Удалить", "Удалить выделенные строки", "Ctrl+Del", A::Script, F::Scripts, false, ScriptLineSelected, nullptr},
  {C::ScriptClr, "ScriptClr", "Удалить все", "Удалить весь сценарий", "", A::Script, F::Scripts, false, HasScript, nullptr},
  {C::ScriptUp, "ScriptUp", "Переместить вверх", "Переместить выделенную строку вверх", "Ctrl+Up", A::Script, F::Scripts, false, [](S s) { return s.ScriptSelected > 0 && s.ScriptFirstSelected > 0; }, nullptr},
  {C::ScriptDown, "ScriptDown", "Переместить вниз", "Переместить выделенную строку вниз", "Ctrl+Down", A::Script, F::Scripts, false, [](S s) { return s.ScriptSelected > 0 && s.ScriptFirstSelected >= 0 && s.ScriptFirstSelected < s.ScriptLines - 1; }, nullptr},
  {C::GetHelp, "GetHelp", "Справка", "Открыть справочную систему", "F1", A::Help, F::Help, false, [](S s) { return s.HelpFileExists; }, nullptr},
  {C::RatingsGraphOverlap, "RatingsGraphOverlap", "Количество совпадений", "График количества совпадений для выделенных строк рейтинга", "", A::Rating, F::Rating, true, RatingSelected, nullptr},
  {C::StakesCheckManual, "StakesCheckManual", "Проверить ставки", "Выполнить проверку ставок по архиву тиражей", "Ctrl+F5", A::Stakes, F::Stakes, false, HasStakes, nullptr},
  {C::About, "About", "О программе", "Сведения о программе", "", A::Help, F::Shell, false, Always, nullptr},
  {C::DrawsImport, "DrawsImport", "Импорт из CSV-файла", "Импорт тиражей из CSV-файла", "", A::Draws, F::DrawsTransfer, false, Always, nullptr},
  {C::DrawsExport, "DrawsExport", "Экспорт в CSV-файл", "Экспорт архива тиражей в CSV-файл", "", A::Draws, F::DrawsTransfer, false, HasDraws, nullptr},
  {C::RatingsExport, "RatingsExport", "Экспорт рейтинга в CSV-файл", nullptr, "", A::Rating, F::Rating, false, HasRating, nullptr},
  {C::RatingsToScript, "RatingsToScript", "Добавить в сценарий", "Добавить выделенные строки в сценарий", "", A::Rating, F::Scripts, false, RatingSelected, nullptr},
  {C::CardFilter_Include, "CardFilter_Include", "Оставить выделенные", nullptr, "", A::Page, F::Card, false, [](S s) { return s.CardShown && s.CombsCount > 0 && SelectionInValueColumns(s.CardSelLeft, s.CardSelRight); }, nullptr},
  {C::CardFilter_Exclude, "CardFilter_Exclude", "Удалить выделенные", nullptr, "", A::Page, F::Card, false, [](S s) { return s.CardShown && s.CombsCount > 0 && SelectionInValueColumns(s.CardSelLeft, s.CardSelRight); }, nullptr},
  {C::LogToggle, "LogToggle", "Журнал выполнения сценария", "Создание подробного журнала выполнения сценария для анализа его работы", "", A::Script, F::Scripts, false, NoScriptRunning, [](S s) { return s.View.ScriptLogEnabled; }},
  {C::AutoSelfUpdate, "AutoSelfUpdate", "Автоматическое обновление", "Автоматическое обновление программы при запуске", "", A::Help, F::Update, false, Always, [](S s) { return s.View.AutoUpdates; }},
  {C::CheckUpdate, "CheckUpdate", "Поиск обновлений", "Искать обновления программы через интернет", "", A::Help, F::Update, false, Always, nullptr},
  {C::ViewColorDraws, "ViewColorDraws", "Выделять каналы в списке тиражей", nullptr, "", A::View, F::Draws, false, Always, [](S s) { return s.View.ColorDraws; }},
  {C::ViewColorCombs, "ViewColorCombs", "Выделять каналы в списке комбинаций", nullptr, "", A::View, F::Combs, false, Always, [](S s) { return s.View.ColorCombs; }},
  {C::ViewColorCard, "ViewColorCard", "Выделять каналы в карте тиражей", nullptr, "", A::View, F::Card, false, CardShown, [](S s) { return s.View.ColorCard; }},
  {C::AnalyzeRepeats, "AnalyzeRepeats", "Количество повторов в зависимости от тиража", nullptr, "", A::Stats, F::Analysis, false, HasDraws, nullptr},
  {C::TotalSumCombs, "TotalSumCombs", "Распределение сумм тиражей и всех возможных комбинаций", nullptr, "", A::Stats, F::Analysis, false, Always, nullptr},
  {C::DrawsXlsExport, "DrawsXlsExport", "Экспорт в Microsoft Excel", "Экспорт списка тиражей в электронную таблицу", "", A::Draws, F::Draws, false, HasDraws, nullptr},
  {C::DrawsInfo, "DrawsInfo", "Сведения о тираже", "Подробная информация о выделенном тираже", "", A::Draws, F::Draws, false, DrawSelected, nullptr},
  {C::CombsInfo, "CombsInfo", "Сведения о комбинации", nullptr, "", A::Combs, F::Combs, false, CombSelected, nullptr},
  {C::CombsCheckNums, "CombsCheckNums", "Количество уникальных номеров", nullptr, "", A::Combs, F::Combs, false, Always, nullptr},
  {C::CombsXlsExport, "CombsXlsExport", "Экспорт в Microsoft Excel", nullptr, "", A::Combs, F::Combs, false, HasCombs, nullptr},
  {C::LogStakes, "LogStakes", "Журналы ставок", "Создавать текстовые файлы журналов ставок", "", A::Stakes, F::Stakes, false, Always, [](S s) { return s.View.StakesLogEnabled; }},
  {C::LogStakesDelete, "LogStakesDelete", "Удалить журналы ставок", "Удалить имеющиеся файлы журналов ставок", "", A::Stakes, F::Stakes, false, Always, nullptr},
  {C::StakesXlsExport, "StakesXlsExport", "Экспорт ставок в Microsoft Excel", nullptr, "", A::Stakes, F::Stakes, false, HasStakes, nullptr},
  {C::DrawsSorted, "DrawsSorted", "Упорядочить MIN->MAX", nullptr, "", A::Draws, F::Draws, false, Never, [](S s) { return s.View.SortedDraws; }},
  {C::RatingsXlsExport, "RatingsXlsExport", "Экспорт рейтинга в Microsoft Excel", nullptr, "", A::Rating, F::Rating, false, HasRating, nullptr},
  {C::AutoDownload0, "AutoDownload0", "По запросу (по умолчанию)", nullptr, "", A::Draws, F::Download, false, Always, IsAutoDownload0},
  {C::AutoDownload1, "AutoDownload1", "Автоматически", nullptr, "", A::Draws, F::Download, false, Always, IsAutoDownload1},
  {C::AutoDownload2, "AutoDownload2", "Отключено", nullptr, "", A::Draws, F::Download, false, Always, IsAutoDownload2},
  {C::LayoutCalc, "LayoutCalc", "Обновить", nullptr, "", A::Page, F::Layout, false, LayoutReady, nullptr},
  {C::LayoutFilter_Include, "LayoutFilter_Include", "Оставить выделенные", nullptr, "", A::Page, F::Layout, false, [](S s) { return s.LayoutShown && s.CombsCount > 0 && SelectionInValueColumns(s.LayoutSelLeft, s.LayoutSelRight); }, nullptr},
  {C::LayoutFilter_Exclude, "LayoutFilter_Exclude", "Удалить выделенные", nullptr, "", A::Page, F::Layout, false, [](S s) { return s.LayoutShown && s.CombsCount > 0 && SelectionInValueColumns(s.LayoutSelLeft, s.LayoutSelRight); }, nullptr},
  {C::EditShredding, "EditShredding", "Формулы шинковки", "Методы шинковки", "", A::File, F::Shell, false, Always, nullptr},
  {C::DrawsStatExportToExcel, "DrawsStatExportToExcel", "Экспорт статистики в Microsoft Excel", "Экспорт данных статистики в Microsoft Excel", "", A::Stats, F::Stats, false, [](S s) { return s.StatRows > 0; }, nullptr},
  {C::DrawsStatShowTotalLine, "DrawsStatShowTotalLine", "График идеального распределения", "Пропорциональный график распределения значений по всем возможным комбинациям лотереи", "", A::Page, F::Stats, false, [](S s) { return s.View.PrefetchsEnabled; }, [](S s) { return s.View.ShowTotalLine; }},
  {C::DrawsStatePrefetchsEnabled, "DrawsStatePrefetchsEnabled", "Использовать сравнение с полным набором комбинаций", "Использовать режим сравнения статистики с распределением по полному набору комбинаций", "", A::Page, F::Stats, false, Always, [](S s) { return s.View.PrefetchsEnabled; }},
  {C::CardXlsExport, "CardXlsExport", "Экспорт карты тиражей в Microsoft Excel", nullptr, "", A::Page, F::Card, false, [](S s) { return s.CardShown && s.CardColumns > 2; }, nullptr},
  {C::LayoutXlsExport, "LayoutXlsExport", "Экспорт схемы в Microsoft Excel", nullptr, "", A::Page, F::Layout, false, [](S s) { return s.LayoutShown && s.LayoutColumns > 2; }, nullptr},
  {C::ViewColorCardSequences, "ViewColorCardSequences", "Выделять последовательности в карте тиражей", nullptr, "", A::View, F::Card, false, CardShown, [](S s) { return s.View.ColorCardSequences; }},
  {C::StakesScroll, "StakesScroll", "Прокручивать список при добавлении", "Прокручивать список ставок при добавлении новой ставки", "", A::Stakes, F::Stakes, false, Always, [](S s) { return s.View.StakesScrollEnabled; }},
  {C::CombsFindInDraws, "CombsFindInDraws", "Проверить по архиву тиражей", nullptr, "Ctrl+F", A::Combs, F::Combs, false, CombSelected, nullptr},
  {C::EditProxy, "EditProxy", "Параметры proxy-сервера", nullptr, "", A::File, F::Proxy, false, Always, nullptr},
  {C::ViewShemaGradient, "ViewShemaGradient", "Градиентная раскраска схемы", nullptr, "", A::View, F::Layout, false, LayoutShown, [](S s) { return s.View.LayoutGradient; }},
  {C::StakesCheckLine, "StakesCheckLine", "Проверять ставки после каждой строки сценария", nullptr, "", A::Stakes, F::Scripts, false, Always, [](S s) { return s.View.StakesCheckOnLine; }},
  {C::ScriptLibrary, "ScriptLibrary", "Online каталог сценариев", "Online каталог сценариев", "Ctrl+L", A::Script, F::Library, false, Always, [](S s) { return s.LibraryShown; }},
  {C::ScriptLibraryRefresh, "ScriptLibraryRefresh", "Обновить", "Перезагрузить каталог с сервера", "", A::Script, F::Library, false, Library, nullptr},
  {C::ScriptLibraryDownload, "ScriptLibraryDownload", "Скачать из каталога", "Скачать выбранный сценарий из online-каталога", "", A::Script, F::Library, false, [](S s) { return s.LibraryShown && s.LibrarySelectedDownloadable; }, nullptr},
  {C::ScriptLibraryUpload, "ScriptLibraryUpload", "Опубликовать", "Опубликовать текущий сценарий в online-каталоге", "", A::Script, F::Library, false, [](S s) { return s.LibraryShown && s.LibraryFilterAvailable && s.ScriptLines > 0; }, nullptr},
  {C::ScriptLibraryReplace, "ScriptLibraryReplace", "Изменить", "Заменить выделенный сценарий в online-каталоге текущим", "", A::Script, F::Library, false, [](S s) { return s.LibraryShown && s.LibraryFilterAvailable && s.LibrarySelectedIsOwn && s.ScriptLines > 0; }, nullptr},
  {C::ScriptLibraryDelete, "ScriptLibraryDelete", "Удалить", "Удалить выделенный сценарий из online-каталога", "", A::Script, F::Library, false, [](S s) { return s.LibraryShown && s.LibraryFilterAvailable && s.LibrarySelectedIsOwn; }, nullptr},
  {C::ScriptLibraryView, "ScriptLibraryView", "Свойства сценария", "Просмотр сведений о выделенном сценарии", "", A::Script, F::Library, false, LibrarySelected, nullptr},
  {C::ScriptLibraryRates, "ScriptLibraryRates", "Просмотр оценок", "Просмотр оценок сценария пользователями", "", A::Script, F::Library, false, LibrarySelected, nullptr},
  {C::ScriptLibraryRate0, "ScriptLibraryRate0", "Удалить оценку", "Удалить Вашу оценку", "", A::Script, F::Library, false, [](S s) { return s.LibraryShown && s.LibraryFilterAvailable && s.LibrarySelectedRated; }, nullptr},
  {C::ScriptLibraryRate1, "ScriptLibraryRate1", "[ 1 ] - Бесполезно", "Установить оценку \"1\"", "", A::Script, F::Library, false, LibraryRatable, [](S s) { return s.LibrarySelected && s.LibrarySelectedRate == 1; }},
  {C::ScriptLibraryRate2, "ScriptLibraryRate2", "[ 2 ] - Плохо", "Установить оценку \"2\"", "", A::Script, F::Library, false, LibraryRatable, [](S s) { return s.LibrarySelected && s.LibrarySelectedRate == 2; }},
  {C::ScriptLibraryRate3, "ScriptLibraryRate3", "[ 3 ] - Удовлетворительно", "Установить оценку \"3\"", "", A::Script, F::Library, false, LibraryRatable, [](S s) { return s.LibrarySelected && s.LibrarySelectedRate == 3; }},
  {C::ScriptLibraryRate4, "ScriptLibraryRate4", "[ 4 ] - Хорошо", "Установить оценку \"4\"", "", A::Script, F::Library, false, LibraryRatable, [](S s) { return s.LibrarySelected && s.LibrarySelectedRate == 4; }},
  {C::ScriptLibraryRate5, "ScriptLibraryRate5", "[ 5 ] - Отлично", "Установить оценку \"5\"", "", A::Script, F::Library, false, LibraryRatable, [](S s) { return s.LibrarySelected && s.LibrarySelectedRate == 5; }},
  {C::ScriptLibraryHide, "ScriptLibraryHide", "Скрыть сценарий", "Исключить сценарий из Вашего списка", "", A::Script, F::Library, false, LibraryRatable, [](S s) { return s.LibrarySelected && s.LibrarySelectedRate < 0; }},
  {C::CombsCopy, "CombsCopy", "Копировать в буфер", nullptr, "Ctrl+C", A::Combs, F::Combs, false, HasCombs, nullptr},
  {C::CombsPaste, "CombsPaste", "Вставить из буфера", nullptr, "Ctrl+V", A::Combs, F::Combs, false, [](S s) { return s.ClipboardHasText; }, nullptr},
  {C::CombsSelectAll, "CombsSelectAll", "Выделить все", nullptr, "Ctrl+A", A::Combs, F::Combs, false, HasCombs, nullptr},
  {C::RatingsEffMode0, "RatingsEffMode0", "Ожидаемые значения совпадений", "Показывать расчетные значения количества совпадений", "", A::Rating, F::Rating, false, Always, IsEffMode0},
  {C::RatingsEffMode1, "RatingsEffMode1", "Абсолютные значения эффективности", "Показывать абсолютные изменения эффективности ставок", "", A::Rating, F::Rating, false, Always, IsEffMode1},
  {C::RatingsEffMode2, "RatingsEffMode2", "Относительные значения эффективности", "Показывать относительные изменения эффективности ставок", "", A::Rating, F::Rating, false, Always, IsEffMode2},
  {C::urlMainSite, "urlMainSite", "Официальный сайт проекта", nullptr, "", A::Help, F::Web, false, LinkSet<1>, nullptr},
  {C::urlAuthSite, "urlAuthSite", "Страница автора", nullptr, "", A::Help, F::Web, false, LinkSet<7>, nullptr},
  {C::urlBlog, "urlBlog", "Наш блог", nullptr, "", A::Help, F::Web, false, LinkSet<2>, nullptr},
  {C::urlYT, "urlYT", "Наш видеоблог", nullptr, "", A::Help, F::Web, false, LinkSet<3>, nullptr},
  {C::urlVK, "urlVK", "Страница в соцсети \"В контакте\"", nullptr, "", A::Help, F::Web, false, LinkSet<5>, nullptr},
  {C::urlOK, "urlOK", "Страница в соцсети \"Однокласники\"", nullptr, "", A::Help, F::Web, false, LinkSet<6>, nullptr},
  {C::WeekStatCalc, "WeekStatCalc", "Обновить", nullptr, "", A::Page, F::Week, false, [](S s) { return s.WeekShown && s.DrawsCount > 0; }, nullptr},
  {C::WeekFilter_Include, "WeekFilter_Include", "Оставить выделенные", nullptr, "", A::Page, F::Week, false, [](S s) { return s.WeekShown && s.CombsCount > 0; }, nullptr},
  {C::WeekFilter_Exclude, "WeekFilter_Exclude", "Удалить выделенные", nullptr, "", A::Page, F::Week, false, [](S s) { return s.WeekShown && s.CombsCount > 0; }, nullptr},
  {C::ViewWeekChartMode, "ViewWeekChartMode", "График по дням недели", nullptr, "", A::Page, F::Week, false, WeekShown, [](S s) { return s.View.WeekChartMode == 1; }},
  {C::ViewWeekChartType, "ViewWeekChartType", "График / диаграмма", nullptr, "", A::Page, F::Week, false, WeekShown, [](S s) { return s.View.WeekChartType; }},
  {C::SystemsOn, "SystemsOn", "Системная игра", "Включить или выключить список систем", "Ctrl+J", A::Systems, F::Systems, false, Always, [](S s) { return s.SystemsShown; }},
  {C::SystemsRefresh, "SystemsRefresh", "Обновить", "Перезагрузить список с сервера", "", A::Systems, F::Systems, false, SystemsShown, nullptr},
  {C::SystemsDownload, "SystemsDownload", "Загрузить", "Загрузить выделенные системы", "", A::Systems, F::Systems, false, SystemSelected, nullptr},
  {C::SystemsAdd, "SystemsAdd", "Добавить", "Добавить свою систему в список", "", A::Systems, F::Systems, false, SystemsShown, nullptr},
  {C::SystemsProp, "SystemsProp", "Свойства", "Просмотр / редактирование свойств системы", "", A::Systems, F::Systems, false, SystemSelected, nullptr},
  {C::SystemsDel, "SystemsDel", "Удалить", "Удалить свои системы из списка", "", A::Systems, F::Systems, false, [](S s) { return s.SystemsShown && s.SystemSelectedIsOwn; }, nullptr},
  {C::SystemStakeAll, "SystemStakeAll", "Cистемная игра по списку системы", "Системная игра по всем комбинациям выбранной системы (даже если их нет в списке комбинаций)", "Ctrl+Alt+J", A::Stakes, F::Systems, false, SystemStake, nullptr},
  {C::SystemStakeFilter, "SystemStakeFilter", "Cистемная игра по списку комбинаций", "Системная игра только по комбинациям, которые есть и в системе и в списке комбинаций", "Alt+J", A::Stakes, F::Systems, false, SystemStake, nullptr},
  {C::LogsDelete, "LogsDelete", "Удалить журналы выполнения сценариев", "Удалить файлы журналов выполнения сценария", "", A::Script, F::Scripts, false, NoScriptRunning, nullptr},
  {C::urlAuthText, "urlAuthText", "Статьи для начинающих", nullptr, "", A::Help, F::Web, false, LinkSet<4>, nullptr},
  {C::urlTG, "urlTG", "Канал в Telegram", nullptr, "", A::Help, F::Web, false, LinkSet<8>, nullptr},
  {C::FiltersManager, "FiltersManager", "Избранные статистики", "Настройка списка избранных видов статистики (фильтров)", "F7", A::Stats, F::FilterLists, false, Always, nullptr},
  {C::FiltersReset, "FiltersReset", "Все доступные статистики", "Отображать все доступные виды статистики (фильтры)", "Ctrl+F7", A::Stats, F::FilterLists, false, Always, nullptr},
  {C::FiltersInfo, "FiltersInfo", "Описание статистики", "Сведения о выбранном методе расчета статистики", "F8", A::Stats, F::FilterLists, false, [](S s) { return s.StatKindChosen; }, nullptr},
  {C::TabGraps, "TabGraps", "Вкладка \"Графики\"", nullptr, "", A::View, F::Graphs, false, Always, [](S s) { return s.GraphsShown; }},
  {C::TabCard, "TabCard", "Вкладка \"Карта\"", nullptr, "", A::View, F::Card, false, Always, [](S s) { return s.CardShown; }},
  {C::TabLayout, "TabLayout", "Вкладка \"Схема\"", nullptr, "", A::View, F::Layout, false, Always, [](S s) { return s.LayoutShown; }},
  {C::TabWeek, "TabWeek", "Вкладка \"Неделя\"", nullptr, "", A::View, F::Week, false, Always, [](S s) { return s.WeekShown; }},
  {C::TabTables, "TabTables", "Вкладка \"Регуляры\"", "Скрыть / показать вкладку \"Регулярные ставки\"", "", A::View, F::Tables, false, Always, [](S s) { return s.TablesShown; }},
  {C::LayoutCmpCalc, "LayoutCmpCalc", "Обновить", nullptr, "", A::Page, F::Layout, false, LayoutReady, nullptr},
};
// clang-format on

static_assert(std::size(Table) == static_cast<size_t>(CommandCount), "one entry per command id");

constexpr bool LinksInOrder() {
  for (int i = 0; i < static_cast<int>(std::size(WebLinkCommands)); ++i)
    if (Table[static_cast<int>(WebLinkCommands[i])].Needs != Feature::Web) return false;
  return true;
}
static_assert(LinksInOrder(), "every link command is a web link");

constexpr bool TableInIdOrder() {
  for (int i = 0; i < CommandCount; ++i)
    if (static_cast<int>(Table[i].Id) != i) return false;
  return true;
}
static_assert(TableInIdOrder(), "the table is indexed by command id");

constexpr const char* LinkKeys[] = {"LotterySiteUrl", "MainSiteUrl", "BlogUrl",       "VideoBlogUrl", "ArticlesUrl",
                                    "VkUrl",          "OkUrl",       "AuthorSiteUrl", "TelegramUrl"};
static_assert(std::size(LinkKeys) == std::size(WebLinkCommands));

}  // namespace

std::span<const TCommandInfo> Commands() { return Table; }

const TCommandInfo& Command(CommandId id) { return Table[static_cast<int>(id)]; }

std::optional<CommandId> CommandByName(std::string_view name) {
  for (const auto& c : Table)
    if (support::SameText(c.Name, name)) return c.Id;
  return std::nullopt;
}

std::string_view CommandHint(CommandId id) {
  const auto& c = Command(id);
  return c.Hint ? c.Hint : c.Caption;
}

int WebLinkIndex(CommandId id) {
  for (int i = 0; i < static_cast<int>(std::size(WebLinkCommands)); ++i)
    if (WebLinkCommands[i] == id) return i;
  return -1;
}

const char* WebLinkKey(CommandId id) {
  const int i = WebLinkIndex(id);
  return i < 0 ? nullptr : LinkKeys[i];
}

std::string WebLinkUrl(const TNetworkSettings& network, CommandId id) {
  const std::string* urls[] = {&network.LotterySiteUrl, &network.MainSiteUrl, &network.BlogUrl,
                               &network.VideoBlogUrl,   &network.ArticlesUrl, &network.VkUrl,
                               &network.OkUrl,          &network.AuthorSiteUrl, &network.TelegramUrl};
  static_assert(std::size(urls) == std::size(WebLinkCommands));
  const int i = WebLinkIndex(id);
  return i < 0 ? std::string() : std::string(support::Trim(*urls[i]));
}

uint32_t WebLinksSetIn(const TNetworkSettings& network) {
  uint32_t bits = 0;
  for (int i = 0; i < static_cast<int>(std::size(WebLinkCommands)); ++i)
    if (!WebLinkUrl(network, WebLinkCommands[i]).empty()) bits |= 1u << i;
  return bits;
}

std::string CommandDisabledReason(CommandId id, const TCommandState& state) {
  const int i = WebLinkIndex(id);
  if (i < 0 || ((state.WebLinksSet >> i) & 1u)) return {};
  return fmt::format("Адрес страницы не задан: укажите его в параметре {} секции NETWORK файла конфигурации "
                     "Kelmora_4r32.ini (kelmora config set NETWORK {} <адрес>)",
                     LinkKeys[i], LinkKeys[i]);
}

void OpenWebLink(Session& session, CommandId id) {
  const char* key = WebLinkKey(id);
  if (!key) return;
  const std::string url = WebLinkUrl(session.Settings().Network, id);
  if (url.empty()) {
    session.GetHost().ShowMessage(MessageKind::Attention, CommandDisabledReason(id, {}));
    return;
  }
  const auto starts = [&](std::string_view scheme) {
    return url.size() > scheme.size() && support::SameText(url.substr(0, scheme.size()), scheme);
  };
  if (!starts("http://") && !starts("https://")) {
    session.GetHost().ShowMessage(
        MessageKind::Error,
        fmt::format("Адрес страницы \"{}\" не открыт: параметр {} секции NETWORK должен начинаться с http:// или "
                    "https://",
                    url, key));
    return;
  }
  session.GetHost().OpenDocument(url);
}

std::string MissingAreaText(CommandId id) {
  return fmt::format("Команда \"{}\" недоступна в этой версии программы.", Command(id).Caption);
}

bool FeatureBuilt(Feature feature) {
  switch (feature) {
    case Feature::Shell:
    case Feature::Draws:
    case Feature::DrawsTransfer:
    case Feature::Download:
    case Feature::Proxy:
    case Feature::Combs:
    case Feature::Stats:
    case Feature::Filters:
    case Feature::FilterLists:
    case Feature::Stakes:
    case Feature::Rating:
    case Feature::Scripts:
    case Feature::Tables:
    case Feature::Systems:
    case Feature::Help:
    case Feature::Graphs:
    case Feature::Card:
    case Feature::Layout:
    case Feature::Week:
    case Feature::Analysis:
    case Feature::Library:
    case Feature::Update:
    case Feature::Web:
      return true;
  }
  return false;
}

bool CommandShown(CommandId id) { return FeatureBuilt(Command(id).Needs); }

bool CommandEnabled(CommandId id, const TCommandState& state) {
  const auto& c = Command(id);
  if (!c.RunsWhileBusy && !state.Idle) return false;
  return c.Rule(state);
}

bool CommandChecked(CommandId id, const TCommandState& state) {
  const auto& c = Command(id);
  return c.Checked && c.Checked(state);
}

bool TakesSharedKey(CommandId id, const TCommandState& state) {
  switch (id) {
    case C::StatFilter_Include:
    case C::StatFilter_Exclude: return state.StatTableFocused;
    case C::FiltersManager:
    case C::FiltersReset: return !state.StatTableFocused;
    default: return true;
  }
}

std::optional<CommandId> ResolveShortcut(std::string_view shortcut, const TCommandState& state,
                                         bool (*shown)(CommandId)) {
  if (shortcut.empty()) return std::nullopt;
  for (const auto& c : Table)
    if (support::SameText(c.Shortcut, shortcut) && shown(c.Id) && TakesSharedKey(c.Id, state) &&
        CommandEnabled(c.Id, state))
      return c.Id;
  return std::nullopt;
}

bool SelectionInValueColumns(int left, int right) { return left >= 1 && right >= left && right < 9; }

TCommandState CommandStateOf(const Session& session) {
  TCommandState s;
  s.Idle = session.IsIdle();
  s.DrawsCount = static_cast<int>(session.Draws().size());
  s.StakesFileOpen = session.StakesFileOpen();
  if (const StakesState* stakes = session.StakesIfCreated()) {
    // The file has stakes when its size is not 0.
    s.StakesCount = stakes->HasStakes() ? static_cast<int>(std::max<int64_t>(1, std::min<int64_t>(stakes->Count(), std::numeric_limits<int32_t>::max()))) : 0;
    s.RatingCount = static_cast<int>(stakes->Rating().size());
  }
  // The Session builds its components in Create; before that there is nothing to count.
  if (const StatsState* stats = session.StatsIfCreated()) {
    s.StatKindChosen = stats->SelectedEntry() >= 0;
    s.StatRows = static_cast<int>(stats->Table().Rows.size());
  }
  if (const CombsState* combs = session.CombsIfCreated()) {
    s.CombsCount = combs->Count();
    s.UndoExists = combs->CanUndo();
  }
  if (const ScriptState* script = session.ScriptIfCreated()) s.ScriptLines = script->Count();
  if (const ScriptRunner* runner = session.RunnerIfCreated()) {
    s.ScriptRunning = runner->Running();
    s.StopRequested = runner->StopFlag();
  }
  if (const ViewsState* views = session.ViewsIfCreated()) s.GraphKindChosen = views->GraphEntry() >= 0;
  s.View = session.MainView();
  s.GraphsShown = s.View.TabGraphs && FeatureBuilt(Feature::Graphs);
  s.CardShown = s.View.TabCard && FeatureBuilt(Feature::Card);
  s.LayoutShown = s.View.TabLayout && FeatureBuilt(Feature::Layout);
  s.WeekShown = s.View.TabWeek && FeatureBuilt(Feature::Week);
  s.TablesShown = s.View.TabTables && FeatureBuilt(Feature::Tables);
  s.LibraryShown = s.View.ScriptLibraryOn && FeatureBuilt(Feature::Library);
  // The filter box is always there with one of its items chosen.
  s.LibraryFilterAvailable = s.LibraryShown;
  if (const LibraryState* library = session.LibraryIfCreated(); library && s.LibraryShown) {
    if (const net::tScriptInfo* entry = library->SelectedEntry()) {
      s.LibrarySelected = true;
      s.LibrarySelectedDownloadable = entry->Compatible;
      s.LibrarySelectedIsOwn = entry->Editable;
      s.LibrarySelectedRated = entry->MyRate != 0;
      s.LibrarySelectedRate = entry->MyRate;
    }
  }
  if (const SystemsState* systems = session.SystemsIfCreated()) s.SystemsShown = systems->Shown();
  s.WebLinksSet = WebLinksSetIn(session.Settings().Network);
  return s;
}

std::optional<TViewSwitchChange> ViewSwitchChange(CommandId id, const TMainViewState& v) {
  switch (id) {
    case C::ViewColorDraws: return TViewSwitchChange{"ColorDraws", !v.ColorDraws};
    case C::ViewColorCombs: return TViewSwitchChange{"ColorCombs", !v.ColorCombs};
    case C::ViewColorCard: return TViewSwitchChange{"ColorCard", !v.ColorCard};
    case C::ViewColorCardSequences: return TViewSwitchChange{"ColorCardSequences", !v.ColorCardSequences};
    case C::ViewShemaGradient: return TViewSwitchChange{"LayoutGradient", !v.LayoutGradient};
    case C::LogToggle: return TViewSwitchChange{"ScriptLogEnabled", !v.ScriptLogEnabled};
    case C::LogStakes: return TViewSwitchChange{"StakesLogEnabled", !v.StakesLogEnabled};
    case C::StakesScroll: return TViewSwitchChange{"StakesScrollEnabled", !v.StakesScrollEnabled};
    case C::StakesCheckLine: return TViewSwitchChange{"StakesCheckOnLine", !v.StakesCheckOnLine};
    case C::AutoSelfUpdate: return TViewSwitchChange{"AutoUpdates", !v.AutoUpdates};
    case C::DrawsStatShowTotalLine: return TViewSwitchChange{"ShowTotalLine", !v.ShowTotalLine};
    case C::DrawsStatePrefetchsEnabled: return TViewSwitchChange{"PrefetchsEnabled", !v.PrefetchsEnabled};
    case C::ViewWeekChartMode: return TViewSwitchChange{"WeekChartMode", v.WeekChartMode == 1 ? 0 : 1};
    case C::ViewWeekChartType: return TViewSwitchChange{"WeekChartType", !v.WeekChartType};
    case C::ScriptLibrary: return TViewSwitchChange{"ScriptLibraryOn", !v.ScriptLibraryOn};
    case C::TabGraps: return TViewSwitchChange{"TabGraphs", !v.TabGraphs};
    case C::TabCard: return TViewSwitchChange{"TabCard", !v.TabCard};
    case C::TabLayout: return TViewSwitchChange{"TabLayout", !v.TabLayout};
    case C::TabWeek: return TViewSwitchChange{"TabWeek", !v.TabWeek};
    case C::TabTables: return TViewSwitchChange{"TabTables", !v.TabTables};
    case C::AutoDownload0: return TViewSwitchChange{"DownloadDrawsOnStart", 0};
    case C::AutoDownload1: return TViewSwitchChange{"DownloadDrawsOnStart", 1};
    case C::AutoDownload2: return TViewSwitchChange{"DownloadDrawsOnStart", 2};
    case C::RatingsEffMode0: return TViewSwitchChange{"RatingsEffMode", 0};
    case C::RatingsEffMode1: return TViewSwitchChange{"RatingsEffMode", 1};
    case C::RatingsEffMode2: return TViewSwitchChange{"RatingsEffMode", 2};
    default: return std::nullopt;
  }
}

void ApplyViewSwitch(TMainViewState& v, const TViewSwitchChange& change) {
  const std::string_view key = change.Key;
  const int32_t value = change.Value;
  const bool on = value != 0;
  if (key == "ColorDraws") v.ColorDraws = on;
  else if (key == "ColorCombs") v.ColorCombs = on;
  else if (key == "ColorCard") v.ColorCard = on;
  else if (key == "ColorCardSequences") v.ColorCardSequences = on;
  else if (key == "LayoutGradient") v.LayoutGradient = on;
  else if (key == "ScriptLogEnabled") v.ScriptLogEnabled = on;
  else if (key == "StakesLogEnabled") v.StakesLogEnabled = on;
  else if (key == "StakesScrollEnabled") v.StakesScrollEnabled = on;
  else if (key == "StakesCheckOnLine") v.StakesCheckOnLine = on;
  else if (key == "AutoUpdates") v.AutoUpdates = on;
  else if (key == "ShowTotalLine") v.ShowTotalLine = on;
  else if (key == "PrefetchsEnabled") v.PrefetchsEnabled = on;
  else if (key == "WeekChartMode") v.WeekChartMode = value;
  else if (key == "WeekChartType") v.WeekChartType = on;
  else if (key == "ScriptLibraryOn") v.ScriptLibraryOn = on;
  else if (key == "TabGraphs") v.TabGraphs = on;
  else if (key == "TabCard") v.TabCard = on;
  else if (key == "TabLayout") v.TabLayout = on;
  else if (key == "TabWeek") v.TabWeek = on;
  else if (key == "TabTables") v.TabTables = on;
  else if (key == "DownloadDrawsOnStart") v.DownloadDrawsOnStart = value;
  else if (key == "RatingsEffMode") v.RatingsEffMode = value;
}

}  // namespace kelmora::shell
