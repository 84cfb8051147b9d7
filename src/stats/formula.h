#pragma once
// The arithmetic formulas of the shredding methods: a text over the variables n1..n4, p1..p4 and
// t1..t4, read once into a small program and evaluated per draw in extended precision.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kelmora::stats {

// The twelve variable values in the order n1..n4, p1..p4, t1..t4 (0 for a draw that does not exist).
using TFormulaValues = std::array<uint8_t, 12>;

// One compiled formula. Variables are put into the text as their decimal digits, in the order
// n1, p1, t1, n2, ..., t4, any letter case, before the text is read; the grammar (one level for
// "*", "/" and "^", "$hex", the constants E and PI, the functions ARCTAN .. NOT) is that of the
// shredding settings dialog. Evaluation allocates nothing once the object has evaluated a few times.
class TFormula {
 public:
  explicit TFormula(std::string_view text);

  // The value for the variables, or nullopt when the formula fails (unbalanced parentheses, an
  // unknown name or character, division by zero, an argument out of range, a floating-point fault).
  std::optional<long double> Evaluate(const TFormulaValues& values);
  const std::string& Text() const { return text_; }
  // Whether the variables could be compiled as leaves; otherwise every evaluation substitutes the
  // digits into the text and reads it again (a variable glued to digits, letters or a point).
  bool Compiled() const { return compiled_; }

  enum class OpCode : uint8_t { Number, Variable, Add, Sub, Mul, Div, Pow, Function };
  struct TOp {
    OpCode Code = OpCode::Number;
    uint8_t Arg = 0;  // variable slot 0..11 or function number
    bool Negate = false;  // a sign written before a variable
    long double Number = 0;
  };

 private:
  bool Run(const TFormulaValues& values, long double& result);

  std::string text_;
  bool compiled_ = false;
  bool valid_ = false;  // the compiled program read without failure
  std::vector<TOp> program_;
  std::vector<long double> stack_;
  // Re-reading of formulas that are not compiled.
  std::string substituted_;
  std::vector<int> prepared_;
};

// The value of a formula text without variables (n1 .. t4 count as 0), nullopt on failure.
std::optional<long double> EvaluateFormula(std::string_view text);

// The first `digits` decimals of the fractional part of |x| as an integer 0 .. 10^digits - 1
// (digits 0 gives 0). Products within 1e-9 below a whole number count as that number, so results
// whose decimal expansion is exact give their exact digits (1.15 gives 15 with 2 digits).
int32_t ShredFraction(long double x, int digits);

}  // namespace kelmora::stats
