#pragma once

#include <string>
#include <string_view>

namespace tolvane {

inline constexpr std::size_t kImeiDigits = 15;

// The Luhn check digit of the first fourteen digits, as a device's IMEI carries it last.
char ImeiCheckDigit(std::string_view firstFourteen);

// Why `text` is not an IMEI a device can take: not 15 digits, or a wrong check digit. Empty when
// it is one.
std::string ImeiProblem(std::string_view text);

}  // namespace tolvane
