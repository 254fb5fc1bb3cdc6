#include "framework/step_string.h"

#include <algorithm>
#include <cctype>

namespace fw {

void StepStringClass::Init(std::string alphabet, bool caseInsensitive) {
  alphabet_ = std::move(alphabet);
  nocase_ = caseInsensitive;
}

long long StepStringClass::number(std::string_view text, bool padHigh) const {
  const long long base = static_cast<long long>(alphabet_.size());
  long long n = 0;
  for (std::size_t i = 0; i < 4; ++i) {
    long long digit = padHigh ? base - 1 : 0;
    if (i < text.size()) {
      char c = text[i];
      if (nocase_) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
      const auto at = alphabet_.find(c);
      digit = at == std::string::npos ? 0 : static_cast<long long>(at);
    }
    n = n * base + digit;
  }
  return n;
}

void StepStringClass::SetLimit(std::string_view low, std::string_view high) {
  std::size_t common = 0;
  auto same = [&](char a, char b) {
    return nocase_ ? std::toupper(static_cast<unsigned char>(a)) == std::toupper(static_cast<unsigned char>(b)) : a == b;
  };
  while (common < low.size() && common < high.size() && same(low[common], high[common])) ++common;
  prefix_ = std::string(low.substr(0, common));
  low_ = number(low.substr(common), false);
  high_ = number(high.substr(common), true);
}

int StepStringClass::GetPercentile(std::string_view value) const {
  if (high_ <= low_) return 100;
  const std::string_view rest = value.size() > prefix_.size() ? value.substr(prefix_.size()) : std::string_view();
  const long long v = number(rest, false);
  const long long step = std::max<long long>(1, (high_ - low_) / 100);
  const long long pct = (v - low_) / step;
  return static_cast<int>(std::clamp<long long>(pct, 1, 100));
}

}  // namespace fw
