#include <gtest/gtest.h>

#include <chrono>
#include <thread>
#include <vector>

#include "win32/WindowTaskQueue.h"

namespace tolvane::win32 {
namespace {

constexpr UINT kRunTask = WM_APP + 7;

// A message-only window on this thread that runs the queue's tasks, as the main window does.
class WindowTaskQueue : public ::testing::Test {
 protected:
  void SetUp() override {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = &WindowProc;
    windowClass.hInstance = ::GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"TolvaneTaskQueueTest";
    ::RegisterClassExW(&windowClass);
    m_hWnd = ::CreateWindowExW(0, windowClass.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                               windowClass.hInstance, nullptr);
    ASSERT_NE(m_hWnd, nullptr);
    m_queue = std::make_unique<CWindowTaskQueue>(m_hWnd, kRunTask);
    ::SetWindowLongPtrW(m_hWnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(m_queue.get()));
  }
  void TearDown() override { ::DestroyWindow(m_hWnd); }

  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* queue = reinterpret_cast<CWindowTaskQueue*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    if (message == kRunTask && queue) {
      queue->RunOne();
      return 0;
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
  }

  // A message loop, like the window's or a message box's, until `done` or the bound.
  static bool PumpUntil(const std::function<bool()>& done) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (!done()) {
      if (std::chrono::steady_clock::now() > deadline) return false;
      MSG message;
      if (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
        ::DispatchMessageW(&message);
      else
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
  }

  HWND m_hWnd = nullptr;
  std::unique_ptr<CWindowTaskQueue> m_queue;
};

TEST_F(WindowTaskQueue, tasksFromOtherThreadsRunInOrderOnTheWindowsThread) {
  const DWORD windowThread = ::GetCurrentThreadId();
  std::vector<int> ran;
  bool allOnWindowThread = true;
  std::thread poster([&] {
    for (int i = 0; i < 50; ++i)
      m_queue->Post([&, i] {
        ran.push_back(i);
        allOnWindowThread = allOnWindowThread && ::GetCurrentThreadId() == windowThread;
      });
  });
  poster.join();
  ASSERT_TRUE(PumpUntil([&] { return ran.size() == 50; }));
  for (int i = 0; i < 50; ++i) EXPECT_EQ(ran[static_cast<std::size_t>(i)], i);
  EXPECT_TRUE(allOnWindowThread);
}

TEST_F(WindowTaskQueue, aTaskInAModalLoopDoesNotHoldBackTheTasksAfterIt) {
  bool secondRanInsideFirst = false;
  bool secondRan = false;
  m_queue->Post([&] { secondRanInsideFirst = PumpUntil([&] { return secondRan; }); });
  m_queue->Post([&] { secondRan = true; });
  ASSERT_TRUE(PumpUntil([&] { return secondRan; }));
  EXPECT_TRUE(secondRanInsideFirst);
}

TEST_F(WindowTaskQueue, onceClosedWaitingAndLaterTasksAreDropped) {
  int ran = 0;
  m_queue->Post([&] { ++ran; });
  m_queue->Close();
  m_queue->Post([&] { ++ran; });
  EXPECT_EQ(m_queue->PendingCount(), 0u);
  MSG message;
  while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&message);
  EXPECT_EQ(ran, 0);
}

}  // namespace
}  // namespace tolvane::win32
