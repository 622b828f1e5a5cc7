#include "link/LineSettings.h"

#include <cctype>
#include <charconv>
#include <vector>

namespace tolvane {
namespace {

std::string_view Trimmed(std::string_view text) {
  const auto blank = [](char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  return text;
}

// Digits only, as from_chars reads them: no plus sign, no blanks inside. A minus sign gives a value
// that every range below refuses.
std::optional<int> Number(std::string_view text) {
  int value = 0;
  const char* end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data(), end, value);
  if (text.empty() || error != std::errc() || stop != end) return std::nullopt;
  return value;
}

std::optional<EParity> ParityOf(std::string_view text) {
  if (text.size() != 1) return std::nullopt;
  switch (std::tolower(static_cast<unsigned char>(text.front()))) {
    case 'n': return EParity::None;
    case 'o': return EParity::Odd;
    case 'e': return EParity::Even;
    case 'm': return EParity::Mark;
    case 's': return EParity::Space;
    default: return std::nullopt;
  }
}

std::optional<CLineSettings> Parse(std::string_view text) {
  std::vector<std::string_view> fields;
  for (;;) {
    const std::size_t comma = text.find(',');
    fields.push_back(Trimmed(text.substr(0, comma)));
    if (comma == std::string_view::npos) break;
    text.remove_prefix(comma + 1);
  }
  if (fields.size() != 4) return std::nullopt;
  const std::optional<int> baudRate = Number(fields[0]);
  const std::optional<EParity> parity = ParityOf(fields[1]);
  const std::optional<int> dataBits = Number(fields[2]);
  if (!baudRate || *baudRate <= 0 || !parity || !dataBits || *dataBits < 5 || *dataBits > 8) return std::nullopt;
  const bool oneStopBit = fields[3] == "1";
  if (!oneStopBit && (fields[3] != "2" || *dataBits == 5)) return std::nullopt;
  return CLineSettings{*baudRate, *parity, *dataBits, oneStopBit ? EStopBits::One : EStopBits::Two};
}

}  // namespace

std::optional<CLineSettings> ParseLineSettings(std::string_view text, std::string& errorText) {
  std::optional<CLineSettings> settings = Parse(text);
  // What the message box says of settings that no port could take.
  if (!settings) errorText = "Invalid property value";
  return settings;
}

}  // namespace tolvane
