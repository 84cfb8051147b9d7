#include "support/binary_io.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "support/error.h"

namespace kelmora::support {
namespace {

TEST(BinaryIo, IntegersAreLittleEndian) {
  BinaryWriter w;
  w.U8(0xAB);
  w.U16(0x1234);
  w.I32(-2);
  w.U32(0xDEADBEEF);
  w.I64(0x0102030405060708LL);
  const std::vector<uint8_t> expected = {0xAB, 0x34, 0x12, 0xFE, 0xFF, 0xFF, 0xFF, 0xEF, 0xBE, 0xAD,
                                         0xDE, 0x08, 0x07, 0x06, 0x05, 0x04, 0x03, 0x02, 0x01};
  EXPECT_EQ(w.Data(), expected);

  BinaryReader r(w.Data());
  EXPECT_EQ(r.U8(), 0xAB);
  EXPECT_EQ(r.U16(), 0x1234);
  EXPECT_EQ(r.I32(), -2);
  EXPECT_EQ(r.U32(), 0xDEADBEEFu);
  EXPECT_EQ(r.I64(), 0x0102030405060708LL);
  EXPECT_EQ(r.Remaining(), 0u);
}

TEST(BinaryIo, Float64) {
  BinaryWriter w;
  w.F64(1.0);
  EXPECT_EQ(w.Data(), (std::vector<uint8_t>{0, 0, 0, 0, 0, 0, 0xF0, 0x3F}));
  w.F64(-0.1);
  BinaryReader r(w.Data());
  EXPECT_EQ(r.F64(), 1.0);
  EXPECT_EQ(r.F64(), -0.1);
}

TEST(BinaryIo, ExtendedKnownBytes) {
  BinaryWriter w;
  w.Extended(1.0L);
  // Mantissa 0x8000000000000000 (explicit integer bit), exponent 0x3FFF.
  EXPECT_EQ(w.Data(), (std::vector<uint8_t>{0, 0, 0, 0, 0, 0, 0, 0x80, 0xFF, 0x3F}));
  w.Data().clear();
  w.Extended(-2.0L);
  EXPECT_EQ(w.Data(), (std::vector<uint8_t>{0, 0, 0, 0, 0, 0, 0, 0x80, 0x00, 0xC0}));
}

TEST(BinaryIo, ExtendedRoundTrip) {
  const long double values[] = {0.0L,
                                -0.0L,
                                1.0L,
                                -1.5L,
                                0.1L,
                                3.14159265358979323846264338327950288L,
                                1e4000L,
                                -1e-4000L,
                                std::numeric_limits<long double>::max(),
                                std::numeric_limits<long double>::denorm_min(),
                                std::numeric_limits<long double>::infinity(),
                                123456789012345678.0L};
  BinaryWriter w;
  for (long double v : values) w.Extended(v);
  EXPECT_EQ(w.Data().size(), std::size(values) * 10);
  BinaryReader r(w.Data());
  for (long double v : values) {
    long double got = r.Extended();
    EXPECT_EQ(got, v);
    EXPECT_EQ(std::signbit(got), std::signbit(v));
  }
  BinaryWriter nan_writer;
  nan_writer.Extended(std::numeric_limits<long double>::quiet_NaN());
  BinaryReader nan_reader(nan_writer.Data());
  EXPECT_TRUE(std::isnan(nan_reader.Extended()));
}

TEST(BinaryIo, ShortStringLayout) {
  BinaryWriter w;
  w.ShortString("Тур", 5);
  EXPECT_EQ(w.Data(), (std::vector<uint8_t>{3, 0xD2, 0xF3, 0xF0, 0, 0}));
  BinaryReader r(w.Data());
  EXPECT_EQ(r.ShortString(5), "Тур");
  EXPECT_EQ(r.Remaining(), 0u);
}

TEST(BinaryIo, ShortStringIsCutAfterConverting) {
  BinaryWriter w;
  w.ShortString("Привет, мир", 6);  // 11 characters, 21 UTF-8 bytes
  ASSERT_EQ(w.Data().size(), 7u);
  EXPECT_EQ(w.Data()[0], 6);
  BinaryReader r(w.Data());
  EXPECT_EQ(r.ShortString(6), "Привет");

  BinaryWriter full;
  std::string text;
  for (int i = 0; i < 300; ++i) text += "ж";
  full.ShortString(text, 255);
  EXPECT_EQ(full.Data().size(), 256u);
  EXPECT_EQ(full.Data()[0], 255);
  EXPECT_THROW(full.ShortString("x", 256), std::invalid_argument);
}

TEST(BinaryIo, ShortStringWithUnmappableAndOverlongLength) {
  BinaryWriter w;
  w.ShortString("a日b", 4);
  EXPECT_EQ(w.Data(), (std::vector<uint8_t>{3, 'a', '?', 'b', 0}));
  // A length byte larger than the field reads the field only.
  const std::vector<uint8_t> bad = {9, 'a', 'b', 'c'};
  BinaryReader r(bad);
  EXPECT_EQ(r.ShortString(3), "abc");
}

TEST(BinaryIo, ReadingPastTheEndThrows) {
  const std::vector<uint8_t> data = {1, 2, 3};
  BinaryReader r(data);
  EXPECT_EQ(r.U16(), 0x0201);
  try {
    r.U32();
    FAIL() << "no exception";
  } catch (const Error& e) {
    EXPECT_STREQ(e.what(), "Неожиданный конец данных: в позиции 2 нужно байт: 4, осталось: 1");
  }
  EXPECT_EQ(r.Position(), 2u) << "a failed read consumes nothing";
  EXPECT_THROW(r.Skip(2), Error);
  EXPECT_THROW(r.Extended(), Error);
  EXPECT_THROW(r.ShortString(5), Error);
  EXPECT_EQ(r.Position(), 2u);
  BinaryReader empty(nullptr, 0);
  EXPECT_THROW(empty.U8(), Error);
  EXPECT_THROW(BinaryReader(data).F64(), Error);
}

TEST(BinaryIo, BytesZerosAndSkip) {
  BinaryWriter w;
  w.Bytes("ab", 2);
  w.Zeros(3);
  w.U8(7);
  EXPECT_EQ(w.Data(), (std::vector<uint8_t>{'a', 'b', 0, 0, 0, 7}));
  BinaryReader r(w.Data());
  r.Skip(5);
  EXPECT_EQ(r.Position(), 5u);
  EXPECT_EQ(r.U8(), 7);
}

}  // namespace
}  // namespace kelmora::support
