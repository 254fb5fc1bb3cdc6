#include "store/decimal.h"

#include <cstdlib>

namespace store {

Status Dec::parse(std::string_view t, Dec& out) {
  auto bad = [&] { return Status(kInvalidValue, "«" + std::string(t) + "» no es un número con hasta dos decimales"); };
  std::size_t i = 0;
  bool negative = false;
  if (i < t.size() && (t[i] == '-' || t[i] == '+')) negative = t[i++] == '-';
  std::int64_t units = 0;
  int intDigits = 0;
  while (i < t.size() && t[i] >= '0' && t[i] <= '9') {
    if (units > 99'999'999'999LL) return {kDecimalOverflow, "«" + std::string(t) + "» es demasiado grande"};
    units = units * 10 + (t[i++] - '0');
    ++intDigits;
  }
  std::int64_t fraction = 0;
  int fracDigits = 0;
  if (i < t.size() && (t[i] == '.' || t[i] == ',')) {
    ++i;
    while (i < t.size() && t[i] >= '0' && t[i] <= '9') {
      if (fracDigits == 2) return bad();
      fraction = fraction * 10 + (t[i++] - '0');
      ++fracDigits;
    }
  }
  if (i != t.size() || intDigits + fracDigits == 0) return bad();
  if (fracDigits == 1) fraction *= 10;
  const std::int64_t cents = units * 100 + fraction;
  out = Dec(negative ? -cents : cents);
  return {};
}

std::string Dec::toString() const {
  const std::int64_t magnitude = cents_ < 0 ? -cents_ : cents_;
  std::string s = std::to_string(magnitude / 100);
  const auto frac = static_cast<int>(magnitude % 100);
  s += '.';
  s += static_cast<char>('0' + frac / 10);
  s += static_cast<char>('0' + frac % 10);
  return cents_ < 0 ? "-" + s : s;
}

namespace packed {

std::int64_t maxCents(std::size_t bytes) {
  std::int64_t m = 1;
  for (std::size_t i = 0; i < 2 * bytes - 1; ++i) m *= 10;
  return m - 1;
}

Dec decode(const unsigned char* b, std::size_t n) {
  std::int64_t v = b[0] & 0x0F;
  for (std::size_t i = 1; i < n; ++i) v = v * 100 + (b[i] >> 4) * 10 + (b[i] & 0x0F);
  return Dec::fromCents((b[0] >> 4) == 0xF ? -v : v);
}

Status encode(Dec value, unsigned char* b, std::size_t n) {
  const std::int64_t c = value.cents();
  const std::int64_t magnitude = c < 0 ? -c : c;
  if (magnitude > maxCents(n))
    return {kDecimalOverflow, value.toString() + " no cabe en " + std::to_string(2 * n - 3) + " cifras enteras"};
  std::int64_t m = magnitude;
  for (std::size_t i = n; i-- > 1;) {
    const auto lo = static_cast<unsigned char>(m % 10);
    m /= 10;
    const auto hi = static_cast<unsigned char>(m % 10);
    m /= 10;
    b[i] = static_cast<unsigned char>(hi << 4 | lo);
  }
  b[0] = static_cast<unsigned char>((c < 0 ? 0xF0 : 0x00) | (m % 10));
  return {};
}

}  // namespace packed
}  // namespace store
