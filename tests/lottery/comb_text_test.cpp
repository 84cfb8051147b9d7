#include "lottery/comb_text.h"

#include <gtest/gtest.h>

#include "support/error.h"

namespace kelmora::lottery {
namespace {

TEST(ValueTextTest, CardsAndNumbers) {
  EXPECT_EQ(ValueToText(7), "7");
  EXPECT_EQ(ValueToText(10), "10");
  EXPECT_EQ(ValueToText(11), "J");
  EXPECT_EQ(ValueToText(14), "A");
  EXPECT_EQ(ValueToText(0), "0");
  EXPECT_EQ(TextToValue("q"), 12);
  EXPECT_EQ(TextToValue("K"), 13);
  EXPECT_EQ(TextToValue("25"), 25);  // no range check
  EXPECT_EQ(TextToValue("X"), 0);
  EXPECT_EQ(TextToValue(""), 0);
}

struct TextToCombCase {
  const char* Text;
  TComb Comb;
};

class TextToCombTest : public ::testing::TestWithParam<TextToCombCase> {};

TEST_P(TextToCombTest, Converts) { EXPECT_EQ(TextToComb(GetParam().Text), GetParam().Comb); }

INSTANTIATE_TEST_SUITE_P(
    Cases, TextToCombTest,
    ::testing::Values(TextToCombCase{"7 10 j a", MakeComb(7, 10, 11, 14)},
                      TextToCombCase{"7;10;J;X", MakeComb(7, 10, 11, 0)},
                      TextToCombCase{"  8,\t9 .. K|Q  ", MakeComb(8, 9, 13, 12)},
                      TextToCombCase{"7-8:9;10", MakeComb(7, 8, 9, 10)},
                      TextToCombCase{"20 1 2 3", MakeComb(20, 1, 2, 3)}));

TEST(TextToCombTest, WrongWordCountThrowsWithTheText) {
  for (const char* text : {"7;10;J", "7 8 9 10 J", "", ";;;"}) {
    try {
      TextToComb(text);
      ADD_FAILURE() << "no error for \"" << text << "\"";
    } catch (const support::Error& e) {
      EXPECT_EQ(std::string(e.what()), "Некорректная комбинация: \"" + std::string(text) + "\"!");
    }
  }
}

TEST(CombTextTest, FormsOfACombination) {
  const TComb comb = MakeComb(7, 10, 11, 14);
  EXPECT_EQ(CombToText(comb), "7;10;J;A");
  EXPECT_EQ(CombToSpacedText(comb), "7 10 J A");
  EXPECT_EQ(TextToComb(CombToSpacedText(comb)), comb);
  EXPECT_TRUE(IsValidComb(comb));
  EXPECT_FALSE(IsValidComb(MakeComb(7, 10, 11, 15)));
  EXPECT_FALSE(IsValidComb(MakeComb(6, 10, 11, 14)));

  TDrawRec draw{1234, MakeComb(9, 12, 13, 8), "05/11/2023"};
  EXPECT_EQ(DrawToText(draw), "Тираж № 1234 от 05/11/2023, значения: 9;Q;K;8");
  TNumberSet set{2, {11, 7, 9, 9}};
  EXPECT_EQ(NumberSetToText(set, ", "), "J, 7");
}

TEST(CombTextTest, StakeKinds) {
  EXPECT_EQ(StakeKindText(1), "Вручную");
  EXPECT_EQ(StakeKindText(2), "Регуляр");
  EXPECT_EQ(StakeKindText(3), "Сценарий");
  EXPECT_EQ(StakeKindText(4), "Система");
  EXPECT_EQ(StakeKindText(0), "");
  EXPECT_EQ(StakeKindText(5), "");
}

struct DateCase {
  const char* Text;
  TDate Date;
};

class TextToDateTest : public ::testing::TestWithParam<DateCase> {};

TEST_P(TextToDateTest, Reads) { EXPECT_EQ(TextToDate(GetParam().Text), GetParam().Date); }

INSTANTIATE_TEST_SUITE_P(Cases, TextToDateTest,
                         ::testing::Values(DateCase{"05/11/2023", {2023, 11, 5}}, DateCase{"  29/02/2024 ", {2024, 2, 29}},
                                           DateCase{"31.12.1999", {1999, 12, 31}},     // separators not checked
                                           DateCase{"12/05/2023 20:00", {2023, 5, 12}},  // time ignored
                                           DateCase{"", {}}, DateCase{" \t ", {}}));

TEST(TextToDateTest, ImpossibleDatesThrow) {
  for (const char* text : {"31/04/2023", "29/02/2023", "00/01/2023", "15/00/2023", "15/13/2023", "5/11/2023",
                           "ab/cd/efgh", "05/11"}) {
    EXPECT_THROW(TextToDate(text), support::Error) << text;
  }
  try {
    TextToDate("31/04/2023");
  } catch (const support::Error& e) {
    EXPECT_EQ(std::string(e.what()), "Некорректная дата: \"31/04/2023\"!");
  }
}

TEST(DateTextTest, WritesTwoDigitDayAndMonth) {
  EXPECT_EQ(DateToText({2023, 5, 7}), "07/05/2023");
  EXPECT_EQ(DateToText({}), "");
  EXPECT_EQ(TextToDate(DateToText({987, 1, 2})), (TDate{987, 1, 2}));
}

TEST(DateArithmeticTest, WeekdayAndDays) {
  EXPECT_EQ(DayOfWeek({2023, 11, 5}), 7);  // a Sunday
  EXPECT_EQ(DayOfWeek({2024, 1, 1}), 1);   // a Monday
  EXPECT_EQ(DayOfWeek({1969, 12, 31}), 3);
  EXPECT_EQ(AddDays({2024, 2, 28}, 1), (TDate{2024, 2, 29}));
  EXPECT_EQ(AddDays({2023, 2, 28}, 1), (TDate{2023, 3, 1}));
  EXPECT_EQ(AddDays({2024, 1, 1}, -1), (TDate{2023, 12, 31}));
  EXPECT_EQ(AddDays({2000, 3, 1}, 366), (TDate{2001, 3, 2}));
}

}  // namespace
}  // namespace kelmora::lottery
