#pragma once

#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "posix/SimulatedPortRegistry.h"

namespace tolvane::e2e {

// The device end of a pseudo-terminal of the caller's own, listed like a simulated device, that
// notes when each read arrives. For checks that need the device end's clock, and for devices that
// answer or misbehave in ways tolvane-devsim does not.
class CPtyPeer {
 public:
  struct Arrival {
    std::chrono::steady_clock::time_point at;
    std::string bytes;
  };
  // Runs on the peer's reader thread for every read, as soon as it arrives.
  using Responder = std::function<void(CPtyPeer& peer, std::string_view bytes)>;

  // Registers in `registryDirectory`; ComNumber() is 0 when that failed.
  explicit CPtyPeer(const std::string& registryDirectory, Responder responder = {});
  ~CPtyPeer();
  CPtyPeer(const CPtyPeer&) = delete;
  CPtyPeer& operator=(const CPtyPeer&) = delete;

  int ComNumber() const;
  // The end the PC opens, e.g. "/dev/pts/5".
  const std::string& TerminalPath() const { return m_strTerminalPath; }
  // Callable from any thread.
  void Send(std::string_view bytes);
  std::vector<Arrival> Arrivals() const;
  // Everything received so far, in order.
  std::string Received() const;

 private:
  void ReadLoop();

  int m_fdMaster = -1;
  std::string m_strTerminalPath;
  Responder m_responder;
  std::unique_ptr<CSimulatedPortRegistration> m_registration;
  std::atomic<bool> m_bRunning{true};
  mutable std::mutex m_lock;
  std::vector<Arrival> m_arrivals;
  std::thread m_reader;
};

}  // namespace tolvane::e2e
