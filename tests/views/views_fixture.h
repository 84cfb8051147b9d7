#pragma once
// Small archives for the view tests: draws numbered from 1 unless a number is given.

#include <string>

#include "lottery/types.h"

namespace kelmora::testing {

struct ViewDraws {
  lottery::TDrawsArray draws;
  ViewDraws& Add(int s, int h, int d, int c, std::string date = {}) {
    draws.push_back({static_cast<int32_t>(draws.size()) + 1, lottery::MakeComb(s, h, d, c), std::move(date)});
    return *this;
  }
};

}  // namespace kelmora::testing
