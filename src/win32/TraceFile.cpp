#include "win32/TraceFile.h"

#include <cstdio>

#include "win32/SystemErrorText.h"
#include "win32/Utf16.h"

namespace tolvane::win32 {

CWin32TraceFile::~CWin32TraceFile() {
  if (m_hFile != INVALID_HANDLE_VALUE) ::CloseHandle(m_hFile);
}

bool CWin32TraceFile::Open(const std::wstring& path, std::string& errorText) {
  // Appended to, and readable by others while the program runs.
  HANDLE file = ::CreateFileW(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    errorText = SystemErrorText(::GetLastError());
    return false;
  }
  if (m_hFile != INVALID_HANDLE_VALUE) ::CloseHandle(m_hFile);
  m_hFile = file;
  m_strPath = path;
  return true;
}

bool CWin32TraceFile::Show(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  DWORD written = 0;
  if (::WriteFile(m_hFile, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) && written == text.size())
    return true;
  m_dwLastError = ::GetLastError();
  return false;
}

void CWin32TraceFile::ReportFailure() {
  std::fprintf(stderr, "Tolvane: the trace could not be written to %s: %s\n", Narrow(m_strPath).c_str(),
               SystemErrorText(m_dwLastError).c_str());
}

}  // namespace tolvane::win32
