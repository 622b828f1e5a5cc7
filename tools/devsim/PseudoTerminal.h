#pragma once

#include <memory>
#include <string>

namespace tolvane::devsim {

// The simulated cable: a pseudo-terminal whose far end the PC opens as its serial port.
// We keep a descriptor of that far end ourselves, so the line stays up between the PC's
// sessions instead of reporting a hang-up whenever no one has it open.
class CPseudoTerminal {
 public:
  static std::unique_ptr<CPseudoTerminal> Open(std::string& errorText);
  ~CPseudoTerminal();
  CPseudoTerminal(const CPseudoTerminal&) = delete;
  CPseudoTerminal& operator=(const CPseudoTerminal&) = delete;

  // Our end, non-blocking: read what the PC wrote, write what the device says.
  int DeviceFd() const { return m_fdMaster; }
  // What the PC opens, e.g. "/dev/pts/5".
  const std::string& PcPath() const { return m_strPcPath; }

  // Forgets what the PC has not read yet, so its next session never sees an old answer.
  void DiscardUnread();
  // Closes both ends, as a pulled cable would: the PC's open port fails.
  void Unplug();

 private:
  CPseudoTerminal(int masterFd, int pcFd, std::string pcPath);

  int m_fdMaster;
  int m_fdPc;
  std::string m_strPcPath;
};

}  // namespace tolvane::devsim
