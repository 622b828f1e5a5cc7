#pragma once

#include <string>

namespace tolvane {

// An exclusive lock on a file of its own, held for the object's life; other processes (and other
// objects of this one) wait for it. Waits at most the given time.
class CFileLock {
 public:
  CFileLock(const std::string& path, int waitMs);
  ~CFileLock();
  CFileLock(const CFileLock&) = delete;
  CFileLock& operator=(const CFileLock&) = delete;

  bool Held() const { return m_bHeld; }
  // Why it is not held.
  const std::string& Error() const { return m_strError; }

 private:
  int m_fd = -1;
  bool m_bHeld = false;
  std::string m_strError;
};

}  // namespace tolvane
