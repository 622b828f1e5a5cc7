#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "bench/BenchWindow.h"
#include "win32/WinApi.h"
#include "win32/WindowTaskQueue.h"
#include "win32/bench/Win32BenchTile.h"

namespace tolvane::win32 {

// The bench window on Win32: plain controls in the main dialog's font, laid out in its dialog
// units. It draws what the session publishes and passes the operator's actions on; every rule is
// the model's.
class CWin32BenchWindow : public IBenchWindow {
 public:
  CWin32BenchWindow(int slotCount, bool labels, bool pool);
  ~CWin32BenchWindow() override;
  CWin32BenchWindow(const CWin32BenchWindow&) = delete;
  CWin32BenchWindow& operator=(const CWin32BenchWindow&) = delete;

  // Before the window is shown; the bench outlives the window's messages.
  void Attach(IBenchActions& bench);
  // Queues a task on the window's thread; never waits.
  void Post(std::function<void()> task);
  HWND Handle() const { return m_hWnd; }

  // IBenchWindow
  void ShowBench(const CBenchSnapshot& bench) override;
  void Beep() override;
  void BenchClosed(int exitStatus) override;

  std::function<void(int exitStatus)> onClosed;

 private:
  static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
  void MakeControls();
  void Layout();
  void OnCommand(int id, int code);
  void OnEnter();
  void OnClick(POINT at);
  void ShowLog(int slot);
  void OnRelease();
  void ShowClaims(const std::vector<CUnconfirmedClaim>& claims);
  void PaintBackground(HDC dc);
  CWin32BenchTile* TileOf(HWND control);

  static constexpr UINT kRunTaskMessage = WM_APP + 1;
  int m_nSlots;
  bool m_bLabels;
  bool m_bPool;
  HWND m_hWnd = nullptr;
  std::unique_ptr<CWindowTaskQueue> m_tasks;
  IBenchActions* m_session = nullptr;
  std::vector<std::unique_ptr<CWin32BenchTile>> m_tiles;
  std::vector<std::string> m_laidOutNames;
  std::vector<CUnconfirmedClaim> m_shownClaims;
  bool m_bClosed = false;
};

}  // namespace tolvane::win32
