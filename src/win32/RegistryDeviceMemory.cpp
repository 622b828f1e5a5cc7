#include "win32/RegistryDeviceMemory.h"

#include <vector>

#include "win32/Utf16.h"
#include "win32/WinApi.h"

namespace tolvane::win32 {

std::string CRegistryDeviceMemory::Recall() const {
  DWORD size = 0;
  if (::RegGetValueW(HKEY_CURRENT_USER, m_strKeyPath.c_str(), kValueName, RRF_RT_REG_SZ, nullptr, nullptr, &size) !=
          ERROR_SUCCESS ||
      size == 0)
    return {};
  std::vector<wchar_t> text(size / sizeof(wchar_t) + 1, L'\0');
  size = static_cast<DWORD>(text.size() * sizeof(wchar_t));
  if (::RegGetValueW(HKEY_CURRENT_USER, m_strKeyPath.c_str(), kValueName, RRF_RT_REG_SZ, nullptr, text.data(), &size) !=
      ERROR_SUCCESS)
    return {};
  return Narrow(text.data());
}

void CRegistryDeviceMemory::Remember(const std::string& key) {
  HKEY handle = nullptr;
  if (::RegCreateKeyExW(HKEY_CURRENT_USER, m_strKeyPath.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &handle,
                        nullptr) != ERROR_SUCCESS)
    return;
  const std::wstring wide = Widen(key);
  ::RegSetValueExW(handle, kValueName, 0, REG_SZ, reinterpret_cast<const BYTE*>(wide.c_str()),
                   static_cast<DWORD>((wide.size() + 1) * sizeof(wchar_t)));
  ::RegCloseKey(handle);
}

}  // namespace tolvane::win32
