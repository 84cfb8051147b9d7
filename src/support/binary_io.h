#pragma once
// Little-endian field-by-field reading and writing of binary records. Records are never copied as
// structs, so the files stay the same on every platform.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kelmora::support {

// Appends fields to a byte buffer.
class BinaryWriter {
 public:
  void U8(uint8_t v);
  void U16(uint16_t v);
  void I32(int32_t v);
  void U32(uint32_t v);
  void I64(int64_t v);
  void F64(double v);
  // 80-bit x87 extended real (10 bytes), as the system's "extended" fields are stored.
  void Extended(long double v);
  // A short string: length byte, then max_len bytes (the Windows-1251 form of text, cut to
  // max_len, padded with zeros). max_len is at most 255 (std::invalid_argument otherwise).
  void ShortString(std::string_view utf8_text, size_t max_len);
  void Bytes(const void* data, size_t size);
  void Zeros(size_t count);

  const std::vector<uint8_t>& Data() const { return data_; }
  std::vector<uint8_t>& Data() { return data_; }

 private:
  std::vector<uint8_t> data_;
};

// Reads fields from a byte span; the span must outlive the reader. Reading past the end throws
// Error ("Неожиданный конец данных: в позиции P нужно байт: N, осталось: M") and leaves the position.
class BinaryReader {
 public:
  BinaryReader(const uint8_t* data, size_t size) : data_(data), size_(size) {}
  explicit BinaryReader(const std::vector<uint8_t>& data) : BinaryReader(data.data(), data.size()) {}

  uint8_t U8();
  uint16_t U16();
  int32_t I32();
  uint32_t U32();
  int64_t I64();
  double F64();
  long double Extended();
  // Reads a length byte and max_len bytes; returns the first min(length, max_len) bytes as UTF-8.
  std::string ShortString(size_t max_len);
  void Skip(size_t count);

  size_t Position() const { return pos_; }
  size_t Remaining() const { return size_ - pos_; }

 private:
  const uint8_t* Take(size_t count);
  const uint8_t* data_;
  size_t size_;
  size_t pos_ = 0;
};

}  // namespace kelmora::support
