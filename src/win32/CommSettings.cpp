#include "win32/CommSettings.h"

#include <cctype>
#include <charconv>
#include <vector>

namespace tolvane::win32 {
namespace {

std::string Trimmed(std::string text) {
  const auto blank = [](char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; };
  while (!text.empty() && blank(text.back())) text.pop_back();
  std::size_t first = 0;
  while (first < text.size() && blank(text[first])) ++first;
  return text.substr(first);
}

bool ParseNumber(const std::string& text, unsigned long& value) {
  const char* end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data(), end, value);
  return error == std::errc() && stop == end && !text.empty();
}

}  // namespace

bool ParseCommSettings(const std::string& text, CCommSettings& settings) {
  std::vector<std::string> fields;
  std::size_t start = 0;
  for (;;) {
    const std::size_t comma = text.find(',', start);
    fields.push_back(Trimmed(text.substr(start, comma == std::string::npos ? std::string::npos : comma - start)));
    if (comma == std::string::npos) break;
    start = comma + 1;
  }
  if (fields.size() != 4) return false;

  CCommSettings parsed;
  unsigned long number = 0;
  if (!ParseNumber(fields[0], number) || number == 0 || number > 0xFFFFFFFFul) return false;
  parsed.baudRate = static_cast<DWORD>(number);

  if (fields[1].size() != 1) return false;
  switch (std::tolower(static_cast<unsigned char>(fields[1][0]))) {
    case 'n': parsed.parity = NOPARITY; break;
    case 'e': parsed.parity = EVENPARITY; break;
    case 'o': parsed.parity = ODDPARITY; break;
    case 'm': parsed.parity = MARKPARITY; break;
    case 's': parsed.parity = SPACEPARITY; break;
    default: return false;
  }

  if (!ParseNumber(fields[2], number) || number < 5 || number > 8) return false;
  parsed.dataBits = static_cast<BYTE>(number);

  if (fields[3] == "1")
    parsed.stopBits = ONESTOPBIT;
  else if (fields[3] == "1.5")
    parsed.stopBits = ONE5STOPBITS;
  else if (fields[3] == "2")
    parsed.stopBits = TWOSTOPBITS;
  else
    return false;

  settings = parsed;
  return true;
}

void ApplyToDcb(const CCommSettings& settings, DCB& dcb) {
  dcb.DCBlength = sizeof(DCB);
  dcb.BaudRate = settings.baudRate;
  dcb.ByteSize = settings.dataBits;
  dcb.Parity = settings.parity;
  dcb.StopBits = settings.stopBits;
  dcb.fBinary = TRUE;
  dcb.fParity = settings.parity != NOPARITY ? TRUE : FALSE;
  dcb.fOutxCtsFlow = FALSE;
  dcb.fOutxDsrFlow = FALSE;
  dcb.fDtrControl = DTR_CONTROL_ENABLE;
  dcb.fDsrSensitivity = FALSE;
  dcb.fOutX = FALSE;
  dcb.fInX = FALSE;
  dcb.fErrorChar = FALSE;
  dcb.fNull = FALSE;
  dcb.fRtsControl = RTS_CONTROL_ENABLE;
  dcb.fAbortOnError = FALSE;
}

}  // namespace tolvane::win32
