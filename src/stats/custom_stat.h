#pragma once
// The statistic classes: TStatClass is the class reference the registry holds (what the system's
// class operations answer without an instance), TCustomStat the instance with its ordered virtual
// operations, and the intermediate bases every family derives from.

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

#include "lottery/types.h"
#include "stats/stat_item.h"

namespace kelmora::stats {

class TStatList;
class TCustomStat;

// A statistic class: its code and caption formats, group, flags and answers, and its constructor.
// Descriptors are constant tables of the family files; the registry only points at them.
struct TStatClass {
  int Ordinal = 0;                       // place in the system's table of classes, 1..143
  const char* ClassName = "";
  const char* CodeFormat = "";           // "NUMS", or "POS%d" for indexed classes
  const char* CaptionFormat = "";        // may hold "%0:d" (the index) and "%%s" (a formula)
  const char* HelpTopicFormat = nullptr; // nullptr: the code format
  uint8_t Group = 0;                     // 0..12
  uint8_t Flags = 0;                     // bits of StatFlag without FlagGraph
  bool IsAvailable = true;
  bool IsListed = true;
  bool IsGraph = false;
  bool CanSelectByList = true;
  bool IsIndexed = false;
  // The index range of an indexed class; nullptr gives (0, 0). May read the list's settings.
  TIndexRange (*IndexRange)(const TStatList& list) = nullptr;
  // Creates an instance; the caller owns it.
  std::unique_ptr<TCustomStat> (*Create)(const TStatList& list, const TStatClass& cls, int32_t index) = nullptr;
  // The caption of an index when the class fills more than the index into its caption; nullptr:
  // Format(CaptionFormat, [index]).
  std::string (*CaptionOf)(int32_t index) = nullptr;

  uint8_t AllFlags() const { return static_cast<uint8_t>(Flags | (IsGraph ? FlagGraph : 0)); }
  bool HasNorm() const { return (Flags & FlagNorm) != 0; }
  std::string Code(int32_t index) const;     // Format(CodeFormat, [index])
  std::string Caption(int32_t index) const;  // Format(CaptionFormat, [index])
  std::string HelpTopic(int32_t index) const;
  TIndexRange GetIndexRange(const TStatList& list) const;
};

// Creator for TStatClass::Create.
template <typename T>
std::unique_ptr<TCustomStat> CreateStatOf(const TStatList& list, const TStatClass& cls, int32_t index) {
  return std::make_unique<T>(list, cls, index);
}

// The draw as a statistic reads it: number and values (sorted ascending when asked).
struct TStatDraw {
  int32_t Number = 0;
  lottery::TComb Values = 0;
  uint8_t Value(int position) const { return lottery::CombValue(Values, position); }  // 0..3
};

// Delphi-style formatting of the class texts: "%d", "%0:d" take the index, "%%" gives "%".
std::string FormatIndex(std::string_view format, int32_t index);
// "%s", "%0:s" take the text, "%%" gives "%".
std::string FormatText(std::string_view format, std::string_view text);

// One statistic object, created for one use (a table, a filtering, a prefetch file, a graph) and
// freed by its user. CurDraw, RefDraw and Item are scratch state overwritten by every call. The
// draws array and the list must outlive the object.
class TCustomStat {
 public:
  TCustomStat(const TStatList& list, const TStatClass& cls, int32_t index);
  virtual ~TCustomStat() = default;
  TCustomStat(const TCustomStat&) = delete;
  TCustomStat& operator=(const TCustomStat&) = delete;

  const TStatClass& StatClass() const { return cls_; }
  int32_t Index() const { return index_; }
  const TStatDraw& CurDraw() const { return cur_draw_; }
  const TStatDraw& RefDraw() const { return ref_draw_; }
  std::string GetCaption() const { return cls_.Caption(index_); }

  // 18: the text of a value, the row caption of the statistics table.
  virtual std::string ValueText(const TStatDrawItem& item) const = 0;
  // 19: the integer in s, 0 when s is not one.
  virtual int32_t ValueFromText(std::string_view s) const;
  // 20: CanSelectByList ? ValueFromText(s) : 0.
  virtual int32_t ValueOf(std::string_view s) const;
  // 21: adds every possible value with Count 0, in the natural order (the base adds none).
  virtual void ListAllValues(int last_idx, TStatDrawArray& values);
  // 22: CurDraw := draw draw_idx; for "D" classes RefDraw := draw last_idx.
  virtual void FetchDraws(int draw_idx, int last_idx, bool sorted);
  // 23: adds the combination's values with Count 1 each, without period tracking.
  virtual void AddCombValues(lottery::TComb comb, TStatDrawArray& values);
  // 24: adds the values of draw draw_idx of the window ending at last_idx, as a rule with periods.
  virtual void AddDrawValues(int draw_idx, int last_idx, bool sorted, TStatDrawArray& values, TStatWork& work,
                             TLastValueArray& last_values);
  // 25: the number of the first draw from from_idx to the archive's end whose values hold item's
  // keys; -1 when none.
  virtual int32_t NextOccurrence(const TStatDrawItem& item, int from_idx, int last_idx, bool sorted);
  // 26: whether the combination has at least one of the selected values. Call FetchDraws(-1,
  // last_idx, sorted) once before a pass. Must not allocate: it runs once per combination. Reads
  // only the keys (Key1..Key4) of the selected records and their order, never their counts or
  // periods, so the answers for the same keys hold for every table of the statistic (the fast
  // application of filter variants keeps them on that ground).
  virtual bool CombMatches(lottery::TComb comb, const TStatDrawArray& selected, int last_idx, bool sorted,
                           bool exclude) = 0;

  // Whether the values AddDrawValues adds for a draw depend on the draws added before it (through
  // the work area or the last-values list). When false, a draw's values depend only on the archive,
  // the draw and last_idx, which lets the table search every row's next occurrence in one scan.
  virtual bool KeepsScanState() const { return false; }

  // Draw idx, values sorted when asked; all zero when idx is outside the archive or there are none.
  TStatDraw GetDraw(int idx, bool sorted) const;
  int LastDrawIndex() const;  // last index of the archive, -1 when empty

 protected:
  const TStatList& list_;
  const TStatClass& cls_;
  int32_t index_;
  const lottery::TDrawsArray* draws_;
  TStatDraw cur_draw_;
  TStatDraw ref_draw_;
  TStatDrawItem item_;

 private:
  // Reused by NextOccurrence so that the per-row search allocates nothing after the first call.
  TStatDrawArray next_values_;
  TLastValueArray next_last_values_;
};

// Graph classes: the value a combination is plotted at.
class TCustomGraphStat : public TCustomStat {
 public:
  using TCustomStat::TCustomStat;
  std::string ValueText(const TStatDrawItem& item) const override;  // decimal Key1
  // 27: the number plotted for the combination evaluated as if it were draw draw_idx.
  virtual int32_t GraphValue(lottery::TComb comb, int draw_idx, int last_idx, bool sorted) = 0;
  // 28: GraphValue of draw draw_idx's values (sorted when asked).
  virtual int32_t DrawGraphValue(int draw_idx, int last_idx, bool sorted);
};

// Values are card values: "J", "Q", "K", "A" for 11..14.
class TCustomValuesStat : public TCustomStat {
 public:
  using TCustomStat::TCustomStat;
  std::string ValueText(const TStatDrawItem& item) const override;
};

// Values are plain numbers.
class TCustomNumbersStat : public TCustomStat {
 public:
  using TCustomStat::TCustomStat;
  std::string ValueText(const TStatDrawItem& item) const override;
};

// Values k of four: "k:4-k"; reading takes the part before the first ":".
class TCustomRatioStat : public TCustomGraphStat {
 public:
  using TCustomGraphStat::TCustomGraphStat;
  std::string ValueText(const TStatDrawItem& item) const override;
  int32_t ValueFromText(std::string_view s) const override;
};

// Values are 4-bit masks in Key1+Key2, written as letters (bit 3 first) and "(%.3d)".
class TCustomMaskStat : public TCustomStat {
 public:
  using TCustomStat::TCustomStat;
  std::string ValueText(const TStatDrawItem& item) const override;
  int32_t ValueFromText(std::string_view s) const override;
  void ListAllValues(int last_idx, TStatDrawArray& values) override;  // masks 0..15
  virtual std::string FalseChar() const = 0;  // 27: the letter of a 0 bit
  virtual std::string TrueChar() const = 0;   // 28: the letter of a 1 bit
};

// Bases of the channel, matrix and segment families: they read their setting once at creation.
class TCustomChannelsStat : public TCustomNumbersStat {
 public:
  TCustomChannelsStat(const TStatList& list, const TStatClass& cls, int32_t index);
 protected:
  int32_t channel_size_;
};
class TCustomChannelsGraphStat : public TCustomGraphStat {
 public:
  TCustomChannelsGraphStat(const TStatList& list, const TStatClass& cls, int32_t index);
 protected:
  int32_t channel_size_;
};
class TCustomMatrixStat : public TCustomNumbersStat {
 public:
  TCustomMatrixStat(const TStatList& list, const TStatClass& cls, int32_t index);
 protected:
  int32_t matrix_cols_;
};
class TCustomMatrixGraphStat : public TCustomGraphStat {
 public:
  TCustomMatrixGraphStat(const TStatList& list, const TStatClass& cls, int32_t index);
 protected:
  int32_t matrix_cols_;
};
class TCustomSegmentsStat : public TCustomNumbersStat {
 public:
  TCustomSegmentsStat(const TStatList& list, const TStatClass& cls, int32_t index);
 protected:
  lottery::TMatrixSegments segments_;
};
class TCustomSegmentsGraphStat : public TCustomGraphStat {
 public:
  TCustomSegmentsGraphStat(const TStatList& list, const TStatClass& cls, int32_t index);
 protected:
  lottery::TMatrixSegments segments_;
};

}  // namespace kelmora::stats
