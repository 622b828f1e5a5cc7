#pragma once

#include <string>
#include <string_view>

// The device's own reading of the line. It shares nothing with the PC's framing on purpose: a
// fault there must not hide behind the same fault here.
namespace tolvane::devsim {

inline constexpr char kEnd = '~';

// Collects what arrives and hands out whole messages, without their "~".
class CWireCutter {
 public:
  void Append(std::string_view bytes) { m_buffer.append(bytes); }
  bool Next(std::string& message) {
    const std::size_t end = m_buffer.find(kEnd, m_scanned);
    if (end == std::string::npos) {
      m_scanned = m_buffer.size();
      return false;
    }
    message.assign(m_buffer, 0, end);
    m_buffer.erase(0, end + 1);
    m_scanned = 0;
    return true;
  }

 private:
  std::string m_buffer;
  std::size_t m_scanned = 0;
};

// "KEY:value" at the first colon; false when there is none.
inline bool SplitKeyValue(const std::string& message, std::string& key, std::string& value) {
  const std::size_t colon = message.find(':');
  if (colon == std::string::npos) return false;
  key = message.substr(0, colon);
  value = message.substr(colon + 1);
  return true;
}

// The value's fields at "^": the part before the first one and the rest; the rest is empty when
// there is none.
inline std::string FieldBefore(const std::string& value, std::string& rest) {
  const std::size_t caret = value.find('^');
  if (caret == std::string::npos) {
    rest.clear();
    return value;
  }
  rest = value.substr(caret + 1);
  return value.substr(0, caret);
}

}  // namespace tolvane::devsim
