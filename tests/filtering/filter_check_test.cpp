#include "filtering/filter_check.h"

#include <gtest/gtest.h>

#include "filtering/filter_text.h"

namespace kelmora::filtering {
namespace {

TEST(FilterCheck, RefusesInTheEditorsOrderWithItsWords) {
  struct Case {
    const char* draws;
    int level_mode;
    bool by_list;
    const char* level_value;
    bool multi;
    int stop_mode;
    const char* field;  // "" when accepted
    const char* message;
  };
  const char* bad_range = "Введен некорректный диапазон значений!";
  const Case cases[] = {
      {"0", 0, true, "", false, 0, "edDrawsLen", bad_range},
      {"", 0, true, "", false, 0, "edDrawsLen", bad_range},
      {"1,3,x", 0, true, "", false, 0, "edDrawsLen", bad_range},
      {"10", LVA, false, "1", false, 0, "cbLevelMode",
       "Для данного вида статистики не доступен режим выделения по списку значений!"},
      {"10", LVA, true, "", false, 0, "edLevelValue", bad_range},
      {"10", 0, true, "", true, SC, "cbStopMode",
       "В режиме мультивыделения остановка сценария по количеству комбинаций или чисел не может быть выполнена!"
       "\rВыберите другой способ останова."},
      {"0", LVA, false, "", true, SC, "edDrawsLen", bad_range},  // the first failing check wins
      {"10,20", LVA, true, "3,5", true, 0, "", ""},
      {"100-300;100", 0, false, "", false, SC, "", ""},
  };
  for (const auto& c : cases) {
    const auto refusal = CheckFilterInput(c.draws, c.level_mode, c.by_list, c.level_value, c.multi, c.stop_mode);
    if (*c.field == 0) {
      EXPECT_FALSE(refusal) << c.draws << " " << c.level_value;
      continue;
    }
    ASSERT_TRUE(refusal) << c.draws << " " << c.level_value;
    EXPECT_EQ(refusal->Field, c.field);
    EXPECT_EQ(refusal->Message, c.message);
  }
}

}  // namespace
}  // namespace kelmora::filtering
