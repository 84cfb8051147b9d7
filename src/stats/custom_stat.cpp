#include "stats/custom_stat.h"

#include <fmt/format.h>

#include "lottery/comb_ops.h"
#include "lottery/comb_text.h"
#include "stats/stat_list.h"
#include "support/files.h"
#include "support/text.h"

namespace kelmora::stats {

namespace {

// Replaces the argument specifiers of a Delphi Format with one argument: conversion `kind`
// ('d' or 's') with an optional "0:" index.
std::string FormatOne(std::string_view format, char kind, std::string_view arg) {
  std::string out;
  out.reserve(format.size() + arg.size());
  for (size_t i = 0; i < format.size(); ++i) {
    if (format[i] != '%') {
      out += format[i];
      continue;
    }
    if (i + 1 < format.size() && format[i + 1] == '%') {
      out += '%';
      ++i;
      continue;
    }
    size_t j = i + 1;
    if (j + 1 < format.size() && format[j] == '0' && format[j + 1] == ':') j += 2;
    if (j < format.size() && format[j] == kind) {
      out += arg;
      i = j;
    } else {
      out += '%';
    }
  }
  return out;
}

// Each UTF-8 character of s (a lead byte and its continuation bytes).
std::vector<std::string_view> Utf8Chars(std::string_view s) {
  std::vector<std::string_view> chars;
  size_t i = 0;
  while (i < s.size()) {
    size_t n = 1;
    while (i + n < s.size() && (static_cast<unsigned char>(s[i + n]) & 0xC0) == 0x80) ++n;
    chars.push_back(s.substr(i, n));
    i += n;
  }
  return chars;
}

}  // namespace

std::string FormatIndex(std::string_view format, int32_t index) {
  return FormatOne(format, 'd', std::to_string(index));
}

std::string FormatText(std::string_view format, std::string_view text) { return FormatOne(format, 's', text); }

std::string TStatClass::Code(int32_t index) const { return FormatIndex(CodeFormat, index); }
std::string TStatClass::Caption(int32_t index) const {
  return CaptionOf ? CaptionOf(index) : FormatIndex(CaptionFormat, index);
}
std::string TStatClass::HelpTopic(int32_t index) const {
  return FormatIndex(HelpTopicFormat ? HelpTopicFormat : CodeFormat, index);
}

TIndexRange TStatClass::GetIndexRange(const TStatList& list) const {
  return IndexRange ? IndexRange(list) : TIndexRange{};
}

TCustomStat::TCustomStat(const TStatList& list, const TStatClass& cls, int32_t index)
    : list_(list), cls_(cls), index_(index), draws_(&list.Draws()) {}

int32_t TCustomStat::ValueFromText(std::string_view s) const { return support::ParseInt(s).value_or(0); }

int32_t TCustomStat::ValueOf(std::string_view s) const { return cls_.CanSelectByList ? ValueFromText(s) : 0; }

void TCustomStat::ListAllValues(int /*last_idx*/, TStatDrawArray& /*values*/) { item_ = TStatDrawItem{}; }

int TCustomStat::LastDrawIndex() const { return draws_ ? static_cast<int>(draws_->size()) - 1 : -1; }

TStatDraw TCustomStat::GetDraw(int idx, bool sorted) const {
  if (!draws_ || idx < 0 || idx > LastDrawIndex()) return {};
  const auto& d = (*draws_)[static_cast<size_t>(idx)];
  return {d.Number, sorted ? lottery::SortComb(d.Values) : d.Values};
}

void TCustomStat::FetchDraws(int draw_idx, int last_idx, bool sorted) {
  cur_draw_ = GetDraw(draw_idx, sorted);
  if (cls_.Flags & FlagDepends) ref_draw_ = GetDraw(last_idx, sorted);
}

void TCustomStat::AddCombValues(lottery::TComb /*comb*/, TStatDrawArray& /*values*/) {
  item_ = TStatDrawItem{};
  item_.Count = 1;
}

void TCustomStat::AddDrawValues(int draw_idx, int last_idx, bool sorted, TStatDrawArray& /*values*/,
                                TStatWork& /*work*/, TLastValueArray& /*last_values*/) {
  FetchDraws(draw_idx, last_idx, sorted);
  item_ = TStatDrawItem{};
  item_.LastDraw = item_.PrevDraw = cur_draw_.Number;
  item_.Depth = last_idx - draw_idx + 1;
  item_.Count = 1;
}

int32_t TCustomStat::NextOccurrence(const TStatDrawItem& item, int from_idx, int last_idx, bool sorted) {
  const int last = LastDrawIndex();
  if (last < from_idx) return -1;
  TStatWork work;
  for (int d = std::max(from_idx, 0); d <= last; ++d) {
    next_values_.clear();
    next_last_values_.clear();
    AddDrawValues(d, last_idx, sorted, next_values_, work, next_last_values_);
    const int found = FindItem(next_values_, item);
    if (found >= 0) return next_values_[static_cast<size_t>(found)].LastDraw;
  }
  return -1;
}

std::string TCustomGraphStat::ValueText(const TStatDrawItem& item) const { return std::to_string(item.Key1); }

int32_t TCustomGraphStat::DrawGraphValue(int draw_idx, int last_idx, bool sorted) {
  return GraphValue(GetDraw(draw_idx, sorted).Values, draw_idx, last_idx, sorted);
}

std::string TCustomValuesStat::ValueText(const TStatDrawItem& item) const { return lottery::ValueToText(item.Key1); }

std::string TCustomNumbersStat::ValueText(const TStatDrawItem& item) const { return std::to_string(item.Key1); }

std::string TCustomRatioStat::ValueText(const TStatDrawItem& item) const {
  return fmt::format("{}:{}", item.Key1, 4 - static_cast<int>(item.Key1));
}

int32_t TCustomRatioStat::ValueFromText(std::string_view s) const {
  return support::ParseInt(s.substr(0, s.find(':'))).value_or(0);
}

std::string TCustomMaskStat::ValueText(const TStatDrawItem& item) const {
  const int32_t mask = item.KeyDword(1);
  std::string letters;
  for (int bit = 0; bit < 4; ++bit) letters = ((mask >> bit) & 1 ? TrueChar() : FalseChar()) + letters;
  return fmt::format("{} ({:03d})", letters, mask);
}

int32_t TCustomMaskStat::ValueFromText(std::string_view s) const {
  const auto chars = Utf8Chars(s);
  const std::string true_char = TrueChar();
  int32_t result = 0;
  for (size_t i = 0; i < 4; ++i) result = result * 2 + (i < chars.size() && chars[i] == true_char ? 1 : 0);
  return result;
}

void TCustomMaskStat::ListAllValues(int last_idx, TStatDrawArray& values) {
  TCustomStat::ListAllValues(last_idx, values);
  for (int32_t mask = 0; mask <= 15; ++mask) {
    item_.SetKeyDword(1, mask);
    AddOccurrence(values, item_, false);
  }
}

TCustomChannelsStat::TCustomChannelsStat(const TStatList& list, const TStatClass& cls, int32_t index)
    : TCustomNumbersStat(list, cls, index), channel_size_(list.Config().ChannelSize) {}
TCustomChannelsGraphStat::TCustomChannelsGraphStat(const TStatList& list, const TStatClass& cls, int32_t index)
    : TCustomGraphStat(list, cls, index), channel_size_(list.Config().ChannelSize) {}
TCustomMatrixStat::TCustomMatrixStat(const TStatList& list, const TStatClass& cls, int32_t index)
    : TCustomNumbersStat(list, cls, index), matrix_cols_(list.Config().MatrixCols) {}
TCustomMatrixGraphStat::TCustomMatrixGraphStat(const TStatList& list, const TStatClass& cls, int32_t index)
    : TCustomGraphStat(list, cls, index), matrix_cols_(list.Config().MatrixCols) {}
TCustomSegmentsStat::TCustomSegmentsStat(const TStatList& list, const TStatClass& cls, int32_t index)
    : TCustomNumbersStat(list, cls, index), segments_(list.Config().MatrixSegments) {}
TCustomSegmentsGraphStat::TCustomSegmentsGraphStat(const TStatList& list, const TStatClass& cls, int32_t index)
    : TCustomGraphStat(list, cls, index), segments_(list.Config().MatrixSegments) {}

}  // namespace kelmora::stats
