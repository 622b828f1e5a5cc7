#pragma once

#include <string>
#include <string_view>

namespace tolvane {

inline constexpr char kTerminator = '~';
inline constexpr char kKeySeparator = ':';
inline constexpr char kFieldSeparator = '^';

// Splits at the first `separator`: returns its position, or -1 when absent (left and right unchanged).
int SplitAt(const std::string& text, char separator, std::string& left, std::string& right);

// The longest unterminated tail kept while waiting for its terminator. Far above any real message
// (a GPS sentence is under 100 bytes); past it the tail is noise, dropped up to the next terminator
// so the link finds its feet again.
inline constexpr std::size_t kMaxPendingTail = 64 * 1024;

// An unterminated tail that is searched for the terminator once, and bounded.
class CPendingTail {
 public:
  // Adds bytes; returns the position just past the last terminator now held, or 0 for none.
  std::size_t Append(std::string_view bytes);
  // Removes the first `count` bytes (a cut message or text handed on).
  void Consume(std::size_t count);
  const std::string& Text() const { return m_text; }
  void Clear();

 private:
  std::string m_text;
  std::size_t m_nLastTerminatorEnd = 0;  // 0: no terminator held
  bool m_bDiscarding = false;            // over the cap: dropping up to the next terminator
};

// Joins received pieces and cuts complete messages at the terminator.
class CMessageCutter {
 public:
  void Append(std::string_view piece) { m_tail.Append(piece); }
  // The next complete message without its terminator; false when none is complete yet.
  bool Next(std::string& message);
  // What waits for its terminator.
  std::string_view Pending() const { return std::string_view(m_tail.Text()).substr(m_nStart); }

 private:
  CPendingTail m_tail;
  std::size_t m_nStart = 0;    // where the next message begins
  std::size_t m_nScanned = 0;  // up to here, no terminator after m_nStart
};

// Bytes read from the wire become text only in whole messages: everything up to the last
// terminator is decoded at once, so a character split across reads arrives whole. NUL bytes are
// line noise and are dropped one by one; nothing around them is lost.
class CByteFramer {
 public:
  // Takes a read. Returns the newly decodable text (possibly empty).
  std::string Feed(std::string_view bytes);
  void Reset() { m_pending.Clear(); }
  std::size_t PendingBytes() const { return m_pending.Text().size(); }

 private:
  CPendingTail m_pending;
};

// UTF-8 with every invalid sequence replaced by U+FFFD.
std::string DecodeUtf8Lossy(std::string_view bytes);

// Number of UTF-16 units the UTF-8 text needs.
int Utf16Length(std::string_view utf8);

}  // namespace tolvane
