#include "win32/PlugAndPlayPorts.h"

#include <cwctype>
#include <vector>

#include "win32/Utf16.h"
#include "win32/Win32PortList.h"
#include "win32/WinApi.h"
// After windows.h, which it builds on.
#include <setupapi.h>

namespace tolvane::win32 {
namespace {

// GUID_DEVCLASS_PORTS: COM and LPT ports.
constexpr GUID kPortsClass = {0x4d36e978, 0xe325, 0x11ce, {0xbf, 0xc1, 0x08, 0x00, 0x2b, 0xe1, 0x03, 0x18}};

std::wstring Upper(std::wstring text) {
  for (wchar_t& c : text) c = static_cast<wchar_t>(std::towupper(c));
  return text;
}

// The four hex digits after `tag` ("VID_"), lower case; empty when they are not there.
std::string HexAfter(const std::wstring& upperId, const wchar_t* tag) {
  const std::size_t at = upperId.find(tag);
  if (at == std::wstring::npos || at + 8 > upperId.size()) return {};
  std::string digits;
  for (std::size_t i = at + 4; i < at + 8; ++i) {
    if (!std::iswxdigit(upperId[i])) return {};
    digits += static_cast<char>(std::towlower(upperId[i]));
  }
  return digits;
}

std::string Property(HDEVINFO set, SP_DEVINFO_DATA& device, DWORD property) {
  wchar_t text[256] = {};
  DWORD type = 0;
  if (!::SetupDiGetDeviceRegistryPropertyW(set, &device, property, &type, reinterpret_cast<BYTE*>(text),
                                           sizeof text - sizeof(wchar_t), nullptr) ||
      type != REG_SZ)
    return {};
  return Narrow(text);
}

std::wstring PortNameOf(HDEVINFO set, SP_DEVINFO_DATA& device) {
  HKEY key = ::SetupDiOpenDevRegKey(set, &device, DICS_FLAG_GLOBAL, 0, DIREG_DEV, KEY_READ);
  if (key == INVALID_HANDLE_VALUE) return {};
  wchar_t name[32] = {};
  DWORD size = sizeof name - sizeof(wchar_t);
  DWORD type = 0;
  const bool read =
      ::RegQueryValueExW(key, L"PortName", nullptr, &type, reinterpret_cast<BYTE*>(name), &size) == ERROR_SUCCESS &&
      type == REG_SZ;
  ::RegCloseKey(key);
  return read ? std::wstring(name) : std::wstring();
}

}  // namespace

void ParseDeviceInstanceId(const std::wstring& instanceId, std::string& usbId, std::string& serialNumber) {
  usbId.clear();
  serialNumber.clear();
  const std::wstring upper = Upper(instanceId);
  const std::string vendor = HexAfter(upper, L"VID_");
  const std::string product = HexAfter(upper, L"PID_");
  if (!vendor.empty() && !product.empty()) usbId = vendor + ":" + product;
  // Only a USB device's own instance id ends in its serial number.
  const std::size_t lastPart = instanceId.rfind(L'\\');
  if (usbId.empty() || upper.rfind(L"USB\\", 0) != 0 || lastPart == std::wstring::npos) return;
  const std::wstring serial = instanceId.substr(lastPart + 1);
  if (!serial.empty() && serial.find(L'&') == std::wstring::npos) serialNumber = Narrow(serial);
}

std::map<int, CPortIdentity> ReadPlugAndPlayPorts() {
  std::map<int, CPortIdentity> ports;
  HDEVINFO set = ::SetupDiGetClassDevsW(&kPortsClass, nullptr, nullptr, DIGCF_PRESENT);
  if (set == INVALID_HANDLE_VALUE) return ports;
  SP_DEVINFO_DATA device{};
  device.cbSize = sizeof device;
  for (DWORD index = 0; ::SetupDiEnumDeviceInfo(set, index, &device); ++index) {
    const int number = ComNumberOfPortName(PortNameOf(set, device));
    if (number <= 0) continue;  // a printer port, or no port name
    CPortIdentity identity;
    identity.description = Property(set, device, SPDRP_DEVICEDESC);
    identity.manufacturer = Property(set, device, SPDRP_MFG);
    wchar_t instanceId[512] = {};
    if (::SetupDiGetDeviceInstanceIdW(set, &device, instanceId, 511, nullptr))
      ParseDeviceInstanceId(instanceId, identity.usbId, identity.serialNumber);
    ports[number] = std::move(identity);
  }
  ::SetupDiDestroyDeviceInfoList(set);
  return ports;
}

}  // namespace tolvane::win32
