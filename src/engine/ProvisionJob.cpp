#include "engine/ProvisionJob.h"

#include "engine/DryRunPort.h"
#include "engine/ReadBack.h"

namespace tolvane {

CProvisionJob::CProvisionJob(IProvisionPlatform& platform, IEventLoop& loop, CProvisionOptions options,
                             CProfile profile, std::unique_ptr<IImeiSource> imeis, LineSink out, CRunTimings timings)
    : m_platform(platform),
      m_loop(loop),
      m_options(std::move(options)),
      m_profile(std::move(profile)),
      m_imeis(std::move(imeis)),
      m_out(std::move(out)),
      m_timings(timings),
      m_watcher(platform.Ports(), loop) {
  m_report.profilePath = m_options.profilePath;
  m_report.dryRun = m_options.dryRun;
  m_watcher.SetAppearedHandler([this](const CPortEntry& entry) { OnPortAppeared(entry); });
  m_watcher.SetGoneHandler([this](const CPortEntry& entry) { OnPortGone(entry); });
  if (m_options.comNumbers.empty()) m_slots.push_back(std::make_unique<CSlot>());
  for (const int number : m_options.comNumbers) {
    m_slots.push_back(std::make_unique<CSlot>());
    m_slots.back()->comNumber = number;
  }
  m_bMany = m_slots.size() > 1;
}

CProvisionJob::~CProvisionJob() {
  for (auto& slot : m_slots) {
    slot->run.reset();
    slot->ports.port.reset();  // before the list it opens by
    slot->ports.list.reset();
  }
}

std::string CProvisionJob::SlotName(const CSlot& slot) const {
  return slot.comNumber ? "COM" + std::to_string(*slot.comNumber) : std::string();
}

void CProvisionJob::Start() {
  if (m_imeis) {
    Say(m_imeis->Describe());
    if (!AnyImeiLeft()) {
      if (m_report.poolFault.empty()) {
        if (m_imeis->IsPool()) {
          Say("The pool has no free IMEI: nothing was sent.");
          m_report.noImeiLeft = true;
        } else {
          Say("Every IMEI of the list is used: nothing to do.");
        }
      }
      Finish();
      return;
    }
  }
  CSlot& first = *m_slots.front();
  if (m_options.dryRun) {
    const std::string port = SlotName(first);
    Say("Dry run: nothing is sent" + (port.empty() ? std::string() : " to " + port) + ".");
    RunDevice(first, first.comNumber.value_or(0), port);
    return;
  }
  if (!m_options.wait) {
    for (auto& slot : m_slots) {
      const auto entry = FindPortEntry(m_platform.Ports(), *slot->comNumber);
      RunDevice(*slot, *slot->comNumber, entry ? entry->Caption() : SlotName(*slot));
    }
    return;
  }
  m_watcher.Start();
  for (auto& slot : m_slots) {
    for (const CPortEntry& entry : m_watcher.Present()) {
      if (slot->comNumber && entry.number == *slot->comNumber && !slot->run) RunDevice(*slot, entry.number, entry.Caption());
    }
    if (slot->run || m_bFinished) continue;
    const std::string port = SlotName(*slot);
    Say(port.empty() ? "Waiting for a device to be plugged in..." : "Waiting for a device on " + port + "...");
  }
}

bool CProvisionJob::AnyImeiLeft() {
  std::string error;
  const bool left = m_imeis->Likely(error).has_value();
  if (!error.empty()) {
    m_report.poolFault = error;
    return false;
  }
  return left;
}

void CProvisionJob::RunDevice(CSlot& slot, int comNumber, const std::string& caption) {
  CProfile profile = m_profile;
  if (m_imeis) {
    // Likely the one it gets; it is taken for good only just before it is sent.
    std::string error;
    profile.imei = m_imeis->Likely(error);
    if (!error.empty()) m_report.poolFault = error;
    // Other runs on the list or pool may have used it up while this one waited.
    if (!profile.imei) {
      if (error.empty()) Say(m_imeis->IsPool() ? "The pool has no free IMEI left." : "Every IMEI of the list is used.");
      CloseSlot(slot);
      return;
    }
  }
  slot.caption = caption.empty() ? "COM" + std::to_string(comNumber) : caption;
  const int device = static_cast<int>(m_report.devices.size()) + 1;
  // A list or pool decides the IMEI only as it leaves, so the header names one only when the profile
  // fixes it; the Write IMEI line and the result name the one sent.
  if (!m_options.dryRun && !m_bMany)
    Say((m_options.wait ? "Device " + std::to_string(device) + ": " : std::string()) + slot.caption +
        (profile.imei && !m_imeis ? ", IMEI " + *profile.imei : std::string()));

  CDeviceRun::EMode mode = CDeviceRun::EMode::Send;
  if (m_options.dryRun) {
    mode = CDeviceRun::EMode::DryRun;
    slot.ports.port = std::make_unique<CDryRunPort>();
    slot.ports.list = std::make_unique<CDryRunPortList>("COM" + std::to_string(comNumber));
  } else {
    slot.ports = m_platform.NewSlotPorts();
  }
  slot.run = std::make_unique<CDeviceRun>(m_loop, *slot.ports.port, *slot.ports.list, std::move(profile), comNumber,
                                          mode, m_timings);
  // Several devices at once would interleave their steps: each gets one line when it is done.
  slot.run->SetLineSink(m_bMany ? CDeviceRun::LineSink([](const std::string&) {}) : m_out);
  if (m_imeis && !m_options.dryRun) {
    slot.run->SetImeiGate([this, &slot](std::string& imei, std::string& reason) { return TakeImei(slot, imei, reason); });
    // The device's answer settles the IMEI at once: a run that dies later must not leave it claimed.
    slot.run->SetStepHandler([this, &slot](const CStepResult& step) {
      if (step.name == StepName(EStepKind::WriteImei)) Settle(slot.run->Report());
    });
  }
  // The run may end inside Start (a port that will not open); it is let go from the event loop.
  slot.run->SetFinishedHandler([this, &slot] {
    m_loop.Post([alive = std::weak_ptr<CProvisionJob*>(m_alive), &slot] {
      if (const auto job = alive.lock()) (*job)->OnRunFinished(slot);
    });
  });
  slot.run->Start();
}

bool CProvisionJob::TakeImei(CSlot& slot, std::string& imei, std::string& reason) {
  const CDeviceReport& device = slot.run->Report();
  const CUnit unit{slot.caption, slot.ports.list->IdentifyPort(slot.caption).serialNumber,
                   device.before.imei.value_or("")};
  std::string error;
  switch (m_imeis->Take(unit, imei, error)) {
    case IImeiSource::ETake::Taken: return true;
    case IImeiSource::ETake::NoneLeft:
      m_report.noImeiLeft = true;
      reason = m_imeis->IsPool() ? "not sent: the pool has no free IMEI left"
                                 : "not sent: another run used the last IMEI of the list meanwhile";
      return false;
    case IImeiSource::ETake::Failed: break;
  }
  (m_imeis->IsPool() ? m_report.poolFault : m_report.fault) = error;
  reason = "not sent: " + error;
  return false;
}

void CProvisionJob::OnRunFinished(CSlot& slot) {
  if (!slot.run || !slot.run->IsFinished()) return;
  const CDeviceReport device = slot.run->Report();
  m_report.devices.push_back(device);
  if (DeviceSucceeded(device)) ++m_nOk;
  Settle(device);
  if (m_bMany)
    Say(device.port + (device.imei.empty() ? std::string() : "  IMEI " + device.imei) + "  " +
        DescribeDeviceResult(device));
  slot.run.reset();
  slot.ports.port.reset();  // before the list it opens by
  slot.ports.list.reset();
  WriteReport();
  if (!m_options.wait || m_bStopping || !m_report.fault.empty() || !m_report.poolFault.empty()) {
    CloseSlot(slot);
    return;
  }
  if (!AnyImeiLeft()) {
    if (m_report.poolFault.empty())
      Say(m_imeis->IsPool() ? "The pool has no free IMEI left." : "Every IMEI of the list is used.");
    CloseSlot(slot);
    return;
  }
  Say(Progress());
  Say("Done with " + slot.caption + ": unplug it and plug in the next one.");
  RunPending(slot);
}

void CProvisionJob::Settle(const CDeviceReport& device) {
  if (!m_imeis || m_options.dryRun || device.imei.empty()) return;
  std::string error;
  if (m_imeis->Settle(device.imei, SettlementOf(device), error)) return;
  m_report.poolFault = error;
}

void CProvisionJob::CloseSlot(CSlot& slot) {
  slot.closed = true;
  slot.pending.clear();
  FinishIfDone();
}

void CProvisionJob::FinishIfDone() {
  for (const auto& slot : m_slots)
    if (!slot->closed || slot->run) return;
  Finish();
}

CProvisionJob::CSlot* CProvisionJob::SlotFor(const CPortEntry& entry) {
  for (auto& slot : m_slots)
    if (!slot->comNumber || *slot->comNumber == entry.number) return slot.get();
  return nullptr;
}

void CProvisionJob::OnPortAppeared(const CPortEntry& entry) {
  CSlot* slot = SlotFor(entry);
  if (m_bFinished || !slot || slot->closed) return;
  slot->pending.push_back(entry);
  if (!slot->run) RunPending(*slot);
}

void CProvisionJob::OnPortGone(const CPortEntry& entry) {
  for (auto& slot : m_slots) {
    std::erase_if(slot->pending, [&entry](const CPortEntry& pending) {
      return pending.number == entry.number && pending.path == entry.path;
    });
    if (!slot->run && !m_bFinished && !slot->closed && entry.Caption() == slot->caption)
      Say(entry.Caption() + " was unplugged; waiting for the next device...");
  }
}

void CProvisionJob::RunPending(CSlot& slot) {
  if (slot.pending.empty()) return;
  const CPortEntry entry = slot.pending.front();
  slot.pending.pop_front();
  RunDevice(slot, entry.number, entry.Caption());
}

void CProvisionJob::Stop(int count) {
  if (m_bFinished) return;
  m_bStopping = true;
  m_report.interrupted = true;
  bool running = false;
  for (auto& slot : m_slots) {
    if (!slot->run) {
      slot->closed = true;
      continue;
    }
    if (!running)
      Say(count == 1 ? "Stopping after the step under way (Ctrl-C again stops at once)..." : "Stopping now.");
    running = true;
    slot->run->Stop(count > 1);
  }
  if (running) return;
  m_report.stoppedWhile = "waiting for the next device";
  Say("Stopped while waiting for the next device.");
  Finish();
}

std::string CProvisionJob::Progress() {
  std::string text = "Progress: " + std::to_string(m_report.devices.size()) + " device" +
                     (m_report.devices.size() == 1 ? "" : "s") + " this session, " + std::to_string(m_nOk) + " OK";
  if (m_imeis) text += "; " + m_imeis->Progress();
  return text + ".";
}

void CProvisionJob::WriteReport() {
  if (m_options.reportPath.empty()) return;
  std::string error;
  if (WriteJsonReport(m_platform.Files(), m_report, m_options.reportPath, error)) return;
  if (m_report.fault.empty()) m_report.fault = error;
  Say("tolvane-provision: " + error);
}

void CProvisionJob::Finish() {
  if (m_bFinished) return;
  m_bFinished = true;
  m_watcher.Stop();
  if (m_options.wait || m_bMany) Say(Progress());
  if (!m_report.fault.empty()) Say("tolvane-provision: " + m_report.fault);
  if (!m_report.poolFault.empty()) Say("tolvane-provision: " + m_report.poolFault);
  if (m_report.interrupted && m_imeis) Say("Stopped. The same command carries on with the next unused IMEI.");
  WriteReport();
  const int status = ExitStatusOf(m_report);
  m_loop.Post([alive = std::weak_ptr<CProvisionJob*>(m_alive), status] {
    if (const auto job = alive.lock(); job && (*job)->m_onFinished) (*job)->m_onFinished(status);
  });
}

}  // namespace tolvane
