#include "engine/ProvisionSlot.h"

#include "engine/DryRunPort.h"

namespace tolvane {

CProvisionSlot::CProvisionSlot(IProvisionPlatform& platform) : m_platform(platform), m_thread(platform.StartLoopThread()) {}

CProvisionSlot::~CProvisionSlot() {
  // Tasks run in order: the device is let go before the thread stops.
  Release();
  m_thread.reset();
}

void CProvisionSlot::Run(CProfile profile, int comNumber, CDeviceRun::EMode mode, CRunTimings timings,
                         CHooks hooks) {
  m_thread->Loop().Post([this, profile = std::move(profile), comNumber, mode, timings, hooks = std::move(hooks)] {
    Start(profile, comNumber, mode, timings, hooks);
  });
}

void CProvisionSlot::Start(CProfile profile, int comNumber, CDeviceRun::EMode mode, CRunTimings timings,
                           CHooks hooks) {
  if (mode == CDeviceRun::EMode::DryRun) {
    m_ports.port = std::make_unique<CDryRunPort>();
    m_ports.list = std::make_unique<CDryRunPortList>("COM" + std::to_string(comNumber));
  } else {
    m_ports = m_platform.NewSlotPorts();
  }
  m_run = std::make_unique<CDeviceRun>(m_thread->Loop(), *m_ports.port, *m_ports.list, std::move(profile), comNumber,
                                       mode, timings);
  if (hooks.line) m_run->SetLineSink(hooks.line);
  m_run->SetResultLine(false);  // the job's, after the pool has heard
  if (hooks.imeiGate)
    m_run->SetImeiGate([this, gate = hooks.imeiGate](std::string& imei, std::string& reason) {
      return gate(m_run->Report(), imei, reason);
    });
  if (hooks.stepEnded)
    m_run->SetStepHandler([this, stepEnded = hooks.stepEnded](const CStepResult& step) { stepEnded(step, m_run->Report()); });
  if (hooks.stepStarted) m_run->SetStepStartHandler(hooks.stepStarted);
  // The run may end inside Start (a port that will not open): its end is told from the loop.
  m_run->SetFinishedHandler([this, finished = hooks.finished] {
    m_thread->Loop().Post([this, finished] {
      if (m_run && m_run->IsFinished()) finished(m_run->Report());
    });
  });
  m_run->Start();
}

void CProvisionSlot::Stop(bool now) {
  m_thread->Loop().Post([this, now] {
    if (m_run) m_run->Stop(now);
  });
}

void CProvisionSlot::Release() {
  m_thread->Loop().Post([this] { Free(); });
}

void CProvisionSlot::Free() {
  m_run.reset();
  m_ports.port.reset();  // before the list it opens by
  m_ports.list.reset();
}

CPortIdentity CProvisionSlot::IdentifyPort(const std::string& caption) {
  return m_ports.list ? m_ports.list->IdentifyPort(caption) : CPortIdentity{};
}

}  // namespace tolvane
