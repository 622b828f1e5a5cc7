#include "pool/ImeiCheck.h"

#include <algorithm>

namespace tolvane {

char ImeiCheckDigit(std::string_view firstFourteen) {
  int sum = 0;
  for (std::size_t i = 0; i < firstFourteen.size(); ++i) {
    int digit = firstFourteen[i] - '0';
    // Every second digit from the left, counting from one, is doubled.
    if (i % 2 == 1) {
      digit *= 2;
      if (digit > 9) digit -= 9;
    }
    sum += digit;
  }
  return static_cast<char>('0' + (10 - sum % 10) % 10);
}

std::string ImeiProblem(std::string_view text) {
  const bool digits = std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
  if (text.size() != kImeiDigits || !digits) return "is not an IMEI of 15 digits";
  const char expected = ImeiCheckDigit(text.substr(0, kImeiDigits - 1));
  if (text.back() != expected) return std::string("has a wrong check digit (it would end in ") + expected + ")";
  return {};
}

}  // namespace tolvane
