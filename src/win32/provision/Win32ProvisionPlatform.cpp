#include "win32/provision/Win32ProvisionPlatform.h"

#include "win32/Utf16.h"
#include "win32/Win32SerialPort.h"
#include "win32/provision/Win32EventLoop.h"

namespace tolvane::win32 {

std::unique_ptr<ILoopThread> CWin32ProvisionPlatform::StartLoopThread() { return std::make_unique<CWin32LoopThread>(); }

CSlotPorts CWin32ProvisionPlatform::NewSlotPorts() {
  return {std::make_unique<CWin32PortList>(), std::make_unique<CWin32SerialPort>()};
}

std::string ComputerName() {
  wchar_t name[256];
  DWORD size = static_cast<DWORD>(std::size(name));
  if (!GetComputerNameExW(ComputerNameDnsHostname, name, &size)) return {};
  return Narrow(std::wstring_view(name, size));
}

}  // namespace tolvane::win32
