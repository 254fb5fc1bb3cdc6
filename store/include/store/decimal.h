// Exact decimal values with two decimal places, and the packed-decimal bytes
// the record images hold them in. No binary floating point anywhere.
//
// Packed decimal of B bytes: 2B-1 digits, the last two after the point.
//   byte 0, high nibble : sign, 0x0 for zero or positive, 0xF for negative
//   then                : the digits in BCD, most significant first
// A 4-byte field holds -99999.99 .. 99999.99, a 3-byte field -999.99 .. 999.99.
#pragma once

#include <compare>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "store/status.h"

namespace store {

class Dec {
 public:
  constexpr Dec() = default;
  static constexpr Dec fromCents(std::int64_t cents) { return Dec(cents); }
  static constexpr Dec fromUnits(std::int64_t units) { return Dec(units * 100); }

  constexpr std::int64_t cents() const { return cents_; }
  constexpr bool isZero() const { return cents_ == 0; }
  constexpr auto operator<=>(const Dec&) const = default;

  // Parses "8", "8.5", "8,50", "-5.50", "+3", ".5". At most two decimals; no
  // exponent, no thousands separators, no blanks inside. kInvalidValue otherwise.
  static Status parse(std::string_view text, Dec& out);
  // "8.50", "-5.50", "0.00": always two decimals, "." as the separator.
  std::string toString() const;

 private:
  constexpr explicit Dec(std::int64_t cents) : cents_(cents) {}
  std::int64_t cents_ = 0;
};

namespace packed {
// Largest magnitude, in hundredths, that a packed field of `bytes` bytes holds.
std::int64_t maxCents(std::size_t bytes);
// Reads a packed field. Nibbles above 9 (a damaged image) count with their value.
Dec decode(const unsigned char* bytes, std::size_t n);
// Writes a packed field; kDecimalOverflow, and nothing written, when it does not fit.
Status encode(Dec value, unsigned char* bytes, std::size_t n);
}  // namespace packed

}  // namespace store
