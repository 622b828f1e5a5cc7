#pragma once

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "FakePort.h"
#include "Win32TestSupport.h"
#include "ui/MirlSettingsDlg.h"
#include "win32/Win32MainWindow.h"

namespace tolvane::win32::testing {

// Plays the user who answers every message box over `owner` with OK, and remembers what they said,
// so that a box no test expected ends instead of holding the test forever.
class CBoxAnswerer {
 public:
  explicit CBoxAnswerer(HWND owner) : m_thread([this, owner] { Run(owner); }) {}
  ~CBoxAnswerer() {
    m_bStop = true;
    m_thread.join();
  }
  std::vector<std::string> Texts() const {
    std::lock_guard lock(m_lock);
    return m_texts;
  }

 private:
  void Run(HWND owner) {
    while (!m_bStop) {
      for (HWND box = nullptr; (box = ::FindWindowExW(nullptr, box, L"#32770", nullptr));) {
        if (::GetWindow(box, GW_OWNER) != owner || !::IsWindowVisible(box)) continue;
        {
          std::lock_guard lock(m_lock);
          m_texts.push_back(TextOf(::GetDlgItem(box, 0xFFFF)));
        }
        ::PostMessageW(box, WM_COMMAND, MAKEWPARAM(kIdOk, BN_CLICKED), 0);
        while (!m_bStop && ::IsWindow(box)) std::this_thread::sleep_for(std::chrono::milliseconds(5));
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
  }

  std::atomic<bool> m_bStop{false};
  mutable std::mutex m_lock;
  std::vector<std::string> m_texts;
  std::thread m_thread;
};

// The real Win32 window as the application wires it, over a scripted port, shown without taking
// the activation. The logic goes before the window.
class Win32WindowFixture : public ::testing::Test {
 protected:
  explicit Win32WindowFixture(std::vector<std::string> ports = {"COM2", "COM10", "COM1"},
                              TextLanguage language = TextLanguage::English)
      : m_portList(std::move(ports)), m_language(language) {}

  void SetUp() override {
    RegisterCommonControls();
    m_window = std::make_unique<CWin32MainWindow>(m_language);
    ASSERT_TRUE(m_window->IsCreated());
    m_dlg = std::make_unique<CMirlSettingsDlg>(*m_window, m_port, m_portList);
    m_window->AttachDialog(m_dlg.get());
    m_dlg->OnInitDialog();
    ::ShowWindow(m_window->Handle(), SW_SHOWNA);
  }
  void TearDown() override {
    m_window->Destroy();
    m_dlg.reset();
    m_window.reset();
  }

  HWND Control(int id) const { return m_window->Control(id); }
  bool Pump(const std::function<bool()>& done) { return PumpUntil(m_window->Handle(), done); }
  // A control's notification, as the control itself sends it to the dialog.
  void Notify(int id, int code) {
    ::SendMessageW(m_window->Handle(), WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(Control(id)));
  }
  // Connect pressed and the device's answer handled: the command buttons are enabled.
  void MakeReady() {
    ::SendMessageW(Control(IDC_CONNECT), BM_CLICK, 0, 0);
    ASSERT_TRUE(m_port.IsOpen());
    m_dlg->HandleDeviceMessage("COM:open");
  }
  // True once the sender thread has written a command that begins so.
  bool DeviceHeard(const std::string& command) {
    return Pump([&] { return m_port.WrittenText().find(command) != std::string::npos; });
  }

  tolvane::testing::CFakePort m_port;
  tolvane::testing::CFakePortList m_portList;
  TextLanguage m_language;
  std::unique_ptr<CWin32MainWindow> m_window;
  std::unique_ptr<CMirlSettingsDlg> m_dlg;
};

}  // namespace tolvane::win32::testing
