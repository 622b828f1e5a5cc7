#include "PseudoTerminal.h"

#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace tolvane::devsim {

namespace {

std::string Failure(const char* what) { return std::string(what) + ": " + std::strerror(errno); }

}  // namespace

std::unique_ptr<CPseudoTerminal> CPseudoTerminal::Open(std::string& errorText) {
  const int master = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
  if (master < 0) {
    errorText = Failure("posix_openpt");
    return nullptr;
  }
  char name[128];
  if (::grantpt(master) != 0 || ::unlockpt(master) != 0 || ::ptsname_r(master, name, sizeof name) != 0) {
    errorText = Failure("pseudo-terminal set-up");
    ::close(master);
    return nullptr;
  }
  const int pc = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
  termios mode{};
  if (pc < 0 || ::tcgetattr(pc, &mode) != 0) {
    errorText = Failure(name);
    if (pc >= 0) ::close(pc);
    ::close(master);
    return nullptr;
  }
  // A serial line carries bytes as they are: no echo, no line editing, no newline translation.
  ::cfmakeraw(&mode);
  ::cfsetspeed(&mode, B921600);
  if (::tcsetattr(pc, TCSANOW, &mode) != 0 || ::fcntl(master, F_SETFL, ::fcntl(master, F_GETFL) | O_NONBLOCK) != 0) {
    errorText = Failure(name);
    ::close(pc);
    ::close(master);
    return nullptr;
  }
  return std::unique_ptr<CPseudoTerminal>(new CPseudoTerminal(master, pc, name));
}

CPseudoTerminal::CPseudoTerminal(int masterFd, int pcFd, std::string pcPath)
    : m_fdMaster(masterFd), m_fdPc(pcFd), m_strPcPath(std::move(pcPath)) {}

CPseudoTerminal::~CPseudoTerminal() { Unplug(); }

void CPseudoTerminal::DiscardUnread() {
  if (m_fdPc >= 0) ::tcflush(m_fdPc, TCIFLUSH);
}

void CPseudoTerminal::Unplug() {
  if (m_fdPc >= 0) ::close(m_fdPc);
  if (m_fdMaster >= 0) ::close(m_fdMaster);
  m_fdPc = -1;
  m_fdMaster = -1;
}

}  // namespace tolvane::devsim
