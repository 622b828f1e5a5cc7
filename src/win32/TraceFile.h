#pragma once

#include <string>

#include "link/TraceFeed.h"
#include "win32/WinApi.h"

namespace tolvane::win32 {

// The file that --trace names: every line appended from start-up on, as UTF-8 with CR LF.
class CWin32TraceFile : public ITraceView {
 public:
  CWin32TraceFile() = default;
  ~CWin32TraceFile() override;
  CWin32TraceFile(const CWin32TraceFile&) = delete;
  CWin32TraceFile& operator=(const CWin32TraceFile&) = delete;

  // False, with the reason, when it cannot be written.
  bool Open(const std::wstring& path, std::string& errorText);

  bool IsListening() const override { return m_hFile != INVALID_HANDLE_VALUE; }
  bool Show(const std::vector<std::string>& lines) override;
  void ReportFailure() override;

 private:
  HANDLE m_hFile = INVALID_HANDLE_VALUE;
  std::wstring m_strPath;
  DWORD m_dwLastError = 0;
};

}  // namespace tolvane::win32
