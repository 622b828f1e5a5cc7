#pragma once

#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "engine/DeviceRun.h"
#include "engine/EventLoop.h"
#include "engine/ImeiSource.h"
#include "engine/JobEvents.h"
#include "engine/PortWatcher.h"
#include "engine/Profile.h"
#include "engine/ProvisionOptions.h"
#include "engine/ProvisionPlatform.h"
#include "engine/ProvisionSlot.h"
#include "engine/ProvisionReport.h"

namespace tolvane {

// What one invocation of tolvane-provision does: one device, a dry run, several devices at once on
// several ports, or a batch in which each port is a bench slot that provisions whatever is
// plugged into it, each device with the next IMEI of a list or a pool. Each slot runs its devices
// on a thread of its own; the slots share nothing but the IMEI source and the report, which the
// job keeps on its loop's thread: a slot asks the job for its IMEI and waits for the answer.
class CProvisionJob {
 public:
  using LineSink = std::function<void(const std::string& line)>;

  // Lives on the thread that runs `loop`.
  CProvisionJob(IProvisionPlatform& platform, IEventLoop& loop, CProvisionOptions options, CProfile profile,
                std::unique_ptr<IImeiSource> imeis, LineSink out, CRunTimings timings = {});
  ~CProvisionJob();
  CProvisionJob(const CProvisionJob&) = delete;
  CProvisionJob& operator=(const CProvisionJob&) = delete;

  // Called once, from the event loop, with the exit status.
  void SetFinishedHandler(std::function<void(int status)> handler) { m_onFinished = std::move(handler); }
  // Before Start; called on the loop's thread. A bench window listens here.
  void SetObserver(IJobObserver* observer) { m_observer = observer; }
  void Start();
  // Starts the unit the observer held on that slot, if it is still there.
  void ResumeSlot(int slot);
  // The n-th Ctrl-C: the first lets each step under way end, the second stops at once.
  void Stop(int count);
  // From any thread, with the second Ctrl-C: a wait for the IMEI source (a pool that does not
  // answer) that holds the job's thread gives up, so that Stop can run.
  void Abandon() {
    if (m_imeis) m_imeis->Abandon();
  }
  const CRunReport& Report() const { return m_report; }

 private:
  // One port and the device under way on it.
  struct CSlot {
    std::optional<int> comNumber;  // none: any port that appears (a batch without --port)
    std::unique_ptr<CProvisionSlot> thread;
    bool busy = false;     // a device's run is under way
    std::string caption;   // the device under way, or the last one; not changed while busy
    std::string label;     // the observer's label for that device; not changed while busy
    std::deque<CPortEntry> pending;
    bool closed = false;  // takes no more devices
    int index = 0;        // among the job's slots
    // The device under way, or the last one: its lines as one device's run prints them.
    std::vector<std::string> lines;
  };

  CSlot* SlotFor(const CPortEntry& entry);
  void RunDevice(CSlot& slot, int comNumber, const std::string& caption);
  // On the slot's thread; the source is used on the job's.
  bool TakeImei(CSlot& slot, const CDeviceReport& device, std::string& imei, std::string& reason);
  // What the pool said, when it could not record it.
  std::string Settle(const CDeviceReport& device);
  // From any thread, to run on the job's.
  void PostToJob(std::function<void()> task);
  void OnRunFinished(CSlot& slot, const CDeviceReport& device);
  void CloseSlot(CSlot& slot);
  void OnPortAppeared(const CPortEntry& entry);
  void OnPortGone(const CPortEntry& entry);
  void RunPending(CSlot& slot);
  bool AnyImeiLeft();
  void WriteReport();
  void FinishIfDone();
  void Finish();
  std::string Progress();
  std::string SlotName(const CSlot& slot) const;
  void Say(const std::string& line) const { m_out(line); }

  IProvisionPlatform& m_platform;
  IEventLoop& m_loop;
  CProvisionOptions m_options;
  CProfile m_profile;
  std::unique_ptr<IImeiSource> m_imeis;
  LineSink m_out;
  CRunTimings m_timings;
  CPortWatcher m_watcher;
  // Deferred calls find the job gone: both happen on the loop's thread. Goes after the slots, whose
  // threads post.
  std::shared_ptr<CProvisionJob*> m_alive = std::make_shared<CProvisionJob*>(this);
  std::vector<std::unique_ptr<CSlot>> m_slots;
  bool m_bMany = false;  // several devices at once: one line each, not their steps
  CRunReport m_report;
  int m_nOk = 0;
  bool m_bStopping = false;
  bool m_bFinished = false;
  std::function<void(int)> m_onFinished;
  IJobObserver* m_observer = nullptr;
};

}  // namespace tolvane
