#include "engine/IniValue.h"

#include <cstdint>

namespace tolvane {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

void AppendUtf8(std::string& text, std::uint32_t code) {
  if (code < 0x80) {
    text += static_cast<char>(code);
  } else if (code < 0x800) {
    text += static_cast<char>(0xC0 | (code >> 6));
    text += static_cast<char>(0x80 | (code & 0x3F));
  } else {
    text += static_cast<char>(0xE0 | (code >> 12));
    text += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    text += static_cast<char>(0x80 | (code & 0x3F));
  }
}

// The escape after a backslash, as the INI format has it: C's letters, octal and hexadecimal
// digits taken greedily into one UTF-16 unit, and any other character dropped with its backslash.
bool AppendEscape(std::string_view raw, std::size_t& at, std::string& value) {
  static constexpr std::string_view kLetters = "abfnrtv\"?'\\";
  static constexpr std::string_view kMeanings = "\a\b\f\n\r\t\v\"?'\\";
  // A backslash that ends the line would join the next line to this one.
  if (at >= raw.size()) return false;
  const char c = raw[at++];
  // Escaping half a character would leave the other half undecodable.
  if (static_cast<unsigned char>(c) >= 0x80) return false;
  if (const auto letter = kLetters.find(c); letter != std::string_view::npos) {
    value += kMeanings[letter];
    return true;
  }
  const bool bHex = c == 'x';
  if (!bHex && (c < '0' || c > '7')) return true;
  std::uint32_t code = bHex ? 0 : static_cast<std::uint32_t>(c - '0');
  const std::size_t first = at;
  for (; at < raw.size(); ++at) {
    const char digit = raw[at];
    int number = -1;
    if (digit >= '0' && digit <= (bHex ? '9' : '7')) number = digit - '0';
    if (bHex && digit >= 'a' && digit <= 'f') number = digit - 'a' + 10;
    if (bHex && digit >= 'A' && digit <= 'F') number = digit - 'A' + 10;
    if (number < 0) break;
    code = (code * (bHex ? 16 : 8) + static_cast<std::uint32_t>(number)) & 0xFFFF;
  }
  if (bHex && at == first) return true;
  // Half a surrogate pair is no character.
  if (code >= 0xD800 && code <= 0xDFFF) return false;
  AppendUtf8(value, code);
  return true;
}

}  // namespace

std::optional<std::string> ReadIniValue(std::string_view raw) {
  std::string value;
  bool bQuoted = false;
  bool bEverQuoted = false;
  std::size_t at = 0;
  const auto skipBlanks = [&] {
    while (at < raw.size() && IsBlank(raw[at])) ++at;
  };
  skipBlanks();
  while (at < raw.size()) {
    const char c = raw[at++];
    if (c == '"') {
      bQuoted = !bQuoted;
      bEverQuoted = true;
      if (!bQuoted) skipBlanks();
    } else if (c == '\\') {
      if (!AppendEscape(raw, at, value)) return std::nullopt;
    } else if (!bQuoted && c == ',') {
      return std::nullopt;
    } else if (!bQuoted && c == ';') {
      break;
    } else {
      value += c;
    }
  }
  if (bQuoted) return std::nullopt;
  // Once quoted, a value keeps its blanks to the end of the line.
  if (!bEverQuoted)
    while (!value.empty() && IsBlank(value.back())) value.pop_back();
  return value;
}

}  // namespace tolvane
