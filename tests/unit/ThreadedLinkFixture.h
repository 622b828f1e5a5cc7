#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <thread>

#include "FakePort.h"
#include "HeadlessWindow.h"
#include "ui/MirlSettingsDlg.h"

namespace tolvane::testing {

// Polling passes made by the calling worker thread; stands in for the clock.
inline thread_local int t_passes = 0;

// The worker threads for real: the test's thread plays the window's thread and pumps the hops.
class ThreadedLinkTest : public ::testing::Test {
 protected:
  void SetUp() override {
    portList.ports = {"COM5 (ttySIM0)"};
    dlg = std::make_unique<CMirlSettingsDlg>(window, port, portList);
    // A short real pause keeps the test quick.
    dlg->SetSleeper([](std::chrono::milliseconds) {
      ++t_passes;
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    });
    window.SetTimerHandler([this](int id) { dlg->OnTimer(id); });
    dlg->OnInitDialog();
  }

  void TearDown() override {
    if (dlg) dlg->OnDestroy();
    dlg.reset();
  }

  bool Pump(const std::function<bool()>& done) { return window.PumpUntil(done, std::chrono::seconds(20)); }

  // Connects and lets the device answer, through the real workers.
  void ConnectReady() {
    port.ClearWrites();
    dlg->OnConnect();
    ASSERT_TRUE(Pump([&] { return port.WrittenText() == "COM:open~"; }));
    port.Feed("COM:open~");
    ASSERT_TRUE(Pump([&] { return dlg->IsDeviceReady(); }));
  }

  bool Shown(const std::string& text) const {
    const auto boxes = window.MessageBoxes();
    return std::find(boxes.begin(), boxes.end(), text) != boxes.end();
  }

  CHeadlessWindow window;
  CFakePort port;
  CFakePortList portList;
  std::unique_ptr<CMirlSettingsDlg> dlg;
};

}  // namespace tolvane::testing
