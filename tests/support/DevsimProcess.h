#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

namespace tolvane::e2e {

// A tolvane-devsim child process. It registers in the directory that TOLVANE_PORT_REGISTRY
// names when it starts, so set that first.
class CDevsimProcess {
 public:
  explicit CDevsimProcess(QStringList arguments = {});
  ~CDevsimProcess();
  CDevsimProcess(const CDevsimProcess&) = delete;
  CDevsimProcess& operator=(const CDevsimProcess&) = delete;

  // Starts it and waits for the line that says where it is. False when that never comes.
  bool Start();
  int ComNumber() const { return m_nComNumber; }
  const QString& Caption() const { return m_strCaption; }
  const QString& TerminalPath() const { return m_strTerminalPath; }

  // Sends a line to its console: the device sends it to the PC as a message.
  void Say(const QString& line);
  // Everything it printed so far. Reading needs the event loop to run (or a wait).
  QString Output();
  bool HasPrinted(const QString& text) { return Output().contains(text); }
  // Drops what it printed so far, so a long run does not keep every line.
  void ForgetOutput() {
    m_process.readAllStandardOutput();
    m_strOutput.clear();
  }

  bool IsRunning() const { return m_process.state() != QProcess::NotRunning; }
  void Terminate() { m_process.terminate(); }
  // SIGKILL: no chance to unregister.
  void Kill() { m_process.kill(); }
  // True also when it had already ended.
  bool WaitForExit(int milliseconds) { return !IsRunning() || m_process.waitForFinished(milliseconds); }
  int ExitCode() const { return m_process.exitCode(); }
  QProcess::ExitStatus ExitStatus() const { return m_process.exitStatus(); }

 private:
  QStringList m_arguments;
  QProcess m_process;
  QString m_strOutput;
  int m_nComNumber = 0;
  QString m_strCaption;
  QString m_strTerminalPath;
};

}  // namespace tolvane::e2e
