#pragma once

#include <map>
#include <memory>
#include <thread>

#include "engine/EventLoop.h"
#include "win32/WinApi.h"
#include "win32/WindowTaskQueue.h"

namespace tolvane::win32 {

// A loop over the thread's Windows messages: the COM port tells its thread of what it heard by a
// message, so a slot's thread pumps them. Made, run and let go on that one thread; Post and Quit
// from any.
class CWin32EventLoop : public IEventLoop {
 public:
  CWin32EventLoop();
  ~CWin32EventLoop() override;
  CWin32EventLoop(const CWin32EventLoop&) = delete;
  CWin32EventLoop& operator=(const CWin32EventLoop&) = delete;

  void Post(Task task) override;
  TimerId PostAfter(std::chrono::milliseconds delay, Task task) override;
  void Cancel(TimerId id) override;

  // Runs until Quit; the messages of every window of the thread go where they belong.
  void Run();
  void Quit();

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  void OnTimer(UINT_PTR id);

  HWND m_hWindow = nullptr;
  std::unique_ptr<CWindowTaskQueue> m_pTasks;
  std::map<TimerId, Task> m_timers;
  TimerId m_nLastId = 0;
};

// A thread of its own pumping its messages, for one slot's runs. Going, it first runs what was
// posted to it, then stops and is joined.
class CWin32LoopThread : public ILoopThread {
 public:
  CWin32LoopThread();
  ~CWin32LoopThread() override;
  CWin32LoopThread(const CWin32LoopThread&) = delete;
  CWin32LoopThread& operator=(const CWin32LoopThread&) = delete;

  IEventLoop& Loop() override { return *m_pLoop; }

 private:
  std::thread m_thread;
  CWin32EventLoop* m_pLoop = nullptr;  // lives on the thread, for the thread's life
};

}  // namespace tolvane::win32
