#include "stats/formula.h"

#include <cmath>
#include <cstddef>

namespace kelmora::stats {

namespace {

// Elements of a prepared text: a character 0..255, or VarBase + slot for a variable leaf.
constexpr int VarBase = 256;
constexpr std::string_view VarLetters = "npt";

constexpr long double Pi = 3.14159265358979323846264338327950288L;

// In the order they are tried: "SQRT" before "SQR".
constexpr std::array<std::string_view, 18> FunctionNames = {
    "ARCTAN", "COS", "SIN", "TAN", "ABS", "EXP", "LN", "LOG", "SQRT",
    "SQR", "INT", "FRAC", "TRUNC", "ROUND", "ARCSIN", "ARCCOS", "SIGN", "NOT"};

bool IsDigit(int c) { return c >= '0' && c <= '9'; }
bool IsHexDigit(int c) { return IsDigit(c) || (c >= 'A' && c <= 'F'); }
bool IsUpper(int c) { return c >= 'A' && c <= 'Z'; }
int Lower(int c) { return c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c; }

// Drops control characters and blanks, upper-cases letters, and reads a leading sign as "0" and
// the sign. False when the parentheses do not pair up in number.
bool Prepare(std::vector<int>& s) {
  size_t w = 0;
  int balance = 0;
  for (size_t r = 0; r < s.size(); ++r) {
    int c = s[r];
    if (c < VarBase && c <= ' ') continue;
    if (c >= 'a' && c <= 'z') c -= 'a' - 'A';
    if (c == '(') ++balance;
    if (c == ')') --balance;
    s[w++] = c;
  }
  s.resize(w);
  if (balance != 0) return false;
  if (!s.empty() && (s[0] == '+' || s[0] == '-')) s.insert(s.begin(), '0');
  return true;
}

// Recursive-descent reader writing the program in postfix order.
class Reader {
 public:
  Reader(const std::vector<int>& s, std::vector<TFormula::TOp>& out) : s_(s), out_(out) {}

  bool ReadAll() {
    out_.clear();
    stopped_ = false;
    if (!Expression(true)) return false;
    return stopped_ || pos_ == s_.size();
  }

 private:
  using Op = TFormula::OpCode;

  int At(size_t i) const { return i < s_.size() ? s_[i] : -1; }
  bool FollowsOperand(size_t i) const {
    const int c = At(i);
    return c == -1 || c == ')' || c == '*' || c == '+' || c == '-' || c == '/' || c == '^';
  }
  void Emit(Op code, uint8_t arg = 0, long double number = 0, bool negate = false) {
    out_.push_back({code, arg, negate, number});
  }

  bool Expression(bool top) {
    if (!Term()) return false;
    for (;;) {
      const int c = At(pos_);
      if (c == -1) return true;
      if (c == '+' || c == '-') {
        ++pos_;
        if (!Term()) return false;
        Emit(c == '+' ? Op::Add : Op::Sub);
        continue;
      }
      if (c == ')') return !top;
      // A comparison or list character after a closing parenthesis ends the formula.
      if (top && (c == ',' || c == '<' || c == '=' || c == '>') && At(pos_ - 1) == ')') {
        stopped_ = true;
        return true;
      }
      return false;
    }
  }

  bool Term() {
    if (!Factor()) return false;
    for (;;) {
      const int c = At(pos_);
      if (c != '*' && c != '/' && c != '^') return true;
      ++pos_;
      if (!Factor()) return false;
      Emit(c == '*' ? Op::Mul : c == '/' ? Op::Div : Op::Pow);
    }
  }

  bool Factor() {
    const int c = At(pos_);
    if (c == '(') {
      ++pos_;
      if (!Expression(false) || At(pos_) != ')') return false;
      ++pos_;
      return true;
    }
    if (Number()) return true;
    if (Variable()) return true;
    if (Word("E") && FollowsOperand(pos_ + 1)) {
      ++pos_;
      Emit(Op::Number, 0, std::exp(1.0L));
      return true;
    }
    if (Word("PI") && FollowsOperand(pos_ + 2)) {
      pos_ += 2;
      Emit(Op::Number, 0, Pi);
      return true;
    }
    for (size_t f = 0; f < FunctionNames.size(); ++f) {
      const std::string_view name = FunctionNames[f];
      if (!Word(name) || At(pos_ + name.size()) != '(') continue;
      pos_ += name.size() + 1;
      if (!Expression(false) || At(pos_) != ')') return false;
      ++pos_;
      Emit(Op::Function, static_cast<uint8_t>(f));
      return true;
    }
    return false;
  }

  bool Word(std::string_view word) const {
    for (size_t i = 0; i < word.size(); ++i) {
      if (At(pos_ + i) != word[i]) return false;
    }
    return true;
  }

  // [sign] digits [. digits] [E [sign] digits], or [sign] $ 1..8 hex digits; followed by an
  // operator, ")" or the end.
  bool Number() {
    size_t p = pos_;
    bool negative = false;
    if (At(p) == '+' || At(p) == '-') negative = At(p++) == '-';
    long double value = 0;
    if (At(p) == '$') {
      ++p;
      uint64_t v = 0;
      int n = 0;
      while (IsHexDigit(At(p))) {
        if (++n > 8) return false;
        const int c = At(p++);
        v = v * 16 + static_cast<uint64_t>(IsDigit(c) ? c - '0' : c - 'A' + 10);
      }
      if (n == 0) return false;
      value = static_cast<long double>(v);
    } else {
      long double mantissa = 0;
      int scale = 0;
      int digits = 0;
      while (IsDigit(At(p))) {
        mantissa = mantissa * 10 + (At(p++) - '0');
        ++digits;
      }
      if (At(p) == '.') {
        ++p;
        while (IsDigit(At(p))) {
          mantissa = mantissa * 10 + (At(p++) - '0');
          --scale;
          ++digits;
        }
      }
      if (digits == 0) return false;
      if (At(p) == 'E') {
        size_t q = p + 1;
        bool exp_negative = false;
        if (At(q) == '+' || At(q) == '-') exp_negative = At(q++) == '-';
        if (!IsDigit(At(q))) return false;
        int e = 0;
        while (IsDigit(At(q))) {
          if (e < 100000) e = e * 10 + (At(q) - '0');
          ++q;
        }
        scale += exp_negative ? -e : e;
        p = q;
      }
      // Dividing by an exact power of ten keeps decimal texts such as 1.15 correctly rounded.
      value = scale < 0 ? mantissa / std::pow(10.0L, static_cast<long double>(-scale))
                        : mantissa * std::pow(10.0L, static_cast<long double>(scale));
    }
    if (!FollowsOperand(p)) return false;
    pos_ = p;
    Emit(Op::Number, 0, negative ? -value : value);
    return true;
  }

  // A variable leaf, read like a number (it stands where its digits would).
  bool Variable() {
    size_t p = pos_;
    bool negative = false;
    if (At(p) == '+' || At(p) == '-') negative = At(p++) == '-';
    const int c = At(p);
    if (c < VarBase || !FollowsOperand(p + 1)) return false;
    pos_ = p + 1;
    Emit(Op::Variable, static_cast<uint8_t>(c - VarBase), 0, negative);
    return true;
  }

  const std::vector<int>& s_;
  std::vector<TFormula::TOp>& out_;
  size_t pos_ = 0;
  bool stopped_ = false;
};

// Whether a variable leaf reads exactly as the digits put in its place would: it must stand apart
// from digits, letters, points and "$", and not follow an exponent's sign.
bool LeavesStandApart(const std::vector<int>& s) {
  auto glues = [](int c) { return c >= VarBase || IsDigit(c) || IsUpper(c) || c == '.'; };
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] < VarBase) continue;
    if (i > 0 && (glues(s[i - 1]) || s[i - 1] == '$')) return false;
    if (i + 1 < s.size() && glues(s[i + 1])) return false;
    if (i > 1 && (s[i - 1] == '+' || s[i - 1] == '-') && s[i - 2] == 'E') return false;
  }
  return true;
}

bool Finite(long double x) { return std::isfinite(x); }

bool Power(long double x, long double y, long double& out) {
  if (y == 0) {
    out = 1;
    return true;
  }
  if (x == 0 && y > 0) {
    out = 0;
    return true;
  }
  if (std::trunc(y) == y && std::fabs(y) <= 2147483647.0L) {
    // Squaring gives the product of the repeated multiplication in log2(y) steps.
    auto n = static_cast<int64_t>(std::fabs(y));
    long double base = x;
    long double r = 1;
    while (n > 0) {
      if (n & 1) r *= base;
      n >>= 1;
      if (n > 0) base *= base;
    }
    if (y < 0) {
      if (r == 0) return false;
      r = 1 / r;
    }
    out = r;
    return Finite(out);
  }
  if (x <= 0) return false;
  out = std::exp(y * std::log(x));
  return Finite(out);
}

bool Apply(uint8_t function, long double x, long double& out) {
  switch (function) {
    case 0: out = std::atan(x); break;
    case 1: out = std::cos(x); break;
    case 2: out = std::sin(x); break;
    case 3: {
      const long double c = std::cos(x);
      if (c == 0) return false;
      out = std::sin(x) / c;
      break;
    }
    case 4: out = std::fabs(x); break;
    case 5: out = std::exp(x); break;
    case 6:
      if (x <= 0) return false;
      out = std::log(x);
      break;
    case 7:
      if (x <= 0) return false;
      out = std::log10(x);
      break;
    case 8:
      if (x < 0) return false;
      out = std::sqrt(x);
      break;
    case 9: out = x * x; break;
    case 10: out = std::nearbyint(x); break;
    case 11: out = x - std::trunc(x); break;
    case 12: out = std::trunc(x); break;
    case 13: out = std::nearbyint(x); break;
    case 14:
      if (x < -1 || x > 1) return false;
      out = std::asin(x);
      break;
    case 15:
      if (x < -1 || x > 1) return false;
      out = std::acos(x);
      break;
    case 16: out = x > 0 ? 1 : x < 0 ? -1 : 0; break;
    case 17: {
      const long double t = std::trunc(x);
      if (!(std::fabs(t) < 9223372036854775808.0L)) return false;
      out = static_cast<long double>(~static_cast<int64_t>(t));
      break;
    }
    default: return false;
  }
  return Finite(out);
}

}  // namespace

TFormula::TFormula(std::string_view text) : text_(text) {
  std::vector<int> s(text.begin(), text.end());
  for (int& c : s) c = static_cast<unsigned char>(c);
  // Variables become leaves in the order their digits would be put into the text.
  for (int i = 1; i <= 4; ++i) {
    for (size_t letter = 0; letter < VarLetters.size(); ++letter) {
      const int slot = static_cast<int>(letter) * 4 + (i - 1);
      size_t w = 0;
      for (size_t r = 0; r < s.size(); ++r) {
        if (r + 1 < s.size() && Lower(s[r]) == VarLetters[letter] && s[r + 1] == '0' + i) {
          s[w++] = VarBase + slot;
          ++r;
        } else {
          s[w++] = s[r];
        }
      }
      s.resize(w);
    }
  }
  const bool balanced = Prepare(s);
  compiled_ = !balanced || LeavesStandApart(s);
  if (compiled_) {
    valid_ = balanced && Reader(s, program_).ReadAll();
    stack_.resize(program_.size() + 1);
  } else {
    substituted_.reserve(text_.size() * 2 + 16);
    prepared_.reserve(text_.size() * 2 + 16);
    program_.reserve(text_.size() + 8);
    stack_.reserve(text_.size() + 8);
  }
}

std::optional<long double> TFormula::Evaluate(const TFormulaValues& values) {
  if (!compiled_) {
    substituted_.assign(text_);
    char digits[4];
    for (int i = 1; i <= 4; ++i) {
      for (size_t letter = 0; letter < VarLetters.size(); ++letter) {
        const uint8_t v = values[letter * 4 + static_cast<size_t>(i - 1)];
        int n = 0;
        if (v >= 100) digits[n++] = static_cast<char>('0' + v / 100);
        if (v >= 10) digits[n++] = static_cast<char>('0' + v / 10 % 10);
        digits[n++] = static_cast<char>('0' + v % 10);
        for (size_t r = 0; r + 1 < substituted_.size(); ++r) {
          if (Lower(static_cast<unsigned char>(substituted_[r])) == VarLetters[letter] &&
              substituted_[r + 1] == '0' + i) {
            substituted_.replace(r, 2, digits, static_cast<size_t>(n));
            r += static_cast<size_t>(n) - 1;
          }
        }
      }
    }
    prepared_.assign(substituted_.begin(), substituted_.end());
    for (int& c : prepared_) c = static_cast<unsigned char>(c);
    valid_ = Prepare(prepared_) && Reader(prepared_, program_).ReadAll();
    if (stack_.size() < program_.size() + 1) stack_.resize(program_.size() + 1);
  }
  long double result = 0;
  if (!valid_ || !Run(values, result)) return std::nullopt;
  return result;
}

bool TFormula::Run(const TFormulaValues& values, long double& result) {
  size_t top = 0;
  for (const TOp& op : program_) {
    switch (op.Code) {
      case OpCode::Number: stack_[top++] = op.Number; break;
      case OpCode::Variable: {
        const long double v = values[op.Arg];
        stack_[top++] = op.Negate ? -v : v;
        break;
      }
      case OpCode::Function:
        if (!Apply(op.Arg, stack_[top - 1], stack_[top - 1])) return false;
        break;
      default: {
        const long double b = stack_[--top];
        long double& a = stack_[top - 1];
        switch (op.Code) {
          case OpCode::Add: a += b; break;
          case OpCode::Sub: a -= b; break;
          case OpCode::Mul: a *= b; break;
          case OpCode::Div:
            if (b == 0) return false;
            a /= b;
            break;
          default:
            if (!Power(a, b, a)) return false;
            break;
        }
        if (!Finite(a)) return false;
      }
    }
  }
  if (top != 1) return false;
  result = stack_[0];
  return Finite(result);
}

std::optional<long double> EvaluateFormula(std::string_view text) {
  TFormula formula(text);
  return formula.Evaluate(TFormulaValues{});
}

int32_t ShredFraction(long double x, int digits) {
  if (!std::isfinite(x) || digits <= 0) return 0;
  const long double m = std::pow(10.0L, static_cast<long double>(digits));
  const long double a = std::fabs(x);
  const long double scaled = (a - std::trunc(a)) * m + 1e-9L;
  auto v = static_cast<int64_t>(std::trunc(scaled));
  // A fraction within the tolerance below 1 is a whole number.
  if (v >= static_cast<int64_t>(m)) v = 0;
  return static_cast<int32_t>(v);
}

}  // namespace kelmora::stats
