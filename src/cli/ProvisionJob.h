#pragma once

#include <QObject>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "cli/DeviceRun.h"
#include "cli/ImeiList.h"
#include "cli/PortWatcher.h"
#include "cli/Profile.h"
#include "cli/ProvisionOptions.h"
#include "cli/ProvisionReport.h"
#include "qt/LinuxPortList.h"

namespace tolvane {

// What one invocation of tolvane-provision does: one device, a dry run, or a batch that waits for
// each device to be plugged in and gives it the next unused IMEI of the list.
class CProvisionJob {
 public:
  using LineSink = std::function<void(const std::string& line)>;

  CProvisionJob(CProvisionOptions options, CProfile profile, std::optional<CImeiList> imeis, LineSink out,
                CRunTimings timings = {});
  ~CProvisionJob();
  CProvisionJob(const CProvisionJob&) = delete;
  CProvisionJob& operator=(const CProvisionJob&) = delete;

  // Called once, from the event loop, with the exit status.
  void SetFinishedHandler(std::function<void(int status)> handler) { m_onFinished = std::move(handler); }
  void Start();
  // The n-th Ctrl-C: the first lets the step under way end, the second stops at once.
  void Stop(int count);
  const CRunReport& Report() const { return m_report; }

 private:
  void RunDevice(int comNumber, const std::string& caption);
  void OnRunFinished();
  void OnPortAppeared(const CPortEntry& entry);
  void OnPortGone(const CPortEntry& entry);
  void RunPending();
  bool ClaimImei(std::string& imei, const std::string& caption, std::string& reason);
  void WriteReport();
  void Finish();
  std::string Progress() const;
  void Say(const std::string& line) const { m_out(line); }

  CProvisionOptions m_options;
  CProfile m_profile;
  std::optional<CImeiList> m_imeis;
  LineSink m_out;
  CRunTimings m_timings;
  CLinuxPortList m_ports;
  CPortWatcher m_watcher;
  QObject m_context;  // deferred calls die with the job
  std::unique_ptr<IPort> m_port;
  std::unique_ptr<IPortList> m_dryPorts;
  std::unique_ptr<CDeviceRun> m_run;  // after its port: it goes first
  std::string m_strRunCaption;
  std::deque<CPortEntry> m_pending;
  CRunReport m_report;
  int m_nOk = 0;
  bool m_bStopping = false;
  bool m_bFinished = false;
  std::function<void(int)> m_onFinished;
};

}  // namespace tolvane
