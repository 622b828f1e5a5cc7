#pragma once

#include <string>

namespace tolvane::win32 {

// The last device that became ready, kept between runs in the user's part of the registry
// (HKEY_CURRENT_USER). Read once, written only when the device changes, never created by reading.
class CRegistryDeviceMemory {
 public:
  static constexpr wchar_t kDefaultKey[] = L"Software\\Tolvane";
  static constexpr wchar_t kValueName[] = L"LastReadyDevice";

  explicit CRegistryDeviceMemory(std::wstring keyPath = kDefaultKey);

  // The remembered device's key (RememberKey); empty when none.
  const std::string& Recall() const { return m_strKey; }
  void Remember(const std::string& key);

 private:
  std::wstring m_strKeyPath;
  std::string m_strKey;
};

}  // namespace tolvane::win32
