#include "engine/ProvisionJob.h"

#include <future>

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
  for (auto& slot : m_slots) {
    slot->thread = std::make_unique<CProvisionSlot>(m_platform);
    slot->index = static_cast<int>(&slot - m_slots.data());
  }
  m_bMany = m_slots.size() > 1;
}

CProvisionJob::~CProvisionJob() {
  // Each slot lets go of its device and ends its thread before the job goes.
  for (auto& slot : m_slots) slot->thread.reset();
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
      if (slot->comNumber && entry.number == *slot->comNumber && !slot->busy) {
        slot->pending.push_back(entry);
        RunPending(*slot);
      }
    }
    if (slot->busy || m_bFinished) continue;
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
  const int ordinal = static_cast<int>(m_report.devices.size()) + 1;
  // A list or pool decides the IMEI only as it leaves, so the header names one only when the profile
  // fixes it; the Write IMEI line and the result name the one sent.
  const std::string header = (m_options.wait ? "Device " + std::to_string(ordinal) + ": " : std::string()) +
                             slot.caption + (profile.imei && !m_imeis ? ", IMEI " + *profile.imei : std::string());
  if (!m_options.dryRun && !m_bMany) Say(header);
  slot.lines = {header};
  // Asked once, so that the lines, the claim and the report name the same label.
  slot.label = m_observer ? m_observer->UnitLabel(slot.index) : std::string();
  if (!slot.label.empty()) {
    slot.lines.push_back(FormatLabelLine(slot.label));
    if (!m_options.dryRun && !m_bMany) Say(slot.lines.back());
  }

  slot.busy = true;
  CProvisionSlot::CHooks hooks;
  // Several devices at once would interleave their steps: each gets one line when it is done.
  // An observer hears each device's lines even then.
  if (!m_bMany || m_observer)
    hooks.line = [this, &slot](const std::string& line) {
      PostToJob([this, &slot, line] {
        slot.lines.push_back(line);
        if (!m_bMany) Say(line);
      });
    };
  if (m_observer) {
    hooks.stepStarted = [this, &slot](std::size_t index, std::size_t count, const std::string& name) {
      PostToJob([this, &slot, index, count, name] {
        m_observer->OnStepStarted(slot.index, static_cast<int>(index), static_cast<int>(count), name);
      });
    };
    m_observer->OnUnitStarted(slot.index, slot.caption);
  }
  if (m_imeis && !m_options.dryRun) {
    hooks.imeiGate = [this, &slot](const CDeviceReport& device, std::string& imei, std::string& reason) {
      return TakeImei(slot, device, imei, reason);
    };
    // The device's answer settles the IMEI at once: a run that dies later must not leave it claimed.
    hooks.stepEnded = [this](const CStepResult& step, const CDeviceReport& device) {
      if (step.name != StepName(ECommand::WriteImei)) return;
      PostToJob([this, device] {
        if (std::string fault = Settle(device); !fault.empty()) m_report.poolFault = fault;
      });
    };
  }
  hooks.finished = [this, &slot](const CDeviceReport& device) {
    PostToJob([this, &slot, device] { OnRunFinished(slot, device); });
  };
  slot.thread->Run(std::move(profile), comNumber, m_options.dryRun ? CDeviceRun::EMode::DryRun : CDeviceRun::EMode::Send,
                   m_timings, std::move(hooks));
}

void CProvisionJob::PostToJob(std::function<void()> task) {
  m_loop.Post([alive = std::weak_ptr<CProvisionJob*>(m_alive), task = std::move(task)] {
    if (alive.lock()) task();
  });
}

bool CProvisionJob::TakeImei(CSlot& slot, const CDeviceReport& device, std::string& imei, std::string& reason) {
  CUnit unit{slot.caption, slot.thread->IdentifyPort(slot.caption).serialNumber, device.before.imei.value_or(""), {}};
  // Taken on the job's thread, where the source lives (a database client keeps state per thread),
  // while this slot waits: the job never waits for a slot, so this cannot deadlock. The answer is
  // the IMEI, or why none was taken.
  struct CTaken {
    bool taken = false;
    std::string imeiOrReason;
  };
  auto answer = std::make_shared<std::promise<CTaken>>();
  std::future<CTaken> taken = answer->get_future();
  PostToJob([this, &slot, unit, answer]() mutable {
    unit.label = slot.label;
    std::string taking, error;
    switch (m_imeis->Take(unit, taking, error)) {
      case IImeiSource::ETake::Taken: return answer->set_value({true, taking});
      case IImeiSource::ETake::NoneLeft:
        m_report.noImeiLeft = true;
        return answer->set_value({false, m_imeis->IsPool() ? "not sent: the pool has no free IMEI left"
                                                           : "not sent: another run used the last IMEI of the list "
                                                             "meanwhile"});
      case IImeiSource::ETake::Failed: break;
    }
    (m_imeis->IsPool() ? m_report.poolFault : m_report.fault) = error;
    answer->set_value({false, "not sent: " + error});
  });
  CTaken result{false, "not sent: the run is ending"};
  try {
    result = taken.get();
  } catch (const std::future_error&) {
    // The job went before it could answer.
  }
  (result.taken ? imei : reason) = result.imeiOrReason;
  return result.taken;
}

void CProvisionJob::OnRunFinished(CSlot& slot, const CDeviceReport& run) {
  slot.busy = false;
  slot.thread->Release();
  CDeviceReport device = run;
  device.label = slot.label;
  // The pool's connection stays as it failed: a fault at the device's answer is met again here.
  device.unrecorded = Settle(device);
  if (!device.unrecorded.empty()) m_report.poolFault = device.unrecorded;
  m_report.devices.push_back(device);
  if (DeviceSucceeded(device)) ++m_nOk;
  // The result follows the pool's settlement; an observer's lines end with it too.
  if (!m_options.dryRun) slot.lines.push_back(FormatDeviceResult(device));
  if (m_bMany)
    Say(device.port + (device.imei.empty() ? std::string() : "  IMEI " + device.imei) +
        (device.label.empty() ? std::string() : "  label " + device.label) + "  " + DescribeDeviceResult(device));
  else if (!m_options.dryRun)
    Say(slot.lines.back());
  WriteReport();
  if (m_observer) m_observer->OnUnitFinished(slot.index, device, slot.lines);
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

std::string CProvisionJob::Settle(const CDeviceReport& device) {
  if (!m_imeis || m_options.dryRun || device.imei.empty()) return {};
  std::string error;
  return m_imeis->Settle(device.imei, SettlementOf(device), error) ? std::string() : error;
}

void CProvisionJob::CloseSlot(CSlot& slot) {
  slot.closed = true;
  slot.pending.clear();
  FinishIfDone();
}

void CProvisionJob::FinishIfDone() {
  for (const auto& slot : m_slots)
    if (!slot->closed || slot->busy) return;
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
  if (!slot->busy) RunPending(*slot);
}

void CProvisionJob::OnPortGone(const CPortEntry& entry) {
  for (auto& slot : m_slots) {
    std::erase_if(slot->pending, [&entry](const CPortEntry& pending) {
      return pending.number == entry.number && pending.path == entry.path;
    });
    if (!slot->busy && !m_bFinished && !slot->closed && entry.Caption() == slot->caption)
      Say(entry.Caption() + " was unplugged; waiting for the next device...");
    if (m_observer && (slot->comNumber ? *slot->comNumber == entry.number : entry.Caption() == slot->caption))
      m_observer->OnPortGone(slot->index, entry.Caption());
  }
}

void CProvisionJob::RunPending(CSlot& slot) {
  if (slot.pending.empty()) return;
  // The observer may hold the unit, with nothing sent, until it resumes the slot.
  if (m_observer && !m_observer->MayStartUnit(slot.index, slot.pending.front().Caption())) return;
  const CPortEntry entry = slot.pending.front();
  slot.pending.pop_front();
  RunDevice(slot, entry.number, entry.Caption());
}

void CProvisionJob::ResumeSlot(int index) {
  if (index < 0 || static_cast<std::size_t>(index) >= m_slots.size()) return;
  CSlot& slot = *m_slots[static_cast<std::size_t>(index)];
  if (!m_bFinished && !slot.closed && !slot.busy) RunPending(slot);
}

void CProvisionJob::Stop(int count) {
  if (m_bFinished) return;
  m_bStopping = true;
  m_report.interrupted = true;
  bool running = false;
  for (auto& slot : m_slots) {
    if (!slot->busy) {
      slot->closed = true;
      continue;
    }
    if (!running)
      Say(count == 1 ? "Stopping after the step under way (Ctrl-C again stops at once)..." : "Stopping now.");
    running = true;
    slot->thread->Stop(count > 1);
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
