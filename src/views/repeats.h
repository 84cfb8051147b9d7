#pragma once
// The window "Количество повторов в зависимости от тиража": pairs of draws that share values in the
// same positions, counted per draw and per number of matches, and its chart.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "lottery/types.h"
#include "support/chart_data.h"

namespace kelmora::views {

inline constexpr const char* RepeatsCaption = "Количество повторов в зависимости от тиража";

struct TRepeatRow {
  int32_t Draw = 0;     // "Тираж"
  int32_t Matches = 0;  // "Совпадений"
  int32_t Count = 0;    // "Кол-во повторов"
  std::string Draws;    // "Список тиражей": the earlier draws' numbers, " " between them
};
struct TRepeats {
  std::vector<TRepeatRow> Rows;
  int MaxMatches = 0;
};

// Each of the newest `length` draws of the whole archive against the up to `deep` draws before it.
// `step` (may be empty) is called once per examined draw with its 1-based count; it returns false
// to stop early (the rows so far are kept).
TRepeats BuildRepeats(const lottery::TDrawsArray& draws, int64_t length, int64_t deep,
                      const std::function<bool(int)>& step = {});

// One line series "Совпадений: %d" per match count 1..MaxMatches with colours drawn from `seed`;
// the rows' points from the last row to the first.
support::ChartData RepeatsChart(const TRepeats& repeats, uint32_t seed);

}  // namespace kelmora::views
