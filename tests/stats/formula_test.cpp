#include "stats/formula.h"

#include <cmath>
#include <optional>

#include <gtest/gtest.h>

namespace kelmora::stats {
namespace {

struct FormulaCase {
  const char* Text;
  std::optional<long double> Expected;  // nullopt: the formula fails
};

class FormulaGrammarTest : public ::testing::TestWithParam<FormulaCase> {};

TEST_P(FormulaGrammarTest, Evaluates) {
  const FormulaCase& c = GetParam();
  const auto got = EvaluateFormula(c.Text);
  if (!c.Expected) {
    EXPECT_FALSE(got.has_value()) << c.Text << " gave " << static_cast<double>(got.value_or(0));
  } else {
    ASSERT_TRUE(got.has_value()) << c.Text;
    EXPECT_NEAR(static_cast<double>(*got), static_cast<double>(*c.Expected), 1e-12) << c.Text;
  }
}

constexpr long double Pi = 3.14159265358979323846L;
constexpr std::optional<long double> Fails = std::nullopt;

INSTANTIATE_TEST_SUITE_P(
    Grammar, FormulaGrammarTest,
    ::testing::Values(
        // "*", "/" and "^" share one level, left to right.
        FormulaCase{"2*3^2", 36}, FormulaCase{"2^3*2", 16}, FormulaCase{"2^3^2", 64}, FormulaCase{"8/2^2", 16},
        FormulaCase{"1+2*3", 7}, FormulaCase{"(1+2)*3", 9}, FormulaCase{"10-2-3", 5},
        // Signs: a leading one reads as 0 before it; a number may carry one.
        FormulaCase{"-2+5", 3}, FormulaCase{"-(2)", -2}, FormulaCase{"2*-3", -6}, FormulaCase{"2--3", 5},
        FormulaCase{"2^-1", 0.5L},
        // Numbers.
        FormulaCase{"1.5", 1.5L}, FormulaCase{".5", 0.5L}, FormulaCase{"2E3", 2000}, FormulaCase{"2.5E-1", 0.25L},
        FormulaCase{"1,5", Fails}, FormulaCase{"1.5.2", Fails},
        FormulaCase{"$FF", 255}, FormulaCase{"$ff+1", 256}, FormulaCase{"$FFFFFFFF", 4294967295.0L},
        FormulaCase{"$123456789", Fails}, FormulaCase{"$", Fails}, FormulaCase{"$FG", Fails},
        // Constants, only before an operator, ")" or the end.
        FormulaCase{"PI", Pi}, FormulaCase{"pi*2", 2 * Pi}, FormulaCase{"E", std::exp(1.0L)},
        FormulaCase{"E2", Fails}, FormulaCase{"2PI", Fails},
        // Functions, "SQRT" tried before "SQR".
        FormulaCase{"SQRT(16)", 4}, FormulaCase{"SQR(3)", 9}, FormulaCase{"ABS(-2)", 2}, FormulaCase{"LOG(1000)", 3},
        FormulaCase{"LN(E)", 1}, FormulaCase{"EXP(0)", 1}, FormulaCase{"ARCTAN(1)", Pi / 4}, FormulaCase{"COS(0)", 1},
        FormulaCase{"SIN(0)", 0}, FormulaCase{"TAN(0)", 0}, FormulaCase{"INT(2.5)", 2}, FormulaCase{"INT(3.5)", 4},
        FormulaCase{"ROUND(-2.5)", -2}, FormulaCase{"TRUNC(-2.7)", -2}, FormulaCase{"FRAC(-2.75)", -0.75L},
        FormulaCase{"SIGN(-3)", -1}, FormulaCase{"SIGN(0)", 0}, FormulaCase{"NOT(5)", -6}, FormulaCase{"NOT(-2.5)", 1},
        FormulaCase{"ARCSIN(1)", Pi / 2}, FormulaCase{"ARCSIN(-1)", -Pi / 2}, FormulaCase{"ARCCOS(1)", 0},
        FormulaCase{"ARCCOS(-1)", Pi}, FormulaCase{"SQRT (4)", 2}, FormulaCase{"sqr(2)", 4},
        // Powers.
        FormulaCase{"0^0", 1}, FormulaCase{"0^2", 0}, FormulaCase{"(-2)^3", -8}, FormulaCase{"2^0.5", std::sqrt(2.0L)},
        FormulaCase{"0^-1", Fails}, FormulaCase{"(-8)^(1/3)", Fails}, FormulaCase{"10^5000", Fails},
        // A list or comparison character after a closing parenthesis ends the formula.
        FormulaCase{"(2)+(3),7", 5}, FormulaCase{"(1)<2", 1}, FormulaCase{"2+3,7", Fails},
        // Failures give no value.
        FormulaCase{"1/0", Fails}, FormulaCase{"1/(2-2)", Fails}, FormulaCase{"SQRT(-1)", Fails},
        FormulaCase{"LN(0)", Fails}, FormulaCase{"LOG(-1)", Fails}, FormulaCase{"ARCSIN(2)", Fails},
        FormulaCase{"((2)", Fails}, FormulaCase{"(1))+((2", Fails}, FormulaCase{"FOO(1)", Fails},
        FormulaCase{"SQRT 4", Fails}, FormulaCase{"2+", Fails}, FormulaCase{"", Fails}, FormulaCase{"2 3", 23},
        FormulaCase{"EXP(100000)", Fails}));

TFormulaValues Values(std::initializer_list<uint8_t> n, std::initializer_list<uint8_t> p = {},
                      std::initializer_list<uint8_t> t = {}) {
  TFormulaValues v{};
  size_t i = 0;
  for (uint8_t x : n) v[i++] = x;
  i = 4;
  for (uint8_t x : p) v[i++] = x;
  i = 8;
  for (uint8_t x : t) v[i++] = x;
  return v;
}

struct VariableCase {
  const char* Text;
  TFormulaValues Vars;
  std::optional<long double> Expected;
  bool Compiled;
};

class FormulaVariablesTest : public ::testing::TestWithParam<VariableCase> {};

TEST_P(FormulaVariablesTest, ReadsAsTheDigitsPutInTheirPlace) {
  const VariableCase& c = GetParam();
  TFormula f(c.Text);
  EXPECT_EQ(f.Compiled(), c.Compiled) << c.Text;
  // Twice: the second evaluation reuses what the first left behind.
  for (int round = 0; round < 2; ++round) {
    const auto got = f.Evaluate(c.Vars);
    if (!c.Expected) {
      EXPECT_FALSE(got.has_value()) << c.Text;
    } else {
      ASSERT_TRUE(got.has_value()) << c.Text;
      EXPECT_NEAR(static_cast<double>(*got), static_cast<double>(*c.Expected), 1e-12) << c.Text;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(
    Variables, FormulaVariablesTest,
    ::testing::Values(VariableCase{"(n1+n2)/(n3+n4)", Values({7, 8, 9, 10}), 15.0L / 19, true},
                      VariableCase{"( N1 + n2 ) / (n3+N4)", Values({7, 8, 9, 10}), 15.0L / 19, true},
                      VariableCase{"n1*p1-t4", Values({7}, {9}, {0, 0, 0, 14}), 49, true},
                      VariableCase{"-n1", Values({11}), -11, true},
                      VariableCase{"2*-n2", Values({7, 13}), -26, true},
                      VariableCase{"n1/p1", Values({7}), std::nullopt, true},
                      VariableCase{"n5+1", Values({7}), std::nullopt, true},
                      VariableCase{"n1(2)", Values({7}), std::nullopt, true},
                      // Variables glued to digits, letters or a point read as the text would.
                      VariableCase{"n1n2", Values({7, 8}), 78, false},
                      VariableCase{"2n1", Values({7}), 27, false},
                      VariableCase{"n1.5", Values({7}), 7.5L, false},
                      VariableCase{"n1E1", Values({7}), 70, false},
                      VariableCase{"1E-n1", Values({2}), 0.01L, false},
                      // "p" and the digits of n1 = 11 make "p11", whose "p1" is then replaced.
                      VariableCase{"pn1", Values({11}, {9}), 91, false}));

TEST(ShredFractionTest, ExactDecimalsKeepTheirDigits) {
  struct Case {
    long double X;
    int Digits;
    int32_t Expected;
  };
  const Case cases[] = {{1.15L, 2, 15},           {23.0L / 20, 2, 15},      {15.0L / 19, 2, 78},
                        {23.0L / 15, 2, 53},      {1, 2, 0},                {-2.0L / 3, 2, 66},
                        {7.0L / 9, 3, 777},       {0.1L + 0.2L, 1, 3},      {2.675L, 2, 67},
                        {0.65537L, 5, 65537},     {0.5L, 0, 0},             {3.0L - 1e-12L, 2, 0},
                        {1e30L, 2, 0},            {0.123456789L, 9, 123456789}};
  for (const Case& c : cases) {
    EXPECT_EQ(ShredFraction(c.X, c.Digits), c.Expected) << static_cast<double>(c.X) << " digits " << c.Digits;
  }
  const auto x = EvaluateFormula("23/20");
  ASSERT_TRUE(x.has_value());
  EXPECT_EQ(ShredFraction(*x, 2), 15);
  EXPECT_EQ(ShredFraction(*EvaluateFormula("1.15"), 2), 15);
}

}  // namespace
}  // namespace kelmora::stats
