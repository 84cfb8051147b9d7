// The filter editor: its defaults, its enabling rules and the refusals of OK.

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLineEdit>
#include <gtest/gtest.h>

#include "gui/filter_dialog.h"
#include "gui/gui_fixture.h"
#include "shell/stats_state.h"

namespace kelmora::gui {
namespace {

using testing::Program;

class FilterDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    program_ = std::make_unique<Program>(dir_.Path());
    ASSERT_TRUE(program_->Start());
  }
  void TearDown() override { program_->Stop(); }
  // The position in the dialog's statistic box of the first entry that can (or cannot) select by list.
  int StatPosition(FilterDialog& dialog, bool by_list) {
    const auto& stats = program_->session->Stats();
    const auto& entries = stats.Selectors().Stats;
    for (size_t i = 0; i < entries.size(); ++i)
      if (stats.List().Items(entries[i].Entry).StatClass->CanSelectByList == by_list) return static_cast<int>(i);
    (void)dialog;
    return -1;
  }

  kelmora::testing::TempDir dir_;
  std::unique_ptr<Program> program_;
};

TEST_F(FilterDialogTest, OpensWithThePagesStatisticAndWindowAndTheDefaults) {
  program_->session->Stats().SetWindowLength(250);
  FilterDialog dialog(nullptr, *program_->session, filtering::TFilterItem{});
  EXPECT_EQ(dialog.DrawsLenEdit()->text(), QStringLiteral("250"));
  EXPECT_EQ(dialog.LevelModeBox()->currentIndex(), 0);
  EXPECT_EQ(dialog.StopModeBox()->currentIndex(), 0);
  EXPECT_FALSE(dialog.MultiSelectBox()->isChecked());
  const filtering::TFilterItem item = dialog.Result();
  EXPECT_TRUE(item.Active);
  EXPECT_EQ(item.SortColumn, 1);
  EXPECT_FALSE(item.BottomUp);
  EXPECT_FALSE(item.KeepSelected);
  EXPECT_EQ(item.StopValue, 1);
  EXPECT_EQ(item.Method, &program_->session->Stats().List().Items(program_->session->Stats().SelectedEntry()));
}

TEST_F(FilterDialogTest, TheWeightsAreOfferedOnlyForTheWeightModesAndWithTheOverrideTicked) {
  FilterDialog dialog(nullptr, *program_->session, filtering::TFilterItem{});
  EXPECT_FALSE(dialog.OverrideBox()->isEnabled());
  dialog.LevelModeBox()->setCurrentIndex(filtering::WMV);
  EXPECT_TRUE(dialog.OverrideBox()->isEnabled());
  EXPECT_FALSE(dialog.CountCoef()->isEnabled());
  dialog.OverrideBox()->click();
  EXPECT_TRUE(dialog.CountCoef()->isEnabled());
  EXPECT_TRUE(dialog.PercentsBox()->isEnabled());
  EXPECT_TRUE(dialog.AbsBox()->isEnabled());
  dialog.LevelModeBox()->setCurrentIndex(filtering::LMV);
  EXPECT_FALSE(dialog.OverrideBox()->isEnabled());
  EXPECT_FALSE(dialog.CountCoef()->isEnabled());
}

struct RefusalCase {
  const char* Name;
  bool ByList;  // the statistic can select by list
  const char* DrawsLen;
  int LevelMode;
  const char* LevelValue;
  bool Multi;
  int StopMode;
  const char* Field;  // "" when OK is accepted
};

TEST_F(FilterDialogTest, OkRefusesWhatTheRecipeCannotDo) {
  const RefusalCase cases[] = {
      {"draws 0", true, "0", 0, "", false, 0, "edDrawsLen"},
      {"no draws", true, "", 0, "", false, 0, "edDrawsLen"},
      {"0 inside a list", true, "0, 10", 0, "", false, 0, ""},
      {"LVA before the values", false, "10", filtering::LVA, "", false, 0, "cbLevelMode"},
      {"LVA by list", true, "10", filtering::LVA, "7", false, 0, ""},
      {"no values", true, "10", filtering::LMV, "", false, 0, "edLevelValue"},
      {"values with blanks", true, "10", filtering::LDV, "10 , 20", false, 0, ""},
      {"multi with SC", true, "10", 0, "", true, filtering::SC, "cbStopMode"},
      {"multi with ST", true, "10", 0, "", true, filtering::ST, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    program_->host.Messages.clear();
    FilterDialog dialog(nullptr, *program_->session, filtering::TFilterItem{});
    const int position = StatPosition(dialog, c.ByList);
    ASSERT_GE(position, 0);
    dialog.StatBox()->setCurrentIndex(position);
    dialog.DrawsLenEdit()->setText(QString::fromUtf8(c.DrawsLen));
    dialog.LevelModeBox()->setCurrentIndex(c.LevelMode);
    dialog.LevelValueEdit()->setText(QString::fromUtf8(c.LevelValue));
    dialog.MultiSelectBox()->setChecked(c.Multi);
    dialog.StopModeBox()->setCurrentIndex(c.StopMode);
    dialog.accept();
    if (*c.Field == 0) {
      EXPECT_FALSE(dialog.LastRefusal());
      EXPECT_EQ(dialog.result(), QDialog::Accepted);
      EXPECT_TRUE(program_->host.Messages.empty());
      continue;
    }
    ASSERT_TRUE(dialog.LastRefusal());
    EXPECT_EQ(dialog.LastRefusal()->Field, c.Field);
    EXPECT_NE(dialog.result(), QDialog::Accepted);
    ASSERT_EQ(program_->host.Messages.size(), 1u);
    EXPECT_EQ(program_->host.Messages[0].Text, dialog.LastRefusal()->Message);
  }
}

}  // namespace
}  // namespace kelmora::gui
