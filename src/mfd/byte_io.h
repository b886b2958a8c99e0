// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "app/runtime_error.h"

namespace cadenzo {

// Big-endian reads and writes with bounds checks. A read or write outside the buffer throws
// RuntimeError 9 (subscript out of range), so a truncated file can never be read past its end.
inline void CheckRange(std::size_t size, std::size_t offset, std::size_t length) {
  if (offset > size || length > size - offset) throw RuntimeError(err::kSubscriptOutOfRange);
}

inline std::uint8_t ReadU8(std::span<const std::uint8_t> bytes, std::size_t offset) {
  CheckRange(bytes.size(), offset, 1);
  return bytes[offset];
}

inline std::uint16_t ReadU16(std::span<const std::uint8_t> bytes, std::size_t offset) {
  CheckRange(bytes.size(), offset, 2);
  return static_cast<std::uint16_t>((bytes[offset] << 8) | bytes[offset + 1]);
}

inline std::uint32_t ReadU32(std::span<const std::uint8_t> bytes, std::size_t offset) {
  CheckRange(bytes.size(), offset, 4);
  return (std::uint32_t{bytes[offset]} << 24) | (std::uint32_t{bytes[offset + 1]} << 16) |
         (std::uint32_t{bytes[offset + 2]} << 8) | std::uint32_t{bytes[offset + 3]};
}

inline void WriteU8(std::span<std::uint8_t> bytes, std::size_t offset, std::uint8_t value) {
  CheckRange(bytes.size(), offset, 1);
  bytes[offset] = value;
}

inline void WriteU16(std::span<std::uint8_t> bytes, std::size_t offset, std::uint16_t value) {
  CheckRange(bytes.size(), offset, 2);
  bytes[offset] = static_cast<std::uint8_t>(value >> 8);
  bytes[offset + 1] = static_cast<std::uint8_t>(value & 0xFF);
}

inline void WriteU32(std::span<std::uint8_t> bytes, std::size_t offset, std::uint32_t value) {
  CheckRange(bytes.size(), offset, 4);
  for (int i = 0; i < 4; ++i) {
    bytes[offset + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(value >> (24 - 8 * i));
  }
}

inline void AppendU16(std::vector<std::uint8_t>& out, std::uint16_t value) {
  out.push_back(static_cast<std::uint8_t>(value >> 8));
  out.push_back(static_cast<std::uint8_t>(value & 0xFF));
}

inline void AppendU32(std::vector<std::uint8_t>& out, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(value >> (24 - 8 * i)));
}

}  // namespace cadenzo
