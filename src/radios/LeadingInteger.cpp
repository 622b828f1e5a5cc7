#include "radios/LeadingInteger.h"

#include <limits>

namespace tolvane {

int ParseLeadingInteger(std::string_view text) {
  std::size_t at = 0;
  // The C locale's white space, as atoi skips it.
  while (at < text.size() && (text[at] == ' ' || (text[at] >= '\t' && text[at] <= '\r'))) ++at;
  bool negative = false;
  if (at < text.size() && (text[at] == '+' || text[at] == '-')) negative = text[at++] == '-';
  // Accumulated as a negative number: int's lowest value has no positive counterpart.
  constexpr int kLowest = std::numeric_limits<int>::min();
  int value = 0;
  for (; at < text.size() && text[at] >= '0' && text[at] <= '9'; ++at) {
    const int digit = text[at] - '0';
    if (value < (kLowest + digit) / 10) {
      value = kLowest;
      break;
    }
    value = value * 10 - digit;
  }
  if (negative) return value;
  return value == kLowest ? std::numeric_limits<int>::max() : -value;
}

}  // namespace tolvane
