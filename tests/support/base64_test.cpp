#include "support/base64.h"

#include <gtest/gtest.h>

#include <utility>

namespace kelmora::support {
namespace {

TEST(Base64, EncodesAndDecodesEveryTailLength) {
  const std::pair<const char*, const char*> cases[] = {
      {"", ""}, {"f", "Zg=="}, {"fo", "Zm8="}, {"foo", "Zm9v"}, {"foob", "Zm9vYg=="}, {"fooba", "Zm9vYmE="}};
  for (const auto& [plain, coded] : cases) {
    EXPECT_EQ(Base64Encode(plain), coded);
    EXPECT_EQ(Base64Decode(coded), plain);
  }
  EXPECT_EQ(Base64Decode("Zm9v\r\nYmE"), "fooba");
  EXPECT_THROW(Base64Decode("Zm9v!"), std::exception);
  EXPECT_THROW(Base64Decode("Zg==Zg"), std::exception);
}

}  // namespace
}  // namespace kelmora::support
