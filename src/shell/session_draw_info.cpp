// Rows of the draw details dialog.

#include "shell/session.h"

namespace kelmora::shell {

std::vector<std::pair<std::string, std::string>> Session::DrawDetailRows(int row) {
  std::vector<std::pair<std::string, std::string>> rows;
  const int count = static_cast<int>(draws_.size());
  if (row < 0 || row >= count) return rows;
  BusyGuard busy(*this);
  const int index = count - 1 - row;
  const lottery::TDrawRec& draw = draws_[index];
  rows.emplace_back("Номер тиража:", std::to_string(draw.Number));
  rows.emplace_back("Дата тиража:", draw.Date);
  // The statistics engine appends one row per graph statistic of the registry here: its caption
  // and GraphValue of draw.Values with `index` as draw and last index, honouring SortedDraws,
  // while the busy state is held.
  return rows;
}

}  // namespace kelmora::shell
