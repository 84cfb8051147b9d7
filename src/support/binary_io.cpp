#include "support/binary_io.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <limits>
#include <stdexcept>

#include "support/encoding.h"
#include "support/error.h"

namespace kelmora::support {
namespace {

// The "extended" fields are the x87 80-bit format: 64-bit mantissa with explicit integer bit,
// 15-bit exponent, sign; 10 bytes little-endian. On x86 and x86-64 (GCC, Clang, MinGW) long double
// is exactly that format and its first 10 bytes in memory are the value, little-endian, followed by
// padding. Other targets (MSVC, ARM) would need a software conversion here.
static_assert(std::numeric_limits<long double>::digits == 64 &&
                  std::numeric_limits<long double>::max_exponent == 16384 &&
                  std::endian::native == std::endian::little,
              "Extended fields need long double to be the x87 80-bit format on a little-endian target");
static_assert(sizeof(long double) >= 10);

constexpr size_t kExtendedSize = 10;

template <typename T>
void PutLittleEndian(std::vector<uint8_t>& data, T v) {
  using U = std::make_unsigned_t<T>;
  U u = static_cast<U>(v);
  for (size_t i = 0; i < sizeof(T); ++i) data.push_back(static_cast<uint8_t>(u >> (8 * i)));
}

template <typename T>
T GetLittleEndian(const uint8_t* p) {
  using U = std::make_unsigned_t<T>;
  U u = 0;
  for (size_t i = 0; i < sizeof(T); ++i) u |= static_cast<U>(static_cast<U>(p[i]) << (8 * i));
  return static_cast<T>(u);
}

}  // namespace

void BinaryWriter::U8(uint8_t v) { data_.push_back(v); }
void BinaryWriter::U16(uint16_t v) { PutLittleEndian(data_, v); }
void BinaryWriter::I32(int32_t v) { PutLittleEndian(data_, v); }
void BinaryWriter::U32(uint32_t v) { PutLittleEndian(data_, v); }
void BinaryWriter::I64(int64_t v) { PutLittleEndian(data_, v); }
void BinaryWriter::F64(double v) { PutLittleEndian(data_, std::bit_cast<uint64_t>(v)); }

void BinaryWriter::Extended(long double v) {
  unsigned char bytes[sizeof(long double)];
  std::memcpy(bytes, &v, sizeof v);
  data_.insert(data_.end(), bytes, bytes + kExtendedSize);
}

void BinaryWriter::ShortString(std::string_view utf8_text, size_t max_len) {
  if (max_len > 255) throw std::invalid_argument("ShortString: max_len above 255");
  std::string bytes = Utf8ToCp1251(utf8_text);
  if (bytes.size() > max_len) bytes.resize(max_len);
  U8(static_cast<uint8_t>(bytes.size()));
  Bytes(bytes.data(), bytes.size());
  Zeros(max_len - bytes.size());
}

void BinaryWriter::Bytes(const void* data, size_t size) {
  const auto* p = static_cast<const uint8_t*>(data);
  data_.insert(data_.end(), p, p + size);
}

void BinaryWriter::Zeros(size_t count) { data_.insert(data_.end(), count, uint8_t{0}); }

const uint8_t* BinaryReader::Take(size_t count) {
  if (count > size_ - pos_) {
    Fail("Неожиданный конец данных: в позиции {} нужно байт: {}, осталось: {}", pos_, count, size_ - pos_);
  }
  const uint8_t* p = data_ + pos_;
  pos_ += count;
  return p;
}

uint8_t BinaryReader::U8() { return *Take(1); }
uint16_t BinaryReader::U16() { return GetLittleEndian<uint16_t>(Take(2)); }
int32_t BinaryReader::I32() { return GetLittleEndian<int32_t>(Take(4)); }
uint32_t BinaryReader::U32() { return GetLittleEndian<uint32_t>(Take(4)); }
int64_t BinaryReader::I64() { return GetLittleEndian<int64_t>(Take(8)); }
double BinaryReader::F64() { return std::bit_cast<double>(GetLittleEndian<uint64_t>(Take(8))); }

long double BinaryReader::Extended() {
  const uint8_t* p = Take(kExtendedSize);
  unsigned char bytes[sizeof(long double)] = {};
  std::memcpy(bytes, p, kExtendedSize);
  long double v;
  std::memcpy(&v, bytes, sizeof v);
  return v;
}

std::string BinaryReader::ShortString(size_t max_len) {
  const uint8_t* p = Take(1 + max_len);
  size_t length = std::min<size_t>(p[0], max_len);
  return Cp1251ToUtf8(std::string_view(reinterpret_cast<const char*>(p + 1), length));
}

void BinaryReader::Skip(size_t count) { Take(count); }

}  // namespace kelmora::support
