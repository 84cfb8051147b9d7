#include "shell/switches.h"

#include <gtest/gtest.h>

namespace kelmora::shell {
namespace {

TEST(HasSwitch, RecognisesPrefixesAndCaseButNotAppendedText) {
  struct Case {
    std::vector<std::string> args;
    const char* name;
    bool expected;
  };
  const Case cases[] = {
      {{"/LOADONLY"}, SwitchLoadOnly, true},
      {{"--fullrefresh"}, SwitchFullRefresh, true},
      {{"-FullRecreate"}, SwitchFullRecreate, true},
      {{"\\restart"}, SwitchRestart, true},
      {{"restart"}, SwitchRestart, true},
      {{"restart=1"}, SwitchRestart, false},
      {{"---restart"}, SwitchRestart, false},
      {{"x", "--no-language"}, SwitchNoLanguage, true},
      {{"--no-languages"}, SwitchNoLanguage, false},
      {{}, SwitchLoadOnly, false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(HasSwitch(c.args, c.name), c.expected) << (c.args.empty() ? "" : c.args.front());
  }
}

}  // namespace
}  // namespace kelmora::shell
