// A progress estimate from the position of a text between a low and a high
// text on a scale of 100 steps: the texts' common leading characters are set
// aside, the next four characters are read as a number in base N (N the size
// of the alphabet, characters outside it counting as its first), and the
// difference between the ends is split into 100 equal steps.
#pragma once

#include <string>
#include <string_view>

namespace fw {

class StepStringClass {
 public:
  // Digits then upper-case letters, compared without regard to case.
  void Init(std::string alphabet = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ", bool caseInsensitive = true);
  void SetLimit(std::string_view low, std::string_view high);
  // The step `value` reaches, from 1 to 100.
  int GetPercentile(std::string_view value) const;

 private:
  long long number(std::string_view text, bool padHigh) const;
  std::string alphabet_;
  bool nocase_ = true;
  std::string prefix_;
  long long low_ = 0, high_ = 0;
};

}  // namespace fw
