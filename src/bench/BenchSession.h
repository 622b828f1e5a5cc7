#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "bench/BenchModel.h"
#include "bench/BenchWindow.h"
#include "engine/ProvisionOptions.h"
#include "engine/ProvisionPlatform.h"
#include "engine/ProvisionStart.h"

namespace tolvane {

class CProvisionJob;

// What a bench window starts from.
struct CBenchStart {
  CProvisionOptions options;
  CProvisionStart run;
  std::unique_ptr<IBenchPool> pool;  // with --pool: the bench's own connection to it
  std::string profileName;
  bool labels = false;
};

// The job and the bench's model on a thread of their own, so that the window's thread never waits
// for a device or the pool. The window's calls only post; what changes reaches the window through
// `toWindow`, which must queue the task on the window's thread and never wait.
class CBenchSession : public IBenchActions, private IBenchView {
 public:
  using WindowPoster = std::function<void(std::function<void()> task)>;

  CBenchSession(IProvisionPlatform& platform, CBenchStart start, IBenchWindow& window, WindowPoster toWindow);
  // Waits for the job's thread, which has nothing left to do once BenchClosed came.
  ~CBenchSession() override;
  CBenchSession(const CBenchSession&) = delete;
  CBenchSession& operator=(const CBenchSession&) = delete;

  // IBenchActions: each only posts to the job's thread.
  const std::string& LockedCaption() const override { return m_strLocked; }
  const std::vector<std::string>& ProfileRows() const override { return m_profileRows; }
  void SetLabel(int slot, const std::string& text) override;
  void Release(const std::string& imei) override;
  void Keep(const std::string& imei) override;
  void SetSound(bool on) override;
  void Close() override;

 private:
  void OnTileChanged(int slot) override;
  void OnCountersChanged() override;
  void OnBeep() override;
  void Publish();
  void ScheduleRefresh();
  void OnJobFinished(int status);
  void OnJob(std::function<void()> task);

  IBenchWindow& m_window;
  WindowPoster m_toWindow;
  std::string m_strLocked;
  std::vector<std::string> m_profileRows;
  int m_nCloses = 0;
  // The job, for the second Close to end a wait for the pool from the window's thread.
  std::atomic<CProvisionJob*> m_abandonable{nullptr};
  // Below: used on the job's thread only, and torn down there.
  std::unique_ptr<IBenchPool> m_pool;
  std::unique_ptr<CBenchModel> m_model;
  std::unique_ptr<CProvisionJob> m_job;
  bool m_bClosing = false;
  bool m_bPublishPending = false;
  std::string m_strNote;
  std::string m_strBanner;
  std::optional<int> m_finishedStatus;    // the job has ended by itself
  std::unique_ptr<ILoopThread> m_thread;  // last: goes first, joining before the rest is torn down
};

}  // namespace tolvane
