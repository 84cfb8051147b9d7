#include "views/view_filters.h"

#include <algorithm>

#include "lottery/comb_text.h"
#include "support/text.h"

namespace kelmora::views {

namespace {

void Add(TViewSelection& out, const std::string& text) {
  const int value = lottery::TextToValue(text);
  const bool known = std::any_of(out.Selected.begin(), out.Selected.end(),
                                 [value](const stats::TStatDrawItem& item) { return item.Key1 == value; });
  if (known) return;
  stats::TStatDrawItem item;
  item.Key1 = static_cast<uint16_t>(value);
  out.Selected.push_back(item);
  out.Texts.push_back(text);
}

template <typename Words>
TViewSelection Walk(const CellText& cell, const TCellRect& rect, Words words) {
  TViewSelection out;
  for (int c = rect.Left; c <= rect.Right; ++c)
    for (int r = rect.Top; r <= rect.Bottom; ++r) {
      const std::string text = cell(r, c);
      if (text.empty()) continue;
      for (const std::string& word : words(text))
        if (!word.empty()) Add(out, word);
    }
  return out;
}

}  // namespace

TViewSelection CollectCardValues(const CellText& cell, const TCellRect& rect) {
  return Walk(cell, rect, [](const std::string& text) { return std::vector<std::string>{text}; });
}

TViewSelection CollectLayoutValues(const CellText& cell, const TCellRect& rect) {
  return Walk(cell, rect, [](const std::string& text) {
    std::vector<std::string> words;
    for (const std::string& piece : support::Split(text, ",")) {
      std::string word;
      for (char ch : piece)
        if (ch != '[' && ch != ']') word += ch;
      words.push_back(std::string(support::Trim(word)));
    }
    return words;
  });
}

TViewSelection CollectWeekValues(int left, int right) {
  TViewSelection out;
  for (int i = std::max(left, 1); i <= std::min(right, 8); ++i) Add(out, lottery::ValueToText(i + 6));
  return out;
}

}  // namespace kelmora::views
