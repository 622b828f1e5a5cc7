#pragma once

#include <functional>
#include <memory>
#include <string>

#include "engine/DeviceRun.h"
#include "engine/ProvisionPlatform.h"

namespace tolvane {

// One bench slot's thread: the device under way on it, its port and its dialog, with their
// timers and replies, all on a loop of the slot's own, so that slots never wait for each other.
// Made, told and let go from the job's thread; the hooks are called on the slot's thread.
class CProvisionSlot {
 public:
  struct CHooks {
    CDeviceRun::LineSink line;
    // Just before the IMEI leaves, as CDeviceRun's gate, with what the run has learnt so far.
    std::function<bool(const CDeviceReport& device, std::string& imei, std::string& reason)> imeiGate;
    std::function<void(const CStepResult& step, const CDeviceReport& device)> stepEnded;
    CDeviceRun::StepStartHandler stepStarted;
    std::function<void(const CDeviceReport& device)> finished;  // the run is over; Release may follow
  };

  explicit CProvisionSlot(IProvisionPlatform& platform);
  // Lets go of the device first, on the slot's thread.
  ~CProvisionSlot();
  CProvisionSlot(const CProvisionSlot&) = delete;
  CProvisionSlot& operator=(const CProvisionSlot&) = delete;

  // Starts a device's run on the slot's thread.
  void Run(CProfile profile, int comNumber, CDeviceRun::EMode mode, CRunTimings timings, CHooks hooks);
  // Passes the user's stop on to the run under way, if any.
  void Stop(bool now);
  // After `finished`: the run, its dialog and its port go, on the slot's thread.
  void Release();

  // On the slot's thread, from a hook: what the unit's port says of itself.
  CPortIdentity IdentifyPort(const std::string& caption);

 private:
  void Start(CProfile profile, int comNumber, CDeviceRun::EMode mode, CRunTimings timings, CHooks hooks);
  void Free();

  IProvisionPlatform& m_platform;
  std::unique_ptr<ILoopThread> m_thread;
  // The slot's thread only.
  CSlotPorts m_ports;
  std::unique_ptr<CDeviceRun> m_run;  // after its port: it goes first
};

}  // namespace tolvane
