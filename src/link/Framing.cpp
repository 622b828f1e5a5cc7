#include "link/Framing.h"

#include <algorithm>

namespace tolvane {

int SplitAt(const std::string& text, char separator, std::string& left, std::string& right) {
  const std::size_t position = text.find(separator);
  if (position == std::string::npos) return -1;
  left = text.substr(0, position);
  right = text.substr(position + 1);
  return static_cast<int>(position);
}

std::size_t CPendingTail::Append(std::string_view bytes) {
  while (m_bDiscarding && !bytes.empty()) {
    const std::size_t end = bytes.find(kTerminator);
    if (end == std::string_view::npos) return m_nLastTerminatorEnd;
    // The noise ends with this terminator; what follows is a fresh start.
    bytes.remove_prefix(end + 1);
    m_bDiscarding = false;
  }
  const std::size_t start = m_text.size();
  m_text.append(bytes);
  const std::size_t last = std::string_view(m_text).substr(start).rfind(kTerminator);
  if (last != std::string_view::npos) m_nLastTerminatorEnd = start + last + 1;
  if (m_text.size() - m_nLastTerminatorEnd > kMaxPendingTail) {
    m_text.resize(m_nLastTerminatorEnd);
    m_bDiscarding = true;
  }
  return m_nLastTerminatorEnd;
}

void CPendingTail::Consume(std::size_t count) {
  m_text.erase(0, count);
  m_nLastTerminatorEnd = m_nLastTerminatorEnd > count ? m_nLastTerminatorEnd - count : 0;
}

void CPendingTail::Clear() {
  m_text.clear();
  m_nLastTerminatorEnd = 0;
  m_bDiscarding = false;
}

bool CMessageCutter::Next(std::string& message) {
  const std::string& text = m_tail.Text();
  // The tail may have been cut back to its last terminator since the last call.
  m_nScanned = std::min(std::max(m_nScanned, m_nStart), text.size());
  const std::size_t end = text.find(kTerminator, m_nScanned);
  if (end == std::string::npos) {
    // Messages are taken from the front without moving the rest; drop them all at once here.
    m_tail.Consume(m_nStart);
    m_nScanned = text.size();
    m_nStart = 0;
    return false;
  }
  message.assign(text, m_nStart, end - m_nStart);
  m_nStart = end + 1;
  m_nScanned = m_nStart;
  return true;
}

std::string CByteFramer::Feed(std::string_view bytes) {
  std::string clean;
  if (bytes.find('\0') != std::string_view::npos) {
    clean.reserve(bytes.size());
    for (const char c : bytes)
      if (c != '\0') clean += c;
    bytes = clean;
  }
  const std::size_t complete = m_pending.Append(bytes);
  if (complete == 0) return {};
  std::string text = DecodeUtf8Lossy(std::string_view(m_pending.Text()).substr(0, complete));
  m_pending.Consume(complete);
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
