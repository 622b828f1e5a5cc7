#include "cli/ProvisionJob.h"

#include <QDateTime>
#include <QMetaObject>

#include "cli/DryRunPort.h"
#include "qt/QtSerialPort.h"

namespace tolvane {

CProvisionJob::CProvisionJob(CProvisionOptions options, CProfile profile, std::optional<CImeiList> imeis, LineSink out,
                             CRunTimings timings)
    : m_options(std::move(options)),
      m_profile(std::move(profile)),
      m_imeis(std::move(imeis)),
      m_out(std::move(out)),
      m_timings(timings),
      m_watcher(m_ports) {
  m_report.profilePath = m_options.profilePath;
  m_report.dryRun = m_options.dryRun;
  m_watcher.SetAppearedHandler([this](const CPortEntry& entry) { OnPortAppeared(entry); });
  m_watcher.SetGoneHandler([this](const CPortEntry& entry) { OnPortGone(entry); });
}

CProvisionJob::~CProvisionJob() {
  m_run.reset();
  m_port.reset();
}

void CProvisionJob::Start() {
  if (m_imeis) {
    Say("IMEI list " + m_options.imeiListPath + ": " + std::to_string(m_imeis->Count()) + " IMEIs, " +
        std::to_string(m_imeis->UsedCount()) + " used already (" + m_imeis->DonePath() + ").");
    if (!m_imeis->NextUnused()) {
      Say("Every IMEI of the list is used: nothing to do.");
      Finish();
      return;
    }
  }
  const std::string port = m_options.comNumber ? "COM" + std::to_string(*m_options.comNumber) : std::string();
  if (m_options.dryRun) {
    Say("Dry run: nothing is sent" + (port.empty() ? std::string() : " to " + port) + ".");
    RunDevice(m_options.comNumber.value_or(0), port);
    return;
  }
  if (!m_options.wait) {
    const auto entry = m_ports.FindPort(*m_options.comNumber);
    RunDevice(*m_options.comNumber, entry ? entry->Caption() : port);
    return;
  }
  m_watcher.Start();
  for (const CPortEntry& entry : m_watcher.Present()) {
    if (m_options.comNumber && entry.number == *m_options.comNumber) {
      RunDevice(entry.number, entry.Caption());
      return;
    }
  }
  Say(port.empty() ? "Waiting for a device to be plugged in..." : "Waiting for a device on " + port + "...");
}

void CProvisionJob::RunDevice(int comNumber, const std::string& caption) {
  CProfile profile = m_profile;
  // Likely the one it gets; it is taken for good only just before it is sent.
  if (m_imeis) {
    m_imeis->Refresh();
    profile.imei = m_imeis->NextUnused();
    // Other runs on the list may have used it up while this one waited.
    if (!profile.imei) {
      Say("Every IMEI of the list is used.");
      Finish();
      return;
    }
  }
  m_strRunCaption = caption.empty() ? "COM" + std::to_string(comNumber) : caption;
  const int device = static_cast<int>(m_report.devices.size()) + 1;
  if (!m_options.dryRun)
    Say((m_options.wait ? "Device " + std::to_string(device) + ": " : std::string()) + m_strRunCaption +
        (profile.imei ? ", IMEI " + *profile.imei : std::string()));

  CDeviceRun::EMode mode = CDeviceRun::EMode::Send;
  IPortList* ports = &m_ports;
  if (m_options.dryRun) {
    mode = CDeviceRun::EMode::DryRun;
    m_port = std::make_unique<CDryRunPort>();
    m_dryPorts = std::make_unique<CDryRunPortList>("COM" + std::to_string(comNumber));
    ports = m_dryPorts.get();
  } else {
    m_port = std::make_unique<CQtSerialPort>(m_ports);
  }
  m_run = std::make_unique<CDeviceRun>(*m_port, *ports, std::move(profile), comNumber, mode, m_timings);
  m_run->SetLineSink(m_out);
  if (m_imeis && !m_options.dryRun)
    m_run->SetImeiGate([this, caption = m_strRunCaption](std::string& imei, std::string& reason) {
      return ClaimImei(imei, caption, reason);
    });
  // The run may end inside Start (a port that will not open); it is let go from the event loop.
  m_run->SetFinishedHandler([this] {
    QMetaObject::invokeMethod(
        &m_context, [this] { OnRunFinished(); }, Qt::QueuedConnection);
  });
  m_run->Start();
}

bool CProvisionJob::ClaimImei(std::string& imei, const std::string& caption, std::string& reason) {
  const std::string when = QDateTime::currentDateTime().toString(Qt::ISODate).toStdString();
  std::string error;
  switch (m_imeis->Claim(when + "  " + caption, imei, error)) {
    case CImeiList::EClaim::Taken: return true;
    case CImeiList::EClaim::UsedUp:
      reason = "not sent: another run used the last IMEI of the list meanwhile";
      return false;
    case CImeiList::EClaim::Failed: break;
  }
  m_report.fault = error;
  reason = "not sent: " + error;
  return false;
}

void CProvisionJob::OnRunFinished() {
  if (!m_run || !m_run->IsFinished()) return;
  m_report.devices.push_back(m_run->Report());
  if (DeviceSucceeded(m_report.devices.back())) ++m_nOk;
  m_run.reset();
  m_port.reset();
  m_dryPorts.reset();
  WriteReport();
  if (!m_options.wait || m_bStopping || !m_report.fault.empty()) {
    Finish();
    return;
  }
  m_imeis->Refresh();
  if (!m_imeis->NextUnused()) {
    Say("Every IMEI of the list is used.");
    Finish();
    return;
  }
  Say(Progress());
  Say("Done with " + m_strRunCaption + ": unplug it and plug in the next one.");
  RunPending();
}

void CProvisionJob::OnPortAppeared(const CPortEntry& entry) {
  if (m_bFinished || (m_options.comNumber && entry.number != *m_options.comNumber)) return;
  m_pending.push_back(entry);
  if (!m_run) RunPending();
}

void CProvisionJob::OnPortGone(const CPortEntry& entry) {
  std::erase_if(m_pending, [&entry](const CPortEntry& pending) {
    return pending.number == entry.number && pending.path == entry.path;
  });
  if (!m_run && !m_bFinished && entry.Caption() == m_strRunCaption)
    Say(entry.Caption() + " was unplugged; waiting for the next device...");
}

void CProvisionJob::RunPending() {
  if (m_pending.empty()) return;
  const CPortEntry entry = m_pending.front();
  m_pending.pop_front();
  RunDevice(entry.number, entry.Caption());
}

void CProvisionJob::Stop(int count) {
  if (m_bFinished) return;
  m_bStopping = true;
  m_report.interrupted = true;
  if (m_run) {
    Say(count == 1 ? "Stopping after the step under way (Ctrl-C again stops at once)..." : "Stopping now.");
    m_run->Stop(count > 1);
    return;
  }
  m_report.stoppedWhile = "waiting for the next device";
  Say("Stopped while waiting for the next device.");
  Finish();
}

std::string CProvisionJob::Progress() const {
  std::string text = "Progress: " + std::to_string(m_report.devices.size()) + " device" +
                     (m_report.devices.size() == 1 ? "" : "s") + " this session, " + std::to_string(m_nOk) + " OK";
  if (m_imeis)
    text += "; " + std::to_string(m_imeis->UsedCount()) + " of " + std::to_string(m_imeis->Count()) + " IMEIs used, " +
            std::to_string(m_imeis->Count() - m_imeis->UsedCount()) + " left";
  return text + ".";
}

void CProvisionJob::WriteReport() {
  if (m_options.reportPath.empty()) return;
  std::string error;
  if (WriteJsonReport(m_report, m_options.reportPath, error)) return;
  if (m_report.fault.empty()) m_report.fault = error;
  Say("tolvane-provision: " + error);
}

void CProvisionJob::Finish() {
  if (m_bFinished) return;
  m_bFinished = true;
  m_watcher.Stop();
  if (m_options.wait) Say(Progress());
  if (!m_report.fault.empty()) Say("tolvane-provision: " + m_report.fault);
  if (m_report.interrupted && m_imeis) Say("Stopped. The same command carries on with the next unused IMEI.");
  WriteReport();
  const int status = ExitStatusOf(m_report);
  QMetaObject::invokeMethod(
      &m_context,
      [this, status] {
        if (m_onFinished) m_onFinished(status);
      },
      Qt::QueuedConnection);
}

}  // namespace tolvane
