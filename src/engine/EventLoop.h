#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <thread>

namespace tolvane {

// Work for one thread: tasks posted from any thread, and timers, run one at a time on the thread
// that runs the loop. A platform may bring its own, where a serial port needs the platform's loop
// on its thread; CEventLoop is the standard library's.
class IEventLoop {
 public:
  using Task = std::function<void()>;
  using TimerId = std::uint64_t;
  virtual ~IEventLoop() = default;

  // Any thread; tasks run in the order they were posted.
  virtual void Post(Task task) = 0;
  // The loop's thread: runs `task` once, `delay` from now, unless cancelled first. Never 0.
  virtual TimerId PostAfter(std::chrono::milliseconds delay, Task task) = 0;
  // The loop's thread; an id that already ran or was cancelled is ignored.
  virtual void Cancel(TimerId id) = 0;
};

// A single-shot timer on a loop: Start restarts it, Stop and destruction cancel it. Used on the
// loop's thread only.
class CLoopTimer {
 public:
  CLoopTimer(IEventLoop& loop, std::function<void()> onTimeout) : m_loop(loop), m_onTimeout(std::move(onTimeout)) {}
  ~CLoopTimer() { Stop(); }
  CLoopTimer(const CLoopTimer&) = delete;
  CLoopTimer& operator=(const CLoopTimer&) = delete;

  void Start(long long milliseconds);
  void Stop();

 private:
  IEventLoop& m_loop;
  std::function<void()> m_onTimeout;
  IEventLoop::TimerId m_id = 0;
};

// The standard library's loop: Run on the thread that owns it, until Quit.
class CEventLoop : public IEventLoop {
 public:
  void Post(Task task) override;
  TimerId PostAfter(std::chrono::milliseconds delay, Task task) override;
  void Cancel(TimerId id) override;

  void Run();
  // Any thread: Run returns once the task under way is done.
  void Quit();

 private:
  using Clock = std::chrono::steady_clock;
  struct CTimer {
    Clock::time_point due;
    Task task;
  };

  std::mutex m_lock;
  std::condition_variable m_woken;
  std::deque<Task> m_tasks;
  std::map<TimerId, CTimer> m_timers;  // few at a time: the next due is looked for
  TimerId m_nLastId = 0;
  bool m_bQuit = false;
};

// A thread of its own running a loop. Going, it first runs what was posted to it, then stops and
// is joined.
class ILoopThread {
 public:
  virtual ~ILoopThread() = default;
  virtual IEventLoop& Loop() = 0;
};

// The standard library's.
class CLoopThread : public ILoopThread {
 public:
  CLoopThread() : m_thread([this] { m_loop.Run(); }) {}
  ~CLoopThread() override {
    m_loop.Post([this] { m_loop.Quit(); });
    m_thread.join();
  }
  CLoopThread(const CLoopThread&) = delete;
  CLoopThread& operator=(const CLoopThread&) = delete;

  IEventLoop& Loop() override { return m_loop; }

 private:
  CEventLoop m_loop;
  std::thread m_thread;
};

}  // namespace tolvane
