// Field types of the record images. Each holds its raw bytes only, so a record
// struct made of them is the record image byte for byte (no padding: every
// type has alignment 1).
//
//   type        bytes  encoding
//   Long          4    signed, little-endian
//   Short         2    signed, little-endian
//   String<N>     N    left-aligned, space-padded, no terminator (ANSI in memory)
//   Date          4    day, month, year (16-bit little-endian); all zero = no date
//   Decimal<B>    B    packed decimal with two decimals (store/decimal.h)
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>

#include "store/decimal.h"
#include "store/status.h"

namespace store {

struct Long {
  unsigned char b[4];
  std::int32_t get() const {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(b[0]) | static_cast<std::uint32_t>(b[1]) << 8 |
                                     static_cast<std::uint32_t>(b[2]) << 16 | static_cast<std::uint32_t>(b[3]) << 24);
  }
  void set(std::int32_t v) {
    const auto u = static_cast<std::uint32_t>(v);
    b[0] = static_cast<unsigned char>(u), b[1] = static_cast<unsigned char>(u >> 8);
    b[2] = static_cast<unsigned char>(u >> 16), b[3] = static_cast<unsigned char>(u >> 24);
  }
  operator std::int32_t() const { return get(); }  // NOLINT: reads like the field
  Long& operator=(std::int32_t v) { set(v); return *this; }
};

struct Short {
  unsigned char b[2];
  std::int16_t get() const { return static_cast<std::int16_t>(b[0] | b[1] << 8); }
  void set(std::int16_t v) {
    const auto u = static_cast<std::uint16_t>(v);
    b[0] = static_cast<unsigned char>(u), b[1] = static_cast<unsigned char>(u >> 8);
  }
  operator std::int16_t() const { return get(); }  // NOLINT
  Short& operator=(std::int16_t v) { set(v); return *this; }
};

template <std::size_t N>
struct String {
  char c[N];
  static constexpr std::size_t size = N;
  std::string_view view() const { return {c, N}; }
  // The text without its trailing padding spaces.
  std::string_view trimmed() const {
    std::size_t n = N;
    while (n > 0 && c[n - 1] == ' ') --n;
    return {c, n};
  }
  bool blank() const { return trimmed().empty(); }
  // Assigning pads a shorter text with spaces and cuts a longer one.
  void assign(std::string_view ansi) {
    const std::size_t n = ansi.size() < N ? ansi.size() : N;
    std::memcpy(c, ansi.data(), n);
    std::memset(c + n, ' ', N - n);
  }
  String& operator=(std::string_view ansi) { assign(ansi); return *this; }
};

// Day numbers: consecutive integers for consecutive days, 1 January of year 1
// being day 1; dates compare by their day numbers. No date is day 0.
std::int32_t dayNumber(int day, int month, int year);
bool isValidDate(int day, int month, int year);

struct Date {
  unsigned char b[4];
  int day() const { return b[0]; }
  int month() const { return b[1]; }
  int year() const { return b[2] | b[3] << 8; }
  bool empty() const { return (b[0] | b[1] | b[2] | b[3]) == 0; }
  void clear() { std::memset(b, 0, 4); }
  void set(int day, int month, int year) {
    b[0] = static_cast<unsigned char>(day), b[1] = static_cast<unsigned char>(month);
    b[2] = static_cast<unsigned char>(year & 0xFF), b[3] = static_cast<unsigned char>((year >> 8) & 0xFF);
  }
  std::int32_t dayNumber() const { return empty() ? 0 : store::dayNumber(day(), month(), year()); }
  // "DD/MM/YYYY", empty text for no date.
  std::string toString() const;
  // Parses "D/M/YYYY" (one or two digits for day and month, four for the year) or
  // an empty text (no date). Refuses impossible dates (31/02/2024) with kInvalidValue.
  static Status parse(std::string_view text, Date& out);
};

template <std::size_t B>
struct Decimal {
  unsigned char b[B];
  static constexpr std::size_t size = B;
  Dec get() const { return packed::decode(b, B); }
  // Refuses, and leaves the field as it was, when the value has more integer digits than fit.
  [[nodiscard]] Status set(Dec v) { return packed::encode(v, b, B); }
  operator Dec() const { return get(); }  // NOLINT
};

}  // namespace store
