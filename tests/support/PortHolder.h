#pragma once

#include <QProcess>

namespace tolvane::e2e {

// This test program started again in "--hold-port N" mode: another process that opens port N
// through the real port layer and keeps it until its standard input closes.
class CPortHolder {
 public:
  ~CPortHolder();
  // False when the holder could not open the port.
  bool Hold(int portNumber);
  void Release();
  qint64 ProcessId() const { return m_process.processId(); }

 private:
  QProcess m_process;
};

// The body of "--hold-port N"; returns the exit status.
int RunPortHolder(int portNumber);

inline constexpr char kHoldPortOption[] = "--hold-port";

}  // namespace tolvane::e2e
