#include "link/Framing.h"

namespace tolvane {

int SplitAt(const std::string& text, char separator, std::string& left, std::string& right) {
  const std::size_t position = text.find(separator);
  if (position == std::string::npos) return -1;
  left = text.substr(0, position);
  right = text.substr(position + 1);
  return static_cast<int>(position);
}

bool CMessageCutter::Next(std::string& message) {
  const std::size_t end = m_accumulator.find(kTerminator);
  if (end == std::string::npos) return false;
  message = m_accumulator.substr(0, end);
  m_accumulator.erase(0, end + 1);
  return true;
}

std::string CByteFramer::Feed(std::string_view bytes) {
  const std::size_t nul = bytes.find('\0');
  if (nul != std::string_view::npos) bytes = bytes.substr(0, nul);
  m_pending.append(bytes);
  const std::size_t last = m_pending.rfind(kTerminator);
  if (last == std::string::npos) return {};
  std::string text = DecodeUtf8Lossy(std::string_view(m_pending).substr(0, last + 1));
  m_pending.erase(0, last + 1);
  return text;
}

namespace {

constexpr char kReplacement[] = "\xEF\xBF\xBD";

bool IsContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

// Length of the well-formed sequence starting at `at`, or 0 when it is not well-formed.
std::size_t SequenceLength(std::string_view s, std::size_t at) {
  const auto b0 = static_cast<unsigned char>(s[at]);
  if (b0 < 0x80) return 1;
  std::size_t length = 0;
  unsigned char low = 0x80, high = 0xBF;  // allowed range of the second byte
  if (b0 >= 0xC2 && b0 <= 0xDF) {
    length = 2;
  } else if (b0 >= 0xE0 && b0 <= 0xEF) {
    length = 3;
    if (b0 == 0xE0) low = 0xA0;
    if (b0 == 0xED) high = 0x9F;  // no surrogates
  } else if (b0 >= 0xF0 && b0 <= 0xF4) {
    length = 4;
    if (b0 == 0xF0) low = 0x90;
    if (b0 == 0xF4) high = 0x8F;
  } else {
    return 0;
  }
  if (at + length > s.size()) return 0;
  const auto b1 = static_cast<unsigned char>(s[at + 1]);
  if (b1 < low || b1 > high) return 0;
  for (std::size_t i = 2; i < length; ++i)
    if (!IsContinuation(static_cast<unsigned char>(s[at + i]))) return 0;
  return length;
}

}  // namespace

std::string DecodeUtf8Lossy(std::string_view bytes) {
  std::string text;
  text.reserve(bytes.size());
  std::size_t at = 0;
  while (at < bytes.size()) {
    const std::size_t length = SequenceLength(bytes, at);
    if (length == 0) {
      text += kReplacement;
      ++at;
      while (at < bytes.size() && IsContinuation(static_cast<unsigned char>(bytes[at]))) ++at;
      continue;
    }
    text.append(bytes.substr(at, length));
    at += length;
  }
  return text;
}

int Utf16Length(std::string_view utf8) {
  int units = 0;
  for (const char c : utf8) {
    const auto byte = static_cast<unsigned char>(c);
    if (IsContinuation(byte)) continue;
    units += byte >= 0xF0 ? 2 : 1;
  }
  return units;
}

}  // namespace tolvane
