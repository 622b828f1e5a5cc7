#include "win32/provision/Win32FileSystem.h"

#include <chrono>
#include <thread>

#include "win32/SystemErrorText.h"
#include "win32/Utf16.h"
#include "win32/WinApi.h"

namespace tolvane::win32 {

namespace {

class CHeldFileLock : public IHeldLock {
 public:
  explicit CHeldFileLock(HANDLE file) : m_hFile(file) {}
  // Closing the handle lets go of the lock.
  ~CHeldFileLock() override { CloseHandle(m_hFile); }

 private:
  HANDLE m_hFile;
};

bool WriteAll(HANDLE file, const std::string& bytes) {
  for (std::size_t written = 0; written < bytes.size();) {
    DWORD count = 0;
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - written, 1u << 20));
    if (!WriteFile(file, bytes.data() + written, chunk, &count, nullptr) || count == 0) return false;
    written += count;
  }
  return true;
}

std::string LastErrorText() { return SystemErrorText(GetLastError()); }

}  // namespace

std::unique_ptr<IHeldLock> CWin32FileSystem::Lock(const std::string& path, int waitMs, std::string& errorText) {
  // The lock file stays: removing it would let a later run lock a fresh file while an earlier one
  // still holds the old.
  const HANDLE file = CreateFileW(Widen(path).c_str(), GENERIC_READ | GENERIC_WRITE,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    errorText = path + ": cannot open the lock: " + LastErrorText();
    return nullptr;
  }
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(waitMs);
  for (;;) {
    OVERLAPPED start{};
    if (LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &start))
      return std::make_unique<CHeldFileLock>(file);
    const DWORD error = GetLastError();
    if (error != ERROR_LOCK_VIOLATION && error != ERROR_IO_PENDING) {
      errorText = path + ": cannot lock: " + SystemErrorText(error);
      CloseHandle(file);
      return nullptr;
    }
    if (std::chrono::steady_clock::now() >= deadline) break;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  CloseHandle(file);
  errorText = path + ": another run held the lock for more than " + std::to_string((waitMs + 999) / 1000) + " s";
  return nullptr;
}

bool CWin32FileSystem::AppendDurably(const std::string& path, const std::string& text, std::string& reason) {
  const HANDLE file = CreateFileW(Widen(path).c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    reason = LastErrorText();
    return false;
  }
  const bool ok = WriteAll(file, text) && FlushFileBuffers(file);
  if (!ok) reason = LastErrorText();
  CloseHandle(file);
  return ok;
}

bool CWin32FileSystem::SaveWhole(const std::string& path, const std::string& bytes, std::string& reason) {
  // A file of its own beside the target, moved over it once it is on the disk: a reader sees the
  // old report or the new one, never half of one.
  const std::wstring target = Widen(path);
  const std::wstring temporary = target + L".tmp" + std::to_wstring(GetCurrentProcessId());
  const HANDLE file = CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                  nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    reason = LastErrorText();
    return false;
  }
  bool ok = WriteAll(file, bytes) && FlushFileBuffers(file);
  DWORD error = GetLastError();
  ok = CloseHandle(file) && ok;
  if (ok) {
    ok = MoveFileExW(temporary.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    error = GetLastError();
  }
  if (!ok) {
    DeleteFileW(temporary.c_str());
    reason = SystemErrorText(error);
  }
  return ok;
}

}  // namespace tolvane::win32
