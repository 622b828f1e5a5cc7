#pragma once

#include <string>
#include <string_view>

namespace tolvane {

inline constexpr char kTerminator = '~';
inline constexpr char kKeySeparator = ':';
inline constexpr char kFieldSeparator = '^';

// Splits at the first `separator`: returns its position, or -1 when absent (left and right unchanged).
int SplitAt(const std::string& text, char separator, std::string& left, std::string& right);

// Joins received pieces and cuts complete messages at the terminator.
class CMessageCutter {
 public:
  void Append(std::string_view piece) { m_accumulator.append(piece); }
  // The next complete message without its terminator; false when none is complete yet.
  bool Next(std::string& message);
  const std::string& Pending() const { return m_accumulator; }

 private:
  std::string m_accumulator;
};

// Bytes read from the wire become text only in whole messages: everything up to the last
// terminator is decoded at once, so a character split across reads arrives whole.
class CByteFramer {
 public:
  // Takes a read, up to its first NUL. Returns the newly decodable text (possibly empty).
  std::string Feed(std::string_view bytes);
  void Reset() { m_pending.clear(); }
  std::size_t PendingBytes() const { return m_pending.size(); }

 private:
  std::string m_pending;
};

// UTF-8 with every invalid sequence replaced by U+FFFD.
std::string DecodeUtf8Lossy(std::string_view bytes);

// Number of UTF-16 units the UTF-8 text needs.
int Utf16Length(std::string_view utf8);

}  // namespace tolvane
