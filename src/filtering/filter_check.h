#pragma once
// The filter editor's checks on confirmation, without widgets, so the desktop editor and any other
// front end refuse the same recipes with the same words.

#include <optional>
#include <string>
#include <string_view>

namespace kelmora::filtering {

// A refusal: the message to show and the editor field that gets the focus ("edDrawsLen",
// "cbLevelMode", "edLevelValue", "cbStopMode").
struct TFilterRefusal {
  std::string Message;
  std::string Field;
};

// The checks in their order: the draws list, list selection on a statistic that cannot select by
// list, the selection value list, multi selection with stop mode SC. nullopt when all pass.
std::optional<TFilterRefusal> CheckFilterInput(std::string_view draws_len, int level_mode, bool can_select_by_list,
                                               std::string_view level_value, bool multi_select, int stop_mode);

}  // namespace kelmora::filtering
