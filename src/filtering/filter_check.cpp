#include "filtering/filter_check.h"

#include "filtering/filter_text.h"
#include "lottery/comb_ops.h"

namespace kelmora::filtering {

namespace {
constexpr const char* BadRange = "Введен некорректный диапазон значений!";
}  // namespace

std::optional<TFilterRefusal> CheckFilterInput(std::string_view draws_len, int level_mode, bool can_select_by_list,
                                               std::string_view level_value, bool multi_select, int stop_mode) {
  const auto draws = lottery::ParseValueList(draws_len);
  if (draws.empty() || (draws.size() == 1 && draws[0] == 0)) return TFilterRefusal{BadRange, "edDrawsLen"};
  if (level_mode > 0) {
    if (level_mode == LVA && !can_select_by_list)
      return TFilterRefusal{"Для данного вида статистики не доступен режим выделения по списку значений!", "cbLevelMode"};
    if (lottery::ParseValueList(level_value).empty()) return TFilterRefusal{BadRange, "edLevelValue"};
  }
  if (multi_select && stop_mode == SC)
    return TFilterRefusal{"В режиме мультивыделения остановка сценария по количеству комбинаций или чисел не может быть "
                          "выполнена!\rВыберите другой способ останова.",
                          "cbStopMode"};
  return std::nullopt;
}

}  // namespace kelmora::filtering
