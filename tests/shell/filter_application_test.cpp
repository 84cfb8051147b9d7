// The fast application of filter variants against the literal one: two Sessions over the same
// archive apply the same variants from the same start lists, one through CombsState's literal walk,
// the other through a FilterApplication, and must leave everything the same after every variant.

#include "shell/filter_application.h"

#include <algorithm>
#include <optional>

#include <gtest/gtest.h>

#include "common/temp_dir.h"
#include "filtering/comb_list.h"
#include "filtering/filter_apply.h"
#include "lottery/comb_text.h"
#include "lottery/draws.h"
#include "shell/combs_state.h"
#include "shell/recording_host.h"
#include "shell/session.h"
#include "shell/stats_state.h"

namespace kelmora::shell {
namespace {

using filtering::TCombsArray;

lottery::TDrawsArray Archive(int count) {
  lottery::TDrawsArray draws;
  uint32_t x = 12345;
  for (int i = 0; i < count; ++i) {
    x = x * 1103515245u + 12345u;
    draws.push_back({i + 1, lottery::CombOfIndex(static_cast<int>((x >> 8) % 4096)), ""});
  }
  return draws;
}

// Everything a variant leaves that anybody can see.
struct Outcome {
  TCombsArray Combs;
  TCombsArray Undo;
  std::vector<filtering::TFilterHistoryItem> History;
  std::vector<std::string> Log;
  std::vector<std::string> StatusTexts;
  std::vector<std::string> Messages;
  std::string Error;
  std::vector<std::array<std::string, stats::StatColumnCount>> Table;
  int Selected = -1;
  int Window = 0;
  int SortColumn = 0;
  bool Descending = false;
  lottery::TCdlSettings Cdl;
  bool operator==(const Outcome&) const = default;
};

std::string Describe(const Outcome& o) {
  std::string s = "combs " + std::to_string(o.Combs.size()) + ", undo " + std::to_string(o.Undo.size()) +
                  ", history " + std::to_string(o.History.size()) + ", log " + std::to_string(o.Log.size()) +
                  ", status " + std::to_string(o.StatusTexts.size()) + ", rows " + std::to_string(o.Table.size()) +
                  ", selected " + std::to_string(o.Selected) + ", window " + std::to_string(o.Window);
  if (!o.Error.empty()) s += ", error: " + o.Error;
  return s;
}

// One Session with its host and log; `fast` says which application it uses.
class Side {
 public:
  Side(const lottery::TDrawsArray& draws, bool fast, size_t max_bytes = FilterApplication::DefaultMaxBytes) {
    lottery::SaveDrawsFile(dir_ / "Kelmora_4r32.ldr", draws);
    SessionOptions options;
    options.DataDir = dir_.Path();
    session_ = std::make_unique<Session>(host_, options);
    session_->Create();
    session_->Initialise();
    if (fast) fast_ = std::make_unique<FilterApplication>(*session_, max_bytes);
    signals_.Log = [this](std::string_view entry) { log_.emplace_back(entry); };
    signals_.StopRequested = [this] { return stop_after_ >= 0 && ++stop_checks_ > stop_after_; };
    signals_.Application = fast_.get();
  }

  Session& S() { return *session_; }
  FilterApplication* Fast() { return fast_.get(); }
  void StopAfter(int checks) {
    stop_after_ = checks;
    stop_checks_ = 0;
  }

  Outcome Apply(const filtering::TFilterRec& rec) {
    host_.StatusTexts.clear();
    host_.Messages.clear();
    log_.clear();
    Outcome o;
    try {
      session_->Combs().ApplyFilterVar(rec, signals_);
    } catch (const std::exception& e) {
      o.Error = e.what();
    }
    const auto& lists = session_->Combs().Lists();
    o.Combs = lists.CombList;
    o.Undo = lists.UndoList;
    o.History = lists.FilterHistory;
    o.Log = log_;
    o.StatusTexts = host_.StatusTexts;
    for (const auto& m : host_.Messages) o.Messages.push_back(m.Text);
    for (const auto& row : session_->Stats().Table().Rows) o.Table.push_back(row.Cells);
    o.Selected = session_->Stats().SelectedEntry();
    o.Window = session_->Stats().WindowLength();
    o.SortColumn = session_->Stats().SortColumn();
    o.Descending = session_->Stats().SortDescending();
    o.Cdl = session_->Stats().List().Cdl();
    return o;
  }

 private:
  testing::TempDir dir_;
  RecordingHost host_;
  std::unique_ptr<Session> session_;
  std::unique_ptr<FilterApplication> fast_;
  FilterRunSignals signals_;
  std::vector<std::string> log_;
  int stop_after_ = -1;
  int stop_checks_ = 0;
};

// The literal and the fast side over one archive, set up alike.
class FilterApplicationTest : public ::testing::Test {
 protected:
  explicit FilterApplicationTest(int draws = 400) : literal_(Archive(draws), false), fast_(Archive(draws), true) {}

  void Both(const std::function<void(Session&)>& f) {
    f(literal_.S());
    f(fast_.S());
  }

  std::vector<filtering::TFilterRec> Variants(const std::vector<std::string>& recipes) {
    std::vector<filtering::TFilterItem> items;
    for (const auto& r : recipes) items.push_back(filtering::FilterItemFromText(r, literal_.S().Stats().List()));
    const auto variants = filtering::ExpandFilterVariants(items);
    std::vector<filtering::TFilterRec> recs;
    for (int64_t v = 0; v < variants.Count; ++v) {
      recs.push_back(variants.Variant(v));  // with the literal side's registry entries
    }
    return recs;
  }

  // The same part with the method of the other Session's registry.
  static filtering::TFilterRec OnSession(filtering::TFilterRec rec, Session& from, Session& to) {
    for (auto& part : rec) {
      if (!part.Method) continue;
      for (int i = 0; i < from.Stats().List().Count(); ++i) {
        if (&from.Stats().List().Items(i) == part.Method) part.Method = &to.Stats().List().Items(i);
      }
    }
    return rec;
  }

  // Applies every variant of the steps from `start` on both sides; with `carry_on` a variant starts
  // from what the one before left (a CURR step), else from the start list.
  std::vector<Outcome> ExpectSame(const std::vector<std::vector<std::string>>& steps, const TCombsArray& start,
                                  bool carry_on, const std::string& label) {
    std::vector<filtering::TFilterRec> recs;
    for (const auto& recipes : steps) {
      for (auto& rec : Variants(recipes)) recs.push_back(std::move(rec));
    }
    return ExpectSameVariants(recs, start, carry_on, label);
  }

  // Returns the outcomes (the same on both sides).
  std::vector<Outcome> ExpectSameVariants(const std::vector<filtering::TFilterRec>& recs, const TCombsArray& start,
                                          bool carry_on, const std::string& label) {
    Both([&](Session& s) { s.Combs().ReplaceList(start); });
    std::vector<Outcome> outcomes;
    {
      for (const auto& rec : recs) {
        if (!carry_on) Both([&](Session& s) { s.Combs().ReplaceList(start); });
        const Outcome a = literal_.Apply(rec);
        const Outcome b = fast_.Apply(OnSession(rec, literal_.S(), fast_.S()));
        const std::string text = filtering::FilterVarToText(rec);
        EXPECT_EQ(a.Combs, b.Combs) << label << ": " << text << "\n" << Describe(a) << "\n" << Describe(b);
        EXPECT_EQ(a.Undo, b.Undo) << label << ": " << text;
        EXPECT_EQ(a.History, b.History) << label << ": " << text;
        EXPECT_EQ(a.Log, b.Log) << label << ": " << text;
        EXPECT_EQ(a.StatusTexts, b.StatusTexts) << label << ": " << text;
        EXPECT_EQ(a, b) << label << ": " << text << "\n" << Describe(a) << "\n" << Describe(b);
        if (a != b) return outcomes;
        outcomes.push_back(a);
      }
    }
    return outcomes;
  }

  Side literal_;
  Side fast_;
};

TCombsArray FullList() {
  TCombsArray combs;
  filtering::GenerateCombs(0, "", combs);
  return combs;
}

TCombsArray ReducedList() {
  TCombsArray combs;
  filtering::GenerateCombs(3, "A", combs);  // no ace anywhere: 2401 combinations in full-set order
  return combs;
}

// A list as a file may hold it: its own order, and one combination twice.
TCombsArray FileOrderList() {
  TCombsArray combs;
  for (int i = 0; i < 4096; i += 3) combs.push_back(lottery::CombOfIndex((i * 1237) % 4096));
  combs.push_back(combs[5]);
  return combs;
}

// Single and multiple selection, top-down and bottom-up, keep and delete, every stop mode, every
// family of level modes, list modes, weights of the step's own, and the families whose test reads
// the draws (periods, sum changes, shredding) or is not a union over rows (SUM1).
const std::vector<std::vector<std::string>> Steps = {
    {"TSD1#NUMS:10-30;10#LMV:1-3;1#SF:1"},
    {"BSF6#DIGS:20;40#CMV:2;5#SC:100", "TSD1#NUMS:40#LLP:50#SF:1"},
    {"TSD8#SUMS:50#WMV:0;3#SZ:1", "TMF1#POS2:30#LLV:5#ST:2"},
    {"TMD1#KNM2:25#LMP:50#SV:3", "BMF1#EVEN:40#LNO:#SP:20"},
    {"TSF1#PRDV:60#PIM:2#ST:2", "TSD1#PRDC:60#PAL:30#ST:3"},
    {"TSD1#PRDV:60#PAL:30#ST:3", "TMF11#PRDC:80#PXL:20#SF:1"},
    {"TMF1#SUM1:30#LNO:#SF:1", "TMD1#SUM2:30#LNO:#SF:1"},
    {"TSD1#SUMT:40#CLP:60#ST:1", "TSF1#SUMC:40#LNO:#ST:3"},
    {"TSF0#NUMS:30#LVA:7,11#SF:1", "TSF2#GRPV:80#LVA:1,2,3#SF:1"},
    {"TSD1#SHR1:50#CMP:1#ST:4", "BSD10#KNM3:100#PIL:40#ST:20"},
    {"TSD1#NUMS:15#LDV:1,2,3#ST:2", "TMD12#CHAN:30#PIR:3,4,5,6#SF:1"},
    {"BMD1#DIFA:40#LDP:100#SF:1", "TSF1#SEQL:60#CDV:5,6,7,8,9,10#SF:1"},
    {"TSD8#NUMS:10#LMV:1#ST:2#1.5:1:0.25:1:0", "TSD8#NUMS:10#LMV:1#ST:2", "TMD11#PRDV:40#PAR:10,20#SF:1"},
    {"TSD1#NUMS:30#LNO:#SF:1"},   // deletes every card: the last pass empties the list and is undone
    {"TSD1#NUMS:30#LNO:#SZ:1"},   // the same, and the undo ends the walk
    {"TMD1#NUMS:30#LNO:#SF:1"},   // all at once, undone
    {"TMD1#DIGS:30#LNO:#SC:10", "TSF9#POS3:40#PXM:10#SF:1"},
    {"BSD1#NUMS:50#LNO:#SV:20", "TSD1#RPV2:50#LNO:#SP:30"},
    {"TSF1#NUMS:1#LDV:1#SF:1"},                         // a card not drawn: its depth "-" is no number
    {"TSF1#NUMS:30#LMV:1#ST:1", "TSD1#NUMS:2#PIR:1,2#SF:1"},  // the same failure after filters ran
    {"TSD1#NUMS:0#LMV:1#SF:1"},                         // a window of no draws: no rows
};

TEST_F(FilterApplicationTest, EveryVariantLeavesTheSameAsTheLiteralWalk) {
  Both([](Session& s) { s.MainView().ScriptLogEnabled = true; });
  std::vector<Outcome> all;
  for (auto&& o : ExpectSame(Steps, FullList(), false, "full list")) all.push_back(o);
  for (auto&& o : ExpectSame(Steps, ReducedList(), false, "reduced list")) all.push_back(o);
  for (auto&& o : ExpectSame(Steps, FileOrderList(), false, "file order")) all.push_back(o);
  for (auto&& o : ExpectSame(Steps, FullList(), true, "carried on")) all.push_back(o);
  auto count = [&](auto&& pred) { return std::count_if(all.begin(), all.end(), pred); };
  EXPECT_GE(count([](const Outcome& o) { return o.Error.find("не является целым числом") != std::string::npos; }), 6);
  EXPECT_GT(count([](const Outcome& o) {
              return std::any_of(o.History.begin(), o.History.end(),
                                 [](const auto& h) { return h.Kind == filtering::TFilterKind::Undo; });
            }),
            10);
  EXPECT_GT(count([](const Outcome& o) { return o.History.size() > 2 && o.Combs.size() > 1; }), 20);
  const auto counters = fast_.Fast()->GetCounters();
  EXPECT_GT(counters.TablesReused, counters.TablesComputed) << "the same tables come back in every list";
  EXPECT_GT(counters.MaskPasses, 0);
  EXPECT_GT(counters.ListPasses, 0);
}

TEST_F(FilterApplicationTest, WithoutLogAndWithComparisonSortedDrawsAndAnOffset) {
  Both([](Session& s) {
    s.Stats().SetComparisonMode(true);
    s.MainView().SortedDraws = true;
    s.SetDrawsOffset(25);
  });
  ExpectSame({{"TSD1#NUMS:10-30;10#DMV:0-2;1#SF:1"},
              {"TMF1#SUMS:50#DLP:10#SF:1", "BSD5#EVEN:40#DDV:0,1,2,-1,-2#SF:1"},
              {"TSD4#KNM2:40#DMP:0#ST:5"},
              {"TSD1#PRDV:60#PAM:10#SF:1"}},
             FullList(), false, "comparison");
  ExpectSame({{"TSD1#NUMS:10-30;10#DMV:0-2;1#SF:1"}}, FileOrderList(), true, "comparison, file order");
}

TEST_F(FilterApplicationTest, APartWithoutMethodFailsAlike) {
  auto recs = Variants({"TSF1#NUMS:20#LMV:1#ST:1", "TSD1#DIGS:20#LMV:1#SF:1"});
  recs[0][1].Method = nullptr;  // what a recipe naming no registered statistic carries
  const auto outcomes = ExpectSameVariants(recs, FullList(), false, "no method");
  ASSERT_EQ(outcomes.size(), 1u);
  EXPECT_EQ(outcomes[0].Error, "Метод расчета статистики для фильтра не задан!");
}

TEST_F(FilterApplicationTest, AnUnlistedMethodFailsAlike) {
  // EVEN is registered but not among the favourites, so the selector does not list it.
  Both([](Session& s) {
    s.Stats().List().SetFavorites("NUMS,DIGS");
    s.Stats().FillStatSelectors(false, true);
  });
  const auto outcomes =
      ExpectSame({{"TSF1#NUMS:20#LMV:1#ST:1", "TSD1#EVEN:20#LMV:1#SF:1"}}, FullList(), false, "unlisted");
  ASSERT_EQ(outcomes.size(), 1u);
  EXPECT_EQ(outcomes[0].Error.rfind("Метод расчета статистики \"EVEN\" на найден!\r", 0), 0u) << outcomes[0].Error;
}

TEST_F(FilterApplicationTest, StopRequestsEndTheWalkAtTheSameCheckPoint) {
  const auto steps = std::vector<std::vector<std::string>>{
      {"TSD1#NUMS:30#LMV:1#SF:1", "TMF1#DIGS:40#LNO:#SF:1", "BSD1#KNM2:30#LMV:2#ST:10"}};
  for (int checks : {0, 1, 2, 3, 5, 8, 13, 21, 34}) {
    literal_.StopAfter(checks);
    fast_.StopAfter(checks);
    ExpectSame(steps, FullList(), false, "stop after " + std::to_string(checks));
  }
}

TEST_F(FilterApplicationTest, ATableIsReusedOnlyForTheSameInputs) {
  const TCombsArray start = FullList();
  auto apply = [&](const std::string& recipe) {
    Both([&](Session& s) { s.Combs().ReplaceList(start); });
    const filtering::TFilterRec rec = Variants({recipe})[0];
    const Outcome a = literal_.Apply(rec);
    const Outcome b = fast_.Apply(OnSession(rec, literal_.S(), fast_.S()));
    EXPECT_EQ(a, b) << recipe;
    return fast_.Fast()->GetCounters();
  };
  // Sorted by weight, so a table with other weights differs in its rows' order too.
  const std::string part = "TSD8#NUMS:30#LNO:#ST:2";
  auto c = apply(part);
  EXPECT_EQ(c.TablesComputed, 1);
  c = apply(part);
  EXPECT_EQ(c.TablesComputed, 1);
  EXPECT_EQ(c.TablesReused, 1);
  c = apply("TSD8#NUMS:31#LNO:#ST:2");  // window
  EXPECT_EQ(c.TablesComputed, 2);
  c = apply("TSD8#NUMS:30#LNO:#ST:2#2:-1:0.5:0:0");  // weights
  EXPECT_EQ(c.TablesComputed, 3);
  c = apply("TSD9#NUMS:30#LNO:#ST:2");  // sort column
  EXPECT_EQ(c.TablesComputed, 4);
  Both([](Session& s) { s.MainView().SortedDraws = true; });
  c = apply(part);  // sorted flag
  EXPECT_EQ(c.TablesComputed, 5);
  Both([](Session& s) { s.SetDrawsOffset(3); });
  c = apply(part);  // offset: the tables of the old offset are dropped
  EXPECT_EQ(c.TablesComputed, 6);
  EXPECT_EQ(c.KeptTables, 1u);
  c = apply(part);
  EXPECT_EQ(c.TablesComputed, 6);
  EXPECT_EQ(c.TablesReused, 2);
}

TEST(FilterApplicationMemory, TablesBeyondTheBoundAreDroppedAndResultsStayTheSame) {
  const auto draws = Archive(300);
  Side literal(draws, false);
  Side fast(draws, true, /*max_bytes=*/1);
  const TCombsArray start = FullList();
  for (const char* recipe : {"TSD1#NUMS:10-50;10#LMV:1#SF:1", "TMF1#DIGS:10-50;10#LNO:#SF:1"}) {
    std::vector<filtering::TFilterItem> items = {
        filtering::FilterItemFromText(recipe, literal.S().Stats().List())};
    const auto variants = filtering::ExpandFilterVariants(items);
    for (int64_t v = 0; v < variants.Count; ++v) {
      literal.S().Combs().ReplaceList(start);
      fast.S().Combs().ReplaceList(start);
      filtering::TFilterRec rec = variants.Variant(v);
      filtering::TFilterRec other = rec;
      for (auto& p : other) {
        if (p.Method) p.Method = &fast.S().Stats().List().Items(literal.S().Stats().List().IndexOfCode(p.Method->Code()));
      }
      EXPECT_EQ(literal.Apply(rec), fast.Apply(other)) << filtering::FilterVarToText(rec);
      EXPECT_LE(fast.Fast()->GetCounters().KeptTables, 1u);
    }
  }
}

}  // namespace
}  // namespace kelmora::shell
