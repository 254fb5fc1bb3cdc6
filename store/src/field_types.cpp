#include "store/field_types.h"

namespace store {

std::int32_t dayNumber(int day, int month, int year) {
  // Days from civil date; month taken as March-based so leap days end a year.
  const int y = year - (month <= 2 ? 1 : 0);
  const int era = (y >= 0 ? y : y - 399) / 400;
  const int yoe = y - era * 400;
  const int mp = (month + 9) % 12;
  const int doy = (153 * mp + 2) / 5 + day - 1;
  const int doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  const std::int64_t daysSinceMarch1Year0 = static_cast<std::int64_t>(era) * 146097 + doe;
  return static_cast<std::int32_t>(daysSinceMarch1Year0 - 305);  // 0001-01-01 is day 1
}

bool isValidDate(int day, int month, int year) {
  if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1) return false;
  static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  return day <= kDays[month - 1] + (month == 2 && leap ? 1 : 0);
}

std::string Date::toString() const {
  if (empty()) return {};
  char s[16];
  std::snprintf(s, sizeof s, "%02d/%02d/%04d", day(), month(), year());
  return s;
}

Status Date::parse(std::string_view t, Date& out) {
  if (t.empty()) {
    out.clear();
    return {};
  }
  int parts[3] = {0, 0, 0};
  int digits[3] = {0, 0, 0};
  int k = 0;
  for (char ch : t) {
    if (ch == '/') {
      if (++k > 2) break;
    } else if (ch >= '0' && ch <= '9' && digits[k] < 4) {
      parts[k] = parts[k] * 10 + (ch - '0');
      ++digits[k];
    } else {
      k = 3;
      break;
    }
  }
  const bool shaped = k == 2 && digits[0] >= 1 && digits[0] <= 2 && digits[1] >= 1 && digits[1] <= 2 && digits[2] == 4;
  if (!shaped || !isValidDate(parts[0], parts[1], parts[2]))
    return {kInvalidValue, "«" + std::string(t) + "» no es una fecha válida (DD/MM/AAAA)"};
  out.set(parts[0], parts[1], parts[2]);
  return {};
}

}  // namespace store
