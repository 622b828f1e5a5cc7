#pragma once

#include <string>

#include "link/IDeviceMemory.h"

namespace tolvane::win32 {

// The remembered device's key in the user's part of the registry (HKEY_CURRENT_USER).
class CRegistryDeviceMemory : public IDeviceMemory {
 public:
  static constexpr wchar_t kDefaultKey[] = L"Software\\Tolvane";
  static constexpr wchar_t kValueName[] = L"LastReadyDevice";

  explicit CRegistryDeviceMemory(std::wstring keyPath = kDefaultKey) : m_strKeyPath(std::move(keyPath)) {}

  std::string Recall() const override;
  // A key that cannot be written costs only the preselection next time.
  void Remember(const std::string& key) override;

 private:
  std::wstring m_strKeyPath;
};

}  // namespace tolvane::win32
