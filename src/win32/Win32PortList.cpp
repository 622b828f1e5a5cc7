#include "win32/Win32PortList.h"

#include <algorithm>
#include <set>

#include "link/PortNaming.h"
#include "win32/PlugAndPlayPorts.h"
#include "win32/Utf16.h"
#include "win32/WinApi.h"

namespace tolvane::win32 {

int ComNumberOfPortName(const std::wstring& portName) {
  if (portName.size() < 4 || portName.size() > 8) return 0;
  if (::CompareStringOrdinal(portName.c_str(), 3, L"COM", 3, TRUE) != CSTR_EQUAL) return 0;
  int number = 0;
  for (std::size_t i = 3; i < portName.size(); ++i) {
    const wchar_t c = portName[i];
    if (c < L'0' || c > L'9' || (i == 3 && c == L'0')) return 0;
    number = number * 10 + (c - L'0');
  }
  return number <= 0x7FFF ? number : 0;
}

std::vector<std::string> PortCaptionsFromSerialComm(const std::vector<std::wstring>& portNames) {
  std::set<int> numbers;
  for (const std::wstring& name : portNames)
    if (const int number = ComNumberOfPortName(name); number > 0) numbers.insert(number);
  std::vector<std::string> captions;
  for (const int number : numbers) captions.push_back("COM" + std::to_string(number));
  return captions;
}

namespace {

bool StartsWithNoCase(const std::wstring& text, std::wstring_view prefix) {
  return text.size() >= prefix.size() &&
         ::CompareStringOrdinal(text.c_str(), static_cast<int>(prefix.size()), prefix.data(),
                                static_cast<int>(prefix.size()), TRUE) == CSTR_EQUAL;
}

}  // namespace

std::string LikelyDevicePort(const std::vector<CSerialCommValue>& values) {
  int best = 0;
  for (const CSerialCommValue& value : values) {
    const int number = ComNumberOfPortName(value.port);
    if (number <= 0 || (best != 0 && number >= best)) continue;
    if (StartsWithNoCase(value.device, L"\\Device\\Serial") || StartsWithNoCase(value.device, L"\\Device\\BthModem"))
      continue;
    best = number;
  }
  return best ? "COM" + std::to_string(best) : std::string();
}

std::vector<CSerialCommValue> CWin32PortList::ReadSerialComm() {
  std::vector<CSerialCommValue> values;
  HKEY key = nullptr;
  if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"HARDWARE\\DEVICEMAP\\SERIALCOMM", 0, KEY_READ, &key) != ERROR_SUCCESS)
    return values;
  DWORD longestName = 0, longestData = 0;
  ::RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &longestName, &longestData,
                     nullptr, nullptr);
  // Buffers fit the longest value, so no name or port is cut short.
  std::vector<wchar_t> name(longestName + 2);
  std::vector<BYTE> data(longestData + 2 * sizeof(wchar_t));
  for (DWORD index = 0;; ++index) {
    auto nameLength = static_cast<DWORD>(name.size());
    auto dataSize = static_cast<DWORD>(data.size());
    DWORD type = 0;
    const LONG result = ::RegEnumValueW(key, index, name.data(), &nameLength, nullptr, &type, data.data(), &dataSize);
    if (result == ERROR_MORE_DATA) continue;  // changed under us: that value is skipped, the rest read
    if (result != ERROR_SUCCESS) break;
    if (type != REG_SZ) continue;
    std::wstring port(reinterpret_cast<const wchar_t*>(data.data()), dataSize / sizeof(wchar_t));
    port.resize(std::min(port.size(), port.find(L'\0')));
    values.push_back({std::wstring(name.data(), nameLength), std::move(port)});
  }
  ::RegCloseKey(key);
  return values;
}

std::map<std::string, CPortIdentity> IdentifyPorts(const std::vector<CSerialCommValue>& values,
                                                   const std::map<int, CPortIdentity>& plugAndPlay) {
  std::map<std::string, CPortIdentity> identities;
  for (const CSerialCommValue& value : values) {
    const int number = ComNumberOfPortName(value.port);
    if (number <= 0) continue;
    const std::string caption = "COM" + std::to_string(number);
    if (identities.count(caption)) continue;  // listed twice: the list shows the first
    CPortIdentity identity;
    if (const auto found = plugAndPlay.find(number); found != plugAndPlay.end()) identity = found->second;
    identity.path = Narrow(value.device);
    identities[caption] = std::move(identity);
  }
  return identities;
}

CPortCatalogue::CListing CWin32PortList::Enumerate() {
  const std::vector<CSerialCommValue> values = ReadSerialComm();
  std::vector<std::wstring> portNames;
  for (const CSerialCommValue& value : values) portNames.push_back(value.port);
  std::map<std::string, CPortIdentity> identities = IdentifyPorts(values, ReadPlugAndPlayPorts());
  CListing listing;
  for (const std::string& caption : PortCaptionsFromSerialComm(portNames))
    listing.ports.push_back({caption, std::move(identities[caption])});
  listing.preferred = LikelyDevicePort(values);
  return listing;
}

}  // namespace tolvane::win32
