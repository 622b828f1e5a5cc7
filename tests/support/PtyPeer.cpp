#include "PtyPeer.h"

#include <errno.h>
#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

#include "link/PortNaming.h"

namespace tolvane::e2e {

CPtyPeer::CPtyPeer(const std::string& registryDirectory, Responder responder) : m_responder(std::move(responder)) {
  m_fdMaster = ::posix_openpt(O_RDWR | O_NOCTTY);
  if (m_fdMaster < 0 || ::grantpt(m_fdMaster) != 0 || ::unlockpt(m_fdMaster) != 0) return;
  // Raw, so the line discipline passes every byte through as sent.
  m_strTerminalPath = ::ptsname(m_fdMaster);
  const std::string& terminal = m_strTerminalPath;
  const int fdSlave = ::open(terminal.c_str(), O_RDWR | O_NOCTTY);
  termios raw{};
  ::tcgetattr(fdSlave, &raw);
  ::cfmakeraw(&raw);
  ::tcsetattr(fdSlave, TCSANOW, &raw);
  ::close(fdSlave);
  std::string errorText;
  m_registration = CSimulatedPortRegistry(registryDirectory).Register(terminal, errorText);
  m_reader = std::thread(&CPtyPeer::ReadLoop, this);
}

CPtyPeer::~CPtyPeer() {
  m_bRunning = false;
  if (m_reader.joinable()) m_reader.join();
  m_registration.reset();
  if (m_fdMaster >= 0) ::close(m_fdMaster);
}

int CPtyPeer::ComNumber() const { return m_registration ? ComNumberForDevice(m_registration->Device()) : 0; }

void CPtyPeer::Send(std::string_view bytes) {
  // The pseudo-terminal takes a few kilobytes at a time; a flood waits for room rather than lose bytes.
  while (!bytes.empty()) {
    const ssize_t written = ::write(m_fdMaster, bytes.data(), bytes.size());
    if (written > 0) {
      bytes.remove_prefix(static_cast<std::size_t>(written));
      continue;
    }
    if (written < 0 && errno == EINTR) continue;
    if (written < 0 && errno != EAGAIN) return;
    pollfd room{m_fdMaster, POLLOUT, 0};
    if (::poll(&room, 1, 100) <= 0 && !m_bRunning) return;
  }
}

std::vector<CPtyPeer::Arrival> CPtyPeer::Arrivals() const {
  std::lock_guard lock(m_lock);
  return m_arrivals;
}

std::string CPtyPeer::Received() const {
  std::string all;
  for (const Arrival& arrival : Arrivals()) all += arrival.bytes;
  return all;
}

void CPtyPeer::ReadLoop() {
  char buffer[4096];
  while (m_bRunning) {
    pollfd ready{m_fdMaster, POLLIN, 0};
    if (::poll(&ready, 1, 20) <= 0) continue;
    if (!(ready.revents & POLLIN)) {
      // Nobody has the terminal open: the master reports a hang-up until someone does.
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
      continue;
    }
    const ssize_t count = ::read(m_fdMaster, buffer, sizeof buffer);
    if (count <= 0) continue;
    const auto at = std::chrono::steady_clock::now();
    const std::string_view bytes(buffer, static_cast<std::size_t>(count));
    if (m_responder) m_responder(*this, bytes);
    std::lock_guard lock(m_lock);
    m_arrivals.push_back({at, std::string(bytes)});
  }
}

}  // namespace tolvane::e2e
