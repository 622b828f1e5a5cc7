#pragma once

#include <atomic>
#include <chrono>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "qt/SimulatedPortRegistry.h"

namespace tolvane::e2e {

// The device end of a pseudo-terminal of the test's own, listed like a simulated device, that
// notes when each read arrives. For checks that need the device end's clock.
class CPtyPeer {
 public:
  struct Arrival {
    std::chrono::steady_clock::time_point at;
    std::string bytes;
  };

  // Registers in `registryDirectory`; Slot() is -1 when that failed.
  explicit CPtyPeer(const std::string& registryDirectory);
  ~CPtyPeer();
  CPtyPeer(const CPtyPeer&) = delete;
  CPtyPeer& operator=(const CPtyPeer&) = delete;

  int ComNumber() const;
  void Send(const std::string& bytes);
  std::vector<Arrival> Arrivals() const;
  // Everything received so far, in order.
  std::string Received() const;

 private:
  void ReadLoop();

  int m_fdMaster = -1;
  std::unique_ptr<CSimulatedPortRegistration> m_registration;
  std::atomic<bool> m_bRunning{true};
  mutable std::mutex m_lock;
  std::vector<Arrival> m_arrivals;
  std::thread m_reader;
};

}  // namespace tolvane::e2e
